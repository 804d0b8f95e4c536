// The options scene driven frame by frame: each option stepped, applied and
// written when the scene is left; a cancelled edit puts the value back; the
// volume reaches every buffer of every sound; music is set up again on
// leaving; the name entry; a failed write is reported.
#include "scenes/front_end/option_scene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/report.h"
#include "model/settings/paths.h"
#include "platform/audio/wave_file.h"
#include "shell/sound/bgm.h"
#include "shell/sound/sound_effects.h"
#include "support/front_end_harness.h"
#include "support/front_end_pictures.h"
#include "support/scoped_audio.h"
#include "support/temp_folder.h"

namespace {

constexpr int kFadeFrames = 10;

class OptionSceneTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Harness.Started());
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    WriteFrontEndPictures(m_Folder.path());
    std::filesystem::create_directories(m_Folder / "user_data");
    RegisterOptionScene();
    m_Harness.Start(SCENE_OPTION);
  }
  void TearDown() override { g_Bgm.Release(); }

  void ShowOptions() {
    m_Harness.Idle(kFadeFrames);
    ASSERT_EQ(m_Harness.Scene()->m_nState, 1);
  }
  // Edits the entry on `row`: decide, then the keys, then decide or cancel.
  void Edit(int row, const std::vector<int>& keys, int end) {
    for (int i = 0; i < row; ++i) m_Harness.Press(CURSOR_DOWN);
    m_Harness.Press(0, MENU_DECIDE);
    for (int key : keys) m_Harness.Press(key);
    m_Harness.Press(0, end);
  }
  cOptionScene& Options() { return *static_cast<cOptionScene*>(g_SceneManager.Scene(SCENE_OPTION)); }
  // Option.dat as written.
  cOptionData Written() {
    cOptionData written;
    EXPECT_EQ(written.LoadFile(g_astrFilePath[PATH_OPTION]), 1);
    return written;
  }
  int Leave() {
    m_Harness.Press(0, MENU_CANCEL);
    return m_Harness.RunUntilSceneChanges();
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  FrontEndHarness m_Harness;
};

struct StepCase {
  int row;
  std::vector<int> keys;
  std::int32_t before;
  std::int32_t after;
  std::int32_t cOptionData::*field;
};

TEST_F(OptionSceneTest, EachOptionIsSteppedWithWrappingAndWrittenOnLeaving) {
  const StepCase cases[] = {
      {OPTION_PALETTE, {CURSOR_DOWN}, 0, 23, &cOptionData::m_nPalette},
      {OPTION_PALETTE, {CURSOR_UP, CURSOR_UP}, 22, 0, &cOptionData::m_nPalette},
      {OPTION_MUSIC, {CURSOR_UP}, 0, 1, &cOptionData::m_bBgm},
      {OPTION_VOLUME, {CURSOR_UP}, 10, 0, &cOptionData::m_nVolume},
      {OPTION_VOLUME, {CURSOR_DOWN, CURSOR_DOWN}, 5, 3, &cOptionData::m_nVolume},
      {OPTION_RANKING_MODE, {CURSOR_DOWN}, 0, 3, &cOptionData::m_nRankingMode},
      {OPTION_VOLUME, {CURSOR_UP}, 40, 0, &cOptionData::m_nVolume},  // a damaged value
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.row);
    g_OptionData = cOptionData();
    g_OptionData.*c.field = c.before;
    m_Harness.Start(SCENE_OPTION);
    m_Harness.sounds.clear();
    m_Harness.music.clear();
    ShowOptions();
    Edit(c.row, c.keys, MENU_DECIDE);
    EXPECT_EQ(g_OptionData.*c.field, c.after);
    EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
    EXPECT_EQ(Leave(), SCENE_TITLE);
    EXPECT_EQ(g_SceneManager.m_nPrevScene, SCENE_OPTION);
    EXPECT_EQ(Written().*c.field, c.after);
    EXPECT_EQ(m_Harness.music, std::vector<int>{BGMREQ_OPTION});
    EXPECT_EQ(m_Harness.sounds, (std::vector<int>{1, 1, 2}));
  }
}

TEST_F(OptionSceneTest, ACancelledEditPutsTheValueBack) {
  g_OptionData.m_nRankingMode = 2;
  ShowOptions();
  Edit(OPTION_RANKING_MODE, {CURSOR_UP}, MENU_CANCEL);
  EXPECT_EQ(g_OptionData.m_nRankingMode, 2);
  EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
  EXPECT_EQ(g_MenuCursor.Current()->nRow, OPTION_RANKING_MODE);
  EXPECT_EQ(m_Harness.Scene()->m_nState, 1);
}

TEST_F(OptionSceneTest, TheVolumeReachesEveryBufferOfEverySoundAndACancelRestoresIt) {
  ScopedAudio audio;
  const std::vector<std::int16_t> samples(100, 1000);
  const auto wave = platform::MakeWaveFile(samples, 22050, 1);
  WriteTextFile(m_Folder / "beep.wav", std::string(wave.begin(), wave.end()));
  ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  g_vSound.resize(2);
  ASSERT_TRUE(DS_LoadSound(&g_vSound[0], "beep.wav", 2, -800));
  ASSERT_TRUE(DS_LoadSound(&g_vSound[1], "beep.wav", 1, -800));
  g_OptionData.m_nVolume = 4;
  const auto volumes = [] {
    return std::vector<int>{DS_GetVolume(&g_vSound[0], 0), DS_GetVolume(&g_vSound[0], 1), DS_GetVolume(&g_vSound[1], 0)};
  };
  ShowOptions();
  for (int i = 0; i < OPTION_VOLUME; ++i) m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(0, MENU_DECIDE);
  m_Harness.Press(CURSOR_UP);
  EXPECT_EQ(volumes(), (std::vector<int>{-500, -500, -500}));
  m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(CURSOR_DOWN);
  EXPECT_EQ(volumes(), (std::vector<int>{-2000, -2000, -2000}));
  m_Harness.Press(0, MENU_CANCEL);
  EXPECT_EQ(volumes(), (std::vector<int>{-800, -800, -800}));
  DS_Release();
  g_vSound.clear();
}

TEST_F(OptionSceneTest, LeavingSetsTheMusicUpOnlyWhenItIsOn) {
  ScopedAudio audio;
  std::vector<std::string> ogg, midi;
  SetDefaultBgmNames(ogg, midi);
  ASSERT_EQ(g_Bgm.Init(1, &ogg, &midi, 5), 1);
  g_OptionData.m_bBgm = 1;
  ShowOptions();
  Edit(OPTION_MUSIC, {CURSOR_UP}, MENU_DECIDE);
  EXPECT_TRUE(g_Bgm.IsInit());  // takes effect only when leaving
  EXPECT_EQ(Leave(), SCENE_TITLE);
  EXPECT_FALSE(g_Bgm.IsInit());

  m_Harness.Start(SCENE_OPTION);
  ShowOptions();
  Edit(OPTION_MUSIC, {CURSOR_DOWN}, MENU_DECIDE);
  EXPECT_EQ(Leave(), SCENE_TITLE);
  EXPECT_TRUE(g_Bgm.IsInit());
  EXPECT_EQ(g_Bgm.SlotKind(4), 0);  // five slots
}

TEST_F(OptionSceneTest, TheNameIsEditedInTheNameEntry) {
  m_Harness.nameEntry = [] { g_OptionData.m_strName = "XYZ"; };
  ShowOptions();
  for (int i = 0; i < OPTION_RANKING_NAME; ++i) m_Harness.Press(CURSOR_DOWN);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(m_Harness.nameEntries, 1);
  EXPECT_EQ(m_Harness.Scene()->m_nState, 1);
  EXPECT_EQ(g_MenuCursor.Stack().size(), 1u);
  EXPECT_EQ(Leave(), SCENE_TITLE);
  EXPECT_EQ(Written().m_strName, "XYZ");
}

// The default list has no back entry: only cancel leaves. A project's list
// with six entries leaves from the sixth; with none enabled the palette
// stands alone.
TEST_F(OptionSceneTest, TheRowsAreTheEnabledEntriesOfTheProjectsList) {
  ShowOptions();
  EXPECT_EQ(Options().m_nItemCount, cSystemData::kOptionItems);
  EXPECT_EQ(Leave(), SCENE_TITLE);

  g_SystemData.m_vOptionItems.resize(OPTION_ITEM_COUNT + 2);  // entries past the six are left out
  g_SystemData.m_vOptionItems[OPTION_MUSIC].m_bEnabled = 0;
  m_Harness.Start(SCENE_OPTION);
  ShowOptions();
  EXPECT_EQ(Options().m_nItemCount, OPTION_ITEM_COUNT - 1);
  m_Harness.Press(CURSOR_UP);
  m_Harness.Press(0, MENU_DECIDE);
  EXPECT_EQ(m_Harness.RunUntilSceneChanges(), SCENE_TITLE);

  for (cEdMenuItem& item : g_SystemData.m_vOptionItems) item.m_bEnabled = 0;
  m_Harness.Start(SCENE_OPTION);
  ShowOptions();
  EXPECT_EQ(Options().m_nItemCount, 1);
  EXPECT_EQ(Options().m_anItem[0], OPTION_PALETTE);
}

TEST_F(OptionSceneTest, AFailedWriteIsReportedAndTheOptionsStay) {
  std::filesystem::remove_all(m_Folder / "user_data");
  WriteTextFile(m_Folder / "user_data", "not a folder");
  ShowOptions();
  Edit(OPTION_PALETTE, {CURSOR_UP}, MENU_DECIDE);
  EXPECT_EQ(Leave(), SCENE_TITLE);
  EXPECT_EQ(g_OptionData.m_nPalette, 1);
  EXPECT_NE(ReadTextFile(m_Folder / "Report_Game.txt").find("Option.dat"), std::string::npos);
}

}  // namespace
