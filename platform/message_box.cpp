#include "platform/message_box.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>

#include "platform/main_thread.h"
#include "platform/text.h"
#include "platform/transcript.h"

namespace platform {

int SafeAnswer(unsigned type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;  // every other set of buttons has Cancel
  }
}

const char* AnswerName(int answer) {
  switch (answer) {
    case IDOK: return "ok";
    case IDCANCEL: return "cancel";
    case IDABORT: return "abort";
    case IDRETRY: return "retry";
    case IDIGNORE: return "ignore";
    case IDYES: return "yes";
    case IDNO: return "no";
    default: return "?";
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
std::mutex g_ReportMutex;
std::function<void(const std::string&)> g_ReportLine;
}  // namespace

void SetMessageBoxReportLine(std::function<void(const std::string& cp932)> report) {
  std::lock_guard lock(g_ReportMutex);
  g_ReportLine = std::move(report);
}

void WriteUnshownBox(const std::string& text, const std::string& caption) {
  std::string line = "[";
  line += Cp932ToUtf8(caption);
  line += "] ";
  line += Cp932ToUtf8(text);
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::function<void(const std::string&)> report;
  {
    std::lock_guard lock(g_ReportMutex);
    report = g_ReportLine;
  }
  if (report) report("[" + caption + "] " + text);
}

MessageBoxBackend* SetMessageBoxBackend(MessageBoxBackend* backend) {
  MessageBoxBackend* previous = g_pBackend.exchange(backend);
  return previous ? previous : &StartupMessageBoxes();
}

int MessageBoxA(const char* text, const char* caption, unsigned type) {
  MessageBoxBackend* backend = g_pBackend.load();
  if (!backend) backend = &StartupMessageBoxes();
  const std::string textCp932 = text ? text : "";
  const std::string captionCp932 = caption ? caption : "";
  // Shown on the main thread while the caller waits; once the main thread no
  // longer serves, the box is only written down and answered as closed.
  constexpr std::intptr_t kNotShown = INTPTR_MIN;
  const std::intptr_t shown = RunOnMainThread(
      [&] { return static_cast<std::intptr_t>(backend->Show(textCp932, captionCp932, type)); }, kNotShown);
  int answer = static_cast<int>(shown);
  if (shown == kNotShown) {
    answer = SafeAnswer(type);
    WriteUnshownBox(textCp932, captionCp932);
  }
  TranscriptLine("message [" + Cp932ToUtf8(captionCp932) + "] " + Cp932ToUtf8(textCp932) + " -> " +
                 AnswerName(answer));
  return answer;
}

}  // namespace platform
