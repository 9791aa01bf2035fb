#include "literal_pick.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

int power(int base, int exponent) {
    if (exponent == 0) {
        return 1;
    }
    if (exponent == 1) {
        return base;
    }
    return power(base, exponent - 1) * base;
}

std::vector<Vertex> cornersOf(const Subdivision& s, int face) {
    std::vector<Vertex> corners;
    const int first = s.faces[face].edge;
    int e = first;
    do {
        corners.push_back(s.vertices[s.halfEdges[e].target]);
        e = s.halfEdges[e].next;
    } while (e != first);
    return corners;
}

bool inside(const std::vector<Vertex>& corners, int x, int y) {
    bool in = false;
    const int n = static_cast<int>(corners.size());
    for (int i = 0; i < n; ++i) {
        const int j = i == 0 ? n - 1 : i - 1;
        const Vertex& a = corners[i];
        const Vertex& b = corners[j];
        if ((a.y < y && b.y >= y) || (b.y < y && a.y >= y)) {
            const double crossing =
                a.x + (static_cast<double>(y - a.y) / (b.y - a.y)) * (b.x - a.x);
            if (crossing < x) {
                in = !in;
            }
        }
    }
    return in;
}

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
            static_cast<int>(static_cast<float>(std::sqrt(power(dx, 2) + power(dy, 2))));
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
        if (inside(cornersOf(s, f), x, y)) {
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
