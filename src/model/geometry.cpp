#include "model/geometry.h"

bool pointInPolygon(const std::vector<Vertex>& corners, int x, int y) {
    bool inside = false;
    const std::size_t n = corners.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const int xi = corners[i].x;
        const int yi = corners[i].y;
        const int xj = corners[j].x;
        const int yj = corners[j].y;
        // Exactly one end strictly above the point's row: the edge crosses it, and it
        // cannot be horizontal, so the division is defined.
        if ((yi < y && yj >= y) || (yj < y && yi >= y)) {
            const double crossing =
                xi + ((static_cast<double>(y) - yi) / (static_cast<double>(yj) - yi)) *
                         (static_cast<double>(xj) - xi);
            if (crossing < x) {
                inside = !inside;
            }
        }
    }
    return inside;
}

int intPower(int base, int exponent) {
    if (exponent == 0) {
        return 1;
    }
    if (exponent == 1) {
        return base;
    }
    return intPower(base, exponent - 1) * base;
}
