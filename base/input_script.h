// Scripted input (PLAYER_INPUT_SCRIPT): keys, joysticks, focus and a close
// given at input polls, for headless runs and tests.
//
// The script is text, one event a line, "#" starts a comment:
//   FRAME KEY down | FRAME KEY up       a virtual key pressed or released (a
//                                       press also reaches the main window)
//   FRAME joy ID X Y BUTTONS            joystick ID (0..7) at X, Y (0..65535),
//                                       BUTTONS a mask (decimal or 0x..)
//   FRAME joy ID off                    joystick ID unplugged
//   FRAME focus off | FRAME focus on    the window loses or gets the focus
//   FRAME close                         the window's close box
// FRAME counts input polls from 1 (both pollers of cInputState advance the
// script before they read). KEY is LEFT, RIGHT, UP, DOWN, SPACE, RETURN,
// ESCAPE, SHIFT, LSHIFT, RSHIFT, CONTROL, F1..F12, A..Z, 0..9 or a code 0xNN.
// The events of a frame apply in their order in the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ScriptedInputEvent {
  enum Kind { KEY_DOWN, KEY_UP, JOYSTICK, JOYSTICK_OFF, FOCUS_OFF, FOCUS_ON, CLOSE };
  int nFrame = 0;
  Kind kind = KEY_DOWN;
  int nCode = 0;  // the virtual key, or the joystick id
  unsigned x = 0, y = 0, buttons = 0;
};

// False with error naming the line when a line cannot be read.
bool ParseInputScript(std::string_view text, std::vector<ScriptedInputEvent>& events, std::string& error);
// Reads and installs the script of a file (a Linux path); false (reported)
// when it cannot be read or parsed.
bool LoadInputScript(const std::string& path);
// Installs events in place of the script before; the poll count restarts.
void InstallInputScript(std::vector<ScriptedInputEvent> events);
void RemoveInputScript();

// One input poll: applies the events of the next frame. Nothing without a
// script.
void AdvanceInputScript();
