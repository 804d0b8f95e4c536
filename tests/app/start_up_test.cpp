// The start-up decisions that do not need a running player: the screen mode
// from System.ini and the desktop, the transparent colour of a palette or
// full-colour project, the sound table, and the stage file of a direct start.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/start_up.h"
#include "graphics/image_table.h"
#include "model/database/media.h"
#include "model/settings/system_data.h"
#include "platform/files.h"
#include "shell/screen_mode.h"
#include "shell/sound/sound_table.h"
#include "support/bitmap_file_builder.h"
#include "support/graphics_device.h"
#include "support/temp_folder.h"

namespace {

constexpr int kShow = 1;  // the show-window value given to the program

struct ScreenModeCase {
  const char* name;
  int direct3D, windowMode, bpp, vsync;
  int colourMode, desktopBpp;
  // expected
  bool usable;
  int windowed, finalBpp, finalVSync, showCommand;
  const char* errorStart;  // nullptr, or the first words of the box text
};

constexpr const char* kWindowText = "画面モードが不正です！\nウインドウモード";
constexpr const char* kGeneralText = "画面モードが不正です！\nSystem.ini";

const ScreenModeCase kScreenModes[] = {
    {"DirectDrawWindowTakesTheDesktopDepthAndNoVSync", 0, 1, 0, 1, COLOUR_MODE_FULL, 32, true, 1, 32, 0, kShow, nullptr},
    {"WindowAtAnotherDepthThanTheDesktop", 0, 1, 16, 0, COLOUR_MODE_FULL, 32, false, 1, 16, 0, kShow, kWindowText},
    {"Direct3DWindowAtAnotherDepth", 1, 1, 16, 0, COLOUR_MODE_FULL, 32, false, 1, 16, 0, kShow, kWindowText},
    {"Depth24IsRefusedFullScreen", 0, 0, 24, 0, COLOUR_MODE_FULL, 32, false, 0, 24, 0, SW_SHOWMAXIMIZED, kGeneralText},
    {"Depth24IsRefusedInDirect3D", 1, 0, 24, 0, COLOUR_MODE_FULL, 32, false, 0, 24, 0, kShow, kGeneralText},
    {"EightBitsInAWindow", 0, 1, 8, 0, COLOUR_MODE_PALETTE, 8, false, 1, 8, 0, kShow, kGeneralText},
    {"FullScreenPaletteProjectChoosesEightBits", 0, 0, 0, 1, COLOUR_MODE_PALETTE, 32, true, 0, 8, 1, SW_SHOWMAXIMIZED, nullptr},
    {"FullScreenFullColourProjectChooses32", 0, 0, 0, 1, COLOUR_MODE_FULL, 16, true, 0, 32, 1, SW_SHOWMAXIMIZED, nullptr},
    {"FullColourProjectAtEightBits", 0, 0, 8, 0, COLOUR_MODE_FULL, 32, false, 0, 8, 0, SW_SHOWMAXIMIZED, kGeneralText},
    // This system counts as a current Windows: VSync 2 becomes off.
    {"DirectDrawFullScreenVSyncTwoIsOff", 0, 0, 32, 2, COLOUR_MODE_FULL, 32, true, 0, 32, 0, SW_SHOWMAXIMIZED, nullptr},
    {"Direct3DVSyncTwoIsOn", 1, 0, 0, 2, COLOUR_MODE_FULL, 16, true, 0, 32, 1, kShow, nullptr},
    {"Direct3DWindowAtTheDesktopDepth", 1, 1, 0, 0, COLOUR_MODE_PALETTE, 16, true, 1, 16, 0, kShow, nullptr},
    {"Direct3DNeverRunsAtEightBits", 1, 0, 8, 0, COLOUR_MODE_PALETTE, 32, false, 0, 8, 0, kShow, kGeneralText},
};

class ScreenModeTest : public testing::TestWithParam<ScreenModeCase> {};

TEST_P(ScreenModeTest, SettlesTheModeAndChecksIt) {
  const ScreenModeCase& c = GetParam();
  SYSTEMINIDATA ini;
  ini.nDirect3D = c.direct3D;
  ini.nWindowMode = c.windowMode;
  ini.nBpp = c.bpp;
  ini.nVSync = c.vsync;
  const ScreenModeChoice choice = ChooseScreenMode(ini, c.colourMode, c.desktopBpp, kShow);
  EXPECT_EQ(choice.bUsable, c.usable);
  EXPECT_EQ(choice.bWindowed, c.windowed);
  EXPECT_EQ(ini.nBpp, c.finalBpp);
  EXPECT_EQ(ini.nVSync, c.finalVSync);
  EXPECT_EQ(choice.nShowCommand, c.showCommand);
  if (c.errorStart) {
    ASSERT_NE(choice.pszError, nullptr);
    EXPECT_EQ(std::string(choice.pszError).rfind(c.errorStart, 0), 0u) << choice.pszError;
  } else {
    EXPECT_EQ(choice.pszError, nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ScreenModeTest, testing::ValuesIn(kScreenModes),
                         [](const auto& info) { return std::string(info.param.name); });

// A project of the current version, whose settings a test loads; the
// previous ones come back after it.
class ScopedSystemData {
 public:
  ScopedSystemData() : m_Saved(g_SystemData), m_nSavedVersion(g_nDataVersion) { g_nDataVersion = DATA_VERSION; }
  ~ScopedSystemData() {
    g_SystemData = m_Saved;
    g_nDataVersion = m_nSavedVersion;
  }

 private:
  cSystemData m_Saved;
  std::uint32_t m_nSavedVersion;
};

struct TransparentColourCase {
  const char* mode;  // kGraphicsModes
  bool fullColour;
  // expected, as 0xRRGGBB
  std::uint32_t colour;
};

constexpr std::uint32_t kSettingsColour = 0x204060;  // the project's m_nTransR/G/B
constexpr std::uint32_t kPictureColour = 0x07F803;   // the palette picture's top-left pixel

// Above 16 bits a full-colour project's transparent colour is its settings';
// at 16 bits the key comes from the picture, and pictures are loaded with
// the settings' colour as their key; a palette project takes the picture's.
const TransparentColourCase kTransparentColours[] = {
    {"DD32", true, kSettingsColour},      {"D3D32", true, kSettingsColour},
    {"DD16_565", true, kSettingsColour},  {"D3D16Window", true, kSettingsColour},
    {"DD32", false, kPictureColour},      {"D3D32", false, kPictureColour},
};

// The colour start-up leaves for pictures: the back end's key above 16 bits,
// the key pictures are loaded with at 16.
std::uint32_t TransparentColour(const GraphicsMode& mode) {
  const auto rgb = [](const std::uint8_t bgr[3]) {
    return static_cast<std::uint32_t>(bgr[2]) << 16 | bgr[1] << 8 | bgr[0];
  };
  if (mode.nBpp == 16) return rgb(mode.bDirect3D ? g_lpD3DState->cbKey16 : g_lpDDState->cbLoadKey);
  return (mode.bDirect3D ? g_lpD3DState->dwBackKey : g_dwTransmit) & 0xFFFFFFu;
}

TEST(TransparentColour, FullColourProjectsTakeTheirSettingsColour) {
  for (const TransparentColourCase& c : kTransparentColours) {
    SCOPED_TRACE(std::string(c.mode) + (c.fullColour ? " full colour" : " palette"));
    TempFolder folder;
    ScopedCurrentFolder current(folder.path());
    std::vector<std::uint32_t> pixels(16 * 24, 5);
    pixels[0] = 7;  // colour 7 of the table is (7, 248, 3)
    std::vector<platform::RGBQUAD> table;
    for (int n = 0; n < 256; ++n)
      table.push_back({static_cast<std::uint8_t>(n / 2), static_cast<std::uint8_t>(255 - n),
                       static_cast<std::uint8_t>(n), 0});
    ASSERT_TRUE(platform::WriteFileAtomic(folder / "Palette.bmp",
                                          BitmapFileBuilder(16, 24, 8).Colours(table).Pixels(pixels).Build()));
    ScopedSystemData settings;
    cSystemData project = g_SystemData;
    project.m_bFullColour = c.fullColour ? 1 : 0;
    project.m_nTransR = kSettingsColour >> 16;
    project.m_nTransG = kSettingsColour >> 8 & 0xFF;
    project.m_nTransB = kSettingsColour & 0xFF;
    ASSERT_EQ(project.SaveFile("System.dat"), 1);
    ASSERT_EQ(g_SystemData.LoadFile("System.dat"), 1);
    const GraphicsMode& mode = GraphicsModeNamed(c.mode);
    ScopedGraphicsDevice device(mode);
    ASSERT_TRUE(device.Started());
    std::snprintf(g_ImageTable[0].szFileName, sizeof g_ImageTable[0].szFileName, "Palette.bmp");
    ASSERT_TRUE(LoadPaletteAndTransparentColour());
    EXPECT_EQ(TransparentColour(mode), c.colour) << std::hex << TransparentColour(mode);
  }
}

std::vector<cEdSound> SoundList(int entries) {
  std::vector<cEdSound> list(entries);
  for (int k = 0; k < entries; ++k) list[k].m_strFile = "wave\\s" + std::to_string(k) + ".wav";
  return list;
}

std::vector<std::string> SystemSounds() {
  std::vector<std::string> names;
  for (int i = 0; i < SYSTEM_SOUND_COUNT; ++i) names.push_back("wave\\sys" + std::to_string(i) + ".wav");
  return names;
}

TEST(SoundTable, SystemSoundsComeFirstThenTheListFromItsSecondEntry) {
  std::vector<SOUNDDATA> sounds;
  std::vector<SOUNDDEF> defs;
  FillSoundTables(SystemSounds(), SoundList(5), sounds, defs);
  ASSERT_EQ(defs.size(), 21u);
  EXPECT_EQ(sounds.size(), 21u);
  EXPECT_EQ(defs[0].szFileName, "wave\\sys0.wav");
  EXPECT_EQ(defs[16].szFileName, "wave\\sys16.wav");
  EXPECT_EQ(defs[17].szFileName, "wave\\s1.wav");  // entry 0 is "none"
  EXPECT_EQ(defs[20].szFileName, "wave\\s4.wav");
  for (const SOUNDDEF& def : defs) {
    EXPECT_EQ(def.nBufferCount, 1);
    EXPECT_EQ(def.nVolume, 0);
    EXPECT_EQ(def.nFlag, 1);
  }
}

TEST(SoundTable, EveryTableHoldsTheSystemSlots) {
  for (int entries : {0, 1}) {
    std::vector<SOUNDDATA> sounds;
    std::vector<SOUNDDEF> defs;
    FillSoundTables(SystemSounds(), SoundList(entries), sounds, defs);
    EXPECT_EQ(defs.size(), 17u) << entries << " entries";
    EXPECT_EQ(defs[16].szFileName, "wave\\sys16.wav");
  }
  // Settings naming fewer system sounds leave the rest without a file.
  std::vector<SOUNDDATA> sounds;
  std::vector<SOUNDDEF> defs;
  FillSoundTables({"wave\\only.wav"}, SoundList(3), sounds, defs);
  ASSERT_EQ(defs.size(), 19u);
  EXPECT_EQ(defs[0].szFileName, "wave\\only.wav");
  EXPECT_EQ(defs[1].szFileName, "");
  EXPECT_EQ(defs[17].szFileName, "wave\\s1.wav");
}

TEST(SoundTable, OptionVolumeStepsClampToTheScale) {
  const std::pair<int, int> cases[] = {{0, -10000}, {1, -3000}, {5, -500}, {10, 0},
                                       {-4, -10000}, {11, 0}, {1000, 0}};
  for (const auto& [step, volume] : cases) EXPECT_EQ(SoundVolumeOfOption(step), volume) << step;
}

TEST(DirectStart, PlaysTheNewestNumberedVersionOfTheNamedStage) {
  TempFolder folder;
  ScopedCurrentFolder current(folder.path());
  std::filesystem::create_directories(folder / "data/stg4");
  for (const char* name : {"a.stg4_001", "a.stg4_005", "a.stg4_004", "b.stg4", "c.stg4_x12"}) {
    WriteTextFile(folder / "data/stg4" / name, "stage");
  }
  const std::pair<const char*, const char*> cases[] = {
      {"data\\stg4\\a.stg4", "data\\stg4\\a.stg4_005"},
      {"data\\stg4\\a.stg4_001", "data\\stg4\\a.stg4_005"},  // a version named is not kept
      {"data\\stg4\\A.STG4", "data\\stg4\\A.stg4_005"},      // names match without regard to case
      {"data\\stg4\\b.stg4", "data\\stg4\\b.stg4"},          // no numbered version: the file itself
      {"data\\stg4\\c.stg4", ""},                              // not three digits
      {"data\\stg4\\none.stg4", ""},
      {"data\\stg4", ""},                                        // a folder is no stage
  };
  for (const auto& [name, chosen] : cases) EXPECT_EQ(ChooseDirectStartStage(name), chosen) << name;
}

}  // namespace
