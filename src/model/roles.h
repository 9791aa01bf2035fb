#pragma once

#include "model/subdivision.h"

#include <vector>

// What the selection makes of a record. Where a record holds two parts, the first in this
// order wins (atPickedVertex never meets the others, as one record at most is picked).
// Lists indexed by role, the tables' words and the picture's colours, follow the order.
enum class Role {
    none,
    picked,         // the picked vertex, face or half-edge itself
    next,           // the picked half-edge's next
    prev,           // its prev
    opp,            // its opp
    atPickedVertex, // a half-edge that starts or ends at the picked vertex
    neighbour,      // a face across one of the picked face's half-edges
};

// The roles under a structure's selection, found in one pass over its lists so that each
// answer takes constant time however long they are (a frame asks about every record). It
// views s, whose selection must not change meanwhile; positions outside s have no role.
struct SelectionRoles {
    explicit SelectionRoles(const Subdivision& s);

    Role vertex(int v) const {
        return s.isVertex(v) && v == s.pickedVertex ? Role::picked : Role::none;
    }
    Role face(int f) const {
        return !s.isFace(f)        ? Role::none
               : f == s.pickedFace ? Role::picked
               : neighbour[f]      ? Role::neighbour
                                   : Role::none;
    }
    Role halfEdge(int h) const {
        return !s.isHalfEdge(h)        ? Role::none
               : h == s.pickedHalfEdge ? Role::picked
               : h == s.pickedNext     ? Role::next
               : h == s.pickedPrev     ? Role::prev
               : h == s.pickedOpp      ? Role::opp
               : atPickedVertex[h]     ? Role::atPickedVertex
                                       : Role::none;
    }

    const Subdivision& s;
    std::vector<bool> atPickedVertex; // by half-edge
    std::vector<bool> neighbour;      // by face
};
