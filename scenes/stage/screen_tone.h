// The screen tone of a stage: a colour laid over the whole frame, ramped in
// over a duration, held, flashed a number of times, or returned to no tint.
// The screen-colour flow command starts it; the stage drawing updates it
// last in every frame.
//
// Direct3D tints the finished back buffer every frame; DirectDraw at 8 bits
// blends the shown palette from the loaded one instead (and leaves it as it
// is while paused); other modes have no tone (it stops at once).
//
// Strength is what is kept of the picture: 255 no tint, 0 the colour alone.
// At intensity s (percent) after t of T frames the strength is
// 255 - min(t / T, 1) x s x 2.55.
#pragma once

#include <cstdint>

class cScreenTone {
 public:
  // The command's eight values: red, green, blue, intensity (percent, kept
  // within 0..100), return flag, duration in tenths of a second (0 or more),
  // flash flag, repeat count. A return ramps from the tone in force back to
  // no tint over the new duration; it is ignored when nothing is tinted.
  void Start(const std::int32_t (&p)[8]);
  // One frame of the tone while it runs; bPaused draws without advancing.
  void Update(int bPaused);

  std::int32_t m_bApplied = 0;
  std::uint8_t m_nRed = 0, m_nGreen = 0, m_nBlue = 0;
  std::int32_t m_nIntensity = 0;
  std::int32_t m_bReturn = 0;
  std::int32_t m_nDuration = 0;  // frames
  std::int32_t m_bFlash = 0;
  std::int32_t m_nRepeatCount = 0;
  std::int32_t m_bRunning = 0;
  std::int32_t m_nFrame = 0;
  std::int32_t m_nRepeat = 0;
  std::int32_t m_nStrength = 255;
  // The tone in force when the last one started.
  std::uint8_t m_nPrevRed = 0, m_nPrevGreen = 0, m_nPrevBlue = 0;
  std::int32_t m_nPrevIntensity = 0;
  std::int32_t m_nPrevStrength = 255;

 private:
  // The strength of the plain ramp at the current frame.
  int RampStrength() const;
  // Progress t / T within 0..1 (1 without a duration).
  double Progress() const;
  void UpdateDirect3D(int bPaused);
  void UpdatePalette();
  // A flash's end: the counter starts again until the repeats are done.
  void EndFlash();
};
