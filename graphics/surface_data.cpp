#include "graphics/surface_data.h"

#include <cstring>

#include "graphics/device.h"

void CopyName(char (&field)[kPathSize], const char* text) {
  if (!text) text = "";
  const std::size_t length = std::min(std::strlen(text), sizeof field - 1);
  std::memcpy(field, text, length);
  field[length] = '\0';
}

void DDSURFACEDATA::DDAllocSurfaceData() {
  if (g_bDirect3D) {
    if (!lpDT) lpDT = new D3DTEXTUREDATA();
  } else if (!lpDDraw) {
    lpDDraw = new DDRAWSURFACEDATA();
  }
}

IMAGEDATA& IMAGEDATA::Set(const char* fileName, int transmit, int systemMemory, int texSystemMemory, int alias,
                          int palIndex, int optional, int mirrorWidth, int mirrorHeight, int width, int height) {
  CopyName(szFileName, fileName);
  bTransmit = transmit;
  bSystemMemory = systemMemory;
  bTexSystemMemory = texSystemMemory;
  bAlias = alias;
  bPalIndex = palIndex;
  bOptional = optional;
  nMirrorWidth = mirrorWidth;
  nMirrorHeight = mirrorHeight;
  nWidth = width;
  nHeight = height;
  return *this;
}
