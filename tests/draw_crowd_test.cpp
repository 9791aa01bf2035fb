// Crowded labels: a text that later texts hide is left out, and the frame stays the same to
// the pixel as one painted text by text.
#include "draw/surface_painter.h"
#include "draw/text_cover.h"
#include "draw_support.h"
#include "mesh/planar_mesh.h"

#include <cstring>
#include <limits>
#include <memory>

namespace {

// A triangulated n x n grid of unit squares, each split by its rising diagonal.
std::string gridObj(int n) {
    std::string text;
    for (int y = 0; y <= n; ++y) {
        for (int x = 0; x <= n; ++x) {
            text += "v " + std::to_string(x) + " " + std::to_string(y) + "\n";
        }
    }
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int a = y * (n + 1) + x + 1, b = a + 1, c = b + n + 1, d = a + n + 1;
            text += "f " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) +
                    "\nf " + std::to_string(a) + " " + std::to_string(c) + " " + std::to_string(d) +
                    "\n";
        }
    }
    return text;
}

// Where the two frames differ first, or empty.
std::string difference(const SDL_Surface* want, const SDL_Surface* got) {
    for (int y = 0; y < want->h; ++y) {
        for (int x = 0; x < want->w; ++x) {
            const Uint32 w = static_cast<const Uint32*>(want->pixels)[y * want->pitch / 4 + x];
            const Uint32 g = static_cast<const Uint32*>(got->pixels)[y * got->pitch / 4 + x];
            if (w != g) {
                return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        }
    }
    return "";
}

class CrowdTest : public DrawTest {
  protected:
    // Paints the frame with culling as given onto a fresh surface, and one text by text onto
    // another; expects the two the same. Returns how many texts were left out.
    std::size_t paintBothWays(TextCulling culling) {
        const Picture picture = framePicture(model, StatusLine{});
        SDL_Surface* each = blank(0);
        SDL_Surface* culled = blank(0);
        SurfacePainter byText{each, TextCulling{std::numeric_limits<std::size_t>::max()}};
        paint(picture, byText);
        SurfacePainter painter{culled, culling};
        painter.background();
        for (const FaceShape& f : picture.faces) {
            painter.face(f);
        }
        for (const ArrowShape& a : picture.arrows) {
            painter.arrow(a);
        }
        for (const DotShape& d : picture.dots) {
            painter.dot(d);
        }
        const std::size_t hidden = painter.texts(picture.texts);
        EXPECT_EQ(difference(each, culled), "") << picture.texts.size() << " texts";
        texts = picture.texts.size();
        SDL_FreeSurface(each);
        SDL_FreeSurface(culled);
        return hidden;
    }

    std::size_t texts = 0;
};

} // namespace

// 98,816 half-edges (twice 2 x 128 x 129 sides and 128 x 128 diagonals) in the mesh's part of the
// window: most labels lie under later ones. Holding all renderings, or only a megabyte of them (the
// rest rendered again), gives the frame painted text by text.
TEST_F(CrowdTest, HiddenLabelsAreLeftOutAndTheFrameStaysTheSame) {
    model.open(openMesh(gridObj(128), "grid.obj").mesh, startAngles);
    ASSERT_EQ(model.halfEdges.size(), 98816u);
    const std::size_t hidden = paintBothWays(TextCulling{});
    EXPECT_GT(hidden, texts / 3);
    EXPECT_EQ(paintBothWays(TextCulling{0, std::size_t{1} << 20}), hidden);
}

// The fan at N = 9999: its face and vertex labels, the last 20,000 texts, hide few others,
// so looking backs off to one block in eight, and the half-edge labels under them, of
// which whole blocks would be hidden, are mostly not looked at. Below the threshold
// nothing is looked for.
TEST_F(CrowdTest, WhereFewAreHiddenLookingBacksOffAndTheFrameStaysTheSame) {
    model.build(9999);
    EXPECT_LT(paintBothWays(TextCulling{}), 1024u);
    EXPECT_GT(texts, 20000u);
    EXPECT_EQ(paintBothWays(TextCulling{texts + 1}), 0u);
}

// A 3 x 2 block of full alpha straddling a word of the cover (columns 62 to 64), beside a
// pixel of alpha 254 at column 65, laid at (61, 10) with its own column 0 outside the clip.
TEST(TextCover, CoversExactlyTheFullAlphaPixelsInsideTheClip) {
    SDL_Surface* text = SDL_CreateRGBSurface(0, 5, 2, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    ASSERT_TRUE(text);
    for (int y = 0; y < 2; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(text->pixels) + y * text->pitch);
        row[0] = row[1] = row[2] = row[3] = 0xFF102030;
        row[4] = 0xFE102030;
    }
    TextCover cover(200, 50);
    cover.add(text, 61, 10, SDL_Rect{62, 0, 100, 50});
    const auto covered = [&](int x, int y, int w, int h) {
        return cover.covers(SDL_Rect{Sint16(x), Sint16(y), Uint16(w), Uint16(h)});
    };
    EXPECT_TRUE(covered(62, 10, 3, 2));
    EXPECT_TRUE(covered(64, 11, 1, 1));
    EXPECT_TRUE(covered(0, 0, 0, 0));
    EXPECT_FALSE(covered(61, 10, 1, 1)); // outside the clip
    EXPECT_FALSE(covered(65, 10, 1, 1)); // alpha 254
    EXPECT_FALSE(covered(62, 9, 3, 2));
    EXPECT_FALSE(covered(62, 11, 3, 2));
    EXPECT_FALSE(covered(62, 10, 4, 1));
    SDL_FreeSurface(text);
}
