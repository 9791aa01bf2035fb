#pragma once

#include "draw/arrow.h"
#include "draw/text.h"
#include "model/subdivision.h"

#include <SDL.h>

#include <string>
#include <vector>

// Paints the shapes of picture.h onto an SDL surface with SDL_gfx (anti-aliased lines,
// filled circles and polygons, all opaque) and SDL_ttf's blended text.
struct SurfacePainter {
    SDL_Surface* target;

    // The paper colour as a raw 32-bit pixel value, not mapped through the surface's
    // format: on a surface of another kind the background is what that value means there.
    void background() const;
    void face(int f, const std::vector<Sint16>& xs, const std::vector<Sint16>& ys,
              SDL_Color color) const;
    void arrow(int h, const Arrow& arrow, SDL_Color color) const;
    void dot(int v, Pixel centre, int radius, SDL_Color color) const;
    void text(Font* font, const std::string& text, SDL_Color fill, SDL_Color outline, int x,
              int y) const {
        drawLabel(target, font, outline, fill, text, x, y);
    }
    template <class Place>
    void label(Font* font, const std::string& text, SDL_Color fill, SDL_Color outline,
               Place place) const {
        if (SDL_Surface* rendered =
                renderOutlinedText(font, textOutlineWidth, text, fill, outline)) {
            blit(rendered, place(rendered->w, rendered->h));
        }
    }

    // Blits the whole rendering with its top-left corner at `at` and frees it.
    void blit(SDL_Surface* rendered, Pixel at) const;
};
