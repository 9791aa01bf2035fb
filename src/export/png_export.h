#pragma once

#include <SDL.h>

#include <string>

// The surface as the bytes of an 8-bit RGB PNG file (libpng), without time stamps, so that
// the same pixels give the same bytes; empty when encoding fails.
std::string encodePng(SDL_Surface* surface);
