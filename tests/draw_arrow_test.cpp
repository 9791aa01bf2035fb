#include "arrow.h"
#include "subdivision.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

bool operator==(Pixel a, Pixel b) {
    return a.x == b.x && a.y == b.y;
}

void expectArrow(Pixel head, Pixel tail, Pixel from, Pixel to, Pixel wing1, Pixel wing2) {
    const std::optional<Arrow> arrow = halfEdgeArrow(head, tail);
    ASSERT_TRUE(arrow);
    EXPECT_TRUE(arrow->from == from) << arrow->from.x << "," << arrow->from.y;
    EXPECT_TRUE(arrow->to == to) << arrow->to.x << "," << arrow->to.y;
    EXPECT_TRUE(arrow->wing1 == wing1) << arrow->wing1.x << "," << arrow->wing1.y;
    EXPECT_TRUE(arrow->wing2 == wing2) << arrow->wing2.x << "," << arrow->wing2.y;
}

double distance(Pixel a, Pixel b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

} // namespace

TEST(DrawArrow, HexagonWorkedNumbers) {
    const Pixel v0{325, 429}, v1{175, 429}, v2{100, 300};
    expectArrow(v0, v1, {179, 427}, {321, 427}, {314, 423}, {314, 430}); // e0
    expectArrow(v1, v0, {321, 431}, {179, 431}, {185, 434}, {185, 427}); // e13, its twin
    expectArrow(v2, v0, {320, 429}, {102, 303}, {105, 309}, {108, 303}); // e1
    EXPECT_FALSE(halfEdgeArrow({7, 9}, {7, 9}));
}

// Twins share the shaft pulled 4 pixels in from both ends and are moved off it in
// opposite directions, so the base point under h's tip is the midpoint of h's tip and the
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
            if (head == tail) {
                EXPECT_FALSE(arrow || twin);
                ++samePixel;
                continue;
            }
            ASSERT_TRUE(arrow && twin) << n << " e" << h;
            const int sx = arrow->to.x + twin->from.x, sy = arrow->to.y + twin->from.y;
            ASSERT_TRUE(sx % 2 == 0 && sy % 2 == 0) << n << " e" << h;
            const Pixel base{sx / 2, sy / 2};
            EXPECT_NEAR(4.0, distance(base, head), 1.5) << n << " e" << h;
            const int ox = arrow->to.x - base.x, oy = arrow->to.y - base.y;
            // Only a shaft shrunk to a point has no direction to move off sideways in.
            const bool point = arrow->from == arrow->to;
            EXPECT_TRUE(ox * ox + oy * oy >= (point ? 0 : 1) && ox * ox + oy * oy <= 6)
                << n << " e" << h;
            // Shorter than the two pulls, an edge's shaft runs backwards; longer, the arrow
            // lies left of the way it runs as seen on screen.
            if (distance(head, tail) < 10) {
                ++reversed;
                continue;
            }
            EXPECT_LT((head.x - tail.x) * oy - (head.y - tail.y) * ox, 0) << n << " e" << h;
            for (Pixel wing : {arrow->wing1, arrow->wing2}) {
                EXPECT_NEAR(7.0, distance(wing, arrow->to), 1.5) << n << " e" << h;
            }
            const int shaftX = arrow->from.x - arrow->to.x, shaftY = arrow->from.y - arrow->to.y;
            const int side1 =
                shaftX * (arrow->wing1.y - arrow->to.y) - shaftY * (arrow->wing1.x - arrow->to.x);
            const int side2 =
                shaftX * (arrow->wing2.y - arrow->to.y) - shaftY * (arrow->wing2.x - arrow->to.x);
            EXPECT_LT(side1 * side2, 0) << n << " e" << h;
        }
    }
    EXPECT_GT(samePixel, 0);
    EXPECT_GT(reversed, 0);
}
