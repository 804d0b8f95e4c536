// A software DirectDraw 7: the display object, its surfaces, palettes and
// clippers, shaped like the calls the graphics layer makes and returning
// their result codes (platform/video/hresult.h). No hardware, no COM: plain
// classes with reference counts (platform/video/ref_counted.h).
//
// - The display has a mode (SetDisplayMode: 8, 16 or 32 bits; 24 gives
//   DDERR_INVALIDMODE; 16 bits is RGB565, or XRGB1555 when DisplayConfig says
//   so). Without a mode set it has the desktop's depth (DisplayConfig).
// - A primary surface with DDSCAPS_FLIP | DDSCAPS_COMPLEX has 1 or 2 back
//   buffers, reached with GetAttachedSurface. Flip queues the flip for the
//   display's vertical blank, waiting while the flip before it still waits
//   (platform/video/vertical_blank.h), copies the first back buffer to the
//   primary (so the back buffer keeps its contents) and
//   presents the primary (platform/video/presenter.h; an 8-bit primary
//   through its palette). A primary made at DDSCL_NORMAL (a window) is the
//   window's client area: ScreenOrigin gives its top-left in screen
//   coordinates, and ShowOnScreen presents it after drawing onto it.
// - Off-screen plain surfaces are in the display format, in video memory
//   unless DDSCAPS_SYSTEMMEMORY is asked for. Video-memory off-screen
//   surfaces are charged to the display's budget (DisplayConfig); when it is
//   spent CreateSurface gives DDERR_OUTOFVIDEOMEMORY.
// - SimulateLoss makes the primary, its back buffers and every video-memory
//   surface lost and scrambles their pixels: IsLost and Lock give
//   DDERR_SURFACELOST until Restore, which keeps the scrambled contents.
//   System-memory surfaces are never lost.
// - Blt copies a source rectangle onto a destination rectangle, sampling the
//   nearest source pixel (destination column k of a w-wide rectangle reads
//   source column left + floor((k + 0.5) * (right - left) / w)); a source
//   rectangle with right < left (bottom < top) reads right to left (bottom to
//   top), which mirrors. DDBLT_KEYSRC leaves out source pixels equal to the
//   source's colour key; DDBLT_COLORFILL fills with DDBLTFX::dwFillColor.
//   BltFast is the unscaled copy (DDBLTFAST_SRCCOLORKEY keys). Rectangles
//   must lie inside both surfaces (DDERR_INVALIDRECT otherwise); both
//   surfaces have the display's format. Blits onto a primary (a window's or
//   the full screen's) are presented like ShowOnScreen. Code in platform/video/ddraw_blit.cpp.
// - Lock gives the whole surface (or the rectangle asked for, which must lie
//   inside it) with lPitch in bytes; a surface is locked at most once.
// - GetDC gives a GDI device context over the surface's pixels at its depth
//   (platform/gdi_text.h); like a lock, until ReleaseDC (code in
//   platform/video/ddraw_dc.cpp).
// - Release of the display object returns its own references plus the
//   surfaces, palettes and clippers still alive; they stay usable after it.
// One thread uses a display and its objects at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi_text.h"
#include "platform/rect.h"
#include "platform/video/hresult.h"
#include "platform/video/pixel_buffer.h"
#include "platform/video/ref_counted.h"
#include "platform/window_services.h"

namespace platform {

using DWORD = std::uint32_t;

constexpr DWORD DDSCL_FULLSCREEN = 0x1;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x2;
constexpr DWORD DDSCL_NORMAL = 0x8;
constexpr DWORD DDSCL_EXCLUSIVE = 0x10;

constexpr DWORD DDSD_CAPS = 0x1;
constexpr DWORD DDSD_HEIGHT = 0x2;
constexpr DWORD DDSD_WIDTH = 0x4;
constexpr DWORD DDSD_PITCH = 0x8;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x20;
constexpr DWORD DDSD_LPSURFACE = 0x800;
constexpr DWORD DDSD_PIXELFORMAT = 0x1000;

constexpr DWORD DDSCAPS_BACKBUFFER = 0x4;
constexpr DWORD DDSCAPS_COMPLEX = 0x8;
constexpr DWORD DDSCAPS_FLIP = 0x10;
constexpr DWORD DDSCAPS_FRONTBUFFER = 0x20;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x4000;

constexpr DWORD DDPF_ALPHAPIXELS = 0x1;
constexpr DWORD DDPF_PALETTEINDEXED8 = 0x20;
constexpr DWORD DDPF_RGB = 0x40;

constexpr DWORD DDLOCK_WAIT = 0x1;
constexpr DWORD DDBLT_COLORFILL = 0x400;
constexpr DWORD DDBLT_KEYSRC = 0x8000;
constexpr DWORD DDBLT_WAIT = 0x1000000;
constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x1;
constexpr DWORD DDBLTFAST_WAIT = 0x10;
constexpr DWORD kDDBltFxSize = 100;  // DDBLTFX::dwSize
constexpr DWORD DDCKEY_SRCBLT = 0x8;
constexpr DWORD DDPCAPS_8BIT = 0x4;
constexpr DWORD DDPCAPS_ALLOW256 = 0x40;
constexpr DWORD DDFLIP_WAIT = 0x1;
constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x1;

constexpr DWORD kDDPixelFormatSize = 32;    // DDPIXELFORMAT::dwSize
constexpr DWORD kDDSurfaceDesc2Size = 124;  // DDSURFACEDESC2::dwSize

struct DDCOLORKEY {
  DWORD dwColorSpaceLowValue = 0;
  DWORD dwColorSpaceHighValue = 0;
};

struct DDSCAPS2 {
  DWORD dwCaps = 0;
};

struct DDPIXELFORMAT {
  DWORD dwSize = 0;
  DWORD dwFlags = 0;
  DWORD dwRGBBitCount = 0;
  DWORD dwRBitMask = 0;
  DWORD dwGBitMask = 0;
  DWORD dwBBitMask = 0;
  DWORD dwRGBAlphaBitMask = 0;
};

// The fields of DDSURFACEDESC2 that the program uses.
struct DDSURFACEDESC2 {
  DWORD dwSize = 0;
  DWORD dwFlags = 0;
  DWORD dwHeight = 0;
  DWORD dwWidth = 0;
  std::int32_t lPitch = 0;  // bytes
  DWORD dwBackBufferCount = 0;
  void* lpSurface = nullptr;
  DDCOLORKEY ddckCKSrcBlt;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS2 ddsCaps;
};

// The field of DDBLTFX that the program uses.
struct DDBLTFX {
  DWORD dwSize = 0;
  DWORD dwFillColor = 0;
};

// What a display shares with the objects it made (mode, memory budget,
// live objects); it lives as long as any of them.
struct DirectDrawDisplayState;

class DirectDrawPalette : public RefCounted {
 public:
  HRESULT SetEntries(DWORD flags, DWORD first, DWORD count, const PALETTEENTRY* entries);
  HRESULT GetEntries(DWORD flags, DWORD first, DWORD count, PALETTEENTRY* entries) const;
  const PALETTEENTRY* Entries() const { return m_Entries; }

 private:
  friend class DirectDraw7;
  explicit DirectDrawPalette(std::shared_ptr<DirectDrawDisplayState> display);
  ~DirectDrawPalette() override;
  std::shared_ptr<DirectDrawDisplayState> m_Display;
  PALETTEENTRY m_Entries[256]{};
};

class DirectDrawClipper : public RefCounted {
 public:
  HRESULT SetHWnd(DWORD flags, HWND window);
  HWND Window() const { return m_hWnd; }

 private:
  friend class DirectDraw7;
  explicit DirectDrawClipper(std::shared_ptr<DirectDrawDisplayState> display);
  ~DirectDrawClipper() override;
  std::shared_ptr<DirectDrawDisplayState> m_Display;
  HWND m_hWnd = nullptr;
};

class DirectDrawSurface7 : public RefCounted {
 public:
  HRESULT Lock(const RECT* rect, DDSURFACEDESC2* desc, DWORD flags, void* event);
  HRESULT Unlock(const RECT* rect);
  HRESULT IsLost() const;
  HRESULT Restore();
  HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key);  // null key: no key
  HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) const;
  HRESULT SetPalette(DirectDrawPalette* palette);          // null: detach
  HRESULT SetClipper(DirectDrawClipper* clipper);          // null: detach
  HRESULT GetAttachedSurface(const DDSCAPS2* caps, DirectDrawSurface7** surface);
  HRESULT Flip(DirectDrawSurface7* target, DWORD flags);
  HRESULT GetPixelFormat(DDPIXELFORMAT* format) const;
  HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) const;
  // Null rectangles: the whole surface.
  HRESULT Blt(const RECT* destination, DirectDrawSurface7* source, const RECT* sourceRect, DWORD flags,
              const DDBLTFX* fx);
  HRESULT BltFast(DWORD x, DWORD y, DirectDrawSurface7* source, const RECT* sourceRect, DWORD flags);
  // DDERR_SURFACELOST when lost, DDERR_SURFACEBUSY while locked or while its
  // DC is out. ReleaseDC takes only the DC this surface gave
  // (DDERR_INVALIDPARAMS otherwise) and frees it.
  HRESULT GetDC(HDC* dc);
  HRESULT ReleaseDC(HDC dc);

  // For the other parts of the stand-in (blits, text, presentation).
  PixelBuffer& Pixels() { return m_Pixels; }
  const PixelBuffer& Pixels() const { return m_Pixels; }
  bool IsLocked() const { return m_bLocked; }
  bool InSystemMemory() const { return m_bSystemMemory; }
  bool IsPrimary() const { return m_bPrimary; }
  const DDCOLORKEY* SourceColorKey() const { return m_bHasKey ? &m_Key : nullptr; }
  DirectDrawPalette* Palette() const { return m_pPalette; }
  DirectDrawClipper* Clipper() const { return m_pClipper; }
  POINT ScreenOrigin() const { return m_ScreenOrigin; }
  // Presents a primary surface's pixels (through its palette at 8 bits).
  void ShowOnScreen() const;

 private:
  friend class DirectDraw7;
  friend struct DirectDrawDisplayState;
  DirectDrawSurface7(std::shared_ptr<DirectDrawDisplayState> display, int width, int height, PixelFormat format,
                     DWORD caps, bool chargedToVideoMemory);
  ~DirectDrawSurface7() override;
  void Scramble();

  std::shared_ptr<DirectDrawDisplayState> m_Display;
  PixelBuffer m_Pixels;
  DWORD m_nCaps;
  bool m_bPrimary;
  bool m_bSystemMemory;
  bool m_bCharged;
  bool m_bLost = false;
  bool m_bLocked = false;
  HDC m_pDC = nullptr;  // the DC that is out, owned
  bool m_bHasKey = false;
  DDCOLORKEY m_Key;
  DirectDrawPalette* m_pPalette = nullptr;
  DirectDrawClipper* m_pClipper = nullptr;
  std::vector<DirectDrawSurface7*> m_BackBuffers;  // a flip chain's, owned
  POINT m_ScreenOrigin;
};

class DirectDraw7 {
 public:
  DirectDraw7(const DirectDraw7&) = delete;
  DirectDraw7& operator=(const DirectDraw7&) = delete;

  HRESULT SetCooperativeLevel(HWND window, DWORD flags);
  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bpp, DWORD refreshRate, DWORD flags);
  HRESULT RestoreDisplayMode();
  HRESULT CreateSurface(const DDSURFACEDESC2* desc, DirectDrawSurface7** surface, void* outer);
  HRESULT CreatePalette(DWORD flags, const PALETTEENTRY* entries, DirectDrawPalette** palette, void* outer);
  HRESULT CreateClipper(DWORD flags, DirectDrawClipper** clipper, void* outer);
  HRESULT FlipToGDISurface();
  HRESULT WaitForVerticalBlank(DWORD flags, void* event);  // until the next blank begins
  HRESULT GetAvailableVidMem(const DDSCAPS2* caps, DWORD* total, DWORD* free) const;
  HRESULT GetMonitorFrequency(DWORD* frequency) const;  // the simulated 60 Hz
  std::uint32_t AddRef() { return ++m_nRefs; }
  // The references left, counting every object made by this display that
  // is still alive.
  std::uint32_t Release();

  // Test hooks and the stand-in's own view.
  void SimulateLoss();
  PixelFormat DisplayFormat() const;
  int DisplayBpp() const;
  DWORD CooperativeLevel() const;
  DWORD RefreshRate() const;

 private:
  friend HRESULT DirectDrawCreateEx(const void* guid, DirectDraw7** display, const void* iid, void* outer);
  DirectDraw7();
  ~DirectDraw7();
  std::shared_ptr<DirectDrawDisplayState> m_Display;
  std::uint32_t m_nRefs = 1;
};

HRESULT DirectDrawCreateEx(const void* guid, DirectDraw7** display, const void* iid, void* outer);

}  // namespace platform
