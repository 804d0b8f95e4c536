// One cell of the play map: the block in it (graphic number 0 for an empty
// cell) and whether its appearance conditions have held (m_bAppeared, run-time
// state only). A block whose conditions hold once (m_bConditionOnce) stays
// present while m_bAppeared is set; putting a new block into the cell
// clears it.
#pragma once

#include <cstdint>

#include "model/definitions/block.h"

struct cMapCell {
  cEdBlock m_Block;
  std::int8_t m_bAppeared = 0;
};
