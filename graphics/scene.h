// Direct3D frame bookkeeping: the open scene, the render target and the
// resting target every drawing operation returns to, the virtual back
// buffer, and presenting the frame.
//
// Per frame the first drawing operation opens the scene (DDBeginScene),
// every operation makes its destination the render target and then sets
// lpRestTarget again, and DDPresent closes the scene and presents. With the
// virtual back buffer on, operations aimed at g_sdBackBuffer use
// g_sdVirBackBuffer instead (DDUseVirBackBuffer), so that the frame can also
// be a source; DDPresent and turning the mode off copy it to the back
// buffer. In DirectDraw mode all of this does nothing (DDPresent returns 1):
// the DirectDraw frame is flipped or copied by the scene manager.
#pragma once

#include "graphics/surface_data.h"

// 1 when a scene is open, 0 without a device or when BeginScene failed.
int DDBeginScene();
void DDEndScene();
// 1 when the surface (a render-target texture or the back buffer) became
// render target 0; 0 otherwise, also for a surface without a texture.
int DDSetRenderTarget(int nIndex, DDSURFACEDATA* lpSD);
void DDSetVirBackBuffer(int bOn);
// Replaces a pointer to g_sdBackBuffer by g_sdVirBackBuffer while the mode
// is on; 1 when it did.
int DDUseVirBackBuffer(DDSURFACEDATA** lplpSD);
// The whole source, unscaled, onto (0, 0) of the destination.
void DDCopyVirBackBuffer(DDSURFACEDATA* lpDest, DDSURFACEDATA* lpSrc);
// 0 when the device is lost (in full screen the window is minimised), else 1.
int DDPresent();
