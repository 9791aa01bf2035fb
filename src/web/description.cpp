#include "web/description.h"

#include <vector>

namespace {

// The records named in full before the rest of a list is only counted.
constexpr std::size_t namedInFull = 12;

std::string names(const char* prefix, const std::vector<int>& positions) {
    std::string text;
    for (std::size_t i = 0; i < positions.size() && i < namedInFull; ++i) {
        text += (i == 0 ? "" : ", ") + std::string{prefix} + std::to_string(positions[i]);
    }
    if (positions.size() > namedInFull) {
        text += " and " + std::to_string(positions.size() - namedInFull) + " more";
    }
    return text.empty() ? "none" : text;
}

std::string faceName(const Subdivision& s, int f) {
    return "f" + std::to_string(f) +
           (f + 1 == static_cast<int>(s.faces.size()) ? " (the outer face)" : "");
}

} // namespace

std::string describe(int angles, const Subdivision& s) {
    std::string text = "Angles: " + std::to_string(angles) + ".";
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
        text += " Picked vertex v" + std::to_string(s.pickedVertex) + " at (" +
                std::to_string(v.x) + ", " + std::to_string(v.y) +
                "); half-edges at it: " + names("e", s.pickedVertexEdges) + ".";
    } else if (s.isFace(s.pickedFace)) {
        text += " Picked face " + faceName(s, s.pickedFace) +
                "; faces across its edges: " + names("f", s.pickedFaceNeighbours) + ".";
    } else if (s.isHalfEdge(s.pickedHalfEdge)) {
        const int h = s.pickedHalfEdge;
        const auto link = [](const char* field, int e) {
            return std::string{field} + (e < 0 ? " none" : " e" + std::to_string(e));
        };
        text += " Picked half-edge e" + std::to_string(h) + " from v" +
                std::to_string(s.origin(h)) + " to v" + std::to_string(s.halfEdges[h].target) +
                " in face " + faceName(s, s.halfEdges[h].face) + "; " + link("next", s.pickedNext) +
                ", " + link("prev", s.pickedPrev) + ", " + link("opp", s.pickedOpp) + ".";
    } else if (!s.vertices.empty()) {
        text += " Nothing picked.";
    }
    const std::string walk = s.walkExpression();
    if (!walk.empty()) {
        text += " Walk: " + walk + ".";
    }
    return text;
}
