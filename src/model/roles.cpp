#include "model/roles.h"

#include "model/subdivision.h"

namespace {

// One flag per record, set for the positions listed; positions out of range are ignored.
std::vector<bool> flagged(const std::vector<int>& positions, std::size_t count) {
    std::vector<bool> flags(count, false);
    for (int position : positions) {
        if (position >= 0 && static_cast<std::size_t>(position) < count) {
            flags[position] = true;
        }
    }
    return flags;
}

} // namespace

SelectionRoles::SelectionRoles(const Subdivision& s)
    : s(s), atPickedVertex(flagged(s.pickedVertexEdges, s.halfEdges.size())),
      neighbour(flagged(s.pickedFaceNeighbours, s.faces.size())) {}

Role SelectionRoles::vertex(int v) const {
    return s.isVertex(v) && v == s.pickedVertex ? Role::picked : Role::none;
}

Role SelectionRoles::face(int f) const {
    return !s.isFace(f)        ? Role::none
           : f == s.pickedFace ? Role::picked
           : neighbour[f]      ? Role::neighbour
                               : Role::none;
}

Role SelectionRoles::halfEdge(int h) const {
    return !s.isHalfEdge(h)        ? Role::none
           : h == s.pickedHalfEdge ? Role::picked
           : h == s.pickedNext     ? Role::next
           : h == s.pickedPrev     ? Role::prev
           : h == s.pickedOpp      ? Role::opp
           : atPickedVertex[h]     ? Role::atPickedVertex
                                   : Role::none;
}
