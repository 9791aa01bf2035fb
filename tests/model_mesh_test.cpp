// A mesh in the structure: laid out in the window by the documented rule, picked, and
// keeping every invariant.
#include "mesh/planar_mesh.h"
#include "model/subdivision.h"
#include "model/validation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace {

std::shared_ptr<const PlanarMesh> example(const std::string& name) {
    std::ifstream in(std::string(HEXIL_MESHES) + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    MeshOpening o = openMesh(bytes.str(), name);
    EXPECT_TRUE(o.mesh) << name;
    return o.mesh;
}

TEST(Mesh, TheSquareWithAHoleLaidOutAndPicked) {
    Subdivision s;
    s.open(example("square-hole.obj"), 6);
    // 3 x 3 units into 320 x 460 pixels: 106.67 a unit, centred on (220, 330), y up.
    EXPECT_EQ(s.vertices[0], (Vertex{60, 490, 33}));
    EXPECT_EQ(s.vertices[5], (Vertex{167, 383, 44}));
    EXPECT_EQ(s.vertices[15], (Vertex{380, 170, 39}));
    EXPECT_FALSE(checkInvariants(s));
    EXPECT_TRUE(s.isOuterFace(8) && s.isHole(9) && !s.isBoundaryFace(7) && !s.isOuterFace(9));
    // clang-format off
    const int clicks[][3] = {{100, 450, 0}, {220, 330, 9}, {30, 30, 8}, {999, 599, 8},
                             {300, 200, 7}, {200, 340, 9}, {165, 340, 3}, {170, 340, 9}};
    // clang-format on
    for (const auto& [x, y, face] : clicks) {
        s.pick(x, y);
        EXPECT_EQ(s.selected(), (RecordRef{RecordRef::face, face})) << x << "," << y;
        EXPECT_FALSE(checkInvariants(s));
    }
    s.pick(61, 489);
    EXPECT_EQ(s.selected(), (RecordRef{RecordRef::vertex, 0}));
    s.showListing = false;
    s.build(6);
    // The whole width: 880 x 460, so the height decides: 153.33 a unit about (500, 330).
    EXPECT_EQ(s.vertices[0], (Vertex{270, 560, 33}));
    EXPECT_EQ(s.vertices[15], (Vertex{730, 100, 39}));
    s.open(nullptr, 6);
    EXPECT_EQ(s.vertices.size(), 6u);
    EXPECT_TRUE(s.isOuterFace(4) && !s.isHole(4));
}

// In the region of a hole that holds an island, the nearest of the two loops is picked.
TEST(Mesh, EveryExampleKeepsItsInvariantsAndTheIslandsRegionPicksTheNearerLoop) {
    for (const char* name :
         {"grid.off", "island.obj", "l-room.obj", "point-set.obj", "square-hole.obj",
          "two-pieces.obj", "two-triangles.obj", "wall-xz.obj"}) {
        Subdivision s;
        s.open(example(name), 6);
        EXPECT_FALSE(checkInvariants(s)) << name;
        for (int f = 0; f < static_cast<int>(s.faces.size()); ++f) {
            s.select({RecordRef::face, f});
            EXPECT_FALSE(checkInvariants(s)) << name << " f" << f;
        }
    }
    Subdivision s;
    s.open(example("island.obj"), 6);
    // Units of 80 pixels about (220, 330): the hole spans 140..300 in x and 250..410 in y,
    // the island 188..252 and 298..362. Faces 0 to 11 the frame, 12 the island, then the
    // loops: the frame's outside, the hole, the island's outside.
    ASSERT_EQ(s.faces.size(), 16u);
    EXPECT_TRUE(s.isOuterFace(13) && s.isHole(14) && s.isOuterFace(15));
    s.pick(220, 330);
    EXPECT_EQ(s.selected(), (RecordRef{RecordRef::face, 12}));
    s.pick(150, 270);
    EXPECT_EQ(s.selected(), (RecordRef{RecordRef::face, 14}));
    s.pick(182, 330);
    EXPECT_EQ(s.selected(), (RecordRef{RecordRef::face, 15}));
}

} // namespace
