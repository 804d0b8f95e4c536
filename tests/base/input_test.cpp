// One player's input: the two pollers over the key table and joysticks,
// the histories, key-change logs, auto-repeat and the press-once filter,
// the key map file, and scripted input.
#include <gtest/gtest.h>

#include <fstream>

#include "base/close_request.h"
#include "base/input_script.h"
#include "base/input_state.h"
#include "base/key_config.h"
#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "platform/main_thread.h"
#include "platform/window_messages.h"
#include "support/temp_folder.h"

using namespace platform;

namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ReleaseAllKeys();
    RemoveAllJoysticks();
    m_Saved = g_KeyConfig;
    SetDefaultKeyConfig(&g_KeyConfig);
    m_Input.SetRepeat(18, 6);
    m_Input.SetJoyButtonMasks();
  }
  void TearDown() override {
    ReleaseAllKeys();
    RemoveAllJoysticks();
    RemoveInputScript();
    g_KeyConfig = m_Saved;
  }
  KEYCONFIG m_Saved;
  cInputState m_Input;
};

TEST_F(InputTest, FixedLayoutReadsArrowsAndLettersAndBothOppositeKeys) {
  PressVirtualKey(VK_LEFT);
  PressVirtualKey(VK_RIGHT);
  PressVirtualKey('X');
  PressVirtualKey('F');
  EXPECT_EQ(m_Input.Poll(0, 3, 60), 1);
  EXPECT_EQ(m_Input.wDir, 3);
  EXPECT_EQ(m_Input.nDirection, 5);
  EXPECT_EQ(m_Input.wButton, 2 | 128);
}

TEST_F(InputTest, AJoystickDirectionReplacesTheArrowKeys) {
  SetJoystickState(0, 0, 32768, 0);
  PressVirtualKey(VK_RIGHT);
  PressVirtualKey('Z');
  m_Input.Poll(0, 3, 60);
  EXPECT_EQ(m_Input.wDir, 1);
  EXPECT_EQ(m_Input.nDirection, 4);
  EXPECT_EQ(m_Input.wButton, 1);  // no joystick button: the keyboard's
}

TEST_F(InputTest, WithNoJoystickItIsReadOnTheFirstFrameThenOnceEvery121Frames) {
  const int before = JoystickReadCount();
  std::vector<int> readFrames;
  for (int frame = 1; frame <= 250; ++frame) {
    const int reads = JoystickReadCount();
    m_Input.Poll(0, 3, 60);
    if (JoystickReadCount() != reads) readFrames.push_back(frame);
  }
  EXPECT_EQ(readFrames, (std::vector<int>{1, 122, 243}));
  EXPECT_EQ(JoystickReadCount() - before, 3);
}

TEST_F(InputTest, TheKeyMapLetsLeftWinOverRightAndReadsJoystickAxesAndButtons) {
  g_KeyConfig.bUseKeyConfig = 1;
  g_KeyConfig.aBind[2] = {0, 1024};  // up: joystick 0 toward Y minimum
  g_KeyConfig.aBind[4] = {0, 0x4};   // button 1: joystick 0 button 2
  PressVirtualKey(VK_LEFT);
  PressVirtualKey(VK_RIGHT);
  SetJoystickState(0, 32768, 0, 0x4);
  EXPECT_EQ(m_Input.Poll(0, 3, 60), 0);  // the fixed layout is off
  EXPECT_EQ(m_Input.PollKeyConfig(60), 1);
  EXPECT_EQ(m_Input.wDir, 1 | 4);
  EXPECT_EQ(m_Input.nDirection, 1);
  EXPECT_EQ(m_Input.wButton, 1);
}

TEST_F(InputTest, AutoRepeatPassesAHeldDirectionOnFrames1_19_25_31_37) {
  std::vector<int> passed;
  for (int frame = 1; frame <= 40; ++frame) {
    m_Input.wDir = 2;
    m_Input.ApplyAutoRepeat();
    if (m_Input.wDir & 2) passed.push_back(frame);
  }
  EXPECT_EQ(passed, (std::vector<int>{1, 19, 25, 31, 37}));
}

TEST_F(InputTest, OneShotPassesTheFirstPressOnlyUntilAllAreReleased) {
  const std::vector<std::pair<std::uint16_t, std::uint16_t>> frames = {
      {1, 1}, {1, 0}, {1, 0}, {1 | 2, 0}, {0, 0}, {2, 2}};
  for (const auto& [held, expected] : frames) {
    m_Input.wButton = held;
    m_Input.OneShotButtons(0);
    EXPECT_EQ(m_Input.wButton, expected) << "held " << held;
  }
}

TEST_F(InputTest, HistoryAnswersWhatWasHeldNFramesAgo) {
  m_Input.ClearHistory();
  EXPECT_EQ(m_Input.GetHistory(0, 5), 0);
  for (const std::uint16_t dir : {1, 1, 1, 2, 2, 8}) {
    m_Input.wDir = dir;
    m_Input.PushHistory();
  }
  EXPECT_EQ(m_Input.GetHistory(0, 0), 8);
  EXPECT_EQ(m_Input.GetHistory(0, 1), 2);
  EXPECT_EQ(m_Input.GetHistory(0, 2), 2);
  EXPECT_EQ(m_Input.GetHistory(0, 3), 1);
  EXPECT_EQ(m_Input.GetHistory(0, 5), 1);
  EXPECT_EQ(m_Input.GetHistory(0, 100), 8);  // fewer frames than asked: the newest
}

TEST_F(InputTest, KeyLogsRecordChangesNewestFirstAndStopCountingAtTheLimit) {
  for (const std::uint16_t dir : {0, 1, 1, 5}) {
    m_Input.wDir = dir;
    m_Input.UpdateKeyLogs();
  }
  const auto& left = m_Input.vecDirKeyLog[1];  // left only
  ASSERT_EQ(left.size(), 32u);
  EXPECT_EQ(left[0].bPressed, 0);
  EXPECT_EQ(left[0].nFrames, 1);
  EXPECT_EQ(left[1].bPressed, 1);
  EXPECT_EQ(left[1].nFrames, 2);
  EXPECT_EQ(m_Input.vecDirKeyLog[9][0].nFrames, 3);  // any direction, since frame 2
  EXPECT_EQ(m_Input.vecDirKeyLog[5][0].bPressed, 1);  // up-left

  m_Input.vecButtonKeyLog[0][0] = {1, 2147483647};
  m_Input.wButton = 0;
  m_Input.UpdateKeyLogs();
  EXPECT_EQ(m_Input.vecButtonKeyLog[0][0].nFrames, 2147483647);
}

class KeyConfigFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::vector<std::uint8_t>& bytes) {
    const auto path = m_Folder / "KeyConfig.dat";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  TempFolder m_Folder;
};

std::vector<std::uint8_t> FileBytes(int bindCount, int joyCount, int use) {
  std::vector<std::uint8_t> bytes(108, 0);
  for (int k = 0; k < 12; ++k) {
    bytes[8 * k] = 8;
    bytes[8 * k + 4] = static_cast<std::uint8_t>('A' + k);
  }
  const auto put = [&](std::size_t at, int value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(static_cast<unsigned>(value) >> (8 * i));
  };
  put(96, bindCount);
  put(100, joyCount);
  put(104, use);
  return bytes;
}

TEST_F(KeyConfigFileTest, AMissingFileIsNotRead) {
  KEYCONFIG config;
  EXPECT_EQ(LoadKeyConfig((m_Folder / "none.dat").c_str(), &config), 0);
}

TEST_F(KeyConfigFileTest, AWholeFileFillsTheMap) {
  KEYCONFIG config;
  ASSERT_EQ(LoadKeyConfig(Write(FileBytes(12, 2, 1)).c_str(), &config), 1);
  EXPECT_EQ(config.aBind[11].nDevice, 8);
  EXPECT_EQ(config.aBind[11].wCode, 'L');
  EXPECT_EQ(config.nBindCount, 12);
  EXPECT_EQ(config.nJoyCount, 2);
  EXPECT_EQ(config.bUseKeyConfig, 1);
}

// A short file fills its leading part and counts as read; an empty one
// leaves the fresh map all 0, which means the fixed layout.
TEST_F(KeyConfigFileTest, AShortOrEmptyFileFillsOnlyWhatItHas) {
  KEYCONFIG config;
  auto bytes = FileBytes(12, 1, 1);
  bytes.resize(20);
  ASSERT_EQ(LoadKeyConfig(Write(bytes).c_str(), &config), 1);
  EXPECT_EQ(config.aBind[1].wCode, 'B');
  EXPECT_EQ(config.aBind[2].nDevice, 8);
  EXPECT_EQ(config.aBind[2].wCode, 0);
  EXPECT_EQ(config.bUseKeyConfig, 0);

  KEYCONFIG empty;
  ASSERT_EQ(LoadKeyConfig(Write({}).c_str(), &empty), 1);
  EXPECT_EQ(empty.bUseKeyConfig, 0);
  EXPECT_EQ(empty.nBindCount, 0);
}

TEST_F(KeyConfigFileTest, CountsBeyondTheMapAreClamped) {
  for (const auto& [bind, joy, wantBind, wantJoy] :
       std::vector<std::array<int, 4>>{{100, 50, 12, 8}, {-5, -1, 0, 0}, {13, 9, 12, 8}}) {
    KEYCONFIG config;
    ASSERT_EQ(LoadKeyConfig(Write(FileBytes(bind, joy, 1)).c_str(), &config), 1);
    EXPECT_EQ(config.nBindCount, wantBind);
    EXPECT_EQ(config.nJoyCount, wantJoy);
  }
}

TEST(InputScriptTest, ParsesEveryFormAndRefusesABadLine) {
  std::vector<ScriptedInputEvent> events;
  std::string error;
  ASSERT_TRUE(ParseInputScript("# start\n2 LEFT down\n1 joy 0 0 65535 0x3\n3 focus off\n4 0x5A up\n5 close\n"
                               "6 joy 1 off\n7 F12 down\n",
                               events, error))
      << error;
  ASSERT_EQ(events.size(), 7u);
  EXPECT_EQ(events[0].kind, ScriptedInputEvent::JOYSTICK);  // sorted by frame
  EXPECT_EQ(events[0].buttons, 3u);
  EXPECT_EQ(events[1].nCode, VK_LEFT);
  EXPECT_EQ(events[3].nCode, 'Z');
  EXPECT_EQ(events[6].nCode, VK_F1 + 11);
  EXPECT_FALSE(ParseInputScript("1 LEFT down\n2 NOKEY down\n", events, error));
  EXPECT_EQ(error, "line 2: 2 NOKEY down");
  EXPECT_FALSE(ParseInputScript("0 LEFT down\n", events, error));  // frames count from 1
}

TEST_F(InputTest, ScriptedKeysArriveAtTheirPoll) {
  std::vector<ScriptedInputEvent> events;
  std::string error;
  ASSERT_TRUE(ParseInputScript("2 Z down\n4 Z up\n1 joy 0 65535 32768 0\n", events, error));
  InstallInputScript(events);
  std::vector<std::pair<int, int>> seen;
  for (int poll = 1; poll <= 5; ++poll) {
    m_Input.Poll(0, 3, 60);
    seen.emplace_back(m_Input.wButton, m_Input.wDir);
  }
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {1, 2}, {0, 2}, {0, 2}}));
}

TEST_F(InputTest, AScriptedPressReachesTheMainWindowAsAKeyDown) {
  ClaimMainThread();
  std::vector<WPARAM> keyDowns;
  const HWND window = CreateWindowHandle([&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    if (message == WM_KEYDOWN) keyDowns.push_back(wParam);
    return 0;
  });
  const HWND previous = g_hWnd.exchange(window);
  std::vector<ScriptedInputEvent> events;
  std::string error;
  ASSERT_TRUE(ParseInputScript("1 ESCAPE down\n2 ESCAPE up\n3 Z down\n", events, error));
  InstallInputScript(events);
  for (int poll = 1; poll <= 3; ++poll) m_Input.Poll(0, 3, 60);
  RunMainThreadTasks();
  EXPECT_EQ(keyDowns, (std::vector<WPARAM>{VK_ESCAPE, 'Z'}));
  g_hWnd = previous;
  DestroyWindowHandle(window);
  ReleaseMainThread();
}

}  // namespace
