#include "draw_support.h"

#include <climits>
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

void expectSamePixels(SDL_Surface* want, SDL_Surface* got, const char* text) {
    ASSERT_TRUE(want && got) << text;
    ASSERT_EQ(want->w, got->w) << text;
    ASSERT_EQ(want->h, got->h) << text;
    for (int y = 0; y < want->h; ++y) {
        const auto* a = static_cast<const Uint8*>(want->pixels) + y * want->pitch;
        const auto* b = static_cast<const Uint8*>(got->pixels) + y * got->pitch;
        ASSERT_EQ(0, std::memcmp(a, b, 4 * want->w)) << text << " row " << y;
    }
}

} // namespace

TEST_F(DrawTest, OutlinedTextMatchesTogglingOneHandle) {
    TTF_Font* oracle = TTF_OpenFont(HEXIL_FONT_PATH, 11);
    Font oneHandle{TTF_OpenFont(HEXIL_FONT_PATH, 11), nullptr, 0};
    ASSERT_TRUE(oracle && font.outlined && oneHandle.plain);
    const char* texts[] = {"e12", "v0", "f4", "next: e17", "List of half-edges (18):", "Angles: 6"};
    const SDL_Color fills[] = {model.inkColor, model.highlightColor};
    for (int width : {2, 1, 3, 2}) {
        for (const char* text : texts) {
            for (SDL_Color fill : fills) {
                SDL_Surface* want = toggled(oracle, width, text, fill, model.paperColor);
                SDL_Surface* fast = renderOutlinedText(&font, width, text, fill, model.paperColor);
                SDL_Surface* slow =
                    renderOutlinedText(&oneHandle, width, text, fill, model.paperColor);
                expectSamePixels(want, fast, text);
                expectSamePixels(want, slow, text);
                SDL_FreeSurface(want);
                SDL_FreeSurface(fast);
                SDL_FreeSurface(slow);
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
    drawLabel(surface, &font, model.paperColor, model.inkColor, "e1", 1000, 10);
    drawLabel(surface, &font, model.paperColor, model.inkColor, "e1", 10, 600);
    drawLabel(surface, &font, model.paperColor, model.inkColor, "e1", 10, 65536 + 100);
    EXPECT_EQ(0, count(0, 0, 1000, 600, notWhite));

    drawLabel(surface, &font, model.paperColor, model.inkColor, "e39989", 990, 590);
    EXPECT_GT(count(990, 590, 1000, 600, dark), 0);
}

TEST(DrawNumbered, PrefixThenPlainDecimal) {
    EXPECT_EQ("e12", numbered("e", 12));
    EXPECT_EQ("next: e17", numbered("next: e", 17));
    EXPECT_EQ("opp: e-1", numbered("opp: e", -1));
    EXPECT_EQ("x: -2147483648", numbered("x: ", INT_MIN));
}
