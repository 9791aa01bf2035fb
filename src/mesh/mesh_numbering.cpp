#include "mesh/mesh_checker.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>

void numberRecords(const MeshChecker& c, PlanarMesh& m) {
    const int fileFaces = static_cast<int>(c.text.faceCount());
    // A face's half-edges are numbered as its corners are stored.
    const std::vector<int>& base = c.text.faceStarts;
    const int faceHalfEdges = base.back();
    m.halfEdges.assign(static_cast<std::size_t>(faceHalfEdges), HalfEdge{});
    for (int face = 0; face < fileFaces; ++face) {
        const std::span<const int> corners = c.text.face(static_cast<std::size_t>(face));
        const int k = static_cast<int>(corners.size());
        for (int i = 0; i < k; ++i) {
            HalfEdge& h = m.halfEdges[base[static_cast<std::size_t>(face)] + i];
            h.target = corners[(i + 1) % k];
            h.face = face;
            h.next = base[face] + (i + 1) % k;
            h.prev = base[face] + (i + k - 1) % k;
        }
    }
    const auto halfEdgeOf = [&](int side) {
        const MeshSide& s = c.sides[side];
        return base[s.face] + s.corner;
    };
    // Boundary half-edges, first by the face half-edge across from them: each runs from
    // its twin's target back to its origin.
    std::vector<int> twin;
    std::vector<int> from, to;
    for (const MeshEdge& e : c.edges) {
        if (e.second >= 0) {
            const int h = halfEdgeOf(e.first), g = halfEdgeOf(e.second);
            m.halfEdges[h].opp = g;
            m.halfEdges[g].opp = h;
        } else {
            const MeshSide& s = c.sides[e.first];
            twin.push_back(halfEdgeOf(e.first));
            from.push_back(s.b);
            to.push_back(s.a);
        }
    }
    const std::size_t loose = twin.size();
    const Groups leaving(m.read.size(), [&](auto give) {
        for (std::size_t t = 0; t < loose; ++t) {
            give(from[t], static_cast<int>(t));
        }
    });
    // A boundary half-edge's next leaves its target; where loops touch, it is the first
    // boundary half-edge met turning from the way back into the region the loop bounds.
    std::vector<int> next(loose, -1);
    const double fullTurn = 2 * std::acos(-1.0);
    for (std::size_t t = 0; t < loose; ++t) {
        const std::span<const int> out = leaving.of(to[t]);
        if (out.size() == 1) {
            next[t] = out[0];
            continue;
        }
        const Point2 at = c.points[to[t]];
        const Point2 back = c.points[from[t]];
        const double backAngle = std::atan2(back.y - at.y, back.x - at.x);
        double best = fullTurn + 1;
        for (int o : out) {
            const Point2 there = c.points[to[static_cast<std::size_t>(o)]];
            const double angle = std::atan2(there.y - at.y, there.x - at.x);
            double turn = std::fmod((backAngle - angle) * c.orientation + 2 * fullTurn, fullTurn);
            turn = turn > 0 ? turn : fullTurn;
            if (turn < best) {
                best = turn;
                next[t] = o;
            }
        }
    }
    // The loops, each from the half-edge across from its lowest-numbered neighbour, in the
    // order of those neighbours.
    std::vector<std::vector<int>> loops;
    std::vector<bool> seen(loose, false);
    for (std::size_t t = 0; t < loose; ++t) {
        if (seen[t]) {
            continue;
        }
        std::vector<int> loop;
        for (int u = static_cast<int>(t); !seen[u]; u = next[u]) {
            seen[u] = true;
            loop.push_back(u);
        }
        const auto lowest = std::min_element(loop.begin(), loop.end(),
                                             [&](int l, int r) { return twin[l] < twin[r]; });
        std::rotate(loop.begin(), lowest, loop.end());
        loops.push_back(std::move(loop));
    }
    std::sort(loops.begin(), loops.end(),
              [&](const std::vector<int>& l, const std::vector<int>& r) {
                  return twin[l[0]] < twin[r[0]];
              });
    m.faces.resize(static_cast<std::size_t>(fileFaces));
    for (int face = 0; face < fileFaces; ++face) {
        m.faces[face].edge = base[face];
        m.faceLines.push_back(c.lineOf(face));
        m.boundary.push_back(Boundary::none);
    }
    for (const std::vector<int>& loop : loops) {
        const int face = static_cast<int>(m.faces.size());
        const int first = static_cast<int>(m.halfEdges.size());
        const int k = static_cast<int>(loop.size());
        double twice = 0;
        for (int i = 0; i < k; ++i) {
            const std::size_t t = static_cast<std::size_t>(loop[i]);
            HalfEdge h;
            h.target = to[t];
            h.face = face;
            h.next = first + (i + 1) % k;
            h.prev = first + (i + k - 1) % k;
            h.opp = twin[t];
            m.halfEdges[twin[t]].opp = first + i;
            m.halfEdges.push_back(h);
            const Point2 a = c.points[from[t]], b = c.points[to[t]];
            twice += a.x * b.y - b.x * a.y;
        }
        m.faces.push_back(Face{first});
        m.faceLines.push_back(0);
        const bool outer = sign(twice) != c.orientation;
        m.boundary.push_back(outer ? Boundary::outer : Boundary::hole);
        (outer ? m.outerLoops : m.holes) += 1;
    }
    m.vertices.assign(m.read.size(), Vertex{});
    for (int pass = 0; pass < 2; ++pass) {
        for (int h = pass == 0 ? faceHalfEdges : 0;
             h < (pass == 0 ? static_cast<int>(m.halfEdges.size()) : faceHalfEdges); ++h) {
            const int origin = m.halfEdges[m.halfEdges[static_cast<std::size_t>(h)].prev].target;
            int& edge = m.vertices[origin].edge;
            edge = edge < 0 ? h : edge;
        }
    }
    m.fileFaces = fileFaces;
}

// A piece of the mesh that lies inside another piece's face overlaps it. A ray from each
// piece's leftmost vertex to the left meets first the edge of the region around it.

void warnAboutVertices(const PlanarMesh& m, Findings& findings) {
    for (std::size_t i = 0; i < m.vertices.size(); ++i) {
        if (m.vertices[i].edge < 0) {
            findings.add(Finding::warning, m.vertexLines[i],
                         "vertex " + vertexName(static_cast<int>(i)) +
                             " is used by no face: it keeps its number, with no edge");
        }
    }
    std::vector<int> order(m.read.size());
    std::iota(order.begin(), order.end(), 0);
    const auto at = [&](int i) {
        const Point3& p = m.read[i];
        return std::tuple(p.x, p.y, p.z);
    };
    std::stable_sort(order.begin(), order.end(), [&](int l, int r) { return at(l) < at(r); });
    for (std::size_t k = 1; k < order.size(); ++k) {
        if (at(order[k]) == at(order[k - 1])) {
            const int later = std::max(order[k], order[k - 1]),
                      earlier = std::min(order[k], order[k - 1]);
            findings.add(Finding::warning, m.vertexLines[later],
                         "vertex " + vertexName(later) + " lies at the same point as " +
                             vertexName(earlier));
        }
    }
}
