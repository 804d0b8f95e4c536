// The surface record of the graphics layer and the image slot record.
//
// DDSURFACEDATA is one drawable picture on either back end: in Direct3D mode
// lpDT holds a texture (or, for an alias, nothing: lpLinkSD names the
// surface drawn in its place); in DirectDraw mode lpDDraw holds the surface.
// Every field starts at zero (null pointers, empty texts). The record does
// not free its objects when it goes away: its owner calls DDReleaseSurface
// (graphics/surface.h) first. A copy shares the back-end record of its
// source, so only one of them may be released.
//
// IMAGEDATA describes how to make one image slot: a file (or "E" for an
// empty surface of nWidth x nHeight) and its flags.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/video/d3d9.h"
#include "platform/video/ddraw.h"

constexpr int kPathSize = 260;

// The Direct3D objects of a surface.
struct D3DTEXTUREDATA {
  int nIndex = 0;  // serial number; the back buffer has 0, an alias none
  platform::Direct3DSurface9* lpSurface = nullptr;        // level 0, or the device's back buffer
  platform::Direct3DSurface9* lpSystemSurface = nullptr;  // CPU twin of a render-target texture
  platform::Direct3DVertexBuffer9* lpVB = nullptr;        // the four BLTVERTEX of the blit quad
  platform::RefCounted* lpReserved = nullptr;             // never set; released when present
  platform::Direct3DTexture9* lpTexture = nullptr;
  platform::D3DSURFACE_DESC descLevel;
  int bSystemMemory = 0;  // the texture lives in system memory
  int bTransmit = 0;      // the texture uses the transparent colour
  int bRecreated = 0;     // device recovery re-made this empty surface; its owner redraws it
  int bRenderTarget = 0;  // a default-pool render target (CPU access through lpSystemSurface)
};

// The DirectDraw objects of a surface.
struct DDRAWSURFACEDATA {
  platform::DirectDrawSurface7* lpDDS = nullptr;
  std::unique_ptr<std::uint8_t[]> lpPalIndex;  // palette-number map of a loaded image, or null
  int bRestored = 0;  // a restore after a loss cleared this empty surface; its owner redraws it
};

// One vertex of a blit quad (FVF 0x144: position with rhw, colour, one texture coordinate).
struct BLTVERTEX {
  float x = 0, y = 0, z = 0, rhw = 0;
  std::uint32_t dwColor = 0;
  float u = 0, v = 0;
};
static_assert(sizeof(BLTVERTEX) == 28);
constexpr std::uint32_t kBltVertexFvf = platform::D3DFVF_XYZRHW | platform::D3DFVF_DIFFUSE | platform::D3DFVF_TEX1;
constexpr unsigned kBltQuadBytes = 4 * sizeof(BLTVERTEX);  // 112

struct DDSURFACEDATA {
  D3DTEXTUREDATA* lpDT = nullptr;       // owned; Direct3D mode
  DDRAWSURFACEDATA* lpDDraw = nullptr;  // owned; DirectDraw mode
  char szSurfaceType[kPathSize] = {};   // Direct3D: "BackBuffer", "OffScreen", ...
  int nWidth = 0;
  int nHeight = 0;
  int nTexWidth = 0;   // the texture's size after the card's rules
  int nTexHeight = 0;
  char szFileName[kPathSize] = {};  // "E": empty surface; "": never loaded
  int bSystemMemory = 0;
  int nMirrorWidth = 0;
  int nMirrorHeight = 0;
  DDSURFACEDATA* lpLinkSD = nullptr;  // Direct3D: drawn in this one's place; not owned

  // Gives the record its back-end record (by g_bDirect3D) when it has none.
  void DDAllocSurfaceData();
};

struct IMAGEDATA {
  char szFileName[kPathSize] = {};
  int bTransmit = 0;
  int bSystemMemory = 0;     // DirectDraw: system memory
  int bTexSystemMemory = 0;  // Direct3D: a system-memory texture from the start
  int bAlias = 0;            // Direct3D: linked to another slot, no texture of its own
  int bPalIndex = 0;         // build the palette-number map when loading
  int bOptional = 0;         // a failed load is neither reported nor fatal
  int nMirrorWidth = 0;
  int nMirrorHeight = 0;
  int nWidth = 0;  // size of an empty surface
  int nHeight = 0;

  // Fills every field (the name is cut to fit) and returns the record.
  IMAGEDATA& Set(const char* fileName, int transmit, int systemMemory, int texSystemMemory, int alias,
                 int palIndex, int optional, int mirrorWidth, int mirrorHeight, int width, int height);
};

// Copies text into a fixed field, cut to fit and always terminated.
void CopyName(char (&field)[kPathSize], const char* text);
