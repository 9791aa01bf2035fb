#pragma once

// The three records of a half-edge structure. Links are positions in the owning
// Subdivision's vectors, -1 for none; a record's number is its own position.

struct Vertex {
    int x = 0;     // window column
    int y = 0;     // window row, growing downward
    int edge = -1; // a half-edge that starts here

    bool operator==(const Vertex&) const = default;
};

// A half-edge runs from prev's target to its own target.
struct HalfEdge {
    int target = -1; // the vertex it points to
    int face = -1;   // the face whose boundary cycle holds it
    int prev = -1;
    int next = -1;
    int opp = -1; // its twin, the same edge run the other way

    bool operator==(const HalfEdge&) const = default;
};

struct Face {
    int edge = -1; // one half-edge of the boundary cycle

    bool operator==(const Face&) const = default;
};
