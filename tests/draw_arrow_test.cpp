#include "draw/arrow.h"
#include "model/subdivision.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

// The hexagon's e0, e13 and e1. For every half-edge h of a range of builds: twins share
// the shaft pulled 4 pixels in at both ends, moved off it in opposite directions, so the
// point 4 pixels short of h's head is the midpoint of h's tip and the twin's tail. Past
// 10 pixels h lies 1 to 2.5 pixels left of its way on screen, with 7-pixel wings. Ends
// on one pixel have no arrow.
TEST(DrawArrow, HexagonWorkedNumbersAndEveryBuild) {
    const auto points = [](Pixel head, Pixel tail) {
        const Arrow a = halfEdgeArrow(head, tail).value();
        return std::array{a.from.x,  a.from.y,  a.to.x,    a.to.y,
                          a.wing1.x, a.wing1.y, a.wing2.x, a.wing2.y};
    };
    const Pixel v0{325, 429}, v1{175, 429}, v2{100, 300};
    EXPECT_EQ((std::array{179, 427, 321, 427, 314, 423, 314, 430}), points(v0, v1));
    EXPECT_EQ((std::array{321, 431, 179, 431, 185, 434, 185, 427}), points(v1, v0));
    EXPECT_EQ((std::array{320, 429, 102, 303, 105, 309, 108, 303}), points(v2, v0));

    const auto distance = [](Pixel a, Pixel b) { return std::hypot(a.x - b.x, a.y - b.y); };
    int samePixel = 0;
    for (int n : {3, 4, 5, 6, 7, 8, 12, 17, 40, 99, 360, 1000, 2500}) {
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
            }
        }
    }
    EXPECT_GT(samePixel, 0);
}
