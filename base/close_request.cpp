#include "base/close_request.h"

std::atomic<platform::HWND> g_hWnd{nullptr};

namespace {
std::atomic<int> g_nCloseRequests{0};
std::atomic<bool> g_bClosedForError{false};
}

void RequestMainWindowClose() {
  ++g_nCloseRequests;
  platform::PostMessage(g_hWnd.load(), platform::WM_CLOSE, 0, 0);
}

void RequestMainWindowCloseForError() {
  g_bClosedForError = true;
  RequestMainWindowClose();
}

bool ClosedForError() { return g_bClosedForError.load(); }

int CloseRequestCount() { return g_nCloseRequests.load(); }

void ResetCloseRequests() {
  g_nCloseRequests = 0;
  g_bClosedForError = false;
}
