// The per-pixel work of the software Direct3D 9 device: texture stage 0's
// sampling and combining and the alpha blend, shared by the triangle
// rasteriser (d3d9_draw.cpp) and the axis-aligned quads (d3d9_quad.cpp).
// Internal to the stand-in.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/video/d3d9.h"

namespace platform {

struct DrawVertex {
  double x = 0, y = 0;
  double channel[4] = {};  // a, r, g, b
  double u = 0, v = 0;
};

// Colours as a, r, g, b from 0 to 255.
struct Colour {
  int c[4] = {};
};

inline Colour Unpack(std::uint32_t argb) {
  return {{static_cast<int>(argb >> 24), static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF),
           static_cast<int>(argb & 0xFF)}};
}

inline std::uint32_t Pack(const Colour& colour) {
  return static_cast<std::uint32_t>(colour.c[0]) << 24 | static_cast<std::uint32_t>(colour.c[1]) << 16 |
         static_cast<std::uint32_t>(colour.c[2]) << 8 | static_cast<std::uint32_t>(colour.c[3]);
}

// A stored pixel of Bytes bytes (2 or 4) at p.
template <int Bytes>
std::uint32_t LoadPixel(const std::uint8_t* p) {
  if constexpr (Bytes == 2) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
  } else {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
}

template <int Bytes>
void StorePixel(std::uint8_t* p, std::uint32_t raw) {
  if constexpr (Bytes == 2) {
    const auto v = static_cast<std::uint16_t>(raw);
    std::memcpy(p, &v, 2);
  } else {
    std::memcpy(p, &raw, 4);
  }
}

// Blending by SRCALPHA and INVSRCALPHA, the program's blend: every channel
// is (s * a + d * (255 - a) + 127) / 255, which never exceeds 255.
inline std::uint32_t BlendOver(std::uint32_t source, std::uint32_t destination) {
  const std::uint32_t a = source >> 24, inverse = 255 - a;
  const auto channel = [&](int shift) {
    return ((source >> shift & 0xFF) * a + (destination >> shift & 0xFF) * inverse + 127) / 255 << shift;
  };
  return channel(24) | channel(16) | channel(8) | channel(0);
}

// A stored pixel as ARGB and back, inline for the 32-bit formats.
template <int Bytes>
std::uint32_t StoredToArgb(PixelFormat format, std::uint32_t raw) {
  if constexpr (Bytes == 4) return format == PixelFormat::XRGB8888 ? raw | 0xFF000000u : raw;
  return ToArgb(format, raw, nullptr);
}
template <int Bytes>
std::uint32_t ArgbToStored(PixelFormat format, std::uint32_t argb) {
  if constexpr (Bytes == 4) return format == PixelFormat::XRGB8888 ? argb | 0xFF000000u : argb;
  return FromArgb(format, argb);
}

// The sampling, combining and blending that every covered pixel runs.
struct PixelPipeline {
  const PixelBuffer* texture = nullptr;
  const OpaqueRows* opaqueTexels = nullptr;  // the texture's, when it is not the target
  std::uint32_t colourOp = D3DTOP_MODULATE, colourArg1 = D3DTA_TEXTURE, colourArg2 = D3DTA_CURRENT;
  std::uint32_t alphaOp = D3DTOP_SELECTARG1, alphaArg1 = D3DTA_TEXTURE, alphaArg2 = D3DTA_CURRENT;
  Colour factor;
  bool blending = false;
  std::uint32_t sourceBlend = D3DBLEND_ONE, destinationBlend = D3DBLEND_ZERO;

  int WrapU(double u) const { return Wrap(u, texture->Width()); }
  int WrapV(double v) const { return Wrap(v, texture->Height()); }

  std::uint32_t Sample(double u, double v) const {
    if (!texture) return 0xFFFFFFFFu;
    return texture->ReadArgb(WrapU(u), WrapV(v));
  }

  static int Wrap(double t, int size) {
    // A centre that falls exactly on a texel edge samples the texel after
    // it, whichever way the coordinates run; the bias stays well above
    // the float error of u and v and below the smallest real distance to
    // an edge (half a texel over the destination's width).
    constexpr double kTieBias = 1.0 / 4096;
    const double scaled = t * size + kTieBias;
    if (scaled >= 0 && scaled < size) return static_cast<int>(scaled);
    const auto i = static_cast<std::int64_t>(std::floor(scaled));
    return static_cast<int>(((i % size) + size) % size);
  }

  // The blit's usual case: the texel as it is (modulated by white, its own
  // alpha), blended by its alpha: opaque texels are written, clear ones not.
  bool CopiesTexels(const Colour& diffuse) const {
    return texture && colourOp == D3DTOP_MODULATE && (colourArg1 & 0xF) == D3DTA_TEXTURE &&
           (colourArg2 & 0xF) <= D3DTA_CURRENT && alphaOp == D3DTOP_SELECTARG1 &&
           (alphaArg1 & 0xF) == D3DTA_TEXTURE && diffuse.c[1] == 255 && diffuse.c[2] == 255 && diffuse.c[3] == 255 &&
           blending && sourceBlend == D3DBLEND_SRCALPHA && destinationBlend == D3DBLEND_INVSRCALPHA;
  }

  // Whether an opaque texel's stored value is the target's for that colour
  // (a texture of the target's format, or A8R8G8B8 onto X8R8G8B8).
  bool SameStoredValues(const PixelBuffer& target) const {
    return texture && (texture->Format() == target.Format() ||
                       (texture->Format() == PixelFormat::ARGB8888 && target.Format() == PixelFormat::XRGB8888));
  }

  // Whether the result depends on the texel (a texture bound and read by an
  // argument or a BLENDTEXTUREALPHA operation).
  bool ReadsTexture() const;

  // texelArgb: the sampled texel; copiesTexels: CopiesTexels holds for the
  // whole primitive.
  void Draw(PixelBuffer& target, int x, int y, const Colour& diffuse, std::uint32_t texelArgb,
            bool copiesTexels) const {
    if (copiesTexels) {
      const std::uint32_t alpha = texelArgb >> 24;
      if (alpha == 0xFF) {
        target.WriteArgb(x, y, texelArgb);
        return;
      }
      if (alpha == 0) return;  // blending by alpha 0 keeps every channel
    }
    target.WriteArgb(x, y, Shade(diffuse, texelArgb, blending ? target.ReadArgb(x, y) : 0));
  }

  bool BlendsOver() const {
    return blending && sourceBlend == D3DBLEND_SRCALPHA && destinationBlend == D3DBLEND_INVSRCALPHA;
  }
  std::uint32_t Combined(const Colour& diffuse, std::uint32_t texelArgb) const;
  std::uint32_t Blend(std::uint32_t sourceArgb, std::uint32_t destinationArgb) const;
  std::uint32_t Shade(const Colour& diffuse, std::uint32_t texelArgb, std::uint32_t destinationArgb) const {
    const std::uint32_t out = Combined(diffuse, texelArgb);
    return blending ? Blend(out, destinationArgb) : out;
  }
};

// The target's stored value of every opaque A1R5G5B5 texel, for 16-bit
// targets of another layout (the full-screen R5G6B5 back buffer); null for
// other targets.
const std::uint16_t* Opaque1555Conversion(PixelFormat target);

// Draws the quad of a two-triangle strip when it is an axis-aligned
// rectangle whose texture coordinates run along its axes and whose corners
// share one colour, exactly as the triangle rasteriser would; false, and
// nothing drawn, for any other quad.
bool DrawAxisAlignedQuad(const DrawVertex (&strip)[4], PixelBuffer& target, const PixelPipeline& pipeline);

}  // namespace platform
