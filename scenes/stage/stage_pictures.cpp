// The surfaces of the pictures the flows show over the stage: one surface,
// loaded from the picture's file with the transparent colour, per entry of
// the picture list and at the same position, so that the drawing finds a
// picture's surface by its place in the list ({SURFACES_PICTURE, position}).
#include <algorithm>

#include "graphics/device.h"
#include "graphics/surface.h"
#include "graphics/surface_file.h"
#include "scenes/stage/stage_scene.h"

DDSurfaceVector g_vecPictureSD;
ImageVector g_vecPictureImage;

bool cStageScene::InsertPictureSurface(int nPosition, const std::string& strFile, int& nWidth, int& nHeight) {
  DDSURFACEDATA surface;
  const int code = DDCreateSurfaceFromFile(&surface, strFile.c_str(), 1, g_nBpp, 0, 0, 0, 0, 0, 0, 0);
  if (!DDCheckLoadError(code)) {
    DDReleaseSurface(&surface);
    return false;
  }
  const int at = std::clamp(nPosition, 0, static_cast<int>(g_vecPictureSD.size()));
  IMAGEDATA image;
  image.Set(strFile.c_str(), 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  g_vecPictureSD.insert(g_vecPictureSD.begin() + at, surface);
  g_vecPictureImage.insert(g_vecPictureImage.begin() + at, image);
  nWidth = surface.nWidth;
  nHeight = surface.nHeight;
  return true;
}

void cStageScene::RemovePictureSurface(int nPosition) {
  if (nPosition < 0 || nPosition >= static_cast<int>(g_vecPictureSD.size())) return;
  DDReleaseSurface(&g_vecPictureSD[static_cast<std::size_t>(nPosition)]);
  g_vecPictureSD.erase(g_vecPictureSD.begin() + nPosition);
  g_vecPictureImage.erase(g_vecPictureImage.begin() + nPosition);
}

void cStageScene::ReleasePictureSurfaces() {
  DDReleaseSurfaceVector(g_vecPictureSD);
  g_vecPictureSD.clear();
  g_vecPictureImage.clear();
}
