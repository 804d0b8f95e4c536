// A software Direct3D 9 with the one D3DX call that makes textures, shaped
// like the calls the graphics layer makes and returning their result codes
// (platform/video/hresult.h). Plain reference-counted classes, no COM.
//
// - Direct3DCreate9(32) gives the object; GetDeviceCaps reports the card of
//   DisplayConfig (swap-effect bit, power-of-two and square-only texture
//   rules, maximum texture size). CreateDevice fills in the present
//   parameters it was given (a windowed back buffer of 0 x 0 takes the
//   window's client size) and makes the back buffer, lockable when
//   D3DPRESENTFLAG_LOCKABLE_BACKBUFFER is asked for.
// - Formats: A8R8G8B8, X8R8G8B8, R5G6B5, X1R5G5B5, A1R5G5B5; pixels convert
//   as platform/video/pixel_format.h says.
// - Pools: DEFAULT resources are charged to the device's video memory
//   (DisplayConfig); over budget gives D3DERR_OUTOFVIDEOMEMORY. LockRect works
//   on SYSTEMMEM and MANAGED resources, DYNAMIC textures and the lockable back
//   buffer, and gives D3DERR_INVALIDCALL on DEFAULT-pool render targets (their
//   pixels are reached through GetRenderTargetData / UpdateSurface, whole-
//   surface copies between surfaces of one size and format).
// - The render target is the back buffer or level 0 of a RENDERTARGET
//   texture. The device does not keep a reference on it; a render target
//   that is destroyed falls back to the back buffer.
// - SimulateLoss: Present gives D3DERR_DEVICELOST and TestCooperativeLevel
//   D3DERR_DEVICELOST until AllowReset, then D3DERR_DEVICENOTRESET. While
//   lost, Clear and SetRenderTarget do nothing and succeed; LockRect of a
//   DEFAULT resource and GetRenderTargetData fail. Reset is refused
//   (D3DERR_INVALIDCALL) while a DEFAULT-pool resource or a reference to the
//   back buffer other than the device's own is alive; it makes a new black
//   back buffer, puts every state back to its default and the render target
//   on the back buffer, and takes the video-memory budget from DisplayConfig
//   again. MANAGED and SYSTEMMEM resources survive it.
// - Drawing (platform/video/d3d9_draw.cpp): DrawPrimitive rasterises
//   triangle lists, strips and fans of pre-transformed vertices (FVF
//   XYZRHW | DIFFUSE | TEX1, the layout of the stream source) into the render
//   target as Direct3D 9 hardware does: pixel centres at integer coordinates,
//   the top-left fill rule, either winding, colour and u, v interpolated
//   affinely, textures point-sampled (u * width floored, a centre exactly
//   on a texel edge taking the texel after it; wrap addressing).
//   Stage 0 combines its two arguments (texture, diffuse, texture factor) by
//   its colour and alpha operations; no texture samples as opaque white.
//   With alpha blending on, source and destination are weighed by the blend
//   factors, alpha included: out = (s * fs + d * fd + 127) / 255.
// - Present hands the back buffer to platform/video/presenter.h; with a
//   presentation interval other than D3DPRESENT_INTERVAL_IMMEDIATE it first
//   queues the frame for the display's vertical blank, waiting while the
//   frame before it still waits (platform/video/vertical_blank.h), as a
//   card does with VSync on.
// One thread uses a device and its resources at a time.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/rect.h"
#include "platform/video/d3d9_opaque_rows.h"
#include "platform/video/hresult.h"
#include "platform/video/pixel_buffer.h"
#include "platform/video/ref_counted.h"
#include "platform/window_services.h"

namespace platform {

using UINT = std::uint32_t;
using D3DFORMAT = std::uint32_t;
using D3DPOOL = std::uint32_t;

constexpr D3DFORMAT D3DFMT_UNKNOWN = 0;
constexpr D3DFORMAT D3DFMT_A8R8G8B8 = 21;
constexpr D3DFORMAT D3DFMT_X8R8G8B8 = 22;
constexpr D3DFORMAT D3DFMT_R5G6B5 = 23;
constexpr D3DFORMAT D3DFMT_X1R5G5B5 = 24;
constexpr D3DFORMAT D3DFMT_A1R5G5B5 = 25;

constexpr D3DPOOL D3DPOOL_DEFAULT = 0;
constexpr D3DPOOL D3DPOOL_MANAGED = 1;
constexpr D3DPOOL D3DPOOL_SYSTEMMEM = 2;

constexpr std::uint32_t D3DUSAGE_RENDERTARGET = 0x1;
constexpr std::uint32_t D3DUSAGE_WRITEONLY = 0x8;
constexpr std::uint32_t D3DUSAGE_DYNAMIC = 0x200;

constexpr UINT D3D_SDK_VERSION = 32;
constexpr std::uint32_t D3DDEVTYPE_HAL = 1;
constexpr std::uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr std::uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;
constexpr std::uint32_t D3DSWAPEFFECT_DISCARD = 1;
constexpr std::uint32_t D3DSWAPEFFECT_COPY = 3;
constexpr std::uint32_t D3DPRESENT_INTERVAL_DEFAULT = 0;
constexpr std::uint32_t D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000u;
constexpr std::uint32_t D3DPRESENTFLAG_LOCKABLE_BACKBUFFER = 0x1;
constexpr std::uint32_t D3DBACKBUFFER_TYPE_MONO = 0;
constexpr std::uint32_t D3DCLEAR_TARGET = 0x1;
constexpr std::uint32_t D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD = 0x20;
constexpr std::uint32_t D3DPTEXTURECAPS_POW2 = 0x2;
constexpr std::uint32_t D3DPTEXTURECAPS_SQUAREONLY = 0x20;
constexpr std::uint32_t D3DFVF_XYZRHW = 0x4;
constexpr std::uint32_t D3DFVF_DIFFUSE = 0x40;
constexpr std::uint32_t D3DFVF_TEX1 = 0x100;

// Render states, sampler states and their values as the program sets them.
constexpr std::uint32_t D3DRS_ZENABLE = 7;
constexpr std::uint32_t D3DRS_SRCBLEND = 19;
constexpr std::uint32_t D3DRS_DESTBLEND = 20;
constexpr std::uint32_t D3DRS_CULLMODE = 22;
constexpr std::uint32_t D3DRS_ALPHABLENDENABLE = 27;
constexpr std::uint32_t D3DRS_COLORVERTEX = 141;
constexpr std::uint32_t D3DRS_DIFFUSEMATERIALSOURCE = 145;
constexpr std::uint32_t D3DRS_TEXTUREFACTOR = 60;
constexpr std::uint32_t D3DCULL_NONE = 1;
constexpr std::uint32_t D3DCULL_CCW = 3;
constexpr std::uint32_t D3DBLEND_ONE = 2;
constexpr std::uint32_t D3DBLEND_ZERO = 1;
constexpr std::uint32_t D3DBLEND_SRCALPHA = 5;
constexpr std::uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr std::uint32_t D3DMCS_MATERIAL = 0;
constexpr std::uint32_t D3DMCS_COLOR1 = 1;
constexpr std::uint32_t D3DSAMP_ADDRESSU = 1;
constexpr std::uint32_t D3DSAMP_ADDRESSV = 2;
constexpr std::uint32_t D3DSAMP_MAGFILTER = 5;
constexpr std::uint32_t D3DSAMP_MINFILTER = 6;
constexpr std::uint32_t D3DTADDRESS_WRAP = 1;
constexpr std::uint32_t D3DTEXF_POINT = 1;
constexpr std::uint32_t D3DTEXF_LINEAR = 2;

// Texture-stage states, arguments and operations.
constexpr std::uint32_t D3DTSS_COLOROP = 1;
constexpr std::uint32_t D3DTSS_COLORARG1 = 2;
constexpr std::uint32_t D3DTSS_COLORARG2 = 3;
constexpr std::uint32_t D3DTSS_ALPHAOP = 4;
constexpr std::uint32_t D3DTSS_ALPHAARG1 = 5;
constexpr std::uint32_t D3DTSS_ALPHAARG2 = 6;
constexpr std::uint32_t D3DTA_DIFFUSE = 0;
constexpr std::uint32_t D3DTA_CURRENT = 1;
constexpr std::uint32_t D3DTA_TEXTURE = 2;
constexpr std::uint32_t D3DTA_TFACTOR = 3;
constexpr std::uint32_t D3DTOP_DISABLE = 1;
constexpr std::uint32_t D3DTOP_SELECTARG1 = 2;
constexpr std::uint32_t D3DTOP_SELECTARG2 = 3;
constexpr std::uint32_t D3DTOP_MODULATE = 4;
constexpr std::uint32_t D3DTOP_MODULATE2X = 5;
constexpr std::uint32_t D3DTOP_MODULATE4X = 6;
constexpr std::uint32_t D3DTOP_ADD = 7;
constexpr std::uint32_t D3DTOP_ADDSIGNED = 8;
constexpr std::uint32_t D3DTOP_SUBTRACT = 10;
constexpr std::uint32_t D3DTOP_ADDSMOOTH = 11;
constexpr std::uint32_t D3DTOP_BLENDDIFFUSEALPHA = 12;
constexpr std::uint32_t D3DTOP_BLENDTEXTUREALPHA = 13;
constexpr std::uint32_t D3DTOP_BLENDFACTORALPHA = 14;
constexpr std::uint32_t D3DPT_TRIANGLELIST = 4;
constexpr std::uint32_t D3DPT_TRIANGLESTRIP = 5;
constexpr std::uint32_t D3DPT_TRIANGLEFAN = 6;
constexpr UINT D3DX_DEFAULT = 0xFFFFFFFFu;
constexpr std::uint32_t D3DX_FILTER_NONE = 1;
constexpr HRESULT D3DXERR_INVALIDDATA = MakeResult(0x88760B59);

struct D3DCAPS9 {
  std::uint32_t Caps3 = 0;
  std::uint32_t TextureCaps = 0;
  std::uint32_t MaxTextureWidth = 0;
  std::uint32_t MaxTextureHeight = 0;
};

struct D3DPRESENT_PARAMETERS {
  UINT BackBufferWidth = 0;
  UINT BackBufferHeight = 0;
  D3DFORMAT BackBufferFormat = D3DFMT_UNKNOWN;
  UINT BackBufferCount = 0;
  std::uint32_t MultiSampleType = 0;
  std::uint32_t MultiSampleQuality = 0;
  std::uint32_t SwapEffect = 0;
  HWND hDeviceWindow = nullptr;
  int Windowed = 0;
  int EnableAutoDepthStencil = 0;
  D3DFORMAT AutoDepthStencilFormat = D3DFMT_UNKNOWN;
  std::uint32_t Flags = 0;
  UINT FullScreen_RefreshRateInHz = 0;
  UINT PresentationInterval = 0;
};

struct D3DSURFACE_DESC {
  D3DFORMAT Format = D3DFMT_UNKNOWN;
  std::uint32_t Usage = 0;
  D3DPOOL Pool = D3DPOOL_DEFAULT;
  UINT Width = 0;
  UINT Height = 0;
};

struct D3DLOCKED_RECT {
  int Pitch = 0;  // bytes
  void* pBits = nullptr;
};

// The pixel format of a Direct3D format, or false when the stand-in has none.
bool PixelFormatOf(D3DFORMAT format, PixelFormat* pixelFormat);

// What a device shares with its resources (memory budget, live DEFAULT
// resources, render target); it lives as long as any of them.
struct Direct3DDeviceState;

class Direct3DSurface9 : public RefCounted {
 public:
  HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, std::uint32_t flags);
  HRESULT UnlockRect();
  HRESULT GetDesc(D3DSURFACE_DESC* desc) const;

  // For the other parts of the stand-in (drawing, presentation, tests).
  // Pixels handed out for writing, here or by LockRect, are measured anew
  // by OpaqueTexels: write through them before the next draw.
  PixelBuffer& Pixels() {
    m_OpaqueRows.Forget();
    return m_Pixels;
  }
  const PixelBuffer& Pixels() const { return m_Pixels; }
  // Which texels are opaque, for drawing from the surface; null while it
  // is locked.
  const OpaqueRows* OpaqueTexels() const { return m_bLocked ? nullptr : &m_OpaqueRows; }
  const D3DSURFACE_DESC& Desc() const { return m_Desc; }
  bool IsLocked() const { return m_bLocked; }
  bool IsRenderTarget() const { return m_Desc.Usage & D3DUSAGE_RENDERTARGET; }

 private:
  friend class Direct3DDevice9;
  friend class Direct3DTexture9;
  Direct3DSurface9(std::shared_ptr<Direct3DDeviceState> device, const D3DSURFACE_DESC& desc, PixelFormat format,
                   bool lockable);
  ~Direct3DSurface9() override;

  std::shared_ptr<Direct3DDeviceState> m_Device;
  D3DSURFACE_DESC m_Desc;
  PixelBuffer m_Pixels;
  OpaqueRows m_OpaqueRows;
  bool m_bLockable;
  bool m_bLocked = false;
};

class Direct3DTexture9 : public RefCounted {
 public:
  HRESULT GetSurfaceLevel(UINT level, Direct3DSurface9** surface);
  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) const;
  // Level 0, without adding a reference (for the stand-in's drawing).
  Direct3DSurface9* Level0() const { return m_pLevel; }

 private:
  friend class Direct3DDevice9;
  explicit Direct3DTexture9(Direct3DSurface9* level) : m_pLevel(level) {}
  ~Direct3DTexture9() override { m_pLevel->Release(); }
  Direct3DSurface9* m_pLevel;
};

class Direct3DVertexBuffer9 : public RefCounted {
 public:
  HRESULT Lock(UINT offset, UINT size, void** data, std::uint32_t flags);
  HRESULT Unlock();
  const std::vector<std::uint8_t>& Bytes() const { return m_Bytes; }
  std::uint32_t Fvf() const { return m_nFvf; }

 private:
  friend class Direct3DDevice9;
  Direct3DVertexBuffer9(UINT length, std::uint32_t fvf) : m_Bytes(length), m_nFvf(fvf) {}
  std::vector<std::uint8_t> m_Bytes;
  std::uint32_t m_nFvf;
  bool m_bLocked = false;
};

class Direct3DDevice9 : public RefCounted {
 public:
  HRESULT SetRenderState(std::uint32_t state, std::uint32_t value);
  HRESULT SetSamplerState(std::uint32_t sampler, std::uint32_t type, std::uint32_t value);
  HRESULT CreateVertexBuffer(UINT length, std::uint32_t usage, std::uint32_t fvf, D3DPOOL pool,
                             Direct3DVertexBuffer9** buffer, void* shared);
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, std::uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                        Direct3DTexture9** texture, void* shared);
  HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                      Direct3DSurface9** surface, void* shared);
  HRESULT GetBackBuffer(UINT swapChain, UINT index, std::uint32_t type, Direct3DSurface9** surface);
  HRESULT SetRenderTarget(std::uint32_t index, Direct3DSurface9* surface);
  HRESULT Clear(std::uint32_t count, const RECT* rects, std::uint32_t flags, std::uint32_t color, float z,
                std::uint32_t stencil);
  HRESULT BeginScene();
  HRESULT EndScene();
  HRESULT GetRenderTargetData(Direct3DSurface9* renderTarget, Direct3DSurface9* destination);
  HRESULT UpdateSurface(Direct3DSurface9* source, const RECT* sourceRect, Direct3DSurface9* destination,
                        const POINT* destinationPoint);
  HRESULT SetTexture(std::uint32_t stage, Direct3DTexture9* texture);  // no reference kept
  HRESULT SetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value);
  HRESULT SetStreamSource(UINT stream, Direct3DVertexBuffer9* buffer, UINT offset, UINT stride);
  HRESULT SetFVF(std::uint32_t fvf);
  HRESULT DrawPrimitive(std::uint32_t type, UINT startVertex, UINT primitiveCount);
  HRESULT Present(const RECT* source, const RECT* destination, HWND window, const void* dirtyRegion);
  HRESULT TestCooperativeLevel() const;
  HRESULT Reset(D3DPRESENT_PARAMETERS* parameters);
  HRESULT SetDialogBoxMode(int enable);
  UINT GetAvailableTextureMem() const;

  // The stand-in's own view, for drawing and tests.
  std::uint32_t GetRenderState(std::uint32_t state) const;
  std::uint32_t GetSamplerState(std::uint32_t sampler, std::uint32_t type) const;
  std::uint32_t GetTextureStageState(std::uint32_t stage, std::uint32_t type) const;
  Direct3DSurface9* RenderTarget() const;  // no reference added
  bool InScene() const;
  bool DialogBoxMode() const;
  std::uint32_t BehaviorFlags() const { return m_nBehavior; }
  void SimulateLoss();
  void AllowReset();

 private:
  friend class Direct3D9;
  Direct3DDevice9(std::uint32_t behavior, const D3DPRESENT_PARAMETERS& parameters);
  ~Direct3DDevice9() override;
  HRESULT MakeBackBuffer(const D3DPRESENT_PARAMETERS& parameters);
  void ResetStates();

  std::shared_ptr<Direct3DDeviceState> m_State;
  std::uint32_t m_nBehavior;
  // Render states below kArrayRenderStates and stage 0's states of types
  // below kArrayStageTypes, read on every draw, are held in arrays; the
  // others in the maps.
  static constexpr std::uint32_t kArrayRenderStates = 256, kArrayStageTypes = 33;
  static std::uint32_t DefaultStageState(std::uint32_t stage, std::uint32_t type);
  std::array<std::uint32_t, kArrayRenderStates> m_RenderStateArray{};
  std::map<std::uint32_t, std::uint32_t> m_RenderStates;
  std::map<std::uint64_t, std::uint32_t> m_SamplerStates;
  std::array<std::uint32_t, kArrayStageTypes> m_Stage0States{};
  std::map<std::uint64_t, std::uint32_t> m_StageStates;
  Direct3DVertexBuffer9* m_pStream = nullptr;  // a reference is kept
  UINT m_nStreamOffset = 0;
  UINT m_nStride = 0;
  std::uint32_t m_nFvf = 0;
  bool m_bDialogBoxMode = false;
};

class Direct3D9 : public RefCounted {
 public:
  HRESULT GetDeviceCaps(UINT adapter, std::uint32_t deviceType, D3DCAPS9* caps) const;
  HRESULT CreateDevice(UINT adapter, std::uint32_t deviceType, HWND focusWindow, std::uint32_t behavior,
                       D3DPRESENT_PARAMETERS* parameters, Direct3DDevice9** device);

 private:
  friend Direct3D9* Direct3DCreate9(UINT sdkVersion);
  Direct3D9() = default;
};

// Null when the SDK version is not 32 or a test made the call fail.
Direct3D9* Direct3DCreate9(UINT sdkVersion);

// D3DX: a texture of exactly width x height with one level (levels 0 or 1),
// its pixels zero.
HRESULT D3DXCreateTexture(Direct3DDevice9* device, UINT width, UINT height, UINT levels, std::uint32_t usage,
                          D3DFORMAT format, D3DPOOL pool, Direct3DTexture9** texture);

// D3DX: a texture of a bitmap file (a program path, see MapPath) with the
// picture unscaled at its top left (platform/d3dx_image.h: texels outside it
// and those equal to a non-zero colour key are transparent black), of
// width x height texels (D3DX_DEFAULT or 0: the picture's size), one level.
// The filters are not used: nothing is ever scaled. D3DXERR_INVALIDDATA for
// a file that is missing or not a bitmap.
HRESULT D3DXCreateTextureFromFileEx(Direct3DDevice9* device, const char* file, UINT width, UINT height, UINT levels,
                                    std::uint32_t usage, D3DFORMAT format, D3DPOOL pool, std::uint32_t filter,
                                    std::uint32_t mipFilter, std::uint32_t colourKey, void* sourceInfo,
                                    void* palette, Direct3DTexture9** texture);

}  // namespace platform
