#include "graphics/screen_fade.h"

#include <algorithm>
#include <cstring>

#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/fade_progress.h"
#include "graphics/palette_colours.h"
#include "graphics/palette_effects.h"
#include "graphics/scene.h"
#include "graphics/surface_effects.h"

using namespace platform;

namespace {

enum class FadeKind { Out, In };

// Lays black of alpha 255 - a over the frame; false when the scene or the
// target could not be set (the step is tried again next frame).
bool CoverFrame(int nCoverAlpha) {
  DDSURFACEDATA* target = &g_sdBackBuffer;
  DDUseVirBackBuffer(&target);
  if (!target->lpDT) return true;
  const float w = static_cast<float>(target->nWidth), h = static_cast<float>(target->nHeight);
  const float u = target->nTexWidth ? w / static_cast<float>(target->nTexWidth) : 1.0f;
  const float v = target->nTexHeight ? h / static_cast<float>(target->nTexHeight) : 1.0f;
  const std::uint32_t colour = static_cast<std::uint32_t>(nCoverAlpha) << 24;
  const BLTVERTEX quad[4] = {{-0.5f, -0.5f, 0, 1, colour, 0, 0},
                             {-0.5f, h - 0.5f, 0, 1, colour, 0, v},
                             {w - 0.5f, -0.5f, 0, 1, colour, u, 0},
                             {w - 0.5f, h - 0.5f, 0, 1, colour, u, v}};
  lpDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
  lpDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
  lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  Direct3DVertexBuffer9* vb = target->lpDT->lpVB;
  void* data = nullptr;
  if (!vb || FAILED(vb->Lock(0, kBltQuadBytes, &data, 0))) return true;
  std::memcpy(data, quad, kBltQuadBytes);
  vb->Unlock();
  if (!DDBeginScene() || !DDSetRenderTarget(0, target)) return false;
  lpDevice->SetStreamSource(0, vb, 0, sizeof(BLTVERTEX));
  lpDevice->SetFVF(kBltVertexFvf);
  lpDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
  return DDSetRenderTarget(0, g_lpD3DState->lpRestTarget) != 0;
}

// One DirectDraw step at level 0..256 (the picture's weight).
void FadeDirectDraw(PaletteColour* lpPalOut, int nFirst, int nLast, std::uint8_t R, std::uint8_t G, std::uint8_t B,
                    const PaletteColour* lpPalSrc, int nLevel) {
  if (g_nBpp == 8) {
    DDBlendPalette(lpPalOut, nFirst, nLast, nLevel, R, G, B, lpPalSrc);
    const int first = std::max(nFirst, 0), last = std::min(nLast, 255);
    DDSetPaletteEntries(lpPalOut, first, last - first + 1);
  } else if (g_nBpp == 16 || g_nBpp == 24 || g_nBpp == 32) {
    DDFade_UnPal(&g_sdBackBuffer, nLevel, R, G, B, &g_sdScreenCopy);
  }
}

bool Fade(FadeKind kind, PaletteColour* lpPalOut, int nFirst, int nLast, std::uint8_t R, std::uint8_t G,
          std::uint8_t B, double dStep, const PaletteColour* lpPalSrc, std::uint8_t bEnd) {
  const double start = kind == FadeKind::Out ? 90.0 : 0.0, end = 90.0 - start;
  if (g_lpD3DState) {
    double& angle = kind == FadeKind::Out ? g_dFadeOutAngleD3D : g_dFadeInAngleD3D;
    if (bEnd) angle = end;
    if (!CoverFrame(FadeCoverAlpha(angle))) return false;
    return kind == FadeKind::Out ? AdvanceFadeOut(angle, dStep) : AdvanceFadeIn(angle, dStep);
  }
  double& angle = kind == FadeKind::Out ? g_dFadeOutAngleDD : g_dFadeInAngleDD;
  // The still picture the fade works from, taken at its first step.
  if (angle == start && g_nBpp != 8)
    DDBlt(&g_sdScreenCopy, 0, 0, g_sdBackBuffer.nWidth, g_sdBackBuffer.nHeight, &g_sdBackBuffer, 0, 0, 0);
  if (bEnd) angle = end;
  FadeDirectDraw(lpPalOut, nFirst, nLast, R, G, B, lpPalSrc, FadeLevel(angle));
  return kind == FadeKind::Out ? AdvanceFadeOut(angle, dStep) : AdvanceFadeIn(angle, dStep);
}

}  // namespace

bool DDFadeOut(PaletteColour* lpPalOut, int nFirst, int nLast, std::uint8_t R, std::uint8_t G, std::uint8_t B,
               double dStep, const PaletteColour* lpPalSrc, std::uint8_t bEnd) {
  return Fade(FadeKind::Out, lpPalOut, nFirst, nLast, R, G, B, dStep, lpPalSrc, bEnd);
}

bool DDFadeIn(PaletteColour* lpPalOut, int nFirst, int nLast, std::uint8_t R, std::uint8_t G, std::uint8_t B,
              double dStep, const PaletteColour* lpPalSrc, std::uint8_t bEnd) {
  return Fade(FadeKind::In, lpPalOut, nFirst, nLast, R, G, B, dStep, lpPalSrc, bEnd);
}

void DDRotatePalette(PaletteColour* lpPalOut, int nFirst, int nLast, int nCount, int nRotateDir,
                     const PaletteColour* lpPalSrc) {
  if (g_nBpp != 8 && g_nBpp != 16 && g_nBpp != 32) return;
  RotatePaletteRange(lpPalOut, nFirst, nLast, nCount, nRotateDir, lpPalSrc);
}
