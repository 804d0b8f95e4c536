#include "graphics/device.h"

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/scene.h"
#include "support/graphics_device.h"
#include "platform/video/display_config.h"

namespace {

using namespace platform;

class DeviceStartUp : public testing::TestWithParam<GraphicsMode> {};

TEST_P(DeviceStartUp, MakesTheBackEndAndItsFixedSurfacesAndReleasesThemAll) {
  const GraphicsMode& mode = GetParam();
  {
    ScopedGraphicsDevice device(mode);
    ASSERT_TRUE(device.Started());
    EXPECT_EQ(g_bDisplayReady, 1);
    EXPECT_EQ(g_nBytesPerPixel, mode.nBpp / 8);
    ASSERT_NE(g_sdBackBuffer.lpDT != nullptr, g_sdBackBuffer.lpDDraw != nullptr);
    if (mode.bDirect3D) {
      ASSERT_NE(g_lpD3DState, nullptr);
      EXPECT_EQ(g_lpDDState, nullptr);
      EXPECT_STREQ(g_sdBackBuffer.szSurfaceType, "BackBuffer");
      EXPECT_NE(g_sdBackBuffer.lpDT->lpSurface, nullptr);
      EXPECT_NE(g_sdBackBuffer.lpDT->lpVB, nullptr);
      EXPECT_EQ(g_sdBackBuffer.lpDT->bRenderTarget, 1);
      EXPECT_STREQ(g_sdVirBackBuffer.szSurfaceType, "VirBackBuffer");
      EXPECT_STREQ(g_sdWork.szSurfaceType, "WorkSD");
      EXPECT_EQ(g_sdVirBackBuffer.lpDT->nIndex, 1);
      EXPECT_EQ(g_sdWork.lpDT->nIndex, 2);
      EXPECT_EQ(g_lpD3DState->nTextureCount, 3);
      EXPECT_EQ(g_listTexture, (std::list<DDSURFACEDATA*>{&g_sdVirBackBuffer, &g_sdWork}));
      // Between frames the device rests on the virtual back buffer.
      EXPECT_EQ(g_lpD3DState->lpRestTarget, &g_sdVirBackBuffer);
      EXPECT_EQ(lpDevice->RenderTarget(), g_sdVirBackBuffer.lpDT->lpSurface);
      EXPECT_EQ(lpDevice->GetRenderState(D3DRS_CULLMODE), D3DCULL_NONE);
      EXPECT_EQ(lpDevice->GetRenderState(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
      EXPECT_EQ(lpDevice->GetSamplerState(1, D3DSAMP_MINFILTER), D3DTEXF_POINT);
      EXPECT_EQ(lpDevice->BehaviorFlags(), D3DCREATE_HARDWARE_VERTEXPROCESSING);
      EXPECT_EQ(g_lpD3DState->dwBltAlphaOp, 2);
      EXPECT_EQ(g_lpD3DState->dwBltColor, 0xFFFFFFFFu);
    } else {
      ASSERT_NE(g_lpDDState, nullptr);
      EXPECT_EQ(g_lpD3DState, nullptr);
      DDSURFACEDESC2 desc;
      desc.dwSize = kDDSurfaceDesc2Size;
      g_sdPrimary.lpDDraw->lpDDS->GetSurfaceDesc(&desc);
      EXPECT_EQ(desc.dwBackBufferCount, 1u);  // back-buffer mode 1
      EXPECT_EQ(g_sdScreenCopy.bSystemMemory, 1);
      EXPECT_TRUE(g_sdScreenCopy.lpDDraw->lpDDS->InSystemMemory());
      EXPECT_EQ(g_sdPrimary.lpDDraw->lpDDS->Palette() != nullptr, mode.nBpp == 8);
    }
  }
  // Released: nothing is left, and the records keep nothing.
  EXPECT_EQ(g_lpD3DState, nullptr);
  EXPECT_EQ(g_lpD3DStateAlloc, nullptr);
  EXPECT_EQ(g_lpDDState, nullptr);
  EXPECT_EQ(g_lpDDStateAlloc, nullptr);
  EXPECT_EQ(g_lpDD, nullptr);
  EXPECT_EQ(g_lpD3D9, nullptr);
  EXPECT_EQ(lpDevice, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Modes, DeviceStartUp, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

struct FormatCase {
  const char* name;
  int nBpp;
  int nWindowMode;
  D3DFORMAT backBuffer;
  D3DFORMAT texture;
  DDCOLORFORMAT screen;
  DDCOLORFORMAT surface;
};

class Direct3DFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(Direct3DFormats, FollowTheDepthAndWindowMode) {
  const FormatCase& c = GetParam();
  ScopedGraphicsDevice device({c.name, 1, c.nBpp, c.nWindowMode, false});
  ASSERT_TRUE(device.Started());
  EXPECT_EQ(g_lpD3DState->fmtBackBuffer, c.backBuffer);
  EXPECT_EQ(g_lpD3DState->fmtTexture, c.texture);
  EXPECT_EQ(g_lpD3DState->fmtDisplay, c.backBuffer);
  EXPECT_EQ(g_sdBackBuffer.lpDT->lpSurface->Desc().Format, c.backBuffer);
  EXPECT_EQ(g_sdVirBackBuffer.lpDT->descLevel.Format, c.texture);
  EXPECT_EQ(std::memcmp(&g_cfScreen, &c.screen, sizeof c.screen), 0);
  EXPECT_EQ(std::memcmp(&g_cfSurface, &c.surface, sizeof c.surface), 0);
  EXPECT_EQ(g_lpD3DState->PresentParams.Windowed, c.nWindowMode);
  EXPECT_EQ(g_lpD3DState->PresentParams.BackBufferWidth, 640u);
  EXPECT_EQ(g_lpD3DState->PresentParams.Flags, D3DPRESENTFLAG_LOCKABLE_BACKBUFFER);
  EXPECT_EQ(g_lpD3DState->PresentParams.SwapEffect, D3DSWAPEFFECT_DISCARD);
  EXPECT_EQ(g_lpD3DState->PresentParams.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, Direct3DFormats,
    testing::Values(FormatCase{"Bpp16FullScreen", 16, 0, D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, {11, 5, 0, 16, 31, 63, 31, 0},
                               {10, 5, 0, 15, 31, 31, 31, 1}},
                    FormatCase{"Bpp16Window", 16, 1, D3DFMT_A1R5G5B5, D3DFMT_A1R5G5B5, {10, 5, 0, 15, 31, 31, 31, 1},
                               {10, 5, 0, 15, 31, 31, 31, 1}},
                    FormatCase{"Bpp32", 32, 0, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, {}, {16, 8, 0, 24, 255, 255, 255, 255}}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(DeviceStartUp, DirectDrawReadsTheSurfaceFormatFromThePrimary) {
  const struct {
    GraphicsMode mode;
    DDCOLORFORMAT expected;
  } cases[] = {{{"DD16_565", 0, 16, 0, false}, {11, 5, 0, 0, 31, 63, 31, 0}},
               {{"DD16_555", 0, 16, 0, true}, {10, 5, 0, 0, 31, 31, 31, 0}},
               {{"DD32", 0, 32, 0, false}, {16, 8, 0, 0, 255, 255, 255, 0}}};
  for (const auto& c : cases) {
    g_cfSurface = {1, 2, 3, 0, 4, 5, 6, 0};  // whatever was there before is replaced
    ScopedGraphicsDevice device(c.mode);
    ASSERT_TRUE(device.Started()) << c.mode.name;
    EXPECT_EQ(std::memcmp(&g_cfSurface, &c.expected, sizeof c.expected), 0) << c.mode.name;
  }
}

// Direct3D refused at a depth, or without a device: start-up releases and
// starts DirectDraw instead, as the program's start-up does.
struct FallbackCase {
  const char* name;
  int nBpp;
  GraphicsCall failingCall;  // kCount: none
};

class Direct3DFallback : public testing::TestWithParam<FallbackCase> {};

TEST_P(Direct3DFallback, FailsCleanlyAndDirectDrawTakesOver) {
  const FallbackCase& c = GetParam();
  ScopedGraphicsDevice device({c.name, 1, c.nBpp, 0, false});
  if (c.failingCall == GraphicsCall::CreateDeviceHardware) {
    // Set before the start-up below: both device kinds are refused.
    DDRelease();
    FailCall(GraphicsCall::CreateDeviceHardware);
    FailCall(GraphicsCall::CreateDeviceSoftware);
    EXPECT_FALSE(DDInit(1, nullptr, 640, 480, c.nBpp, 0, 0, 1, 60, 0, g_SurfaceTable, g_ImageTable, kImageCount));
  } else if (c.failingCall != GraphicsCall::kCount) {
    DDRelease();
    FailCall(c.failingCall);
    EXPECT_FALSE(DDInit(1, nullptr, 640, 480, c.nBpp, 0, 0, 1, 60, 0, g_SurfaceTable, g_ImageTable, kImageCount));
  } else {
    EXPECT_FALSE(device.Started());
  }
  DDRelease();
  EXPECT_EQ(lpDevice, nullptr);
  EXPECT_EQ(g_lpD3DState, nullptr);
  EXPECT_EQ(g_lpD3DStateAlloc, nullptr);
  const int ddBpp = c.nBpp == 24 ? 32 : c.nBpp;
  ASSERT_TRUE(DDInit(0, nullptr, 640, 480, ddBpp, 0, 0, 1, 60, 0, g_SurfaceTable, g_ImageTable, kImageCount));
  EXPECT_NE(g_lpDDState, nullptr);
  EXPECT_EQ(g_lpD3DState, nullptr);
  EXPECT_TRUE(device.Boxes().Shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Direct3DFallback,
    testing::Values(FallbackCase{"Bpp8", 8, GraphicsCall::kCount}, FallbackCase{"Bpp24", 24, GraphicsCall::kCount},
                    FallbackCase{"NoDeviceAt16", 16, GraphicsCall::CreateDeviceHardware},
                    FallbackCase{"NoDeviceAt32", 32, GraphicsCall::CreateDeviceHardware},
                    FallbackCase{"NoDirect3D", 32, GraphicsCall::Direct3DCreate9},
                    FallbackCase{"NoBackBufferQuad", 32, GraphicsCall::CreateVertexBuffer}),
    [](const testing::TestParamInfo<FallbackCase>& info) { return std::string(info.param.name); });

TEST(DeviceStartUp, HardwareVertexProcessingRefusedFallsBackToSoftware) {
  ScopedGraphicsDevice device({"D3D32", 1, 32, 0, false});
  DDRelease();
  FailCall(GraphicsCall::CreateDeviceHardware);
  ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, 0, 0, 1, 60, 0, g_SurfaceTable, g_ImageTable, kImageCount));
  EXPECT_EQ(lpDevice->BehaviorFlags(), D3DCREATE_SOFTWARE_VERTEXPROCESSING);
}

struct DirectDrawFailure {
  const char* name;
  int nBpp;
  int nWindowMode;
  GraphicsCall call;
  int failures;
};

class DirectDrawStartUpFailure : public testing::TestWithParam<DirectDrawFailure> {};

TEST_P(DirectDrawStartUpFailure, StopsTheStartUpAndLeavesNothingBehind) {
  const DirectDrawFailure& c = GetParam();
  ScopedGraphicsDevice device({c.name, 0, c.nBpp, c.nWindowMode, false});
  DDRelease();
  FailCall(c.call, c.failures);
  EXPECT_FALSE(DDInit(0, nullptr, 640, 480, c.nBpp, 0, c.nWindowMode, 1, 60, 1, g_SurfaceTable, g_ImageTable,
                      kImageCount));
  DDRelease();
  EXPECT_EQ(g_lpDDState, nullptr);
  EXPECT_EQ(g_lpDD, nullptr);
  EXPECT_EQ(g_lpDDPalette, nullptr);
  EXPECT_EQ(g_lpDDClipper, nullptr);
  EXPECT_EQ(g_sdPrimary.lpDDraw, nullptr);
  EXPECT_TRUE(device.Boxes().Shown().empty());  // nothing was left referenced
}

INSTANTIATE_TEST_SUITE_P(
    Calls, DirectDrawStartUpFailure,
    testing::Values(DirectDrawFailure{"CreateEx", 32, 0, GraphicsCall::DirectDrawCreateEx, 1},
                    DirectDrawFailure{"CooperativeLevel", 32, 0, GraphicsCall::SetCooperativeLevel, 1},
                    DirectDrawFailure{"DisplayModeTwice", 32, 0, GraphicsCall::SetDisplayMode, 2},
                    DirectDrawFailure{"PrimarySurface", 32, 0, GraphicsCall::CreateSurface, 1},
                    DirectDrawFailure{"AttachedSurface", 32, 0, GraphicsCall::GetAttachedSurface, 1},
                    DirectDrawFailure{"Palette", 32, 0, GraphicsCall::CreatePalette, 1},
                    DirectDrawFailure{"SetPaletteAt8", 8, 0, GraphicsCall::SetPalette, 1},
                    DirectDrawFailure{"WindowPrimary", 32, 1, GraphicsCall::CreateSurface, 1},
                    DirectDrawFailure{"WindowClipper", 32, 1, GraphicsCall::CreateClipper, 1},
                    DirectDrawFailure{"WindowSetHWnd", 32, 1, GraphicsCall::SetHWnd, 1},
                    DirectDrawFailure{"WindowSetClipper", 32, 1, GraphicsCall::SetClipper, 1}),
    [](const testing::TestParamInfo<DirectDrawFailure>& info) { return std::string(info.param.name); });

TEST(DeviceStartUp, ARefusedRefreshRateIsRetriedWithTheDefaultRate) {
  DisplayConfig config;
  config.refuseRefreshRate = true;
  ScopedDisplayConfig scoped(config);
  ScopedGraphicsDevice device({"DD32", 0, 32, 0, false}, config);
  DDRelease();
  ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 32, 1, 0, 2, 60, 1, g_SurfaceTable, g_ImageTable, kImageCount));
  EXPECT_EQ(g_lpDD->RefreshRate(), 0u);
  DDSURFACEDESC2 desc;
  desc.dwSize = kDDSurfaceDesc2Size;
  g_sdPrimary.lpDDraw->lpDDS->GetSurfaceDesc(&desc);
  EXPECT_EQ(desc.dwBackBufferCount, 2u);  // back-buffer mode 2
}

TEST(DeviceStartUp, WindowedDirectDrawTakesTheClientAreaAndTheDesktopDepth) {
  DisplayConfig config;
  config.desktopBpp = 16;
  ScopedGraphicsDevice device({"DDWindow16", 0, 16, 1, false}, config);
  ASSERT_TRUE(device.Started());
  EXPECT_EQ(g_rcClientScreen, (RECT{100, 100, 740, 580}));
  EXPECT_EQ(g_nDesktopBpp, 16);
  EXPECT_EQ(g_sdBackBuffer.nWidth, 640);
  EXPECT_EQ(g_sdPrimary.lpDDraw->lpDDS->Palette(), nullptr);
  EXPECT_EQ(g_sdPrimary.lpDDraw->lpDDS->Clipper(), g_lpDDClipper);
  EXPECT_EQ(g_cfSurface.nShiftR, 11);
  EXPECT_EQ(DDSetGDIMode(1), 1);  // a window needs nothing
}

TEST(DeviceStartUp, VideoMemoryExhaustedPutsSurfacesInSystemMemory) {
  DisplayConfig config;
  config.videoMemoryBytes = 0;
  {
    ScopedGraphicsDevice device({"DDWindow32", 0, 32, 1, false}, config);
    ASSERT_TRUE(device.Started());
    EXPECT_EQ(g_sdBackBuffer.bSystemMemory, 1);
    EXPECT_TRUE(g_sdBackBuffer.lpDDraw->lpDDS->InSystemMemory());
  }
  {
    ScopedGraphicsDevice device({"D3D32", 1, 32, 0, false}, config);
    ASSERT_TRUE(device.Started());
    EXPECT_EQ(g_sdVirBackBuffer.lpDT->bSystemMemory, 1);
    EXPECT_EQ(g_sdVirBackBuffer.lpDT->bRenderTarget, 0);
    EXPECT_EQ(g_sdVirBackBuffer.lpDT->lpSystemSurface, nullptr);
    EXPECT_EQ(g_sdVirBackBuffer.lpDT->descLevel.Pool, D3DPOOL_SYSTEMMEM);
  }
}

TEST(DeviceStartUp, TextureCapsPadTheScreenSizedTextures) {
  const struct {
    bool pow2, square;
    int texWidth, texHeight;
  } cases[] = {{false, false, 640, 480}, {true, false, 1024, 512}, {true, true, 1024, 1024}, {false, true, 640, 640}};
  for (const auto& c : cases) {
    DisplayConfig config;
    config.texturePow2 = c.pow2;
    config.textureSquareOnly = c.square;
    ScopedGraphicsDevice device({"D3D32", 1, 32, 0, false}, config);
    ASSERT_TRUE(device.Started());
    EXPECT_EQ(g_lpD3DState->bPow2, c.pow2 ? 1 : 0);
    EXPECT_EQ(g_sdVirBackBuffer.nWidth, 640);
    EXPECT_EQ(g_sdVirBackBuffer.nHeight, 480);
    EXPECT_EQ(g_sdVirBackBuffer.nTexWidth, c.texWidth);
    EXPECT_EQ(g_sdVirBackBuffer.nTexHeight, c.texHeight);
    EXPECT_EQ(g_sdBackBuffer.nTexWidth, 640);  // the back buffer is never padded
  }
}

TEST(DeviceStartUp, ASurfaceLeftAtReleaseShowsTheLeakBox) {
  ScopedGraphicsDevice device({"DD32", 0, 32, 0, false});
  ASSERT_TRUE(device.Started());
  DDSURFACEDATA forgotten;
  ASSERT_TRUE(DDCreateSurface(&forgotten, 8, 8, 0, 0, 0, 0, 0));
  DDRelease();
  const auto shown = device.Boxes().Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "解放漏れがあります");
  EXPECT_EQ(shown[0].caption, "DirectDraw");
  EXPECT_EQ(shown[0].type, MB_ICONHAND);
  DDReleaseSurface(&forgotten);  // the surface outlives its display safely
}

TEST(DeviceStartUp, MessageBoxesOverAFullScreenDevice) {
  HeadlessWindowServices window;
  WindowServices* previous = SetWindowServices(&window);
  {
    ScopedGraphicsDevice device({"D3D32", 1, 32, 0, false});
    ASSERT_TRUE(device.Started());
    EXPECT_LT(window.CursorCount(), 0);
    DDBeginScene();
    EXPECT_EQ(DDMesBox("本文", "題", MB_OK), 1);
    EXPECT_FALSE(lpDevice->InScene());  // the scene was closed for the box
    EXPECT_FALSE(lpDevice->DialogBoxMode());
    EXPECT_LT(window.CursorCount(), 0);
    ASSERT_EQ(device.Boxes().Shown().size(), 1u);
    EXPECT_EQ(device.Boxes().Shown()[0].text, "本文");

    FailCall(GraphicsCall::SetDialogBoxMode);
    EXPECT_EQ(DDMesBox("本文", "題", MB_OK), 0);
    EXPECT_EQ(device.Boxes().Shown().size(), 1u);
  }
  {
    ScopedGraphicsDevice device({"DD8", 0, 8, 0, false});
    EXPECT_EQ(window.Style(), WS_POPUP);
    EXPECT_EQ(window.ExStyle(), WS_EX_TOPMOST);
    const int hidden = window.CursorCount();
    EXPECT_LT(hidden, 0);
    EXPECT_EQ(DDSetGDIMode(1), 1);
    EXPECT_EQ(window.CursorCount(), hidden + 1);  // shown once for the box
    EXPECT_EQ(DDSetGDIMode(0), 1);
    EXPECT_LT(window.CursorCount(), 0);
  }
  SetWindowServices(previous);
}

TEST(DeviceStartUp, WindowedDirect3DWithVSyncSetsTheDesktopTo60HzOnlyWhenTheTestSaysYes) {
  for (const bool testFails : {false, true}) {
    HeadlessWindowServices window;
    WindowServices* previous = SetWindowServices(&window);
    DisplayConfig config;
    config.changeDisplaySettingsTestFails = testFails;
    ScopedDisplayConfig scoped(config);
    {
      ScopedGraphicsDevice device({"D3D32Window", 1, 32, 1, false}, config);
      DDRelease();
      ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, 1, 1, 1, 60, 1, g_SurfaceTable, g_ImageTable, kImageCount));
      EXPECT_EQ(window.DisplayFrequency(), testFails ? 0u : 60u);
      EXPECT_EQ(g_lpD3DState->PresentParams.PresentationInterval, D3DPRESENT_INTERVAL_DEFAULT);
    }
    SetWindowServices(previous);
  }
}

}  // namespace
