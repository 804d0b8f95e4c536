#include "graphics/bitmap_copy.h"

#include <unordered_map>

namespace {

std::uint8_t* PixelAt(const SurfacePixels& s, int x, int y) {
  return s.bits + static_cast<std::ptrdiff_t>(y) * s.pitch + static_cast<std::ptrdiff_t>(x) * (s.bitsPerPixel / 8);
}

std::uint8_t NearestPaletteNumber(std::uint32_t rgb, const PaletteBuffer& palette) {
  const int r = static_cast<int>(rgb >> 16 & 0xFF), g = static_cast<int>(rgb >> 8 & 0xFF), b = static_cast<int>(rgb & 0xFF);
  int best = 0;
  int bestDistance = INT32_MAX;
  for (int i = 0; i < 256; ++i) {
    const PaletteColour& c = palette[static_cast<std::size_t>(i)];
    const int distance = (c.r - r) * (c.r - r) + (c.g - g) * (c.g - g) + (c.b - b) * (c.b - b);
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return static_cast<std::uint8_t>(best);
}

// Calls draw(sourceX, sourceY, surfaceX, surfaceY) for every bitmap pixel
// that lands on the surface.
template <class Draw>
void ForEachStoredPixel(const platform::DecodedBitmap& bitmap, const SurfacePixels& surface, MirrorCells cells,
                        Draw draw) {
  for (int y = 0; y < bitmap.height; ++y) {
    const int sy = MirroredPosition(y, cells.height, bitmap.height);
    if (sy < 0 || sy >= surface.height) continue;
    for (int x = 0; x < bitmap.width; ++x) {
      const int sx = MirroredPosition(x, cells.width, bitmap.width);
      if (sx < 0 || sx >= surface.width) continue;
      draw(x, y, sx, sy);
    }
  }
}

}  // namespace

int MirroredPosition(int p, int cell, int size) {
  if (cell <= 0) return p;
  if (p >= size / cell * cell) return -1;
  return p / cell * cell + (cell - 1 - p % cell);
}

void CopyBitmapIndices(const platform::DecodedBitmap& bitmap, const SurfacePixels& surface, MirrorCells cells,
                       const PaletteBuffer& palette) {
  if (surface.bitsPerPixel != 8) return;
  const bool indices = bitmap.bitsPerPixel == 8;
  ForEachStoredPixel(bitmap, surface, cells, [&](int x, int y, int sx, int sy) {
    *PixelAt(surface, sx, sy) = indices ? static_cast<std::uint8_t>(bitmap.IndexAt(x, y))
                                        : NearestPaletteNumber(bitmap.ColourAt(x, y), palette);
  });
}

void ConvertBitmapTo16(const platform::DecodedBitmap& bitmap, const SurfacePixels& surface, MirrorCells cells,
                       const DDCOLORFORMAT& format, RgbKey loadKey, std::uint32_t transmit) {
  if (surface.bitsPerPixel != 16 || (bitmap.bitsPerPixel != 24 && bitmap.bitsPerPixel != 32)) return;
  const auto scale = [](std::uint32_t value, int maximum, int shift) {
    return static_cast<std::uint32_t>(value * static_cast<std::uint32_t>(maximum) / 255) << shift;
  };
  ForEachStoredPixel(bitmap, surface, cells, [&](int x, int y, int sx, int sy) {
    const std::uint32_t rgb = bitmap.ColourAt(x, y);
    const std::uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    std::uint32_t value = transmit;
    if (r != loadKey.red || g != loadKey.green || b != loadKey.blue) {
      value = scale(b, format.nMaxB, format.nShiftB) | scale(g, format.nMaxG, format.nShiftG) |
              scale(r, format.nMaxR, format.nShiftR);
      if (value == transmit) {
        const bool blueFull = (value >> format.nShiftB & static_cast<std::uint32_t>(format.nMaxB)) ==
                              static_cast<std::uint32_t>(format.nMaxB);
        value = blueFull ? value - 1 : value + 1;
      }
    }
    std::uint8_t* p = PixelAt(surface, sx, sy);
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
  });
}

bool CopyBitmapThroughGdi(const platform::DecodedBitmap& bitmap, const platform::DeviceContextPixels& surface,
                          MirrorCells cells) {
  if (cells.width <= 0 && cells.height <= 0)
    return platform::BitBlt(surface, 0, 0, bitmap.width, bitmap.height, bitmap, 0, 0);
  const int cellWidth = cells.width > 0 ? cells.width : bitmap.width;
  const int cellHeight = cells.height > 0 ? cells.height : bitmap.height;
  bool drawn = true;
  for (int y = 0; y + cellHeight <= bitmap.height; y += cellHeight) {
    for (int x = 0; x + cellWidth <= bitmap.width; x += cellWidth) {
      const int dx = cells.width > 0 ? x + cellWidth - 1 : x;
      const int dy = cells.height > 0 ? y + cellHeight - 1 : y;
      drawn &= platform::StretchBlt(surface, dx, dy, cells.width > 0 ? -cellWidth : cellWidth,
                                    cells.height > 0 ? -cellHeight : cellHeight, bitmap, x, y, cellWidth, cellHeight);
    }
  }
  return drawn;
}

std::vector<std::uint8_t> BuildPaletteNumberMap(const SurfacePixels& surface, const PaletteBuffer& palette,
                                                const DDCOLORFORMAT& format) {
  const int bytes = surface.bitsPerPixel / 8;
  if ((bytes != 2 && bytes != 4) || surface.pitch <= 0 || surface.height <= 0) return {};
  const int pitchInPixels = surface.pitch / bytes;
  std::vector<std::uint8_t> map(static_cast<std::size_t>(pitchInPixels) * surface.height, 0);
  // The first palette number of each pixel value.
  std::unordered_map<std::uint32_t, std::uint8_t> numbers;
  for (int i = 255; i >= 0; --i) {
    const PaletteColour& c = palette[static_cast<std::size_t>(i)];
    const std::uint32_t value = bytes == 2 ? PackPaletteEntry16(format, c)
                                           : static_cast<std::uint32_t>(c.r) << 16 | static_cast<std::uint32_t>(c.g) << 8 | c.b;
    numbers[value] = static_cast<std::uint8_t>(i);
  }
  for (int y = 0; y < surface.height; ++y) {
    for (int x = 0; x < surface.width && x < pitchInPixels; ++x) {
      const std::uint8_t* p = PixelAt(surface, x, y);
      const std::uint32_t value = bytes == 2 ? static_cast<std::uint32_t>(p[0] | p[1] << 8)
                                             : static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
      const auto found = numbers.find(value);
      if (found != numbers.end()) map[static_cast<std::size_t>(y) * pitchInPixels + x] = found->second;
    }
  }
  return map;
}
