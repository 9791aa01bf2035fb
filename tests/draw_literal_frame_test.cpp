#include "draw_support.h"
#include "oracle/literal_frame.h"
#include "scene.h"

#include <cstring>
#include <string>

namespace {

// The viewer's frame: white fill, the picture with its listing, the status line.
void viewerFrame(const Subdivision& s, int angles, Font* statusFont, SDL_Surface* screen) {
    SDL_Rect whole{0, 0, 1000, 600};
    SDL_FillRect(screen, &whole, 0xFFFFFF);
    draw(s, screen);
    SDL_Surface* status = renderOutlinedText(statusFont, 2, "Angles: " + std::to_string(angles),
                                             SDL_Color{20, 20, 20, 0}, SDL_Color{255, 255, 255, 0});
    if (status) {
        SDL_Rect place{10, 10, static_cast<Uint16>(status->w), static_cast<Uint16>(status->h)};
        SDL_UpperBlit(status, nullptr, screen, &place);
        SDL_FreeSurface(status);
    }
}

class LiteralFrameTest : public DrawTest {
  protected:
    LiteralFrameTest() {
        statusFont = openFontPair(HEXIL_FONT_PATH, 13);
        literalLabels = TTF_OpenFont(HEXIL_FONT_PATH, 11);
        literalStatus = TTF_OpenFont(HEXIL_FONT_PATH, 13);
        literal = SDL_CreateRGBSurface(SDL_SWSURFACE, 1000, 600, 32, 0xff0000, 0xff00, 0xff, 0);
    }
    ~LiteralFrameTest() override {
        SDL_FreeSurface(literal);
        TTF_CloseFont(literalStatus);
        TTF_CloseFont(literalLabels);
        closeFont(statusFont);
    }

    // Draws both frames of model and counts the pixels in which they differ; reports the
    // first one.
    void expectSameFrame(int angles, const std::string& what) {
        viewerFrame(model, angles, &statusFont, surface);
        literalFrame(model, angles, literalLabels, literalStatus, literal);
        int differing = 0;
        int firstX = -1;
        int firstY = -1;
        for (int y = 0; y < 600; ++y) {
            const auto* a = reinterpret_cast<const Uint32*>(
                static_cast<const Uint8*>(surface->pixels) + y * surface->pitch);
            const auto* b = reinterpret_cast<const Uint32*>(
                static_cast<const Uint8*>(literal->pixels) + y * literal->pitch);
            for (int x = 0; x < 1000; ++x) {
                if (a[x] != b[x]) {
                    if (differing++ == 0) {
                        firstX = x;
                        firstY = y;
                    }
                }
            }
        }
        EXPECT_EQ(0, differing) << what << ": first difference at (" << firstX << ", " << firstY
                                << ")";
        // A frame that drew nothing would match trivially.
        EXPECT_GT(count(0, 0, 1000, 600, dark), 100) << what;
    }

    // Every view of a structure: plain, with a vertex, an inner face and the outer face
    // picked, and with the labels or the listing switched off.
    void expectEveryViewSame(int n) {
        const std::string at = "N = " + std::to_string(n);
        model.build(n);
        expectSameFrame(n, at);
        model.pick(model.vertices[0].x, model.vertices[0].y);
        ASSERT_EQ(0, model.pickedVertex);
        expectSameFrame(n, at + ", vertex 0 picked");
        model.pick(model.vertices[n / 2].x, model.vertices[n / 2].y);
        expectSameFrame(n, at + ", a middle vertex picked");
        // The triangle across from vertex 0 has its centre far from every corner.
        const int face = (n - 2) / 2;
        const auto corners = model.faceVertices(face);
        model.pick((corners[0].x + corners[1].x + corners[2].x) / 3,
                   (corners[0].y + corners[1].y + corners[2].y) / 3);
        ASSERT_EQ(face, model.pickedFace) << at;
        expectSameFrame(n, at + ", a triangle picked");
        model.pick(700, 580);
        ASSERT_EQ(static_cast<int>(model.faces.size()) - 1, model.pickedFace) << at;
        expectSameFrame(n, at + ", the outer face picked");
        model.showLabels = false;
        expectSameFrame(n, at + ", labels off");
        model.showListing = false;
        model.build(n);
        model.pick(990, 10);
        expectSameFrame(n, at + ", labels and listing off");
        model.showLabels = true;
        expectSameFrame(n, at + ", listing off");
        model.showListing = true;
    }

    Font statusFont;
    TTF_Font* literalLabels = nullptr;
    TTF_Font* literalStatus = nullptr;
    SDL_Surface* literal = nullptr;
};

TEST_F(LiteralFrameTest, HexagonFrameMatchesTheLiteralFrame) {
    ASSERT_TRUE(font.plain && statusFont.plain && literalLabels && literalStatus);
    expectEveryViewSame(6);
}

// Fewer views here: a literal frame with 394 listing rows takes most of a second.
TEST_F(LiteralFrameTest, HundredCornerFrameMatchesTheLiteralFrame) {
    ASSERT_TRUE(font.plain && statusFont.plain && literalLabels && literalStatus);
    model.build(100);
    expectSameFrame(100, "N = 100");
    model.pick(model.vertices[50].x, model.vertices[50].y);
    // Corners lie 9 pixels apart, so the one before it is within reach and wins.
    ASSERT_EQ(49, model.pickedVertex);
    expectSameFrame(100, "N = 100, vertex 49 picked");
    model.pick(700, 580);
    ASSERT_EQ(98, model.pickedFace);
    expectSameFrame(100, "N = 100, the outer face picked");
    model.showListing = false;
    model.build(100);
    model.pick(990, 10);
    expectSameFrame(100, "N = 100, listing off, the outer face picked");
}

TEST_F(LiteralFrameTest, SmallestAndEmptyFramesMatchTheLiteralFrame) {
    ASSERT_TRUE(font.plain && statusFont.plain && literalLabels && literalStatus);
    expectEveryViewSame(3);
    model.build(0);
    expectSameFrame(0, "N = 0");
}

} // namespace
