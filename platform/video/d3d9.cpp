#include "platform/video/d3d9.h"

#include <algorithm>

#include "platform/video/d3d9_device_state.h"
#include "platform/video/display_config.h"
#include "platform/video/presenter.h"
#include "platform/video/vertical_blank.h"

namespace platform {

namespace {

constexpr UINT kMaxSurfaceSide = 16384;

std::uint64_t BytesOf(UINT width, UINT height, PixelFormat format) {
  return (std::uint64_t{width} * BytesPerPixel(format) + 15) / 16 * 16 * height;
}

bool SameShape(const Direct3DSurface9& a, const Direct3DSurface9& b) {
  return a.Desc().Width == b.Desc().Width && a.Desc().Height == b.Desc().Height &&
         a.Desc().Format == b.Desc().Format;
}

}  // namespace

bool PixelFormatOf(D3DFORMAT format, PixelFormat* pixelFormat) {
  PixelFormat result;
  switch (format) {
    case D3DFMT_A8R8G8B8: result = PixelFormat::ARGB8888; break;
    case D3DFMT_X8R8G8B8: result = PixelFormat::XRGB8888; break;
    case D3DFMT_R5G6B5: result = PixelFormat::RGB565; break;
    case D3DFMT_X1R5G5B5: result = PixelFormat::XRGB1555; break;
    case D3DFMT_A1R5G5B5: result = PixelFormat::ARGB1555; break;
    default: return false;
  }
  if (pixelFormat) *pixelFormat = result;
  return true;
}

// --- surfaces, textures, vertex buffers ------------------------------------

Direct3DSurface9::Direct3DSurface9(std::shared_ptr<Direct3DDeviceState> device, const D3DSURFACE_DESC& desc,
                                   PixelFormat format, bool lockable)
    : m_Device(std::move(device)),
      m_Desc(desc),
      m_Pixels(static_cast<int>(desc.Width), static_cast<int>(desc.Height), format),
      m_bLockable(lockable) {
  if (m_Desc.Pool == D3DPOOL_DEFAULT) {
    ++m_Device->liveDefaultResources;
    m_Device->videoMemoryUsed += m_Pixels.SizeBytes();
  }
}

Direct3DSurface9::~Direct3DSurface9() {
  if (m_Desc.Pool == D3DPOOL_DEFAULT) {
    --m_Device->liveDefaultResources;
    m_Device->videoMemoryUsed -= m_Pixels.SizeBytes();
  }
  if (m_Device->renderTarget == this) m_Device->renderTarget = m_Device->backBuffer;
  if (m_Device->texture == this) m_Device->texture = nullptr;
}

HRESULT Direct3DSurface9::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, std::uint32_t) {
  if (!locked || !m_bLockable || m_bLocked) return D3DERR_INVALIDCALL;
  if (m_Device->lost && m_Desc.Pool == D3DPOOL_DEFAULT) return D3DERR_DEVICELOST;
  if (ShouldFail(GraphicsCall::LockRect)) return D3DERR_INVALIDCALL;
  int left = 0, top = 0;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->right > m_Pixels.Width() || rect->bottom > m_Pixels.Height() ||
        rect->left >= rect->right || rect->top >= rect->bottom)
      return D3DERR_INVALIDCALL;
    left = rect->left;
    top = rect->top;
  }
  m_OpaqueRows.Forget();
  locked->Pitch = m_Pixels.Pitch();
  locked->pBits = m_Pixels.Row(top) + left * BytesPerPixel(m_Pixels.Format());
  m_bLocked = true;
  return D3D_OK;
}

HRESULT Direct3DSurface9::UnlockRect() {
  if (!m_bLocked) return D3DERR_INVALIDCALL;
  m_bLocked = false;
  return D3D_OK;
}

HRESULT Direct3DSurface9::GetDesc(D3DSURFACE_DESC* desc) const {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = m_Desc;
  return D3D_OK;
}

HRESULT Direct3DTexture9::GetSurfaceLevel(UINT level, Direct3DSurface9** surface) {
  if (!surface || level != 0) return D3DERR_INVALIDCALL;
  *surface = nullptr;
  if (ShouldFail(GraphicsCall::GetSurfaceLevel)) return D3DERR_INVALIDCALL;
  m_pLevel->AddRef();
  *surface = m_pLevel;
  return D3D_OK;
}

HRESULT Direct3DTexture9::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) const {
  if (!desc || level != 0) return D3DERR_INVALIDCALL;
  *desc = m_pLevel->Desc();
  return D3D_OK;
}

HRESULT Direct3DVertexBuffer9::Lock(UINT offset, UINT size, void** data, std::uint32_t) {
  if (!data || m_bLocked || offset > m_Bytes.size()) return D3DERR_INVALIDCALL;
  if (size == 0) size = static_cast<UINT>(m_Bytes.size()) - offset;
  if (size > m_Bytes.size() - offset) return D3DERR_INVALIDCALL;
  *data = m_Bytes.data() + offset;
  m_bLocked = true;
  return D3D_OK;
}

HRESULT Direct3DVertexBuffer9::Unlock() {
  if (!m_bLocked) return D3DERR_INVALIDCALL;
  m_bLocked = false;
  return D3D_OK;
}

// --- the device ---------------------------------------------------------------

Direct3DDevice9::Direct3DDevice9(std::uint32_t behavior, const D3DPRESENT_PARAMETERS& parameters)
    : m_State(std::make_shared<Direct3DDeviceState>()), m_nBehavior(behavior) {
  m_State->videoMemoryBudget = GetDisplayConfig().videoMemoryBytes;
  m_State->waitForVerticalBlank = parameters.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
  ResetStates();
}

Direct3DDevice9::~Direct3DDevice9() {
  if (m_State->backBuffer) m_State->backBuffer->Release();
  m_State->backBuffer = nullptr;
  m_State->renderTarget = nullptr;
  m_State->texture = nullptr;
  if (m_pStream) m_pStream->Release();
}

HRESULT Direct3DDevice9::MakeBackBuffer(const D3DPRESENT_PARAMETERS& parameters) {
  PixelFormat format;
  if (!PixelFormatOf(parameters.BackBufferFormat, &format)) return D3DERR_INVALIDCALL;
  D3DSURFACE_DESC desc;
  desc.Format = parameters.BackBufferFormat;
  desc.Usage = D3DUSAGE_RENDERTARGET;
  // The back buffer is the device's own memory, not a DEFAULT-pool resource
  // that Reset would wait for.
  desc.Pool = D3DPOOL_MANAGED;
  desc.Width = parameters.BackBufferWidth;
  desc.Height = parameters.BackBufferHeight;
  if (m_State->backBuffer) m_State->backBuffer->Release();
  m_State->backBuffer = new Direct3DSurface9(m_State, desc, format,
                                             parameters.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER);
  m_State->renderTarget = m_State->backBuffer;
  return D3D_OK;
}

void Direct3DDevice9::ResetStates() {
  m_RenderStateArray.fill(0);
  m_RenderStates.clear();
  for (const auto& [state, value] : {std::pair<std::uint32_t, std::uint32_t>{D3DRS_ZENABLE, 1},
                                     {D3DRS_SRCBLEND, D3DBLEND_ONE},
                                     {D3DRS_DESTBLEND, D3DBLEND_ZERO},
                                     {D3DRS_CULLMODE, D3DCULL_CCW},
                                     {D3DRS_ALPHABLENDENABLE, 0},
                                     {D3DRS_COLORVERTEX, 1},
                                     {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1}})
    SetRenderState(state, value);
  m_SamplerStates.clear();
  for (std::uint32_t type = 0; type < kArrayStageTypes; ++type) m_Stage0States[type] = DefaultStageState(0, type);
  m_StageStates.clear();
  m_State->texture = nullptr;
  if (m_pStream) m_pStream->Release();
  m_pStream = nullptr;
  m_nStreamOffset = m_nStride = 0;
  m_nFvf = 0;
  m_State->inScene = false;
}

HRESULT Direct3DDevice9::SetRenderState(std::uint32_t state, std::uint32_t value) {
  if (state < kArrayRenderStates) {
    m_RenderStateArray[state] = value;
  } else {
    m_RenderStates[state] = value;
  }
  return D3D_OK;
}

HRESULT Direct3DDevice9::SetSamplerState(std::uint32_t sampler, std::uint32_t type, std::uint32_t value) {
  m_SamplerStates[(std::uint64_t{sampler} << 32) | type] = value;
  return D3D_OK;
}

std::uint32_t Direct3DDevice9::GetRenderState(std::uint32_t state) const {
  if (state < kArrayRenderStates) return m_RenderStateArray[state];
  const auto found = m_RenderStates.find(state);
  return found == m_RenderStates.end() ? 0 : found->second;
}

std::uint32_t Direct3DDevice9::GetSamplerState(std::uint32_t sampler, std::uint32_t type) const {
  const auto found = m_SamplerStates.find((std::uint64_t{sampler} << 32) | type);
  if (found != m_SamplerStates.end()) return found->second;
  switch (type) {  // the defaults
    case D3DSAMP_ADDRESSU:
    case D3DSAMP_ADDRESSV: return D3DTADDRESS_WRAP;
    case D3DSAMP_MAGFILTER:
    case D3DSAMP_MINFILTER: return D3DTEXF_POINT;
    default: return 0;
  }
}

HRESULT Direct3DDevice9::CreateVertexBuffer(UINT length, std::uint32_t, std::uint32_t fvf, D3DPOOL pool,
                                            Direct3DVertexBuffer9** buffer, void*) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (length == 0 || length > (1u << 24) || pool == D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
  if (ShouldFail(GraphicsCall::CreateVertexBuffer)) return D3DERR_OUTOFVIDEOMEMORY;
  *buffer = new Direct3DVertexBuffer9(length, fvf);
  return D3D_OK;
}

HRESULT Direct3DDevice9::CreateTexture(UINT width, UINT height, UINT levels, std::uint32_t usage, D3DFORMAT format,
                                       D3DPOOL pool, Direct3DTexture9** texture, void*) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  PixelFormat pixelFormat;
  const DisplayConfig config = GetDisplayConfig();
  if (width == 0 || height == 0 || levels > 1 || !PixelFormatOf(format, &pixelFormat) ||
      width > std::min(config.maxTextureWidth, kMaxSurfaceSide) ||
      height > std::min(config.maxTextureHeight, kMaxSurfaceSide) || pool > D3DPOOL_SYSTEMMEM)
    return D3DERR_INVALIDCALL;
  if ((usage & D3DUSAGE_RENDERTARGET) && pool != D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
  if (pool == D3DPOOL_DEFAULT &&
      m_State->videoMemoryUsed + BytesOf(width, height, pixelFormat) > m_State->videoMemoryBudget)
    return D3DERR_OUTOFVIDEOMEMORY;
  D3DSURFACE_DESC desc;
  desc.Format = format;
  desc.Usage = usage;
  desc.Pool = pool;
  desc.Width = width;
  desc.Height = height;
  const bool lockable = pool != D3DPOOL_DEFAULT || (usage & D3DUSAGE_DYNAMIC);
  *texture = new Direct3DTexture9(new Direct3DSurface9(m_State, desc, pixelFormat, lockable));
  return D3D_OK;
}

HRESULT Direct3DDevice9::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                                     Direct3DSurface9** surface, void*) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = nullptr;
  PixelFormat pixelFormat;
  if (width == 0 || height == 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide ||
      !PixelFormatOf(format, &pixelFormat) || pool == D3DPOOL_MANAGED || pool > D3DPOOL_SYSTEMMEM)
    return D3DERR_INVALIDCALL;
  if (ShouldFail(GraphicsCall::CreateOffscreenPlainSurface)) return D3DERR_OUTOFVIDEOMEMORY;
  if (pool == D3DPOOL_DEFAULT &&
      m_State->videoMemoryUsed + BytesOf(width, height, pixelFormat) > m_State->videoMemoryBudget)
    return D3DERR_OUTOFVIDEOMEMORY;
  D3DSURFACE_DESC desc;
  desc.Format = format;
  desc.Pool = pool;
  desc.Width = width;
  desc.Height = height;
  *surface = new Direct3DSurface9(m_State, desc, pixelFormat, pool == D3DPOOL_SYSTEMMEM);
  return D3D_OK;
}

HRESULT Direct3DDevice9::GetBackBuffer(UINT swapChain, UINT index, std::uint32_t type, Direct3DSurface9** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = nullptr;
  if (swapChain != 0 || index != 0 || type != D3DBACKBUFFER_TYPE_MONO || !m_State->backBuffer)
    return D3DERR_INVALIDCALL;
  m_State->backBuffer->AddRef();
  *surface = m_State->backBuffer;
  return D3D_OK;
}

HRESULT Direct3DDevice9::SetRenderTarget(std::uint32_t index, Direct3DSurface9* surface) {
  if (index != 0 || !surface || !surface->IsRenderTarget() || surface->m_Device != m_State)
    return D3DERR_INVALIDCALL;
  if (ShouldFail(GraphicsCall::SetRenderTarget)) return D3DERR_INVALIDCALL;
  if (!m_State->lost) m_State->renderTarget = surface;
  return D3D_OK;
}

Direct3DSurface9* Direct3DDevice9::RenderTarget() const { return m_State->renderTarget; }

HRESULT Direct3DDevice9::Clear(std::uint32_t count, const RECT* rects, std::uint32_t flags, std::uint32_t color,
                               float, std::uint32_t) {
  if ((count != 0) != (rects != nullptr)) return D3DERR_INVALIDCALL;
  if (m_State->lost || !(flags & D3DCLEAR_TARGET) || !m_State->renderTarget) return D3D_OK;
  PixelBuffer& target = m_State->renderTarget->Pixels();
  const std::uint32_t raw = FromArgb(target.Format(), color);
  if (count == 0) {
    target.FillRaw(nullptr, raw);
  } else {
    for (std::uint32_t i = 0; i < count; ++i) target.FillRaw(&rects[i], raw);
  }
  return D3D_OK;
}

HRESULT Direct3DDevice9::BeginScene() {
  if (m_State->inScene) return D3DERR_INVALIDCALL;
  if (ShouldFail(GraphicsCall::BeginScene)) return D3DERR_INVALIDCALL;
  m_State->inScene = true;
  return D3D_OK;
}

HRESULT Direct3DDevice9::EndScene() {
  if (!m_State->inScene) return D3DERR_INVALIDCALL;
  m_State->inScene = false;
  return D3D_OK;
}

bool Direct3DDevice9::InScene() const { return m_State->inScene; }

HRESULT Direct3DDevice9::GetRenderTargetData(Direct3DSurface9* renderTarget, Direct3DSurface9* destination) {
  if (!renderTarget || !destination || !renderTarget->IsRenderTarget() ||
      destination->Desc().Pool != D3DPOOL_SYSTEMMEM || !SameShape(*renderTarget, *destination))
    return D3DERR_INVALIDCALL;
  if (m_State->lost) return D3DERR_DEVICELOST;
  if (ShouldFail(GraphicsCall::GetRenderTargetData)) return D3DERR_INVALIDCALL;
  destination->Pixels().CopyFrom(renderTarget->Pixels());
  return D3D_OK;
}

HRESULT Direct3DDevice9::UpdateSurface(Direct3DSurface9* source, const RECT* sourceRect,
                                       Direct3DSurface9* destination, const POINT* destinationPoint) {
  // Whole-surface copies only: the program never passes a rectangle.
  if (!source || !destination || sourceRect || destinationPoint || source->Desc().Pool != D3DPOOL_SYSTEMMEM ||
      destination->Desc().Pool != D3DPOOL_DEFAULT || !SameShape(*source, *destination))
    return D3DERR_INVALIDCALL;
  if (ShouldFail(GraphicsCall::UpdateSurface)) return D3DERR_INVALIDCALL;
  if (!m_State->lost) destination->Pixels().CopyFrom(source->Pixels());
  return D3D_OK;
}

HRESULT Direct3DDevice9::Present(const RECT*, const RECT*, HWND, const void*) {
  if (m_State->lost) return D3DERR_DEVICELOST;
  if (m_State->inScene) return D3DERR_INVALIDCALL;
  if (m_State->waitForVerticalBlank) m_State->presented.Queue();
  PresentFrame(m_State->backBuffer->Pixels(), nullptr);
  return D3D_OK;
}

HRESULT Direct3DDevice9::TestCooperativeLevel() const {
  if (!m_State->lost) return D3D_OK;
  return m_State->resetAllowed ? D3DERR_DEVICENOTRESET : D3DERR_DEVICELOST;
}

HRESULT Direct3DDevice9::Reset(D3DPRESENT_PARAMETERS* parameters) {
  if (!parameters) return D3DERR_INVALIDCALL;
  if (m_State->lost && !m_State->resetAllowed) return D3DERR_DEVICELOST;
  if (m_State->liveDefaultResources > 0 || m_State->backBuffer->References() > 1) return D3DERR_INVALIDCALL;
  D3DPRESENT_PARAMETERS adjusted = *parameters;
  if (adjusted.Windowed && (adjusted.BackBufferWidth == 0 || adjusted.BackBufferHeight == 0)) {
    adjusted.BackBufferWidth = m_State->backBuffer->Desc().Width;
    adjusted.BackBufferHeight = m_State->backBuffer->Desc().Height;
  }
  if (adjusted.BackBufferFormat == D3DFMT_UNKNOWN) adjusted.BackBufferFormat = m_State->backBuffer->Desc().Format;
  const HRESULT made = MakeBackBuffer(adjusted);
  if (FAILED(made)) return made;
  *parameters = adjusted;
  m_State->waitForVerticalBlank = adjusted.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
  // While the device was lost others may have taken video memory.
  m_State->videoMemoryBudget = GetDisplayConfig().videoMemoryBytes;
  ResetStates();
  m_State->lost = false;
  m_State->resetAllowed = false;
  return D3D_OK;
}

HRESULT Direct3DDevice9::SetDialogBoxMode(int enable) {
  if (ShouldFail(GraphicsCall::SetDialogBoxMode)) return D3DERR_INVALIDCALL;
  m_bDialogBoxMode = enable != 0;
  return D3D_OK;
}

bool Direct3DDevice9::DialogBoxMode() const { return m_bDialogBoxMode; }

UINT Direct3DDevice9::GetAvailableTextureMem() const {
  return static_cast<UINT>(
      std::min<std::uint64_t>(m_State->videoMemoryBudget - m_State->videoMemoryUsed, 0xFFFFFFFFu));
}

void Direct3DDevice9::SimulateLoss() {
  m_State->lost = true;
  m_State->resetAllowed = false;
}

void Direct3DDevice9::AllowReset() { m_State->resetAllowed = true; }

// --- the Direct3D object -------------------------------------------------------

HRESULT Direct3D9::GetDeviceCaps(UINT adapter, std::uint32_t deviceType, D3DCAPS9* caps) const {
  if (!caps || adapter != 0 || deviceType != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
  if (ShouldFail(GraphicsCall::GetDeviceCaps)) return D3DERR_NOTAVAILABLE;
  const DisplayConfig config = GetDisplayConfig();
  *caps = D3DCAPS9{};
  if (config.alphaFullscreenFlipOrDiscard) caps->Caps3 |= D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD;
  if (config.texturePow2) caps->TextureCaps |= D3DPTEXTURECAPS_POW2;
  if (config.textureSquareOnly) caps->TextureCaps |= D3DPTEXTURECAPS_SQUAREONLY;
  caps->MaxTextureWidth = config.maxTextureWidth;
  caps->MaxTextureHeight = config.maxTextureHeight;
  return D3D_OK;
}

HRESULT Direct3D9::CreateDevice(UINT adapter, std::uint32_t deviceType, HWND focusWindow, std::uint32_t behavior,
                                D3DPRESENT_PARAMETERS* parameters, Direct3DDevice9** device) {
  if (!device) return D3DERR_INVALIDCALL;
  *device = nullptr;
  if (!parameters || adapter != 0 || deviceType != D3DDEVTYPE_HAL || parameters->BackBufferCount > 1)
    return D3DERR_INVALIDCALL;
  const bool hardware = behavior & D3DCREATE_HARDWARE_VERTEXPROCESSING;
  if (ShouldFail(hardware ? GraphicsCall::CreateDeviceHardware : GraphicsCall::CreateDeviceSoftware))
    return D3DERR_NOTAVAILABLE;
  D3DPRESENT_PARAMETERS adjusted = *parameters;
  if (adjusted.Windowed && (adjusted.BackBufferWidth == 0 || adjusted.BackBufferHeight == 0)) {
    RECT client;
    HWND window = adjusted.hDeviceWindow ? adjusted.hDeviceWindow : focusWindow;
    if (!GetClientRect(window, &client)) return D3DERR_INVALIDCALL;
    if (adjusted.BackBufferWidth == 0) adjusted.BackBufferWidth = static_cast<UINT>(client.Width());
    if (adjusted.BackBufferHeight == 0) adjusted.BackBufferHeight = static_cast<UINT>(client.Height());
  }
  if (adjusted.BackBufferCount == 0) adjusted.BackBufferCount = 1;
  if (adjusted.BackBufferWidth == 0 || adjusted.BackBufferHeight == 0 ||
      adjusted.BackBufferWidth > kMaxSurfaceSide || adjusted.BackBufferHeight > kMaxSurfaceSide)
    return D3DERR_INVALIDCALL;
  auto* created = new Direct3DDevice9(behavior, adjusted);
  const HRESULT made = created->MakeBackBuffer(adjusted);
  if (FAILED(made)) {
    created->Release();
    return made;
  }
  *parameters = adjusted;
  *device = created;
  return D3D_OK;
}

Direct3D9* Direct3DCreate9(UINT sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION || ShouldFail(GraphicsCall::Direct3DCreate9)) return nullptr;
  return new Direct3D9();
}

HRESULT D3DXCreateTexture(Direct3DDevice9* device, UINT width, UINT height, UINT levels, std::uint32_t usage,
                          D3DFORMAT format, D3DPOOL pool, Direct3DTexture9** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  if (ShouldFail(GraphicsCall::CreateTexture)) return D3DERR_INVALIDCALL;
  return device->CreateTexture(width, height, levels, usage, format, pool, texture, nullptr);
}

}  // namespace platform
