#pragma once

#include <vector>

struct Subdivision;

// What the selection makes of a record. Where one record holds two parts, the first of
// this order wins: picked, next, prev, opp, atPickedVertex for a half-edge; picked,
// neighbour for a face; a vertex is only ever picked. (Only one of a vertex, a face and a
// half-edge is picked at a time, so atPickedVertex never meets the other half-edge parts.)
enum class Role {
    none,
    picked,         // the picked vertex, face or half-edge itself
    next,           // the picked half-edge's next
    prev,           // its prev
    opp,            // its opp
    atPickedVertex, // a half-edge that starts or ends at the picked vertex
    neighbour,      // a face across one of the picked face's half-edges
};

// The role of every record under a structure's selection, found once in one pass over
// the selection's lists, so that each answer takes constant time however long the lists
// (a frame asks about every record several times). It views s, whose selection must not
// change while it is asked; positions outside s have no role.
struct SelectionRoles {
    explicit SelectionRoles(const Subdivision& s);

    Role vertex(int v) const;
    Role face(int f) const;
    Role halfEdge(int h) const;

    const Subdivision& s;
    std::vector<bool> atPickedVertex; // by half-edge
    std::vector<bool> neighbour;      // by face
};
