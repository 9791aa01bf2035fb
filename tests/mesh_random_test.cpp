// Random planar meshes: grids with cells merged into polygons, cells cut out as holes and
// pinches, pieces apart. Every one opens with the documented numbering; every one given a
// fault is refused with that fault's finding.
#include "mesh/planar_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

struct RandomMesh {
    std::vector<std::pair<int, int>> points;
    std::vector<std::vector<int>> faces; // counted from 0
    std::string text() const {
        std::string out;
        for (const auto& [x, y] : points) {
            out += "v " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
        }
        for (const std::vector<int>& face : faces) {
            out += "f";
            for (int c : face) {
                out += " " + std::to_string(c + 1);
            }
            out += "\n";
        }
        return out;
    }
};

// One or two grids of cells; about a fifth of the cells left out, some neighbours along x
// merged into one face of six corners.
RandomMesh generate(std::mt19937& random) {
    RandomMesh m;
    const int pieces = 1 + static_cast<int>(random() % 2);
    for (int piece = 0; piece < pieces; ++piece) {
        const int w = 2 + static_cast<int>(random() % 5), h = 2 + static_cast<int>(random() % 5);
        const int base = static_cast<int>(m.points.size()), dx = piece * 100;
        for (int y = 0; y <= h; ++y) {
            for (int x = 0; x <= w; ++x) {
                m.points.push_back({dx + 10 * x, 10 * y});
            }
        }
        const auto at = [&](int x, int y) { return base + y * (w + 1) + x; };
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (random() % 5 == 0) {
                    continue;
                }
                if (x + 1 < w && random() % 4 == 0) {
                    m.faces.push_back({at(x, y), at(x + 1, y), at(x + 2, y), at(x + 2, y + 1),
                                       at(x + 1, y + 1), at(x, y + 1)});
                    ++x;
                } else {
                    m.faces.push_back({at(x, y), at(x + 1, y), at(x + 1, y + 1), at(x, y + 1)});
                }
            }
        }
    }
    return m;
}

// The pieces a mesh's edges join, counting only vertices that faces use.
int piecesOf(const RandomMesh& m) {
    std::vector<int> root(m.points.size());
    std::iota(root.begin(), root.end(), 0);
    const std::function<int(int)> find = [&](int x) {
        return root[x] == x ? x : root[x] = find(root[x]);
    };
    std::set<int> used;
    for (const std::vector<int>& face : m.faces) {
        for (std::size_t i = 0; i < face.size(); ++i) {
            root[find(face[i])] = find(face[(i + 1) % face.size()]);
            used.insert(face[i]);
        }
    }
    std::set<int> roots;
    for (int v : used) {
        roots.insert(find(v));
    }
    return static_cast<int>(roots.size());
}

// The records against their links and the numbering rules, read from the fields alone.
void checkRecords(const RandomMesh& r, const PlanarMesh& m) {
    const int h = static_cast<int>(m.halfEdges.size()),
              fileFaces = static_cast<int>(r.faces.size());
    const auto origin = [&](int e) { return m.halfEdges[m.halfEdges[e].prev].target; };
    int first = 0;
    for (int f = 0; f < fileFaces; ++f) { // each face's half-edges in corner order
        ASSERT_EQ(m.faces[f].edge, first);
        for (std::size_t i = 0; i < r.faces[f].size(); ++i, ++first) {
            ASSERT_EQ(origin(first), r.faces[f][i]);
            ASSERT_EQ(m.halfEdges[first].face, f);
        }
    }
    std::set<std::pair<int, int>> directed;
    int lastAcross = -1;
    for (int e = 0; e < h; ++e) {
        const HalfEdge& x = m.halfEdges[e];
        ASSERT_EQ(m.halfEdges[x.next].prev, e);
        ASSERT_EQ(m.halfEdges[x.opp].opp, e);
        ASSERT_NE(x.opp, e);
        ASSERT_EQ(origin(x.opp), x.target);
        ASSERT_EQ(m.halfEdges[x.next].face, x.face);
        ASSERT_TRUE(directed.insert({origin(e), x.target}).second);
        // A boundary face's edge is its first half-edge, across from its loop's lowest
        // neighbour; the loops come in the order of those neighbours.
        if (x.face >= fileFaces && m.faces[x.face].edge == e) {
            ASSERT_GT(x.opp, lastAcross);
            lastAcross = x.opp;
            for (int k = x.next; k != e; k = m.halfEdges[k].next) {
                ASSERT_GT(m.halfEdges[k].opp, x.opp);
            }
        }
    }
    for (std::size_t v = 0; v < m.vertices.size(); ++v) {
        int lowest = -1, lowestBoundary = -1;
        for (int e = h - 1; e >= 0; --e) {
            if (origin(e) == static_cast<int>(v)) {
                lowest = e;
                lowestBoundary = m.halfEdges[e].face >= fileFaces ? e : lowestBoundary;
            }
        }
        ASSERT_EQ(m.vertices[v].edge, lowestBoundary >= 0 ? lowestBoundary : lowest);
    }
    // Euler: every piece has one outer loop and its own unbounded side.
    const int used = static_cast<int>(std::count_if(m.vertices.begin(), m.vertices.end(),
                                                    [](const Vertex& v) { return v.edge >= 0; }));
    const int pieces = piecesOf(r);
    ASSERT_EQ(used - h / 2 + static_cast<int>(m.faces.size()), 2 * pieces);
    ASSERT_EQ(m.outerLoops, pieces);
}

bool says(const MeshOpening& o, const std::string& what) {
    for (const std::string& line : o.findings.lines("r.obj")) {
        if (line.find(what) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(MeshRandom, ValidOnesOpenAndBrokenOnesAreRefused) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        RandomMesh r = generate(random);
        if (r.faces.empty()) {
            continue;
        }
        const MeshOpening o = openMesh(r.text(), "r.obj");
        ASSERT_TRUE(o.mesh) << r.text();
        checkRecords(r, *o.mesh);
        if (HasFatalFailure()) {
            FAIL() << r.text();
        }
        // A face turned over, an edge used a third time, a vertex moved across an edge.
        RandomMesh flipped = r, third = r, moved = r;
        const std::size_t f = random() % r.faces.size();
        std::reverse(flipped.faces[f].begin(), flipped.faces[f].end());
        const MeshOpening a = openMesh(flipped.text(), "r.obj");
        EXPECT_TRUE(!a.mesh && (says(a, "orientations disagree") || says(a, "turned over")))
            << flipped.text();
        third.faces.push_back(
            {third.faces[f][1], third.faces[f][0], static_cast<int>(third.points.size())});
        third.faces.push_back(
            {third.faces[f][0], third.faces[f][1], static_cast<int>(third.points.size()) + 1});
        third.points.insert(third.points.end(), {{-50, -50}, {-60, -60}});
        const MeshOpening b = openMesh(third.text(), "r.obj");
        EXPECT_TRUE(!b.mesh && says(b, "faces (lines")) << third.text();
        moved.points[r.faces[f][0]].first += 15;
        moved.points[r.faces[f][0]].second += 15;
        const MeshOpening c = openMesh(moved.text(), "r.obj");
        EXPECT_TRUE(!c.mesh && (says(c, "crosses") || says(c, "lies on") ||
                                says(c, "turned over") || says(c, "overlaps")))
            << moved.text();
    }
}

} // namespace
