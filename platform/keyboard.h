// The keyboard as the game reads it: a table of Windows virtual-key codes,
// each held or not, as GetAsyncKeyState answers.
//
// The window's event source (or scripted input) presses and releases
// virtual keys; any thread reads them. Two physical keys may map to one
// code (both Shift keys give VK_SHIFT), so each code counts its presses and
// reads as held while the count is above 0. Losing the focus releases every
// key.
#pragma once

#include <cstdint>

namespace platform {

constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_CLEAR = 0x0C;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_F1 = 0x70;  // F2 to F12 follow
constexpr int VK_F3 = VK_F1 + 2;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;

// 0x8000 while the key is held, else 0.
std::int16_t GetAsyncKeyState(int vk);

void PressVirtualKey(int vk);
// A release without a press changes nothing.
void ReleaseVirtualKey(int vk);
void ReleaseAllKeys();

}  // namespace platform
