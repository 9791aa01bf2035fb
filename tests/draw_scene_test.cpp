#include "draw/frame.h"
#include "draw_support.h"

using DrawSceneTest = DrawTest;

// The hexagon with nothing, v0, f0 and the outer face picked, then the triangle's listing
// with v0, f0 and the outside picked. Labels are 18 x 15 (faces' 15 wide): f0's centred on
// (200, 386), the outer face's on (50, 300), e0's on (287, 429), a quarter from its head.
// Twins e0 and e13 run at y 427 and 431 beside the white edge; rows 14 apart from y 39.
TEST_F(DrawSceneTest, EachSelectionColoursThePictureAndTheListing) {
    struct View {
        int n, x, y; // the click, none for x = -1
        std::vector<Check> checks;
    };
    // clang-format off
    const View views[] = {
        {6, -1, -1, {{250, 415, paper}, {230, 330, paper}, {300, 300, paper}, {990, 590, paper},
                     {250, 427, ink}, {250, 431, ink}, {250, 429, paper}, {321, 427, ink},
                     {314, 423, ink}, {314, 430, ink}, {179, 431, ink}, {320, 429, ink},
                     {193, 379, ink, "f0"}, {43, 293, ink, "f4"}, {278, 422, ink, "e0"}}},
        {6, 325, 429, {{250, 427, hl}, {250, 431, hl}, {250, 172, ink}, {278, 422, hl, "e0"},
                       {202, 163, ink, "e8"}}},
        {6, 200, 386, {{250, 415, picked}, {230, 330, nbFace}, {300, 300, paper},
                       {990, 590, nbFace}, {193, 379, hl, "f0"}, {192, 292, nbLabel, "f1"},
                       {267, 249, ink, "f2"}, {43, 293, nbLabel, "f4"}}},
        {6, 600, 100, {{990, 590, picked}, {250, 415, nbFace}, {230, 330, nbFace},
                       {300, 300, nbFace}, {193, 379, nbLabel, "f0"}, {43, 293, hl, "f4"}}},
        {3, 175, 429, {{428, 20, ink, "List of vertices (3):"}, {600, 20, ink, "List of faces (2):"},
                       {705, 20, ink, "List of half-edges (6):"}, {428, 39, hl, "v0"},
                       {468, 39, hl, "x: 175"}, {508, 39, hl, "y: 429"}, {548, 39, hl, "e1"},
                       {428, 67, ink, "v2"}, {468, 67, ink, "x: 400"}, {600, 39, ink, "f0"},
                       {600, 53, ink, "f1"}, {630, 53, ink, "e5"}, {705, 39, hl, "e0"},
                       {705, 53, hl, "e1"}, {705, 67, ink, "e2"}, {705, 81, hl, "e3"},
                       {705, 95, hl, "e4"}, {735, 95, hl, "v1"}, {765, 95, hl, "f1"},
                       {795, 95, hl, "next: e5"}, {855, 95, hl, "prev: e3"},
                       {915, 95, hl, "opp: e0"}, {705, 109, ink, "e5"}}},
        {3, 249, 299, {{428, 39, ink, "v0"}, {600, 39, hl, "f0"}, {630, 39, hl, "e0"},
                       {600, 53, nbLabel, "f1"}, {630, 53, nbLabel, "e5"}, {705, 39, ink, "e0"}}},
        {3, 600, 100, {{600, 39, nbLabel, "f0"}, {600, 53, hl, "f1"}}}};
    // clang-format on
    for (const View& view : views) {
        model.build(view.n);
        if (view.x >= 0) {
            model.pick(view.x, view.y);
        }
        redraw();
        const std::string what = std::to_string(view.n) + " click " + std::to_string(view.x);
        expectShown(view.checks, what);
        // Dots of radius 4 (the picked one 5) with their labels 3 pixels right: v2's (103, 300).
        for (int v = 0; v < view.n; ++v) {
            const bool big = v == model.pickedVertex;
            const Uint32 color = pixel(big ? hl : vertexBlue);
            const int x = model.vertices[v].x, y = model.vertices[v].y, r = big ? 5 : 4;
            for (auto [dx, dy] : {std::pair{0, 0}, {-r, 0}, {0, -r}, {0, r}}) {
                EXPECT_EQ(color, at(surface, x + dx, y + dy)) << what << " v" << v;
            }
            EXPECT_NE(color, at(surface, x - r - 1, y)) << what << " v" << v;
            expectShown({{x + 3, y, big ? hl : ink, ("v" + std::to_string(v)).c_str()}}, what);
        }
    }
}

// Without the listing the outer face's label moves from (50, 300) to (166, 300). Hidden
// labels leave the picture as if there were no font. An empty structure paints only the
// listing's titles. The frame adds the status line "Angles: N" at 13 points at (10, 10).
TEST_F(DrawSceneTest, DisplaySwitchesAndTheStatusLine) {
    Font status = openFontPair(HEXIL_FONT_PATH, 13);
    model.showListing = false;
    model.build(6);
    drawFrame(surface, model, StatusLine{&status, 65});
    EXPECT_TRUE(shows("Angles: 65", 10, 10, ink, &status));
    closeFont(status);
    redraw();
    EXPECT_TRUE(shows("f4", 159, 293, ink));
    EXPECT_FALSE(shows("f4", 43, 293, ink));
    EXPECT_EQ(0, inked(700, 0, 1000, 600));
    const auto picture = [&] {
        redraw();
        const auto* p = static_cast<const Uint32*>(surface->pixels);
        return std::vector<Uint32>(p, p + 1000 * 600);
    };
    model.pick(model.vertices[0].x, model.vertices[0].y);
    model.showLabels = false;
    const std::vector<Uint32> hidden = picture();
    model.showLabels = true;
    EXPECT_NE(hidden, picture());
    model.font = nullptr;
    EXPECT_EQ(hidden, picture());

    model.font = &font;
    model.build(2);
    redraw();
    EXPECT_EQ(0, inked(0, 0, 1000, 600));
    model.showListing = true;
    redraw();
    EXPECT_TRUE(shows("List of vertices (0):", 428, 20, ink));
    EXPECT_EQ(0, inked(0, 39, 1000, 600));
}

// Labels past an edge move inside, vertices' 10 pixels in, e0's and e1's (centred on x 999)
// to end at 1000. Listing rows from y = 600 on are not drawn, even where 16 bits wrap.
TEST_F(DrawSceneTest, NothingSpillsPastTheRightOrBottomEdge) {
    model.showListing = false;
    model.vertices = {{999, 100, 0}, {999, 300, 1}, {500, 597, -1}};
    model.halfEdges = {{0, -1, 1, 1, 1}, {1, -1, 0, 0, 0}};
    redraw();
    expectShown({{972, 100, ink, "v0"},
                 {972, 300, ink, "v1"},
                 {503, 575, ink, "v2"},
                 {982, 143, ink, "e0"},
                 {982, 243, ink, "e1"}},
                "edges");

    model = Subdivision(&font);
    model.showLabels = false;
    model.vertices.assign(41, Vertex{});
    redraw();
    const int rowsInside = inked(428, 39, 600, 600);
    model.vertices.assign(5000, Vertex{});
    redraw();
    EXPECT_EQ(rowsInside, inked(428, 39, 600, 600));
    EXPECT_GT(inked(428, 585, 600, 600), 0);
}
