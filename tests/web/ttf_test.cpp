// The web build's SDL_ttf equivalent (namespace web) against Debian's real SDL_ttf 2.0.11:
// every surface must agree in size, pitch, format and every 32-bit pixel.
#include "web/sdl_ttf/SDL_ttf.h"

#include <SDL/SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

const SDL_Color ink{20, 20, 20, 0};
const SDL_Color paper{255, 255, 255, 0};
const SDL_Color highlight{250, 130, 100, 0};
const SDL_Color neighbourLabel{40, 150, 7, 0};

// Both libraries' handles on the font at one size and outline width.
struct FontPair {
    TTF_Font* real = nullptr;
    web::TTF_Font* own = nullptr;
};

std::string describe(const std::string& text, int size, int outline, SDL_Color color) {
    std::ostringstream out;
    out << '"' << text << "\" at " << size << " pt, outline " << outline << ", colour ("
        << int{color.r} << ',' << int{color.g} << ',' << int{color.b} << ')';
    return out.str();
}

// Empty when both surfaces are the same to the byte, else what differs first.
std::string difference(const SDL_Surface* want, const SDL_Surface* got) {
    std::ostringstream out;
    if (!want || !got) {
        out << (want ? "" : "no real surface ") << (got ? "" : "no own surface");
        return out.str();
    }
    const SDL_PixelFormat& a = *want->format;
    const SDL_PixelFormat& b = *got->format;
    if (want->w != got->w || want->h != got->h || want->pitch != got->pitch ||
        a.BitsPerPixel != b.BitsPerPixel || a.Rmask != b.Rmask || a.Gmask != b.Gmask ||
        a.Bmask != b.Bmask || a.Amask != b.Amask) {
        out << "surface " << want->w << 'x' << want->h << " pitch " << want->pitch << " vs "
            << got->w << 'x' << got->h << " pitch " << got->pitch << " (or its format)";
        return out.str();
    }
    const auto* wantPixels = static_cast<const Uint32*>(want->pixels);
    const auto* gotPixels = static_cast<const Uint32*>(got->pixels);
    for (int y = 0; y < want->h; ++y) {
        for (int x = 0; x < want->w; ++x) {
            const int at = y * want->pitch / 4 + x;
            if (wantPixels[at] != gotPixels[at]) {
                out << "pixel (" << x << ", " << y << ") of " << want->w << 'x' << want->h << ": 0x"
                    << std::hex << wantPixels[at] << " vs 0x" << gotPixels[at];
                return out.str();
            }
        }
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
            TTF_CloseFont(fonts.real);
            web::TTF_CloseFont(fonts.own);
        }
        web::TTF_Quit();
        TTF_Quit();
    }

    // The handles at size kept at outline, opened once as the viewer keeps them.
    FontPair& font(int size, int outline) {
        FontPair& fonts = opened[{size, outline}];
        if (!fonts.real) {
            fonts = {TTF_OpenFont(HEXIL_FONT_PATH, size), web::TTF_OpenFont(HEXIL_FONT_PATH, size)};
            EXPECT_TRUE(fonts.real && fonts.own);
            TTF_SetFontOutline(fonts.real, outline);
            web::TTF_SetFontOutline(fonts.own, outline);
        }
        return fonts;
    }

    // Renders text with both and records a mismatch under the case's name.
    void compare(FontPair& fonts, const std::string& text, SDL_Color color,
                 const std::string& name) {
        SDL_Surface* want = TTF_RenderUTF8_Blended(fonts.real, text.c_str(), color);
        SDL_Surface* got = web::TTF_RenderUTF8_Blended(fonts.own, text.c_str(), color);
        const std::string differs = difference(want, got);
        EXPECT_EQ(differs, "") << name;
        compared += 1;
        mismatched += differs.empty() ? 0 : 1;
        SDL_FreeSurface(want);
        SDL_FreeSurface(got);
    }

    std::map<std::pair<int, int>, FontPair> opened;
    int compared = 0;
    int mismatched = 0;
};

// Every text of the viewer's screens: the status line at 13 points, the labels and the
// listing at 11, with the labels' 2-pixel halo and without, in each of the viewer's colours.
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
                compare(font(size, outline), text, color, describe(text, size, outline, color));
            }
        }
    }
    EXPECT_EQ(mismatched, 0) << "of " << compared << " texts";
    EXPECT_EQ(compared, static_cast<int>(texts.size()) * 8);
}

// Random printable strings at random sizes, outlines and colours on one handle per size
// whose outline is switched before each text and back off after it, as the viewer's
// single-handle fallback does.
TEST_F(WebTtf, RandomTextsMatchByteForByteWhileTheOutlineToggles) {
    std::mt19937 random(20240613);
    auto among = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const int cases = 400;
    for (int i = 0; i < cases; ++i) {
        std::string text(among(1, 30), ' ');
        for (char& c : text) {
            c = static_cast<char>(among(0x20, 0x7E));
        }
        const int size = among(6, 40);
        const int outline = among(0, 4);
        const SDL_Color color{static_cast<Uint8>(among(0, 255)), static_cast<Uint8>(among(0, 255)),
                              static_cast<Uint8>(among(0, 255)), 0};
        FontPair& fonts = font(size, 0);
        TTF_SetFontOutline(fonts.real, outline);
        web::TTF_SetFontOutline(fonts.own, outline);
        compare(fonts, text, color,
                "case " + std::to_string(i) + ": " + describe(text, size, outline, color));
        TTF_SetFontOutline(fonts.real, 0);
        web::TTF_SetFontOutline(fonts.own, 0);
        compare(fonts, text, color,
                "case " + std::to_string(i) + " again: " + describe(text, size, 0, color));
    }
    EXPECT_EQ(mismatched, 0) << "of " << compared << " texts";
}

// Text beyond ASCII: accented letters, byte order marks (a swapped one swaps the bytes of
// what follows), a character past 16 bits, malformed sequences and an encoded 0; and at
// 6 points a combining accent after a space, which reaches left of the surface's left edge
// and so lands at the end of the row above.
TEST_F(WebTtf, Utf8TextMatchesByteForByte) {
    const std::pair<const char*, int> texts[] = {
        {"Rozl\xC3\xADšenie ľ\xE2\x82\xAC", 13},
        {"\xEF\xBB\xBFv0", 13},
        {"x\xF0\x9F\x98\x80z", 13},
        {"x\x80z", 13},
        {"x\xC3", 13},
        {"\xE2\x82x", 13},
        {"\xFF\xFEz", 13},
        {"\xEF\xBF\xBEmn\xEF\xBB\xBFpq", 13},
        {"x\xC0\x80z", 13},
        {" \xCC\x80", 6},
        {" \xCC\x88v0", 6},
    };
    for (const auto& [text, size] : texts) {
        for (int outline : {0, 2}) {
            compare(font(size, outline), text, ink, describe(text, size, outline, ink));
        }
    }
}

// What fails fails alike, with the same message: no library, a missing file, a file that is
// no font, a size FreeType refuses, and text without width. Sizes below 1 point open and render
// alike.
TEST_F(WebTtf, FailuresAndOddSizesMatch) {
    TTF_Quit();
    web::TTF_Quit();
    const auto expectSameFailure = [](TTF_Font* real, web::TTF_Font* own, const char* what) {
        EXPECT_EQ(real, nullptr) << what;
        const std::string realError = SDL_GetError();
        EXPECT_EQ(own, nullptr) << what;
        EXPECT_EQ(SDL_GetError(), realError) << what;
    };
    expectSameFailure(TTF_OpenFont(HEXIL_FONT_PATH, 11), web::TTF_OpenFont(HEXIL_FONT_PATH, 11),
                      "before TTF_Init");
    ASSERT_EQ(TTF_Init(), 0);
    ASSERT_EQ(web::TTF_Init(), 0);
    for (const char* path : {"no-such-font.ttf", "/etc/passwd", "/"}) {
        expectSameFailure(TTF_OpenFont(path, 11), web::TTF_OpenFont(path, 11), path);
    }
    expectSameFailure(TTF_OpenFont(HEXIL_FONT_PATH, 100000),
                      web::TTF_OpenFont(HEXIL_FONT_PATH, 100000), "100000 pt");

    FontPair& fonts = font(11, 0);
    EXPECT_EQ(TTF_RenderUTF8_Blended(fonts.real, "", ink), nullptr);
    const std::string realEmpty = SDL_GetError();
    EXPECT_EQ(web::TTF_RenderUTF8_Blended(fonts.own, "", ink), nullptr);
    EXPECT_EQ(SDL_GetError(), realEmpty);
    for (int outline : {1, 3}) {
        compare(font(11, outline), "", ink, describe("", 11, outline, ink));
    }
    for (int size : {0, -3}) {
        for (int outline : {0, 2}) {
            compare(font(size, outline), "v0 e-1", ink, describe("v0 e-1", size, outline, ink));
        }
    }
}

} // namespace
