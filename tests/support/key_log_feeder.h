// Input fed to the hero's record (element 0 of g_InputStates) frame by frame
// the way the stage's input poll leaves it: each frame sets the directions
// and buttons and writes them into the key-change logs. The logs start
// empty and are emptied again when the feeder goes.
#pragma once

#include <cstdint>

#include "base/input_state.h"

class KeyLogFeeder {
 public:
  KeyLogFeeder() : m_Input(g_InputStates.at(0)) { m_Input.ResetKeyLogs(); }
  ~KeyLogFeeder() {
    m_Input.ResetKeyLogs();
    m_Input.wDir = 0;
    m_Input.wButton = 0;
  }
  KeyLogFeeder(const KeyLogFeeder&) = delete;
  KeyLogFeeder& operator=(const KeyLogFeeder&) = delete;

  // nFrames frames with these directions (1 left, 2 right, 4 up, 8 down) and
  // buttons (bit k is button k + 1).
  KeyLogFeeder& Hold(int nFrames, std::uint16_t wDir, std::uint16_t wButton) {
    for (int i = 0; i < nFrames; ++i) {
      m_Input.wDir = wDir;
      m_Input.wButton = wButton;
      m_Input.UpdateKeyLogs();
    }
    return *this;
  }
  KeyLogFeeder& Idle(int nFrames) { return Hold(nFrames, 0, 0); }
  cInputState& Input() { return m_Input; }

 private:
  cInputState& m_Input;
};
