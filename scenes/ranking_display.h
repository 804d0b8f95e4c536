// A ranking table drawn with the text font (16 pixels a character): a
// framed box, the heading with the kind's name, one line per row (place,
// name, value right-aligned; clear times as play times), the hint to switch
// kinds when the play mode keeps more than one, and a pointer at a row.
// The world map and the stage select draw rankings into their work
// surfaces; the stage scene after a registration.
#pragma once

#include "graphics/surface_data.h"
#include "model/user/ranking.h"

// The row pointer of bmp\Accessory.bmp.
constexpr int kRankingPointerX = 16, kRankingPointerY = 48;

// Draws the table at (x, y); nPointerRow -1 draws no pointer. Kinds past
// the five have no values. 0 when the pointer was drawn, else -1.
int DrawRankingTable(const cRankingList& list, DDSURFACEDATA* lpSD, int x, int y, int nKind, int nPointerRow);
// DrawRankingTable of the set's table of that kind (checked access).
int DrawRanking(const cRankingSet& set, DDSURFACEDATA* lpSD, int x, int y, int nKind, int nPointerRow);
