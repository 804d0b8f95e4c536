#include "platform/video/ddraw.h"

#include <algorithm>
#include <cstring>

#include "platform/video/display_config.h"
#include "platform/video/presenter.h"
#include "platform/video/vertical_blank.h"

namespace platform {

struct DirectDrawDisplayState {
  HWND window = nullptr;
  DWORD cooperativeLevel = 0;
  int modeBpp = 0;  // 0: no mode set, the desktop's depth holds
  int modeWidth = 0;
  int modeHeight = 0;
  DWORD refreshRate = 0;
  int desktopBpp = 32;
  bool sixteenBitIs555 = false;
  std::uint64_t videoMemoryBudget = 0;
  std::uint64_t videoMemoryUsed = 0;
  std::vector<DirectDrawSurface7*> surfaces;  // alive, in creation order
  int liveObjects = 0;                        // surfaces, palettes, clippers
  VerticalBlankQueue flips;

  int Bpp() const { return modeBpp ? modeBpp : desktopBpp; }
  PixelFormat Format() const {
    switch (Bpp()) {
      case 8: return PixelFormat::Index8;
      case 16: return sixteenBitIs555 ? PixelFormat::XRGB1555 : PixelFormat::RGB565;
      default: return PixelFormat::XRGB8888;
    }
  }
};

namespace {

constexpr int kMaxSurfaceSide = 32768;

// A primary with back buffers and every surface made without
// DDSCAPS_SYSTEMMEMORY live in video memory and can be lost.
bool CanBeLost(const DirectDrawSurface7& surface) { return !surface.InSystemMemory(); }

}  // namespace

// --- palette and clipper ---------------------------------------------------

DirectDrawPalette::DirectDrawPalette(std::shared_ptr<DirectDrawDisplayState> display)
    : m_Display(std::move(display)) {
  ++m_Display->liveObjects;
}

DirectDrawPalette::~DirectDrawPalette() { --m_Display->liveObjects; }

HRESULT DirectDrawPalette::SetEntries(DWORD, DWORD first, DWORD count, const PALETTEENTRY* entries) {
  if (!entries || first > 256 || count > 256 - first) return DDERR_INVALIDPARAMS;
  std::copy(entries, entries + count, m_Entries + first);
  return DD_OK;
}

HRESULT DirectDrawPalette::GetEntries(DWORD, DWORD first, DWORD count, PALETTEENTRY* entries) const {
  if (!entries || first > 256 || count > 256 - first) return DDERR_INVALIDPARAMS;
  std::copy(m_Entries + first, m_Entries + first + count, entries);
  return DD_OK;
}

DirectDrawClipper::DirectDrawClipper(std::shared_ptr<DirectDrawDisplayState> display)
    : m_Display(std::move(display)) {
  ++m_Display->liveObjects;
}

DirectDrawClipper::~DirectDrawClipper() { --m_Display->liveObjects; }

HRESULT DirectDrawClipper::SetHWnd(DWORD, HWND window) {
  if (ShouldFail(GraphicsCall::SetHWnd)) return DDERR_GENERIC;
  m_hWnd = window;
  return DD_OK;
}

// --- surfaces --------------------------------------------------------------

DirectDrawSurface7::DirectDrawSurface7(std::shared_ptr<DirectDrawDisplayState> display, int width,
                                       int height, PixelFormat format, DWORD caps, bool chargedToVideoMemory)
    : m_Display(std::move(display)),
      m_Pixels(width, height, format),
      m_nCaps(caps),
      m_bPrimary(caps & DDSCAPS_PRIMARYSURFACE),
      m_bSystemMemory(caps & DDSCAPS_SYSTEMMEMORY),
      m_bCharged(chargedToVideoMemory) {
  if (m_bCharged) m_Display->videoMemoryUsed += m_Pixels.SizeBytes();
  m_Display->surfaces.push_back(this);
  ++m_Display->liveObjects;
}

DirectDrawSurface7::~DirectDrawSurface7() {
  for (DirectDrawSurface7* back : m_BackBuffers) back->Release();
  if (m_pPalette) m_pPalette->Release();
  if (m_pClipper) m_pClipper->Release();
  delete m_pDC;
  if (m_bCharged) m_Display->videoMemoryUsed -= m_Pixels.SizeBytes();
  std::erase(m_Display->surfaces, this);
  --m_Display->liveObjects;
}

void DirectDrawSurface7::Scramble() {
  std::uint8_t* bytes = m_Pixels.Bits();
  for (std::size_t i = 0; i < m_Pixels.SizeBytes(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 0x5A);
}

HRESULT DirectDrawSurface7::Lock(const RECT* rect, DDSURFACEDESC2* desc, DWORD, void*) {
  if (!desc || desc->dwSize != kDDSurfaceDesc2Size) return DDERR_INVALIDPARAMS;
  if (m_bLost) return DDERR_SURFACELOST;
  if (m_bLocked) return DDERR_SURFACEBUSY;
  if (ShouldFail(GraphicsCall::Lock)) return DDERR_GENERIC;
  int left = 0, top = 0;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->right > m_Pixels.Width() || rect->bottom > m_Pixels.Height() ||
        rect->left >= rect->right || rect->top >= rect->bottom)
      return DDERR_INVALIDRECT;
    left = rect->left;
    top = rect->top;
  }
  GetSurfaceDesc(desc);
  desc->dwFlags |= DDSD_LPSURFACE | DDSD_PITCH;
  desc->lpSurface = m_Pixels.Row(top) + left * BytesPerPixel(m_Pixels.Format());
  m_bLocked = true;
  return DD_OK;
}

HRESULT DirectDrawSurface7::Unlock(const RECT*) {
  if (!m_bLocked) return DDERR_NOTLOCKED;
  m_bLocked = false;
  return DD_OK;
}

HRESULT DirectDrawSurface7::IsLost() const { return m_bLost ? DDERR_SURFACELOST : DD_OK; }

HRESULT DirectDrawSurface7::Restore() {
  m_bLost = false;
  for (DirectDrawSurface7* back : m_BackBuffers) back->m_bLost = false;
  return DD_OK;
}

HRESULT DirectDrawSurface7::SetColorKey(DWORD flags, const DDCOLORKEY* key) {
  if (!(flags & DDCKEY_SRCBLT)) return DDERR_INVALIDPARAMS;
  if (ShouldFail(GraphicsCall::SetColorKey)) return DDERR_GENERIC;
  m_bHasKey = key != nullptr;
  if (key) m_Key = *key;
  return DD_OK;
}

HRESULT DirectDrawSurface7::GetColorKey(DWORD flags, DDCOLORKEY* key) const {
  if (!(flags & DDCKEY_SRCBLT) || !key) return DDERR_INVALIDPARAMS;
  if (!m_bHasKey) return DDERR_NOTFOUND;
  *key = m_Key;
  return DD_OK;
}

HRESULT DirectDrawSurface7::SetPalette(DirectDrawPalette* palette) {
  if (ShouldFail(GraphicsCall::SetPalette)) return DDERR_GENERIC;
  if (palette) palette->AddRef();
  if (m_pPalette) m_pPalette->Release();
  m_pPalette = palette;
  return DD_OK;
}

HRESULT DirectDrawSurface7::SetClipper(DirectDrawClipper* clipper) {
  if (ShouldFail(GraphicsCall::SetClipper)) return DDERR_GENERIC;
  if (clipper) clipper->AddRef();
  if (m_pClipper) m_pClipper->Release();
  m_pClipper = clipper;
  return DD_OK;
}

HRESULT DirectDrawSurface7::GetAttachedSurface(const DDSCAPS2* caps, DirectDrawSurface7** surface) {
  if (!caps || !surface) return DDERR_INVALIDPARAMS;
  if (ShouldFail(GraphicsCall::GetAttachedSurface)) return DDERR_GENERIC;
  if (!(caps->dwCaps & DDSCAPS_BACKBUFFER) || m_BackBuffers.empty()) return DDERR_NOTFOUND;
  *surface = m_BackBuffers.front();
  (*surface)->AddRef();
  return DD_OK;
}

HRESULT DirectDrawSurface7::Flip(DirectDrawSurface7* target, DWORD) {
  if (m_BackBuffers.empty()) return DDERR_INVALIDPARAMS;
  DirectDrawSurface7* back = target ? target : m_BackBuffers.front();
  if (std::find(m_BackBuffers.begin(), m_BackBuffers.end(), back) == m_BackBuffers.end())
    return DDERR_INVALIDPARAMS;
  if (m_bLost || back->m_bLost) return DDERR_SURFACELOST;
  if (m_bLocked || back->m_bLocked) return DDERR_SURFACEBUSY;
  m_Display->flips.Queue();  // the display flips at its blank
  m_Pixels.CopyFrom(back->m_Pixels);
  ShowOnScreen();
  return DD_OK;
}

HRESULT DirectDrawSurface7::GetPixelFormat(DDPIXELFORMAT* format) const {
  if (!format || format->dwSize != kDDPixelFormatSize) return DDERR_INVALIDPARAMS;
  const PixelFormat pixelFormat = m_Pixels.Format();
  const ChannelMasks masks = MasksOf(pixelFormat);
  *format = DDPIXELFORMAT{};
  format->dwSize = kDDPixelFormatSize;
  format->dwFlags = pixelFormat == PixelFormat::Index8 ? DDPF_PALETTEINDEXED8 | DDPF_RGB : DDPF_RGB;
  if (masks.alpha) format->dwFlags |= DDPF_ALPHAPIXELS;
  format->dwRGBBitCount = BitsPerPixel(pixelFormat);
  format->dwRBitMask = masks.red;
  format->dwGBitMask = masks.green;
  format->dwBBitMask = masks.blue;
  format->dwRGBAlphaBitMask = masks.alpha;
  return DD_OK;
}

HRESULT DirectDrawSurface7::GetSurfaceDesc(DDSURFACEDESC2* desc) const {
  if (!desc || desc->dwSize != kDDSurfaceDesc2Size) return DDERR_INVALIDPARAMS;
  *desc = DDSURFACEDESC2{};
  desc->dwSize = kDDSurfaceDesc2Size;
  desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
  desc->dwWidth = static_cast<DWORD>(m_Pixels.Width());
  desc->dwHeight = static_cast<DWORD>(m_Pixels.Height());
  desc->lPitch = m_Pixels.Pitch();
  desc->dwBackBufferCount = static_cast<DWORD>(m_BackBuffers.size());
  desc->ddsCaps.dwCaps = m_nCaps;
  desc->ddpfPixelFormat.dwSize = kDDPixelFormatSize;
  GetPixelFormat(&desc->ddpfPixelFormat);
  return DD_OK;
}

void DirectDrawSurface7::ShowOnScreen() const {
  if (!m_bPrimary) return;
  PresentFrame(m_Pixels, m_pPalette && m_Pixels.Format() == PixelFormat::Index8 ? m_pPalette->Entries() : nullptr);
}

// --- the display -------------------------------------------------------------

DirectDraw7::DirectDraw7() : m_Display(std::make_shared<DirectDrawDisplayState>()) {
  const DisplayConfig config = GetDisplayConfig();
  m_Display->desktopBpp = config.desktopBpp;
  m_Display->sixteenBitIs555 = config.sixteenBitIs555;
  m_Display->videoMemoryBudget = config.videoMemoryBytes;
}

DirectDraw7::~DirectDraw7() = default;

std::uint32_t DirectDraw7::Release() {
  const std::uint32_t own = --m_nRefs;
  const std::uint32_t left = own + static_cast<std::uint32_t>(m_Display->liveObjects);
  if (own == 0) delete this;
  return left;
}

HRESULT DirectDraw7::SetCooperativeLevel(HWND window, DWORD flags) {
  if (ShouldFail(GraphicsCall::SetCooperativeLevel)) return DDERR_GENERIC;
  const bool exclusive = (flags & DDSCL_EXCLUSIVE) && (flags & DDSCL_FULLSCREEN);
  if (!exclusive && !(flags & DDSCL_NORMAL)) return DDERR_INVALIDPARAMS;
  m_Display->window = window;
  m_Display->cooperativeLevel = flags;
  return DD_OK;
}

HRESULT DirectDraw7::SetDisplayMode(DWORD width, DWORD height, DWORD bpp, DWORD refreshRate, DWORD) {
  if (width == 0 || height == 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return DDERR_INVALIDMODE;
  if (bpp != 8 && bpp != 16 && bpp != 32) return DDERR_INVALIDMODE;
  if (refreshRate != 0 && GetDisplayConfig().refuseRefreshRate) return DDERR_INVALIDMODE;
  if (ShouldFail(GraphicsCall::SetDisplayMode)) return DDERR_INVALIDMODE;
  m_Display->modeBpp = static_cast<int>(bpp);
  m_Display->modeWidth = static_cast<int>(width);
  m_Display->modeHeight = static_cast<int>(height);
  m_Display->refreshRate = refreshRate;
  return DD_OK;
}

HRESULT DirectDraw7::RestoreDisplayMode() {
  m_Display->modeBpp = 0;
  m_Display->modeWidth = m_Display->modeHeight = 0;
  m_Display->refreshRate = 0;
  return DD_OK;
}

HRESULT DirectDraw7::CreateSurface(const DDSURFACEDESC2* desc, DirectDrawSurface7** surface, void*) {
  if (!desc || !surface) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  if (ShouldFail(GraphicsCall::CreateSurface)) return DDERR_GENERIC;
  const DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
  const PixelFormat format = m_Display->Format();

  if (caps & DDSCAPS_PRIMARYSURFACE) {
    if (m_Display->cooperativeLevel == 0) return DDERR_INVALIDPARAMS;
    const bool fullScreen = m_Display->cooperativeLevel & DDSCL_EXCLUSIVE;
    int width, height;
    POINT origin;
    if (fullScreen) {
      if (!m_Display->modeBpp) return DDERR_INVALIDMODE;
      width = m_Display->modeWidth;
      height = m_Display->modeHeight;
    } else {
      RECT client;
      if (!GetClientRect(m_Display->window, &client) || !ClientToScreen(m_Display->window, &origin))
        return DDERR_GENERIC;
      width = client.Width();
      height = client.Height();
    }
    DWORD backBuffers = 0;
    if (caps & DDSCAPS_FLIP) {
      if (!fullScreen || !(caps & DDSCAPS_COMPLEX) || !(desc->dwFlags & DDSD_BACKBUFFERCOUNT) ||
          desc->dwBackBufferCount < 1 || desc->dwBackBufferCount > 3)
        return DDERR_INVALIDPARAMS;
      backBuffers = desc->dwBackBufferCount;
    }
    auto* primary = new DirectDrawSurface7(m_Display, width, height, format,
                                           caps | (backBuffers ? DDSCAPS_FRONTBUFFER : 0), false);
    primary->m_ScreenOrigin = origin;
    for (DWORD i = 0; i < backBuffers; ++i)
      primary->m_BackBuffers.push_back(new DirectDrawSurface7(m_Display, width, height, format,
                                                              DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX,
                                                              false));
    *surface = primary;
    return DD_OK;
  }

  if (!(desc->dwFlags & DDSD_WIDTH) || !(desc->dwFlags & DDSD_HEIGHT) || desc->dwWidth == 0 ||
      desc->dwHeight == 0 || desc->dwWidth > kMaxSurfaceSide || desc->dwHeight > kMaxSurfaceSide)
    return DDERR_INVALIDPARAMS;
  const bool systemMemory = caps & DDSCAPS_SYSTEMMEMORY;
  if (!systemMemory) {
    const std::uint64_t pitch = (std::uint64_t{desc->dwWidth} * BytesPerPixel(format) + 15) / 16 * 16;
    if (m_Display->videoMemoryUsed + pitch * desc->dwHeight > m_Display->videoMemoryBudget)
      return DDERR_OUTOFVIDEOMEMORY;
  }
  *surface = new DirectDrawSurface7(m_Display, static_cast<int>(desc->dwWidth), static_cast<int>(desc->dwHeight),
                                    format, (caps | DDSCAPS_OFFSCREENPLAIN) | (systemMemory ? 0 : DDSCAPS_VIDEOMEMORY),
                                    !systemMemory);
  return DD_OK;
}

HRESULT DirectDraw7::CreatePalette(DWORD flags, const PALETTEENTRY* entries, DirectDrawPalette** palette, void*) {
  if (!palette) return DDERR_INVALIDPARAMS;
  *palette = nullptr;
  if (!(flags & DDPCAPS_8BIT) || !entries) return DDERR_INVALIDPARAMS;
  if (ShouldFail(GraphicsCall::CreatePalette)) return DDERR_GENERIC;
  auto* created = new DirectDrawPalette(m_Display);
  std::copy(entries, entries + 256, created->m_Entries);
  *palette = created;
  return DD_OK;
}

HRESULT DirectDraw7::CreateClipper(DWORD, DirectDrawClipper** clipper, void*) {
  if (!clipper) return DDERR_INVALIDPARAMS;
  *clipper = nullptr;
  if (ShouldFail(GraphicsCall::CreateClipper)) return DDERR_GENERIC;
  *clipper = new DirectDrawClipper(m_Display);
  return DD_OK;
}

HRESULT DirectDraw7::FlipToGDISurface() {
  return ShouldFail(GraphicsCall::FlipToGDISurface) ? DDERR_GENERIC : DD_OK;
}

HRESULT DirectDraw7::WaitForVerticalBlank(DWORD, void*) {
  WaitForNextVerticalBlank();
  return DD_OK;
}

HRESULT DirectDraw7::GetAvailableVidMem(const DDSCAPS2*, DWORD* total, DWORD* free) const {
  const auto clamp = [](std::uint64_t bytes) { return static_cast<DWORD>(std::min<std::uint64_t>(bytes, 0xFFFFFFFFu)); };
  if (total) *total = clamp(m_Display->videoMemoryBudget);
  if (free) *free = clamp(m_Display->videoMemoryBudget - m_Display->videoMemoryUsed);
  return DD_OK;
}

HRESULT DirectDraw7::GetMonitorFrequency(DWORD* frequency) const {
  if (!frequency) return DDERR_INVALIDPARAMS;
  *frequency = m_Display->refreshRate ? m_Display->refreshRate : 60;
  return DD_OK;
}

void DirectDraw7::SimulateLoss() {
  for (DirectDrawSurface7* surface : m_Display->surfaces) {
    if (!CanBeLost(*surface)) continue;
    surface->m_bLost = true;
    surface->Scramble();
  }
}

PixelFormat DirectDraw7::DisplayFormat() const { return m_Display->Format(); }
int DirectDraw7::DisplayBpp() const { return m_Display->Bpp(); }
DWORD DirectDraw7::CooperativeLevel() const { return m_Display->cooperativeLevel; }
DWORD DirectDraw7::RefreshRate() const { return m_Display->refreshRate; }

HRESULT DirectDrawCreateEx(const void*, DirectDraw7** display, const void*, void*) {
  if (!display) return DDERR_INVALIDPARAMS;
  *display = nullptr;
  if (ShouldFail(GraphicsCall::DirectDrawCreateEx)) return DDERR_GENERIC;
  *display = new DirectDraw7();
  return DD_OK;
}

}  // namespace platform
