#include "graphics/palette_file.h"

#include <string>

#include "base/report.h"
#include "graphics/device.h"
#include "graphics/locked_pixels.h"
#include "graphics/palette_colours.h"
#include "graphics/palette_image.h"
#include "graphics/surface.h"
#include "graphics/surface_file.h"
#include "platform/bitmap_file.h"

namespace {

// A system-memory surface of the picture at the current depth, released
// when it goes out of scope on every path.
struct TemporarySurface {
  DDSURFACEDATA surface;
  int result = 0;
  explicit TemporarySurface(const char* lpFileName)
      : result(DDCreateSurfaceFromFile(&surface, lpFileName, 0, g_nBpp, 1, 0, 0, 0, 0, 0, 0)) {}
  ~TemporarySurface() { DDReleaseSurface(&surface); }
  TemporarySurface(const TemporarySurface&) = delete;
  TemporarySurface& operator=(const TemporarySurface&) = delete;
};

}  // namespace

bool DDLoadPaletteFromFile(PaletteBuffer* lpPalette, const char* lpFileName, int) {
  if (!lpPalette || !lpFileName) return false;
  platform::DecodedBitmap bitmap;
  std::string error;
  if (!platform::LoadBitmapFile(lpFileName, bitmap, error)) return false;
  platform::PALETTEENTRY shown[256];
  for (int i = 0; i < 256; ++i) {
    const auto n = static_cast<std::size_t>(i);
    const platform::RGBQUAD colour = n < bitmap.colours.size() ? bitmap.colours[n] : platform::RGBQUAD{};
    (*lpPalette)[n] = {colour.rgbRed, colour.rgbGreen, colour.rgbBlue, PaletteFlag(i)};
    shown[i] = {colour.rgbRed, colour.rgbGreen, colour.rgbBlue, PaletteFlag(i)};
  }
  if (g_nBpp == 8) {
    if (!g_lpD3DState && g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 256, shown);
    return true;
  }
  TemporarySurface temporary(lpFileName);
  if (DDCheckLoadError(temporary.result)) DDReadPaletteFromSurface(lpPalette, &temporary.surface);
  return true;
}

void DDSetTransmit(std::uint8_t cbRed, std::uint8_t cbGreen, std::uint8_t cbBlue) {
  const std::uint32_t rgb = std::uint32_t{cbRed} << 16 | std::uint32_t{cbGreen} << 8 | cbBlue;
  if (D3DSTATE* state = g_lpD3DState) {
    state->cbKey32[0] = cbBlue;
    state->cbKey32[1] = cbGreen;
    state->cbKey32[2] = cbRed;
    if (g_nBpp != 32) return;
    state->dwTexKey = 0;
    state->dwBackKey = 0xFF000000u | rgb;
    state->wTexKey16 = state->wBackKey16 = 0;
    g_dwTransmit = state->dwTexKey;
    return;
  }
  if (!g_lpDDState || g_nBpp != 32) return;
  g_dwTransmit = rgb;
  g_lpDDState->cbKey[0] = cbBlue;
  g_lpDDState->cbKey[1] = cbGreen;
  g_lpDDState->cbKey[2] = cbRed;
}

int DDSetTransmitFromFile(const char* lpFileName) {
  if (!lpFileName) return 0;
  TemporarySurface temporary(lpFileName);
  if (!DDCheckLoadError(temporary.result)) {
    ErrorLogF("%s 作成失敗！", lpFileName);
    return 0;
  }
  cSurfaceLock lock(&temporary.surface);
  if (!lock.m_pBits) {
    ErrorLog("Lock 失敗！");
    return 0;
  }
  const std::uint32_t pixel = lock.GetPixel(0, 0);
  switch (g_nBpp) {
    case 8: g_dwTransmit = pixel; break;
    case 16:
      g_dwTransmit = pixel;
      if (g_lpD3DState) {
        platform::DecodedBitmap bitmap;
        std::string error;
        if (!platform::LoadBitmapFile(lpFileName, bitmap, error)) return 0;
        if (bitmap.bitsPerPixel == 8 && !bitmap.colours.empty()) {
          g_lpD3DState->cbKey16[0] = bitmap.colours[0].rgbBlue;
          g_lpD3DState->cbKey16[1] = bitmap.colours[0].rgbGreen;
          g_lpD3DState->cbKey16[2] = bitmap.colours[0].rgbRed;
        }
      }
      break;
    case 32: {
      const auto red = static_cast<std::uint8_t>(pixel >> 16), green = static_cast<std::uint8_t>(pixel >> 8),
                 blue = static_cast<std::uint8_t>(pixel);
      if (g_lpD3DState) {
        DDSetTransmit(red, green, blue);
      } else if (g_lpDDState) {
        g_dwTransmit = pixel;
        g_lpDDState->cbKey[0] = blue;
        g_lpDDState->cbKey[1] = green;
        g_lpDDState->cbKey[2] = red;
      }
      break;
    }
    default: break;
  }
  return 1;
}

std::uint32_t DDPalToPixel16(const PaletteColour* lpEntry) {
  if (g_lpD3DState || !lpEntry) return 0;
  return PackPaletteEntry16(g_cfSurface, *lpEntry);
}

int DDReadPaletteFromSurface(PaletteBuffer* lpPalette, DDSURFACEDATA* lpSD) {
  if (!lpPalette) return 1;
  cSurfaceLock lock(lpSD);
  if (!lock.m_pBits) return 1;
  ReadPaletteBlock(LockedPixels(lock), g_cfSurface, g_lpD3DState != nullptr, *lpPalette);
  return 1;
}
