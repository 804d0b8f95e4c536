#include "graphics/effects/lens_blit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effects/effect_frame.h"
#include "graphics/palette_colours.h"

bool DDBltLens(DDSURFACEDATA* lpDst, int x, int y, int nRadius, int nDepth, DDSURFACEDATA* lpSrc, int sx, int sy,
               int) {
  if (nDepth < 0 || nRadius < 0) return false;
  const std::int64_t r2 = std::int64_t{nRadius} * nRadius;
  const auto lensRadius = static_cast<std::int64_t>(std::sqrt(static_cast<double>(r2 + std::int64_t{nDepth} * nDepth)));
  if (lensRadius <= nDepth) return false;
  const std::int64_t l2 = lensRadius * lensRadius;

  PrepareEffectSurfaces(&lpDst, &lpSrc);
  if (!EffectSurfacesExist(lpDst, lpSrc)) return true;
  cEffectLocks locks;
  if (!locks.Lock(lpDst, lpSrc)) return false;
  const bool drawn = g_nBpp == 16 || g_nBpp == 32 || (g_nBpp == 8 && !g_lpD3DState);
  if (!drawn) return true;
  const SurfacePixels dst = locks.Destination(), src = locks.Source();
  const int bytes = g_nBpp / 8;
  const std::uint32_t key = EffectTransparentValue();
  const bool toScreen16 = g_lpD3DState && g_nBpp == 16 && DDIsFullScreenBackBuffer(lpDst);
  // Source points stay inside the screen size, and inside src.
  const long long sourceWidth = std::min(g_nScreenWidth, src.width), sourceHeight = std::min(g_nScreenHeight, src.height);
  const double depth = nDepth;

  const long long firstRow = std::max<long long>(-nRadius, -static_cast<long long>(y));
  const long long lastRow = std::min<long long>(nRadius, static_cast<long long>(dst.height) - 1 - y);
  const long long firstColumn = std::max<long long>(-nRadius, -static_cast<long long>(x));
  const long long lastColumn = std::min<long long>(nRadius, static_cast<long long>(dst.width) - 1 - x);
  for (long long i = firstRow; i <= lastRow; ++i) {
    const double rowDepth = static_cast<double>(i * nDepth);
    std::uint8_t* row = PixelAt(dst, 0, static_cast<int>(y + i));
    for (long long j = firstColumn; j <= lastColumn; ++j) {
      const std::int64_t d2 = i * i + j * j;
      if (d2 > r2) continue;
      const double q = std::sqrt(static_cast<double>(l2 - d2));
      long long u = j, v = i;
      if (q != 0) {
        u = static_cast<long long>(static_cast<double>(j) * depth / q + 0.5);
        v = static_cast<long long>(rowDepth / q + 0.5);
      }
      const long long px = sx + u, py = sy + v;
      if (px < 0 || py < 0 || px >= sourceWidth || py >= sourceHeight) continue;
      const std::uint32_t pixel = LoadPixel(PixelAt(src, static_cast<int>(px), static_cast<int>(py)), bytes);
      if (pixel == key) continue;
      StorePixel(row + (x + j) * bytes, bytes, toScreen16 ? SurfaceToScreen16(pixel, g_cfSurface, g_cfScreen) : pixel);
    }
  }
  return true;
}
