// Each operation of the viewer timed side by side with the slow, obvious way of doing the
// same thing, for N = 6, 100, 1000 and 9999 corners. Every case is registered as
// "case/ours/N" and "case/literal/N"; scripts/bench pairs them up into ratios. The mesh
// cases (mesh_bench.h) follow.
//
// The frames are drawn off-screen on SDL's dummy video driver, on the 1000 x 600 32-bit
// surface that SDL_SetVideoMode gives there.

#include "draw/frame.h"
#include "draw/layout.h"
#include "draw/text.h"
#include "literal_build.h"
#include "literal_frame.h"
#include "literal_pick.h"
#include "mesh_bench.h"
#include "model/subdivision.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int corners[] = {startAngles, 100, 1000, maxAngles};

// What a frame draws with: the screen, and the two fonts once as the viewer keeps them
// and once as single handles for the literal way.
struct Stage {
    SDL_Surface* screen = nullptr;
    Font labelFont;
    Font statusFont;
    TTF_Font* literalLabelFont = nullptr;
    TTF_Font* literalStatusFont = nullptr;
};

Stage stage;

// The viewer's frame as its redraw draws it, without the flip.
void viewerFrame(const Subdivision& s, int angles) {
    SDL_Surface* screen = stage.screen;
    if (SDL_MUSTLOCK(screen)) {
        SDL_LockSurface(screen);
    }
    drawFrame(screen, s, StatusLine{&stage.statusFont, angles});
    if (SDL_MUSTLOCK(screen)) {
        SDL_UnlockSurface(screen);
    }
}

void literalViewerFrame(const Subdivision& s, int angles) {
    literalFrame(s, angles, stage.literalLabelFont, stage.literalStatusFont, stage.screen);
}

Subdivision structure(int n, bool labelsAndListing) {
    Subdivision s(&stage.labelFont);
    s.showLabels = labelsAndListing;
    s.showListing = labelsAndListing;
    s.build(n);
    return s;
}

// A click far outside the polygon, whichever column it is centred on.
constexpr int outsideX = 900;
constexpr int outsideY = 50;

void buildOurs(benchmark::State& state, int n) {
    Subdivision s(&stage.labelFont);
    for (auto _ : state) {
        s.build(n);
        benchmark::DoNotOptimize(s.halfEdges.data());
    }
}

void buildLiteral(benchmark::State& state, int n) {
    Subdivision s(&stage.labelFont);
    for (auto _ : state) {
        literalBuild(s, n);
        benchmark::DoNotOptimize(s.halfEdges.data());
    }
}

void pickOurs(benchmark::State& state, int n) {
    Subdivision s = structure(n, true);
    for (auto _ : state) {
        s.pick(outsideX, outsideY);
        benchmark::DoNotOptimize(s.pickedFaceNeighbours.data());
    }
}

void pickLiteral(benchmark::State& state, int n) {
    Subdivision s = structure(n, true);
    for (auto _ : state) {
        literalPick(s, outsideX, outsideY);
        benchmark::DoNotOptimize(s.pickedFaceNeighbours.data());
    }
}

void frameOurs(benchmark::State& state, int n, bool labelsAndListing) {
    const Subdivision s = structure(n, labelsAndListing);
    for (auto _ : state) {
        viewerFrame(s, n);
        benchmark::ClobberMemory();
    }
    state.counters["corners"] = n;
}

void frameLiteral(benchmark::State& state, int n, bool labelsAndListing) {
    const Subdivision s = structure(n, labelsAndListing);
    for (auto _ : state) {
        literalViewerFrame(s, n);
        benchmark::ClobberMemory();
    }
    state.counters["corners"] = n;
}

// The literal way at the largest N takes seconds per run: one run is measured.
template <class Run> void side(const char* name, int n, Run run) {
    benchmark::internal::Benchmark* b =
        benchmark::RegisterBenchmark((std::string(name) + "/" + std::to_string(n)).c_str(),
                                     [n, run](benchmark::State& state) { run(state, n); });
    b->Unit(benchmark::kMicrosecond);
    if (n >= maxAngles && std::strstr(name, "literal")) {
        b->Iterations(1);
    }
}

void registerAll() {
    for (int n : corners) {
        side("build/ours", n, buildOurs);
        side("build/literal", n, buildLiteral);
    }
    for (int n : corners) {
        side("pick/ours", n, pickOurs);
        side("pick/literal", n, pickLiteral);
    }
    for (int n : corners) {
        side("frame/ours", n, [](benchmark::State& st, int k) { frameOurs(st, k, true); });
        side("frame/literal", n, [](benchmark::State& st, int k) { frameLiteral(st, k, true); });
    }
    for (int n : corners) {
        side("bare frame/ours", n, [](benchmark::State& st, int k) { frameOurs(st, k, false); });
        side("bare frame/literal", n,
             [](benchmark::State& st, int k) { frameLiteral(st, k, false); });
    }
    registerMeshCases(stage.screen, &stage.labelFont, &stage.statusFont);
}

bool sameRecords(const Subdivision& a, const Subdivision& b) {
    if (a.vertices.size() != b.vertices.size() || a.halfEdges.size() != b.halfEdges.size() ||
        a.faces.size() != b.faces.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.vertices.size(); ++i) {
        const Vertex& v = a.vertices[i];
        const Vertex& w = b.vertices[i];
        if (v.x != w.x || v.y != w.y || v.edge != w.edge) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.halfEdges.size(); ++i) {
        const HalfEdge& h = a.halfEdges[i];
        const HalfEdge& g = b.halfEdges[i];
        if (h.target != g.target || h.face != g.face || h.prev != g.prev || h.next != g.next ||
            h.opp != g.opp) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.faces.size(); ++i) {
        if (a.faces[i].edge != b.faces[i].edge) {
            return false;
        }
    }
    return true;
}

// Whether our frame and the literal frame of s are the same pixels; reports the first
// pixel in which they differ.
bool sameFrame(const Subdivision& s, int n, const char* view) {
    viewerFrame(s, n);
    std::vector<Uint32> ours(windowWidth * windowHeight);
    for (int y = 0; y < windowHeight; ++y) {
        std::memcpy(&ours[y * windowWidth],
                    static_cast<const Uint8*>(stage.screen->pixels) + y * stage.screen->pitch,
                    4 * windowWidth);
    }
    literalViewerFrame(s, n);
    for (int y = 0; y < windowHeight; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(stage.screen->pixels) + y * stage.screen->pitch);
        for (int x = 0; x < windowWidth; ++x) {
            if (row[x] != ours[y * windowWidth + x]) {
                std::fprintf(stderr,
                             "bench: the frames differ at N = %d, %s: first at (%d, %d), "
                             "ours %06x, literal %06x\n",
                             n, view, x, y, ours[y * windowWidth + x], row[x]);
                return false;
            }
        }
    }
    return true;
}

// A race between two ways is only fair when they do the same thing: the builds give the
// same records, the picks the same selection and the frames the same pixels. Frames are
// compared only while every listing row lies within 16-bit coordinates, with nothing, a
// vertex, a triangle or the outer face picked, and with the labels or the listing off.
bool sameResults() {
    for (int n : {6, 100, 1000}) {
        Subdivision ours = structure(n, true);
        Subdivision literal = structure(0, true);
        literalBuild(literal, n);
        if (!sameRecords(ours, literal)) {
            std::fprintf(stderr, "bench: the builds differ at N = %d\n", n);
            return false;
        }
        ours.pick(outsideX, outsideY);
        literalPick(literal, outsideX, outsideY);
        if (ours.pickedFace != literal.pickedFace ||
            ours.pickedFaceNeighbours != literal.pickedFaceNeighbours) {
            std::fprintf(stderr, "bench: the picks differ at N = %d\n", n);
            return false;
        }
    }
    struct View {
        const char* name;
        bool labels;
        bool listing;
    };
    struct Click {
        const char* name;
        int x;
        int y;
    };
    constexpr View views[] = {
        {"labels and listing", true, true}, {"listing off", true, false}, {"bare", false, false}};
    for (int n : {3, 6, 100}) {
        for (const View& view : views) {
            Subdivision s = structure(n, view.listing);
            s.showLabels = view.labels;
            if (!sameFrame(s, n, view.name)) {
                return false;
            }
            // At N = 100 a literal frame takes over half a second: the largest selection only.
            const auto triangle = s.faceVertices((n - 2) / 2);
            const Click clicks[] = {{"the outer face", outsideX, outsideY},
                                    {"vertex 0", s.vertices[0].x, s.vertices[0].y},
                                    {"a triangle",
                                     (triangle[0].x + triangle[1].x + triangle[2].x) / 3,
                                     (triangle[0].y + triangle[1].y + triangle[2].y) / 3}};
            for (int c = 0; c < (n == 100 ? 1 : 3); ++c) {
                s.pick(clicks[c].x, clicks[c].y);
                const std::string picked =
                    std::string(view.name) + ", " + clicks[c].name + " picked";
                if (!sameFrame(s, n, picked.c_str())) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool openStage() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || TTF_Init() != 0) {
        std::fprintf(stderr, "bench: SDL: %s\n", SDL_GetError());
        return false;
    }
    stage.screen = SDL_SetVideoMode(windowWidth, windowHeight, frameBitsPerPixel, SDL_SWSURFACE);
    stage.labelFont = openFontPair(HEXIL_FONT_PATH, layout::labelPointSize);
    stage.statusFont = openFontPair(HEXIL_FONT_PATH, layout::statusPointSize);
    stage.literalLabelFont = TTF_OpenFont(HEXIL_FONT_PATH, layout::labelPointSize);
    stage.literalStatusFont = TTF_OpenFont(HEXIL_FONT_PATH, layout::statusPointSize);
    if (!stage.screen || stage.screen->format->BitsPerPixel != frameBitsPerPixel ||
        !stage.labelFont.outlined || !stage.statusFont.outlined || !stage.literalLabelFont ||
        !stage.literalStatusFont) {
        std::fprintf(stderr, "bench: no 32-bit screen or no font %s: %s\n", HEXIL_FONT_PATH,
                     SDL_GetError());
        return false;
    }
    return true;
}

void closeStage() {
    TTF_CloseFont(stage.literalStatusFont);
    TTF_CloseFont(stage.literalLabelFont);
    closeFont(stage.statusFont);
    closeFont(stage.labelFont);
    TTF_Quit();
    SDL_Quit();
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (!openStage()) {
        return 1;
    }
    if (!sameResults()) {
        closeStage();
        return 1;
    }
    registerAll();
    if (!sameMeshResults()) {
        closeStage();
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    closeStage();
    return 0;
}
