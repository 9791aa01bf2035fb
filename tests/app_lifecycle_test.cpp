#include "app/application.h"
#include "app/log.h"
#include "app_fixture.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <filesystem>
#include <fstream>
#include <optional>
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

// Each run's log, status, video modes asked for and standard error: log.txt starts afresh; a
// library that fails stops the start-up with status 1; the mode falls back to software, then
// gives up. A mesh file's findings go to standard error and the log, then its outcome's line;
// one that does not open (named without its folder) ends the run with status 2.
TEST(Lifecycle, EachRunLogsItsStepsAndEndsWithItsStatus) {
    const Uint32 hardware = SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_ANYFORMAT,
                 software = SDL_DOUBLEBUF | SDL_ANYFORMAT;
    const std::vector<std::string> normal = {sdlOk, ttfOk, videoOk, fontOk, fontOk};
    const Platform closing{initAndQueueQuit, TTF_Init, recordedVideoMode};
    Platform noSdl, noTtf;
    noSdl.init = [](Uint32) { return SDL_SetError("No available video device"), -1; };
    noTtf.ttfInit = [] { return SDL_SetError("FreeType is missing"), -1; };
    const auto meshRun = [&](std::vector<std::string> more) {
        more.insert(more.begin(), normal.begin(), normal.end());
        return more;
    };
    struct Run {
        Platform platform;
        Uint32 refused;
        int status;
        std::vector<std::string> lines;
        std::vector<Uint32> flags;
        std::optional<std::string> mesh{};
        std::string err{};
    };
    // clang-format off
    const std::string badFace = "b.obj:4: error: face 0 uses vertex 4, but the file has 3 vertices",
        unused = "w.obj:4: warning: vertex v3 is used by no face: it keeps its number, with no edge",
        missing = "none.off: error: cannot read: No such file or directory", folder = "in: error: cannot read: Is a directory",
        refused = "!openMesh: Nastala chyba pri načítavaní súboru ", opened = "openMesh: Súbor ";
    const Run runs[] = {
        {closing, 0, 0, normal, {hardware}},
        {closing, 0, 0, normal, {hardware}},
        {noSdl, 0, 1, {"!SDL_Init: Nastala chyba pri inicializácii SDL: No available video device"}, {}},
        {noTtf, 0, 1, {sdlOk, "!TTF_Init: Nastala chyba pri načítavaní knižníc pre TTF fonty: FreeType is missing"}, {}},
        {closing, SDL_HWSURFACE, 0, normal, {hardware, software}},
        {closing, SDL_DOUBLEBUF, 1, {sdlOk, ttfOk, "SDL_SetVideoMode: Nastala chyba pri nastavovaní rozlíšenia 1000x600: No video mode large enough"},
         {hardware, software}},
        {closing, 0, 2, meshRun({"openMesh: " + badFace, refused + "b.obj"}), {hardware}, "in/b.obj", badFace + "\n"},
        {closing, 0, 0, meshRun({"openMesh: " + unused, opened + "w.obj bol úspešne načítaný"}), {hardware}, "w.obj", unused + "\n"},
        {closing, 0, 0, meshRun({opened + "square-hole.obj bol úspešne načítaný"}), {hardware}, HEXIL_MESHES "/square-hole.obj"},
        {closing, 0, 2, meshRun({"openMesh: " + missing, refused + "none.off"}), {hardware}, "none.off", missing + "\n"},
        {closing, 0, 2, meshRun({"openMesh: " + folder, refused + "in"}), {hardware}, "in", folder + "\n"},
    };
    // clang-format on
    WorkingDirectory dir;
    std::filesystem::create_directory("in");
    std::ofstream("in/b.obj") << "v 0 0\nv 1 0\nv 0 1\nf 1 2 4\n";
    std::ofstream("w.obj") << "v 0 0\nv 1 0\nv 0 1\nv 5 5\nf 1 2 3\n";
    int run = 0;
    for (const Run& r : runs) {
        videoFlagsAsked.clear();
        refusedFlags = r.refused;
        ::testing::internal::CaptureStderr();
        const int status = runViewer(r.platform, r.mesh);
        EXPECT_EQ(std::tuple(r.status, logOf(r.lines), r.flags, r.err),
                  std::tuple(status, dir.read("log.txt"), videoFlagsAsked,
                             ::testing::internal::GetCapturedStderr()))
            << "run " << run++;
    }
    EXPECT_EQ(toWindows1250("súboru načítaný"), "s\xFA"
                                                "boru na\xE8\xEDtan\xFD");
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
