#include "draw/pole.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <queue>
#include <vector>

namespace {

// The initial cells cover the bounding box's longer side in at most this many squares, so
// that a sliver of a face starts from few cells.
constexpr int maxCellsPerSide = 16;

// The squared distance from (x, y) to the segment from a to b.
double squaredDistance(double x, double y, Pixel a, Pixel b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = dx * dx + dy * dy;
    const double t =
        length > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length, 0.0, 1.0) : 0.0;
    const double ex = a.x + t * dx - x;
    const double ey = a.y + t * dy - y;
    return ex * ex + ey * ey;
}

// The distance from (x, y) to the nearest side, negative outside the region.
double signedDistance(double x, double y, std::span<const std::span<const Pixel>> rings) {
    double nearest = std::numeric_limits<double>::infinity();
    for (std::span<const Pixel> ring : rings) {
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            nearest = std::min(nearest, squaredDistance(x, y, ring[j], ring[i]));
        }
    }
    const double distance = std::sqrt(nearest);
    return insideRings(x, y, rings) ? distance : -distance;
}

// A square cell: its centre, half its side, the centre's distance to the sides, and the
// farthest any point of it can lie from them.
struct Cell {
    double x = 0;
    double y = 0;
    double half = 0;
    double distance = 0;
    double potential = 0;
};

// The order of the search: by potential, then by place, which no two cells share.
bool before(const Cell& a, const Cell& b) {
    if (a.potential != b.potential) {
        return a.potential < b.potential;
    }
    return a.x != b.x ? a.x < b.x : a.y < b.y;
}

} // namespace

bool insideRings(double x, double y, std::span<const std::span<const Pixel>> rings) {
    bool inside = false;
    for (std::span<const Pixel> ring : rings) {
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const Pixel a = ring[j];
            const Pixel b = ring[i];
            if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y)) {
                inside = !inside;
            }
        }
    }
    return inside;
}

Pixel poleOfInaccessibility(std::span<const std::span<const Pixel>> rings) {
    if (rings.empty() || rings.front().empty()) {
        return {};
    }
    const std::span<const Pixel> outline = rings.front();
    double left = outline.front().x, right = left;
    double top = outline.front().y, bottom = top;
    // The centroid by the shoelace rule, relative to the first corner to keep it exact.
    double twiceArea = 0, cx = 0, cy = 0;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        left = std::min<double>(left, outline[i].x);
        right = std::max<double>(right, outline[i].x);
        top = std::min<double>(top, outline[i].y);
        bottom = std::max<double>(bottom, outline[i].y);
        const double ax = outline[j].x - outline.front().x, ay = outline[j].y - outline.front().y;
        const double bx = outline[i].x - outline.front().x, by = outline[i].y - outline.front().y;
        const double cross = ax * by - bx * ay;
        twiceArea += cross;
        cx += (ax + bx) * cross;
        cy += (ay + by) * cross;
    }
    const double width = right - left, height = bottom - top;
    const double size =
        std::max(std::min(width, height), std::max(width, height) / maxCellsPerSide);
    if (size <= 0) {
        return outline.front();
    }
    const auto cell = [&](double x, double y, double half) {
        const double distance = signedDistance(x, y, rings);
        return Cell{x, y, half, distance, distance + half * std::numbers::sqrt2};
    };
    Cell best = twiceArea != 0 ? cell(outline.front().x + cx / (3 * twiceArea),
                                      outline.front().y + cy / (3 * twiceArea), 0)
                               : cell(left + width / 2, top + height / 2, 0);
    std::priority_queue<Cell, std::vector<Cell>, decltype(&before)> queue(&before);
    int cells = 1;
    for (double x = left; x < right || x == left; x += size) {
        for (double y = top; y < bottom || y == top; y += size) {
            queue.push(cell(x + size / 2, y + size / 2, size / 2));
            ++cells;
        }
    }
    while (!queue.empty()) {
        const Cell c = queue.top();
        queue.pop();
        if (c.distance > best.distance) {
            best = c;
        }
        if (c.potential - best.distance <= poleTolerance || cells + 4 > maxPoleCells) {
            continue;
        }
        const double h = c.half / 2;
        for (auto [dx, dy] : {std::pair{-h, -h}, {h, -h}, {-h, h}, {h, h}}) {
            queue.push(cell(c.x + dx, c.y + dy, h));
        }
        cells += 4;
    }
    return {static_cast<int>(std::lround(best.x)), static_cast<int>(std::lround(best.y))};
}
