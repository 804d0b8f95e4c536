// Dialog boxes and file choosers, shown by a swappable backend.
//
// A dialog is described by its template (the items of a resource, placed in
// dialog units) and runs modally: the backend shows the items with the
// states given in a DialogItemState, lets the user change them, and returns
// the id of the push button that was pressed, with the states as the user
// left them; closing the dialog returns 0. While the user types into an edit
// item, onEditChange may change the text (a length limit); text without an
// exact CP932 form is refused before it gets there.
//
// ChooseFile runs an open or save file chooser and returns the native path
// chosen, or nothing when cancelled. Patterns ("*.stg4_*;*.rpl4_*") match
// without regard to case.
//
// Backends: GTK 3 (gtk_dialogs.h), or the scripted one below, which answers
// from PLAYER_DIALOG_SCRIPT and without a script cancels everything. Every
// text crossing this interface is CP932 except native paths.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_box.h"

namespace platform {

enum class DialogItemKind { Static, Bitmap, GroupBox, PushButton, DefaultPushButton, RadioButton, CheckBox, Edit };

struct DialogItem {
  int id;  // -1 for items nobody addresses
  DialogItemKind kind;
  const char* text;  // CP932
  int x, y, width, height;  // dialog units
  // The item's word in dialog scripts: a button's name, a check box's key,
  // or "key=value" for a radio button; nullptr for none.
  const char* scriptKey;
};

struct DialogTemplate {
  int resourceId;
  const char* scriptName;  // the dialog's word in scripts and transcripts
  int width, height;       // dialog units
  bool caption;            // a title bar with a close box
  std::vector<DialogItem> items;
};

// The state of a dialog's items: buttons' check marks and edits' texts.
struct DialogItemState {
  std::map<int, int> checks;
  std::map<int, std::string> texts;  // CP932
};

struct DialogRequest {
  const DialogTemplate* dialog = nullptr;
  std::string title;             // CP932
  int x = -1000, y = -1000;      // screen position; -1000 = where the system puts it
  DialogItemState items;         // in and out
  std::function<void(int id, std::string& text)> onEditChange;
};

struct FileRequest {
  bool save = false;
  std::string title;       // CP932
  std::string filterName;  // CP932
  std::string patterns;    // "*.a;*.b"
  std::filesystem::path folder;
  std::string proposedName;  // CP932, the name offered by a save chooser
};

class DialogBackend {
 public:
  virtual ~DialogBackend() = default;
  // The id of the push button pressed, or 0 when the dialog was closed.
  virtual int RunDialog(DialogRequest& request) = 0;
  virtual std::optional<std::filesystem::path> ChooseFile(const FileRequest& request) = 0;
};

// The backend in use; the scripted one until another is installed.
DialogBackend& Dialogs();
// The scripted backend of start-up (answers from PLAYER_DIALOG_SCRIPT).
class ScriptedDialogs;
ScriptedDialogs& StartupDialogs();
// Installs a backend (nullptr: the scripted one); returns the previous one.
DialogBackend* SetDialogBackend(DialogBackend* backend);

// True when name (UTF-8) matches one of the ";"-separated patterns, without
// regard to case.
bool MatchesFilePatterns(std::string_view name, std::string_view patterns);

struct WorkArea {
  int x, y, width, height;
};
// A window of this size placed at (x, y) moved into the work area: a
// negative coordinate becomes the area's edge, and a window that reaches
// past the right or bottom edge ends at it.
void ClampToWorkArea(int& x, int& y, int width, int height, const WorkArea& area);

// Answers dialogs and boxes from a script, one answer a line, used in order
// ("#" starts a comment):
//   launcher start renderer=0 hide=1    press a button, setting items first
//   launcher close                      close a dialog with its close box
//   name ABC                            type into the edit, press the default button
//   open data/stg4/x.stg4_001           choose a file (relative to the current folder)
//   save cancel                         cancel a file chooser
//   message yes                         answer a box: ok, yes, no or cancel
// A dialog whose kind is not the next answer's is cancelled (a box gets the
// answer closing it would give) and the answer waits for its own kind.
// Every box is written down as one nobody sees (WriteUnshownBox).
class ScriptedDialogs : public DialogBackend, public MessageBoxBackend {
 public:
  ScriptedDialogs() = default;
  // Reads answers from a script text.
  explicit ScriptedDialogs(std::string_view script);
  // Reads the file that PLAYER_DIALOG_SCRIPT names (none: no answers).
  static ScriptedDialogs FromEnvironment();

  int RunDialog(DialogRequest& request) override;
  std::optional<std::filesystem::path> ChooseFile(const FileRequest& request) override;
  int Show(const std::string& text, const std::string& caption, unsigned type) override;

  // Answers not used yet.
  std::size_t PendingAnswers() const;

 private:
  // The next answer's words when its first word is kind (removed), else nothing.
  std::optional<std::vector<std::string>> Take(std::string_view kind);

  mutable std::mutex m_Mutex;
  std::vector<std::vector<std::string>> m_Answers;  // words of each line
  std::size_t m_nNext = 0;
};

// Called on the main thread after each dialog or box a real display showed:
// the game window takes its focus back (and releases the keys it saw held).
void SetDialogEndHook(std::function<void()> hook);
void RunDialogEndHook();

}  // namespace platform
