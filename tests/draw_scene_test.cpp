#include "draw_support.h"
#include "scene.h"

#include <algorithm>
#include <vector>

namespace {

const Rgb white{255, 255, 255};

struct Box {
    int left = 1000, top = 600, right = -1, bottom = -1; // inclusive
};

} // namespace

class DrawSceneTest : public DrawTest {
  protected:
    std::vector<Uint32> snapshot() const {
        std::vector<Uint32> pixels;
        for (int i = 0; i < 1000 * 600; ++i) {
            pixels.push_back(raw(i % 1000, i / 1000));
        }
        return pixels;
    }

    void redraw() {
        SDL_FillRect(surface, nullptr, 0xffffff);
        draw(model, surface);
    }

    // The bounding box of the dark pixels in [x0, x1) x [y0, y1).
    Box darkBox(int x0, int y0, int x1, int y1) const {
        Box box;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (dark(at(x, y))) {
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                           std::max(box.bottom, y)};
                }
            }
        }
        return box;
    }
};

TEST_F(DrawSceneTest, DefaultPicture) {
    model.build(6);
    redraw();
    // Face labels are centred on the mean of the corners; a vertex's hangs right of and
    // below its centre, with the glyphs 2 pixels inside the halo. No arrow enters these
    // boxes.
    const Box f0 = darkBox(180, 376, 220, 396);
    EXPECT_NEAR(200, (f0.left + f0.right) / 2.0, 1);
    EXPECT_NEAR(386, (f0.top + f0.bottom) / 2.0, 1.5);
    const Box v5 = darkBox(401, 290, 440, 320);
    EXPECT_TRUE(v5.left >= 405 && v5.left <= 407 && v5.top >= 301 && v5.top <= 310);

    for (const Vertex& v : model.vertices) {
        for (auto [x, y] : {std::pair{0, 0}, {-4, 0}, {0, -4}, {3, 2}}) {
            EXPECT_EQ(rgb(model.vertexColor), at(v.x + x, v.y + y));
        }
        EXPECT_NE(rgb(model.vertexColor), at(v.x - 5, v.y));
    }
    // e0, from v1 to v0, runs 2 pixels above the edge and its twin e13 2 below.
    EXPECT_EQ(rgb(model.inkColor), at(250, 427));
    EXPECT_EQ(rgb(model.inkColor), at(250, 431));
    for (auto [x, y] : {std::pair{321, 427}, {314, 423}, {314, 430}, {179, 431}, {320, 429}}) {
        EXPECT_TRUE(dark(at(x, y))) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{250, 429}, {250, 415}, {230, 330}, {300, 300}, {990, 590}}) {
        EXPECT_EQ(white, at(x, y)) << x << "," << y;
    }
}

TEST_F(DrawSceneTest, PickedVertexGrowsAndHighlightsItsHalfEdges) {
    model.build(6);
    model.pick(325, 429);
    redraw();
    EXPECT_EQ(rgb(model.highlightColor), at(325 - 5, 429));
    EXPECT_EQ(rgb(model.highlightColor), at(325, 429 + 5));
    EXPECT_NE(rgb(model.vertexColor), at(400 + 5, 299));
    EXPECT_EQ(rgb(model.highlightColor), at(250, 427));                  // e0
    EXPECT_EQ(rgb(model.highlightColor), at(250, 431));                  // e13
    EXPECT_EQ(rgb(model.inkColor), at(250, 172));                        // e8, from v4 to v3
    EXPECT_GT(count(277, 420, 297, 440, near(model.highlightColor)), 0); // label e0
    EXPECT_GT(count(328, 431, 345, 445, near(model.highlightColor)), 0); // label v0
    EXPECT_EQ(count(200, 160, 225, 180, near(model.highlightColor)), 0); // label e8
}

TEST_F(DrawSceneTest, PickedFacesFillThemselvesAndTheirNeighbours) {
    model.build(6);
    model.pick(200, 386); // face 0; across its edges lie faces 4, 1, 4
    redraw();
    EXPECT_EQ(rgb(model.pickedFaceColor), at(250, 415));
    EXPECT_EQ(rgb(model.neighbourFaceColor), at(230, 330));
    EXPECT_EQ(white, at(300, 300));
    EXPECT_EQ(rgb(model.neighbourFaceColor), at(990, 590));
    EXPECT_GT(count(190, 376, 210, 396, near(model.highlightColor)), 0);
    EXPECT_GT(count(189, 289, 209, 309, near(model.neighbourLabelColor)), 0);
    EXPECT_GT(count(40, 290, 60, 310, near(model.neighbourLabelColor)), 0);
    EXPECT_EQ(count(264, 246, 284, 266, near(model.neighbourLabelColor)), 0);

    model.pick(600, 100); // the outer face; every triangle lies across one of its edges
    redraw();
    EXPECT_EQ(rgb(model.pickedFaceColor), at(990, 590));
    for (auto [x, y] : {std::pair{250, 415}, {230, 330}, {300, 300}}) {
        EXPECT_EQ(rgb(model.neighbourFaceColor), at(x, y)) << x << "," << y;
    }
    EXPECT_GT(count(40, 290, 60, 310, near(model.highlightColor)), 0);
}

TEST_F(DrawSceneTest, OuterFaceLabelMovesWithTheListing) {
    model.build(6);
    redraw();
    EXPECT_GT(count(30, 290, 70, 310, dark), 0);
    EXPECT_EQ(count(146, 290, 186, 310, dark), 0);

    model.showListing = false;
    model.build(6);
    redraw();
    EXPECT_EQ(count(30, 290, 70, 310, dark), 0);
    EXPECT_GT(count(146, 290, 186, 310, dark), 0);
    EXPECT_EQ(count(700, 0, 1000, 600, notWhite), 0);
}

TEST_F(DrawSceneTest, LabelsNearTheRightAndBottomEdgesMoveInside) {
    model.showListing = false;
    model.vertices = {{995, 100, -1}, {500, 597, -1}};
    redraw(); // v0 at 990 - w, v1 at 590 - h
    EXPECT_GT(count(940, 100, 990, 120, dark), 0);
    EXPECT_EQ(count(990, 100, 1000, 120, dark), 0);
    EXPECT_GT(count(500, 570, 540, 590, dark), 0);
    EXPECT_EQ(count(500, 590, 540, 600, dark), 0);

    // Two twins on the right edge: e0's label, centred on (999, 150), moves left to end at 1000.
    model.vertices = {{999, 100, 0}, {999, 300, 1}};
    model.halfEdges = {{0, -1, 1, 1, 1}, {1, -1, 0, 0, 0}};
    redraw();
    EXPECT_GT(count(960, 130, 991, 170, dark), 0);
}

TEST_F(DrawSceneTest, EmptyStructurePaintsOnlyTheListingTitles) {
    model.build(2);
    model.showListing = false;
    redraw();
    EXPECT_EQ(count(0, 0, 1000, 600, notWhite), 0);
    model.showListing = true;
    redraw();
    EXPECT_GT(count(428, 20, 1000, 39, dark), 0);
    EXPECT_EQ(count(0, 39, 1000, 600, notWhite), 0);
}

TEST_F(DrawSceneTest, HiddenLabelsLeaveThePictureAsIfThereWereNoFont) {
    model.showListing = false;
    model.build(6);
    model.pick(325, 429);
    model.showLabels = false;
    redraw();
    const std::vector<Uint32> hidden = snapshot();
    model.showLabels = true;
    redraw();
    EXPECT_NE(hidden, snapshot());
    model.font = nullptr;
    redraw();
    EXPECT_EQ(hidden, snapshot());
}
