#include "graphics/surface_lock.h"

#include <gtest/gtest.h>

#include "support/graphics_device.h"

namespace {

using namespace platform;

// A value that fits the mode's pixel size and differs at every position.
std::uint32_t Pattern(int x, int y, int nBpp) {
  const std::uint32_t value = static_cast<std::uint32_t>(y * 31 + x * 7 + 1) * 0x01030507u;
  return nBpp == 32 ? value : value & ((1u << nBpp) - 1);
}

class SurfaceLock : public testing::TestWithParam<GraphicsMode> {};

TEST_P(SurfaceLock, PixelsWrittenThroughTheLockReadBackExactly) {
  const GraphicsMode& mode = GetParam();
  ScopedGraphicsDevice device(mode);
  ASSERT_TRUE(device.Started());
  DDSURFACEDATA surfaces[2];
  ASSERT_TRUE(DDCreateSurface(&surfaces[0], 7, 5, 1, 0, 0, 0, 0));  // video memory / render target
  ASSERT_TRUE(DDCreateSurface(&surfaces[1], 7, 5, 0, 1, 1, 0, 0));  // system memory
  for (DDSURFACEDATA* target : {&surfaces[0], &surfaces[1], &g_sdBackBuffer}) {
    {
      cSurfaceLock lock(target);
      ASSERT_TRUE(lock.m_pBits);
      EXPECT_EQ(lock.m_nBpp, mode.nBpp);
      EXPECT_EQ(lock.m_nBytesPerPixel, mode.nBpp / 8);
      EXPECT_GE(lock.m_nPitch, lock.m_nWidth);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) lock.SetPixel(x, y, Pattern(x, y, mode.nBpp));
      lock.SetPixel(lock.m_nWidth, 0, 0xFFFFFFFF);  // outside: ignored
      EXPECT_EQ(lock.GetPixel(-1, 0), 0u);
    }
    cSurfaceLock again(target);
    ASSERT_TRUE(again.m_pBits);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) ASSERT_EQ(again.GetPixel(x, y), Pattern(x, y, mode.nBpp)) << x << "," << y;
  }
  DDReleaseSurface(&surfaces[0]);
  DDReleaseSurface(&surfaces[1]);
}

INSTANTIATE_TEST_SUITE_P(Modes, SurfaceLock, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

TEST(SurfaceLock, ARenderTargetTextureShowsTheChangesOnlyWhenUnlocked) {
  ScopedGraphicsDevice device({"D3D32", 1, 32, 0, false});
  ASSERT_TRUE(device.Started());
  DDSURFACEDATA surface;
  ASSERT_TRUE(DDCreateSurface(&surface, 4, 4, 0, 0, 0, 0, 0));
  const PixelBuffer& texels = surface.lpDT->lpSurface->Pixels();
  const std::uint32_t before = texels.ReadRaw(1, 1);
  {
    cSurfaceLock lock(&surface);
    ASSERT_TRUE(lock.m_pBits);
    lock.SetPixel(1, 1, 0xFF445566);
    EXPECT_EQ(texels.ReadRaw(1, 1), before);
  }
  EXPECT_EQ(texels.ReadRaw(1, 1), 0xFF445566u);
  DDReleaseSurface(&surface);
}

TEST(SurfaceLock, TheBackBufferAndSystemMemoryTexturesAreLockedDirectly) {
  ScopedGraphicsDevice device({"D3D16FullScreen", 1, 16, 0, false});
  ASSERT_TRUE(device.Started());
  cSurfaceLock lock(&g_sdBackBuffer);
  ASSERT_TRUE(lock.m_pBits);
  EXPECT_EQ(lock.m_pBits, g_sdBackBuffer.lpDT->lpSurface->Pixels().Bits());
  lock.Unlock();
  DDSURFACEDATA system;
  ASSERT_TRUE(DDCreateSurface(&system, 4, 4, 0, 0, 1, 0, 0));
  EXPECT_EQ(system.lpDT->lpSystemSurface, nullptr);
  ASSERT_TRUE(lock.Lock(&system));
  EXPECT_EQ(lock.m_pBits, system.lpDT->lpSurface->Pixels().Bits());
  lock.Unlock();
  DDReleaseSurface(&system);
}

TEST(SurfaceLock, MissingLostOrMismatchedSurfacesAreNotLocked) {
  ScopedGraphicsDevice device({"DD16_565", 0, 16, 0, false});
  ASSERT_TRUE(device.Started());
  DDSURFACEDATA missing;  // an image that was never loaded
  cSurfaceLock lock;
  EXPECT_FALSE(lock.Lock(&missing));
  EXPECT_FALSE(lock.Lock(nullptr));
  lock.Unlock();
  lock.Unlock();

  DDSURFACEDATA surface;
  ASSERT_TRUE(DDCreateSurface(&surface, 4, 4, 0, 0, 0, 0, 0));
  g_lpDD->SimulateLoss();
  EXPECT_FALSE(lock.Lock(&surface));
  EXPECT_EQ(lock.m_pBits, nullptr);
  surface.lpDDraw->lpDDS->Restore();
  EXPECT_TRUE(lock.Lock(&surface));
  lock.Unlock();

  // A surface whose pixels are not as deep as the mode says is refused
  // rather than walked at the wrong pixel size.
  g_nBpp = 32;
  EXPECT_FALSE(lock.Lock(&surface));
  g_nBpp = 16;
  DDReleaseSurface(&surface);
}

TEST(SurfaceLock, DDLockIsNotSupportedInDirect3D) {
  ScopedGraphicsDevice device({"D3D32", 1, 32, 0, false});
  ASSERT_TRUE(device.Started());
  DDSURFACEDESC2 desc;
  int marker = 0;
  void* bits = &marker;
  EXPECT_TRUE(DDLock(&g_sdBackBuffer, &desc, &bits, 32));
  EXPECT_EQ(bits, &marker);
}

}  // namespace
