#pragma once

#include "model/records.h"

#include <vector>

// Even-odd crossing test with a half-open rule on y: a point on a left or lower-y edge
// counts as outside, one on a right edge as inside. No corners means outside.
bool pointInPolygon(const std::vector<Vertex>& corners, int x, int y);

// base raised to a non-negative exponent, in int arithmetic.
int intPower(int base, int exponent);
