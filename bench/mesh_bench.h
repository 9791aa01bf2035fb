#pragma once

#include "draw/text.h"

#include <SDL.h>

// The mesh cases, for grids of about 1,000, 10,000 and 100,000 half-edges (gridMeshUpTo),
// registered as "CASE/WAY/H" with H the size asked for and each run's counters "faces" and
// "halfEdges" the grid's own:
//   mesh read/ours        readMeshText
//   mesh open/ours        openMesh: reading, checking and numbering the records
//   mesh open/openmesh    OpenMesh's PolyMesh built from the same vertices and faces
//                         (add_vertex, add_face), the text already read
//   mesh first frame/ours openMesh, Subdivision::open and the frame drawn, as at start
//   mesh frame/ours       the frame of the opened mesh, labels and listing shown
// The frames are drawn on screen with the two fonts, which must outlive the run.
void registerMeshCases(SDL_Surface* screen, Font* labelFont, Font* statusFont);

// Whether OpenMesh builds the grids into as many faces and half-edges as openMesh does and
// every opened grid keeps the invariants: the race is fair only then.
bool sameMeshResults();
