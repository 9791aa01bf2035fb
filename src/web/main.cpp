// The viewer's process entry and event source in the browser. The page (page/page.js)
// turns the browser's key and button releases into SDL events, queues them with the calls
// below and then has the viewer's own InputHandler take the whole batch. Between batches
// nothing runs: the page has no loop of its own, and neither has this file. A mesh file
// comes the same way: the page hands its bytes over, then has the viewer open them.

#include "app/application.h"
#include "app/input_handler.h"
#include "export/html_tables.h"
#include "mesh/mesh_file.h"
#include "mesh/planar_mesh.h"
#include "web/description.h"
#include "web/link.h"

#include <SDL.h>
#include <emscripten.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// emscripten carries an SDL of its own, written in JavaScript, whose headers must not be
// the ones found here.
static_assert(SDL_MAJOR_VERSION == 1 && SDL_MINOR_VERSION == 2 && SDL_PATCHLEVEL == 15,
              "SDL 1.2.15's headers must come before emscripten's SDL headers");

namespace {

// Both live as long as the page: main returns, the viewer stays.
Application* app = nullptr;
InputHandler* handler = nullptr;
// The bytes of the mesh file the page handed over last, until the viewer opens them.
std::optional<std::string> meshBytes;
// The open mesh's name beside the page, which the link carries; empty for the fan and for
// a mesh from the user's device.
std::string meshLink;

void showFindings(const std::vector<std::string>& lines);

} // namespace

extern "C" {

// Hands the page a frame: height rows of pitch bytes, 32-bit pixels whose colour bytes
// sit at the given shifts of each little-endian word.
EM_JS(void, hexilShowFrame,
      (const void* pixels, int pitch, int width, int height, int redShift, int greenShift,
       int blueShift),
      {
          Module.showFrame(HEAPU8.subarray(pixels, pixels + pitch * height), pitch, width, height,
                           redShift, greenShift, blueShift);
      });

// Tells the page the state a frame shows: as the address's fragment and in words.
EM_JS(void, hexilShowState, (const char* fragment, const char* description),
      { Module.showState(UTF8ToString(fragment), UTF8ToString(description)); });

// Tells the page what of its address's fragment the viewer ignored, in one line.
EM_JS(void, hexilShowNotice, (const char* notice), { Module.showNotice(UTF8ToString(notice)); });

// Tells the page what the viewer found in a mesh file, one line each; empty for nothing.
EM_JS(void, hexilShowFindings, (const char* lines), { Module.showFindings(UTF8ToString(lines)); });

// Hands the page the records as HTML tables.
EM_JS(void, hexilShowRecords, (const char* html), { Module.showRecords(UTF8ToString(html)); });

int __real_SDL_Flip(SDL_Surface* screen);

// SDL's dummy video driver keeps the screen in memory only; every flip of the viewer
// also hands that surface to the page, which copies it onto its canvas.
int __wrap_SDL_Flip(SDL_Surface* screen) {
    const int result = __real_SDL_Flip(screen);
    const SDL_PixelFormat* format = screen->format;
    hexilShowFrame(screen->pixels, screen->pitch, screen->w, screen->h, format->Rshift,
                   format->Gshift, format->Bshift);
    if (app) {
        hexilShowState(stateFragment(app->angles, app->subdivision, meshLink).c_str(),
                       describe(app->angles, app->subdivision).c_str());
    }
    return result;
}

// Moves SDL's pointer to (x, y), where the viewer reads it for h, unless x is negative
// (the pointer has not been over the picture), and queues the release of the key with SDL
// key symbol sym. False when SDL's queue is full.
EMSCRIPTEN_KEEPALIVE bool hexilKeyUp(int sym, int x, int y) {
    if (x >= 0) {
        SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
    }
    SDL_Event event{};
    event.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(sym);
    return SDL_PushEvent(&event) == 0;
}

// Moves SDL's pointer to (x, y), where the viewer reads it, and queues the release of
// the button there. False when SDL's queue is full.
EMSCRIPTEN_KEEPALIVE bool hexilButtonUp(int button, int x, int y) {
    SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONUP;
    event.button.button = static_cast<Uint8>(button);
    event.button.state = SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    return SDL_PushEvent(&event) == 0;
}

// Has the viewer's InputHandler take every queued event: at most one rebuild and one
// frame. The handler waits for its first event, so it is only called with one queued.
EMSCRIPTEN_KEEPALIVE void hexilHandleEvents() {
    SDL_Event first;
    if (handler && SDL_PeepEvents(&first, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0) {
        handler->handleEvents();
    }
}

// Has the page shown the records of the structure as it is now.
EMSCRIPTEN_KEEPALIVE void hexilRecords() {
    if (app) {
        hexilShowRecords(htmlTables(app->subdivision).c_str());
    }
}

// The mesh file a fragment names for the page to fetch before the viewer starts, or an
// empty text (link.h). The text lives until the next call.
EMSCRIPTEN_KEEPALIVE const char* hexilLinkedMesh(const char* fragment) {
    static std::string name;
    name = linkedMesh(fragment);
    return name.c_str();
}

// Whether a file of size bytes may be handed over; when not, the page shows why, as the
// desktop viewer says it, and nothing is read.
EMSCRIPTEN_KEEPALIVE bool hexilMeshFits(const char* name, double size) {
    if (size <= static_cast<double>(maxMeshFileBytes)) {
        return true;
    }
    Findings findings;
    findings.add(Finding::error, 0, "cannot read: " + tooLargeReason());
    showFindings(findings.lines(name));
    return false;
}

// Keeps a copy of a mesh file's size bytes for the viewer to open: the link's, before
// main, or one the user chose, before hexilOpenMesh.
EMSCRIPTEN_KEEPALIVE void hexilMeshBytes(const char* bytes, int size) {
    meshBytes.emplace(bytes, static_cast<std::size_t>(size));
}

// Opens the bytes handed over last as the mesh file name in place of what is shown, and
// shows its first frame; besidePage says whether name is a file beside the page, which
// the link then carries. A file that does not open leaves the picture as it is. Either
// way the page is told the findings. False when nothing was opened.
EMSCRIPTEN_KEEPALIVE bool hexilOpenMesh(const char* name, bool besidePage) {
    if (!app || !meshBytes) {
        return false;
    }
    MeshOpening opening = openMesh(*meshBytes, name);
    meshBytes.reset();
    showFindings(opening.lines());
    if (!opening.mesh) {
        return false;
    }
    meshLink = besidePage ? name : "";
    app->subdivision.open(opening.mesh, app->angles);
    app->redraw();
    return true;
}

} // extern "C"

// Starts the viewer and draws its first frame, as the desktop's main does, in the state
// that the page's address gives (argv[1], its fragment without '#'; link.h), with the
// bytes of the mesh file it names when the page fetched them; the event loop is the
// page's. A failed start-up shuts the viewer down at once, which writes the log's closing
// lines, and leaves the page without a frame.
int main(int argc, char* argv[]) {
    // SDL 1.2 takes its video driver from the environment: the dummy one draws in memory.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    app = new Application;
    if (!app->init()) {
        delete app;
        app = nullptr;
        return 1;
    }
    handler = new InputHandler{*app};
    if (argc > 1 && argv[1][0] != '\0') {
        std::vector<std::string> findings;
        const std::string notice =
            applyFragment(argv[1], app->angles, app->subdivision, meshBytes, &findings);
        if (app->subdivision.mesh) {
            meshLink = linkedMesh(argv[1]);
        }
        showFindings(findings);
        if (!notice.empty()) {
            hexilShowNotice(("Ignored in the link: " + notice + ".").c_str());
        }
    }
    meshBytes.reset();
    app->redraw();
    return 0;
}

namespace {

void showFindings(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    hexilShowFindings(text.c_str());
}

} // namespace
