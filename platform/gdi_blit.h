// GDI's copies of a bitmap into a surface's device context (SRCCOPY).
//
// The bitmap's colours are converted to the destination's format as GDI
// converts them: each 8-bit channel is cut to the width of its mask (888 to
// 565 or 555 by truncation); at 32 bits the bytes are B, G, R, 0. An 8-bit
// destination is not drawn into (nothing in the program asks for it).
// StretchBlt samples the nearest source pixel; a negative destination extent
// mirrors: with width -n at x the columns x, x - 1, ..., x - n + 1 are written,
// so StretchBlt(x + n - 1, -n) mirrors a cell in place. Everything is clipped
// to both pictures; nothing is written or read outside them.
#pragma once

#include <cstdint>

#include "platform/bitmap_file.h"

namespace platform {

// The pixels of a surface while its device context is out.
struct DeviceContextPixels {
  std::uint8_t* bits = nullptr;
  int pitch = 0;  // bytes from one row to the next
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;  // 16, 24 or 32
  std::uint32_t redMask = 0;
  std::uint32_t greenMask = 0;
  std::uint32_t blueMask = 0;
};

// False, drawing nothing, when the destination's depth is not 16, 24 or 32
// bits or a source extent is not positive.
bool BitBlt(const DeviceContextPixels& destination, int x, int y, int width, int height,
            const DecodedBitmap& source, int sourceX, int sourceY);
bool StretchBlt(const DeviceContextPixels& destination, int x, int y, int width, int height,
                const DecodedBitmap& source, int sourceX, int sourceY, int sourceWidth, int sourceHeight);

// One 0x00RRGGBB colour in the destination's format, by truncation.
std::uint32_t TruncateToFormat(std::uint32_t rgb, std::uint32_t redMask, std::uint32_t greenMask,
                               std::uint32_t blueMask);

}  // namespace platform
