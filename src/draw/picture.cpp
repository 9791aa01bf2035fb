#include "draw/picture.h"

#include "draw/layout.h"
#include "draw/loops.h"
#include "draw/pole.h"
#include "model/roles.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

// A label's start along one axis, moved back so that the label ends by limit, or else
// forward to 0.
int keepInside(int start, int size, int limit) {
    if (start + size > limit) {
        return limit - size;
    }
    return start < 0 ? 0 : start;
}

bool usable(const Font* font) {
    return font && font->plain;
}

// Builds a Picture from a structure, one kind of shape after another.
struct Composer {
    const Subdivision& s;
    Picture& picture;
    SelectionRoles roles;
    ArrowSide side = ArrowSide::left;
    BoundaryLoops loops{};     // a mesh's; empty for the fan
    std::vector<Pixel> ring{}; // a face's corners, kept for the next face

    // The colour of a half-edge's arrow, label and listing row.
    SDL_Color halfEdgeColor(int h) const {
        const SDL_Color colors[] = {s.inkColor,      s.pickedEdgeColor, s.nextEdgeColor,
                                    s.prevEdgeColor, s.oppEdgeColor,    s.highlightColor,
                                    s.inkColor}; // by Role
        return colors[static_cast<int>(roles.halfEdge(h))];
    }
    // Of the colours for a picked face, a neighbour and any other face, f's.
    SDL_Color faceColor(int f, SDL_Color picked, SDL_Color neighbour, SDL_Color other) const {
        const Role role = roles.face(f);
        return role == Role::picked ? picked : role == Role::neighbour ? neighbour : other;
    }

    void text(Font* font, std::string text, SDL_Color fill, SDL_Color outline, TextPlace place) {
        if (usable(font)) {
            picture.texts.push_back(TextShape{font, std::move(text), fill, outline, place});
        }
    }

    void label(std::string text, SDL_Color fill, TextPlace::Rule rule, Pixel at) {
        this->text(s.font, std::move(text), fill, s.paperColor, TextPlace{rule, at});
    }

    void faces();
    void arrows();
    void dots();
    void labels();
    bool cornerMean(int f, Pixel& mean) const;
    void meshFaceLabel(int f);
    void listing();
    void walkLine(Font* font);
};

// Each face's corners go to the picture's corner lists first; the shapes view them once
// the lists no longer grow.
void Composer::faces() {
    std::vector<std::pair<std::size_t, std::size_t>> spans; // first corner, corner count
    // Adds face f in fill, its corners given to corners' visitor; fewer than 3 add nothing.
    const auto add = [&](int f, SDL_Color fill, const auto& corners) {
        const std::size_t first = picture.cornerXs.size();
        corners([&](int x, int y) {
            picture.cornerXs.push_back(static_cast<Sint16>(x));
            picture.cornerYs.push_back(static_cast<Sint16>(y));
        });
        const std::size_t count = picture.cornerXs.size() - first;
        if (count < 3) {
            picture.cornerXs.resize(first);
            picture.cornerYs.resize(first);
            return;
        }
        spans.emplace_back(first, count);
        picture.faces.push_back(FaceShape{f, {}, {}, fill});
    };
    const auto window = [](const auto& corner) {
        corner(0, 0);
        corner(windowWidth, 0);
        corner(windowWidth, windowHeight);
        corner(0, windowHeight);
    };
    const auto cycle = [&](int f) {
        return [this, f](const auto& corner) {
            s.forEachCorner(f, [&](const Vertex& v) { corner(v.x, v.y); });
        };
    };
    const auto fill = [&](int f) {
        return faceColor(f, s.pickedFaceColor, s.neighbourFaceColor, s.paperColor);
    };
    if (!s.mesh) {
        for (int f = static_cast<int>(s.faces.size()) - 1; f >= 0; --f) {
            if (s.isOuterFace(f)) {
                add(f, fill(f), window);
            } else {
                add(f, fill(f), cycle(f));
            }
        }
    } else {
        // A region outside the file's faces takes the strongest role of the loops that
        // bound it: the window the unbounded region's, each hole its own region's, the
        // holes largest first so that those within pieces within holes come out on top.
        const auto strength = [&](int f) {
            const Role role = roles.face(f);
            return role == Role::picked ? 2 : role == Role::neighbour ? 1 : 0;
        };
        const SDL_Color byStrength[] = {s.paperColor, s.neighbourFaceColor, s.pickedFaceColor};
        int outside = 0;
        int outsideFace = -1;
        std::vector<int> holeStrength(loops.count());
        for (int f = loops.firstFace; f < loops.firstFace + loops.count(); ++f) {
            const int around = s.isOuterFace(f) ? loops.aroundFace(f) : f;
            if (around < 0) {
                outside = std::max(outside, strength(f));
                outsideFace = outsideFace < 0 ? f : outsideFace;
            } else {
                int& held = holeStrength[around - loops.firstFace];
                held = std::max(held, strength(f));
            }
        }
        add(outsideFace, byStrength[outside], window);
        for (int hole : loops.holesLargestFirst) {
            add(hole, byStrength[holeStrength[hole - loops.firstFace]], [&](const auto& corner) {
                for (Pixel p : loops.polygon(hole)) {
                    corner(p.x, p.y);
                }
            });
        }
        for (int f = loops.firstFace - 1; f >= 0; --f) {
            add(f, fill(f), cycle(f));
        }
    }
    const std::span<const Sint16> xs(picture.cornerXs);
    const std::span<const Sint16> ys(picture.cornerYs);
    for (std::size_t i = 0; i < spans.size(); ++i) {
        picture.faces[i].xs = xs.subspan(spans[i].first, spans[i].second);
        picture.faces[i].ys = ys.subspan(spans[i].first, spans[i].second);
    }
}

// The arrows of a picked half-edge and its links come last, the picked one on top, so
// that no neighbour hides them where arrows crowd around a vertex.
void Composer::arrows() {
    picture.arrows.reserve(s.halfEdges.size());
    std::vector<std::pair<Role, ArrowShape>> walked;
    for (std::size_t h = 0; h < s.halfEdges.size(); ++h) {
        const int k = static_cast<int>(h);
        Pixel tail;
        Pixel head;
        if (!halfEdgeEnds(s, k, tail, head)) {
            continue;
        }
        if (const std::optional<Arrow> arrow = halfEdgeArrow(head, tail, side)) {
            const Role role = roles.halfEdge(k);
            const ArrowShape shape{k, *arrow, halfEdgeColor(k),
                                   role == Role::picked ? awayFromEdge(head, tail, side) : Pixel{}};
            if (role == Role::none || role == Role::atPickedVertex) {
                picture.arrows.push_back(shape);
            } else {
                walked.emplace_back(role, shape);
            }
        }
    }
    // Each role belongs to one half-edge at most, so the order is the roles' whatever the
    // sort: opp, prev, next, then the picked one.
    std::sort(walked.begin(), walked.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [r, shape] : walked) {
        picture.arrows.push_back(shape);
    }
}

void Composer::dots() {
    picture.dots.reserve(s.vertices.size());
    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        const bool picked = roles.vertex(static_cast<int>(v)) == Role::picked;
        picture.dots.push_back(DotShape{static_cast<int>(v),
                                        Pixel{s.vertices[v].x, s.vertices[v].y},
                                        picked ? layout::pickedDotRadius : layout::dotRadius,
                                        picked ? s.highlightColor : s.vertexColor});
    }
}

void Composer::labels() {
    picture.texts.reserve(picture.texts.size() + s.halfEdges.size() + s.vertices.size() +
                          s.faces.size());
    // A half-edge's label sits a quarter of the way from its head to its tail, so each
    // twin's label is nearer its own arrowhead; it is kept inside the window.
    for (std::size_t h = 0; h < s.halfEdges.size(); ++h) {
        Pixel tail;
        Pixel head;
        if (!halfEdgeEnds(s, static_cast<int>(h), tail, head)) {
            continue;
        }
        const int ax = (head.x + (head.x + tail.x) / 2) / 2;
        const int ay = (head.y + (head.y + tail.y) / 2) / 2;
        label(recordName(RecordRef::halfEdge, static_cast<int>(h)),
              halfEdgeColor(static_cast<int>(h)), TextPlace::centredInside, Pixel{ax, ay});
    }

    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        label(recordName(RecordRef::vertex, static_cast<int>(v)),
              roles.vertex(static_cast<int>(v)) == Role::picked ? s.highlightColor : s.inkColor,
              TextPlace::besideVertex, Pixel{s.vertices[v].x, s.vertices[v].y});
    }

    // A fan's face has its label centred on the mean of its corners; the outer face's on a
    // point left of the polygon, which moves with the listing. Neither is kept inside.
    for (int f = 0; s.isFace(f); ++f) {
        if (s.mesh) {
            meshFaceLabel(f);
            continue;
        }
        Pixel centre =
            s.showListing ? layout::outerLabelCentre : layout::outerLabelCentreWithoutListing;
        if (!s.isOuterFace(f) && !cornerMean(f, centre)) {
            continue;
        }
        label(recordName(RecordRef::face, f),
              faceColor(f, s.highlightColor, s.neighbourLabelColor, s.inkColor), TextPlace::centred,
              centre);
    }
}

bool Composer::cornerMean(int f, Pixel& mean) const {
    long long sumX = 0;
    long long sumY = 0;
    int corners = 0;
    s.forEachCorner(f, [&](const Vertex& v) {
        sumX += v.x;
        sumY += v.y;
        ++corners;
    });
    if (corners == 0) {
        return false;
    }
    mean = {static_cast<int>(sumX / corners), static_cast<int>(sumY / corners)};
    return true;
}

// A mesh's file face has its label at its pole of inaccessibility (a triangle at the mean
// of its corners, as the fan's, which lies inside it), a hole at the pole of its region,
// an outer loop's left of its leftmost corners, level with their middle, kept inside.
void Composer::meshFaceLabel(int f) {
    const SDL_Color color = faceColor(f, s.highlightColor, s.neighbourLabelColor, s.inkColor);
    TextPlace place{TextPlace::centred, {}};
    if (!s.isBoundaryFace(f)) {
        ring.clear();
        s.forEachCorner(f, [&](const Vertex& v) { ring.push_back({v.x, v.y}); });
        if (ring.empty()) {
            return;
        }
        const std::span<const Pixel> outline(ring);
        if (ring.size() != 3 || !cornerMean(f, place.at)) {
            place.at = poleOfInaccessibility(std::span(&outline, 1));
        }
    } else if (s.isOuterFace(f)) {
        const std::span<const Pixel> loop = loops.polygon(f);
        if (loop.empty()) {
            return;
        }
        int left = loop.front().x;
        for (Pixel p : loop) {
            left = std::min(left, p.x);
        }
        int top = windowHeight;
        int bottom = 0;
        for (Pixel p : loop) {
            if (p.x == left) {
                top = std::min(top, p.y);
                bottom = std::max(bottom, p.y);
            }
        }
        place = {TextPlace::centredInside, {left - layout::outerLoopLabelGap, (top + bottom) / 2}};
    } else {
        std::vector<std::span<const Pixel>> rings{loops.polygon(f)};
        for (int island : loops.islands[f - loops.firstFace]) {
            rings.push_back(loops.polygon(island));
        }
        if (rings.front().empty()) {
            return;
        }
        place.at = poleOfInaccessibility(rings);
    }
    text(s.font, recordName(RecordRef::face, f), color, s.paperColor, place);
}

// The vertex, face and half-edge sections side by side, each a title and then one row
// per record, in the selection's colours. Rows that would start at or below the window's
// bottom edge are left out, so that they cost nothing even for the largest structures.
void Composer::listing() {
    using namespace layout;
    const auto visibleRows = [](std::size_t records) {
        const std::size_t fit =
            (windowHeight - listingFirstRow + listingRowHeight - 1) / listingRowHeight;
        return std::min(records, fit);
    };
    const auto item = [&](SDL_Color color, std::string name, int x, std::size_t row) {
        text(s.font, std::move(name), color, s.paperColor,
             TextPlace{TextPlace::corner,
                       Pixel{x, listingFirstRow + listingRowHeight * static_cast<int>(row)}});
    };
    const auto title = [&](const char* prefix, std::size_t count, int x) {
        text(s.font, prefix + std::to_string(count) + "):", s.inkColor, s.paperColor,
             TextPlace{TextPlace::corner, Pixel{x, listingTitleRow}});
    };

    title("List of vertices (", s.vertices.size(), vertexColumn);
    for (std::size_t i = 0; i < visibleRows(s.vertices.size()); ++i) {
        const Vertex& v = s.vertices[i];
        const SDL_Color color =
            roles.vertex(static_cast<int>(i)) == Role::picked ? s.highlightColor : s.inkColor;
        item(color, recordName(RecordRef::vertex, static_cast<int>(i)), vertexColumn, i);
        item(color, "x: " + std::to_string(v.x), vertexXColumn, i);
        item(color, "y: " + std::to_string(v.y), vertexYColumn, i);
        item(color, vertexEdgeName(v.edge), vertexEdgeColumn, i);
    }

    title("List of faces (", s.faces.size(), faceColumn);
    for (std::size_t j = 0; j < visibleRows(s.faces.size()); ++j) {
        const SDL_Color color =
            faceColor(static_cast<int>(j), s.highlightColor, s.neighbourLabelColor, s.inkColor);
        item(color, recordName(RecordRef::face, static_cast<int>(j)), faceColumn, j);
        item(color, recordName(RecordRef::halfEdge, s.faces[j].edge), faceEdgeColumn, j);
    }

    title("List of half-edges (", s.halfEdges.size(), halfEdgeColumn);
    for (std::size_t k = 0; k < visibleRows(s.halfEdges.size()); ++k) {
        const HalfEdge& h = s.halfEdges[k];
        const SDL_Color color = halfEdgeColor(static_cast<int>(k));
        item(color, recordName(RecordRef::halfEdge, static_cast<int>(k)), halfEdgeColumn, k);
        item(color, recordName(RecordRef::vertex, h.target), halfEdgeTargetColumn, k);
        // A half-edge on no face leaves its face item out; the row goes on.
        if (h.face != -1) {
            item(color, recordName(RecordRef::face, h.face), halfEdgeFaceColumn, k);
        }
        item(color, "next: " + recordName(RecordRef::halfEdge, h.next), halfEdgeNextColumn, k);
        item(color, "prev: " + recordName(RecordRef::halfEdge, h.prev), halfEdgePrevColumn, k);
        item(color, "opp: " + recordName(RecordRef::halfEdge, h.opp), halfEdgeOppColumn, k);
    }
}

// The walk's expression, walkStepsPerLine steps to a line: the dots in it are exactly
// the starts of its steps, so each further line starts at a dot.
void Composer::walkLine(Font* font) {
    std::vector<std::string> lines(1);
    int dots = 0;
    for (char c : s.walkExpression()) {
        if (c == '.' && dots++ == layout::walkStepsPerLine * static_cast<int>(lines.size())) {
            lines.emplace_back();
        }
        lines.back() += c;
    }
    for (std::size_t i = 0; i < lines.size() && !lines[i].empty(); ++i) {
        const int line = static_cast<int>(i);
        text(font, lines[i], s.inkColor, s.paperColor,
             TextPlace{TextPlace::corner,
                       Pixel{layout::walkPlace.x + (line ? layout::walkIndent : 0),
                             layout::walkPlace.y + line * layout::walkLineHeight}});
    }
}

} // namespace

Pixel TextPlace::topLeft(TextSize size) const {
    switch (rule) {
    case corner:
        return at;
    case centred:
        return {at.x - size.w / 2, at.y - size.h / 2};
    case centredInside:
        return {keepInside(at.x - size.w / 2, size.w, windowWidth),
                keepInside(at.y - size.h / 2, size.h, windowHeight)};
    case besideVertex: {
        Pixel corner{at.x + layout::vertexLabelOffset, at.y};
        if (corner.x + size.w > windowWidth) {
            corner.x = windowWidth - layout::vertexLabelMargin - size.w;
        }
        if (corner.y + size.h > windowHeight) {
            corner.y = windowHeight - layout::vertexLabelMargin - size.h;
        }
        return corner;
    }
    }
    return at;
}

Picture framePicture(const Subdivision& s, const StatusLine& status) {
    Picture picture;
    Composer composer{s, picture, SelectionRoles(s)};
    if (s.mesh) {
        composer.side = arrowSide(s);
        composer.loops = boundaryLoops(s);
    }
    composer.faces();
    composer.arrows();
    composer.dots();
    if (s.showLabels) {
        composer.labels();
    }
    if (s.showListing) {
        composer.listing();
    }
    composer.text(
        status.font,
        status.meshName.empty() ? "Angles: " + std::to_string(status.angles) : status.meshName,
        palette::inkColor, palette::paperColor, TextPlace{TextPlace::corner, layout::statusPlace});
    composer.walkLine(status.font);
    return picture;
}
