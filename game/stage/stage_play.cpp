#include "game/stage/stage_play.h"

#include <algorithm>

#include "base/checked_access.h"
#include "base/report.h"
#include "game/flows/flow_condition.h"
#include "game/objects/character.h"

cStagePlay* g_pStageScene = nullptr;

namespace {

void ReportNotGiven(const char* pszService) {
  static std::vector<std::string> reported;
  for (const std::string& name : reported) {
    if (name == pszService) return;
  }
  reported.emplace_back(pszService);
  ReportF("the stage gives no %s yet: it does nothing", pszService);
}

// Measures every text as empty and makes no surfaces.
class cNoTextTarget final : public cTextTarget {
 public:
  void MeasureText(int, const char*, int& width, int& height) override { width = height = 0; }
  void DrawText(int, sSurface, int, int, const char*) override {}
  void DrawTextBox(int, sSurface, int, int, const char*) override {}
  void DrawBox(int, sSurface, int, int, int, int) override {}
  bool CreateMessageSurface(int, int, sSurface&) override { return true; }
  void ReleaseMessageSurface(sSurface) override {}
  void ClearSurface(sSurface) override {}
  bool TakeSurfaceRestored(sSurface) override { return false; }
};

}  // namespace

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

cTextTarget& cStagePlay::TextTarget() {
  static cNoTextTarget none;
  ReportNotGiven("message text");
  return none;
}

bool cStagePlay::InsertPictureSurface(int, const std::string&, int& nWidth, int& nHeight) {
  ReportNotGiven("picture surfaces");
  nWidth = nHeight = 0;
  return true;
}

void cStagePlay::RemovePictureSurface(int) {}

void cStagePlay::ReleasePictureSurfaces() {}
