#include "draw/arrow.h"
#include "draw/hit.h"
#include "draw/picture.h"
#include "model/subdivision.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>

// An arrow's points in order, all 0 for none.
std::array<int, 8> ends(const std::optional<Arrow>& arrow) {
    const Arrow a = arrow.value_or(Arrow{});
    return {a.from.x, a.from.y, a.to.x, a.to.y, a.wing1.x, a.wing1.y, a.wing2.x, a.wing2.y};
}

// Worked by hand: the hexagon's e0, e13 and e1; an upright arrow, (100, 200) to (100, 100),
// whose ends 104 and 196 move 2.5 to x 98 with wings 3.5 to each side and 6.06 down; a
// diagonal one, (100, 100) to (200, 200), pulled in 2.83 to 102 and 197 (truncated), moved
// (1.77, -1.77) truncated to (1, -1). For every half-edge h of a range of builds, against
// its twin: both share the shaft pulled 4 pixels in at both ends, moved off it in opposite
// directions, so the point 4 pixels short of h's head is the midpoint of h's tip and the
// twin's tail. Past 10 pixels h lies 1 to 2.5 pixels left of its way on screen, with
// 7-pixel wings ending 3.5 pixels (give or take 1.5) to either side of the shaft. Ends on
// one pixel have no arrow.
TEST(DrawArrow, WorkedNumbersAndEveryBuild) {
    const Pixel v0{325, 429}, v1{175, 429}, v2{100, 300};
    EXPECT_EQ((std::array{179, 427, 321, 427, 314, 423, 314, 430}), ends(halfEdgeArrow(v0, v1)));
    EXPECT_EQ((std::array{321, 431, 179, 431, 185, 434, 185, 427}), ends(halfEdgeArrow(v1, v0)));
    EXPECT_EQ((std::array{320, 429, 102, 303, 105, 309, 108, 303}), ends(halfEdgeArrow(v2, v0)));
    EXPECT_EQ((std::array{98, 196, 98, 104, 94, 110, 101, 110}),
              ends(halfEdgeArrow({100, 100}, {100, 200})));
    EXPECT_EQ((std::array{103, 101, 198, 196, 196, 189, 191, 194}),
              ends(halfEdgeArrow({200, 200}, {100, 100})));

    const auto distance = [](Pixel a, Pixel b) { return std::hypot(a.x - b.x, a.y - b.y); };
    // How far p lies left (< 0) or right of the line from a to b.
    const auto side = [&](Pixel p, Pixel a, Pixel b) {
        return ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / distance(a, b);
    };
    int samePixel = 0;
    for (int n : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 17, 40, 99, 360, 1000, 2500}) {
        Subdivision s;
        s.build(n);
        for (int h = 0; h < static_cast<int>(s.halfEdges.size()); ++h) {
            const Vertex& t = s.vertices[s.origin(h)];
            const Vertex& v = s.vertices[s.halfEdges[h].target];
            const Pixel tail{t.x, t.y}, head{v.x, v.y};
            const auto arrow = halfEdgeArrow(head, tail), twin = halfEdgeArrow(tail, head);
            if (distance(head, tail) == 0) {
                EXPECT_FALSE(arrow || twin);
                ++samePixel;
                continue;
            }
            ASSERT_TRUE(arrow && twin) << n << " e" << h;
            const int sx = arrow->to.x + twin->from.x, sy = arrow->to.y + twin->from.y;
            ASSERT_TRUE(sx % 2 == 0 && sy % 2 == 0) << n << " e" << h;
            const int ox = arrow->to.x - sx / 2, oy = arrow->to.y - sy / 2;
            EXPECT_NEAR(4.0, distance({sx / 2, sy / 2}, head), 1.5) << n << " e" << h;
            if (distance(head, tail) >= 10) {
                EXPECT_TRUE(ox * ox + oy * oy >= 1 && ox * ox + oy * oy <= 6) << n << " e" << h;
                EXPECT_LT((head.x - tail.x) * oy - (head.y - tail.y) * ox, 0) << n << " e" << h;
                EXPECT_NEAR(7.0, distance(arrow->wing1, arrow->to), 1.5) << n << " e" << h;
                EXPECT_NEAR(7.0, distance(arrow->wing2, arrow->to), 1.5) << n << " e" << h;
                EXPECT_NEAR(-3.5, side(arrow->wing1, arrow->from, arrow->to), 1.5) << n << h;
                EXPECT_NEAR(3.5, side(arrow->wing2, arrow->from, arrow->to), 1.5) << n << h;
            }
        }
    }
    EXPECT_GT(samePixel, 0);
}

// For N from 3 to 12, listing on and off, with each half-edge picked in turn: every arrow
// of the frame and of hit-testing is its half-edge's, from its origin to its target (those
// checked above), and the middle of its shaft picks its half-edge; the picked one's arrow
// and those of its next, prev and opp take their colours and come last, the picked one on
// top with a copy one pixel further from its edge. A point on an edge, 2 pixels from both
// twins, picks the lower number; points 8 pixels out from the boundary (6 from the outer
// arrow), every inner face's centre and the window's corners pick nothing.
TEST(DrawArrow, EveryArrowOfTheFrameIsItsHalfEdgesAndPicksIt) {
    const auto rgb = [](SDL_Color c) { return c.r << 16 | c.g << 8 | c.b; };
    const auto picks = [](const Subdivision& s, double x, double y) {
        return recordName(
            recordAt(s, static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))));
    };
    int ties = 0;
    for (int n = 3; n <= 12; ++n) {
        for (bool listing : {true, false}) {
            Subdivision s;
            s.showListing = listing;
            s.build(n);
            const std::string where = std::to_string(n) + (listing ? " listing" : "");
            // Beside each side of the polygon, and in each triangle's centre.
            const int cx = listing ? 250 : 500, cy = windowHeight / 2;
            for (int i = 0; i < n; ++i) {
                const Vertex &a = s.vertices[i], &b = s.vertices[(i + 1) % n],
                             &c = s.vertices[std::max(i - 1, 0)];
                const double mx = (a.x + b.x) / 2.0, my = (a.y + b.y) / 2.0;
                const double out = 1 + 8 / std::hypot(mx - cx, my - cy);
                EXPECT_EQ("", picks(s, cx + out * (mx - cx), cy + out * (my - cy)))
                    << where << " beside v" << i;
                EXPECT_TRUE(i < 2 || picks(s, (s.vertices[0].x + a.x + c.x) / 3,
                                           (s.vertices[0].y + a.y + c.y) / 3) == "")
                    << where << " triangle " << i;
            }
            for (auto [x, y] : {std::pair{0, 0}, {0, 599}, {427, 599}, {999, 0}, {427, 38}}) {
                EXPECT_EQ("", picks(s, x, y)) << where << " " << x << "," << y;
            }
            for (int picked = 0; picked < static_cast<int>(s.halfEdges.size()); ++picked) {
                s.select({RecordRef::halfEdge, picked});
                const Picture picture = framePicture(s, StatusLine{});
                ASSERT_EQ(s.halfEdges.size(), picture.arrows.size());
                const HalfEdge& e = s.halfEdges[picked];
                const int roles[] = {e.opp, e.prev, e.next, picked};
                const SDL_Color colors[] = {palette::oppEdgeColor, palette::prevEdgeColor,
                                            palette::nextEdgeColor, palette::pickedEdgeColor};
                for (std::size_t i = 0; i < picture.arrows.size(); ++i) {
                    const ArrowShape& shape = picture.arrows[i];
                    const int h = shape.halfEdge;
                    const int role =
                        static_cast<int>(i + 4) - static_cast<int>(picture.arrows.size());
                    const std::string what = where + " e" + std::to_string(h);
                    const Vertex& v = s.vertices[s.halfEdges[h].target];
                    const Vertex& t = s.vertices[s.origin(h)];
                    const auto expected = ends(halfEdgeArrow({v.x, v.y}, {t.x, t.y}));
                    EXPECT_EQ(expected, ends(shape.arrow)) << what;
                    EXPECT_EQ(expected, ends(halfEdgeArrow(s, h, arrowSide(s)))) << what;
                    const Arrow& a = shape.arrow;
                    const std::string name = recordName({RecordRef::halfEdge, h});
                    EXPECT_EQ(name, picks(s, (a.from.x + a.to.x) / 2, (a.from.y + a.to.y) / 2))
                        << what;
                    // On a level or upright edge both twins' arrows lie 2 pixels off it.
                    if (h < s.halfEdges[h].opp && (v.x == t.x || v.y == t.y)) {
                        ties += picked == 0;
                        EXPECT_EQ(name, picks(s, (v.x + t.x) / 2, (v.y + t.y) / 2)) << what;
                    }
                    EXPECT_EQ(role >= 0 ? roles[role] : -1, role >= 0 ? h : -1) << what;
                    EXPECT_EQ(rgb(role >= 0 ? colors[role] : palette::inkColor),
                              rgb(shape.lineColor))
                        << what;
                    EXPECT_EQ(h == picked, shape.heavy()) << what;
                    // The copy moves the shaft 0.7 to 1.5 pixels further from the edge line.
                    const Pixel o = shape.copyOffset;
                    const double away =
                        ((v.y - t.y) * o.x - (v.x - t.x) * o.y) / std::hypot(v.x - t.x, v.y - t.y);
                    EXPECT_TRUE(h != picked || (std::abs(o.x) <= 1 && std::abs(o.y) <= 1 &&
                                                away >= 0.7 && away <= 1.5))
                        << what;
                }
            }
        }
    }
    EXPECT_GT(ties, 10);
}
