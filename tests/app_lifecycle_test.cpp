#include "app/application.h"
#include "app/log.h"
#include "app_fixture.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// A normal run's log in UTF-8 (stored in Windows-1250), as the shell sessions read it.
const std::vector<std::string> normalRun = [] {
    std::ifstream in(HEXIL_NORMAL_RUN);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}();
const std::string &sdlOk = normalRun.at(3), &ttfOk = normalRun.at(4), &videoOk = normalRun.at(5),
                  &fontOk = normalRun.at(6);

// The log of a run whose steps wrote these lines, each run ending the libraries.
std::string logOf(std::vector<std::string> lines) {
    lines.insert(lines.begin(), normalRun.begin(), normalRun.begin() + 3);
    lines.insert(lines.end(), normalRun.begin() + 8, normalRun.end());
    std::string text;
    for (const std::string& line : lines) {
        text += toWindows1250(line) + "\n";
    }
    return text;
}

// SDL started with the window's close queued, so a run ends by itself; video modes asked
// for are recorded, those with a refused flag fail.
std::vector<Uint32> videoFlagsAsked;
Uint32 refusedFlags = 0;
int initAndQueueQuit(Uint32 flags) {
    const int result = SDL_Init(flags);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    return result;
}
SDL_Surface* recordedVideoMode(int w, int h, int bpp, Uint32 flags) {
    videoFlagsAsked.push_back(flags);
    return flags & refusedFlags ? (SDL_SetError("No video mode large enough"), nullptr)
                                : SDL_SetVideoMode(w, h, bpp, flags);
}

TEST(Log, StoresSlovakLettersAsWindows1250Bytes) {
    const std::string line = toWindows1250("SDL_Init: SDL bolo úspešne inicializované");
    EXPECT_EQ(line.size(), 41u);
    EXPECT_EQ(line.substr(19, 5), "\xFAspe\x9A");
    EXPECT_EQ(toWindows1250("ľčĺňôž"), "\xBE\xE8\xE5\xF2\xF4\x9E");
    EXPECT_EQ(toWindows1250("a\xFF"
                            "b漢c"),
              "a?b?c");
    EXPECT_EQ(toWindows1250("\xC3"), "?");
}

// Each run's log, status and video modes asked for: log.txt starts afresh; a library that
// fails stops the start-up with status 1; the mode falls back to software, then gives up.
TEST(Lifecycle, EachRunLogsItsStepsAndEndsWithItsStatus) {
    const Uint32 hardware = SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_ANYFORMAT,
                 software = SDL_DOUBLEBUF | SDL_ANYFORMAT;
    const std::vector<std::string> normal = {sdlOk, ttfOk, videoOk, fontOk, fontOk};
    const Platform closing{initAndQueueQuit, TTF_Init, recordedVideoMode};
    Platform noSdl, noTtf;
    noSdl.init = [](Uint32) { return SDL_SetError("No available video device"), -1; };
    noTtf.ttfInit = [] { return SDL_SetError("FreeType is missing"), -1; };
    struct Run {
        Platform platform;
        Uint32 refused;
        int status;
        std::vector<std::string> lines;
        std::vector<Uint32> flags;
    };
    // clang-format off
    const Run runs[] = {
        {closing, 0, 0, normal, {hardware}},
        {closing, 0, 0, normal, {hardware}},
        {noSdl, 0, 1, {"!SDL_Init: Nastala chyba pri inicializácii SDL: No available video device"}, {}},
        {noTtf, 0, 1, {sdlOk, "!TTF_Init: Nastala chyba pri načítavaní knižníc pre TTF fonty: FreeType is missing"}, {}},
        {closing, SDL_HWSURFACE, 0, normal, {hardware, software}},
        {closing, SDL_DOUBLEBUF, 1, {sdlOk, ttfOk, "SDL_SetVideoMode: Nastala chyba pri nastavovaní rozlíšenia 1000x600: No video mode large enough"},
         {hardware, software}},
    };
    // clang-format on
    WorkingDirectory dir;
    int run = 0;
    for (const Run& r : runs) {
        videoFlagsAsked.clear();
        refusedFlags = r.refused;
        const int status = runViewer(r.platform);
        EXPECT_EQ(std::tuple(r.status, logOf(r.lines), r.flags),
                  std::tuple(status, dir.read("log.txt"), videoFlagsAsked))
            << "run " << run++;
    }
}

// Without tahoma.ttf both fonts fail, logged, and the viewer runs; names are cut to 80.
TEST(Lifecycle, MissingFontsAreLoggedAndLongNamesCut) {
    WorkingDirectory dir(false);
    const std::string name(78, 'n');
    {
        Application app;
        ASSERT_TRUE(app.init());
        EXPECT_EQ(app.subdivision.halfEdges.size(), 18u);
        app.redraw(); // no text, and nothing breaks
        char* title = nullptr;
        SDL_WM_GetCaption(&title, nullptr);
        EXPECT_STREQ(title, "HEXIL");
        app.setCaption(std::string(79, 'a') + "bc");
        SDL_WM_GetCaption(&title, nullptr);
        EXPECT_EQ(std::string(title), std::string(79, 'a') + "b");
        EXPECT_EQ(app.openFont(name, 11).plain, nullptr);
    }
    // SDL_ttf's own words for files that are not there.
    SDL_Init(SDL_INIT_VIDEO);
    TTF_Init();
    const auto failed = [](const std::string& path) {
        EXPECT_EQ(TTF_OpenFont(path.c_str(), 13), nullptr);
        return "!TTF_OpenFont: Nastala chyba pri načítavaní fontu " + path + ": " + SDL_GetError();
    };
    const std::string tahoma = failed("tahoma.ttf"), cut = failed(name + ".t");
    TTF_Quit();
    SDL_Quit();
    EXPECT_EQ(dir.read("log.txt"), logOf({sdlOk, ttfOk, videoOk, tahoma, tahoma, cut}));
}

} // namespace
