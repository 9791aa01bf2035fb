#include "draw/loops.h"

#include "draw/pole.h"
#include "mesh/planar_mesh.h"

#include <algorithm>
#include <cmath>

std::span<const Pixel> BoundaryLoops::polygon(int f) const {
    const std::size_t loop = static_cast<std::size_t>(f - firstFace);
    return std::span<const Pixel>(corners).subspan(starts[loop], starts[loop + 1] - starts[loop]);
}

BoundaryLoops boundaryLoops(const Subdivision& s) {
    BoundaryLoops loops;
    if (!s.mesh) {
        return loops;
    }
    const int faces = static_cast<int>(s.faces.size());
    loops.firstFace = std::min(s.mesh->fileFaces, faces);
    loops.starts.push_back(0);
    for (int f = loops.firstFace; f < faces; ++f) {
        s.forEachCorner(f, [&](const Vertex& v) { loops.corners.push_back({v.x, v.y}); });
        loops.starts.push_back(loops.corners.size());
        loops.around.push_back(-1);
    }

    struct Box {
        int left, top, right, bottom;
        bool holds(Pixel p) const {
            return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
        }
    };
    loops.islands.resize(loops.around.size());
    std::vector<double> areas(loops.around.size());
    std::vector<Box> boxes(loops.around.size());
    for (int f = loops.firstFace; f < faces; ++f) {
        const std::span<const Pixel> ring = loops.polygon(f);
        if (!s.isHole(f) || ring.empty()) {
            continue;
        }
        Box box{ring[0].x, ring[0].y, ring[0].x, ring[0].y};
        double twiceArea = 0;
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            box = {std::min(box.left, ring[i].x), std::min(box.top, ring[i].y),
                   std::max(box.right, ring[i].x), std::max(box.bottom, ring[i].y)};
            twiceArea += static_cast<double>(ring[j].x) * ring[i].y -
                         static_cast<double>(ring[i].x) * ring[j].y;
        }
        boxes[f - loops.firstFace] = box;
        areas[f - loops.firstFace] = std::abs(twiceArea) / 2;
        loops.holesLargestFirst.push_back(f);
    }
    const auto area = [&](int f) { return areas[f - loops.firstFace]; };
    std::stable_sort(loops.holesLargestFirst.begin(), loops.holesLargestFirst.end(),
                     [&](int a, int b) { return area(a) > area(b); });

    for (int f = loops.firstFace; f < faces; ++f) {
        const std::span<const Pixel> ring = loops.polygon(f);
        if (!s.isOuterFace(f) || ring.empty()) {
            continue;
        }
        // Holes around one point nest, so the last one around it is the smallest.
        for (int hole : loops.holesLargestFirst) {
            const std::span<const Pixel> holeRing = loops.polygon(hole);
            if (boxes[hole - loops.firstFace].holds(ring[0]) &&
                insideRings(ring[0].x, ring[0].y, std::span(&holeRing, 1))) {
                loops.around[f - loops.firstFace] = hole;
            }
        }
        if (loops.around[f - loops.firstFace] >= 0) {
            loops.islands[loops.around[f - loops.firstFace] - loops.firstFace].push_back(f);
        }
    }
    return loops;
}
