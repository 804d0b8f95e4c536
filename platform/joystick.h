// Joysticks as joyGetPosEx reads them.
//
// Up to eight joysticks, ids 0 to 7. The window's event source (or scripted
// input) stores each joystick's state; any thread reads it. X and Y run from
// 0 to 65535 with the centre at 32768; bit i of dwButtons is button i.
#pragma once

#include <cstdint>

namespace platform {

constexpr unsigned JOYERR_NOERROR = 0;
constexpr unsigned JOYERR_PARMS = 165;
constexpr unsigned JOYERR_UNPLUGGED = 167;
constexpr std::uint32_t JOY_RETURNX = 0x1;
constexpr std::uint32_t JOY_RETURNY = 0x2;
constexpr std::uint32_t JOY_RETURNBUTTONS = 0x80;
constexpr int kMaxJoysticks = 8;

struct JOYINFOEX {
  std::uint32_t dwSize = sizeof(JOYINFOEX);
  std::uint32_t dwFlags = 0;
  std::uint32_t dwXpos = 0;
  std::uint32_t dwYpos = 0;
  std::uint32_t dwZpos = 0;
  std::uint32_t dwRpos = 0;
  std::uint32_t dwUpos = 0;
  std::uint32_t dwVpos = 0;
  std::uint32_t dwButtons = 0;
  std::uint32_t dwButtonNumber = 0;
  std::uint32_t dwPOV = 0;
  std::uint32_t dwReserved1 = 0;
  std::uint32_t dwReserved2 = 0;
};

// JOYERR_NOERROR and the state, JOYERR_UNPLUGGED when the joystick is
// absent, JOYERR_PARMS for an id outside 0 to 7.
unsigned joyGetPosEx(unsigned id, JOYINFOEX* info);
// Counts every joyGetPosEx call (tests check the retry rule with it).
int JoystickReadCount();

void SetJoystickState(unsigned id, std::uint32_t x, std::uint32_t y, std::uint32_t buttons);
void RemoveJoystick(unsigned id);
void RemoveAllJoysticks();

}  // namespace platform
