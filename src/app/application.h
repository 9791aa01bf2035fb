#pragma once

#include "app/log.h"
#include "app/platform.h"
#include "draw/frame.h"
#include "draw/layout.h"
#include "draw/text.h"
#include "model/subdivision.h"

#include <SDL.h>

#include <optional>
#include <string>
#include <vector>

// The whole program's state: the log, the half-edge structure, the window, the
// status-line font and N. Start-up and shutdown write one log line per step.
struct Application {
    explicit Application(Platform platform = {});
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Starts SDL and SDL_ttf, opens the window and both fonts, then builds the polygon, or
    // opens meshPath when it is set. False when SDL, SDL_ttf or the window could not be
    // started; a missing font, or a mesh file that does not open, does not stop start-up.
    bool init();
    // Reads and opens meshPath into the subdivision. Every finding goes to standard error
    // as the line Findings::lines gives it, and to the log after "openMesh: "; then one
    // line for the outcome: the success line, or the error line after which the findings
    // are kept in refusedFindings and shown in place of the picture. A file that cannot be
    // read is the error "cannot read" with the system's reason. False when it did not open.
    bool openMeshFile();
    bool initLibraries();
    bool initVideo();
    // Tries a hardware surface, then a software one; leaves screen null if both fail.
    void setVideoMode();
    // Sets the window title, cut to its first 80 characters.
    void setCaption(const std::string& title);
    // Opens name + ".ttf" (the path cut to 80 characters) at pointSize and logs the
    // outcome. The font's plain handle is null on failure.
    Font openFont(const std::string& name, int pointSize);

    // Draws the whole frame from scratch (drawFrame, with the status line) and shows it.
    // For a mesh file that did not open: the status line over a blank picture, and the
    // findings one to a row in the label font from findingsPlace down, as many as fit.
    void redraw();
    bool meshRefused() const { return !refusedFindings.empty(); }

    Log log;
    Subdivision subdivision;
    SDL_Surface* screen = nullptr; // owned by SDL
    SDL_Rect screenRect{0, 0, windowWidth, windowHeight};
    Font font; // the status line's
    int angles = startAngles;
    bool fullscreen = false;
    int bitsPerPixel = frameBitsPerPixel;
    Font labelFont; // the subdivision's labels and listing
    Platform platform;
    std::optional<std::string> meshPath; // the file named on the command line
    std::vector<std::string> refusedFindings;
};

// Where the findings of a mesh file that did not open are written: in the walk line's
// place under the status line (there is nothing to walk), a row apart as in the listing,
// whose label font they share.
constexpr Pixel findingsPlace = layout::walkPlace;
constexpr int findingsRowHeight = layout::listingRowHeight;

// The viewer's exit status when the mesh file named did not open.
constexpr int meshRefusedStatus = 2;

// The viewer's main: start-up, first frame, event loop until the window is closed. With
// meshPath, the mesh in that file instead of the fan. Returns the exit status: 0 after a
// normal run, 1 when start-up failed, meshRefusedStatus when the mesh file did not open.
int runViewer(Platform platform = {}, std::optional<std::string> meshPath = {});
