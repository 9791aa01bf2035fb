#pragma once

#include "model/state_words.h"
#include "model/subdivision.h"

#include <nlohmann/json.hpp>

// The records of s, their links and the selection as one JSON document:
//   { "program": "hexil-export", "version": HEXIL_VERSION, "angles": N,
//     "showLabels": bool, "showListing": bool,
//     "vertices":  [ {"number", "x", "y", "edge"} ... ],
//     "faces":     [ {"number", "edge", "outer"} ... ],
//     "halfEdges": [ {"number", "target", "face", "next", "prev", "opp"} ... ],
//     "selection": null, or { "click": {"x", "y"} or null, "vertex": number or null,
//                             "face": number or null, "vertexEdges": [numbers],
//                             "faceNeighbours": [numbers],
//                             and with --select or --walk also
//                             "halfEdge", "next", "prev", "opp": number or null,
//                             "walk": "f0.edge.next.opp = e3" or null } }
// The selection is null unless --pick or --select was given; click is null with --select.
// Every record's number is its position in its list, and every link is the number of
// the record it names (-1 for none, which a built structure never has; a mesh's vertex
// that no face uses has the edge null).
// With a mesh open, angles is null and the document gains
//   "source": {"file", "format": "obj" or "off", "vertices", "faces", "boundaryLoops",
//              "outer", "holes", "halfEdges"}   (the counts of meshSummary)
// each vertex "read": [x, y, z] (as the file gives it) and "line", and each face "line"
// (null for a boundary face) and "boundary" (null, "outer" or "hole").
nlohmann::json toJson(const Subdivision& s, const StateWords& options);
