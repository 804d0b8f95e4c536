// The game objects' drawing interface over the blits, on both back ends.
#include "graphics/dd_draw_target.h"

#include <gtest/gtest.h>

#include "graphics/blit.h"
#include "graphics/surface_lock.h"
#include "support/graphics_device.h"

namespace {

class DDDrawTarget : public testing::TestWithParam<GraphicsMode> {};

std::uint32_t BackBufferPixel(int x, int y) {
  cSurfaceLock lock(&g_sdBackBuffer);
  return lock.GetPixel(x, y);
}

TEST_P(DDDrawTarget, DrawsImagesAndSetsOntoTheFrameAndSkipsSurfacesThatDoNotExist) {
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
  ASSERT_TRUE(DDCreateSurface(&g_SurfaceTable[IMAGE_BLOCKS], 8, 8, 1, 0, 0, 0, 0));
  DDClearSurfacePal(&g_SurfaceTable[IMAGE_BLOCKS], 30);
  DDFillRectPal(&g_SurfaceTable[IMAGE_BLOCKS], 0, 0, 4, 8, 0);  // left half transparent
  DDSurfaceVector swords(1);
  ASSERT_TRUE(DDCreateSurface(&swords[0], 4, 4, 1, 0, 0, 0, 0));
  DDClearSurfacePal(&swords[0], 40);

  cDDDrawTarget target;
  target.SetImageSet(SURFACES_SWORD, &swords);
  DDClearSurfacePal(&g_sdBackBuffer, 10);
  target.Blt(kBackBuffer, 0, 0, 8, 8, {SURFACES_IMAGE, IMAGE_BLOCKS}, 0, 0, kColourKey);
  target.FillRectPal(kBackBuffer, 20, 0, 2, 2, 50);
  target.Blt(kBackBuffer, 30, 0, 4, 4, {SURFACES_SWORD, 0}, 0, 0, 0);
  // Not there: an image that did not load, indices outside a set or the table.
  target.Blt(kBackBuffer, 40, 0, 4, 4, {SURFACES_IMAGE, IMAGE_ITEMS}, 0, 0, 0);
  target.Blt(kBackBuffer, 40, 0, 4, 4, {SURFACES_SWORD, 1}, 0, 0, 0);
  target.Blt(kBackBuffer, 40, 0, 4, 4, {SURFACES_IMAGE, 500}, 0, 0, 0);
  target.Blt(kBackBuffer, 40, 0, 4, 4, {SURFACES_EFFECT, 0}, 0, 0, 0);

  const std::uint32_t background = BackBufferPixel(50, 50);
  EXPECT_EQ(BackBufferPixel(1, 1), background);  // keyed
  EXPECT_NE(BackBufferPixel(5, 1), background);
  EXPECT_NE(BackBufferPixel(21, 1), background);
  EXPECT_NE(BackBufferPixel(31, 1), background);
  EXPECT_EQ(BackBufferPixel(41, 1), background);

  int width = 0, height = 0;
  EXPECT_TRUE(target.SurfaceSize({SURFACES_SWORD, 0}, width, height));
  EXPECT_EQ(width, 4);
  EXPECT_FALSE(target.SurfaceSize({SURFACES_IMAGE, IMAGE_ITEMS}, width, height));
  EXPECT_FALSE(target.SurfaceSize({SURFACES_CHARA_EXC, 0}, width, height));
  EXPECT_EQ(target.IsDirect3D(), GetParam().bDirect3D != 0);
  EXPECT_EQ(target.BitsPerPixel(), GetParam().nBpp);
  DDReleaseSurfaceVector(swords);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, DDDrawTarget, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

}  // namespace
