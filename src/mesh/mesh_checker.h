#pragma once

// The checks a mesh file's records pass before they are numbered, and the numbering: the
// mesh library's own, behind openMesh (planar_mesh.h).

#include "mesh/planar_mesh.h"

#include <algorithm>
#include <numeric>
#include <span>
#include <string>
#include <vector>

// How findings name records: "v3", "face 5" (counted from 0, as the listing counts).
std::string vertexName(int vertex);
std::string faceName(int face);

// Twice the signed area of the triangle o, a, b: positive when it turns counter-clockwise.
double cross(Point2 o, Point2 a, Point2 b);
// -1, 0 or +1.
int sign(double value);

// One side of a face: from corner a to corner b.
struct MeshSide {
    int a;
    int b;
    int face;
    int corner;
};

// An edge of the mesh and the one or two sides that run along it.
struct MeshEdge {
    int a; // the lower vertex number
    int b;
    int first;  // position of its first side
    int second; // of its second, -1 on the boundary
};

// Numbers grouped by a key from 0 to keys - 1 (a vertex, a grid cell), each key's in the
// order they were given: a counting sort.
struct Groups {
    std::vector<int> first; // key k's numbers are items[first[k], first[k + 1])
    std::vector<int> items;

    Groups() = default;
    // each(give) calls give(key, number) for every pair, the same way both times it runs.
    template <class Each> Groups(std::size_t keys, Each each) : first(keys + 1, 0) {
        each([&](int key, int) { ++first[static_cast<std::size_t>(key) + 1]; });
        std::partial_sum(first.begin(), first.end(), first.begin());
        items.resize(static_cast<std::size_t>(first.back()));
        std::vector<int> filled(first.begin(), first.end() - 1);
        each([&](int key, int number) { items[filled[key]++] = number; });
    }
    std::span<const int> of(int key) const {
        return {items.data() + first[static_cast<std::size_t>(key)],
                items.data() + first[static_cast<std::size_t>(key) + 1]};
    }
};

// The crossing check's grid: about one cell per edge, at most this many a side; each cell
// grown by this share of the mesh's extent and its distance from the origin.
constexpr int maxGridSide = 1024;
constexpr double gridMargin = 1e-12;

// The edges by the cells of a grid over their bounding box that they pass through: about
// one cell per edge. An edge is put in every cell it meets grown by a margin a thousand
// times wider than rounding moves a coordinate (a few units in its last place), so two
// edges that meet always share a cell.
struct EdgeGrid {
    double left = 0;
    double bottom = 0;
    double width = 1;  // of a cell
    double height = 1; // of a cell
    double margin = 0;
    int side = 1;
    Groups edgesByCell; // each cell's edges, in edge order

    double across = 1; // cells per unit of x: 1 / width
    double up = 1;     // cells per unit of y: 1 / height

    // Clamped before the conversion: a point a margin outside the box may lie far outside
    // the grid when the mesh lies far from the origin, and what is not a number goes to 0.
    // Both only ever grow with x (or y), which is all that finding the cells an edge meets
    // relies on.
    int column(double x) const { return place((x - left) * across); }
    int row(double y) const { return place((y - bottom) * up); }
    int place(double at) const {
        return !(at > 0) ? 0 : at >= side - 1 ? side - 1 : static_cast<int>(at);
    }
    int cells() const { return side * side; }
    std::span<const int> cell(int c) const { return edgesByCell.of(c); }

    // Calls visit with every cell that the edge from a to b meets, row by row.
    template <class Visit> void forEachCell(Point2 a, Point2 b, Visit visit) const {
        if (a.y > b.y) {
            std::swap(a, b);
        }
        // Multiplied before dividing: a slope of its own overflows for an edge that rises by
        // a subnormal height.
        const auto xAt = [&](double y) {
            return a.x + (b.x - a.x) * (std::clamp(y, a.y, b.y) - a.y) / (b.y - a.y);
        };
        for (int r = row(a.y - margin), last = row(b.y + margin); r <= last; ++r) {
            double x0 = a.x, x1 = b.x;
            if (a.y != b.y) {
                x0 = xAt(bottom + r * height);
                x1 = xAt(bottom + (r + 1) * height);
            }
            const int c0 = column(std::min(x0, x1) - margin);
            const int c1 = column(std::max(x0, x1) + margin);
            for (int c = c0; c <= c1; ++c) {
                visit(r * side + c);
            }
        }
    }

    EdgeGrid() = default;
    EdgeGrid(const std::vector<MeshEdge>& edges, const std::vector<Point2>& points);
};

struct MeshChecker {
    const MeshText& text;
    Findings& findings;
    std::vector<bool> valid;     // faces whose corners all name distinct vertices
    std::vector<MeshSide> sides; // of valid faces, sorted by edge
    std::vector<MeshEdge> edges;
    std::vector<Point2> points;
    int orientation = 1; // +1: the faces run counter-clockwise in the plane
    EdgeGrid grid{};     // made by checkCrossings, used again by checkNesting

    void error(int line, std::string what) { findings.add(Finding::error, line, std::move(what)); }
    int lineOf(int face) const { return text.faceLines[face]; }
    std::string faceAt(int face) const {
        return faceName(face) + " (line " + std::to_string(lineOf(face)) + ")";
    }

    bool checkSize();
    void checkFaces();
    bool checkEdges();
    bool project(PlanarMesh& mesh);
    void checkAreas();
    void checkCrossings();
    void checkNesting(const PlanarMesh& mesh);
};

// Numbers the records of a mesh that passed every check, as planar_mesh.h says.
void numberRecords(const MeshChecker& c, PlanarMesh& m);

// Warns of every vertex that no face uses and of two vertices at one point.
void warnAboutVertices(const PlanarMesh& m, Findings& findings);
