#include "platform/gdi_blit.h"

#include <bit>
#include <cstdlib>

namespace platform {
namespace {

std::uint32_t TruncateChannel(std::uint32_t value8, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int bits = std::popcount(mask);
  const int shift = std::countr_zero(mask);
  const std::uint32_t value = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
  return (value << shift) & mask;
}

void PutPixel(const DeviceContextPixels& d, int x, int y, std::uint32_t value) {
  std::uint8_t* p = d.bits + static_cast<std::ptrdiff_t>(y) * d.pitch + static_cast<std::ptrdiff_t>(x) * (d.bitsPerPixel / 8);
  for (int i = 0; i < d.bitsPerPixel / 8; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::uint32_t TruncateToFormat(std::uint32_t rgb, std::uint32_t redMask, std::uint32_t greenMask,
                               std::uint32_t blueMask) {
  return TruncateChannel(rgb >> 16 & 0xFF, redMask) | TruncateChannel(rgb >> 8 & 0xFF, greenMask) |
         TruncateChannel(rgb & 0xFF, blueMask);
}

bool BitBlt(const DeviceContextPixels& destination, int x, int y, int width, int height,
            const DecodedBitmap& source, int sourceX, int sourceY) {
  return StretchBlt(destination, x, y, width, height, source, sourceX, sourceY, width, height);
}

bool StretchBlt(const DeviceContextPixels& destination, int x, int y, int width, int height,
                const DecodedBitmap& source, int sourceX, int sourceY, int sourceWidth, int sourceHeight) {
  const int depth = destination.bitsPerPixel;
  if ((depth != 16 && depth != 24 && depth != 32) || destination.bits == nullptr) return false;
  if (sourceWidth <= 0 || sourceHeight <= 0) return false;
  const std::int64_t columns = std::abs(static_cast<std::int64_t>(width));
  const std::int64_t rows = std::abs(static_cast<std::int64_t>(height));
  const int stepX = width < 0 ? -1 : 1;
  const int stepY = height < 0 ? -1 : 1;
  for (std::int64_t j = 0; j < rows; ++j) {
    const std::int64_t dy = y + stepY * j;
    const std::int64_t sy = sourceY + (2 * j + 1) * sourceHeight / (2 * rows);
    if (dy < 0 || dy >= destination.height || sy < 0 || sy >= source.height) continue;
    for (std::int64_t i = 0; i < columns; ++i) {
      const std::int64_t dx = x + stepX * i;
      const std::int64_t sx = sourceX + (2 * i + 1) * sourceWidth / (2 * columns);
      if (dx < 0 || dx >= destination.width || sx < 0 || sx >= source.width) continue;
      const std::uint32_t rgb = source.ColourAt(static_cast<int>(sx), static_cast<int>(sy));
      const std::uint32_t value =
          depth == 32 ? rgb
                      : TruncateToFormat(rgb, destination.redMask, destination.greenMask, destination.blueMask);
      PutPixel(destination, static_cast<int>(dx), static_cast<int>(dy), value);
    }
  }
  return true;
}

}  // namespace platform
