// The screen mode of start-up: from System.ini's renderer, window mode,
// colour depth and VSync, the project's colour mode and the desktop's depth.
//
// ChooseScreenMode settles the window flag, the VSync value and (when
// System.ini left it 0) the colour depth, writing the last two back into
// `ini` as the rest of start-up reads them there, then checks the result:
// - Direct3D runs at 16 or 32 bits, in a window only at the desktop's depth;
// - DirectDraw likewise, or full screen at 8 bits for a 256-colour project.
// A mode that cannot be used carries the box text start-up shows.
#pragma once

#include "shell/system_ini.h"

constexpr int SW_SHOWMAXIMIZED = 3;

// Colour modes of the project settings.
constexpr int COLOUR_MODE_PALETTE = 0;     // 256 colours with a palette
constexpr int COLOUR_MODE_FULL = 1;

struct ScreenModeChoice {
  bool bUsable = false;
  int bWindowed = 0;
  int nShowCommand = 0;        // for ShowWindow
  const char* pszError = nullptr;  // the box text when not usable
};

ScreenModeChoice ChooseScreenMode(SYSTEMINIDATA& ini, int colourMode, int desktopBpp,
                                  int showWindow);
