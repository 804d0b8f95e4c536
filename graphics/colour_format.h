// Pixel formats as channel shifts and maxima, and the palette buffers.
//
// DDCOLORFORMAT describes a 16- or 32-bit format: each channel's bit
// position and its largest value (its mask shifted down).
// Palette buffers hold 256 entries of red, green, blue and a flag byte (2 for
// entries 0-9 and 246-255, 1 for the others). In DirectDraw at 16 bits the
// colour bytes hold channel values in the surface format's own ranges (0-31,
// 0-63), not 0-255.
#pragma once

#include <array>
#include <cstdint>

struct DDCOLORFORMAT {
  int nShiftR = 0, nShiftG = 0, nShiftB = 0, nShiftA = 0;
  int nMaxR = 0, nMaxG = 0, nMaxB = 0, nMaxA = 0;
};

struct PaletteColour {
  std::uint8_t r = 0, g = 0, b = 0, flag = 0;
  bool operator==(const PaletteColour&) const = default;
};
using PaletteBuffer = std::array<PaletteColour, 256>;

// The flag byte of palette entry i.
std::uint8_t PaletteFlag(int index);

// Sets the red, green and blue shifts and maxima from channel masks, as
// DDReadPixelFormat reads them (the shift is the count of zero bits below
// the lowest set bit, up to bitCount); the alpha fields are left as they are.
void SetColourFormatFromMasks(DDCOLORFORMAT& format, std::uint32_t redMask, std::uint32_t greenMask,
                              std::uint32_t blueMask, int bitCount);

// A palette entry holding channel values as a 16-bit pixel of the format
// (DDPalToPixel16's rule: each value masked with its maximum, then shifted).
std::uint32_t PackPaletteEntry16(const DDCOLORFORMAT& format, const PaletteColour& entry);

// A 16-bit surface pixel in a screen format whose green has one bit more
// (the full-screen R5G6B5 back buffer under A1R5G5B5 textures): red and blue
// moved to the screen's shifts, green doubled, no alpha bit.
std::uint32_t SurfaceToScreen16(std::uint32_t pixel, const DDCOLORFORMAT& surface, const DDCOLORFORMAT& screen);

// A 16-bit pixel's red, green and blue channel values in a format, and back.
struct ChannelValues {
  int r = 0, g = 0, b = 0;
};
inline ChannelValues DecodeChannels(std::uint32_t pixel, const DDCOLORFORMAT& format) {
  return {static_cast<int>(pixel >> format.nShiftR & static_cast<std::uint32_t>(format.nMaxR)),
          static_cast<int>(pixel >> format.nShiftG & static_cast<std::uint32_t>(format.nMaxG)),
          static_cast<int>(pixel >> format.nShiftB & static_cast<std::uint32_t>(format.nMaxB))};
}
inline std::uint32_t EncodeChannels(int r, int g, int b, const DDCOLORFORMAT& format) {
  return static_cast<std::uint32_t>(r) << format.nShiftR | static_cast<std::uint32_t>(g) << format.nShiftG |
         static_cast<std::uint32_t>(b) << format.nShiftB;
}
// The alpha bit of a 16-bit texture pixel of the format (0 without one).
inline std::uint32_t AlphaBit16(const DDCOLORFORMAT& format) {
  return static_cast<std::uint32_t>(format.nMaxA & 1) << format.nShiftA;
}
