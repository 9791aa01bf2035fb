#include "oracle/literal_build.h"
#include "subdivision.h"
#include "validation.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

struct Row {
    int target, from, face, next, prev, opp;
};

Subdivision built(int n, bool showListing = true) {
    Subdivision s(nullptr);
    s.showListing = showListing;
    s.build(n);
    return s;
}

void expectHalfEdges(const Subdivision& s, const std::vector<Row>& rows) {
    ASSERT_EQ(s.halfEdges.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const HalfEdge& h = s.halfEdges[i];
        const int n = static_cast<int>(i);
        SCOPED_TRACE("e" + std::to_string(i));
        EXPECT_EQ(h.target, rows[i].target);
        EXPECT_EQ(s.origin(n), rows[i].from);
        EXPECT_EQ(h.face, rows[i].face);
        EXPECT_EQ(h.next, rows[i].next);
        EXPECT_EQ(h.prev, rows[i].prev);
        EXPECT_EQ(h.opp, rows[i].opp);
    }
}

void expectVertices(const Subdivision& s, const std::vector<Vertex>& expected) {
    ASSERT_EQ(s.vertices.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("v" + std::to_string(i));
        EXPECT_EQ(s.vertices[i].x, expected[i].x);
        EXPECT_EQ(s.vertices[i].y, expected[i].y);
        EXPECT_EQ(s.vertices[i].edge, expected[i].edge);
    }
}

void expectFaceEdges(const Subdivision& s, const std::vector<int>& edges) {
    ASSERT_EQ(s.faces.size(), edges.size());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        EXPECT_EQ(s.faces[i].edge, edges[i]) << "f" << i;
    }
}

TEST(Build, TriangleMatchesTheWorkedExample) {
    const Subdivision s = built(3);
    expectVertices(s, {{175, 429, 1}, {174, 170, 0}, {400, 299, 2}});
    expectFaceEdges(s, {0, 5});
    expectHalfEdges(s, {{0, 1, 0, 1, 2, 4},
                        {2, 0, 0, 2, 0, 3},
                        {1, 2, 0, 0, 1, 5},
                        {0, 2, 1, 4, 5, 1},
                        {1, 0, 1, 5, 3, 0},
                        {2, 1, 1, 3, 4, 2}});
}

TEST(Build, HexagonMatchesTheWorkedExampleAtBothCentres) {
    const std::vector<Row> rows = {
        {0, 1, 0, 1, 2, 13},  {2, 0, 0, 2, 0, 3},   {1, 2, 0, 0, 1, 14}, {0, 2, 1, 4, 5, 1},
        {3, 0, 1, 5, 3, 6},   {2, 3, 1, 3, 4, 15},  {0, 3, 2, 7, 8, 4},  {4, 0, 2, 8, 6, 9},
        {3, 4, 2, 6, 7, 16},  {0, 4, 3, 10, 11, 7}, {5, 0, 3, 11, 9, 12}, {4, 5, 3, 9, 10, 17},
        {0, 5, 4, 13, 17, 10}, {1, 0, 4, 14, 12, 0}, {2, 1, 4, 15, 13, 2}, {3, 2, 4, 16, 14, 5},
        {4, 3, 4, 17, 15, 8}, {5, 4, 4, 12, 16, 11}};
    const Subdivision left = built(6, true);
    expectVertices(left, {{325, 429, 10},
                          {175, 429, 0},
                          {100, 300, 3},
                          {174, 170, 6},
                          {325, 170, 9},
                          {400, 299, 11}});
    expectFaceEdges(left, {0, 3, 6, 9, 17});
    expectHalfEdges(left, rows);

    const Subdivision centred = built(6, false);
    expectVertices(centred, {{575, 429, 10},
                             {425, 429, 0},
                             {350, 300, 3},
                             {424, 170, 6},
                             {575, 170, 9},
                             {650, 299, 11}});
    expectHalfEdges(centred, rows);
}

TEST(Build, CoordinatesAreTruncatedNotRounded) {
    // cos · 150 is about -2.76e-14 for vertex 2 of the square: added to 250 it rounds
    // below 250, added to 500 it does not.
    const Subdivision left = built(4, true);
    expectVertices(left, {{250, 450, 4}, {100, 300, 0}, {249, 150, 3}, {400, 299, 5}});
    const Subdivision centred = built(4, false);
    EXPECT_EQ(centred.vertices[2].x, 500);
    EXPECT_EQ(centred.vertices[2].y, 150);

    for (int n = 3; n <= 400; ++n) {
        for (bool showListing : {true, false}) {
            const Subdivision s = built(n, showListing);
            const int cx = showListing ? 250 : 500;
            SCOPED_TRACE("n = " + std::to_string(n));
            // sin(2π) is a tiny negative number: the last vertex sits on row 299.
            EXPECT_EQ(s.vertices.back().x, cx + 150);
            EXPECT_EQ(s.vertices.back().y, 299);
            if (n % 2 == 0) {
                EXPECT_EQ(s.vertices[n / 2 - 1].x, cx - 150);
                EXPECT_EQ(s.vertices[n / 2 - 1].y, 300);
            }
        }
    }
}

TEST(Build, EqualsTheLiteralConstructionForEveryN) {
    for (int n = 3; n <= 400; ++n) {
        SCOPED_TRACE("n = " + std::to_string(n));
        Subdivision expected(nullptr);
        literalBuild(expected, n);
        const Subdivision s = built(n);
        ASSERT_EQ(s.vertices.size(), expected.vertices.size());
        ASSERT_EQ(s.halfEdges.size(), expected.halfEdges.size());
        ASSERT_EQ(s.faces.size(), expected.faces.size());
        for (std::size_t i = 0; i < s.vertices.size(); ++i) {
            ASSERT_EQ(s.vertices[i].x, expected.vertices[i].x) << "v" << i;
            ASSERT_EQ(s.vertices[i].y, expected.vertices[i].y) << "v" << i;
            ASSERT_EQ(s.vertices[i].edge, expected.vertices[i].edge) << "v" << i;
        }
        for (std::size_t i = 0; i < s.halfEdges.size(); ++i) {
            const HalfEdge& a = s.halfEdges[i];
            const HalfEdge& b = expected.halfEdges[i];
            ASSERT_TRUE(a.target == b.target && a.face == b.face && a.prev == b.prev &&
                        a.next == b.next && a.opp == b.opp)
                << "e" << i;
        }
        for (std::size_t i = 0; i < s.faces.size(); ++i) {
            ASSERT_EQ(s.faces[i].edge, expected.faces[i].edge) << "f" << i;
        }
    }
}

TEST(Build, EveryInvariantHoldsWithTheExpectedCounts) {
    Subdivision s(nullptr);
    for (int n = 3; n <= 1000; ++n) {
        s.showListing = n % 2 == 0;
        s.build(n);
        ASSERT_EQ(s.vertices.size(), static_cast<std::size_t>(n));
        ASSERT_EQ(s.halfEdges.size(), static_cast<std::size_t>(4 * n - 6));
        ASSERT_EQ(s.faces.size(), static_cast<std::size_t>(n - 1));
        const Violation v = checkInvariants(s);
        ASSERT_FALSE(v) << "n = " << n << ": invariant " << v.invariant << " at " << v.record
                        << ": " << v.what;
    }
    s.build(maxAngles);
    EXPECT_EQ(s.halfEdges.size(), static_cast<std::size_t>(4 * maxAngles - 6));
    EXPECT_FALSE(checkInvariants(s));
}

TEST(Build, RefusesCountsOutsideItsRangeAndDropsTheSelection) {
    for (int n : {2, 1, 0, -1, -15, INT_MIN, maxAngles + 1, INT_MAX}) {
        Subdivision s = built(6);
        s.pick(325, 429);
        ASSERT_EQ(s.pickedVertex, 0);
        s.build(n);
        EXPECT_TRUE(s.vertices.empty() && s.halfEdges.empty() && s.faces.empty()) << n;
        EXPECT_EQ(s.pickedVertex, -1);
        EXPECT_EQ(s.pickedFace, -1);
        EXPECT_TRUE(s.pickedVertexEdges.empty());
        EXPECT_FALSE(checkInvariants(s));
    }
}

TEST(Build, ClearKeepsTheSelectionAndCopiesAreIndependent) {
    Subdivision s = built(6);
    s.pick(200, 386);
    s.clear();
    EXPECT_TRUE(s.vertices.empty() && s.halfEdges.empty() && s.faces.empty());
    EXPECT_EQ(s.pickedFace, 0);
    EXPECT_EQ(s.pickedFaceNeighbours.size(), 3u);

    Subdivision original = built(5);
    Subdivision copy = original;
    copy.build(3);
    EXPECT_EQ(original.halfEdges.size(), 14u);
    EXPECT_FALSE(checkInvariants(original));

    const Subdivision fresh(nullptr);
    Subdivision target;
    target = fresh;
    EXPECT_EQ(target.radius, 150.0);
    EXPECT_TRUE(target.showLabels && target.showListing);
    EXPECT_EQ(target.pickedVertex, -1);
    EXPECT_EQ(target.highlightColor.r, 250);
    EXPECT_EQ(target.neighbourFaceColor.g, 247);
}

TEST(Validation, NamesTheFirstBrokenInvariantAndItsRecord) {
    struct Breakage {
        int invariant;
        int record;
        void (*apply)(Subdivision&);
    };
    const std::vector<Breakage> cases = {
        {1, 0, [](Subdivision& s) { s.halfEdges[0].next = 2; }},
        {1, 3, [](Subdivision& s) { s.halfEdges[4].prev = 99; }},
        {2, 0, [](Subdivision& s) { s.halfEdges[1].face = 4; }},
        {2, 2, [](Subdivision& s) { s.faces[2].edge = 3; }},
        {3, 0, [](Subdivision& s) { s.halfEdges[0].opp = 0; }},
        {3, 0, [](Subdivision& s) { s.halfEdges[0].opp = 3; }},
        {4, 3, [](Subdivision& s) { s.vertices[3].edge = 4; }},
        {5, 4,
         [](Subdivision& s) {
             // The outer face renumbered as face 0, the first triangle as the last face.
             std::swap(s.faces[0], s.faces[4]);
             for (HalfEdge& h : s.halfEdges) {
                 h.face = h.face == 0 ? 4 : h.face == 4 ? 0 : h.face;
             }
         }},
        {6, 6, [](Subdivision& s) { s.pickedVertex = 6; }},
        {6, 18, [](Subdivision& s) { s.pickedVertexEdges = {0, 18}; }},
        {6, -2, [](Subdivision& s) { s.pickedFace = -2; }},
    };
    for (const Breakage& c : cases) {
        Subdivision s = built(6);
        ASSERT_FALSE(checkInvariants(s));
        c.apply(s);
        const Violation v = checkInvariants(s);
        EXPECT_EQ(v.invariant, c.invariant) << v.what;
        EXPECT_EQ(v.record, c.record) << v.what;
    }
}

} // namespace
