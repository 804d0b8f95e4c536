#include "graphics/effect_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

}  // namespace

std::vector<FillRect> FrameEdges(int x, int y, int w, int h, int nThick) {
  return {{x, y, w, nThick}, {x, y + h - nThick, w, nThick}, {x, y, nThick, h}, {x + w - nThick, y, nThick, h}};
}

std::vector<BandBlt> NumberCells(int x, int y, int cw, int ch, int sx, int sy, int nValue, int nMinDigits,
                                 bool bCenter) {
  nValue = std::max(nValue, 0);
  int digits[10];
  int count = 0;
  do {
    digits[count++] = nValue % 10;
    nValue /= 10;
  } while (nValue > 0);
  int offset = 0;
  if (count < nMinDigits) {
    offset = (nMinDigits - count) * cw;
    if (bCenter) offset /= 2;
  }
  std::vector<BandBlt> cells;
  for (int i = 0; i < count; ++i) {
    const int digit = digits[count - 1 - i];
    cells.push_back({x + offset + i * cw, y, cw, ch, sx + digit * cw, sy});
  }
  return cells;
}

std::vector<BandBlt> WaveBands(int x, int y, int w, int h, int nCycles, double dAmplitude, int nPhase, int nBand,
                               int sx, int sy, bool bColumns) {
  std::vector<BandBlt> bands;
  const int size = bColumns ? w : h;
  if (nBand <= 0 || size <= 0) return bands;
  double angle = 0.0;
  for (int offset = 0; offset < size; offset += nBand) {
    angle += 360.0 / size * nBand;
    const int shift = static_cast<int>(std::trunc(dAmplitude * std::sin((nPhase + angle) * nCycles * kRadiansPerDegree)));
    const int band = std::min(nBand, size - offset);
    if (bColumns) {
      bands.push_back({x + offset, y + shift, band, h, sx + offset, sy});
    } else {
      bands.push_back({x + shift, y + offset, w, band, sx, sy + offset});
    }
  }
  return bands;
}

std::vector<BandBlt> InterlaceBands(int x, int y, int w, int h, int nBand, int nShift, int sx, int sy,
                                    bool bColumns) {
  if (nBand == 0) return {{x, y, w, h, sx, sy}};
  std::vector<BandBlt> bands;
  const int count = (bColumns ? w : h) / nBand;
  auto band = [&](int k, int shift) {
    const int offset = k * nBand;
    if (bColumns) {
      bands.push_back({x + offset, y + shift, nBand, h, sx + offset, sy});
    } else {
      bands.push_back({x + shift, y + offset, w, nBand, sx, sy + offset});
    }
  };
  for (int k = 1; k < count; k += 2) band(k, -nShift);
  for (int k = 0; k < count; k += 2) band(k, nShift);
  return bands;
}

CardFlipFrame CardFlip(int x, int y, int w, int h, int nFrame, int nAxis) {
  CardFlipFrame frame;
  if (nAxis != 0 && nAxis != 1) return frame;
  const int size = nAxis == 0 ? w : h;
  if (size < 2) return frame;
  const int half = size >> 1;
  // A triangle wave between 0 and half - 1.
  const int c = (nFrame / half) % 2 == 0 ? nFrame % half : half - nFrame % half - 1;
  frame.bVisible = true;
  frame.bBack = ((half + nFrame) / size) % 2 != 0;
  frame.rect = nAxis == 0 ? FillRect{x + c, y, w - 2 * c, h} : FillRect{x, y + c, w, h - 2 * c};
  return frame;
}

std::vector<BandBlt> Quarters(int x, int y, int w, int h, int sx, int sy, int nDistance) {
  const int hw = w >> 1;
  const int hh = h >> 1;
  return {{x - nDistance, y - nDistance, hw, hh, sx, sy},
          {x + hw + nDistance, y - nDistance, hw, hh, sx + hw, sy},
          {x - nDistance, y + hh + nDistance, hw, hh, sx, sy + hh},
          {x + hw + nDistance, y + hh + nDistance, hw, hh, sx + hw, sy + hh}};
}
