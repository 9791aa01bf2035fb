#include "listing.h"

#include "picture.h"
#include "surface_painter.h"

void drawListing(const Subdivision& s, SDL_Surface* target) {
    if (!target) {
        return;
    }
    SurfacePainter painter{target};
    paintListing(s, painter);
}
