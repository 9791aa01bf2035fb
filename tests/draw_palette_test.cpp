#include "model/subdivision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Vector = std::array<double, 3>;
using Matrix = std::array<Vector, 3>;

double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Vector times(const Matrix& m, const Vector& v) {
    Vector out{};
    for (int i = 0; i < 3; ++i) {
        out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    }
    return out;
}

// CIELAB (D65) of a colour as a reader with full colour vision, or with one of the
// dichromacies simulated by Machado, Oliveira and Fernandes (2009, severity 1) in linear
// RGB, sees it.
Vector seen(SDL_Color c, const Matrix& vision) {
    Vector rgb = times(vision, {linear(c.r), linear(c.g), linear(c.b)});
    for (double& channel : rgb) {
        channel = std::clamp(channel, 0.0, 1.0);
    }
    const Vector xyz = times(
        {{{0.4124, 0.3576, 0.1805}, {0.2126, 0.7152, 0.0722}, {0.0193, 0.1192, 0.9505}}}, rgb);
    const auto f = [](double t) {
        return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    const double fx = f(xyz[0] / 0.95047), fy = f(xyz[1]), fz = f(xyz[2] / 1.08883);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

} // namespace

// The walk's four colours stand out from paper as text must (WCAG contrast 4.5:1), and
// differ by a CIE 1976 colour difference of 15 or more from each other and from ink,
// the highlight, the vertex dots and the neighbours' labels, for full colour vision and
// under simulated protanopia, deuteranopia and tritanopia.
TEST(DrawPalette, WalkColoursReadOnPaperAndStayApartForEveryVision) {
    using namespace palette;
    constexpr SDL_Color walk[] = {pickedEdgeColor, nextEdgeColor, prevEdgeColor, oppEdgeColor};
    constexpr SDL_Color others[] = {inkColor, highlightColor, vertexColor, neighbourLabelColor};
    const Matrix visions[] = {
        {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
        {{{0.152286, 1.052583, -0.204868},
          {0.114503, 0.786281, 0.099216},
          {-0.003882, -0.048116, 1.051998}}},
        {{{0.367322, 0.860646, -0.227968},
          {0.280085, 0.672501, 0.047413},
          {-0.011820, 0.042940, 0.968881}}},
        {{{1.255528, -0.076749, -0.178779},
          {-0.078411, 0.930809, 0.147602},
          {0.004733, 0.691367, 0.303900}}},
    };
    const auto luminance = [](SDL_Color c) {
        return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_GE((luminance(paperColor) + 0.05) / (luminance(walk[i]) + 0.05), 4.5) << i;
        for (int v = 0; v < 4; ++v) {
            const Vector a = seen(walk[i], visions[v]);
            for (int j = 0; j < 8; ++j) {
                if (j < 4 && j <= i) {
                    continue;
                }
                const Vector b = seen(j < 4 ? walk[j] : others[j - 4], visions[v]);
                EXPECT_GE(std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]), 15.0)
                    << "walk colour " << i << " and colour " << j << " for vision " << v;
            }
        }
    }
}
