#pragma once

#include "model/subdivision.h"

#include <string>

// The picture in words, for readers who cannot see it: N (a mesh's file name in its
// place, its boundary faces called an outer boundary or a hole), the display switches when off,
// what is picked and what the selection names with it, and the walk's expression, e.g.
//   "Angles: 6. Picked face f0; faces across its edges: f4, f1, f4."
// Long lists name their first few records and count the rest.
std::string describe(int angles, const Subdivision& s);
