// A small surface of the running device whose pixels a test sets and reads
// as raw values of the mode (palette indices, 16-bit or 32-bit pixels).
// In Direct3D mode it is a render-target texture, or with systemMemory a
// system-memory texture (which the device cannot draw, so the effects
// compute its pixels). Released when it goes away.
#pragma once

#include <cstdint>

#include <gtest/gtest.h>

#include "graphics/surface.h"
#include "graphics/surface_lock.h"

class RawSurface {
 public:
  RawSurface(int width, int height, std::uint32_t value, bool systemMemory = false) {
    EXPECT_TRUE(DDCreateSurface(&m_Surface, width, height, 1, 0, systemMemory ? 1 : 0, 0, 0));
    Fill(value);
  }
  ~RawSurface() { DDReleaseSurface(&m_Surface); }
  RawSurface(const RawSurface&) = delete;
  RawSurface& operator=(const RawSurface&) = delete;

  DDSURFACEDATA* Surface() { return &m_Surface; }
  void Fill(std::uint32_t value) {
    cSurfaceLock lock(&m_Surface);
    for (int y = 0; y < m_Surface.nHeight; ++y)
      for (int x = 0; x < m_Surface.nWidth; ++x) lock.SetPixel(x, y, value);
  }
  void Set(int x, int y, std::uint32_t value) {
    cSurfaceLock lock(&m_Surface);
    lock.SetPixel(x, y, value);
  }
  std::uint32_t At(int x, int y) {
    cSurfaceLock lock(&m_Surface);
    return lock.GetPixel(x, y);
  }

 private:
  DDSURFACEDATA m_Surface;
};
