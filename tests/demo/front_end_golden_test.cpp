// The title, the options, the story menu, the world map and the stage list
// of the demo project at 32 bits, compared with golden pictures: the title
// menu drawn from the game-mode picture and as text, the save-slot list,
// the options list and a value being edited, the story menu and its save
// prompt, the world map with the hero on a stage entry (caption, best
// score, ranking, lives) and its prompt, the stage list with cleared stages
// and best scores, and with the ranking of the stage under the cursor.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "graphics/font.h"
#include "graphics/palette_file.h"
#include "model/stage/stage.h"
#include "model/user/ranking.h"
#include "model/user/save_data.h"
#include "platform/files.h"
#include "scenes/front_end/option_scene.h"
#include "scenes/front_end/stage_select_scene.h"
#include "scenes/front_end/story_menu_scene.h"
#include "scenes/front_end/title_scene.h"
#include "scenes/front_end/world_map_scene.h"
#include "support/front_end_harness.h"
#include "support/golden_image.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"
#include "support/text_fonts.h"
#include "tools/make-demo/demo_images.h"
#include "tools/make-demo/demo_world_map.h"

namespace {

constexpr int kFadeFrames = 10;

GoldenImage BackBufferPicture() {
  const platform::PixelBuffer& pixels =
      g_lpD3DState ? g_sdBackBuffer.lpDT->lpSurface->Pixels() : g_sdBackBuffer.lpDDraw->lpDDS->Pixels();
  const platform::PALETTEENTRY* palette = g_lpD3DState ? nullptr : g_lpDDPalette->Entries();
  GoldenImage image(640, 480);
  const std::vector<std::uint32_t> xrgb = platform::ToXrgb(pixels, palette);
  for (std::size_t i = 0; i < image.pixels.size() && i < xrgb.size(); ++i) image.pixels[i] = xrgb[i] & 0xFFFFFF;
  return image;
}

class FrontEndGolden : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(demo::WriteDemoImages(m_Folder.path(), error)) << error;
    ASSERT_TRUE(m_Harness.Started());
    ASSERT_TRUE(DDLoadPaletteFromFile(&g_palCurrent, "bmp\\plt\\Palette.bmp"));
    g_palOriginal = g_palCurrent;
    ASSERT_TRUE(DDSetTransmitFromFile("bmp\\plt\\Palette.bmp"));
    DDCreateFonts(g_Font, g_FontData, 3);
    RegisterTitleScene();
    RegisterOptionScene();
    RegisterStoryMenuScene();
    RegisterWorldMapScene();
    RegisterStageSelectScene();
  }
  void TearDown() override {
    g_SceneManager.DeleteAllScenes();
    g_WorldMap = cEdWorldMap();
    g_RankingSet.Reset();
    for (Font& font : g_Font) font.Destroy();
    g_listFont.clear();
    g_SaveSlots.assign(STORY_SLOT_COUNT, cSaveSlot());
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  FrontEndHarness m_Harness{kGraphicsModes[3]};  // DirectDraw 32
};

TEST_F(FrontEndGolden, TitleMenuFromTheGameModePicture) {
  g_SystemData.m_bTitlePicture = 1;
  g_SystemData.m_vTitleItems[TITLE_CHALLENGE].m_bEnabled = 0;
  m_Harness.Idle(kFadeFrames);
  m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(CURSOR_DOWN);
  EXPECT_TRUE(MatchesGolden(BackBufferPicture(), "scenes/title_picture_DD32"));
}

TEST_F(FrontEndGolden, TitleMenuAsTextAndTheSaveSlots) {
  REQUIRE_IPA_FONTS();
  g_SystemData.m_bTitlePicture = 0;
  m_Harness.Idle(kFadeFrames);
  m_Harness.Press(CURSOR_UP);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(), "scenes/title_text_DD32");

  std::filesystem::create_directories(m_Folder / "user_data" / "story");
  cSaveData saved;
  saved.m_stSaved.wYear = 2026;
  saved.m_stSaved.wMonth = 12;
  saved.m_stSaved.wDay = 11;
  saved.m_stSaved.wHour = 1;
  saved.m_stSaved.wMinute = 30;
  for (int slot : {1, 12}) ASSERT_EQ(saved.SaveFile(BuildStoryFilePath(slot).c_str()), 1);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(CURSOR_UP);  // continue
  m_Harness.Press(0, MENU_DECIDE);
  for (int i = 0; i < 12; ++i) m_Harness.Press(CURSOR_DOWN);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(), "scenes/title_slots_DD32");
}

TEST_F(FrontEndGolden, OptionsListAndAValueBeingEdited) {
  REQUIRE_IPA_FONTS();
  // A project's list names all six rows (the defaults have no palette text).
  g_SystemData.m_vOptionItems.resize(OPTION_ITEM_COUNT);
  const char* texts[] = {"パレット", "BGM", "SE", "ランキング登録", "ランキング登録名", "もどる"};
  for (int i = 0; i < OPTION_ITEM_COUNT; ++i) g_SystemData.m_vOptionItems[static_cast<std::size_t>(i)].m_strText = texts[i];
  g_OptionData.m_nVolume = 7;
  g_OptionData.m_nRankingMode = 2;
  g_OptionData.m_strName = "ABC";
  m_Harness.Start(SCENE_OPTION);
  m_Harness.Idle(kFadeFrames);
  m_Harness.Press(CURSOR_DOWN);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(), "scenes/options_DD32");
  m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Press(CURSOR_UP);  // volume 8
  EXPECT_TEXT_GOLDEN(BackBufferPicture(), "scenes/options_editing_DD32");
}

TEST_F(FrontEndGolden, StoryMenuWithTheTotalScoreAndTheSavePrompt) {
  REQUIRE_IPA_FONTS();
  g_SaveData.m_nBestTotal = 12345;
  g_SaveData.m_nSaveSlot = 2;
  m_Harness.Start(SCENE_STORYMENU);
  m_Harness.Idle(kFadeFrames);
  m_Harness.Press(CURSOR_DOWN);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(), "scenes/story_menu_DD32");
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(), "scenes/story_menu_save_DD32");
}

// Rankings of the stage keyed `stage` in the play mode: three scores.
void WriteRanking(int nPlayMode, const std::string& stage) {
  const char* folder = nPlayMode == PLAY_STORY ? "story" : "challenge";
  std::filesystem::create_directories(std::filesystem::path("user_data") / folder);
  cRankingSet ranking;
  ranking.m_vLists[RANKING_SCORE].Insert("ABC", 12000);
  ranking.m_vLists[RANKING_SCORE].Insert("XYZ", 8500);
  ranking.m_vLists[RANKING_SCORE].Insert("aaa", 300);
  std::string path;
  ASSERT_EQ(MakeRankingPath(path, nPlayMode, stage), 1);
  ASSERT_EQ(ranking.SaveFile(path.c_str()), 1);
}

TEST_F(FrontEndGolden, WorldMapWithTheHeroOnAStageEntryAndItsPrompt) {
  REQUIRE_IPA_FONTS();
  g_WorldMap = demo::DemoWorldMap();
  std::filesystem::create_directories(m_Folder / "data" / "stg4");
  ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "data" / "stg4" / "story01.stg4_000", MakeTestStage().SaveBytes()));
  g_SystemData.m_vRanking.at(PLAY_STORY).m_bEnabled = 1;
  g_SceneManager.m_nPlayMode = PLAY_STORY;
  g_SceneManager.m_bUseRanking = 1;
  g_SystemData.m_bMapShowLives = 1;
  g_SystemData.m_bMapShowBest = 1;
  WriteRanking(PLAY_STORY, "data\\stg4\\story01.");
  g_SaveData.RecordStageBest("data\\stg4\\story01.", 4321);
  g_SaveData.m_bShowRanking = 1;
  g_SaveData.m_nLives = 3;
  // Beside the first stage.
  g_SaveData.m_nMapX = g_WorldMap.m_vPoints.at(0).m_nX - 1;
  g_SaveData.m_nMapY = g_WorldMap.m_vPoints.at(0).m_nY;
  g_SceneManager.m_nPrevScene = SCENE_STORYMENU;
  m_Harness.Start(SCENE_WORLDMAP);
  m_Harness.Idle(kFadeFrames);
  m_Harness.Press(CURSOR_RIGHT);
  ASSERT_EQ(m_Harness.Scene()->m_nState, 1);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(), "scenes/world_map_DD32");

  g_SaveData.m_nLives = UNLIMITED_LIVES;
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Press(CURSOR_UP);
  ASSERT_EQ(m_Harness.Scene()->m_nState, 2);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(), "scenes/world_map_prompt_DD32");
}

TEST_F(FrontEndGolden, StageListWithClearedStagesAndTheRankingOfTheStageUnderTheCursor) {
  REQUIRE_IPA_FONTS();
  g_SystemData.m_nChallengeStages = 12;
  g_SystemData.m_bChallengeAllOpen = 1;
  g_SystemData.m_bSelectShowBest = 1;
  g_SystemData.m_bSelectShowTotal = 1;
  g_SystemData.m_vRanking.at(PLAY_CHALLENGE).m_bEnabled = 1;
  g_SceneManager.m_nPlayMode = PLAY_CHALLENGE;
  g_SceneManager.m_bUseRanking = 1;
  g_SaveData.m_vChallenge.assign(12, cSaveIntPair());
  for (int n : {0, 1, 3}) {
    g_SaveData.m_vChallenge[static_cast<std::size_t>(n)].m_bCleared = 1;
    g_SaveData.m_vChallenge[static_cast<std::size_t>(n)].m_nBest = 1000 * (n + 1) + 50;
  }
  g_SaveData.m_nBestTotal = 7150;
  WriteRanking(PLAY_CHALLENGE, "data\\stg4\\c02.");
  m_Harness.Start(SCENE_STAGESELECT);
  m_Harness.Idle(kFadeFrames);
  m_Harness.Press(CURSOR_DOWN);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(), "scenes/stage_select_DD32");
  m_Harness.Press(0, MENU_RANKING_SHOW);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(), "scenes/stage_select_ranking_DD32");
}

}  // namespace
