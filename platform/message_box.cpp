#include "platform/message_box.h"

#include <atomic>
#include <cstdio>

#include "platform/text.h"

namespace platform {

int SafeAnswer(unsigned type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;  // every other set of buttons has Cancel
  }
}

int RecordingMessageBoxes::Show(const std::string& text, const std::string& caption,
                                unsigned type) {
  std::lock_guard lock(m_Mutex);
  int answer = SafeAnswer(type);
  if (!m_Answers.empty()) {
    answer = m_Answers.front();
    m_Answers.pop_front();
  }
  m_Shown.push_back({text, caption, type, answer});
  if (m_bEcho) {
    std::string line = "[";
    line += Cp932ToUtf8(caption) + "] " + Cp932ToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
  }
  return answer;
}

void RecordingMessageBoxes::QueueAnswer(int answer) {
  std::lock_guard lock(m_Mutex);
  m_Answers.push_back(answer);
}

std::vector<ShownMessageBox> RecordingMessageBoxes::Shown() const {
  std::lock_guard lock(m_Mutex);
  return m_Shown;
}

void RecordingMessageBoxes::Clear() {
  std::lock_guard lock(m_Mutex);
  m_Shown.clear();
  m_Answers.clear();
}

RecordingMessageBoxes& StartupMessageBoxes() {
  static RecordingMessageBoxes boxes;
  return boxes;
}

namespace {
std::atomic<MessageBoxBackend*> g_pBackend{nullptr};
}

MessageBoxBackend* SetMessageBoxBackend(MessageBoxBackend* backend) {
  MessageBoxBackend* previous = g_pBackend.exchange(backend);
  return previous ? previous : &StartupMessageBoxes();
}

int MessageBoxA(const char* text, const char* caption, unsigned type) {
  MessageBoxBackend* backend = g_pBackend.load();
  if (!backend) backend = &StartupMessageBoxes();
  return backend->Show(text ? text : "", caption ? caption : "", type);
}

}  // namespace platform
