#pragma once

#include "model/subdivision.h"

// pick done the slow, obvious way: the vertex search with a floating-point distance, the
// face search over a fresh corner list per face with the even-odd test, and the position
// of the face across each half-edge of the picked face found by a linear search of the
// faces from position 0. Leaves the same selection as Subdivision::pick.
void literalPick(Subdivision& s, int x, int y);
