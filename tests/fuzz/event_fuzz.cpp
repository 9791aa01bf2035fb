// Bytes as SDL events for the real InputHandler and Application: after every event N lies in
// 0..maxAngles, the structure is build(N)'s and keeps every invariant (selection and walk too).
// A libFuzzer target with -fsanitize=fuzzer, else main replays a corpus and a fixed-seed stream.
#include "app/application.h"
#include "app/input_handler.h"
#include "app_fixture.h"
#include "model/validation.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

namespace {

// Six bytes an event: b0 & 7 the kind (7: a walk key e n p o v f h, or the middle button),
// b0 & 0x80 ends a batch; b1, b2 the key or button, b3 the modifiers; b2..b5 the pointer.
constexpr size_t eventSize = 6;

void fail(const char* what) {
    std::fprintf(stderr, "event_fuzz: %s\n", what);
    std::abort();
}

bool validPositions(const std::vector<int>& positions, size_t size) {
    return std::ranges::all_of(positions, [size](int p) { return p >= 0 && size_t(p) < size; });
}

// build(N) for the N and listing switch of the last rebuild (its invariants checked once),
// which the structure must equal; it follows N once no rebuild is pending.
Subdivision reference;
int referenceAngles = -1;

auto selectionOf(const Subdivision& s) {
    return std::tuple(s.pickedVertex, s.pickedFace, s.pickedVertexEdges, s.pickedFaceNeighbours,
                      s.pickedHalfEdge, s.pickedNext, s.pickedPrev, s.pickedOpp, s.walkPath,
                      s.walkSteps);
}
// The selection and walk last found to keep every invariant with the reference's records.
std::optional<decltype(selectionOf(reference))> checkedSelection;

void renewReference(const Application& app) {
    reference.showListing = app.subdivision.showListing;
    reference.build(app.angles);
    referenceAngles = app.angles;
    checkedSelection.reset();
    if (checkInvariants(reference)) {
        fail("invariant broken");
    }
}

void check(const Application& app, const InputHandler& handler) {
    const Subdivision& s = app.subdivision;
    const std::vector<int>& edges = s.pickedVertexEdges;
    if (app.angles < 0 || app.angles > maxAngles || s.pickedVertex < -1 ||
        s.pickedVertex >= static_cast<int>(s.vertices.size()) || s.pickedFace < -1 ||
        s.pickedFace >= static_cast<int>(s.faces.size()) ||
        !validPositions(edges, s.halfEdges.size()) ||
        !validPositions(s.pickedFaceNeighbours, s.faces.size()) ||
        std::adjacent_find(edges.begin(), edges.end(), std::greater_equal<>()) != edges.end() ||
        (s.pickedVertex < 0 && !edges.empty()) ||
        (s.pickedFace < 0 && !s.pickedFaceNeighbours.empty())) {
        fail("N out of range, or the selection names records that do not exist");
    }
    if (!handler.rebuildPending &&
        (referenceAngles != app.angles || reference.showListing != s.showListing)) {
        renewReference(app);
    }
    if (reference.vertices != s.vertices || reference.halfEdges != s.halfEdges ||
        reference.faces != s.faces) {
        fail("structure differs from build(N)");
    }
    // With the reference's records, the invariants can change only with the selection.
    if (checkedSelection != selectionOf(s)) {
        if (const Violation v = checkInvariants(s)) {
            std::fprintf(stderr, "event_fuzz: invariant %d at %d: %s\n", v.invariant, v.record,
                         v.what.c_str());
            fail("invariant broken");
        }
        checkedSelection = selectionOf(s);
    }
}

SDL_Event decode(const uint8_t* b) {
    SDL_Event e{};
    const int kind = b[0] & 7;
    if (kind <= 2) {
        e.type = kind == 1 ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = static_cast<SDLKey>((b[1] | (b[2] << 8)) % SDLK_LAST);
        e.key.keysym.mod = static_cast<SDLMod>((b[3] & 3) | ((b[3] & 0xfc) << 4));
    } else if (kind <= 4) {
        e.type = kind == 4 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = static_cast<Uint8>(b[1] % 5 + 1);
    } else if (kind == 7 && b[1] % 8 == 7) {
        e.type = SDL_MOUSEBUTTONUP;
        e.button.button = SDL_BUTTON_MIDDLE;
    } else if (kind == 7) {
        e.type = SDL_KEYUP;
        e.key.keysym.sym = static_cast<SDLKey>("enpovfh"[b[1] % 8]);
        e.key.keysym.mod = static_cast<SDLMod>(b[3] & 3);
    } else {
        e.type = kind > 5 ? b[1] % SDL_NUMEVENTS : b[1] < 4 ? SDL_QUIT : SDL_MOUSEMOTION;
    }
    return e;
}

Application& application() {
    static WorkingDirectory dir;
    static Application* app = [] {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        auto* a = new Application;
        if (!a->init()) {
            fail("start-up failed");
        }
        return a;
    }();
    return *app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Application& app = application();
    app.angles = 6;
    app.subdivision.showLabels = true;
    app.subdivision.showListing = true;
    app.subdivision.build(app.angles);
    renewReference(app);
    InputHandler handler{app};
    for (size_t at = 0; at + eventSize <= size; at += eventSize) {
        const uint8_t* b = data + at;
        handler.mouseX = static_cast<int16_t>(b[2] | (b[3] << 8));
        handler.mouseY = static_cast<int16_t>(b[4] | (b[5] << 8));
        const SDL_Event event = decode(b);
        if (!handler.apply(event)) {
            if (event.type != SDL_QUIT) {
                fail("only SDL_QUIT ends the loop");
            }
            break; // the window is gone; nothing behind it is handled
        }
        if ((b[0] & 0x80) != 0 || at + 2 * eventSize > size) {
            handler.flush();
        }
        check(app, handler);
    }
    return 0;
}

#ifndef HEXIL_LIBFUZZER
namespace {

// Random events: keys that change N (kept small, so fast) or a switch, clicks in the window
// and runs of walk keys and middle clicks (a fifth); one in 512 ends a batch, none closes.
std::vector<uint8_t> generate(std::mt19937& random, int events) {
    std::vector<uint8_t> bytes(events * eventSize);
    bool walking = false;
    std::generate(bytes.begin(), bytes.end(), [&random] { return uint8_t(random()); });
    for (size_t at = 0; at < bytes.size(); at += eventSize) {
        uint8_t* b = &bytes[at];
        walking = walking && random() % 10 != 0; // a run of walk keys goes on nine in ten
        const int roll = walking ? 100 : static_cast<int>(random() % 103);
        walking = roll >= 100;
        if (roll < 42) {
            b[0] = 0;
            b[1] = uint8_t(roll < 15   ? SDLK_0 + roll % 10
                           : roll < 35 ? SDLK_BACKSPACE
                           : roll % 2  ? SDLK_c
                                       : SDLK_t);
            b[2] = 0;
        } else if (roll < 75 || roll >= 100) {
            const int x = static_cast<int>(random() % windowWidth),
                      y = static_cast<int>(random() % windowHeight);
            b[0] = uint8_t(roll >= 100 ? 7 : 3 + roll % 2);
            b[2] = uint8_t(x), b[3] = uint8_t(x >> 8), b[4] = uint8_t(y), b[5] = uint8_t(y >> 8);
        } else if ((b[0] & 7) == 5) {
            b[1] |= 4;
        }
        b[0] = uint8_t((b[0] & 0x7f) | (random() % 512 == 0 ? 0x80 : 0));
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                             std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++inputs;
        }
    }
    std::mt19937 random(20261207);
    constexpr int total = 125000, perInput = 500;
    for (int done = 0; done < total; done += perInput) {
        const std::vector<uint8_t> bytes = generate(random, perInput);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("event_fuzz: %d corpus inputs and %d generated events passed\n", inputs, total);
    return 0;
}
#endif
