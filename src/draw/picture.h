#pragma once

#include "draw/arrow.h"
#include "draw/layout.h"
#include "draw/text.h"
#include "model/subdivision.h"

#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

// The frame as a sequence of shapes in painting order, later ones over earlier ones,
// handed to a painter. The window's pixels (SurfacePainter) and the exported vector
// picture are both painted from here, so they cannot show different things.
//
// A painter has these members:
//   background()                         the whole area white
//   face(f, xs, ys, color)               face f filled as the polygon of the corners xs, ys
//   arrow(h, arrow, color)               half-edge h's arrow: shaft and two wings, 1 pixel
//   dot(v, centre, radius, color)        vertex v's disc
//   label(font, text, fill, outline, place)
//                                        outlined text (renderOutlinedText, 2-pixel outline)
//                                        whose top-left corner is place(w, h) for a
//                                        rendering of w x h pixels
//   text(font, text, fill, outline, x, y)
//                                        the same with the top-left corner at (x, y)
// Coordinates are window pixels of the 1000 x 600 drawing area.

// The status line: "Angles: " and N in the top-left corner, in ink on paper.
struct StatusLine {
    Font* font = nullptr; // the status font
    int angles = 0;
};

namespace picture {

// The drawing area is the window, whatever the size of the target.
constexpr int areaWidth = windowWidth;
constexpr int areaHeight = windowHeight;

// One flag per record, set for the positions listed; positions out of range are ignored.
// Looking a record up here instead of in the list keeps a large selection linear.
inline std::vector<bool> flagged(const std::vector<int>& positions, std::size_t count) {
    std::vector<bool> flags(count, false);
    for (int position : positions) {
        if (position >= 0 && static_cast<std::size_t>(position) < count) {
            flags[position] = true;
        }
    }
    return flags;
}

inline bool isVertex(const Subdivision& s, int v) {
    return v >= 0 && static_cast<std::size_t>(v) < s.vertices.size();
}

inline bool isHalfEdge(const Subdivision& s, int h) {
    return h >= 0 && static_cast<std::size_t>(h) < s.halfEdges.size();
}

// Calls visit with the head vertex of each half-edge of face's cycle, from the face's
// edge following next. A broken link ends the walk, and it never takes more steps than
// there are half-edges, so a damaged structure cannot hang the frame.
template <class Visit> void forEachCorner(const Subdivision& s, int face, Visit visit) {
    const int first = s.faces[face].edge;
    int h = first;
    for (std::size_t steps = 0; steps < s.halfEdges.size() && isHalfEdge(s, h); ++steps) {
        const int v = s.halfEdges[h].target;
        if (!isVertex(s, v)) {
            return;
        }
        visit(s.vertices[v]);
        h = s.halfEdges[h].next;
        if (h == first) {
            return;
        }
    }
}

// The tail and head of a half-edge, or false when a link is missing.
inline bool ends(const Subdivision& s, int h, Pixel& tail, Pixel& head) {
    const int to = s.halfEdges[h].target;
    const int prev = s.halfEdges[h].prev;
    if (!isVertex(s, to) || !isHalfEdge(s, prev) || !isVertex(s, s.halfEdges[prev].target)) {
        return false;
    }
    const Vertex& t = s.vertices[s.halfEdges[prev].target];
    const Vertex& v = s.vertices[to];
    tail = {t.x, t.y};
    head = {v.x, v.y};
    return true;
}

// A label's start along one axis, moved back so that the label ends by limit, or else
// forward to 0.
inline int keepInside(int start, int size, int limit) {
    if (start + size > limit) {
        return limit - size;
    }
    return start < 0 ? 0 : start;
}

template <class Painter>
void paintFaces(const Subdivision& s, Painter& painter, const std::vector<bool>& neighbour) {
    if (s.faces.empty()) {
        return;
    }
    const int outer = static_cast<int>(s.faces.size()) - 1;
    std::vector<Sint16> xs;
    std::vector<Sint16> ys;
    for (int f = outer; f >= 0; --f) {
        const SDL_Color color = f == s.pickedFace ? s.pickedFaceColor
                                : neighbour[f]    ? s.neighbourFaceColor
                                                  : s.paperColor;
        xs.clear();
        ys.clear();
        if (f == outer) {
            xs = {0, areaWidth, areaWidth, 0};
            ys = {0, 0, areaHeight, areaHeight};
        } else {
            forEachCorner(s, f, [&](const Vertex& v) {
                xs.push_back(static_cast<Sint16>(v.x));
                ys.push_back(static_cast<Sint16>(v.y));
            });
        }
        if (xs.size() >= 3) {
            painter.face(f, xs, ys, color);
        }
    }
}

template <class Painter>
void paintArrows(const Subdivision& s, Painter& painter, const std::vector<bool>& highlighted) {
    for (std::size_t h = 0; h < s.halfEdges.size(); ++h) {
        Pixel tail;
        Pixel head;
        if (!ends(s, static_cast<int>(h), tail, head)) {
            continue;
        }
        if (const std::optional<Arrow> arrow = halfEdgeArrow(head, tail)) {
            painter.arrow(static_cast<int>(h), *arrow,
                          highlighted[h] ? s.highlightColor : s.inkColor);
        }
    }
}

template <class Painter> void paintDots(const Subdivision& s, Painter& painter) {
    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        const bool picked = static_cast<int>(v) == s.pickedVertex;
        painter.dot(static_cast<int>(v), Pixel{s.vertices[v].x, s.vertices[v].y},
                    picked ? layout::pickedDotRadius : layout::dotRadius,
                    picked ? s.highlightColor : s.vertexColor);
    }
}

template <class Painter>
void paintLabels(const Subdivision& s, Painter& painter, const std::vector<bool>& highlighted,
                 const std::vector<bool>& neighbour) {
    // A half-edge's label sits a quarter of the way from its head to its tail, so each
    // twin's label is nearer its own arrowhead.
    for (std::size_t h = 0; h < s.halfEdges.size(); ++h) {
        Pixel tail;
        Pixel head;
        if (!ends(s, static_cast<int>(h), tail, head)) {
            continue;
        }
        const int ax = (head.x + (head.x + tail.x) / 2) / 2;
        const int ay = (head.y + (head.y + tail.y) / 2) / 2;
        painter.label(s.font, numbered("e", static_cast<int>(h)),
                      highlighted[h] ? s.highlightColor : s.inkColor, s.paperColor,
                      [&](int w, int h) {
                          return Pixel{keepInside(ax - w / 2, w, areaWidth),
                                       keepInside(ay - h / 2, h, areaHeight)};
                      });
    }

    // A vertex's label hangs right of and below its centre; past the right or bottom edge
    // it moves back inside with a 10-pixel margin.
    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        const bool picked = static_cast<int>(v) == s.pickedVertex;
        const Vertex& vertex = s.vertices[v];
        painter.label(s.font, numbered("v", static_cast<int>(v)),
                      picked ? s.highlightColor : s.inkColor, s.paperColor, [&](int w, int h) {
                          Pixel at{vertex.x + layout::vertexLabelOffset, vertex.y};
                          if (at.x + w > areaWidth) {
                              at.x = areaWidth - layout::vertexLabelMargin - w;
                          }
                          if (at.y + h > areaHeight) {
                              at.y = areaHeight - layout::vertexLabelMargin - h;
                          }
                          return at;
                      });
    }

    // A face's label is centred on the mean of its corners; the outer face's on a point
    // left of the polygon, whose centre moves with the listing. Neither is kept inside.
    const int outer = static_cast<int>(s.faces.size()) - 1;
    for (int f = 0; f <= outer; ++f) {
        const Pixel outerCentre =
            s.showListing ? layout::outerLabelCentre : layout::outerLabelCentreWithoutListing;
        int ax = outerCentre.x;
        int ay = outerCentre.y;
        if (f != outer) {
            long long sumX = 0;
            long long sumY = 0;
            int corners = 0;
            forEachCorner(s, f, [&](const Vertex& v) {
                sumX += v.x;
                sumY += v.y;
                ++corners;
            });
            if (corners == 0) {
                continue;
            }
            ax = static_cast<int>(sumX / corners);
            ay = static_cast<int>(sumY / corners);
        }
        const SDL_Color color = f == s.pickedFace ? s.highlightColor
                                : neighbour[f]    ? s.neighbourLabelColor
                                                  : s.inkColor;
        painter.label(s.font, numbered("f", f), color, s.paperColor, [&](int w, int h) {
            return Pixel{ax - w / 2, ay - h / 2};
        });
    }
}

} // namespace picture

// Every record of s as text: the vertex, face and half-edge sections side by side from
// columns 428, 600 and 705, each a title at row 20 and then one row per record 14 pixels
// apart from row 39, in the selection's colours. Rows that would start at or below row 600,
// the bottom of the drawing area, are left out.
template <class Painter> void paintListing(const Subdivision& s, Painter& painter) {
    using namespace layout;
    // Rows are counted so that the ones below the area, which would be clipped whole, cost
    // nothing even for the largest structures.
    const auto visibleRows = [](std::size_t records) {
        const std::size_t fit =
            (picture::areaHeight - listingFirstRow + listingRowHeight - 1) / listingRowHeight;
        return std::min(records, fit);
    };
    const auto item = [&](SDL_Color color, const char* prefix, int number, int x, std::size_t row) {
        painter.text(s.font, numbered(prefix, number), color, s.paperColor, x,
                     listingFirstRow + listingRowHeight * static_cast<int>(row));
    };
    const auto title = [&](const char* prefix, std::size_t count, int x) {
        painter.text(s.font, numbered(prefix, static_cast<int>(count)) + "):", s.inkColor,
                     s.paperColor, x, listingTitleRow);
    };

    const std::vector<bool> highlighted = picture::flagged(s.pickedVertexEdges, s.halfEdges.size());
    const std::vector<bool> neighbour = picture::flagged(s.pickedFaceNeighbours, s.faces.size());

    title("List of vertices (", s.vertices.size(), vertexColumn);
    for (std::size_t i = 0; i < visibleRows(s.vertices.size()); ++i) {
        const Vertex& v = s.vertices[i];
        const SDL_Color color =
            static_cast<int>(i) == s.pickedVertex ? s.highlightColor : s.inkColor;
        item(color, "v", static_cast<int>(i), vertexColumn, i);
        item(color, "x: ", v.x, vertexXColumn, i);
        item(color, "y: ", v.y, vertexYColumn, i);
        item(color, "e", v.edge, vertexEdgeColumn, i);
    }

    title("List of faces (", s.faces.size(), faceColumn);
    for (std::size_t j = 0; j < visibleRows(s.faces.size()); ++j) {
        const SDL_Color color = static_cast<int>(j) == s.pickedFace ? s.highlightColor
                                : neighbour[j]                      ? s.neighbourLabelColor
                                                                    : s.inkColor;
        item(color, "f", static_cast<int>(j), faceColumn, j);
        item(color, "e", s.faces[j].edge, faceEdgeColumn, j);
    }

    title("List of half-edges (", s.halfEdges.size(), halfEdgeColumn);
    for (std::size_t k = 0; k < visibleRows(s.halfEdges.size()); ++k) {
        const HalfEdge& h = s.halfEdges[k];
        const SDL_Color color = highlighted[k] ? s.highlightColor : s.inkColor;
        item(color, "e", static_cast<int>(k), halfEdgeColumn, k);
        item(color, "v", h.target, halfEdgeTargetColumn, k);
        // A half-edge on no face leaves its face item out; the row goes on.
        if (h.face != -1) {
            item(color, "f", h.face, halfEdgeFaceColumn, k);
        }
        item(color, "next: e", h.next, halfEdgeNextColumn, k);
        item(color, "prev: e", h.prev, halfEdgePrevColumn, k);
        item(color, "opp: e", h.opp, halfEdgeOppColumn, k);
    }
}

// The picture of s: the faces from the last (the outer face, filled as the whole area)
// down to face 0; an arrow for every half-edge; a dot for every vertex; the "e", "v" and
// "f" labels when showLabels is set; then the listing when showListing is set. The
// selection picks the colours. An empty structure paints nothing.
template <class Painter> void paintScene(const Subdivision& s, Painter& painter) {
    const std::vector<bool> highlighted = picture::flagged(s.pickedVertexEdges, s.halfEdges.size());
    const std::vector<bool> neighbour = picture::flagged(s.pickedFaceNeighbours, s.faces.size());
    picture::paintFaces(s, painter, neighbour);
    picture::paintArrows(s, painter, highlighted);
    picture::paintDots(s, painter);
    if (s.showLabels) {
        picture::paintLabels(s, painter, highlighted, neighbour);
    }
    if (s.showListing) {
        paintListing(s, painter);
    }
}

// The whole frame: white, the scene of s, and the status line "Angles: " and N with its
// outline's top-left corner at (10, 10), on top of the rest.
template <class Painter>
void paintFrame(const Subdivision& s, const StatusLine& status, Painter& painter) {
    painter.background();
    paintScene(s, painter);
    painter.text(status.font, "Angles: " + std::to_string(status.angles), palette::inkColor,
                 palette::paperColor, layout::statusPlace.x, layout::statusPlace.y);
}
