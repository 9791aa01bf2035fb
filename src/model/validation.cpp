#include "model/validation.h"

#include "mesh/planar_mesh.h"
#include "model/subdivision.h"

#include <algorithm>

#include <cstdint>
#include <string>
#include <vector>

namespace {

bool valid(int position, std::size_t size) {
    return position >= 0 && static_cast<std::size_t>(position) < size;
}

Violation broken(int invariant, int record, std::string what) {
    return Violation{invariant, record, std::move(what)};
}

// Twice the signed area of a corner list, in the window's own coordinates.
std::int64_t doubleArea(const std::vector<Vertex>& corners) {
    std::int64_t sum = 0;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        sum += static_cast<std::int64_t>(corners[j].x) * corners[i].y -
               static_cast<std::int64_t>(corners[i].x) * corners[j].y;
    }
    return sum;
}

// The record a walk step reads from an existing record's own fields, whether or not that
// names a record; none where the step does not apply to the record's kind.
RecordRef linkField(const Subdivision& s, RecordRef from, Step step) {
    if (from.kind != RecordRef::halfEdge) {
        const int edge = from.kind == RecordRef::vertex ? s.vertices[from.number].edge
                                                        : s.faces[from.number].edge;
        return step == Step::edge ? RecordRef{RecordRef::halfEdge, edge} : RecordRef{};
    }
    const HalfEdge& h = s.halfEdges[from.number];
    const int fields[] = {-1, h.next, h.prev, h.opp, h.target, h.face}; // by Step, as kinds
    const RecordRef::Kind kinds[] = {RecordRef::none,     RecordRef::halfEdge, RecordRef::halfEdge,
                                     RecordRef::halfEdge, RecordRef::vertex,   RecordRef::face};
    const int i = static_cast<int>(step);
    return {kinds[i], fields[i]}; // none for edge
}

} // namespace

Violation checkInvariants(const Subdivision& s) {
    const std::size_t nv = s.vertices.size();
    const std::size_t nh = s.halfEdges.size();
    const std::size_t nf = s.faces.size();

    for (std::size_t i = 0; i < nh; ++i) {
        const HalfEdge& h = s.halfEdges[i];
        const int n = static_cast<int>(i);
        if (!valid(h.next, nh) || !valid(h.prev, nh)) {
            return broken(1, n, "next or prev is not a half-edge");
        }
        if (s.halfEdges[h.next].prev != n || s.halfEdges[h.prev].next != n) {
            return broken(1, n, "next and prev disagree");
        }
    }

    for (std::size_t i = 0; i < nh; ++i) {
        const HalfEdge& h = s.halfEdges[i];
        if (!valid(h.face, nf) || s.halfEdges[h.next].face != h.face) {
            return broken(2, static_cast<int>(i), "next lies on another face");
        }
    }
    std::vector<int> perFace(nf, 0);
    for (const HalfEdge& h : s.halfEdges) {
        ++perFace[h.face];
    }
    for (std::size_t f = 0; f < nf; ++f) {
        const int start = s.faces[f].edge;
        if (!valid(start, nh) || s.halfEdges[start].face != static_cast<int>(f)) {
            return broken(2, static_cast<int>(f), "face edge is not on the face");
        }
        // Every step stays on f (checked above) and next is one-to-one (invariant 1), so
        // the cycle closes; it holds all of f's half-edges when it is as long as their count.
        int steps = 0;
        s.forEachInCycle(static_cast<int>(f), [&](int) { ++steps; });
        if (steps != perFace[f]) {
            return broken(2, static_cast<int>(f), "cycle misses half-edges of its face");
        }
    }

    for (std::size_t i = 0; i < nh; ++i) {
        const HalfEdge& h = s.halfEdges[i];
        const int n = static_cast<int>(i);
        if (!valid(h.target, nv)) {
            return broken(3, n, "target is not a vertex");
        }
        if (!valid(h.opp, nh) || h.opp == n || s.halfEdges[h.opp].opp != n) {
            return broken(3, n, "twins are not mutual");
        }
        if (s.halfEdges[h.opp].target != s.origin(n) || h.target != s.origin(h.opp)) {
            return broken(3, n, "twin does not run the other way");
        }
    }

    for (std::size_t v = 0; v < nv; ++v) {
        const int e = s.vertices[v].edge;
        // A mesh's vertex that no face uses has none.
        if (s.mesh && e == -1 &&
            std::none_of(s.halfEdges.begin(), s.halfEdges.end(),
                         [&](const HalfEdge& h) { return h.target == static_cast<int>(v); })) {
            continue;
        }
        if (!valid(e, nh) || s.origin(e) != static_cast<int>(v)) {
            return broken(4, static_cast<int>(v), "edge does not start at the vertex");
        }
    }

    if (s.mesh) {
        // Each boundary loop winds as its kind says, in the mesh's own plane (pixels may
        // flatten small faces): an outer one against the file's faces, a hole with them.
        const PlanarMesh& m = *s.mesh;
        const auto area = [&](int f) {
            double twice = 0;
            s.forEachInCycle(f, [&](int h) {
                const Point2 a = m.points[s.origin(h)], b = m.points[s.halfEdges[h].target];
                twice += a.x * b.y - b.x * a.y;
            });
            return twice;
        };
        const bool counterClockwise = m.fileFaces > 0 && area(0) > 0;
        for (int f = 0; f < static_cast<int>(nf); ++f) {
            const bool boundary = f >= m.fileFaces;
            const bool runsWith = (area(f) > 0) == counterClockwise;
            if (boundary ? runsWith == s.isOuterFace(f) : !runsWith) {
                return broken(5, f, "face does not wind as its kind");
            }
        }
    } else if (nf > 0) {
        // The outer cycle winds against the triangles and encloses the whole polygon.
        // Orientation alone cannot tell them apart: truncated to pixels, a sliver
        // triangle of a large polygon may come out flat or even turned over.
        const int outer = static_cast<int>(nf) - 1;
        const std::int64_t outerArea = doubleArea(s.faceVertices(outer));
        if (outerArea <= 0) {
            return broken(5, outer, "last face does not wind as the outer face");
        }
        for (int f = 0; f < outer; ++f) {
            if (doubleArea(s.faceVertices(f)) >= outerArea) {
                return broken(5, f, "an inner face encloses as much as the outer face");
            }
        }
    }

    if (s.pickedVertex != -1 && !valid(s.pickedVertex, nv)) {
        return broken(6, s.pickedVertex, "picked vertex does not exist");
    }
    if (s.pickedFace != -1 && !valid(s.pickedFace, nf)) {
        return broken(6, s.pickedFace, "picked face does not exist");
    }
    for (int h : s.pickedVertexEdges) {
        if (!valid(h, nh)) {
            return broken(6, h, "picked half-edge does not exist");
        }
    }
    for (int f : s.pickedFaceNeighbours) {
        if (!valid(f, nf)) {
            return broken(6, f, "neighbour face does not exist");
        }
    }
    if (s.pickedHalfEdge != -1 && !valid(s.pickedHalfEdge, nh)) {
        return broken(6, s.pickedHalfEdge, "picked half-edge does not exist");
    }
    if ((s.pickedVertex != -1) + (s.pickedFace != -1) + (s.pickedHalfEdge != -1) > 1) {
        return broken(6, -1, "more than one record is picked");
    }
    if ((!s.pickedVertexEdges.empty() && s.pickedVertex == -1) ||
        (!s.pickedFaceNeighbours.empty() && s.pickedFace == -1)) {
        return broken(6, -1, "a list outlives its picked record");
    }
    const HalfEdge none{-1, -1, -1, -1, -1};
    const HalfEdge& picked = s.pickedHalfEdge == -1 ? none : s.halfEdges[s.pickedHalfEdge];
    if (s.pickedNext != picked.next || s.pickedPrev != picked.prev || s.pickedOpp != picked.opp) {
        return broken(6, s.pickedHalfEdge, "picked links differ from the half-edge's");
    }

    // The walk starts at its anchor and each step follows a link to the next record of
    // its path, ending at the selection. The links are read from the fields here, not
    // through follow, which walks them and which this check is there to catch.
    const RecordRef selected = s.selected();
    if (selected.kind == RecordRef::none) {
        if (!s.walkPath.empty() || !s.walkSteps.empty()) {
            return broken(7, -1, "a walk without a selection");
        }
        return Violation{};
    }
    if (s.walkPath.size() != s.walkSteps.size() + 1 ||
        static_cast<int>(s.walkSteps.size()) > maxWalkSteps) {
        return broken(7, -1, "walk path and steps do not match");
    }
    if (s.walkPath.back() != selected) {
        return broken(7, selected.number, "walk does not end at the selection");
    }
    for (std::size_t i = 0; i < s.walkSteps.size(); ++i) {
        const RecordRef from = s.walkPath[i];
        if (!s.exists(from) || !s.exists(s.walkPath[i + 1]) ||
            linkField(s, from, s.walkSteps[i]) != s.walkPath[i + 1]) {
            return broken(7, static_cast<int>(i), "walk step does not follow its link");
        }
    }
    return Violation{};
}
