#include "shell/game_loop.h"

#include <mutex>
#include <utility>

#include "base/close_request.h"
#include "base/report.h"
#include "base/requests.h"
#include "platform/thread_messages.h"

using namespace std::chrono_literals;

namespace {
std::mutex g_FrameMutex;
std::function<int()> g_Frame;

std::function<int()> CurrentFrame() {
  std::lock_guard lock(g_FrameMutex);
  return g_Frame;
}
}  // namespace

std::function<int()> SetGameFrame(std::function<int()> frame) {
  std::lock_guard lock(g_FrameMutex);
  return std::exchange(g_Frame, std::move(frame));
}

int GameLoop(cThread&) {
  const auto frame = CurrentFrame();
  platform::MSG msg;
  for (;;) {
    if (platform::PeekMessage(&msg, platform::PM_REMOVE)) {
      if (msg.message == platform::WM_QUIT) {
        ErrorLog("GameLoop WM_QUIT!");
        return 1;
      }
      continue;
    }
    if (!g_bActive || !frame) {
      platform::WaitMessage(1ms);
      continue;
    }
    if (frame() == 0) {
      RequestMainWindowClose();
      return 1;
    }
  }
}
