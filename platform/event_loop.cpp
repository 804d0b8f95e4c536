#include "platform/event_loop.h"

#include "platform/main_thread.h"

namespace platform {

using namespace std::chrono_literals;

void HeadlessEventSource::WaitAndDeliver(HWND window, std::chrono::milliseconds timeout) {
  if (!m_bActivated && IsWindow(window)) {
    m_bActivated = true;
    SendMessage(window, WM_ACTIVATEAPP, 1, 0);
  }
  WaitForMainThreadTasks(timeout);
}

int RunMessageLoop(EventSource& source, const std::function<HWND()>& window) {
  ClaimMainThread();
  MSG msg;
  for (;;) {
    while (PeekMessage(&msg, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
    }
    source.WaitAndDeliver(window(), 100ms);
    RunMainThreadTasks();
  }
}

}  // namespace platform
