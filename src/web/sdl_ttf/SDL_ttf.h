#pragma once

// HEXIL's own minimal equivalent of the few SDL_ttf 2.0 calls the viewer makes: start and
// stop, open and close a font, set its outline, and size and render UTF-8 text blended. Only the
// web build uses it, because SDL_ttf's source is not available to build for WebAssembly; the
// desktop build links the real library. It must render exactly as Debian's SDL_ttf 2.0.11
// (libsdl-ttf2.0-0 2.0.11-6): same surface size, format and every 32-bit pixel, which its
// native test checks against the real library. Fonts are always scalable TrueType at 72 dpi
// with normal style, hinting and kerning, the only way the viewer opens them.
//
// Defining HEXIL_WEB_TTF_NAMESPACE puts every name in that namespace, so that a test can
// link this code beside the real library.

#include <SDL.h>

#ifdef HEXIL_WEB_TTF_NAMESPACE
namespace HEXIL_WEB_TTF_NAMESPACE {
#endif

struct TTF_Font;

// 0 on success, -1 when FreeType cannot start. Counted: every call needs a TTF_Quit.
int TTF_Init();
void TTF_Quit();

// The face in file at ptsize points, or null with SDL's error set.
TTF_Font* TTF_OpenFont(const char* file, int ptsize);
void TTF_CloseFont(TTF_Font* font);

// Glyphs drawn from now on are the glyph's stroke outline pixels wide, 0 for none.
void TTF_SetFontOutline(TTF_Font* font, int outline);

// The size of the text's rendering by TTF_RenderUTF8_Blended (its width 0 where that
// renders nothing), into w and h where they are not null: 0, or -1 with SDL's error set
// when a glyph cannot be loaded.
int TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h);

// A new 32-bit ARGB surface of the text in fg, its coverage in the alpha byte, or null
// with SDL's error set (also when the text has no width).
SDL_Surface* TTF_RenderUTF8_Blended(TTF_Font* font, const char* text, SDL_Color fg);

#ifdef HEXIL_WEB_TTF_NAMESPACE
}
#endif
