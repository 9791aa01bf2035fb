#pragma once

#include "model/subdivision.h"

#include <string>

// The records of s as three HTML tables (the rows of recordTables), each with a caption, a
// header row and a header cell naming each record, plus a last column "selected" that says
// in words what the selection makes of the record: "picked"; "at picked vertex" for the
// half-edges listed with a picked vertex; "neighbour" for the faces across a picked face;
// "next", "prev" and "opp" for a picked half-edge's links. Marked rows also carry the
// mark as their class. Text is escaped; the result is a fragment to put inside an element.
std::string htmlTables(const Subdivision& s);
