// Windows bitmap files as Windows writes them: a BITMAPFILEHEADER, a
// BITMAPINFOHEADER (40 bytes, BI_RGB, one plane), for 8 bits a full table of
// 256 RGBQUAD colours, then the rows bottom-up, each padded with zero bytes to
// a multiple of 4. Pixels are given top-down, row after row, without padding.
// The encoders are pure: the same picture gives the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace demo {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

using Palette = std::array<Rgb, 256>;

// 8 bits per pixel: one palette index a pixel (width x height bytes).
std::vector<std::uint8_t> EncodeBmp8(int width, int height, const Palette& palette,
                                     const std::vector<std::uint8_t>& indices);

// 24 bits per pixel: one colour a pixel (width x height entries).
std::vector<std::uint8_t> EncodeBmp24(int width, int height, const std::vector<Rgb>& pixels);

}  // namespace demo
