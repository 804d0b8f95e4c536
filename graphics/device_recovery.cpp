#include "graphics/device_recovery.h"

#include <cstring>

#include "base/report.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/surface.h"
#include "graphics/surface_file.h"

using namespace platform;

namespace {

bool HasImageFile(const DDSURFACEDATA& surface) {
  return surface.szFileName[0] != '\0' && std::strcmp(surface.szFileName, "E") != 0;
}

template <class T>
void ReleaseAndClear(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

// Everything in the default pool goes: system-memory textures, the CPU
// twins and the managed vertex buffers survive a reset.
void ReleaseVideoMemory() {
  for (DDSURFACEDATA* surface : g_listTexture) {
    D3DTEXTUREDATA& texture = *surface->lpDT;
    ReleaseAndClear(texture.lpSurface);
    if (!texture.bSystemMemory) ReleaseAndClear(texture.lpTexture);
  }
  for (Font* font : g_listFont) {
    if (font->lpD3DXFont) font->lpD3DXFont->OnLostDevice();
    if (font->lpD3DXSprite) font->lpD3DXSprite->OnLostDevice();
  }
  if (g_sdBackBuffer.lpDT) ReleaseAndClear(g_sdBackBuffer.lpDT->lpSurface);
}

void RecreateTextures() {
  int i = 0;
  for (DDSURFACEDATA* surface : g_listTexture) {
    D3DTEXTUREDATA& texture = *surface->lpDT;
    ErrorLogF("i = %d lpSD->szSurfaceType = %s lpSD->szFileName = %s Size = (%d,%d)", i++, surface->szSurfaceType,
              surface->szFileName, surface->nWidth, surface->nHeight);
    const int bAlias = surface->lpLinkSD ? 1 : 0;
    if (HasImageFile(*surface)) {
      DDCreateSurfaceFromFile(surface, surface->szFileName, texture.bTransmit, surface->nWidth,
                              surface->bSystemMemory, texture.bSystemMemory, bAlias, 0, surface->nMirrorWidth,
                              surface->nMirrorHeight, 1);
    } else {
      DDCreateSurface(surface, surface->nWidth, surface->nHeight, texture.bTransmit, surface->bSystemMemory,
                      texture.bSystemMemory, bAlias, 1);
      texture.bRecreated = 1;
    }
  }
}

// The digit strips belong to the fonts, so nobody else would redraw them.
void RedrawDigitStrips() {
  for (int i = 0; i < 3; ++i) {
    D3DTEXTUREDATA* texture = g_DigitSurface[i].lpDT;
    if (!texture || !texture->bRecreated) continue;
    DDRenderDigits(&g_DigitSurface[i], &g_Font[i]);
    texture->bRecreated = 0;
  }
}

}  // namespace

int DDRestoreSurface() {
  if (!g_lpD3DState) {
    ErrorLog("DDではDDRestoreSurfaceは未対応");
    return 1;
  }
  if (!lpDevice) return 0;
  ReleaseVideoMemory();
  // A device that is not lost (any more) may be reset as well: what was
  // just released has to be made again either way.
  const HRESULT level = lpDevice->TestCooperativeLevel();
  if (level != D3DERR_DEVICENOTRESET && level != D3D_OK) return 0;
  if (FAILED(lpDevice->Reset(&g_lpD3DState->PresentParams))) return 0;
  DDSetRenderStates();
  lpDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &g_sdBackBuffer.lpDT->lpSurface);
  g_lpD3DState->bInScene = 0;  // a reset ends the scene
  RecreateTextures();
  for (Font* font : g_listFont) font->Restore();
  RedrawDigitStrips();
  if (g_nWindowMode == 0) ShowWindow(g_hWndDD, SW_SHOWNORMAL);
  return 1;
}

bool DDRestore() {
  if (g_lpD3DState) {
    ErrorLog("D3DではDDRestoreは未対応");
    return true;
  }
  DirectDrawSurface7* primary = g_sdPrimary.lpDDraw ? g_sdPrimary.lpDDraw->lpDDS : nullptr;
  if (!primary || primary->IsLost() != DDERR_SURFACELOST) return true;
  primary->Restore();
  DirectDrawSurface7* back = g_sdBackBuffer.lpDDraw ? g_sdBackBuffer.lpDDraw->lpDDS : nullptr;
  if (back && back->IsLost() == DDERR_SURFACELOST) back->Restore();
  for (int n = 0; g_lpSurfaceTable && n < g_nImageCount; ++n) DDRestoreLostSurface(&g_lpSurfaceTable[n]);
  if (g_nBpp == 8) DDSetPaletteEntries(g_palOriginal.data(), 0, 256);
  for (Font* font : g_listFont) font->Restore();
  return true;
}

bool DDRestoreLostSurface(DDSURFACEDATA* lpSD) {
  DirectDrawSurface7* surface = lpSD && lpSD->lpDDraw ? lpSD->lpDDraw->lpDDS : nullptr;
  if (!surface || surface->IsLost() != DDERR_SURFACELOST) return true;
  surface->Restore();
  if (lpSD->bSystemMemory) return true;
  if (HasImageFile(*lpSD)) return DDReloadSurface(lpSD, g_nBpp);
  DDClearSurfacePal(lpSD, 0);
  lpSD->lpDDraw->bRestored = 1;
  return true;
}
