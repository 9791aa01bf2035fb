#include "app/application.h"

#include "app/input_handler.h"
#include "mesh/mesh_file.h"
#include "mesh/planar_mesh.h"

#include <iostream>
#include <memory>
#include <sstream>

namespace {

constexpr std::size_t longestName = 80;

} // namespace

Application::Application(Platform platform) : log("log.txt"), platform(platform) {}

Application::~Application() {
    SDL_FreeSurface(screen);
    // SDL_ttf must still be running to close a font.
    closeFont(labelFont);
    closeFont(font);
    subdivision.font = nullptr;
    TTF_Quit();
    log.writeLine("TTF_Quit: Uvoľňujem knižnice pre TTF fonty");
    SDL_Quit();
    log.writeLine("SDL_Quit: Uvoľňujem SDL");
}

bool Application::init() {
    if (!initLibraries() || !initVideo()) {
        return false;
    }
    // SDL 1.2 serves timers from a thread that wakes every millisecond. The viewer sets no
    // timer, so that subsystem is stopped again and an idle viewer really sleeps.
    SDL_QuitSubSystem(SDL_INIT_TIMER);
    setCaption("HEXIL");
    font = openFont(layout::fontName, layout::statusPointSize);
    labelFont = openFont(layout::fontName, layout::labelPointSize);
    subdivision = Subdivision(&labelFont);
    if (meshPath) {
        openMeshFile();
    } else {
        subdivision.build(angles);
    }
    return true;
}

bool Application::openMeshFile() {
    const std::string& path = *meshPath;
    const FileBytes file = readMeshFile(path);
    MeshOpening opening;
    if (file.error.empty()) {
        opening = openMesh(file.bytes, path);
    } else {
        opening.name = fileNameOf(path);
        opening.findings.add(Finding::error, 0, "cannot read: " + file.error);
    }
    const std::string& name = opening.name;
    const std::vector<std::string> lines = opening.lines();
    for (const std::string& line : lines) {
        std::cerr << line << '\n';
        log.writeLine("openMesh: " + line);
    }
    std::cerr.flush();
    if (!opening.mesh) {
        log.writeLine("!openMesh: Nastala chyba pri načítavaní súboru " + name);
        refusedFindings = lines;
        // The findings take the picture's place, the listing's too.
        subdivision.showListing = false;
        return false;
    }
    log.writeLine("openMesh: Súbor " + name + " bol úspešne načítaný");
    subdivision.open(opening.mesh, angles);
    return true;
}

bool Application::initLibraries() {
    if (platform.init(SDL_INIT_TIMER | SDL_INIT_VIDEO) == -1) {
        log.writeLine(std::string("!SDL_Init: Nastala chyba pri inicializácii SDL: ") +
                      SDL_GetError());
        return false;
    }
    log.writeLine("SDL_Init: SDL bolo úspešne inicializované");
    if (platform.ttfInit() == -1) {
        log.writeLine(
            std::string("!TTF_Init: Nastala chyba pri načítavaní knižníc pre TTF fonty: ") +
            SDL_GetError());
        return false;
    }
    log.writeLine("TTF_Init: Knižnice pre TTF fonty boli úspešne načítané");
    return true;
}

bool Application::initVideo() {
    screenRect = {0, 0, windowWidth, windowHeight};
    bitsPerPixel = frameBitsPerPixel;
    fullscreen = false;
    setVideoMode();
    std::ostringstream line;
    if (screen == nullptr) {
        line << "SDL_SetVideoMode: Nastala chyba pri nastavovaní rozlíšenia " << screenRect.w << "x"
             << screenRect.h << ": " << SDL_GetError();
        log.writeLine(line.str());
        SDL_Quit();
        return false;
    }
    line << "SDL_SetVideoMode: Rozlíšenie nastavené na " << screenRect.w << " x " << screenRect.h
         << " pixelov, farebná hĺbka " << bitsPerPixel << " bitov";
    log.writeLine(line.str());
    return true;
}

void Application::setVideoMode() {
    Uint32 flags = SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_ANYFORMAT;
    if (fullscreen) {
        flags |= SDL_FULLSCREEN;
    }
    screen = platform.setVideoMode(screenRect.w, screenRect.h, bitsPerPixel, flags);
    if (screen == nullptr) {
        screen = platform.setVideoMode(screenRect.w, screenRect.h, bitsPerPixel,
                                       flags & ~Uint32{SDL_HWSURFACE});
    }
}

void Application::setCaption(const std::string& title) {
    SDL_WM_SetCaption(title.substr(0, longestName).c_str(), nullptr);
}

Font Application::openFont(const std::string& name, int pointSize) {
    const std::string path = (name + ".ttf").substr(0, longestName);
    Font opened = openFontPair(path.c_str(), pointSize);
    if (opened.plain == nullptr) {
        log.writeLine("!TTF_OpenFont: Nastala chyba pri načítavaní fontu " + path + ": " +
                      SDL_GetError());
    } else {
        log.writeLine("TTF_OpenFont: TTF font " + path + " bol úspešne načítaný");
    }
    return opened;
}

void Application::redraw() {
    if (SDL_MUSTLOCK(screen)) {
        SDL_LockSurface(screen);
    }
    // The open mesh names itself, wherever it came from; a file that did not open by the
    // name it was given.
    const std::string name = subdivision.mesh ? subdivision.mesh->name
                             : meshPath       ? fileNameOf(*meshPath)
                                              : std::string();
    drawFrame(screen, subdivision, StatusLine{&font, angles, name});
    int y = findingsPlace.y;
    for (const std::string& line : refusedFindings) {
        if (y + findingsRowHeight > screenRect.h) {
            break;
        }
        drawLabel(screen, &labelFont, subdivision.paperColor, subdivision.inkColor, line,
                  findingsPlace.x, y);
        y += findingsRowHeight;
    }
    SDL_Flip(screen);
    if (SDL_MUSTLOCK(screen)) {
        SDL_UnlockSurface(screen);
    }
}

int runViewer(Platform platform, std::optional<std::string> meshPath) {
    Application app(platform);
    app.meshPath = std::move(meshPath);
    if (!app.init()) {
        return 1;
    }
    InputHandler handler{app};
    app.redraw();
    while (handler.handleEvents()) {
    }
    return app.meshRefused() ? meshRefusedStatus : 0;
}
