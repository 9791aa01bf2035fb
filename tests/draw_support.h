#pragma once

#include "subdivision.h"
#include "text.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

using Rgb = std::array<int, 3>;

inline Rgb rgb(SDL_Color c) {
    return {c.r, c.g, c.b};
}
inline bool dark(Rgb p) {
    return p[0] < 100 && p[1] < 100 && p[2] < 100;
}
inline bool notWhite(Rgb p) {
    return p != Rgb{255, 255, 255};
}
// Within 40 per channel: anti-aliasing blends a text's fill towards its outline.
inline auto near(SDL_Color c) {
    return [c](Rgb p) {
        return std::abs(p[0] - c.r) < 40 && std::abs(p[1] - c.g) < 40 && std::abs(p[2] - c.b) < 40;
    };
}

// SDL on the dummy video driver, SDL_ttf, the 11-point label font, a structure that uses
// it and a white 1000 x 600 surface of the screen's 32-bit kind.
class DrawTest : public ::testing::Test {
  protected:
    DrawTest() {
        SDL_Init(SDL_INIT_VIDEO);
        TTF_Init();
        font = openFontPair(HEXIL_FONT_PATH, 11);
        model.font = &font;
        surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 1000, 600, 32, 0xff0000, 0xff00, 0xff, 0);
        SDL_FillRect(surface, nullptr, 0xffffff);
    }
    ~DrawTest() override {
        SDL_FreeSurface(surface);
        closeFont(font);
        TTF_Quit();
        SDL_Quit();
    }

    Uint32 raw(int x, int y) const {
        return static_cast<const Uint32*>(surface->pixels)[y * surface->pitch / 4 + x];
    }
    Rgb at(int x, int y) const {
        Uint8 r, g, b;
        SDL_GetRGB(raw(x, y), surface->format, &r, &g, &b);
        return {r, g, b};
    }
    // Pixels in [x0, x1) x [y0, y1) that match.
    template <class Match> int count(int x0, int y0, int x1, int y1, Match match) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                n += match(at(x, y)) ? 1 : 0;
            }
        }
        return n;
    }

    Font font;
    Subdivision model;
    SDL_Surface* surface = nullptr;
};
