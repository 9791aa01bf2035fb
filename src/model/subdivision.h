#pragma once

#include "model/records.h"

#include <SDL.h>

#include <vector>

struct Font;

// The window the polygon is laid out in, in pixels; vertex coordinates and clicks are
// its pixels.
constexpr int windowWidth = 1000;
constexpr int windowHeight = 600;

// The corner count at start.
constexpr int startAngles = 6;
// The largest corner count that build accepts. Larger counts build nothing, so no
// input can make the record vectors overflow int positions or exhaust memory.
constexpr int maxAngles = 9999;
// How near a click must come to a vertex's centre to pick it.
constexpr int pickRadius = 16;
// The distance from the polygon's centre to its corners.
constexpr double polygonRadius = 150.0;

// The colours everything is drawn in, the status line included. The fourth byte plays
// no part.
namespace palette {
constexpr SDL_Color inkColor{20, 20, 20, 0};          // arrows and text
constexpr SDL_Color paperColor{255, 255, 255, 0};     // the background, faces, text outlines
constexpr SDL_Color vertexColor{50, 150, 250, 0};     // vertex dots
constexpr SDL_Color highlightColor{250, 130, 100, 0}; // the picked vertex and its half-edges
constexpr SDL_Color pickedFaceColor{250, 194, 181, 0};
constexpr SDL_Color neighbourLabelColor{40, 150, 7, 0}; // the faces across the picked one
constexpr SDL_Color neighbourFaceColor{219, 247, 209, 0};
} // namespace palette

// The half-edge structure of a regular polygon split into a fan of triangles around
// vertex 0, plus the outer face (always the last face), together with the style it is
// drawn in, the two display switches and the current selection.
//
// Records live by value in the three vectors; every link is a position. Copies and
// moves therefore never share or dangle records.
struct Subdivision {
    Subdivision() = default;
    // Sets the drawing style with the given label font (not owned, may be null).
    explicit Subdivision(Font* labelFont);

    Font* font = nullptr; // labels and listing; owned by the application
    SDL_Color inkColor = palette::inkColor;
    SDL_Color paperColor = palette::paperColor;
    SDL_Color vertexColor = palette::vertexColor;
    SDL_Color highlightColor = palette::highlightColor;
    SDL_Color pickedFaceColor = palette::pickedFaceColor;
    SDL_Color neighbourLabelColor = palette::neighbourLabelColor;
    SDL_Color neighbourFaceColor = palette::neighbourFaceColor;
    double radius = polygonRadius;

    std::vector<Vertex> vertices;
    std::vector<HalfEdge> halfEdges;
    std::vector<Face> faces;

    bool showLabels = true;
    bool showListing = true; // also moves the polygon's centre from the window's middle
                             // to the middle of its left half

    int pickedVertex = -1;
    int pickedFace = -1;
    std::vector<int> pickedVertexEdges;    // positions in halfEdges, ascending
    std::vector<int> pickedFaceNeighbours; // positions in faces, in cycle order

    // Replaces every record and empties the selection. n corners give n vertices,
    // 4n - 6 half-edges and n - 1 faces; n <= 2 or n > maxAngles leaves it empty.
    void build(int n);
    // Removes every record; leaves the selection as it is.
    void clear();

    // Selects the first vertex within pickRadius of (x, y) with every half-edge that
    // starts or ends there; failing that, the first inner face containing the point
    // (else the outer face) with the face across each of its half-edges.
    void pick(int x, int y);
    void clearSelection();

    // The corners of a face: the target of each half-edge of its cycle, starting at
    // the face's own edge and following next.
    std::vector<Vertex> faceVertices(int face) const;

    // Where a half-edge starts.
    int origin(int halfEdge) const {
        return halfEdges[halfEdge].prev < 0 ? -1 : halfEdges[halfEdges[halfEdge].prev].target;
    }

    // Links a to b as consecutive half-edges of one cycle: a.next = b and b.prev = a.
    void link(int a, int b);
};
