// The title scene driven frame by frame: every menu item leads to its
// scene with its play mode, the cursor starts where the last play started,
// the save-slot list (empty, damaged and good slots, paging), stage files
// opened through the chooser, and the progress of a new story.
#include "scenes/front_end/title_scene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/report.h"
#include "model/stage/stage.h"
#include "model/stage/world_map.h"
#include "platform/files.h"
#include "scenes/front_end/play_start.h"
#include "support/front_end_harness.h"
#include "support/front_end_pictures.h"
#include "support/scoped_dialog_script.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"

namespace {

constexpr int kFadeFrames = 10;

class TitleSceneTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Harness.Started());
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    WriteFrontEndPictures(m_Folder.path());
    std::filesystem::create_directories(m_Folder / "user_data" / "story");
    std::filesystem::create_directories(m_Folder / "user_data" / "challenge");
    std::filesystem::create_directories(m_Folder / "data" / "stg4");
    RegisterTitleScene();
    g_SaveSlots.assign(STORY_SLOT_COUNT, cSaveSlot());
  }
  void TearDown() override { g_WorldMap = cEdWorldMap(); }

  // Enter and fade in: the menu waits.
  void ShowMenu() {
    m_Harness.Idle(kFadeFrames);
    ASSERT_EQ(m_Harness.Scene()->m_nState, 1);
    ASSERT_EQ(m_Harness.sounds, std::vector<int>{});
  }
  // Down `rows` times, then decide.
  void ChooseRow(int rows) {
    for (int i = 0; i < rows; ++i) m_Harness.Press(CURSOR_DOWN);
    m_Harness.Press(0, MENU_DECIDE);
  }
  cTitleScene& Title() { return *static_cast<cTitleScene*>(g_SceneManager.Scene(SCENE_TITLE)); }
  int Row() { return g_MenuCursor.Current()->nRow; }
  std::string Report() { return ReadTextFile(m_Folder / "Report_Game.txt"); }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  FrontEndHarness m_Harness;
};

struct MenuCase {
  int item;
  int nextScene;
  int playMode;
};

TEST_F(TitleSceneTest, EachMenuItemLeadsToItsSceneWithItsPlayMode) {
  const MenuCase cases[] = {
      {TITLE_NEWGAME, SCENE_WORLDMAP, PLAY_STORY},
      {TITLE_CHALLENGE, SCENE_STAGESELECT, PLAY_CHALLENGE},
      {TITLE_OPTION, SCENE_OPTION, PLAY_STORY},  // the play mode stays
  };
  for (const MenuCase& c : cases) {
    SCOPED_TRACE(c.item);
    m_Harness.Start(SCENE_TITLE);
    g_SceneManager.m_nPlayStart = 0;
    g_SceneManager.m_nPlayMode = PLAY_STORY;
    m_Harness.sounds.clear();
    m_Harness.music.clear();
    g_SystemData.m_vRanking[static_cast<std::size_t>(c.playMode)].m_bEnabled = 1;
    ShowMenu();
    ChooseRow(c.item);
    EXPECT_EQ(m_Harness.RunUntilSceneChanges(), c.nextScene);
    EXPECT_EQ(g_SceneManager.m_nPrevScene, SCENE_TITLE);
    EXPECT_EQ(g_SceneManager.m_nPlayStart, c.item);
    EXPECT_EQ(g_SceneManager.m_nPlayMode, c.playMode);
    EXPECT_EQ(g_SceneManager.m_bUseRanking, 1);
    EXPECT_EQ(m_Harness.music, std::vector<int>{BGMREQ_TITLE});
    EXPECT_EQ(m_Harness.sounds, std::vector<int>{1});
    EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
    g_SystemData.m_vRanking[static_cast<std::size_t>(c.playMode)].m_bEnabled = 0;
  }
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(TitleSceneTest, QuitAsksTheWindowToCloseAndTheMenuStays) {
  ShowMenu();
  m_Harness.Press(CURSOR_UP);  // wraps from the first row to the last
  EXPECT_EQ(Row(), TITLE_QUIT);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(CloseRequestCount(), 1);
  EXPECT_EQ(m_Harness.Scene()->m_nState, 1);
  EXPECT_EQ(g_SceneManager.m_nScene, SCENE_TITLE);
}

TEST_F(TitleSceneTest, TheCursorStartsOnTheItemThatStartedTheLastPlay) {
  struct Case {
    std::vector<int> disabled;
    int playStart;
    int enterRow;  // after Enter
    int menuRow;   // once the menu runs
  };
  const Case cases[] = {
      {{}, TITLE_STAGEFILE, 3, 3},
      {{TITLE_CONTINUE, TITLE_CHALLENGE}, TITLE_OPTION, 3, 3},  // rows 0 3 4 5 6
      // An item that is no row stays as the row; the first move wraps it.
      {{TITLE_CONTINUE, TITLE_CHALLENGE, TITLE_STAGEFILE, TITLE_REPLAY}, TITLE_REPLAY, 4, 0},
      {{0, 1, 2, 3, 4, 5, 6}, TITLE_OPTION, 5, 0},  // none enabled: the new game alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.playStart);
    g_SystemData = cSystemData();
    for (int item : c.disabled) g_SystemData.m_vTitleItems[static_cast<std::size_t>(item)].m_bEnabled = 0;
    m_Harness.Start(SCENE_TITLE);
    g_SceneManager.m_nPlayStart = c.playStart;
    m_Harness.Frame();
    EXPECT_EQ(Row(), c.enterRow);
    m_Harness.Idle(kFadeFrames);
    EXPECT_EQ(Row(), c.menuRow);
    m_Harness.Press(CURSOR_DOWN);
    m_Harness.Press(CURSOR_UP);
    EXPECT_EQ(Row(), c.menuRow);
  }
  EXPECT_EQ(Title().m_nItemCount, 1);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(g_SceneManager.m_nPlayStart, TITLE_NEWGAME);
}

TEST_F(TitleSceneTest, ANewStoryStartsOnTheMapStartWithTheStoryLives) {
  struct Case {
    int infinite;
    int startLives;
    int lives;
    int livesLeft;
  };
  for (const Case& c : {Case{0, 3, 3, 2}, Case{1, 3, UNLIMITED_LIVES, UNLIMITED_LIVES}}) {
    g_SystemData.m_vInfiniteLives[PLAY_STORY] = c.infinite;
    g_SystemData.m_vStartLives[PLAY_STORY] = c.startLives;
    g_WorldMap.m_nStartX = 4;
    g_WorldMap.m_nStartY = 7;
    g_SaveData.m_nRound = 5;
    g_SaveData.m_vSwitches.assign(3, 9);
    g_SaveData.m_nSaveSlot = 12;
    ResetProgress();
    EXPECT_EQ(g_SaveData.m_nStartLives, c.lives);
    EXPECT_EQ(g_SaveData.m_nLives, c.livesLeft);
    EXPECT_EQ(g_SaveData.m_nMapX, 4);
    EXPECT_EQ(g_SaveData.m_nMapY, 7);
    EXPECT_EQ(g_SaveData.m_nRound, 0);
    EXPECT_EQ(g_SaveData.m_vSwitches.size(), static_cast<std::size_t>(SWITCH_COUNT));
    EXPECT_EQ(g_SaveData.m_nSaveSlot, -1);
  }
}

TEST_F(TitleSceneTest, AChallengeWithoutItsFileStartsFresh) {
  g_SystemData.m_nChallengeStages = 6;
  g_SaveData.m_nOpenStages = 4;
  ShowMenu();
  ChooseRow(TITLE_CHALLENGE);
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STAGESELECT);
  EXPECT_EQ(g_SaveData.m_nOpenStages, 1);
  EXPECT_EQ(g_SaveData.m_vChallenge.size(), 6u);
}

// The save-slot list: an empty slot and a slot whose file went bad after
// the list was shown play sound 3 and keep the progress; a good slot is
// continued on the world map.
TEST_F(TitleSceneTest, ContinueLoadsOnlyASlotThatReads) {
  cSaveData saved;
  saved.m_nScore = 1234;
  saved.m_nMapX = 3;
  ASSERT_EQ(saved.SaveStory(1), 1);
  ASSERT_EQ(saved.SaveStory(2), 1);
  g_SaveData.m_nScore = 77;
  ShowMenu();
  ChooseRow(TITLE_CONTINUE);
  EXPECT_EQ(g_MenuCursor.Stack().size(), 2u);
  EXPECT_EQ(g_SaveSlots[1].m_bUsed, 1) << Report();
  EXPECT_EQ(g_SaveSlots[0].m_bUsed, 0);

  m_Harness.Press(0, MENU_DECIDE);  // slot 1 (row 0): empty
  m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(CURSOR_DOWN);
  WriteTextFile(m_Folder / "user_data" / "story" / "Story03.dat", "broken");
  m_Harness.Press(0, MENU_DECIDE);  // slot 3: went bad since the list was read
  EXPECT_EQ(m_Harness.sounds, (std::vector<int>{1, 3, 3}));
  EXPECT_EQ(g_SaveData.m_nScore, 77);
  EXPECT_EQ(m_Harness.Scene()->m_nState, 2);
  EXPECT_NE(Report().find("Story03.dat"), std::string::npos);

  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);  // slot 2
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_WORLDMAP);
  EXPECT_EQ(g_SaveData.m_nScore, 1234);
  EXPECT_EQ(g_SaveData.m_nMapX, 3);
  EXPECT_EQ(g_SceneManager.m_nPlayMode, PLAY_STORY);
  EXPECT_EQ(m_Harness.sounds.back(), 1);
}

TEST_F(TitleSceneTest, CancelInTheSlotListReturnsToTheContinueItem) {
  ShowMenu();
  ChooseRow(TITLE_CONTINUE);
  m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(0, MENU_CANCEL);
  EXPECT_EQ(m_Harness.Scene()->m_nState, 1);
  EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
  EXPECT_EQ(Row(), TITLE_CONTINUE);
  EXPECT_EQ(m_Harness.sounds, (std::vector<int>{1, 2}));
}

TEST_F(TitleSceneTest, TheSlotListShowsTenRowsAndPagesByNine) {
  ShowMenu();
  ChooseRow(TITLE_CONTINUE);
  cTitleScene& title = Title();
  EXPECT_EQ(title.m_nSlotRows, 10);
  for (int i = 0; i < 10; ++i) m_Harness.Press(CURSOR_DOWN);
  EXPECT_EQ(Row(), 10);
  EXPECT_EQ(title.m_nSlotTop, 1);
  EXPECT_EQ(g_MenuCursor.Current()->nY, cTitleScene::kSlotListY + 16 * 9);
  m_Harness.Press(CURSOR_RIGHT);
  EXPECT_EQ(Row(), 19);
  EXPECT_EQ(title.m_nSlotTop, 10);
  for (int i = 0; i < 12; ++i) m_Harness.Press(CURSOR_RIGHT);
  EXPECT_EQ(Row(), STORY_SLOT_COUNT - 1);
  EXPECT_EQ(title.m_nSlotTop, STORY_SLOT_COUNT - 10);
  m_Harness.Press(CURSOR_LEFT);
  EXPECT_EQ(title.m_nSlotTop, STORY_SLOT_COUNT - 19);
}

// A stage file chosen in the chooser starts a free play of it; a cancelled
// chooser keeps the menu.
TEST_F(TitleSceneTest, AStageFileFromTheChooserStartsItsPlay) {
  ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "data" / "stg4" / "boss-1.stg4_000", MakeTestStage().SaveBytes()));
  g_SystemData.m_vStartLives[PLAY_FREESTAGE] = 5;
  g_SystemData.m_vInfiniteLives[PLAY_FREESTAGE] = 0;
  m_Harness.openStage = [] { return ServeOpenStageRequest(); };
  ScopedDialogScript script("open cancel\nopen data/stg4/boss-1.stg4_000\n");
  ShowMenu();
  ChooseRow(TITLE_STAGEFILE);
  EXPECT_EQ(m_Harness.Scene()->m_nState, 1);
  EXPECT_EQ(g_SceneManager.m_nPlayMode, PLAY_FREESTAGE);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STAGE);
  EXPECT_EQ(g_SaveData.m_nStageNo, 1);
  EXPECT_EQ(g_SaveData.m_nSeriesNo, 1);
  EXPECT_EQ(g_SaveData.m_nStartLives, 5);
  EXPECT_EQ(g_SaveData.m_nLives, 4);
  EXPECT_EQ(g_SaveData.m_strStagePath, ".\\data\\stg4\\boss.");
  EXPECT_EQ(g_SaveData.m_bSeries, 1);
  EXPECT_EQ(g_PlayStage.m_strName, MakeTestStage().m_strName);
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(TitleSceneTest, AStageFileThatDoesNotLoadIsRefusedAndLongPathsAreWhole) {
  // Beyond the 260 characters of a Windows path.
  const std::string folder(120, 'a'), name(120, 'b');
  const std::string path = "data\\stg4\\" + folder + "\\" + folder + "\\" + name + ".stg4_000";
  EXPECT_EQ(StartStageFile(path, 0), 0);
  std::filesystem::create_directories(m_Folder / "data" / "stg4" / folder / folder);
  ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "data" / "stg4" / folder / folder / (name + ".stg4_000"),
                                        MakeTestStage().SaveBytes()));
  g_bFreeStagePlay = 1;
  EXPECT_EQ(StartStageFile(path, 0), 1);
  g_bFreeStagePlay = 0;
  EXPECT_EQ(g_SaveData.m_strStagePath, path.substr(0, path.size() - 8));
  EXPECT_EQ(g_SaveData.m_nLives, UNLIMITED_LIVES);
}

}  // namespace
