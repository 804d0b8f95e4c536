// The hero on a TestStage: the stage's hero box settings at their editor
// defaults, the hero set up at a stage cell and installed as the stage's
// hero, and the hero's input (element 0 of g_InputStates) emptied before
// and after.
#pragma once

#include "base/input_state.h"
#include "game/objects/player.h"
#include "model/stage/stage.h"
#include "support/definition_builders.h"
#include "support/test_stage.h"

// The box settings of a new stage: walking 16 x 24 and flying 16 x 16,
// bottom-aligned when walking; body box 16 x 24 (flying 16 x 16), shot box
// 12 x 8, item box 16 x 16; characters' shots 16 x 16. No box displays.
inline void SetDefaultHeroBoxes(cEdStage& stage) {
  stage.m_nPlayerSizeW = 16;
  stage.m_nPlayerSizeH = 24;
  stage.m_nPlayerFlySizeW = 16;
  stage.m_nPlayerFlySizeH = 16;
  stage.m_bPlayerSizeBottom = 1;
  stage.m_bPlayerFlySizeBottom = 0;
  stage.m_nPlayerBox1W = 16;
  stage.m_nPlayerBox1H = 24;
  stage.m_nPlayerFlyBox1W = 16;
  stage.m_nPlayerFlyBox1H = 16;
  stage.m_bPlayerBox1Bottom = 1;
  stage.m_bPlayerFlyBox1Bottom = 0;
  stage.m_nPlayerBox2W = 12;
  stage.m_nPlayerBox2H = 8;
  stage.m_nPlayerBox3W = 16;
  stage.m_nPlayerBox3H = 16;
  stage.m_nCharaShotBoxW = 16;
  stage.m_nCharaShotBoxH = 16;
  stage.m_nShowPlayerSize = stage.m_nShowPlayerBox1 = stage.m_nShowPlayerBox2 = stage.m_nShowPlayerBox3 = 0;
}

class TestHero {
 public:
  explicit TestHero(TestStage& stage) : m_Stage(stage) {
    SetDefaultHeroBoxes(g_LoadedStage);
    ClearInput();
    stage.m_pHero = &m_Hero;
  }
  ~TestHero() {
    m_Stage.m_pHero = nullptr;
    ClearInput();
  }
  TestHero(const TestHero&) = delete;
  TestHero& operator=(const TestHero&) = delete;

  // Init from the definition (a hero by default) with the box at stage cell
  // (column, row).
  cPlayer& SetUp(const cEdChara& def, int nColumn, int nRow, int nId = 1) {
    m_Hero.Init(nId, &def, (nColumn + 10) * 32 + 16, (nRow + 10) * 32 + 16);
    m_Hero.PlaceAtTile(nColumn, nRow);
    return m_Hero;
  }

  cPlayer m_Hero;

 private:
  static void ClearInput() {
    cInputState& input = g_InputStates.at(0);
    input.ResetKeyLogs();
    input.wDir = 0;
    input.wButton = 0;
  }
  TestStage& m_Stage;
};
