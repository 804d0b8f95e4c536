#include "graphics/scene.h"

#include "base/report.h"
#include "graphics/blit.h"
#include "graphics/device.h"

using namespace platform;

namespace {

bool HasLevelSurface(const DDSURFACEDATA& surface) { return surface.lpDT && surface.lpDT->lpSurface; }

}  // namespace

int DDBeginScene() {
  if (!g_lpD3DState || !lpDevice) return 0;
  if (g_lpD3DState->bInScene) return 1;
  const HRESULT hr = lpDevice->BeginScene();
  if (FAILED(hr)) {
    ReportLogF("BeginScene Err %x", static_cast<unsigned>(hr));
    return 0;
  }
  g_lpD3DState->bInScene = 1;
  return 1;
}

void DDEndScene() {
  if (!g_lpD3DState || !lpDevice || !g_lpD3DState->bInScene) return;
  lpDevice->EndScene();
  g_lpD3DState->bInScene = 0;
}

int DDSetRenderTarget(int, DDSURFACEDATA* lpSD) {
  if (!g_lpD3DState || !lpDevice || !lpSD || !lpSD->lpDT || !lpSD->lpDT->bRenderTarget || !lpSD->lpDT->lpSurface)
    return 0;
  const HRESULT hr = lpDevice->SetRenderTarget(0, lpSD->lpDT->lpSurface);
  if (FAILED(hr)) {
    ReportLogF("SetRenderTarget Err %x (%s)", static_cast<unsigned>(hr), lpSD->szFileName);
    return 0;
  }
  return 1;
}

void DDSetVirBackBuffer(int bOn) {
  if (!g_lpD3DState) return;
  if (g_lpD3DState->bVirBackBuffer && !bOn && HasLevelSurface(g_sdVirBackBuffer))
    DDCopyVirBackBuffer(&g_sdBackBuffer, &g_sdVirBackBuffer);
  g_lpD3DState->bVirBackBuffer = bOn;
  g_lpD3DState->lpRestTarget = bOn ? &g_sdBackBuffer : &g_sdVirBackBuffer;
  if (HasLevelSurface(*g_lpD3DState->lpRestTarget)) DDSetRenderTarget(0, g_lpD3DState->lpRestTarget);
}

int DDUseVirBackBuffer(DDSURFACEDATA** lplpSD) {
  if (!g_lpD3DState || !g_lpD3DState->bVirBackBuffer || !lplpSD || *lplpSD != &g_sdBackBuffer) return 0;
  *lplpSD = &g_sdVirBackBuffer;
  return 1;
}

void DDCopyVirBackBuffer(DDSURFACEDATA* lpDest, DDSURFACEDATA* lpSrc) {
  if (!g_lpD3DState || !lpDest || !lpSrc || !HasLevelSurface(*lpDest) || !HasLevelSurface(*lpSrc)) return;
  g_lpD3DState->bCopyingVirBackBuffer = 1;
  DDBlt(lpDest, 0, 0, lpSrc->nWidth, lpSrc->nHeight, lpSrc, 0, 0, 0);
  g_lpD3DState->bCopyingVirBackBuffer = 0;
}

int DDPresent() {
  if (!g_lpD3DState || !lpDevice) return 1;
  if (g_lpD3DState->bVirBackBuffer) DDCopyVirBackBuffer(&g_sdBackBuffer, &g_sdVirBackBuffer);
  DDEndScene();
  if (lpDevice->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) {
    if (g_nWindowMode == 0) ShowWindow(g_hWndDD, SW_SHOWMINNOACTIVE);
    return 0;
  }
  return 1;
}
