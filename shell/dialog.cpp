#include "shell/dialog.h"

#include <algorithm>

#include "base/report.h"
#include "base/strings.h"
#include "platform/gtk_dialogs.h"
#include "platform/text.h"
#include "platform/transcript.h"

namespace {

constexpr int kMaxItemText = 5120;

// The first bytes of text that fit maxBytes without splitting a character.
std::string CutToBytes(const std::string& text, int maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t step = IsDoubleByteChar(text.c_str() + end) ? 2 : 1;
    if (end + step > static_cast<std::size_t>(std::max(maxBytes, 0))) break;
    end += step;
  }
  return text.substr(0, end);
}

const char* ButtonName(const platform::DialogTemplate& dialog, int id) {
  for (const platform::DialogItem& item : dialog.items)
    if (item.id == id && item.scriptKey != nullptr) return item.scriptKey;
  return "?";
}

}  // namespace

void cControl::Attach(cDialog* pDialog, int nId) {
  m_pDialog = pDialog;
  m_nId = nId;
}

EDITDESC OneLineEdit(int nId, std::string* pTarget, int nChars, bool bDoubleByte) {
  return {nId, pTarget, nChars + 1, bDoubleByte ? nChars : 0, bDoubleByte};
}

int cEditControl::BufferBytes() const {
  const int a = m_Desc.nLimitA > 0 ? m_Desc.nLimitA : 4096;
  return m_Desc.bDoubleByte ? 2 * a - 1 : a;
}

int cEditControl::Measure(const std::string& text) const {
  return m_Desc.bDoubleByte ? CountChars(text.c_str()) : static_cast<int>(text.size());
}

std::string cEditControl::Cut(const std::string& text) const {
  const int limit = m_Desc.nLimitB > 0 ? m_Desc.nLimitB : 1024;
  std::string cut = CutToBytes(text, BufferBytes() - 1);
  while (Measure(cut) > limit) {
    const std::size_t last = cut.size() >= 2 && IsDoubleByteChar(cut.c_str() + cut.size() - 2) ? 2 : 1;
    cut.erase(cut.size() - last);
  }
  return cut;
}

void cEditControl::Attach(cDialog* pDialog, const EDITDESC& desc) {
  cControl::Attach(pDialog, desc.nId);
  m_Desc = desc;
  m_strAccepted = desc.pTarget ? *desc.pTarget : std::string();
  m_bAttaching = true;
  UpdateControl();
  m_bAttaching = false;
}

void cEditControl::UpdateControl() {
  // Setting the item's text is a change like any other: it is kept within
  // the limits (cut while attaching, else the last accepted text).
  std::string text = m_Desc.pTarget ? *m_Desc.pTarget : std::string();
  OnChange(text);
  SetDlgItemString(*m_pDialog, m_nId, text);
}

void cEditControl::UpdateData() {
  if (m_Desc.pTarget) GetDlgItemString(*m_pDialog, m_nId, *m_Desc.pTarget, BufferBytes());
}

void cEditControl::OnChange(std::string& text) {
  // The text as it would be read back, then within the line's length.
  const std::string cut = Cut(text);
  if (m_bAttaching) {
    text = cut;
  } else if (cut != text) {
    text = m_strAccepted;
  }
  m_strAccepted = text;
}

void cCheckBox::UpdateControl() { m_pDialog->Items().checks[m_nId] = *m_pTarget != 0 ? 1 : 0; }

void cCheckBox::UpdateData() { *m_pTarget = m_pDialog->Items().checks[m_nId] != 0 ? 1 : 0; }

void cRadioButton::UpdateControl() { m_pDialog->Items().checks[m_nId] = *m_pTarget == m_nValue ? 1 : 0; }

void cRadioButton::UpdateData() {
  if (m_pDialog->Items().checks[m_nId] != 0) *m_pTarget = m_nValue;
}

void cDialog::OnInitDialog() {
  m_vChildren.clear();
  m_Hook.KeyboardHook(false);
}

int cDialog::OnCommand(unsigned /*wParam*/, long /*lParam*/) { return 0; }

void cDialog::End(int nResult) {
  m_nResult = nResult;
  m_bEnded = true;
  m_vChildren.clear();
}

void cDialog::UpdateControls() {
  for (cControl* child : m_vChildren) child->UpdateControl();
}

void cDialog::UpdateData() {
  for (cControl* child : m_vChildren) child->UpdateData();
}

int cDialog::DoModal() {
  End(0);
  m_bEnded = false;
  OnInitDialog();
  while (!m_bEnded) {
    platform::DialogRequest request;
    request.dialog = &m_Template;
    request.title = m_strTitle;
    request.x = m_nStoredX;
    request.y = m_nStoredY;
    request.items = m_Items;
    request.onEditChange = [this](int id, std::string& text) {
      for (cControl* child : m_vChildren)
        if (child->Id() == id) child->OnChange(text);
    };
    const int pressed = platform::Dialogs().RunDialog(request);
    m_Items = std::move(request.items);
    std::string line = std::string("dialog ") + m_Template.scriptName + " -> " +
                       (pressed == 0 ? "close" : ButtonName(m_Template, pressed));
    for (const auto& [id, text] : m_Items.texts) line += " \"" + platform::Cp932ToUtf8(text) + "\"";
    platform::TranscriptLine(line);
    if (pressed == 0) {
      End(0);  // the close box
    } else {
      OnCommand(static_cast<unsigned>(pressed), 0);
    }
  }
  return m_nResult;
}

void GetDlgItemString(cDialog& dialog, int nId, std::string& str, int max) {
  str = CutToBytes(dialog.Items().texts[nId], std::min(max, kMaxItemText) - 1);
}

void SetDlgItemString(cDialog& dialog, int nId, const std::string& str) { dialog.Items().texts[nId] = str; }

bool StartDialogs(bool bHeadless) {
  const auto report = [](const std::string& line) { ReportF("%s", line.c_str()); };
  if (bHeadless) {
    platform::InstallScriptedDialogs(report);
    return false;
  }
  return platform::StartGtkDialogs(report);
}
