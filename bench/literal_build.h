#pragma once

#include "model/subdivision.h"

// The polygon built step by step the slow, obvious way: outer next links found by
// scanning for the half-edge whose prev is each one, twins found by testing every
// ordered pair. Quadratic; serves as the reference for the fast build.
void literalBuild(Subdivision& s, int n);
