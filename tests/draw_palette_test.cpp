#include "model/subdivision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// CIELAB (D65) of a colour as seen with full colour vision, or with a dichromacy simulated
// by Machado, Oliveira and Fernandes (2009, severity 1) in linear RGB.
std::array<double, 3> seen(SDL_Color c, const Matrix& vision) {
    constexpr Matrix toXyz{{{0.4124 / 0.95047, 0.3576 / 0.95047, 0.1805 / 0.95047},
                            {0.2126, 0.7152, 0.0722},
                            {0.0193 / 1.08883, 0.1192 / 1.08883, 0.9505 / 1.08883}}};
    const double rgb[] = {linear(c.r), linear(c.g), linear(c.b)};
    double simulated[3], f[3];
    for (int i = 0; i < 3; ++i) {
        const auto& row = vision[i];
        simulated[i] = std::clamp(row[0] * rgb[0] + row[1] * rgb[1] + row[2] * rgb[2], 0.0, 1.0);
    }
    for (int i = 0; i < 3; ++i) {
        const auto& row = toXyz[i];
        const double t = row[0] * simulated[0] + row[1] * simulated[1] + row[2] * simulated[2];
        f[i] = t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    }
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

} // namespace

// The walk's four colours stand out from paper as text must (WCAG contrast 4.5:1), and
// differ by a CIE 1976 colour difference of 15 or more from each other and from ink, the
// highlight, the vertex dots and the neighbours' labels, for full colour vision and under
// simulated protanopia, deuteranopia and tritanopia.
TEST(DrawPalette, WalkColoursReadOnPaperAndStayApartForEveryVision) {
    using namespace palette;
    constexpr SDL_Color colors[] = {pickedEdgeColor, nextEdgeColor,      prevEdgeColor,
                                    oppEdgeColor,    inkColor,           highlightColor,
                                    vertexColor,     neighbourLabelColor};
    // clang-format off
    const Matrix visions[] = {{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
        {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}},
        {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}},
        {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}}};
    // clang-format on
    for (int i = 0; i < 4; ++i) {
        const SDL_Color c = colors[i];
        const double luminance = 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
        EXPECT_GE(1.05 / (luminance + 0.05), 4.5) << i;
        for (int j = i + 1; j < 8; ++j) {
            for (const Matrix& vision : visions) {
                const auto a = seen(c, vision), b = seen(colors[j], vision);
                EXPECT_GE(std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]), 15.0)
                    << "colours " << i << " and " << j << ", vision " << &vision - visions;
            }
        }
    }
}
