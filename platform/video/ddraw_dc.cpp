// GDI device contexts on DirectDraw surfaces.
#include "platform/video/ddraw.h"

namespace platform {

HRESULT DirectDrawSurface7::GetDC(HDC* dc) {
  if (dc == nullptr) return DDERR_INVALIDPARAMS;
  *dc = nullptr;
  if (m_bLost) return DDERR_SURFACELOST;
  if (m_bLocked) return DDERR_SURFACEBUSY;
  const ChannelMasks masks = MasksOf(m_Pixels.Format());
  m_pDC = new DeviceContext;
  m_pDC->pixels = {m_Pixels.Bits(),   m_Pixels.Pitch(), m_Pixels.Width(), m_Pixels.Height(),
                   BitsPerPixel(m_Pixels.Format()), masks.red, masks.green, masks.blue};
  m_bLocked = true;  // GDI holds the surface's lock while its DC is out
  *dc = m_pDC;
  return DD_OK;
}

HRESULT DirectDrawSurface7::ReleaseDC(HDC dc) {
  if (dc == nullptr || dc != m_pDC) return DDERR_INVALIDPARAMS;
  delete m_pDC;
  m_pDC = nullptr;
  m_bLocked = false;
  return DD_OK;
}

}  // namespace platform
