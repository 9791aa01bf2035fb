#include "draw/surface_painter.h"

#include "draw/text_cover.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

void line(SDL_Surface* target, Pixel from, Pixel to, SDL_Color color) {
    aalineRGBA(target, static_cast<Sint16>(from.x), static_cast<Sint16>(from.y),
               static_cast<Sint16>(to.x), static_cast<Sint16>(to.y), color.r, color.g, color.b,
               255);
}

// Hidden texts are looked for in blocks of this many, from the last text back. A block
// pays for the looking when at least 1 / payingShare of it is hidden; after one that does
// not, the next block is drawn without looking, then two, four, up to maxSkipped blocks,
// until a block pays again. A text that is not looked at is drawn: the cover only ever
// misses pixels, so a text it calls hidden still is.
constexpr std::size_t lookBlock = 1024;
constexpr std::size_t payingShare = 8;
constexpr std::size_t maxSkipped = 8;

// The part of a text laid at `at` with `size` that the clip shows; w or h 0 when none.
SDL_Rect shown(Pixel at, TextSize size, const SDL_Rect& clip) {
    const int left = std::max(at.x, static_cast<int>(clip.x));
    const int top = std::max(at.y, static_cast<int>(clip.y));
    const int right = std::min(at.x + size.w, clip.x + static_cast<int>(clip.w));
    const int bottom = std::min(at.y + size.h, clip.y + static_cast<int>(clip.h));
    if (left >= right || top >= bottom) {
        return SDL_Rect{0, 0, 0, 0};
    }
    return SDL_Rect{static_cast<Sint16>(left), static_cast<Sint16>(top),
                    static_cast<Uint16>(right - left), static_cast<Uint16>(bottom - top)};
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

std::size_t SurfacePainter::texts(std::span<const TextShape> texts) const {
    if (!blendsByHand(target) || texts.size() < culling.from) {
        for (const TextShape& t : texts) {
            text(t);
        }
        return 0;
    }
    enum class Fate : Uint8 {
        unseen, // nothing to draw: hidden, outside the clip, or not rendered
        held,   // rendered while looking, the rendering kept for painting
        drawn,  // rendered when painted: not looked at, or past the held bytes' limit
    };
    struct Seen {
        Fate fate = Fate::unseen;
        SDL_Surface* rendering = nullptr;
        Pixel at;
    };
    std::vector<Seen> seen(texts.size());
    TextCover cover(target->w, target->h);
    const SDL_Rect& clip = target->clip_rect;
    std::size_t held = 0;
    std::size_t hidden = 0;
    std::size_t skip = 0;
    std::size_t backOff = 0;
    for (std::size_t end = texts.size(); end > 0;) {
        const std::size_t start = end > lookBlock ? end - lookBlock : 0;
        if (skip > 0) {
            --skip;
            for (std::size_t i = start; i < end; ++i) {
                seen[i].fate = Fate::drawn;
            }
            end = start;
            continue;
        }
        std::size_t hiddenHere = 0;
        for (std::size_t i = end; i-- > start;) {
            const TextShape& t = texts[i];
            const std::optional<TextSize> size = outlinedSize(t.font, textOutlineWidth, t.text);
            if (!size) {
                continue;
            }
            const SDL_Rect area = shown(t.place.topLeft(*size), *size, clip);
            if (area.w == 0) {
                continue;
            }
            if (cover.covers(area)) {
                ++hiddenHere;
                continue;
            }
            SDL_Surface* rendering =
                renderOutlinedText(t.font, textOutlineWidth, t.text, t.fillColor, t.outlineColor);
            if (!rendering) {
                continue;
            }
            // Placed by its own size, as text() places it.
            const Pixel at = t.place.topLeft({rendering->w, rendering->h});
            cover.add(rendering, at.x, at.y, clip);
            const std::size_t bytes = static_cast<std::size_t>(rendering->h) * rendering->pitch;
            if (held + bytes <= culling.heldBytesLimit) {
                held += bytes;
                seen[i] = {Fate::held, rendering, at};
            } else {
                SDL_FreeSurface(rendering);
                seen[i].fate = Fate::drawn;
            }
        }
        if (hiddenHere * payingShare < end - start) {
            backOff = std::min(std::max<std::size_t>(1, 2 * backOff), maxSkipped);
            skip = backOff;
        } else {
            backOff = 0;
        }
        hidden += hiddenHere;
        end = start;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (seen[i].fate == Fate::drawn) {
            text(texts[i]);
        } else if (seen[i].fate == Fate::held) {
            blendText(seen[i].rendering, target, seen[i].at.x, seen[i].at.y);
            SDL_FreeSurface(seen[i].rendering);
        }
    }
    return hidden;
}
