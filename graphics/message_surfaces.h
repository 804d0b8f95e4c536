// The surfaces that hold the text of the stage's message windows.
//
// g_lstMessageSD and g_lstMessageImage are parallel lists (one transparent
// empty surface and its image record per text window). The game objects
// name a message surface by the id DDAddMessageSurface gave it
// ({SURFACES_MESSAGE, id} of game/draw/draw_target.h). Game thread only.
#pragma once

#include <list>

#include "graphics/surface_data.h"

extern std::list<DDSURFACEDATA> g_lstMessageSD;
extern std::list<IMAGEDATA> g_lstMessageImage;

// A new surface of w x h; its id (1 or more), or 0 when it could not be made
// (nothing stays listed then).
int DDAddMessageSurface(int nWidth, int nHeight);
// The surface with the id, or null.
DDSURFACEDATA* DDFindMessageSurface(int nId);
// Releases the surface with the id and removes it from the lists.
void DDRemoveMessageSurface(int nId);
// Releases every message surface.
void DDClearMessageSurfaces();
