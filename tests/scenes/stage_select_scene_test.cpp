// The challenge's stage list driven frame by frame: how many stages it
// lists, the progress a chosen stage starts with, a stage file that cannot
// be read, the ranking of the stage under the cursor, the row it reopens
// on, cancel, and a progress with fewer records than stages listed.
#include "scenes/front_end/stage_select_scene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/report.h"
#include "model/stage/stage.h"
#include "model/user/ranking.h"
#include "platform/files.h"
#include "support/front_end_harness.h"
#include "support/front_end_pictures.h"
#include "support/ranking_keys.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"

namespace {

constexpr int kFadeFrames = 10;

class StageSelectSceneTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Harness.Started());
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    WriteFrontEndPictures(m_Folder.path());
    std::filesystem::create_directories(m_Folder / "user_data" / "challenge");
    std::filesystem::create_directories(m_Folder / "data" / "stg4");
    // Stages 1, 2 and 4 exist; 3 does not.
    for (const char* name : {"c01-1.stg4_000", "c02-1.stg4_002", "c04-1.stg4_000"})
      ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "data" / "stg4" / name, MakeTestStage().SaveBytes()));
    RegisterStageSelectScene();
    g_SceneManager.m_nPlayMode = PLAY_CHALLENGE;
    g_SystemData.m_nChallengeStages = 12;
    g_SystemData.m_bChallengeAllOpen = 1;
    g_SaveData.m_vChallenge.assign(12, cSaveIntPair());
  }
  void TearDown() override { g_RankingSet.Reset(); }

  void Open() {
    m_Harness.Start(SCENE_STAGESELECT);
    m_Harness.Idle(kFadeFrames);
    ASSERT_EQ(State(), 1);
    m_Harness.sounds.clear();
  }
  cStageSelectScene& List() { return *static_cast<cStageSelectScene*>(g_SceneManager.Scene(SCENE_STAGESELECT)); }
  int State() { return List().m_nState; }
  static int Row() { return g_MenuCursor.Current()->nRow; }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  FrontEndHarness m_Harness;
};

TEST_F(StageSelectSceneTest, TheListHoldsEveryStageWhenAllAreOpenElseTheUnlockedOnesTenAtATime) {
  struct Case {
    int allOpen, stages, open, top;
    int count, rows;
  };
  const Case cases[] = {
      {1, 12, 1, 5, 12, 7},
      {1, 40, 1, 0, 40, 10},
      {0, 40, 1, 0, 1, 1},
      {0, 40, 3, 0, 3, 3},
      {0, 40, 15, 4, 15, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.allOpen << " " << c.stages << " " << c.open << " " << c.top);
    g_SystemData.m_bChallengeAllOpen = c.allOpen;
    g_SystemData.m_nChallengeStages = c.stages;
    g_SaveData.m_nOpenStages = c.open;
    cStageSelectScene list;
    list.m_nTop = c.top;
    list.UpdateCounts();
    EXPECT_EQ(list.m_nStageCount, c.count);
    EXPECT_EQ(list.m_nRows, c.rows);
  }
}

TEST_F(StageSelectSceneTest, DecideStartsTheStageOfTheRowWithTheChallengesLives) {
  struct Case {
    int infinite;
    int startLives, lives;
  };
  const Case cases[] = {{1, UNLIMITED_LIVES, UNLIMITED_LIVES}, {0, 4, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.infinite);
    g_SystemData.m_bChallengeAllOpen = 0;
    g_SaveData.m_nOpenStages = 2;
    g_SystemData.m_vInfiniteLives.at(PLAY_CHALLENGE) = c.infinite;
    g_SystemData.m_vStartLives.at(PLAY_CHALLENGE) = 4;
    g_SceneManager.m_nStageSelectRow = g_SceneManager.m_nStageSelectTop = 0;
    Open();
    m_Harness.Press(CURSOR_DOWN);
    m_Harness.Press(CURSOR_DOWN);  // the last open stage stays
    EXPECT_EQ(Row(), 1);
    m_Harness.sounds.clear();
    m_Harness.Press(0, MENU_DECIDE);
    EXPECT_EQ(m_Harness.sounds, std::vector<int>{1});
    EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STAGE);
    EXPECT_EQ(g_SceneManager.m_nPrevScene, SCENE_STAGESELECT);
    EXPECT_EQ(g_LoadedStage.m_strPath, "data\\stg4\\c02-1.stg4_002");  // the newest version
    EXPECT_EQ(g_SaveData.m_strStagePath, "data\\stg4\\c02.");
    EXPECT_EQ(g_SaveData.m_nStageNo, 2);
    EXPECT_EQ(g_SaveData.m_nSeriesNo, 1);
    EXPECT_EQ(g_SaveData.m_bSeries, 1);
    EXPECT_EQ(g_SaveData.m_nStartLives, c.startLives);
    EXPECT_EQ(g_SaveData.m_nLives, c.lives);
    EXPECT_EQ(g_SceneManager.m_nStageSelectRow, 1);
    EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
  }
}

TEST_F(StageSelectSceneTest, AStageThatCannotBeReadLeavesTheListAsItWas) {
  Open();
  m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(CURSOR_DOWN);
  const CURSORPOS before = *g_MenuCursor.Current();
  m_Harness.sounds.clear();
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(m_Harness.sounds, std::vector<int>{3});
  ASSERT_EQ(m_Harness.Device().Boxes().Shown().size(), 1u);
  EXPECT_NE(m_Harness.Device().Boxes().Shown()[0].text.find("data\\stg4\\c03-1.stg4"), std::string::npos);
  EXPECT_EQ(State(), 1);
  EXPECT_EQ(*g_MenuCursor.Current(), before);
  m_Harness.Idle(3);
  EXPECT_EQ(g_SceneManager.m_nScene, SCENE_STAGESELECT);
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(StageSelectSceneTest, MovingTheCursorReadsThatStagesRankingAndTheRankingKeysSwitchIt) {
  ASSERT_NO_FATAL_FAILURE(StoreStageRanking(PLAY_CHALLENGE, {1, 1, 0, 0, 0}, "data\\stg4\\c02."));

  Open();
  EXPECT_EQ(g_RankingSet.m_vLists[0].m_vEntries[0].m_bUsed, 0);
  m_Harness.Press(CURSOR_DOWN);
  EXPECT_EQ(g_RankingSet.m_vLists[0].m_vEntries[0].m_strName, kStoredRankingName);
  EXPECT_EQ(g_SaveData.m_strStagePath, "data\\stg4\\c02.");
  m_Harness.Press(CURSOR_DOWN);  // no ranking file: empty tables
  EXPECT_EQ(g_RankingSet.m_vLists[0].m_vEntries[0].m_bUsed, 0);

  ExpectRankingKeysShowAndStepTheKind(m_Harness, PLAY_CHALLENGE, 1);
}

TEST_F(StageSelectSceneTest, TheListReopensOnTheRowAndTopOfTheLastStageStarted) {
  g_SceneManager.m_nStageSelectRow = 11;
  g_SceneManager.m_nStageSelectTop = 5;
  Open();
  EXPECT_EQ(Row(), 11);
  EXPECT_EQ(List().m_nTop, 5);
  EXPECT_EQ(List().m_nRows, 7);
  m_Harness.Frame();
  EXPECT_EQ(g_MenuCursor.Current()->nY, cStageSelectScene::kListY + 32 * 6);
  EXPECT_EQ(g_SaveData.m_strStagePath, "data\\stg4\\c12.");
  m_Harness.Press(CURSOR_DOWN);  // the last stage stays
  EXPECT_EQ(Row(), 11);
}

TEST_F(StageSelectSceneTest, CancelGoesBackToTheTitle) {
  Open();
  m_Harness.Press(0, MENU_CANCEL);
  EXPECT_EQ(m_Harness.sounds, std::vector<int>{2});
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_TITLE);
  EXPECT_EQ(g_SceneManager.m_nPrevScene, SCENE_STAGESELECT);
  EXPECT_EQ(m_Harness.music, std::vector<int>{BGMREQ_SELECT});
}

TEST_F(StageSelectSceneTest, AProgressWithFewerRecordsThanStagesListedIsDrawnWithoutClosing) {
  g_SystemData.m_bSelectShowBest = 1;
  g_SaveData.m_vChallenge.assign(3, cSaveIntPair());
  g_SaveData.m_vChallenge[2].m_bCleared = 1;
  g_SaveData.m_vChallenge[2].m_nBest = 500;
  Open();
  for (int i = 0; i < 11; ++i) m_Harness.Press(CURSOR_DOWN);
  EXPECT_EQ(Row(), 11);
  EXPECT_EQ(CloseRequestCount(), 0);
}

}  // namespace
