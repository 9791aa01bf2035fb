#include "draw/surface_painter.h"

#include <SDL_gfxPrimitives.h>

namespace {

void line(SDL_Surface* target, Pixel from, Pixel to, SDL_Color color) {
    aalineRGBA(target, static_cast<Sint16>(from.x), static_cast<Sint16>(from.y),
               static_cast<Sint16>(to.x), static_cast<Sint16>(to.y), color.r, color.g, color.b,
               255);
}

} // namespace

void SurfacePainter::background() const {
    SDL_Rect whole{0, 0, windowWidth, windowHeight};
    const SDL_Color paper = palette::paperColor;
    SDL_FillRect(target, &whole, Uint32{paper.r} << 16 | Uint32{paper.g} << 8 | paper.b);
}

void SurfacePainter::face(int, const std::vector<Sint16>& xs, const std::vector<Sint16>& ys,
                          SDL_Color color) const {
    filledPolygonRGBA(target, xs.data(), ys.data(), static_cast<int>(xs.size()), color.r, color.g,
                      color.b, 255);
}

void SurfacePainter::arrow(int, const Arrow& arrow, SDL_Color color) const {
    line(target, arrow.from, arrow.to, color);
    line(target, arrow.to, arrow.wing1, color);
    line(target, arrow.to, arrow.wing2, color);
}

void SurfacePainter::dot(int, Pixel centre, int radius, SDL_Color color) const {
    filledCircleRGBA(target, static_cast<Sint16>(centre.x), static_cast<Sint16>(centre.y),
                     static_cast<Sint16>(radius), color.r, color.g, color.b, 255);
}

void SurfacePainter::blit(SDL_Surface* rendered, Pixel at) const {
    SDL_Rect where{static_cast<Sint16>(at.x), static_cast<Sint16>(at.y),
                   static_cast<Uint16>(rendered->w), static_cast<Uint16>(rendered->h)};
    SDL_UpperBlit(rendered, nullptr, target, &where);
    SDL_FreeSurface(rendered);
}
