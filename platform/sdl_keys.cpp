#include "platform/sdl_keys.h"

#include "platform/keyboard.h"

namespace platform {

namespace {

struct Fixed {
  SDL_Scancode scancode;
  std::vector<int> vks;
};

// Keys that go by their position.
const std::vector<Fixed>& FixedKeys() {
  static const std::vector<Fixed> keys = {
      {SDL_SCANCODE_RETURN, {VK_RETURN}}, {SDL_SCANCODE_ESCAPE, {VK_ESCAPE}},
      {SDL_SCANCODE_BACKSPACE, {VK_BACK}}, {SDL_SCANCODE_TAB, {VK_TAB}},
      {SDL_SCANCODE_SPACE, {VK_SPACE}}, {SDL_SCANCODE_CAPSLOCK, {0x14}},
      {SDL_SCANCODE_PRINTSCREEN, {0x2C}}, {SDL_SCANCODE_SCROLLLOCK, {0x91}},
      {SDL_SCANCODE_PAUSE, {0x13}}, {SDL_SCANCODE_INSERT, {VK_INSERT}},
      {SDL_SCANCODE_HOME, {VK_HOME}}, {SDL_SCANCODE_PAGEUP, {VK_PRIOR}},
      {SDL_SCANCODE_DELETE, {VK_DELETE}}, {SDL_SCANCODE_END, {VK_END}},
      {SDL_SCANCODE_PAGEDOWN, {VK_NEXT}}, {SDL_SCANCODE_RIGHT, {VK_RIGHT}},
      {SDL_SCANCODE_LEFT, {VK_LEFT}}, {SDL_SCANCODE_DOWN, {VK_DOWN}},
      {SDL_SCANCODE_UP, {VK_UP}}, {SDL_SCANCODE_NUMLOCKCLEAR, {0x90}},
      {SDL_SCANCODE_APPLICATION, {0x5D}}, {SDL_SCANCODE_KP_DIVIDE, {0x6F}},
      {SDL_SCANCODE_KP_MULTIPLY, {0x6A}}, {SDL_SCANCODE_KP_MINUS, {0x6D}},
      {SDL_SCANCODE_KP_PLUS, {0x6B}}, {SDL_SCANCODE_KP_ENTER, {VK_RETURN}},
      {SDL_SCANCODE_LCTRL, {0xA2, VK_CONTROL}}, {SDL_SCANCODE_LSHIFT, {VK_LSHIFT, VK_SHIFT}},
      {SDL_SCANCODE_LALT, {0xA4, VK_MENU}}, {SDL_SCANCODE_LGUI, {0x5B}},
      {SDL_SCANCODE_RCTRL, {0xA3, VK_CONTROL}}, {SDL_SCANCODE_RSHIFT, {VK_RSHIFT, VK_SHIFT}},
      {SDL_SCANCODE_RALT, {0xA5, VK_MENU}}, {SDL_SCANCODE_RGUI, {0x5C}},
      {SDL_SCANCODE_MINUS, {0xBD}}, {SDL_SCANCODE_EQUALS, {0xBB}},
      {SDL_SCANCODE_LEFTBRACKET, {0xDB}}, {SDL_SCANCODE_RIGHTBRACKET, {0xDD}},
      {SDL_SCANCODE_BACKSLASH, {0xDC}}, {SDL_SCANCODE_NONUSHASH, {0xDC}},
      {SDL_SCANCODE_SEMICOLON, {0xBA}}, {SDL_SCANCODE_APOSTROPHE, {0xDE}},
      {SDL_SCANCODE_GRAVE, {0xC0}}, {SDL_SCANCODE_COMMA, {0xBC}},
      {SDL_SCANCODE_PERIOD, {0xBE}}, {SDL_SCANCODE_SLASH, {0xBF}},
      {SDL_SCANCODE_NONUSBACKSLASH, {0xE2}}, {SDL_SCANCODE_INTERNATIONAL1, {0xE2}},
      {SDL_SCANCODE_INTERNATIONAL2, {0xF2}}, {SDL_SCANCODE_INTERNATIONAL3, {0xDC}},
      {SDL_SCANCODE_INTERNATIONAL4, {0x1C}}, {SDL_SCANCODE_INTERNATIONAL5, {0x1D}},
      {SDL_SCANCODE_LANG1, {0x15}}, {SDL_SCANCODE_LANG2, {0x19}},
  };
  return keys;
}

// Keypad 1..9, 0 and the point: with NumLock off, the navigation keys.
int KeypadKey(SDL_Scancode scancode, bool bNumLock) {
  static const int navigation[] = {VK_END, VK_DOWN, VK_NEXT, VK_LEFT, VK_CLEAR, VK_RIGHT,
                                   VK_HOME, VK_UP, VK_PRIOR, VK_INSERT, VK_DELETE};
  const int index = scancode - SDL_SCANCODE_KP_1;  // KP_1..KP_9, KP_0, KP_PERIOD
  if (!bNumLock) return navigation[index];
  if (index < 9) return VK_NUMPAD0 + 1 + index;
  return index == 9 ? VK_NUMPAD0 : 0x6E;
}

}  // namespace

std::vector<int> VirtualKeysOf(SDL_Scancode scancode, SDL_Keycode keycode, bool bNumLock) {
  if (keycode >= SDLK_a && keycode <= SDLK_z) return {'A' + (keycode - SDLK_a)};
  if (keycode >= SDLK_0 && keycode <= SDLK_9) return {'0' + (keycode - SDLK_0)};
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return {'A' + (scancode - SDL_SCANCODE_A)};
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return {'1' + (scancode - SDL_SCANCODE_1)};
  if (scancode == SDL_SCANCODE_0) return {'0'};
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return {VK_F1 + (scancode - SDL_SCANCODE_F1)};
  if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) return {0x7C + (scancode - SDL_SCANCODE_F13)};
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_PERIOD) return {KeypadKey(scancode, bNumLock)};
  for (const Fixed& key : FixedKeys()) {
    if (key.scancode == scancode) return key.vks;
  }
  return {};
}

bool SdlKeyboard::Apply(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN: {
      const auto scancode = event.key.keysym.scancode;
      if (event.key.repeat || scancode < 0 || scancode >= SDL_NUM_SCANCODES) return true;
      auto& pressed = m_Pressed[scancode];
      if (!pressed.empty()) return true;  // already down
      pressed = VirtualKeysOf(scancode, event.key.keysym.sym, (event.key.keysym.mod & KMOD_NUM) != 0);
      for (const int vk : pressed) PressVirtualKey(vk);
      return true;
    }
    case SDL_KEYUP: {
      const auto scancode = event.key.keysym.scancode;
      if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return true;
      for (const int vk : m_Pressed[scancode]) ReleaseVirtualKey(vk);
      m_Pressed[scancode].clear();
      return true;
    }
    case SDL_WINDOWEVENT:
      if (event.window.event != SDL_WINDOWEVENT_FOCUS_LOST) return false;
      ReleaseAll();
      return true;
    default:
      return false;
  }
}

void SdlKeyboard::ReleaseAll() {
  for (auto& pressed : m_Pressed) pressed.clear();
  ReleaseAllKeys();
}

}  // namespace platform
