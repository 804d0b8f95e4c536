// The main thread's message loop and the event sources it waits on.
//
// An event source delivers what happens to the window (focus, keys, the
// close box, exposure) as messages to the window procedure, and wakes up
// when another thread hands the main thread a task. The SDL source
// (platform/sdl_window.h) waits on SDL's events; the headless source has no
// window and only waits for tasks. RunMessageLoop waits on the source,
// runs the tasks handed over, and ends when the main thread's own queue
// holds WM_QUIT (PostQuitMessage): its wParam is the exit code. Nothing
// spins: between events the loop sleeps in the source's wait.
#pragma once

#include <thread>

#include "platform/window_messages.h"

namespace platform {

class EventSource {
 public:
  virtual ~EventSource() = default;
  // Main thread: waits at most timeout for an event or a task, and delivers
  // the events that came to window.
  virtual void WaitAndDeliver(HWND window, std::chrono::milliseconds timeout) = 0;
};

// No window: the application is always active, and only tasks arrive.
class HeadlessEventSource : public EventSource {
 public:
  void WaitAndDeliver(HWND window, std::chrono::milliseconds timeout) override;

 private:
  bool m_bActivated = false;
};

// Runs the loop on the calling thread, which becomes the main thread;
// window is read anew on every turn (it may be destroyed meanwhile).
int RunMessageLoop(EventSource& source, const std::function<HWND()>& window);

}  // namespace platform
