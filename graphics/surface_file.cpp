#include "graphics/surface_file.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "base/close_request.h"
#include "base/report.h"
#include "graphics/bitmap_copy.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/locked_pixels.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "graphics/surface.h"
#include "platform/bitmap_file.h"

using namespace platform;

namespace {

bool ReadBitmap(const char* lpFileName, DecodedBitmap& bitmap) {
  std::string error;
  return lpFileName && LoadBitmapFile(lpFileName, bitmap, error);
}

HRESULT TextureFailed(HRESULT hr, const char* what, const char* lpFileName) {
  ReportLogF("%s Err %x %s", what, static_cast<unsigned>(hr), lpFileName);
  if (!g_lpD3DState->strTextureError.empty()) ErrorBoxF("%s", g_lpD3DState->strTextureError.c_str());
  RequestMainWindowCloseForError();
  return hr;
}

int TextureFromFile(DDSURFACEDATA* lpSD, const char* lpFileName, int bTransmit, int nBpp, int bSystemMemory,
                    int bTexSystemMemory, int bAlias, int bPalIndex, int nMirrorWidth, int nMirrorHeight,
                    int bRecreate) {
  if (!lpDevice) return CREATESURFACE_ERR;
  lpSD->DDAllocSurfaceData();
  D3DTEXTUREDATA& texture = *lpSD->lpDT;
  if (!bRecreate && !DDStartTextureRecord(lpSD, "OffScreenFromFile", lpFileName, bTransmit, bTexSystemMemory, bAlias))
    return CREATESURFACE_ERR;
  DecodedBitmap bitmap;
  if (!ReadBitmap(lpFileName, bitmap)) {
    if (*lpFileName) ReportLogF("LoadImage Err %s", lpFileName);
    return LOADIMAGE_ERR;
  }
  texture.bRenderTarget = 1;
  if (bAlias) {
    lpSD->nWidth = lpSD->nTexWidth = bitmap.width;
    lpSD->nHeight = lpSD->nTexHeight = bitmap.height;
  } else {
    int width = bitmap.width, height = bitmap.height;
    DDAdjustTextureSize(&width, &height);
    if (!DDCheckTextureSize(width, height, 0))
      ReportLogF("上記の理由でテクスチャの描画が失敗する可能性があります。(%s)", lpFileName);
    const std::uint8_t* key = g_nBpp == 16 ? g_lpD3DState->cbKey16 : g_lpD3DState->cbKey32;
    const std::uint32_t colourKey = 0xFF000000u | std::uint32_t{key[2]} << 16 | std::uint32_t{key[1]} << 8 | key[0];
    const D3DFORMAT format = g_lpD3DState->fmtTexture;
    if (!texture.bSystemMemory) {
      const HRESULT hr = D3DXCreateTextureFromFileEx(lpDevice, lpFileName, static_cast<UINT>(width),
                                                     static_cast<UINT>(height), 1, D3DUSAGE_RENDERTARGET, format,
                                                     D3DPOOL_DEFAULT, D3DX_FILTER_NONE, D3DX_DEFAULT, colourKey,
                                                     nullptr, nullptr, &texture.lpTexture);
      if (hr == D3DERR_OUTOFVIDEOMEMORY) {
        ReportLogF("VRAM不足のためシステムメモリにテクスチャを作成します。(%s)", lpFileName);
        texture.bSystemMemory = 1;
      } else if (FAILED(hr)) {
        // Counted as a failed load, so that a mandatory image stops the start.
        ReportLogF("D3DXCreateTextureFromFileEx Err %x %s", static_cast<unsigned>(hr), lpFileName);
        return CREATESURFACE_ERR;
      }
    }
    // A system-memory texture survives a reset; one made there because
    // video memory ran out during a re-creation is new.
    if (texture.bSystemMemory) {
      texture.bRenderTarget = 0;
      if (texture.lpSystemSurface) texture.lpSystemSurface->Release();  // only render targets have a twin
      texture.lpSystemSurface = nullptr;
    }
    if (texture.bSystemMemory && !texture.lpTexture) {
      // The loader never scales (D3DX_DEFAULT would stretch the picture
      // over the padded texture and break the texture coordinates).
      const HRESULT hr = D3DXCreateTextureFromFileEx(lpDevice, lpFileName, static_cast<UINT>(width),
                                                     static_cast<UINT>(height), 1, D3DUSAGE_DYNAMIC, format,
                                                     D3DPOOL_SYSTEMMEM, D3DX_FILTER_NONE, D3DX_DEFAULT, colourKey,
                                                     nullptr, nullptr, &texture.lpTexture);
      if (FAILED(hr)) return TextureFailed(hr, "D3DXCreateTextureFromFileEx", lpFileName);
    }
    const HRESULT level = texture.lpTexture->GetSurfaceLevel(0, &texture.lpSurface);
    if (FAILED(level)) return TextureFailed(level, "GetSurfaceLevel", lpFileName);
    texture.lpTexture->GetLevelDesc(0, &texture.descLevel);
    if (!texture.bSystemMemory && !bRecreate) {
      const HRESULT hr = lpDevice->CreateOffscreenPlainSurface(texture.descLevel.Width, texture.descLevel.Height,
                                                               texture.descLevel.Format, D3DPOOL_SYSTEMMEM,
                                                               &texture.lpSystemSurface, nullptr);
      if (FAILED(hr)) return TextureFailed(hr, "CreateOffscreenPlainSurface", lpFileName);
    }
    lpSD->nWidth = bitmap.width;
    lpSD->nHeight = bitmap.height;
    lpSD->nTexWidth = static_cast<int>(texture.descLevel.Width);
    lpSD->nTexHeight = static_cast<int>(texture.descLevel.Height);
    if (nMirrorWidth || nMirrorHeight) {
      // The temporary is always a new record (never a re-creation), so that
      // it has its own vertex buffer and leaves nothing in g_listTexture.
      DDSURFACEDATA unmirrored;
      if (TextureFromFile(&unmirrored, lpFileName, bTransmit, nBpp, bSystemMemory, bTexSystemMemory, 0, bPalIndex, 0,
                          0, 0) == 0)
        DDCreateMirror(lpSD, &unmirrored, nMirrorWidth, nMirrorHeight);
      DDReleaseSurface(&unmirrored);
    }
    if (!bRecreate && std::find(g_listTexture.begin(), g_listTexture.end(), lpSD) == g_listTexture.end())
      g_listTexture.push_back(lpSD);
  }
  lpSD->nMirrorWidth = nMirrorWidth;
  lpSD->nMirrorHeight = nMirrorHeight;
  lpSD->bSystemMemory = bSystemMemory;
  return 0;
}

int DirectDrawSurfaceFromFile(DDSURFACEDATA* lpSD, const char* lpFileName, int bTransmit, int nBpp,
                              int bSystemMemory, int bPalIndex, int nMirrorWidth, int nMirrorHeight) {
  DecodedBitmap bitmap;
  if (!ReadBitmap(lpFileName, bitmap)) {
    ErrorLog(lpFileName);
    return LOADIMAGE_ERR;
  }
  if (!DDCreateSurface(lpSD, bitmap.width, bitmap.height, bTransmit, bSystemMemory, 0, 0, 0)) return CREATESURFACE_ERR;
  if (!DDLoadBitmap(lpSD, lpFileName, nBpp, bPalIndex, nMirrorWidth, nMirrorHeight)) return LOADIMAGE_ERR;
  lpSD->nWidth = lpSD->nTexWidth = bitmap.width;
  lpSD->nHeight = lpSD->nTexHeight = bitmap.height;
  lpSD->nMirrorWidth = nMirrorWidth;
  lpSD->nMirrorHeight = nMirrorHeight;
  CopyName(lpSD->szFileName, lpFileName);
  lpSD->bSystemMemory = bSystemMemory;
  return 0;
}

// The GDI view of a locked DirectDraw surface.
DeviceContextPixels DeviceContextOf(const SurfacePixels& pixels, DirectDrawSurface7& surface) {
  DDPIXELFORMAT format;
  format.dwSize = kDDPixelFormatSize;
  surface.GetPixelFormat(&format);
  return {pixels.bits,        pixels.pitch,       pixels.width,      pixels.height, pixels.bitsPerPixel,
          format.dwRBitMask, format.dwGBitMask, format.dwBBitMask};
}

}  // namespace

int DDCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* lpFileName, int bTransmit, int nBpp, int bSystemMemory,
                            int bTexSystemMemory, int bAlias, int bPalIndex, int nMirrorWidth, int nMirrorHeight,
                            int bRecreate) {
  if (!lpSD || !lpFileName) return LOADIMAGE_ERR;
  if (g_lpD3DState)
    return TextureFromFile(lpSD, lpFileName, bTransmit, nBpp, bSystemMemory, bTexSystemMemory, bAlias, bPalIndex,
                           nMirrorWidth, nMirrorHeight, bRecreate);
  return DirectDrawSurfaceFromFile(lpSD, lpFileName, bTransmit, nBpp, bSystemMemory, bPalIndex, nMirrorWidth,
                                   nMirrorHeight);
}

bool DDLoadBitmap(DDSURFACEDATA* lpSD, const char* lpFileName, int nBpp, int bPalIndex, int nMirrorWidth,
                  int nMirrorHeight) {
  if (g_lpD3DState || !lpFileName || !*lpFileName) return true;
  if (!lpSD || !lpSD->lpDDraw || !lpSD->lpDDraw->lpDDS) return false;
  DecodedBitmap bitmap;
  if (!ReadBitmap(lpFileName, bitmap)) return false;
  DirectDrawSurface7& surface = *lpSD->lpDDraw->lpDDS;
  const MirrorCells cells{nMirrorWidth, nMirrorHeight};
  {
    cSurfaceLock lock(lpSD);
    if (lock.m_pBits) {
      // Everything below clips to the locked surface's own size.
      SurfacePixels pixels{static_cast<std::uint8_t*>(lock.m_pBits), lock.m_nPitch * lock.m_nBytesPerPixel,
                           lock.m_nWidth, lock.m_nHeight, lock.m_nBpp};
      if (nBpp == 8) {
        CopyBitmapIndices(bitmap, pixels, cells, g_palCurrent);
      } else if (nBpp == 16 && (bitmap.bitsPerPixel == 24 || bitmap.bitsPerPixel == 32)) {
        const std::uint8_t* key = g_lpDDState ? g_lpDDState->cbLoadKey : nullptr;
        const RgbKey loadKey = key ? RgbKey{key[2], key[1], key[0]} : RgbKey{};
        ConvertBitmapTo16(bitmap, pixels, cells, g_cfSurface, loadKey, g_dwTransmit);
      } else {
        CopyBitmapThroughGdi(bitmap, DeviceContextOf(pixels, surface), cells);
      }
    }
  }
  const int surfaceWidth = surface.Pixels().Width(), surfaceHeight = surface.Pixels().Height();
  lpSD->nWidth = std::min(bitmap.width, surfaceWidth);
  lpSD->nHeight = std::min(bitmap.height, surfaceHeight);
  lpSD->nMirrorWidth = nMirrorWidth;
  lpSD->nMirrorHeight = nMirrorHeight;
  if (lpFileName != lpSD->szFileName) CopyName(lpSD->szFileName, lpFileName);
  lpSD->lpDDraw->lpPalIndex.reset();
  if (bPalIndex && nBpp != 8) {
    cSurfaceLock lock(lpSD);
    if (!lock.m_pBits) {
      OutOfMemoryError();
      return false;
    }
    const SurfacePixels pixels{static_cast<std::uint8_t*>(lock.m_pBits), lock.m_nPitch * lock.m_nBytesPerPixel,
                               lock.m_nWidth, lock.m_nHeight, lock.m_nBpp};
    const std::vector<std::uint8_t> map = BuildPaletteNumberMap(pixels, g_palCurrent, g_cfSurface);
    lpSD->lpDDraw->lpPalIndex = std::make_unique<std::uint8_t[]>(map.size());
    std::copy(map.begin(), map.end(), lpSD->lpDDraw->lpPalIndex.get());
  }
  return true;
}

bool DDCreateMirror(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, int nMirrorWidth, int nMirrorHeight) {
  if (!g_lpD3DState || nMirrorWidth <= 0 || nMirrorHeight || !lpDst || !lpSrc) return true;
  if (DDSetRenderTarget(0, lpDst)) {
    lpDevice->Clear(0, nullptr, D3DCLEAR_TARGET, g_lpD3DState->dwTexKey, 1.0f, 0);
    DDSetRenderTarget(0, g_lpD3DState->lpRestTarget);
  } else {
    DDFillRect(lpDst, 0, 0, lpDst->nWidth, lpDst->nHeight, g_lpD3DState->dwTexKey);
  }
  const int w = nMirrorWidth;
  for (int c = 0; c < lpSrc->nWidth / w; ++c) {
    const int x = c * w;
    DDBltStretch(lpDst, x, 0, w, lpSrc->nHeight, lpSrc, x + w, 0, -w, lpSrc->nHeight, 0);
  }
  return true;
}

bool DDReloadSurface(DDSURFACEDATA* lpSD, int nBpp) {
  if (g_lpD3DState) return true;
  if (!lpSD || !lpSD->lpDDraw) return false;
  return DDLoadBitmap(lpSD, lpSD->szFileName, nBpp, lpSD->lpDDraw->lpPalIndex != nullptr, lpSD->nMirrorWidth,
                      lpSD->nMirrorHeight);
}

int DDCheckBitmapSize(int* lpTooLarge, const char* lpFileName, int nWidth, int nHeight) {
  if (g_lpD3DState) return 1;
  DecodedBitmap bitmap;
  if (!ReadBitmap(lpFileName, bitmap)) {
    if (lpTooLarge) *lpTooLarge = 0;
    return 0;
  }
  if (lpTooLarge) *lpTooLarge = bitmap.width > nWidth || bitmap.height > nHeight ? 1 : 0;
  return 1;
}
