#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

// The start-up calls that can fail, as a table. The viewer runs with SDL's own; tests
// hand in calls that fail in the ways a real machine can.
struct Platform {
    int (*init)(Uint32 flags) = SDL_Init;
    int (*ttfInit)() = TTF_Init;
    SDL_Surface* (*setVideoMode)(int width, int height, int bitsPerPixel,
                                 Uint32 flags) = SDL_SetVideoMode;
};
