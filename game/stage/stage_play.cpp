#include "game/stage/stage_play.h"

#include <algorithm>

#include "shell/checked_access.h"

cStagePlay* g_pStageScene = nullptr;

cStagePlay::cStagePlay() : m_vTeamCharacter(kTeamCount) {}

cStagePlay::~cStagePlay() {
  if (g_pStageScene == this) g_pStageScene = nullptr;
}

void cStagePlay::SetMapSize(int nCellsX, int nCellsY, int nExtraX, int nExtraY) {
  nCellsX = std::max(nCellsX, 0);
  nCellsY = std::max(nCellsY, 0);
  int shift = 0;
  while ((1 << shift) <= nCellsX + 19) ++shift;
  m_ScrollX.m_nRowShift = shift;
  m_ScrollX.m_nStageEnd = (nCellsX + 10) * kTileSize;
  m_ScrollY.m_nStageEnd = (nCellsY + 10) * kTileSize;
  m_ScrollX.m_nExtent = 640 + nExtraX;
  m_ScrollY.m_nExtent = 640 + nExtraY;
  m_nStageWidth = nCellsX * kTileSize;
  cMapCell empty;
  empty.m_Block.m_nGraphicNo = 0;
  empty.m_Block.m_nCollision = 0;
  m_vPlayMap.assign(static_cast<std::size_t>(nCellsY + 20) << shift, empty);
}

cMapCell& cStagePlay::MapCell(int nColumn, int nRow) {
  return CheckedAt(m_vPlayMap, MapIndex(nColumn, nRow));
}

int cStagePlay::CheckBlockCondition(cMapCell& cell) {
  const cEdBlock& block = cell.m_Block;
  if (block.m_vCondition.empty()) return 1;
  if (block.m_bConditionOnce && cell.m_bAppeared) return 1;
  if (!EvalConditionList(block.m_vCondition, block.m_nConditionMode, m_pHero)) return 0;
  cell.m_bAppeared = 1;
  return 1;
}
