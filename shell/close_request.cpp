#include "shell/close_request.h"

#include <atomic>

namespace {
std::atomic<int> g_nCloseRequests{0};
}

void RequestMainWindowClose() { ++g_nCloseRequests; }
int CloseRequestCount() { return g_nCloseRequests.load(); }
void ResetCloseRequests() { g_nCloseRequests = 0; }
