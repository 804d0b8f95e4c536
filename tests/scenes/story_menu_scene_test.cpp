// The story menu driven frame by frame: cancel and the back entries, saving
// into a slot (the list opens on the slot in use, the prompt starts on "do
// not", a failed write changes nothing), and the auto-save switch.
#include "scenes/front_end/story_menu_scene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/report.h"
#include "support/front_end_harness.h"
#include "support/front_end_pictures.h"
#include "support/temp_folder.h"

namespace {

constexpr int kFadeFrames = 10;
enum { ENTRY_SAVE, ENTRY_AUTO_SAVE, ENTRY_BACK, ENTRY_TITLE };

class StoryMenuSceneTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Harness.Started());
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    WriteFrontEndPictures(m_Folder.path());
    std::filesystem::create_directories(m_Folder / "user_data" / "story");
    RegisterStoryMenuScene();
    g_SaveSlots.assign(STORY_SLOT_COUNT, cSaveSlot());
    m_Harness.Start(SCENE_STORYMENU);
  }

  void Open(int entry) {
    m_Harness.Idle(kFadeFrames);
    ASSERT_EQ(m_Harness.Scene()->m_nState, 1);
    for (int i = 0; i < entry; ++i) m_Harness.Press(CURSOR_DOWN);
    m_Harness.Press(0, MENU_DECIDE);
    m_Harness.sounds.clear();
  }
  int State() { return m_Harness.Scene()->m_nState; }
  bool SlotFileExists(int slot) { return std::filesystem::exists(m_Folder / "user_data" / "story" / ("Story0" + std::to_string(slot + 1) + ".dat")); }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  FrontEndHarness m_Harness;
};

TEST_F(StoryMenuSceneTest, CancelAndTheBackEntriesLeaveForTheirScenes) {
  m_Harness.Idle(kFadeFrames);
  m_Harness.Press(0, MENU_CANCEL);
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_WORLDMAP);
  EXPECT_EQ(g_SceneManager.m_nPrevScene, SCENE_STORYMENU);
  EXPECT_EQ(m_Harness.music, std::vector<int>{BGMREQ_MAP});

  m_Harness.Start(SCENE_STORYMENU);
  Open(ENTRY_BACK);
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_WORLDMAP);

  m_Harness.Start(SCENE_STORYMENU);
  Open(ENTRY_TITLE);
  m_Harness.Press(0, MENU_DECIDE);  // the prompt starts on "do not"
  EXPECT_EQ(State(), 1);
  EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
  EXPECT_EQ(g_MenuCursor.Current()->nRow, ENTRY_TITLE);
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_TITLE);
  EXPECT_EQ(m_Harness.sounds, (std::vector<int>{1, 1, 1}));
}

TEST_F(StoryMenuSceneTest, SavingOpensOnTheSlotInUseAndNeedsTheFirstAnswer) {
  g_SaveData.m_nSaveSlot = 4;
  g_SaveData.m_nScore = 321;
  Open(ENTRY_SAVE);
  EXPECT_EQ(g_MenuCursor.Current()->nRow, 4);
  m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Press(0, MENU_DECIDE);  // "do not"
  EXPECT_FALSE(SlotFileExists(5));
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_TRUE(SlotFileExists(5));
  EXPECT_EQ(g_SaveData.m_nSaveSlot, 5);
  EXPECT_EQ(g_SaveSlots[5].m_bUsed, 1);
  EXPECT_EQ(m_Harness.sounds, (std::vector<int>{1, 1, 1, 5}));
  cSaveData saved;
  ASSERT_EQ(saved.LoadStory(5), 1);
  EXPECT_EQ(saved.m_nScore, 321);
  EXPECT_EQ(saved.m_nSaveSlot, 5);
  m_Harness.Press(0, MENU_CANCEL);
  EXPECT_EQ(State(), 1);
  EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
}

TEST_F(StoryMenuSceneTest, ANewStorysListOpensOnTheFirstSlotAndAFailedSaveChangesNothing) {
  std::filesystem::remove_all(m_Folder / "user_data" / "story");
  WriteTextFile(m_Folder / "user_data" / "story", "not a folder");
  Open(ENTRY_SAVE);
  m_Harness.Frame();
  EXPECT_EQ(g_MenuCursor.Current()->nRow, 0);
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(g_SaveData.m_nSaveSlot, -1);
  EXPECT_EQ(g_SaveSlots[0].m_bUsed, 0);
  EXPECT_EQ(m_Harness.sounds, (std::vector<int>{1, 3}));
  EXPECT_NE(ReadTextFile(m_Folder / "Report_Game.txt").find("Story01.dat"), std::string::npos);
}

TEST_F(StoryMenuSceneTest, AutoSaveOnSavesAtOnceAndWithoutASlotOnlyTellsSo) {
  Open(ENTRY_AUTO_SAVE);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);  // closes the message
  EXPECT_EQ(State(), 1);
  EXPECT_EQ(g_SaveData.m_bAutoSave, 0);
  EXPECT_EQ(m_Harness.sounds, (std::vector<int>{1}));

  g_SaveData.m_nSaveSlot = 2;
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Frame();
  EXPECT_EQ(g_MenuCursor.Current()->nRow, 1);  // off
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(g_SaveData.m_bAutoSave, 1);
  cSaveData saved;
  ASSERT_EQ(saved.LoadStory(2), 1);
  EXPECT_EQ(saved.m_bAutoSave, 1);
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Frame();
  EXPECT_EQ(g_MenuCursor.Current()->nRow, 0);  // on
  m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(g_SaveData.m_bAutoSave, 0);
}

}  // namespace
