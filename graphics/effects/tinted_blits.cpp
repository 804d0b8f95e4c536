#include "graphics/effects/tinted_blits.h"

#include <algorithm>
#include <array>

#include "graphics/blit.h"
#include "graphics/blit_quad.h"
#include "graphics/device.h"
#include "graphics/effects/effect_frame.h"
#include "graphics/palette_colours.h"

using namespace platform;

namespace {

// The single-precision value nearest 1/255.
constexpr float kInverse255 = 0.003921568859368563f;

// Halving steps beyond this change no 0-255 value: the distance to the tint
// shrinks to at most 1, where (v + t) >> 1 stays put.
constexpr int kSettledSteps = 16;

// The written pixel for a source pixel, channel by channel through tables
// that hold each channel's result already at its place in the output.
struct ChannelTables {
  DDCOLORFORMAT in;  // how the source pixel is decoded
  std::array<std::uint32_t, 256> r{}, g{}, b{};
  std::uint32_t fixed = 0;  // bits every written pixel has

  std::uint32_t Apply(std::uint32_t source) const {
    return fixed | r[source >> in.nShiftR & in.nMaxR] | g[source >> in.nShiftG & in.nMaxG] |
           b[source >> in.nShiftB & in.nMaxB];
  }
};

template <class Channel>
void FillTable(std::array<std::uint32_t, 256>& table, int maximum, Channel&& channel) {
  for (int s = 0; s <= std::min(maximum, 255); ++s) table[static_cast<std::size_t>(s)] = channel(s);
}

// Direct3D on locked pixels: level 1 averages with the tint, other levels
// keep W/255 of the source, W = 64/32/16 for levels 2-4 and 0 above.
ChannelTables Direct3DTint(int nLevel, const PaletteColour& tint, bool toScreen16) {
  static constexpr int kWeights[] = {128, 64, 32, 16};
  const int weight = nLevel <= 4 ? kWeights[nLevel - 1] : 0;
  const float m = static_cast<float>(weight) * kInverse255;
  const DDCOLORFORMAT& f = g_cfSurface;
  ChannelTables tables;
  tables.in = f;
  const auto channel = [&](std::array<std::uint32_t, 256>& table, int tintValue, int maximum, int shift,
                           bool doubled) {
    const int scaled = tintValue * maximum / 255;
    const float k = (1.0f - m) * static_cast<float>(scaled);
    FillTable(table, maximum, [&](int s) {
      std::uint32_t v;
      if (nLevel == 1) {
        v = static_cast<std::uint32_t>(doubled ? s + scaled : (s + scaled) >> 1);
      } else {
        v = static_cast<std::uint32_t>(static_cast<double>(s) * m + static_cast<double>(k));
        if (doubled) v *= 2;
      }
      if (!toScreen16) v &= static_cast<std::uint32_t>(maximum);
      return v << shift;
    });
  };
  if (toScreen16) {
    // The full-screen back buffer's layout: green gains a bit.
    channel(tables.r, tint.r, f.nMaxR, g_cfScreen.nShiftR, false);
    channel(tables.g, tint.g, f.nMaxG, g_cfScreen.nShiftG, true);
    channel(tables.b, tint.b, f.nMaxB, g_cfScreen.nShiftB, false);
  } else {
    channel(tables.r, tint.r, f.nMaxR, f.nShiftR, false);
    channel(tables.g, tint.g, f.nMaxG, f.nShiftG, false);
    channel(tables.b, tint.b, f.nMaxB, f.nShiftB, false);
    tables.fixed = g_nBpp == 16 ? AlphaBit16(g_cfSurface) : 0xFF000000u;
  }
  return tables;
}

// DirectDraw at 16 bits: each step halves the distance to the tint on 0-255
// values (each channel value scaled up and back, the palette holding
// channel values).
ChannelTables DirectDrawTint16(int nLevel, const PaletteColour& tint) {
  const int steps = std::clamp(nLevel, 0, kSettledSteps);
  const DDCOLORFORMAT& f = g_cfSurface;
  ChannelTables tables;
  tables.in = f;
  const auto channel = [&](std::array<std::uint32_t, 256>& table, int tintValue, int maximum, int shift) {
    const int t = tintValue * 255 / maximum;
    FillTable(table, maximum, [&](int s) {
      int v = s * 255 / maximum;
      for (int i = 0; i < steps; ++i) v = (v + t) >> 1;
      return static_cast<std::uint32_t>(v * maximum / 255) << shift;
    });
  };
  channel(tables.r, tint.r, f.nMaxR, f.nShiftR);
  channel(tables.g, tint.g, f.nMaxG, f.nShiftG);
  channel(tables.b, tint.b, f.nMaxB, f.nShiftB);
  return tables;
}

// DirectDraw at 32 bits on a row: nSteps halvings of each channel's
// distance to the tint t, v -> (v + t) >> 1, are at once
// (v + t * (2^nSteps - 1)) >> nSteps (the floors nest); the fourth byte is
// the destination's.
void DirectDrawTintRow32(std::uint8_t* __restrict to, const std::uint8_t* __restrict from, int n, bool keyed,
                         std::uint32_t key, const PaletteColour& tint, int nSteps) {
  const std::uint32_t times = (1u << nSteps) - 1;
  const std::uint32_t tr = tint.r * times, tg = tint.g * times, tb = tint.b * times;
  for (int k = 0; k < n; ++k) {
    const std::uint32_t s = Load32(from + 4 * k), d = Load32(to + 4 * k);
    const std::uint32_t tinted = (d & 0xFF000000u) | ((s >> 16 & 0xFFu) + tr) >> nSteps << 16 |
                                 ((s >> 8 & 0xFFu) + tg) >> nSteps << 8 | ((s & 0xFFu) + tb) >> nSteps;
    Store32(to + 4 * k, keyed && s == key ? d : tinted);
  }
}

// DirectDraw at 8 bits: the index after nLevel look-ups in the tint's column
// of the blend table, for every index (composed by squaring, so that any
// level costs a few passes).
std::array<std::uint8_t, 256> BlendSteps(const std::uint8_t* table, int tint, int nLevel) {
  std::array<std::uint8_t, 256> result, step;
  for (int p = 0; p < 256; ++p) {
    result[static_cast<std::size_t>(p)] = static_cast<std::uint8_t>(p);
    step[static_cast<std::size_t>(p)] = table[p * 256 + tint];
  }
  for (int n = std::max(nLevel, 0); n > 0; n >>= 1) {
    if (n & 1)
      for (auto& p : result) p = step[p];
    std::array<std::uint8_t, 256> twice;
    for (int p = 0; p < 256; ++p) twice[static_cast<std::size_t>(p)] = step[step[static_cast<std::size_t>(p)]];
    step = twice;
  }
  return result;
}

template <int Bytes>
void ApplyTables(const SurfacePixels& dst, int x, int y, const SurfacePixels& src, int sx, int sy, int nWidth,
                 int nHeight, bool keyed, std::uint32_t key, const ChannelTables& tables) {
  ForEachPairedPixel(dst, x, y, src, sx, sy, nWidth, nHeight, [&](std::uint8_t* to, const std::uint8_t* from) {
    if constexpr (Bytes == 2) {
      const std::uint32_t s = Load16(from);
      if (!(keyed && s == key)) Store16(to, tables.Apply(s));
    } else {
      const std::uint32_t s = Load32(from);
      if (!(keyed && s == key)) Store32(to, tables.Apply(s));
    }
  });
}

// The per-channel average of two 32-bit pixels' low three bytes.
inline std::uint32_t Average24(std::uint32_t a, std::uint32_t b) {
  return ((a & 0xFEFEFEu) >> 1) + ((b & 0xFEFEFEu) >> 1) + (a & b & 0x010101u);
}

void Direct3DTranslucent(const SurfacePixels& dst, int x, int y, const SurfacePixels& src, int sx, int sy, int w,
                         int h, bool keyed, bool toScreen16) {
  const std::uint32_t key = EffectTransparentValue();
  if (g_nBpp == 32) {
    ForEachPairedPixel(dst, x, y, src, sx, sy, w, h, [&](std::uint8_t* to, const std::uint8_t* from) {
      const std::uint32_t s = Load32(from);
      if (!(keyed && s == key)) Store32(to, 0xFF000000u | Average24(s, Load32(to)));
    });
    return;
  }
  const DDCOLORFORMAT &f = g_cfSurface, &screen = g_cfScreen;
  const std::uint32_t alpha = AlphaBit16(g_cfSurface);
  ForEachPairedPixel(dst, x, y, src, sx, sy, w, h, [&](std::uint8_t* to, const std::uint8_t* from) {
    const std::uint32_t s = Load16(from);
    if (keyed && s == key) return;
    const ChannelValues a = DecodeChannels(s, f);
    if (toScreen16) {
      const ChannelValues d = DecodeChannels(Load16(to), screen);
      Store16(to, EncodeChannels((a.r + d.r) >> 1, (d.g + 2 * a.g) >> 1, (a.b + d.b) >> 1, screen));
    } else {
      const ChannelValues d = DecodeChannels(Load16(to), f);
      Store16(to, alpha | EncodeChannels((a.r + d.r) >> 1 & f.nMaxR, (a.g + d.g) >> 1 & f.nMaxG, (a.b + d.b) >> 1 & f.nMaxB,
                                 f));
    }
  });
}

// DirectDraw's 16-bit surfaces are 565 or 555: with the layout a constant
// the divisions become multiplications and the loops run on vectors.
template <int ShiftR, int MaxR, int MaxG>
struct Layout16 {
  static constexpr int kShiftR = ShiftR, kShiftG = 5, kShiftB = 0;
  static constexpr std::uint32_t kMaxR = MaxR, kMaxG = MaxG, kMaxB = 31;
};

template <class Rows16>
void WithLayout16(Rows16&& rows) {
  if (g_cfSurface.nMaxG == 63) {
    rows(Layout16<11, 31, 63>{});
  } else {
    rows(Layout16<10, 31, 31>{});
  }
}

// DirectDraw's 16-bit translucency on a row: each channel averaged on 0-255
// values (v * 255 / max, and back by v * max / 255); a transparent
// destination pixel takes the source. Every step fits 16 bits, and is
// written so, for vectors of sixteen-bit lanes.
template <class Layout>
void DirectDrawTranslucentRow16(std::uint8_t* __restrict to, const std::uint8_t* __restrict from, int n, bool keyed,
                                std::uint32_t key, Layout) {
  using Lane = std::uint16_t;
  const auto mix = [](Lane s, Lane d, int shift, Lane maximum) {
    const auto wide = [&](Lane v) { return static_cast<Lane>(static_cast<Lane>((v >> shift & maximum) * 255) / maximum); };
    const auto average = static_cast<Lane>(static_cast<Lane>(wide(s) + wide(d)) >> 1);
    return static_cast<Lane>(static_cast<Lane>(static_cast<Lane>(average * maximum) / 255) << shift);
  };
  for (int k = 0; k < n; ++k) {
    const auto s = static_cast<Lane>(Load16(from + 2 * k)), d = static_cast<Lane>(Load16(to + 2 * k));
    const Lane mixed = mix(s, d, Layout::kShiftR, Layout::kMaxR) | mix(s, d, Layout::kShiftG, Layout::kMaxG) |
                       mix(s, d, Layout::kShiftB, Layout::kMaxB);
    Store16(to + 2 * k, keyed && s == key ? d : d == key ? s : mixed);
  }
}

// DirectDraw's 32-bit translucency on a row: the average, the fourth byte
// the destination's; a transparent destination pixel takes the source.
void DirectDrawTranslucentRow32(std::uint8_t* __restrict to, const std::uint8_t* __restrict from, int n, bool keyed,
                                std::uint32_t key) {
  for (int k = 0; k < n; ++k) {
    const std::uint32_t s = Load32(from + 4 * k), d = Load32(to + 4 * k);
    const std::uint32_t blended = (d & 0xFF000000u) | (d == key ? s & 0xFFFFFFu : Average24(s, d));
    Store32(to + 4 * k, keyed && s == key ? d : blended);
  }
}

void DirectDrawTranslucent(const SurfacePixels& dst, int x, int y, const SurfacePixels& src, int sx, int sy, int w,
                           int h, bool keyed, const std::uint8_t* lpBlendTable) {
  const std::uint32_t key = g_dwTransmit;
  switch (g_nBpp) {
    case 8:
      ForEachPairedPixel(dst, x, y, src, sx, sy, w, h, [&](std::uint8_t* to, const std::uint8_t* from) {
        const std::uint8_t s = *from;
        if (keyed && s == 0) return;
        *to = *to == 0 ? s : lpBlendTable[*to * 256 + s];
      });
      break;
    case 16:
      WithLayout16([&](auto layout) {
        ForEachPairedRow(dst, x, y, src, sx, sy, w, h, [&](std::uint8_t* to, const std::uint8_t* from, int n) {
          DirectDrawTranslucentRow16(to, from, n, keyed, key, layout);
        });
      });
      break;
    case 32:
      ForEachPairedRow(dst, x, y, src, sx, sy, w, h, [&](std::uint8_t* to, const std::uint8_t* from, int n) {
        DirectDrawTranslucentRow32(to, from, n, keyed, key);
      });
      break;
    default: break;
  }
}

}  // namespace

bool DDBltAlpha(DDSURFACEDATA* lpDst, int x, int y, int nWidth, int nHeight, DDSURFACEDATA* lpSrc, int sx, int sy,
                int dwFlags, const PaletteColour* lpPalette, const std::uint8_t* lpBlendTable, int dwPalNum,
                int nLevel) {
  if (g_lpD3DState ? nLevel <= 0 : nLevel == 0) return true;
  if (!lpPalette) return true;
  const int tintIndex = dwPalNum & 0xFF;
  const PaletteColour& tint = lpPalette[tintIndex];
  PrepareEffectSurfaces(&lpDst, &lpSrc);
  if (!EffectSurfacesExist(lpDst, lpSrc)) return true;
  if (g_lpD3DState && CanDrawEffectQuad(lpDst, lpSrc)) {
    static constexpr std::uint32_t kFactorAlphas[] = {128, 80, 48, 16};
    const std::uint32_t alpha = nLevel <= 4 ? kFactorAlphas[nLevel - 1] : 0;
    BLTVERTEX quad[4];
    SetEffectQuad(quad, x, y, nWidth, nHeight, lpSrc, sx, sy, 0xFFFFFFFFu);
    DrawEffectQuad(lpDst, lpSrc, quad, [&] {
      lpDevice->SetRenderState(D3DRS_TEXTUREFACTOR, alpha << 24 | std::uint32_t{tint.r} << 16 |
                                                        std::uint32_t{tint.g} << 8 | tint.b);
      lpDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_BLENDFACTORALPHA);
      lpDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
      lpDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
      lpDevice->SetTexture(0, lpSrc->lpDT->lpTexture);
      lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
      lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    });
    return true;
  }

  cEffectLocks locks;
  if (!locks.Lock(lpDst, lpSrc)) return g_lpD3DState != nullptr;
  const SurfacePixels dst = locks.Destination(), src = locks.Source();
  const bool keyed = dwFlags == 1;
  const std::uint32_t key = EffectTransparentValue();
  if (g_nBpp == 8 && !g_lpD3DState) {
    if (!lpBlendTable) return true;
    const std::array<std::uint8_t, 256> steps = BlendSteps(lpBlendTable, tintIndex, nLevel);
    ForEachPairedPixel(dst, x, y, src, sx, sy, nWidth, nHeight, [&](std::uint8_t* to, const std::uint8_t* from) {
      if (!(keyed && *from == key)) *to = steps[*from];
    });
  } else if (g_nBpp == 32 && !g_lpD3DState) {
    const int steps = std::clamp(nLevel, 0, kSettledSteps);
    ForEachPairedRow(dst, x, y, src, sx, sy, nWidth, nHeight, [&](std::uint8_t* to, const std::uint8_t* from, int n) {
      DirectDrawTintRow32(to, from, n, keyed, key, tint, steps);
    });
  } else if (g_nBpp == 16 || g_nBpp == 32) {
    const ChannelTables tables = g_lpD3DState ? Direct3DTint(nLevel, tint, g_nBpp == 16 && DDIsFullScreenBackBuffer(lpDst))
                                              : DirectDrawTint16(nLevel, tint);
    if (g_nBpp == 16) {
      ApplyTables<2>(dst, x, y, src, sx, sy, nWidth, nHeight, keyed, key, tables);
    } else {
      ApplyTables<4>(dst, x, y, src, sx, sy, nWidth, nHeight, keyed, key, tables);
    }
  }
  return true;
}

bool DDBltTranslucent(DDSURFACEDATA* lpDst, int x, int y, int nWidth, int nHeight, DDSURFACEDATA* lpSrc, int sx,
                      int sy, int dwFlags, const std::uint8_t* lpBlendTable) {
  PrepareEffectSurfaces(&lpDst, &lpSrc);
  if (!EffectSurfacesExist(lpDst, lpSrc)) return true;
  if (g_lpD3DState && CanDrawEffectQuad(lpDst, lpSrc) && !g_lpD3DState->bVirBackBuffer) {
    BLTVERTEX quad[4];
    SetEffectQuad(quad, x, y, nWidth, nHeight, lpSrc, sx, sy, 0x80FFFFFFu);
    const bool restored = DrawEffectQuad(lpDst, lpSrc, quad, [&] {
      SetTextureDiffuseStage(D3DTOP_MODULATE, D3DTOP_MODULATE);
      lpDevice->SetTexture(0, lpSrc->lpDT->lpTexture);
    });
    if (restored) {
      lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
      lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    }
    return true;
  }

  cEffectLocks locks;
  if (!locks.Lock(lpDst, lpSrc)) return g_lpD3DState != nullptr;
  const bool keyed = dwFlags == 1;
  if (g_lpD3DState) {
    if (g_nBpp == 16 || g_nBpp == 32)
      Direct3DTranslucent(locks.Destination(), x, y, locks.Source(), sx, sy, nWidth, nHeight, keyed,
                          g_nBpp == 16 && DDIsFullScreenBackBuffer(lpDst));
  } else if (g_nBpp != 8 || lpBlendTable) {
    DirectDrawTranslucent(locks.Destination(), x, y, locks.Source(), sx, sy, nWidth, nHeight, keyed, lpBlendTable);
  }
  return true;
}
