#include "export/json_export.h"

using nlohmann::json;

namespace {

json numberOrNull(int position) {
    return position < 0 ? json(nullptr) : json(position);
}

} // namespace

json toJson(const Subdivision& s, const StateWords& options) {
    json vertices = json::array();
    for (std::size_t i = 0; i < s.vertices.size(); ++i) {
        const Vertex& v = s.vertices[i];
        vertices.push_back({{"number", i}, {"x", v.x}, {"y", v.y}, {"edge", v.edge}});
    }
    json faces = json::array();
    for (int j = 0; s.isFace(j); ++j) {
        faces.push_back({{"number", j}, {"edge", s.faces[j].edge}, {"outer", s.isOuterFace(j)}});
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
    return {{"program", "hexil-export"},
            {"version", HEXIL_VERSION},
            {"angles", options.angles},
            {"showLabels", options.showLabels},
            {"showListing", options.showListing},
            {"vertices", vertices},
            {"faces", faces},
            {"halfEdges", halfEdges},
            {"selection", selection}};
}
