// The frame the software pixel effects share (tint, translucency, lens,
// rotation; mosaic and blur lock the same way).
//
// - Back end: Direct3D while g_lpD3DState is set, DirectDraw otherwise.
// - Direct3D preparation (PrepareEffectSurfaces): each surface replaced by
//   its linked surface, then the back buffer by the virtual back buffer
//   while that mode is on.
// - The device draws a textured quad (DrawEffectQuad) unless either surface
//   is a system-memory texture (CanDrawEffectQuad); otherwise, and always on
//   DirectDraw, the pixels are computed on locked surfaces (cEffectLocks:
//   destination locked first, source released first).
// - A source row r of the effect's rectangle pairs with destination row r;
//   only rows and columns inside both surfaces are touched (OverlapSpan).
// A null surface, or one without its back end's objects (a missing optional
// image), has nothing to draw. Game thread only.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>

#include "graphics/bitmap_copy.h"
#include "graphics/surface_data.h"
#include "graphics/surface_lock.h"

// Direct3D: links and the virtual back buffer resolved; DirectDraw: nothing.
void PrepareEffectSurfaces(DDSURFACEDATA** lplpDst, DDSURFACEDATA** lplpSrc);
// Whether both surfaces hold pixels on the current back end.
bool EffectSurfacesExist(const DDSURFACEDATA* lpDst, const DDSURFACEDATA* lpSrc);
bool CanDrawEffectQuad(const DDSURFACEDATA* lpDst, const DDSURFACEDATA* lpSrc);

// The value a transparent source pixel holds: g_dwTransmit on DirectDraw,
// the transparent texel (16 or 32 bits) on Direct3D.
std::uint32_t EffectTransparentValue();

// The quad over nWidth x nHeight at (x, y) showing the same rectangle at
// (sx, sy) of src, every vertex of the colour.
void SetEffectQuad(BLTVERTEX (&quad)[4], int x, int y, int nWidth, int nHeight, const DDSURFACEDATA* lpSrc, int sx,
                   int sy, std::uint32_t dwColor);
// Writes the quad into src's vertex buffer, opens the scene, makes dst the
// render target, runs setStates (stage states and texture), draws and puts
// the resting target back. Nothing is drawn when the buffer, the scene or
// the target fails. True when the resting target was set again after
// drawing.
bool DrawEffectQuad(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, const BLTVERTEX (&quad)[4],
                    const std::function<void()>& setStates);

// Both surfaces locked for one effect; unlocked when it goes away, source
// first.
class cEffectLocks {
 public:
  // Destination first; when the source fails the destination is unlocked
  // again. False when either failed.
  bool Lock(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc);
  // The locked pixels, cut to each surface's picture.
  SurfacePixels Destination() const;
  SurfacePixels Source() const;

 private:
  cSurfaceLock m_Dst;  // declared first: destroyed last
  cSurfaceLock m_Src;
};

// The offsets k of 0..n-1 with 0 <= a + k < sizeA and 0 <= b + k < sizeB,
// as first..end-1 (empty when first >= end).
struct OverlapSpan {
  int first = 0, end = 0;
  OverlapSpan(int n, int a, int sizeA, int b, int sizeB);
  bool Empty() const { return first >= end; }
};

// Pixel access on locked rows.
inline std::uint8_t* PixelAt(const SurfacePixels& pixels, int x, int y) {
  return pixels.bits + static_cast<std::ptrdiff_t>(y) * pixels.pitch + static_cast<std::ptrdiff_t>(x) *
                                                                           (pixels.bitsPerPixel / 8);
}
inline std::uint32_t Load16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline void Store16(std::uint8_t* p, std::uint32_t v) {
  const auto w = static_cast<std::uint16_t>(v);
  std::memcpy(p, &w, 2);
}
inline std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline void Store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }
// A pixel of 1, 2 or 4 bytes.
inline std::uint32_t LoadPixel(const std::uint8_t* p, int bytes) {
  return bytes == 1 ? *p : bytes == 2 ? Load16(p) : Load32(p);
}
inline void StorePixel(std::uint8_t* p, int bytes, std::uint32_t v) {
  if (bytes == 1) {
    *p = static_cast<std::uint8_t>(v);
  } else if (bytes == 2) {
    Store16(p, v);
  } else {
    Store32(p, v);
  }
}

// Calls rowOp(destination row, source row, pixels) for every row of the
// nWidth x nHeight rectangle at (x, y) of dst and (sx, sy) of src, cut to
// the part that lies inside both, rows from the top; each row pointer is at
// the cut part's first pixel.
template <class RowOp>
void ForEachPairedRow(const SurfacePixels& dst, int x, int y, const SurfacePixels& src, int sx, int sy, int nWidth,
                      int nHeight, RowOp&& rowOp) {
  const OverlapSpan rows(nHeight, y, dst.height, sy, src.height);
  const OverlapSpan columns(nWidth, x, dst.width, sx, src.width);
  if (rows.Empty() || columns.Empty()) return;
  for (int r = rows.first; r < rows.end; ++r)
    rowOp(PixelAt(dst, x + columns.first, y + r), PixelAt(src, sx + columns.first, sy + r), columns.end - columns.first);
}

// Calls op(destination pixel, source pixel) for every pixel of the
// nWidth x nHeight rectangle at (x, y) of dst and (sx, sy) of src that lies
// inside both, rows from the top, columns from the left.
template <class PixelOp>
void ForEachPairedPixel(const SurfacePixels& dst, int x, int y, const SurfacePixels& src, int sx, int sy, int nWidth,
                        int nHeight, PixelOp&& op) {
  const int bytes = dst.bitsPerPixel / 8;
  ForEachPairedRow(dst, x, y, src, sx, sy, nWidth, nHeight, [&](std::uint8_t* to, const std::uint8_t* from, int n) {
    for (int k = 0; k < n; ++k, to += bytes, from += bytes) op(to, from);
  });
}
