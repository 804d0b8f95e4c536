#include "base/requests.h"

#include "base/close_request.h"
#include "platform/clock.h"
#include "platform/main_thread.h"

std::atomic<int> g_bActive{0};
std::atomic<int> g_bNameEntryDone{0};
std::atomic<int> g_bRequestDone{0};
std::atomic<int> g_nRequestResult{0};
std::string g_strStagePath;

namespace {

// Polls flag as the sender of a dialog request does; also ends when the main
// thread no longer serves requests.
void WaitForFlag(const std::atomic<int>& flag) {
  while (!flag && !platform::MainThreadTasksStopped()) platform::Sleep(1);
}

}  // namespace

int RequestDialog(platform::UINT message, platform::WPARAM wParam) {
  const platform::HWND window = g_hWnd.load();
  if (!platform::IsWindow(window)) return 0;  // no one to answer: cancelled
  g_bRequestDone = 0;
  platform::SendMessage(window, message, wParam, 0);
  WaitForFlag(g_bRequestDone);
  return g_bRequestDone ? g_nRequestResult.load() : 0;
}

void RequestNameEntry() {
  const platform::HWND window = g_hWnd.load();
  if (!platform::IsWindow(window)) return;
  g_bNameEntryDone = 0;
  platform::SendMessage(window, WM_REQ_NAME_ENTRY, 0, 0);
  WaitForFlag(g_bNameEntryDone);
}

void RequestSystemSound(int id) {
  platform::SendMessage(g_hWnd.load(), WM_REQ_PLAY_SOUND, static_cast<platform::WPARAM>(id), 0);
}

void RequestDbSound(std::int16_t entry) {
  if (entry <= 0) return;
  RequestSystemSound(entry + 16);
}

void RequestBgm(int nRequest, int nEntry) {
  platform::SendMessage(g_hWnd.load(), WM_REQ_BGM, static_cast<platform::WPARAM>(nRequest),
                        static_cast<platform::LPARAM>(nEntry));
}

void CancelDialogRequests() {
  g_nRequestResult = 0;
  g_bRequestDone = 1;
  g_bNameEntryDone = 1;
}
