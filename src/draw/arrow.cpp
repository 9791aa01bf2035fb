#include "draw/arrow.h"

#include "mesh/planar_mesh.h"
#include "model/subdivision.h"

#include <cmath>
#include <numbers>

namespace {

// Every coordinate computed in floating point becomes a pixel by truncation toward zero.
int toPixel(double value) {
    return static_cast<int>(value);
}

// The length of an integer vector; squares are summed in integers, the root in double.
double length(int dx, int dy) {
    const long long squares = static_cast<long long>(dx) * dx + static_cast<long long>(dy) * dy;
    return std::sqrt(static_cast<double>(squares));
}

// As length, but never 0, so that it can divide.
double guardedLength(int dx, int dy) {
    const double l = length(dx, dy);
    return l == 0.0 ? 1.0 : l;
}

} // namespace

std::optional<Arrow> halfEdgeArrow(Pixel head, Pixel tail, ArrowSide side) {
    static const double c = std::cos(std::numbers::pi / 6);
    static const double s = std::sin(std::numbers::pi / 6);

    const int dx = tail.x - head.x;
    const int dy = tail.y - head.y;
    const double l = length(dx, dy);
    if (l == 0.0) {
        return std::nullopt;
    }
    const Pixel p{toPixel(head.x + 4 * dx / l), toPixel(head.y + 4 * dy / l)};
    const Pixel q{toPixel(tail.x - 4 * dx / l), toPixel(tail.y - 4 * dy / l)};

    // Truncation toward zero is symmetric, so the right side is the left side's mirror.
    const double m = (side == ArrowSide::left ? 1 : -1) * guardedLength(q.x - p.x, q.y - p.y) / 2.5;
    const int ox = toPixel((p.y - q.y) / m);
    const int oy = toPixel((q.x - p.x) / m);
    const Pixel tip{p.x + ox, p.y + oy};
    const Pixel from{q.x + ox, q.y + oy};

    // (a, b) is 7 pixels long and points from the tip back along the shaft; the wings are
    // it turned by +30 and -30 degrees.
    const double w = guardedLength(from.x - tip.x, from.y - tip.y);
    const double a = 7 * (from.x - tip.x) / w;
    const double b = 7 * (from.y - tip.y) / w;
    const Pixel wing1{toPixel((tip.x + c * a) - s * b), toPixel((tip.y + s * a) + c * b)};
    const Pixel wing2{toPixel((tip.x + c * a) + s * b), toPixel((tip.y - s * a) + c * b)};
    return Arrow{from, tip, wing1, wing2};
}

Arrow moved(const Arrow& arrow, Pixel offset) {
    const auto by = [&](Pixel p) { return Pixel{p.x + offset.x, p.y + offset.y}; };
    return {by(arrow.from), by(arrow.to), by(arrow.wing1), by(arrow.wing2)};
}

Pixel awayFromEdge(Pixel head, Pixel tail, ArrowSide side) {
    const int dx = head.x - tail.x;
    const int dy = head.y - tail.y;
    const double l = (side == ArrowSide::left ? 1 : -1) * length(dx, dy);
    if (l == 0.0) {
        return {};
    }
    return {static_cast<int>(std::lround(dy / l)), static_cast<int>(std::lround(-dx / l))};
}

bool halfEdgeEnds(const Subdivision& s, int h, Pixel& tail, Pixel& head) {
    if (!s.isHalfEdge(h)) {
        return false;
    }
    const HalfEdge& e = s.halfEdges[h];
    if (!s.isVertex(e.target) || !s.isHalfEdge(e.prev) || !s.isVertex(s.halfEdges[e.prev].target)) {
        return false;
    }
    const Vertex& t = s.vertices[s.halfEdges[e.prev].target];
    const Vertex& v = s.vertices[e.target];
    tail = {t.x, t.y};
    head = {v.x, v.y};
    return true;
}

std::optional<Arrow> halfEdgeArrow(const Subdivision& s, int h, ArrowSide side) {
    Pixel tail;
    Pixel head;
    if (!halfEdgeEnds(s, h, tail, head)) {
        return std::nullopt;
    }
    return halfEdgeArrow(head, tail, side);
}

ArrowSide arrowSide(const Subdivision& s) {
    if (!s.mesh || s.mesh->fileFaces == 0 || !s.isFace(0)) {
        return ArrowSide::left;
    }
    const std::vector<Point2>& points = s.mesh->points;
    // Twice the signed area of face 0 in the plane, by the shoelace rule.
    double twiceArea = 0;
    int first = -1;
    int last = -1;
    const auto corner = [&](int v) {
        if (last >= 0) {
            twiceArea += points[last].x * points[v].y - points[v].x * points[last].y;
        } else {
            first = v;
        }
        last = v;
    };
    s.forEachInCycle(0, [&](int h) {
        const int v = s.halfEdges[h].target;
        if (v >= 0 && v < static_cast<int>(points.size())) {
            corner(v);
        }
    });
    if (first >= 0) {
        corner(first);
    }
    return twiceArea < 0 ? ArrowSide::right : ArrowSide::left;
}
