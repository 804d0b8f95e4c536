// The main window: its procedure serves the window's own messages and the
// requests of the other threads (shell/requests.h), and closes the program.
//
// The procedure runs on the main thread only. A close (WM_CLOSE) that
// arrives while a request is being served (a dialog runs its own loop) is
// kept and handled when that request has returned, so that the requesting
// thread is never stopped while it waits. While an in-stage loop runs
// (thPause or thRanking), a close only ends that loop and raises the
// stage's quit flag; the stage then closes again. Otherwise the close answers every pending and
// later request as cancelled, stops the music and the four thread objects,
// and destroys the window, which posts WM_QUIT to the main thread.
//
// The work of the requests is done through cMainWindowServices.
#pragma once

#include <atomic>
#include <mutex>

#include "platform/window_messages.h"
#include "shell/main_window_services.h"

constexpr platform::WPARAM VK_ESCAPE = 0x1B;

class cMainWindow {
 public:
  // Creates the window handle (g_hWnd) and sends it WM_CREATE.
  void Create();
  // Releases the handle if it still exists.
  ~cMainWindow();

  platform::LRESULT WindowProc(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                               platform::LPARAM lParam);

  // The services the requests use; nullptr for the do-nothing defaults.
  void SetServices(cMainWindowServices* services);

  // True while a close waits for the request being served: a dialog's own
  // loop ends early when it sees this.
  bool ClosePending() const { return m_bClosePending.load(); }

  platform::HWND Handle() const { return m_hWnd.load(); }
  bool IsInitialised() const { return m_bInitialised; }

 private:
  platform::LRESULT ServeRequest(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam);
  void OnClose();
  void Destroy();

  cMainWindowServices m_DefaultServices;
  cMainWindowServices* m_pServices = &m_DefaultServices;
  std::atomic<platform::HWND> m_hWnd{nullptr};
  bool m_bFirstMessage = false;
  bool m_bInitialised = false;
  bool m_bClosing = false;
  int m_nRequestDepth = 0;
  std::atomic<bool> m_bClosePending{false};
  int m_nClientX = 0;  // the client area's position on the screen (WM_MOVE)
  int m_nClientY = 0;
};

extern cMainWindow g_MainWindow;

// The in-stage loops on thPause and thRanking: the game thread publishes
// the running stage's quit flag before it starts such a loop and withdraws
// it (before the stage can be deleted) once the loop has been joined. The main window
// raises the flag on a close, under the same lock.
void PublishPauseLoopQuitFlag(std::atomic<int>* quitFlag);
// A close's first step: while an in-stage loop runs, raises the published
// quit flag and posts the loop's quit; true then, and the close goes no
// further. False when no such loop runs.
bool EndInStageLoopOnClose();
