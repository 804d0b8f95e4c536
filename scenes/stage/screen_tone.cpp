#include "scenes/stage/screen_tone.h"

#include <algorithm>
#include <cmath>

#include "graphics/device.h"
#include "graphics/palette_colours.h"
#include "graphics/palette_effects.h"
#include "graphics/surface_effects.h"

namespace {

constexpr int kNoTint = 255;
constexpr int kFramesPerTenth = 6;

int ClampStrength(double strength) { return static_cast<int>(std::clamp(std::trunc(strength), 0.0, 255.0)); }

// Direct3D: the back buffer keeps strength / 256 of its colours; no tint
// leaves it alone.
void TintBackBuffer(int nStrength, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  if (nStrength >= kNoTint) return;
  DDChangeColor(&g_sdBackBuffer, 0, 0, g_sdBackBuffer.nWidth, g_sdBackBuffer.nHeight, nStrength, r, g, b);
}

// 8 bits: the shown palette is the loaded one blended toward the colour; no
// tint shows the loaded palette itself.
void TintPalette(int nStrength, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  if (nStrength >= kNoTint)
    g_palOriginal = g_palCurrent;
  else
    DDBlendPalette(g_palOriginal.data(), 0, 255, nStrength, r, g, b, g_palCurrent.data());
  DDSetPaletteEntries(g_palOriginal.data(), 0, 256);
}

}  // namespace

void cScreenTone::Start(const std::int32_t (&p)[8]) {
  const bool tinted = g_lpD3DState ? m_bRunning != 0 : m_bApplied != 0;
  if (p[4] != 0 && !tinted) return;
  m_nPrevRed = m_nRed;
  m_nPrevGreen = m_nGreen;
  m_nPrevBlue = m_nBlue;
  m_nPrevIntensity = m_nIntensity;
  m_nPrevStrength = m_nStrength;
  m_bReturn = p[4];
  const std::int64_t frames = static_cast<std::int64_t>(p[5]) * kFramesPerTenth;
  m_nDuration = static_cast<std::int32_t>(std::clamp<std::int64_t>(frames, 0, INT32_MAX));
  m_bFlash = p[6];
  m_nRepeatCount = p[7];
  m_bRunning = 1;
  m_nFrame = 0;
  m_nRepeat = 0;
  if (m_bReturn) return;  // the tone in force stays until the ramp back
  m_nRed = static_cast<std::uint8_t>(p[0]);
  m_nGreen = static_cast<std::uint8_t>(p[1]);
  m_nBlue = static_cast<std::uint8_t>(p[2]);
  m_nIntensity = std::clamp(p[3], 0, 100);
  m_nStrength = 0;
  m_bApplied = 1;
}

double cScreenTone::Progress() const {
  if (m_nDuration == 0) return 1.0;
  return std::min(static_cast<double>(m_nFrame) / m_nDuration, 1.0);
}

int cScreenTone::RampStrength() const { return ClampStrength(kNoTint - Progress() * m_nIntensity * 2.55); }

void cScreenTone::EndFlash() {
  m_nFrame = 0;
  if (++m_nRepeat >= m_nRepeatCount) m_bRunning = 0;
}

void cScreenTone::Update(int bPaused) {
  if (!m_bRunning) return;
  if (g_lpD3DState) {
    UpdateDirect3D(bPaused);
  } else if (g_lpDDState && g_nBpp == 8) {
    if (!bPaused) UpdatePalette();
  } else {
    m_bRunning = 0;
  }
}

void cScreenTone::UpdateDirect3D(int bPaused) {
  const bool over = m_nFrame >= m_nDuration;
  if (m_bFlash) {
    if (over) {
      m_nStrength = kNoTint;
      if (!bPaused) EndFlash();
      return;
    }
    m_nStrength = RampStrength();
    TintBackBuffer(m_nStrength, m_nRed, m_nGreen, m_nBlue);
  } else if (m_bReturn) {
    m_nStrength = ClampStrength(m_nDuration ? Progress() * (kNoTint - m_nPrevStrength) + m_nPrevStrength : kNoTint);
    TintBackBuffer(m_nStrength, m_nPrevRed, m_nPrevGreen, m_nPrevBlue);
    if (over && !bPaused) {
      m_bRunning = 0;
      return;
    }
  } else {
    m_nStrength = RampStrength();
    TintBackBuffer(m_nStrength, m_nRed, m_nGreen, m_nBlue);
    if (over && m_nIntensity == 0 && !bPaused) {
      m_bRunning = 0;
      return;
    }
  }
  if (!bPaused && m_nFrame < INT32_MAX) ++m_nFrame;  // a held tone counts on without wrapping
}

void cScreenTone::UpdatePalette() {
  const bool over = m_nFrame >= m_nDuration;
  if (m_bFlash) {
    if (over) {
      m_nStrength = kNoTint;
      TintPalette(kNoTint, m_nRed, m_nGreen, m_nBlue);
      EndFlash();
      return;
    }
    m_nStrength = RampStrength();
    TintPalette(m_nStrength, m_nRed, m_nGreen, m_nBlue);
  } else if (m_bReturn) {
    m_nStrength = ClampStrength(m_nDuration ? Progress() * (kNoTint - m_nPrevStrength) + m_nPrevStrength : kNoTint);
    TintPalette(m_nStrength, m_nPrevRed, m_nPrevGreen, m_nPrevBlue);
  } else {
    m_nStrength = RampStrength();
    TintPalette(m_nStrength, m_nRed, m_nGreen, m_nBlue);
  }
  if (over && !m_bFlash) {
    m_bRunning = 0;
    return;
  }
  ++m_nFrame;
}
