// Frames, numbers from digit strips and the raster effects, on either back
// end: each is a handful of fills or blits (graphics/blit.h) placed as
// graphics/effect_geometry.h computes them, in drawing order. dwFlags is the
// blit's flag word (1 leaves out the transparent colour). Nothing is clipped
// here beyond what the blits clip; sizes that leave nothing to draw draw
// nothing. Game thread only.
#pragma once

#include <cstdint>

#include "graphics/surface_data.h"

// A frame of nThick inside the rectangle, in palette colour dwPalNum.
void DDDrawFrame(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nThick, std::uint32_t dwPalNum);
// The top-left w x h of the source, opaque, with a frame of nThick around
// it (outside the picture).
void DDBltFrame(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int nThick,
                std::uint32_t dwPalNum);
// nValue (a negative one as 0) from the strip of cw x ch digit cells at
// (sx, sy): missing leading digits up to nMinDigits are left blank, or the
// number is centred in them with bCenter.
void DDDrawNumber(DDSURFACEDATA* lpDst, int x, int y, int cw, int ch, DDSURFACEDATA* lpSrc, int sx, int sy,
                  int dwFlags, int nValue, int nMinDigits, int bCenter);
// Bands of nBand rows (columns with bColumns) shifted along a sine of
// nCycles periods over the area, starting at nPhase degrees.
void DDBltWave(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nCycles, double dAmplitude, int nPhase,
               int nBand, DDSURFACEDATA* lpSrc, int sx, int sy, int dwFlags, int bColumns);
// Odd bands shifted by -nShift, even ones by +nShift.
void DDBltInterlace(DDSURFACEDATA* lpDst, int x, int y, int w, int h, int nBand, int nShift, DDSURFACEDATA* lpSrc,
                    int sx, int sy, int dwFlags, int bColumns);
// A card turning about its middle (nAxis 0: vertical axis, 1: horizontal):
// the front or back sw x sh picture stretched into the narrowed rectangle.
void DDBltCardFlip(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrcFront, int sxFront,
                   int syFront, DDSURFACEDATA* lpSrcBack, int sxBack, int syBack, int sw, int sh, int dwFlags,
                   int nFrame, int nAxis);
// The four quarters, each nDistance further from the centre diagonally.
void DDBltQuarters(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy,
                   int nDistance, int dwFlags);
