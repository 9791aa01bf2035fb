#include "draw/frame.h"
#include "draw_support.h"

#include <list>
#include <tuple>

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
        {6, -1, -1, {{250, 415, paper}, {230, 330, paper}, {300, 300, paper}, {990, 590, paper}, {250, 427, ink}, {250, 431, ink},
                     {250, 429, paper}, {321, 427, ink}, {314, 423, ink}, {314, 430, ink}, {179, 431, ink}, {320, 429, ink},
                     {193, 379, ink, "f0"}, {43, 293, ink, "f4"}, {278, 422, ink, "e0"}}},
        {6, 325, 429, {{250, 427, hl}, {250, 431, hl}, {250, 172, ink}, {278, 422, hl, "e0"}, {202, 163, ink, "e8"}}},
        {6, 200, 386, {{250, 415, picked}, {230, 330, nbFace}, {300, 300, paper}, {990, 590, nbFace}, {193, 379, hl, "f0"},
                       {192, 292, nbLabel, "f1"}, {267, 249, ink, "f2"}, {43, 293, nbLabel, "f4"}}},
        {6, 600, 100, {{990, 590, picked}, {250, 415, nbFace}, {230, 330, nbFace}, {300, 300, nbFace}, {193, 379, nbLabel, "f0"},
                       {43, 293, hl, "f4"}}},
        {3, 175, 429, {{428, 20, ink, "List of vertices (3):"}, {600, 20, ink, "List of faces (2):"}, {705, 20, ink, "List of half-edges (6):"},
                       {428, 39, hl, "v0"}, {468, 39, hl, "x: 175"}, {508, 39, hl, "y: 429"}, {548, 39, hl, "e1"}, {428, 67, ink, "v2"},
                       {468, 67, ink, "x: 400"}, {600, 39, ink, "f0"}, {600, 53, ink, "f1"}, {630, 53, ink, "e5"}, {705, 39, hl, "e0"},
                       {705, 53, hl, "e1"}, {705, 67, ink, "e2"}, {705, 81, hl, "e3"}, {705, 95, hl, "e4"}, {735, 95, hl, "v1"},
                       {765, 95, hl, "f1"}, {795, 95, hl, "next: e5"}, {855, 95, hl, "prev: e3"}, {915, 95, hl, "opp: e0"},
                       {705, 109, ink, "e5"}}},
        {3, 249, 299, {{428, 39, ink, "v0"}, {600, 39, hl, "f0"}, {630, 39, hl, "e0"}, {600, 53, nbLabel, "f1"}, {630, 53, nbLabel, "e5"},
                       {705, 39, ink, "e0"}}},
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

// The hexagon walked from f0 (a face has no next) to e13: e13's arrow, label and row in
// the picked colour, its arrow doubled one pixel further from its edge (y 431 and 432);
// e14's, e12's and e0's in the next, prev and opp colours. The walk line under the status
// line, its fifth step on a second line; no walk, no line.
TEST_F(DrawSceneTest, AWalkColoursTheHalfEdgesAndIsWrittenUnderTheStatusLine) {
    constexpr Color pickedEdge{186, 68, 104, 0}, next{0, 0, 240, 0}, prev{0, 90, 0, 0},
        opp{118, 28, 103, 0};
    Font status = openFontPair(HEXIL_FONT_PATH, 13);
    model.build(6);
    model.select({RecordRef::face, 0});
    EXPECT_FALSE(model.step(Step::next));
    for (char letter : std::string("epno")) {
        EXPECT_TRUE(model.step(*stepForLetter(letter))) << letter;
    }
    const auto draw = [&] {
        SDL_FillRect(surface, nullptr, 0xffffff);
        drawFrame(surface, model, StatusLine{&status, 6});
    };
    draw();
    EXPECT_TRUE(shows("f0.edge.prev.next.opp = e13", 10, 30, ink, &status));
    const auto labelAt = [&](const char* text, int h, Color color) {
        SDL_Surface* r = renderOutlinedText(&font, textOutlineWidth, text, color, paper);
        const Vertex &v = model.vertices[model.halfEdges[h].target],
                     &t = model.vertices[model.origin(h)];
        const Check check{(v.x + (v.x + t.x) / 2) / 2 - r->w / 2,
                          (v.y + (v.y + t.y) / 2) / 2 - r->h / 2, color, text};
        SDL_FreeSurface(r);
        return check;
    };
    std::vector<Check> checks{
        {250, 431, pickedEdge}, {250, 432, pickedEdge}, {250, 427, opp}, {250, 426, paper}};
    // Wings end away from dots and, with labels hidden, under nothing: their last pixel is
    // the line's colour itself. The picked arrow's copy ends one pixel lower.
    std::vector<Check> wingEnds{{185, 435, pickedEdge}, {185, 428, pickedEdge}};
    std::list<std::string> texts; // the checks' texts, which must outlive them
    const auto keep = [&](std::string text) { return texts.emplace_back(text).c_str(); };
    const std::pair<int, Color> roles[] = {{13, pickedEdge}, {14, next}, {12, prev}, {0, opp}};
    for (auto [h, color] : roles) {
        const Arrow a = halfEdgeArrow(model, h, ArrowSide::left).value();
        const HalfEdge& e = model.halfEdges[h];
        wingEnds.insert(wingEnds.end(),
                        {{a.wing1.x, a.wing1.y, color}, {a.wing2.x, a.wing2.y, color}});
        checks.push_back(labelAt(keep("e" + std::to_string(h)), h, color));
        // clang-format off
        const std::tuple<int, const char*, int> items[] = {{705, "e", h}, {735, "v", e.target}, {765, "f", e.face},
            {795, "next: e", e.next}, {855, "prev: e", e.prev}, {915, "opp: e", e.opp}};
        // clang-format on
        for (auto [x, name, number] : items) {
            checks.push_back({x, 39 + 14 * h, color, keep(name + std::to_string(number))});
        }
    }
    checks.push_back({705, 39 + 14, ink, "e1"});
    expectShown(checks, "walk");
    model.showLabels = false;
    draw();
    expectShown(wingEnds, "wing ends");
    model.showLabels = true;
    EXPECT_TRUE(model.step(Step::next));
    draw();
    EXPECT_TRUE(shows("f0.edge.prev.next.opp", 10, 30, ink, &status));
    EXPECT_TRUE(shows(".next = e14", 22, 50, ink, &status));
    model.select({RecordRef::halfEdge, 13});
    draw();
    EXPECT_EQ(0, inked(0, 31, 428, 80));
    closeFont(status);
}
