#include "graphics/color_format.h"

#include "graphics/device.h"
#include "shell/report.h"

DDCOLORFORMAT g_cfScreen;
DDCOLORFORMAT g_cfSurface;
platform::PALETTEENTRY g_palCurrent[256];
platform::PALETTEENTRY g_palOriginal[256];
std::uint32_t g_dwTransmit = 0;

namespace {

// Zero bits below the lowest set bit, counted up to the bit count.
int ShiftOf(std::uint32_t mask, std::uint32_t bitCount) {
  int shift = 0;
  while (static_cast<std::uint32_t>(shift) < bitCount && shift < 32 && !(mask & (1u << shift))) ++shift;
  return shift;
}

int MaxOf(std::uint32_t mask, int shift) { return shift >= 32 ? 0 : static_cast<int>(mask >> shift); }

}  // namespace

void DDReadPixelFormat(DDCOLORFORMAT* format) {
  if (g_lpD3DState || !format || !g_sdPrimary.lpDDraw || !g_sdPrimary.lpDDraw->lpDDS) return;
  platform::DDPIXELFORMAT pixelFormat;
  pixelFormat.dwSize = platform::kDDPixelFormatSize;
  if (platform::FAILED(g_sdPrimary.lpDDraw->lpDDS->GetPixelFormat(&pixelFormat))) return;
  format->nShiftR = ShiftOf(pixelFormat.dwRBitMask, pixelFormat.dwRGBBitCount);
  format->nMaxR = MaxOf(pixelFormat.dwRBitMask, format->nShiftR);
  format->nShiftG = ShiftOf(pixelFormat.dwGBitMask, pixelFormat.dwRGBBitCount);
  format->nMaxG = MaxOf(pixelFormat.dwGBitMask, format->nShiftG);
  format->nShiftB = ShiftOf(pixelFormat.dwBBitMask, pixelFormat.dwRGBBitCount);
  format->nMaxB = MaxOf(pixelFormat.dwBBitMask, format->nShiftB);
}

std::uint32_t PalNumToRGB(std::uint32_t dwPalNum) {
  if (dwPalNum > 255) {
    ErrorLogF("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = %d", static_cast<int>(dwPalNum));
    return 0;
  }
  const platform::PALETTEENTRY& entry = g_palCurrent[dwPalNum];
  const std::uint32_t r = entry.peRed, g = entry.peGreen, b = entry.peBlue;
  if (g_lpD3DState) {
    if (g_nBpp == 8) return dwPalNum;
    if (dwPalNum == 0) return g_lpD3DState->dwTexKey;
    return 0xFF000000u | r << 16 | g << 8 | b;
  }
  switch (g_nBpp) {
    case 8: return dwPalNum;
    case 16:
      return (r & g_cfSurface.nMaxR) << g_cfSurface.nShiftR | (g & g_cfSurface.nMaxG) << g_cfSurface.nShiftG |
             (b & g_cfSurface.nMaxB) << g_cfSurface.nShiftB;
    case 24:
    case 32: return r << 16 | g << 8 | b;
    default: return 0;
  }
}
