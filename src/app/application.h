#pragma once

#include "app/log.h"
#include "app/platform.h"
#include "draw/frame.h"
#include "draw/text.h"
#include "model/subdivision.h"

#include <SDL.h>

#include <string>

// The whole program's state: the log, the half-edge structure, the window, the
// status-line font and N. Start-up and shutdown write one log line per step.
struct Application {
    explicit Application(Platform platform = {});
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Starts SDL and SDL_ttf, opens the window and both fonts, builds the polygon.
    // False when SDL, SDL_ttf or the window could not be started; a missing font does
    // not stop start-up.
    bool init();
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
    void redraw();

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
};

// The viewer's main: start-up, first frame, event loop until the window is closed.
// Returns the exit status: 0 after a normal run, 1 when start-up failed.
int runViewer(Platform platform = {});
