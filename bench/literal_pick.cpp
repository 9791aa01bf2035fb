#include "literal_pick.h"

#include "model/geometry.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

int indexOfFace(const Subdivision& s, const Face* face) {
    for (std::size_t i = 0; i < s.faces.size(); ++i) {
        if (&s.faces[i] == face) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

void literalPick(Subdivision& s, int x, int y) {
    s.clearSelection();

    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        const int dx = std::abs(x - s.vertices[v].x);
        const int dy = std::abs(y - s.vertices[v].y);
        const int distance =
            static_cast<int>(static_cast<float>(std::sqrt(intPower(dx, 2) + intPower(dy, 2))));
        if (distance < pickRadius) {
            s.pickedVertex = static_cast<int>(v);
            break;
        }
    }
    if (s.pickedVertex >= 0) {
        for (std::size_t j = 0; j < s.halfEdges.size(); ++j) {
            const HalfEdge& e = s.halfEdges[j];
            if (e.target == s.pickedVertex || s.halfEdges[e.prev].target == s.pickedVertex) {
                s.pickedVertexEdges.push_back(static_cast<int>(j));
            }
        }
        return;
    }

    if (s.faces.empty()) {
        return;
    }
    const int count = static_cast<int>(s.faces.size());
    for (int f = 0; f < count - 1; ++f) {
        if (pointInPolygon(s.faceVertices(f), x, y)) {
            s.pickedFace = f;
            break;
        }
    }
    if (s.pickedFace < 0) {
        s.pickedFace = count - 1;
    }

    const int first = s.faces[s.pickedFace].edge;
    int e = first;
    do {
        const int k = indexOfFace(s, &s.faces[s.halfEdges[s.halfEdges[e].opp].face]);
        if (k >= 0) {
            s.pickedFaceNeighbours.push_back(k);
        }
        e = s.halfEdges[e].next;
    } while (e != first);
}
