#include "scene.h"

#include "arrow.h"
#include "listing.h"
#include "text.h"

#include <SDL_gfxPrimitives.h>

#include <cstddef>
#include <vector>

namespace {

// The drawing area is the window, whatever the size of the target.
constexpr int areaWidth = 1000;
constexpr int areaHeight = 600;

// One flag per record, set for the positions listed; positions out of range are ignored.
// Looking a record up here instead of in the list keeps a large selection linear.
std::vector<bool> flagged(const std::vector<int>& positions, std::size_t count) {
    std::vector<bool> flags(count, false);
    for (int position : positions) {
        if (position >= 0 && static_cast<std::size_t>(position) < count) {
            flags[position] = true;
        }
    }
    return flags;
}

bool isVertex(const Subdivision& s, int v) {
    return v >= 0 && static_cast<std::size_t>(v) < s.vertices.size();
}

bool isHalfEdge(const Subdivision& s, int h) {
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
bool ends(const Subdivision& s, int h, Pixel& tail, Pixel& head) {
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

void line(SDL_Surface* target, Pixel from, Pixel to, SDL_Color color) {
    aalineRGBA(target, static_cast<Sint16>(from.x), static_cast<Sint16>(from.y),
               static_cast<Sint16>(to.x), static_cast<Sint16>(to.y), color.r, color.g, color.b,
               255);
}

void drawFaces(const Subdivision& s, SDL_Surface* target) {
    if (s.faces.empty()) {
        return;
    }
    const int outer = static_cast<int>(s.faces.size()) - 1;
    const std::vector<bool> neighbour = flagged(s.pickedFaceNeighbours, s.faces.size());
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
            filledPolygonRGBA(target, xs.data(), ys.data(), static_cast<int>(xs.size()), color.r,
                              color.g, color.b, 255);
        }
    }
}

void drawArrows(const Subdivision& s, SDL_Surface* target, const std::vector<bool>& highlighted) {
    for (std::size_t h = 0; h < s.halfEdges.size(); ++h) {
        Pixel tail;
        Pixel head;
        if (!ends(s, static_cast<int>(h), tail, head)) {
            continue;
        }
        const std::optional<Arrow> arrow = halfEdgeArrow(head, tail);
        if (!arrow) {
            continue;
        }
        const SDL_Color color = highlighted[h] ? s.highlightColor : s.inkColor;
        line(target, arrow->from, arrow->to, color);
        line(target, arrow->to, arrow->wing1, color);
        line(target, arrow->to, arrow->wing2, color);
    }
}

void drawDots(const Subdivision& s, SDL_Surface* target) {
    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        const bool picked = static_cast<int>(v) == s.pickedVertex;
        const SDL_Color color = picked ? s.highlightColor : s.vertexColor;
        filledCircleRGBA(target, static_cast<Sint16>(s.vertices[v].x),
                         static_cast<Sint16>(s.vertices[v].y), picked ? 5 : 4, color.r, color.g,
                         color.b, 255);
    }
}

// Blits the whole label with its top-left corner at (x, y) and frees it.
void blitLabel(SDL_Surface* target, SDL_Surface* label, int x, int y) {
    SDL_Rect where{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(label->w),
                   static_cast<Uint16>(label->h)};
    SDL_UpperBlit(label, nullptr, target, &where);
    SDL_FreeSurface(label);
}

// A label's start along one axis, moved back so that the label ends by limit, or else
// forward to 0.
int keepInside(int start, int size, int limit) {
    if (start + size > limit) {
        return limit - size;
    }
    return start < 0 ? 0 : start;
}

void drawLabels(const Subdivision& s, SDL_Surface* target, const std::vector<bool>& highlighted) {
    // A half-edge's label sits a quarter of the way from its head to its tail, so each
    // twin's label is nearer its own arrowhead.
    for (std::size_t h = 0; h < s.halfEdges.size(); ++h) {
        Pixel tail;
        Pixel head;
        if (!ends(s, static_cast<int>(h), tail, head)) {
            continue;
        }
        const SDL_Color color = highlighted[h] ? s.highlightColor : s.inkColor;
        SDL_Surface* label =
            renderOutlinedText(s.font, 2, numbered("e", static_cast<int>(h)), color, s.paperColor);
        if (label) {
            const int ax = (head.x + (head.x + tail.x) / 2) / 2;
            const int ay = (head.y + (head.y + tail.y) / 2) / 2;
            blitLabel(target, label, keepInside(ax - label->w / 2, label->w, areaWidth),
                      keepInside(ay - label->h / 2, label->h, areaHeight));
        }
    }

    // A vertex's label hangs right of and below its centre; past the right or bottom edge
    // it moves back inside with a 10-pixel margin.
    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        const bool picked = static_cast<int>(v) == s.pickedVertex;
        SDL_Surface* label =
            renderOutlinedText(s.font, 2, numbered("v", static_cast<int>(v)),
                               picked ? s.highlightColor : s.inkColor, s.paperColor);
        if (label) {
            int x = s.vertices[v].x + 3;
            int y = s.vertices[v].y;
            if (x + label->w > areaWidth) {
                x = areaWidth - 10 - label->w;
            }
            if (y + label->h > areaHeight) {
                y = areaHeight - 10 - label->h;
            }
            blitLabel(target, label, x, y);
        }
    }

    // A face's label is centred on the mean of its corners; the outer face's on a point
    // left of the polygon, whose centre moves with the listing. Neither is kept inside.
    const int outer = static_cast<int>(s.faces.size()) - 1;
    const std::vector<bool> neighbour = flagged(s.pickedFaceNeighbours, s.faces.size());
    for (int f = 0; f <= outer; ++f) {
        int ax = s.showListing ? 50 : 166;
        int ay = 300;
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
        SDL_Surface* label = renderOutlinedText(s.font, 2, numbered("f", f), color, s.paperColor);
        if (label) {
            blitLabel(target, label, ax - label->w / 2, ay - label->h / 2);
        }
    }
}

} // namespace

void draw(const Subdivision& s, SDL_Surface* target) {
    if (!target) {
        return;
    }
    const std::vector<bool> highlighted = flagged(s.pickedVertexEdges, s.halfEdges.size());
    drawFaces(s, target);
    drawArrows(s, target, highlighted);
    drawDots(s, target);
    if (s.showLabels) {
        drawLabels(s, target, highlighted);
    }
    if (s.showListing) {
        drawListing(s, target);
    }
}
