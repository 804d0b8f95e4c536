// CPU access to a surface's pixels on either back end.
//
// cSurfaceLock locks one surface for the length of its scope. A DirectDraw
// surface is locked directly. A Direct3D render-target texture is copied into
// its system-memory twin, which is locked; the changes reach the texture all
// at once when the lock ends (until then the texture shows its old pixels).
// The back buffer and system-memory textures are locked directly.
//
// Pixel (x, y) is m_pBits + (y * m_nPitch + x) * m_nBytesPerPixel, for x and
// y inside m_nWidth x m_nHeight (the locked buffer's size, which for a padded
// texture is the texture's size). Get/SetPixel check the position.
// A failed lock leaves m_pBits null: the caller gives up; Unlock then does
// nothing. A surface without objects (a missing image), or whose pixels are
// not g_nBpp deep, is not locked.
#pragma once

#include <cstdint>

#include "graphics/surface_data.h"

class cSurfaceLock {
 public:
  cSurfaceLock() = default;
  explicit cSurfaceLock(DDSURFACEDATA* lpSD) { Lock(lpSD); }
  ~cSurfaceLock() { Unlock(); }
  cSurfaceLock(const cSurfaceLock&) = delete;
  cSurfaceLock& operator=(const cSurfaceLock&) = delete;

  // Whether the pixels are available.
  bool Lock(DDSURFACEDATA* lpSD);
  void Unlock();

  bool Contains(int x, int y) const { return m_pBits && x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight; }
  std::uint8_t* PixelAddress(int x, int y) const {
    return static_cast<std::uint8_t*>(m_pBits) + (static_cast<std::ptrdiff_t>(y) * m_nPitch + x) * m_nBytesPerPixel;
  }
  // The raw pixel value; 0 outside the surface.
  std::uint32_t GetPixel(int x, int y) const;
  // Writes the low m_nBytesPerPixel bytes of the value; ignored outside.
  void SetPixel(int x, int y, std::uint32_t value);

  DDSURFACEDATA* m_lpSD = nullptr;
  void* m_pBits = nullptr;
  int m_nPitch = 0;  // pixels
  int m_nBpp = 0;
  int m_nBytesPerPixel = 0;
  int m_nWidth = 0;
  int m_nHeight = 0;
};

// The DirectDraw lock the guard uses: the whole surface, waiting. In
// Direct3D mode it logs that it is not supported and returns true without
// locking anything.
bool DDLock(DDSURFACEDATA* lpSD, platform::DDSURFACEDESC2* lpDesc, void** lplpBits, int nBpp);
