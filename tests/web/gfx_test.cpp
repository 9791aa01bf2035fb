// The web build's SDL_gfx (recovered from libsdl-gfx1.2-doc) against Debian's 2.0.25, opened
// with dlopen(RTLD_LOCAL) so the names never meet: the same shapes, equal byte for byte.

#include "draw/picture.h"
#include "model/subdivision.h"

#include <SDL.h>
#include <SDL_gfxPrimitives.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct Gfx {
    decltype(&aalineRGBA) line;
    decltype(&filledCircleRGBA) circle;
    decltype(&filledPolygonRGBA) polygon;
};

const Gfx recovered{aalineRGBA, filledCircleRGBA, filledPolygonRGBA};

// Debian's function of this name and type.
template <class Function> Function real(Function, const char* name) {
    static void* const library = dlopen("libSDL_gfx.so.15", RTLD_NOW | RTLD_LOCAL);
    return library ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
}

const Gfx debian{real(aalineRGBA, "aalineRGBA"), real(filledCircleRGBA, "filledCircleRGBA"),
                 real(filledPolygonRGBA, "filledPolygonRGBA")};

// A disc around the first corner, else a line between two corners, else a polygon.
struct Shape {
    std::vector<Sint16> xs, ys;
    int radius = -1;
    SDL_Color c{};
    Uint8 a = 255;

    void draw(const Gfx& gfx, SDL_Surface* target) const {
        if (radius >= 0) {
            gfx.circle(target, xs[0], ys[0], static_cast<Sint16>(radius), c.r, c.g, c.b, a);
        } else if (xs.size() == 2) {
            gfx.line(target, xs[0], ys[0], xs[1], ys[1], c.r, c.g, c.b, a);
        } else {
            gfx.polygon(target, xs.data(), ys.data(), static_cast<int>(xs.size()), c.r, c.g, c.b,
                        a);
        }
    }
};

std::ostream& operator<<(std::ostream& out, const Shape& s) {
    return out << testing::PrintToString(s.xs) << testing::PrintToString(s.ys) << " radius "
               << s.radius << " rgba " << +s.c.r << "," << +s.c.g << "," << +s.c.b << "," << +s.a;
}

// A painter of the viewer's picture that keeps its faces, arrows and dots as shapes.
struct ShapeRecorder {
    std::vector<Shape> shapes;

    void add(std::vector<Pixel> corners, int radius, SDL_Color c) {
        std::vector<Sint16> xs, ys;
        for (Pixel p : corners) {
            xs.push_back(Sint16(p.x));
            ys.push_back(Sint16(p.y));
        }
        shapes.push_back({xs, ys, radius, c});
    }
    void background() {}
    void face(const FaceShape& f) {
        shapes.push_back({{f.xs.begin(), f.xs.end()}, {f.ys.begin(), f.ys.end()}, -1, f.fillColor});
    }
    void arrow(const ArrowShape& shape) {
        const Arrow& arrow = shape.arrow;
        add({arrow.from, arrow.to}, -1, shape.lineColor);
        add({arrow.to, arrow.wing1}, -1, shape.lineColor);
        add({arrow.to, arrow.wing2}, -1, shape.lineColor);
    }
    void dot(const DotShape& dot) { add({dot.centre}, dot.radius, dot.fillColor); }
    void texts(std::span<const TextShape>) {}
};

class WebGfx : public ::testing::Test {
  protected:
    using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;
    static Surface window() {
        return {SDL_CreateRGBSurface(SDL_SWSURFACE, windowWidth, windowHeight, 32, 0xFF0000,
                                     0x00FF00, 0x0000FF, 0),
                SDL_FreeSurface};
    }

    // Both surfaces white, or the same noise, which every blend shows through.
    void fill(bool noise) {
        std::mt19937 random(7);
        for (int i = 0; i < windowWidth * windowHeight; ++i) {
            const Uint32 pixel = noise ? random() & 0xFFFFFF : 0xFFFFFF;
            for (const Surface& s : surfaces) {
                static_cast<Uint32*>(s->pixels)[i / windowWidth * s->pitch / 4 + i % windowWidth] =
                    pixel;
            }
        }
    }

    // The first row from first to last in which the surfaces differ, or -1.
    int differingRow(int first, int last) const {
        for (int y = std::max(first, 0); y <= std::min(last, windowHeight - 1); ++y) {
            const auto row = [&](const Surface& s) {
                return static_cast<const Uint8*>(s->pixels) + y * s->pitch;
            };
            if (std::memcmp(row(surfaces[0]), row(surfaces[1]), windowWidth * 4) != 0) {
                return y;
            }
        }
        return -1;
    }

    // Draws each shape with both and compares the rows it can reach, then all rows.
    void drawBoth(const std::vector<Shape>& shapes, const std::string& where) {
        ASSERT_NE(debian.line, nullptr) << dlerror();
        for (const Shape& shape : shapes) {
            shape.draw(recovered, surfaces[0].get());
            shape.draw(debian, surfaces[1].get());
            const auto [low, high] = std::minmax_element(shape.ys.begin(), shape.ys.end());
            const int reach = std::max(shape.radius, 0) + 1;
            ASSERT_EQ(differingRow(*low - reach, *high + reach), -1) << where << ": " << shape;
        }
        ASSERT_EQ(differingRow(0, windowHeight - 1), -1) << where;
    }

    Surface surfaces[2] = {window(), window()};
};

// Every face, arrow and dot of the picture, listing shown and hidden, with each kind of
// pick. The opened library cannot see the recovered names, so it runs its own code only.
TEST_F(WebGfx, EveryShapeOfTheViewerStates) {
    EXPECT_NE(debian.line, recovered.line);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "aalineRGBA"), nullptr);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "hlineColor"), nullptr);
    for (int n : {3, 4, 5, 6, 7, 9, 12, 13, 40, 65, 100}) {
        for (bool listing : {true, false}) {
            Subdivision model;
            model.showListing = listing;
            model.build(n);
            const Vertex v0 = model.vertices[0];
            const std::vector<Vertex> f0 = model.faceVertices(0);
            for (Pixel at :
                 {Pixel{-1, -1}, Pixel{v0.x + 2, v0.y - 3},
                  Pixel{(f0[0].x + f0[1].x + f0[2].x) / 3, (f0[0].y + f0[1].y + f0[2].y) / 3},
                  Pixel{995, 595}}) {
                model.clearSelection();
                if (at.x >= 0) {
                    model.pick(at.x, at.y);
                }
                // Without a font the picture holds no text.
                ShapeRecorder recorder;
                paint(framePicture(model, StatusLine{}), recorder);
                fill(false);
                drawBoth(recorder.shapes, "N = " + std::to_string(n) + (listing ? " listing" : "") +
                                              " pick at " + std::to_string(at.x) + "," +
                                              std::to_string(at.y));
                ASSERT_FALSE(HasFatalFailure());
            }
        }
    }
}

// Over noise, past every edge: lines of each slope, polygons, discs; colours half opaque.
TEST_F(WebGfx, RandomShapesClippedAtTheEdges) {
    std::mt19937 random(2024);
    const auto number = [&](int low, int high) {
        return static_cast<Sint16>(std::uniform_int_distribution<int>(low, high)(random));
    };
    const auto shape = [&](std::vector<Sint16> xs, std::vector<Sint16> ys, int radius) {
        Shape s{std::move(xs),
                std::move(ys),
                radius,
                {Uint8(number(0, 255)), Uint8(number(0, 255)), Uint8(number(0, 255)), 0}};
        s.a = Uint8(number(0, 1) ? 255 : number(0, 255));
        return s;
    };
    std::vector<Shape> shapes;
    for (int dx = -40; dx <= 40; ++dx) {
        for (int dy = -40; dy <= 40; ++dy) {
            const Sint16 x = number(-60, windowWidth + 60), y = number(-60, windowHeight + 60);
            shapes.push_back(shape({x, Sint16(x + dx)}, {y, Sint16(y + dy)}, -1));
        }
    }
    for (int i = 0; i < 2000; ++i) {
        std::vector<Sint16> xs, ys;
        const int corners = i % 3 == 0 ? 2 : 3 + i % 10;
        const int reach = i % 3 == 0 ? windowWidth : number(1, 200);
        const Sint16 x = number(-60, windowWidth + 60), y = number(-60, windowHeight + 60);
        for (int corner = 0; corner < corners; ++corner) {
            xs.push_back(Sint16(x + number(-reach, reach)));
            ys.push_back(Sint16(y + number(-reach, reach)));
        }
        shapes.push_back(shape(xs, ys, -1));
        shapes.push_back(shape({x}, {y}, i % 21));
    }
    fill(true);
    drawBoth(shapes, "random sweep");
}

} // namespace
