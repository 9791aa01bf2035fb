#include "mesh/planar_mesh.h"

#include "mesh/mesh_checker.h"

MeshOpening openMesh(std::string_view bytes, std::string_view fileName) {
    MeshOpening opening;
    opening.name = fileNameOf(fileName);
    MeshText text = readMeshText(bytes);
    opening.findings = std::move(text.findings);
    MeshChecker checker{text, opening.findings, {}, {}, {}, {}};
    // Faults of the text and of the topology are all told; the geometry is judged only
    // when both are sound.
    if (!checker.checkSize()) {
        return opening;
    }
    checker.checkFaces();
    if (!checker.checkEdges() || opening.findings.failed()) {
        return opening;
    }
    PlanarMesh mesh;
    if (!checker.project(mesh)) {
        return opening;
    }
    checker.checkAreas();
    if (opening.findings.failed()) {
        return opening;
    }
    checker.checkCrossings();
    if (opening.findings.failed()) {
        return opening;
    }
    mesh.name = opening.name;
    mesh.format = text.format;
    mesh.read = text.vertices;
    mesh.vertexLines = text.vertexLines;
    numberRecords(checker, mesh);
    checker.checkNesting(mesh);
    if (opening.findings.failed()) {
        return opening;
    }
    warnAboutVertices(mesh, opening.findings);
    opening.mesh = std::make_shared<const PlanarMesh>(std::move(mesh));
    return opening;
}

std::string fileNameOf(std::string_view path) {
    return std::string(path.substr(path.find_last_of('/') + 1));
}

std::string meshSummary(const PlanarMesh& m) {
    const auto count = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    const std::size_t loops = m.faces.size() - static_cast<std::size_t>(m.fileFaces);
    return m.name + ": " + count(m.vertices.size(), "vertex", "vertices") + ", " +
           count(static_cast<std::size_t>(m.fileFaces), "face", "faces") + " and " +
           count(loops, "boundary loop", "boundary loops") + " (" + std::to_string(m.outerLoops) +
           " outer, " + count(static_cast<std::size_t>(m.holes), "hole", "holes") + "), " +
           count(m.halfEdges.size(), "half-edge", "half-edges");
}
