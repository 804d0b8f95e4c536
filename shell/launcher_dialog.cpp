#include "shell/launcher_dialog.h"

#include "base/report.h"
#include "model/settings/paths.h"
#include "model/settings/system_data.h"
#include "model/user/options.h"
#include "shell/system_ini.h"

cLauncherDialog* g_pLauncherDialog = nullptr;

const platform::DialogTemplate& LauncherTemplate() {
  using K = platform::DialogItemKind;
  static const platform::DialogTemplate dialog{
      103, "launcher", 222, 171, true,
      {
          {1075, K::Bitmap, "", 7, 7, 20, 21, nullptr},
          {IDC_LAUNCHER_START, K::DefaultPushButton, "ゲーム開始", 80, 105, 50, 25, "start"},
          {IDC_LAUNCHER_CANCEL, K::PushButton, "ゲーム中止", 80, 140, 50, 18, "cancel"},
          {-1, K::GroupBox, "描画モード", 15, 15, 190, 55, nullptr},
          {IDC_LAUNCHER_DIRECT3D, K::RadioButton, "Direct3D", 20, 30, 42, 10, "renderer=1"},
          {IDC_LAUNCHER_DIRECTDRAW, K::RadioButton, "DirectDraw", 80, 30, 45, 10, "renderer=0"},
          {-1, K::Static, "詳細な設定は環境設定ファイル「System.ini」で行って下さい。", 20, 50, 177, 12, nullptr},
          {IDC_LAUNCHER_NO_LAUNCHER, K::CheckBox, "次回からこのダイアログを表示しない", 50, 85, 120, 10, "hide"},
      }};
  return dialog;
}

cLauncherDialog::cLauncherDialog(int ownerX, int ownerY) : cDialog(LauncherTemplate()) {
  g_pLauncherDialog = this;
  // Centred over the 640x480 client of the main window; no cursor warp.
  SetStoredPosition(ownerX + (320 - 187), ownerY + (240 - 136));
  m_vRadios.emplace_back(IDC_LAUNCHER_DIRECT3D, &g_Boot.m_nRenderer, 1);
  m_vRadios.emplace_back(IDC_LAUNCHER_DIRECTDRAW, &g_Boot.m_nRenderer, 0);
  m_vCheckBoxes.emplace_back(IDC_LAUNCHER_NO_LAUNCHER, &g_Boot.m_bNoLauncher);
}

cLauncherDialog::~cLauncherDialog() {
  if (g_pLauncherDialog == this) g_pLauncherDialog = nullptr;
}

void cLauncherDialog::OnInitDialog() {
  cDialog::OnInitDialog();
  SetTitle(g_SystemData.m_strTitle);
  for (cRadioButton& radio : m_vRadios) {
    radio.Attach(this);
    AddChild(&radio);
  }
  for (cCheckBox& check : m_vCheckBoxes) {
    check.Attach(this);
    AddChild(&check);
  }
  UpdateControls();
}

int cLauncherDialog::OnCommand(unsigned wParam, long lParam) {
  const int result = cDialog::OnCommand(wParam, lParam);
  switch (wParam & 0xFFFF) {
    case IDC_LAUNCHER_START:
      UpdateData();
      // Not kept, the choice still holds for this run.
      if (g_Boot.SaveFile(g_astrFilePath[PATH_BOOT]) == 0)
        ReportErrorF("%s の保存に失敗しました！", g_astrFilePath[PATH_BOOT]);
      End(1);
      return 1;
    case IDC_LAUNCHER_CANCEL:
      End(0);
      return 1;
    default:
      return result;
  }
}

int ChooseRendererAtStartup(SYSTEMINIDATA& ini, int ownerX, int ownerY) {
  if (ini.nDirect3D < 2) return 1;
  g_Boot.LoadFile(g_astrFilePath[PATH_BOOT]);
  if (g_Boot.m_bNoLauncher == 0) {
    cLauncherDialog launcher(ownerX, ownerY);
    if (launcher.DoModal() == 0) return 0;
  }
  ini.nDirect3D = g_Boot.m_nRenderer == 1 ? 1 : 0;
  return 1;
}
