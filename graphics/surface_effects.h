// Small drawing pieces the effects and the palette code use: the circle
// blit, the 8-bit blend table, the fade of a DirectDraw screen without a
// palette and the colour tint of a Direct3D surface.
//
// DDBltCircle draws the disc of nRadius around (sx, sy) of the source so that
// its centre lands at (x, y), in bands of nBand rows, inside a box of
// half-sizes nClipHalfWidth x nClipHalfHeight (graphics/circle_rows.h gives
// the rows); each row is one blit with dwFlags.
// DDLoadBlendTable reads a 65536-byte table file (a shorter file fills only
// its length; a missing one leaves the table as it was and gives 0); it
// reads nothing in Direct3D mode, which does not use the table.
// DDFade_UnPal (DirectDraw, 16 and 32 bits): dst = src faded toward a colour,
// src weighing nLevel / 256 (graphics/fade_tint.h); 0 when a lock fails.
// DDChangeColor (Direct3D): keeps nAlpha / 256 of the surface's colour and
// lays the rest of the tint colour over it; on the device (no virtual back
// buffer) as one quad over the whole surface with alpha 255 - nAlpha,
// otherwise on the locked pixels of the rectangle.
// Both write an error-log line and return 1 on the other back end.
#pragma once

#include <cstdint>

#include "graphics/surface_data.h"

constexpr int kBlendTableSize = 65536;
extern std::uint8_t g_BlendTable[kBlendTableSize];

void DDBltCircle(DDSURFACEDATA* lpDst, int x, int y, int nClipHalfWidth, int nClipHalfHeight, int nRadius, int nBand,
                 DDSURFACEDATA* lpSrc, int sx, int sy, int dwFlags);
int DDLoadBlendTable(std::uint8_t* lpTable, const char* lpPath);
int DDFade_UnPal(DDSURFACEDATA* lpDst, int nLevel, std::uint8_t bRed, std::uint8_t bGreen, std::uint8_t bBlue,
                 DDSURFACEDATA* lpSrc);
int DDChangeColor(DDSURFACEDATA* lpSD, int x, int y, int nWidth, int nHeight, int nAlpha, std::uint8_t bRed,
                  std::uint8_t bGreen, std::uint8_t bBlue);
