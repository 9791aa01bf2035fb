#include "model/subdivision.h"

#include "model/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <utility>
#include <vector>

Subdivision::Subdivision(Font* labelFont) : font(labelFont) {}

void Subdivision::link(int a, int b) {
    halfEdges[a].next = b;
    halfEdges[b].prev = a;
}

void Subdivision::clear() {
    vertices.clear();
    halfEdges.clear();
    faces.clear();
}

void Subdivision::build(int n) {
    clearSelection();
    clear();
    if (n <= 2 || n > maxAngles) {
        return;
    }

    const double cx = showListing ? windowWidth / 4 : windowWidth / 2;
    const double cy = windowHeight / 2;
    const double twoPi = 6.283185307179586;
    vertices.reserve(n);
    for (int i = 1; i <= n; ++i) {
        // The angle is formed as 2π ÷ (n ÷ i), not 2π·i ÷ n: the two differ in the last
        // bit, and truncation turns that bit into a pixel (vertex 3 of the hexagon lies
        // at column 174, not 175).
        const double q = static_cast<double>(n) / i;
        const double angle = twoPi / q;
        const double y = std::sin(angle) * radius + cy;
        const double x = std::cos(angle) * radius + cx;
        vertices.push_back(Vertex{static_cast<int>(x), static_cast<int>(y), -1});
    }

    const int triangles = n - 2;
    halfEdges.resize(4 * n - 6);
    faces.resize(n - 1);

    // Triangle j (face j - 1) has the corners 0, j + 1, j in its counter-clockwise cycle;
    // vertex 0 is shared by every triangle of the fan.
    for (int j = 1; j <= triangles; ++j) {
        const int a = 3 * (j - 1);
        const int b = a + 1;
        const int c = a + 2;
        halfEdges[a].target = 0;
        halfEdges[b].target = j + 1;
        halfEdges[c].target = j;
        for (int h : {a, b, c}) {
            halfEdges[h].face = j - 1;
        }
        link(a, b);
        link(b, c);
        link(c, a);
        // Later triangles overwrite earlier ones: vertex 0 ends on the last triangle's
        // second half-edge, vertex n - 1 on its third.
        vertices[0].edge = b;
        vertices[j + 1].edge = c;
        vertices[j].edge = a;
        faces[j - 1].edge = a;
    }

    // The outer cycle runs 0 → 1 → … → n - 1 → 0; its half-edge k points to vertex k.
    const int outer = n - 2;
    const int first = 3 * triangles;
    for (int k = 0; k < n; ++k) {
        halfEdges[first + k].target = k;
        halfEdges[first + k].face = outer;
        link(first + k, first + (k + 1) % n);
    }
    faces[outer].edge = first + n - 1;

    // Twins: every half-edge from a to b pairs with the one from b to a. The half-edges
    // are grouped by origin (a counting sort, three allocations in all where a hash map
    // would allocate a node per half-edge), each group ordered by target, and the twin
    // of a half-edge is found by binary search in its target's group.
    const int count = static_cast<int>(halfEdges.size());
    std::vector<int> groupStart(n + 1, 0);
    for (int h = 0; h < count; ++h) {
        ++groupStart[origin(h) + 1];
    }
    std::partial_sum(groupStart.begin(), groupStart.end(), groupStart.begin());
    std::vector<std::pair<int, int>> byOrigin(count); // (target, half-edge)
    std::vector<int> filled(groupStart.begin(), groupStart.end() - 1);
    for (int h = 0; h < count; ++h) {
        byOrigin[filled[origin(h)]++] = {halfEdges[h].target, h};
    }
    for (int v = 0; v < n; ++v) {
        std::sort(byOrigin.begin() + groupStart[v], byOrigin.begin() + groupStart[v + 1]);
    }
    for (int h = 0; h < count; ++h) {
        const int from = halfEdges[h].target;
        const auto twin = std::lower_bound(byOrigin.begin() + groupStart[from],
                                           byOrigin.begin() + groupStart[from + 1],
                                           std::pair<int, int>{origin(h), -1});
        halfEdges[h].opp = twin->second;
    }
}

void Subdivision::clearSelection() {
    pickedVertex = -1;
    pickedFace = -1;
    pickedVertexEdges.clear();
    pickedFaceNeighbours.clear();
}

std::vector<Vertex> Subdivision::faceVertices(int face) const {
    std::vector<Vertex> corners;
    const int start = faces[face].edge;
    int e = start;
    // A cycle never holds more half-edges than the structure; the bound keeps a broken
    // structure from looping forever.
    for (std::size_t steps = 0; steps < halfEdges.size(); ++steps) {
        corners.push_back(vertices[halfEdges[e].target]);
        e = halfEdges[e].next;
        if (e == start) {
            break;
        }
    }
    return corners;
}

void Subdivision::pick(int x, int y) {
    clearSelection();

    for (int v = 0; v < static_cast<int>(vertices.size()); ++v) {
        const long long dx = std::llabs(static_cast<long long>(x) - vertices[v].x);
        const long long dy = std::llabs(static_cast<long long>(y) - vertices[v].y);
        // Either distance alone at or past the radius already misses; checking it first
        // keeps the squares far from int overflow for any click position.
        if (dx >= pickRadius || dy >= pickRadius) {
            continue;
        }
        const int squared = intPower(static_cast<int>(dx), 2) + intPower(static_cast<int>(dy), 2);
        const int distance = static_cast<int>(static_cast<float>(std::sqrt(squared)));
        if (distance < pickRadius) {
            pickedVertex = v;
            break;
        }
    }

    if (pickedVertex >= 0) {
        for (int h = 0; h < static_cast<int>(halfEdges.size()); ++h) {
            if (halfEdges[h].target == pickedVertex || origin(h) == pickedVertex) {
                pickedVertexEdges.push_back(h);
            }
        }
        return;
    }

    if (faces.empty()) {
        return;
    }
    const int outer = static_cast<int>(faces.size()) - 1;
    pickedFace = outer;
    for (int f = 0; f < outer; ++f) {
        if (pointInPolygon(faceVertices(f), x, y)) {
            pickedFace = f;
            break;
        }
    }

    const int start = faces[pickedFace].edge;
    int e = start;
    for (std::size_t steps = 0; steps < halfEdges.size(); ++steps) {
        const int across = halfEdges[halfEdges[e].opp].face;
        if (across >= 0) {
            pickedFaceNeighbours.push_back(across);
        }
        e = halfEdges[e].next;
        if (e == start) {
            break;
        }
    }
}
