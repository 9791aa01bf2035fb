#include "app/application.h"
#include "app/input_handler.h"
#include "app_fixture.h"
#include "model/validation.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <dlfcn.h>

#include <cctype>
#include <string>
#include <tuple>
#include <vector>

// Every frame is shown by SDL_Flip: counted here on its way to SDL's own.
static int flips = 0;
extern "C" int SDL_Flip(SDL_Surface* screen) {
    static const auto flip = reinterpret_cast<int (*)(SDL_Surface*)>(dlsym(RTLD_NEXT, "SDL_Flip"));
    ++flips;
    return flip(screen);
}

namespace {

// An event of this type and nothing else (every kind of SDL_Event starts with its type).
SDL_Event ofType(Uint8 type) {
    SDL_Event e{};
    e.type = type;
    return e;
}

SDL_Event keyUp(SDLKey key, SDLMod mod = KMOD_NONE) {
    SDL_Event e = ofType(SDL_KEYUP);
    e.key.keysym = {0, key, mod, 0};
    return e;
}

// The event's own position is not where the pick happens.
SDL_Event buttonUp(Uint8 button) {
    SDL_Event e = ofType(SDL_MOUSEBUTTONUP);
    e.button = {SDL_MOUSEBUTTONUP, 0, button, SDL_RELEASED, 600, 100};
    return e;
}

class Input : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(app.init()); }

    // Sends an event with the pointer at (x, y); tells whether the corner was repainted.
    bool send(const SDL_Event& e, int x = 0, int y = 0) {
        SDL_Rect corner{999, 599, 1, 1};
        SDL_FillRect(app.screen, &corner, SDL_MapRGB(app.screen->format, 1, 2, 3));
        handler.mouseX = x, handler.mouseY = y;
        EXPECT_TRUE(handler.handleEvent(e));
        const Violation v = checkInvariants(app.subdivision);
        EXPECT_FALSE(v) << "invariant " << v.invariant << " at " << v.record;
        const Uint32 pixel =
            static_cast<Uint32*>(app.screen->pixels)[599 * app.screen->pitch / 4 + 999];
        return pixel != SDL_MapRGB(app.screen->format, 1, 2, 3);
    }

    WorkingDirectory dir;
    Application app;
    InputHandler handler{app};
};

// Events in turn with the pointer, then N, the pick, the switches and whether it redrew. Keys
// act when released, keypad digits and other keys never; a digit taking N past 9999 is
// refused and keeps the pick; t rebuilds, c keeps the pick.
TEST_F(Input, EachEventInTurn) {
    SDL_Event keyDown = keyUp(SDLK_5), buttonDown = buttonUp(SDL_BUTTON_LEFT);
    keyDown.type = SDL_KEYDOWN, buttonDown.type = SDL_MOUSEBUTTONDOWN;
    struct Step {
        SDL_Event event;
        int x, y, angles, vertex, face;
        bool labels, listing, redrawn;
    };
    const auto K = [](SDLKey key, SDLMod mod = KMOD_NONE) { return keyUp(key, mod); };
    const SDL_Event left = buttonUp(SDL_BUTTON_LEFT), right = buttonUp(SDL_BUTTON_RIGHT);
    // clang-format off
    const Step steps[] = {
        {K(SDLK_BACKSPACE), 0, 0, 0, -1, -1, 1, 1, 1}, {K(SDLK_1), 0, 0, 1, -1, -1, 1, 1, 1},
        {K(SDLK_2), 0, 0, 12, -1, -1, 1, 1, 1}, {K(SDLK_BACKSPACE), 0, 0, 1, -1, -1, 1, 1, 1},
        {K(SDLK_BACKSPACE), 0, 0, 0, -1, -1, 1, 1, 1}, {K(SDLK_6), 0, 0, 6, -1, -1, 1, 1, 1},
        {left, 400, 299, 6, 5, -1, 1, 1, 1}, {left, 200, 386, 6, -1, 0, 1, 1, 1},
        {buttonUp(SDL_BUTTON_MIDDLE), 200, 386, 6, -1, 0, 1, 1, 0},
        {buttonUp(SDL_BUTTON_WHEELUP), 400, 299, 6, -1, 0, 1, 1, 0},
        {K(SDLK_c, KMOD_LSHIFT), 0, 0, 6, -1, 0, 0, 1, 1}, {K(SDLK_c), 0, 0, 6, -1, 0, 1, 1, 1},
        {keyDown, 400, 299, 6, -1, 0, 1, 1, 0}, {buttonDown, 400, 299, 6, -1, 0, 1, 1, 0},
        {K(SDLK_KP5), 400, 299, 6, -1, 0, 1, 1, 0}, {K(SDLK_a), 400, 299, 6, -1, 0, 1, 1, 0},
        {K(SDLK_LSHIFT), 400, 299, 6, -1, 0, 1, 1, 0},
        {ofType(SDL_MOUSEMOTION), 400, 299, 6, -1, 0, 1, 1, 0},
        {ofType(SDL_ACTIVEEVENT), 400, 299, 6, -1, 0, 1, 1, 0},
        {ofType(SDL_VIDEOEXPOSE), 400, 299, 6, -1, 0, 1, 1, 0}, {right, 0, 0, 6, -1, -1, 1, 1, 1},
        {right, 0, 0, 6, -1, -1, 1, 1, 1}, {K(SDLK_t), 0, 0, 6, -1, -1, 1, 0, 1},
        {left, 650, 299, 6, 5, -1, 1, 0, 1}, {K(SDLK_t), 0, 0, 6, -1, -1, 1, 1, 1},
        {K(SDLK_BACKSPACE), 0, 0, 0, -1, -1, 1, 1, 1}, {K(SDLK_9), 0, 0, 9, -1, -1, 1, 1, 1},
        {K(SDLK_9), 0, 0, 99, -1, -1, 1, 1, 1}, {K(SDLK_9), 0, 0, 999, -1, -1, 1, 1, 1},
        {K(SDLK_9), 0, 0, 9999, -1, -1, 1, 1, 1}, {left, 900, 500, 9999, -1, 9997, 1, 1, 1},
        {K(SDLK_0), 0, 0, 9999, -1, 9997, 1, 1, 0}, {K(SDLK_9), 0, 0, 9999, -1, 9997, 1, 1, 0},
        {K(SDLK_BACKSPACE), 0, 0, 999, -1, -1, 1, 1, 1},
    };
    // clang-format on
    int step = 0;
    for (const Step& s : steps) {
        EXPECT_EQ(s.redrawn, send(s.event, s.x, s.y)) << "step " << step;
        const Subdivision& d = app.subdivision;
        EXPECT_EQ(std::tuple(s.angles, s.vertex, s.face, s.labels, s.listing,
                             std::size_t(s.angles < 3 ? 0 : 4 * s.angles - 6)),
                  std::tuple(app.angles, d.pickedVertex, d.pickedFace, d.showLabels, d.showListing,
                             d.halfEdges.size()))
            << "step " << step++;
    }
}

// The walk at N = 6: each key of a row (upper case: with Shift) or its button, then the
// selection, the walk and whether it redrew. Keys act only where they apply; h and the middle
// button pick the arrow (a tie: the lower number) or row under the pointer, and like every
// click start the walk afresh; past 8 steps the anchor moves on.
TEST_F(Input, WalkKeysAndMiddleButton) {
    struct Step {
        std::string keys;
        Uint8 button;
        int x, y;
        std::string selected, walk;
        bool redrawn;
    };
    // 200,386 is inside face 0 away from every arrow; 250,427 the middle of e0's arrow,
    // 325,299 as near e7's as e9's; rows: v3 at 440,88, f1 at 610,60, e4 at 720,100 and
    // e9 at 720,170; 614,364 is the middle of e12's arrow once the listing is hidden.
    const std::string toV2 = "e0.next.opp.prev.target", toF1 = toV2 + ".edge.face",
                      toE2 = "e1.opp.prev.target.edge.face.edge.opp.next = e2";
    const Uint8 middle = SDL_BUTTON_MIDDLE;
    // clang-format off
    const Step steps[] = {
        {"enpovfh", 0, 200, 386, "", "", 0}, {"", middle, 200, 386, "", "", 0},
        {"", middle, 250, 427, "e0", "", 1}, {"Ee", 0, 0, 0, "e0", "", 0},
        {"N", 0, 0, 0, "e1", "e0.next = e1", 1}, {"o", 0, 0, 0, "e3", "e0.next.opp = e3", 1},
        {"p", 0, 0, 0, "e5", "e0.next.opp.prev = e5", 1}, {"V", 0, 0, 0, "v2", toV2 + " = v2", 1},
        {"npoNvf", 0, 0, 0, "v2", toV2 + " = v2", 0}, {"e", 0, 0, 0, "e3", toV2 + ".edge = e3", 1},
        {"F", 0, 0, 0, "f1", toF1 + " = f1", 1}, {"npovPf", 0, 0, 0, "f1", toF1 + " = f1", 0},
        {"e", 0, 0, 0, "e3", toF1 + ".edge = e3", 1},
        {"O", 0, 0, 0, "e1", toF1 + ".edge.opp = e1", 1}, {"n", 0, 0, 0, "e2", toE2, 1},
        {"h", 0, 200, 386, "e2", toE2, 0}, {"", middle, 200, 386, "e2", toE2, 0},
        {"", SDL_BUTTON_LEFT, 200, 386, "f0", "", 1}, {"e", 0, 0, 0, "e0", "f0.edge = e0", 1},
        {"H", 0, 440, 88, "v3", "", 1}, {"e", 0, 0, 0, "e6", "v3.edge = e6", 1},
        {"p", 0, 0, 0, "e8", "v3.edge.prev = e8", 1}, {"", middle, 610, 60, "f1", "", 1},
        {"h", 0, 325, 299, "e7", "", 1}, {"h", 0, 720, 100, "e4", "", 1},
        {"f", 0, 0, 0, "f1", "e4.face = f1", 1}, {"", SDL_BUTTON_RIGHT, 0, 0, "", "", 1},
        {"enpovf", 0, 0, 0, "", "", 0}, {"", SDL_BUTTON_WHEELDOWN, 720, 170, "", "", 0},
        {"h", 0, 720, 170, "e9", "", 1}, {"v", 0, 0, 0, "v0", "e9.target = v0", 1},
        {"6\b", 0, 0, 0, "", "", 1}, {"", middle, 250, 427, "e0", "", 1}, {"t", 0, 0, 0, "", "", 1},
        {"h", 0, 440, 88, "", "", 0}, {"h", 0, 614, 364, "e12", "", 1},
        {"o", 0, 0, 0, "e10", "e12.opp = e10", 1}, {"t", 0, 0, 0, "", "", 1},
        {"", middle, 614, 364, "", "", 0},
    };
    // clang-format on
    int step = 0;
    for (const Step& s : steps) {
        for (char key : s.keys.empty() ? std::string(1, '\0') : s.keys) {
            EXPECT_EQ(s.redrawn, send(key ? keyUp(static_cast<SDLKey>(std::tolower(key)),
                                                  std::isupper(key) ? KMOD_LSHIFT : KMOD_NONE)
                                          : buttonUp(s.button),
                                      s.x, s.y))
                << "step " << step;
            EXPECT_EQ(std::tuple(s.selected, s.walk),
                      std::tuple(recordName(app.subdivision.selected()),
                                 app.subdivision.walkExpression()))
                << "step " << step;
        }
        ++step;
    }
    EXPECT_EQ(app.angles, 6);
}

// With a mesh open, digits and Backspace do nothing and draw nothing; clicks, c, t (laying
// the mesh out again and dropping the pick) and the walk keys act as for the fan.
// square-hole.obj (3 x 3 units, a 1 x 1 hole in the middle) is laid out 320 / 3 pixels a unit
// from (60, 490) up with the listing, 460 / 3 from (270, 560) without it.
TEST_F(Input, AMeshTakesNoDigits) {
    app.meshPath = HEXIL_MESHES "/square-hole.obj";
    ASSERT_TRUE(app.openMeshFile());
    struct Step {
        SDL_Event event;
        int x, y;
        std::string selected;
        bool labels, listing, redrawn;
    };
    const SDL_Event left = buttonUp(SDL_BUTTON_LEFT);
    // clang-format off
    const Step steps[] = {
        {keyUp(SDLK_5), 0, 0, "", 1, 1, 0}, {keyUp(SDLK_BACKSPACE), 0, 0, "", 1, 1, 0},
        {left, 113, 437, "f0", 1, 1, 1}, {keyUp(SDLK_0), 0, 0, "f0", 1, 1, 0},
        {keyUp(SDLK_9), 0, 0, "f0", 1, 1, 0}, {keyUp(SDLK_BACKSPACE), 0, 0, "f0", 1, 1, 0},
        {keyUp(SDLK_e), 0, 0, "e0", 1, 1, 1}, {keyUp(SDLK_n), 0, 0, "e1", 1, 1, 1},
        {buttonUp(SDL_BUTTON_RIGHT), 0, 0, "", 1, 1, 1}, {left, 220, 330, "f9", 1, 1, 1},
        {left, 30, 300, "f8", 1, 1, 1}, {keyUp(SDLK_c), 0, 0, "f8", 0, 1, 1},
        {keyUp(SDLK_t), 0, 0, "", 0, 0, 1}, {left, 113, 437, "f8", 0, 0, 1},
        {left, 347, 483, "f0", 0, 0, 1}, {keyUp(SDLK_3), 0, 0, "f0", 0, 0, 0},
        {keyUp(SDLK_t), 0, 0, "", 0, 1, 1}, {left, 113, 437, "f0", 0, 1, 1},
    };
    // clang-format on
    int step = 0;
    for (const Step& s : steps) {
        EXPECT_EQ(s.redrawn, send(s.event, s.x, s.y)) << "step " << step;
        const Subdivision& d = app.subdivision;
        EXPECT_EQ(std::tuple(s.selected, s.labels, s.listing, 6, std::size_t(48)),
                  std::tuple(recordName(d.selected()), d.showLabels, d.showListing, app.angles,
                             d.halfEdges.size()))
            << "step " << step++;
    }
}

TEST_F(Input, CloseStopsTheLoopAndLeavesLaterEventsAlone) {
    SDL_Event one = keyUp(SDLK_1), two = keyUp(SDLK_2), quit = ofType(SDL_QUIT);
    SDL_PushEvent(&one), SDL_PushEvent(&two);
    EXPECT_TRUE(handler.handleEvents());
    EXPECT_EQ(app.angles, 612) << "every queued event is handled in one call";
    SDL_PushEvent(&quit), SDL_PushEvent(&one);
    EXPECT_FALSE(handler.handleEvents());
    EXPECT_EQ(app.angles, 612);
    EXPECT_FALSE(handler.handleEvent(quit));
}

// The state a burst leaves, handled in one go (queued, one handleEvents) or one event at a
// time, with the pointer at (x, y); the frames drawn meanwhile are counted.
struct AfterBurst {
    int angles, frames;
    RecordRef selected;
    std::string walk;
    std::vector<Uint32> pixels;
};

AfterBurst afterBurst(const std::vector<SDL_Event>& burst, int x, int y, bool batched) {
    WorkingDirectory dir;
    Application app;
    EXPECT_TRUE(app.init());
    InputHandler handler{app};
    flips = 0;
    if (batched) {
        SDL_WarpMouse(x, y);
    } else {
        handler.mouseX = x, handler.mouseY = y;
    }
    for (SDL_Event e : burst) {
        EXPECT_EQ(batched ? SDL_PushEvent(&e) : int(!handler.handleEvent(e)), 0);
    }
    EXPECT_TRUE(!batched || handler.handleEvents());
    const Violation v = checkInvariants(app.subdivision);
    EXPECT_FALSE(v) << "invariant " << v.invariant << " at " << v.record;
    const auto* pixels = static_cast<const Uint32*>(app.screen->pixels);
    return {app.angles,
            flips,
            app.subdivision.selected(),
            app.subdivision.walkExpression(),
            {pixels, pixels + app.screen->h * app.screen->pitch / 4}};
}

// A burst handled in one go leaves the frame that the events leave one at a time: clicks
// after rebuilds pick on the new structure, and a rebuild after a click empties the pick.
TEST(Burst, OneFrameEqualsTheFrameOfEachEventInTurn) {
    // clang-format off
    const std::vector<SDL_Event> burst = {
        keyUp(SDLK_BACKSPACE), keyUp(SDLK_3), keyUp(SDLK_c), buttonUp(SDL_BUTTON_LEFT),
        keyUp(SDLK_t), buttonUp(SDL_BUTTON_LEFT), keyUp(SDLK_t), keyUp(SDLK_5),
        keyUp(SDLK_BACKSPACE), keyUp(SDLK_c), ofType(SDL_KEYDOWN), buttonUp(SDL_BUTTON_LEFT),
        keyUp(SDLK_4), keyUp(SDLK_BACKSPACE), buttonUp(SDL_BUTTON_LEFT)};
    // clang-format on
    const AfterBurst batched = afterBurst(burst, 175, 429, true); // vertex 0 of the triangle
    EXPECT_EQ(std::tuple(batched.angles, batched.selected, batched.frames),
              std::tuple(3, RecordRef{RecordRef::vertex, 0}, 1));
    EXPECT_TRUE(batched.pixels == afterBurst(burst, 175, 429, false).pixels);
}

// A rebuild, the middle button on e0's arrow and twenty walk keys: one frame for all, and
// the walk and picture that the events give one at a time, its last 8 steps kept.
TEST(Burst, TwentyWalkKeysCostOneFrame) {
    std::vector<SDL_Event> burst = {keyUp(SDLK_BACKSPACE), keyUp(SDLK_6),
                                    buttonUp(SDL_BUTTON_MIDDLE)};
    for (char letter : std::string("nopvefenovepofenponv")) {
        burst.push_back(keyUp(static_cast<SDLKey>(letter)));
    }
    const AfterBurst batched = afterBurst(burst, 250, 427, true);
    const AfterBurst single = afterBurst(burst, 250, 427, false);
    EXPECT_EQ(std::tuple(batched.frames, single.frames), std::tuple(1, 23));
    EXPECT_EQ(batched.walk, "e9.opp.face.edge.next.prev.opp.next.target = v2");
    EXPECT_EQ(std::tuple(batched.angles, batched.selected, batched.walk),
              std::tuple(single.angles, single.selected, single.walk));
    EXPECT_TRUE(batched.pixels == single.pixels);
}

} // namespace
