// Frames, digits and the fades drawn on a device in every mode.
#include "graphics/frame_effects.h"

#include <gtest/gtest.h>

#include "graphics/blit.h"
#include "graphics/fade_progress.h"
#include "graphics/screen_fade.h"
#include "graphics/surface_lock.h"
#include "support/graphics_device.h"

namespace {

class FrameEffects : public testing::TestWithParam<GraphicsMode> {
 protected:
  void TearDown() override {
    DDReleaseSurface(&m_Source);
    DDReleaseSurface(&m_Target);
  }
  // The pixel value a fill with palette number n leaves on m_Target.
  std::uint32_t ValueOf(std::uint32_t n) {
    DDFillRectPal(&m_Target, 0, 0, 1, 1, n);
    cSurfaceLock lock(&m_Target);
    return lock.GetPixel(0, 0);
  }
  DDSURFACEDATA m_Source, m_Target;
};

// The picture lands opaque at (x, y); its frame lies outside it.
TEST_P(FrameEffects, AFramedPictureAndANumberLandWhereTheyShould) {
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  ASSERT_TRUE(DDCreateSurface(&m_Source, 40, 4, 1, 0, 0, 0, 0));
  ASSERT_TRUE(DDCreateSurface(&m_Target, 48, 12, 1, 0, 0, 0, 0));
  const std::uint32_t background = ValueOf(10), picture = ValueOf(20), frame = ValueOf(30);
  // A digit strip of 4 x 4 cells: digit d in palette 40 + d.
  for (int d = 0; d < 10; ++d) DDFillRectPal(&m_Source, 4 * d, 0, 4, 4, 40 + d);
  DDFillRectPal(&m_Source, 0, 0, 4, 3, 20);
  DDFillRectPal(&m_Target, 0, 0, 48, 12, 10);
  DDBltFrame(&m_Target, 3, 2, 4, 3, &m_Source, 1, 30);
  DDDrawNumber(&m_Target, 10, 0, 4, 4, &m_Source, 0, 0, 0, 7, 3, 0);   // at x + 8
  DDDrawNumber(&m_Target, 30, 0, 4, 4, &m_Source, 0, 0, 0, -5, 1, 0);  // as 0
  const std::uint32_t seven = ValueOf(47);
  DDFillRectPal(&m_Target, 0, 0, 1, 1, 10);
  cSurfaceLock lock(&m_Target);
  EXPECT_EQ(lock.GetPixel(3, 2), picture);
  EXPECT_EQ(lock.GetPixel(6, 4), picture);
  EXPECT_EQ(lock.GetPixel(2, 1), frame);
  EXPECT_EQ(lock.GetPixel(7, 5), frame);
  EXPECT_EQ(lock.GetPixel(8, 6), background);
  EXPECT_EQ(lock.GetPixel(17, 1), background);  // blank leading digits
  EXPECT_EQ(lock.GetPixel(18, 1), seven);
  EXPECT_EQ(lock.GetPixel(30, 2), picture);  // digit 0 (its cell holds the picture)
}

// With a step of 10 a fade out takes 10 calls; the last leaves the frame
// black (at 8 bits: the shown palette).
TEST_P(FrameEffects, AFadeOutTakesTenStepsAndEndsBlack) {
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, 100);
  int calls = 1;
  while (!DDFadeOut(g_palOriginal.data(), 0, 255, 0, 0, 0, 10.0, g_palCurrent.data(), 0) && calls < 20) ++calls;
  EXPECT_EQ(calls, 10);
  EXPECT_EQ(g_dFadeOutAngleD3D, 90.0);
  EXPECT_EQ(g_dFadeOutAngleDD, 90.0);
  if (GetParam().nBpp == 8 && !GetParam().bDirect3D) {
    EXPECT_EQ(g_lpDDPalette->Entries()[100].peRed, 0);
    EXPECT_EQ(g_lpDDPalette->Entries()[100].peGreen, 0);
    return;
  }
  const platform::PixelBuffer& pixels =
      g_lpD3DState ? g_sdBackBuffer.lpDT->lpSurface->Pixels() : g_sdBackBuffer.lpDDraw->lpDDS->Pixels();
  EXPECT_EQ(pixels.ReadArgb(320, 240) & 0xFFFFFF, 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, FrameEffects, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

}  // namespace
