// The roads through a stage's life, played on the demo project from the
// keys a player presses, from the scene that starts the stage to the scene
// that follows it:
//
// - a challenge of two parts cleared: the result, the follow-on part, the
//   ranking registered under a name typed into the name entry, the ranking
//   table, the stage list with the clear in Challenge.dat and the ranking
//   file;
// - deaths: a retry with a life less, the last life's game over, the title;
// - a time out, retried;
// - the pause menu: resume, retry, and quitting to the title;
// - a story stage: the continue menu's retry and its give-up to the world
//   map.
//
// The stages are short roads drawn with the demo's own cells and saved
// under the demo's stage names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/close_request.h"
#include "game/objects/actor.h"
#include "model/settings/system_data.h"
#include "model/user/options.h"
#include "model/user/ranking.h"
#include "model/user/save_data.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_scene.h"
#include "shell/name_entry_dialog.h"
#include "support/demo_harness_test.h"
#include "support/scoped_dialog_script.h"
#include "tools/make-demo/demo_stage_names.h"
#include "tools/make-demo/demo_stages.h"

namespace {

// The hero two cells from the goal.
cEdStage GoalRoad(const char* name, demo::eGoalKind goal) { return DemoRoad(name, "B.H.G..............B", goal); }
// The hero two cells from a pit of spikes.
cEdStage PitRoad() {
  return DemoRoad("落とし穴", "B.H................B", demo::eGoalKind::NextPart, "####...#############",
                  "####^^^#############");
}
// Flat ground, nothing to reach.
cEdStage EmptyRoad() { return DemoRoad("広場", "B.H................B"); }

class StageRoadsTest : public DemoHarnessTest {
 protected:
  int Scene() const { return g_SceneManager.m_nScene; }

  // From the stage list, the first challenge stage started and played.
  void EnterChallenge() {
    Harness().StartChallenge();
    ASSERT_TRUE(Harness().RunUntilScene(SCENE_STAGESELECT));
    Harness().Press("Z");
    ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY));
  }

  // The result shown until it can be left, then left with the decide key.
  void LeaveResult() {
    ASSERT_EQ(Stage().m_nState, STAGE_RESULT);
    Harness().Frames(60);
    Harness().Press("Z");
  }
};

TEST_F(StageRoadsTest, AChallengeOfTwoPartsClearsRegistersItsRankingAndReturnsToTheStageList) {
  Save(GoalRoad("前半", demo::eGoalKind::NextPart), demo::kChallengeStageFile);
  Save(GoalRoad("後半", demo::eGoalKind::LastPart), demo::kChallengePart2File);
  cEdFlagSet& ranking = g_SystemData.m_vRanking.at(PLAY_CHALLENGE);
  ranking.m_bEnabled = 1;
  ranking.m_vKinds.assign(cRankingSet::kKinds, 0);
  ranking.m_vKinds[RANKING_SCORE] = 1;
  g_OptionData.m_nRankingMode = RANKING_MANUAL_ENTER_NAME;
  const ScopedDialogScript dialogs("name ABC\n");
  Harness().Window().nameEntry = [this] {
    cNameEntryDialog dialog(NameEntryTarget(g_SceneManager.m_nPlayStart, &Stage().m_strRankName), true, 0, 0);
    dialog.DoModal();
  };

  EnterChallenge();
  EXPECT_EQ(g_SaveData.m_nSeriesNo, 1);
  WalkRightUntil(STAGE_RESULT);
  // A part followed by another ranks nothing.
  EXPECT_EQ(Stage().m_vRankPosition, std::vector<int>(kRankingKindCount, -1));
  LeaveResult();

  ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY));
  EXPECT_EQ(g_LoadedStage.m_strName, "後半");
  EXPECT_EQ(g_SaveData.m_nSeriesNo, 2);
  WalkRightUntil(STAGE_RESULT);
  EXPECT_EQ(Stage().m_vRankPosition[RANKING_SCORE], 0);
  const int total = g_SaveData.m_nTotalScore;

  // F3 registers: the name entry, then the ranking table until decided.
  Harness().Frames(60);
  ASSERT_TRUE(Harness().SetInput("1 F3 down\n3 F3 up\n20 Z down\n22 Z up\n2000 close"));
  Harness().Frames(3);
  EXPECT_EQ(Harness().Window().nameEntries, 1);
  EXPECT_EQ(dialogs.PendingAnswers(), 0u);
  EXPECT_EQ(Stage().m_bRankingRegistered, 1);
  EXPECT_EQ(CloseRequestCount(), 0);
  Harness().Frames(2);
  LeaveResult();

  ASSERT_TRUE(Harness().RunUntilScene(SCENE_STAGESELECT));
  cRankingSet saved;
  ASSERT_EQ(LoadStageRanking(saved, PLAY_CHALLENGE, g_SaveData.m_strStagePath), 1);
  const cRankingEntry& best = saved.m_vLists.at(RANKING_SCORE).m_vEntries.at(0);
  EXPECT_EQ(best.m_bUsed, 1);
  EXPECT_EQ(best.m_strName, "ABC");
  EXPECT_EQ(best.m_nValue, total);
  cSaveData progress;
  ASSERT_TRUE(progress.LoadChallenge());
  ASSERT_FALSE(progress.m_vChallenge.empty());
  EXPECT_EQ(progress.m_vChallenge[0].m_bCleared, 1);
  EXPECT_EQ(progress.m_vChallenge[0].m_nBest, total);
}

TEST_F(StageRoadsTest, EachDeathRetriesWithALifeLessUntilTheGameIsOver) {
  Save(PitRoad(), demo::kChallengeStageFile);
  g_SystemData.m_vStartLives.at(PLAY_CHALLENGE) = 2;
  g_SystemData.m_vInfiniteLives.at(PLAY_CHALLENGE) = 0;
  EnterChallenge();
  const double startX = Stage().m_pHero->m_dX;
  const int lives = g_SaveData.m_nLives;
  ASSERT_GE(lives, 1);

  for (int left = lives - 1; left >= 0; --left) {
    SCOPED_TRACE(left);
    WalkRightUntil(STAGE_START);
    EXPECT_EQ(g_SaveData.m_nLives, left);
    ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY));
    // The hero starts again where it first did, whole.
    const cActor& hero = *Stage().m_pHero;
    EXPECT_EQ(hero.m_dX, startX);
    EXPECT_FALSE(hero.m_bDying);
  }
  WalkRightUntil(STAGE_GAMEOVER);
  Harness().Frame();
  Harness().Press("Z");
  ASSERT_TRUE(Harness().RunUntilScene(SCENE_TITLE));
}

TEST_F(StageRoadsTest, ATimeOutRetriesTheStageWithALifeLess) {
  cEdStage stage = EmptyRoad();
  stage.m_nTimeLimit = 2;
  Save(stage, demo::kFreeStageFile);
  g_SystemData.m_vInfiniteLives.at(PLAY_FREESTAGE) = 0;
  ASSERT_TRUE(Harness().StartStageFile(demo::kFreeStageFile));
  ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY));
  EXPECT_EQ(Stage().m_nTimeLeft, 2);
  const int lives = g_SaveData.m_nLives;

  // Two seconds, then the hero's death display.
  ASSERT_TRUE(Harness().RunUntilState(STAGE_START, 300));
  EXPECT_EQ(g_SaveData.m_nLives, lives - 1);
  ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY));
  EXPECT_EQ(Stage().m_nTimeLeft, 2);
  EXPECT_FALSE(Stage().m_pHero->m_bDying);
}

TEST_F(StageRoadsTest, ThePauseMenuResumesRetriesAndQuitsToTheTitle) {
  Save(EmptyRoad(), demo::kFreeStageFile);
  ASSERT_TRUE(Harness().StartStageFile(demo::kFreeStageFile));
  ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY));
  const double startX = Stage().m_pHero->m_dX;
  const int lives = g_SaveData.m_nLives;
  const auto pause = [this] {
    Harness().Press("SPACE");
    ASSERT_EQ(Stage().m_nState, STAGE_PAUSE);
    EXPECT_EQ(Stage().PauseMenuRows(), 3);
  };

  // Resumed with cancel: the hero has not moved while paused.
  Harness().Hold("RIGHT");
  Harness().Frames(20);
  Harness().Release("RIGHT");
  Harness().Frames(10);
  const double walkedX = Stage().m_pHero->m_dX;
  ASSERT_GT(walkedX, startX);
  pause();
  Harness().Frames(30);
  Harness().Press("X");
  EXPECT_EQ(Stage().m_nState, STAGE_PLAY);
  EXPECT_EQ(Stage().m_pHero->m_dX, walkedX);

  // Retry (the row below resume): the stage starts again, no life taken.
  pause();
  Harness().Press("DOWN");
  Harness().Press("Z");
  EXPECT_EQ(Stage().m_nState, STAGE_START);
  ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY));
  EXPECT_EQ(Stage().m_pHero->m_dX, startX);
  EXPECT_EQ(g_SaveData.m_nLives, lives);

  // Quit (the row above resume): to the title.
  pause();
  Harness().Press("UP");
  Harness().Press("Z");
  EXPECT_EQ(Stage().m_nState, STAGE_FADEOUT);
  ASSERT_TRUE(Harness().RunUntilScene(SCENE_TITLE));
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(StageRoadsTest, AStoryDeathOffersTheContinueMenuWhoseGiveUpReturnsToTheWorldMap) {
  Save(PitRoad(), demo::kStoryStageFile);
  g_SystemData.m_bStoryContinue = 1;
  g_SystemData.m_vStartLives.at(PLAY_STORY) = 4;
  g_SystemData.m_vInfiniteLives.at(PLAY_STORY) = 0;
  Harness().StartStory();
  ASSERT_TRUE(Harness().RunUntilScene(SCENE_WORLDMAP));
  // Three steps right onto the first point, open it, pick the stage.
  for (int step = 0; step < 3; ++step) {
    Harness().Press("RIGHT");
    Harness().Frames(8);
  }
  Harness().Frames(10);
  Harness().Press("Z");
  Harness().Frames(8);
  Harness().Press("UP");
  Harness().Frames(8);
  Harness().Press("Z");
  ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY, 400));
  const int stageNo = g_SaveData.m_nStageNo;
  const double startX = Stage().m_pHero->m_dX;
  const int lives = g_SaveData.m_nLives;

  // The menu waits with one life taken, however long it shows.
  WalkRightUntil(STAGE_CONTINUE);
  Harness().Frames(60);
  EXPECT_EQ(Stage().m_nState, STAGE_CONTINUE);
  EXPECT_EQ(g_SaveData.m_nLives, lives - 1);
  Harness().Press("Z");
  ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY));
  EXPECT_EQ(Stage().m_pHero->m_dX, startX);

  WalkRightUntil(STAGE_CONTINUE);
  Harness().Press("DOWN");
  Harness().Press("Z");
  // The map steps off the entry instead of entering the stage again.
  ASSERT_TRUE(Harness().RunUntilScene(SCENE_WORLDMAP));
  Harness().Frames(60);
  EXPECT_EQ(Scene(), SCENE_WORLDMAP);
  EXPECT_EQ(g_SaveData.m_bGaveUp, 0);  // taken by the map
  EXPECT_EQ(g_SaveData.m_nLives, lives - 2);
  ASSERT_GE(stageNo, 0);
  ASSERT_LT(stageNo, static_cast<int>(g_SaveData.m_vSwitches.size()));
  EXPECT_EQ(g_SaveData.m_vSwitches[static_cast<std::size_t>(stageNo)], 0);
}

}  // namespace
