#include "model/geometry.h"
#include "model/roles.h"
#include "model/subdivision.h"
#include "model/validation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <tuple>
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

// Clicks on build(N) and what each picks: a vertex and its half-edges, or a face and those
// across its half-edges in cycle order. Vertex 5 of the hexagon, at (400, 299), is picked
// within 16 pixels only, the outer face around it, as at the window's last column and row
// and one past them; an empty structure picks nothing.
TEST(Pick, ClicksAndWhatTheyPick) {
    const std::vector<int> outer6 = {3, 3, 0, 0, 1, 2}, at5 = {10, 11, 12, 17};
    struct Click {
        int n, x, y, vertex, face;
        std::vector<int> edges, neighbours;
    };
    // clang-format off
    const Click clicks[] = {
        {6, 325, 429, 0, -1, {0, 1, 3, 4, 6, 7, 9, 10, 12, 13}, {}},
        {6, 400, 299, 5, -1, at5, {}}, {6, 415, 299, 5, -1, at5, {}}, {6, 411, 310, 5, -1, at5, {}}, {6, 389, 288, 5, -1, at5, {}},
        {6, 416, 299, -1, 4, {}, outer6}, {6, 400, 283, -1, 4, {}, outer6}, {6, 412, 310, -1, 4, {}, outer6}, {6, 411, 287, -1, 4, {}, outer6},
        {6, 200, 386, -1, 0, {}, {4, 1, 4}}, {6, 600, 100, -1, 4, {}, outer6}, {6, INT_MIN, INT_MAX, -1, 4, {}, outer6},
        {6, 999, 0, -1, 4, {}, outer6}, {6, 0, 599, -1, 4, {}, outer6}, {6, 999, 599, -1, 4, {}, outer6}, {6, 1000, 600, -1, 4, {}, outer6},
        {3, 250, 300, -1, 0, {}, {1, 1, 1}}, {3, 600, 100, -1, 1, {}, {0, 0, 0}}, {0, 0, 0, -1, -1, {}, {}}, {0, 250, 250, -1, -1, {}, {}},
        {0, INT_MIN, INT_MIN, -1, -1, {}, {}}, {0, INT_MAX, INT_MAX, -1, -1, {}, {}}};
    // clang-format on
    for (const Click& c : clicks) {
        Subdivision s = built(c.n);
        s.pick(c.x, c.y);
        EXPECT_EQ(
            std::tie(c.vertex, c.face, c.edges, c.neighbours),
            std::tie(s.pickedVertex, s.pickedFace, s.pickedVertexEdges, s.pickedFaceNeighbours))
            << c.n << ": " << c.x << ", " << c.y;
        expectValid(s);
        s.clearSelection();
        EXPECT_TRUE(s.pickedVertex == -1 && s.pickedFace == -1 && s.pickedVertexEdges.empty() &&
                    s.pickedFaceNeighbours.empty());
    }
    // Of two vertices within the radius the earlier wins, even when the later is nearer.
    Subdivision two(nullptr);
    two.vertices = {{100, 100, -1}, {110, 100, -1}};
    two.pick(109, 100);
    EXPECT_EQ(two.pickedVertex, 0);
}

// At a vertex: both halves of each of its edges, in order. Outside: the outer face, across
// which lie the first and the last triangle twice and every other one once.
TEST(Pick, EveryCornerAndTheOuterFace) {
    for (int n = 3; n <= 60; ++n) {
        Subdivision s = built(n);
        for (int v = 0; v < n; ++v) {
            s.pick(s.vertices[v].x, s.vertices[v].y);
            // Neighbouring corners of a large polygon lie closer than the pick radius:
            // the earlier one wins, so only count what was really picked.
            const int p = s.pickedVertex;
            ASSERT_GE(p, 0);
            const std::vector<int>& at = s.pickedVertexEdges;
            EXPECT_EQ(at.size(), std::size_t(p == 0                   ? 2 * (n - 1)
                                             : (p == 1 || p == n - 1) ? 4
                                                                      : 6))
                << n << " v" << p;
            EXPECT_EQ(std::adjacent_find(at.begin(), at.end(), std::greater_equal<>()), at.end());
            for (int h : at) {
                EXPECT_TRUE(s.halfEdges[h].target == p || s.origin(h) == p);
            }
            expectValid(s);
        }
        s.pick(990, 590);
        ASSERT_EQ(s.pickedFace, n - 2);
        std::vector<int> across = s.pickedFaceNeighbours, expected = {0, n - 3};
        for (int f = 0; f < n - 2; ++f) {
            expected.push_back(f);
        }
        std::sort(across.begin(), across.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, across) << n;
        expectValid(s);
    }
}

// The hexagon's roles, a letter per record (P picked, n next, p prev, o opp, a at picked vertex,
// b neighbour), from its rows: e3 has next e4, prev e5, opp e1, e8 next e6, prev e7, opp e16;
// v5 is at e10, e11, e12, e17; f1, f4 lie across f0. Then parts forced onto one record, where
// the first of P, n, p, o, a and of P, b wins; positions past the records have no role.
TEST(Pick, RolesOfTheSelectionAndTheirPrecedence) {
    // clang-format off
    struct Case { RecordRef select; void (*overlap)(Subdivision&); std::string vertices, faces, halfEdges; };
    const Case cases[] = {
        {{RecordRef::halfEdge, 3}, nullptr, ".......", "......", ".o.Pnp............."},
        {{RecordRef::halfEdge, 8}, nullptr, ".......", "......", "......npP.......o.."},
        {{RecordRef::vertex, 5}, nullptr, ".....P.", "......", "..........aaa....a."},
        {{RecordRef::face, 0}, nullptr, ".......", "Pb..b.", "..................."},
        {{RecordRef::halfEdge, 3}, [](Subdivision& s) { s.pickedNext = 3; s.pickedPrev = s.pickedOpp = 4; s.pickedVertex = 2; s.pickedVertexEdges = {0, 2, 3, 4}; },
         "..P....", "......", "a.aPp.............."},
        {{RecordRef::halfEdge, 3}, [](Subdivision& s) { s.pickedNext = s.pickedPrev = 5; s.pickedOpp = 6; s.pickedVertexEdges = {5, 6, 7, 18}; },
         ".......", "......", "...P.noa..........."},
        {{RecordRef::face, 0}, [](Subdivision& s) { s.pickedFaceNeighbours = {0, 2, 5}; }, ".......", "P.b...", "..................."}};
    // clang-format on
    const std::string letters = ".Pnpoab";
    for (const Case& c : cases) {
        Subdivision s = built(6);
        ASSERT_TRUE(s.select(c.select));
        c.overlap ? c.overlap(s) : void();
        const SelectionRoles roles(s);
        std::string vertices, faces, halfEdges;
        for (int i = 0; i <= 18; ++i) { // each one past its last record
            vertices += i <= 6 ? std::string(1, letters[int(roles.vertex(i))]) : "";
            faces += i <= 5 ? std::string(1, letters[int(roles.face(i))]) : "";
            halfEdges += letters[int(roles.halfEdge(i))];
        }
        EXPECT_EQ(std::tie(c.vertices, c.faces, c.halfEdges), std::tie(vertices, faces, halfEdges));
    }
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
    EXPECT_TRUE(intPower(7, 0) == 1 && intPower(-12, 2) == 144 && intPower(3, 5) == 243);
}

} // namespace
