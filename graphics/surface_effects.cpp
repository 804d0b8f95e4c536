#include "graphics/surface_effects.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/report.h"
#include "graphics/blit.h"
#include "graphics/blit_quad.h"
#include "graphics/circle_rows.h"
#include "graphics/device.h"
#include "graphics/fade_tint.h"
#include "graphics/locked_pixels.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "graphics/surface.h"
#include "platform/files.h"

using namespace platform;

std::uint8_t g_BlendTable[kBlendTableSize];

void DDBltCircle(DDSURFACEDATA* lpDst, int x, int y, int nClipHalfWidth, int nClipHalfHeight, int nRadius, int nBand,
                 DDSURFACEDATA* lpSrc, int sx, int sy, int dwFlags) {
  if (nRadius <= 0 || nBand <= 0 || !lpDst || !lpSrc) return;
  DDResolveLink(&lpDst);
  DDResolveLink(&lpSrc);
  for (const CircleBlt& row : CircleBltRows(x, y, nClipHalfWidth, nClipHalfHeight, nRadius, nBand, lpDst->nHeight,
                                            lpSrc->nWidth, sx, sy)) {
    if (g_lpD3DState) {
      DDBltStretch(lpDst, row.destinationX, row.destinationY, row.width, row.rows, lpSrc, row.sourceX, row.sourceY,
                   row.width, row.rows, dwFlags);
    } else {
      DDBlt(lpDst, row.destinationX, row.destinationY, row.width, row.rows, lpSrc, row.sourceX, row.sourceY, dwFlags);
    }
  }
}

int DDLoadBlendTable(std::uint8_t* lpTable, const char* lpPath) {
  if (g_lpD3DState) return 1;
  if (!lpTable || !lpPath) return 0;
  std::FILE* file = std::fopen(MapPath(lpPath).c_str(), "rb");
  if (!file) return 0;
  std::fread(lpTable, 1, kBlendTableSize, file);
  std::fclose(file);
  return 1;
}

int DDFade_UnPal(DDSURFACEDATA* lpDst, int nLevel, std::uint8_t bRed, std::uint8_t bGreen, std::uint8_t bBlue,
                 DDSURFACEDATA* lpSrc) {
  if (g_lpD3DState) {
    ErrorLog("D3DではDDFade_UnPalは未対応");
    return 1;
  }
  cSurfaceLock destination(lpDst);
  if (!destination.m_pBits) return 0;
  cSurfaceLock source(lpSrc);
  if (!source.m_pBits) return 0;
  FadePixels(LockedPixels(destination), LockedPixels(source), nLevel, {bRed, bGreen, bBlue}, g_cfSurface);
  return 1;
}

int DDChangeColor(DDSURFACEDATA* lpSD, int x, int y, int nWidth, int nHeight, int nAlpha, std::uint8_t bRed,
                  std::uint8_t bGreen, std::uint8_t bBlue) {
  if (!g_lpD3DState) {
    ErrorLog(
        "DDrawでは DDChangeColor(DDSURFACEDATA *lpSD,int x,int y,int nWidth,int nHeight,int nAlpha,BYTE bRed,BYTE "
        "bGreen,BYTE bBlue) は未対応");
    return 1;
  }
  if (!lpSD) return 1;
  DDResolveLink(&lpSD);
  DDUseVirBackBuffer(&lpSD);
  if (!lpSD->lpDT || !lpSD->lpDT->lpSurface) return 1;
  if (g_lpD3DState->bVirBackBuffer) {
    cSurfaceLock lock(lpSD);
    if (lock.m_pBits) TintPixels(LockedPixels(lock), x, y, nWidth, nHeight, nAlpha, {bRed, bGreen, bBlue}, g_cfSurface);
    return 1;
  }
  // Strengths outside 0..255 (a screen tone above full) would overflow the
  // alpha byte.
  const auto alpha = static_cast<std::uint32_t>(255 - std::clamp(nAlpha, 0, 255));
  const std::uint32_t colour = alpha << 24 | std::uint32_t{bRed} << 16 | std::uint32_t{bGreen} << 8 | bBlue;
  const float right = static_cast<float>(lpSD->nWidth), bottom = static_cast<float>(lpSD->nHeight);
  const float u = lpSD->nTexWidth ? right / static_cast<float>(lpSD->nTexWidth) : 1.0f;
  const float v = lpSD->nTexHeight ? bottom / static_cast<float>(lpSD->nTexHeight) : 1.0f;
  const BLTVERTEX quad[4] = {{-0.5f, -0.5f, 0, 1, colour, 0, 0},
                             {-0.5f, bottom - 0.5f, 0, 1, colour, 0, v},
                             {right - 0.5f, -0.5f, 0, 1, colour, u, 0},
                             {right - 0.5f, bottom - 0.5f, 0, 1, colour, u, v}};
  Direct3DVertexBuffer9* vb = lpSD->lpDT->lpVB;
  void* data = nullptr;
  if (!vb || FAILED(vb->Lock(0, kBltQuadBytes, &data, 0))) return 1;
  std::memcpy(data, quad, kBltQuadBytes);
  vb->Unlock();
  if (!DDBeginScene() || !DDSetRenderTarget(0, lpSD)) return 1;
  SetTextureDiffuseStage(D3DTOP_MODULATE, D3DTOP_MODULATE);
  // No texture, also on a surface that has one: the quad would read the
  // pixels it writes; untextured, it lays the plain tint over any surface.
  lpDevice->SetTexture(0, nullptr);
  lpDevice->SetStreamSource(0, vb, 0, sizeof(BLTVERTEX));
  lpDevice->SetFVF(kBltVertexFvf);
  lpDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
  DDSetRenderTarget(0, g_lpD3DState->lpRestTarget);
  return 1;
}
