#include "shell/screen_mode.h"

#include "base/system_info.h"

namespace {

constexpr const char* kWindowDepthError =
    "画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！";
constexpr const char* kModeError = "画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！";

bool IsTrueColourDepth(int bpp) { return bpp == 16 || bpp == 32; }

}  // namespace

ScreenModeChoice ChooseScreenMode(SYSTEMINIDATA& ini, int colourMode, int desktopBpp,
                                  int showWindow) {
  ScreenModeChoice choice;
  const bool direct3D = ini.nDirect3D != 0;
  if (direct3D) {
    choice.bWindowed = ini.nWindowMode != 0;
    if (ini.nVSync >= 2) ini.nVSync = 1;
  } else if (ini.nWindowMode != 0) {
    choice.bWindowed = 1;
    ini.nVSync = 0;
  } else {
    choice.bWindowed = 0;
    if (ini.nVSync >= 2) ini.nVSync = IsOsVersionAtLeast(6, 0) ? 0 : 1;
  }

  if (ini.nBpp == 0) {
    if (choice.bWindowed) {
      ini.nBpp = desktopBpp;
    } else if (direct3D) {
      ini.nBpp = 32;
    } else {
      ini.nBpp = colourMode == COLOUR_MODE_PALETTE ? 8 : 32;
    }
  }

  const bool depthFits =
      IsTrueColourDepth(ini.nBpp) && (!choice.bWindowed || ini.nBpp == desktopBpp);
  if (direct3D) {
    choice.bUsable = depthFits;
    choice.nShowCommand = showWindow;
  } else {
    choice.bUsable = depthFits || (ini.nBpp == 8 && !choice.bWindowed &&
                                   colourMode == COLOUR_MODE_PALETTE);
    choice.nShowCommand = choice.bWindowed ? showWindow : SW_SHOWMAXIMIZED;
  }
  if (!choice.bUsable) {
    choice.pszError =
        choice.bWindowed && IsTrueColourDepth(ini.nBpp) ? kWindowDepthError : kModeError;
  }
  return choice;
}
