#include "draw/hit.h"

#include "draw/arrow.h"
#include "draw/layout.h"

#include <algorithm>
#include <limits>

namespace {

// The squared distance from p to the segment from a to b.
double squaredDistance(Pixel p, Pixel a, Pixel b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double px = p.x - a.x;
    const double py = p.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    const double t =
        lengthSquared == 0.0 ? 0.0 : std::clamp((px * dx + py * dy) / lengthSquared, 0.0, 1.0);
    const double ex = px - t * dx;
    const double ey = py - t * dy;
    return ex * ex + ey * ey;
}

RecordRef arrowAt(const Subdivision& s, Pixel p) {
    const double limit = static_cast<double>(layout::arrowPickDistance) * layout::arrowPickDistance;
    double best = std::numeric_limits<double>::infinity();
    RecordRef found;
    const ArrowSide side = arrowSide(s);
    for (int h = 0; h < static_cast<int>(s.halfEdges.size()); ++h) {
        const std::optional<Arrow> arrow = halfEdgeArrow(s, h, side);
        if (!arrow) {
            continue;
        }
        const double d = std::min({squaredDistance(p, arrow->from, arrow->to),
                                   squaredDistance(p, arrow->to, arrow->wing1),
                                   squaredDistance(p, arrow->to, arrow->wing2)});
        // Strictly nearer only: on a tie the lower number, met first, stays.
        if (d <= limit && d < best) {
            best = d;
            found = {RecordRef::halfEdge, h};
        }
    }
    return found;
}

RecordRef rowAt(const Subdivision& s, Pixel p) {
    using namespace layout;
    if (!s.showListing || p.y < listingFirstRow || p.y >= windowHeight || p.x < vertexColumn ||
        p.x >= windowWidth) {
        return {};
    }
    const int row = (p.y - listingFirstRow) / listingRowHeight;
    const RecordRef record = p.x < faceColumn       ? RecordRef{RecordRef::vertex, row}
                             : p.x < halfEdgeColumn ? RecordRef{RecordRef::face, row}
                                                    : RecordRef{RecordRef::halfEdge, row};
    return s.exists(record) ? record : RecordRef{};
}

} // namespace

RecordRef recordAt(const Subdivision& s, int x, int y) {
    const Pixel p{x, y};
    const RecordRef arrow = arrowAt(s, p);
    return arrow.kind != RecordRef::none ? arrow : rowAt(s, p);
}
