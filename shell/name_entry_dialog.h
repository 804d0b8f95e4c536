// The name entry: the name under which a result enters the rankings, at
// most three characters, a double-byte character counting as one (so at
// most six bytes), typed in one line. Text without a CP932 form cannot be
// typed. OK stores the name into the bound string; the close box (or
// Escape) leaves it as it was.
#pragma once

#include <string>
#include <vector>

#include "shell/dialog.h"

enum {
  IDC_NAME_OK = 1000,
  IDC_NAME_CANCEL = 1001,
  IDC_NAME_EDIT = 1003,
};

// Resource 102.
const platform::DialogTemplate& NameEntryTemplate();

// The string the name entry edits: the options' registration name when the
// play was started from the title's options item, else the stage scene's
// ranking name (null when no stage scene runs: the edit is bound to
// nothing).
std::string* NameEntryTarget(int nPlayStart, std::string* pStageRankName);

class cNameEntryDialog : public cDialog {
 public:
  // Placed at (240, 220) on the screen in full screen, else at the main
  // window's position plus (240, 220).
  cNameEntryDialog(std::string* pTarget, bool bWindowed, int ownerX, int ownerY);
  ~cNameEntryDialog() override;

 protected:
  void OnInitDialog() override;
  int OnCommand(unsigned wParam, long lParam) override;

 private:
  std::string* m_pTarget;
  std::vector<cEditControl> m_vEdits;  // none or one
};

extern cNameEntryDialog* g_pNameEntryDialog;
