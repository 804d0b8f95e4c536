// Row loops of the software back ends' copies and blends, written so that
// the compiler runs them on vectors: each writes every pixel of the row, the
// old value where it keeps it, without branches. The rows must not overlap.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace platform {

// A8R8G8B8 texels onto a 32-bit row: opaque ones written as they are, the
// others kept. Returns whether any alpha lies between 0 and 0xFF (those
// pixels are the caller's to blend).
inline bool CopyOpaqueRow32(const std::uint8_t* __restrict from, std::uint8_t* __restrict to, int n) {
  std::uint32_t between = 0;
  for (int k = 0; k < n; ++k) {
    std::uint32_t raw, kept;
    std::memcpy(&raw, from + 4 * k, 4);
    std::memcpy(&kept, to + 4 * k, 4);
    const std::uint32_t value = raw >> 24 == 0xFF ? raw : kept;
    between |= (((raw >> 24) - 1) & 0xFF) < 0xFE;
    std::memcpy(to + 4 * k, &value, 4);
  }
  return between != 0;
}

// A1R5G5B5 texels onto an A1R5G5B5 row: those with A1 set written.
inline void CopyOpaqueRow1555(const std::uint8_t* __restrict from, std::uint8_t* __restrict to, int n) {
  for (int k = 0; k < n; ++k) {
    std::uint16_t raw, kept;
    std::memcpy(&raw, from + 2 * k, 2);
    std::memcpy(&kept, to + 2 * k, 2);
    const std::uint16_t value = (raw & 0x8000) ? raw : kept;
    std::memcpy(to + 2 * k, &value, 2);
  }
}

// An opaque A1R5G5B5 texel as R5G6B5, converted as ToArgb then FromArgb
// would: green's sixth bit repeats its top bit.
inline std::uint16_t Opaque1555To565(std::uint16_t raw) {
  return static_cast<std::uint16_t>(((raw & 0x7FE0) << 1) | ((raw >> 4) & 0x20) | (raw & 0x1F));
}

// A row of opaque A1R5G5B5 texels onto an R5G6B5 row.
inline void ConvertRow1555To565(const std::uint8_t* __restrict from, std::uint8_t* __restrict to, int n) {
  for (int k = 0; k < n; ++k) {
    std::uint16_t raw;
    std::memcpy(&raw, from + 2 * k, 2);
    const std::uint16_t value = Opaque1555To565(raw);
    std::memcpy(to + 2 * k, &value, 2);
  }
}

// A1R5G5B5 texels onto an R5G6B5 row: those with A1 set converted and
// written, the others kept.
inline void CopyOpaqueRow1555To565(const std::uint8_t* __restrict from, std::uint8_t* __restrict to, int n) {
  for (int k = 0; k < n; ++k) {
    std::uint16_t raw, kept;
    std::memcpy(&raw, from + 2 * k, 2);
    std::memcpy(&kept, to + 2 * k, 2);
    const std::uint16_t value = (raw & 0x8000) ? Opaque1555To565(raw) : kept;
    std::memcpy(to + 2 * k, &value, 2);
  }
}

// A8R8G8B8 texels as source ARGB pixels: each colour channel
// (t * colourScale + 127) / 255 plus its byte of colourOffset (the sums stay
// within 255), alpha (t * alphaScale + 127) / 255; the divisions exact for
// these sums, two channels a 32-bit lane for red and blue.
inline void ScaleTexelRow32(const std::uint8_t* __restrict from, std::uint32_t* __restrict to, int n,
                            std::uint32_t colourScale, std::uint32_t colourOffset, std::uint32_t alphaScale) {
  for (int k = 0; k < n; ++k) {
    std::uint32_t t;
    std::memcpy(&t, from + 4 * k, 4);
    std::uint32_t rb = (t & 0x00FF00FFu) * colourScale + 0x007F007Fu;
    rb = (rb + 0x00010001u + (rb >> 8 & 0x00FF00FFu)) >> 8 & 0x00FF00FFu;
    std::uint32_t g = (t >> 8 & 0xFF) * colourScale + 127;
    g = (g + 1 + (g >> 8)) >> 8;
    std::uint32_t a = (t >> 24) * alphaScale + 127;
    a = (a + 1 + (a >> 8)) >> 8;
    to[k] = (a << 24 | g << 8 | rb) + colourOffset;
  }
}

// Source ARGB pixels blended onto a 32-bit row by their alpha a (SRCALPHA,
// INVSRCALPHA): each channel (s * a + d * (255 - a) + 127) / 255, two
// channels a 32-bit lane, the division exact for these sums. xBits: ORed
// into what is read and written (0xFF000000 for an X8R8G8B8 row, whose X
// bits read as opaque and are stored as ones).
inline void BlendOverRow32(const std::uint32_t* __restrict source, std::uint8_t* __restrict to, int n,
                           std::uint32_t xBits) {
  for (int k = 0; k < n; ++k) {
    std::uint32_t d;
    std::memcpy(&d, to + 4 * k, 4);
    d |= xBits;
    const std::uint32_t s = source[k], a = s >> 24, inverse = 255 - a;
    const std::uint32_t rb = (s & 0x00FF00FFu) * a + (d & 0x00FF00FFu) * inverse + 0x007F007Fu;
    const std::uint32_t ag = (s >> 8 & 0x00FF00FFu) * a + (d >> 8 & 0x00FF00FFu) * inverse + 0x007F007Fu;
    const std::uint32_t value = ((rb + 0x00010001u + (rb >> 8 & 0x00FF00FFu)) >> 8 & 0x00FF00FFu) |
                                ((ag + 0x00010001u + (ag >> 8 & 0x00FF00FFu)) & 0xFF00FF00u) | xBits;
    std::memcpy(to + 4 * k, &value, 4);
  }
}

// Pixels of Bytes bytes (1, 2 or 4) whose colour bits differ from the key.
template <int Bytes>
void CopyUnkeyedRow(const std::uint8_t* __restrict from, std::uint8_t* __restrict to, int n, std::uint32_t colourBits,
                    std::uint32_t key) {
  using Pixel = std::conditional_t<Bytes == 1, std::uint8_t, std::conditional_t<Bytes == 2, std::uint16_t, std::uint32_t>>;
  for (int k = 0; k < n; ++k) {
    Pixel raw, kept;
    std::memcpy(&raw, from + Bytes * k, Bytes);
    std::memcpy(&kept, to + Bytes * k, Bytes);
    const Pixel value = (raw & colourBits) == key ? kept : raw;
    std::memcpy(to + Bytes * k, &value, Bytes);
  }
}

}  // namespace platform
