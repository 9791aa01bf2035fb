#pragma once

// The checks a mesh file's records pass before they are numbered, and the numbering: the
// mesh library's own, behind openMesh (planar_mesh.h).

#include "mesh/planar_mesh.h"

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

struct MeshChecker {
    const MeshText& text;
    Findings& findings;
    std::vector<bool> valid;     // faces whose corners all name distinct vertices
    std::vector<MeshSide> sides; // of valid faces, sorted by edge
    std::vector<MeshEdge> edges;
    std::vector<Point2> points;
    int orientation = 1; // +1: the faces run counter-clockwise in the plane

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
