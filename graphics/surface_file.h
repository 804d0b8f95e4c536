// Surfaces made from image files.
#pragma once

#include "graphics/surface_data.h"

// Loads an image file into the surface on the current back end; returns a
// start-up result code (graphics/device.h): DDINIT_OK, or LOADIMAGE_ERR,
// CREATESURFACE_ERR, SETCOLORKEY_ERR.
int DDCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* lpFileName, int bTransmit, int nBpp, int bSystemMemory,
                            int bTexSystemMemory, int bAlias, int bPalIndex, int nMirrorWidth, int nMirrorHeight,
                            int bRecreate);
