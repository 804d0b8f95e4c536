// The dialogs' keyboard hook.
//
// A dialog needs no hook to see its keys under GTK: the entry hands the keys
// to the input method while it composes (Enter commits the text there and
// does not press OK) and the dialog gets every other key itself. cHook keeps
// its place in the dialogs and does nothing: the hook is always in place
// and there is nothing to remove at shut-down.
#pragma once

class cHook {
 public:
  // The hook for a dialog's window; true: in place.
  bool KeyboardHook(bool /*bModeless*/) { return true; }
  static void UnhookAll() {}
};
