#include "shell/close_request.h"

std::atomic<platform::HWND> g_hWnd{nullptr};

namespace {
std::atomic<int> g_nCloseRequests{0};
}

void RequestMainWindowClose() {
  ++g_nCloseRequests;
  platform::PostMessage(g_hWnd.load(), platform::WM_CLOSE, 0, 0);
}

int CloseRequestCount() { return g_nCloseRequests.load(); }
void ResetCloseRequests() { g_nCloseRequests = 0; }
