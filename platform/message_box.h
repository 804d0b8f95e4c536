// Message boxes: a text, a caption and the buttons to offer, answered with
// the button the user chose, as MessageBoxA does.
//
// Texts are CP932 bytes. The boxes are shown by a swappable backend. The
// one in place at start records every box in memory (tests read them back),
// writes it to standard error in UTF-8 and answers from a queue of answers
// set in advance; with the queue empty it gives the answer that closing the
// box would give: OK for an OK box, No for a Yes/No box, Cancel where there
// is a Cancel button. Any thread may show a box; the call returns when the
// box is answered.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

// Buttons (the low four bits of the type); the icon bits are kept as given.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_TYPEMASK = 0xF;
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONASTERISK = 0x40;

// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The answer a box of this type gives when it is closed without a choice.
int SafeAnswer(unsigned type);
// "ok", "yes", "no" ... as scripts and the transcript write answers.
const char* AnswerName(int answer);

class MessageBoxBackend {
 public:
  virtual ~MessageBoxBackend() = default;
  virtual int Show(const std::string& text, const std::string& caption, unsigned type) = 0;
};

struct ShownMessageBox {
  std::string text;     // CP932
  std::string caption;  // CP932
  unsigned type;
  int answer;
};

class RecordingMessageBoxes : public MessageBoxBackend {
 public:
  explicit RecordingMessageBoxes(bool echoToStderr = true) : m_bEcho(echoToStderr) {}

  int Show(const std::string& text, const std::string& caption, unsigned type) override;

  // The next box takes the first queued answer, whatever its buttons.
  void QueueAnswer(int answer);
  std::vector<ShownMessageBox> Shown() const;
  void Clear();

 private:
  bool m_bEcho;
  mutable std::mutex m_Mutex;
  std::deque<int> m_Answers;
  std::vector<ShownMessageBox> m_Shown;
};

// Shows a box through the current backend, on the main thread while the
// caller waits, and notes it in the transcript. Once the main thread no
// longer serves (the program is closing) the box is written down as below
// and answered as closed.
int MessageBoxA(const char* text, const char* caption, unsigned type);

// A box nobody sees: written to standard error (UTF-8) and to the report
// line function ("[caption] text", CP932) that start-up installs.
void WriteUnshownBox(const std::string& text, const std::string& caption);
void SetMessageBoxReportLine(std::function<void(const std::string& cp932)> report);

// Installs the backend that shows every later box; nullptr puts back the
// recording backend of start-up. Returns the backend it replaced. The
// caller keeps the backend alive while it is installed.
MessageBoxBackend* SetMessageBoxBackend(MessageBoxBackend* backend);

// The recording backend that start-up installs.
RecordingMessageBoxes& StartupMessageBoxes();

}  // namespace platform
