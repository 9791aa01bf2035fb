#pragma once

#include "draw/picture.h"

#include <string>

// The frame (framePicture) as an SVG document of windowWidth x windowHeight user units,
// one unit a window pixel: the faces as <polygon id="fN">, each half-edge's arrow as one
// <path id="eN"> of line segments (a heavy arrow's second copy among them), each vertex's
// dot as <circle id="vN">, and every text as <text> filled in its colour over its outline
// colour (a stroke twice textOutlineWidth wide, painted first), in the font's family at its
// point size in pixels, placed where the window shows it. Shapes of a pixel's width sit on pixel
// centres, so the picture lies over the PNG within anti-aliasing.
std::string frameSvg(const Subdivision& s, const StatusLine& status);
