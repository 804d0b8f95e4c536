#include "base/report.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <string>
#include <unistd.h>

#include "base/close_request.h"
#include "base/format.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace {

std::mutex g_FileMutex;  // one line at a time, and the paths below
std::filesystem::path g_ReportPath;
std::filesystem::path g_ErrorLogPath;
bool g_bErrorLogWritten = false;
std::atomic<int> g_bErrorLog{0};
std::atomic<MessageBoxSink> g_MessageBoxSink{nullptr};

// Appends one line to an existing file in a single write.
bool AppendLine(const std::filesystem::path& path, const std::string& line) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return done == line.size();
}

std::string ToFileLine(const std::string& text) { return platform::Cp932ToUtf8(text) + "\n"; }

int WriteReport(const std::string& text) {
  const std::string line = ToFileLine(text);
  std::lock_guard lock(g_FileMutex);
  return g_ReportPath.empty() ? 0 : AppendLine(g_ReportPath, line);
}

int WriteErrorLog(const std::string& text) {
  if (!g_bErrorLog) return 0;
  const std::string line = ToFileLine(text);
  std::lock_guard lock(g_FileMutex);
  if (g_ErrorLogPath.empty()) return 0;
  if (g_bErrorLogWritten) return AppendLine(g_ErrorLogPath, line);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(line.data());
  if (!platform::WriteFileAtomic(g_ErrorLogPath, {bytes, line.size()})) return 0;
  g_bErrorLogWritten = true;
  return 1;
}

}  // namespace

int OpenReport(const char* path) {
  const std::filesystem::path mapped = platform::MapPath(path);
  if (!platform::WriteFileAtomic(mapped, {})) return 0;
  std::lock_guard lock(g_FileMutex);
  g_ReportPath = mapped;
  return 1;
}

void ReportToStandardError() {
  std::lock_guard lock(g_FileMutex);
  g_ReportPath = "/dev/stderr";
}

int ReportF(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatStringV(format, args);
  va_end(args);
  return WriteReport(text);
}

int ReportLogF(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatStringV(format, args);
  va_end(args);
  const int written = WriteReport(text);
  WriteErrorLog(text);
  return written;
}

int ReportErrorF(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatStringV(format, args);
  va_end(args);
  const int written = WriteReport(text);
  WriteErrorLog(text);
  ErrorBox(text.c_str());
  return written;
}

int SetErrorLog(int on, const char* path) {
  std::lock_guard lock(g_FileMutex);
  const std::filesystem::path mapped = platform::MapPath(path ? path : "");
  if (mapped != g_ErrorLogPath) g_bErrorLogWritten = false;
  g_ErrorLogPath = mapped;
  g_bErrorLog = on;
  return 1;
}

bool IsErrorLogOn() { return g_bErrorLog != 0; }

int ErrorLog(const char* text) { return WriteErrorLog(text ? text : ""); }

int ErrorLogStr(const char* text) { return ErrorLog(text); }

int ErrorLogF(const char* format, ...) {
  if (!g_bErrorLog) return 0;
  va_list args;
  va_start(args, format);
  const std::string text = FormatStringV(format, args);
  va_end(args);
  return WriteErrorLog(text);
}

int ErrorLogAndClose(const char* format, ...) {
  int written = 0;
  if (g_bErrorLog) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatStringV(format, args);
    va_end(args);
    written = WriteErrorLog(text);
  }
  RequestMainWindowCloseForError();
  return written;
}

void SetMessageBoxSink(MessageBoxSink sink) { g_MessageBoxSink.store(sink); }

int ShowMessageBox(const char* text, const char* caption, unsigned type) {
  if (const MessageBoxSink sink = g_MessageBoxSink.load()) return sink(text, caption, type);
  return platform::MessageBoxA(text, caption, type);
}

int ErrorBox(const char* text) { return ShowMessageBox(text, "エラー", platform::MB_OK); }

int ErrorBoxF(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatStringV(format, args);
  va_end(args);
  return ErrorBox(text.c_str());
}

int DebugErrorBoxF(const char* format, ...) {
  if (!g_bErrorLog) return 0;
  va_list args;
  va_start(args, format);
  const std::string text = FormatStringV(format, args);
  va_end(args);
  return ErrorBox(text.c_str());
}

void OutOfMemoryError() {
  ErrorBox("メモリが不足しています！");
  RequestMainWindowCloseForError();
}
