#include "mesh_bench.h"

#include "draw/frame.h"
#include "mesh/planar_mesh.h"
#include "mesh_grid.h"
#include "model/subdivision.h"
#include "model/validation.h"

#include <OpenMesh/Core/Mesh/PolyMesh_ArrayKernelT.hh>
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int halfEdgeTargets[] = {1000, 10000, 100000};
constexpr const char* fileName = "grid.obj";

using PolyMesh = OpenMesh::PolyMesh_ArrayKernelT<>;

struct Stage {
    SDL_Surface* screen = nullptr;
    Font* labelFont = nullptr;
    Font* statusFont = nullptr;
};

Stage stage;

// What OpenMesh is given: the file's vertices and faces as readMeshText reads them.
struct Handles {
    std::vector<PolyMesh::Point> points;
    std::vector<std::vector<PolyMesh::VertexHandle>> faces;
};

Handles handlesOf(const GridMesh& grid) {
    const MeshText text = readMeshText(grid.text);
    Handles h;
    for (const Point3& p : text.vertices) {
        h.points.emplace_back(p.x, p.y, p.z);
    }
    for (std::size_t f = 0; f < text.faceCount(); ++f) {
        std::vector<PolyMesh::VertexHandle>& corners = h.faces.emplace_back();
        for (int v : text.face(f)) {
            corners.emplace_back(v);
        }
    }
    return h;
}

// A PolyMesh built as a reader of the file would build it: its vertices in order, then
// its faces. Counts the faces that add_face refused.
int buildPolyMesh(const Handles& h, PolyMesh& mesh) {
    int refused = 0;
    for (const PolyMesh::Point& p : h.points) {
        mesh.add_vertex(p);
    }
    for (const auto& corners : h.faces) {
        refused += !mesh.add_face(corners).is_valid();
    }
    return refused;
}

void frame(const Subdivision& s) {
    if (SDL_MUSTLOCK(stage.screen)) {
        SDL_LockSurface(stage.screen);
    }
    drawFrame(stage.screen, s, StatusLine{stage.statusFont, startAngles});
    if (SDL_MUSTLOCK(stage.screen)) {
        SDL_UnlockSurface(stage.screen);
    }
}

Subdivision opened(const GridMesh& grid) {
    MeshOpening opening = openMesh(grid.text, fileName);
    Subdivision s(stage.labelFont);
    s.open(opening.mesh, startAngles);
    return s;
}

void count(benchmark::State& state, const GridMesh& grid) {
    state.counters["faces"] = grid.faces;
    state.counters["halfEdges"] = grid.halfEdges;
}

void readOurs(benchmark::State& state, const GridMesh& grid) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(readMeshText(grid.text).corners.data());
    }
    count(state, grid);
}

// The least any reader of the file can spend: every number of it read with the standard
// library's std::from_chars into arrays made large enough beforehand, lines found with
// memchr, nothing else looked at, checked, numbered or built.
void scanFloor(benchmark::State& state, const GridMesh& grid) {
    std::vector<double> coordinates(3 * static_cast<std::size_t>(grid.vertices));
    std::vector<int> corners(3 * static_cast<std::size_t>(grid.faces));
    for (auto _ : state) {
        const char* at = grid.text.data();
        const char* const end = at + grid.text.size();
        std::size_t nextCoordinate = 0;
        std::size_t nextCorner = 0;
        while (at < end) {
            const char kind = *at;
            const char* lineEnd = static_cast<const char*>(std::memchr(at, '\n', end - at));
            lineEnd = lineEnd ? lineEnd : end;
            for (at += 2; at < lineEnd; ++at) {
                at = kind == 'v' ? std::from_chars(at, lineEnd, coordinates[nextCoordinate++]).ptr
                                 : std::from_chars(at, lineEnd, corners[nextCorner++]).ptr;
            }
            at = lineEnd + 1;
        }
        benchmark::DoNotOptimize(coordinates.data());
        benchmark::DoNotOptimize(corners.data());
    }
    count(state, grid);
}

void openOurs(benchmark::State& state, const GridMesh& grid) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(openMesh(grid.text, fileName).mesh->halfEdges.data());
    }
    count(state, grid);
}

void openOpenMesh(benchmark::State& state, const GridMesh& grid) {
    const Handles h = handlesOf(grid);
    for (auto _ : state) {
        PolyMesh mesh;
        buildPolyMesh(h, mesh);
        benchmark::DoNotOptimize(mesh.n_halfedges());
    }
    count(state, grid);
}

void firstFrame(benchmark::State& state, const GridMesh& grid) {
    for (auto _ : state) {
        frame(opened(grid));
        benchmark::ClobberMemory();
    }
    count(state, grid);
}

void frameOurs(benchmark::State& state, const GridMesh& grid) {
    const Subdivision s = opened(grid);
    for (auto _ : state) {
        frame(s);
        benchmark::ClobberMemory();
    }
    count(state, grid);
}

std::vector<GridMesh>& grids() {
    static std::vector<GridMesh> made = [] {
        std::vector<GridMesh> g;
        for (int target : halfEdgeTargets) {
            g.push_back(gridMeshUpTo(target));
        }
        return g;
    }();
    return made;
}

} // namespace

void registerMeshCases(SDL_Surface* screen, Font* labelFont, Font* statusFont) {
    stage = {screen, labelFont, statusFont};
    using Run = void (*)(benchmark::State&, const GridMesh&);
    struct Case {
        const char* name;
        Run run;
    };
    constexpr Case cases[] = {
        {"mesh scan/floor", scanFloor},        {"mesh read/ours", readOurs},
        {"mesh open/ours", openOurs},          {"mesh open/openmesh", openOpenMesh},
        {"mesh first frame/ours", firstFrame}, {"mesh frame/ours", frameOurs}};
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < std::size(halfEdgeTargets); ++i) {
            const std::string name = std::string(c.name) + "/" + std::to_string(halfEdgeTargets[i]);
            const GridMesh* grid = &grids()[i];
            benchmark::RegisterBenchmark(name.c_str(), [grid, run = c.run](benchmark::State& st) {
                run(st, *grid);
            })->Unit(benchmark::kMicrosecond);
        }
    }
}

bool sameMeshResults() {
    for (const GridMesh& grid : grids()) {
        const MeshOpening opening = openMesh(grid.text, fileName);
        if (!opening.mesh) {
            std::fprintf(stderr, "bench: the %d x %d grid does not open: %s\n", grid.side,
                         grid.side, opening.findings.lines(fileName).front().c_str());
            return false;
        }
        const PlanarMesh& m = *opening.mesh;
        PolyMesh theirs;
        const int refused = buildPolyMesh(handlesOf(grid), theirs);
        if (refused != 0 || m.fileFaces != grid.faces ||
            static_cast<int>(m.halfEdges.size()) != grid.halfEdges ||
            theirs.n_faces() != static_cast<std::size_t>(grid.faces) ||
            theirs.n_halfedges() != m.halfEdges.size()) {
            std::fprintf(stderr,
                         "bench: the %d x %d grid: %d faces and %d half-edges made, openMesh "
                         "%d and %zu, OpenMesh %zu and %zu (%d faces refused)\n",
                         grid.side, grid.side, grid.faces, grid.halfEdges, m.fileFaces,
                         m.halfEdges.size(), theirs.n_faces(), theirs.n_halfedges(), refused);
            return false;
        }
        const Subdivision s = opened(grid);
        if (const Violation v = checkInvariants(s)) {
            std::fprintf(stderr, "bench: the %d x %d grid breaks invariant %d at %d: %s\n",
                         grid.side, grid.side, v.invariant, v.record, v.what.c_str());
            return false;
        }
    }
    return true;
}
