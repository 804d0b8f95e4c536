#include "platform/video/pixel_format.h"

namespace platform {

namespace {

// Expands a channel of the given bit count to 8 bits by bit replication.
std::uint32_t Expand(std::uint32_t value, int bits) {
  if (bits == 8) return value;
  if (bits == 1) return value ? 0xFF : 0;
  std::uint32_t result = value << (8 - bits);
  return result | (result >> bits);
}

std::uint32_t Reduce(std::uint32_t value8, std::uint32_t max) { return (value8 * max + 127) / 255; }

}  // namespace

int BytesPerPixel(PixelFormat format) {
  switch (format) {
    case PixelFormat::Index8: return 1;
    case PixelFormat::RGB565:
    case PixelFormat::XRGB1555:
    case PixelFormat::ARGB1555: return 2;
    case PixelFormat::XRGB8888:
    case PixelFormat::ARGB8888: return 4;
  }
  return 4;
}

int BitsPerPixel(PixelFormat format) { return BytesPerPixel(format) * 8; }

ChannelMasks MasksOf(PixelFormat format) {
  switch (format) {
    case PixelFormat::Index8: return {};
    case PixelFormat::RGB565: return {0xF800, 0x07E0, 0x001F, 0};
    case PixelFormat::XRGB1555: return {0x7C00, 0x03E0, 0x001F, 0};
    case PixelFormat::ARGB1555: return {0x7C00, 0x03E0, 0x001F, 0x8000};
    case PixelFormat::XRGB8888: return {0xFF0000, 0xFF00, 0xFF, 0};
    case PixelFormat::ARGB8888: return {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  }
  return {};
}

const char* PixelFormatName(PixelFormat format) {
  switch (format) {
    case PixelFormat::Index8: return "Index8";
    case PixelFormat::RGB565: return "RGB565";
    case PixelFormat::XRGB1555: return "XRGB1555";
    case PixelFormat::ARGB1555: return "ARGB1555";
    case PixelFormat::XRGB8888: return "XRGB8888";
    case PixelFormat::ARGB8888: return "ARGB8888";
  }
  return "?";
}

std::uint32_t ToArgb(PixelFormat format, std::uint32_t raw, const PALETTEENTRY* palette256) {
  switch (format) {
    case PixelFormat::Index8: {
      if (!palette256) return 0xFF000000;
      const PALETTEENTRY& e = palette256[raw & 0xFF];
      return 0xFF000000u | (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
    }
    case PixelFormat::RGB565:
      return 0xFF000000u | (Expand((raw >> 11) & 31, 5) << 16) | (Expand((raw >> 5) & 63, 6) << 8) |
             Expand(raw & 31, 5);
    case PixelFormat::XRGB1555:
    case PixelFormat::ARGB1555: {
      const std::uint32_t alpha =
          format == PixelFormat::XRGB1555 ? 0xFF : Expand((raw >> 15) & 1, 1);
      return (alpha << 24) | (Expand((raw >> 10) & 31, 5) << 16) | (Expand((raw >> 5) & 31, 5) << 8) |
             Expand(raw & 31, 5);
    }
    case PixelFormat::XRGB8888: return 0xFF000000u | (raw & 0xFFFFFF);
    case PixelFormat::ARGB8888: return raw;
  }
  return 0;
}

std::uint32_t FromArgb(PixelFormat format, std::uint32_t argb) {
  const std::uint32_t a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  switch (format) {
    case PixelFormat::Index8: return argb & 0xFF;
    case PixelFormat::RGB565: return (Reduce(r, 31) << 11) | (Reduce(g, 63) << 5) | Reduce(b, 31);
    case PixelFormat::XRGB1555: return (Reduce(r, 31) << 10) | (Reduce(g, 31) << 5) | Reduce(b, 31);
    case PixelFormat::ARGB1555:
      return (a >= 128 ? 0x8000u : 0u) | (Reduce(r, 31) << 10) | (Reduce(g, 31) << 5) | Reduce(b, 31);
    case PixelFormat::XRGB8888: return 0xFF000000u | (argb & 0xFFFFFF);
    case PixelFormat::ARGB8888: return argb;
  }
  return 0;
}

}  // namespace platform
