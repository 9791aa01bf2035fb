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

void SurfacePainter::face(const FaceShape& face) const {
    const SDL_Color color = face.fillColor;
    filledPolygonRGBA(target, face.xs.data(), face.ys.data(), static_cast<int>(face.xs.size()),
                      color.r, color.g, color.b, 255);
}

void SurfacePainter::arrow(const ArrowShape& arrow) const {
    for (const Arrow& a : {arrow.arrow, moved(arrow.arrow, arrow.copyOffset)}) {
        line(target, a.from, a.to, arrow.lineColor);
        line(target, a.to, a.wing1, arrow.lineColor);
        line(target, a.to, a.wing2, arrow.lineColor);
        if (!arrow.heavy()) {
            return;
        }
    }
}

void SurfacePainter::dot(const DotShape& dot) const {
    const SDL_Color color = dot.fillColor;
    filledCircleRGBA(target, static_cast<Sint16>(dot.centre.x), static_cast<Sint16>(dot.centre.y),
                     static_cast<Sint16>(dot.radius), color.r, color.g, color.b, 255);
}

void SurfacePainter::text(const TextShape& text) const {
    const TextPlace& place = text.place;
    if (place.rule == TextPlace::corner) {
        drawLabel(target, text.font, text.outlineColor, text.fillColor, text.text, place.at.x,
                  place.at.y);
        return;
    }
    // The rendering that is blitted also gives the size that places it.
    SDL_Surface* rendered = renderOutlinedText(text.font, textOutlineWidth, text.text,
                                               text.fillColor, text.outlineColor);
    if (!rendered) {
        return;
    }
    const Pixel at = place.topLeft({rendered->w, rendered->h});
    blendText(rendered, target, at.x, at.y);
    SDL_FreeSurface(rendered);
}
