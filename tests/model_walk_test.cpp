#include "model/subdivision.h"
#include "model/validation.h"
#include "model/walk.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::string letters = "enpovf";
const char* const fields[] = {"edge", "next", "prev", "opp", "target", "face"};

// Where a step letter leads by the records' own fields; none where it does not apply.
RecordRef linked(const Subdivision& s, RecordRef from, char letter) {
    const std::size_t i = letters.find(letter);
    if (from.kind != RecordRef::halfEdge) {
        const bool vertex = from.kind == RecordRef::vertex, face = from.kind == RecordRef::face;
        const int edge = vertex ? s.vertices[from.number].edge : s.faces[from.number].edge;
        return i == 0 && (vertex || face) ? RecordRef{RecordRef::halfEdge, edge} : RecordRef{};
    }
    const HalfEdge& h = s.halfEdges[from.number];
    const int to[] = {-1, h.next, h.prev, h.opp, h.target, h.face};
    const auto kind = i < 4 ? RecordRef::halfEdge : i == 4 ? RecordRef::vertex : RecordRef::face;
    return i == 0 ? RecordRef{} : RecordRef{kind, to[i]};
}

// Everything a step may change: the selection, then the walk.
template <class S> auto selectionOf(S& s) {
    return std::tie(s.pickedVertex, s.pickedFace, s.pickedVertexEdges, s.pickedFaceNeighbours,
                    s.pickedHalfEdge, s.pickedNext, s.pickedPrev, s.pickedOpp, s.walkPath,
                    s.walkSteps);
}
using Selection = std::tuple<int, int, std::vector<int>, std::vector<int>, int, int, int, int,
                             std::vector<RecordRef>, std::vector<Step>>;

// What a click on a vertex's pixel or inside a face gives where it picks that record (every
// corner at N <= 40, only the first at N = 1000, where corners lie closer than the pick
// radius), else select; a half-edge with its links. The walk is the record alone.
Selection pickedAlone(const Subdivision& built, RecordRef r, int& clicks) {
    if (r.kind == RecordRef::halfEdge) {
        const HalfEdge& h = built.halfEdges[r.number];
        return {-1, -1, {}, {}, r.number, h.next, h.prev, h.opp, {r}, {}};
    }
    Subdivision s = built;
    int x = 0, y = 0; // outside the polygon, far from every corner: the outer face
    if (r.kind == RecordRef::vertex) {
        x = s.vertices[r.number].x;
        y = s.vertices[r.number].y;
    } else if (r.number + 1 < static_cast<int>(s.faces.size())) {
        for (const Vertex& corner : s.faceVertices(r.number)) {
            x += corner.x / 3;
            y += corner.y / 3;
        }
    }
    s.pick(x, y);
    clicks += r.kind == RecordRef::vertex && s.selected() == r;
    if (s.selected() != r) {
        s.select(r);
    }
    return selectionOf(s);
}

struct Walker {
    Subdivision& s;
    std::vector<Selection> clicked[2]; // by kind - 1: vertices, faces
    bool everyInvariant;
    int clicks = 0; // vertices picked by a click on their own pixel

    // Every step from at, reached by walked, and below each that applies every walk of up
    // to depth - 1 more steps; the selection is restored after each.
    void walk(RecordRef at, const std::string& walked, int depth) {
        const Selection before = selectionOf(s);
        for (std::size_t i = 0; i < letters.size(); ++i) {
            const RecordRef to = linked(s, at, letters[i]);
            const std::string where = walked + "." + fields[i];
            ASSERT_EQ(to.kind != RecordRef::none, s.step(*stepForLetter(letters[i]))) << where;
            if (to.kind == RecordRef::none) {
                ASSERT_TRUE(selectionOf(s) == before) << where << " changed the selection";
                continue;
            }
            Selection alone = to.kind == RecordRef::halfEdge ? pickedAlone(s, to, clicks)
                                                             : clicked[to.kind - 1][to.number];
            std::tie(std::get<8>(alone), std::get<9>(alone)) = std::tie(s.walkPath, s.walkSteps);
            ASSERT_TRUE(selectionOf(s) == alone) << where << " selects otherwise than a click";
            ASSERT_EQ(where + " = " + recordName(to), s.walkExpression());
            if (everyInvariant) {
                const Violation v = checkInvariants(s);
                ASSERT_FALSE(v) << where << ": invariant " << v.invariant << ": " << v.what;
            }
            if (depth > 1) {
                walk(to, where, depth - 1);
            }
            selectionOf(s) = before;
        }
    }
};

// From every vertex and every face, every walk of up to 4 steps selects what following the
// records' links reaches, as a click on it would, and writes the expression walked; a step
// that does not apply changes nothing. The invariants hold after every step (at N = 1000
// after each anchor's walks, which leave the records as they were built).
TEST(Walk, EveryShortWalkFollowsTheLinks) {
    for (int n = 3; n <= 41; ++n) {
        const int angles = n <= 40 ? n : 1000;
        Subdivision built(nullptr);
        built.build(angles);
        Subdivision s = built;
        Walker w{s, {}, angles <= 40};
        for (int i = 0; i < 2 * angles - 1; ++i) {
            const RecordRef r = i < angles ? RecordRef{RecordRef::vertex, i}
                                           : RecordRef{RecordRef::face, i - angles};
            w.clicked[r.kind - 1].push_back(pickedAlone(built, r, w.clicks));
        }
        EXPECT_EQ(angles <= 40 ? angles : 1, w.clicks) << "N = " << angles << ": corners clicked";
        for (int i = 0; i < 2 * angles - 1; ++i) {
            const RecordRef anchor = i < angles ? RecordRef{RecordRef::vertex, i}
                                                : RecordRef{RecordRef::face, i - angles};
            ASSERT_TRUE(s.select(anchor));
            ASSERT_TRUE(selectionOf(s) == w.clicked[anchor.kind - 1][anchor.number]);
            w.walk(anchor, recordName(anchor), 4);
            ASSERT_FALSE(HasFatalFailure()) << "N = " << angles;
            ASSERT_TRUE(s.vertices == built.vertices && s.halfEdges == built.halfEdges &&
                        s.faces == built.faces);
            const Violation v = checkInvariants(s);
            ASSERT_FALSE(v) << "invariant " << v.invariant << ": " << v.what;
        }
    }
}

// Long walks keep their last 8 steps: after 9 and after 20 steps the anchor has moved
// forward to the record reached 8 steps back, and the expression names the 8 links since.
TEST(Walk, LongWalksKeepEightStepsAndReadTrue) {
    std::minstd_rand random(17);
    for (int n : {3, 4, 6, 9, 12, 1000}) {
        Subdivision s(nullptr);
        s.build(n);
        for (int i = 0; i < 2 * n - 1; i += n < 100 ? 1 : 97) {
            std::vector<RecordRef> reached = {i < n ? RecordRef{RecordRef::vertex, i}
                                                    : RecordRef{RecordRef::face, i - n}};
            std::vector<std::string> links; // ".next" for each step taken
            ASSERT_TRUE(s.select(reached[0]));
            for (int taken = 1; taken <= 20; ++taken) {
                const std::string choices =
                    reached.back().kind == RecordRef::halfEdge ? "npovf" : "e";
                const char letter = choices[random() % choices.size()];
                ASSERT_TRUE(s.step(*stepForLetter(letter)));
                reached.push_back(linked(s, reached.back(), letter));
                links.push_back(std::string(".") + fields[letters.find(letter)]);
                const Violation v = checkInvariants(s);
                ASSERT_FALSE(v) << "invariant " << v.invariant << ": " << v.what;
                if (taken == 9 || taken == 20) {
                    std::string expected = recordName(reached[taken - maxWalkSteps]);
                    for (int k = taken - maxWalkSteps; k < taken; ++k) {
                        expected += links[k];
                    }
                    EXPECT_EQ(expected + " = " + recordName(reached.back()), s.walkExpression());
                }
            }
        }
    }
}

// The hexagon's walks as a handout writes them; nothing picked walks nowhere; bad names.
TEST(Walk, WorkedExamplesAndRefusals) {
    Subdivision s(nullptr);
    s.build(6);
    // clang-format off
    const std::tuple<const char*, const char*, const char*> examples[] = {
        {"f0", "eno", "f0.edge.next.opp = e3"}, {"v3", "EP", "v3.edge.prev = e8"}, {"e4", "f", "e4.face = f1"},
        {"e9", "v", "e9.target = v0"}, {"f4", "eovepf", "f4.edge.opp.target.edge.prev.face = f3"}};
    // clang-format on
    for (const auto& [anchor, steps, expression] : examples) {
        ASSERT_TRUE(s.select(*parseRecordName(anchor)));
        EXPECT_EQ("", s.walkExpression());
        for (const char* c = steps; *c; ++c) {
            ASSERT_TRUE(s.step(*stepForLetter(*c))) << anchor << " " << steps;
        }
        EXPECT_EQ(expression, s.walkExpression());
    }
    s.clearSelection();
    for (char letter : letters) {
        EXPECT_FALSE(s.step(*stepForLetter(letter)));
        EXPECT_TRUE(s.walkPath.empty() && s.selected() == RecordRef{});
    }
    EXPECT_FALSE(s.select({RecordRef::vertex, 6}) || s.select({RecordRef::face, 5}) ||
                 s.select({RecordRef::halfEdge, 18}) || s.selected() != RecordRef{});
    for (char c : std::string("xqEh0 .")) {
        EXPECT_EQ(c == 'E', stepForLetter(c).has_value()) << c;
    }
    EXPECT_EQ((RecordRef{RecordRef::halfEdge, 2147483647}), parseRecordName("e2147483647"));
    for (const char* bad : {"e01", "e-1", "e+1", "x3", "V3", "e", "", "e3x", " v3", "v 3",
                            "e2147483648", "f99999999999999999999"}) {
        EXPECT_FALSE(parseRecordName(bad)) << bad;
    }
}

} // namespace
