// The status bar and the time limit: item placement over the bar, gauge
// fills (clamped for HP below 0 or past the maximum), the hidden bar, the
// unlimited lives, the time digits and the once-a-second warning sound; a
// golden of the bar in label and icon modes.
#include "scenes/stage/stage_draw_status.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/close_request.h"
#include "base/requests.h"
#include "base/timer.h"
#include "graphics/surface.h"
#include "platform/window_messages.h"
#include "support/test_stage.h"
#include "support/text_drawing_device.h"
#include "support/text_fonts.h"

namespace {

constexpr int kBarColour = 30;
constexpr int kDigitColour = 150;  // digit d of the time strip is this + d

class StatusDrawing : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Device.Started());
    DDSURFACEDATA& bar = g_SurfaceTable[46];
    ASSERT_TRUE(DDCreateSurface(&bar, 640, 20, 0, 0, 0, 0, 0));
    DDFillRectPal(&bar, 0, 0, 640, 20, kBarColour);
    DDSURFACEDATA& digits = g_SurfaceTable[51];
    ASSERT_TRUE(DDCreateSurface(&digits, 320, 192, 1, 0, 0, 0, 0));
    for (int d = 0; d < 10; ++d) DDFillRectPal(&digits, 32 * d + 4, 164, 24, 24, kDigitColour + d);
    g_LoadedStage.m_bStatusBar = 1;
    m_hWnd = platform::CreateWindowHandle(
        [this](platform::HWND, platform::UINT message, platform::WPARAM wParam, platform::LPARAM) {
          if (message == WM_REQ_PLAY_SOUND) m_vSounds.push_back(static_cast<int>(wParam));
          return platform::LRESULT{0};
        });
    g_hWnd = m_hWnd;
  }
  void TearDown() override {
    g_hWnd = nullptr;
    platform::DestroyWindowHandle(m_hWnd);
    DDReleaseSurface(&g_SurfaceTable[46]);
    DDReleaseSurface(&g_SurfaceTable[51]);
  }
  static void ShowIcons(const std::vector<int>& digits) {
    for (int k = 0; k < 5; ++k) {
      cEdStatusItem& item = g_SystemData.m_vStatusItems[static_cast<std::size_t>(k)];
      item.m_bShow = 1;
      item.m_bIcon = 1;
      item.m_bShowValue = 0;
      item.m_nDigits = digits[static_cast<std::size_t>(k)];
    }
  }
  std::uint32_t Rgb(int palNum) { return m_Device.Rgb(palNum); }
  std::uint32_t AccessoryRgb(int sx, int sy) { return Rgb(TextDrawingDevice::AccessoryColourAt(sx, sy)); }

  TextDrawingDevice m_Device;
  platform::HWND m_hWnd = nullptr;
  std::vector<int> m_vSounds;
};

TEST_F(StatusDrawing, ItemsAreSpreadEvenlyOverTheBar) {
  ShowIcons({6, 6, 0, 0, 2});
  // Widths 16 + 96, 16 + 96, 16 + 50, 16 + 50, 16 + 32: 404; gap (638 - 404) / 6 = 39.
  DrawStatusBar(&g_sdBackBuffer, {});
  const GoldenImage picture = BackBufferPicture(640, 480);
  const int x[] = {39, 190, 341, 446, 551};
  const int iconX[] = {0, 16, 32, 48, 64};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(picture.at(x[k], 3), AccessoryRgb(iconX[k], 32)) << k;
    EXPECT_EQ(picture.at(x[k] - 1, 3), Rgb(kBarColour)) << k;
  }
  EXPECT_EQ(picture.at(0, 19), Rgb(kBarColour));
  EXPECT_EQ(picture.at(639, 0), Rgb(kBarColour));
  EXPECT_EQ(picture.at(0, 20), Rgb(TextDrawingDevice::kBackColour));

  // Hidden items leave their room to the gaps: two items of 112 give (638 - 224) / 3.
  for (int k : {2, 3, 4}) g_SystemData.m_vStatusItems[static_cast<std::size_t>(k)].m_bShow = 0;
  DrawStatusBar(&g_sdBackBuffer, {});
  const GoldenImage two = BackBufferPicture(640, 20);
  EXPECT_EQ(two.at(138, 3), AccessoryRgb(0, 32));
  EXPECT_EQ(two.at(138 + 112 + 138, 3), AccessoryRgb(16, 32));
}

TEST_F(StatusDrawing, GaugesFillByValueOverMaximumWithinTheirWidth) {
  ShowIcons({6, 6, 0, 0, 2});
  const int gaugeX = 341 + 16;
  const struct {
    int hp, maxHp;
    int fill;
    int fillRow;  // accessory row of the fill
  } cases[] = {
      {100, 100, 50, 144}, {1, 100, 0, 0},     {33, 100, 16, 160}, {34, 100, 17, 144},
      {-20, 100, 0, 0},    {250, 100, 50, 144}, {5, 0, 0, 0},      {2000000000, 3, 50, 144},
  };
  for (const auto& c : cases) {
    sStatusBarValues values;
    values.nHp = c.hp;
    values.nMaxHp = c.maxHp;
    DrawStatusBar(&g_sdBackBuffer, values);
    const GoldenImage picture = BackBufferPicture(640, 20);
    int filled = 0, otherRow = 0;
    for (int x = gaugeX; x < gaugeX + 50; ++x) {
      const std::uint32_t p = picture.at(x, 10);
      for (int column = 0; column < 4; ++column) {
        if (p == AccessoryRgb(16 * column, 144) || p == AccessoryRgb(16 * column, 160)) {
          ++filled;
          if (p != AccessoryRgb(16 * column, c.fillRow)) ++otherRow;
        }
      }
    }
    EXPECT_EQ(filled, c.fill) << c.hp << "/" << c.maxHp;
    EXPECT_EQ(otherRow, 0) << c.hp << "/" << c.maxHp;
    EXPECT_EQ(picture.at(gaugeX + 50, 10), Rgb(kBarColour)) << "nothing past the gauge";
  }
}

TEST_F(StatusDrawing, NothingWithoutItemsOrWhenTheStageHidesTheBar) {
  ShowIcons({6, 6, 0, 0, 2});
  g_LoadedStage.m_bStatusBar = 0;
  DrawStatusBar(&g_sdBackBuffer, {});
  EXPECT_EQ(BackBufferPicture(640, 20).at(0, 0), Rgb(TextDrawingDevice::kBackColour));
  g_LoadedStage.m_bStatusBar = 1;
  for (cEdStatusItem& item : g_SystemData.m_vStatusItems) item.m_bShow = 0;
  DrawStatusBar(&g_sdBackBuffer, {});
  EXPECT_EQ(BackBufferPicture(640, 20).at(0, 0), Rgb(TextDrawingDevice::kBackColour));
}

TEST_F(StatusDrawing, LabelAndIconBarsMatchTheGolden) {
  REQUIRE_IPA_FONTS();
  DDSURFACEDATA target;
  ASSERT_TRUE(DDCreateSurface(&target, 640, 20, 0, 0, 0, 0, 0));
  sStatusBarValues values{12345, 678, 33, 100, 80, 80, 3};
  // Defaults: icons with the default labels' digit rooms.
  DrawStatusBar(&g_sdBackBuffer, values);
  // Labels, the gauge numbers, unlimited lives.
  for (cEdStatusItem& item : g_SystemData.m_vStatusItems) {
    item.m_bIcon = 0;
    item.m_bShowValue = 1;
  }
  values.nLives = UNLIMITED_LIVES;
  DrawStatusBar(&target, values);
  DDBlt(&g_sdBackBuffer, 0, 30, 640, 20, &target, 0, 0, 0);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(640, 50), "scenes/status_bar_DD32");
  DDReleaseSurface(&target);
}

TEST_F(StatusDrawing, StatusValuesComeFromTheProgressAndTheHero) {
  g_SaveData.m_nTotalScore = 11;
  g_SaveData.m_nScore = 22;
  g_SaveData.m_nLives = 3;
  const sStatusBarValues none = StatusBarValuesOf(nullptr);
  EXPECT_EQ(none.nTotalScore, 11);
  EXPECT_EQ(none.nStageScore, 22);
  EXPECT_EQ(none.nLives, 3);
  EXPECT_EQ(none.nMaxHp, 0);
}

TEST_F(StatusDrawing, TimeDigitsAndTheWarningOncePerSecond) {
  TestStage stage;
  stage.m_nFps = 60;
  stage.m_bTimeStop = 0;
  stage.m_nTimeLeft = 7;
  g_LoadedStage.m_nTimeWarning = 10;
  StepCounter(0, 60);
  DrawTimeLimit(stage, &g_sdBackBuffer, 1);
  GoldenImage picture = BackBufferPicture(640, 480);
  EXPECT_EQ(picture.at(272 + 64 + 16, 24 + 16), Rgb(kDigitColour + 7));
  EXPECT_EQ(picture.at(272 + 16, 24 + 16), Rgb(TextDrawingDevice::kBackColour)) << "leading digits blank";
  EXPECT_EQ(m_vSounds, std::vector<int>{13});

  // Within the second no sound; without bSound none; above the warning none.
  StepCounter(1, 60);
  DrawTimeLimit(stage, &g_sdBackBuffer, 1);
  StepCounter(0, 60);
  DrawTimeLimit(stage, &g_sdBackBuffer, 0);
  stage.m_nTimeLeft = 11;
  DrawTimeLimit(stage, &g_sdBackBuffer, 1);
  stage.m_nTimeLeft = 0;
  DrawTimeLimit(stage, &g_sdBackBuffer, 1);
  EXPECT_EQ(m_vSounds, std::vector<int>{13});

  stage.m_nTimeLeft = 1234;
  DrawTimeLimit(stage, &g_sdBackBuffer, 1);
  picture = BackBufferPicture(640, 480);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(picture.at(272 + 32 * i + 16, 40), Rgb(kDigitColour + 1 + i)) << i;

  // A stopped time draws nothing.
  DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, TextDrawingDevice::kBackColour);
  stage.m_bTimeStop = 1;
  DrawTimeLimit(stage, &g_sdBackBuffer, 1);
  EXPECT_EQ(BackBufferPicture(640, 480).at(272 + 80, 40), Rgb(TextDrawingDevice::kBackColour));
}

}  // namespace
