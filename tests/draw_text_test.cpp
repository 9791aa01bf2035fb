#include "draw_support.h"

#include <cstring>

namespace {

// The plain way: one handle whose outline is switched on for the first pass and off for
// the second.
SDL_Surface* toggled(TTF_Font* f, int width, const char* text, SDL_Color fill, SDL_Color halo) {
    TTF_SetFontOutline(f, width);
    SDL_Surface* outlined = TTF_RenderUTF8_Blended(f, text, halo);
    TTF_SetFontOutline(f, 0);
    SDL_Surface* plain = TTF_RenderUTF8_Blended(f, text, fill);
    SDL_Rect place{Sint16(width), Sint16(width), Uint16(plain->w), Uint16(plain->h)};
    SDL_UpperBlit(plain, nullptr, outlined, &place);
    SDL_FreeSurface(plain);
    return outlined;
}

// Compares sizes and every pixel, then frees got.
void expectSamePixels(SDL_Surface* want, SDL_Surface* got, const char* text) {
    ASSERT_TRUE(got) << text;
    ASSERT_TRUE(want->w == got->w && want->h == got->h) << text;
    for (int y = 0; y < want->h; ++y) {
        const auto* a = static_cast<const Uint8*>(want->pixels) + y * want->pitch;
        const auto* b = static_cast<const Uint8*>(got->pixels) + y * got->pitch;
        ASSERT_EQ(0, std::memcmp(a, b, 4 * want->w)) << text << " row " << y;
    }
    SDL_FreeSurface(got);
}

} // namespace

TEST_F(DrawTest, OutlinedTextMatchesTogglingOneHandle) {
    TTF_Font* oracle = TTF_OpenFont(HEXIL_FONT_PATH, 11);
    Font oneHandle{TTF_OpenFont(HEXIL_FONT_PATH, 11), nullptr, 0};
    ASSERT_TRUE(oracle && font.outlined && oneHandle.plain);
    const SDL_Color paper = model.paperColor;
    for (int width : {2, 1, 3, 2}) {
        for (const char* text :
             {"e12", "v0", "f4", "next: e17", "List of half-edges (18):", "Angles: 6"}) {
            for (SDL_Color fill : {model.inkColor, model.highlightColor}) {
                SDL_Surface* want = toggled(oracle, width, text, fill, paper);
                expectSamePixels(want, renderOutlinedText(&font, width, text, fill, paper), text);
                expectSamePixels(want, renderOutlinedText(&oneHandle, width, text, fill, paper),
                                 text);
                SDL_FreeSurface(want);
            }
        }
        EXPECT_EQ(width, font.outlineWidth);
    }
    EXPECT_EQ(0, TTF_GetFontOutline(font.plain));
    EXPECT_EQ(0, TTF_GetFontOutline(oneHandle.plain));
    closeFont(oneHandle);
    TTF_CloseFont(oracle);
}

TEST_F(DrawTest, MissingFontDrawsNothingAndLabelsPastTheEdgeAreSkipped) {
    Font none;
    EXPECT_EQ(nullptr, renderOutlinedText(nullptr, 2, "v0", model.inkColor, model.paperColor));
    EXPECT_EQ(nullptr, renderOutlinedText(&none, 2, "v0", model.inkColor, model.paperColor));
    drawLabel(surface, nullptr, model.paperColor, model.inkColor, "v0", 10, 10);
    drawLabel(surface, &none, model.paperColor, model.inkColor, "v0", 10, 10);
    for (auto [x, y] : {std::pair{1000, 10}, {10, 600}, {10, 65536 + 100}}) {
        drawLabel(surface, &font, model.paperColor, model.inkColor, "e1", x, y);
    }
    EXPECT_EQ(count(0, 0, 1000, 600, notWhite), 0);

    drawLabel(surface, &font, model.paperColor, model.inkColor, "e39989", 990, 590);
    EXPECT_GT(count(990, 590, 1000, 600, dark), 0);
}
