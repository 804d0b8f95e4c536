// A running stage built in code, for tests of the game objects without the
// stage-play scene.
//
// TestStage is the stage-play state of game/stage/stage_play.h with its
// services answered and recorded here: it sets g_LoadedStage up (map size,
// speed level, gravity, extra area, no-damage guards), sizes the play map,
// puts the view at the top-left of the stage proper with scroll limits
// around the stage proper, installs itself as g_pStageScene and puts
// everything back when it goes. Blocks of each kind are placed at stage
// cells with PutBlock. It holds the default database with its derived
// tables, so that character effects and animation sets exist.
#pragma once

#include <string>
#include <vector>

#include "base/random.h"
#include "game/flows/flow_condition.h"
#include "game/stage/stage_play.h"
#include "model/definitions/block.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"
#include "support/fake_text_target.h"
#include "support/scoped_database.h"
#include "support/test_stage_builder.h"

class TestStage : public cStagePlay {
 public:
  explicit TestStage(TestStageSize size = {}) : m_pPrevious(g_pStageScene) {
    m_SavedStage = g_LoadedStage;
    m_nSavedScore = g_SaveData.m_nScore;
    g_SaveData.m_nScore = 0;
    SeedRandom(0);
    cEdStage& stage = g_LoadedStage;
    SetStageSize(stage, size);
    SetMapSize(size.nCellsX, size.nCellsY, stage.m_nAreaExtraX, stage.m_nAreaExtraY);
    for (cScrollAxis* axis : {&m_ScrollX, &m_ScrollY}) {
      axis->m_nMin = axis->m_nRangeMin;
      axis->m_nMax = axis->m_nRangeMax;
      axis->m_dPos = axis->m_nRangeMin;
    }
    m_vStageVar.assign(100, 0);
    g_pStageScene = this;
  }
  ~TestStage() override {
    g_pStageScene = m_pPrevious;
    g_LoadedStage = m_SavedStage;
    g_SaveData.m_nScore = m_nSavedScore;
  }

  // A block at stage cell (column, row).
  void PutBlock(int nColumn, int nRow, const cEdBlock& block) {
    MapCell(nColumn + 10, nRow + 10).m_Block = block;
  }
  static cEdBlock Solid(int nGraphicNo = 1) {
    cEdBlock block;
    block.m_nGraphicNo = static_cast<std::int16_t>(nGraphicNo);
    block.m_nCollision = 1;
    return block;
  }
  static cEdBlock PassedByTeam(int nTeam) {
    cEdBlock block = Solid();
    block.m_nPassTeam = static_cast<std::uint8_t>(nTeam);
    return block;
  }
  static cEdBlock Fatal() {
    cEdBlock block = Solid();
    block.m_nCollision = 2;
    return block;
  }
  // Solid while the test stage's condition answer holds; with bOnce it
  // stays once it has held.
  static cEdBlock Conditional(bool bOnce) {
    cEdBlock block = Solid();
    block.m_vCondition.resize(1);
    block.m_bConditionOnce = bOnce ? 1 : 0;
    return block;
  }

  // Services: answered from the members below, calls recorded.
  int EvalConditionList(const std::vector<cEdCondition>& conditions, int nMode, cActor* pActor) override {
    ++m_nConditionEvaluations;
    if (m_bApplyConditionRules) return ::EvalConditionList(conditions, nMode, pActor);
    return nMode == 0 || nMode == 1 ? m_nConditionAnswer : 0;
  }
  int ApplyItemEffect(cItem* pItem, cActor*) override {
    m_vCalls.push_back("ApplyItemEffect");
    return pItem ? m_nItemEffectResult : 0;
  }
  // Summons are recorded with their position, facing and what they place.
  void ChangeBlock(double x, double y, int nFacing, const cEdShot& shot, const cEdBlock& block) override {
    m_vCalls.push_back("ChangeBlock");
    m_vSummons.push_back({"ChangeBlock", x, y, nFacing, 0, block.m_nGraphicNo, shot.m_bProtectPlayer,
                          shot.m_bProtectCharas});
  }
  void AddCharacter(double x, double y, int nFacing, int nTeam, const cEdShot&, const cEdChara& chara,
                    int& nSerial) override {
    m_vCalls.push_back("AddCharacter");
    m_vSummons.push_back({"AddCharacter", x, y, nFacing, nTeam, chara.m_nGraphicNo, 0, 0});
    ++nSerial;
  }
  void AddItem(double x, double y, int nFacing, const cEdShot&, int nItemKind, int nItemIndex,
               int& nSerial) override {
    m_vCalls.push_back("AddItem");
    m_vSummons.push_back({"AddItem", x, y, nFacing, nItemKind, nItemIndex, 0, 0});
    ++nSerial;
  }
  void RunModalWait() override { m_vCalls.push_back("RunModalWait"); }
  void PlayBgm(int nEntry, int bLoop) override {
    m_vCalls.push_back("PlayBgm " + std::to_string(nEntry) + " " + std::to_string(bLoop));
  }
  void StartScreenTone(const std::int32_t (&params)[8]) override {
    std::string call = "StartScreenTone";
    for (std::int32_t value : params) {
      call += ' ';
      call += std::to_string(value);
    }
    m_vCalls.push_back(call);
  }
  void RebuildSightMask() override { m_vCalls.push_back("RebuildSightMask"); }
  int IsCharacterBlocked(cActor&) override { return m_nCharacterBlocked; }
  cTextTarget& TextTarget() override { return m_Text; }
  // Picture surfaces are recorded by position (file, width, height); a file
  // named in m_strMissingPicture cannot be loaded.
  bool InsertPictureSurface(int nPosition, const std::string& strFile, int& nWidth, int& nHeight) override {
    if (strFile == m_strMissingPicture) return false;
    nWidth = 64;
    nHeight = 32;
    m_vPictureSurfaces.insert(m_vPictureSurfaces.begin() + nPosition, strFile);
    return true;
  }
  void RemovePictureSurface(int nPosition) override {
    m_vPictureSurfaces.erase(m_vPictureSurfaces.begin() + nPosition);
  }
  void ReleasePictureSurfaces() override { m_vPictureSurfaces.clear(); }

  int FramesPerSecond() const override { return m_nFps; }

  // Derives the database tables again after a test changed g_Database.
  void RebuildDatabaseTables() { m_Database.Rebuild(); }

  int m_nConditionAnswer = 1;
  // Lists are evaluated by the game's rules instead of answered.
  bool m_bApplyConditionRules = false;
  int m_nConditionEvaluations = 0;
  int m_nItemEffectResult = 0;
  int m_nCharacterBlocked = 0;
  int m_nFps = 60;
  std::vector<std::string> m_vCalls;
  struct sSummon {
    std::string what;
    double x = 0, y = 0;
    int nFacing = 0;
    int nTeamOrKind = 0;    // the character's team, or the item's palette
    int nGraphicOrIndex = 0;  // the block's or character's graphic, or the item's index
    int bProtectPlayer = 0, bProtectCharas = 0;
  };
  std::vector<sSummon> m_vSummons;
  FakeTextTarget m_Text;
  std::vector<std::string> m_vPictureSurfaces;
  std::string m_strMissingPicture;

 private:
  ScopedDatabase m_Database;
  cStagePlay* m_pPrevious;
  cEdStage m_SavedStage;
  std::int32_t m_nSavedScore = 0;
};
