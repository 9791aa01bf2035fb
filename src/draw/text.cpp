#include "draw/text.h"

#include <algorithm>

Font openFontPair(const char* path, int pointSize) {
    Font font;
    font.pointSize = pointSize;
    font.plain = TTF_OpenFont(path, pointSize);
    if (font.plain) {
        font.outlined = TTF_OpenFont(path, pointSize);
    }
    return font;
}

void closeFont(Font& font) {
    if (font.outlined) {
        TTF_CloseFont(font.outlined);
    }
    if (font.plain) {
        TTF_CloseFont(font.plain);
    }
    font = Font{};
}

// Toggling the one handle costs its glyph cache; the pair of handles avoids that.
TTF_Font* outliner(Font* font, int outlineWidth) {
    if (!font->outlined) {
        TTF_SetFontOutline(font->plain, outlineWidth);
        return font->plain;
    }
    if (font->outlineWidth != outlineWidth) {
        TTF_SetFontOutline(font->outlined, outlineWidth);
        font->outlineWidth = outlineWidth;
    }
    return font->outlined;
}

void plainAgain(Font* font) {
    if (!font->outlined) {
        TTF_SetFontOutline(font->plain, 0);
    }
}

std::optional<TextSize> outlinedSize(Font* font, int outlineWidth, const std::string& text) {
    if (!font || !font->plain) {
        return std::nullopt;
    }
    TextSize size;
    const int status = TTF_SizeUTF8(outliner(font, outlineWidth), text.c_str(), &size.w, &size.h);
    plainAgain(font);
    if (status != 0 || size.w == 0) {
        return std::nullopt;
    }
    return size;
}

namespace {

// The layout of every rendering SDL_ttf blends: 32 bits, alpha in the top byte.
constexpr Uint32 renderingRmask = 0x00FF0000, renderingGmask = 0x0000FF00,
                 renderingBmask = 0x000000FF, renderingAmask = 0xFF000000;

bool inRenderingColours(const SDL_PixelFormat& f) {
    return f.BytesPerPixel == 4 && f.Rmask == renderingRmask && f.Gmask == renderingGmask &&
           f.Bmask == renderingBmask;
}

// SDL 1.2's blend of one channel: the source's share of the difference, rounded down.
Uint32 blendChannel(Uint32 source, Uint32 target, int alpha) {
    const int s = static_cast<int>(source & 0xFF);
    const int t = static_cast<int>(target & 0xFF);
    return static_cast<Uint32>(t + (((s - t) * alpha) >> 8));
}

} // namespace

bool blendsByHand(const SDL_Surface* target) {
    return inRenderingColours(*target->format);
}

void blendText(SDL_Surface* text, SDL_Surface* target, int x, int y) {
    const SDL_PixelFormat& from = *text->format;
    if (!inRenderingColours(from) || from.Amask != renderingAmask || !blendsByHand(target)) {
        SDL_Rect place{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(text->w),
                       static_cast<Uint16>(text->h)};
        SDL_UpperBlit(text, nullptr, target, &place);
        return;
    }
    const SDL_Rect& clip = target->clip_rect;
    const int left = std::max(x, static_cast<int>(clip.x));
    const int top = std::max(y, static_cast<int>(clip.y));
    const int right = std::min(x + text->w, clip.x + static_cast<int>(clip.w));
    const int bottom = std::min(y + text->h, clip.y + static_cast<int>(clip.h));
    for (int row = top; row < bottom; ++row) {
        const auto* source = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(text->pixels) + (row - y) * text->pitch);
        auto* dest =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) + row * target->pitch);
        for (int col = left; col < right; ++col) {
            const Uint32 s = source[col - x];
            const int alpha = static_cast<int>(s >> 24);
            const Uint32 d = dest[col];
            // The target keeps its own alpha byte, as SDL 1.2's blit does.
            if (alpha == SDL_ALPHA_OPAQUE) {
                dest[col] = (s & 0xFFFFFF) | (d & 0xFF000000);
            } else if (alpha != 0) {
                dest[col] = blendChannel(s >> 16, d >> 16, alpha) << 16 |
                            blendChannel(s >> 8, d >> 8, alpha) << 8 | blendChannel(s, d, alpha) |
                            (d & 0xFF000000);
            }
        }
    }
}

SDL_Surface* renderOutlinedText(Font* font, int outlineWidth, const std::string& text,
                                SDL_Color fillColor, SDL_Color outlineColor) {
    if (!font || !font->plain) {
        return nullptr;
    }
    SDL_Surface* outlined =
        TTF_RenderUTF8_Blended(outliner(font, outlineWidth), text.c_str(), outlineColor);
    plainAgain(font);
    if (!outlined) {
        return nullptr;
    }
    SDL_Surface* plain = TTF_RenderUTF8_Blended(font->plain, text.c_str(), fillColor);
    if (plain) {
        // SDL_ttf grows the outlined glyphs by the outline width on every side, so this
        // offset centres the plain glyphs inside their halo.
        blendText(plain, outlined, outlineWidth, outlineWidth);
        SDL_FreeSurface(plain);
    }
    return outlined;
}

void drawLabel(SDL_Surface* target, Font* font, SDL_Color outlineColor, SDL_Color fillColor,
               const std::string& text, int x, int y) {
    if (!target) {
        return;
    }
    // A label whose corner lies past the right or bottom clip edge would be clipped whole:
    // skipping it early saves the rendering and keeps far rows from wrapping in Sint16.
    const SDL_Rect& clip = target->clip_rect;
    if (x >= clip.x + clip.w || y >= clip.y + clip.h) {
        return;
    }
    SDL_Surface* label = renderOutlinedText(font, textOutlineWidth, text, fillColor, outlineColor);
    if (!label) {
        return;
    }
    blendText(label, target, x, y);
    SDL_FreeSurface(label);
}
