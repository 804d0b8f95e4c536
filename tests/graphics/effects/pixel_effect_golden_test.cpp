// One frame of each pixel effect in every display mode, compared with a
// golden picture per mode. On Direct3D each row of effects is drawn once
// from a video-memory picture (the device's quad where there is one) and
// once from a system-memory picture (the locked pixels).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "graphics/blit.h"
#include "graphics/blit_state.h"
#include "graphics/effects/lens_blit.h"
#include "graphics/effects/mosaic_blur.h"
#include "graphics/effects/rotate_blit.h"
#include "graphics/effects/tinted_blits.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "graphics/surface_effects.h"
#include "support/golden_image.h"
#include "support/graphics_device.h"
#include "support/scoped_blend_table.h"

namespace {

constexpr int kWidth = 320, kHeight = 100;

// A 40 x 40 picture keyed around a border: bands of colour, a diagonal and
// a transparent hole.
void MakePicture(DDSURFACEDATA* picture, int bTexSystemMemory) {
  ASSERT_TRUE(DDCreateSurface(picture, 40, 40, 1, 0, bTexSystemMemory, 0, 0));
  DDFillRectPal(picture, 0, 0, 40, 40, 0);
  for (int y = 2; y < 38; ++y) DDFillRectPal(picture, 2, y, 36, 1, 60 + (y / 3) * 15);
  for (int i = 2; i < 38; ++i) DDFillRectPal(picture, i, i, 3, 1, 250);
  DDFillRectPal(picture, 26, 8, 6, 6, 0);
}

// The pictures and the frame of one mode.
class PixelEffectGolden : public testing::TestWithParam<GraphicsMode> {
 protected:
  void SetUp() override {
    m_pDevice = std::make_unique<ScopedGraphicsDevice>(GetParam());
    ASSERT_TRUE(m_pDevice->Started());
    if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
    DDSetVirBackBuffer(0);
    MakePicture(&m_Video, 0);
    MakePicture(&m_System, 1);
    DrawBackground();
  }
  static void DrawBackground() {
    DDFillRectPal(&g_sdBackBuffer, 0, 0, kWidth, kHeight, 20);
    for (int x = 0; x < kWidth; x += 16) DDFillRectPal(&g_sdBackBuffer, x, 0, 8, kHeight, 140);
  }
  void TearDown() override {
    DDReleaseSurface(&m_Video);
    DDReleaseSurface(&m_System);
    m_pDevice.reset();
  }
  std::string Golden(const char* effect) const { return std::string("effects/") + effect + "_" + GetParam().name; }

  std::unique_ptr<ScopedGraphicsDevice> m_pDevice;
  DDSURFACEDATA m_Video, m_System;
  ScopedHalfwayBlendTable m_BlendTable;
};

// Per row: DDBltAlpha at levels 1 to 5 toward palette colour 200, then the
// translucent blit; the first row keyed, the second with flags 0.
TEST_P(PixelEffectGolden, TintAndTranslucency) {
  DDSURFACEDATA* const pictures[2] = {&m_Video, &m_System};
  for (int row = 0; row < 2; ++row) {
    const int y = 5 + row * 50, flags = row == 0 ? 1 : 0;
    for (int level = 1; level <= 5; ++level)
      EXPECT_TRUE(DDBltAlpha(&g_sdBackBuffer, 4 + (level - 1) * 50, y, 40, 40, pictures[row], 0, 0, flags,
                             g_palOriginal.data(), g_BlendTable, 200, level));
    EXPECT_TRUE(DDBltTranslucent(&g_sdBackBuffer, 254, y, 40, 40, pictures[row], 0, 0, flags, g_BlendTable));
  }
  EXPECT_TRUE(MatchesGolden(BackBufferPicture(kWidth, kHeight), Golden("tint")));
}

// Per row: mosaics of cells 4 (keyed) and 7, blurs of radius 1 and 3 x 2
// (keyed) and 2; 8 bits draw no blur.
TEST_P(PixelEffectGolden, MosaicAndBlur) {
  DDSURFACEDATA* const pictures[2] = {&m_Video, &m_System};
  for (int row = 0; row < 2; ++row) {
    const int y = 5 + row * 50;
    EXPECT_EQ(DDMosaic(&g_sdBackBuffer, 4, y, 40, 40, 4, pictures[row], 0, 0, 1), 1);
    EXPECT_EQ(DDMosaic(&g_sdBackBuffer, 54, y, 40, 40, 7, pictures[row], 0, 0, 0), 1);
    EXPECT_EQ(DDBlur(&g_sdBackBuffer, 104, y, 40, 40, 1, 1, pictures[row], 0, 0, 1), 1);
    EXPECT_EQ(DDBlur(&g_sdBackBuffer, 154, y, 40, 40, 3, 2, pictures[row], 0, 0, 1), 1);
    EXPECT_EQ(DDBlur(&g_sdBackBuffer, 204, y, 40, 40, 2, 2, pictures[row], 0, 0, 0), 1);
  }
  EXPECT_TRUE(MatchesGolden(BackBufferPicture(kWidth, kHeight), Golden("mosaic_blur")));
}

// Pictures on the frame, the frame copied to a work surface and seen
// through lenses of several depths (one of them keyed, one reaching past the
// frame's edge). As in the lens screen effect, Direct3D draws the frame in
// the virtual back buffer, which can be a source.
TEST_P(PixelEffectGolden, Lens) {
  DDSetVirBackBuffer(1);
  DrawBackground();
  for (int x = 4; x < kWidth; x += 50) DDBlt(&g_sdBackBuffer, x, 30, 40, 40, &m_Video, 0, 0, 1);
  DDSURFACEDATA work;
  ASSERT_TRUE(DDCreateSurface(&work, kWidth, kHeight, 1, 0, 0, 0, 0));
  DDBlt(&work, 0, 0, kWidth, kHeight, &g_sdBackBuffer, 0, 0, 0);
  EXPECT_TRUE(DDBltLens(&g_sdBackBuffer, 24, 50, 30, 10, &work, 24, 50, 0));
  EXPECT_TRUE(DDBltLens(&g_sdBackBuffer, 110, 50, 45, 40, &work, 110, 50, 1));
  EXPECT_TRUE(DDBltLens(&g_sdBackBuffer, 200, 45, 35, 0, &work, 190, 50, 0));
  EXPECT_TRUE(DDBltLens(&g_sdBackBuffer, 300, 90, 40, 25, &work, 280, 60, 0));
  DDSetVirBackBuffer(0);
  EXPECT_TRUE(MatchesGolden(BackBufferPicture(kWidth, kHeight), Golden("lens")));
  DDReleaseSurface(&work);
}

// Per row: turned by 30, 90 and 200 degrees about the middle, by 45 about
// a corner pivot (keyed), and by 330 with the blit colour half grey.
TEST_P(PixelEffectGolden, Rotation) {
  DDSURFACEDATA* const pictures[2] = {&m_Video, &m_System};
  for (int row = 0; row < 2; ++row) {
    const int y = 25 + row * 50;
    EXPECT_TRUE(DDBltRotate(&g_sdBackBuffer, 25, y, 40, 40, 20, 20, 30, pictures[row], 0, 0, 1));
    EXPECT_TRUE(DDBltRotate(&g_sdBackBuffer, 80, y, 40, 40, 20, 20, 90, pictures[row], 0, 0, 1));
    EXPECT_TRUE(DDBltRotate(&g_sdBackBuffer, 135, y, 40, 40, 20, 20, 200, pictures[row], 0, 0, 0));
    EXPECT_TRUE(DDBltRotate(&g_sdBackBuffer, 190, y, 40, 40, 5, 5, 45, pictures[row], 0, 0, 1));
    DDSetBltColor(0xFF808080);
    EXPECT_TRUE(DDBltRotate(&g_sdBackBuffer, 275, y, 30, 30, 15, 15, 330, pictures[row], 5, 5, 1));
    DDResetBltColor();
  }
  EXPECT_TRUE(MatchesGolden(BackBufferPicture(kWidth, kHeight), Golden("rotation")));
}

INSTANTIATE_TEST_SUITE_P(EveryMode, PixelEffectGolden, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

}  // namespace
