#pragma once

#include "draw/picture.h"

#include <SDL.h>

#include <cstddef>
#include <span>

// Where labels crowd, most of them lie under later ones, and leaving those out saves most
// of a frame. The texts are walked from the last back: a text whose every shown pixel a
// later text covers with full alpha is not rendered. Only worth it beyond a certain count.
struct TextCulling {
    // The fewest texts for which hidden ones are looked for: 30 layers of labels of about
    // 900 pixels each over the whole window.
    std::size_t from = 20000;
    // The most bytes of renderings held from the backward walk to the painting; a visible
    // text beyond it is rendered a second time when it is painted.
    std::size_t heldBytesLimit = std::size_t{64} << 20;
};

// Paints a Picture onto an SDL surface with SDL_gfx (anti-aliased lines, filled circles
// and polygons, all opaque) and SDL_ttf's blended text (renderOutlinedText; drawLabel for
// texts at a fixed corner).
struct SurfacePainter {
    SDL_Surface* target;
    TextCulling culling{};

    // The paper colour as a raw 32-bit pixel value over the window's rectangle, not mapped
    // through the surface's format: on a surface of another kind the background is what
    // that value means there.
    void background() const;
    void face(const FaceShape& face) const;
    void arrow(const ArrowShape& arrow) const;
    void dot(const DotShape& dot) const;
    // One text, rendered and blended.
    void text(const TextShape& text) const;
    // The texts in order: the same pixels as text() for each in turn, hidden ones left out
    // as TextCulling says (on a target that blendText blends by hand). Returns how many
    // it left out as hidden.
    std::size_t texts(std::span<const TextShape> texts) const;
};
static_assert(Painter<SurfacePainter>);
