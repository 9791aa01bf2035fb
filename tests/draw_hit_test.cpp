#include "draw/hit.h"
#include "draw/layout.h"
#include "draw/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

// For N from 3 to 12, listing on and off: the middle of every arrow's shaft picks its
// half-edge; a point on an edge, 2 pixels from both twins, picks the lower number; points
// 8 pixels out from the boundary (6 from the outer arrow), every inner face's centre and
// the window's corners pick nothing; every listing row that starts inside the window
// picks its record, from its section's first column to its last.
TEST(DrawHit, ArrowsRowsAndTheSpaceBetween) {
    int ties = 0;
    for (int n = 3; n <= 12; ++n) {
        for (bool listing : {true, false}) {
            Subdivision s;
            s.showListing = listing;
            s.build(n);
            const std::string what = std::to_string(n) + (listing ? " listing" : "");
            for (const ArrowShape& shape : framePicture(s, StatusLine{}).arrows) {
                const Arrow& a = shape.arrow;
                EXPECT_EQ(recordName({RecordRef::halfEdge, shape.halfEdge}),
                          recordName(recordAt(s, (a.from.x + a.to.x) / 2, (a.from.y + a.to.y) / 2)))
                    << what;
            }
            // On a level or upright edge both twins' arrows lie 2 pixels off it.
            for (int h = 0; h < static_cast<int>(s.halfEdges.size()); ++h) {
                const Vertex &v = s.vertices[s.halfEdges[h].target], &t = s.vertices[s.origin(h)];
                if (h < s.halfEdges[h].opp && (v.x == t.x || v.y == t.y)) {
                    ++ties;
                    EXPECT_EQ(recordName({RecordRef::halfEdge, h}),
                              recordName(recordAt(s, (v.x + t.x) / 2, (v.y + t.y) / 2)))
                        << what;
                }
            }
            // Beside each side of the polygon, and in each triangle's centre.
            const int cx = listing ? 250 : 500, cy = windowHeight / 2;
            for (int i = 0; i < n; ++i) {
                const Vertex &a = s.vertices[i], &b = s.vertices[(i + 1) % n];
                const double mx = (a.x + b.x) / 2.0, my = (a.y + b.y) / 2.0;
                const double out = 1 + 8 / std::hypot(mx - cx, my - cy);
                EXPECT_EQ(
                    "", recordName(recordAt(s, static_cast<int>(std::lround(cx + out * (mx - cx))),
                                            static_cast<int>(std::lround(cy + out * (my - cy))))))
                    << what << " beside v" << i;
                const Vertex& v0 = s.vertices[0];
                EXPECT_TRUE(i < 2 ||
                            recordAt(s, (v0.x + a.x + s.vertices[i - 1].x) / 3,
                                     (v0.y + a.y + s.vertices[i - 1].y) / 3) == RecordRef{})
                    << what << " triangle " << i;
            }
            for (auto [x, y] : {std::pair{0, 0}, {0, 599}, {427, 599}, {999, 0}, {427, 38}}) {
                EXPECT_EQ("", recordName(recordAt(s, x, y))) << what << " " << x << "," << y;
            }
        }
    }
    EXPECT_GT(ties, 10);
    // The listing's rows: each column of each section, first and last pixel of a row.
    Subdivision s;
    s.build(12);
    const int columns[][2] = {{layout::vertexColumn, RecordRef::vertex},
                              {layout::faceColumn - 1, RecordRef::vertex},
                              {layout::faceColumn, RecordRef::face},
                              {layout::halfEdgeColumn - 1, RecordRef::face},
                              {layout::halfEdgeColumn, RecordRef::halfEdge},
                              {windowWidth - 1, RecordRef::halfEdge}};
    for (auto [x, kind] : columns) {
        for (int row = 0; layout::listingFirstRow + row * layout::listingRowHeight < 600; ++row) {
            const RecordRef record{static_cast<RecordRef::Kind>(kind), row};
            const int top = layout::listingFirstRow + row * layout::listingRowHeight;
            for (int y : {top, std::min(top + layout::listingRowHeight - 1, 599)}) {
                EXPECT_EQ(s.exists(record) ? recordName(record) : "", recordName(recordAt(s, x, y)))
                    << x << "," << y;
            }
        }
    }
    s.showListing = false;
    EXPECT_EQ("", recordName(recordAt(s, layout::halfEdgeColumn + 2, layout::listingFirstRow)));
}
