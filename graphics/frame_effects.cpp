#include "graphics/frame_effects.h"

#include "graphics/blit.h"
#include "graphics/effect_geometry.h"

namespace {

void DrawBands(DDSURFACEDATA* lpDst, const std::vector<BandBlt>& bands, DDSURFACEDATA* lpSrc, int dwFlags) {
  for (const BandBlt& b : bands) DDBlt(lpDst, b.x, b.y, b.w, b.h, lpSrc, b.sx, b.sy, dwFlags);
}

}  // namespace

void DDDrawFrame(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nThick, std::uint32_t dwPalNum) {
  for (const FillRect& edge : FrameEdges(x, y, w, h, nThick))
    DDFillRectPal(lpDst, edge.x, edge.y, edge.w, edge.h, dwPalNum);
}

void DDBltFrame(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int nThick,
                std::uint32_t dwPalNum) {
  DDBlt(lpDst, x, y, w, h, lpSrc, 0, 0, 0);
  DDDrawFrame(lpDst, x - nThick, y - nThick, w + 2 * nThick, h + 2 * nThick, nThick, dwPalNum);
}

void DDDrawNumber(DDSURFACEDATA* lpDst, int x, int y, int cw, int ch, DDSURFACEDATA* lpSrc, int sx, int sy,
                  int dwFlags, int nValue, int nMinDigits, int bCenter) {
  DrawBands(lpDst, NumberCells(x, y, cw, ch, sx, sy, nValue, nMinDigits, bCenter != 0), lpSrc, dwFlags);
}

void DDBltWave(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nCycles, double dAmplitude, int nPhase,
               int nBand, DDSURFACEDATA* lpSrc, int sx, int sy, int dwFlags, int bColumns) {
  DrawBands(lpDst, WaveBands(x, y, w, h, nCycles, dAmplitude, nPhase, nBand, sx, sy, bColumns != 0), lpSrc,
            dwFlags);
}

void DDBltInterlace(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nBand, int nShift, DDSURFACEDATA* lpSrc,
                    int sx, int sy, int dwFlags, int bColumns) {
  DrawBands(lpDst, InterlaceBands(x, y, w, h, nBand, nShift, sx, sy, bColumns != 0), lpSrc, dwFlags);
}

void DDBltCardFlip(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrcFront, int sxFront,
                   int syFront, DDSURFACEDATA* lpSrcBack, int sxBack, int syBack, int sw, int sh, int dwFlags,
                   int nFrame, int nAxis) {
  const CardFlipFrame frame = CardFlip(x, y, w, h, nFrame, nAxis);
  if (!frame.bVisible) return;
  const FillRect& r = frame.rect;
  if (frame.bBack)
    DDBltStretch(lpDst, r.x, r.y, r.w, r.h, lpSrcBack, sxBack, syBack, sw, sh, dwFlags);
  else
    DDBltStretch(lpDst, r.x, r.y, r.w, r.h, lpSrcFront, sxFront, syFront, sw, sh, dwFlags);
}

void DDBltQuarters(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy,
                   int nDistance, int dwFlags) {
  DrawBands(lpDst, Quarters(x, y, w, h, sx, sy, nDistance), lpSrc, dwFlags);
}
