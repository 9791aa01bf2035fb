#include "app/application.h"
#include "app/log.h"
#include "app_fixture.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

const std::string sdlOk = "SDL_Init: SDL bolo úspešne inicializované";
const std::string ttfOk = "TTF_Init: Knižnice pre TTF fonty boli úspešne načítané";
const std::string videoOk =
    "SDL_SetVideoMode: Rozlíšenie nastavené na 1000 x 600 pixelov, farebná hĺbka 32 bitov";
const std::string fontOk = "TTF_OpenFont: TTF font tahoma.ttf bol úspešne načítaný";
const std::string ttfQuit = "TTF_Quit: Uvoľňujem knižnice pre TTF fonty";
const std::string sdlQuit = "SDL_Quit: Uvoľňujem SDL";

std::string logOf(std::initializer_list<std::string> lines) {
    std::string text = "==========\n   HEXIL\n==========\n";
    for (const std::string& line : lines) {
        text += toWindows1250(line) + "\n";
    }
    return text;
}

// Starts SDL for real and closes the window before it opens, so that a whole run ends
// by itself.
int initAndQueueQuit(Uint32 flags) {
    const int result = SDL_Init(flags);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    return result;
}

Platform closingAtOnce() {
    Platform p;
    p.init = initAndQueueQuit;
    return p;
}

std::vector<Uint32> videoFlagsAsked;

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

TEST(Lifecycle, NormalRunLogsEveryStepAndExitsWithZero) {
    WorkingDirectory dir;
    EXPECT_EQ(runViewer(closingAtOnce()), 0);
    EXPECT_EQ(dir.read("log.txt"),
              logOf({sdlOk, ttfOk, videoOk, fontOk, fontOk, ttfQuit, sdlQuit}));

    // A second run truncates the first one's lines.
    EXPECT_EQ(runViewer(closingAtOnce()), 0);
    EXPECT_EQ(dir.read("log.txt"),
              logOf({sdlOk, ttfOk, videoOk, fontOk, fontOk, ttfQuit, sdlQuit}));
}

TEST(Lifecycle, FailedLibraryStartsStopStartUpWithStatusOne) {
    WorkingDirectory dir;
    Platform noSdl;
    noSdl.init = [](Uint32) {
        SDL_SetError("No available video device");
        return -1;
    };
    EXPECT_EQ(runViewer(noSdl), 1);
    EXPECT_EQ(dir.read("log.txt"),
              logOf({"!SDL_Init: Nastala chyba pri inicializácii SDL: No available video device",
                     ttfQuit, sdlQuit}));

    Platform noTtf;
    noTtf.ttfInit = [] {
        SDL_SetError("FreeType is missing");
        return -1;
    };
    EXPECT_EQ(runViewer(noTtf), 1);
    EXPECT_EQ(dir.read("log.txt"),
              logOf({sdlOk,
                     "!TTF_Init: Nastala chyba pri načítavaní knižníc pre TTF fonty: FreeType is "
                     "missing",
                     ttfQuit, sdlQuit}));
}

TEST(Lifecycle, VideoModeFallsBackToSoftwareThenGivesUp) {
    WorkingDirectory dir;
    Platform noHardware = closingAtOnce();
    noHardware.setVideoMode = [](int w, int h, int bpp, Uint32 flags) -> SDL_Surface* {
        videoFlagsAsked.push_back(flags);
        if (flags & SDL_HWSURFACE) {
            SDL_SetError("no hardware surface");
            return nullptr;
        }
        return SDL_SetVideoMode(w, h, bpp, flags);
    };
    videoFlagsAsked.clear();
    EXPECT_EQ(runViewer(noHardware), 0);
    EXPECT_EQ(dir.read("log.txt"),
              logOf({sdlOk, ttfOk, videoOk, fontOk, fontOk, ttfQuit, sdlQuit}));
    EXPECT_EQ(videoFlagsAsked, (std::vector<Uint32>{SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_ANYFORMAT,
                                                    SDL_DOUBLEBUF | SDL_ANYFORMAT}));

    Platform noVideo;
    noVideo.setVideoMode = [](int, int, int, Uint32 flags) -> SDL_Surface* {
        videoFlagsAsked.push_back(flags);
        SDL_SetError("No video mode large enough");
        return nullptr;
    };
    videoFlagsAsked.clear();
    EXPECT_EQ(runViewer(noVideo), 1);
    EXPECT_EQ(videoFlagsAsked.size(), 2u);
    EXPECT_EQ(dir.read("log.txt"),
              logOf({sdlOk, ttfOk,
                     "SDL_SetVideoMode: Nastala chyba pri nastavovaní rozlíšenia 1000x600: No "
                     "video mode large enough",
                     ttfQuit, sdlQuit}));
}

TEST(Lifecycle, MissingFontIsLoggedTwiceAndTheViewerStillRuns) {
    WorkingDirectory dir(false);
    {
        Application app;
        ASSERT_TRUE(app.init());
        EXPECT_EQ(app.subdivision.halfEdges.size(), 18u);
        app.redraw(); // no text, and nothing breaks
    }
    // SDL_ttf's own words for a file that is not there.
    SDL_Init(SDL_INIT_VIDEO);
    TTF_Init();
    EXPECT_EQ(TTF_OpenFont("tahoma.ttf", 13), nullptr);
    const std::string reason = SDL_GetError();
    TTF_Quit();
    SDL_Quit();
    const std::string fontFailed =
        "!TTF_OpenFont: Nastala chyba pri načítavaní fontu tahoma.ttf: " + reason;
    EXPECT_EQ(dir.read("log.txt"),
              logOf({sdlOk, ttfOk, videoOk, fontFailed, fontFailed, ttfQuit, sdlQuit}));
}

TEST(Lifecycle, LongTitlesAndFontNamesAreCutToEightyCharacters) {
    WorkingDirectory dir;
    Application app;
    ASSERT_TRUE(app.init());
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    EXPECT_STREQ(title, "HEXIL");
    app.setCaption(std::string(79, 'a') + "bc");
    SDL_WM_GetCaption(&title, nullptr);
    EXPECT_EQ(std::string(title), std::string(79, 'a') + "b");

    const std::string name(78, 'n');
    Font missing = app.openFont(name, 11);
    EXPECT_EQ(missing.plain, nullptr);
    const std::string log = dir.read("log.txt");
    const std::string cut = name + ".t: ";
    EXPECT_NE(log.find("!TTF_OpenFont: Nastala chyba pri na\xE8\xEDtavan\xED fontu " + cut),
              std::string::npos);
}

} // namespace
