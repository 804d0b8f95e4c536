// Blt and BltFast of the software DirectDraw (see platform/video/ddraw.h).
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/video/ddraw.h"
#include "platform/video/pixel_rows.h"
#include "platform/video/vector_clones.h"

namespace platform {

namespace {

bool Inside(const RECT& r, const PixelBuffer& pixels) {
  return r.left >= 0 && r.top >= 0 && r.right <= pixels.Width() && r.bottom <= pixels.Height();
}

// A source rectangle may run backwards (right < left: read right to left);
// the columns it reads are min .. max - 1 either way.
bool SourceInside(const RECT& r, const PixelBuffer& pixels) {
  const RECT ordered{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                     std::max(r.top, r.bottom)};
  return ordered.Width() > 0 && ordered.Height() > 0 && Inside(ordered, pixels);
}

// The source column (row) that destination position k of n reads:
// start + floor((k + 0.5) * extent / n), in exact integer arithmetic.
int NearestSource(int start, int extent, int k, int n) {
  const std::int64_t numerator = static_cast<std::int64_t>(2 * k + 1) * extent;
  const std::int64_t denominator = 2 * static_cast<std::int64_t>(n);
  std::int64_t q = numerator / denominator;
  if (numerator % denominator != 0 && numerator < 0) --q;  // floor, not truncation
  return start + static_cast<int>(q);
}

std::uint32_t ReadPixel(const std::uint8_t* row, int x, int bytes) {
  switch (bytes) {
    case 1: return row[x];
    case 2: {
      std::uint16_t v;
      std::memcpy(&v, row + 2 * x, 2);
      return v;
    }
    default: {
      std::uint32_t v;
      std::memcpy(&v, row + 4 * x, 4);
      return v;
    }
  }
}

void WritePixel(std::uint8_t* row, int x, int bytes, std::uint32_t v) {
  switch (bytes) {
    case 1: row[x] = static_cast<std::uint8_t>(v); break;
    case 2: {
      const auto w = static_cast<std::uint16_t>(v);
      std::memcpy(row + 2 * x, &w, 2);
      break;
    }
    default: std::memcpy(row + 4 * x, &v, 4); break;
  }
}

// The bits that hold colour: a key compares these only (the X bits of a
// 32-bit pixel and the spare bit of 555 do not count).
std::uint32_t ColourBits(PixelFormat format) {
  if (format == PixelFormat::Index8) return 0xFF;
  const ChannelMasks masks = MasksOf(format);
  return masks.red | masks.green | masks.blue;
}

struct Copy {
  RECT destination;
  RECT source;  // may run backwards
  bool keyed = false;
  std::uint32_t key = 0;
};

// A keyed copy at the same size, forwards, the pixel size a constant.
template <int Bytes>
void CopyKeyedRows(PixelBuffer& to, const PixelBuffer& from, const Copy& copy, std::uint32_t colourBits,
                   std::uint32_t key) {
  const int w = copy.destination.Width(), h = copy.destination.Height();
  for (int r = 0; r < h; ++r)
    CopyUnkeyedRow<Bytes>(from.Row(copy.source.top + r) + copy.source.left * Bytes,
                          to.Row(copy.destination.top + r) + copy.destination.left * Bytes, w, colourBits, key);
}

// The 32-bit keyed copy draws every sprite of a crowded stage: built for
// AVX2 as well, eight pixels a step instead of four.
VECTOR_CLONES void CopyKeyedRows32(PixelBuffer& to, const PixelBuffer& from, const Copy& copy, std::uint32_t colourBits,
                                   std::uint32_t key) {
  CopyKeyedRows<4>(to, from, copy, colourBits, key);
}

void CopyPixels(PixelBuffer& to, const PixelBuffer& from, const Copy& copy) {
  const int bytes = BytesPerPixel(to.Format());
  const int w = copy.destination.Width(), h = copy.destination.Height();
  const int sw = copy.source.Width(), sh = copy.source.Height();
  const std::uint32_t colourBits = ColourBits(from.Format());
  const std::uint32_t key = copy.key & colourBits;
  if (sw == w && sh == h) {
    if (!copy.keyed) {
      const auto rowBytes = static_cast<std::size_t>(w) * bytes;
      // Whole rows without padding on both sides (a full-screen picture)
      // lie end to end: one copy.
      const bool endToEnd = rowBytes == static_cast<std::size_t>(to.Pitch()) && to.Pitch() == from.Pitch();
      for (int r = 0; r < (endToEnd ? 1 : h); ++r)
        std::memcpy(to.Row(copy.destination.top + r) + copy.destination.left * bytes,
                    from.Row(copy.source.top + r) + copy.source.left * bytes, endToEnd ? rowBytes * h : rowBytes);
      return;
    }
    switch (bytes) {
      case 1: return CopyKeyedRows<1>(to, from, copy, colourBits, key);
      case 2: return CopyKeyedRows<2>(to, from, copy, colourBits, key);
      default: return CopyKeyedRows32(to, from, copy, colourBits, key);
    }
  }
  // Scaled or mirrored: each position reads its nearest source pixel.
  std::vector<int> columns(static_cast<std::size_t>(w));
  for (int k = 0; k < w; ++k) columns[static_cast<std::size_t>(k)] = NearestSource(copy.source.left, sw, k, w);
  for (int r = 0; r < h; ++r) {
    const std::uint8_t* in = from.Row(NearestSource(copy.source.top, sh, r, h));
    std::uint8_t* out = to.Row(copy.destination.top + r);
    for (int k = 0; k < w; ++k) {
      const std::uint32_t v = ReadPixel(in, columns[static_cast<std::size_t>(k)], bytes);
      if (copy.keyed && (v & colourBits) == key) continue;
      WritePixel(out, copy.destination.left + k, bytes, v);
    }
  }
}

}  // namespace

HRESULT DirectDrawSurface7::Blt(const RECT* destination, DirectDrawSurface7* source, const RECT* sourceRect,
                                DWORD flags, const DDBLTFX* fx) {
  if (m_bLost) return DDERR_SURFACELOST;
  if (m_bLocked) return DDERR_SURFACEBUSY;
  RECT to = destination ? *destination : RECT{0, 0, m_Pixels.Width(), m_Pixels.Height()};
  // A window's primary takes screen coordinates and is cut to the client area.
  const bool toWindow = m_bPrimary && m_pClipper;
  RECT from;
  if (!(flags & DDBLT_COLORFILL)) {
    if (!source) return DDERR_INVALIDPARAMS;
    if (source->m_bLost) return DDERR_SURFACELOST;
    if (source->m_bLocked) return DDERR_SURFACEBUSY;
    if (source->m_Pixels.Format() != m_Pixels.Format()) return DDERR_INVALIDPARAMS;
    from = sourceRect ? *sourceRect : RECT{0, 0, source->m_Pixels.Width(), source->m_Pixels.Height()};
    if (!SourceInside(from, source->m_Pixels)) return DDERR_INVALIDRECT;
  }
  if (to.Width() <= 0 || to.Height() <= 0) return DDERR_INVALIDRECT;
  if (toWindow) {
    to.left -= m_ScreenOrigin.x;
    to.right -= m_ScreenOrigin.x;
    to.top -= m_ScreenOrigin.y;
    to.bottom -= m_ScreenOrigin.y;
    // Only whole-rectangle copies reach a window: cutting a scaled copy is
    // not needed by the program.
    if (!Inside(to, m_Pixels)) return DDERR_INVALIDRECT;
  } else if (!Inside(to, m_Pixels)) {
    return DDERR_INVALIDRECT;
  }

  if (flags & DDBLT_COLORFILL) {
    if (!fx || fx->dwSize != kDDBltFxSize) return DDERR_INVALIDPARAMS;
    m_Pixels.FillRaw(&to, fx->dwFillColor);
  } else {
    Copy copy{to, from, false, 0};
    if (flags & DDBLT_KEYSRC) {
      const DDCOLORKEY* key = source->SourceColorKey();
      copy.keyed = key != nullptr;
      if (key) copy.key = key->dwColorSpaceLowValue;
    }
    if (source == this) {
      const PixelBuffer snapshot = m_Pixels;
      CopyPixels(m_Pixels, snapshot, copy);
    } else {
      CopyPixels(m_Pixels, source->m_Pixels, copy);
    }
  }
  ShowOnScreen();  // a primary is the screen, full screen or the window's client area
  return DD_OK;
}

HRESULT DirectDrawSurface7::BltFast(DWORD x, DWORD y, DirectDrawSurface7* source, const RECT* sourceRect,
                                    DWORD flags) {
  if (!source) return DDERR_INVALIDPARAMS;
  const RECT from = sourceRect ? *sourceRect : RECT{0, 0, source->m_Pixels.Width(), source->m_Pixels.Height()};
  if (from.Width() <= 0 || from.Height() <= 0 || x > 0x7FFFFFFF || y > 0x7FFFFFFF) return DDERR_INVALIDRECT;
  const RECT to{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                static_cast<std::int32_t>(x) + from.Width(), static_cast<std::int32_t>(y) + from.Height()};
  return Blt(&to, source, &from, (flags & DDBLTFAST_SRCCOLORKEY) ? DDBLT_KEYSRC : 0, nullptr);
}

}  // namespace platform
