#pragma once

#include "draw/arrow.h"

#include <span>

// A ring: a closed loop of window pixels, its last corner joined to its first. A region is
// given by rings: what lies inside an odd number of them, so the first may be an outline
// and the others holes cut out of it.

// Whether (x, y) lies inside an odd number of the rings (even-odd crossings, a point on a
// row through a corner counted with the corner above it).
bool insideRings(double x, double y, std::span<const std::span<const Pixel>> rings);

// The point of a region farthest from its rings' sides (its pole of inaccessibility): where
// a face's label goes, inside the face whatever its shape. Found best first by halving
// square cells over the first ring's bounding box, starting from the first ring's centroid,
// until no cell can hold a point more than poleTolerance pixels farther from the sides, or
// after maxPoleCells cells, so that its cost is bounded by the number of sides. Cells are
// taken in an order that leaves no tie, so every build finds the same point. Rounded to the
// nearest pixel; the first corner when the first ring has no extent.
constexpr double poleTolerance = 1.0;
constexpr int maxPoleCells = 256;
Pixel poleOfInaccessibility(std::span<const std::span<const Pixel>> rings);
