#include "app/input_handler.h"

#include "app/application.h"
#include "draw/hit.h"

#include <SDL.h>

bool InputHandler::handleEvents() {
    SDL_Event event;
    // Waiting instead of polling: an idle viewer uses no processor time.
    if (SDL_WaitEvent(&event) == 0) {
        return true;
    }
    do {
        SDL_GetMouseState(&mouseX, &mouseY);
        if (!apply(event)) {
            return false;
        }
    } while (SDL_PollEvent(&event) != 0);
    flush();
    return true;
}

bool InputHandler::handleEvent(const SDL_Event& event) {
    if (!apply(event)) {
        return false;
    }
    flush();
    return true;
}

bool InputHandler::apply(const SDL_Event& event) {
    Subdivision& subdivision = app.subdivision;
    if (event.type == SDL_QUIT) {
        return false;
    }
    // A mesh file that did not open leaves nothing to act on but its findings.
    if (app.meshRefused()) {
        return true;
    }
    if (event.type == SDL_KEYUP) {
        const SDLKey key = event.key.keysym.sym;
        const bool digit = key >= SDLK_0 && key <= SDLK_9;
        if ((digit || key == SDLK_BACKSPACE) && subdivision.mesh) {
            return true; // N has no part in an open mesh
        }
        if (key == SDLK_BACKSPACE) {
            app.angles /= 10;
            rebuildPending = true;
        } else if (digit) {
            // A digit that would take N past the largest count is refused outright.
            const long long appended = app.angles * 10LL + (key - SDLK_0);
            if (appended > maxAngles) {
                return true;
            }
            app.angles = static_cast<int>(appended);
            rebuildPending = true;
        } else if (key == SDLK_c) {
            subdivision.showLabels = !subdivision.showLabels;
        } else if (key == SDLK_t) {
            subdivision.showListing = !subdivision.showListing;
            rebuildPending = true;
        } else if (key == SDLK_h) {
            if (!pickAtPointer()) {
                return true;
            }
        } else if (const std::optional<Step> step = stepForKey(key)) {
            // A step acts on the structure as rebuilt, and does nothing where it does not
            // apply.
            rebuildIfPending();
            if (!subdivision.step(*step)) {
                return true;
            }
        } else {
            return true;
        }
        redrawPending = true;
    } else if (event.type == SDL_MOUSEBUTTONUP) {
        const Uint8 button = event.button.button;
        if (button == SDL_BUTTON_MIDDLE) {
            if (pickAtPointer()) {
                redrawPending = true;
            }
            return true;
        }
        if (button != SDL_BUTTON_LEFT && button != SDL_BUTTON_RIGHT) {
            return true;
        }
        rebuildIfPending();
        if (button == SDL_BUTTON_LEFT) {
            subdivision.pick(mouseX, mouseY);
        } else {
            subdivision.clearSelection();
        }
        redrawPending = true;
    }
    return true;
}

std::optional<Step> InputHandler::stepForKey(SDLKey key) {
    // Letter keys are the lower-case letters' codes, so only a..z can be steps.
    if (key < SDLK_a || key > SDLK_z) {
        return std::nullopt;
    }
    return stepForLetter(static_cast<char>(key));
}

bool InputHandler::pickAtPointer() {
    rebuildIfPending();
    return app.subdivision.select(recordAt(app.subdivision, mouseX, mouseY));
}

void InputHandler::rebuildIfPending() {
    if (rebuildPending) {
        app.subdivision.build(app.angles);
        rebuildPending = false;
    }
}

void InputHandler::flush() {
    rebuildIfPending();
    if (redrawPending) {
        app.redraw();
        redrawPending = false;
    }
}
