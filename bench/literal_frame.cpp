#include "literal_frame.h"

#include "draw/layout.h"
#include "draw/text.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>
#include <vector>

namespace {

// The address of the record at a link, null for a link to nothing.
template <class T> const T* recordAt(const std::vector<T>& list, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= list.size()) {
        return nullptr;
    }
    return &list[position];
}

// The position of the first entry that is the record itself, searched from 0; -1 if none.
template <class T> int indexOf(const std::vector<T>& list, const T* record) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (&list[i] == record) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool occurs(const std::vector<int>& list, int position) {
    return std::find(list.begin(), list.end(), position) != list.end();
}

std::string named(const std::string& prefix, int number) {
    std::ostringstream text;
    text << prefix << number;
    return text.str();
}

void blitAndFree(SDL_Surface* text, SDL_Surface* target, int x, int y) {
    SDL_Rect place{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(text->w),
                   static_cast<Uint16>(text->h)};
    SDL_UpperBlit(text, nullptr, target, &place);
    SDL_FreeSurface(text);
}

void label(const Subdivision& s, TTF_Font* font, SDL_Surface* target, SDL_Color fill,
           const std::string& text, int x, int y) {
    SDL_Surface* surface = literalOutlinedText(font, textOutlineWidth, text, fill, s.paperColor);
    if (surface) {
        blitAndFree(surface, target, x, y);
    }
}

void faces(const Subdivision& s, SDL_Surface* target) {
    const int count = static_cast<int>(s.faces.size());
    for (int f = count - 1; f >= 0; --f) {
        const SDL_Color color = f == s.pickedFace                   ? s.pickedFaceColor
                                : occurs(s.pickedFaceNeighbours, f) ? s.neighbourFaceColor
                                                                    : s.paperColor;
        std::vector<Sint16> xs;
        std::vector<Sint16> ys;
        if (f == count - 1) {
            xs = {0, windowWidth, windowWidth, 0};
            ys = {0, 0, windowHeight, windowHeight};
        } else {
            for (const Vertex& v : s.faceVertices(f)) {
                xs.push_back(static_cast<Sint16>(v.x));
                ys.push_back(static_cast<Sint16>(v.y));
            }
        }
        filledPolygonRGBA(target, xs.data(), ys.data(), static_cast<int>(xs.size()), color.r,
                          color.g, color.b, 255);
    }
}

void arrows(const Subdivision& s, SDL_Surface* target) {
    const double c = std::cos(std::numbers::pi / 6);
    const double sn = std::sin(std::numbers::pi / 6);
    for (std::size_t k = 0; k < s.halfEdges.size(); ++k) {
        const HalfEdge& h = s.halfEdges[k];
        const SDL_Color color =
            occurs(s.pickedVertexEdges, static_cast<int>(k)) ? s.highlightColor : s.inkColor;
        const Vertex& head = s.vertices[h.target];
        const Vertex& tail = s.vertices[s.halfEdges[h.prev].target];
        const int dx = tail.x - head.x;
        const int dy = tail.y - head.y;
        const double l = std::sqrt(static_cast<double>(dx * dx + dy * dy));
        if (l == 0.0) {
            continue;
        }
        const int px = static_cast<int>(head.x + 4 * dx / l);
        const int py = static_cast<int>(head.y + 4 * dy / l);
        const int qx = static_cast<int>(tail.x - 4 * dx / l);
        const int qy = static_cast<int>(tail.y - 4 * dy / l);
        double m = std::sqrt(static_cast<double>((qx - px) * (qx - px) + (qy - py) * (qy - py)));
        if (m == 0.0) {
            m = 1.0;
        }
        m /= 2.5;
        const int ox = static_cast<int>((py - qy) / m);
        const int oy = static_cast<int>((qx - px) / m);
        const int tipX = px + ox;
        const int tipY = py + oy;
        const int fromX = qx + ox;
        const int fromY = qy + oy;
        double w = std::sqrt(
            static_cast<double>((fromX - tipX) * (fromX - tipX) + (fromY - tipY) * (fromY - tipY)));
        if (w == 0.0) {
            w = 1.0;
        }
        const double a = 7 * (fromX - tipX) / w;
        const double b = 7 * (fromY - tipY) / w;
        const int wing1X = static_cast<int>((tipX + c * a) - sn * b);
        const int wing1Y = static_cast<int>((tipY + sn * a) + c * b);
        const int wing2X = static_cast<int>((tipX + c * a) + sn * b);
        const int wing2Y = static_cast<int>((tipY - sn * a) + c * b);
        aalineRGBA(target, static_cast<Sint16>(fromX), static_cast<Sint16>(fromY),
                   static_cast<Sint16>(tipX), static_cast<Sint16>(tipY), color.r, color.g, color.b,
                   255);
        aalineRGBA(target, static_cast<Sint16>(tipX), static_cast<Sint16>(tipY),
                   static_cast<Sint16>(wing1X), static_cast<Sint16>(wing1Y), color.r, color.g,
                   color.b, 255);
        aalineRGBA(target, static_cast<Sint16>(tipX), static_cast<Sint16>(tipY),
                   static_cast<Sint16>(wing2X), static_cast<Sint16>(wing2Y), color.r, color.g,
                   color.b, 255);
    }
}

void dots(const Subdivision& s, SDL_Surface* target) {
    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        const bool picked = static_cast<int>(v) == s.pickedVertex;
        const SDL_Color color = picked ? s.highlightColor : s.vertexColor;
        filledCircleRGBA(
            target, static_cast<Sint16>(s.vertices[v].x), static_cast<Sint16>(s.vertices[v].y),
            picked ? layout::pickedDotRadius : layout::dotRadius, color.r, color.g, color.b, 255);
    }
}

void labels(const Subdivision& s, TTF_Font* font, SDL_Surface* target) {
    for (std::size_t k = 0; k < s.halfEdges.size(); ++k) {
        const HalfEdge& h = s.halfEdges[k];
        const SDL_Color color =
            occurs(s.pickedVertexEdges, static_cast<int>(k)) ? s.highlightColor : s.inkColor;
        SDL_Surface* text = literalOutlinedText(
            font, textOutlineWidth, named("e", static_cast<int>(k)), color, s.paperColor);
        if (!text) {
            continue;
        }
        const Vertex& head = s.vertices[h.target];
        const Vertex& tail = s.vertices[s.halfEdges[h.prev].target];
        const int ax = (head.x + (head.x + tail.x) / 2) / 2;
        const int ay = (head.y + (head.y + tail.y) / 2) / 2;
        int x = ax - text->w / 2;
        if (x + text->w > windowWidth) {
            x = windowWidth - text->w;
        } else if (x < 0) {
            x = 0;
        }
        int y = ay - text->h / 2;
        if (y + text->h > windowHeight) {
            y = windowHeight - text->h;
        } else if (y < 0) {
            y = 0;
        }
        blitAndFree(text, target, x, y);
    }

    for (std::size_t i = 0; i < s.vertices.size(); ++i) {
        const Vertex& v = s.vertices[i];
        const SDL_Color color =
            static_cast<int>(i) == s.pickedVertex ? s.highlightColor : s.inkColor;
        SDL_Surface* text = literalOutlinedText(
            font, textOutlineWidth, named("v", static_cast<int>(i)), color, s.paperColor);
        if (!text) {
            continue;
        }
        int x = v.x + layout::vertexLabelOffset;
        if (x + text->w > windowWidth) {
            x = windowWidth - layout::vertexLabelMargin - text->w;
        }
        int y = v.y;
        if (y + text->h > windowHeight) {
            y = windowHeight - layout::vertexLabelMargin - text->h;
        }
        blitAndFree(text, target, x, y);
    }

    const int count = static_cast<int>(s.faces.size());
    for (int f = 0; f < count; ++f) {
        const SDL_Color color = f == s.pickedFace                   ? s.highlightColor
                                : occurs(s.pickedFaceNeighbours, f) ? s.neighbourLabelColor
                                                                    : s.inkColor;
        SDL_Surface* text =
            literalOutlinedText(font, textOutlineWidth, named("f", f), color, s.paperColor);
        if (!text) {
            continue;
        }
        int sumX = 0;
        int sumY = 0;
        int corners = 0;
        const int first = s.faces[f].edge;
        int e = first;
        do {
            sumX += s.vertices[s.halfEdges[e].target].x;
            sumY += s.vertices[s.halfEdges[e].target].y;
            ++corners;
            e = s.halfEdges[e].next;
        } while (e != first);
        int ax = sumX / corners;
        int ay = sumY / corners;
        if (f == count - 1) {
            const Pixel centre =
                s.showListing ? layout::outerLabelCentre : layout::outerLabelCentreWithoutListing;
            ax = centre.x;
            ay = centre.y;
        }
        blitAndFree(text, target, ax - text->w / 2, ay - text->h / 2);
    }
}

void listing(const Subdivision& s, TTF_Font* font, SDL_Surface* target) {
    using namespace layout;
    label(s, font, target, s.inkColor,
          named("List of vertices (", static_cast<int>(s.vertices.size())) + "):", vertexColumn,
          listingTitleRow);
    for (std::size_t i = 0; i < s.vertices.size(); ++i) {
        const Vertex& v = s.vertices[i];
        const SDL_Color color =
            static_cast<int>(i) == s.pickedVertex ? s.highlightColor : s.inkColor;
        const int y = listingFirstRow + listingRowHeight * static_cast<int>(i);
        label(s, font, target, color, named("v", static_cast<int>(i)), vertexColumn, y);
        label(s, font, target, color, named("x: ", v.x), vertexXColumn, y);
        label(s, font, target, color, named("y: ", v.y), vertexYColumn, y);
        label(s, font, target, color,
              named("e", indexOf(s.halfEdges, recordAt(s.halfEdges, v.edge))), vertexEdgeColumn, y);
    }

    label(s, font, target, s.inkColor,
          named("List of faces (", static_cast<int>(s.faces.size())) + "):", faceColumn,
          listingTitleRow);
    for (std::size_t j = 0; j < s.faces.size(); ++j) {
        const int position = static_cast<int>(j);
        const SDL_Color color = position == s.pickedFace                   ? s.highlightColor
                                : occurs(s.pickedFaceNeighbours, position) ? s.neighbourLabelColor
                                                                           : s.inkColor;
        const int y = listingFirstRow + listingRowHeight * position;
        label(s, font, target, color, named("f", position), faceColumn, y);
        label(s, font, target, color,
              named("e", indexOf(s.halfEdges, recordAt(s.halfEdges, s.faces[j].edge))),
              faceEdgeColumn, y);
    }

    label(s, font, target, s.inkColor,
          named("List of half-edges (", static_cast<int>(s.halfEdges.size())) + "):",
          halfEdgeColumn, listingTitleRow);
    for (std::size_t k = 0; k < s.halfEdges.size(); ++k) {
        const HalfEdge& h = s.halfEdges[k];
        const int position = static_cast<int>(k);
        const SDL_Color color =
            occurs(s.pickedVertexEdges, position) ? s.highlightColor : s.inkColor;
        const int y = listingFirstRow + listingRowHeight * position;
        label(s, font, target, color, named("e", position), halfEdgeColumn, y);
        label(s, font, target, color,
              named("v", indexOf(s.vertices, recordAt(s.vertices, h.target))), halfEdgeTargetColumn,
              y);
        const int face = indexOf(s.faces, recordAt(s.faces, h.face));
        if (face != -1) {
            label(s, font, target, color, named("f", face), halfEdgeFaceColumn, y);
        }
        label(s, font, target, color,
              named("next: e", indexOf(s.halfEdges, recordAt(s.halfEdges, h.next))),
              halfEdgeNextColumn, y);
        label(s, font, target, color,
              named("prev: e", indexOf(s.halfEdges, recordAt(s.halfEdges, h.prev))),
              halfEdgePrevColumn, y);
        label(s, font, target, color,
              named("opp: e", indexOf(s.halfEdges, recordAt(s.halfEdges, h.opp))),
              halfEdgeOppColumn, y);
    }
}

} // namespace

SDL_Surface* literalOutlinedText(TTF_Font* font, int outline, const std::string& text,
                                 SDL_Color fillColor, SDL_Color outlineColor) {
    TTF_SetFontOutline(font, outline);
    SDL_Surface* outlined = TTF_RenderUTF8_Blended(font, text.c_str(), outlineColor);
    TTF_SetFontOutline(font, 0);
    SDL_Surface* plain = TTF_RenderUTF8_Blended(font, text.c_str(), fillColor);
    if (!outlined) {
        SDL_FreeSurface(plain);
        return nullptr;
    }
    if (plain) {
        SDL_Rect place{static_cast<Sint16>(outline), static_cast<Sint16>(outline),
                       static_cast<Uint16>(plain->w), static_cast<Uint16>(plain->h)};
        SDL_UpperBlit(plain, nullptr, outlined, &place);
        SDL_FreeSurface(plain);
    }
    return outlined;
}

void literalFrame(const Subdivision& s, int angles, TTF_Font* labelFont, TTF_Font* statusFont,
                  SDL_Surface* screen) {
    if (SDL_MUSTLOCK(screen)) {
        SDL_LockSurface(screen);
    }
    SDL_Rect whole{0, 0, windowWidth, windowHeight};
    SDL_FillRect(screen, &whole, 0xFFFFFF);

    faces(s, screen);
    arrows(s, screen);
    dots(s, screen);
    if (s.showLabels) {
        labels(s, labelFont, screen);
    }
    if (s.showListing) {
        listing(s, labelFont, screen);
    }

    SDL_Surface* status =
        literalOutlinedText(statusFont, textOutlineWidth, named("Angles: ", angles),
                            palette::inkColor, palette::paperColor);
    if (status) {
        blitAndFree(status, screen, layout::statusPlace.x, layout::statusPlace.y);
    }
    if (SDL_MUSTLOCK(screen)) {
        SDL_UnlockSurface(screen);
    }
}
