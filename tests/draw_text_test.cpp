#include "draw_support.h"

#include <cstring>

// Texts at 11 and 13 points, drawn with a pair of handles and with one, are the plain way
// to the pixel: one handle's outline on for the halo and off for the glyphs. Without a
// font nothing is drawn.
TEST_F(DrawTest, OutlinedTextMatchesTogglingOneHandleAndBlendsAsSdlBlits) {
    const SDL_Color halo = paper;
    for (int size : {layout::labelPointSize, layout::statusPointSize}) {
        TTF_Font* oracle = TTF_OpenFont(HEXIL_FONT_PATH, size);
        Font pair = openFontPair(HEXIL_FONT_PATH, size);
        Font one{TTF_OpenFont(HEXIL_FONT_PATH, size), nullptr, 0};
        ASSERT_TRUE(oracle && pair.outlined && one.plain);
        for (int width : {2, 1, 3, 2}) {
            for (const char* text :
                 {"e12", "v0", "f4", "x: 400", "next: e17", "List of faces (5):", "Angles: 6"}) {
                for (SDL_Color fill : {ink, hl}) {
                    TTF_SetFontOutline(oracle, width);
                    SDL_Surface* want = TTF_RenderUTF8_Blended(oracle, text, halo);
                    TTF_SetFontOutline(oracle, 0);
                    SDL_Surface* glyphs = TTF_RenderUTF8_Blended(oracle, text, fill);
                    SDL_Rect place{Sint16(width), Sint16(width), 0, 0};
                    SDL_BlitSurface(glyphs, nullptr, want, &place);
                    for (Font* f : {&pair, &one}) {
                        SDL_Surface* got = renderOutlinedText(f, width, text, fill, halo);
                        ASSERT_TRUE(got && got->w == want->w && got->h == want->h &&
                                    got->pitch == want->pitch)
                            << size << " pt " << text;
                        EXPECT_EQ(0, std::memcmp(want->pixels, got->pixels, want->pitch * want->h))
                            << size << " pt " << text << " outline " << width;
                        SDL_FreeSurface(got);
                    }
                    SDL_FreeSurface(glyphs);
                    SDL_FreeSurface(want);
                }
            }
        }
        EXPECT_TRUE(TTF_GetFontOutline(pair.plain) == 0 && TTF_GetFontOutline(one.plain) == 0);
        closeFont(one);
        closeFont(pair);
        TTF_CloseFont(oracle);
    }
    Font none;
    for (Font* f : {static_cast<Font*>(nullptr), &none}) {
        EXPECT_EQ(nullptr, renderOutlinedText(f, 2, "v0", ink, halo));
        drawLabel(surface, f, halo, ink, "v0", 10, 10);
    }
    EXPECT_EQ(0, inked(0, 0, 1000, 600));

    // A label laid onto the window blends exactly as SDL 1.2's own blit would, over a
    // background of every shade and cut at each edge of the clipping rectangle.
    SDL_Surface* want = blank(0);
    for (int i = 0; i < 1000 * 600; ++i) { // rows 1000 pixels apart, as blank() makes them
        static_cast<Uint32*>(surface->pixels)[i] = Uint32(i % 1000 * 7 + i / 1000 * 13) * 0x010203u;
    }
    std::memcpy(want->pixels, surface->pixels, surface->pitch * surface->h);
    SDL_Rect clip{5, 5, 990, 590};
    SDL_SetClipRect(surface, &clip);
    SDL_SetClipRect(want, &clip);
    for (auto [x, y] : {std::pair{100, 100}, {-6, 300}, {980, 590}, {500, -4}, {3, 3}}) {
        drawLabel(surface, &font, paper, hl, "List of half-edges (18):", x, y);
        SDL_Surface* label = renderOutlinedText(&font, 2, "List of half-edges (18):", hl, paper);
        SDL_Rect place{Sint16(x), Sint16(y), 0, 0};
        SDL_BlitSurface(label, nullptr, want, &place);
        SDL_FreeSurface(label);
    }
    EXPECT_EQ(0, std::memcmp(want->pixels, surface->pixels, want->pitch * want->h));
    SDL_FreeSurface(want);
}
