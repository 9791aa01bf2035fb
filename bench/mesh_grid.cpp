#include "mesh_grid.h"

#include <vector>

namespace {

constexpr int blockEvery = 6; // squares from one hole's first row (or column) to the next
constexpr int blockStart = 2; // the hole's first square within its stretch of six
constexpr int blockSide = 2;

bool cutOut(int n, int i, int j) {
    const auto inBlock = [n](int k) {
        const int first = k - k % blockEvery + blockStart;
        return k >= first && k < first + blockSide && first + blockSide < n;
    };
    return inBlock(i) && inBlock(j);
}

} // namespace

GridMesh gridMesh(int n) {
    GridMesh grid;
    grid.side = n;
    const auto kept = [n](int i, int j) {
        return i >= 0 && j >= 0 && i < n && j < n && !cutOut(n, i, j);
    };
    // A grid point is used when one of the four squares around it is kept.
    std::vector<int> number((n + 1) * (n + 1), -1);
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            if (kept(i, j) || kept(i - 1, j) || kept(i, j - 1) || kept(i - 1, j - 1)) {
                number[j * (n + 1) + i] = grid.vertices++;
                grid.text += "v " + std::to_string(i) + " " + std::to_string(j) + " 0\n";
            }
        }
    }
    int edges = 0;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            edges += kept(i, j) || kept(i, j - 1); // the side from (i, j) to the right
            edges += kept(i, j) || kept(i - 1, j); // the side from (i, j) up
            edges += kept(i, j);                   // the diagonal
            if (!kept(i, j)) {
                continue;
            }
            // OBJ counts vertices from 1.
            const int a = number[j * (n + 1) + i] + 1, b = number[j * (n + 1) + i + 1] + 1;
            const int c = number[(j + 1) * (n + 1) + i + 1] + 1,
                      d = number[(j + 1) * (n + 1) + i] + 1;
            grid.text += "f " + std::to_string(a) + " " + std::to_string(b) + " " +
                         std::to_string(c) + "\nf " + std::to_string(a) + " " + std::to_string(c) +
                         " " + std::to_string(d) + "\n";
            grid.faces += 2;
        }
    }
    grid.halfEdges = 2 * edges;
    return grid;
}

GridMesh gridMeshUpTo(int maxHalfEdges) {
    GridMesh best = gridMesh(1);
    for (int n = 2;; ++n) {
        GridMesh next = gridMesh(n);
        if (next.halfEdges > maxHalfEdges) {
            return best;
        }
        best = std::move(next);
    }
}
