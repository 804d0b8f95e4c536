#include "shell/main_window.h"

#include "base/checked_access.h"
#include "base/close_request.h"
#include "base/report.h"
#include "base/requests.h"
#include "base/thread.h"
#include "platform/main_thread.h"
#include "shell/editor_link.h"

using namespace platform;

cMainWindow g_MainWindow;

namespace {

std::mutex g_PauseLoopMutex;
std::atomic<int>* g_pPauseLoopQuit = nullptr;  // under g_PauseLoopMutex

// The element size that the bad-index report names for the sound table.
constexpr std::size_t kSoundDataSize = 284;

}  // namespace

void PublishPauseLoopQuitFlag(std::atomic<int>* quitFlag) {
  std::lock_guard lock(g_PauseLoopMutex);
  g_pPauseLoopQuit = quitFlag;
}

void cMainWindow::Create() {
  m_bClosing = false;
  m_bClosePending = false;
  m_nRequestDepth = 0;
  const HWND window = CreateWindowHandle(
      [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) { return WindowProc(hwnd, message, wParam, lParam); });
  m_hWnd = window;
  g_hWnd = window;
  SendMessage(window, WM_CREATE, 0, 0);
}

cMainWindow::~cMainWindow() {
  if (const HWND window = m_hWnd.exchange(nullptr)) DestroyWindowHandle(window);
}

void cMainWindow::SetServices(cMainWindowServices* services) {
  m_pServices = services ? services : &m_DefaultServices;
}

LRESULT cMainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  m_hWnd = window;
  if (!m_bFirstMessage) m_bFirstMessage = true;
  switch (message) {
    case WM_CREATE:
      m_bInitialised = true;
      return 0;
    case WM_DESTROY:
      ErrorLog("WM_DESTROY");
      m_hWnd = nullptr;
      g_hWnd = nullptr;
      if (g_bTestPlay) NotifyEditorExit(1);
      PostQuitMessage(0);
      return 0;
    case WM_MOVE:
      m_nClientX = static_cast<short>(lParam & 0xFFFF);
      m_nClientY = static_cast<short>((lParam >> 16) & 0xFFFF);
      return 0;
    case WM_PAINT:
      m_pServices->RepaintWindow();
      return 0;
    case WM_CLOSE:
      if (m_nRequestDepth > 0) {
        m_bClosePending = true;  // handled once the request has returned
        return 0;
      }
      OnClose();
      return 0;
    case WM_ACTIVATEAPP:
      g_bActive = wParam != 0 ? 1 : 0;
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) PostMessage(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_SIZE:
    case WM_GETMINMAXINFO:
    case WM_COMMAND:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      return 0;
    case WM_REQ_NAME_ENTRY:
    case WM_REQ_OPEN_STAGE:
    case WM_REQ_OPEN_REPLAY:
    case WM_REQ_SAVE_REPLAY:
    case WM_REQ_PLAY_SOUND:
    case WM_REQ_BGM:
    case WM_REQ_RESTORE_SURFACE: {
      ++m_nRequestDepth;
      const LRESULT result = ServeRequest(message, wParam, lParam);
      --m_nRequestDepth;
      // The close comes after this request has answered its sender, so
      // that the sender is not stopped while it waits.
      if (m_nRequestDepth == 0 && m_bClosePending.exchange(false)) PostMessage(window, WM_CLOSE, 0, 0);
      return result;
    }
    default:
      return DefWindowProc(window, message, wParam, lParam);
  }
}

LRESULT cMainWindow::ServeRequest(UINT message, WPARAM wParam, LPARAM lParam) {
  // A request that was already queued when the window began to close finds
  // it closing: it is answered as cancelled.
  if (m_bClosing) return 0;
  switch (message) {
    case WM_REQ_NAME_ENTRY:
      m_pServices->DDSetGDIMode(1);
      SuspendAllThreads();
      m_pServices->RunNameEntryDialog();
      m_pServices->DDSetGDIMode(0);
      ResumeAllThreads();
      g_bNameEntryDone = 1;
      return 0;
    case WM_REQ_OPEN_STAGE:
      g_nRequestResult = m_pServices->OpenStageFile();
      g_bRequestDone = 1;
      return 0;
    case WM_REQ_OPEN_REPLAY:
      g_nRequestResult = m_pServices->OpenReplayFile();
      g_bRequestDone = 1;
      return 0;
    case WM_REQ_SAVE_REPLAY:
      g_nRequestResult = m_pServices->SaveReplayFile(wParam != 0 ? 1 : 0);
      g_bRequestDone = 1;
      return 0;
    case WM_REQ_PLAY_SOUND: {
      const int count = m_pServices->SoundSlotCount();
      int slot = static_cast<int>(wParam);
      if (wParam >= static_cast<WPARAM>(count)) {
        ReportBadIndex("V", slot, static_cast<std::size_t>(count), kSoundDataSize);
        slot = 0;
        if (count == 0) return 0;  // no slot 0 either
      }
      m_pServices->PlaySound(slot);
      return 0;
    }
    case WM_REQ_BGM:
      if (wParam <= 4) m_pServices->PlayBgmRequest(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case WM_REQ_RESTORE_SURFACE:
      m_pServices->DDRestoreSurface();
      return 0;
  }
  return 0;
}

bool EndInStageLoopOnClose() {
  std::lock_guard lock(g_PauseLoopMutex);
  for (cThread* loop : {&thPause, &thRanking}) {
    if (!loop->IsRunning()) continue;
    ErrorLog("WM_CLOSE thPause.m_hThread");
    if (g_pPauseLoopQuit) *g_pPauseLoopQuit = 1;
    PostThreadMessage(loop->ThreadId(), WM_QUIT, 0, 0);
    return true;
  }
  return false;
}

void cMainWindow::OnClose() {
  if (m_bClosing || EndInStageLoopOnClose()) return;
  ErrorLog("WM_CLOSE 成功！");
  // From here on no thread waits for this window: requests still queued and
  // every later one answer as cancelled.
  m_bClosing = true;
  CancelDialogRequests();
  StopMainThreadTasks();
  m_pServices->StopBgm();
  thPause.Exit();
  thRanking.Exit();
  ErrorLog("thPause.Exit()");
  thGame.Exit();
  ErrorLog("thGame.Exit()");
  Destroy();
}

void cMainWindow::Destroy() {
  const HWND window = m_hWnd.load();
  m_pServices->HideWindow();
  WindowProc(window, WM_DESTROY, 0, 0);
  DestroyWindowHandle(window);
}
