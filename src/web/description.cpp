#include "web/description.h"

#include "mesh/planar_mesh.h"

#include <vector>

namespace {

// The records named in full before the rest of a list is only counted.
constexpr std::size_t namedInFull = 12;

std::string names(RecordRef::Kind kind, const std::vector<int>& positions) {
    std::string text;
    for (std::size_t i = 0; i < positions.size() && i < namedInFull; ++i) {
        text += (i == 0 ? "" : ", ") + recordName(kind, positions[i]);
    }
    if (positions.size() > namedInFull) {
        text += " and " + std::to_string(positions.size() - namedInFull) + " more";
    }
    return text.empty() ? "none" : text;
}

std::string faceName(const Subdivision& s, int f) {
    const std::string name = recordName(RecordRef::face, f);
    if (!s.mesh) {
        return name + (s.isOuterFace(f) ? " (the outer face)" : "");
    }
    return name + (s.isHole(f) ? " (a hole)" : s.isOuterFace(f) ? " (an outer boundary)" : "");
}

} // namespace

std::string describe(int angles, const Subdivision& s) {
    std::string text = s.mesh ? s.mesh->name + "." : "Angles: " + std::to_string(angles) + ".";
    if (s.vertices.empty()) {
        text += " No polygon: it needs 3 corners or more.";
    }
    if (!s.showLabels) {
        text += " Labels hidden.";
    }
    if (!s.showListing) {
        text += " Listing hidden.";
    }
    if (s.isVertex(s.pickedVertex)) {
        const Vertex& v = s.vertices[s.pickedVertex];
        text += " Picked vertex " + recordName(RecordRef::vertex, s.pickedVertex) + " at (" +
                std::to_string(v.x) + ", " + std::to_string(v.y) +
                "); half-edges at it: " + names(RecordRef::halfEdge, s.pickedVertexEdges) + ".";
    } else if (s.isFace(s.pickedFace)) {
        text += " Picked face " + faceName(s, s.pickedFace) +
                "; faces across its edges: " + names(RecordRef::face, s.pickedFaceNeighbours) + ".";
    } else if (s.isHalfEdge(s.pickedHalfEdge)) {
        const int h = s.pickedHalfEdge;
        const auto link = [](const char* field, int e) {
            return std::string{field} + " " + (e < 0 ? "none" : recordName(RecordRef::halfEdge, e));
        };
        text += " Picked half-edge " + recordName(RecordRef::halfEdge, h) + " from " +
                recordName(RecordRef::vertex, s.origin(h)) + " to " +
                recordName(RecordRef::vertex, s.halfEdges[h].target) + " in face " +
                faceName(s, s.halfEdges[h].face) + "; " + link("next", s.pickedNext) + ", " +
                link("prev", s.pickedPrev) + ", " + link("opp", s.pickedOpp) + ".";
    } else if (!s.vertices.empty()) {
        text += " Nothing picked.";
    }
    const std::string walk = s.walkExpression();
    if (!walk.empty()) {
        text += " Walk: " + walk + ".";
    }
    return text;
}
