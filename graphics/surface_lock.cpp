#include "graphics/surface_lock.h"

#include <cstring>

#include "base/report.h"
#include "graphics/device.h"

using namespace platform;

bool DDLock(DDSURFACEDATA* lpSD, DDSURFACEDESC2* lpDesc, void** lplpBits, int nBpp) {
  if (g_lpD3DState) {
    ErrorLog("D3DではDDLockは未対応");
    return true;
  }
  if (!lpSD || !lpSD->lpDDraw || !lpSD->lpDDraw->lpDDS || !lpDesc || !lplpBits) return false;
  lpDesc->dwSize = kDDSurfaceDesc2Size;
  if (FAILED(lpSD->lpDDraw->lpDDS->Lock(nullptr, lpDesc, DDLOCK_WAIT, nullptr))) return false;
  if (nBpp == 8 || nBpp == 16 || nBpp == 24 || nBpp == 32) *lplpBits = lpDesc->lpSurface;
  return true;
}

bool cSurfaceLock::Lock(DDSURFACEDATA* lpSD) {
  Unlock();
  m_nBpp = g_nBpp;
  m_nBytesPerPixel = m_nBpp / 8;
  if (!lpSD || m_nBytesPerPixel <= 0) return false;

  if (g_lpD3DState) {
    D3DTEXTUREDATA* texture = lpSD->lpDT;
    if (!lpDevice || !texture || !texture->lpSurface) return false;
    Direct3DSurface9* locked = texture->lpSurface;
    D3DLOCKED_RECT lock;
    if (texture->bRenderTarget && lpSD != &g_sdBackBuffer) {
      if (!texture->lpSystemSurface) return false;
      if (FAILED(lpDevice->GetRenderTargetData(texture->lpSurface, texture->lpSystemSurface))) {
        DebugErrorBoxF(
            "FAILED( lpDevice->GetRenderTargetData(lpSD->lpDT->lpSurface,lpSD->lpDT->lpSystemSurface) )");
        return false;
      }
      locked = texture->lpSystemSurface;
      if (FAILED(locked->LockRect(&lock, nullptr, 0))) {
        DebugErrorBoxF("FAILED( lpSD->lpDT->lpSystemSurface->LockRect(&lock, NULL, 0) )");
        return false;
      }
    } else if (FAILED(locked->LockRect(&lock, nullptr, 0))) {
      DebugErrorBoxF("FAILED( lpSD->lpDT->lpSurface->LockRect(&(lock), NULL, 0) )");
      return false;
    }
    if (BitsPerPixel(locked->Pixels().Format()) != m_nBpp) {
      locked->UnlockRect();
      ErrorLogF("cSurfaceLock: %d-bit pixels at %d bits", BitsPerPixel(locked->Pixels().Format()), m_nBpp);
      return false;
    }
    m_lpSD = lpSD;
    m_pBits = lock.pBits;
    m_nPitch = lock.Pitch / m_nBytesPerPixel;
    m_nWidth = locked->Pixels().Width();
    m_nHeight = locked->Pixels().Height();
    return true;
  }

  DDSURFACEDESC2 desc;
  void* bits = nullptr;
  if (!lpSD->lpDDraw || !lpSD->lpDDraw->lpDDS || !DDLock(lpSD, &desc, &bits, m_nBpp) || !bits) return false;
  if (static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount) != m_nBpp) {
    // A surface of another depth (a window on a desktop of another depth)
    // would be walked at the wrong pixel size.
    lpSD->lpDDraw->lpDDS->Unlock(nullptr);
    ErrorLogF("cSurfaceLock: %d-bit pixels at %d bits", static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount), m_nBpp);
    return false;
  }
  m_lpSD = lpSD;
  m_pBits = bits;
  m_nPitch = desc.lPitch / m_nBytesPerPixel;
  m_nWidth = static_cast<int>(desc.dwWidth);
  m_nHeight = static_cast<int>(desc.dwHeight);
  return true;
}

void cSurfaceLock::Unlock() {
  if (!m_lpSD || !m_pBits) {
    m_lpSD = nullptr;
    m_pBits = nullptr;
    return;
  }
  if (D3DTEXTUREDATA* texture = m_lpSD->lpDT) {
    if (m_lpSD == &g_sdBackBuffer || !texture->bRenderTarget) {
      texture->lpSurface->UnlockRect();
    } else {
      texture->lpSystemSurface->UnlockRect();
      if (!lpDevice || FAILED(lpDevice->UpdateSurface(texture->lpSystemSurface, nullptr, texture->lpSurface, nullptr)))
        DebugErrorBoxF(
            "FAILED( lpDevice->UpdateSurface(m_lpSD->lpDT->lpSystemSurface, NULL, m_lpSD->lpDT->lpSurface, NULL)");
    }
  } else if (m_lpSD->lpDDraw && m_lpSD->lpDDraw->lpDDS) {
    m_lpSD->lpDDraw->lpDDS->Unlock(nullptr);
  }
  m_lpSD = nullptr;
  m_pBits = nullptr;
}

std::uint32_t cSurfaceLock::GetPixel(int x, int y) const {
  if (!Contains(x, y)) return 0;
  std::uint32_t value = 0;
  std::memcpy(&value, PixelAddress(x, y), static_cast<std::size_t>(m_nBytesPerPixel));
  return value;
}

void cSurfaceLock::SetPixel(int x, int y, std::uint32_t value) {
  if (!Contains(x, y)) return;
  std::memcpy(PixelAddress(x, y), &value, static_cast<std::size_t>(m_nBytesPerPixel));
}
