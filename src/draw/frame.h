#pragma once

#include "draw/picture.h"
#include "model/subdivision.h"

#include <SDL.h>

// The depth of the surfaces the frame is drawn for: the window's and the exported PNG's.
constexpr int frameBitsPerPixel = 32;

// The viewer's whole frame on target, as its window shows it: framePicture painted by a
// SurfacePainter, the window's rectangle first filled with paper as a raw pixel value
// (white on the 32-bit surfaces the viewer uses). Does not lock, flip or unlock the target.
void drawFrame(SDL_Surface* target, const Subdivision& s, const StatusLine& status);
