#include "shell/editor_link.h"

#include <mutex>

namespace {
std::mutex g_Mutex;
std::vector<EditorNotice> g_Sent;

void Send(int dwData, int value) {
  if (!g_bTestPlay) return;
  std::lock_guard lock(g_Mutex);
  g_Sent.push_back({dwData, value});
}
}  // namespace

void NotifyEditorStart() { Send(1, 1); }
void NotifyEditorExit(int value) { Send(0, value); }

std::vector<EditorNotice> EditorNoticesSent() {
  std::lock_guard lock(g_Mutex);
  return g_Sent;
}

void ClearEditorNotices() {
  std::lock_guard lock(g_Mutex);
  g_Sent.clear();
}
