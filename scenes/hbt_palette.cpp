#include "scenes/hbt_palette.h"

#include <algorithm>
#include <cstdio>

#include "base/report.h"
#include "graphics/device.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/palette_effects.h"
#include "graphics/palette_file.h"
#include "graphics/surface_effects.h"

namespace {
constexpr int kFirstRampEntry = 16, kLastRampEntry = 207, kRampSize = 16;
constexpr int kPaletteImage = 0;
}  // namespace

int LoadHbtPalette(int nNumber) {
  if (g_lpD3DState || !g_lpDDState || g_nBpp != 8) return 1;
  // Beyond 23 the copied ramp would lie past the palette's end.
  nNumber = std::clamp(nNumber, 0, 23);
  char path[32];
  std::snprintf(path, sizeof path, "bmp\\hbt\\hbt%02d.dat", nNumber);
  if (!DDLoadBlendTable(g_BlendTable, path)) {
    ErrorBoxF("%s の読み込みに失敗！", path);
    return 0;
  }
  if (!DDLoadPaletteFromFile(&g_palCurrent, g_ImageTable[kPaletteImage].szFileName, g_nWindowMode)) {
    ErrorLog("DDLoadPaletteFromFile失敗");
    ReportErrorF("%s の読み込みに失敗！", g_ImageTable[kPaletteImage].szFileName);
    return 0;
  }
  if (nNumber < 12) {
    RotatePaletteRange(g_palCurrent.data(), kFirstRampEntry, kLastRampEntry, nNumber * kRampSize, 1,
                       g_palCurrent.data());
  } else {
    const int source = (nNumber - 11) * kRampSize;
    PaletteBuffer loaded = g_palCurrent;
    for (int ramp = kFirstRampEntry; ramp <= kLastRampEntry; ramp += kRampSize) {
      std::copy_n(loaded.begin() + source, kRampSize, g_palCurrent.begin() + ramp);
    }
  }
  g_palOriginal = g_palCurrent;
  // 255 entries: the last one is left as the display had it.
  DDSetPaletteEntries(g_palOriginal.data(), 0, 255);
  return 1;
}
