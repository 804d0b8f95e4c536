// The palette and the transparent colour from the palette picture, set once
// at start-up right after DDInit and before any image is loaded (colour keys
// are taken when surfaces are made).
//
// DDLoadPaletteFromFile: the picture's colour table at 8 bits (set into the
// DirectDraw palette object too); its 16 x 16 colour block at 16, 24 and 32
// bits (DDReadPaletteFromSurface, graphics/palette_image.h says what the
// entries receive per back end and depth). Colour-table entries the file
// does not have are black.
// DDSetTransmit: the transparent colour in each form of the back end
// (graphics/device.h's state records and g_dwTransmit); DirectDraw below 32
// bits and Direct3D below 32 bits change nothing but cbKey32.
// DDSetTransmitFromFile: the picture's top-left pixel is the transparent
// colour; 0 (logged) when the file cannot be loaded or locked.
#pragma once

#include <cstdint>

#include "graphics/colour_format.h"
#include "graphics/surface_data.h"

bool DDLoadPaletteFromFile(PaletteBuffer* lpPalette, const char* lpFileName, int bWindow = 0);
void DDSetTransmit(std::uint8_t cbRed, std::uint8_t cbGreen, std::uint8_t cbBlue);
int DDSetTransmitFromFile(const char* lpFileName);
// The DirectDraw 16-bit pixel of a palette entry holding channel values; 0
// in Direct3D mode.
std::uint32_t DDPalToPixel16(const PaletteColour* lpEntry);
// Always 1; entries whose pixels cannot be read keep their colours.
int DDReadPaletteFromSurface(PaletteBuffer* lpPalette, DDSURFACEDATA* lpSD);
