#include "export/tables.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

std::string names(RecordRef::Kind kind, const std::vector<int>& positions) {
    std::string text;
    for (int p : positions) {
        text += (text.empty() ? "" : ", ") + recordName(kind, p);
    }
    return text.empty() ? "none" : text;
}

std::string halfEdgeName(int halfEdge) {
    return recordName(RecordRef::halfEdge, halfEdge);
}

std::string faceName(const Subdivision& s, int f) {
    return recordName(RecordRef::face, f) + (s.isOuterFace(f) ? " (outer)"
                                             : s.isHole(f)    ? " (hole)"
                                                              : "");
}

// A file line, or nothing for a boundary face's (0).
std::string lineText(int line) {
    return line > 0 ? std::to_string(line) : "";
}

// The fewest significant digits that read back as the same double. Also in the browser
// build, whose library has no floating-point std::to_chars.
std::string shortest(double value) {
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) {
            break;
        }
    }
    return text;
}

// What is picked, as a sentence ending the line that says how, and a paragraph on what
// the pick brings with it.
void picked(std::ostream& out, const Subdivision& s) {
    if (s.pickedVertex >= 0) {
        const Vertex& v = s.vertices[s.pickedVertex];
        out << "picked vertex " << recordName(RecordRef::vertex, s.pickedVertex) << " at (" << v.x
            << ", " << v.y << ").\n\nHalf-edges that start or end there: "
            << names(RecordRef::halfEdge, s.pickedVertexEdges) << ".\n";
    } else if (s.pickedFace >= 0) {
        out << "picked face " << faceName(s, s.pickedFace)
            << ".\n\nFaces across its half-edges, in cycle order: "
            << names(RecordRef::face, s.pickedFaceNeighbours) << ".\n";
    } else if (s.pickedHalfEdge >= 0) {
        out << "picked half-edge " << halfEdgeName(s.pickedHalfEdge)
            << ".\n\nIts next, prev and opp: " << halfEdgeName(s.pickedNext) << ", "
            << halfEdgeName(s.pickedPrev) << ", " << halfEdgeName(s.pickedOpp) << ".\n";
    } else {
        out << "nothing picked (the structure is empty).\n";
    }
}

// How the selection came about: a click or a name, then the steps walked from there.
void selection(std::ostream& out, const Subdivision& s, const StateWords& options) {
    out << "\n## Selection\n\n";
    if (options.pick) {
        out << "Left click at (" << options.pick->x << ", " << options.pick->y << ")";
    } else if (options.select) {
        out << "Selected " << recordName(*options.select);
    }
    if (!options.walk.empty()) {
        out << ", then the steps ";
        for (char letter : options.walk) {
            out << stepLetter(*stepForLetter(letter));
        }
    }
    out << ": ";
    picked(out, s);
    if (const std::string walk = s.walkExpression(); !walk.empty()) {
        out << "\nWalk: `" << walk << "`\n";
    }
}

} // namespace

const char* boundaryWord(Boundary boundary) {
    constexpr const char* words[] = {"", "outer", "hole"}; // by Boundary
    return words[static_cast<int>(boundary)];
}

std::vector<RecordTable> recordTables(const Subdivision& s) {
    std::vector<RecordTable> tables{
        {"Vertices", {"vertex", "x", "y", "edge"}, {false, true, true, false}, {}},
        {"Faces", {"face", "edge"}, {false, false}, {}},
        {"Half-edges", {"half-edge", "target", "face", "next", "prev", "opp"}, {}, {}}};
    tables[2].numeric.assign(6, false);
    const PlanarMesh* mesh = s.mesh.get();
    if (mesh) {
        for (RecordTable& table : tables) {
            table.title += " of " + mesh->name;
        }
        for (const int t : {0, 1}) {
            tables[t].columns.push_back("line");
            tables[t].numeric.push_back(true);
        }
    }
    for (std::size_t i = 0; i < s.vertices.size(); ++i) {
        const Vertex& v = s.vertices[i];
        tables[0].rows.push_back({recordName(RecordRef::vertex, static_cast<int>(i)),
                                  std::to_string(v.x), std::to_string(v.y),
                                  vertexEdgeName(v.edge)});
        if (mesh) {
            tables[0].rows.back().push_back(lineText(mesh->vertexLines[i]));
        }
    }
    for (std::size_t j = 0; j < s.faces.size(); ++j) {
        tables[1].rows.push_back({faceName(s, static_cast<int>(j)), halfEdgeName(s.faces[j].edge)});
        if (mesh) {
            tables[1].rows.back().push_back(lineText(mesh->faceLines[j]));
        }
    }
    for (std::size_t k = 0; k < s.halfEdges.size(); ++k) {
        const HalfEdge& h = s.halfEdges[k];
        tables[2].rows.push_back({halfEdgeName(static_cast<int>(k)),
                                  recordName(RecordRef::vertex, h.target),
                                  recordName(RecordRef::face, h.face), halfEdgeName(h.next),
                                  halfEdgeName(h.prev), halfEdgeName(h.opp)});
    }
    return tables;
}

std::string markdownTables(const Subdivision& s, const StateWords& options) {
    std::ostringstream out;
    if (s.mesh) {
        out << "# HEXIL, " << s.mesh->name << "\n";
    } else {
        out << "# HEXIL, N = " << options.angles << "\n";
    }
    // A click alone is told after the tables; a selection by name or a walk opens the
    // handout, since it is what the handout is about.
    const bool selectionFirst = options.select || !options.walk.empty();
    if (selectionFirst) {
        selection(out, s, options);
    }
    for (const RecordTable& table : recordTables(s)) {
        out << "\n## " << table.title << " (" << table.rows.size() << ")\n\n|";
        for (const std::string& column : table.columns) {
            out << ' ' << column << " |";
        }
        out << "\n|";
        for (bool numeric : table.numeric) {
            out << (numeric ? "---:|" : "---|");
        }
        out << '\n';
        for (const std::vector<std::string>& row : table.rows) {
            out << '|';
            for (const std::string& cell : row) {
                out << ' ' << cell << " |";
            }
            out << '\n';
        }
    }
    if (options.pick && !selectionFirst) {
        selection(out, s, options);
    }
    return out.str();
}

const char* roleWord(Role role) {
    constexpr const char* words[] = {"",    "picked",           "next",     "prev",
                                     "opp", "at picked vertex", "neighbour"}; // by Role
    return words[static_cast<int>(role)];
}

std::string csvTable(const Subdivision& s) {
    std::ostringstream out;
    const SelectionRoles roles(s);
    const PlanarMesh* mesh = s.mesh.get();
    // A mesh's rows end in its columns: the file line, the boundary kind and the
    // coordinates as read; the fan's rows stay as they have always been.
    const auto end = [&](const std::string& meshCells) {
        return mesh ? meshCells + "\r\n" : "\r\n";
    };
    out << "kind,number,x,y,edge,target,face,next,prev,opp,selected"
        << end(",line,boundary,readX,readY,readZ");
    for (std::size_t i = 0; i < s.vertices.size(); ++i) {
        const Vertex& v = s.vertices[i];
        out << "vertex," << i << ',' << v.x << ',' << v.y << ','
            << (v.edge < 0 ? "" : std::to_string(v.edge)) << ",,,,,,"
            << roleWord(roles.vertex(static_cast<int>(i)));
        if (mesh) {
            const Point3& p = mesh->read[i];
            out << ',' << mesh->vertexLines[i] << ",," << shortest(p.x) << ',' << shortest(p.y)
                << ',' << shortest(p.z);
        }
        out << end("");
    }
    for (std::size_t j = 0; j < s.faces.size(); ++j) {
        out << "face," << j << ",,," << s.faces[j].edge << ",,,,,,"
            << roleWord(roles.face(static_cast<int>(j)))
            << end(mesh ? ',' + lineText(mesh->faceLines[j]) + ',' +
                              boundaryWord(mesh->boundary[j]) + ",,,"
                        : "");
    }
    for (std::size_t k = 0; k < s.halfEdges.size(); ++k) {
        const HalfEdge& h = s.halfEdges[k];
        out << "half-edge," << k << ",,,," << h.target << ',' << h.face << ',' << h.next << ','
            << h.prev << ',' << h.opp << ',' << roleWord(roles.halfEdge(static_cast<int>(k)))
            << end(",,,,,");
    }
    return out.str();
}
