#include "scenes/stage/stage_draw_layers.h"

#include <algorithm>
#include <cmath>

#include "base/report.h"
#include "game/core/numeric.h"
#include "game/objects/map_cell_run.h"
#include "game/stage/stage_play.h"
#include "graphics/blit.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/surface.h"
#include "graphics/surface_effects.h"
#include "model/settings/system_data.h"
#include "model/stage/stage_records.h"
#include "scenes/stage/stage_scene.h"

namespace {

constexpr int kScreenWidth = 640, kScreenHeight = 480;
constexpr int kMarginPixels = 320;  // the play map's ten cells before the stage proper
constexpr int kMaxTiles = 1000;     // per row and per column
constexpr int kMapRows = 16, kMapColumns = 21;

bool HoldsImage(const DDSURFACEDATA& surface) {
  return (surface.lpDT || surface.lpDDraw) && surface.nWidth > 0 && surface.nHeight > 0;
}

// The offset moved by the speed and wrapped into 0..size (a speed larger
// than the image wraps as often as it needs).
double WrapOffset(double offset, double speed, int size) {
  offset -= speed;
  if (size <= 0 || !std::isfinite(offset)) return 0;
  offset = std::fmod(offset, size);
  return offset < 0 ? offset + size : offset;
}

int PositiveModulo(int value, int size) {
  const int m = value % size;
  return m < 0 ? m + size : m;
}

// The image tiled over the screen from offset (ox, oy).
void DrawTiles(DDSURFACEDATA* lpSD, DDSURFACEDATA* lpImage, int ox, int oy, int dwFlags) {
  const int w = lpImage->nWidth, h = lpImage->nHeight;
  const int firstX = PositiveModulo(ox, w);
  int sy = PositiveModulo(oy, h), rowHeight = h - sy;
  for (int row = 0, y = 0; row < kMaxTiles && y < kScreenHeight; ++row) {
    int sx = firstX, columnWidth = w - firstX;
    for (int column = 0, x = 0; column < kMaxTiles && x < kScreenWidth; ++column) {
      DDBlt(lpSD, x, y, columnWidth, rowHeight, lpImage, sx, sy, dwFlags);
      x += columnWidth;
      sx = 0;
      columnWidth = w;
    }
    y += rowHeight;
    sy = 0;
    rowHeight = h;
  }
}

}  // namespace

bool CreateEffectSurfaces(DDSURFACEDATA* lpMask, DDSURFACEDATA* lpHole, int nRadius, int nShape) {
  DDReleaseSurface(lpMask);
  DDReleaseSurface(lpHole);
  const int m = std::max(nRadius, 0);
  const IMAGEDATA& maskImage = g_ImageTable[65];
  if (!DDCreateSurface(lpMask, 2 * kScreenWidth + 2 * m, 2 * kScreenHeight + 2 * m, maskImage.bTransmit,
                       maskImage.bSystemMemory, maskImage.bTexSystemMemory, 0, 0)) {
    OutOfMemoryError();
    return false;
  }
  DDFillRectPal(lpMask, 0, 0, lpMask->nWidth, lpMask->nHeight, kBackdropColour);
  if (m == 0) return true;
  const int left = lpMask->nWidth / 2 - m, top = lpMask->nHeight / 2 - m;
  if (nShape != 1 && nShape != 2) {
    DDFillRectPal(lpMask, left, top, 2 * m, 2 * m, 0);
    return true;
  }
  const IMAGEDATA& holeImage = g_ImageTable[66];
  if (!DDCreateSurface(lpHole, 2 * m, 2 * m, holeImage.bTransmit, holeImage.bSystemMemory,
                       holeImage.bTexSystemMemory, 0, 0)) {
    OutOfMemoryError();
    return false;
  }
  if (g_SystemData.m_bFullColour)
    DDFillRect(lpHole, 0, 0, 2 * m, 2 * m, g_dwTransmit);
  else
    DDFillRectPal(lpHole, 0, 0, 2 * m, 2 * m, 0);
  DDBltCircle(lpMask, lpMask->nWidth / 2, lpMask->nHeight / 2, m, m, m, 1, lpHole, m, m, 0);
  return true;
}

void ScrollBackgrounds(std::vector<cEdBackground>& backgrounds) {
  const int count = std::min(static_cast<int>(backgrounds.size()), kBackgroundSlots);
  for (int i = 0; i < count; ++i) {
    cEdBackground& background = backgrounds[static_cast<std::size_t>(i)];
    const DDSURFACEDATA& image = g_SurfaceTable[kFirstBackgroundImage + i];
    if (background.m_bAutoX) background.m_dOffsetX = WrapOffset(background.m_dOffsetX, background.m_dSpeedX, image.nWidth);
    if (background.m_bAutoY)
      background.m_dOffsetY = WrapOffset(background.m_dOffsetY, background.m_dSpeedY, image.nHeight);
  }
}

void DrawBackgrounds(DDSURFACEDATA* lpSD, const std::vector<cEdBackground>& backgrounds, const cScrollAxis& scrollX,
                     const cScrollAxis& scrollY, int nLayer) {
  const int count = std::min(static_cast<int>(backgrounds.size()), kBackgroundSlots);
  const bool anyEnabled =
      std::any_of(backgrounds.begin(), backgrounds.begin() + count, [](const cEdBackground& b) { return b.m_bShow; });
  if (nLayer == 0 && !anyEnabled) {
    DDFillRectPal(lpSD, 0, 0, kScreenWidth, kScreenHeight, kBackdropColour);
    return;
  }
  int drawn = 0;
  for (int i = 0; i < count; ++i) {
    const cEdBackground& background = backgrounds[static_cast<std::size_t>(i)];
    if (!background.m_bShow || background.m_nLayer != nLayer) continue;
    if (background.m_bFill) {
      DDFillRectPal(lpSD, 0, 0, kScreenWidth, kScreenHeight, static_cast<std::uint32_t>(background.m_nFillColour));
      ++drawn;
      continue;
    }
    DDSURFACEDATA* image = &g_SurfaceTable[kFirstBackgroundImage + i];
    if (!HoldsImage(*image)) continue;
    // The horizontal parallax rounds the scroll position, the vertical one truncates it.
    const int ox = background.m_bAutoX
                       ? TruncToInt(scrollX.m_dPos + background.m_dOffsetX - kMarginPixels)
                       : TruncToInt((std::trunc(scrollX.m_dPos + 0.5) - kMarginPixels) * background.m_dSpeedX);
    const int oy = background.m_bAutoY
                       ? TruncToInt(scrollY.m_dPos + background.m_dOffsetY - kMarginPixels)
                       : TruncToInt((std::trunc(scrollY.m_dPos) - kMarginPixels) * background.m_dSpeedY);
    DrawTiles(lpSD, image, ox, oy, nLayer == 0 && drawn == 0 ? 0 : 1);
    ++drawn;
  }
  if (nLayer == 0 && drawn == 0) DDFillRectPal(lpSD, 0, 0, kScreenWidth, kScreenHeight, kBackdropColour);
}

void DrawMapLayer(cStagePlay& play, cDrawTarget& target, sSurface dst, int nLayer) {
  const int scrollX = TruncToInt(play.m_ScrollX.m_dPos), scrollY = TruncToInt(play.m_ScrollY.m_dPos);
  const int firstRow = scrollY >> 5, firstColumn = scrollX >> 5;
  for (int r = 0; r < kMapRows; ++r) {
    const int row = firstRow + r;
    if (row < 0 || row >= play.m_ScrollY.m_nCells) continue;
    for (int c = 0; c < kMapColumns; ++c) {
      const int column = firstColumn + c;
      if (column < 0 || column >= play.m_ScrollX.m_nCells) continue;
      cMapCell& cell = play.MapCell(column, row);
      const cEdBlock& block = cell.m_Block;
      if (block.m_nGraphicNo == 0 || block.m_nLayer != nLayer || block.m_bHidden) continue;
      if (!play.CheckBlockCondition(cell)) continue;
      DrawMapCell(cell, target, dst, 32 * c - (scrollX & 31), 32 * r - (scrollY & 31));
    }
  }
}

void DrawPictures(cStagePlay& play, cDrawTarget& target, sSurface dst, int nLayer, int bPaused,
                  const std::function<sSurface(int nPosition)>& surfaceAt) {
  int position = 0;
  for (auto picture = play.m_PictureList.begin(); picture != play.m_PictureList.end();) {
    if (picture->m_nLayer == nLayer && picture->Draw(target, dst, surfaceAt(position), bPaused) == 1) {
      play.RemovePictureSurface(position);
      picture = play.m_PictureList.erase(picture);
      continue;
    }
    ++picture;
    ++position;
  }
}
