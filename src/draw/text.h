#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <optional>
#include <string>

// A TrueType face at one size, opened twice: SDL_ttf throws its glyph cache away on
// every outline change, so one handle stays plain and the other stays outlined.
struct Font {
    TTF_Font* plain = nullptr;
    TTF_Font* outlined = nullptr; // null when the second open failed: plain is toggled
    int outlineWidth = 0;         // what outlined is set to
    int pointSize = 0;            // the size both were opened at
};

// Opens path at size twice. Returns a font whose plain handle is null on failure.
Font openFontPair(const char* path, int pointSize);
// Closes both handles; must run before TTF_Quit.
void closeFont(Font& font);

// The width of the outline around every text on screen, in pixels.
constexpr int textOutlineWidth = 2;

// The text in fillColor laid at (outlineWidth, outlineWidth) over a copy drawn with an
// outline of outlineWidth pixels in outlineColor. A new surface owned by the caller, or
// null when the font is missing or the outline rendering fails. When only the plain
// pass fails, the outline rendering alone is returned.
SDL_Surface* renderOutlinedText(Font* font, int outlineWidth, const std::string& text,
                                SDL_Color fillColor, SDL_Color outlineColor);

// The size of an outlined rendering.
struct TextSize {
    int w = 0;
    int h = 0;
};

// The size of text's rendering by renderOutlinedText, found without rendering it: SDL_ttf
// sizes its renderings with TTF_SizeUTF8. Nothing when the font is missing, the size
// cannot be found or the text has no width (renderOutlinedText renders nothing then).
std::optional<TextSize> outlinedSize(Font* font, int outlineWidth, const std::string& text);

// The handle that draws font's outline, set to outlineWidth. Without a second handle it
// is the plain one with its outline switched on, which plainAgain switches off again.
TTF_Font* outliner(Font* font, int outlineWidth);
void plainAgain(Font* font);

// Lays text, a 32-bit surface with an alpha byte per pixel, onto target with its top-left
// corner at (x, y), clipped to target's clipping rectangle, blended the way SDL 1.2's blit
// blends it: each colour channel moves by the alpha's share of the difference rounded down
// (alpha / 256), fully opaque pixels are copied, and the target keeps its alpha bytes. The
// blend is done here, not by SDL, so that the picture is the same on every SDL 1.2 (the
// reimplementation on SDL 2 rounds differently); a target of another pixel layout is left
// to SDL's blit, which converts. Both surfaces must be accessible (locked when SDL
// requires it).
void blendText(SDL_Surface* text, SDL_Surface* target, int x, int y);
// Whether blendText blends onto target by hand (a 32-bit target with the renderings' colour
// layout): then a text pixel of full alpha replaces the target's colour whatever lay there.
bool blendsByHand(const SDL_Surface* target);

// renderOutlinedText with a textOutlineWidth outline in outlineColor, blitted with its top-left
// corner at (x, y) and freed. Draws nothing when the rendering fails, and renders nothing
// when (x, y) lies at or past the right or bottom edge of the target's clipping rectangle,
// where the whole label would be clipped.
void drawLabel(SDL_Surface* target, Font* font, SDL_Color outlineColor, SDL_Color fillColor,
               const std::string& text, int x, int y);
