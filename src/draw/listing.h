#pragma once

#include "model/subdivision.h"

#include <SDL.h>

// Writes every record of s as text onto target: the vertex, face and half-edge sections
// side by side from columns 428, 600 and 705, each a title at row 20 and then one row per
// record 14 pixels apart from row 39. The rows of the selection take its colours. Rows
// that would start at or below row 600, the bottom of the drawing area, are not drawn.
void drawListing(const Subdivision& s, SDL_Surface* target);
