#include "draw/hit.h"
#include "draw/layout.h"
#include "draw/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

// The listing's rows pick their records from each section's first column to its last, from
// a row's first pixel to its last, where a row starts inside the window; none when hidden.
TEST(DrawHit, ListingRowsPickTheirRecords) {
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
