// Mosaic and blur: software effects that read the w x h area at (sx, sy) of
// src and write it at (x, y) of dst through locked surfaces, on either back
// end (Direct3D surfaces prepared as in graphics/effects/effect_frame.h).
//
// DDMosaic cuts the area into nCell x nCell cells from its top-left corner
// (the last ones cut off by the area) and fills each with one colour: at 8
// bits and on Direct3D at 16 bits the cell's top-left source pixel (16 bits
// on the full-screen back buffer converted to its layout); on DirectDraw at
// 16 bits the average of the channels taken to 0-255 and back; at 32 bits
// the average of the B, G, R bytes (the destination's fourth byte stays).
// DDBlur replaces every pixel by the average of the 2nRadiusX x 2nRadiusY
// box reaching one pixel further up and left than down and right, counting
// only samples inside the area; it refuses 8 bits (an error-log line).
//
// bSkipTransparent 1 leaves transparent source pixels out of every average
// and out of the writes; a mosaic cell whose colour comes out transparent
// is not written.
// Source pixels outside src count as absent; nothing is written outside
// dst. A cell size or radius of 0 or less does nothing. The result is 0
// when a surface fails to lock, else 1. Game thread only.
#pragma once

#include "graphics/surface_data.h"

int DDMosaic(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nCell, DDSURFACEDATA* lpSrc, int sx, int sy,
             int bSkipTransparent);
int DDBlur(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nRadiusX, int nRadiusY, DDSURFACEDATA* lpSrc, int sx,
           int sy, int bSkipTransparent);
