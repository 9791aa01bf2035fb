#include "model/geometry.h"
#include "model/subdivision.h"
#include "model/validation.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

Subdivision built(int n) {
    Subdivision s(nullptr);
    s.build(n);
    return s;
}

void expectValid(const Subdivision& s) {
    const Violation v = checkInvariants(s);
    EXPECT_FALSE(v) << "invariant " << v.invariant << " at " << v.record << ": " << v.what;
}

TEST(Pick, VertexWithinTheRadiusOnly) {
    Subdivision s = built(6); // vertex 5 at (400, 299)
    struct Click {
        int dx, dy;
        bool picked;
    };
    for (const Click& c : std::vector<Click>{{16, 0, false},
                                             {0, -16, false},
                                             {15, 0, true},
                                             {11, 11, true},
                                             {-11, -11, true},
                                             {12, 11, false},
                                             {11, -12, false}}) {
        s.pick(400 + c.dx, 299 + c.dy);
        EXPECT_EQ(s.pickedVertex == 5, c.picked) << c.dx << ", " << c.dy;
        EXPECT_EQ(s.pickedFace == -1, c.picked);
        expectValid(s);
    }
}

TEST(Pick, TheEarlierVertexWinsOverANearerLaterOne) {
    Subdivision s(nullptr);
    s.vertices = {{100, 100, -1}, {110, 100, -1}};
    s.pick(109, 100);
    EXPECT_EQ(s.pickedVertex, 0);
    EXPECT_TRUE(s.pickedVertexEdges.empty());
}

TEST(Pick, HalfEdgesAtAVertexAreBothHalvesOfItsEdges) {
    for (int n = 3; n <= 50; ++n) {
        Subdivision s = built(n);
        for (int v = 0; v < n; ++v) {
            s.pick(s.vertices[v].x, s.vertices[v].y);
            // Neighbouring corners of a large polygon lie closer than the pick radius:
            // the earlier one wins, so only count what was really picked.
            const int p = s.pickedVertex;
            ASSERT_GE(p, 0);
            const std::size_t expected = p == 0 ? 2 * (n - 1) : (p == 1 || p == n - 1) ? 4 : 6;
            EXPECT_EQ(s.pickedVertexEdges.size(), expected) << "n = " << n << ", v" << p;
            for (std::size_t i = 0; i < s.pickedVertexEdges.size(); ++i) {
                const int h = s.pickedVertexEdges[i];
                EXPECT_TRUE(s.halfEdges[h].target == p || s.origin(h) == p);
                if (i > 0) {
                    EXPECT_LT(s.pickedVertexEdges[i - 1], h);
                }
            }
            expectValid(s);
        }
    }
}

TEST(Pick, TheWorkedClicksOnTheHexagonAndTheTriangle) {
    Subdivision s = built(6);
    s.pick(325, 429);
    EXPECT_EQ(s.pickedVertex, 0);
    EXPECT_EQ(s.pickedVertexEdges, (std::vector<int>{0, 1, 3, 4, 6, 7, 9, 10, 12, 13}));
    s.pick(400, 299);
    EXPECT_EQ(s.pickedVertex, 5);
    EXPECT_EQ(s.pickedVertexEdges, (std::vector<int>{10, 11, 12, 17}));
    s.pick(200, 386);
    EXPECT_EQ(s.pickedVertex, -1);
    EXPECT_TRUE(s.pickedVertexEdges.empty());
    EXPECT_EQ(s.pickedFace, 0);
    EXPECT_EQ(s.pickedFaceNeighbours, (std::vector<int>{4, 1, 4}));
    s.pick(600, 100);
    EXPECT_EQ(s.pickedFace, 4);
    EXPECT_EQ(s.pickedFaceNeighbours, (std::vector<int>{3, 3, 0, 0, 1, 2}));
    expectValid(s);

    Subdivision t = built(3);
    t.pick(250, 300);
    EXPECT_EQ(t.pickedFace, 0);
    EXPECT_EQ(t.pickedFaceNeighbours, (std::vector<int>{1, 1, 1}));
    t.pick(600, 100);
    EXPECT_EQ(t.pickedFace, 1);
    EXPECT_EQ(t.pickedFaceNeighbours, (std::vector<int>{0, 0, 0}));
    expectValid(t);
}

TEST(Pick, OutsideThePolygonPicksTheOuterFace) {
    for (int n = 4; n <= 60; ++n) {
        Subdivision s = built(n);
        s.pick(990, 590);
        const int outer = n - 2;
        ASSERT_EQ(s.pickedFace, outer);
        ASSERT_EQ(s.pickedFaceNeighbours.size(), static_cast<std::size_t>(n));
        std::vector<int> seen(n - 1, 0);
        for (int f : s.pickedFaceNeighbours) {
            ++seen[f];
        }
        EXPECT_EQ(seen.front(), 2) << n;
        EXPECT_EQ(seen[outer - 1], 2) << n;
        for (int f = 1; f < outer - 1; ++f) {
            EXPECT_EQ(seen[f], 1) << n;
        }
        EXPECT_EQ(seen[outer], 0);
        expectValid(s);
    }
}

TEST(Pick, RightButtonClearsAndAnEmptyStructurePicksNothing) {
    Subdivision s = built(6);
    s.pick(600, 100);
    s.clearSelection();
    EXPECT_EQ(s.pickedFace, -1);
    EXPECT_TRUE(s.pickedFaceNeighbours.empty());
    s.clearSelection();
    expectValid(s);

    Subdivision empty = built(0);
    for (int x : {0, 250, INT_MIN, INT_MAX}) {
        empty.pick(x, x);
        EXPECT_EQ(empty.pickedVertex, -1);
        EXPECT_EQ(empty.pickedFace, -1);
        EXPECT_TRUE(empty.pickedVertexEdges.empty() && empty.pickedFaceNeighbours.empty());
    }
    s.pick(INT_MIN, INT_MAX);
    EXPECT_EQ(s.pickedFace, 4);
}

TEST(Geometry, PointInPolygonAtTheBoundaries) {
    const std::vector<Vertex> triangle = {{0, 0, -1}, {10, 0, -1}, {0, 10, -1}};
    EXPECT_FALSE(pointInPolygon(triangle, 0, 5));  // on the vertical left edge
    EXPECT_TRUE(pointInPolygon(triangle, 5, 5));   // on the slanted edge
    EXPECT_FALSE(pointInPolygon(triangle, 5, 0));  // on the edge at the smallest y
    EXPECT_FALSE(pointInPolygon(triangle, 2, 10)); // level with a corner, beyond it
    EXPECT_TRUE(pointInPolygon(triangle, 2, 2));
    EXPECT_FALSE(pointInPolygon(triangle, 9, 9));
    EXPECT_FALSE(pointInPolygon({}, 0, 0));
    EXPECT_EQ(intPower(7, 0), 1);
    EXPECT_EQ(intPower(-12, 2), 144);
    EXPECT_EQ(intPower(3, 5), 243);
}

} // namespace
