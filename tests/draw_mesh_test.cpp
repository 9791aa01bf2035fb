// A mesh's picture. Layouts by hand from the rule (scaled to fit 320 x 460 about (220, 330),
// y up): square-hole's 3 x 3 at 106.67 a unit to columns 60, 167, 273, 380 and rows 490,
// 383, 277, 170; island's and l-room's 4 x 4 at 80 a unit from (60, 490) to (380, 170).
#include "draw/hit.h"
#include "draw_support.h"
#include "mesh/planar_mesh.h"
#include "model/geometry.h"

#include <fstream>
#include <sstream>

namespace {

std::shared_ptr<const PlanarMesh> mesh(const std::string& name, std::string bytes = "") {
    if (bytes.empty()) {
        std::ifstream in(std::string(HEXIL_MESHES) + "/" + name, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    MeshOpening o = openMesh(bytes, name);
    EXPECT_TRUE(o.mesh) << name;
    return o.mesh;
}

const TextShape* textOf(const Picture& p, const std::string& text) {
    for (const TextShape& t : p.texts) {
        if (t.text == text) {
            return &t;
        }
    }
    return nullptr;
}

const std::string lRoom = "v 0 0\nv 4 0\nv 4 2\nv 2 2\nv 2 4\nv 0 4\n";

} // namespace

using DrawMeshTest = DrawTest;

// Square-hole's f8 (outer), f9 (hole), and island.obj's frame f13, its hole f14 and the
// island's outer loop f15, which bounds the hole's ring: the region in the picked colour,
// the faces across in the neighbours'. Inside f0 (80, 400), f1 (190, 410), the hole or the
// ring (190, 300 or 220, 274), outside (20, 100), the window's corner.
TEST_F(DrawMeshTest, RegionsTakeTheColoursOfTheLoopsThatBoundThem) {
    struct View {
        const char* name;
        int face;
        std::vector<Check> checks;
    };
    // clang-format off
    const View views[] = {
        {"square-hole.obj", -1, {{80, 400, paper}, {190, 300, paper}, {20, 100, paper}}},
        {"square-hole.obj", 9, {{190, 300, picked}, {190, 410, nbFace}, {80, 400, paper}, {20, 100, paper}}},
        {"square-hole.obj", 8, {{20, 100, picked}, {999, 599, picked}, {80, 400, nbFace}, {190, 300, paper}}},
        {"island.obj", 15, {{220, 274, picked}, {20, 100, paper}}},
        {"island.obj", 14, {{220, 274, picked}, {20, 100, paper}}},
        {"island.obj", 13, {{220, 274, paper}, {20, 100, picked}}}};
    // clang-format on
    for (const View& view : views) {
        model.open(mesh(view.name), 6);
        model.select({RecordRef::face, view.face});
        redraw();
        expectShown(view.checks, view.name + std::to_string(view.face));
    }
}

// l-room's f0 at its pole (by hand: 93.7 from its left and bottom sides and from v3 at
// (220, 330), where the mean of its corners would lie); the outer loop's 20 left of x 60,
// level with 330, the middle of the left side; square-hole's hole on its centre; island's
// hole 28.1 from two sides of its ring, in one of its four corners. The status line names
// the file.
TEST_F(DrawMeshTest, FaceLabelsInsideTheirRegionsAndTheStatusLineNamesTheFile) {
    model.open(mesh("l-room.obj"), 6);
    const Picture room = framePicture(model, StatusLine{});
    EXPECT_NEAR(textOf(room, "f0")->place.at.x, 153.7, 1.5);
    EXPECT_NEAR(textOf(room, "f0")->place.at.y, 396.3, 1.5);
    EXPECT_EQ(TextPlace::centredInside, textOf(room, "f1")->place.rule);
    EXPECT_EQ(40, textOf(room, "f1")->place.at.x);
    EXPECT_EQ(330, textOf(room, "f1")->place.at.y);
    model.open(mesh("square-hole.obj"), 6);
    EXPECT_EQ(220, textOf(framePicture(model, StatusLine{}), "f9")->place.at.x);
    EXPECT_EQ(330, textOf(framePicture(model, StatusLine{}), "f9")->place.at.y);
    model.open(mesh("island.obj"), 6);
    const Pixel hole = textOf(framePicture(model, StatusLine{}), "f14")->place.at;
    EXPECT_NEAR(std::min(hole.x - 140, 300 - hole.x), 28.1, 1.5) << hole.x;
    EXPECT_NEAR(std::min(hole.y - 250, 410 - hole.y), 28.1, 1.5) << hole.y;

    // A vertex that no face uses has no edge: "-" in its listing row (v3, the fourth).
    model.open(mesh("u.obj", "v 0 0\nv 1 0\nv 0 1\nv 5 5\nf 1 2 3\n"), 6);
    const Picture unused = framePicture(model, StatusLine{});
    const TextShape* none = textOf(unused, "-");
    ASSERT_TRUE(none);
    EXPECT_EQ(548, none->place.at.x);
    EXPECT_EQ(39 + 3 * 14, none->place.at.y);

    Font status = openFontPair(HEXIL_FONT_PATH, 13);
    drawFrame(surface, model, StatusLine{&status, 6, "island.obj"});
    EXPECT_TRUE(shows("island.obj", 10, 10, ink, &status));
    closeFont(status);
}

// The L as given (counter-clockwise, y up) and turned over: every arrow's middle lies inside
// the L exactly when its half-edge is the face's. e0 runs (60, 490) to (380, 490) with its
// shaft 2 above, or (60, 490) to (60, 170) with it 2 right; there a press picks e0, 2 left
// of the edge its twin e6, on the edge the lower number.
TEST_F(DrawMeshTest, ArrowsLieInsideTheirOwnFaces) {
    const std::vector<Vertex> l{{60, 490},  {380, 490}, {380, 330},
                                {220, 330}, {220, 170}, {60, 170}};
    for (const char* face : {"f 1 2 3 4 5 6\n", "f 1 6 5 4 3 2\n"}) {
        model.open(mesh("l.obj", lRoom + face), 6);
        const Picture p = framePicture(model, StatusLine{});
        ASSERT_EQ(12u, p.arrows.size());
        for (const ArrowShape& a : p.arrows) {
            const int x = (a.arrow.from.x + a.arrow.to.x) / 2,
                      y = (a.arrow.from.y + a.arrow.to.y) / 2;
            EXPECT_EQ(model.halfEdges[a.halfEdge].face == 0, pointInPolygon(l, x, y))
                << face << a.halfEdge;
        }
        const bool turned = face[2] == '1' && face[4] == '6';
        EXPECT_EQ(turned ? 62 : 376, p.arrows[0].arrow.to.x) << face;
        EXPECT_EQ(turned ? 174 : 488, p.arrows[0].arrow.to.y) << face;
        for (auto [dx, name] : {std::pair{2, "e0"}, {-2, "e6"}, {0, "e0"}}) {
            EXPECT_EQ(name,
                      recordName(recordAt(model, turned ? 60 + dx : 200, turned ? 330 : 490 - dx)));
        }
    }
}
