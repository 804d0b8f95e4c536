#include "platform/dialogs.h"

#include <atomic>
#include <fnmatch.h>
#include <mutex>

namespace platform {

namespace {

std::atomic<DialogBackend*> g_pDialogs{nullptr};

std::mutex g_HookMutex;
std::function<void()> g_DialogEndHook;

}  // namespace

ScriptedDialogs& StartupDialogs() {
  static ScriptedDialogs dialogs = ScriptedDialogs::FromEnvironment();
  return dialogs;
}

DialogBackend& Dialogs() {
  DialogBackend* backend = g_pDialogs.load();
  return backend ? *backend : StartupDialogs();
}

DialogBackend* SetDialogBackend(DialogBackend* backend) {
  DialogBackend* previous = g_pDialogs.exchange(backend);
  return previous ? previous : &StartupDialogs();
}

bool MatchesFilePatterns(std::string_view name, std::string_view patterns) {
  const std::string file(name);
  std::size_t begin = 0;
  while (begin <= patterns.size()) {
    std::size_t end = patterns.find(';', begin);
    if (end == std::string_view::npos) end = patterns.size();
    const std::string pattern(patterns.substr(begin, end - begin));
    if (!pattern.empty() && ::fnmatch(pattern.c_str(), file.c_str(), FNM_CASEFOLD) == 0) return true;
    begin = end + 1;
  }
  return false;
}

void ClampToWorkArea(int& x, int& y, int width, int height, const WorkArea& area) {
  if (x + width >= area.x + area.width) x = area.x + area.width - width;
  if (y + height >= area.y + area.height) y = area.y + area.height - height;
  if (x < area.x) x = area.x;
  if (y < area.y) y = area.y;
}

void SetDialogEndHook(std::function<void()> hook) {
  std::lock_guard lock(g_HookMutex);
  g_DialogEndHook = std::move(hook);
}

void RunDialogEndHook() {
  std::function<void()> hook;
  {
    std::lock_guard lock(g_HookMutex);
    hook = g_DialogEndHook;
  }
  if (hook) hook();
}

}  // namespace platform
