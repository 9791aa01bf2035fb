// The web build's SDL_ttf (namespace web) against Debian's 2.0.11: same surfaces to the byte.
#include "web/sdl_ttf/SDL_ttf.h"

#include <SDL/SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>

namespace {

const SDL_Color ink{20, 20, 20, 0}, paper{255, 255, 255, 0}, highlight{250, 130, 100, 0},
    neighbourLabel{40, 150, 7, 0};

std::string shapeOf(const SDL_Surface* s) {
    std::ostringstream out;
    if (s) {
        const SDL_PixelFormat& f = *s->format;
        out << s->w << 'x' << s->h << " pitch " << s->pitch << ' ' << int{f.BitsPerPixel}
            << " bits " << std::hex << f.Rmask << ' ' << f.Gmask << ' ' << f.Bmask << ' '
            << f.Amask;
    }
    return out.str();
}

// Empty when both surfaces exist and are the same to the byte, else what differs first.
std::string difference(const SDL_Surface* real, const SDL_Surface* own) {
    if (!real || !own || shapeOf(real) != shapeOf(own)) {
        return "Debian's surface [" + shapeOf(real) + "], ours [" + shapeOf(own) + ']';
    }
    std::ostringstream out;
    const auto *want = static_cast<const Uint32*>(real->pixels),
               *got = static_cast<const Uint32*>(own->pixels);
    const int words = real->h * real->pitch / 4,
              at = std::mismatch(want, want + words, got).first - want;
    if (at < words) {
        out << "pixel (" << at % (real->pitch / 4) << ", " << at / (real->pitch / 4) << ") of "
            << shapeOf(real) << ": Debian's 0x" << std::hex << want[at] << ", ours 0x" << got[at];
    }
    return out.str();
}

class WebTtf : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0);
        ASSERT_EQ(web::TTF_Init(), 0);
    }
    void TearDown() override {
        for (auto& [key, fonts] : opened) {
            TTF_CloseFont(fonts.first);
            web::TTF_CloseFont(fonts.second);
        }
        web::TTF_Quit();
        TTF_Quit();
    }

    // Debian's and our handle on the font at size, kept at outline as the viewer keeps them.
    std::pair<TTF_Font*, web::TTF_Font*>& font(int size, int outline) {
        auto& fonts = opened[{size, outline}];
        if (!fonts.first) {
            fonts = {TTF_OpenFont(HEXIL_FONT_PATH, size), web::TTF_OpenFont(HEXIL_FONT_PATH, size)};
            EXPECT_TRUE(fonts.first && fonts.second) << size << " pt";
            TTF_SetFontOutline(fonts.first, outline);
            web::TTF_SetFontOutline(fonts.second, outline);
        }
        return fonts;
    }

    // Renders text with both libraries and names the case on a mismatch. Toggled, the plain
    // handles get the outline for this text only, as the viewer's one-handle fallback does.
    void compare(const std::string& text, int size, int outline, SDL_Color color,
                 bool toggled = false) {
        auto [real, own] = font(size, toggled ? 0 : outline);
        if (toggled) {
            TTF_SetFontOutline(real, outline);
            web::TTF_SetFontOutline(own, outline);
        }
        SDL_Surface* want = TTF_RenderUTF8_Blended(real, text.c_str(), color);
        SDL_Surface* got = web::TTF_RenderUTF8_Blended(own, text.c_str(), color);
        // The viewer sizes a text without rendering it to tell whether later texts hide it.
        std::pair<int, int> realSize{-1, -1}, ownSize{-2, -2};
        EXPECT_EQ(TTF_SizeUTF8(real, text.c_str(), &realSize.first, &realSize.second), 0);
        EXPECT_EQ(web::TTF_SizeUTF8(own, text.c_str(), &ownSize.first, &ownSize.second), 0);
        EXPECT_EQ(ownSize, realSize) << '"' << text << "\" at " << size << " pt";
        if (want) {
            EXPECT_EQ(realSize, std::pair(want->w, want->h)) << '"' << text << "\" at " << size;
        } else {
            EXPECT_EQ(realSize.first, 0) << '"' << text << "\" renders nothing";
        }
        if (toggled) {
            TTF_SetFontOutline(real, 0);
            web::TTF_SetFontOutline(own, 0);
        }
        EXPECT_EQ(difference(want, got), "")
            << '"' << text << "\" at " << size << " pt, outline " << outline
            << (toggled ? " toggled" : "") << ", colour (" << int{color.r} << ',' << int{color.g}
            << ',' << int{color.b} << ')';
        compared += 1;
        SDL_FreeSurface(want);
        SDL_FreeSurface(got);
    }

    std::map<std::pair<int, int>, std::pair<TTF_Font*, web::TTF_Font*>> opened;
    int compared = 0;
};

// Every text of the viewer's screens at its size, with the halo and without, in each colour.
TEST_F(WebTtf, ViewerTextsMatchByteForByte) {
    std::vector<std::pair<std::string, int>> texts;
    for (int n : {0, 3, 6, 13, 100, 9999}) {
        texts.emplace_back("Angles: " + std::to_string(n), 13);
    }
    for (auto [prefix, count] : {std::pair{"v", 13}, {"e", 41}, {"f", 13}}) {
        for (int i = 0; i < count; ++i) {
            texts.emplace_back(prefix + std::to_string(i), 11);
        }
    }
    for (const char* text :
         {"List of vertices (6):", "List of faces (5):", "List of half-edges (18):", "x: 175",
          "y: 429", "x: 400", "y: 300", "x: -1", "y: 9999", "next: e12", "prev: e0", "opp: e17",
          "e-1", "next: e39999", "opp: e-1"}) {
        texts.emplace_back(text, 11);
    }
    for (const auto& [text, size] : texts) {
        for (int outline : {2, 0}) {
            for (SDL_Color color : {ink, paper, highlight, neighbourLabel}) {
                compare(text, size, outline, color);
            }
        }
    }
    EXPECT_EQ(compared, 704);
}

// Random texts, sizes, outlines and colours, outlined on the plain handle and then reset.
TEST_F(WebTtf, RandomTextsMatchByteForByteWhileTheOutlineToggles) {
    std::mt19937 random(20240613);
    auto among = [&](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    for (int i = 0; i < 400; ++i) {
        std::string text(among(1, 30), ' ');
        std::generate(text.begin(), text.end(), [&] { return char(among(0x20, 0x7E)); });
        const int size = among(6, 40), outline = among(0, 4);
        const SDL_Color color{Uint8(among(0, 255)), Uint8(among(0, 255)), Uint8(among(0, 255)), 0};
        compare(text, size, outline, color, true);
        compare(text, size, 0, color);
    }
}

// Accented letters, byte order marks (a swapped one swaps what follows), a character past
// 16 bits, malformed sequences, an encoded 0; at 6 points a combining accent after a space,
// which reaches left of the surface and lands at the end of the row above; sizes below 1.
TEST_F(WebTtf, Utf8TextAndOddSizesMatchByteForByte) {
    // clang-format off
    for (const auto& [text, size] : {std::pair{"Rozl\xC3\xADšenie ľ\xE2\x82\xAC", 13}, {"\xEF\xBB\xBFv0", 13},
                                     {"x\xF0\x9F\x98\x80z", 13}, {"x\x80z", 13}, {"x\xC3", 13}, {"\xE2\x82x", 13},
                                     {"\xFF\xFEz", 13}, {"\xEF\xBF\xBEmn\xEF\xBB\xBFpq", 13}, {"x\xC0\x80z", 13},
                                     {" \xCC\x80", 6}, {" \xCC\x88v0", 6}, {"v0 e-1", 0}, {"v0 e-1", -3}}) {
        // clang-format on
        compare(text, size, 0, ink);
        compare(text, size, 2, ink);
    }
}

// Failures match, message and all: no library, a missing file, no font, a size FreeType
// refuses, text without width (with an outline, the outline's width). The error text is
// cleared first, so that an own failure that sets no message cannot pass on the real one's.
TEST_F(WebTtf, FailuresMatch) {
    const auto sameFailure = [](const std::string& what, auto real, auto own) {
        EXPECT_EQ(real(), nullptr) << what;
        const std::string realError = SDL_GetError();
        SDL_ClearError();
        EXPECT_EQ(own(), nullptr) << what;
        EXPECT_EQ(SDL_GetError(), realError) << what;
    };
    TTF_Quit();
    web::TTF_Quit();
    // Debian's TTF_OpenFont leaks its file when the library is not started: TTF_OpenFontRW.
    const auto notStarted = [] {
        SDL_RWops* file = SDL_RWFromFile(HEXIL_FONT_PATH, "rb");
        TTF_Font* font = TTF_OpenFontRW(file, 0, 11);
        SDL_RWclose(file);
        return font;
    };
    sameFailure("not started", notStarted, [] { return web::TTF_OpenFont(HEXIL_FONT_PATH, 11); });
    ASSERT_EQ(TTF_Init(), 0);
    ASSERT_EQ(web::TTF_Init(), 0);
    for (const char* path : {"no-such-font.ttf", "/etc/passwd", "/", HEXIL_FONT_PATH}) {
        const int size = path == std::string(HEXIL_FONT_PATH) ? 100000 : 11; // one FreeType refuses
        const auto real = [=] { return TTF_OpenFont(path, size); };
        sameFailure(path, real, [=] { return web::TTF_OpenFont(path, size); });
    }
    auto [real, own] = font(11, 0);
    const auto realEmpty = [&] { return TTF_RenderUTF8_Blended(real, "", ink); };
    sameFailure("empty text", realEmpty, [&] { return web::TTF_RenderUTF8_Blended(own, "", ink); });
    compare("", 11, 3, ink);
}

} // namespace
