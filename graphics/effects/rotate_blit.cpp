#include "graphics/effects/rotate_blit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "graphics/blit.h"
#include "graphics/blit_quad.h"
#include "graphics/device.h"
#include "graphics/effects/effect_frame.h"
#include "graphics/palette_colours.h"

using namespace platform;

namespace {

// Degrees to radians as the angle factor has it (3.14159265358979 / 180).
constexpr double kRadiansPerDegree = 0.017453292519943278;

// The quad with its corners turned about the pivot.
void SetRotatedQuad(BLTVERTEX (&quad)[4], int x, int y, int nWidth, int nHeight, int nPivotX, int nPivotY, int nAngle,
                    const DDSURFACEDATA* lpSrc, int sx, int sy) {
  const double theta = nAngle * kRadiansPerDegree;
  const auto s = static_cast<float>(std::sin(theta)), c = static_cast<float>(std::cos(theta));
  const float originX = (static_cast<float>(x) - 0.5f) + static_cast<float>(nPivotX - (nWidth >> 1));
  const float originY = (static_cast<float>(y) - 0.5f) + static_cast<float>(nPivotY - (nHeight >> 1));
  const auto texWidth = static_cast<float>(lpSrc->nTexWidth), texHeight = static_cast<float>(lpSrc->nTexHeight);
  const float uLeft = static_cast<float>(sx) / texWidth, uRight = static_cast<float>(sx + nWidth) / texWidth;
  const float vTop = static_cast<float>(sy) / texHeight, vBottom = static_cast<float>(sy + nHeight) / texHeight;
  // Strip order: top-left, bottom-left, top-right, bottom-right.
  const int as[4] = {-nPivotX, -nPivotX, nWidth - nPivotX, nWidth - nPivotX};
  const int bs[4] = {-nPivotY, nHeight - nPivotY, -nPivotY, nHeight - nPivotY};
  const float us[4] = {uLeft, uLeft, uRight, uRight}, vs[4] = {vTop, vBottom, vTop, vBottom};
  for (int i = 0; i < 4; ++i) {
    const auto a = static_cast<float>(as[i]), b = static_cast<float>(bs[i]);
    quad[i] = BLTVERTEX{originX + a * c - b * s, originY + a * s + b * c, 0.0f, 1.0f, g_lpD3DState->dwBltColor, us[i],
                        vs[i]};
  }
}

// The software path on locked pixels.
void RotatePixels(const SurfacePixels& dst, int x, int y, int nWidth, int nHeight, int nPivotX, int nPivotY,
                  FixedRotation rotation, const SurfacePixels& src, int sx, int sy, bool keyed, bool toScreen16) {
  const std::int64_t S = rotation.nSin, C = rotation.nCos;
  // The box of the four corner pixels turned forward, widened by 2.
  long long left = 0, right = 0, top = 0, bottom = 0;
  const int cornersX[4] = {0, nWidth - 1, 0, nWidth - 1}, cornersY[4] = {0, 0, nHeight - 1, nHeight - 1};
  for (int i = 0; i < 4; ++i) {
    const std::int64_t dx = cornersX[i] - nPivotX, dy = cornersY[i] - nPivotY;
    const long long X = nPivotX + ((dx * C - dy * S) >> 10), Y = nPivotY + ((dx * S + dy * C) >> 10);
    left = i == 0 ? X : std::min(left, X), right = i == 0 ? X : std::max(right, X);
    top = i == 0 ? Y : std::min(top, Y), bottom = i == 0 ? Y : std::max(bottom, Y);
  }
  // Rows and columns of the box whose destination lies inside dst.
  const long long firstRow = std::max(top - 2, static_cast<long long>(nPivotY) - y);
  const long long endRow = std::min(bottom + 2, static_cast<long long>(nPivotY) - y + dst.height);
  const long long firstColumn = std::max(left - 2, static_cast<long long>(nPivotX) - x);
  const long long endColumn = std::min(right + 2, static_cast<long long>(nPivotX) - x + dst.width);
  const int bytes = dst.bitsPerPixel / 8;
  for (long long r = firstRow; r < endRow; ++r) {
    const std::int64_t dy = r - nPivotY;
    std::uint8_t* row = PixelAt(dst, 0, static_cast<int>(y + dy));
    // Running sums: C * dx + S * dy and C * dy - S * dx from column to column.
    std::int64_t dx = firstColumn - nPivotX;
    std::int64_t uSum = C * dx + S * dy, vSum = C * dy - S * dx;
    for (long long c = firstColumn; c < endColumn; ++c, ++dx, uSum += C, vSum -= S) {
      const std::int64_t u = nPivotX + (uSum >> 10), v = nPivotY + (vSum >> 10);
      if (v < 0 || v >= nHeight || u < 0 || u >= nWidth) continue;
      const std::int64_t px = sx + u, py = sy + v;
      if (px < 0 || py < 0 || px >= src.width || py >= src.height) continue;
      const std::uint32_t pixel = LoadPixel(PixelAt(src, static_cast<int>(px), static_cast<int>(py)), bytes);
      if (keyed && pixel == g_dwTransmit) continue;
      StorePixel(row + (x + dx) * bytes, bytes, toScreen16 ? SurfaceToScreen16(pixel, g_cfSurface, g_cfScreen) : pixel);
    }
  }
}

}  // namespace

FixedRotation FixedRotationOf(int nAngle) {
  const double theta = nAngle * kRadiansPerDegree;
  return {static_cast<int>(std::sin(theta) * 1024), static_cast<int>(std::cos(theta) * 1024)};
}

bool DDBltRotate(DDSURFACEDATA* lpDst, int x, int y, int nWidth, int nHeight, int nPivotX, int nPivotY, int nAngle,
                 DDSURFACEDATA* lpSrc, int sx, int sy, int dwFlags) {
  PrepareEffectSurfaces(&lpDst, &lpSrc);
  if (!EffectSurfacesExist(lpDst, lpSrc)) return true;
  if (g_lpD3DState && CanDrawEffectQuad(lpDst, lpSrc)) {
    BLTVERTEX quad[4];
    SetRotatedQuad(quad, x, y, nWidth, nHeight, nPivotX, nPivotY, nAngle, lpSrc, sx, sy);
    DrawEffectQuad(lpDst, lpSrc, quad, [&] {
      SetTextureDiffuseStage(static_cast<std::uint32_t>(g_lpD3DState->dwBltColorOp),
                             static_cast<std::uint32_t>(g_lpD3DState->dwBltAlphaOp));
      lpDevice->SetTexture(0, lpSrc->lpDT->lpTexture);
    });
    return true;
  }

  cEffectLocks locks;
  if (!locks.Lock(lpDst, lpSrc)) return false;
  const bool drawn = g_nBpp == 16 || g_nBpp == 32 || (g_nBpp == 8 && !g_lpD3DState);
  if (!drawn || nWidth <= 0 || nHeight <= 0) return true;
  RotatePixels(locks.Destination(), x, y, nWidth, nHeight, nPivotX, nPivotY, FixedRotationOf(nAngle),
               locks.Source(), sx, sy, dwFlags == 1, g_lpD3DState && g_nBpp == 16 && DDIsFullScreenBackBuffer(lpDst));
  return true;
}
