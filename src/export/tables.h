#pragma once

#include "export/options.h"
#include "model/subdivision.h"

#include <string>

// The records of s as three Markdown tables (vertices with x, y and edge; faces with
// edge; half-edges with target, face, next, prev and opp), records named as on screen
// (v0, e1, f2), after a heading with N. The selection follows the tables when a click
// alone made it; when a record was selected by name or a walk was taken, it comes before
// them, with the walk's expression ("f0.edge.next.opp = e3").
std::string markdownTables(const Subdivision& s, const ExportOptions& options);

// The same as one CSV table (RFC 4180, CRLF line ends) with the header
//   kind,number,x,y,edge,target,face,next,prev,opp,selected
// kind is vertex, face or half-edge and every link a record number; columns that do not
// belong to the kind are empty. selected is "picked" for the picked vertex, face or
// half-edge, "at picked vertex" for the half-edges listed with a picked vertex,
// "neighbour" for the faces across the picked face's half-edges, "next", "prev" and "opp"
// for the picked half-edge's links, and empty otherwise.
std::string csvTable(const Subdivision& s);
