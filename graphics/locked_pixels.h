// The pixels of a locked surface in the form the pixel routines take
// (graphics/bitmap_copy.h), cut to the surface's picture (a padded texture
// locks larger than its picture).
#pragma once

#include <algorithm>

#include "graphics/bitmap_copy.h"
#include "graphics/surface_lock.h"

inline SurfacePixels LockedPixels(const cSurfaceLock& lock) {
  if (!lock.m_pBits || !lock.m_lpSD) return {};
  return {static_cast<std::uint8_t*>(lock.m_pBits), lock.m_nPitch * lock.m_nBytesPerPixel,
          std::min(lock.m_nWidth, lock.m_lpSD->nWidth), std::min(lock.m_nHeight, lock.m_lpSD->nHeight), lock.m_nBpp};
}
