#include "platform/video/d3d9.h"

#include <gtest/gtest.h>

#include "platform/frame_mailbox.h"
#include "support/scoped_display_config.h"
#include "support/scoped_virtual_clock.h"

namespace {

using namespace platform;

// A windowed device with a lockable 32-bit back buffer of 8 x 4.
struct Device {
  Direct3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  Direct3DDevice9* device = nullptr;
  D3DPRESENT_PARAMETERS params;

  Device() {
    params.BackBufferWidth = 8;
    params.BackBufferHeight = 4;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.Windowed = 1;
    params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device),
              D3D_OK);
  }
  ~Device() {
    if (device) device->Release();
    d3d->Release();
  }

  Direct3DTexture9* RenderTarget(UINT width = 8, UINT height = 4) {
    Direct3DTexture9* texture = nullptr;
    EXPECT_EQ(D3DXCreateTexture(device, width, height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                &texture),
              D3D_OK);
    return texture;
  }
};

// With VSync (any interval but IMMEDIATE) the display shows one frame a
// blank and Present holds the program back while a frame still waits;
// without it Present never waits. Reset takes the interval it is given.
TEST(Direct3D, PresentWaitsForTheDisplayOnlyWithVSync) {
  ScopedDisplayConfig scoped;
  ScopedVirtualClock clock(0);
  Device d;
  const auto presentThree = [&] {
    const std::uint32_t start = clock.NowMs();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(d.device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    return clock.NowMs() - start;
  };
  EXPECT_EQ(presentThree(), 34u) << "the first frame fills the queue, two more wait a blank each";
  d.params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  ASSERT_EQ(d.device->Reset(&d.params), D3D_OK);
  EXPECT_EQ(presentThree(), 0u);
  d.params.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
  ASSERT_EQ(d.device->Reset(&d.params), D3D_OK);
  clock.Advance(100);  // the display has shown everything
  EXPECT_EQ(presentThree(), 33u) << "from 134: no wait, then the blanks at 150 and 167";
}

TEST(Direct3D, ResetIsRefusedWhileADefaultPoolResourceOrBackBufferReferenceLives) {
  ScopedDisplayConfig scoped;
  Device d;
  Direct3DTexture9* texture = d.RenderTarget();
  Direct3DSurface9* level = nullptr;
  texture->GetSurfaceLevel(0, &level);
  Direct3DVertexBuffer9* managed = nullptr;
  ASSERT_EQ(d.device->CreateVertexBuffer(112, D3DUSAGE_WRITEONLY, 0x144, D3DPOOL_MANAGED, &managed, nullptr), D3D_OK);

  d.device->SimulateLoss();
  EXPECT_EQ(d.device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
  EXPECT_EQ(d.device->TestCooperativeLevel(), D3DERR_DEVICELOST);
  EXPECT_EQ(d.device->Reset(&d.params), D3DERR_DEVICELOST);
  d.device->AllowReset();
  EXPECT_EQ(d.device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

  texture->Release();
  EXPECT_EQ(d.device->Reset(&d.params), D3DERR_INVALIDCALL);  // the level surface still lives
  level->Release();
  Direct3DSurface9* back = nullptr;
  d.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
  EXPECT_EQ(d.device->Reset(&d.params), D3DERR_INVALIDCALL);
  back->Release();
  d.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  EXPECT_EQ(d.device->Reset(&d.params), D3D_OK);
  EXPECT_EQ(d.device->TestCooperativeLevel(), D3D_OK);
  EXPECT_EQ(d.device->GetRenderState(D3DRS_CULLMODE), D3DCULL_CCW);  // states back to their defaults
  void* bytes = nullptr;
  EXPECT_EQ(managed->Lock(0, 112, &bytes, 0), D3D_OK);  // managed resources survive
  managed->Unlock();
  managed->Release();
}

// Every render state and stage state reads back as set, whatever its
// number, until Reset puts each back to its default.
TEST(Direct3D, StatesReadBackAsSetUntilReset) {
  ScopedDisplayConfig scoped;
  Device d;
  const std::uint32_t renderStates[] = {D3DRS_TEXTUREFACTOR, 255, 256, 0x12345};
  const struct {
    std::uint32_t stage, type;
  } stageStates[] = {{0, D3DTSS_COLOROP}, {0, 32}, {0, 33}, {1, D3DTSS_COLOROP}, {7, D3DTSS_ALPHAARG2}};
  for (const std::uint32_t state : renderStates) {
    EXPECT_EQ(d.device->GetRenderState(state), 0u) << state;
    d.device->SetRenderState(state, state + 1);
  }
  for (const auto& s : stageStates) ASSERT_EQ(d.device->SetTextureStageState(s.stage, s.type, 100 + s.type), D3D_OK);
  for (const std::uint32_t state : renderStates) EXPECT_EQ(d.device->GetRenderState(state), state + 1) << state;
  for (const auto& s : stageStates)
    EXPECT_EQ(d.device->GetTextureStageState(s.stage, s.type), 100 + s.type) << s.stage << ", " << s.type;

  ASSERT_EQ(d.device->Reset(&d.params), D3D_OK);
  for (const std::uint32_t state : renderStates) EXPECT_EQ(d.device->GetRenderState(state), 0u) << state;
  EXPECT_EQ(d.device->GetTextureStageState(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
  EXPECT_EQ(d.device->GetTextureStageState(0, 32), D3DTA_CURRENT);
  EXPECT_EQ(d.device->GetTextureStageState(0, 33), D3DTA_CURRENT);
  EXPECT_EQ(d.device->GetTextureStageState(1, D3DTSS_COLOROP), D3DTOP_DISABLE);
  EXPECT_EQ(d.device->GetTextureStageState(7, D3DTSS_ALPHAARG2), D3DTA_CURRENT);
  EXPECT_EQ(d.device->GetRenderState(D3DRS_SRCBLEND), D3DBLEND_ONE);
}

TEST(Direct3D, RenderTargetsAreReachedThroughTheirSystemMemoryTwin) {
  ScopedDisplayConfig scoped;
  Device d;
  Direct3DTexture9* texture = d.RenderTarget();
  Direct3DSurface9* level = nullptr;
  texture->GetSurfaceLevel(0, &level);
  D3DLOCKED_RECT locked;
  EXPECT_EQ(level->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);

  Direct3DSurface9* twin = nullptr;
  ASSERT_EQ(d.device->CreateOffscreenPlainSurface(8, 4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &twin, nullptr), D3D_OK);
  ASSERT_EQ(d.device->SetRenderTarget(0, level), D3D_OK);
  const RECT rect{6, 2, 20, 20};  // clipped to the target
  ASSERT_EQ(d.device->Clear(1, &rect, D3DCLEAR_TARGET, 0x80112233, 1.0f, 0), D3D_OK);
  ASSERT_EQ(d.device->GetRenderTargetData(level, twin), D3D_OK);
  ASSERT_EQ(twin->LockRect(&locked, nullptr, 0), D3D_OK);
  const auto* row = static_cast<const std::uint32_t*>(
      static_cast<const void*>(static_cast<const std::uint8_t*>(locked.pBits) + 3 * locked.Pitch));
  EXPECT_EQ(row[7], 0x80112233u);
  EXPECT_EQ(row[5], 0u);
  static_cast<std::uint32_t*>(locked.pBits)[0] = 0xFFABCDEF;
  twin->UnlockRect();
  EXPECT_EQ(level->Pixels().ReadRaw(0, 0), 0u);  // not yet copied back
  ASSERT_EQ(d.device->UpdateSurface(twin, nullptr, level, nullptr), D3D_OK);
  EXPECT_EQ(level->Pixels().ReadRaw(0, 0), 0xFFABCDEFu);

  // A system-memory surface of another size is refused.
  Direct3DSurface9* small = nullptr;
  d.device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &small, nullptr);
  EXPECT_EQ(d.device->GetRenderTargetData(level, small), D3DERR_INVALIDCALL);
  small->Release();
  twin->Release();
  level->Release();
  texture->Release();
  EXPECT_EQ(d.device->RenderTarget()->Desc().Width, 8u);  // back on the back buffer
}

TEST(Direct3D, DefaultPoolTexturesAreChargedToVideoMemory) {
  DisplayConfig config;
  config.videoMemoryBytes = 64 * 64 * 4;
  ScopedDisplayConfig scoped(config);
  Device d;
  Direct3DTexture9* first = nullptr;
  Direct3DTexture9* second = nullptr;
  EXPECT_EQ(D3DXCreateTexture(d.device, 64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &first),
            D3D_OK);
  EXPECT_EQ(D3DXCreateTexture(d.device, 64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &second),
            D3DERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(D3DXCreateTexture(d.device, 64, 64, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &second),
            D3D_OK);
  Direct3DSurface9* level = nullptr;
  second->GetSurfaceLevel(0, &level);
  D3DLOCKED_RECT locked;
  EXPECT_EQ(level->LockRect(&locked, nullptr, 0), D3D_OK);  // system-memory textures lock directly
  level->UnlockRect();
  level->Release();
  second->Release();
  first->Release();
}

TEST(Direct3D, PresentHandsTheBackBufferToTheMailboxOutsideAScene) {
  ScopedDisplayConfig scoped;
  TheFrameMailbox().Clear();
  Device d;
  EXPECT_EQ(d.device->BeginScene(), D3D_OK);
  EXPECT_EQ(d.device->BeginScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(d.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
  EXPECT_EQ(d.device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(d.device->EndScene(), D3D_OK);
  EXPECT_EQ(d.device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  const Frame frame = TheFrameMailbox().Latest();
  ASSERT_EQ(frame.width, 8);
  EXPECT_EQ(frame.At(7, 3), 0xFF00FF00u);
}

TEST(Direct3D, CapsAndDeviceCreationFollowTheConfiguredCard) {
  DisplayConfig config;
  config.texturePow2 = true;
  config.alphaFullscreenFlipOrDiscard = false;
  config.maxTextureWidth = 512;
  ScopedDisplayConfig scoped(config);
  Direct3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  D3DCAPS9 caps;
  ASSERT_EQ(d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
  EXPECT_EQ(caps.TextureCaps, D3DPTEXTURECAPS_POW2);
  EXPECT_EQ(caps.Caps3, 0u);
  EXPECT_EQ(caps.MaxTextureWidth, 512u);

  D3DPRESENT_PARAMETERS params;
  params.Windowed = 1;  // 0 x 0: the window's client area
  params.BackBufferFormat = D3DFMT_A1R5G5B5;
  Direct3DDevice9* device = nullptr;
  FailCall(GraphicsCall::CreateDeviceHardware);
  EXPECT_TRUE(FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device)));
  EXPECT_EQ(device, nullptr);
  ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device), D3D_OK);
  EXPECT_EQ(params.BackBufferWidth, 640u);
  EXPECT_EQ(params.BackBufferHeight, 480u);
  Direct3DTexture9* texture = nullptr;
  EXPECT_EQ(device->CreateTexture(1024, 16, 1, 0, D3DFMT_A1R5G5B5, D3DPOOL_MANAGED, &texture, nullptr),
            D3DERR_INVALIDCALL);  // wider than the card takes
  device->Release();
  d3d->Release();
  EXPECT_EQ(Direct3DCreate9(31), nullptr);
}

}  // namespace
