#include "graphics/image_table.h"

#include <cstdio>

IMAGEDATA g_ImageTable[kImageCount];
DDSURFACEDATA g_SurfaceTable[kImageCount];
DDSURFACEDATA g_DigitSurface[3];
IMAGEDATA g_DigitImage[3];

namespace {

enum : int { T = 1, S = 2, A = 4, O = 8 };

void Row(int n, const char* file, int flags, int mirrorWidth = 0, int width = 0, int height = 0) {
  g_ImageTable[n].Set(file, (flags & T) ? 1 : 0, (flags & S) ? 1 : 0, 0, (flags & A) ? 1 : 0, 0, (flags & O) ? 1 : 0,
                      mirrorWidth, 0, width, height);
}

// Runs before main, so that the table is ready as the program starts.
const bool g_bImageTableReady = (InitImageTable(), true);

}  // namespace

void InitImageTable() {
  Row(0, "bmp\\plt\\Palette.bmp", S);
  Row(1, "bmp\\Debug.bmp", T);
  Row(2, "bmp\\Block.bmp", T);
  Row(3, "bmp\\Block.bmp", T | S | A);
  Row(4, "bmp\\Character1.bmp", T);
  Row(5, "bmp\\Character1.bmp", T, 32);
  for (int k = 2; k <= 8; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "bmp\\Character%d.bmp", k);
    const int row = 6 + (k - 2) * 2;
    Row(row, name, T | O);
    Row(row + 1, name, T | O, 32);
  }
  Row(20, "bmp\\Shot.bmp", T);
  Row(21, "bmp\\Shot.bmp", T, 16);
  for (int n = 22; n <= 39; ++n) {
    g_ImageTable[n] = g_ImageTable[n - 18];
    g_ImageTable[n].bSystemMemory = 1;
    g_ImageTable[n].bAlias = 1;
  }
  Row(40, "bmp\\Item.bmp", T);
  Row(41, "bmp\\Item.bmp", T | S | A);
  Row(42, "bmp\\Item_Mini.bmp", T);
  Row(43, "bmp\\Mark.bmp", T);
  Row(44, "bmp\\Mark.bmp", T | S | A);
  Row(45, "bmp\\Window.bmp", 0);
  Row(46, "bmp\\StatusWindow.bmp", 0);
  Row(47, "bmp\\Title.bmp", 0);
  Row(48, "bmp\\GameMode.bmp", T | O);
  Row(49, "bmp\\Accessory.bmp", T);
  Row(50, "bmp\\Symbol.bmp", T);
  Row(51, "bmp\\Word.bmp", T);
  Row(52, "bmp\\WorldMapChip.bmp", T);
  Row(53, "bmp\\WorldEvent.bmp", T | S);
  Row(54, "bmp\\WorldBack.bmp", S | O);
  Row(55, "背景その1.bmp", O);
  for (int k = 2; k <= 8; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "背景その%d.bmp", k);
    Row(54 + k, name, T | O);
  }
  Row(63, "E", T | S, 0, 256, 960);
  Row(64, "E", T | S, 0, 256, 960);
  Row(65, "E", T | S, 0, 640, 480);
  Row(66, "E", S, 0, 640, 480);
  Row(67, "E", T, 0, 640, 480);
  Row(68, "E", T | S | A, 0, 640, 480);
  for (IMAGEDATA& digits : g_DigitImage) digits.Set("", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}
