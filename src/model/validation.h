#pragma once

#include <string>

struct Subdivision;

// The first broken invariant of a structure, or invariant 0 when all hold.
//  1  next and prev agree: h.next.prev == h and h.prev.next == h
//  2  a face's cycle: h.next.face == h.face, and the cycle from f.edge holds exactly
//     the half-edges of f
//  3  twins: h.opp != h, h.opp.opp == h, and h.opp runs from h's target to h's origin
//  4  v.edge starts at v (a mesh's vertex that no half-edge reaches has none)
//  5  the fan's last face is the outer one: it winds against the triangles and no other
//     face encloses as much; a mesh's faces after its file's are its boundary loops, an
//     outer one winding against the file's faces and a hole with them
//  6  the selection refers to records that exist, at most one of a vertex, a face and
//     a half-edge is picked, and the picked half-edge's links are its own
//  7  the walk starts at its anchor, each step follows its link, and it ends at the
//     selection (no walk without one)
// Any link that is not a valid position breaks the invariant that reads it.
struct Violation {
    int invariant = 0;
    int record = -1; // the number of the offending record
    std::string what;

    explicit operator bool() const { return invariant != 0; }
};

Violation checkInvariants(const Subdivision& s);
