// Blits and fills on either back end.
//
// A blit copies the sw x sh rectangle at (sx, sy) of the source onto the
// w x h rectangle at (x, y) of the destination, clipped as DDClipBlt says
// (graphics/blit_clip.h); a negative sw (sh) reads the source right to left
// (bottom to top), which mirrors. Flags 1 leaves out the source's
// transparent pixels, 0 copies every pixel; DirectDraw passes other values
// to the platform, Direct3D treats them like 1 on the quad and like 0 in
// the software copy.
//
// DirectDraw blits with BltFast (unscaled) and Blt. Direct3D draws one
// textured quad into the destination (the blit colour and operations of
// graphics/blit_state.h apply; a transparent source copied with flags 0
// first clears the rectangle to the destination's transparent form, so its
// transparent pixels show that colour), and copies pixel by pixel on locked
// surfaces when either texture lives in system memory (16-bit pixels then
// converted to the screen format on the full-screen back buffer).
// Fills write PalNumToRGB of a palette number (DDFillRectPal; number 0 is
// the transparent texel on Direct3D textures) or a raw value of the back
// end's format (DDFillRect; ARGB in Direct3D, where alpha below 0xFF draws
// translucent). Surfaces without objects (a missing optional image) are
// never drawn from or into. Game thread only.
#pragma once

#include <cstdint>

#include "graphics/surface_data.h"

// 1 when something is left to draw, the rectangles clipped in place.
int DDClipBlt(DDSURFACEDATA* lpDst, int* x, int* y, int* w, int* h, DDSURFACEDATA* lpSrc, int* sx, int* sy, int* sw,
              int* sh);

void DDBlt(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int dwFlags);
int DDBltStretch(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw,
                 int sh, int dwFlags);
// Direct3D: DDBltStretch with blend[0] as blit colour and blend[1] as colour
// operation for this call only; DirectDraw: plain DDBltStretch.
int DDBltBlend(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw, int sh,
               int dwFlags, const int blend[2]);
// Unscaled DDBltBlend on Direct3D, DDBlt on DirectDraw.
void DDBltEx(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int dwFlags,
             const int blend[2]);

void DDFillRectPal(DDSURFACEDATA* lpSD, int x, int y, int w, int h, std::uint32_t dwPalNum);
void DDClearSurfacePal(DDSURFACEDATA* lpSD, std::uint32_t dwPalNum);
int DDFillRect(DDSURFACEDATA* lpSD, int x, int y, int w, int h, std::uint32_t dwColor);

// 1 when the surface is g_sdBackBuffer and the display is full screen.
int DDIsFullScreenBackBuffer(const DDSURFACEDATA* lpSD);
