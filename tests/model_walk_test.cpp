#include "model/subdivision.h"
#include "model/validation.h"
#include "model/walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::string letters = "enpovf";
const char* const fields[] = {"edge", "next", "prev", "opp", "target", "face"};

RecordRef ref(RecordRef::Kind kind, int number) {
    return {kind, number};
}

// Where a step letter leads by the records' own fields; none where it does not apply.
RecordRef linked(const Subdivision& s, RecordRef from, char letter) {
    const int n = from.number;
    if (from.kind != RecordRef::halfEdge) {
        const bool vertexOrFace = from.kind == RecordRef::vertex || from.kind == RecordRef::face;
        if (letter != 'e' || !vertexOrFace) {
            return {};
        }
        return ref(RecordRef::halfEdge,
                   from.kind == RecordRef::vertex ? s.vertices[n].edge : s.faces[n].edge);
    }
    const HalfEdge& h = s.halfEdges[n];
    switch (letter) {
    case 'n':
        return ref(RecordRef::halfEdge, h.next);
    case 'p':
        return ref(RecordRef::halfEdge, h.prev);
    case 'o':
        return ref(RecordRef::halfEdge, h.opp);
    case 'v':
        return ref(RecordRef::vertex, h.target);
    case 'f':
        return ref(RecordRef::face, h.face);
    }
    return {};
}

std::string name(RecordRef r) {
    const char kind = r.kind == RecordRef::vertex ? 'v' : r.kind == RecordRef::face ? 'f' : 'e';
    return kind + std::to_string(r.number);
}

// Everything a step may change: the selection, then the walk.
template <class S> auto selectionOf(S& s) {
    return std::tie(s.pickedVertex, s.pickedFace, s.pickedVertexEdges, s.pickedFaceNeighbours,
                    s.pickedHalfEdge, s.pickedNext, s.pickedPrev, s.pickedOpp, s.walkPath,
                    s.walkSteps);
}
using Selection = std::tuple<int, int, std::vector<int>, std::vector<int>, int, int, int, int,
                             std::vector<RecordRef>, std::vector<Step>>;

// What picking a vertex or a face gives: a left click on the vertex's own pixel or inside
// the face wherever that picks it (always at N <= 40, where corners lie more than the pick
// radius apart), else select. The walk is the record alone.
Selection pickedAlone(const Subdivision& built, RecordRef r, int& clicks) {
    Subdivision s = built;
    int x = 0, y = 0; // outside the polygon, far from every corner: the outer face
    if (r.kind == RecordRef::vertex) {
        x = s.vertices[r.number].x;
        y = s.vertices[r.number].y;
    } else if (r.number + 1 < static_cast<int>(s.faces.size())) {
        const std::vector<Vertex> corners = s.faceVertices(r.number);
        x = (corners[0].x + corners[1].x + corners[2].x) / 3;
        y = (corners[0].y + corners[1].y + corners[2].y) / 3;
    }
    s.pick(x, y);
    if (s.selected() == r) {
        ++clicks;
    } else {
        s.select(r);
    }
    return selectionOf(s);
}

struct Walker {
    Subdivision& s;
    const Subdivision& built;
    std::vector<Selection> vertexClicks, faceClicks;
    bool everyInvariant;
    std::string path; // the expression walked so far, without " = "

    const Selection& clicked(RecordRef r) const {
        return (r.kind == RecordRef::vertex ? vertexClicks : faceClicks)[r.number];
    }

    // Tries every step letter from the selection, and below it every walk of up to depth
    // more steps; the selection is restored after each.
    void walk(RecordRef at, int depth) {
        const Selection before = selectionOf(s);
        for (std::size_t i = 0; i < letters.size(); ++i) {
            const char letter = letters[i];
            const RecordRef to = linked(s, at, letter);
            const std::string where = path + "." + fields[i];
            if (s.step(*stepForLetter(letter)) != (to.kind != RecordRef::none)) {
                ADD_FAILURE() << where << " applies where it should not, or not where it should";
                return;
            }
            if (to.kind == RecordRef::none) {
                ASSERT_TRUE(selectionOf(s) == before) << where << " changed the selection";
                continue;
            }
            const Selection alone = to.kind == RecordRef::halfEdge
                                        ? Selection{-1,
                                                    -1,
                                                    {},
                                                    {},
                                                    to.number,
                                                    s.halfEdges[to.number].next,
                                                    s.halfEdges[to.number].prev,
                                                    s.halfEdges[to.number].opp,
                                                    {},
                                                    {}}
                                        : clicked(to);
            ASSERT_TRUE(std::tie(s.pickedVertex, s.pickedFace, s.pickedVertexEdges,
                                 s.pickedFaceNeighbours, s.pickedHalfEdge, s.pickedNext,
                                 s.pickedPrev, s.pickedOpp) ==
                        std::tie(std::get<0>(alone), std::get<1>(alone), std::get<2>(alone),
                                 std::get<3>(alone), std::get<4>(alone), std::get<5>(alone),
                                 std::get<6>(alone), std::get<7>(alone)))
                << where << " selects " << name(s.selected()) << ", not " << name(to)
                << " as a click or h would";
            ASSERT_EQ(where + " = " + name(to), s.walkExpression());
            if (everyInvariant) {
                const Violation v = checkInvariants(s);
                ASSERT_FALSE(v) << where << ": invariant " << v.invariant << ": " << v.what;
            }
            if (depth > 1) {
                const std::string outer = path;
                path = where;
                walk(to, depth - 1);
                path = outer;
            }
            selectionOf(s) = before;
        }
    }
};

// From every vertex and every face, every walk of up to 4 steps selects what following the
// records' links reaches, as a click on it would, and writes the expression walked; a
// step that does not apply changes nothing. Invariants after every step (at N = 1000 after
// each anchor's walks, which leave the records as they were built).
TEST(Walk, EveryShortWalkFollowsTheLinks) {
    std::vector<int> sizes;
    for (int n = 3; n <= 40; ++n) {
        sizes.push_back(n);
    }
    sizes.push_back(1000);
    for (int n : sizes) {
        Subdivision built(nullptr);
        built.build(n);
        Subdivision s = built;
        Walker w{s, built, {}, {}, n <= 40, ""};
        int clicks = 0;
        for (int v = 0; v < n; ++v) {
            w.vertexClicks.push_back(pickedAlone(built, ref(RecordRef::vertex, v), clicks));
        }
        for (int f = 0; f < n - 1; ++f) {
            w.faceClicks.push_back(pickedAlone(built, ref(RecordRef::face, f), clicks));
        }
        if (n <= 40) {
            EXPECT_LE(n, clicks) << "N = " << n << ": every corner is picked by its own pixel";
        }
        for (int i = 0; i < 2 * n - 1; ++i) {
            const RecordRef anchor =
                i < n ? ref(RecordRef::vertex, i) : ref(RecordRef::face, i - n);
            ASSERT_TRUE(s.select(anchor));
            ASSERT_TRUE(selectionOf(s) == w.clicked(anchor)) << name(anchor) << " at N = " << n;
            w.path = name(anchor);
            w.walk(anchor, 4);
            ASSERT_FALSE(HasFatalFailure()) << "N = " << n;
            ASSERT_TRUE(s.vertices == built.vertices && s.halfEdges == built.halfEdges &&
                        s.faces == built.faces && selectionOf(s) == w.clicked(anchor));
            const Violation v = checkInvariants(s);
            ASSERT_FALSE(v) << "invariant " << v.invariant << ": " << v.what;
        }
    }
}

// The parts of an expression "f0.edge.next = e1", evaluated by following the links from its
// anchor: what it reaches, or none when it does not read as one.
RecordRef evaluated(const Subdivision& s, const std::string& expression, RecordRef& anchor,
                    int& steps) {
    const std::size_t equals = expression.find(" = ");
    if (equals == std::string::npos) {
        return {};
    }
    std::size_t dot = expression.find('.');
    const auto start = parseRecordName(expression.substr(0, std::min(dot, equals)));
    const auto end = parseRecordName(expression.substr(equals + 3));
    if (!start || !end || !s.exists(*start) || dot > equals) {
        return {};
    }
    anchor = *start;
    RecordRef at = *start;
    for (steps = 0; dot < equals; ++steps) {
        const std::size_t next = std::min(expression.find('.', dot + 1), equals);
        const std::string field = expression.substr(dot + 1, next - dot - 1);
        const std::size_t i = std::find(std::begin(fields), std::end(fields), field) - fields;
        at = i < letters.size() ? linked(s, at, letters[i]) : RecordRef{};
        dot = next;
    }
    return at == *end ? at : RecordRef{};
}

// Long walks keep their last 8 steps: after 9 and after 20 steps the anchor has moved
// forward to the record reached 8 steps back, and the expression still reads true.
TEST(Walk, LongWalksKeepEightStepsAndReadTrue) {
    std::minstd_rand random(17);
    for (int n : {3, 4, 6, 9, 12, 1000}) {
        Subdivision s(nullptr);
        s.build(n);
        for (int i = 0; i < 2 * n - 1; i += n < 100 ? 1 : 97) {
            std::vector<RecordRef> reached = {i < n ? ref(RecordRef::vertex, i)
                                                    : ref(RecordRef::face, i - n)};
            ASSERT_TRUE(s.select(reached[0]));
            for (int taken = 1; taken <= 20; ++taken) {
                const std::string choices =
                    reached.back().kind == RecordRef::halfEdge ? "npovf" : "e";
                const char letter = choices[random() % choices.size()];
                ASSERT_TRUE(s.step(*stepForLetter(letter)));
                reached.push_back(linked(s, reached.back(), letter));
                const Violation v = checkInvariants(s);
                ASSERT_FALSE(v) << "invariant " << v.invariant << ": " << v.what;
                if (taken != 9 && taken != 20) {
                    continue;
                }
                RecordRef anchor;
                int steps = -1;
                const std::string expression = s.walkExpression();
                EXPECT_EQ(reached.back(), evaluated(s, expression, anchor, steps)) << expression;
                EXPECT_EQ(reached[taken - maxWalkSteps], anchor) << expression;
                EXPECT_EQ(maxWalkSteps, steps) << expression;
                EXPECT_EQ(reached.back(), s.selected()) << expression;
            }
        }
    }
}

// The hexagon's walks as a handout writes them; nothing picked walks nowhere; names that
// are no record's.
TEST(Walk, WorkedExamplesAndRefusals) {
    Subdivision s(nullptr);
    s.build(6);
    const std::tuple<const char*, const char*, const char*> examples[] = {
        {"f0", "eno", "f0.edge.next.opp = e3"},
        {"v3", "EP", "v3.edge.prev = e8"},
        {"e4", "f", "e4.face = f1"},
        {"e9", "v", "e9.target = v0"},
        {"f4", "eovepf", "f4.edge.opp.target.edge.prev.face = f3"},
    };
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
    for (const char* missing : {"v6", "f5", "e18"}) {
        EXPECT_FALSE(s.select(*parseRecordName(missing))) << missing;
    }
    EXPECT_EQ(RecordRef{}, s.selected());
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
