#include "graphics/palette_effects.h"

#include <algorithm>
#include <array>

namespace {

bool ClampRange(int& nFirst, int& nLast) {
  nFirst = std::max(nFirst, 0);
  nLast = std::min(nLast, 255);
  return nFirst <= nLast;
}

unsigned char Blend(unsigned char source, unsigned char colour, int nWeight) {
  return static_cast<unsigned char>((source * nWeight + colour * (256 - nWeight)) >> 8);
}

}  // namespace

void DDBlendPalette(PaletteColour* lpPalOut, int nFirst, int nLast, int nWeight, unsigned char R, unsigned char G,
                    unsigned char B, const PaletteColour* lpPalSrc) {
  if (!ClampRange(nFirst, nLast)) return;
  nWeight = std::clamp(nWeight, 0, 256);
  for (int i = nFirst; i <= nLast; ++i) {
    const PaletteColour source = lpPalSrc[i];
    lpPalOut[i] = {Blend(source.r, R, nWeight), Blend(source.g, G, nWeight), Blend(source.b, B, nWeight),
                   1};
  }
}

void RotatePaletteRange(PaletteColour* lpPalOut, int nFirst, int nLast, int nCount, int nRotateDir,
                        const PaletteColour* lpPalSrc) {
  std::array<PaletteColour, 256> source;
  std::copy(lpPalSrc, lpPalSrc + 256, source.begin());
  std::copy(source.begin(), source.end(), lpPalOut);
  if (!ClampRange(nFirst, nLast) || (nRotateDir != 0 && nRotateDir != 1)) return;
  const int length = nLast - nFirst + 1;
  int count = nCount % length;
  if (count < 0) count += length;
  if (nRotateDir == 1) count = (length - count) % length;
  for (int i = 0; i < length; ++i) lpPalOut[nFirst + (i + count) % length] = source[nFirst + i];
}
