#include "graphics/fade_tint.h"

#include <algorithm>

namespace {

std::uint32_t Read(const SurfacePixels& s, int x, int y) {
  const std::uint8_t* p = s.bits + static_cast<std::ptrdiff_t>(y) * s.pitch + x * (s.bitsPerPixel / 8);
  std::uint32_t v = 0;
  for (int i = 0; i < s.bitsPerPixel / 8; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  return v;
}

void Write(const SurfacePixels& s, int x, int y, std::uint32_t v) {
  std::uint8_t* p = s.bits + static_cast<std::ptrdiff_t>(y) * s.pitch + x * (s.bitsPerPixel / 8);
  for (int i = 0; i < s.bitsPerPixel / 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

struct Channel {
  int shift, maximum;
  std::uint32_t Get(std::uint32_t pixel) const {
    return shift < 32 && maximum > 0 ? pixel >> shift & static_cast<std::uint32_t>(maximum) : 0;
  }
  std::uint32_t Put(std::uint32_t value) const {
    return shift < 32 ? (value & static_cast<std::uint32_t>(maximum)) << shift : 0;
  }
};

// (a * weight + b * (256 - weight)) >> 8
std::uint32_t Blend(std::uint32_t a, std::uint32_t b, int weight) {
  return (a * static_cast<std::uint32_t>(weight) + b * static_cast<std::uint32_t>(256 - weight)) >> 8;
}

}  // namespace

void FadePixels(const SurfacePixels& destination, const SurfacePixels& source, int level, TintColour colour,
                const DDCOLORFORMAT& format) {
  const int depth = destination.bitsPerPixel;
  if ((depth != 16 && depth != 32) || source.bitsPerPixel != depth) return;
  level = std::clamp(level, 0, 256);
  const int width = std::min(destination.width, source.width);
  const int height = std::min(destination.height, source.height);
  const Channel channels[3] = {{format.nShiftR, format.nMaxR}, {format.nShiftG, format.nMaxG},
                               {format.nShiftB, format.nMaxB}};
  const std::uint32_t tint[3] = {colour.red, colour.green, colour.blue};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t s = Read(source, x, y);
      std::uint32_t out = 0;
      if (depth == 32) {
        out = Read(destination, x, y) & 0xFF000000u;
        for (int c = 0; c < 3; ++c) out |= Blend(s >> (16 - 8 * c) & 0xFF, tint[c], level) << (16 - 8 * c);
      } else {
        for (int c = 0; c < 3; ++c) {
          const Channel& ch = channels[c];
          if (ch.maximum <= 0) continue;
          const std::uint32_t wide = ch.Get(s) * 255 / static_cast<std::uint32_t>(ch.maximum);
          out |= ch.Put(Blend(wide, tint[c], level) * static_cast<std::uint32_t>(ch.maximum) / 255);
        }
      }
      Write(destination, x, y, out);
    }
  }
}

void TintPixels(const SurfacePixels& surface, int x, int y, int width, int height, int alpha, TintColour colour,
                const DDCOLORFORMAT& format) {
  const int depth = surface.bitsPerPixel;
  if (depth != 16 && depth != 32) return;
  alpha = std::clamp(alpha, 0, 256);
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right = static_cast<int>(std::min<std::int64_t>(std::int64_t{x} + width, surface.width));
  const int bottom = static_cast<int>(std::min<std::int64_t>(std::int64_t{y} + height, surface.height));
  const Channel channels[3] = {{format.nShiftR, format.nMaxR}, {format.nShiftG, format.nMaxG},
                               {format.nShiftB, format.nMaxB}};
  const std::uint32_t tint[3] = {colour.red, colour.green, colour.blue};
  const Channel alphaBit{format.nShiftA, format.nMaxA};
  for (int py = top; py < bottom; ++py) {
    for (int px = left; px < right; ++px) {
      const std::uint32_t pixel = Read(surface, px, py);
      std::uint32_t out = 0;
      if (depth == 32) {
        out = 0xFF000000u;
        for (int c = 0; c < 3; ++c) out |= Blend(pixel >> (16 - 8 * c) & 0xFF, tint[c], alpha) << (16 - 8 * c);
      } else {
        for (int c = 0; c < 3; ++c) {
          const Channel& ch = channels[c];
          const std::uint32_t scaledTint = tint[c] * static_cast<std::uint32_t>(std::max(ch.maximum, 0)) / 255;
          out |= ch.Put(Blend(ch.Get(pixel), scaledTint, alpha));
        }
        out |= alphaBit.Put(static_cast<std::uint32_t>(std::max(format.nMaxA, 0)));
      }
      Write(surface, px, py, out);
    }
  }
}
