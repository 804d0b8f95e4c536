// The key map: which keyboard key or joystick input is each direction and
// each of the eight buttons, read from user_data\KeyConfig.dat.
//
// The file is 108 bytes, little-endian, no header: 12 entries of {int32
// device (0 to 7 a joystick, 8 the keyboard), uint16 code (a virtual key; for
// a joystick a button mask or an axis code 256, 512, 1024, 2048), 2 bytes
// padding}, then int32 nBindCount, nJoyCount and bUseKeyConfig. The player
// only reads it. A file shorter than 108 bytes fills its leading part and
// still counts as read (an empty one leaves the map all 0, the fixed
// layout). Counts beyond the map are clamped when read: nBindCount to 0..12,
// nJoyCount to 0..8.
#pragma once

#include <cstdint>

constexpr int KEYBIND_COUNT = 12;
constexpr int KEY_DEVICE_KEYBOARD = 8;
constexpr int MAX_JOYSTICKS = 8;

struct KEYBIND {
  std::int32_t nDevice = 0;
  std::uint16_t wCode = 0;
};

struct KEYCONFIG {
  KEYBIND aBind[KEYBIND_COUNT];  // 0 left, 1 right, 2 up, 3 down, 4..11 buttons 1..8
  std::int32_t nBindCount = 0;
  std::int32_t nJoyCount = 0;
  std::int32_t bUseKeyConfig = 0;
};

extern KEYCONFIG g_KeyConfig;

// 1 when the file could be opened (whatever its size), else 0.
int LoadKeyConfig(const char* path, KEYCONFIG* config);
// The keyboard map: arrows, then Z X C V A S D F; 12 bindings, one
// joystick, bUseKeyConfig 0.
void SetDefaultKeyConfig(KEYCONFIG* config);
