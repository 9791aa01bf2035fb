// The viewer as it was before queued input was batched: every event gets its own
// rebuild and frame. Built only for scripts/burst, which races it against the viewer.
#include "app/application.h"
#include "app/input_handler.h"

#include <SDL.h>

int main(int, char**) {
    Application app;
    if (!app.init()) {
        return 1;
    }
    InputHandler handler{app};
    app.redraw();
    SDL_Event event;
    while (SDL_WaitEvent(&event) != 0) {
        SDL_GetMouseState(&handler.mouseX, &handler.mouseY);
        if (!handler.handleEvent(event)) {
            break;
        }
    }
    return 0;
}
