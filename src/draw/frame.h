#pragma once

#include "draw/picture.h"
#include "model/subdivision.h"

#include <SDL.h>

// The depth of the surfaces the frame is drawn for: the window's and the exported PNG's.
constexpr int frameBitsPerPixel = 32;

// The viewer's whole frame on target, as its window shows it: the first 1000 x 600 pixels
// filled white (a raw 0xFFFFFF, white on the 32-bit surfaces the viewer uses), the scene
// and listing of s (draw), then the status line "Angles: N" from status.font with its
// top-left corner at (10, 10). Does not lock, flip or unlock the target.
void drawFrame(SDL_Surface* target, const Subdivision& s, const StatusLine& status);
