#pragma once

#include "model/subdivision.h"
#include "model/walk.h"

// The record drawn at a window pixel of s's frame: the half-edge whose arrow (shaft or
// wing) passes within layout::arrowPickDistance of (x, y), the nearest one and on a tie
// the lower number; else, while the listing is shown, the vertex, face or half-edge whose
// listing row holds the pixel; else none. Only rows that start inside the window count.
RecordRef recordAt(const Subdivision& s, int x, int y);
