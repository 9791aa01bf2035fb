#include "scene.h"

#include "picture.h"
#include "surface_painter.h"

void draw(const Subdivision& s, SDL_Surface* target) {
    if (!target) {
        return;
    }
    SurfacePainter painter{target};
    paintScene(s, painter);
}
