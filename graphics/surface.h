// Creating, registering and releasing surfaces, and the image sets.
//
// DDCreateSurface makes an empty surface on the current back end. In
// Direct3D mode it is a render-target texture (padded to the card's texture
// rules; nTexWidth/nTexHeight give the padded size) with a system-memory
// twin for CPU access, cleared to the transparent colour's opaque form; when
// video memory runs out it becomes a system-memory texture instead. Every
// surface that got a texture is listed in g_listTexture (by address), which
// device recovery walks. In DirectDraw mode it is an off-screen plain
// surface, moved to system memory when video memory is full, keyed with
// g_dwTransmit when transparent, filled with palette colour 0.
//
// Image sets are a container of surface records and a parallel container of
// image records. Surface records must keep their addresses while they are
// listed, so the surface side of a set is a std::deque (growing it at the
// end moves nothing) or a std::list.
#pragma once

#include <deque>
#include <list>
#include <vector>

#include "graphics/surface_data.h"

using DDSurfaceVector = std::deque<DDSURFACEDATA>;
using ImageVector = std::vector<IMAGEDATA>;

extern std::list<DDSURFACEDATA*> g_listTexture;

bool DDCreateSurface(DDSURFACEDATA* lpSD, int nWidth, int nHeight, int bTransmit, int bSystemMemory,
                     int bTexSystemMemory, int bAlias, int bRecreate);
// Direct3D: the first fields of a new texture record (type, file name,
// flags; unless it is an alias, a serial number and the quad's vertex
// buffer). False when the vertex buffer cannot be made.
bool DDStartTextureRecord(DDSURFACEDATA* lpSD, const char* lpType, const char* lpFileName, int bTransmit,
                          int bTexSystemMemory, int bAlias);
void DDAdjustTextureSize(int* lpWidth, int* lpHeight);
int DDCheckTextureSize(int nWidth, int nHeight, unsigned reserved);

// Frees the surface's objects; sizes, names and links stay, so the record
// can be created again. A null pointer does nothing.
void DDReleaseSurface(DDSURFACEDATA* lpSD);
void DDFreeSurface(DDSURFACEDATA* lpSD);
void DDReleaseSurfaceVector(DDSurfaceVector& surfaces);
void DDReleaseSurfaceList(std::list<DDSURFACEDATA>& surfaces);

bool DDAddSurface(DDSurfaceVector& surfaces, ImageVector& images, int nWidth, int nHeight, int bTransmit,
                  int bSystemMemory, int bTexSystemMemory, int bAlias);
bool DDAddSurfaceToList(std::list<DDSURFACEDATA>& surfaces, std::list<IMAGEDATA>& images, int nWidth, int nHeight,
                        int bTransmit, int bSystemMemory, int bTexSystemMemory, int bAlias);
// 1 when the surface (found by address) was released and removed with its
// image record; 0 when it is not in the list.
int DDRemoveSurfaceFromList(std::list<DDSURFACEDATA>& surfaces, std::list<IMAGEDATA>& images,
                            DDSURFACEDATA* lpSD);

// Loads image-table rows (their numbers in lpImageNumbers) into the surface
// table; false after the box of a mandatory row that failed.
bool DDLoadSurfaces(DDSURFACEDATA* lpSurfaceTable, const int* lpImageNumbers, int nCount);
bool DDCheckLoadError(int nCode);
// Direct3D: the alias rows of the surface table draw their linked rows.
void DDLinkSurfaces();
void DDResolveLink(DDSURFACEDATA** lplpSD);
