#include "literal_build.h"

#include <cmath>

void literalBuild(Subdivision& s, int n) {
    s.clearSelection();
    s.clear();
    if (n <= 2) {
        return;
    }
    const double cx = s.showListing ? 250 : 500;
    for (int i = 1; i <= n; ++i) {
        const double angle = 6.283185307179586 / (static_cast<double>(n) / i);
        const double y = std::sin(angle) * s.radius + 300.0;
        const double x = std::cos(angle) * s.radius + cx;
        s.vertices.push_back(Vertex{static_cast<int>(x), static_cast<int>(y), -1});
    }
    const int m = static_cast<int>(s.vertices.size());
    for (int j = 1; j < m - 1; ++j) {
        const int f = static_cast<int>(s.faces.size());
        s.faces.push_back(Face{});
        const int a = static_cast<int>(s.halfEdges.size());
        const int b = a + 1;
        const int c = a + 2;
        s.halfEdges.push_back(HalfEdge{0, f, c, b, -1});
        s.halfEdges.push_back(HalfEdge{(j + 1) % m, f, a, c, -1});
        s.halfEdges.push_back(HalfEdge{j, f, b, a, -1});
        s.vertices[0].edge = s.halfEdges[a].next;
        s.vertices[j + 1].edge = s.halfEdges[b].next;
        s.vertices[j].edge = s.halfEdges[c].next;
        s.faces[f].edge = a;
    }
    const int outer = static_cast<int>(s.faces.size());
    int before = -1;
    for (int k = 0; k < m; ++k) {
        s.halfEdges.push_back(HalfEdge{k, outer, before, -1, -1});
        before = static_cast<int>(s.halfEdges.size()) - 1;
    }
    const int count = static_cast<int>(s.halfEdges.size());
    for (HalfEdge& h : s.halfEdges) {
        if (h.prev == -1) {
            h.prev = count - 1;
            break;
        }
    }
    s.faces.push_back(Face{count - 1});
    for (int h = 0; h < count; ++h) {
        if (s.halfEdges[h].next != -1) {
            continue;
        }
        for (int g = 0; g < count; ++g) {
            if (g != h && s.halfEdges[g].prev == h) {
                s.halfEdges[h].next = g;
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < count; ++k) {
            HalfEdge& b = s.halfEdges[i];
            HalfEdge& a = s.halfEdges[k];
            if (b.target == s.halfEdges[a.prev].target && a.target == s.halfEdges[b.prev].target) {
                b.opp = k;
                a.opp = i;
            }
        }
    }
}
