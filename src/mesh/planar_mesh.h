#pragma once

#include "mesh/finding.h"
#include "mesh/mesh_text.h"
#include "model/records.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The largest mesh opened, in half-edges: two and a half times the largest fan.
constexpr int maxMeshHalfEdges = 100000;

// The farthest from the origin that a used vertex's coordinate may lie: areas and crossings
// are worked out from products of coordinates, which stay finite up to here.
constexpr double maxMeshCoordinate = 1e150;

// A point in a mesh's plane: x to the right, y up.
struct Point2 {
    double x = 0;
    double y = 0;
};

// What a face is: one of the file's, or a boundary loop's, which bounds the unbounded
// region (outer: it runs against the faces' orientation) or a hole (it runs with them).
enum class Boundary { none, outer, hole };

// A planar mesh that opened, its records numbered so that a student can predict them:
//  - vertices in file order (v0 is the file's first vertex);
//  - faces: the file's faces in file order, then one face per boundary loop, the loops
//    in the order of the lowest-numbered half-edge across from them;
//  - half-edges: face by face, each face's in its corner order starting with the one from
//    its first corner to its second (the face's edge); then each boundary loop's, starting
//    with the one across from the lowest-numbered half-edge beside the loop and following
//    next (the boundary face's edge). At a vertex where loops touch, a boundary half-edge's
//    next is the next boundary half-edge around the vertex by angle;
//  - a vertex's edge: on the boundary the lowest-numbered boundary half-edge leaving it,
//    inside the lowest-numbered half-edge leaving it, -1 for a vertex no face uses.
struct PlanarMesh {
    std::string name; // the file's name without its folder
    MeshFormat format = MeshFormat::obj;
    std::vector<Point3> read; // each vertex as the file gives it
    std::vector<int> vertexLines;
    std::vector<Point2> points;   // each vertex seen along the plane's normal
    std::vector<Vertex> vertices; // x and y 0: the window's layout places them
    std::vector<HalfEdge> halfEdges;
    std::vector<Face> faces;
    std::vector<int> faceLines;     // 0 for a boundary face
    std::vector<Boundary> boundary; // per face
    int fileFaces = 0;
    int outerLoops = 0;
    int holes = 0;
};

struct MeshOpening {
    Findings findings;
    std::shared_ptr<const PlanarMesh> mesh; // set when the findings hold no error
    std::string name;                       // the file's, without its folder

    // The findings as the viewer, hexil-export and the page all write them.
    std::vector<std::string> lines() const { return findings.lines(name); }
};

// The name a file goes by in findings, on the status line and in the tables: its path
// without the folder.
std::string fileNameOf(std::string_view path);

// Reads, checks and numbers a mesh file's bytes (readMeshText says what is read). Every
// fault is a finding on its line; the mesh opens only when there is no error:
//   errors: what readMeshText finds; more than maxMeshHalfEdges half-edges (told before
//   anything is built); a face that visits a vertex twice; an edge of three or more faces;
//   two faces that run an edge the same way; a used vertex with a coordinate beyond
//   maxMeshCoordinate; a mesh that is not flat; an edge of no length; a face with no area;
//   a face turned over against the first; two edges that cross or overlap, or a vertex on
//   another edge; a piece of the mesh inside another's face;
//   warnings: a vertex that no face uses, two vertices at the same point.
// A mesh in the x-y plane is seen with x to the right and y up; one in another plane along
// its normal, from the side on which its first face runs counter-clockwise.
MeshOpening openMesh(std::string_view bytes, std::string_view fileName);

// "square-hole.obj: 16 vertices, 8 faces and 2 boundary loops (1 outer, 1 hole), 48
// half-edges".
std::string meshSummary(const PlanarMesh& mesh);
