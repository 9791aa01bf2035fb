#pragma once

#include "draw/picture.h"

#include <SDL.h>

// Paints a Picture onto an SDL surface with SDL_gfx (anti-aliased lines, filled circles
// and polygons, all opaque) and SDL_ttf's blended text (renderOutlinedText; drawLabel for
// texts at a fixed corner).
struct SurfacePainter {
    SDL_Surface* target;

    // The paper colour as a raw 32-bit pixel value over the window's rectangle, not mapped
    // through the surface's format: on a surface of another kind the background is what
    // that value means there.
    void background() const;
    void face(const FaceShape& face) const;
    void arrow(const ArrowShape& arrow) const;
    void dot(const DotShape& dot) const;
    void text(const TextShape& text) const;
};
static_assert(Painter<SurfacePainter>);
