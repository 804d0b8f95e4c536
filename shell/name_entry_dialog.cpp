#include "shell/name_entry_dialog.h"

#include "model/user/options.h"
#include "model/settings/system_data.h"

cNameEntryDialog* g_pNameEntryDialog = nullptr;

const platform::DialogTemplate& NameEntryTemplate() {
  using K = platform::DialogItemKind;
  static const platform::DialogTemplate dialog{
      102, "name", 110, 65, false,
      {
          {1075, K::Bitmap, "", 7, 7, 20, 21, nullptr},
          {IDC_NAME_EDIT, K::Edit, "", 75, 12, 24, 14, nullptr},
          {IDC_NAME_OK, K::DefaultPushButton, "OK", 30, 35, 50, 18, "ok"},
          {-1, K::Static, "登録名(3文字まで)", 15, 15, 56, 8, nullptr},
      }};
  return dialog;
}

std::string* NameEntryTarget(int nPlayStart, std::string* pStageRankName) {
  return nPlayStart == TITLE_OPTION ? &g_OptionData.m_strName : pStageRankName;
}

cNameEntryDialog::cNameEntryDialog(std::string* pTarget, bool bWindowed, int ownerX, int ownerY)
    : cDialog(NameEntryTemplate()), m_pTarget(pTarget) {
  g_pNameEntryDialog = this;
  SetStoredPosition(bWindowed ? ownerX + 240 : 240, bWindowed ? ownerY + 220 : 220);
}

cNameEntryDialog::~cNameEntryDialog() {
  if (g_pNameEntryDialog == this) g_pNameEntryDialog = nullptr;
}

void cNameEntryDialog::OnInitDialog() {
  cDialog::OnInitDialog();
  m_vEdits.clear();
  m_vEdits.emplace_back();
  // Limit A 4 (read back through 7 bytes), B 3 characters, one line.
  m_vEdits.back().Attach(this, OneLineEdit(IDC_NAME_EDIT, m_pTarget, 3, true));
  AddChild(&m_vEdits.back());
  UpdateControls();
}

int cNameEntryDialog::OnCommand(unsigned wParam, long lParam) {
  const int result = cDialog::OnCommand(wParam, lParam);
  switch (wParam & 0xFFFF) {
    case IDC_NAME_OK:
      UpdateData();
      End(1);
      return 1;
    case IDC_NAME_CANCEL:
      End(0);
      return 1;
    default:
      return result;
  }
}
