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

// The side of its way on screen on which a half-edge's arrow lies. The fan's faces lie left
// of their half-edges; a mesh whose faces run clockwise on screen has its arrows on the
// right, so that every arrow lies inside its own face and twins on either side.
enum class ArrowSide { left, right };

// The arrow moved by offset, every end alike.
Arrow moved(const Arrow& arrow, Pixel offset);

// The arrow of a half-edge running from tail to head. Both ends are pulled 4 pixels
// inward along the edge, the shaft is moved 2.5 pixels (truncated per component) to the
// given side of the direction of travel as seen on screen (y downward), and the tip stops
// 4 pixels short of head, with two 7-pixel wings at 30 degrees on either side of the
// shaft. Twins therefore lie on opposite sides of their edge; the right-side arrow is the
// twin's left-side shaft run the other way. Nothing when head and tail are the same pixel,
// since such an edge has no direction.
std::optional<Arrow> halfEdgeArrow(Pixel head, Pixel tail, ArrowSide side = ArrowSide::left);

// The offset of the pixel next to an arrow's on its side of the edge, one step in x, y
// or both: the unit vector to that side of the way from tail to head (as halfEdgeArrow
// shifts the arrow), rounded per component. {0, 0} when head and tail are the same pixel.
Pixel awayFromEdge(Pixel head, Pixel tail, ArrowSide side = ArrowSide::left);

// The side of s's arrows: left for the fan; for a mesh, the side its file faces lie on as
// the window shows them, found from the turn of file face 0 in the mesh's plane. The
// window shows the plane as drawn with y up, so a face counter-clockwise there is
// counter-clockwise on screen too and lies left of its half-edges, as the fan's do; a
// clockwise one lies right. Takes time in face 0's size.
ArrowSide arrowSide(const Subdivision& s);

// The tail (prev's target) and head (target) of half-edge h of s; false, leaving both as
// they are, when h is not a half-edge or a link it needs is broken.
bool halfEdgeEnds(const Subdivision& s, int h, Pixel& tail, Pixel& head);

// The arrow of half-edge h of s on the given side (arrowSide(s)), from its origin (prev's
// target) to its target; nothing when h is not a half-edge, a link it needs is broken, or
// its ends are the same pixel.
std::optional<Arrow> halfEdgeArrow(const Subdivision& s, int h, ArrowSide side);
