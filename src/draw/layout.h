#pragma once

#include "draw/arrow.h"

// Where the frame puts things and how big its text is, in window pixels
// (model/subdivision.h has the window's size and the colours).
namespace layout {

// The font every text is written in, opened by name + ".ttf" in the working directory.
constexpr const char* fontName = "tahoma";
constexpr int labelPointSize = 11; // labels and listing
constexpr int statusPointSize = 13;

// The status line "Angles: N": the top-left corner of its outline.
constexpr Pixel statusPlace{10, 10};
// The walk line under it, in the status font: the walk's expression, at most
// walkStepsPerLine steps to a line, so that the longest walk stays left of the listing;
// each further line walkLineHeight lower and walkIndent further right.
constexpr Pixel walkPlace{10, 30};
constexpr int walkLineHeight = 20;
constexpr int walkStepsPerLine = 4;
constexpr int walkIndent = 12;

// How near the pointer must come to a half-edge's arrow (shaft or wing) for h or the
// middle button to pick it.
constexpr int arrowPickDistance = 4;

// Vertex dots.
constexpr int dotRadius = 4;
constexpr int pickedDotRadius = 5;

// A vertex's label starts this far right of its centre, level with it; past the right
// or bottom edge it moves back inside, this far from the edge.
constexpr int vertexLabelOffset = 3;
constexpr int vertexLabelMargin = 10;
// The outer face's label is centred on a point left of the polygon, which moves with it
// when the listing is hidden.
constexpr Pixel outerLabelCentre{50, 300};
constexpr Pixel outerLabelCentreWithoutListing{166, 300};

// A mesh's outer loop has its label centred this far left of the loop's leftmost corners.
constexpr int outerLoopLabelGap = 20;

// The listing: a title row, then one row per record.
constexpr int listingTitleRow = 20;
constexpr int listingFirstRow = 39;
constexpr int listingRowHeight = 14;
// Its columns: the vertices' ("v", "x: ", "y: ", "e"),
constexpr int vertexColumn = 428;
constexpr int vertexXColumn = 468;
constexpr int vertexYColumn = 508;
constexpr int vertexEdgeColumn = 548;
// the faces' ("f", "e"),
constexpr int faceColumn = 600;
constexpr int faceEdgeColumn = 630;
// and the half-edges' ("e", "v", "f", "next: e", "prev: e", "opp: e"). Each section's
// title starts in its first column.
constexpr int halfEdgeColumn = 705;
constexpr int halfEdgeTargetColumn = 735;
constexpr int halfEdgeFaceColumn = 765;
constexpr int halfEdgeNextColumn = 795;
constexpr int halfEdgePrevColumn = 855;
constexpr int halfEdgeOppColumn = 915;

} // namespace layout
