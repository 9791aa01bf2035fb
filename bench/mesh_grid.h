#pragma once

#include <string>

// A triangulated grid with holes as OBJ text: n x n unit squares, each split into two
// counter-clockwise triangles by its diagonal from lower left to upper right, less 2 x 2
// blocks of squares cut out as holes, one block every six squares each way and none
// touching the border. Only the vertices that a triangle uses are written.
struct GridMesh {
    int side = 0; // n
    int vertices = 0;
    int faces = 0;
    int halfEdges = 0;
    std::string text;
};

GridMesh gridMesh(int side);
// The largest such grid with at most maxHalfEdges half-edges (at least the 1 x 1 one).
GridMesh gridMeshUpTo(int maxHalfEdges);
