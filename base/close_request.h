// The request to close the main window: the program's orderly stop.
//
// Any thread may ask: WM_CLOSE is posted to the main window g_hWnd, which
// closes at its next message. Until a window exists (and in tests without
// one) requests are only counted, so that tests can see them. A close after
// a fatal error (RequestMainWindowCloseForError) also marks the run as
// failed: the program then exits with status 1 instead of 0.
#pragma once

#include <atomic>

#include "platform/window_messages.h"

// The main window; null before it exists and after it was destroyed.
extern std::atomic<platform::HWND> g_hWnd;

void RequestMainWindowClose();
void RequestMainWindowCloseForError();
bool ClosedForError();
int CloseRequestCount();
// Forgets the requests and the failed mark.
void ResetCloseRequests();
