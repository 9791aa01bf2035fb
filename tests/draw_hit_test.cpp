#include "draw/hit.h"
#include "draw/layout.h"
#include "draw/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

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

// Presses by the hexagon's bottom edge. e0's arrow runs on y 427 from x 179 to 321 with wings
// to (314, 423) and (314, 430), its twin e13's on y 431 from x 321 to 179 with wings to
// (185, 434) and (185, 427). A shaft or wing within 4 pixels picks, the nearest, on a tie the
// lower number; past 4 none. Distances worked out from the integer points; the last column
// and row of the window hold the listing's e40 at N = 12, one past them nothing.
TEST(DrawHit, ArrowheadsAndTheFourPixelBand) {
    // clang-format off
    const std::tuple<int, int, int, const char*> presses[] = {
        {6, 250, 427, "e0"}, {6, 250, 429, "e0"}, {6, 250, 430, "e13"},     // 0, tie at 2, 1 to e13
        {6, 250, 424, "e0"}, {6, 250, 423, "e0"}, {6, 250, 422, ""},        // 3, 4, 5 above e0
        {6, 250, 435, "e13"}, {6, 250, 436, ""},                            // 4, 5 below e13
        {6, 314, 423, "e0"}, {6, 314, 430, "e0"}, {6, 185, 434, "e13"},     // wing ends (e13's shaft 1 off)
        {6, 185, 427, "e0"},                                                // e13's wing end on e0's shaft
        {6, 185, 438, "e13"}, {6, 185, 439, ""}, {6, 184, 438, ""},         // from its end 4, 5, 4.12
        {6, 181, 436, "e13"}, {6, 180, 436, ""},                            // beside its middle 3.58, 4.02
        {12, 999, 599, "e40"}, {12, 1000, 599, ""}, {12, 999, 600, ""}};
    // clang-format on
    for (auto [n, x, y, name] : presses) {
        Subdivision s;
        s.build(n);
        EXPECT_EQ(name, recordName(recordAt(s, x, y))) << n << ": " << x << "," << y;
    }
}
