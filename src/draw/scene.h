#pragma once

#include "model/subdivision.h"

#include <SDL.h>

// Paints the picture of s onto target, later steps over earlier ones: the faces from the
// last (the outer face, filled as the whole 1000 x 600 area) down to face 0; an arrow for
// every half-edge; a dot for every vertex; the "e", "v" and "f" labels when showLabels is
// set; then the listing panel when showListing is set. The selection picks the colours.
// An empty structure paints no picture at all. Reads s and never changes it; the label
// font's outline state is the only thing touched.
void draw(const Subdivision& s, SDL_Surface* target);
