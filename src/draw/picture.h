#pragma once

#include "draw/arrow.h"
#include "draw/text.h"
#include "model/subdivision.h"

#include <SDL.h>

#include <concepts>
#include <span>
#include <string>
#include <vector>

// The status line: "Angles: " and N in ink on paper in the top-left corner, or in its place
// the open mesh's file name. The walk line under it is written in the same font.
struct StatusLine {
    Font* font = nullptr; // the status font
    int angles = 0;
    std::string meshName{}; // the open mesh file's name without its folder; empty: the fan
};

// The shapes of a frame, in window pixels. Fills, lines and dots are opaque.

// Face f filled as the polygon of its corners.
struct FaceShape {
    int face = -1;
    std::span<const Sint16> xs;
    std::span<const Sint16> ys;
    SDL_Color fillColor{};
};

// Half-edge h's arrow: its shaft and two wings, each a 1-pixel anti-aliased line. A heavy
// arrow is drawn a second time, moved by copyOffset (one pixel further from its edge); a
// plain one has copyOffset {0, 0}.
struct ArrowShape {
    int halfEdge = -1;
    Arrow arrow;
    SDL_Color lineColor{};
    Pixel copyOffset;

    bool heavy() const { return copyOffset.x != 0 || copyOffset.y != 0; }
};

// Vertex v's disc.
struct DotShape {
    int vertex = -1;
    Pixel centre;
    int radius = 0;
    SDL_Color fillColor{};
};

// Where a text goes: its outlined rendering's top-left corner, found from the rendering's
// size by a rule. A painter measures the text once, the way it can: the window's renders
// it, the SVG's asks SDL_ttf for the size.
struct TextPlace {
    enum Rule {
        corner,        // at is the top-left corner, whatever the size
        centred,       // centred on at
        centredInside, // centred on at, then moved to lie inside the window
        besideVertex,  // right of the vertex at, level with it; past the right or bottom
                       // edge moved back inside, a margin away from the edge
    };
    Rule rule = corner;
    Pixel at;

    Pixel topLeft(TextSize size) const;
};

// Text in fillColor inside an outline of textOutlineWidth pixels in outlineColor
// (renderOutlinedText).
struct TextShape {
    Font* font = nullptr; // never null, nor its plain handle
    std::string text;
    SDL_Color fillColor{};
    SDL_Color outlineColor{};
    TextPlace place;
};

// A whole frame as shapes in painting order, later ones over earlier ones: the paper
// background over the whole window, then every face, arrow, dot and text in its list's
// order. The window's pixels (SurfacePainter) and the exported vector picture are both
// painted from it, so they cannot show different things. Not copied: the faces view the
// picture's own corner lists.
struct Picture {
    std::vector<FaceShape> faces;
    std::vector<ArrowShape> arrows;
    std::vector<DotShape> dots;
    std::vector<TextShape> texts;
    std::vector<Sint16> cornerXs;
    std::vector<Sint16> cornerYs;

    Picture() = default;
    Picture(Picture&&) = default;
    Picture& operator=(Picture&&) = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
};

// The frame of s with the status line: the faces from the last (the outer face, filled
// as the whole window) down to face 0; an arrow for every half-edge; a dot for every
// vertex; the "e", "v" and "f" labels when showLabels is set; the listing when
// showListing is set; then the status line and the walk line on top. The selection picks
// the colours: a picked half-edge's arrow, label and listing row in pickedEdgeColor, those
// of its next, prev and opp in their colours (where one half-edge holds two of these
// parts, the first named wins); these four arrows come after every other, the picked
// one last and heavy. The walk line shows walkExpression when there is one. An
// empty structure gives no face, arrow, dot or label. Texts are left out when their font
// is missing.
//
// With a mesh open the faces are the regions the window shows (BoundaryLoops): the whole
// window once for the unbounded region (its shape's face the lowest-numbered outer loop
// in no hole), each hole's loop largest first, then the file's faces from the last down
// to face 0. A region outside the file's faces is coloured as picked when one of the loops
// that bound it is picked, else as a neighbour when one of them is a neighbour. Every arrow
// lies on arrowSide(s), so inside its own face. A file face's label is centred on its
// pole of inaccessibility (a triangle's on the mean of its corners), a hole's on that of
// its region, an outer loop's layout::outerLoopLabelGap left of its leftmost corners,
// level with their middle, and kept inside the window.
Picture framePicture(const Subdivision& s, const StatusLine& status);

// What paints a Picture: one member per kind of shape, the texts as one batch in painting
// order.
template <class P>
concept Painter = requires(P& painter, const FaceShape& face, const ArrowShape& arrow,
                           const DotShape& dot, std::span<const TextShape> texts) {
    painter.background();
    painter.face(face);
    painter.arrow(arrow);
    painter.dot(dot);
    painter.texts(texts);
};

template <Painter P> void paint(const Picture& picture, P& painter) {
    painter.background();
    for (const FaceShape& face : picture.faces) {
        painter.face(face);
    }
    for (const ArrowShape& arrow : picture.arrows) {
        painter.arrow(arrow);
    }
    for (const DotShape& dot : picture.dots) {
        painter.dot(dot);
    }
    painter.texts(picture.texts);
}
