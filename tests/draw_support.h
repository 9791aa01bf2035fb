#pragma once

#include "draw/frame.h"
#include "draw/layout.h"
#include "draw/text.h"
#include "model/subdivision.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// The window's colours written out, so that a changed definition fails.
using Color = SDL_Color;
constexpr Color ink{20, 20, 20, 0}, paper{255, 255, 255, 0}, hl{250, 130, 100, 0},
    picked{250, 194, 181, 0}, nbFace{219, 247, 209, 0}, nbLabel{40, 150, 7, 0},
    vertexBlue{50, 150, 250, 0};

// The pixel at (x, y) in color, or with text that label in color with its corner there.
struct Check {
    int x, y;
    Color color;
    const char* text = nullptr;
};

// SDL, SDL_ttf, the label font, a structure using it and a white surface like the screen.
class DrawTest : public ::testing::Test {
  protected:
    DrawTest() {
        SDL_Init(SDL_INIT_VIDEO);
        TTF_Init();
        font = openFontPair(HEXIL_FONT_PATH, layout::labelPointSize);
        model.font = &font;
    }
    ~DrawTest() override {
        SDL_FreeSurface(surface);
        closeFont(font);
        TTF_Quit();
        SDL_Quit();
    }

    static SDL_Surface* blank(Uint32 fill) {
        SDL_Surface* s = SDL_CreateRGBSurface(0, windowWidth, windowHeight, frameBitsPerPixel,
                                              0xff0000, 0xff00, 0xff, 0);
        SDL_FillRect(s, nullptr, fill);
        return s;
    }
    static Uint32 at(const SDL_Surface* s, int x, int y) {
        return static_cast<const Uint32*>(s->pixels)[y * s->pitch / 4 + x];
    }
    static Uint32 pixel(SDL_Color c) { return c.r << 16 | c.g << 8 | c.b; }
    // The pixels in [x0, x1) x [y0, y1) that are not white.
    int inked(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                n += at(surface, x, y) != 0xffffff;
            }
        }
        return n;
    }
    void redraw() {
        SDL_FillRect(surface, nullptr, 0xffffff);
        drawFrame(surface, model, StatusLine{});
    }

    // Whether the surface shows the label in every pixel it covers whole (at least one).
    bool shows(const std::string& text, int x, int y, SDL_Color fill, Font* with = nullptr) const {
        SDL_Surface* label =
            renderOutlinedText(with ? with : model.font, textOutlineWidth, text, fill, paper);
        SDL_Surface* over[] = {blank(0xffffff), blank(0)};
        for (SDL_Surface* s : over) {
            SDL_Rect place{Sint16(x), Sint16(y), 0, 0};
            SDL_BlitSurface(label, nullptr, s, &place);
        }
        int covered = 0, same = 0;
        for (int j = std::max(y, 0); j < std::min(y + label->h, windowHeight); ++j) {
            for (int i = std::max(x, 0); i < std::min(x + label->w, windowWidth); ++i) {
                const Uint32 p = at(over[0], i, j);
                covered += p == at(over[1], i, j);
                same += p == at(over[1], i, j) && p == at(surface, i, j);
            }
        }
        for (SDL_Surface* s : {label, over[0], over[1]}) {
            SDL_FreeSurface(s);
        }
        return covered > 0 && same == covered;
    }
    void expectShown(const std::vector<Check>& checks, const std::string& what) const {
        for (const Check& c : checks) {
            EXPECT_TRUE(c.text ? shows(c.text, c.x, c.y, c.color)
                               : pixel(c.color) == at(surface, c.x, c.y))
                << what << ": " << (c.text ? c.text : "pixel") << " at " << c.x << "," << c.y
                << " is " << std::hex << at(surface, c.x, c.y);
        }
    }

    Font font;
    Subdivision model;
    SDL_Surface* surface = blank(0xffffff);
};
