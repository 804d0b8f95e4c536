#include "graphics/effects/mosaic_blur.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/report.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effects/effect_frame.h"
#include "graphics/palette_colours.h"

namespace {

std::uint32_t LoadAt(const SurfacePixels& pixels, int x, int y) {
  return LoadPixel(PixelAt(pixels, x, y), pixels.bitsPerPixel / 8);
}

// At 32 bits only B, G and R are written: the fourth byte stays.
void StoreColour(const SurfacePixels& pixels, int x, int y, std::uint32_t value) {
  std::uint8_t* p = PixelAt(pixels, x, y);
  if (pixels.bitsPerPixel == 32) value = (Load32(p) & 0xFF000000u) | (value & 0xFFFFFFu);
  StorePixel(p, pixels.bitsPerPixel / 8, value);
}

// Channel sums and the count of pixels summed.
struct ChannelSums {
  std::int64_t r = 0, g = 0, b = 0, n = 0;
  void Add(int red, int green, int blue) {
    r += red, g += green, b += blue;
    ++n;
  }
};

// The colour of one mosaic cell (cw x ch at (left, top) of the area read
// from (sx, sy) of src), or nothing when the cell is not written.
std::optional<std::uint32_t> CellColour(const SurfacePixels& src, int sx, int sy, long long left, long long top,
                                        int cw, int ch, bool skip, std::uint32_t key, bool toScreen16) {
  const bool topLeft = g_nBpp == 8 || (g_lpD3DState && g_nBpp == 16);
  if (topLeft) {
    const long long px = sx + left, py = sy + top;
    if (px < 0 || py < 0 || px >= src.width || py >= src.height) return std::nullopt;
    const std::uint32_t pixel = LoadAt(src, static_cast<int>(px), static_cast<int>(py));
    if (skip && pixel == key) return std::nullopt;
    return toScreen16 ? SurfaceToScreen16(pixel, g_cfSurface, g_cfScreen) : pixel;
  }
  const OverlapSpan rows(ch, static_cast<int>(sy + top), src.height, static_cast<int>(sy + top), src.height);
  const OverlapSpan columns(cw, static_cast<int>(sx + left), src.width, static_cast<int>(sx + left), src.width);
  const DDCOLORFORMAT& f = g_cfSurface;
  ChannelSums sums;
  for (int r = rows.first; r < rows.end; ++r)
    for (int k = columns.first; k < columns.end; ++k) {
      const std::uint32_t pixel = LoadAt(src, static_cast<int>(sx + left + k), static_cast<int>(sy + top + r));
      if (skip && pixel == key) continue;
      if (g_nBpp == 32) {
        sums.Add(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
      } else {
        const ChannelValues c = DecodeChannels(pixel, f);
        sums.Add(c.r * 255 / f.nMaxR, c.g * 255 / f.nMaxG, c.b * 255 / f.nMaxB);
      }
    }
  if (sums.n == 0) return std::nullopt;
  const auto average = [&](std::int64_t sum) { return static_cast<int>(sum / sums.n); };
  if (g_nBpp == 32) {
    const auto colour = static_cast<std::uint32_t>(average(sums.r) << 16 | average(sums.g) << 8 | average(sums.b));
    // The average has no fourth byte: only B, G, R are compared.
    if (skip && colour == (key & 0xFFFFFFu)) return std::nullopt;
    return colour;
  }
  const std::uint32_t colour = EncodeChannels(average(sums.r) * f.nMaxR / 255, average(sums.g) * f.nMaxG / 255,
                                              average(sums.b) * f.nMaxB / 255, f);
  if (skip && colour == key) return std::nullopt;
  return colour;
}

// The box sums of a blur over a summed-area table of the part of the area
// whose source pixels exist.
class BoxSums {
 public:
  BoxSums(const SurfacePixels& src, int sx, int sy, int columns, int rows, bool skip, std::uint32_t key)
      : m_nColumns(columns), m_Table(static_cast<std::size_t>(columns + 1) * (rows + 1)) {
    const DDCOLORFORMAT& f = g_cfSurface;
    for (int r = 0; r < rows; ++r) {
      ChannelSums row;
      for (int c = 0; c < columns; ++c) {
        const std::uint32_t pixel = LoadAt(src, sx + c, sy + r);
        if (!(skip && pixel == key)) {
          if (g_nBpp == 32) {
            row.Add(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
          } else {
            const ChannelValues v = DecodeChannels(pixel, f);
            row.Add(v.r, v.g, v.b);
          }
        }
        const ChannelSums& above = At(c + 1, r);
        ChannelSums& here = At(c + 1, r + 1);
        here = {above.r + row.r, above.g + row.g, above.b + row.b, above.n + row.n};
      }
    }
  }

  // The sums over columns left..right-1 and rows top..bottom-1.
  ChannelSums Box(int left, int top, int right, int bottom) const {
    const ChannelSums &a = At(right, bottom), &b = At(left, bottom), &c = At(right, top), &d = At(left, top);
    return {a.r - b.r - c.r + d.r, a.g - b.g - c.g + d.g, a.b - b.b - c.b + d.b, a.n - b.n - c.n + d.n};
  }

 private:
  ChannelSums& At(int column, int row) { return m_Table[static_cast<std::size_t>(row) * (m_nColumns + 1) + column]; }
  const ChannelSums& At(int column, int row) const {
    return m_Table[static_cast<std::size_t>(row) * (m_nColumns + 1) + column];
  }

  int m_nColumns;
  std::vector<ChannelSums> m_Table;
};

}  // namespace

int DDMosaic(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nCell, DDSURFACEDATA* lpSrc, int sx, int sy,
             int bSkipTransparent) {
  if (nCell <= 0) return 1;
  PrepareEffectSurfaces(&lpDst, &lpSrc);
  if (!EffectSurfacesExist(lpDst, lpSrc)) return 1;
  cEffectLocks locks;
  if (!locks.Lock(lpDst, lpSrc)) return 0;
  if (g_nBpp != 8 && g_nBpp != 16 && g_nBpp != 32) return 1;
  const SurfacePixels dst = locks.Destination(), src = locks.Source();
  const bool skip = bSkipTransparent == 1;
  const std::uint32_t key = EffectTransparentValue();
  const bool toScreen16 = g_lpD3DState && g_nBpp == 16 && DDIsFullScreenBackBuffer(lpDst);
  for (long long top = 0; top < h; top += nCell) {
    const int ch = static_cast<int>(std::min<long long>(nCell, h - top));
    for (long long left = 0; left < w; left += nCell) {
      const int cw = static_cast<int>(std::min<long long>(nCell, w - left));
      const std::optional<std::uint32_t> colour = CellColour(src, sx, sy, left, top, cw, ch, skip, key, toScreen16);
      if (!colour) continue;
      const long long cellX = x + left, cellY = y + top;
      const int rowsFrom = static_cast<int>(std::clamp<long long>(cellY, 0, dst.height));
      const int rowsTo = static_cast<int>(std::clamp<long long>(cellY + ch, 0, dst.height));
      const int columnsFrom = static_cast<int>(std::clamp<long long>(cellX, 0, dst.width));
      const int columnsTo = static_cast<int>(std::clamp<long long>(cellX + cw, 0, dst.width));
      for (int py = rowsFrom; py < rowsTo; ++py)
        for (int px = columnsFrom; px < columnsTo; ++px) StoreColour(dst, px, py, *colour);
    }
  }
  return 1;
}

int DDBlur(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nRadiusX, int nRadiusY, DDSURFACEDATA* lpSrc, int sx,
           int sy, int bSkipTransparent) {
  if (nRadiusX <= 0 || nRadiusY <= 0) return 1;
  PrepareEffectSurfaces(&lpDst, &lpSrc);
  if (!EffectSurfacesExist(lpDst, lpSrc)) return 1;
  cEffectLocks locks;
  if (!locks.Lock(lpDst, lpSrc)) return 0;
  if (g_nBpp == 8) {
    ErrorLogF("8ビットぼかしは不可能！");
    return 1;
  }
  if (g_nBpp != 16 && g_nBpp != 32) return 1;
  const SurfacePixels dst = locks.Destination(), src = locks.Source();
  const bool skip = bSkipTransparent == 1;
  const std::uint32_t key = EffectTransparentValue();

  // Area columns and rows whose source pixels exist, and of those the ones
  // written.
  const OverlapSpan columns(w, sx, src.width, sx, src.width), rows(h, sy, src.height, sy, src.height);
  if (columns.Empty() || rows.Empty()) return 1;
  const OverlapSpan writtenColumns(w, x, dst.width, sx, src.width), writtenRows(h, y, dst.height, sy, src.height);
  const BoxSums sums(src, sx + columns.first, sy + rows.first, columns.end - columns.first, rows.end - rows.first,
                     skip, key);
  const DDCOLORFORMAT &f = g_cfSurface, &screen = g_cfScreen;
  const bool toScreen16 = g_lpD3DState && g_nBpp == 16 && DDIsFullScreenBackBuffer(lpDst);
  const std::uint32_t alpha = g_lpD3DState && g_nBpp == 16 && !toScreen16 ? AlphaBit16(f) : 0;
  for (int r = writtenRows.first; r < writtenRows.end; ++r) {
    const int top = std::max<long long>(r - static_cast<long long>(nRadiusY), rows.first) - rows.first;
    const int bottom = std::min<long long>(r + static_cast<long long>(nRadiusY), rows.end) - rows.first;
    for (int c = writtenColumns.first; c < writtenColumns.end; ++c) {
      if (skip && LoadAt(src, sx + c, sy + r) == key) continue;
      const int left = std::max<long long>(c - static_cast<long long>(nRadiusX), columns.first) - columns.first;
      const int right = std::min<long long>(c + static_cast<long long>(nRadiusX), columns.end) - columns.first;
      const ChannelSums box = sums.Box(left, top, right, bottom);
      if (box.n == 0) continue;
      const int red = static_cast<int>(box.r / box.n), green = static_cast<int>(box.g / box.n),
                blue = static_cast<int>(box.b / box.n);
      std::uint32_t value;
      if (g_nBpp == 32) {
        value = static_cast<std::uint32_t>(red << 16 | green << 8 | blue);
      } else if (toScreen16) {
        value = EncodeChannels(red, green * 2, blue, screen);
      } else {
        value = alpha | EncodeChannels(red, green, blue, f);
      }
      StoreColour(dst, x + c, y + r, value);
    }
  }
  return 1;
}
