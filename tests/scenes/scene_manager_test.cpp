// The scene manager's frame and scene changes, colour cycling and the 8-bit
// palette variants.
#include "scenes/scene_manager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/close_request.h"
#include "graphics/blit.h"
#include "graphics/dd_draw_target.h"
#include "graphics/device.h"
#include "graphics/device_recovery.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "graphics/message_surfaces.h"
#include "graphics/palette_colours.h"
#include "graphics/surface.h"
#include "graphics/surface_effects.h"
#include "graphics/surface_file.h"
#include "graphics/surface_lock.h"
#include "model/settings/system_data.h"
#include "platform/files.h"
#include "platform/frame_mailbox.h"
#include "scenes/colour_cycle.h"
#include "scenes/hbt_palette.h"
#include "scenes/stage/stage_scene.h"
#include "shell/main_window.h"
#include "shell/system_ini.h"
#include "support/bitmap_file_builder.h"
#include "support/graphics_device.h"
#include "support/temp_folder.h"
#include "support/text_fonts.h"

namespace {

std::vector<std::string> g_Log;

// A scene that logs its protocol: one own state, which hands over to
// m_nNext on its second run.
class LoggingScene : public cScene {
 public:
  LoggingScene(std::string name, int next) : m_strName(std::move(name)), m_nNext(next) {
    SetStates({static_cast<State>(&LoggingScene::Play)});
    g_Log.push_back("create " + m_strName);
  }
  ~LoggingScene() override { g_Log.push_back("delete " + m_strName); }
  void Frame() override { RunFrame(); }
  void Enter() override { g_Log.push_back("enter " + m_strName); }
  void FadeIn() override {
    g_Log.push_back("fade in " + m_strName);
    m_nState = 1;
  }
  void Play() {
    g_Log.push_back("play " + m_strName);
    if (++m_nStep == 2) {
      g_SceneManager.m_nNextScene = m_nNext;
      m_nState = LastState();
    }
  }
  void Leave() override {
    g_Log.push_back("fade out " + m_strName);
    g_SceneManager.m_nScene = g_SceneManager.m_nNextScene;
  }

 private:
  std::string m_strName;
  int m_nNext;
};

class SceneManagerTest : public testing::Test {
 protected:
  void SetUp() override {
    g_Log.clear();
    cSceneManager::SetSceneFactory(SCENE_TITLE,
                                   [] { return std::make_unique<LoggingScene>("title", SCENE_STAGE); });
    cSceneManager::SetSceneFactory(SCENE_STAGE,
                                   [] { return std::make_unique<LoggingScene>("stage", SCENE_TITLE); });
    g_SceneManager.m_nScene = SCENE_TITLE;
  }
  void TearDown() override {
    g_SceneManager.DeleteAllScenes();
    cSceneManager::SetSceneFactory(SCENE_TITLE, nullptr);
    cSceneManager::SetSceneFactory(SCENE_STAGE, nullptr);
    g_SystemIni = SYSTEMINIDATA{};
    g_FpsFigures = sFpsFigures{};
  }
};

TEST_F(SceneManagerTest, ScenesChangeInTheProtocolsOrder) {
  for (int frame = 0; frame < 12; ++frame) ASSERT_EQ(g_SceneManager.Frame(), 1);
  const std::vector<std::string> expected = {
      "create title", "enter title", "fade in title", "play title", "play title", "fade out title",
      // The next frame: the old scene goes, the new one enters and runs.
      "delete title", "create stage", "enter stage", "fade in stage", "play stage", "play stage",
      "fade out stage", "delete stage", "create title", "enter title", "fade in title", "play title",
      "play title", "fade out title"};
  EXPECT_EQ(g_Log, expected);
  EXPECT_EQ(g_SceneManager.m_nScene, SCENE_STAGE);
}

TEST_F(SceneManagerTest, TheRunningKindIsNeverMadeAgainAndUnknownKindsRunNothing) {
  g_SceneManager.ChangeScene(SCENE_TITLE);
  cScene* title = g_SceneManager.Scene(SCENE_TITLE);
  g_SceneManager.ChangeScene(SCENE_TITLE);
  EXPECT_EQ(g_SceneManager.Scene(SCENE_TITLE), title);
  g_SceneManager.ChangeScene(SCENE_OPTION);  // no factory: nothing runs
  EXPECT_EQ(g_SceneManager.Scene(SCENE_TITLE), nullptr);
  EXPECT_EQ(g_SceneManager.Scene(SCENE_OPTION), nullptr);
  g_SceneManager.m_nScene = 9;
  EXPECT_EQ(g_SceneManager.Frame(), 1);
  EXPECT_EQ(g_Log, (std::vector<std::string>{"create title", "delete title"}));
}

TEST_F(SceneManagerTest, FrameTimesAreAveragedOnlyWhileShown) {
  g_SceneManager.m_nScene = 9;
  g_SceneManager.Frame();
  EXPECT_EQ(g_FpsFigures.nIndex, 0);  // off: nothing kept
  g_SystemIni.nShowFps = 1;
  for (int frame = 0; frame < 15; ++frame) g_SceneManager.Frame();
  EXPECT_EQ(g_FpsFigures.nIndex, 15);
  EXPECT_EQ(g_FpsFigures.nAverage, 0u);
  sFpsFigures figures;
  for (std::uint32_t ms : {10u, 20u, 30u, 40u, 10u, 20u, 30u, 40u, 10u, 20u, 30u, 40u, 10u, 20u, 30u, 47u}) {
    figures.Add(ms);
  }
  EXPECT_EQ(figures.nIndex, 0);
  EXPECT_EQ(figures.nAverage, 25u);  // 407 >> 4
}

// Every frame: a picture row and a digit strip onto the cleared back buffer.
class DrawingScene : public cScene {
 public:
  void Frame() override {
    DDClearSurfacePal(&g_sdBackBuffer, 20);
    DDBlt(&g_sdBackBuffer, 10, 10, 64, 16, &g_SurfaceTable[1], 0, 0, 1);
    DDSURFACEDATA* digits = &g_DigitSurface[1];
    DDBlt(&g_sdBackBuffer, 10, 40, digits->nWidth, digits->nHeight, digits, 0, 0, 1);
  }
};

int PixelsChangedSince(const std::vector<std::uint32_t>& before) {
  const std::vector<std::uint32_t> now = platform::TheFrameMailbox().Latest().pixels;
  if (now.size() != before.size()) return -1;
  int count = 0;
  for (std::size_t i = 0; i < now.size(); ++i) count += now[i] != before[i];
  return count;
}

// A device in the mode with what DrawingScene draws: image row 1 from a
// picture file, the fonts and their digit strips; the scene runs as the title.
class DrawingSetUp {
 public:
  explicit DrawingSetUp(const GraphicsMode& mode) : m_Enter(m_Folder.path()) {
    std::vector<std::uint32_t> columns;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 64; ++x) columns.push_back(static_cast<std::uint32_t>(x % 5 == 0 ? 0 : 30 + x));
    std::vector<platform::RGBQUAD> colours(256);
    for (int k = 0; k < 256; ++k)
      colours[k] = {static_cast<std::uint8_t>(k / 2), static_cast<std::uint8_t>(255 - k), static_cast<std::uint8_t>(k), 0};
    if (!platform::WriteFileAtomic(m_Folder / "Row.bmp",
                                   BitmapFileBuilder(64, 16, 8).Colours(colours).Pixels(columns).Build()))
      return;
    m_pDevice = std::make_unique<ScopedGraphicsDevice>(mode);
    if (!m_pDevice->Started()) return;
    if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
    g_ImageTable[1].Set("Row.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    const int rows[] = {1};
    if (!DDLoadSurfaces(g_SurfaceTable, rows, 1)) return;
    DDCreateFonts(g_Font, g_FontData, 3);
    DDCreateDigitSurfaces(g_DigitSurface, g_DigitImage, 3, g_Font, g_FontData);
    cSceneManager::SetSceneFactory(SCENE_TITLE, [] { return std::make_unique<DrawingScene>(); });
    m_bReady = true;
  }
  ~DrawingSetUp() {
    g_SceneManager.DeleteAllScenes();
    for (DDSURFACEDATA& digits : g_DigitSurface) DDReleaseSurface(&digits);
    for (Font& font : g_Font) font.Destroy();
    g_listFont.clear();
  }
  bool Ready() const { return m_bReady; }

 private:
  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter;
  std::unique_ptr<ScopedGraphicsDevice> m_pDevice;
  bool m_bReady = false;
};

// DirectDraw: the frame after the display took the surfaces away restores
// them (the picture reloaded from its file, the digits drawn again) before
// the scene draws, and shows what the frame before showed.
TEST_F(SceneManagerTest, LostSurfacesAreRestoredBeforeTheSceneDraws) {
  for (const GraphicsMode& mode : {kGraphicsModes[0], kGraphicsModes[3]}) {
    DrawingSetUp drawing(mode);
    ASSERT_TRUE(drawing.Ready()) << mode.name;
    ASSERT_EQ(g_SceneManager.Frame(), 1);
    // A surface of the stage's image sets, from the same picture.
    DDSURFACEDATA& effect = g_vecEffectSD.emplace_back();
    ASSERT_EQ(DDCreateSurfaceFromFile(&effect, g_ImageTable[1].szFileName, 1, g_nBpp, 0, 0, 0, 0, 0, 0, 0), 0);
    const platform::Frame shown = platform::TheFrameMailbox().Latest();
    ASSERT_FALSE(shown.pixels.empty());
    g_lpDD->SimulateLoss();
    EXPECT_EQ(g_SceneManager.Frame(), 1);
    EXPECT_EQ(platform::TheFrameMailbox().Sequence(), shown.sequence + 1) << mode.name;
    EXPECT_EQ(PixelsChangedSince(shown.pixels), 0) << mode.name;
    EXPECT_EQ(g_SurfaceTable[1].lpDDraw->lpDDS->IsLost(), platform::DD_OK);
    EXPECT_EQ(effect.lpDDraw->lpDDS->IsLost(), platform::DD_OK) << mode.name;
    DDReleaseSurfaceVector(g_vecEffectSD);
    g_vecEffectSD.clear();
  }
}

// DirectDraw: a message window's surface lost with the display comes back
// empty before the scene draws, and its window is told once to write it
// again.
TEST_F(SceneManagerTest, LostMessageSurfacesComeBackForTheirWindowsToRedraw) {
  DrawingSetUp drawing(kGraphicsModes[3]);
  ASSERT_TRUE(drawing.Ready());
  cDDDrawTarget target;
  sSurface message;
  ASSERT_TRUE(target.CreateMessageSurface(64, 32, message));
  DDSURFACEDATA* surface = DDFindMessageSurface(message.nIndex);
  DDFillRectPal(surface, 0, 0, 64, 32, 150);
  ASSERT_EQ(g_SceneManager.Frame(), 1);
  EXPECT_FALSE(target.TakeSurfaceRestored(message));
  g_lpDD->SimulateLoss();
  ASSERT_EQ(g_SceneManager.Frame(), 1);
  EXPECT_EQ(surface->lpDDraw->lpDDS->IsLost(), platform::DD_OK);
  EXPECT_EQ(cSurfaceLock(surface).GetPixel(10, 10), PalNumToRGB(0));
  EXPECT_TRUE(target.TakeSurfaceRestored(message));
  EXPECT_FALSE(target.TakeSurfaceRestored(message));
  DDClearMessageSurfaces();
}

// The frame-rate text over what the scene drew, in its box (ShowFps 1) and
// plainly in font 0 (ShowFps 2), only while ShowFps is on.
TEST_F(SceneManagerTest, TheFrameRateTextIsDrawnWhileShown) {
  REQUIRE_IPA_FONTS();
  DrawingSetUp drawing(kGraphicsModes[3]);
  ASSERT_TRUE(drawing.Ready());
  DDSURFACEDATA& box = g_SurfaceTable[g_FontData[1].nBoxImage];
  ASSERT_TRUE(DDCreateSurface(&box, 640, 480, 0, 0, 0, 0, 0));
  DDFillRectPal(&box, 0, 0, 640, 480, 60);
  ASSERT_EQ(g_SceneManager.Frame(), 1);
  const std::vector<std::uint32_t> plain = platform::TheFrameMailbox().Latest().pixels;
  g_SystemIni.nShowFps = 1;
  ASSERT_EQ(g_SceneManager.Frame(), 1);
  EXPECT_GT(PixelsChangedSince(plain), 0);

  for (int show : {1, 2}) {
    DDClearSurfacePal(&g_sdBackBuffer, 20);
    DrawFrameRate(show, 59, 7);
    EXPECT_TEXT_GOLDEN(BackBufferPicture(640, 480), "scenes/frame_rate_" + std::to_string(show) + "_DD32");
  }
  DDReleaseSurface(&box);
}

// Direct3D: a frame whose present finds the device lost asks the main
// window to restore it; nothing is shown until the device may be reset, and
// the frame after the reset shows what the frame before the loss showed.
TEST_F(SceneManagerTest, ALostDeviceIsRestoredThroughTheMainWindow) {
  class RestoringServices : public cMainWindowServices {
   public:
    int DDRestoreSurface() override {
      ++calls;
      return ::DDRestoreSurface();
    }
    int calls = 0;
  } services;
  g_MainWindow.SetServices(&services);
  g_MainWindow.Create();
  {
    DrawingSetUp drawing(kGraphicsModes[6]);
    ASSERT_TRUE(drawing.Ready());
    ASSERT_EQ(g_SceneManager.Frame(), 1);
    const platform::Frame shown = platform::TheFrameMailbox().Latest();
    ASSERT_FALSE(shown.pixels.empty());
    lpDevice->SimulateLoss();
    EXPECT_EQ(g_SceneManager.Frame(), 1);
    EXPECT_EQ(services.calls, 1);
    lpDevice->AllowReset();
    EXPECT_EQ(g_SceneManager.Frame(), 1);  // drawn while lost; its present asks again, and the reset succeeds
    EXPECT_EQ(services.calls, 2);
    EXPECT_EQ(platform::TheFrameMailbox().Sequence(), shown.sequence);
    EXPECT_EQ(g_SceneManager.Frame(), 1);
    EXPECT_EQ(services.calls, 2);
    EXPECT_EQ(platform::TheFrameMailbox().Sequence(), shown.sequence + 1);
    EXPECT_EQ(PixelsChangedSince(shown.pixels), 0);
  }
  if (platform::IsWindow(g_hWnd.load())) platform::DestroyWindowHandle(g_hWnd.exchange(nullptr));
  g_MainWindow.SetServices(nullptr);
}

// Full-screen DirectDraw presenting by copy (asked for, or a fast stage)
// shows the frame just as flipping does.
TEST_F(SceneManagerTest, PresentingByCopyShowsTheFrameAsFlippingDoes) {
  ScopedGraphicsDevice device(kGraphicsModes[3]);
  ASSERT_TRUE(device.Started());
  DDClearSurfacePal(&g_sdBackBuffer, 30);
  DDFillRectPal(&g_sdBackBuffer, 100, 100, 50, 50, 40);
  g_bPresentByBlt = 1;
  g_SceneManager.Present();
  const platform::Frame copied = platform::TheFrameMailbox().Latest();
  g_bPresentByBlt = 0;
  g_SceneManager.Present();
  const platform::Frame flipped = platform::TheFrameMailbox().Latest();
  ASSERT_NE(copied.sequence, 0u);
  EXPECT_EQ(flipped.sequence, copied.sequence + 1);
  EXPECT_TRUE(copied.pixels == flipped.pixels);
}

TEST(PingPong, TurnsOneStepShortOfEitherEnd) {
  int value = 0, falling = 0;
  std::vector<int> values, ends;
  for (int i = 0; i < 8; ++i) {
    ends.push_back(PingPong(&value, &falling, 100, 0, 255));
    values.push_back(value);
  }
  EXPECT_EQ(values, (std::vector<int>{100, 200, 200, 100, 100, 200, 200, 100}));
  EXPECT_EQ(ends, (std::vector<int>{0, 0, 0, 0, 1, 0, 0, 0}));
  int still = 7, rising = 0;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(PingPong(&still, &rising, 0, 0, 255), 0);
  EXPECT_EQ(still, 7);
}

class ColourCycleTest : public testing::Test {
 protected:
  void SetUp() override { ResetColourCycle(); }
  void TearDown() override {
    ResetColourCycle();
    g_SystemData = cSystemData();
  }
};

TEST_F(ColourCycleTest, Direct3DColoursSwingAndTheNinthChangesHue) {
  ScopedGraphicsDevice device(kGraphicsModes[6]);  // Direct3D 32
  ASSERT_TRUE(device.Started());
  g_SystemData.m_nCycleStep = 100;
  EXPECT_EQ(g_CycleColour[0], (sBltColour{0, 0}));
  CyclePalette();  // the values before the step: 0
  EXPECT_EQ(g_CycleColour[1], (sBltColour{0xFF000000u, 7}));
  CyclePalette();  // 100
  EXPECT_EQ(g_CycleColour[1], (sBltColour{0xFF646464u, 7}));
  EXPECT_EQ(g_CycleColour[2], (sBltColour{0xFF646464u, 10}));
  EXPECT_EQ(g_CycleColour[3], (sBltColour{0xFF640000u, 7}));
  EXPECT_EQ(g_CycleColour[7], (sBltColour{0xFF640019u, 7}));
  EXPECT_EQ(g_CycleColour[8], (sBltColour{0xFF190064u, 7}));
  EXPECT_EQ(g_CycleColour[9], (sBltColour{0xFF640000u, 7}));  // red phase
  for (int i = 0; i < 3; ++i) CyclePalette();  // values 200, 200, 100: the fall ends
  CyclePalette();
  EXPECT_EQ(g_CycleColour[9], (sBltColour{0xFF006400u, 7}));  // green phase
  EXPECT_EQ(g_CycleColour[0], (sBltColour{0, 0}));
}

TEST_F(ColourCycleTest, EightBitPaletteRotatesEverySixthFrameWhenAsked) {
  ScopedGraphicsDevice device(kGraphicsModes[0]);  // DirectDraw 8
  ASSERT_TRUE(device.Started());
  for (int i = 0; i < 256; ++i) g_palOriginal[i] = PaletteColour{static_cast<std::uint8_t>(i), 0, 0, 0};
  CyclePalette();  // switched off: nothing
  g_SystemData.m_bPaletteCycle = 1;
  for (int frame = 1; frame <= 5; ++frame) CyclePalette();
  EXPECT_EQ(g_palOriginal[208].r, 208);
  CyclePalette();  // the sixth counted frame
  // Each group of four moves down by one: 208 gets 209, 211 gets 208.
  EXPECT_EQ(g_palOriginal[208].r, 209);
  EXPECT_EQ(g_palOriginal[211].r, 208);
  EXPECT_EQ(g_palOriginal[236].r, 237);
  EXPECT_EQ(g_palOriginal[240].r, 240);
  ASSERT_NE(g_lpDDPalette, nullptr);
  EXPECT_EQ(g_lpDDPalette->Entries()[211].peRed, 208);
}

// A palette picture whose entry k is (k, 255 - k, 0), and blend tables.
class HbtPaletteTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Device.Started());
    std::filesystem::create_directories(m_Folder / "bmp" / "hbt");
    std::filesystem::create_directories(m_Folder / "bmp" / "plt");
    std::vector<platform::RGBQUAD> colours(256);
    for (int k = 0; k < 256; ++k) {
      colours[k].rgbRed = static_cast<std::uint8_t>(k);
      colours[k].rgbGreen = static_cast<std::uint8_t>(255 - k);
    }
    const std::vector<std::uint8_t> picture = BitmapFileBuilder(16, 16, 8).Colours(colours).Build();
    ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "bmp" / "plt" / "Palette.bmp", picture));
    const std::vector<std::uint8_t> table(65536, 3);
    for (const char* name : {"hbt11.dat", "hbt12.dat", "hbt23.dat"}) {
      ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "bmp" / "hbt" / name, table));
    }
  }
  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
  ScopedGraphicsDevice m_Device{kGraphicsModes[0]};
};

TEST_F(HbtPaletteTest, VariantsRotateOrCopyTheRamps) {
  ASSERT_NE(g_lpDDPalette, nullptr);
  ASSERT_EQ(LoadHbtPalette(11), 1);
  EXPECT_EQ(g_BlendTable[100], 3);
  // Entries 16..207 rotated down by 176: entry 16 holds 192.
  EXPECT_EQ(g_palOriginal[16].r, 192);
  EXPECT_EQ(g_palOriginal[32].r, 16);
  EXPECT_EQ(g_palOriginal[208].r, 208);  // outside the ramps
  EXPECT_EQ(g_lpDDPalette->Entries()[16].peRed, 192);

  ASSERT_EQ(LoadHbtPalette(12), 1);  // every ramp a copy of ramp 1
  for (int ramp = 16; ramp <= 192; ramp += 16) EXPECT_EQ(g_palOriginal[ramp + 5].r, 21) << ramp;
  ASSERT_EQ(LoadHbtPalette(40), 1);  // counted as 23: ramp 12, the last one within the palette
  EXPECT_EQ(g_palOriginal[16].r, 192);
  EXPECT_EQ(g_palCurrent, g_palOriginal);
}

TEST_F(HbtPaletteTest, AMissingTableFails) { EXPECT_EQ(LoadHbtPalette(3), 0); }

}  // namespace
