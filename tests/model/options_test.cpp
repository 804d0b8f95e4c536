// The player's options and launcher choice: file layouts, values out of
// range, stepping, and files written and kept safely.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "model/user/options.h"
#include "platform/files.h"
#include "support/byte_builder.h"
#include "support/temp_folder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
};

Bytes OptionFile(std::int32_t palette, std::int32_t bgm, std::int32_t volume, std::int32_t mode,
                 const char* name) {
  ByteBuilder b;
  b.U32(DATA_VERSION).Ints({palette, bgm, volume, mode}).Strings({name});
  return b.Get();
}

TEST_F(OptionsTest, FirstStartDefaults) {
  const cOptionData options;
  EXPECT_EQ(options.m_nPalette, 0);
  EXPECT_FALSE(options.MusicOn());
  EXPECT_EQ(options.SoundVolume(), -10000);  // step 0 is silent
  EXPECT_EQ(options.RankingMode(), RANKING_MANUAL_ENTER_NAME);
  EXPECT_EQ(options.m_strName, "aaa");

  const cBootData boot;
  EXPECT_EQ(boot.m_nRenderer, 1);
  EXPECT_EQ(boot.m_bNoLauncher, 0);
  EXPECT_TRUE(boot.UsesDirect3D());
}

TEST_F(OptionsTest, FileLayouts) {
  cOptionData options;
  options.m_nPalette = 7;
  options.m_bBgm = 1;
  options.m_nVolume = 9;
  options.m_nRankingMode = 3;
  options.m_strName = "名前";
  const Bytes optionFile = OptionFile(7, 1, 9, 3, "名前");
  EXPECT_EQ(options.SaveBytes(), optionFile);
  cOptionData loaded;
  ASSERT_TRUE(loaded.LoadBytes(optionFile));
  EXPECT_EQ(loaded.SaveBytes(), optionFile);

  // Renderer 0 and no launcher: DirectDraw without asking.
  ByteBuilder bootFile;
  bootFile.U32(DATA_VERSION).Ints({0, 1}).Strings({});
  cBootData boot;
  ASSERT_TRUE(boot.LoadBytes(bootFile.Get()));
  EXPECT_FALSE(boot.UsesDirect3D());
  EXPECT_EQ(boot.m_bNoLauncher, 1);
  EXPECT_EQ(boot.SaveBytes(), bootFile.Get());
}

TEST_F(OptionsTest, ValuesOutOfRangeAreKeptButUsedWithinTheirTables) {
  struct cCase {
    std::int32_t palette, bgm, volume, mode;
    int palette_used;
    bool music;
    int volume_used, mode_used;
  };
  const cCase cases[] = {
      {23, 1, 10, 3, 23, true, 10, 3},
      {24, 2, 11, 4, 23, true, 10, 3},
      {-1, -1, -3, -7, 0, true, 0, 0},
      {1000000, 0, 1 << 30, 1 << 30, 23, false, 10, 3},
  };
  for (const cCase& c : cases) {
    cOptionData options;
    ASSERT_TRUE(options.LoadBytes(OptionFile(c.palette, c.bgm, c.volume, c.mode, "x")));
    EXPECT_EQ(options.m_nVolume, c.volume);  // as read
    EXPECT_EQ(options.PaletteNumber(), c.palette_used);
    EXPECT_EQ(options.MusicOn(), c.music);
    EXPECT_EQ(options.VolumeStep(), c.volume_used);
    EXPECT_EQ(options.SoundVolume(), g_anSoundVolume[static_cast<std::size_t>(c.volume_used)]);
    EXPECT_EQ(options.RankingMode(), c.mode_used);
    EXPECT_STREQ(options.RankingModeLabel(), g_astrRankingMode[static_cast<std::size_t>(c.mode_used)]);
  }
  EXPECT_EQ(g_anSoundVolume[5], -500);
  EXPECT_EQ(g_anSoundVolume[10], 0);
  EXPECT_STREQ(g_astrRankingMode[0], "手動登録（登録名入力）");
  EXPECT_STREQ(g_astrRankingMode[3], "自動登録（登録名固定）");
}

TEST_F(OptionsTest, SteppingWrapsAtTheEndsOfEachRange) {
  struct cCase {
    void (cOptionData::*step)(int);
    std::int32_t cOptionData::*value;
    std::int32_t from;
    int delta;
    std::int32_t to;
  };
  const cCase cases[] = {
      {&cOptionData::StepPalette, &cOptionData::m_nPalette, 0, -1, 23},
      {&cOptionData::StepPalette, &cOptionData::m_nPalette, 23, 1, 0},
      {&cOptionData::StepPalette, &cOptionData::m_nPalette, 5, 1, 6},
      {&cOptionData::StepVolume, &cOptionData::m_nVolume, 10, 1, 0},
      {&cOptionData::StepVolume, &cOptionData::m_nVolume, 0, -1, 10},
      {&cOptionData::StepVolume, &cOptionData::m_nVolume, 11, 1, 0},  // a damaged value steps from 10
      {&cOptionData::StepRankingMode, &cOptionData::m_nRankingMode, 3, 1, 0},
      {&cOptionData::StepRankingMode, &cOptionData::m_nRankingMode, 0, -1, 3},
      {&cOptionData::StepMusic, &cOptionData::m_bBgm, 0, 1, 1},
      {&cOptionData::StepMusic, &cOptionData::m_bBgm, 1, 1, 0},
      {&cOptionData::StepMusic, &cOptionData::m_bBgm, 5, -1, 0},
  };
  for (const cCase& c : cases) {
    cOptionData options;
    options.*c.value = c.from;
    (options.*c.step)(c.delta);
    EXPECT_EQ(options.*c.value, c.to) << c.from << " + " << c.delta;
  }
}

ssize_t FailingWrite(int, const void*, std::size_t) {
  errno = ENOSPC;
  return -1;
}

TEST_F(OptionsTest, FilesAreWrittenWholeOrNotAtAll) {
  TempFolder folder;
  ScopedCurrentFolder enter(folder.path());
  std::filesystem::create_directory(folder / "user_data");
  const char* optionPath = "user_data\\Option.dat";
  const char* bootPath = "user_data\\Boot.dat";

  // Missing files leave the defaults.
  cOptionData options;
  cBootData boot;
  EXPECT_EQ(options.LoadFile(optionPath), 0);
  EXPECT_EQ(boot.LoadFile(bootPath), 0);
  EXPECT_EQ(options.m_strName, "aaa");
  EXPECT_EQ(boot.m_nRenderer, 1);

  options.m_nVolume = 6;
  options.m_strName = "abc";
  boot.m_nRenderer = 0;
  boot.m_bNoLauncher = 1;
  ASSERT_EQ(options.SaveFile(optionPath), 1);
  ASSERT_EQ(boot.SaveFile(bootPath), 1);
  cOptionData optionsBack;
  cBootData bootBack;
  ASSERT_EQ(optionsBack.LoadFile(optionPath), 1);
  ASSERT_EQ(bootBack.LoadFile(bootPath), 1);
  EXPECT_EQ(optionsBack.SaveBytes(), options.SaveBytes());
  EXPECT_EQ(bootBack.SaveBytes(), boot.SaveBytes());

  // A write that fails reports failure and leaves the old files.
  std::vector<std::uint8_t> optionBefore, bootBefore, after;
  ASSERT_TRUE(platform::ReadWholeFile(folder / "user_data" / "Option.dat", optionBefore));
  ASSERT_TRUE(platform::ReadWholeFile(folder / "user_data" / "Boot.dat", bootBefore));
  options.m_nVolume = 1;
  boot.m_nRenderer = 1;
  const platform::WriteFunction previous = platform::SetWriteFunctionForTests(FailingWrite);
  EXPECT_EQ(options.SaveFile(optionPath), 0);
  EXPECT_EQ(boot.SaveFile(bootPath), 0);
  platform::SetWriteFunctionForTests(previous);
  ASSERT_TRUE(platform::ReadWholeFile(folder / "user_data" / "Option.dat", after));
  EXPECT_EQ(after, optionBefore);
  ASSERT_TRUE(platform::ReadWholeFile(folder / "user_data" / "Boot.dat", after));
  EXPECT_EQ(after, bootBefore);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "user_data"),
                          std::filesystem::directory_iterator()),
            2);

  // A damaged file is refused and the options stay as they were.
  WriteTextFile(folder / "user_data" / "Option.dat", std::string_view("\x36\x02\0\0\x04\0\0\0\x01", 9));
  EXPECT_EQ(optionsBack.LoadFile(optionPath), 0);
  EXPECT_EQ(optionsBack.m_nVolume, 6);
}

}  // namespace
