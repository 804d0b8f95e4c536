// The blit colour, the fade without a palette and the tint on surfaces of
// the modes they belong to.
#include "graphics/surface_effects.h"

#include <gtest/gtest.h>

#include <string>

#include "graphics/blit.h"
#include "graphics/blit_state.h"
#include "graphics/scene.h"
#include "graphics/surface_lock.h"
#include "support/graphics_device.h"

namespace {

// A surface of w x h filled with one raw value, released at the end.
struct Filled {
  DDSURFACEDATA surface;
  Filled(int w, int h, std::uint32_t value, int transmit = 0) {
    EXPECT_TRUE(DDCreateSurface(&surface, w, h, transmit, 0, 0, 0, 0));
    DDFillRect(&surface, 0, 0, w, h, value);
  }
  ~Filled() { DDReleaseSurface(&surface); }
  std::uint32_t At(int x, int y) {
    cSurfaceLock lock(&surface);
    return lock.GetPixel(x, y);
  }
};

TEST(BlitColour, Direct3DModulatesTheCopyForOneCallAndDirectDrawCopiesPlainly) {
  for (const char* name : {"D3D32", "DD32"}) {
    SCOPED_TRACE(name);
    ScopedGraphicsDevice device(GraphicsModeNamed(name));
    ASSERT_TRUE(device.Started());
    Filled source(2, 2, g_lpD3DState ? 0xFF80C0FFu : 0x80C0FFu);
    Filled destination(2, 2, g_lpD3DState ? 0xFF000000u : 0);
    const int blend[2] = {static_cast<int>(0xFF808080u), 4};
    DDBltEx(&destination.surface, 0, 0, 2, 2, &source.surface, 0, 0, 0, blend);
    if (g_lpD3DState) {
      EXPECT_EQ(destination.At(1, 1), 0xFF406080u);  // each channel * 128 / 255, rounded
      EXPECT_EQ(g_lpD3DState->dwBltColor, 0xFFFFFFFFu);  // back to the default after the call
    } else {
      EXPECT_EQ(destination.At(1, 1) & 0xFFFFFF, 0x80C0FFu);
    }
  }
}

TEST(FadeWithoutPalette, Level256CopiesAndLevel0FillsWithTheColour) {
  for (const char* name : {"DD32", "DD16_565"}) {
    SCOPED_TRACE(name);
    ScopedGraphicsDevice device(GraphicsModeNamed(name));
    ASSERT_TRUE(device.Started());
    const bool wide = g_nBpp == 32;
    Filled source(4, 2, wide ? 0x204060u : 0xF81Fu), destination(4, 2, 0);
    EXPECT_EQ(DDFade_UnPal(&destination.surface, 256, 255, 0, 0, &source.surface), 1);
    EXPECT_EQ(destination.At(3, 1) & 0xFFFFFF, wide ? 0x204060u : 0xF81Fu);
    EXPECT_EQ(DDFade_UnPal(&destination.surface, 0, 255, 0, 0, &source.surface), 1);
    EXPECT_EQ(destination.At(0, 0) & 0xFFFFFF, wide ? 0xFF0000u : 0xF800u);
    EXPECT_EQ(DDFade_UnPal(&destination.surface, 0, 255, 0, 0, &destination.surface), 0);  // cannot lock twice
  }
  ScopedGraphicsDevice device(GraphicsModeNamed("D3D32"));
  ASSERT_TRUE(device.Started());
  EXPECT_EQ(DDFade_UnPal(&g_sdBackBuffer, 0, 0, 0, 0, &g_sdBackBuffer), 1);  // only logged
}

TEST(Tint, TheQuadLaysTheColourOverTheBackBufferByTheComplementOfAlpha) {
  ScopedGraphicsDevice device(GraphicsModeNamed("D3D32"));
  ASSERT_TRUE(device.Started());
  DDSetVirBackBuffer(0);
  DDFillRect(&g_sdBackBuffer, 0, 0, 640, 480, 0xFF0000FF);
  EXPECT_EQ(DDChangeColor(&g_sdBackBuffer, 0, 0, 0, 0, 255, 255, 0, 0), 1);  // alpha 0: invisible
  EXPECT_EQ(g_sdBackBuffer.lpDT->lpSurface->Pixels().ReadArgb(5, 5) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(DDChangeColor(&g_sdBackBuffer, 0, 0, 0, 0, 128, 255, 0, 0), 1);
  EXPECT_EQ(g_sdBackBuffer.lpDT->lpSurface->Pixels().ReadArgb(639, 479) & 0xFFFFFF, 0x7F0080u);
  EXPECT_EQ(DDChangeColor(&g_sdBackBuffer, 0, 0, 0, 0, 300, 0, 255, 0), 1);  // strength above full: none of the tint
  EXPECT_EQ(g_sdBackBuffer.lpDT->lpSurface->Pixels().ReadArgb(0, 0) & 0xFFFFFF, 0x7F0080u);
}

TEST(Tint, WithTheVirtualBackBufferTheRectangleIsTintedOnItsPixels) {
  ScopedGraphicsDevice device(GraphicsModeNamed("D3D32"));
  ASSERT_TRUE(device.Started());
  DDSetVirBackBuffer(1);
  DDFillRect(&g_sdBackBuffer, 0, 0, 640, 480, 0xFF0000FF);  // drawn into the virtual back buffer
  EXPECT_EQ(DDChangeColor(&g_sdBackBuffer, 10, 10, 2, 2, 0, 0, 255, 0), 1);
  cSurfaceLock lock(&g_sdVirBackBuffer);
  EXPECT_EQ(lock.GetPixel(10, 10), 0xFF00FF00u);
  EXPECT_EQ(lock.GetPixel(12, 10), 0xFF0000FFu);
}

TEST(Tint, DirectDrawOnlyLogs) {
  ScopedGraphicsDevice device(GraphicsModeNamed("DD16_565"));
  ASSERT_TRUE(device.Started());
  EXPECT_EQ(DDChangeColor(&g_sdBackBuffer, 0, 0, 4, 4, 0, 255, 0, 0), 1);
  EXPECT_EQ(DDIsFullScreenBackBuffer(&g_sdBackBuffer), 1);
  EXPECT_EQ(DDIsFullScreenBackBuffer(&g_sdWork), 0);
}

TEST(FullScreenBackBuffer, AWindowsBackBufferIsNot) {
  ScopedGraphicsDevice device(GraphicsModeNamed("D3D16Window"));
  ASSERT_TRUE(device.Started());
  EXPECT_EQ(DDIsFullScreenBackBuffer(&g_sdBackBuffer), 0);
}

}  // namespace
