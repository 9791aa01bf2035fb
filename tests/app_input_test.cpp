#include "app/application.h"
#include "app/input_handler.h"
#include "app_fixture.h"
#include "model/validation.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <tuple>
#include <vector>

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
        handler.mouseX = x;
        handler.mouseY = y;
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

// Events in turn, each with the pointer, and then N, the pick, the switches and whether
// the frame was redrawn. Keys act when released, keypad digits and other keys never; a
// digit taking N past 9999 is refused and keeps the pick; t rebuilds, c keeps the pick.
TEST_F(Input, EachEventInTurn) {
    SDL_Event keyDown = keyUp(SDLK_5), buttonDown = buttonUp(SDL_BUTTON_LEFT);
    keyDown.type = SDL_KEYDOWN;
    buttonDown.type = SDL_MOUSEBUTTONDOWN;
    struct Step {
        SDL_Event event;
        int x, y, angles, vertex, face;
        bool labels, listing, redrawn;
    };
    // clang-format off
    const Step steps[] = {
        {keyUp(SDLK_BACKSPACE), 0, 0, 0, -1, -1, true, true, true},
        {keyUp(SDLK_1), 0, 0, 1, -1, -1, true, true, true},
        {keyUp(SDLK_2), 0, 0, 12, -1, -1, true, true, true},
        {keyUp(SDLK_BACKSPACE), 0, 0, 1, -1, -1, true, true, true},
        {keyUp(SDLK_BACKSPACE), 0, 0, 0, -1, -1, true, true, true},
        {keyUp(SDLK_6), 0, 0, 6, -1, -1, true, true, true},
        {buttonUp(SDL_BUTTON_LEFT), 400, 299, 6, 5, -1, true, true, true},
        {buttonUp(SDL_BUTTON_LEFT), 200, 386, 6, -1, 0, true, true, true},
        {buttonUp(SDL_BUTTON_MIDDLE), 200, 386, 6, -1, 0, true, true, false},
        {buttonUp(SDL_BUTTON_WHEELUP), 400, 299, 6, -1, 0, true, true, false},
        {keyUp(SDLK_c, KMOD_LSHIFT), 0, 0, 6, -1, 0, false, true, true},
        {keyUp(SDLK_c), 0, 0, 6, -1, 0, true, true, true},
        {keyDown, 400, 299, 6, -1, 0, true, true, false},
        {buttonDown, 400, 299, 6, -1, 0, true, true, false},
        {keyUp(SDLK_KP5), 400, 299, 6, -1, 0, true, true, false},
        {keyUp(SDLK_a), 400, 299, 6, -1, 0, true, true, false},
        {keyUp(SDLK_LSHIFT), 400, 299, 6, -1, 0, true, true, false},
        {ofType(SDL_MOUSEMOTION), 400, 299, 6, -1, 0, true, true, false},
        {ofType(SDL_ACTIVEEVENT), 400, 299, 6, -1, 0, true, true, false},
        {ofType(SDL_VIDEOEXPOSE), 400, 299, 6, -1, 0, true, true, false},
        {buttonUp(SDL_BUTTON_RIGHT), 0, 0, 6, -1, -1, true, true, true},
        {buttonUp(SDL_BUTTON_RIGHT), 0, 0, 6, -1, -1, true, true, true},
        {keyUp(SDLK_t), 0, 0, 6, -1, -1, true, false, true},
        {buttonUp(SDL_BUTTON_LEFT), 650, 299, 6, 5, -1, true, false, true},
        {keyUp(SDLK_t), 0, 0, 6, -1, -1, true, true, true},
        {keyUp(SDLK_BACKSPACE), 0, 0, 0, -1, -1, true, true, true},
        {keyUp(SDLK_9), 0, 0, 9, -1, -1, true, true, true},
        {keyUp(SDLK_9), 0, 0, 99, -1, -1, true, true, true},
        {keyUp(SDLK_9), 0, 0, 999, -1, -1, true, true, true},
        {keyUp(SDLK_9), 0, 0, 9999, -1, -1, true, true, true},
        {buttonUp(SDL_BUTTON_LEFT), 900, 500, 9999, -1, 9997, true, true, true},
        {keyUp(SDLK_0), 0, 0, 9999, -1, 9997, true, true, false},
        {keyUp(SDLK_9), 0, 0, 9999, -1, 9997, true, true, false},
        {keyUp(SDLK_BACKSPACE), 0, 0, 999, -1, -1, true, true, true},
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

TEST_F(Input, CloseStopsTheLoopAndLeavesLaterEventsAlone) {
    SDL_Event one = keyUp(SDLK_1), two = keyUp(SDLK_2), quit = ofType(SDL_QUIT);
    SDL_PushEvent(&one);
    SDL_PushEvent(&two);
    EXPECT_TRUE(handler.handleEvents());
    EXPECT_EQ(app.angles, 612) << "every queued event is handled in one call";

    SDL_PushEvent(&quit);
    SDL_PushEvent(&one);
    EXPECT_FALSE(handler.handleEvents());
    EXPECT_EQ(app.angles, 612);
    EXPECT_FALSE(handler.handleEvent(quit));
}

// A burst handled in one go leaves the frame that the events leave one at a time: clicks
// after rebuilds pick on the new structure, and a rebuild after a click empties the pick.
TEST(Burst, OneFrameEqualsTheFrameOfEachEventInTurn) {
    const int x = 175, y = 429; // vertex 0 of the triangle
    // clang-format off
    const SDL_Event burst[] = {
        keyUp(SDLK_BACKSPACE), keyUp(SDLK_3), keyUp(SDLK_c), buttonUp(SDL_BUTTON_LEFT),
        keyUp(SDLK_t), buttonUp(SDL_BUTTON_LEFT), keyUp(SDLK_t), keyUp(SDLK_5),
        keyUp(SDLK_BACKSPACE), keyUp(SDLK_c), ofType(SDL_KEYDOWN), buttonUp(SDL_BUTTON_LEFT),
        keyUp(SDLK_4), keyUp(SDLK_BACKSPACE), buttonUp(SDL_BUTTON_LEFT)};
    // clang-format on
    std::vector<Uint32> frames[2];
    for (int batched = 0; batched < 2; ++batched) {
        WorkingDirectory dir;
        Application app;
        ASSERT_TRUE(app.init());
        InputHandler handler{app};
        if (batched) {
            SDL_WarpMouse(x, y);
            for (SDL_Event e : burst) {
                ASSERT_EQ(SDL_PushEvent(&e), 0);
            }
            ASSERT_TRUE(handler.handleEvents());
        } else {
            handler.mouseX = x;
            handler.mouseY = y;
            for (const SDL_Event& e : burst) {
                ASSERT_TRUE(handler.handleEvent(e));
            }
        }
        EXPECT_EQ(app.angles, 3);
        EXPECT_EQ(app.subdivision.pickedVertex, 0);
        const auto* pixels = static_cast<const Uint32*>(app.screen->pixels);
        frames[batched].assign(pixels, pixels + app.screen->h * app.screen->pitch / 4);
    }
    EXPECT_TRUE(frames[0] == frames[1]);
}

} // namespace
