#include "platform/window_messages.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/main_thread.h"

namespace platform {

struct WindowHandle {};

namespace {

struct Registry {
  std::mutex mutex;
  std::map<HWND, std::pair<std::unique_ptr<WindowHandle>, std::shared_ptr<WindowProcedure>>> windows;
};

// Never destroyed: the static window objects of other files release their
// handles from their destructors, which may run after this file's.
Registry& TheRegistry() {
  static Registry* const registry = new Registry;
  return *registry;
}

std::shared_ptr<WindowProcedure> ProcedureOf(HWND window) {
  std::lock_guard lock(TheRegistry().mutex);
  const auto it = TheRegistry().windows.find(window);
  return it == TheRegistry().windows.end() ? nullptr : it->second.second;
}

// Runs on the main thread: the window may be gone by now.
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto procedure = ProcedureOf(window);
  return procedure ? (*procedure)(window, message, wParam, lParam) : 0;
}

}  // namespace

HWND CreateWindowHandle(WindowProcedure procedure) {
  auto handle = std::make_unique<WindowHandle>();
  const HWND window = handle.get();
  std::lock_guard lock(TheRegistry().mutex);
  TheRegistry().windows.emplace(window, std::make_pair(std::move(handle),
                                           std::make_shared<WindowProcedure>(std::move(procedure))));
  return window;
}

void DestroyWindowHandle(HWND window) {
  std::lock_guard lock(TheRegistry().mutex);
  TheRegistry().windows.erase(window);
}

bool IsWindow(HWND window) { return ProcedureOf(window) != nullptr; }

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(window)) return 0;
  return RunOnMainThread([=] { return Deliver(window, message, wParam, lParam); }, 0);
}

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(window)) return false;
  PostToMainThread([=] { Deliver(window, message, wParam, lParam); });
  return true;
}

LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

void PostQuitMessage(int exitCode) {
  PostThreadMessage(GetCurrentThreadId(), WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

}  // namespace platform
