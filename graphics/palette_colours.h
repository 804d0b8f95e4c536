// The palettes, the transparent colour as a pixel value, and palette numbers
// as pixel values of the current back end and depth.
//
// Palette numbers (0 to 255) are the colour unit of all data. g_palCurrent is
// the palette as loaded (numbers are looked up there); g_palOriginal is the
// working palette shown at 8 bits. Channel layouts and the palette entry type
// are in graphics/colour_format.h. Everything is zero until start-up loads
// the palette and sets the transparent colour.
#pragma once

#include <cstdint>

#include "graphics/colour_format.h"

// The Direct3D back buffer's format at 16 bits, and the format of surfaces
// and textures; set by the device start-up.
extern DDCOLORFORMAT g_cfScreen;
extern DDCOLORFORMAT g_cfSurface;

extern PaletteBuffer g_palCurrent;
extern PaletteBuffer g_palOriginal;

// The transparent colour as a pixel value of the surfaces (the DirectDraw
// colour key of every transparent surface).
extern std::uint32_t g_dwTransmit;

// DirectDraw: the shifts and maxima of the primary surface's red, green and
// blue masks; the alpha fields stay. Does nothing in Direct3D mode.
void DDReadPixelFormat(DDCOLORFORMAT* format);

// DirectDraw: entries first to first + count - 1 of the palette into the
// display's palette object (nothing without one, or for an empty range).
void DDSetPaletteEntries(const PaletteColour* lpPalette, int nFirst, int nCount);

// Palette number n as a pixel value; above 255 logs and gives 0.
std::uint32_t PalNumToRGB(std::uint32_t dwPalNum);
