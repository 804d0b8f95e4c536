#include "game/stage/stage_play.h"

#include <algorithm>

#include "game/flows/flow_condition.h"
#include "game/objects/character.h"
#include "shell/checked_access.h"

cStagePlay* g_pStageScene = nullptr;

cStagePlay::cStagePlay() : m_vTeamCharacter(kTeamCount), m_vTeamShot(kTeamCount) {}

cStagePlay::~cStagePlay() {
  if (g_pStageScene == this) g_pStageScene = nullptr;
}

void cStagePlay::SetMapSize(int nCellsX, int nCellsY, int nExtraX, int nExtraY) {
  nCellsX = std::max(nCellsX, 0);
  nCellsY = std::max(nCellsY, 0);
  m_ScrollX.SetUp(0, nCellsX, nExtraX);
  m_ScrollY.SetUp(1, nCellsY, nExtraY);
  m_nStageWidth = nCellsX * kTileSize;
  cMapCell empty;
  empty.m_Block.m_nGraphicNo = 0;
  empty.m_Block.m_nCollision = 0;
  m_vPlayMap.assign(static_cast<std::size_t>(m_ScrollY.m_nPitch) << m_ScrollX.m_nShift, empty);
}

cMapCell& cStagePlay::MapCell(int nColumn, int nRow) {
  return CheckedAt(m_vPlayMap, MapIndex(nColumn, nRow));
}

int cStagePlay::CheckBlockCondition(cMapCell& cell) {
  const cEdBlock& block = cell.m_Block;
  return CheckOwnerConditions(*this, block.m_vCondition, block.m_nConditionMode, block.m_bConditionOnce,
                              cell.m_bAppeared, m_pHero);
}

cShot& cStagePlay::AddShotToStage(const cShot& shot) {
  cShot& added = m_ShotList.emplace_back(shot);
  CheckedAt(m_vTeamShot, added.m_nTeam).push_back(&added);
  return added;
}

std::list<cShot>::iterator cStagePlay::RemoveShot(std::list<cShot>::iterator shot) {
  for (std::list<cShot*>& team : m_vTeamShot) team.remove(&*shot);
  return m_ShotList.erase(shot);
}
