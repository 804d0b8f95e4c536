#include "graphics/palette_colours.h"

#include "base/report.h"
#include "graphics/device.h"

DDCOLORFORMAT g_cfScreen;
DDCOLORFORMAT g_cfSurface;
PaletteBuffer g_palCurrent;
PaletteBuffer g_palOriginal;
std::uint32_t g_dwTransmit = 0;

void DDReadPixelFormat(DDCOLORFORMAT* format) {
  if (g_lpD3DState || !format || !g_sdPrimary.lpDDraw || !g_sdPrimary.lpDDraw->lpDDS) return;
  platform::DDPIXELFORMAT pixelFormat;
  pixelFormat.dwSize = platform::kDDPixelFormatSize;
  if (platform::FAILED(g_sdPrimary.lpDDraw->lpDDS->GetPixelFormat(&pixelFormat))) return;
  SetColourFormatFromMasks(*format, pixelFormat.dwRBitMask, pixelFormat.dwGBitMask, pixelFormat.dwBBitMask,
                           static_cast<int>(pixelFormat.dwRGBBitCount));
}

void DDSetPaletteEntries(const PaletteColour* lpPalette, int nFirst, int nCount) {
  if (!g_lpDDPalette || !lpPalette || nFirst < 0 || nCount <= 0 || nFirst + nCount > 256) return;
  platform::PALETTEENTRY entries[256];
  for (int i = 0; i < nCount; ++i) {
    const PaletteColour& c = lpPalette[nFirst + i];
    entries[i] = {c.r, c.g, c.b, c.flag};
  }
  g_lpDDPalette->SetEntries(0, static_cast<platform::DWORD>(nFirst), static_cast<platform::DWORD>(nCount), entries);
}

std::uint32_t PalNumToRGB(std::uint32_t dwPalNum) {
  if (dwPalNum > 255) {
    ErrorLogF("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = %d", static_cast<int>(dwPalNum));
    return 0;
  }
  const PaletteColour& entry = g_palCurrent[dwPalNum];
  const std::uint32_t rgb = std::uint32_t{entry.r} << 16 | std::uint32_t{entry.g} << 8 | entry.b;
  if (g_lpD3DState) {
    if (g_nBpp == 8) return dwPalNum;
    if (dwPalNum == 0) return g_lpD3DState->dwTexKey;
    return 0xFF000000u | rgb;
  }
  switch (g_nBpp) {
    case 8: return dwPalNum;
    case 16: return PackPaletteEntry16(g_cfSurface, entry);
    case 24:
    case 32: return rgb;
    default: return 0;
  }
}
