// SDL key events as virtual keys, on synthetic events: letters by layout,
// the keypad with and without NumLock, both Shift keys, focus loss.
#include <gtest/gtest.h>

#include "platform/keyboard.h"
#include "platform/sdl_keys.h"

using namespace platform;

namespace {

SDL_Event KeyEvent(Uint32 type, SDL_Scancode scancode, SDL_Keycode keycode, Uint16 mod = 0, Uint8 repeat = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = keycode;
  event.key.keysym.mod = mod;
  event.key.repeat = repeat;
  return event;
}

struct MappingCase {
  const char* name;
  SDL_Scancode scancode;
  SDL_Keycode keycode;
  bool bNumLock;
  std::vector<int> vks;
};

class KeyMappingTest : public ::testing::TestWithParam<MappingCase> {};

TEST_P(KeyMappingTest, GivesTheWindowsVirtualKeys) {
  const MappingCase& c = GetParam();
  EXPECT_EQ(VirtualKeysOf(c.scancode, c.keycode, c.bNumLock), c.vks);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyMappingTest,
    ::testing::Values(
        // French layout: the key at the US "Q" position types "a".
        MappingCase{"AzertyLetterFollowsTheLayout", SDL_SCANCODE_Q, SDLK_a, true, {'A'}},
        MappingCase{"AzertyZAtTheUsWPosition", SDL_SCANCODE_W, SDLK_z, true, {'Z'}},
        // A Cyrillic layout types no Latin letter: the position decides.
        MappingCase{"NonLatinLetterFallsBackToPosition", SDL_SCANCODE_Z, 0x44F, true, {'Z'}},
        MappingCase{"DigitByPosition", SDL_SCANCODE_0, 0xE0, true, {'0'}},
        MappingCase{"ArrowByPosition", SDL_SCANCODE_LEFT, SDLK_LEFT, true, {VK_LEFT}},
        MappingCase{"F3", SDL_SCANCODE_F3, SDLK_F3, true, {VK_F1 + 2}},
        MappingCase{"Keypad4WithNumLock", SDL_SCANCODE_KP_4, SDLK_KP_4, true, {VK_NUMPAD0 + 4}},
        MappingCase{"Keypad4WithoutNumLockIsLeft", SDL_SCANCODE_KP_4, SDLK_KP_4, false, {VK_LEFT}},
        MappingCase{"Keypad5WithoutNumLockIsClear", SDL_SCANCODE_KP_5, SDLK_KP_5, false, {VK_CLEAR}},
        MappingCase{"Keypad8WithoutNumLockIsUp", SDL_SCANCODE_KP_8, SDLK_KP_8, false, {VK_UP}},
        MappingCase{"Keypad0WithoutNumLockIsInsert", SDL_SCANCODE_KP_0, SDLK_KP_0, false, {VK_INSERT}},
        MappingCase{"KeypadPointWithNumLock", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, true, {0x6E}},
        MappingCase{"LeftShiftSideAndGeneric", SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, true, {VK_LSHIFT, VK_SHIFT}},
        MappingCase{"UnknownKeyGivesNothing", SDL_SCANCODE_MUTE, SDLK_MUTE, true, {}}),
    [](const auto& info) { return std::string(info.param.name); });

class SdlKeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { ReleaseAllKeys(); }
  void TearDown() override { ReleaseAllKeys(); }
  bool Held(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }
  SdlKeyboard m_Keyboard;
};

TEST_F(SdlKeyboardTest, BothShiftsHeldAndOneReleasedKeepsShiftHeld) {
  m_Keyboard.Apply(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT));
  m_Keyboard.Apply(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT));
  m_Keyboard.Apply(KeyEvent(SDL_KEYUP, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT));
  EXPECT_TRUE(Held(VK_SHIFT));
  EXPECT_FALSE(Held(VK_LSHIFT));
  EXPECT_TRUE(Held(VK_RSHIFT));
  m_Keyboard.Apply(KeyEvent(SDL_KEYUP, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT));
  EXPECT_FALSE(Held(VK_SHIFT));
}

// The release undoes what the press set, even when NumLock changed between.
TEST_F(SdlKeyboardTest, AKeypadKeyReleasesWhatItPressedAcrossANumLockChange) {
  m_Keyboard.Apply(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_KP_4, SDLK_KP_4, 0));
  EXPECT_TRUE(Held(VK_LEFT));
  m_Keyboard.Apply(KeyEvent(SDL_KEYUP, SDL_SCANCODE_KP_4, SDLK_KP_4, KMOD_NUM));
  EXPECT_FALSE(Held(VK_LEFT));
  EXPECT_FALSE(Held(VK_NUMPAD0 + 4));
}

TEST_F(SdlKeyboardTest, RepeatsChangeNothingAndFocusLossReleasesEveryKey) {
  m_Keyboard.Apply(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_z));
  m_Keyboard.Apply(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_z, 0, 1));
  m_Keyboard.Apply(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT));
  EXPECT_TRUE(Held('Z'));
  SDL_Event focus{};
  focus.type = SDL_WINDOWEVENT;
  focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  EXPECT_TRUE(m_Keyboard.Apply(focus));
  EXPECT_FALSE(Held('Z'));
  EXPECT_FALSE(Held(VK_LEFT));
  // A release that comes after the focus loss changes nothing more.
  m_Keyboard.Apply(KeyEvent(SDL_KEYUP, SDL_SCANCODE_Z, SDLK_z));
  m_Keyboard.Apply(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_z));
  EXPECT_TRUE(Held('Z'));
}

}  // namespace
