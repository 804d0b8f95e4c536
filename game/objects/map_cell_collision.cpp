#include "game/objects/map_cell_collision.h"

#include "game/stage/stage_play.h"
#include "model/stage/map_cell.h"

std::int8_t GetCollision(cMapCell& cell, int nTeam) {
  const cEdBlock& block = cell.m_Block;
  if (!block.m_vCondition.empty() && !g_pStageScene->CheckBlockCondition(cell)) return 0;
  if (static_cast<std::int8_t>(block.m_nPassTeam) == nTeam) return 0;
  return block.m_nCollision;
}
