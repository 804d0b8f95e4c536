// A picture shown over the stage by the picture command: the stage keeps
// it in its picture list and draws it in its drawing layer's turn.
//
// A timed picture (display mode 2) counts its frames down, also while the
// game is paused when it counts while paused, and ends when the count falls
// below 0. A screen-fixed picture keeps the screen place of its first
// drawing; any other follows the stage as the view scrolls.
#pragma once

#include <cstdint>

#include "game/draw/draw_target.h"
#include "game/overlays/captured_position.h"

class cPicture {
 public:
  void Setup(int nPicture, double x, double y, int nWidth, int nHeight, int bScreenFixed, int nLayer, int nScale,
             int nDisplayMode, int nTime, int bCountWhilePaused, int nValue1, int nValue2);
  // Draws the image onto dst; 1 when the picture has ended (nothing drawn).
  int Draw(cDrawTarget& target, sSurface dst, sSurface image, int bPaused);

  std::int32_t m_nPicture = 0;
  double m_dX = 0, m_dY = 0;  // top-left corner in stage pixels
  std::int32_t m_nWidth = 0, m_nHeight = 0;
  std::int32_t m_bStretch = 0;
  std::int32_t m_nLayer = 0;
  std::int32_t m_nDisplayMode = 0;  // 2 timed
  std::int32_t m_nTime = 0;
  std::int32_t m_bCountWhilePaused = 0;
  std::int32_t m_bScreenFixed = 0;
  sCapturedPosition m_Captured;
  std::int32_t m_nValue1 = 0, m_nValue2 = 0;  // kept for the picture command
};

constexpr int DISPLAY_TIMED = 2;
