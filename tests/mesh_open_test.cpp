// Mesh files read, checked and numbered: every finding with its line, and records worked
// out by hand.
#include "mesh/planar_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <locale>
#include <string>
#include <vector>

namespace {

const std::string triangle = "v 0 0\nv 1 0\nv 0 1\n";

// The findings as the viewer writes them and the summary when the mesh opened, sorted.
std::vector<std::string> opened(const std::string& bytes, const std::string& name = "t.obj") {
    const MeshOpening o = openMesh(bytes, "some/folder/" + name);
    std::vector<std::string> lines = o.findings.lines(name);
    if (o.mesh) {
        lines.push_back(meshSummary(*o.mesh));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// n triangles of three vertices each, side by side in rows, each a piece of its own.
std::string pieces(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) {
        const int x = 3 * (i % 200), y = 3 * (i / 200);
        text += "v " + std::to_string(x) + " " + std::to_string(y) + "\nv " +
                std::to_string(x + 1) + " " + std::to_string(y) + "\nv " + std::to_string(x) + " " +
                std::to_string(y + 1) + "\nf -3 -2 -1\n";
    }
    return text;
}

TEST(MeshOpen, EveryFaultOnItsLine) {
    const std::string edge3 = "v 0 0\nv 1 0\nv 0 1\nv 1 -1\nv 2 1\nf 1 2 3\nf 2 1 4\nf 1 2 5\n";
    const std::string allOn = ": it keeps its number, with no edge";
    const std::string note = " ignored: HEXIL reads only v and f";
    std::string tooMany, corners = triangle, square;
    for (int i = 0; i < 100001; ++i) {
        tooMany += "v 0 0\n";
    }
    for (const char* corner : {"v 0 -9\n", "v 1 -9\n", "v 1 -8\n", "v 0 -8\nf -4 -3 -2 -1\n",
                               "v 3 -9\n", "v 4 -9\n", "v 4 -8\n", "v 3 -8\nf -4 -3 -2 -1\n"}) {
        square += corner;
    }
    for (int i = 0; i < 33334; ++i) {
        corners += "f 1 2 3\n";
    }
    // clang-format off
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {triangle + "f 1 2 4\n", {"t.obj:4: error: face 0 uses vertex 4, but the file has 3 vertices"}},
        {triangle + "f 0 1 2\n", {"t.obj:4: error: face 0 uses vertex 0, but OBJ counts vertices from 1"}},
        {triangle + "f -1 -2 -4\n", {"t.obj:4: error: face 0 uses vertex -4, before the file's first vertex"}},
        {triangle + "f 1 x 3\n", {"t.obj:4: error: face 0: corner \"x\" does not name a vertex"}},
        {triangle + "f 1 2\nf 1 2 3 2\n", {"t.obj:4: error: face 0 has 2 corners, fewer than three",
                                          "t.obj:5: error: face 1 visits vertex v1 more than once"}},
        {"v 0\nv 1,5 0\nv 1e999 0\nv 0 nan\nf 1 2 3\n", {"t.obj:1: error: vertex 0 needs at least two coordinates",
            "t.obj:2: error: vertex 1: \"1,5\" is not a number", "t.obj:3: error: vertex 2: \"1e999\" is not a finite coordinate",
            "t.obj:4: error: vertex 3: \"nan\" is not a finite coordinate"}},
        {edge3, {"t.obj:6: error: the edge from v0 to v1 is used by 3 faces (lines 6, 7 and 8), but a half-edge has one opp, so an edge has at most two faces"}},
        {triangle + "v 1 1\nf 1 2 3\nf 2 3 4\n", {"t.obj:6: error: face 0 (line 5) and face 1 (line 6) both run from v1 to v2: their orientations disagree (one of them is turned over)"}},
        {"v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 1\nf 1 2 3 4\n", {"t.obj:4: error: the mesh is not flat: v3 lies 1 from the plane of the first face (at most 1.73205e-06 is taken as flat)"}},
        {"v 0 0\nv 1 0\nv 2 0\nf 1 2 3\n", {"t.obj:4: error: face 0 has no area: its corners lie on one line"}},
        {triangle + "v 5 0\nv 6 0\nv 5 1\nf 1 2 3\nf 4 6 5\n", {"t.obj:8: error: face 1 runs clockwise where face 0 (line 7) runs counter-clockwise: it is turned over, so it overlaps its neighbours"}},
        {"v 0 0\nv 2 0\nv 0 2\nv 1 -1\nv 1 1\nv 3 0\nf 1 2 3\nf 4 6 5\n", {"t.obj:7: error: edge v0-v1 of face 0 crosses edge v3-v4 of face 1 (line 8)",
                                                                           "t.obj:7: error: vertex v4 (line 5) lies on edge v1-v2 of face 0"}},
        {"v 1000000000 0\nv 1000000002 0\nv 1000000000 2\nv 1000000001 -1\nv 1000000001 1\nv 1000000003 0\nf 1 2 3\nf 4 6 5\n",
            {"t.obj:7: error: edge v0-v1 of face 0 crosses edge v3-v4 of face 1 (line 8)", "t.obj:7: error: vertex v4 (line 5) lies on edge v1-v2 of face 0"}},
        {"v 0 0\nv 2 0\nv 1 1\nv 1 0\nv 1 -1\nf 1 2 3\nf 1 5 4\n", {"t.obj:6: error: edge v0-v1 of face 0 overlaps edge v0-v3 of face 1 (line 7)",
                                                                     "t.obj:6: error: vertex v3 (line 4) lies on edge v0-v1 of face 0"}},
        {triangle + triangle + "f 1 2 3\nf 4 5 6\n", {"t.obj:7: error: edge v0-v1 of face 0 overlaps edge v3-v4 of face 1 (line 8)",
            "t.obj:7: error: edge v0-v2 of face 0 overlaps edge v3-v5 of face 1 (line 8)", "t.obj:7: error: edge v1-v2 of face 0 overlaps edge v4-v5 of face 1 (line 8)"}},
        {"v 0 0\nv 4 0\nv 0 4\nv 1 1\nv 2 1\nv 1 2\nf 1 2 3\nf 4 5 6\n", {"t.obj:8: error: the piece with face 1 (line 8) lies inside face 0 (line 7): faces overlap"}},
        {corners, {"t.obj: error: the faces have 100002 corners, so the mesh would have more than 100000 half-edges, the most HEXIL opens"}},
        {pieces(16667), {"t.obj: error: the mesh has 100002 half-edges, more than the 100000 that HEXIL opens"}},
        {pieces(16664) + square, {"t.obj: 50000 vertices, 16666 faces and 16666 boundary loops (16666 outer, 0 holes), 100000 half-edges"}},
        {tooMany + "f 1 2 3\n", {"t.obj: error: the file has 100001 vertices, more than the 100000 that HEXIL opens"}},
        {"", {"t.obj: error: the file has no faces"}},
        // Edges rising by a subnormal height, whose slope alone would overflow: one opens, one
        // is crossed far from the grid's first column.
        {"v 0 1e-320\nv 1 0\nv 1 1\nv 2 1\nv 2 2\nf 1 2 3\nf 3 4 5\n", {"t.obj: 5 vertices, 2 faces and 1 boundary loop (1 outer, 0 holes), 12 half-edges"}},
        {"v 0 1e-320\nv 4 0\nv 2 3\nv 3 -1\nv 3.5 1\nv 2.5 1\nf 1 2 3\nf 4 5 6\n",
            {"t.obj:7: error: edge v0-v1 of face 0 crosses edge v3-v4 of face 1 (line 8)", "t.obj:7: error: edge v0-v1 of face 0 crosses edge v3-v5 of face 1 (line 8)",
             "t.obj:7: error: edge v1-v2 of face 0 crosses edge v3-v4 of face 1 (line 8)", "t.obj:7: error: edge v1-v2 of face 0 crosses edge v4-v5 of face 1 (line 8)"}},
        {triangle + "v 5 5\nv 1 0\nf 1 2 3\n", {"t.obj:4: warning: vertex v3 is used by no face" + allOn, "t.obj:5: warning: vertex v4 is used by no face" + allOn,
                                               "t.obj:5: warning: vertex v4 lies at the same point as v1", "t.obj: 5 vertices, 1 face and 1 boundary loop (1 outer, 0 holes), 6 half-edges"}},
        {"vt 0 0\nvt 1 1\nvn 0 0 1\n# a comment\ng one\nfoo bar\n" + triangle + "f 1/1 2//1 -1/2/1\n",
         {"t.obj:1: note: 2 'vt' statements (texture coordinates)" + note, "t.obj:3: note: 1 'vn' statement (normals)" + note,
          "t.obj:5: note: 1 'g' statement (group names)" + note, "t.obj:6: warning: unknown statement \"foo\" ignored",
          "t.obj: 3 vertices, 1 face and 1 boundary loop (1 outer, 0 holes), 6 half-edges"}},
        {"\xEF\xBB\xBF" "COFF 3 1 0\r\n0\t0 0 9 9 9 \r\n1 0 0\r\n0 1 0\r\n3 0 1 2 255 0 0\r\n", {"t.obj: 3 vertices, 1 face and 1 boundary loop (1 outer, 0 holes), 6 half-edges"}},
        {"OFF\n", {"t.obj:1: error: the counts of vertices and faces are missing after the OFF header"}},
        {"OFF\n3 1 0\n0 0 0\n1 0 0\n", {"t.obj:4: error: the file ends after 2 of its 3 vertices"}},
        {"OFF\n3 2 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 3\n4 0 1 2\nmore\n", {"t.obj:6: error: face 0 uses vertex 3, but the file has 3 vertices, counted from 0",
            "t.obj:7: error: face 1 has 4 corners but lists 3", "t.obj:8: warning: text after the last face ignored"}},
    };
    // clang-format on
    for (const auto& [bytes, expected] : cases) {
        std::vector<std::string> sorted = expected;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(opened(bytes), sorted) << bytes.substr(0, 80);
    }
}

TEST(MeshOpen, PastTheCapOnlyACount) {
    std::string text = triangle;
    for (int i = 0; i < 30; ++i) {
        text += "f 1 2 9\n";
    }
    const MeshOpening o = openMesh(text, "t.obj");
    const std::vector<std::string> lines = o.findings.lines("t.obj");
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[24], "t.obj:28: error: face 24 uses vertex 9, but the file has 3 vertices");
    EXPECT_EQ(lines[25], "t.obj: error: 5 more errors");
}

// A comma for the decimal point in the program's locale changes nothing.
struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(MeshOpen, NumbersReadAlikeEverywhere) {
    const std::locale before =
        std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
    // clang-format off
    const std::vector<std::pair<std::string, double>> numbers{
        {"1", 1}, {"-1.5", -1.5}, {"+.5", 0.5}, {"2.", 2}, {"2e-3", 0.002}, {"1E+2", 100}, {"0.1", 0.1},
        {"3.14159265358979323846", 3.141592653589793}, {"12345678901234567890123", 1.2345678901234568e22},
        {"1e22", 1e22}, {"1e23", 1e23}, {"9007199254740993", 9007199254740992}, {"1e-400", 0}, {"-0", -0.0},
        {"4.9e-324", 4.9e-324}, {"1.7976931348623157e308", 1.7976931348623157e308}, {"1e99999999999", NAN},
        {"1e-99999999999", 0}, {"1.8e308", NAN}, {"inf", NAN}, {"-Infinity", NAN}, {"NaN", NAN},
        {"", -1}, {".", -1}, {"-", -1}, {"1,5", -1}, {"0x10", -1}, {"1e", -1}, {"1e+", -1}, {"e5", -1}, {"1.2.3", -1}, {"1 ", -1}};
    // clang-format on
    for (const auto& [text, expected] : numbers) {
        double value = -7;
        const NumberRead read = readNumber(text, value);
        if (std::isnan(expected)) {
            EXPECT_EQ(read, NumberRead::notFinite) << text;
        } else if (expected == -1) {
            EXPECT_EQ(read, NumberRead::notANumber) << text;
        } else {
            EXPECT_EQ(read, NumberRead::number) << text;
            EXPECT_EQ(value, expected) << text;
            EXPECT_EQ(std::signbit(value), std::signbit(expected)) << text;
        }
    }
    std::locale::global(before);
}

// The square with a square hole (res/meshes/square-hole.obj): every record and link, as
// worked out from the numbering rules. Half-edges as "target face next prev opp".
TEST(MeshOpen, TheSquareWithAHoleRecordByRecord) {
    std::string text;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            text += "v " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
        }
    }
    text += "f 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 5 6 10 9\nf 7 8 12 11\nf 9 10 14 13\n"
            "f 10 11 15 14\nf 11 12 16 15\n";
    const MeshOpening o = openMesh(text, "square-hole.obj");
    ASSERT_TRUE(o.mesh);
    const PlanarMesh& m = *o.mesh;
    EXPECT_EQ(meshSummary(m), "square-hole.obj: 16 vertices, 8 faces and 2 boundary loops (1 "
                              "outer, 1 hole), 48 half-edges");
    // clang-format off
    const int halfEdges[48][5] = {
        {1, 0, 1, 3, 32}, {5, 0, 2, 0, 7}, {4, 0, 3, 1, 12}, {0, 0, 0, 2, 33},
        {2, 1, 5, 7, 43}, {6, 1, 6, 4, 11}, {5, 1, 7, 5, 44}, {1, 1, 4, 6, 1},
        {3, 2, 9, 11, 42}, {7, 2, 10, 8, 41}, {6, 2, 11, 9, 16}, {2, 2, 8, 10, 5},
        {5, 3, 13, 15, 2}, {9, 3, 14, 12, 47}, {8, 3, 15, 13, 20}, {4, 3, 12, 14, 34},
        {7, 4, 17, 19, 10}, {11, 4, 18, 16, 40}, {10, 4, 19, 17, 28}, {6, 4, 16, 18, 45},
        {9, 5, 21, 23, 14}, {13, 5, 22, 20, 27}, {12, 5, 23, 21, 36}, {8, 5, 20, 22, 35},
        {10, 6, 25, 27, 46}, {14, 6, 26, 24, 31}, {13, 6, 27, 25, 37}, {9, 6, 24, 26, 21},
        {11, 7, 29, 31, 18}, {15, 7, 30, 28, 39}, {14, 7, 31, 29, 38}, {10, 7, 28, 30, 25},
        // the outer loop from across e0, clockwise round the outside
        {0, 8, 33, 43, 0}, {4, 8, 34, 32, 3}, {8, 8, 35, 33, 15}, {12, 8, 36, 34, 23},
        {13, 8, 37, 35, 22}, {14, 8, 38, 36, 26}, {15, 8, 39, 37, 30}, {11, 8, 40, 38, 29},
        {7, 8, 41, 39, 17}, {3, 8, 42, 40, 9}, {2, 8, 43, 41, 8}, {1, 8, 32, 42, 4},
        // the hole from across e6, counter-clockwise as the quads run
        {6, 9, 45, 47, 6}, {10, 9, 46, 44, 19}, {9, 9, 47, 45, 24}, {5, 9, 44, 46, 13}};
    // clang-format on
    ASSERT_EQ(m.halfEdges.size(), 48u);
    for (int h = 0; h < 48; ++h) {
        const int* e = halfEdges[h];
        EXPECT_EQ(m.halfEdges[h], (HalfEdge{e[0], e[1], e[3], e[2], e[4]})) << "e" << h;
    }
    const int vertexEdges[] = {33, 32, 43, 42, 34, 44, 45, 41, 35, 47, 46, 40, 36, 37, 38, 39};
    for (int v = 0; v < 16; ++v) {
        EXPECT_EQ(m.vertices[v].edge, vertexEdges[v]) << "v" << v;
    }
    for (int f = 0; f < 10; ++f) {
        EXPECT_EQ(m.faces[f].edge, f < 8 ? 4 * f : f == 8 ? 32 : 44) << "f" << f;
        EXPECT_EQ(m.faceLines[f], f < 8 ? 17 + f : 0);
    }
    std::vector<Boundary> boundary(8, Boundary::none);
    boundary.insert(boundary.end(), {Boundary::outer, Boundary::hole});
    EXPECT_EQ(m.boundary, boundary);
}

} // namespace
