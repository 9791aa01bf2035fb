#pragma once

#include "mesh/finding.h"

#include <span>
#include <string_view>
#include <vector>

// A point as a mesh file gives it.
struct Point3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

enum class MeshFormat { obj, off };

// What a mesh file says, read but not yet checked: its vertices and faces in file order,
// each with the line it stands on.
struct MeshText {
    MeshFormat format = MeshFormat::obj;
    std::vector<Point3> vertices;
    std::vector<int> vertexLines;
    // Every face's corners, face after face, as vertex numbers counted from 0 (OBJ's
    // relative indices resolved); a corner that names no vertex is -1, with an error said
    // for it. Face f's corners are corners[faceStarts[f], faceStarts[f + 1]).
    std::vector<int> corners;
    std::vector<int> faceStarts{0};
    std::vector<int> faceLines;
    Findings findings;

    std::size_t faceCount() const { return faceLines.size(); }
    std::span<const int> face(std::size_t f) const {
        return {corners.data() + faceStarts[f], corners.data() + faceStarts[f + 1]};
    }
};

// Reads an OBJ or OFF file's bytes. The format is OFF when the first statement is an OFF
// header (OFF, COFF, NOFF, CNOFF), else OBJ, whatever the file's name says. Both: CRLF
// or LF line ends, a UTF-8 byte-order mark, tabs and trailing spaces, # comments, numbers
// in decimal or exponent form read the same whatever the locale.
//   OBJ: v x y [z [w]], f with corners a, a/t, a//n or a/t/n (negative: counted back from
//   the last vertex so far); vt, vn, vp, o, g, s, usemtl, mtllib and l are read and ignored
//   with one note a kind; any other statement is a warning.
//   OFF: the header, a line of counts (vertices, faces, edges; also on the header's line),
//   then the vertices (x y z, anything after ignored) and the faces (k i1 ... ik, anything
//   after ignored, such as a colour).
// Corner counts and coordinates are checked here (at least three corners, each naming a
// vertex, finite numbers); everything that needs the whole mesh is checked by openMesh.
MeshText readMeshText(std::string_view bytes);

// Reads all of text as a decimal number (123, -1.5, 2e-3, .5) into value, rounded to the
// nearest double: one rule on every platform and in every locale. notFinite for a number
// too large for a double and for inf and nan.
enum class NumberRead { number, notANumber, notFinite };
NumberRead readNumber(std::string_view text, double& value);
