// The raster effects and the fade steps on a device in every display mode,
// compared with a golden picture per mode.
#include <gtest/gtest.h>

#include <string>

#include "graphics/blit.h"
#include "graphics/fade_progress.h"
#include "graphics/frame_effects.h"
#include "graphics/palette_colours.h"
#include "graphics/screen_fade.h"
#include "support/golden_image.h"
#include "support/graphics_device.h"

namespace {

constexpr int kWidth = 320, kHeight = 100;

// A 40 x 40 picture of stripes and a diagonal, keyed around a border.
void MakePicture(DDSURFACEDATA* picture) {
  ASSERT_TRUE(DDCreateSurface(picture, 40, 40, 1, 0, 0, 0, 0));
  DDFillRectPal(picture, 0, 0, 40, 40, 0);
  for (int y = 2; y < 38; ++y) DDFillRectPal(picture, 2, y, 36, 1, 80 + (y / 4) * 12);
  for (int i = 2; i < 38; ++i) DDFillRectPal(picture, i, i, 2, 2, 250);
}

class RasterGolden : public testing::TestWithParam<GraphicsMode> {};

// Left to right: the picture, a wave of rows, a wave of columns, an
// interlace, a card flip at two frames, the quarters apart; below them
// the same with other parameters.
TEST_P(RasterGolden, WaveInterlaceCardFlipAndQuartersMatchTheGolden) {
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
  DDSURFACEDATA picture;
  MakePicture(&picture);
  DDSURFACEDATA* frame = &g_sdBackBuffer;
  DDFillRectPal(frame, 0, 0, kWidth, kHeight, 20);
  DDBlt(frame, 4, 4, 40, 40, &picture, 0, 0, 1);
  DDBltWave(frame, 54, 4, 40, 40, 1, 4.0, 0, 2, &picture, 0, 0, 1, 0);
  DDBltWave(frame, 104, 4, 40, 40, 2, 3.0, 90, 4, &picture, 0, 0, 1, 1);
  DDBltInterlace(frame, 154, 4, 40, 40, 4, 3, &picture, 0, 0, 1, 0);
  DDBltCardFlip(frame, 204, 4, 40, 40, &picture, 0, 0, &picture, 0, 0, 40, 40, 1, 10, 0);
  DDBltQuarters(frame, 264, 10, 40, 40, &picture, 0, 0, 3, 1);
  DDBltInterlace(frame, 4, 54, 40, 40, 5, 2, &picture, 0, 0, 1, 1);
  DDBltCardFlip(frame, 54, 54, 40, 40, &picture, 0, 0, &picture, 0, 0, 40, 40, 1, 27, 1);
  DDBltWave(frame, 104, 54, 40, 40, 1, 2.0, 45, 0, &picture, 0, 0, 1, 0);  // band 0: nothing
  DDBltCardFlip(frame, 154, 54, 1, 40, &picture, 0, 0, &picture, 0, 0, 40, 40, 1, 3, 0);  // too narrow: nothing
  DDBltQuarters(frame, 204, 54, 40, 40, &picture, 0, 0, 0, 0);
  EXPECT_TRUE(MatchesGolden(BackBufferPicture(kWidth, kHeight), std::string("effects/raster_") + GetParam().name));
  DDReleaseSurface(&picture);
}

// Steps 1, 5 and 10 of a fade out at the scenes' speed of 10.
TEST_P(RasterGolden, FadeOutStepsMatchTheGoldens) {
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
  DDSURFACEDATA picture;
  MakePicture(&picture);
  for (int step = 1; step <= 10; ++step) {
    // The frame is drawn anew each step, as a scene does.
    DDFillRectPal(&g_sdBackBuffer, 0, 0, kWidth, kHeight, 200);
    for (int x = 0; x < kWidth; x += 48) DDBlt(&g_sdBackBuffer, x, 30, 40, 40, &picture, 0, 0, 1);
    const bool done = DDFadeOut(g_palOriginal.data(), 0, 255, 0, 0, 0, 10.0, g_palCurrent.data(), 0);
    EXPECT_EQ(done, step == 10);
    if (step == 1 || step == 5 || step == 10) {
      const std::string golden = "effects/fade_out_step" + std::to_string(step) + "_" + GetParam().name;
      EXPECT_TRUE(MatchesGolden(BackBufferPicture(kWidth, kHeight), golden));
    }
  }
  DDReleaseSurface(&picture);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, RasterGolden, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

}  // namespace
