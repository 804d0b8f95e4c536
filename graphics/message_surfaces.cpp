#include "graphics/message_surfaces.h"

#include <map>

#include "graphics/surface.h"

std::list<DDSURFACEDATA> g_lstMessageSD;
std::list<IMAGEDATA> g_lstMessageImage;

namespace {

std::map<int, DDSURFACEDATA*> g_MessageIds;
int g_nNextMessageId = 1;

}  // namespace

int DDAddMessageSurface(int nWidth, int nHeight) {
  if (!DDAddSurfaceToList(g_lstMessageSD, g_lstMessageImage, nWidth, nHeight, 1, 0, 0, 0)) {
    DDRemoveSurfaceFromList(g_lstMessageSD, g_lstMessageImage, &g_lstMessageSD.back());
    return 0;
  }
  const int id = g_nNextMessageId++;
  g_MessageIds[id] = &g_lstMessageSD.back();
  return id;
}

DDSURFACEDATA* DDFindMessageSurface(int nId) {
  const auto found = g_MessageIds.find(nId);
  return found == g_MessageIds.end() ? nullptr : found->second;
}

void DDRemoveMessageSurface(int nId) {
  const auto found = g_MessageIds.find(nId);
  if (found == g_MessageIds.end()) return;
  DDRemoveSurfaceFromList(g_lstMessageSD, g_lstMessageImage, found->second);
  g_MessageIds.erase(found);
}

void DDClearMessageSurfaces() {
  DDReleaseSurfaceList(g_lstMessageSD);
  g_lstMessageSD.clear();
  g_lstMessageImage.clear();
  g_MessageIds.clear();
}
