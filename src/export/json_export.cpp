#include "export/json_export.h"

#include "export/tables.h"
#include "mesh/planar_mesh.h"

using nlohmann::json;

namespace {

json numberOrNull(int position) {
    return position < 0 ? json(nullptr) : json(position);
}

// The file the mesh came from, its format and its counts as meshSummary gives them.
json source(const PlanarMesh& mesh) {
    return {{"file", mesh.name},
            {"format", mesh.format == MeshFormat::obj ? "obj" : "off"},
            {"vertices", mesh.vertices.size()},
            {"faces", mesh.fileFaces},
            {"boundaryLoops", mesh.faces.size() - static_cast<std::size_t>(mesh.fileFaces)},
            {"outer", mesh.outerLoops},
            {"holes", mesh.holes},
            {"halfEdges", mesh.halfEdges.size()}};
}

} // namespace

json toJson(const Subdivision& s, const StateWords& options) {
    const PlanarMesh* mesh = s.mesh.get();
    json vertices = json::array();
    for (std::size_t i = 0; i < s.vertices.size(); ++i) {
        const Vertex& v = s.vertices[i];
        vertices.push_back({{"number", i}, {"x", v.x}, {"y", v.y}, {"edge", numberOrNull(v.edge)}});
        if (mesh) {
            const Point3& p = mesh->read[i];
            vertices.back()["read"] = {p.x, p.y, p.z};
            vertices.back()["line"] = mesh->vertexLines[i];
        }
    }
    json faces = json::array();
    for (int j = 0; s.isFace(j); ++j) {
        faces.push_back({{"number", j}, {"edge", s.faces[j].edge}, {"outer", s.isOuterFace(j)}});
        if (mesh) {
            const Boundary boundary = mesh->boundary[j];
            const int line = mesh->faceLines[j];
            faces.back()["line"] = line > 0 ? json(line) : json(nullptr);
            faces.back()["boundary"] =
                boundary == Boundary::none ? json(nullptr) : json(boundaryWord(boundary));
        }
    }
    json halfEdges = json::array();
    for (std::size_t k = 0; k < s.halfEdges.size(); ++k) {
        const HalfEdge& h = s.halfEdges[k];
        halfEdges.push_back({{"number", k},
                             {"target", h.target},
                             {"face", h.face},
                             {"next", h.next},
                             {"prev", h.prev},
                             {"opp", h.opp}});
    }
    json selection = nullptr;
    if (options.pick || options.select) {
        selection = {{"click", options.pick ? json{{"x", options.pick->x}, {"y", options.pick->y}}
                                            : json(nullptr)},
                     {"vertex", numberOrNull(s.pickedVertex)},
                     {"face", numberOrNull(s.pickedFace)},
                     {"vertexEdges", s.pickedVertexEdges},
                     {"faceNeighbours", s.pickedFaceNeighbours}};
    }
    // A plain click writes the selection as it always has; a half-edge can only be
    // reached by name or by a walk, which add its links and the expression walked.
    if (options.select || !options.walk.empty()) {
        const std::string walk = s.walkExpression();
        selection["halfEdge"] = numberOrNull(s.pickedHalfEdge);
        selection["next"] = numberOrNull(s.pickedNext);
        selection["prev"] = numberOrNull(s.pickedPrev);
        selection["opp"] = numberOrNull(s.pickedOpp);
        selection["walk"] = walk.empty() ? json(nullptr) : json(walk);
    }
    json document = {{"program", "hexil-export"},
                     {"version", HEXIL_VERSION},
                     {"angles", mesh ? json(nullptr) : json(options.angles)},
                     {"showLabels", options.showLabels},
                     {"showListing", options.showListing},
                     {"vertices", vertices},
                     {"faces", faces},
                     {"halfEdges", halfEdges},
                     {"selection", selection}};
    if (mesh) {
        document["source"] = source(*mesh);
    }
    return document;
}
