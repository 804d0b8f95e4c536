// One axis of the view onto the stage. Positions are play-map pixels: the
// play map has a margin of 10 cells (320 pixels) on every side of the
// editor's map, so map pixel 320 is the editor's first column (row).
//
// The view [m_dPos, m_dPos + m_nView) stays within [m_nMin, m_nMax]; where
// that range is narrower than the view, the lower limit wins. The limits
// are the stage's range unless the stage names limit cells.
#pragma once

#include <cstdint>

struct cScrollAxis {
  double m_dPos = 0;               // map pixel at the left (top) screen edge
  std::int32_t m_bClamped = 0;     // the last Clamp hit a limit
  std::int32_t m_nAxis = 0;        // 0 horizontal, 1 vertical
  std::int32_t m_nView = 640;      // the screen along the axis
  std::int32_t m_nMin = 0;         // limits of the view
  std::int32_t m_nMax = 0;
  std::int32_t m_nRangeMin = 320;  // first pixel of the stage proper
  std::int32_t m_nRangeMax = 0;    // (cells + 10) x 32, not below 0
  std::int32_t m_nMargin = 10;     // cells of margin before stage cell 0
  std::int32_t m_nOuter = 640;     // far edge of the whole stage area
  std::int32_t m_nCells = 20;      // cells along the axis, margins included
  std::int32_t m_nPitch = 0;       // horizontal: play-map row pitch; vertical: rows
  std::int32_t m_nShift = 0;       // horizontal: the pitch as a power of two
  double m_dSpeed = 0;             // automatic scroll per sub-step
  std::int32_t m_bAuto = 0;        // the axis scrolls by itself
  std::int32_t m_bAutoStopped = 0; // its automatic scrolling is stopped

  // The geometry of a stage of `nCells` cells along this axis whose whole
  // area ends `nExtra` pixels past the screen (the limits are not touched).
  void SetUp(int nAxis, int nCells, int nExtra);
  // Puts the view back within its limits (the argument is not used).
  void Clamp(int);
  // One sub-step of automatic scrolling.
  void Step();
  // Speed in tenths of a pixel per frame; `subSteps` is the stage's
  // sub-steps per frame (at least 1 is used).
  void SetAutoScroll(int bOn, int nSpeed, double subSteps);
  // Limit cells of the editor's map, each used when its switch is on.
  void SetLimits(int nFirst, int nLast, int bFirst, int bLast);

  // Auto-scroll speed of an axis not at a scroll limit, else 0.
  double DriftSpeed() const { return m_bClamped ? 0.0 : m_dSpeed; }
};
