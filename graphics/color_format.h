// Pixel formats as channel shifts and maxima, the palette buffers, the
// transparent colour as a pixel value, and palette numbers as pixel values
// of the current back end and depth.
//
// Palette numbers (0 to 255) are the colour unit of all data. g_palCurrent is
// the palette as loaded (numbers are looked up there); g_palOriginal is the
// working palette shown at 8 bits. At 16 bits in DirectDraw mode the palette
// holds each channel at the surface format's precision (0 to nMax), not
// 0 to 255. Everything here is zero until start-up loads the palette and
// sets the transparent colour.
#pragma once

#include <cstdint>

#include "platform/video/pixel_format.h"

struct DDCOLORFORMAT {
  int nShiftR = 0, nShiftG = 0, nShiftB = 0, nShiftA = 0;
  int nMaxR = 0, nMaxG = 0, nMaxB = 0, nMaxA = 0;
};

// The Direct3D back buffer's format at 16 bits.
extern DDCOLORFORMAT g_cfScreen;
// The format of surfaces and textures.
extern DDCOLORFORMAT g_cfSurface;

extern platform::PALETTEENTRY g_palCurrent[256];
extern platform::PALETTEENTRY g_palOriginal[256];

// The transparent colour as a pixel value of the surfaces (the DirectDraw
// colour key of every transparent surface).
extern std::uint32_t g_dwTransmit;

// DirectDraw: the shifts and maxima of the primary surface's red, green and
// blue masks; the alpha fields stay. Does nothing in Direct3D mode.
void DDReadPixelFormat(DDCOLORFORMAT* format);

// Palette number n as a pixel value; above 255 logs and gives 0.
std::uint32_t PalNumToRGB(std::uint32_t dwPalNum);
