// Dialogs and boxes over a full-screen game run in dialog mode: the device
// hands the screen over (and shows the cursor) while the dialog runs, and
// takes it back afterwards whatever the answer. In a window nothing changes.
#include "shell/dialog_mode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/report.h"
#include "platform/dialogs.h"
#include "platform/window_services.h"
#include "shell/replay_requests.h"
#include "shell/stage_file_request.h"
#include "support/graphics_device.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

bool InDialogMode() { return lpDevice != nullptr && lpDevice->DialogBoxMode(); }

// Notes whether each dialog and box ran in dialog mode, and cancels it (a
// box answers No).
class ModePeekingDialogs : public platform::DialogBackend, public platform::MessageBoxBackend {
 public:
  int RunDialog(platform::DialogRequest&) override {
    seen.push_back(InDialogMode());
    return 0;
  }
  std::optional<fs::path> ChooseFile(const platform::FileRequest&) override {
    seen.push_back(InDialogMode());
    return std::nullopt;
  }
  int Show(const std::string&, const std::string&, unsigned) override {
    seen.push_back(InDialogMode());
    return platform::IDNO;
  }
  std::vector<bool> seen;
};

struct DialogCase {
  const char* name;
  std::function<int()> run;
  int answer;
};

class DialogModeTest : public testing::TestWithParam<DialogCase> {
 protected:
  void SetUp() override {
    m_pPreviousWindow = platform::SetWindowServices(&m_Window);
    m_pPreviousDialogs = platform::SetDialogBackend(&m_Dialogs);
  }
  void TearDown() override {
    platform::SetDialogBackend(m_pPreviousDialogs);
    platform::SetWindowServices(m_pPreviousWindow);
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  platform::HeadlessWindowServices m_Window;
  ModePeekingDialogs m_Dialogs;
  platform::WindowServices* m_pPreviousWindow = nullptr;
  platform::DialogBackend* m_pPreviousDialogs = nullptr;
};

TEST_P(DialogModeTest, RunsInDialogModeOverAFullScreenGameOnly) {
  for (const int windowMode : {0, 1}) {
    SCOPED_TRACE(windowMode);
    ScopedGraphicsDevice device({"D3D32", 1, 32, windowMode, false});
    ASSERT_TRUE(device.Started());
    platform::MessageBoxBackend* previousBoxes = platform::SetMessageBoxBackend(&m_Dialogs);
    const int hidden = m_Window.CursorCount();
    m_Dialogs.seen.clear();
    EXPECT_EQ(GetParam().run(), GetParam().answer);
    platform::SetMessageBoxBackend(previousBoxes);
    EXPECT_EQ(m_Dialogs.seen, std::vector<bool>{windowMode == 0});
    EXPECT_FALSE(InDialogMode());
    EXPECT_EQ(m_Window.CursorCount(), hidden);  // hidden again in full screen
  }
}

const DialogCase kDialogCases[] = {
    {"OpenStage", [] { std::string path; return ChooseStageFile(path); }, 0},
    {"OpenReplay", [] { return ServeOpenReplayRequest(); }, 0},
    {"SaveReplay", [] { std::string path; return ChooseReplaySavePath(path, "data\\stg4\\a.stg4_001"); }, 0},
    // A box's answer comes back through dialog mode.
    {"YesNoBox", [] { return ShowMessageBox("上書きしますか？", "確認", platform::MB_YESNO); }, platform::IDNO},
};

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogModeTest, testing::ValuesIn(kDialogCases),
                         [](const testing::TestParamInfo<DialogCase>& info) { return info.param.name; });

}  // namespace
