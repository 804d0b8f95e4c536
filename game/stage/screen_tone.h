// The screen tone of the running stage: a colour tint or flash over the
// whole screen that the screen-colour command starts and the stage drawing
// applies. A reset leaves no tint (current strength 255).
#pragma once

#include <cstdint>

struct cScreenTone {
  std::int32_t m_bApplied = 0;
  std::uint8_t m_nRed = 0, m_nGreen = 0, m_nBlue = 0;
  std::int32_t m_nIntensity = 0;  // percent
  std::int32_t m_bReturn = 0;
  std::int32_t m_nDuration = 0;   // frames
  std::int32_t m_bFlash = 0;
  std::int32_t m_nRepeat = 0;
  std::int32_t m_bRunning = 0;
  std::int32_t m_nFrame = 0;
  std::int32_t m_nRepeatCount = 0;
  std::int32_t m_nStrength = 255;  // 0..255, 255 no tint
  std::uint8_t m_nPrevRed = 0, m_nPrevGreen = 0, m_nPrevBlue = 0;
  std::int32_t m_nPrevIntensity = 0;
  std::int32_t m_nPrevStrength = 0;

  void Reset() { *this = cScreenTone(); }
};
