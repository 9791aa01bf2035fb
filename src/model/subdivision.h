#pragma once

#include "model/records.h"
#include "model/walk.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

struct Font;
struct PlanarMesh;

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

// Where an open mesh is laid out: the part of the window that the status and walk lines
// and the listing leave free, less a margin that keeps every label inside the window.
struct MeshArea {
    int left;
    int top;
    int right;
    int bottom;
};
constexpr MeshArea meshArea{60, 100, 380, 560};
constexpr MeshArea meshAreaWithoutListing{60, 100, 940, 560};

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
// The picked half-edge and its next, prev and opp. Each keeps apart from the others and
// from the colours above also as readers with protanopia, deuteranopia or tritanopia see
// them, and stands out from paper by a contrast of more than 5:1, as text does.
constexpr SDL_Color pickedEdgeColor{186, 68, 104, 0}; // rose
constexpr SDL_Color nextEdgeColor{0, 0, 240, 0};      // blue
constexpr SDL_Color prevEdgeColor{0, 90, 0, 0};       // green
constexpr SDL_Color oppEdgeColor{118, 28, 103, 0};    // plum
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
    SDL_Color pickedEdgeColor = palette::pickedEdgeColor;
    SDL_Color nextEdgeColor = palette::nextEdgeColor;
    SDL_Color prevEdgeColor = palette::prevEdgeColor;
    SDL_Color oppEdgeColor = palette::oppEdgeColor;
    double radius = polygonRadius;

    std::vector<Vertex> vertices;
    std::vector<HalfEdge> halfEdges;
    std::vector<Face> faces;

    bool showLabels = true;
    bool showListing = true; // also moves the polygon's centre from the window's middle
                             // to the middle of its left half

    // The selection: at most one of a vertex, a face and a half-edge is picked.
    int pickedVertex = -1;
    int pickedFace = -1;
    std::vector<int> pickedVertexEdges;    // positions in halfEdges, ascending
    std::vector<int> pickedFaceNeighbours; // positions in faces, in cycle order
    int pickedHalfEdge = -1;
    // The picked half-edge's links; -1 without a picked half-edge or where its link is not
    // a half-edge.
    int pickedNext = -1;
    int pickedPrev = -1;
    int pickedOpp = -1;

    // The walk: walkPath[0] is its anchor, the record it started from, and walkPath[i]
    // the record reached by walkSteps[i - 1]; the last entry is the selection. Both are
    // empty while nothing is picked. At most maxWalkSteps steps are kept.
    std::vector<RecordRef> walkPath;
    std::vector<Step> walkSteps;

    // The user's mesh when one is open (then the structure is the mesh's, not the fan's),
    // else null. Copies share it; it never changes.
    std::shared_ptr<const PlanarMesh> mesh;

    // Replaces every record and empties the selection. n corners give n vertices,
    // 4n - 6 half-edges and n - 1 faces; n <= 2 or n > maxAngles leaves it empty. With a
    // mesh open, n plays no part: the mesh's records are laid out again, in meshArea
    // (meshAreaWithoutListing while the listing is hidden), by meshPixel.
    void build(int n);
    // Opens a mesh (null: back to the fan) and builds: the records become its records.
    void open(std::shared_ptr<const PlanarMesh> opened, int n);
    // Removes every record; leaves the selection as it is.
    void clear();

    // Selects the first vertex within pickRadius of (x, y) with every half-edge that
    // starts or ends there; failing that, the first inner face containing the point
    // (else the outer face) with the face across each of its half-edges. Starts a new
    // walk from what it picked. With a mesh open, the inner faces are the file's faces,
    // and outside them the boundary face whose loop bounds the region holding the point
    // is picked (where several loops bound one region, such as an island's and its
    // hole's, the loop nearest the point; the lower number on a tie).
    void pick(int x, int y);
    // Empties the selection and the walk.
    void clearSelection();

    // Selects an existing record, a vertex or a face exactly as a left click on it does,
    // a half-edge with its next, prev and opp, and starts a new walk from it. False, and
    // nothing changes, when the record does not exist.
    bool select(RecordRef record);
    // What is picked: a vertex, a face, a half-edge or none.
    RecordRef selected() const;
    // The record a step leads to from an existing record, or none when the step does not
    // apply to its kind or the link it follows is not a record. Changes nothing.
    RecordRef follow(RecordRef from, Step step) const;
    // Follows one step from the selection, selecting where it leads as select does, and
    // adds it to the walk; past maxWalkSteps the anchor moves forward one step. False, and
    // nothing changes, when the step does not apply.
    bool step(Step step);
    // The walk in the listing's names and the records' field names, with where it leads:
    // "f0.edge.next.opp = e3". Empty before the first step.
    std::string walkExpression() const;

    // Whether a position names a record of its vector.
    bool isVertex(int v) const { return v >= 0 && v < static_cast<int>(vertices.size()); }
    bool isFace(int f) const { return f >= 0 && f < static_cast<int>(faces.size()); }
    bool isHalfEdge(int h) const { return h >= 0 && h < static_cast<int>(halfEdges.size()); }
    bool exists(RecordRef record) const;

    // Whether f is an outer face: the fan's last one, or a mesh's boundary loop around
    // the outside of a piece.
    bool isOuterFace(int f) const;
    // Whether f is a boundary face: an outer face or a mesh's hole.
    bool isBoundaryFace(int f) const;
    // Whether f is a mesh's hole.
    bool isHole(int f) const { return isBoundaryFace(f) && !isOuterFace(f); }

    // Calls visit with each half-edge of face's cycle, from the face's edge following next
    // until the cycle closes. A link that is not a half-edge ends the walk, which never takes
    // more steps than there are half-edges: a damaged structure cannot loop forever.
    template <class Visit> void forEachInCycle(int face, Visit visit) const {
        const int start = faces[face].edge;
        int h = start;
        for (std::size_t steps = 0; steps < halfEdges.size() && isHalfEdge(h); ++steps) {
            visit(h);
            h = halfEdges[h].next;
            if (h == start) {
                return;
            }
        }
    }
    // Calls visit with the corner each half-edge of face's cycle points to, in
    // forEachInCycle's order, up to the first target that is not a vertex.
    template <class Visit> void forEachCorner(int face, Visit visit) const {
        bool broken = false;
        forEachInCycle(face, [&](int h) {
            broken = broken || !isVertex(halfEdges[h].target);
            if (!broken) {
                visit(vertices[halfEdges[h].target]);
            }
        });
    }
    // The corners of a face as forEachCorner visits them.
    std::vector<Vertex> faceVertices(int face) const;

    // Where a half-edge starts.
    int origin(int halfEdge) const {
        return halfEdges[halfEdge].prev < 0 ? -1 : halfEdges[halfEdges[halfEdge].prev].target;
    }

    // Links a to b as consecutive half-edges of one cycle: a.next = b and b.prev = a.
    void link(int a, int b);
};
