#include "arrow.h"
#include "subdivision.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

using Points = std::array<int, 8>; // from, to, wing1, wing2

Points points(const Arrow& a) {
    return {a.from.x, a.from.y, a.to.x, a.to.y, a.wing1.x, a.wing1.y, a.wing2.x, a.wing2.y};
}

double distance(Pixel a, Pixel b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

} // namespace

TEST(DrawArrow, HexagonWorkedNumbers) {
    const Pixel v0{325, 429}, v1{175, 429}, v2{100, 300};
    EXPECT_EQ((Points{179, 427, 321, 427, 314, 423, 314, 430}), points(*halfEdgeArrow(v0, v1)));
    EXPECT_EQ((Points{321, 431, 179, 431, 185, 434, 185, 427}), points(*halfEdgeArrow(v1, v0)));
    EXPECT_EQ((Points{320, 429, 102, 303, 105, 309, 108, 303}), points(*halfEdgeArrow(v2, v0)));
    EXPECT_FALSE(halfEdgeArrow({7, 9}, {7, 9}));
}

// Twins share the shaft pulled 4 pixels in from both ends and are moved off it in
// opposite directions, so the point under h's tip is the midpoint of h's tip and the
// twin's tail.
TEST(DrawArrow, EveryBuildKeepsTwinsApartAndTipsShort) {
    int samePixel = 0;
    int reversed = 0;
    for (int n : {3, 4, 5, 6, 7, 8, 12, 17, 40, 99, 360, 1000, 2500}) {
        Subdivision s;
        s.build(n);
        for (int h = 0; h < static_cast<int>(s.halfEdges.size()); ++h) {
            const Vertex& t = s.vertices[s.origin(h)];
            const Vertex& v = s.vertices[s.halfEdges[h].target];
            const Pixel tail{t.x, t.y}, head{v.x, v.y};
            const std::optional<Arrow> arrow = halfEdgeArrow(head, tail);
            const std::optional<Arrow> twin = halfEdgeArrow(tail, head);
            if (distance(head, tail) == 0) {
                EXPECT_FALSE(arrow || twin);
                ++samePixel;
                continue;
            }
            ASSERT_TRUE(arrow && twin) << n << " e" << h;
            const int sx = arrow->to.x + twin->from.x, sy = arrow->to.y + twin->from.y;
            ASSERT_TRUE(sx % 2 == 0 && sy % 2 == 0) << n << " e" << h;
            const Pixel base{sx / 2, sy / 2};
            EXPECT_NEAR(4.0, distance(base, head), 1.5) << n << " e" << h;
            // Only a shaft shrunk to a point has no direction to move off sideways in.
            const int ox = arrow->to.x - base.x, oy = arrow->to.y - base.y;
            const int point = arrow->from.x == arrow->to.x && arrow->from.y == arrow->to.y;
            EXPECT_TRUE(ox * ox + oy * oy >= 1 - point && ox * ox + oy * oy <= 6) << n << " e" << h;
            // Shorter than the two pulls, an edge's shaft runs backwards; longer, the arrow
            // lies left of the way it runs as seen on screen, with 7-pixel wings.
            if (distance(head, tail) < 10) {
                ++reversed;
                continue;
            }
            EXPECT_LT((head.x - tail.x) * oy - (head.y - tail.y) * ox, 0) << n << " e" << h;
            EXPECT_NEAR(7.0, distance(arrow->wing1, arrow->to), 1.5) << n << " e" << h;
            EXPECT_NEAR(7.0, distance(arrow->wing2, arrow->to), 1.5) << n << " e" << h;
        }
    }
    EXPECT_GT(samePixel, 0);
    EXPECT_GT(reversed, 0);
}
