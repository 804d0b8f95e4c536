// The world map driven frame by frame: walking (edges, walls, chips,
// points whose events are all disabled), stage entries opened by the decide
// button or by stepping on them, the yes/no prompt and where it leaves the
// hero, the automatic entry as the map opens, the progress a stage starts
// with, auto-saving after a stage, the ranking keys, and stage files that
// cannot be read.
#include "scenes/front_end/world_map_scene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/report.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/image_table.h"
#include "model/stage/stage.h"
#include "model/user/ranking.h"
#include "platform/files.h"
#include "platform/video/pixel_buffer.h"
#include "support/front_end_harness.h"
#include "support/front_end_pictures.h"
#include "support/ranking_keys.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"

namespace {

constexpr int kFadeFrames = 10;
constexpr int kOpenChip = 5, kBlockedChip = 0;

// The test map: open ground everywhere (20 x 15) but a blocked chip at
// (5, 6), and these points.
constexpr int kWallX = 4, kWallY = 7;                  // a wall event on open ground
constexpr int kOrdinaryX = 6, kOrdinaryY = 7;          // its only event is disabled
constexpr int kClosedChipX = 5, kClosedChipY = 6;      // disabled event on the blocked chip
constexpr int kManualX = 5, kManualY = 8;              // stage "one", decide only, switch 1
constexpr int kAutomaticX = 7, kAutomaticY = 7;        // stage "two", stepped on, switch 2
constexpr int kMissingX = 9, kMissingY = 7;            // a stage file that is not there, switch 3
constexpr int kManualPoint = 3;                        // index of the manual entry's point

cEdMapEvent StageEntry(int nSwitch, int bManual, const char* file) {
  cEdMapEvent event;
  event.m_nKind = cEdMapEvent::KIND_STAGE;
  event.m_nStage = nSwitch;
  event.m_bManual = bManual;
  event.m_strCaption = "STAGE";
  event.m_strStageFile = file;
  return event;
}

cEdMapPoint Point(int x, int y, cEdMapEvent event) {
  cEdMapPoint point;
  point.m_nX = x;
  point.m_nY = y;
  point.m_vEvents = {event};
  return point;
}

cEdWorldMap TestMap() {
  cEdWorldMap map;
  map.m_vGrid.assign(map.m_vGrid.size(), kOpenChip);
  map.m_vGrid[static_cast<std::size_t>(map.GridIndex(kClosedChipX, kClosedChipY))] = kBlockedChip;
  cEdMapEvent wall;
  wall.m_nKind = cEdMapEvent::KIND_BLOCKED;
  cEdMapEvent disabled = StageEntry(9, 0, "data\\stg4\\one.stg4_000");
  disabled.m_nFlag = 50;
  map.m_vPoints = {Point(kWallX, kWallY, wall), Point(kOrdinaryX, kOrdinaryY, disabled),
                   Point(kClosedChipX, kClosedChipY, disabled),
                   Point(kManualX, kManualY, StageEntry(1, 1, "data\\stg4\\one.stg4_000")),
                   Point(kAutomaticX, kAutomaticY, StageEntry(2, 0, "data\\stg4\\two.stg4_000")),
                   Point(kMissingX, kMissingY, StageEntry(3, 0, "data\\stg4\\missing.stg4_000"))};
  return map;
}

class WorldMapSceneTest : public testing::Test {
 protected:
  explicit WorldMapSceneTest(const GraphicsMode& mode = kGraphicsModes[3]) : m_Harness(mode) {}
  void SetUp() override {
    ASSERT_TRUE(m_Harness.Started());
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    WriteFrontEndPictures(m_Folder.path());
    std::filesystem::create_directories(m_Folder / "user_data" / "story");
    std::filesystem::create_directories(m_Folder / "data" / "stg4");
    for (const char* name : {"one.stg4_000", "two.stg4_000"})
      ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "data" / "stg4" / name, MakeTestStage().SaveBytes()));
    RegisterWorldMapScene();
    g_SaveSlots.assign(STORY_SLOT_COUNT, cSaveSlot());
    g_WorldMap = TestMap();
  }
  void TearDown() override {
    g_WorldMap = cEdWorldMap();
    g_RankingSet.Reset();
  }

  // The map opens with the hero on (x, y), coming from `from`, and fades in.
  void Open(int x, int y, int from = SCENE_STORYMENU) {
    g_SaveData.m_nMapX = x;
    g_SaveData.m_nMapY = y;
    g_SceneManager.m_nPrevScene = from;
    m_Harness.Start(SCENE_WORLDMAP);
    m_Harness.Idle(kFadeFrames);
  }
  cWorldMapScene& Map() { return *static_cast<cWorldMapScene*>(g_SceneManager.Scene(SCENE_WORLDMAP)); }
  int State() { return Map().m_nState; }
  static CURSORPOS Hero() { return *g_MenuCursor.Current(); }
  static std::pair<int, int> Cell() { return {Hero().nCol, Hero().nRow}; }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  FrontEndHarness m_Harness;
  ScopedMessageBoxes& m_Boxes = m_Harness.Device().Boxes();
};

class WorldMapSceneOnDirect3D : public WorldMapSceneTest {
 protected:
  WorldMapSceneOnDirect3D() : WorldMapSceneTest(GraphicsModeNamed("D3D32")) {}
  static std::vector<std::uint32_t> Screen() {
    return platform::ToXrgb(g_sdBackBuffer.lpDT->lpSurface->Pixels(), nullptr);
  }
};

TEST_F(WorldMapSceneTest, TheHeroWalksOneCellAKeyAndNotOntoWallsBlockedChipsOrOffTheMap) {
  struct Case {
    const char* what;
    int x, y, keys;
    int toX, toY, facing;
  };
  const Case cases[] = {
      {"right onto a point whose events are disabled", 5, 7, CURSOR_RIGHT, kOrdinaryX, kOrdinaryY, FACING_RIGHT},
      {"left against a wall event", 5, 7, CURSOR_LEFT, 5, 7, FACING_LEFT},
      {"up against a blocked chip", 5, 7, CURSOR_UP, 5, 7, FACING_UP},
      {"left at the left edge", 0, 3, CURSOR_LEFT, 0, 3, FACING_LEFT},
      {"up at the top edge", 2, 0, CURSOR_UP, 2, 0, FACING_UP},
      {"down at the bottom edge", 2, 14, CURSOR_DOWN, 2, 14, FACING_DOWN},
      {"right at the right edge", 19, 2, CURSOR_RIGHT, 19, 2, FACING_RIGHT},
      {"left wins over right and up", 12, 12, CURSOR_LEFT | CURSOR_RIGHT | CURSOR_UP, 11, 12, FACING_LEFT},
      {"up wins over down", 12, 12, CURSOR_UP | CURSOR_DOWN, 12, 11, FACING_UP},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open(c.x, c.y);
    ASSERT_EQ(State(), 1);
    m_Harness.Press(c.keys);
    EXPECT_EQ(Cell(), std::make_pair(c.toX, c.toY));
    EXPECT_EQ(Map().m_nFacing, c.facing);
    EXPECT_EQ(Hero().nX, cWorldMapScene::kHeroX);
    EXPECT_EQ(Hero().nY, cWorldMapScene::kHeroY);
    EXPECT_EQ(Map().m_nViewX, c.toX - 9);
    EXPECT_EQ(Map().m_nViewY, c.toY - 7);
    // The cell before the step is kept for a stage given up.
    EXPECT_EQ(std::make_pair(g_SaveData.m_nMapReturnX, g_SaveData.m_nMapReturnY), std::make_pair(c.x, c.y));
    EXPECT_EQ(State(), 1);
  }
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(WorldMapSceneTest, AManualEntryOpensItsPromptOnDecideAndNoKeepsTheHeroOnIt) {
  Open(kManualX, kManualY - 1);
  m_Harness.Press(CURSOR_DOWN);
  EXPECT_EQ(State(), 1);  // waits for the decide button
  EXPECT_EQ(g_SaveData.m_strStagePath, "data\\stg4\\one.");
  m_Harness.sounds.clear();

  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(State(), 2);
  EXPECT_EQ(g_MenuCursor.Stack().size(), 2u);
  EXPECT_EQ(Hero().nRow, 1);  // the prompt starts on "do not"
  EXPECT_EQ(std::make_pair(g_SaveData.m_nMapX, g_SaveData.m_nMapY), std::make_pair(kManualX, kManualY));
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(State(), 1);
  EXPECT_EQ(Cell(), std::make_pair(kManualX, kManualY));
  EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
  EXPECT_EQ(m_Harness.sounds, (std::vector<int>{1, 1}));

  // The prompt again; cancel closes it the same way.
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Press(0, MENU_CANCEL);
  EXPECT_EQ(State(), 1);
  EXPECT_EQ(Cell(), std::make_pair(kManualX, kManualY));
  EXPECT_EQ(g_SceneManager.m_nScene, SCENE_WORLDMAP);
}

TEST_F(WorldMapSceneTest, YesStartsTheStageWithItsProgress) {
  struct Case {
    int keepLives, infinite, lives;
    int startLives;
  };
  const Case cases[] = {
      {1, 1, 3, UNLIMITED_LIVES},
      {1, 0, 3, 4},  // the lives left and the one being played
      {0, 0, 3, 5},  // the story's start lives
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "keep " << c.keepLives << " infinite " << c.infinite);
    g_SystemData.m_bKeepLives = c.keepLives;
    g_SystemData.m_vInfiniteLives.at(PLAY_STORY) = c.infinite;
    g_SystemData.m_vStartLives.at(PLAY_STORY) = 5;
    g_SaveData.m_nLives = c.lives;
    g_SaveData.m_nSeriesNo = 7;
    Open(kManualX, kManualY - 1);
    m_Harness.Press(CURSOR_DOWN);
    m_Harness.Press(0, MENU_DECIDE);
    m_Harness.Press(CURSOR_UP);
    m_Harness.Press(0, MENU_DECIDE);
    EXPECT_EQ(State(), 3);
    EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STAGE);
    EXPECT_EQ(g_SceneManager.m_nPrevScene, SCENE_WORLDMAP);
    EXPECT_EQ(g_SaveData.m_strStagePath, "data\\stg4\\one.");
    EXPECT_EQ(g_SaveData.m_nStageNo, 1);
    EXPECT_EQ(g_SaveData.m_nSeriesNo, 1);
    EXPECT_EQ(g_SaveData.m_nStartLives, c.startLives);
    EXPECT_EQ(g_SaveData.m_nMapEntry, kManualPoint);
    EXPECT_EQ(g_SaveData.m_nMapPoint, FACING_DOWN);
    EXPECT_EQ(std::make_pair(g_SaveData.m_nMapX, g_SaveData.m_nMapY), std::make_pair(kManualX, kManualY));
    EXPECT_EQ(g_LoadedStage.m_strName, MakeTestStage().m_strName);
    EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
  }
}

TEST_F(WorldMapSceneTest, AClearedEntryIgnoresDecideUnlessItMayBePlayedAgain) {
  g_SaveData.m_vSwitches[1] = 1;
  Open(kManualX, kManualY);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(State(), 1);

  g_WorldMap.m_vPoints[kManualPoint].m_vEvents[0].m_bReplayable = 1;
  Open(kManualX, kManualY);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(State(), 2);
}

TEST_F(WorldMapSceneTest, SteppingOnAnEntryOpensThePromptAtOnceAndNoStepsBack) {
  Open(kAutomaticX - 1, kAutomaticY);
  m_Harness.Frame(CURSOR_RIGHT);
  EXPECT_EQ(State(), 2);
  EXPECT_EQ(Cell().first, 0);  // the prompt's cursor
  m_Harness.Frame();
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    m_Harness.Press(0, MENU_DECIDE);  // "do not"
    EXPECT_EQ(State(), 1);
    EXPECT_EQ(Cell(), std::make_pair(kAutomaticX - 1, kAutomaticY));
    // The prompt's cursor is gone from the stack, not left under the hero.
    EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
    m_Harness.Idle(2);
    EXPECT_EQ(State(), 1);
    m_Harness.Frame(CURSOR_RIGHT);
    EXPECT_EQ(State(), 2);
    m_Harness.Frame();
  }
}

TEST_F(WorldMapSceneTest, AnUnclearedEntryUnderTheHeroStartsAsTheMapOpensExceptFromTheStoryMenu) {
  struct Case {
    const char* what;
    int x, y, from, cleared;
    int state;  // once the fade has ended
  };
  const Case cases[] = {
      {"automatic entry from the title", kAutomaticX, kAutomaticY, SCENE_TITLE, 0, 3},
      {"manual entry back from a stage", kManualX, kManualY, SCENE_STAGE, 0, 3},
      {"cleared entry", kManualX, kManualY, SCENE_TITLE, 1, 1},
      {"from the story menu", kManualX, kManualY, SCENE_STORYMENU, 0, 1},
      // The entry that does not wait prompts in the first frame of the map.
      {"automatic entry from the story menu", kAutomaticX, kAutomaticY, SCENE_STORYMENU, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_SaveData.m_vSwitches[1] = g_SaveData.m_vSwitches[2] = c.cleared;
    Open(c.x, c.y, c.from);
    m_Harness.Frame();
    EXPECT_EQ(State(), c.state);
    if (c.state == 3) {
      EXPECT_EQ(g_SceneManager.m_nNextScene, SCENE_STAGE);
      EXPECT_EQ(std::make_pair(g_SaveData.m_nMapReturnX, g_SaveData.m_nMapReturnY), std::make_pair(c.x, c.y));
    }
  }
}

TEST_F(WorldMapSceneTest, BackFromAStageGivenUpTheHeroStepsOffItsEntry) {
  struct Case {
    int cleared;
    std::pair<int, int> cell;
  };
  for (const Case& c : {Case{0, {kAutomaticX - 1, kAutomaticY}}, Case{1, {kAutomaticX, kAutomaticY}}}) {
    SCOPED_TRACE(c.cleared);
    g_SaveData.m_vSwitches[2] = c.cleared;
    g_SaveData.m_bGaveUp = 1;
    g_SaveData.m_nMapReturnX = kAutomaticX - 1;
    g_SaveData.m_nMapReturnY = kAutomaticY;
    Open(kAutomaticX, kAutomaticY, SCENE_STAGE);
    EXPECT_EQ(g_SaveData.m_bGaveUp, 0);
    EXPECT_EQ(Cell(), c.cell);
    EXPECT_EQ(Map().m_nViewX, c.cell.first - 9);
  }
}

TEST_F(WorldMapSceneTest, AStageFileThatCannotBeReadKeepsThePromptClosableOrEndsAnAutomaticEntry) {
  Open(kMissingX - 1, kMissingY);
  m_Harness.Frame(CURSOR_RIGHT);
  m_Harness.Frame();  // loads
  ASSERT_EQ(m_Boxes.Shown().size(), 1u);
  EXPECT_NE(m_Boxes.Shown()[0].text.find("data\\stg4\\missing.stg4_000"), std::string::npos);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);  // yes, but there is no stage
  EXPECT_EQ(State(), 1);
  EXPECT_EQ(Cell(), std::make_pair(kMissingX - 1, kMissingY));
  EXPECT_EQ(CloseRequestCount(), 0);

  Open(kMissingX, kMissingY, SCENE_TITLE);
  m_Harness.Frame();
  EXPECT_EQ(m_Boxes.Shown().size(), 2u);
  EXPECT_EQ(CloseRequestCount(), 1);
  EXPECT_EQ(g_SceneManager.m_nScene, SCENE_WORLDMAP);
}

TEST_F(WorldMapSceneTest, BackFromAStageTheProgressIsAutoSavedIntoTheSlotInUse) {
  struct Case {
    int autoSave, slot, from;
    bool saved;
  };
  const Case cases[] = {
      {1, 2, SCENE_STAGE, true},
      {0, 2, SCENE_STAGE, false},
      {1, 2, SCENE_STORYMENU, false},
      {1, -1, SCENE_STAGE, false},  // no slot yet: nothing, and no error
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.autoSave << " " << c.slot << " " << c.from);
    std::filesystem::remove(m_Folder / "user_data" / "story" / "Story03.dat");
    g_SaveData.m_bAutoSave = c.autoSave;
    g_SaveData.m_nSaveSlot = c.slot;
    Open(3, 3, c.from);
    EXPECT_EQ(std::filesystem::exists(m_Folder / "user_data" / "story" / "Story03.dat"), c.saved);
    if (!c.saved) continue;
    cSaveData saved;
    ASSERT_EQ(saved.LoadStory(2), 1);
    EXPECT_EQ(std::make_pair(saved.m_nMapX, saved.m_nMapY), std::make_pair(3, 3));
  }
  EXPECT_TRUE(m_Boxes.Shown().empty());
}

TEST_F(WorldMapSceneTest, CancelOpensTheStoryMenuWithThePositionKept) {
  Open(12, 9);
  m_Harness.Press(CURSOR_LEFT);
  m_Harness.sounds.clear();
  m_Harness.Press(0, MENU_CANCEL);
  EXPECT_EQ(m_Harness.sounds, std::vector<int>{4});
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_STORYMENU);
  EXPECT_EQ(g_SceneManager.m_nPrevScene, SCENE_WORLDMAP);
  EXPECT_EQ(std::make_pair(g_SaveData.m_nMapX, g_SaveData.m_nMapY), std::make_pair(11, 9));
  EXPECT_EQ(g_SaveData.m_nMapPoint, FACING_LEFT);
  EXPECT_EQ(m_Harness.music, std::vector<int>{BGMREQ_MAP});
}

TEST_F(WorldMapSceneTest, OnAnEntryTheRankingKeysShowTheStagesRankingAndStepItsKind) {
  ASSERT_NO_FATAL_FAILURE(StoreStageRanking(PLAY_STORY, {1, 0, 1, 0, 0}, "data\\stg4\\one."));

  Open(kManualX, kManualY - 1);
  m_Harness.Press(0, MENU_RANKING_SHOW);  // off an entry: nothing
  EXPECT_EQ(g_SaveData.m_bShowRanking, 0);
  m_Harness.Press(CURSOR_DOWN);
  EXPECT_EQ(g_RankingSet.m_vLists[0].m_vEntries[0].m_strName, kStoredRankingName);
  ExpectRankingKeysShowAndStepTheKind(m_Harness, PLAY_STORY, 2);
}

TEST_F(WorldMapSceneTest, TheHeroShowsEachOfItsTwoPicturesForFortyFrames) {
  Open(12, 12);
  // The colour at the hero's centre, frame by frame, as runs of equal colours.
  std::vector<std::pair<std::uint32_t, int>> runs;
  for (int frame = 0; frame < 200; ++frame) {
    m_Harness.Frame();
    const std::vector<std::uint32_t> xrgb = platform::ToXrgb(g_sdBackBuffer.lpDDraw->lpDDS->Pixels(), nullptr);
    const std::uint32_t colour =
        xrgb.at(static_cast<std::size_t>(640 * (cWorldMapScene::kHeroY + 16) + cWorldMapScene::kHeroX + 16));
    if (runs.empty() || runs.back().first != colour) runs.push_back({colour, 0});
    ++runs.back().second;
  }
  ASSERT_GE(runs.size(), 4u);
  EXPECT_NE(runs[1].first, runs[2].first);
  EXPECT_EQ(runs[1].first, runs[3].first);
  for (std::size_t i = 1; i + 1 < runs.size(); ++i) EXPECT_EQ(runs[i].second, cWorldMapScene::kHeroFrameLength) << i;
}

TEST_F(WorldMapSceneOnDirect3D, TheMapIsDrawnAgainWhenADeviceRecoveryMadeItsSurfaceEmpty) {
  Open(12, 12);
  m_Harness.Frame();
  const std::vector<std::uint32_t> before = Screen();
  DDSURFACEDATA& map = g_SurfaceTable[IMAGE_WORLD_MAP];
  ASSERT_NE(map.lpDT, nullptr);
  DDFillRectPal(&map, 0, 0, 640, 480, 16);
  map.lpDT->bRecreated = 1;
  m_Harness.Frame();
  EXPECT_EQ(map.lpDT->bRecreated, 0);
  EXPECT_EQ(Screen(), before);
}

}  // namespace
