// A hit box of an object: its edges in map pixels and where it sits in the
// object's box, at the current size scale and at scale 1.
#pragma once

struct sHitBox {
  double m_dLeft = 0, m_dTop = 0, m_dRight = 0, m_dBottom = 0;
  int m_nOffX = 0, m_nOffY = 0, m_nWidth = 0, m_nHeight = 0;
  int m_nBaseOffX = 0, m_nBaseOffY = 0, m_nBaseWidth = 0, m_nBaseHeight = 0;
};
