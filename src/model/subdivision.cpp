#include "model/subdivision.h"

#include "mesh/planar_mesh.h"
#include "model/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <utility>
#include <vector>

Subdivision::Subdivision(Font* labelFont) : font(labelFont) {}

void Subdivision::link(int a, int b) {
    halfEdges[a].next = b;
    halfEdges[b].prev = a;
}

void Subdivision::clear() {
    vertices.clear();
    halfEdges.clear();
    faces.clear();
}

namespace {

// Lays a mesh's records out in the window: its points scaled alike in x and y to fill the
// area, centred in it (y turned to grow downward), then rounded to the nearest pixel.
void layOut(const PlanarMesh& m, const MeshArea& area, Subdivision& s) {
    double left = m.points.front().x, right = left;
    double bottom = m.points.front().y, top = bottom;
    for (const Point2& p : m.points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    const double width = area.right - area.left, height = area.bottom - area.top;
    const double scale = std::min(right > left ? width / (right - left) : width,
                                  top > bottom ? height / (top - bottom) : height);
    const double cx = (area.left + area.right) / 2.0, cy = (area.top + area.bottom) / 2.0;
    const double mx = (left + right) / 2, my = (bottom + top) / 2;
    s.vertices = m.vertices;
    for (std::size_t v = 0; v < m.points.size(); ++v) {
        s.vertices[v].x = static_cast<int>(std::lround(cx + (m.points[v].x - mx) * scale));
        s.vertices[v].y = static_cast<int>(std::lround(cy - (m.points[v].y - my) * scale));
    }
    s.halfEdges = m.halfEdges;
    s.faces = m.faces;
}

// The distance from (x, y) to a face's cycle drawn as line segments.
double distanceToCycle(const std::vector<Vertex>& corners, int x, int y) {
    double nearest = INFINITY;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Vertex& a = corners[i];
        const Vertex& b = corners[(i + 1) % corners.size()];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length = dx * dx + dy * dy;
        const double t =
            length > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length, 0.0, 1.0) : 0;
        nearest = std::min(nearest, std::hypot(a.x + t * dx - x, a.y + t * dy - y));
    }
    return nearest;
}

} // namespace

void Subdivision::open(std::shared_ptr<const PlanarMesh> opened, int n) {
    mesh = std::move(opened);
    build(n);
}

bool Subdivision::isOuterFace(int f) const {
    if (mesh) {
        return isFace(f) && f < static_cast<int>(mesh->boundary.size()) &&
               mesh->boundary[f] == Boundary::outer;
    }
    return f >= 0 && f + 1 == static_cast<int>(faces.size());
}

bool Subdivision::isBoundaryFace(int f) const {
    if (mesh) {
        return isFace(f) && f >= mesh->fileFaces;
    }
    return isOuterFace(f);
}

void Subdivision::build(int n) {
    clearSelection();
    clear();
    if (mesh) {
        layOut(*mesh, showListing ? meshArea : meshAreaWithoutListing, *this);
        return;
    }
    if (n <= 2 || n > maxAngles) {
        return;
    }

    const double cx = showListing ? windowWidth / 4 : windowWidth / 2;
    const double cy = windowHeight / 2;
    const double twoPi = 6.283185307179586;
    vertices.reserve(n);
    for (int i = 1; i <= n; ++i) {
        // The angle is formed as 2π ÷ (n ÷ i), not 2π·i ÷ n: the two differ in the last
        // bit, and truncation turns that bit into a pixel (vertex 3 of the hexagon lies
        // at column 174, not 175).
        const double q = static_cast<double>(n) / i;
        const double angle = twoPi / q;
        const double y = std::sin(angle) * radius + cy;
        const double x = std::cos(angle) * radius + cx;
        vertices.push_back(Vertex{static_cast<int>(x), static_cast<int>(y), -1});
    }

    const int triangles = n - 2;
    halfEdges.resize(4 * n - 6);
    faces.resize(n - 1);

    // Triangle j (face j - 1) has the corners 0, j + 1, j in its counter-clockwise cycle;
    // vertex 0 is shared by every triangle of the fan.
    for (int j = 1; j <= triangles; ++j) {
        const int a = 3 * (j - 1);
        const int b = a + 1;
        const int c = a + 2;
        halfEdges[a].target = 0;
        halfEdges[b].target = j + 1;
        halfEdges[c].target = j;
        for (int h : {a, b, c}) {
            halfEdges[h].face = j - 1;
        }
        link(a, b);
        link(b, c);
        link(c, a);
        // Later triangles overwrite earlier ones: vertex 0 ends on the last triangle's
        // second half-edge, vertex n - 1 on its third.
        vertices[0].edge = b;
        vertices[j + 1].edge = c;
        vertices[j].edge = a;
        faces[j - 1].edge = a;
    }

    // The outer cycle runs 0 → 1 → … → n - 1 → 0; its half-edge k points to vertex k.
    const int outer = n - 2;
    const int first = 3 * triangles;
    for (int k = 0; k < n; ++k) {
        halfEdges[first + k].target = k;
        halfEdges[first + k].face = outer;
        link(first + k, first + (k + 1) % n);
    }
    faces[outer].edge = first + n - 1;

    // Twins: every half-edge from a to b pairs with the one from b to a. The half-edges
    // are grouped by origin (a counting sort, three allocations in all where a hash map
    // would allocate a node per half-edge), each group ordered by target, and the twin
    // of a half-edge is found by binary search in its target's group.
    const int count = static_cast<int>(halfEdges.size());
    std::vector<int> groupStart(n + 1, 0);
    for (int h = 0; h < count; ++h) {
        ++groupStart[origin(h) + 1];
    }
    std::partial_sum(groupStart.begin(), groupStart.end(), groupStart.begin());
    std::vector<std::pair<int, int>> byOrigin(count); // (target, half-edge)
    std::vector<int> filled(groupStart.begin(), groupStart.end() - 1);
    for (int h = 0; h < count; ++h) {
        byOrigin[filled[origin(h)]++] = {halfEdges[h].target, h};
    }
    for (int v = 0; v < n; ++v) {
        std::sort(byOrigin.begin() + groupStart[v], byOrigin.begin() + groupStart[v + 1]);
    }
    for (int h = 0; h < count; ++h) {
        const int from = halfEdges[h].target;
        const auto twin = std::lower_bound(byOrigin.begin() + groupStart[from],
                                           byOrigin.begin() + groupStart[from + 1],
                                           std::pair<int, int>{origin(h), -1});
        halfEdges[h].opp = twin->second;
    }
}

void Subdivision::clearSelection() {
    pickedVertex = -1;
    pickedFace = -1;
    pickedVertexEdges.clear();
    pickedFaceNeighbours.clear();
    pickedHalfEdge = -1;
    pickedNext = -1;
    pickedPrev = -1;
    pickedOpp = -1;
    walkPath.clear();
    walkSteps.clear();
}

std::vector<Vertex> Subdivision::faceVertices(int face) const {
    std::vector<Vertex> corners;
    corners.reserve(3); // a triangle of the fan in one allocation
    forEachCorner(face, [&](const Vertex& v) { corners.push_back(v); });
    return corners;
}

void Subdivision::pick(int x, int y) {
    clearSelection();

    for (int v = 0; v < static_cast<int>(vertices.size()); ++v) {
        const long long dx = std::llabs(static_cast<long long>(x) - vertices[v].x);
        const long long dy = std::llabs(static_cast<long long>(y) - vertices[v].y);
        // Either distance alone at or past the radius already misses; checking it first
        // keeps the squares far from int overflow for any click position.
        if (dx >= pickRadius || dy >= pickRadius) {
            continue;
        }
        const int squared = intPower(static_cast<int>(dx), 2) + intPower(static_cast<int>(dy), 2);
        const int distance = static_cast<int>(static_cast<float>(std::sqrt(squared)));
        if (distance < pickRadius) {
            select(RecordRef{RecordRef::vertex, v});
            return;
        }
    }

    if (faces.empty()) {
        return;
    }
    const int outer = static_cast<int>(faces.size()) - 1;
    const int inner = mesh ? mesh->fileFaces : outer;
    for (int f = 0; f < inner; ++f) {
        if (pointInPolygon(faceVertices(f), x, y)) {
            select(RecordRef{RecordRef::face, f});
            return;
        }
    }
    if (!mesh) {
        select(RecordRef{RecordRef::face, outer});
        return;
    }
    // A hole's loop bounds the region inside it, an outer loop the region outside; of the
    // loops that bound the point's side, the nearest bounds its region.
    int nearest = -1;
    double distance = INFINITY;
    for (int f = inner; f <= outer; ++f) {
        const std::vector<Vertex> loop = faceVertices(f);
        if (pointInPolygon(loop, x, y) == isHole(f)) {
            const double d = distanceToCycle(loop, x, y);
            if (d < distance) {
                distance = d;
                nearest = f;
            }
        }
    }
    if (nearest >= 0) {
        select(RecordRef{RecordRef::face, nearest});
    }
}

bool Subdivision::exists(RecordRef record) const {
    switch (record.kind) {
    case RecordRef::vertex:
        return isVertex(record.number);
    case RecordRef::face:
        return isFace(record.number);
    case RecordRef::halfEdge:
        return isHalfEdge(record.number);
    case RecordRef::none:
        break;
    }
    return false;
}

namespace {

// Sets the selection of one existing record, leaving the walk to the caller. Every link
// read is checked, so that a damaged structure selects less instead of crashing.
void selectOnly(Subdivision& s, RecordRef record) {
    const int count = static_cast<int>(s.halfEdges.size());
    const auto linkOrNone = [&](int h) { return s.isHalfEdge(h) ? h : -1; };
    if (record.kind == RecordRef::vertex) {
        s.pickedVertex = record.number;
        for (int h = 0; h < count; ++h) {
            const int prev = s.halfEdges[h].prev;
            const bool starts = s.isHalfEdge(prev) && s.halfEdges[prev].target == record.number;
            if (s.halfEdges[h].target == record.number || starts) {
                s.pickedVertexEdges.push_back(h);
            }
        }
    } else if (record.kind == RecordRef::face) {
        s.pickedFace = record.number;
        s.forEachInCycle(record.number, [&](int e) {
            const int opp = s.halfEdges[e].opp;
            if (s.isHalfEdge(opp) && s.halfEdges[opp].face >= 0) {
                s.pickedFaceNeighbours.push_back(s.halfEdges[opp].face);
            }
        });
    } else if (record.kind == RecordRef::halfEdge) {
        const HalfEdge& h = s.halfEdges[record.number];
        s.pickedHalfEdge = record.number;
        s.pickedNext = linkOrNone(h.next);
        s.pickedPrev = linkOrNone(h.prev);
        s.pickedOpp = linkOrNone(h.opp);
    }
}

} // namespace

bool Subdivision::select(RecordRef record) {
    if (!exists(record)) {
        return false;
    }
    clearSelection();
    selectOnly(*this, record);
    walkPath.push_back(record);
    return true;
}

RecordRef Subdivision::selected() const {
    if (pickedVertex >= 0) {
        return {RecordRef::vertex, pickedVertex};
    }
    if (pickedFace >= 0) {
        return {RecordRef::face, pickedFace};
    }
    if (pickedHalfEdge >= 0) {
        return {RecordRef::halfEdge, pickedHalfEdge};
    }
    return {};
}

RecordRef Subdivision::follow(RecordRef from, Step step) const {
    if (!exists(from)) {
        return {};
    }
    RecordRef to;
    if (from.kind == RecordRef::halfEdge) {
        const HalfEdge& h = halfEdges[from.number];
        switch (step) {
        case Step::next:
            to = {RecordRef::halfEdge, h.next};
            break;
        case Step::prev:
            to = {RecordRef::halfEdge, h.prev};
            break;
        case Step::opp:
            to = {RecordRef::halfEdge, h.opp};
            break;
        case Step::target:
            to = {RecordRef::vertex, h.target};
            break;
        case Step::face:
            to = {RecordRef::face, h.face};
            break;
        case Step::edge:
            break;
        }
    } else if (step == Step::edge) {
        const int edge =
            from.kind == RecordRef::vertex ? vertices[from.number].edge : faces[from.number].edge;
        to = {RecordRef::halfEdge, edge};
    }
    return exists(to) ? to : RecordRef{};
}

bool Subdivision::step(Step step) {
    const RecordRef to = follow(selected(), step);
    if (to.kind == RecordRef::none) {
        return false;
    }
    std::vector<RecordRef> path = std::move(walkPath);
    std::vector<Step> steps = std::move(walkSteps);
    select(to);
    path.push_back(to);
    steps.push_back(step);
    if (static_cast<int>(steps.size()) > maxWalkSteps) {
        path.erase(path.begin());
        steps.erase(steps.begin());
    }
    walkPath = std::move(path);
    walkSteps = std::move(steps);
    return true;
}

std::string Subdivision::walkExpression() const {
    if (walkSteps.empty() || walkPath.size() != walkSteps.size() + 1) {
        return "";
    }
    std::string expression = recordName(walkPath.front());
    for (Step s : walkSteps) {
        expression += '.';
        expression += fieldName(s);
    }
    return expression + " = " + recordName(walkPath.back());
}
