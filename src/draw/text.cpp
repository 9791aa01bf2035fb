#include "draw/text.h"

#include <charconv>
#include <cstring>

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
        SDL_Rect place{static_cast<Sint16>(outlineWidth), static_cast<Sint16>(outlineWidth),
                       static_cast<Uint16>(plain->w), static_cast<Uint16>(plain->h)};
        SDL_UpperBlit(plain, nullptr, outlined, &place);
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
    SDL_Rect place{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(label->w),
                   static_cast<Uint16>(label->h)};
    SDL_UpperBlit(label, nullptr, target, &place);
    SDL_FreeSurface(label);
}

std::string numbered(const char* prefix, int number) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    std::string text;
    text.reserve(std::strlen(prefix) + (end - digits));
    text.append(prefix).append(digits, end);
    return text;
}
