// The front end's roads walked from the title with the keys a player
// presses, up to the start of a stage and on from the stage's return:
//
// - the story: a new game, the map, saving into a slot and switching
//   auto-save on in the story menu, entering the first stage; back from it
//   cleared, the progress is auto-saved and the point it opened can be
//   walked onto; back to the title and the story continued from the slot;
// - the challenge: the stage list from a damaged Challenge.dat, a stage
//   started, and after its clear the list reopened with the stage cleared
//   and its ranking, and the progress read back from the title;
// - a replay chosen in the file chooser (run from a dialog script).
//
// The stage scene is not run frame by frame: a stage's start is the change
// to its kind; its clear is the stage scene's own end of a play (the tally,
// the clear recorded in the progress and Challenge.dat, the next scene)
// on the stage the front end loaded, and the stage then hands over.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model/stage/stage.h"
#include "model/stage/world_map.h"
#include "model/user/ranking.h"
#include "model/user/replay.h"
#include "platform/files.h"
#include "scenes/stage/stage_scene.h"
#include "scenes/front_end/stage_select_scene.h"
#include "scenes/front_end/story_menu_scene.h"
#include "scenes/front_end/title_scene.h"
#include "scenes/front_end/world_map_scene.h"
#include "shell/replay_requests.h"
#include "support/front_end_harness.h"
#include "support/front_end_pictures.h"
#include "support/scoped_database.h"
#include "support/scoped_dialog_script.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"

namespace {

constexpr int kRoadY = 7, kStartX = 3, kFirstX = 6, kSecondX = 9;
enum { MENU_SAVE, MENU_AUTO_SAVE, MENU_BACK, MENU_TITLE };

// A road along row 7 over open ground: the start, the first stage (entered
// with the decide button, switch 1) and the second (entered by stepping on
// it, switch 2), which is a wall until the first is cleared.
cEdWorldMap RoadMap() {
  cEdWorldMap map;
  map.m_vGrid.assign(map.m_vGrid.size(), 5);
  map.m_nStartX = kStartX;
  map.m_nStartY = kRoadY;
  cEdMapEvent first;
  first.m_nStage = 1;
  first.m_bManual = 1;
  first.m_strStageFile = "data\\stg4\\first.stg4_000";
  cEdMapEvent second;
  second.m_nStage = 2;
  second.m_nFlag = 1;
  second.m_strStageFile = "data\\stg4\\second.stg4_000";
  cEdMapEvent closed;
  closed.m_nKind = cEdMapEvent::KIND_BLOCKED;
  cEdMapPoint firstPoint;
  firstPoint.m_nX = kFirstX;
  firstPoint.m_nY = kRoadY;
  firstPoint.m_vEvents = {first};
  cEdMapPoint secondPoint;
  secondPoint.m_nX = kSecondX;
  secondPoint.m_nY = kRoadY;
  secondPoint.m_vEvents = {second, closed};
  map.m_vPoints = {firstPoint, secondPoint};
  return map;
}

class FrontEndRoadsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Harness.Started());
    WriteFrontEndPictures(m_Folder.path());
    for (const char* folder : {"user_data/story", "user_data/challenge", "data/stg4"})
      std::filesystem::create_directories(m_Folder / folder);
    for (const char* name : {"first.stg4_000", "second.stg4_000", "c01-1.stg4_000", "c02-1.stg4_000"})
      ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "data" / "stg4" / name, MakeTestStage().SaveBytes()));
    RegisterTitleScene();
    RegisterWorldMapScene();
    RegisterStoryMenuScene();
    RegisterStageSelectScene();
    g_SaveSlots.assign(STORY_SLOT_COUNT, cSaveSlot());
    g_WorldMap = RoadMap();
    g_SystemData.m_nChallengeStages = 3;
  }
  void TearDown() override {
    g_WorldMap = cEdWorldMap();
    g_RankingSet.Reset();
    g_ReplayLog.Clear();
  }

  // Fades in and waits in the running scene's first state.
  void Settle() {
    if (m_Harness.Scene() == nullptr) m_Harness.Frame();  // made and entered
    for (int i = 0; i < 30 && m_Harness.Scene()->m_nState == 0; ++i) m_Harness.Frame();
    ASSERT_EQ(m_Harness.Scene()->m_nState, 1);
  }
  // Down `rows` times, then decide.
  void Choose(int rows) {
    for (int i = 0; i < rows; ++i) m_Harness.Press(CURSOR_DOWN);
    m_Harness.Press(0, MENU_DECIDE);
  }
  // The title menu opens on the item that started the last play.
  void ChooseTitleItem(int item) {
    const int row = g_MenuCursor.Current()->nRow;
    for (int i = row; i < item; ++i) m_Harness.Press(CURSOR_DOWN);
    for (int i = item; i < row; ++i) m_Harness.Press(CURSOR_UP);
    m_Harness.Press(0, MENU_DECIDE);
  }
  void Walk(int dir, int steps) {
    for (int i = 0; i < steps; ++i) m_Harness.Press(dir);
  }
  static std::pair<int, int> Hero() { return {g_MenuCursor.Current()->nCol, g_MenuCursor.Current()->nRow}; }
  int Scene() const { return g_SceneManager.m_nScene; }
  // The stage loaded by the front end is set up and cleared with `score`:
  // the stage scene's end of a play and the scene it hands over to.
  void ClearTheStage(int score, int expectedNext) {
    int next = -1;
    {
      cStageScene stage;
      stage.SetStage(0, 1);
      g_SaveData.m_nScore = score;
      stage.EndStage();
      next = stage.DecideNextScene();
    }
    ASSERT_EQ(next, expectedNext);
    m_Harness.Start(next);
    g_SceneManager.m_nPrevScene = SCENE_STAGE;
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  ScopedDatabase m_Database;
  FrontEndHarness m_Harness;
};

TEST_F(FrontEndRoadsTest, TheStoryFromANewGameThroughAClearedStageToContinuingFromTheSlot) {
  // The title: a new game opens the map on its start.
  Settle();
  ChooseTitleItem(TITLE_NEWGAME);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_WORLDMAP);
  Settle();
  EXPECT_EQ(Hero(), std::make_pair(kStartX, kRoadY));
  EXPECT_EQ(g_SaveData.m_nSaveSlot, -1);

  // The story menu: save into slot 1, then switch auto-save on.
  m_Harness.Press(0, MENU_CANCEL);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STORYMENU);
  Settle();
  Choose(MENU_SAVE);
  m_Harness.Press(0, MENU_DECIDE);  // slot 1
  m_Harness.Press(CURSOR_UP);       // from "do not" to "save"
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(g_SaveData.m_nSaveSlot, 0);
  m_Harness.Press(0, MENU_CANCEL);  // the list closes
  Choose(MENU_AUTO_SAVE);
  m_Harness.Press(CURSOR_UP);  // "on"
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(g_SaveData.m_bAutoSave, 1);
  m_Harness.Press(0, MENU_CANCEL);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_WORLDMAP);
  Settle();

  // The second point is a wall; the first stage is entered through its prompt.
  Walk(CURSOR_RIGHT, 6);
  EXPECT_EQ(Hero(), std::make_pair(kSecondX - 1, kRoadY));
  Walk(CURSOR_LEFT, kSecondX - 1 - kFirstX);
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STAGE);
  EXPECT_EQ(g_SaveData.m_strStagePath, "data\\stg4\\first.");
  EXPECT_EQ(g_SaveData.m_nStageNo, 1);

  // Cleared: its switch is set, its best kept, and the map comes back.
  ClearTheStage(640, SCENE_WORLDMAP);
  m_Harness.Frame();
  cSaveData slot;
  ASSERT_EQ(slot.LoadStory(0), 1);  // auto-saved as the map opened
  EXPECT_EQ(slot.m_vSwitches[1], 1);
  EXPECT_EQ(slot.m_nBestTotal, 640);
  Settle();  // the cleared stage does not start again
  EXPECT_EQ(Hero(), std::make_pair(kFirstX, kRoadY));
  Walk(CURSOR_RIGHT, kSecondX - kFirstX - 1);
  m_Harness.Frame(CURSOR_RIGHT);  // onto the opened point: its prompt at once
  EXPECT_EQ(m_Harness.Scene()->m_nState, 2);
  EXPECT_EQ(g_SaveData.m_strStagePath, "data\\stg4\\second.");
  m_Harness.Frame();
  m_Harness.Press(0, MENU_CANCEL);
  EXPECT_EQ(Hero(), std::make_pair(kSecondX - 1, kRoadY));

  // Back to the title through the story menu, and the story continued.
  m_Harness.Press(0, MENU_CANCEL);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STORYMENU);
  Settle();
  Choose(MENU_TITLE);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_TITLE);
  g_SaveData = cSaveData();
  Settle();
  ChooseTitleItem(TITLE_CONTINUE);
  m_Harness.Press(0, MENU_DECIDE);  // slot 1
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_WORLDMAP);
  Settle();
  EXPECT_EQ(Hero(), std::make_pair(kFirstX, kRoadY));
  EXPECT_EQ(g_SaveData.m_vSwitches[1], 1);
  EXPECT_EQ(g_SaveData.m_nSaveSlot, 0);
  EXPECT_EQ(g_SaveData.m_bAutoSave, 1);
  EXPECT_EQ(Scene(), SCENE_WORLDMAP);
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(FrontEndRoadsTest, TheChallengeFromItsListThroughAClearedStageAndBack) {
  g_SystemData.m_vRanking.at(PLAY_CHALLENGE).m_bEnabled = 1;
  // A damaged progress is kept aside and the challenge starts afresh.
  const std::filesystem::path file = m_Folder / "user_data" / "challenge" / "Challenge.dat";
  WriteTextFile(file, "damaged");
  Settle();
  ChooseTitleItem(TITLE_CHALLENGE);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STAGESELECT);
  EXPECT_EQ(ReadTextFile(file.string() + ".bak"), "damaged");
  EXPECT_FALSE(std::filesystem::exists(file));
  ASSERT_EQ(g_SaveData.m_vChallenge.size(), 3u);
  EXPECT_EQ(g_SaveData.m_nOpenStages, 1);

  Settle();
  m_Harness.Press(0, MENU_DECIDE);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STAGE);
  EXPECT_EQ(g_SaveData.m_strStagePath, "data\\stg4\\c01.");

  // Cleared: the stage records it and writes the progress; the ranking it
  // registered is written as the result is confirmed.
  ClearTheStage(700, SCENE_STAGESELECT);
  EXPECT_EQ(g_SaveData.m_vChallenge[0].m_bCleared, 1);
  EXPECT_EQ(g_SaveData.m_vChallenge[0].m_nBest, 700);
  EXPECT_EQ(g_SaveData.m_nOpenStages, 2);
  EXPECT_TRUE(std::filesystem::exists(file));
  cRankingSet ranking;
  ranking.m_vLists[RANKING_SCORE].Insert("aaa", 700);
  ASSERT_EQ(SaveStageRanking(ranking, PLAY_CHALLENGE, g_SaveData.m_strStagePath), 1);
  Settle();
  EXPECT_EQ(g_MenuCursor.Current()->nRow, 0);  // where the stage was started
  EXPECT_EQ(g_RankingSet.m_vLists[RANKING_SCORE].m_vEntries[0].m_nValue, 700);

  // Back at the title, the challenge goes on from its file.
  m_Harness.Press(0, MENU_CANCEL);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_TITLE);
  g_SaveData = cSaveData();
  Settle();
  ChooseTitleItem(TITLE_CHALLENGE);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STAGESELECT);
  Settle();
  EXPECT_EQ(g_SaveData.m_vChallenge[0].m_bCleared, 1);
  EXPECT_EQ(g_SaveData.m_nOpenStages, 2);
  m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(0, MENU_DECIDE);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STAGE);
  EXPECT_EQ(g_SaveData.m_nStageNo, 2);
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(FrontEndRoadsTest, AReplayChosenInTheFileChooserStartsItsPlayback) {
  std::filesystem::create_directories(m_Folder / "user_data" / "rpl4");
  cEdStage stage = MakeTestStage();
  cEdStage start = stage;
  cSaveData progress;
  progress.m_nTotalScore = 2500;
  progress.SetStageFile("data\\stg4\\first.stg4_000");
  cReplayLog log;
  const std::int16_t frame[2] = {4, 1};
  log.RecordFrame(frame);
  ASSERT_EQ(log.SaveReplay("user_data\\rpl4\\play.rpl4_1", stage, start, progress), 1);

  ScopedDialogScript script("open cancel\nopen user_data/rpl4/play.rpl4_1\n");
  Settle();
  ChooseTitleItem(TITLE_REPLAY);  // cancelled: the menu stays
  EXPECT_EQ(m_Harness.Scene()->m_nState, 1);
  m_Harness.Press(0, MENU_DECIDE);
  ASSERT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STAGE);
  EXPECT_EQ(g_SceneManager.m_nPlayMode, PLAY_REPLAY);
  EXPECT_EQ(g_SaveData.m_nTotalScore, 2500);
  EXPECT_EQ(g_SaveData.m_strStagePath, "data\\stg4\\first.");
  EXPECT_EQ(g_PlayStage.m_strName, stage.m_strName);
  std::int16_t played[2] = {};
  EXPECT_EQ(g_ReplayLog.PlayFrame(played), 0);
  EXPECT_EQ(played[0], 4);
  EXPECT_EQ(CloseRequestCount(), 0);
}

}  // namespace
