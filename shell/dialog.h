// Dialog boxes of the program and the bindings of their items.
//
// A cDialog shows its template through the platform's dialog backend (GTK,
// or scripted answers) and runs modally: DoModal returns the result that
// End was given, 0 when the dialog was closed with its close box. Items that
// carry data are bound to cControl objects: UpdateControls copies every
// bound value into its item, UpdateData copies the items back (usually when
// OK is pressed); the bound values change only then.
//
// cEditControl keeps a one-line edit within its limits while the user
// types: limit A is the size in bytes of the buffer the text is read back
// through, the terminating zero included (with the double-byte flag the
// buffer is 2A - 1), limit B the characters of the line (counted with
// CountChars under the double-byte flag, else in bytes). A change that
// makes the text longer puts back the last text accepted; the text a
// binding starts with is cut to the limits instead.
//
// The dialog is placed at its stored screen position, moved into the work
// area; a position of -1000 leaves it where the system puts it.
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "shell/keyboard_hook.h"

class cDialog;

class cControl {
 public:
  virtual ~cControl() = default;
  // Remembers the dialog and the item.
  void Attach(cDialog* pDialog, int nId);
  virtual void UpdateControl() {}  // bound value to item
  virtual void UpdateData() {}     // item to bound value
  virtual void OnChange(std::string& /*text*/) {}
  int Id() const { return m_nId; }

 protected:
  cDialog* m_pDialog = nullptr;
  int m_nId = 0;
};

// The limits of a one-line edit of at most n characters.
struct EDITDESC {
  int nId;
  std::string* pTarget;  // may be null: an edit bound to nothing
  int nLimitA;           // read-back buffer in bytes with the zero; 0: 4096
  int nLimitB;           // characters of the line; 0: 1024
  bool bDoubleByte;
};
EDITDESC OneLineEdit(int nId, std::string* pTarget, int nChars, bool bDoubleByte);

class cEditControl : public cControl {
 public:
  void Attach(cDialog* pDialog, const EDITDESC& desc);
  void UpdateControl() override;
  void UpdateData() override;
  void OnChange(std::string& text) override;

 private:
  int BufferBytes() const;
  int Measure(const std::string& text) const;
  // text cut, by whole characters, to the limits.
  std::string Cut(const std::string& text) const;

  EDITDESC m_Desc{};
  std::string m_strAccepted;
  bool m_bAttaching = false;
};

// A check box or radio button bound to an int.
class cButtonControl : public cControl {
 public:
  cButtonControl(int nId, int* pTarget) : m_nItem(nId), m_pTarget(pTarget) {}
  void Attach(cDialog* pDialog) { cControl::Attach(pDialog, m_nItem); }

 protected:
  int m_nItem;
  int* m_pTarget;
};

// Checked when the int is nonzero; stores 0 or 1.
class cCheckBox : public cButtonControl {
 public:
  using cButtonControl::cButtonControl;
  void UpdateControl() override;
  void UpdateData() override;
};

// Checked when the int holds its value; stores its value when checked.
class cRadioButton : public cButtonControl {
 public:
  cRadioButton(int nId, int* pTarget, int nValue) : cButtonControl(nId, pTarget), m_nValue(nValue) {}
  void UpdateControl() override;
  void UpdateData() override;

 private:
  int m_nValue;
};

class cDialog {
 public:
  explicit cDialog(const platform::DialogTemplate& dialog) : m_Template(dialog) {}
  virtual ~cDialog() = default;
  cDialog(const cDialog&) = delete;
  cDialog& operator=(const cDialog&) = delete;

  // Shows the dialog until End is called or it is closed; the end result.
  int DoModal();
  void End(int nResult);
  void UpdateControls();
  void UpdateData();

  void SetStoredPosition(int x, int y) { m_nStoredX = x; m_nStoredY = y; }
  void SetTitle(const std::string& title) { m_strTitle = title; }
  platform::DialogItemState& Items() { return m_Items; }

 protected:
  // Empties the child list and sets up the keyboard hook; derived dialogs
  // attach their bindings after it.
  virtual void OnInitDialog();
  // wParam: the item id in the low word. Base: nothing to route here.
  virtual int OnCommand(unsigned wParam, long lParam);
  void AddChild(cControl* pControl) { m_vChildren.push_back(pControl); }

 private:
  const platform::DialogTemplate& m_Template;
  cHook m_Hook;
  platform::DialogItemState m_Items;
  std::vector<cControl*> m_vChildren;  // not owned
  std::string m_strTitle;
  int m_nStoredX = -1000;
  int m_nStoredY = -1000;
  int m_nResult = 0;
  bool m_bEnded = false;
};

// The text of a dialog item, read back through a buffer of max bytes (the
// terminating zero included; at most 5120), so cut, never inside a
// double-byte character.
void GetDlgItemString(cDialog& dialog, int nId, std::string& str, int max);
void SetDlgItemString(cDialog& dialog, int nId, const std::string& str);

// Start-up, on the main thread: dialogs and boxes through GTK when a display
// answers and the run is not headless, else from PLAYER_DIALOG_SCRIPT (or
// cancelled); boxes nobody sees go to the report. True with GTK.
bool StartDialogs(bool bHeadless);
