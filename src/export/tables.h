#pragma once

#include "mesh/planar_mesh.h"
#include "model/roles.h"
#include "model/state_words.h"
#include "model/subdivision.h"

#include <string>
#include <vector>

// The records as tables of text cells, the rows every table format writes: a title, the
// column names (the first column names the record, as on screen: v0, e1, f2), whether each
// column holds numbers, and one row per record in number order.
struct RecordTable {
    std::string title; // "Vertices", "Faces", "Half-edges"
    std::vector<std::string> columns;
    std::vector<bool> numeric;
    std::vector<std::vector<std::string>> rows;
};

// The vertices (x, y, edge), the faces (edge; an outer face and a hole named so: "f8
// (outer)", "f9 (hole)") and the half-edges (target, face, next, prev, opp), in that
// order. With a mesh open each title names its file ("Vertices of square-hole.obj"), and
// vertices and faces gain the column line: the file line they stand on, empty for a
// boundary face. A vertex no face uses has the edge "-".
std::vector<RecordTable> recordTables(const Subdivision& s);

// The records of s as three Markdown tables (vertices with x, y and edge; faces with
// edge; half-edges with target, face, next, prev and opp; with a mesh as recordTables
// says), records named as on screen (v0, e1, f2), after a heading with N ("# HEXIL, N =
// 6") or the mesh's file name ("# HEXIL, square-hole.obj"). The selection follows the
// tables when a click alone made it; when a record was selected by name or a walk was
// taken, it comes before them, with the walk's expression ("f0.edge.next.opp = e3").
std::string markdownTables(const Subdivision& s, const StateWords& options);

// A boundary kind in the tables' words: "outer", "hole"; empty for a file's face.
const char* boundaryWord(Boundary boundary);

// How the tables word a role: "picked", "next", "prev", "opp", "at picked vertex",
// "neighbour"; empty for none.
const char* roleWord(Role role);

// The same as one CSV table (RFC 4180, CRLF line ends) with the header
//   kind,number,x,y,edge,target,face,next,prev,opp,selected
// kind is vertex, face or half-edge and every link a record number; columns that do not
// belong to the kind are empty. selected is "picked" for the picked vertex, face or
// half-edge, "at picked vertex" for the half-edges listed with a picked vertex,
// "neighbour" for the faces across the picked face's half-edges, "next", "prev" and "opp"
// for the picked half-edge's links, and empty otherwise. With a mesh open the header goes
// on with ,line,boundary,readX,readY,readZ: a vertex's file line and coordinates as read
// (the fewest digits that read back the same), a face's file line (empty for a boundary
// face) and boundary kind (boundaryWord); a half-edge's are empty. A vertex no face uses
// has an empty edge.
std::string csvTable(const Subdivision& s);
