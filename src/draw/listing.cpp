#include "draw/listing.h"

#include "draw/picture.h"
#include "draw/surface_painter.h"

void drawListing(const Subdivision& s, SDL_Surface* target) {
    if (!target) {
        return;
    }
    SurfacePainter painter{target};
    paintListing(s, painter);
}
