#include "platform/joystick.h"

#include <array>
#include <atomic>
#include <mutex>

namespace platform {

namespace {
struct State {
  bool bPresent = false;
  std::uint32_t x = 32768, y = 32768, buttons = 0;
};
std::mutex g_Mutex;
std::array<State, kMaxJoysticks> g_States;
std::atomic<int> g_nReads{0};
}  // namespace

unsigned joyGetPosEx(unsigned id, JOYINFOEX* info) {
  ++g_nReads;
  if (id >= kMaxJoysticks || info == nullptr) return JOYERR_PARMS;
  std::lock_guard lock(g_Mutex);
  const State& state = g_States[id];
  if (!state.bPresent) return JOYERR_UNPLUGGED;
  info->dwXpos = state.x;
  info->dwYpos = state.y;
  info->dwButtons = state.buttons;
  return JOYERR_NOERROR;
}

int JoystickReadCount() { return g_nReads.load(); }

void SetJoystickState(unsigned id, std::uint32_t x, std::uint32_t y, std::uint32_t buttons) {
  if (id >= kMaxJoysticks) return;
  std::lock_guard lock(g_Mutex);
  g_States[id] = {true, x, y, buttons};
}

void RemoveJoystick(unsigned id) {
  if (id >= kMaxJoysticks) return;
  std::lock_guard lock(g_Mutex);
  g_States[id] = {};
}

void RemoveAllJoysticks() {
  std::lock_guard lock(g_Mutex);
  g_States.fill({});
}

}  // namespace platform
