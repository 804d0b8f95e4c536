// Reading the 256 colours of the palette picture from a locked surface
// (DDReadPaletteFromSurface). Colour k is the pixel at column k % 16, row
// 8 + k / 16. What an entry receives depends on the depth and back end:
//   16 bits, Direct3D:   each channel scaled to 0-255 (value * 255 / maximum)
//   16 bits, DirectDraw: each channel's own value (0-31, 0-63)
//   32 bits, Direct3D:   the R, G, B bytes
//   32 bits, DirectDraw: the R, G, B bytes, and the fourth byte as the flag
// Other depths read nothing; so do pixels outside a surface smaller than
// 16 x 24, whose entries keep their colours.
#pragma once

#include "graphics/bitmap_copy.h"
#include "graphics/colour_format.h"

void ReadPaletteBlock(const SurfacePixels& surface, const DDCOLORFORMAT& format, bool direct3d, PaletteBuffer& palette);
