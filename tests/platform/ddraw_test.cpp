#include "platform/video/ddraw.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/frame_mailbox.h"
#include "support/scoped_display_config.h"
#include "support/scoped_virtual_clock.h"

namespace {

using namespace platform;

// A display object released at the end of the test, whatever happens.
struct Display {
  DirectDraw7* dd = nullptr;
  Display() { EXPECT_EQ(DirectDrawCreateEx(nullptr, &dd, nullptr, nullptr), DD_OK); }
  ~Display() {
    if (dd) dd->Release();
  }
};

DDSURFACEDESC2 OffscreenDesc(DWORD width, DWORD height, DWORD caps = DDSCAPS_OFFSCREENPLAIN) {
  DDSURFACEDESC2 desc;
  desc.dwSize = kDDSurfaceDesc2Size;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = width;
  desc.dwHeight = height;
  desc.ddsCaps.dwCaps = caps;
  return desc;
}

DDSURFACEDESC2 FlipChainDesc(DWORD backBuffers) {
  DDSURFACEDESC2 desc;
  desc.dwSize = kDDSurfaceDesc2Size;
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  desc.dwBackBufferCount = backBuffers;
  return desc;
}

struct ModeCase {
  const char* name;
  DWORD bpp;
  bool is555;
  PixelFormat format;
  DWORD redMask;
};

class DirectDrawModes : public testing::TestWithParam<ModeCase> {};

TEST_P(DirectDrawModes, SurfacesTakeTheModeFormatAndLockGivesTheirPixels) {
  const ModeCase& mode = GetParam();
  DisplayConfig config;
  config.sixteenBitIs555 = mode.is555;
  ScopedDisplayConfig scoped(config);
  Display display;
  ASSERT_EQ(display.dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE), DD_OK);
  ASSERT_EQ(display.dd->SetDisplayMode(640, 480, mode.bpp, 60, 0), DD_OK);

  DirectDrawSurface7* surface = nullptr;
  const DDSURFACEDESC2 create = OffscreenDesc(5, 3);
  ASSERT_EQ(display.dd->CreateSurface(&create, &surface, nullptr), DD_OK);
  EXPECT_EQ(surface->Pixels().Format(), mode.format);

  DDPIXELFORMAT pf;
  pf.dwSize = kDDPixelFormatSize;
  ASSERT_EQ(surface->GetPixelFormat(&pf), DD_OK);
  EXPECT_EQ(pf.dwRGBBitCount, mode.bpp);
  EXPECT_EQ(pf.dwRBitMask, mode.redMask);
  EXPECT_EQ((pf.dwFlags & DDPF_PALETTEINDEXED8) != 0, mode.bpp == 8);

  // Write every pixel through the lock, row by row at lPitch, and read it back.
  DDSURFACEDESC2 lock;
  lock.dwSize = kDDSurfaceDesc2Size;
  ASSERT_EQ(surface->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DD_OK);
  const int bytes = static_cast<int>(mode.bpp / 8);
  EXPECT_GE(lock.lPitch, 5 * bytes);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const std::uint32_t value = static_cast<std::uint32_t>(y * 5 + x + 1) * 0x01010101u;
      std::memcpy(static_cast<std::uint8_t*>(lock.lpSurface) + y * lock.lPitch + x * bytes, &value, bytes);
    }
  EXPECT_EQ(surface->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
  EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
  const std::uint32_t mask = mode.bpp == 32 ? 0xFFFFFFFFu : (1u << mode.bpp) - 1;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(surface->Pixels().ReadRaw(x, y), (static_cast<std::uint32_t>(y * 5 + x + 1) * 0x01010101u) & mask);
  surface->Release();
}

INSTANTIATE_TEST_SUITE_P(Modes, DirectDrawModes,
                         testing::Values(ModeCase{"Bpp8", 8, false, PixelFormat::Index8, 0},
                                         ModeCase{"Bpp16Rgb565", 16, false, PixelFormat::RGB565, 0xF800},
                                         ModeCase{"Bpp16Rgb555", 16, true, PixelFormat::XRGB1555, 0x7C00},
                                         ModeCase{"Bpp32", 32, false, PixelFormat::XRGB8888, 0xFF0000}),
                         [](const testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST(DirectDraw, DisplayModesOtherThan8_16_32AreRefusedAndTheRefreshRateCanBe) {
  ScopedDisplayConfig scoped;
  Display display;
  EXPECT_EQ(display.dd->SetDisplayMode(640, 480, 24, 0, 0), DDERR_INVALIDMODE);
  DisplayConfig config;
  config.refuseRefreshRate = true;
  scoped.Set(config);
  EXPECT_EQ(display.dd->SetDisplayMode(640, 480, 16, 60, 0), DDERR_INVALIDMODE);
  EXPECT_EQ(display.dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
  EXPECT_EQ(display.dd->DisplayBpp(), 16);
  display.dd->RestoreDisplayMode();
  EXPECT_EQ(display.dd->DisplayBpp(), 32);  // the desktop's
}

TEST(DirectDraw, FlipChainHasItsBackBuffersAndFlipPresentsThroughThePalette) {
  ScopedDisplayConfig scoped;
  TheFrameMailbox().Clear();
  Display display;
  display.dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE);
  display.dd->SetDisplayMode(4, 2, 8, 0, 0);
  DirectDrawSurface7* primary = nullptr;
  const DDSURFACEDESC2 chain = FlipChainDesc(2);
  ASSERT_EQ(display.dd->CreateSurface(&chain, &primary, nullptr), DD_OK);
  DDSURFACEDESC2 desc;
  desc.dwSize = kDDSurfaceDesc2Size;
  primary->GetSurfaceDesc(&desc);
  EXPECT_EQ(desc.dwBackBufferCount, 2u);

  DirectDrawSurface7* back = nullptr;
  const DDSCAPS2 caps{DDSCAPS_BACKBUFFER};
  ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
  PALETTEENTRY entries[256] = {};
  entries[3] = {255, 128, 0, 0};
  DirectDrawPalette* palette = nullptr;
  ASSERT_EQ(display.dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr), DD_OK);
  ASSERT_EQ(primary->SetPalette(palette), DD_OK);
  back->Pixels().WriteRaw(1, 1, 3);

  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  const Frame frame = TheFrameMailbox().Latest();
  ASSERT_EQ(frame.width, 4);
  EXPECT_EQ(frame.At(1, 1), 0xFFFF8000u);
  EXPECT_EQ(frame.At(0, 0), 0xFF000000u);
  EXPECT_EQ(back->Pixels().ReadRaw(1, 1), 3u);  // the back buffer keeps its contents

  // The palette is read when the frame is presented.
  entries[3] = {0, 0, 255, 0};
  palette->SetEntries(0, 3, 1, &entries[3]);
  primary->Flip(nullptr, DDFLIP_WAIT);
  EXPECT_EQ(TheFrameMailbox().Latest().At(1, 1), 0xFF0000FFu);

  // Everything made by the display keeps it referenced until released.
  EXPECT_EQ(display.dd->AddRef(), 2u);
  EXPECT_EQ(display.dd->Release(), 1u + 4u);  // primary, two back buffers, palette
  palette->Release();
  back->Release();
  primary->Release();
  EXPECT_EQ(display.dd->Release(), 0u);
  display.dd = nullptr;
}

// The display flips at its blanks, one flip a blank, and a flip may wait
// for its blank while the next frame is drawn; WaitForVerticalBlank waits
// for the next blank to begin.
TEST(DirectDraw, FlipsAndTheVerticalBlankWaitFollowTheDisplaysBlanks) {
  ScopedDisplayConfig scoped;
  ScopedVirtualClock clock(0);
  Display display;
  display.dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE);
  display.dd->SetDisplayMode(4, 2, 32, 0, 0);
  DirectDrawSurface7* primary = nullptr;
  const DDSURFACEDESC2 chain = FlipChainDesc(1);
  ASSERT_EQ(display.dd->CreateSurface(&chain, &primary, nullptr), DD_OK);
  const std::uint32_t flippedAt[] = {0, 17, 34, 50};
  for (const std::uint32_t at : flippedAt) {
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(clock.NowMs(), at);
  }
  clock.Set(60);
  ASSERT_EQ(display.dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK);
  EXPECT_EQ(clock.NowMs(), 67u);
  primary->Release();
}

TEST(DirectDraw, AWindowedPrimaryIsTheClientAreaInTheDesktopFormat) {
  DisplayConfig config;
  config.desktopBpp = 16;
  ScopedDisplayConfig scoped(config);
  Display display;
  ASSERT_EQ(display.dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
  DDSURFACEDESC2 desc;
  desc.dwSize = kDDSurfaceDesc2Size;
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  DirectDrawSurface7* primary = nullptr;
  ASSERT_EQ(display.dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
  EXPECT_EQ(primary->Pixels().Width(), 640);
  EXPECT_EQ(primary->Pixels().Height(), 480);
  EXPECT_EQ(primary->Pixels().Format(), PixelFormat::RGB565);
  EXPECT_EQ(primary->ScreenOrigin().x, 100);
  EXPECT_EQ(primary->ScreenOrigin().y, 100);
  const DDSURFACEDESC2 chain = FlipChainDesc(1);
  DirectDrawSurface7* refused = nullptr;
  EXPECT_EQ(display.dd->CreateSurface(&chain, &refused, nullptr), DDERR_INVALIDPARAMS);  // no flip in a window
  primary->Release();
}

TEST(DirectDraw, VideoMemoryRunsOutWhileSystemMemoryDoesNot) {
  DisplayConfig config;
  config.videoMemoryBytes = 2 * 64 * 64 * 4;
  ScopedDisplayConfig scoped(config);
  Display display;
  display.dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
  DirectDrawSurface7* surfaces[4] = {};
  const DDSURFACEDESC2 video = OffscreenDesc(64, 64);
  const DDSURFACEDESC2 system = OffscreenDesc(64, 64, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
  EXPECT_EQ(display.dd->CreateSurface(&video, &surfaces[0], nullptr), DD_OK);
  EXPECT_EQ(display.dd->CreateSurface(&video, &surfaces[1], nullptr), DD_OK);
  EXPECT_EQ(display.dd->CreateSurface(&video, &surfaces[2], nullptr), DDERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(surfaces[2], nullptr);
  EXPECT_EQ(display.dd->CreateSurface(&system, &surfaces[3], nullptr), DD_OK);
  EXPECT_TRUE(surfaces[3]->InSystemMemory());
  DWORD total = 0, free = 0;
  display.dd->GetAvailableVidMem(nullptr, &total, &free);
  EXPECT_EQ(total, config.videoMemoryBytes);
  EXPECT_EQ(free, 0u);
  surfaces[0]->Release();  // freeing gives the memory back
  EXPECT_EQ(display.dd->CreateSurface(&video, &surfaces[2], nullptr), DD_OK);
  for (DirectDrawSurface7* s : {surfaces[1], surfaces[2], surfaces[3]}) s->Release();
}

TEST(DirectDraw, LostVideoMemorySurfacesRefuseLockUntilRestoredAndKeepScrambledPixels) {
  ScopedDisplayConfig scoped;
  Display display;
  display.dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
  DirectDrawSurface7* video = nullptr;
  DirectDrawSurface7* system = nullptr;
  const DDSURFACEDESC2 videoDesc = OffscreenDesc(8, 8);
  const DDSURFACEDESC2 systemDesc = OffscreenDesc(8, 8, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
  display.dd->CreateSurface(&videoDesc, &video, nullptr);
  display.dd->CreateSurface(&systemDesc, &system, nullptr);

  display.dd->SimulateLoss();
  EXPECT_EQ(video->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(system->IsLost(), DD_OK);
  DDSURFACEDESC2 lock;
  lock.dwSize = kDDSurfaceDesc2Size;
  EXPECT_EQ(video->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
  EXPECT_EQ(video->Restore(), DD_OK);
  EXPECT_EQ(video->IsLost(), DD_OK);
  EXPECT_NE(video->Pixels().ReadRaw(1, 0), 0u);  // garbage until reloaded
  EXPECT_EQ(system->Pixels().ReadRaw(1, 0), 0u);
  video->Release();
  system->Release();
}

TEST(DirectDraw, LockRefusesABadDescriptionOrRectangleAndInjectedFaults) {
  ScopedDisplayConfig scoped;
  Display display;
  display.dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
  DirectDrawSurface7* surface = nullptr;
  const DDSURFACEDESC2 desc = OffscreenDesc(8, 4);
  display.dd->CreateSurface(&desc, &surface, nullptr);
  DDSURFACEDESC2 lock;
  EXPECT_EQ(surface->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);  // size not set
  lock.dwSize = kDDSurfaceDesc2Size;
  const RECT outside{4, 2, 9, 4};
  EXPECT_EQ(surface->Lock(&outside, &lock, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);
  const RECT inside{4, 2, 8, 4};
  ASSERT_EQ(surface->Lock(&inside, &lock, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(lock.lpSurface, surface->Pixels().Row(2) + 4 * 4);
  surface->Unlock(nullptr);
  FailCall(GraphicsCall::Lock);
  EXPECT_TRUE(FAILED(surface->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr)));
  EXPECT_EQ(surface->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DD_OK);
  surface->Unlock(nullptr);
  surface->Release();
}

}  // namespace
