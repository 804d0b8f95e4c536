#include "tools/make-demo/bmp_writer.h"

#include <cassert>
#include <cstddef>

namespace demo {
namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

// Bytes of one stored row: whole 32-bit words.
int BmpRowStride(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

// Both headers; the caller appends the colour table (if any) and the rows.
std::vector<std::uint8_t> Headers(int width, int height, int bitsPerPixel, int colourCount) {
  const std::uint32_t imageSize = static_cast<std::uint32_t>(BmpRowStride(width, bitsPerPixel) * height);
  const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * colourCount;
  std::vector<std::uint8_t> out;
  out.reserve(pixelOffset + imageSize);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, pixelOffset + imageSize);  // bfSize
  PutU16(out, 0);                        // bfReserved1
  PutU16(out, 0);                        // bfReserved2
  PutU32(out, pixelOffset);              // bfOffBits
  PutU32(out, kInfoHeaderSize);          // biSize
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
  PutU16(out, 1);                                   // biPlanes
  PutU16(out, static_cast<std::uint32_t>(bitsPerPixel));
  PutU32(out, 0);  // biCompression BI_RGB
  PutU32(out, imageSize);
  PutU32(out, 0);  // biXPelsPerMeter
  PutU32(out, 0);  // biYPelsPerMeter
  PutU32(out, static_cast<std::uint32_t>(colourCount));  // biClrUsed
  PutU32(out, 0);                                        // biClrImportant
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp8(int width, int height, const Palette& palette,
                                     const std::vector<std::uint8_t>& indices) {
  assert(width > 0 && height > 0 && indices.size() == static_cast<std::size_t>(width) * height);
  std::vector<std::uint8_t> out = Headers(width, height, 8, 256);
  for (const Rgb& c : palette) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  const int padding = BmpRowStride(width, 8) - width;
  for (int y = height - 1; y >= 0; --y) {
    const auto row = indices.begin() + static_cast<std::ptrdiff_t>(y) * width;
    out.insert(out.end(), row, row + width);
    out.insert(out.end(), padding, 0);
  }
  return out;
}

std::vector<std::uint8_t> EncodeBmp24(int width, int height, const std::vector<Rgb>& pixels) {
  assert(width > 0 && height > 0 && pixels.size() == static_cast<std::size_t>(width) * height);
  std::vector<std::uint8_t> out = Headers(width, height, 24, 0);
  const int padding = BmpRowStride(width, 24) - 3 * width;
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgb& c = pixels[static_cast<std::size_t>(y) * width + x];
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    out.insert(out.end(), padding, 0);
  }
  return out;
}

}  // namespace demo
