#include "graphics/scene.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/surface_lock.h"
#include "support/graphics_device.h"
#include "platform/video/png_file.h"
#include "platform/video/presenter.h"
#include "support/temp_folder.h"

namespace {

using namespace platform;

// Draws a 4-colour test card into the surface: each quarter of the first
// eight rows gets one colour (an index at 8 bits); returns the colours the
// presenter must show, as 0xFFRRGGBB.
struct TestCard {
  std::uint32_t shown[4];
};

TestCard DrawTestCard(DDSURFACEDATA* surface, const ScopedGraphicsDevice& device, int nBpp, PixelFormat format) {
  static const std::uint32_t kColours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  TestCard card;
  cSurfaceLock lock(surface);
  EXPECT_TRUE(lock.m_pBits);
  for (int q = 0; q < 4; ++q) {
    const std::uint32_t raw = nBpp == 8 ? static_cast<std::uint32_t>(q + 1) : FromArgb(format, kColours[q]);
    card.shown[q] = nBpp == 8 ? device.PaletteRgb(q + 1) : kColours[q];
    for (int y = 0; y < 8; ++y)
      for (int x = q * 160; x < (q + 1) * 160; ++x) lock.SetPixel(x, y, raw);
  }
  return card;
}

void ExpectFrameShows(const Frame& frame, const TestCard& card, std::uint32_t restOfFrame) {
  ASSERT_EQ(frame.width, 640);
  ASSERT_EQ(frame.height, 480);
  for (int q = 0; q < 4; ++q) {
    EXPECT_EQ(frame.At(q * 160, 0), card.shown[q]) << q;
    EXPECT_EQ(frame.At(q * 160 + 159, 7), card.shown[q]) << q;
  }
  EXPECT_EQ(frame.At(639, 479), restOfFrame);
}

class Presentation : public testing::TestWithParam<GraphicsMode> {};

TEST_P(Presentation, TheDrawnFrameReachesTheMailboxAndThePng) {
  const GraphicsMode& mode = GetParam();
  ScopedGraphicsDevice device(mode);
  ASSERT_TRUE(device.Started());
  PixelFormat format;
  std::uint32_t restOfFrame;
  if (mode.bDirect3D) {
    format = g_sdBackBuffer.lpDT->lpSurface->Pixels().Format();
    restOfFrame = 0xFF000000;
  } else {
    format = g_sdBackBuffer.lpDDraw->lpDDS->Pixels().Format();
    restOfFrame = mode.nBpp == 8 ? device.PaletteRgb(0) : 0xFF000000;
  }
  const TestCard card = DrawTestCard(&g_sdBackBuffer, device, mode.nBpp, format);

  if (mode.bDirect3D) {
    EXPECT_EQ(DDBeginScene(), 1);
    EXPECT_EQ(DDPresent(), 1);
    EXPECT_FALSE(lpDevice->InScene());
  } else {
    EXPECT_EQ(DDPresent(), 1);  // DirectDraw: the scene manager flips
    EXPECT_EQ(TheFrameMailbox().Sequence(), 0u);
    ASSERT_EQ(g_sdPrimary.lpDDraw->lpDDS->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  }
  const Frame frame = TheFrameMailbox().Latest();
  EXPECT_NE(frame.sequence, 0u);
  ExpectFrameShows(frame, card, restOfFrame);

  TempFolder folder;
  const std::string path = (folder / "frame.png").string();
  setenv("PLAYER_DUMP_FRAME", path.c_str(), 1);
  EXPECT_TRUE(DumpFrameIfAsked());
  unsetenv("PLAYER_DUMP_FRAME");
  PngImage image;
  ASSERT_TRUE(ReadPng(path, image));
  EXPECT_EQ(image.width, 640);
  EXPECT_EQ(image.pixels, frame.pixels);
}

INSTANTIATE_TEST_SUITE_P(Modes, Presentation, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

TEST(Presentation, TheVirtualBackBufferTakesTheFrameAndIsCopiedAtPresent) {
  ScopedGraphicsDevice device({"D3D32", 1, 32, 0, false});
  ASSERT_TRUE(device.Started());
  DDSetVirBackBuffer(1);
  EXPECT_EQ(g_lpD3DState->lpRestTarget, &g_sdBackBuffer);
  EXPECT_EQ(lpDevice->RenderTarget(), g_sdBackBuffer.lpDT->lpSurface);
  DDSURFACEDATA* target = &g_sdBackBuffer;
  EXPECT_EQ(DDUseVirBackBuffer(&target), 1);
  EXPECT_EQ(target, &g_sdVirBackBuffer);
  DDSURFACEDATA* other = &g_sdWork;
  EXPECT_EQ(DDUseVirBackBuffer(&other), 0);

  const TestCard card = DrawTestCard(target, device, 32, PixelFormat::ARGB8888);
  EXPECT_EQ(g_sdBackBuffer.lpDT->lpSurface->Pixels().ReadRaw(0, 0), 0u);
  EXPECT_EQ(DDPresent(), 1);
  ExpectFrameShows(TheFrameMailbox().Latest(), card, 0xFF000000);

  // Turning the mode off copies once more; turning it off again copies nothing.
  cSurfaceLock(&g_sdVirBackBuffer).SetPixel(0, 0, 0xFF123456);
  DDSetVirBackBuffer(0);
  EXPECT_EQ(g_sdBackBuffer.lpDT->lpSurface->Pixels().ReadRaw(0, 0), 0xFF123456u);
  cSurfaceLock(&g_sdVirBackBuffer).SetPixel(0, 0, 0xFF654321);
  DDSetVirBackBuffer(0);
  EXPECT_EQ(g_sdBackBuffer.lpDT->lpSurface->Pixels().ReadRaw(0, 0), 0xFF123456u);
  EXPECT_EQ(lpDevice->RenderTarget(), g_sdVirBackBuffer.lpDT->lpSurface);
}

TEST(Presentation, ALostDeviceMinimisesTheFullScreenWindowAndAnswersZero) {
  HeadlessWindowServices window;
  WindowServices* previous = SetWindowServices(&window);
  {
    ScopedGraphicsDevice device({"D3D16FullScreen", 1, 16, 0, false});
    ASSERT_TRUE(device.Started());
    lpDevice->SimulateLoss();
    EXPECT_EQ(DDPresent(), 0);
    EXPECT_EQ(window.LastShowCommand(), SW_SHOWMINNOACTIVE);
    EXPECT_EQ(TheFrameMailbox().Sequence(), 0u);
  }
  SetWindowServices(previous);
}

TEST(Presentation, ScenesOpenOnceAndRenderTargetsMustBeRenderTargets) {
  ScopedGraphicsDevice device({"D3D32", 1, 32, 0, false});
  ASSERT_TRUE(device.Started());
  EXPECT_EQ(DDBeginScene(), 1);
  EXPECT_EQ(DDBeginScene(), 1);  // already open: BeginScene is not called again
  EXPECT_TRUE(lpDevice->InScene());
  DDEndScene();
  EXPECT_FALSE(lpDevice->InScene());
  FailCall(GraphicsCall::BeginScene);
  EXPECT_EQ(DDBeginScene(), 0);

  DDSURFACEDATA system;
  ASSERT_TRUE(DDCreateSurface(&system, 8, 8, 0, 0, 1, 0, 0));
  Direct3DSurface9* before = lpDevice->RenderTarget();
  EXPECT_EQ(DDSetRenderTarget(0, &system), 0);
  DDSURFACEDATA missing;
  EXPECT_EQ(DDSetRenderTarget(0, &missing), 0);
  EXPECT_EQ(DDSetRenderTarget(0, nullptr), 0);
  EXPECT_EQ(lpDevice->RenderTarget(), before);
  DDReleaseSurface(&system);
}

}  // namespace
