// Open and save choosers and the replay requests, answered by dialog scripts.
#include "shell/file_dialogs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <thread>

#include "base/close_request.h"
#include "base/paths.h"
#include "base/requests.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/main_thread.h"
#include "platform/window_messages.h"
#include "scenes/scene_manager.h"
#include "shell/replay_requests.h"
#include "support/bound_by_file_modes.h"
#include "support/scoped_dialog_script.h"
#include "support/scoped_message_boxes.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace fs = std::filesystem;

namespace {

const std::string kStageFilter = std::string("StageFile ( *.stg4_*;*.rpl4_* )") + '\0' + "*.stg4_*;*.rpl4_*" + '\0';
const std::string kReplayFilter = std::string("ReplayFile ( *.rpl4_566 )") + '\0' + "*.rpl4_566" + '\0';

// The program path of a file below the current folder, as a full path.
std::string FullPath(const char* relative) {
  std::string path = relative;
  EXPECT_EQ(MakeAbsolutePath(path), 1);
  return path;
}

class FileDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(m_Folder / "data" / "stg4");
    fs::create_directories(m_Folder / "user_data" / "rpl4");
    WriteTextFile(m_Folder / "data" / "stg4" / "Stage.STG4_001", "stage");
  }
  int Open(std::string& path) {
    return OpenFileDialog(path, "data\\stg4\\", "ステージファイルの選択", kStageFilter.c_str(), "stg4_*;rpl4_*");
  }
  int Save(std::string& path) {
    return SaveFileDialog(path, "user_data\\rpl4\\", "保存先のファイル選択", kReplayFilter.c_str(), "rpl4_566", 1);
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  ScopedMessageBoxes m_Boxes;
};

TEST_F(FileDialogTest, OpenGivesTheFullProgramPathOfAnExistingFile) {
  ScopedDialogScript script("open data/stg4/Stage.STG4_001\nopen cancel\n");
  std::string path = "left over";
  EXPECT_EQ(Open(path), 1);
  EXPECT_EQ(path, FullPath("data\\stg4\\Stage.STG4_001"));
  EXPECT_EQ(Open(path), 0);
  EXPECT_EQ(path, "");
}

TEST_F(FileDialogTest, OpenRefusesAMissingFileAndAsksAgain) {
  ScopedDialogScript script("open data/stg4/none.stg4_001\nopen data/stg4/Stage.STG4_001\n");
  std::string path;
  EXPECT_EQ(Open(path), 1);
  EXPECT_EQ(path, FullPath("data\\stg4\\Stage.STG4_001"));
  ASSERT_EQ(m_Boxes.Shown().size(), 1u);
  EXPECT_NE(m_Boxes.Shown()[0].text.find("none.stg4_001"), std::string::npos);
}

TEST_F(FileDialogTest, SaveAppendsTheDefaultExtensionAndGivesARelativePath) {
  struct Case {
    std::string answer;  // UTF-8, as a script file holds it
    const char* path;
  };
  const Case cases[] = {
      {"save user_data/rpl4/mine", ".\\user_data\\rpl4\\mine.rpl4_566"},
      {"save user_data/rpl4/mine.rpl4_566", ".\\user_data\\rpl4\\mine.rpl4_566"},
      {"save user_data/rpl4/mine.bak", ".\\user_data\\rpl4\\mine.bak"},
      {Utf8(u8"save user_data/rpl4/リプレイ"), ".\\user_data\\rpl4\\リプレイ.rpl4_566"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    ScopedDialogScript script(c.answer);
    std::string path = "stage_00.rpl4_566";
    EXPECT_EQ(Save(path), 1);
    EXPECT_EQ(path, c.path);
  }
  EXPECT_TRUE(m_Boxes.Shown().empty());
}

TEST_F(FileDialogTest, SavingOverAnExistingFileIsAlwaysConfirmed) {
  WriteTextFile(m_Folder / "user_data" / "rpl4" / "mine.rpl4_566", "old");
  ScopedDialogScript script("save user_data/rpl4/mine\nsave user_data/rpl4/mine\n");
  m_Boxes.QueueAnswer(platform::IDNO);   // not over it: the chooser comes back
  m_Boxes.QueueAnswer(platform::IDYES);  // then yes
  std::string path;
  EXPECT_EQ(Save(path), 1);
  EXPECT_EQ(path, ".\\user_data\\rpl4\\mine.rpl4_566");
  ASSERT_EQ(m_Boxes.Shown().size(), 2u);
  EXPECT_EQ(m_Boxes.Shown()[0].text, "mine.rpl4_566 は既に存在します。\n上書きしますか？");
  EXPECT_EQ(m_Boxes.Shown()[0].type & platform::MB_TYPEMASK, platform::MB_YESNO);
}

TEST_F(FileDialogTest, CancellingTheSaveKeepsTheProposedName) {
  ScopedDialogScript script("save cancel");
  std::string path = "stage_00.rpl4_566";
  EXPECT_EQ(Save(path), 0);
  EXPECT_EQ(path, "stage_00.rpl4_566");
}

TEST(ProgramPath, NativePathsBecomeCp932WithBackslashes) {
  std::string path;
  EXPECT_TRUE(ToProgramPath(Utf8(u8"/home/表示/a.stg4_001"), path));
  EXPECT_EQ(path, "\\home\\表示\\a.stg4_001");
  EXPECT_FALSE(ToProgramPath(Utf8(u8"/home/caf\u00E9.stg4_001"), path));  // no CP932 form
  EXPECT_FALSE(ToProgramPath("/home/a\\b.stg4_001", path));        // a backslash inside a name
  EXPECT_EQ(path, "\\home\\表示\\a.stg4_001");
}

// Replays saved with F1/F2 and opened from the title.
class ReplayRequestTest : public FileDialogTest {
 protected:
  void SetUp() override {
    FileDialogTest::SetUp();
    g_nDataVersion = DATA_VERSION;
    g_SystemData.m_bRecordReplay = 1;
    g_LoadedStage = MakeTestStage();
    g_PlayStage = g_LoadedStage;
    g_SaveData.SetStageFile("data\\stg4\\Stage.STG4_001");
    g_ReplayLog.Clear();
    g_PrevReplayLog.Clear();
    const std::int16_t frame[2] = {4, 1};
    for (int i = 0; i < 30; ++i) g_ReplayLog.RecordFrame(frame);
    g_ReplayLog.m_nSeed = 1234;
    g_SceneManager.m_nPlayStart = 0;
    // The main window: it plays the system sounds the keys ask for.
    m_hWnd = platform::CreateWindowHandle(
        [this](platform::HWND, platform::UINT message, platform::WPARAM wParam, platform::LPARAM) {
          if (message == WM_REQ_PLAY_SOUND) m_vSounds.push_back(static_cast<int>(wParam));
          return platform::LRESULT{0};
        });
    g_hWnd = m_hWnd;
    ResetCloseRequests();
  }
  void TearDown() override {
    platform::ReleaseAllKeys();
    platform::RunMainThreadTasks();  // the posted closes
    g_hWnd = nullptr;
    platform::DestroyWindowHandle(m_hWnd);
    g_SystemData.m_bRecordReplay = 0;
    g_ReplayLog.Clear();
    g_PrevReplayLog.Clear();
  }
  // The key as the keyboard holds it: the only key held.
  static void Hold(int vk) {
    platform::ReleaseAllKeys();
    if (vk != 0) platform::PressVirtualKey(vk);
  }

  platform::HWND m_hWnd = nullptr;
  std::vector<int> m_vSounds;
};

TEST_F(ReplayRequestTest, F1SavesTheCurrentPlayUnderTheProposedName) {
  // The chooser offers stage_00 ... the first free name; the player takes it.
  WriteTextFile(m_Folder / "user_data" / "rpl4" / "Stage_00.rpl4_566", "taken");
  ScopedDialogScript script("save user_data/rpl4/Stage_01\n");
  Hold(platform::VK_F1);
  EXPECT_EQ(CheckReplaySaveKeys(0), 1);
  EXPECT_EQ(m_vSounds, std::vector<int>{1});
  cReplayLog log;
  cEdStage stage, start;
  cSaveData progress;
  ASSERT_EQ(log.LoadReplay("user_data\\rpl4\\Stage_01.rpl4_566", stage, start, progress), 1);
  EXPECT_EQ(log.m_nSeed, 1234);
  EXPECT_EQ(log.m_vDirRuns, std::vector<std::int32_t>{30});
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(ReplayRequestTest, NothingToSaveSoundsOnceASecondWhileTheKeyIsHeld) {
  ScopedDialogScript script("save user_data/rpl4/never\n");
  Hold(platform::VK_F1 + 1);  // F2: the previous play, which has no frames
  for (int frame = 0; frame < 121; ++frame) EXPECT_EQ(CheckReplaySaveKeys(0), 0);
  EXPECT_EQ(m_vSounds, (std::vector<int>{3, 3, 3}));
  EXPECT_EQ(script.PendingAnswers(), 1u);
}

TEST_F(ReplayRequestTest, NoSaveDuringAReplayOrWithoutRecordingOrWithoutTheKeys) {
  ScopedDialogScript script("save user_data/rpl4/never\n");
  Hold(platform::VK_F1);
  EXPECT_EQ(CheckReplaySaveKeys(4), 0);  // a replay plays
  g_SystemData.m_bRecordReplay = 0;
  EXPECT_EQ(CheckReplaySaveKeys(0), 0);
  g_SystemData.m_bRecordReplay = 1;
  Hold(0);
  EXPECT_EQ(CheckReplaySaveKeys(0), 0);
  EXPECT_TRUE(m_vSounds.empty());
  EXPECT_EQ(script.PendingAnswers(), 1u);
}

// A replay that cannot be written (a folder the player may not write, a
// full disk) is told in a box; the play goes on with its logs, and the
// folder holds what it held.
TEST_F(ReplayRequestTest, AReplayThatCannotBeWrittenIsToldAndThePlayGoesOn) {
  const fs::path folder = m_Folder / "user_data" / "rpl4";
  const auto saveFails = [&]() -> int {
    ScopedDialogScript script("save user_data/rpl4/lost\n");
    EXPECT_EQ(ServeSaveReplayRequest(0), 0);
    const auto boxes = m_Boxes.Shown();
    EXPECT_EQ(boxes.size(), 1u);
    for (const auto& box : boxes) EXPECT_NE(box.text.find("の保存に失敗しました！"), std::string::npos) << box.text;
    EXPECT_EQ(CloseRequestCount(), 0);
    EXPECT_EQ(g_ReplayLog.m_vDirRuns, std::vector<std::int32_t>{30});
    EXPECT_TRUE(fs::is_empty(folder));
    return 0;
  };
  {
    SCOPED_TRACE("a full disk");
    platform::SetWriteFunctionForTests([](int, const void*, std::size_t) -> ssize_t {
      errno = ENOSPC;
      return -1;
    });
    saveFails();
    platform::SetWriteFunctionForTests(nullptr);
  }
  {
    SCOPED_TRACE("a read-only folder");
    m_Boxes.Clear();
    fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const int status = RunBoundByFileModes(saveFails);
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    if (status == kNotBound) GTEST_SKIP() << kNotBoundMessage;
    EXPECT_EQ(status, 0);
  }
}

TEST_F(ReplayRequestTest, TheTitleOpensASavedReplay) {
  ScopedDialogScript script("save user_data/rpl4/r\nopen cancel\nopen user_data/rpl4/r.rpl4_566\n");
  ASSERT_EQ(ServeSaveReplayRequest(0), 1);
  g_ReplayLog.Clear();
  EXPECT_EQ(RequestReplayOpen(), 0);
  EXPECT_EQ(RequestReplayOpen(), 1);
  EXPECT_EQ(g_ReplayLog.m_nSeed, 1234);
  EXPECT_EQ(g_LoadedStage.m_strPath, FullPath("user_data\\rpl4\\r.rpl4_566"));
}

TEST_F(ReplayRequestTest, AReplayThatCannotBeReadClosesTheProgram) {
  WriteTextFile(m_Folder / "user_data" / "rpl4" / "bad.rpl4_566", "damaged");
  ScopedDialogScript script("open user_data/rpl4/bad.rpl4_566\n");
  EXPECT_EQ(RequestReplayOpen(), 0);
  EXPECT_EQ(CloseRequestCount(), 1);
}

TEST_F(ReplayRequestTest, TheGameThreadsRequestIsServedOnTheMainThread) {
  ScopedDialogScript script("save user_data/rpl4/from_game\n");
  platform::ClaimMainThread();
  Hold(platform::VK_F1);
  std::atomic<int> result{-1};
  std::thread game([&] { result = CheckReplaySaveKeys(0); });
  while (result == -1) {
    platform::WaitForMainThreadTasks(std::chrono::milliseconds(10));
    platform::RunMainThreadTasks();
  }
  game.join();
  platform::ReleaseMainThread();
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(fs::exists(m_Folder / "user_data" / "rpl4" / "from_game.rpl4_566"));
}

}  // namespace
