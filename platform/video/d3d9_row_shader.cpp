#include "platform/video/d3d9_row_shader.h"

#include <algorithm>
#include <cstring>

#include "platform/video/vector_clones.h"

namespace platform {

namespace {

constexpr int kRun = RowShader::kRun;
constexpr int kBlock = 16;
static_assert(kRun % kBlock == 0);

// Channels of up to kRun pixels: a, r, g, b, each from 0 to 255. Every
// value of the arithmetic below stays within 16 bits, so the loops run on
// vectors of 16-bit lanes. The loops between decoding and encoding run over
// whole blocks of kBlock lanes (the last pixel's block filled with zeros),
// which need no loop for a remainder.
struct Planes {
  alignas(64) std::uint16_t c[4][kRun];
};

using Lane = std::uint16_t;

// v / 255 for v below 65535.
inline Lane Div255(Lane v) { return static_cast<Lane>(static_cast<Lane>(v + 1 + (v >> 8)) >> 8); }
// (a * b + 127) / 255 for channel values a and b.
inline Lane Multiply(Lane a, Lane b) { return Div255(static_cast<Lane>(a * b + 127)); }
inline Lane Min255(Lane v) { return v < 255 ? v : Lane{255}; }
// A channel of the given bits widened to 8 by repeating its top bits.
inline Lane Expand5(unsigned v) { return static_cast<Lane>((v << 3 | v >> 2) & 0xFF); }
inline Lane Expand6(unsigned v) { return static_cast<Lane>((v << 2 | v >> 4) & 0xFF); }
// An 8-bit channel narrowed to 0 .. maximum, rounded.
inline Lane Reduce(Lane v, Lane maximum) { return Div255(static_cast<Lane>(v * maximum + 127)); }

// The lanes of n pixels: whole blocks.
int LanesOf(int n) { return (n + kBlock - 1) & -kBlock; }

// Stored pixels as channels (the values ToArgb gives), the rest of the last
// block zeros.
VECTOR_CLONES void Decode(PixelFormat format, const std::uint8_t* __restrict in, Planes& p, int n) {
  Lane* __restrict a = p.c[0];
  Lane* __restrict r = p.c[1];
  Lane* __restrict g = p.c[2];
  Lane* __restrict b = p.c[3];
  switch (format) {
    case PixelFormat::ARGB8888:
    case PixelFormat::XRGB8888: {
      const Lane opaque = format == PixelFormat::XRGB8888 ? 0xFF : 0;
      for (int k = 0; k < n; ++k) {
        std::uint32_t raw;
        std::memcpy(&raw, in + 4 * k, 4);
        a[k] = static_cast<Lane>(raw >> 24) | opaque;
        r[k] = static_cast<Lane>(raw >> 16 & 0xFF);
        g[k] = static_cast<Lane>(raw >> 8 & 0xFF);
        b[k] = static_cast<Lane>(raw & 0xFF);
      }
      break;
    }
    case PixelFormat::RGB565:
      for (int k = 0; k < n; ++k) {
        std::uint16_t raw;
        std::memcpy(&raw, in + 2 * k, 2);
        a[k] = 0xFF;
        r[k] = Expand5(raw >> 11 & 31u);
        g[k] = Expand6(raw >> 5 & 63u);
        b[k] = Expand5(raw & 31u);
      }
      break;
    case PixelFormat::ARGB1555:
    case PixelFormat::XRGB1555: {
      const Lane opaque = format == PixelFormat::XRGB1555 ? 0xFF : 0;
      for (int k = 0; k < n; ++k) {
        std::uint16_t raw;
        std::memcpy(&raw, in + 2 * k, 2);
        a[k] = static_cast<Lane>(static_cast<Lane>(-(raw >> 15)) & 0xFF) | opaque;
        r[k] = Expand5(raw >> 10 & 31u);
        g[k] = Expand5(raw >> 5 & 31u);
        b[k] = Expand5(raw & 31u);
      }
      break;
    }
    case PixelFormat::Index8: break;
  }
  for (Lane* plane : p.c) std::fill(plane + n, plane + LanesOf(n), Lane{0});
}

// Channels as stored pixels (the values FromArgb gives).
VECTOR_CLONES void Encode(PixelFormat format, const Planes& p, std::uint8_t* __restrict out, int n) {
  const Lane* __restrict a = p.c[0];
  const Lane* __restrict r = p.c[1];
  const Lane* __restrict g = p.c[2];
  const Lane* __restrict b = p.c[3];
  switch (format) {
    case PixelFormat::ARGB8888:
    case PixelFormat::XRGB8888: {
      const std::uint32_t opaque = format == PixelFormat::XRGB8888 ? 0xFF000000u : 0;
      for (int k = 0; k < n; ++k) {
        const std::uint32_t raw = (std::uint32_t{a[k]} << 24 | std::uint32_t{r[k]} << 16 |
                                   std::uint32_t{g[k]} << 8 | b[k]) | opaque;
        std::memcpy(out + 4 * k, &raw, 4);
      }
      break;
    }
    case PixelFormat::RGB565:
      for (int k = 0; k < n; ++k) {
        const auto raw = static_cast<std::uint16_t>(Reduce(r[k], 31) << 11 | Reduce(g[k], 63) << 5 | Reduce(b[k], 31));
        std::memcpy(out + 2 * k, &raw, 2);
      }
      break;
    case PixelFormat::ARGB1555:
    case PixelFormat::XRGB1555: {
      const bool alphaBit = format == PixelFormat::ARGB1555;
      for (int k = 0; k < n; ++k) {
        const Lane top = alphaBit && a[k] >= 128 ? Lane{0x8000} : Lane{0};
        const auto raw =
            static_cast<std::uint16_t>(top | Reduce(r[k], 31) << 10 | Reduce(g[k], 31) << 5 | Reduce(b[k], 31));
        std::memcpy(out + 2 * k, &raw, 2);
      }
      break;
    }
    case PixelFormat::Index8: break;
  }
}

// One texture operation on one channel's plane; blendAlpha: the alpha of the
// BLEND*ALPHA operations.
VECTOR_CLONES void Combine(std::uint32_t op, const Lane* __restrict x, const Lane* __restrict y,
                       const Lane* __restrict blendAlpha, Lane* __restrict out, int lanes) {
  lanes &= -kBlock;  // whole blocks
  switch (op) {
    case D3DTOP_SELECTARG1: std::copy_n(x, lanes, out); break;
    case D3DTOP_MODULATE:
      for (int k = 0; k < lanes; ++k) out[k] = Multiply(x[k], y[k]);
      break;
    case D3DTOP_MODULATE2X:
      for (int k = 0; k < lanes; ++k) out[k] = Min255(static_cast<Lane>(2 * Multiply(x[k], y[k])));
      break;
    case D3DTOP_MODULATE4X:
      for (int k = 0; k < lanes; ++k) out[k] = Min255(static_cast<Lane>(4 * Multiply(x[k], y[k])));
      break;
    case D3DTOP_ADD:
      for (int k = 0; k < lanes; ++k) out[k] = Min255(static_cast<Lane>(x[k] + y[k]));
      break;
    case D3DTOP_ADDSIGNED:
      for (int k = 0; k < lanes; ++k) {
        const auto sum = static_cast<Lane>(x[k] + y[k]);
        out[k] = sum < 128 ? Lane{0} : Min255(static_cast<Lane>(sum - 128));
      }
      break;
    case D3DTOP_SUBTRACT:
      for (int k = 0; k < lanes; ++k) out[k] = x[k] > y[k] ? static_cast<Lane>(x[k] - y[k]) : Lane{0};
      break;
    case D3DTOP_ADDSMOOTH:
      for (int k = 0; k < lanes; ++k) out[k] = Min255(static_cast<Lane>(x[k] + y[k] - Multiply(x[k], y[k])));
      break;
    case D3DTOP_BLENDDIFFUSEALPHA:
    case D3DTOP_BLENDTEXTUREALPHA:
    case D3DTOP_BLENDFACTORALPHA:
      for (int k = 0; k < lanes; ++k)
        out[k] = static_cast<Lane>(Multiply(x[k], blendAlpha[k]) +
                                   Multiply(y[k], static_cast<Lane>(255 - blendAlpha[k])));
      break;
    default: std::copy_n(y, lanes, out); break;  // SELECTARG2, DISABLE and unknown operations
  }
}

// One channel blended by SRCALPHA and INVSRCALPHA onto the destination's;
// every sum is at most 255 * 255 + 127.
VECTOR_CLONES void BlendOver(const Lane* __restrict s, const Lane* __restrict alpha, Lane* __restrict d, int lanes) {
  lanes &= -kBlock;
  for (int k = 0; k < lanes; ++k)
    d[k] = Div255(static_cast<Lane>(s[k] * alpha[k] + d[k] * static_cast<Lane>(255 - alpha[k]) + 127));
}

// The factor of a blend for a source alpha.
inline Lane BlendFactor(std::uint32_t blend, Lane sourceAlpha) {
  switch (blend) {
    case D3DBLEND_ZERO: return 0;
    case D3DBLEND_SRCALPHA: return sourceAlpha;
    case D3DBLEND_INVSRCALPHA: return static_cast<Lane>(255 - sourceAlpha);
    default: return 255;
  }
}

// One channel blended by any factors onto the destination's; the sums reach
// twice 255 * 255, and from 255 * 256 on the result is 255.
void Blend(std::uint32_t sourceBlend, std::uint32_t destinationBlend, const Lane* __restrict s,
           const Lane* __restrict alpha, Lane* __restrict d, int lanes) {
  for (int k = 0; k < lanes; ++k) {
    const std::uint32_t sum = std::uint32_t{s[k]} * BlendFactor(sourceBlend, alpha[k]) +
                              std::uint32_t{d[k]} * BlendFactor(destinationBlend, alpha[k]) + 127;
    d[k] = Div255(static_cast<Lane>(std::min<std::uint32_t>(sum, 255 * 256 - 1)));
  }
}

}  // namespace

RowShader::RowShader(const PixelPipeline& pipeline, const Colour& diffuse, PixelFormat texelFormat,
                     PixelFormat targetFormat)
    : m_Blending(pipeline.blending),
      m_Over(pipeline.BlendsOver()),
      m_SourceBlend(pipeline.sourceBlend),
      m_DestinationBlend(pipeline.destinationBlend),
      m_TexelFormat(texelFormat),
      m_TargetFormat(targetFormat) {
  // Each constant argument a plane of its value; the texel's a null.
  Lane* next = m_Constants[0];
  const auto constant = [&](int value) -> const Lane* {
    std::fill_n(next, kRun, static_cast<Lane>(value));
    next += kRun;
    return next - kRun;
  };
  const auto argument = [&](std::uint32_t which, int channel) -> const Lane* {
    switch (which & 0xF) {
      case D3DTA_TEXTURE: return nullptr;
      case D3DTA_TFACTOR: return constant(pipeline.factor.c[channel]);
      default: return constant(diffuse.c[channel]);  // DIFFUSE, and CURRENT at stage 0
    }
  };
  // The alpha of a BLEND*ALPHA operation: the texel's, the diffuse colour's
  // or the texture factor's.
  const auto blendAlpha = [&](std::uint32_t op) -> const Lane* {
    switch (op) {
      case D3DTOP_BLENDDIFFUSEALPHA: return constant(diffuse.c[0]);
      case D3DTOP_BLENDFACTORALPHA: return constant(pipeline.factor.c[0]);
      default: return nullptr;
    }
  };
  for (int c = 0; c < 4; ++c) {
    const bool alpha = c == 0;
    const std::uint32_t op = alpha ? pipeline.alphaOp : pipeline.colourOp;
    m_Stages[c] = {op, argument(alpha ? pipeline.alphaArg1 : pipeline.colourArg1, c),
                   argument(alpha ? pipeline.alphaArg2 : pipeline.colourArg2, c), blendAlpha(op)};
  }
}

void RowShader::Shade(const std::uint8_t* texels, std::uint8_t* out, int n) const {
  Planes texel, combined;
  Decode(m_TexelFormat, texels, texel, n);
  const int lanes = LanesOf(n);
  for (int c = 0; c < 4; ++c) {
    const Stage& stage = m_Stages[c];
    const auto plane = [&](const Lane* constant) { return constant ? constant : texel.c[c]; };
    Combine(stage.op, plane(stage.arg1), plane(stage.arg2), stage.blendAlpha ? stage.blendAlpha : texel.c[0],
            combined.c[c], lanes);
  }
  if (!m_Blending) {
    Encode(m_TargetFormat, combined, out, n);
    return;
  }
  Planes destination;
  Decode(m_TargetFormat, out, destination, n);
  // A target without alpha stores none: its channel is not blended.
  const bool storesAlpha = m_TargetFormat == PixelFormat::ARGB8888 || m_TargetFormat == PixelFormat::ARGB1555;
  for (int c = storesAlpha ? 0 : 1; c < 4; ++c) {
    if (m_Over) {
      BlendOver(combined.c[c], combined.c[0], destination.c[c], lanes);
    } else {
      Blend(m_SourceBlend, m_DestinationBlend, combined.c[c], combined.c[0], destination.c[c], lanes);
    }
  }
  Encode(m_TargetFormat, destination, out, n);
}

}  // namespace platform
