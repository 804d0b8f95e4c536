// The rows of a circle blit (DDBltCircle draws each with one blit).
//
// The disc of `radius` around (sx, sy) of the source lands around (x, y) of
// the destination, in horizontal bands of `band` rows, inside a box of
// half-sizes halfWidth x halfHeight around the centre. Row offsets run from
// the bottom (radius - 1) up to the top (-radius); a band's chord is the
// one of its middle row, half = trunc(sqrt(radius^2 - m^2)) capped at
// radius - 1, so the widest row is 2 x radius - 2 pixels. Bands that cross
// the box's top or bottom are moved inside it; chords are cut to the box's
// columns within the source picture (0 .. sourceWidth). Rows left with no
// width, and rows outside the destination's height, are not listed (their
// blits would draw nothing).
#pragma once

#include <vector>


struct CircleBlt {
  int destinationX = 0, destinationY = 0, sourceX = 0, sourceY = 0, width = 0, rows = 0;
};

std::vector<CircleBlt> CircleBltRows(int x, int y, int halfWidth, int halfHeight, int radius, int band,
                                     int destinationHeight, int sourceWidth, int sx, int sy);
