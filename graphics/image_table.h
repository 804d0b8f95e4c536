// The game's 69 image slots and their surfaces: row n of g_ImageTable says
// how to make surface n of g_SurfaceTable; the image number is the row.
// Rows 55 to 62 (the stage backgrounds) and 54 (the world map background)
// get their file names from the stage and the world map before loading.
#pragma once

#include "graphics/surface_data.h"

constexpr int kImageCount = 69;

extern IMAGEDATA g_ImageTable[kImageCount];
extern DDSURFACEDATA g_SurfaceTable[kImageCount];

// The digit strips of the three fonts.
extern DDSURFACEDATA g_DigitSurface[3];
extern IMAGEDATA g_DigitImage[3];

// Fills g_ImageTable and g_DigitImage as at program start.
void InitImageTable();
