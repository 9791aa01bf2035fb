#pragma once

#include "draw/arrow.h"
#include "model/subdivision.h"

#include <cstddef>
#include <span>
#include <vector>

// The boundary loops of s's mesh as the window shows them, and the regions they bound. A
// hole's region is inside its loop, less the pieces inside it. An outer loop bounds the
// region around its piece: inside the smallest hole around it, else the unbounded region
// (the window). Empty for the fan.
struct BoundaryLoops {
    int firstFace = 0;                     // the first boundary face
    std::vector<Pixel> corners;            // each loop's corners in cycle order, loop after loop
    std::vector<std::size_t> starts;       // loop i's corners: from starts[i] to starts[i + 1]
    std::vector<int> around;               // by loop: for an outer loop the smallest hole around
                                           // it, -1 for none and for a hole
    std::vector<int> holesLargestFirst;    // hole faces by falling area, on a tie by number
    std::vector<std::vector<int>> islands; // by loop: for a hole, the outer loops around
                                           // which it is the smallest hole

    int count() const { return static_cast<int>(around.size()); }
    // The corners of boundary face f.
    std::span<const Pixel> polygon(int f) const;
    // The face around an outer loop f, -1 for the unbounded region.
    int aroundFace(int f) const { return around[f - firstFace]; }
};

// Finding the smallest hole around each outer loop tests its first corner against the holes
// whose bounding boxes hold it, one polygon test each.
BoundaryLoops boundaryLoops(const Subdivision& s);
