#include "graphics/blit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/blit_clip.h"
#include "graphics/blit_quad.h"
#include "graphics/device.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "graphics/surface.h"
#include "graphics/surface_lock.h"

using namespace platform;

namespace {

DirectDrawSurface7* DirectDrawOf(const DDSURFACEDATA* lpSD) {
  return lpSD && lpSD->lpDDraw ? lpSD->lpDDraw->lpDDS : nullptr;
}

bool HasLevel(const DDSURFACEDATA* lpSD) { return lpSD && lpSD->lpDT && lpSD->lpDT->lpSurface; }

// The destination's form of the transparent colour, for clearing before an
// unkeyed copy of a transparent texture and for fills with it.
std::uint32_t TransparentClearColour(const DDSURFACEDATA* lpDst) {
  const D3DSTATE& state = *g_lpD3DState;
  if (lpDst == &g_sdBackBuffer) return g_nBpp == 16 ? state.wBackKey16 : state.dwBackKey;
  return g_nBpp == 16 ? state.wTexKey16 : state.dwTexKey;
}

// The Direct3D copy on locked surfaces, used when a texture lives in system
// memory (the device cannot draw from or into it).
void SoftwareCopy(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw,
                  int sh, int dwFlags) {
  if (w <= 0 || h <= 0 || (g_nBpp != 16 && g_nBpp != 32)) return;
  cSurfaceLock destination(lpDst);
  if (!destination.m_pBits) return;
  cSurfaceLock source(lpSrc);
  if (!source.m_pBits) return;
  const std::uint32_t key = g_nBpp == 16 ? g_lpD3DState->wTexKey16 : g_lpD3DState->dwTexKey;
  const bool keyed = dwFlags == 1;
  const bool toScreen16 = g_nBpp == 16 && DDIsFullScreenBackBuffer(lpDst);
  auto put = [&](int dx, int dy, int cx, int cy) {
    const std::uint32_t pixel = source.GetPixel(cx, cy);
    if (keyed && pixel == key) return;
    destination.SetPixel(dx, dy, toScreen16 ? SurfaceToScreen16(pixel, g_cfSurface, g_cfScreen) : pixel);
  };
  const auto inDestination = [&](int px, int py) { return px >= 0 && py >= 0 && px < lpDst->nWidth && py < lpDst->nHeight; };
  const auto inSource = [&](int px, int py) { return px >= 0 && py >= 0 && px < lpSrc->nWidth && py < lpSrc->nHeight; };
  if (sw == w && sh == h) {
    for (int r = 0; r < h; ++r)
      for (int k = 0; k < w; ++k)
        if (inDestination(x + k, y + r) && inSource(sx + k, sy + r)) put(x + k, y + r, sx + k, sy + r);
    return;
  }
  const float fx = static_cast<float>(sw) / static_cast<float>(w);
  const float fy = static_cast<float>(sh) / static_cast<float>(h);
  for (int r = 0; r < h; ++r) {
    const int sr = static_cast<int>(static_cast<float>(r) * fy);
    if (y + r < 0 || y + r >= lpDst->nHeight || sy + sr < 0 || sy + sr >= lpSrc->nHeight) continue;
    for (int k = 0; k < w; ++k) {
      if (x + k < 0 || x + k >= lpDst->nWidth) continue;
      int c = static_cast<int>(static_cast<float>(k) * fx);
      if (sw >= 0) {
        if (c < 0 || c >= sw) continue;
      } else {
        if (c <= sw || c > 0) continue;
        c -= 1;
      }
      if (!inSource(sx + c, sy + sr)) continue;
      put(x + k, y + r, sx + c, sy + sr);
    }
  }
}

int Direct3DBltStretch(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw,
                       int sh, int dwFlags) {
  if (!lpDst || !lpSrc) return 0;
  DDResolveLink(&lpDst);
  DDResolveLink(&lpSrc);
  if (g_lpD3DState->bCopyingVirBackBuffer) {
    lpDst = &g_sdBackBuffer;
    lpSrc = &g_sdVirBackBuffer;
  } else {
    DDUseVirBackBuffer(&lpDst);
    DDUseVirBackBuffer(&lpSrc);
  }
  if (!HasLevel(lpDst) || !HasLevel(lpSrc)) return 0;
  if (lpDst->lpDT->bSystemMemory || lpSrc->lpDT->bSystemMemory) {
    SoftwareCopy(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, dwFlags);
    return 0;
  }
  if (!lpSrc->lpDT->lpTexture || !DDClipBlt(lpDst, &x, &y, &w, &h, lpSrc, &sx, &sy, &sw, &sh)) return 0;

  BLTVERTEX quad[4];
  const float texWidth = static_cast<float>(lpSrc->nTexWidth), texHeight = static_cast<float>(lpSrc->nTexHeight);
  SetQuad(quad, static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + w), static_cast<float>(y + h),
          g_lpD3DState->dwBltColor, static_cast<float>(sx) / texWidth, static_cast<float>(sy) / texHeight,
          static_cast<float>(sx + sw) / texWidth, static_cast<float>(sy + sh) / texHeight);
  if (!WriteQuad(lpSrc->lpDT->lpVB, quad)) return 0;
  if (!DDBeginScene() || !DDSetRenderTarget(0, lpDst)) return 0;
  if (dwFlags == 0 && lpSrc->lpDT->bTransmit) {
    const RECT rect{x, y, x + w, y + h};
    lpDevice->Clear(1, &rect, D3DCLEAR_TARGET, TransparentClearColour(lpDst), 1.0f, 0);
  }
  SetTextureDiffuseStage(static_cast<std::uint32_t>(g_lpD3DState->dwBltColorOp),
                         static_cast<std::uint32_t>(g_lpD3DState->dwBltAlphaOp));
  lpDevice->SetTexture(0, lpSrc->lpDT->lpTexture);
  DrawQuadFrom(lpSrc->lpDT->lpVB);
  DDSetRenderTarget(0, g_lpD3DState->lpRestTarget);
  return 0;
}

struct FillArea {
  int left, top, right, bottom;
  bool Empty() const { return left >= right || top >= bottom; }
};

FillArea ClipFill(const DDSURFACEDATA* lpSD, int x, int y, int w, int h) {
  const auto clampTo = [](long long v, int limit) { return static_cast<int>(std::clamp<long long>(v, 0, limit)); };
  return {clampTo(x, lpSD->nWidth), clampTo(y, lpSD->nHeight), clampTo(static_cast<long long>(x) + w, lpSD->nWidth),
          clampTo(static_cast<long long>(y) + h, lpSD->nHeight)};
}

int Direct3DFillRect(DDSURFACEDATA* lpSD, int x, int y, int w, int h, std::uint32_t dwColor) {
  if (!lpSD) return 0;
  DDResolveLink(&lpSD);
  DDUseVirBackBuffer(&lpSD);
  if (!HasLevel(lpSD)) return 0;
  const FillArea area = ClipFill(lpSD, x, y, w, h);
  if (area.Empty()) return 0;
  if (lpSD->lpDT->bSystemMemory) {
    // 16-bit pixels are written too, converted as the device converts a
    // drawn colour.
    cSurfaceLock lock(lpSD);
    if (!lock.m_pBits || (g_nBpp != 16 && g_nBpp != 32)) return 0;
    const std::uint32_t value =
        g_nBpp == 16 ? FromArgb(lpSD->lpDT->lpSurface->Pixels().Format(), dwColor) : dwColor;
    for (int py = area.top; py < area.bottom; ++py)
      for (int px = area.left; px < area.right; ++px) lock.SetPixel(px, py, value);
    return 0;
  }
  if (!DDBeginScene() || !DDSetRenderTarget(0, lpSD)) return 0;
  if (lpSD->lpDT->bTransmit && dwColor == g_lpD3DState->dwTexKey) {
    const RECT rect{area.left, area.top, area.right, area.bottom};
    lpDevice->Clear(1, &rect, D3DCLEAR_TARGET, g_nBpp == 16 ? g_lpD3DState->wTexKey16 : g_lpD3DState->dwTexKey, 1.0f,
                    0);
  } else {
    BLTVERTEX quad[4];
    SetQuad(quad, static_cast<float>(area.left), static_cast<float>(area.top), static_cast<float>(area.right),
            static_cast<float>(area.bottom), dwColor, 0, 0, 0, 0);
    if (WriteQuad(lpSD->lpDT->lpVB, quad)) {
      lpDevice->SetRenderState(D3DRS_TEXTUREFACTOR, dwColor);
      lpDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
      lpDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
      lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
      lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TFACTOR);
      DrawQuadFrom(lpSD->lpDT->lpVB);
    }
  }
  DDSetRenderTarget(0, g_lpD3DState->lpRestTarget);
  return 0;
}

}  // namespace

int DDClipBlt(DDSURFACEDATA* lpDst, int* x, int* y, int* w, int* h, DDSURFACEDATA* lpSrc, int* sx, int* sy, int* sw,
              int* sh) {
  if (!lpDst || !lpSrc || !x || !y || !w || !h || !sx || !sy || !sw || !sh) return 0;
  BltRects rects{*x, *y, *w, *h, *sx, *sy, *sw, *sh};
  const bool left = ClipBltRects(lpDst->nWidth, lpDst->nHeight, lpSrc->nWidth, lpSrc->nHeight,
                                 g_lpD3DState ? BltSizeRule::Direct3D : BltSizeRule::DirectDraw, rects);
  *x = rects.x, *y = rects.y, *w = rects.w, *h = rects.h;
  *sx = rects.sx, *sy = rects.sy, *sw = rects.sw, *sh = rects.sh;
  return left ? 1 : 0;
}

void DDBlt(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int dwFlags) {
  if (g_lpD3DState) {
    DDBltStretch(lpDst, x, y, w, h, lpSrc, sx, sy, w, h, dwFlags);
    return;
  }
  DirectDrawSurface7* destination = DirectDrawOf(lpDst);
  DirectDrawSurface7* source = DirectDrawOf(lpSrc);
  int sw = w, sh = h;
  if (!destination || !source || !DDClipBlt(lpDst, &x, &y, &w, &h, lpSrc, &sx, &sy, &sw, &sh)) return;
  const RECT rect{sx, sy, sx + sw, sy + sh};
  destination->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), source, &rect,
                       static_cast<DWORD>(dwFlags) | DDBLTFAST_WAIT);
}

int DDBltStretch(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw,
                 int sh, int dwFlags) {
  if (g_lpD3DState) return Direct3DBltStretch(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, dwFlags);
  DirectDrawSurface7* destination = DirectDrawOf(lpDst);
  DirectDrawSurface7* source = DirectDrawOf(lpSrc);
  if (!destination || !source || !DDClipBlt(lpDst, &x, &y, &w, &h, lpSrc, &sx, &sy, &sw, &sh)) return 0;
  const RECT to{x, y, x + w, y + h};
  const RECT from{sx, sy, sx + sw, sy + sh};
  const DWORD flags = dwFlags == 1 ? DDBLT_KEYSRC | DDBLT_WAIT : static_cast<DWORD>(dwFlags) | DDBLT_WAIT;
  return destination->Blt(&to, source, &from, flags, nullptr);
}

int DDBltBlend(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw, int sh,
               int dwFlags, const int blend[2]) {
  if (!g_lpD3DState || !blend) return DDBltStretch(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, dwFlags);
  const std::uint32_t colour = g_lpD3DState->dwBltColor;
  const int op = g_lpD3DState->dwBltColorOp;
  g_lpD3DState->dwBltColor = static_cast<std::uint32_t>(blend[0]);
  g_lpD3DState->dwBltColorOp = blend[1];
  const int result = DDBltStretch(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, dwFlags);
  g_lpD3DState->dwBltColor = colour;
  g_lpD3DState->dwBltColorOp = op;
  return result;
}

void DDBltEx(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int dwFlags,
             const int blend[2]) {
  if (g_lpD3DState) {
    DDBltBlend(lpDst, x, y, w, h, lpSrc, sx, sy, w, h, dwFlags, blend);
    return;
  }
  DDBlt(lpDst, x, y, w, h, lpSrc, sx, sy, dwFlags);
}

void DDFillRectPal(DDSURFACEDATA* lpSD, int x, int y, int w, int h, std::uint32_t dwPalNum) {
  DDFillRect(lpSD, x, y, w, h, PalNumToRGB(dwPalNum));
}

void DDClearSurfacePal(DDSURFACEDATA* lpSD, std::uint32_t dwPalNum) {
  if (lpSD) DDFillRectPal(lpSD, 0, 0, lpSD->nWidth, lpSD->nHeight, dwPalNum);
}

int DDFillRect(DDSURFACEDATA* lpSD, int x, int y, int w, int h, std::uint32_t dwColor) {
  if (g_lpD3DState) return Direct3DFillRect(lpSD, x, y, w, h, dwColor);
  DirectDrawSurface7* surface = DirectDrawOf(lpSD);
  if (!surface) return 0;
  const FillArea area = ClipFill(lpSD, x, y, w, h);
  if (area.Empty()) return 0;
  const RECT rect{area.left, area.top, area.right, area.bottom};
  DDBLTFX fx;
  fx.dwSize = kDDBltFxSize;
  fx.dwFillColor = dwColor;
  return surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

int DDIsFullScreenBackBuffer(const DDSURFACEDATA* lpSD) { return lpSD == &g_sdBackBuffer && g_nWindowMode == 0 ? 1 : 0; }
