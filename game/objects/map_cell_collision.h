// What a cell of the play map is for an object at run time.
//
// GetCollision is the test behind every block test of the objects: 0 when
// the cell's block has appearance conditions that do not hold (asked of the
// running stage, which marks a cell whose conditions held), 0 when the
// block's pass-through team, read as a signed byte (255 is none), is the
// object's team, else the block's collision kind (0 not solid, 1 solid,
// 2 solid and fatal to the hero). Callers treat any non-zero value as solid.
#pragma once

#include <cstdint>

struct cMapCell;

std::int8_t GetCollision(cMapCell& cell, int nTeam);
