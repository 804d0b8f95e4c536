// The launcher: before the graphics start, the player chooses Direct3D or
// DirectDraw and whether to be asked again; the choice is kept in
// user_data\Boot.dat (g_Boot).
//
// DoModal returns 1 for "ゲーム開始" (the choice is stored and saved; a failed
// save is not reported) and 0 for "ゲーム中止" or the close box (g_Boot is
// left as it was).
#pragma once

#include <vector>

#include "shell/dialog.h"

struct SYSTEMINIDATA;

enum {
  IDC_LAUNCHER_START = 1000,
  IDC_LAUNCHER_CANCEL = 1001,
  IDC_LAUNCHER_DIRECT3D = 1002,
  IDC_LAUNCHER_DIRECTDRAW = 1003,
  IDC_LAUNCHER_NO_LAUNCHER = 1004,
};

// Resource 103.
const platform::DialogTemplate& LauncherTemplate();

class cLauncherDialog : public cDialog {
 public:
  // Placed at the main window's position plus (133, 104).
  cLauncherDialog(int ownerX, int ownerY);
  ~cLauncherDialog() override;

 protected:
  void OnInitDialog() override;
  int OnCommand(unsigned wParam, long lParam) override;

 private:
  std::vector<cCheckBox> m_vCheckBoxes;
  std::vector<cRadioButton> m_vRadios;
};

extern cLauncherDialog* g_pLauncherDialog;

// Start-up's step when System.ini asks for the launcher (nDirect3D 2 or
// more): g_Boot is loaded (missing: the defaults), the launcher runs unless
// it was told not to show again, and nDirect3D becomes 1 for Direct3D, else
// 0. 0 when the player cancelled: the program ends without a message.
int ChooseRendererAtStartup(SYSTEMINIDATA& ini, int ownerX, int ownerY);
