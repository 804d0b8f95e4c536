// Answers the dialogs of a test from a script (see platform::ScriptedDialogs);
// the previous backend comes back when the test ends. Boxes stay with the
// message-box backend of the test (ScopedMessageBoxes).
#pragma once

#include <string_view>

#include "platform/dialogs.h"

class ScopedDialogScript {
 public:
  explicit ScopedDialogScript(std::string_view script)
      : m_Script(script), m_pPrevious(platform::SetDialogBackend(&m_Script)) {}
  ~ScopedDialogScript() { platform::SetDialogBackend(m_pPrevious); }
  ScopedDialogScript(const ScopedDialogScript&) = delete;
  ScopedDialogScript& operator=(const ScopedDialogScript&) = delete;

  std::size_t PendingAnswers() const { return m_Script.PendingAnswers(); }

 private:
  platform::ScriptedDialogs m_Script;
  platform::DialogBackend* m_pPrevious;
};
