#pragma once

#include "model/subdivision.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

// The outlined text the obvious way, on one font handle: outline on, render, outline off,
// render, lay the plain rendering over the outlined one at (outline, outline). Null when
// the outlined rendering fails; the font's outline is 0 afterwards.
SDL_Surface* literalOutlinedText(TTF_Font* font, int outline, const std::string& text,
                                 SDL_Color fillColor, SDL_Color outlineColor);

// One whole frame drawn the slow, obvious way onto screen: white fill, the faces, arrows,
// dots and labels of s, the listing panel, and the status line "Angles: " + angles at
// (10, 10). Every text toggles the outline of its one font; every number in the listing
// is found by a linear search for its record; every listing row is rendered, even those
// far below the window. Half-edges whose ends share a pixel get no arrow, as in the
// viewer. labelFont and statusFont are 11- and 13-point handles of the same face.
void literalFrame(const Subdivision& s, int angles, TTF_Font* labelFont, TTF_Font* statusFont,
                  SDL_Surface* screen);
