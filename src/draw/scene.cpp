#include "draw/scene.h"

#include "draw/picture.h"
#include "draw/surface_painter.h"

void draw(const Subdivision& s, SDL_Surface* target) {
    if (!target) {
        return;
    }
    SurfacePainter painter{target};
    paintScene(s, painter);
}
