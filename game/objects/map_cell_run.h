// A cell of the play map at run time: what it is for an object, and its
// drawing.
//
// GetCollision is the test behind every block test of the objects: 0 when
// the cell's block has appearance conditions that do not hold (asked of the
// running stage, which marks a cell whose conditions held), 0 when the
// block's pass-through team, read as a signed byte (255 is none), is the
// object's team, else the block's collision kind (0 not solid, 1 solid,
// 2 solid and fatal to the hero). Callers treat any non-zero value as solid.
//
// DrawMapCell draws the cell's block as a 32 x 32 square with its top-left
// corner at (x, y), and the overlay mark when the block's overlay setting
// is 1 (2 is shown only in the editor).
#pragma once

#include <cstdint>

#include "game/draw/draw_target.h"

struct cMapCell;

std::int8_t GetCollision(cMapCell& cell, int nTeam);
void DrawMapCell(const cMapCell& cell, cDrawTarget& target, sSurface dst, int x, int y);
