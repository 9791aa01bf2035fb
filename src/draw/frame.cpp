#include "draw/frame.h"

#include "draw/surface_painter.h"

void drawFrame(SDL_Surface* target, const Subdivision& s, const StatusLine& status) {
    if (!target) {
        return;
    }
    SurfacePainter painter{target};
    paint(framePicture(s, status), painter);
}
