#include "app/application.h"
#include "app/input_handler.h"
#include "app_fixture.h"
#include "model/validation.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

namespace {

SDL_Event keyUp(SDLKey key, SDLMod mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = SDL_KEYUP;
    e.key.type = SDL_KEYUP;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event buttonUp(Uint8 button) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONUP;
    e.button.type = SDL_MOUSEBUTTONUP;
    e.button.button = button;
    // The event's own position is not where the pick happens.
    e.button.x = 600;
    e.button.y = 100;
    return e;
}

SDL_Event ofType(Uint8 type) {
    SDL_Event e{};
    e.type = type;
    return e;
}

class Input : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(app.init()); }

    // Sends one event with the pointer at (x, y); tells whether the frame was redrawn,
    // seen by the bottom-right pixel losing the colour painted there before.
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

TEST_F(Input, DigitsAndBackspaceChangeNAndRebuild) {
    EXPECT_TRUE(send(keyUp(SDLK_BACKSPACE)));
    EXPECT_EQ(app.angles, 0);
    EXPECT_TRUE(app.subdivision.vertices.empty());
    EXPECT_TRUE(send(keyUp(SDLK_1)));
    EXPECT_EQ(app.angles, 1);
    EXPECT_TRUE(send(keyUp(SDLK_2)));
    EXPECT_EQ(app.angles, 12);
    EXPECT_EQ(app.subdivision.halfEdges.size(), 42u);
    EXPECT_TRUE(send(keyUp(SDLK_BACKSPACE)));
    EXPECT_TRUE(send(keyUp(SDLK_6)));
    EXPECT_TRUE(send(keyUp(SDLK_5)));
    EXPECT_EQ(app.angles, 165);

    app.angles = -15;
    EXPECT_TRUE(send(keyUp(SDLK_BACKSPACE)));
    EXPECT_EQ(app.angles, -1);
}

TEST_F(Input, ADigitPastTheLargestCountIsRefusedWithoutARedraw) {
    app.angles = 999;
    EXPECT_TRUE(send(keyUp(SDLK_9)));
    ASSERT_EQ(app.angles, maxAngles);
    send(keyUp(SDLK_0), 325, 170);
    app.subdivision.pick(325, 170);
    for (SDLKey digit : {SDLK_0, SDLK_9}) {
        EXPECT_FALSE(send(keyUp(digit)));
        EXPECT_EQ(app.angles, maxAngles);
        EXPECT_NE(app.subdivision.pickedVertex, -1) << "refused digit must not rebuild";
    }
    EXPECT_TRUE(send(keyUp(SDLK_BACKSPACE)));
    EXPECT_EQ(app.angles, 999);
}

TEST_F(Input, LabelsAndListingSwitches) {
    app.subdivision.pick(200, 386);
    EXPECT_TRUE(send(keyUp(SDLK_c, KMOD_LSHIFT)));
    EXPECT_FALSE(app.subdivision.showLabels);
    EXPECT_EQ(app.subdivision.pickedFace, 0) << "c only redraws";
    EXPECT_TRUE(send(keyUp(SDLK_c)));
    EXPECT_TRUE(app.subdivision.showLabels);

    EXPECT_TRUE(send(keyUp(SDLK_t)));
    EXPECT_FALSE(app.subdivision.showListing);
    EXPECT_EQ(app.subdivision.vertices[5].x, 650);
    EXPECT_EQ(app.subdivision.pickedFace, -1);
    EXPECT_TRUE(send(keyUp(SDLK_t)));
    EXPECT_EQ(app.subdivision.vertices[5].x, 400);
}

TEST_F(Input, ButtonsPickAtThePointerAndClear) {
    EXPECT_TRUE(send(buttonUp(SDL_BUTTON_LEFT), 400, 299));
    EXPECT_EQ(app.subdivision.pickedVertex, 5);
    EXPECT_TRUE(send(buttonUp(SDL_BUTTON_LEFT), 200, 386));
    EXPECT_EQ(app.subdivision.pickedFace, 0);
    EXPECT_FALSE(send(buttonUp(SDL_BUTTON_MIDDLE), 400, 299));
    EXPECT_FALSE(send(buttonUp(SDL_BUTTON_WHEELUP), 400, 299));
    EXPECT_EQ(app.subdivision.pickedFace, 0);
    EXPECT_TRUE(send(buttonUp(SDL_BUTTON_RIGHT)));
    EXPECT_EQ(app.subdivision.pickedFace, -1);
    EXPECT_TRUE(send(buttonUp(SDL_BUTTON_RIGHT)));
}

TEST_F(Input, EverythingElseIsIgnored) {
    SDL_Event press = keyUp(SDLK_5);
    press.type = press.key.type = SDL_KEYDOWN;
    SDL_Event buttonPress = buttonUp(SDL_BUTTON_LEFT);
    buttonPress.type = buttonPress.button.type = SDL_MOUSEBUTTONDOWN;
    for (const SDL_Event& e :
         {press, buttonPress, keyUp(SDLK_KP5), keyUp(SDLK_a), keyUp(SDLK_LSHIFT),
          ofType(SDL_MOUSEMOTION), ofType(SDL_ACTIVEEVENT), ofType(SDL_VIDEOEXPOSE)}) {
        EXPECT_FALSE(send(e, 400, 299));
    }
    EXPECT_EQ(app.angles, 6);
    EXPECT_EQ(app.subdivision.pickedVertex, -1);
}

TEST_F(Input, CloseStopsTheLoopAndLeavesLaterEventsAlone) {
    SDL_Event one = keyUp(SDLK_1);
    SDL_Event two = keyUp(SDLK_2);
    SDL_PushEvent(&one);
    SDL_PushEvent(&two);
    EXPECT_TRUE(handler.handleEvents());
    EXPECT_EQ(app.angles, 612) << "every queued event is handled in one call";

    SDL_Event quit = ofType(SDL_QUIT);
    SDL_PushEvent(&quit);
    SDL_PushEvent(&one);
    EXPECT_FALSE(handler.handleEvents());
    EXPECT_EQ(app.angles, 612);
    EXPECT_FALSE(handler.handleEvent(quit));
}

// A burst handled in one go must leave the frame the same events leave one at a time:
// the clicks come after rebuilds (they must pick on the new structure) and before one
// (whose emptied selection must stay empty).
TEST(Burst, OneFrameEqualsTheFrameOfEachEventInTurn) {
    const int x = 175, y = 429; // vertex 0 of the triangle
    const SDL_Event burst[] = {keyUp(SDLK_BACKSPACE),
                               keyUp(SDLK_3),
                               keyUp(SDLK_c),
                               buttonUp(SDL_BUTTON_LEFT),
                               keyUp(SDLK_t),
                               buttonUp(SDL_BUTTON_LEFT),
                               keyUp(SDLK_t),
                               keyUp(SDLK_5),
                               keyUp(SDLK_BACKSPACE),
                               keyUp(SDLK_c),
                               ofType(SDL_KEYDOWN),
                               buttonUp(SDL_BUTTON_LEFT),
                               keyUp(SDLK_4),
                               keyUp(SDLK_BACKSPACE),
                               buttonUp(SDL_BUTTON_LEFT)};
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
