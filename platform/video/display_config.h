// Configuration and fault injection of the software display back ends.
//
// The display has no hardware behind it: its desktop depth, its 16-bit
// layout, its video memory and the Direct3D card's texture rules are
// settings, and any call that the graphics layer checks can be made to fail.
// Tests change them through ScopedDisplayConfig-style fixtures and put the
// defaults back with ResetDisplayConfig. Objects read the settings when they
// are created (the video-memory budget when the display or device is made),
// the faults when the call runs. Safe to use from any thread.
#pragma once

#include <cstdint>

namespace platform {

struct DisplayConfig {
  int desktopBpp = 32;                            // the windowed desktop: 8, 16 or 32
  bool sixteenBitIs555 = false;                   // 16-bit DirectDraw modes as 555 instead of 565
  std::uint64_t videoMemoryBytes = 64u << 20;     // per display object or device
  bool refuseRefreshRate = false;                 // SetDisplayMode refuses an explicit refresh rate
  bool alphaFullscreenFlipOrDiscard = true;       // Caps3 0x20: swap effect DISCARD
  bool texturePow2 = false;                       // TextureCaps 0x2
  bool textureSquareOnly = false;                 // TextureCaps 0x20
  unsigned maxTextureWidth = 4096;
  unsigned maxTextureHeight = 4096;
  bool changeDisplaySettingsTestFails = false;    // ChangeDisplaySettingsA(CDS_TEST) answers non-zero
};

DisplayConfig GetDisplayConfig();
void SetDisplayConfig(const DisplayConfig& config);
// Defaults back, and every pending fault cleared.
void ResetDisplayConfig();

// Calls that a test can make fail.
enum class GraphicsCall {
  DirectDrawCreateEx,
  SetCooperativeLevel,
  SetDisplayMode,
  CreateSurface,           // every DirectDraw CreateSurface
  GetAttachedSurface,
  CreatePalette,
  SetPalette,
  CreateClipper,
  SetHWnd,
  SetClipper,
  SetColorKey,
  Lock,                    // DirectDraw surface Lock
  Direct3DCreate9,
  GetDeviceCaps,
  CreateDeviceHardware,    // CreateDevice with hardware vertex processing
  CreateDeviceSoftware,    // CreateDevice with software vertex processing
  CreateVertexBuffer,
  CreateTexture,           // D3DXCreateTexture
  CreateOffscreenPlainSurface,
  GetSurfaceLevel,
  BeginScene,
  SetRenderTarget,
  GetRenderTargetData,
  UpdateSurface,
  LockRect,
  SetDialogBoxMode,
  FlipToGDISurface,
  kCount
};

// The next `count` calls of that kind fail (count < 0: every call until reset).
void FailCall(GraphicsCall call, int count = 1);
// Used by the stand-ins: true when this call must fail (and counts it).
bool ShouldFail(GraphicsCall call);

}  // namespace platform
