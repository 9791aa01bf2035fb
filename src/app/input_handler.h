#pragma once

struct Application;
union SDL_Event;

// Turns key and mouse-button releases into changes of N, of the display switches or of
// the selection, each followed by a redraw of the whole frame.
struct InputHandler {
    Application& app;
    int mouseX = 0; // the pointer as read just before the event being handled
    int mouseY = 0;

    // Sleeps until an event arrives, then handles every queued event. False once the
    // window has been closed; events queued behind the close are left alone.
    bool handleEvents();
    // Handles one event with the pointer at (mouseX, mouseY). False for SDL_QUIT.
    bool handleEvent(const SDL_Event& event);
};
