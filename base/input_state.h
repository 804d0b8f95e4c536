// One player's input of a frame, with what the game asks of it besides the
// bare state: run-length histories, key-change logs for the flows' key
// conditions, menu auto-repeat and the press-once filter.
//
// Directions (wDir): 1 left, 2 right, 4 up, 8 down. Buttons (wButton): bits
// 0 to 7 are buttons 1 to 8. The direction digit (nDirection) reads like a
// keypad with 1 2 3 on top: 5 neutral, 4 left, 6 right, 2 up, 8 down.
//
// Poll reads the fixed layout (arrows, Z X C V A S D F and joystick 0);
// PollKeyConfig reads the key map g_KeyConfig; each does nothing (and
// returns 0) when the key map says the other one is in use. A joystick that
// fails to read is left alone for 2 x retry frames. Both pollers first
// advance the scripted input when one is installed (shell/input_script.h).
// The scene manager polls once per frame on the game thread.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/joystick.h"

struct HISTORYENTRY {
  std::uint16_t wValue = 0;
  std::int32_t nFrames = 0;
};

struct KEYCHANGE {
  std::int32_t bPressed = 0;
  std::int32_t nFrames = 0;
};

constexpr int HISTORY_LENGTH = 32;
constexpr int KEYLOG_LENGTH = 32;

class cInputState {
 public:
  cInputState();

  void SetRepeat(int nDelay, int nInterval);
  void SetJoyButtonMasks();

  int Poll(int nJoystick, int nFlags, int nRetry);
  int PollKeyConfig(int nRetry);
  static int IsJoyAxisPressed(const platform::JOYINFOEX& info, int nCode);
  static int GetDirection(const std::uint16_t* pDir);

  void ClearDirection();
  void ClearButtons();
  void ClearHistory();
  void PushHistory();
  std::uint16_t GetHistory(int nChannel, int n) const;
  void UpdateKeyLogs();
  void ResetKeyLogs();
  void ApplyAutoRepeat();
  void OneShotButtons(int nMask);

  std::uint16_t wDir = 0;
  std::uint16_t wButton = 0;
  std::uint16_t wDirTrail = 0;
  HISTORYENTRY aHistory[2][HISTORY_LENGTH];
  std::int32_t anHistoryPos[2] = {0, 0};
  std::vector<std::vector<KEYCHANGE>> vecDirKeyLog;     // 10 logs (below)
  std::vector<std::vector<KEYCHANGE>> vecButtonKeyLog;  // 9 logs
  std::int32_t nDirection = 0;
  std::uint32_t nRepeatCountX = 0;
  std::uint32_t nRepeatCountY = 0;
  std::uint32_t nRepeatDelay = 0;
  std::uint32_t nRepeatInterval = 0;
  std::int32_t bOneShotLatch = 0;
  std::uint16_t awJoyButtonMask[8] = {};
  std::int32_t bJoyOk = 0;
  std::int32_t nJoyRetryWait = 0;

 private:
  // The retry rule shared by all joysticks of this record: true with info
  // filled when the joystick was read this frame.
  bool ReadJoystick(unsigned id, int nRetry, platform::JOYINFOEX& info);
};

// The players' input; one element.
extern std::vector<cInputState> g_InputStates;
