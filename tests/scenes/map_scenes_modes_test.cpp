// The world map and the stage list in every graphics mode: both fade in,
// take their keys, show their rankings and prompts, and leave without any
// request to close the program (a failed surface or picture asks for one).
#include <gtest/gtest.h>

#include <filesystem>

#include "model/stage/world_map.h"
#include "model/user/ranking.h"
#include "scenes/front_end/stage_select_scene.h"
#include "scenes/front_end/world_map_scene.h"
#include "support/front_end_harness.h"
#include "support/front_end_pictures.h"
#include "support/temp_folder.h"

namespace {

class MapScenesInEveryMode : public testing::TestWithParam<GraphicsMode> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Harness.Started());
    WriteFrontEndPictures(m_Folder.path());
    RegisterWorldMapScene();
    RegisterStageSelectScene();
    g_SceneManager.m_bUseRanking = 1;
    for (cEdFlagSet& ranking : g_SystemData.m_vRanking) ranking.m_bEnabled = 1;
    g_SaveData.m_bShowRanking = 1;
    g_SystemData.m_bMapShowLives = 1;
    g_SystemData.m_nChallengeStages = 12;
    g_SaveData.m_vChallenge.assign(12, cSaveIntPair());
    cEdMapEvent entry;
    entry.m_nStage = 1;
    entry.m_bManual = 1;
    entry.m_strCaption = "ENTRY";
    entry.m_strStageFile = "data\\stg4\\none.stg4_000";
    cEdMapPoint point;
    point.m_nX = 4;
    point.m_nY = 5;
    point.m_vEvents = {entry};
    g_WorldMap.m_vGrid.assign(g_WorldMap.m_vGrid.size(), 5);
    g_WorldMap.m_vPoints = {point};
  }
  void TearDown() override {
    g_WorldMap = cEdWorldMap();
    g_RankingSet.Reset();
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  FrontEndHarness m_Harness{GetParam()};
};

TEST_P(MapScenesInEveryMode, BothScenesRunTheirStatesWithoutClosing) {
  g_SaveData.m_nMapX = 3;
  g_SaveData.m_nMapY = 5;
  g_SceneManager.m_nPrevScene = SCENE_STORYMENU;
  m_Harness.Start(SCENE_WORLDMAP);
  m_Harness.Idle(10);
  m_Harness.Press(CURSOR_RIGHT);
  m_Harness.Press(0, MENU_RANKING_KIND);
  m_Harness.Press(0, MENU_DECIDE);  // the prompt, over a stage that is not there
  EXPECT_EQ(m_Harness.Scene()->m_nState, 2);
  m_Harness.Press(0, MENU_CANCEL);
  m_Harness.Press(0, MENU_CANCEL);
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STORYMENU);

  m_Harness.Start(SCENE_STAGESELECT);
  m_Harness.Idle(10);
  for (int i = 0; i < 11; ++i) m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(0, MENU_RANKING_SHOW);
  m_Harness.Press(0, MENU_RANKING_SHOW);
  m_Harness.Press(0, MENU_CANCEL);
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_TITLE);
  EXPECT_EQ(CloseRequestCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, MapScenesInEveryMode, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

}  // namespace
