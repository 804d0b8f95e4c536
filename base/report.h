// Report, error log and error boxes.
//
// The report (Report_Game.txt) receives one line per reported fault; every
// line is written whole, also when several threads report at once. The error
// log (EC_Game.txt) is switched off unless SetErrorLog turns it on. Texts are
// CP932 bytes; both files are written in UTF-8, one line per call, each line
// ended by "\n". Formatted texts have no length limit.
//
// Error boxes show a text with the caption "エラー" and an OK button through
// the platform's message box and return when it is closed.
#pragma once

int OpenReport(const char* path);
// Sends the report lines to standard error instead of a file: the developer
// tools have no report file.
void ReportToStandardError();
int ReportF(const char* format, ...) __attribute__((format(printf, 1, 2)));
int ReportLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));
int ReportErrorF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Stores the switch and the file; the next line written to a new file
// empties it first.
int SetErrorLog(int on, const char* path);
bool IsErrorLogOn();
// Writes text unchanged (it is not a format).
int ErrorLog(const char* text);
int ErrorLogStr(const char* text);
int ErrorLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));
// ErrorLogF, then asks the main window to close, whether or not the log is on.
int ErrorLogAndClose(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A message box and its answer, shown by the registered sink: the
// platform's box until the display is ready, then the display's (over a
// running full-screen display a box needs dialog mode).
int ShowMessageBox(const char* text, const char* caption, unsigned type);
using MessageBoxSink = int (*)(const char* text, const char* caption, unsigned type);
// nullptr puts the platform's box back.
void SetMessageBoxSink(MessageBoxSink sink);
int ErrorBox(const char* text);
int ErrorBoxF(const char* format, ...) __attribute__((format(printf, 1, 2)));
// ErrorBoxF only while the error log is on: diagnostics of failed calls.
int DebugErrorBoxF(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Shows "メモリが不足しています！" and asks the main window to close; the
// caller goes on.
void OutOfMemoryError();
