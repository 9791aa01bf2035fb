#include "model/roles.h"

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
