// Records the message boxes a test shows, without echoing them, and answers
// them from a queue; the previous backend comes back when the test ends.
#pragma once

#include "platform/message_box.h"

class ScopedMessageBoxes : public platform::RecordingMessageBoxes {
 public:
  ScopedMessageBoxes() : RecordingMessageBoxes(false), m_pPrevious(platform::SetMessageBoxBackend(this)) {}
  ~ScopedMessageBoxes() override { platform::SetMessageBoxBackend(m_pPrevious); }
  ScopedMessageBoxes(const ScopedMessageBoxes&) = delete;
  ScopedMessageBoxes& operator=(const ScopedMessageBoxes&) = delete;

 private:
  platform::MessageBoxBackend* m_pPrevious;
};
