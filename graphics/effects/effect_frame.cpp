#include "graphics/effects/effect_frame.h"

#include <algorithm>

#include "graphics/blit_quad.h"
#include "graphics/device.h"
#include "graphics/locked_pixels.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "graphics/surface.h"

using namespace platform;

void PrepareEffectSurfaces(DDSURFACEDATA** lplpDst, DDSURFACEDATA** lplpSrc) {
  if (!g_lpD3DState) return;
  DDResolveLink(lplpDst);
  DDResolveLink(lplpSrc);
  DDUseVirBackBuffer(lplpDst);
  DDUseVirBackBuffer(lplpSrc);
}

bool EffectSurfacesExist(const DDSURFACEDATA* lpDst, const DDSURFACEDATA* lpSrc) {
  const auto exists = [](const DDSURFACEDATA* lpSD) {
    if (!lpSD) return false;
    if (g_lpD3DState) return lpSD->lpDT && lpSD->lpDT->lpSurface;
    return lpSD->lpDDraw && lpSD->lpDDraw->lpDDS;
  };
  return exists(lpDst) && exists(lpSrc);
}

bool CanDrawEffectQuad(const DDSURFACEDATA* lpDst, const DDSURFACEDATA* lpSrc) {
  // A source without a texture (the back buffer itself) cannot be sampled.
  return !lpDst->lpDT->bSystemMemory && !lpSrc->lpDT->bSystemMemory && lpSrc->lpDT->lpTexture;
}

std::uint32_t EffectTransparentValue() {
  if (!g_lpD3DState) return g_dwTransmit;
  return g_nBpp == 16 ? g_lpD3DState->wTexKey16 : g_lpD3DState->dwTexKey;
}

void SetEffectQuad(BLTVERTEX (&quad)[4], int x, int y, int nWidth, int nHeight, const DDSURFACEDATA* lpSrc, int sx,
                   int sy, std::uint32_t dwColor) {
  const auto texWidth = static_cast<float>(lpSrc->nTexWidth), texHeight = static_cast<float>(lpSrc->nTexHeight);
  SetQuad(quad, static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + nWidth),
          static_cast<float>(y + nHeight), dwColor, static_cast<float>(sx) / texWidth,
          static_cast<float>(sy) / texHeight, static_cast<float>(sx + nWidth) / texWidth,
          static_cast<float>(sy + nHeight) / texHeight);
}

bool DrawEffectQuad(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, const BLTVERTEX (&quad)[4],
                    const std::function<void()>& setStates) {
  if (!WriteQuad(lpSrc->lpDT->lpVB, quad)) return false;
  if (!DDBeginScene() || !DDSetRenderTarget(0, lpDst)) return false;
  setStates();
  DrawQuadFrom(lpSrc->lpDT->lpVB);
  return DDSetRenderTarget(0, g_lpD3DState->lpRestTarget) != 0;
}

bool cEffectLocks::Lock(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc) {
  if (!m_Dst.Lock(lpDst)) return false;
  if (m_Src.Lock(lpSrc)) return true;
  m_Dst.Unlock();
  return false;
}

SurfacePixels cEffectLocks::Destination() const { return LockedPixels(m_Dst); }

SurfacePixels cEffectLocks::Source() const { return LockedPixels(m_Src); }

OverlapSpan::OverlapSpan(int n, int a, int sizeA, int b, int sizeB) {
  // In 64 bits: a position near the int limits must not wrap.
  const long long low = std::max({0LL, -static_cast<long long>(a), -static_cast<long long>(b)});
  const long long high =
      std::min({static_cast<long long>(n), static_cast<long long>(sizeA) - a, static_cast<long long>(sizeB) - b});
  first = static_cast<int>(low);
  end = static_cast<int>(std::max(low, high));
}
