// The web build's SDL_gfx, recovered from libsdl-gfx1.2-doc's listings and linked here,
// against Debian's real libSDL_gfx (2.0.25), opened with dlopen(RTLD_LOCAL) so that its
// names never meet the recovered ones. Both draw the same shapes on 1000 x 600 32-bit
// surfaces, which must stay equal byte for byte: every shape the viewer draws in the
// states its end-to-end tests visit, then a fixed-seed sweep of lines, discs and polygons
// clipped at the edges.

#include "draw/picture.h"
#include "model/subdivision.h"

#include <SDL.h>
#include <SDL_gfxPrimitives.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int width = 1000;
constexpr int height = 600;

// The three primitives, as one implementation provides them.
struct Gfx {
    decltype(&aalineRGBA) line;
    decltype(&filledCircleRGBA) circle;
    decltype(&filledPolygonRGBA) polygon;
};

const Gfx recovered{aalineRGBA, filledCircleRGBA, filledPolygonRGBA};

// Debian's library, loaded once for the whole program.
const Gfx& debian() {
    static const Gfx gfx = [] {
        void* library = dlopen("libSDL_gfx.so.15", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            ADD_FAILURE() << dlerror();
            return Gfx{};
        }
        return Gfx{
            reinterpret_cast<decltype(&aalineRGBA)>(dlsym(library, "aalineRGBA")),
            reinterpret_cast<decltype(&filledCircleRGBA)>(dlsym(library, "filledCircleRGBA")),
            reinterpret_cast<decltype(&filledPolygonRGBA)>(dlsym(library, "filledPolygonRGBA"))};
    }();
    return gfx;
}

struct Rgba {
    Uint8 r, g, b, a;
};

// One shape, drawn by either implementation; rows says which rows it can touch.
struct Shape {
    enum Kind { line, circle, polygon } kind;
    std::vector<Sint16> xs; // line: both ends; circle: the centre; polygon: the corners
    std::vector<Sint16> ys;
    Sint16 radius = 0;
    Rgba color{};

    void draw(const Gfx& gfx, SDL_Surface* target) const {
        const auto [r, g, b, a] = color;
        switch (kind) {
        case line:
            gfx.line(target, xs[0], ys[0], xs[1], ys[1], r, g, b, a);
            break;
        case circle:
            gfx.circle(target, xs[0], ys[0], radius, r, g, b, a);
            break;
        case polygon:
            gfx.polygon(target, xs.data(), ys.data(), static_cast<int>(xs.size()), r, g, b, a);
            break;
        }
    }

    std::pair<int, int> rows() const {
        const auto [low, high] = std::minmax_element(ys.begin(), ys.end());
        return {std::max(0, *low - radius - 1), std::min(height - 1, *high + radius + 1)};
    }

    std::string describe() const {
        static const char* const names[] = {"aaline", "filledCircle", "filledPolygon"};
        std::string text = names[kind];
        for (std::size_t i = 0; i < xs.size(); ++i) {
            text += " (" + std::to_string(xs[i]) + "," + std::to_string(ys[i]) + ")";
        }
        if (kind == circle) {
            text += " r " + std::to_string(radius);
        }
        return text + " rgba " + std::to_string(color.r) + "," + std::to_string(color.g) + "," +
               std::to_string(color.b) + "," + std::to_string(color.a);
    }
};

// A painter of the viewer's picture that keeps its faces, arrows and dots as shapes.
struct ShapeRecorder {
    std::vector<Shape> shapes;

    static Rgba opaque(SDL_Color c) { return {c.r, c.g, c.b, 255}; }
    void face(int, const std::vector<Sint16>& xs, const std::vector<Sint16>& ys, SDL_Color c) {
        shapes.push_back({Shape::polygon, xs, ys, 0, opaque(c)});
    }
    void arrow(int, const Arrow& arrow, SDL_Color c) {
        for (auto [from, to] : {std::pair{arrow.from, arrow.to}, std::pair{arrow.to, arrow.wing1},
                                std::pair{arrow.to, arrow.wing2}}) {
            shapes.push_back({Shape::line,
                              {static_cast<Sint16>(from.x), static_cast<Sint16>(to.x)},
                              {static_cast<Sint16>(from.y), static_cast<Sint16>(to.y)},
                              0,
                              opaque(c)});
        }
    }
    void dot(int, Pixel centre, int radius, SDL_Color c) {
        shapes.push_back({Shape::circle,
                          {static_cast<Sint16>(centre.x)},
                          {static_cast<Sint16>(centre.y)},
                          static_cast<Sint16>(radius),
                          opaque(c)});
    }
};

// Two equal surfaces of the viewer's screen format, the recovered code drawing on one and
// Debian's on the other.
class WebGfx : public ::testing::Test {
  protected:
    WebGfx() {
        for (SDL_Surface*& surface : surfaces) {
            surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0xFF0000, 0x00FF00,
                                           0x0000FF, 0);
        }
        fill();
    }
    ~WebGfx() override {
        for (SDL_Surface* surface : surfaces) {
            SDL_FreeSurface(surface);
        }
    }

    // Both surfaces the same: white, or a fixed noise that every blend shows through.
    void fill(bool noise = false) {
        std::mt19937 random(7);
        std::vector<Uint32> pixels(width * height, 0xFFFFFF);
        if (noise) {
            std::generate(pixels.begin(), pixels.end(), [&] { return random() & 0xFFFFFF; });
        }
        for (SDL_Surface* surface : surfaces) {
            for (int y = 0; y < height; ++y) {
                std::memcpy(static_cast<Uint8*>(surface->pixels) + y * surface->pitch,
                            &pixels[y * width], width * 4);
            }
        }
    }

    // The first row from first to last where the two differ, or -1.
    int differingRow(int first, int last) const {
        for (int y = first; y <= last; ++y) {
            if (std::memcmp(row(0, y), row(1, y), width * 4) != 0) {
                return y;
            }
        }
        return -1;
    }

    const Uint8* row(int surface, int y) const {
        return static_cast<const Uint8*>(surfaces[surface]->pixels) + y * surfaces[surface]->pitch;
    }

    // Draws each shape with both implementations and compares the rows it can reach at
    // once, and all rows at the end. Stops at the first difference.
    void drawBoth(const std::vector<Shape>& shapes, const std::string& where) {
        ASSERT_NE(debian().line, nullptr);
        for (const Shape& shape : shapes) {
            shape.draw(recovered, surfaces[0]);
            shape.draw(debian(), surfaces[1]);
            const auto [first, last] = shape.rows();
            const int y = differingRow(first, last);
            ASSERT_EQ(y, -1) << where << ": " << shape.describe() << " differs in row " << y;
        }
        ASSERT_EQ(differingRow(0, height - 1), -1) << where;
    }

    SDL_Surface* surfaces[2] = {};
};

TEST_F(WebGfx, TheRealLibraryStaysApart) {
    // The recovered names are not visible to the opened library, which therefore calls
    // its own code throughout.
    ASSERT_NE(debian().line, nullptr);
    EXPECT_NE(debian().line, recovered.line);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "aalineRGBA"), nullptr);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "hlineColor"), nullptr);
}

// Every face, arrow and dot of the viewer's picture at these corner counts, with the
// listing shown and hidden (which moves the polygon), with nothing, a vertex, a face and
// the outer face picked.
TEST_F(WebGfx, EveryShapeOfTheViewerStates) {
    for (int n : {3, 4, 5, 6, 7, 9, 12, 13, 40, 65, 100}) {
        for (bool listing : {true, false}) {
            Subdivision model;
            model.showListing = listing;
            model.build(n);
            const Vertex& v0 = model.vertices[0];
            const std::vector<Vertex> face0 = model.faceVertices(0);
            const Pixel inFace0{(face0[0].x + face0[1].x + face0[2].x) / 3,
                                (face0[0].y + face0[1].y + face0[2].y) / 3};
            const std::pair<const char*, Pixel> picks[] = {{"nothing", {-1, -1}},
                                                           {"vertex", {v0.x + 2, v0.y - 3}},
                                                           {"face", inFace0},
                                                           {"outer face", {995, 595}}};
            for (const auto& [what, at] : picks) {
                model.clearSelection();
                if (at.x >= 0) {
                    model.pick(at.x, at.y);
                }
                ShapeRecorder recorder;
                const std::vector<bool> highlighted =
                    picture::flagged(model.pickedVertexEdges, model.halfEdges.size());
                const std::vector<bool> neighbour =
                    picture::flagged(model.pickedFaceNeighbours, model.faces.size());
                picture::paintFaces(model, recorder, neighbour);
                picture::paintArrows(model, recorder, highlighted);
                picture::paintDots(model, recorder);
                fill();
                drawBoth(recorder.shapes, "N = " + std::to_string(n) +
                                              (listing ? "" : ", no listing") + ", " + what +
                                              " picked");
                if (HasFatalFailure()) {
                    return;
                }
            }
        }
    }
}

// Random shapes over noise, reaching past every edge: lines of every slope and length up
// to 80 pixels from random points plus long ones, discs of radius 0 to 20, polygons of
// 3 to 12 corners; random colours and alphas.
TEST_F(WebGfx, RandomShapesClippedAtTheEdges) {
    std::mt19937 random(2024);
    const auto coordinate = [&](int size) {
        return static_cast<Sint16>(std::uniform_int_distribution<int>(-60, size + 60)(random));
    };
    const auto color = [&] {
        std::uniform_int_distribution<int> byte(0, 255);
        return Rgba{static_cast<Uint8>(byte(random)), static_cast<Uint8>(byte(random)),
                    static_cast<Uint8>(byte(random)),
                    static_cast<Uint8>(random() % 2 ? 255 : byte(random))};
    };
    std::vector<Shape> shapes;
    for (int dx = -40; dx <= 40; ++dx) {
        for (int dy = -40; dy <= 40; ++dy) {
            const Sint16 x = coordinate(width);
            const Sint16 y = coordinate(height);
            shapes.push_back({Shape::line,
                              {x, static_cast<Sint16>(x + dx)},
                              {y, static_cast<Sint16>(y + dy)},
                              0,
                              color()});
        }
    }
    for (int i = 0; i < 1000; ++i) {
        shapes.push_back({Shape::line,
                          {coordinate(width), coordinate(width)},
                          {coordinate(height), coordinate(height)},
                          0,
                          color()});
    }
    for (int i = 0; i < 2000; ++i) {
        shapes.push_back({Shape::circle,
                          {coordinate(width)},
                          {coordinate(height)},
                          static_cast<Sint16>(i % 21),
                          color()});
    }
    for (int i = 0; i < 2000; ++i) {
        Shape polygon{Shape::polygon, {}, {}, 0, color()};
        const Sint16 x = coordinate(width);
        const Sint16 y = coordinate(height);
        const int reach = 1 + static_cast<int>(random() % 200);
        for (int corner = 0; corner < 3 + i % 10; ++corner) {
            polygon.xs.push_back(
                static_cast<Sint16>(x + static_cast<int>(random() % (2 * reach)) - reach));
            polygon.ys.push_back(
                static_cast<Sint16>(y + static_cast<int>(random() % (2 * reach)) - reach));
        }
        shapes.push_back(polygon);
    }
    fill(true);
    drawBoth(shapes, "random sweep");
}

} // namespace
