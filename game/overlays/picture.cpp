#include "game/overlays/picture.h"

#include <cmath>

#include "game/core/numeric.h"
#include "game/stage/stage_play.h"

void cPicture::Setup(int nPicture, double x, double y, int nWidth, int nHeight, int bScreenFixed, int nLayer,
                     int nScale, int nDisplayMode, int nTime, int bCountWhilePaused, int nValue1, int nValue2) {
  m_nPicture = nPicture;
  m_dX = x;
  m_dY = y;
  m_nWidth = nWidth;
  m_nHeight = nHeight;
  m_bStretch = nScale != 100;
  m_nLayer = nLayer;
  m_nDisplayMode = nDisplayMode;
  m_nTime = nTime;
  m_bCountWhilePaused = bCountWhilePaused;
  m_bScreenFixed = bScreenFixed;
  m_Captured.Release();
  m_nValue1 = nValue1;
  m_nValue2 = nValue2;
}

int cPicture::Draw(cDrawTarget& target, sSurface dst, sSurface image, int bPaused) {
  if (m_nDisplayMode == DISPLAY_TIMED) {
    if (!bPaused || m_bCountWhilePaused) --m_nTime;
    if (m_nTime < 0) return 1;
  }
  int x = TruncToInt(m_dX) - TruncToInt(g_pStageScene->m_ScrollX.m_dPos);
  int y = TruncToInt(m_dY) - TruncToInt(g_pStageScene->m_ScrollY.m_dPos);
  if (m_bScreenFixed) m_Captured.Hold(x, y);
  if (m_bStretch) {
    int w = 0, h = 0;
    if (target.SurfaceSize(image, w, h)) target.BltStretch(dst, x, y, m_nWidth, m_nHeight, image, 0, 0, w, h, kColourKey);
  } else {
    target.Blt(dst, x, y, m_nWidth, m_nHeight, image, 0, 0, kColourKey);
  }
  return 0;
}
