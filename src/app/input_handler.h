#pragma once

#include "model/walk.h"

#include <SDL_keysym.h>

#include <optional>

struct Application;
union SDL_Event;

// Turns key and mouse-button releases into changes of N, of the display switches or of
// the selection: digits and Backspace edit N, c and t switch the labels and the listing,
// the left button picks and the right one clears; h and the middle button pick the
// half-edge arrow or listing row under the pointer, and e, n, p, o, v and f step the walk
// from the selection where they apply. Keys and buttons that do not apply do nothing: digits
// and Backspace with a mesh open, every key and button after a mesh file that did not open.
// Changes take
// effect in order, but the rebuild they call for and the redraw are deferred to the end of a batch,
// so a burst of queued events costs one rebuild and one frame; the state at rest is the one each
// event's own rebuild and redraw would leave.
struct InputHandler {
    Application& app;
    int mouseX = 0; // the pointer as read just before the event being handled
    int mouseY = 0;
    bool rebuildPending = false; // N or the listing switch changed since the last build
    bool redrawPending = false;

    // Sleeps until an event arrives, handles every queued event, then rebuilds and
    // redraws once if anything changed. False once the window has been closed; events
    // queued behind the close are left alone and nothing more is drawn.
    bool handleEvents();
    // Handles one event with the pointer at (mouseX, mouseY), rebuilding and redrawing
    // at once when it changed anything. False for SDL_QUIT.
    bool handleEvent(const SDL_Event& event);
    // Applies one event's change and marks what it calls for. A pick or a clear first
    // carries out a pending rebuild, since it acts on the rebuilt structure.
    bool apply(const SDL_Event& event);
    void rebuildIfPending();
    // Selects the record drawn under the pointer (h and the middle button); false, and
    // nothing changes, when there is none.
    bool pickAtPointer();
    // The walk step a key takes: e, n, p, o, v or f.
    static std::optional<Step> stepForKey(SDLKey key);
    // Carries out the pending rebuild, then the pending redraw.
    void flush();
};
