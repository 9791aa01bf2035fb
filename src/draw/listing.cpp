#include "listing.h"

#include "text.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr int titleRow = 20;
constexpr int firstRow = 39;
constexpr int rowHeight = 14;
constexpr int areaHeight = 600;

// Rows are counted so that the ones below the area, which SDL would clip whole, cost
// nothing even for the largest structures.
std::size_t visibleRows(std::size_t records) {
    const std::size_t fit = (areaHeight - firstRow + rowHeight - 1) / rowHeight;
    return std::min(records, fit);
}

int rowY(std::size_t row) {
    return firstRow + rowHeight * static_cast<int>(row);
}

bool contains(const std::vector<int>& positions, std::size_t position) {
    return std::find(positions.begin(), positions.end(), static_cast<int>(position)) !=
           positions.end();
}

struct Writer {
    const Subdivision& s;
    SDL_Surface* target;

    void item(SDL_Color color, const char* prefix, int number, int x, int y) const {
        drawLabel(target, s.font, s.paperColor, color, numbered(prefix, number), x, y);
    }

    void title(const char* prefix, std::size_t count, int x) const {
        drawLabel(target, s.font, s.paperColor, s.inkColor,
                  numbered(prefix, static_cast<int>(count)) + "):", x, titleRow);
    }
};

} // namespace

void drawListing(const Subdivision& s, SDL_Surface* target) {
    if (!target) {
        return;
    }
    const Writer out{s, target};

    out.title("List of vertices (", s.vertices.size(), 428);
    for (std::size_t i = 0; i < visibleRows(s.vertices.size()); ++i) {
        const Vertex& v = s.vertices[i];
        const SDL_Color color =
            static_cast<int>(i) == s.pickedVertex ? s.highlightColor : s.inkColor;
        const int y = rowY(i);
        out.item(color, "v", static_cast<int>(i), 428, y);
        out.item(color, "x: ", v.x, 468, y);
        out.item(color, "y: ", v.y, 508, y);
        out.item(color, "e", v.edge, 548, y);
    }

    out.title("List of faces (", s.faces.size(), 600);
    for (std::size_t j = 0; j < visibleRows(s.faces.size()); ++j) {
        const SDL_Color color = static_cast<int>(j) == s.pickedFace   ? s.highlightColor
                                : contains(s.pickedFaceNeighbours, j) ? s.neighbourLabelColor
                                                                      : s.inkColor;
        const int y = rowY(j);
        out.item(color, "f", static_cast<int>(j), 600, y);
        out.item(color, "e", s.faces[j].edge, 630, y);
    }

    out.title("List of half-edges (", s.halfEdges.size(), 705);
    for (std::size_t k = 0; k < visibleRows(s.halfEdges.size()); ++k) {
        const HalfEdge& h = s.halfEdges[k];
        const SDL_Color color = contains(s.pickedVertexEdges, k) ? s.highlightColor : s.inkColor;
        const int y = rowY(k);
        out.item(color, "e", static_cast<int>(k), 705, y);
        out.item(color, "v", h.target, 735, y);
        // A half-edge on no face leaves its face item out; the row goes on.
        if (h.face != -1) {
            out.item(color, "f", h.face, 765, y);
        }
        out.item(color, "next: e", h.next, 795, y);
        out.item(color, "prev: e", h.prev, 855, y);
        out.item(color, "opp: e", h.opp, 915, y);
    }
}
