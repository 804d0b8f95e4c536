// Pixel formats of the software display back ends and the conversions
// between them and 32-bit ARGB (0xAARRGGBB).
//
// Index8 pixels are palette indices; the others hold their channels at the
// masks that MasksOf gives. Reading expands 5- and 6-bit channels by bit
// replication (31 -> 255, 16 -> 132) and gives alpha 0xFF for formats
// without alpha. Writing rounds each channel to the nearest value
// ((v * max + 127) / 255); A1 is set when alpha is 128 or more; the unused
// X bits are written as ones in XRGB8888 (as a Direct3D X8 target stores
// them) and as zero in XRGB1555 (as a DirectDraw 555 surface keeps them).
#pragma once

#include <cstdint>

namespace platform {

enum class PixelFormat : std::uint8_t { Index8, RGB565, XRGB1555, ARGB1555, XRGB8888, ARGB8888 };

struct ChannelMasks {
  std::uint32_t red = 0, green = 0, blue = 0, alpha = 0;
};

// One entry of a 256-colour palette, laid out as PALETTEENTRY.
struct PALETTEENTRY {
  std::uint8_t peRed = 0, peGreen = 0, peBlue = 0, peFlags = 0;
};

int BytesPerPixel(PixelFormat format);
int BitsPerPixel(PixelFormat format);
ChannelMasks MasksOf(PixelFormat format);  // all zero for Index8
const char* PixelFormatName(PixelFormat format);

// A stored pixel value as ARGB; an Index8 pixel reads its palette entry
// (opaque black without a palette).
std::uint32_t ToArgb(PixelFormat format, std::uint32_t raw, const PALETTEENTRY* palette256);
// ARGB as a stored pixel value; for Index8 the low byte is taken as the index.
std::uint32_t FromArgb(PixelFormat format, std::uint32_t argb);

}  // namespace platform
