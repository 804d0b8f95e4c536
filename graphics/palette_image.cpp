#include "graphics/palette_image.h"

void ReadPaletteBlock(const SurfacePixels& surface, const DDCOLORFORMAT& format, bool direct3d, PaletteBuffer& palette) {
  if (surface.bitsPerPixel != 16 && surface.bitsPerPixel != 32) return;
  const int bytes = surface.bitsPerPixel / 8;
  for (int k = 0; k < 256; ++k) {
    const int x = k % 16, y = 8 + k / 16;
    if (x >= surface.width || y >= surface.height) continue;
    const std::uint8_t* p = surface.bits + static_cast<std::ptrdiff_t>(y) * surface.pitch + x * bytes;
    PaletteColour& entry = palette[static_cast<std::size_t>(k)];
    if (bytes == 4) {
      entry.r = p[2];
      entry.g = p[1];
      entry.b = p[0];
      if (!direct3d) entry.flag = p[3];
      continue;
    }
    const std::uint32_t pixel = static_cast<std::uint32_t>(p[0] | p[1] << 8);
    const auto channel = [&](int shift, int maximum) -> std::uint8_t {
      if (maximum <= 0 || shift >= 32) return 0;
      const std::uint32_t value = pixel >> shift & static_cast<std::uint32_t>(maximum);
      return static_cast<std::uint8_t>(direct3d ? value * 255 / static_cast<std::uint32_t>(maximum) : value);
    };
    entry.r = channel(format.nShiftR, format.nMaxR);
    entry.g = channel(format.nShiftG, format.nMaxG);
    entry.b = channel(format.nShiftB, format.nMaxB);
  }
}
