// Report and error log.
//
// The report (Report_Game.txt) receives one line per reported fault; every
// line is written whole, also when several threads report at once. The error
// log (EC_Game.txt) is switched off unless SetErrorLog turns it on. Texts are
// CP932 bytes; they are written as given.
#pragma once

int OpenReport(const char* path);
int ReportF(const char* format, ...) __attribute__((format(printf, 1, 2)));
int ReportLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));
int ReportErrorF(const char* format, ...) __attribute__((format(printf, 1, 2)));

int SetErrorLog(int on, const char* path);
int ErrorLog(const char* text);
int ErrorLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));
