// Palette blending and rotation for the fades and the colour cycling.
//
// A palette is 256 PaletteColour {R, G, B, flag}; a range is entries nFirst
// to nLast inclusive. Ranges are clamped to the palette, so no call reads or
// writes outside it; an empty or reversed range changes nothing. Source and
// destination may be the same palette.
#pragma once

#include "graphics/colour_format.h"

// DDBlendPalette: entries nFirst..nLast of lpPalSrc into lpPalOut, each
// channel (source x nWeight + colour x (256 - nWeight)) >> 8, flags 1.
// nWeight 256 gives the source, 0 the colour.
void DDBlendPalette(PaletteColour* lpPalOut, int nFirst, int nLast, int nWeight, unsigned char R, unsigned char G,
                    unsigned char B, const PaletteColour* lpPalSrc);

// The rotation of DDRotatePalette: lpPalOut gets all 256 entries of
// lpPalSrc, then entries nFirst..nLast move nCount places up (nRotateDir 0,
// the top entries wrapping to nFirst) or down (1, the bottom ones wrapping
// to nLast); another direction leaves the copy as it is. A count outside the
// range's length is reduced into it.
void RotatePaletteRange(PaletteColour* lpPalOut, int nFirst, int nLast, int nCount, int nRotateDir,
                        const PaletteColour* lpPalSrc);
