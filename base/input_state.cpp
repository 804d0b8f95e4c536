#include "base/input_state.h"

#include <climits>

#include "base/input_script.h"
#include "base/key_config.h"
#include "platform/keyboard.h"

using platform::GetAsyncKeyState;
using platform::JOYINFOEX;

std::vector<cInputState> g_InputStates(1);

namespace {

constexpr std::uint16_t DIR_LEFT = 1, DIR_RIGHT = 2, DIR_UP = 4, DIR_DOWN = 8;
// What each direction log watches: the whole word equal to this value
// (log 9 instead: any direction).
constexpr std::uint16_t kDirLogValue[9] = {0, 1, 2, 4, 8, 5, 9, 6, 10};

bool Held(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

void Grow(std::int32_t& frames) {
  if (frames != INT_MAX) ++frames;
}

void LogFrame(std::vector<KEYCHANGE>& log, bool bPressed) {
  if (log.front().bPressed != static_cast<std::int32_t>(bPressed)) {
    log.insert(log.begin(), KEYCHANGE{bPressed ? 1 : 0, 1});
    log.pop_back();
  } else {
    Grow(log.front().nFrames);
  }
}

}  // namespace

cInputState::cInputState() {
  ClearHistory();
  ResetKeyLogs();
  nJoyRetryWait = 0;
}

void cInputState::SetRepeat(int nDelay, int nInterval) {
  nRepeatDelay = static_cast<std::uint32_t>(nDelay);
  nRepeatInterval = static_cast<std::uint32_t>(nInterval);
}

void cInputState::SetJoyButtonMasks() {
  for (int k = 0; k < 8; ++k) awJoyButtonMask[k] = static_cast<std::uint16_t>(1u << k);
}

bool cInputState::ReadJoystick(unsigned id, int nRetry, JOYINFOEX& info) {
  if (!bJoyOk && nJoyRetryWait >= 1) {
    --nJoyRetryWait;
    return false;
  }
  info = JOYINFOEX{};
  info.dwSize = 52;
  info.dwFlags = platform::JOY_RETURNX | platform::JOY_RETURNY | platform::JOY_RETURNBUTTONS;
  if (platform::joyGetPosEx(id, &info) == platform::JOYERR_NOERROR) {
    bJoyOk = 1;
    return true;
  }
  bJoyOk = 0;
  nJoyRetryWait = 2 * nRetry;
  return false;
}

int cInputState::Poll(int nJoystick, int nFlags, int nRetry) {
  AdvanceInputScript();
  if (g_KeyConfig.bUseKeyConfig) return 0;
  bool bJoyDirection = false;
  bool bJoyButtons = false;
  JOYINFOEX info;
  if ((nFlags & 1) && ReadJoystick(static_cast<unsigned>(nJoystick), nRetry, info)) {
    nDirection = 5;
    wDir = 0;
    if (info.dwXpos <= 10000) {
      wDir |= DIR_LEFT;
      nDirection -= 1;
    } else if (info.dwXpos >= 55535) {
      wDir |= DIR_RIGHT;
      nDirection += 1;
    }
    if (info.dwYpos <= 10000) {
      wDir |= DIR_UP;
      nDirection -= 3;
    } else if (info.dwYpos >= 55535) {
      wDir |= DIR_DOWN;
      nDirection += 3;
    }
    wButton = 0;
    for (int k = 0; k < 8; ++k) {
      if (info.dwButtons & awJoyButtonMask[k]) wButton |= static_cast<std::uint16_t>(1u << k);
    }
    bJoyDirection = nDirection != 5;
    bJoyButtons = wButton != 0;
  }
  if (!(nFlags & 2)) return 1;
  if (!bJoyDirection) {
    nDirection = 5;
    wDir = 0;
    const struct {
      int vk;
      std::uint16_t bit;
      int step;
    } arrows[] = {{platform::VK_LEFT, DIR_LEFT, -1}, {platform::VK_RIGHT, DIR_RIGHT, 1},
                  {platform::VK_UP, DIR_UP, -3}, {platform::VK_DOWN, DIR_DOWN, 3}};
    for (const auto& arrow : arrows) {
      if (!Held(arrow.vk)) continue;
      wDir |= arrow.bit;
      nDirection += arrow.step;
    }
  }
  if (!bJoyButtons) {
    wButton = 0;
    static const char buttons[] = "ZXCVASDF";
    for (int k = 0; k < 8; ++k) {
      if (Held(buttons[k])) wButton |= static_cast<std::uint16_t>(1u << k);
    }
  }
  return 1;
}

int cInputState::PollKeyConfig(int nRetry) {
  AdvanceInputScript();
  const KEYCONFIG& config = g_KeyConfig;
  if (!config.bUseKeyConfig) return 0;
  JOYINFOEX infos[MAX_JOYSTICKS];
  bool read[MAX_JOYSTICKS] = {};
  for (int j = 0; j < config.nJoyCount && j < MAX_JOYSTICKS; ++j) {
    read[j] = ReadJoystick(static_cast<unsigned>(j), nRetry, infos[j]);
  }
  nDirection = 5;
  wDir = 0;
  wButton = 0;
  const auto held = [&](int entry) {
    const KEYBIND& bind = config.aBind[entry];
    if (bind.nDevice == KEY_DEVICE_KEYBOARD) return Held(bind.wCode);
    if (bind.nDevice < 0 || bind.nDevice >= config.nJoyCount || !read[bind.nDevice]) return false;
    const JOYINFOEX& info = infos[bind.nDevice];
    if (entry < 4 && IsJoyAxisPressed(info, bind.wCode)) return true;
    return (bind.wCode & info.dwButtons) != 0;
  };
  if (held(0)) {
    wDir |= DIR_LEFT;
    nDirection -= 1;
  } else if (held(1)) {
    wDir |= DIR_RIGHT;
    nDirection += 1;
  }
  if (held(2)) {
    wDir |= DIR_UP;
    nDirection -= 3;
  } else if (held(3)) {
    wDir |= DIR_DOWN;
    nDirection += 3;
  }
  for (int entry = 4; entry < config.nBindCount; ++entry) {
    if (held(entry)) wButton |= static_cast<std::uint16_t>(1u << (entry - 4));
  }
  return 1;
}

int cInputState::IsJoyAxisPressed(const JOYINFOEX& info, int nCode) {
  switch (nCode) {
    case 256: return info.dwXpos <= 10000;
    case 512: return info.dwXpos >= 55535;
    case 1024: return info.dwYpos <= 10000;
    case 2048: return info.dwYpos >= 55535;
    default: return 0;
  }
}

int cInputState::GetDirection(const std::uint16_t* pDir) {
  int digit = 5;
  if (*pDir & DIR_LEFT) {
    digit = 4;
  } else if (*pDir & DIR_RIGHT) {
    digit = 6;
  }
  if (*pDir & DIR_UP) {
    digit -= 3;
  } else if (*pDir & DIR_DOWN) {
    digit += 3;
  }
  return digit;
}

void cInputState::ClearDirection() {
  wDir = 0;
  nDirection = 5;
}

void cInputState::ClearButtons() { wButton = 0; }

void cInputState::ClearHistory() {
  for (auto& ring : aHistory) {
    for (auto& entry : ring) entry = {};
  }
  anHistoryPos[0] = anHistoryPos[1] = 0;
}

void cInputState::PushHistory() {
  const std::uint16_t values[2] = {wDir, wButton};
  for (int channel = 0; channel < 2; ++channel) {
    HISTORYENTRY& newest = aHistory[channel][anHistoryPos[channel]];
    if (values[channel] == newest.wValue) {
      Grow(newest.nFrames);
    } else {
      anHistoryPos[channel] = (anHistoryPos[channel] + 1) % HISTORY_LENGTH;
      aHistory[channel][anHistoryPos[channel]] = {values[channel], 1};
    }
  }
}

std::uint16_t cInputState::GetHistory(int nChannel, int n) const {
  const int channel = nChannel == 0 ? 0 : 1;
  int pos = anHistoryPos[channel];
  long long budget = static_cast<long long>(n) + 1;
  for (int step = 0; step < HISTORY_LENGTH; ++step) {
    const HISTORYENTRY& entry = aHistory[channel][pos];
    if (budget > entry.nFrames) {
      budget -= entry.nFrames;
      pos = (pos + HISTORY_LENGTH - 1) % HISTORY_LENGTH;
    }
  }
  return aHistory[channel][pos].wValue;
}

void cInputState::UpdateKeyLogs() {
  for (int k = 0; k < 9; ++k) LogFrame(vecDirKeyLog[k], wDir == kDirLogValue[k]);
  LogFrame(vecDirKeyLog[9], (wDir & 15) != 0);
  LogFrame(vecButtonKeyLog[0], wButton == 0);
  for (int k = 1; k <= 8; ++k) LogFrame(vecButtonKeyLog[k], (wButton & (1u << (k - 1))) != 0);
}

void cInputState::ResetKeyLogs() {
  vecDirKeyLog.assign(10, std::vector<KEYCHANGE>(KEYLOG_LENGTH));
  vecButtonKeyLog.assign(9, std::vector<KEYCHANGE>(KEYLOG_LENGTH));
}

void cInputState::ApplyAutoRepeat() {
  wDirTrail = static_cast<std::uint16_t>((wDirTrail << 4) | wDir);
  const std::uint16_t previous = static_cast<std::uint16_t>(wDirTrail >> 4);
  const auto filter = [&](std::uint16_t bits, std::uint32_t& count) {
    if ((previous & bits) != (wDir & bits)) {
      count = 0;
      return;
    }
    ++count;
    const bool pass = count >= nRepeatDelay && nRepeatInterval != 0 && count % nRepeatInterval == 0;
    if (!pass) wDir &= static_cast<std::uint16_t>(~bits);
  };
  filter(DIR_LEFT | DIR_RIGHT, nRepeatCountX);
  filter(DIR_UP | DIR_DOWN, nRepeatCountY);
}

void cInputState::OneShotButtons(int nMask) {
  const unsigned mask = nMask == 0 ? 255u : static_cast<unsigned>(nMask);
  const std::uint16_t incoming = wButton;
  for (int bit = 0; bit < 8; ++bit) {
    const std::uint16_t b = static_cast<std::uint16_t>(1u << bit);
    if (!(mask & b)) continue;
    if (bOneShotLatch == 1 && (wButton & b)) wButton &= static_cast<std::uint16_t>(~b);
    if ((wButton & b) && bOneShotLatch == 0) {
      bOneShotLatch = 1;
      return;
    }
  }
  if (!(incoming & mask)) {
    bOneShotLatch = 0;
  } else {
    wButton &= static_cast<std::uint16_t>(~mask);
  }
}
