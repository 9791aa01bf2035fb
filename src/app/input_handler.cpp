#include "input_handler.h"

#include "application.h"

#include <SDL.h>

bool InputHandler::handleEvents() {
    SDL_Event event;
    // Waiting instead of polling: an idle viewer uses no processor time.
    if (SDL_WaitEvent(&event) == 0) {
        return true;
    }
    do {
        SDL_GetMouseState(&mouseX, &mouseY);
        if (!handleEvent(event)) {
            return false;
        }
    } while (SDL_PollEvent(&event) != 0);
    return true;
}

bool InputHandler::handleEvent(const SDL_Event& event) {
    Subdivision& subdivision = app.subdivision;
    if (event.type == SDL_QUIT) {
        return false;
    }
    if (event.type == SDL_KEYUP) {
        const SDLKey key = event.key.keysym.sym;
        if (key == SDLK_BACKSPACE) {
            app.angles /= 10;
            subdivision.build(app.angles);
        } else if (key >= SDLK_0 && key <= SDLK_9) {
            // A digit that would take N past the largest count is refused outright.
            const long long appended = app.angles * 10LL + (key - SDLK_0);
            if (appended > maxAngles) {
                return true;
            }
            app.angles = static_cast<int>(appended);
            subdivision.build(app.angles);
        } else if (key == SDLK_c) {
            subdivision.showLabels = !subdivision.showLabels;
        } else if (key == SDLK_t) {
            subdivision.showListing = !subdivision.showListing;
            subdivision.build(app.angles);
        } else {
            return true;
        }
        app.redraw();
    } else if (event.type == SDL_MOUSEBUTTONUP) {
        if (event.button.button == SDL_BUTTON_LEFT) {
            subdivision.pick(mouseX, mouseY);
        } else if (event.button.button == SDL_BUTTON_RIGHT) {
            subdivision.clearSelection();
        } else {
            return true;
        }
        app.redraw();
    }
    return true;
}
