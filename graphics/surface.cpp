#include "graphics/surface.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/checked_access.h"
#include "base/close_request.h"
#include "base/report.h"
#include "graphics/device.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "graphics/surface_file.h"

using namespace platform;

std::list<DDSURFACEDATA*> g_listTexture;

namespace {

bool IsEmptyImage(const char* fileName) { return std::strcmp(fileName, "E") == 0; }

int NextPowerOfTwo(int side) {
  if (side <= 0 || (side & (side - 1)) == 0) return side;
  int highest = 1;
  while (highest <= side / 2) highest <<= 1;
  return highest * 2;
}

void ReportTextureCreationFailed(HRESULT hr, const char* what) {
  ReportLogF("%s Err hr = %x", what, static_cast<unsigned>(hr));
  if (g_lpD3DState && !g_lpD3DState->strTextureError.empty())
    ErrorBoxF("%s", g_lpD3DState->strTextureError.c_str());
  RequestMainWindowCloseForError();
}

bool CreateTextureSurface(DDSURFACEDATA* lpSD, int nWidth, int nHeight, int bTransmit, int bSystemMemory,
                          int bTexSystemMemory, int bAlias, int bRecreate) {
  lpSD->DDAllocSurfaceData();
  D3DTEXTUREDATA& texture = *lpSD->lpDT;
  if (!bRecreate && !DDStartTextureRecord(lpSD, "OffScreen", "E", bTransmit, bTexSystemMemory, bAlias)) return false;
  texture.bRenderTarget = 1;
  if (bAlias) {
    lpSD->nWidth = lpSD->nTexWidth = nWidth;
    lpSD->nHeight = lpSD->nTexHeight = nHeight;
    lpSD->bSystemMemory = bSystemMemory;
    return true;
  }

  int width = nWidth, height = nHeight;
  DDAdjustTextureSize(&width, &height);
  if (!DDCheckTextureSize(width, height, 0))
    ReportLogF("上記の理由でテクスチャの描画が失敗する可能性があります。(空)");

  const D3DFORMAT format = g_lpD3DState->fmtTexture;
  if (!bTexSystemMemory) {
    const HRESULT hr = D3DXCreateTexture(lpDevice, static_cast<UINT>(width), static_cast<UINT>(height), 1,
                                         D3DUSAGE_RENDERTARGET, format, D3DPOOL_DEFAULT, &texture.lpTexture);
    if (hr == D3DERR_OUTOFVIDEOMEMORY) {
      ReportLogF("VRAM不足のためシステムメモリにテクスチャを作成します。(空)");
      texture.bSystemMemory = 1;
    } else if (FAILED(hr)) {
      return false;
    }
  }
  // A system-memory texture survives a reset; one made there because video
  // memory ran out during a re-creation is new.
  if (texture.bSystemMemory) {
    texture.bRenderTarget = 0;
    if (texture.lpSystemSurface) texture.lpSystemSurface->Release();  // only render targets have a twin
    texture.lpSystemSurface = nullptr;
  }
  if (texture.bSystemMemory && !texture.lpTexture) {
    const HRESULT hr = D3DXCreateTexture(lpDevice, static_cast<UINT>(width), static_cast<UINT>(height), 1,
                                         D3DUSAGE_DYNAMIC, format, D3DPOOL_SYSTEMMEM, &texture.lpTexture);
    if (FAILED(hr)) {
      ReportTextureCreationFailed(hr, "D3DXCreateTexture");
      return false;
    }
  }

  const HRESULT levelResult = texture.lpTexture->GetSurfaceLevel(0, &texture.lpSurface);
  if (FAILED(levelResult)) {
    ReportLogF("GetSurfaceLevel Err hr = %x", static_cast<unsigned>(levelResult));
    return false;
  }
  texture.lpTexture->GetLevelDesc(0, &texture.descLevel);
  if (!texture.bSystemMemory && !bRecreate) {
    const HRESULT hr = lpDevice->CreateOffscreenPlainSurface(texture.descLevel.Width, texture.descLevel.Height,
                                                             texture.descLevel.Format, D3DPOOL_SYSTEMMEM,
                                                             &texture.lpSystemSurface, nullptr);
    if (FAILED(hr)) {
      ReportTextureCreationFailed(hr, "CreateOffscreenPlainSurface");
      return false;
    }
  }
  lpSD->nWidth = nWidth;
  lpSD->nHeight = nHeight;
  lpSD->nTexWidth = static_cast<int>(texture.descLevel.Width);
  lpSD->nTexHeight = static_cast<int>(texture.descLevel.Height);

  if (DDSetRenderTarget(0, lpSD)) {
    lpDevice->Clear(0, nullptr, D3DCLEAR_TARGET, g_lpD3DState->dwBackKey, 1.0f, 0);
    DDSetRenderTarget(0, g_lpD3DState->lpRestTarget);
  }
  if (!bRecreate) g_listTexture.push_back(lpSD);
  return true;
}

// Fills a whole DirectDraw surface with palette colour 0.
void FillWithPaletteColour0(DirectDrawSurface7& surface) {
  DDSURFACEDESC2 desc;
  desc.dwSize = kDDSurfaceDesc2Size;
  if (FAILED(surface.Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) return;
  surface.Pixels().FillRaw(nullptr, PalNumToRGB(0));
  surface.Unlock(nullptr);
}

bool CreateDirectDrawSurface(DDSURFACEDATA* lpSD, int nWidth, int nHeight, int bTransmit, int bSystemMemory) {
  if (!g_lpDD || nWidth <= 0 || nHeight <= 0) return false;
  lpSD->DDAllocSurfaceData();
  DDSURFACEDESC2 desc;
  desc.dwSize = kDDSurfaceDesc2Size;
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.dwWidth = static_cast<DWORD>(nWidth);
  desc.dwHeight = static_cast<DWORD>(nHeight);
  desc.ddsCaps.dwCaps = bSystemMemory == 0   ? DDSCAPS_OFFSCREENPLAIN
                        : bSystemMemory == 1 ? DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY
                                             : 0;
  bool inSystemMemory = bSystemMemory == 1;
  if (FAILED(g_lpDD->CreateSurface(&desc, &lpSD->lpDDraw->lpDDS, nullptr))) {
    if (!inSystemMemory) {
      desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
      inSystemMemory = true;
    }
    if (FAILED(g_lpDD->CreateSurface(&desc, &lpSD->lpDDraw->lpDDS, nullptr))) return false;
  }
  if (bTransmit == 1) {
    const DDCOLORKEY key{g_dwTransmit, g_dwTransmit};
    if (FAILED(lpSD->lpDDraw->lpDDS->SetColorKey(DDCKEY_SRCBLT, &key))) return false;
  }
  // The size is set before the fill, which clips against it.
  lpSD->nWidth = lpSD->nTexWidth = nWidth;
  lpSD->nHeight = lpSD->nTexHeight = nHeight;
  lpSD->bSystemMemory = inSystemMemory ? 1 : 0;
  FillWithPaletteColour0(*lpSD->lpDDraw->lpDDS);
  return true;
}

}  // namespace

bool DDCreateSurface(DDSURFACEDATA* lpSD, int nWidth, int nHeight, int bTransmit, int bSystemMemory,
                     int bTexSystemMemory, int bAlias, int bRecreate) {
  if (!lpSD) return false;
  if (g_lpD3DState) {
    if (!lpDevice) return false;
    return CreateTextureSurface(lpSD, nWidth, nHeight, bTransmit, bSystemMemory, bTexSystemMemory, bAlias, bRecreate);
  }
  return CreateDirectDrawSurface(lpSD, nWidth, nHeight, bTransmit, bSystemMemory);
}

bool DDStartTextureRecord(DDSURFACEDATA* lpSD, const char* lpType, const char* lpFileName, int bTransmit,
                          int bTexSystemMemory, int bAlias) {
  D3DTEXTUREDATA& texture = *lpSD->lpDT;
  CopyName(lpSD->szSurfaceType, lpType);
  CopyName(lpSD->szFileName, lpFileName);
  texture.bSystemMemory = bTexSystemMemory;
  texture.lpSurface = texture.lpSystemSurface = nullptr;
  texture.lpTexture = nullptr;
  texture.bTransmit = bTransmit == 1;
  if (bAlias) return true;
  texture.nIndex = g_lpD3DStateAlloc->nTextureCount++;
  const HRESULT hr = lpDevice->CreateVertexBuffer(kBltQuadBytes, D3DUSAGE_WRITEONLY, kBltVertexFvf, D3DPOOL_MANAGED,
                                                  &texture.lpVB, nullptr);
  if (FAILED(hr)) ReportLogF("CreateVertexBuffer Err %x", static_cast<unsigned>(hr));
  return SUCCEEDED(hr);
}

void DDAdjustTextureSize(int* lpWidth, int* lpHeight) {
  if (!g_lpD3DState || !lpWidth || !lpHeight) return;
  if (g_lpD3DState->bPow2) {
    *lpWidth = NextPowerOfTwo(*lpWidth);
    *lpHeight = NextPowerOfTwo(*lpHeight);
  }
  if (g_lpD3DState->bSquareOnly) *lpWidth = *lpHeight = std::max(*lpWidth, *lpHeight);
}

int DDCheckTextureSize(int nWidth, int nHeight, unsigned) {
  if (!g_lpD3DState) return 1;
  int fits = 1;
  if (static_cast<unsigned>(nWidth) > g_lpD3DState->Caps.MaxTextureWidth) {
    ReportLogF("このビデオカードでは横幅%dを超える画像はサポートされていません！",
               static_cast<int>(g_lpD3DState->Caps.MaxTextureWidth));
    fits = 0;
  }
  if (static_cast<unsigned>(nHeight) > g_lpD3DState->Caps.MaxTextureHeight) {
    ReportLogF("このビデオカードでは縦幅%dを超える画像はサポートされていません！",
               static_cast<int>(g_lpD3DState->Caps.MaxTextureHeight));
    fits = 0;
  }
  return fits;
}

void DDReleaseSurface(DDSURFACEDATA* lpSD) {
  if (!lpSD) return;
  if (D3DTEXTUREDATA* texture = lpSD->lpDT) {
    if (!lpSD->lpLinkSD) {
      if (texture->lpTexture) texture->lpTexture->Release();
      if (texture->lpReserved) texture->lpReserved->Release();
      if (texture->lpVB) texture->lpVB->Release();
      if (texture->lpSystemSurface) texture->lpSystemSurface->Release();
      if (texture->lpSurface) texture->lpSurface->Release();
      // By address: serial numbers are not unique (the back buffer and
      // records never numbered share 0).
      g_listTexture.remove(lpSD);
    }
    delete texture;
    lpSD->lpDT = nullptr;
  }
  if (DDRAWSURFACEDATA* surface = lpSD->lpDDraw) {
    if (surface->lpDDS) surface->lpDDS->Release();
    delete surface;
    lpSD->lpDDraw = nullptr;
  }
}

void DDFreeSurface(DDSURFACEDATA* lpSD) { DDReleaseSurface(lpSD); }

void DDReleaseSurfaceVector(DDSurfaceVector& surfaces) {
  for (DDSURFACEDATA& surface : surfaces) DDReleaseSurface(&surface);
}

void DDReleaseSurfaceList(std::list<DDSURFACEDATA>& surfaces) {
  for (DDSURFACEDATA& surface : surfaces) DDReleaseSurface(&surface);
}

namespace {

IMAGEDATA EmptyImage(int bTransmit, int bSystemMemory, int bTexSystemMemory, int bAlias) {
  IMAGEDATA image;
  image.Set("", bTransmit, bSystemMemory, bTexSystemMemory, bAlias, 0, 0, 0, 0, 0, 0);
  return image;
}

}  // namespace

bool DDAddSurface(DDSurfaceVector& surfaces, ImageVector& images, int nWidth, int nHeight, int bTransmit,
                  int bSystemMemory, int bTexSystemMemory, int bAlias) {
  surfaces.emplace_back();
  images.push_back(EmptyImage(bTransmit, bSystemMemory, bTexSystemMemory, bAlias));
  return DDCreateSurface(&surfaces.back(), nWidth, nHeight, bTransmit, bSystemMemory, bTexSystemMemory, bAlias, 0);
}

bool DDAddSurfaceToList(std::list<DDSURFACEDATA>& surfaces, std::list<IMAGEDATA>& images, int nWidth, int nHeight,
                        int bTransmit, int bSystemMemory, int bTexSystemMemory, int bAlias) {
  surfaces.emplace_back();
  images.push_back(EmptyImage(bTransmit, bSystemMemory, bTexSystemMemory, bAlias));
  return DDCreateSurface(&surfaces.back(), nWidth, nHeight, bTransmit, bSystemMemory, bTexSystemMemory, bAlias, 0);
}

int DDRemoveSurfaceFromList(std::list<DDSURFACEDATA>& surfaces, std::list<IMAGEDATA>& images, DDSURFACEDATA* lpSD) {
  const auto found = std::find_if(surfaces.begin(), surfaces.end(), [&](DDSURFACEDATA& s) { return &s == lpSD; });
  if (found == surfaces.end()) return 0;
  const auto position = std::distance(surfaces.begin(), found);
  DDReleaseSurface(&*found);
  surfaces.erase(found);
  if (position < static_cast<std::ptrdiff_t>(images.size())) images.erase(std::next(images.begin(), position));
  return 1;
}

bool DDLoadSurfaces(DDSURFACEDATA* lpSurfaceTable, const int* lpImageNumbers, int nCount) {
  if (!lpSurfaceTable || !lpImageNumbers || !g_lpImageTable) return false;
  for (int i = 0; i < nCount; ++i) {
    const int n = lpImageNumbers[i];
    if (n < 0 || n >= g_nImageCount) {
      ReportLogF("DDLoadSurfaces: image %d outside the table", n);
      return false;
    }
    DDSURFACEDATA* surface = &lpSurfaceTable[n];
    const IMAGEDATA& image = g_lpImageTable[n];
    DDReleaseSurface(surface);
    if (IsEmptyImage(image.szFileName)) {
      if (!DDCreateSurface(surface, image.nWidth, image.nHeight, image.bTransmit, image.bSystemMemory,
                           image.bTexSystemMemory, image.bAlias, 0) &&
          !image.bOptional) {
        OutOfMemoryError();
        return false;
      }
      continue;
    }
    const int result = DDCreateSurfaceFromFile(surface, image.szFileName, image.bTransmit, g_nBpp, image.bSystemMemory,
                                               image.bTexSystemMemory, image.bAlias, image.bPalIndex,
                                               image.nMirrorWidth, image.nMirrorHeight, 0);
    if (!DDCheckLoadError(result) && !image.bOptional) {
      ErrorBoxF("%s の読み込みに失敗！", image.szFileName);
      return false;
    }
  }
  return true;
}

bool DDCheckLoadError(int nCode) {
  switch (nCode) {
    case CREATESURFACE_ERR: ErrorLog("CREATESURFACE_ERR"); return false;
    case LOADIMAGE_ERR: ErrorLog("LOADIMAGE_ERR"); return false;
    case SETCOLORKEY_ERR: ErrorLog("SETCOLORKEY_ERR"); return false;
    default: return true;
  }
}

void DDLinkSurfaces() {
  g_SurfaceTable[3].lpLinkSD = &g_SurfaceTable[2];
  for (int n = 22; n <= 39; ++n) g_SurfaceTable[n].lpLinkSD = &g_SurfaceTable[n - 18];
  g_SurfaceTable[41].lpLinkSD = &g_SurfaceTable[40];
  g_SurfaceTable[44].lpLinkSD = &g_SurfaceTable[43];
  g_SurfaceTable[68].lpLinkSD = &g_SurfaceTable[67];
}

void DDResolveLink(DDSURFACEDATA** lplpSD) {
  if (g_lpD3DState && lplpSD && *lplpSD && (*lplpSD)->lpLinkSD) *lplpSD = (*lplpSD)->lpLinkSD;
}
