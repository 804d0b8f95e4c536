#include "game/stage/scroll_axis.h"

#include <algorithm>

namespace {
constexpr int kTile = 32;
constexpr int kMargin = 10;
}  // namespace

void cScrollAxis::SetUp(int nAxis, int nCells, int nExtra) {
  nCells = std::max(nCells, 0);
  m_nAxis = nAxis;
  m_nView = nAxis == 0 ? 640 : 480;
  m_nMargin = kMargin;
  m_nOuter = 640 + nExtra;
  m_nCells = nCells + 2 * kMargin;
  if (nAxis == 0) {
    // A row holds at least the map's width plus both margins.
    m_nShift = 0;
    for (int n = nCells + 2 * kMargin - 1; n > 0; n >>= 1) ++m_nShift;
    m_nPitch = 1 << m_nShift;
  } else {
    m_nShift = 0;
    m_nPitch = nCells + 2 * kMargin;
  }
  m_nRangeMin = kMargin * kTile;
  m_nRangeMax = std::max((nCells + kMargin) * kTile, 0);
}

void cScrollAxis::Clamp(int) {
  if (m_dPos < m_nMin) {
    m_dPos = m_nMin;
    m_bClamped = 1;
  } else if (m_dPos + m_nView < m_nMax) {
    m_bClamped = 0;
  } else {
    m_dPos = std::max(m_nMax - m_nView, m_nMin);
    m_bClamped = 1;
  }
}

void cScrollAxis::Step() {
  m_dPos += m_dSpeed;
  Clamp(0);
}

void cScrollAxis::SetAutoScroll(int bOn, int nSpeed, double subSteps) {
  if (!bOn) {
    m_dSpeed = 0.0;
    m_bAuto = 0;
    return;
  }
  m_dSpeed = nSpeed * 0.1 / std::max(subSteps, 1.0);
  m_bAuto = 1;
}

void cScrollAxis::SetLimits(int nFirst, int nLast, int bFirst, int bLast) {
  m_nMin = bFirst ? kMargin * kTile + nFirst * kTile : m_nRangeMin;
  m_nMax = bLast ? std::max(kMargin * kTile + (nLast + 1) * kTile, m_nMin) : m_nRangeMax;
}
