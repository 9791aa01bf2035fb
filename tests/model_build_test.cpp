#include "model/subdivision.h"
#include "model/validation.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

Subdivision built(int n, bool showListing = true) {
    Subdivision s(nullptr);
    s.showListing = showListing;
    s.build(n);
    return s;
}

std::string describe(const Violation& v) {
    return "invariant " + std::to_string(v.invariant) + " at " + std::to_string(v.record) + ": " +
           v.what;
}

// Rows as {target, face, prev, next, opp}. Coordinates are truncated, not rounded.
TEST(Build, WorkedExamplesWithTruncatedCoordinates) {
    // clang-format off
    const Subdivision t = built(3);
    EXPECT_EQ(t.vertices, (std::vector<Vertex>{{175, 429, 1}, {174, 170, 0}, {400, 299, 2}}));
    EXPECT_EQ(t.faces, (std::vector<Face>{{0}, {5}}));
    EXPECT_EQ(t.halfEdges, (std::vector<HalfEdge>{{0, 0, 2, 1, 4}, {2, 0, 0, 2, 3}, {1, 0, 1, 0, 5}, {0, 1, 5, 4, 1}, {1, 1, 3, 5, 0}, {2, 1, 4, 3, 2}}));
    const std::vector<HalfEdge> hexagon = {
        {0, 0, 2, 1, 13}, {2, 0, 0, 2, 3}, {1, 0, 1, 0, 14}, {0, 1, 5, 4, 1}, {3, 1, 3, 5, 6}, {2, 1, 4, 3, 15},
        {0, 2, 8, 7, 4}, {4, 2, 6, 8, 9}, {3, 2, 7, 6, 16}, {0, 3, 11, 10, 7}, {5, 3, 9, 11, 12}, {4, 3, 10, 9, 17},
        {0, 4, 17, 13, 10}, {1, 4, 12, 14, 0}, {2, 4, 13, 15, 2}, {3, 4, 14, 16, 5}, {4, 4, 15, 17, 8}, {5, 4, 16, 12, 11}};
    const Subdivision left = built(6, true), centred = built(6, false);
    EXPECT_EQ(left.vertices, (std::vector<Vertex>{{325, 429, 10}, {175, 429, 0}, {100, 300, 3}, {174, 170, 6}, {325, 170, 9}, {400, 299, 11}}));
    EXPECT_EQ(left.faces, (std::vector<Face>{{0}, {3}, {6}, {9}, {17}}));
    EXPECT_EQ(left.halfEdges, hexagon);
    EXPECT_EQ(centred.vertices, (std::vector<Vertex>{{575, 429, 10}, {425, 429, 0}, {350, 300, 3}, {424, 170, 6}, {575, 170, 9}, {650, 299, 11}}));
    EXPECT_EQ(centred.halfEdges, hexagon);
    // cos · 150 is about -2.76e-14 for the square's v2: 250 plus it truncates to 249, 500 not.
    EXPECT_EQ(built(4, true).vertices, (std::vector<Vertex>{{250, 450, 4}, {100, 300, 0}, {249, 150, 3}, {400, 299, 5}}));
    EXPECT_EQ(built(4, false).vertices[2], (Vertex{500, 150, 3}));
    // The corners of the 12- and the 65-gon, as the window shows them.
    const std::pair<int, std::string> cases[] = {
        {12, "379,375 325,429 250,450 175,429 120,375 100,300 120,225 174,170 249,150 325,170 379,225 400,299"},
        {65, "399,314 397,328 393,342 388,356 382,369 375,382 366,393 357,404 346,414 335,423 322,431 309,437 296,442 "
             "282,446 268,448 253,449 239,449 224,447 210,444 196,440 183,434 170,427 158,419 147,409 137,399 128,388 "
             "120,376 113,363 108,349 104,335 101,321 100,307 100,292 101,278 104,264 108,250 113,236 120,223 128,211 "
             "137,200 147,190 158,180 170,172 183,165 196,159 210,155 224,152 239,150 253,150 268,151 282,153 296,157 "
             "309,162 322,168 335,176 346,185 357,195 366,206 375,217 382,230 388,243 393,257 397,271 399,285 400,299"}};
    // clang-format on
    for (const auto& [n, expected] : cases) {
        std::string corners;
        for (const Vertex& v : built(n).vertices) {
            corners +=
                (corners.empty() ? "" : " ") + std::to_string(v.x) + "," + std::to_string(v.y);
        }
        EXPECT_EQ(expected, corners);
    }
}

// Every build keeps every invariant; sin(2π) < 0 puts the last vertex on row 299.
TEST(Build, KeepsEveryInvariantAndTheCornersOnTheAxis) {
    Subdivision s(nullptr);
    for (int n = 3; n <= 1000; ++n) {
        for (bool showListing : {true, false}) {
            s.showListing = showListing;
            s.build(n);
            const Violation v = checkInvariants(s);
            ASSERT_FALSE(v) << "n = " << n << ", " << describe(v);
            ASSERT_TRUE(s.vertices.size() == std::size_t(n) &&
                        s.faces.size() == std::size_t(n - 1) &&
                        s.halfEdges.size() == std::size_t(4 * n - 6))
                << n;
            const int cx = showListing ? 250 : 500, half = n / 2 - 1;
            EXPECT_EQ(s.vertices.back(), (Vertex{cx + 150, 299, 3 * n - 7})) << n;
            EXPECT_TRUE(n % 2 || (s.vertices[half].x == cx - 150 && s.vertices[half].y == 300))
                << n;
        }
    }
    s.build(maxAngles);
    EXPECT_EQ(s.halfEdges.size(), static_cast<std::size_t>(4 * maxAngles - 6));
    EXPECT_FALSE(checkInvariants(s));
}

// A count out of range empties the structure and the selection; clear() keeps the latter.
TEST(Build, RefusesCountsOutsideItsRangeAndClearKeepsTheSelection) {
    for (int n : {2, 1, 0, -1, INT_MIN, maxAngles + 1, INT_MAX}) {
        Subdivision s = built(6);
        s.pick(325, 429);
        ASSERT_EQ(s.pickedVertex, 0);
        s.build(n);
        EXPECT_TRUE(s.vertices.empty() && s.halfEdges.empty() && s.faces.empty()) << n;
        EXPECT_TRUE(s.pickedVertex == -1 && s.pickedFace == -1 && s.pickedVertexEdges.empty());
    }
    Subdivision s = built(6);
    s.pick(200, 386);
    s.clear();
    EXPECT_TRUE(s.vertices.empty() && s.halfEdges.empty() && s.faces.empty());
    EXPECT_TRUE(s.pickedFace == 0 && s.pickedFaceNeighbours.size() == 3);
}

TEST(Validation, NamesTheFirstBrokenInvariantAndItsRecord) {
    struct Breakage {
        int invariant;
        int record;
        void (*apply)(Subdivision&);
    };
    // clang-format off
    const std::vector<Breakage> cases = {
        {1, 0, [](Subdivision& s) { s.halfEdges[0].next = 2; }}, {1, 3, [](Subdivision& s) { s.halfEdges[4].prev = 99; }},
        {2, 0, [](Subdivision& s) { s.halfEdges[1].face = 4; }}, {2, 2, [](Subdivision& s) { s.faces[2].edge = 3; }},
        {3, 0, [](Subdivision& s) { s.halfEdges[0].opp = 0; }}, {3, 0, [](Subdivision& s) { s.halfEdges[0].opp = 3; }},
        // The outer face renumbered as face 0, the first triangle as the last face.
        {5, 4, [](Subdivision& s) {
             std::swap(s.faces[0], s.faces[4]);
             for (HalfEdge& h : s.halfEdges) { h.face = h.face == 0 ? 4 : h.face == 4 ? 0 : h.face; }
         }},
        {4, 3, [](Subdivision& s) { s.vertices[3].edge = 4; }}, {6, 6, [](Subdivision& s) { s.pickedVertex = 6; }},
        {6, 18, [](Subdivision& s) { s.pickedVertexEdges = {0, 18}; }}, {6, -2, [](Subdivision& s) { s.pickedFace = -2; }},
        // v3.edge is e6, v4.edge e9; f0.edge is e0, e0.next e1, e0.prev e2.
        {7, 0, [](Subdivision& s) { s.select({RecordRef::vertex, 3}); s.step(Step::edge); s.walkPath[0] = {RecordRef::vertex, 4}; }},
        {7, 0, [](Subdivision& s) { s.select({RecordRef::vertex, 3}); s.step(Step::edge); s.walkSteps[0] = Step::next; }},
        {7, 1, [](Subdivision& s) { s.select({RecordRef::face, 0}); s.step(Step::edge); s.step(Step::next); s.walkSteps[1] = Step::prev; }},
    };
    // clang-format on
    for (const Breakage& c : cases) {
        Subdivision s = built(6);
        c.apply(s);
        const Violation v = checkInvariants(s);
        EXPECT_EQ(v.invariant, c.invariant) << describe(v);
        EXPECT_EQ(v.record, c.record) << describe(v);
    }
}

} // namespace
