// A device started for drawing the game's texts and panels: the three game
// fonts over a plain box picture, the accessory sheet with a marked cell
// where every pointer and icon of the scenes lies (16 x 16 cells of their
// own palette colour), fresh settings, progress and stage, and the back
// buffer cleared. Everything is put back when the test ends.
#pragma once

#include <gtest/gtest.h>

#include "game/draw/draw_target.h"
#include "graphics/blit.h"
#include "graphics/font.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"
#include "scenes/front_end/play_start.h"
#include "scenes/scene_manager.h"
#include "support/graphics_device.h"

class TextDrawingDevice {
 public:
  static constexpr int kBoxColour = 60, kBackColour = 20;

  explicit TextDrawingDevice(const char* mode = "DD32") : m_Device(mode) {
    g_SystemData = cSystemData();
    g_SaveData = cSaveData();
    g_LoadedStage = cEdStage();
    g_SceneManager.m_nPlayMode = PLAY_STORY;
    g_bFreeStagePlay = 0;
    if (!Started()) return;
    DDSURFACEDATA& box = g_SurfaceTable[g_FontData[1].nBoxImage];
    DDCreateSurface(&box, 640, 480, 0, 0, 0, 0, 0);
    DDFillRectPal(&box, 0, 0, 640, 480, kBoxColour);
    // Accessory sheet: the 16 x 16 cell at (16 c, 16 r) is palette colour
    // 100 + 8 r + c.
    DDSURFACEDATA& accessory = g_SurfaceTable[IMAGE_ACCESSORY];
    DDCreateSurface(&accessory, 128, 208, 1, 0, 0, 0, 0);
    for (int r = 0; r < 13; ++r)
      for (int c = 0; c < 8; ++c) DDFillRectPal(&accessory, 16 * c, 16 * r, 16, 16, CellColour(c, r));
    DDCreateFonts(g_Font, g_FontData, 3);
    DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, kBackColour);
  }
  ~TextDrawingDevice() {
    for (Font& font : g_Font) font.Destroy();
    g_listFont.clear();
    DDReleaseSurface(&g_SurfaceTable[g_FontData[1].nBoxImage]);
    DDReleaseSurface(&g_SurfaceTable[IMAGE_ACCESSORY]);
    g_SystemData = cSystemData();
    g_SaveData = cSaveData();
    g_LoadedStage = cEdStage();
    g_SceneManager.m_nPlayMode = 0;
  }
  TextDrawingDevice(const TextDrawingDevice&) = delete;
  TextDrawingDevice& operator=(const TextDrawingDevice&) = delete;

  bool Started() const { return m_Device.device.Started(); }
  ScopedGraphicsDevice& Device() { return m_Device.device; }
  // The palette colour of the accessory cell at pixel (x, y) of the sheet.
  static int CellColour(int c, int r) { return 100 + 8 * r + c; }
  static int AccessoryColourAt(int sx, int sy) { return CellColour(sx / 16, sy / 16); }
  // Palette colour n as 0xRRGGBB, as the back buffer shows it.
  std::uint32_t Rgb(int palNum) { return Device().PaletteRgb(palNum) & 0xFFFFFF; }

 private:
  StartedGraphicsMode m_Device;
};
