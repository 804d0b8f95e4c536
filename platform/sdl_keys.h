// SDL's key events as Windows virtual keys (platform/keyboard.h).
//
// Letters and digits follow the keyboard layout, as Windows' virtual keys
// do (the key that types "a" is 'A' wherever it sits); a layout whose key
// types no Latin letter or digit falls back to the key's position. Every
// other key goes by its position (US layout for the punctuation keys). The
// keypad gives the number keys with NumLock on, and with NumLock off the
// navigation keys Windows gives (4 is VK_LEFT, 5 VK_CLEAR). Shift, Control
// and Alt press their side's code and the generic one.
//
// SdlKeyboard applies events to the virtual-key table: a release undoes what
// its key's press set, even when NumLock changed in between; a repeat
// changes nothing; losing the focus releases every key.
#pragma once

#include <SDL2/SDL_events.h>

#include <array>
#include <vector>

namespace platform {

// The virtual keys of one physical key (none, one, or a side-specific and
// a generic code).
std::vector<int> VirtualKeysOf(SDL_Scancode scancode, SDL_Keycode keycode, bool bNumLock);

class SdlKeyboard {
 public:
  // True when the event was a key or focus event.
  bool Apply(const SDL_Event& event);
  // Every key up, whatever the events said.
  void ReleaseAll();

 private:
  std::array<std::vector<int>, SDL_NUM_SCANCODES> m_Pressed;
};

}  // namespace platform
