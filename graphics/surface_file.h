// Surfaces made from image files (Windows bitmaps in the project's bmp folder),
// on either back end.
//
// Direct3D: the picture becomes a texture (D3DX's loader: unscaled at the
// top left, pixels of the transparent colour's key transparent black),
// falling back to system memory when video memory runs out. DirectDraw: an
// off-screen surface of the picture's size filled by DDLoadBitmap, which
// converts by depth (graphics/bitmap_copy.h).
//
// Mirroring by cells: with a cell width w every whole cell of w columns is
// flipped in place and the cells keep their order; an incomplete last cell
// is not written. Direct3D draws it with one mirrored blit per cell from a
// temporary texture (DDCreateMirror); only cell widths are mirrored there.
//
// The palette-number map (DirectDraw, 16 and 32 bits, bPalIndex): a byte a
// pixel, the first palette number whose colour the pixel shows, 0 for none.
#pragma once

#include "graphics/surface_data.h"

// 0 or a result code (graphics/device.h): LOADIMAGE_ERR for a missing or
// unreadable file, CREATESURFACE_ERR when the surface, its vertex buffer or
// its texture cannot be made. nBpp is the DirectDraw depth.
int DDCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* lpFileName, int bTransmit, int nBpp, int bSystemMemory,
                            int bTexSystemMemory, int bAlias, int bPalIndex, int nMirrorWidth, int nMirrorHeight,
                            int bRecreate);
// DirectDraw: the file's pixels into the existing surface, cut to its size
// (a file that grew since is not written past the surface). True at once in
// Direct3D mode or with no name; false when the file cannot be read, or the
// palette-number map cannot be built.
bool DDLoadBitmap(DDSURFACEDATA* lpSD, const char* lpFileName, int nBpp, int bPalIndex, int nMirrorWidth,
                  int nMirrorHeight);
// Direct3D: the destination cleared to the transparent texel, then the
// source's whole cells mirrored onto it. True (and nothing done) in
// DirectDraw mode, without a cell width or with a cell height.
bool DDCreateMirror(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, int nMirrorWidth, int nMirrorHeight);
// DirectDraw: DDLoadBitmap of the surface's own file, map and cells.
bool DDReloadSurface(DDSURFACEDATA* lpSD, int nBpp);
// DirectDraw: *lpTooLarge = whether the picture is wider or higher than the
// given size; 0 (and *lpTooLarge 0) when it cannot be read. Direct3D: 1.
int DDCheckBitmapSize(int* lpTooLarge, const char* lpFileName, int nWidth, int nHeight);
