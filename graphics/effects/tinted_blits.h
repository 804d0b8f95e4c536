// Blits that change colours while they copy a rectangle (the colour-change,
// 8-bit blur and translucent character effects), on either back end, in the
// frame of graphics/effects/effect_frame.h.
//
// DDBltAlpha pulls every source pixel toward palette colour dwPalNum & 0xFF
// of lpPalette by nLevel (1: half-way; each further level up to 4 keeps less
// of the source). Direct3D draws a quad blending the texture with the
// texture factor (alpha 128/80/48/16 for levels 1-4, 0 above), or on locked
// pixels keeps W/255 of the source (W = 128/64/32/16, 0 above) with
// single-precision factors, truncating; a level of 0 or less draws nothing.
// DirectDraw halves the distance to the tint nLevel times (8 bits: through
// the rows of g_BlendTable); level 0 draws nothing and a negative level
// copies through the same conversions without a step.
//
// DDBltTranslucent lays the source half over the destination. Direct3D draws
// a quad of vertex alpha 128 unless the virtual back buffer is on, else
// averages locked pixels. DirectDraw averages, except that a transparent
// destination pixel takes the source (8 bits: palette index 0 is the
// transparent one and other pairs go through lpBlendTable[d * 256 + s]).
//
// dwFlags 1 leaves out transparent source pixels on the software paths.
// 16-bit results on the full-screen Direct3D back buffer are written in its
// layout. Only pixels inside both surfaces change. The result is false only
// when a DirectDraw surface fails to lock.
#pragma once

#include <cstdint>

#include "graphics/colour_format.h"
#include "graphics/surface_data.h"

bool DDBltAlpha(DDSURFACEDATA* lpDst, int x, int y, int nWidth, int nHeight, DDSURFACEDATA* lpSrc, int sx, int sy,
                int dwFlags, const PaletteColour* lpPalette, const std::uint8_t* lpBlendTable, int dwPalNum,
                int nLevel);
bool DDBltTranslucent(DDSURFACEDATA* lpDst, int x, int y, int nWidth, int nHeight, DDSURFACEDATA* lpSrc, int sx,
                      int sy, int dwFlags, const std::uint8_t* lpBlendTable);
