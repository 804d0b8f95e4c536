// The stage-play scene's set-up on a stage built in code: the play map with
// its margin, the scroll axes, the time limit, the stage variables and the
// music, and what a restart puts back.
#include "scenes/stage/stage_scene.h"

#include <gtest/gtest.h>

#include "base/requests.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"
#include "scenes/front_end/play_start.h"
#include "support/front_end_harness.h"
#include "support/scoped_database.h"
#include "support/stage_fixture.h"

namespace {

class StageSceneSetUp : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Harness.Started());
    cEdStage stage = MakeTestStage();
    g_LoadedStage = stage;
    g_PlayStage.CopyStartState(stage);
  }
  void TearDown() override {
    g_LoadedStage = cEdStage();
    g_PlayStage = cEdStage();
  }

  ScopedDatabase m_Database;
  FrontEndHarness m_Harness;
};

TEST_F(StageSceneSetUp, ThePlayMapHasAMarginOfTenCellsAndAPowerOfTwoPitch) {
  cStageScene scene;
  scene.SetStage(0, 1);
  const cEdStage& stage = g_LoadedStage;
  // 60 + 19 = 79 takes 7 bits: rows of 128 cells, 20 + 20 rows.
  EXPECT_EQ(scene.m_ScrollX.m_nShift, 7);
  EXPECT_EQ(scene.m_ScrollX.m_nPitch, 128);
  EXPECT_EQ(scene.m_ScrollY.m_nPitch, 40);
  EXPECT_EQ(scene.m_vPlayMap.size(), 128u * 40u);
  for (const cEdBlock& placed : stage.m_vPlacedBlocks) {
    const cMapCell& cell = scene.MapCell(placed.m_nCellX + 10, placed.m_nCellY + 10);
    EXPECT_EQ(cell.m_Block.m_nGraphicNo, placed.m_nGraphicNo);
    EXPECT_EQ(cell.m_Block.m_nCollision, placed.m_nCollision);
  }
  // The right limit names cell 50: the view ends after it.
  EXPECT_EQ(scene.m_ScrollX.m_nMax, 320 + 51 * 32);
  EXPECT_EQ(scene.m_ScrollX.m_nMin, 320);
  EXPECT_EQ(scene.m_ScrollY.m_nMax, (20 + 10) * 32);
  // Auto-scroll 15 tenths a frame over the 5 sub-steps of level 15.
  EXPECT_DOUBLE_EQ(scene.m_ScrollX.m_dSpeed, 1.5 / 5);
  EXPECT_EQ(scene.m_ScrollX.m_bAuto, 1);
}

TEST_F(StageSceneSetUp, CountersStartFreshAndTheTimeLimitIsTheStages) {
  cStageScene scene;
  scene.m_nEndRequest = 1;
  scene.m_nNextPart = 4;
  scene.SetStage(0, 1);
  EXPECT_EQ(scene.m_nTimeLeft, 120);
  EXPECT_EQ(scene.m_bTimeStop, 0);
  EXPECT_EQ(scene.m_vStageVar, std::vector<std::int32_t>(255, 0));
  EXPECT_EQ(scene.m_vGroupSwitch, std::vector<std::uint8_t>(60, 0));
  EXPECT_EQ(scene.m_nEndRequest, 0);
  EXPECT_EQ(scene.m_nNextPart, 0);
  // Two hit tests over five sub-steps: the first and the third.
  EXPECT_EQ(scene.m_vHitSchedule, (std::vector<std::int32_t>{1, 0, 1, 0, 0}));
  EXPECT_EQ(g_SceneManager.m_nFps, 50);
  // Screen-out rules: characters on, block characters and items off.
  EXPECT_EQ(scene.m_abScreenOutOn[0], 1);
  EXPECT_EQ(scene.m_abScreenOutOn[1], 0);
  EXPECT_EQ(scene.m_abScreenOutOn[2], 0);

  g_LoadedStage.m_bTimeLimit = 0;
  scene.SetStage(0, 0);
  EXPECT_EQ(scene.m_nTimeLeft, 999);
  EXPECT_EQ(scene.m_bTimeStop, 1);
}

TEST_F(StageSceneSetUp, ARestartTakesBackWhatPlayChangedInTheStage) {
  cStageScene scene;
  scene.SetStage(0, 1);
  g_LoadedStage.m_nTimeLimit = 5;
  g_LoadedStage.m_vBackgrounds.clear();
  g_LoadedStage.m_aScreenOut[SCREENOUT_CHARA].SetAll(0, 0, 0, 0, 0, 0, 0, 0);
  scene.SetStage(0, 0);
  EXPECT_EQ(scene.m_nTimeLeft, 5);  // no restore: the changed stage
  scene.SetStage(1, 0);
  EXPECT_EQ(scene.m_nTimeLeft, 120);
  EXPECT_EQ(g_LoadedStage.m_vBackgrounds.size(), MakeTestStage().m_vBackgrounds.size());
  EXPECT_EQ(scene.m_abScreenOutOn[0], 1);
}

TEST_F(StageSceneSetUp, MusicStartsOnceAndARestartKeepsWhatPlays) {
  g_LoadedStage.m_nBgm = g_PlayStage.m_nBgm = 0;
  cStageScene scene;
  EXPECT_EQ(g_SaveData.m_nStageBgm, 0);  // the constructor forgets what played
  scene.SetStage(0, 1);
  ASSERT_EQ(m_Harness.music, std::vector<int>{BGMREQ_STAGE});
  EXPECT_EQ(g_SaveData.m_bStageBgmLoop, 1);
  // A restart asks only when the stage's music is not the one playing
  // (the main window records what plays; here nothing does).
  scene.SetStage(1, 0);
  EXPECT_EQ(m_Harness.music.size(), 1u);
}

TEST_F(StageSceneSetUp, TheSceneIsTheRunningStageWhileItExists) {
  {
    cStageScene scene;
    EXPECT_EQ(g_pStageScene, &scene);
  }
  EXPECT_EQ(g_pStageScene, nullptr);
}

TEST_F(StageSceneSetUp, LivesAreTakenUnlessUnlimitedOrAFreeStage) {
  cStageScene scene;
  struct Case {
    int lives, freeStage, result, after;
  };
  for (const Case& c : {Case{3, 0, 1, 2}, Case{1, 0, 1, 0}, Case{0, 0, 0, 0}, Case{UNLIMITED_LIVES, 0, 1, UNLIMITED_LIVES},
                        Case{0, 1, 1, 0}}) {
    cSaveData progress;
    progress.m_nLives = c.lives;
    g_bFreeStagePlay = c.freeStage;
    EXPECT_EQ(scene.TakeLife(progress), c.result) << c.lives;
    EXPECT_EQ(progress.m_nLives, c.after) << c.lives;
  }
  g_bFreeStagePlay = 0;
}

}  // namespace
