#include "base/input_script.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <sstream>

#include "base/close_request.h"
#include "base/report.h"
#include "platform/files.h"
#include "platform/joystick.h"
#include "platform/keyboard.h"

namespace {

std::mutex g_Mutex;
std::vector<ScriptedInputEvent> g_Events;  // sorted by frame, stable
std::size_t g_nNext = 0;
int g_nPolls = 0;
bool g_bInstalled = false;

bool ParseNumber(const std::string& word, unsigned long max, unsigned& value) {
  if (word.empty()) return false;
  char* end = nullptr;
  const unsigned long parsed = std::strtoul(word.c_str(), &end, 0);
  if (*end != '\0' || parsed > max || word[0] == '-') return false;
  value = static_cast<unsigned>(parsed);
  return true;
}

bool ParseKey(const std::string& word, int& vk) {
  static const struct {
    const char* name;
    int vk;
  } names[] = {{"LEFT", platform::VK_LEFT},       {"RIGHT", platform::VK_RIGHT},   {"UP", platform::VK_UP},
               {"DOWN", platform::VK_DOWN},       {"SPACE", platform::VK_SPACE},   {"RETURN", platform::VK_RETURN},
               {"ESCAPE", platform::VK_ESCAPE},   {"SHIFT", platform::VK_SHIFT},   {"LSHIFT", platform::VK_LSHIFT},
               {"RSHIFT", platform::VK_RSHIFT},   {"CONTROL", platform::VK_CONTROL}};
  for (const auto& name : names) {
    if (word == name.name) {
      vk = name.vk;
      return true;
    }
  }
  if (word.size() == 1 && ((word[0] >= 'A' && word[0] <= 'Z') || (word[0] >= '0' && word[0] <= '9'))) {
    vk = word[0];
    return true;
  }
  unsigned number = 0;
  if (word.size() >= 2 && word[0] == 'F' && ParseNumber(word.substr(1), 12, number) && number >= 1) {
    vk = platform::VK_F1 + static_cast<int>(number) - 1;
    return true;
  }
  if (word.rfind("0x", 0) == 0 && ParseNumber(word, 0xFF, number)) {
    vk = static_cast<int>(number);
    return true;
  }
  return false;
}

bool ParseLine(const std::vector<std::string>& words, ScriptedInputEvent& event) {
  unsigned frame = 0;
  if (words.size() < 2 || !ParseNumber(words[0], 1u << 30, frame) || frame == 0) return false;
  event.nFrame = static_cast<int>(frame);
  const std::string& what = words[1];
  if (what == "close" && words.size() == 2) {
    event.kind = ScriptedInputEvent::CLOSE;
    return true;
  }
  if (what == "focus" && words.size() == 3 && (words[2] == "on" || words[2] == "off")) {
    event.kind = words[2] == "on" ? ScriptedInputEvent::FOCUS_ON : ScriptedInputEvent::FOCUS_OFF;
    return true;
  }
  if (what == "joy") {
    unsigned id = 0;
    if (words.size() < 3 || !ParseNumber(words[2], platform::kMaxJoysticks - 1, id)) return false;
    event.nCode = static_cast<int>(id);
    if (words.size() == 4 && words[3] == "off") {
      event.kind = ScriptedInputEvent::JOYSTICK_OFF;
      return true;
    }
    event.kind = ScriptedInputEvent::JOYSTICK;
    return words.size() == 6 && ParseNumber(words[3], 65535, event.x) && ParseNumber(words[4], 65535, event.y) &&
           ParseNumber(words[5], 0xFFFFFFFFul, event.buttons);
  }
  if (words.size() == 3 && (words[2] == "down" || words[2] == "up") && ParseKey(what, event.nCode)) {
    event.kind = words[2] == "down" ? ScriptedInputEvent::KEY_DOWN : ScriptedInputEvent::KEY_UP;
    return true;
  }
  return false;
}

void Apply(const ScriptedInputEvent& event) {
  switch (event.kind) {
    case ScriptedInputEvent::KEY_DOWN:
      // The window hears the press as it hears a real key (Escape closes it).
      platform::PressVirtualKey(event.nCode);
      platform::PostMessage(g_hWnd.load(), platform::WM_KEYDOWN, static_cast<platform::WPARAM>(event.nCode), 0);
      break;
    case ScriptedInputEvent::KEY_UP: platform::ReleaseVirtualKey(event.nCode); break;
    case ScriptedInputEvent::JOYSTICK:
      platform::SetJoystickState(static_cast<unsigned>(event.nCode), event.x, event.y, event.buttons);
      break;
    case ScriptedInputEvent::JOYSTICK_OFF: platform::RemoveJoystick(static_cast<unsigned>(event.nCode)); break;
    case ScriptedInputEvent::FOCUS_OFF:
      platform::ReleaseAllKeys();
      platform::PostMessage(g_hWnd.load(), platform::WM_ACTIVATEAPP, 0, 0);
      break;
    case ScriptedInputEvent::FOCUS_ON: platform::PostMessage(g_hWnd.load(), platform::WM_ACTIVATEAPP, 1, 0); break;
    case ScriptedInputEvent::CLOSE: RequestMainWindowClose(); break;
  }
}

}  // namespace

bool ParseInputScript(std::string_view text, std::vector<ScriptedInputEvent>& events, std::string& error) {
  events.clear();
  std::istringstream lines{std::string(text)};
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    line = line.substr(0, line.find('#'));
    std::istringstream split(line);
    std::vector<std::string> words;
    for (std::string word; split >> word;) words.push_back(word);
    if (words.empty()) continue;
    ScriptedInputEvent event;
    if (!ParseLine(words, event)) {
      error = "line " + std::to_string(number) + ": " + line;
      return false;
    }
    events.push_back(event);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const auto& a, const auto& b) { return a.nFrame < b.nFrame; });
  return true;
}

bool LoadInputScript(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    ReportF("input script %s cannot be read", path.c_str());
    return false;
  }
  std::vector<ScriptedInputEvent> events;
  std::string error;
  if (!ParseInputScript(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), events, error)) {
    ReportF("input script %s: %s", path.c_str(), error.c_str());
    return false;
  }
  InstallInputScript(std::move(events));
  return true;
}

void InstallInputScript(std::vector<ScriptedInputEvent> events) {
  std::lock_guard lock(g_Mutex);
  g_Events = std::move(events);
  g_nNext = 0;
  g_nPolls = 0;
  g_bInstalled = true;
}

void RemoveInputScript() {
  std::lock_guard lock(g_Mutex);
  g_Events.clear();
  g_bInstalled = false;
}

void AdvanceInputScript() {
  std::lock_guard lock(g_Mutex);
  if (!g_bInstalled) return;
  ++g_nPolls;
  while (g_nNext < g_Events.size() && g_Events[g_nNext].nFrame <= g_nPolls) Apply(g_Events[g_nNext++]);
}
