#pragma once

#include <optional>

struct Subdivision;

struct Pixel {
    int x = 0;
    int y = 0;
};

// A half-edge's arrow: the shaft from `from` to the tip `to`, and a wing from the tip to
// each of wing1 and wing2.
struct Arrow {
    Pixel from;
    Pixel to;
    Pixel wing1;
    Pixel wing2;
};

// The arrow moved by offset, every end alike.
Arrow moved(const Arrow& arrow, Pixel offset);

// The arrow of a half-edge running from tail to head. Both ends are pulled 4 pixels
// inward along the edge, the shaft is moved 2.5 pixels (truncated per component) to the
// left of the direction of travel as seen on screen (y downward), and the tip stops 4
// pixels short of head, with two 7-pixel wings at 30 degrees on either side of the shaft.
// Twins therefore lie on opposite sides of their edge. Nothing when head and tail are the
// same pixel, since such an edge has no direction.
std::optional<Arrow> halfEdgeArrow(Pixel head, Pixel tail);

// The offset of the pixel next to an arrow's on its side of the edge, one step in x, y
// or both: the unit vector to the left of the way from tail to head (as halfEdgeArrow
// shifts the arrow), rounded per component. {0, 0} when head and tail are the same pixel.
Pixel awayFromEdge(Pixel head, Pixel tail);

// The tail (prev's target) and head (target) of half-edge h of s; false, leaving both as
// they are, when h is not a half-edge or a link it needs is broken.
bool halfEdgeEnds(const Subdivision& s, int h, Pixel& tail, Pixel& head);

// The arrow of half-edge h of s, from its origin (prev's target) to its target; nothing
// when h is not a half-edge, a link it needs is broken, or its ends are the same pixel.
std::optional<Arrow> halfEdgeArrow(const Subdivision& s, int h);
