// The launcher and the name entry, answered by dialog scripts.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/user/options.h"
#include "model/settings/system_data.h"
#include "shell/launcher_dialog.h"
#include "shell/name_entry_dialog.h"
#include "shell/system_ini.h"
#include "support/scoped_dialog_script.h"
#include "support/scoped_message_boxes.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace fs = std::filesystem;

namespace {

// Keeps what a dialog was shown with, then answers like the script.
class PeekingDialogs : public platform::DialogBackend {
 public:
  explicit PeekingDialogs(std::string_view script) : m_Script(script), m_pPrevious(platform::SetDialogBackend(this)) {}
  ~PeekingDialogs() override { platform::SetDialogBackend(m_pPrevious); }
  int RunDialog(platform::DialogRequest& request) override {
    m_Shown.push_back(request);
    return m_Script.RunDialog(request);
  }
  std::optional<fs::path> ChooseFile(const platform::FileRequest& request) override {
    return m_Script.ChooseFile(request);
  }
  std::vector<platform::DialogRequest> m_Shown;

 private:
  platform::ScriptedDialogs m_Script;
  platform::DialogBackend* m_pPrevious;
};

class LauncherTest : public testing::Test {
 protected:
  void SetUp() override {
    g_Boot = cBootData();
    g_SystemData.m_strTitle = "冒険ゲーム";
    fs::create_directories(m_Folder / "user_data");
  }
  void TearDown() override { g_Boot = cBootData(); }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  ScopedMessageBoxes m_Boxes;
};

TEST_F(LauncherTest, StartStoresTheChoiceAndSavesBootDat) {
  PeekingDialogs dialogs("launcher start renderer=0 hide=1\n");
  cLauncherDialog launcher(100, 100);
  EXPECT_EQ(launcher.DoModal(), 1);
  EXPECT_EQ(g_Boot.m_nRenderer, 0);
  EXPECT_EQ(g_Boot.m_bNoLauncher, 1);
  cBootData saved;
  ASSERT_EQ(saved.LoadFile("user_data\\Boot.dat"), 1);
  EXPECT_EQ(saved.m_nRenderer, 0);
  EXPECT_EQ(saved.m_bNoLauncher, 1);

  // First use shows Direct3D chosen and the box unticked, under the
  // project's title, over the main window.
  ASSERT_EQ(dialogs.m_Shown.size(), 1u);
  const platform::DialogRequest& shown = dialogs.m_Shown[0];
  EXPECT_EQ(shown.title, "冒険ゲーム");
  EXPECT_EQ(shown.x, 233);
  EXPECT_EQ(shown.y, 204);
  EXPECT_EQ(shown.items.checks.at(IDC_LAUNCHER_DIRECT3D), 1);
  EXPECT_EQ(shown.items.checks.at(IDC_LAUNCHER_DIRECTDRAW), 0);
  EXPECT_EQ(shown.items.checks.at(IDC_LAUNCHER_NO_LAUNCHER), 0);
}

TEST_F(LauncherTest, CancelAndTheCloseBoxGiveZeroAndChangeNothing) {
  for (const char* answer : {"launcher cancel renderer=0 hide=1", "launcher close", ""}) {
    SCOPED_TRACE(answer);
    ScopedDialogScript script(answer);
    cLauncherDialog launcher(100, 100);
    EXPECT_EQ(launcher.DoModal(), 0);
    EXPECT_EQ(g_Boot.m_nRenderer, 1);
    EXPECT_EQ(g_Boot.m_bNoLauncher, 0);
    EXPECT_FALSE(fs::exists(m_Folder / "user_data" / "Boot.dat"));
  }
}

TEST_F(LauncherTest, StartUpAsksOnlyWhenSystemIniSaysSoAndNotToldOtherwise) {
  struct Case {
    const char* name;
    int direct3D;
    const char* script;
    int result;
    int direct3DAfter;
    std::size_t answersLeft;
  };
  const Case cases[] = {
      {"Direct3D chosen in System.ini", 1, "launcher start renderer=0", 1, 1, 1},
      {"DirectDraw chosen in System.ini", 0, "launcher start renderer=1", 1, 0, 1},
      {"launcher chooses DirectDraw", 2, "launcher start renderer=0 hide=1", 1, 0, 0},
      {"told not to ask: the stored DirectDraw without asking", 2, "launcher start renderer=1", 1, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedDialogScript script(c.script);
    SYSTEMINIDATA ini;
    ini.nDirect3D = c.direct3D;
    EXPECT_EQ(ChooseRendererAtStartup(ini, 100, 100), c.result);
    EXPECT_EQ(ini.nDirect3D, c.direct3DAfter);
    EXPECT_EQ(script.PendingAnswers(), c.answersLeft);
  }
}

TEST_F(LauncherTest, CancelAtStartUpEndsTheProgram) {
  ScopedDialogScript script("launcher cancel");
  SYSTEMINIDATA ini;
  ini.nDirect3D = 2;
  EXPECT_EQ(ChooseRendererAtStartup(ini, 100, 100), 0);
  EXPECT_TRUE(m_Boxes.Shown().empty());
}

struct NameCase {
  const char* name;
  std::string before;
  std::string typed;  // UTF-8, typed one character at a time
  std::string after;  // CP932
};

const NameCase kNameCases[] = {
    {"ThreeLetters", "OLD", "ABC", "ABC"},
    {"FourthLetterIsCutOff", "OLD", "ABCD", "ABC"},
    {"ThreeDoubleByteCharactersFillSixBytes", "", Utf8(u8"表示ソア"), "表示ソ"},
    {"HalfWidthKatakanaCountsOneByteEach", "", Utf8(u8"ｱｲｳｴ"), "ｱｲｳ"},
    {"MixedWidths", "", Utf8(u8"A表B示"), "A表B"},
    {"TextWithoutACp932FormIsRefused", "", Utf8(u8"a\U0001F600b\u00E9c"), "abc"},
    {"NothingTyped", "OLD", "", ""},
};

class NameEntryTest : public testing::TestWithParam<NameCase> {};

TEST_P(NameEntryTest, OkStoresWhatTheEditKept) {
  const NameCase& c = GetParam();
  ScopedDialogScript script("name " + c.typed + "\n");
  std::string name = c.before;
  cNameEntryDialog dialog(&name, true, 100, 100);
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_EQ(name, c.after);
}

INSTANTIATE_TEST_SUITE_P(Typing, NameEntryTest, testing::ValuesIn(kNameCases),
                         [](const testing::TestParamInfo<NameCase>& info) { return info.param.name; });

TEST(NameEntry, ClosingStoresNothing) {
  ScopedDialogScript script("name close\n");
  std::string name = "OLD";
  cNameEntryDialog dialog(&name, true, 100, 100);
  EXPECT_EQ(dialog.DoModal(), 0);
  EXPECT_EQ(name, "OLD");
}

TEST(NameEntry, ShowsTheNameCutToItsLimitsSelectedAtItsPlace) {
  for (const bool windowed : {true, false}) {
    PeekingDialogs dialogs("name close");
    std::string name = "長すぎる名前";
    cNameEntryDialog dialog(&name, windowed, 100, 50);
    dialog.DoModal();
    ASSERT_EQ(dialogs.m_Shown.size(), 1u);
    EXPECT_EQ(dialogs.m_Shown[0].items.texts.at(IDC_NAME_EDIT), "長すぎ");
    EXPECT_EQ(dialogs.m_Shown[0].x, windowed ? 340 : 240);
    EXPECT_EQ(dialogs.m_Shown[0].y, windowed ? 270 : 220);
    EXPECT_EQ(name, "長すぎる名前");
  }
}

TEST(NameEntry, TheOptionsNameWhenStartedFromTheOptionsItemElseTheStagesName) {
  std::string stageName;
  EXPECT_EQ(NameEntryTarget(TITLE_OPTION, &stageName), &g_OptionData.m_strName);
  EXPECT_EQ(NameEntryTarget(TITLE_OPTION, nullptr), &g_OptionData.m_strName);
  EXPECT_EQ(NameEntryTarget(0, &stageName), &stageName);
  EXPECT_EQ(NameEntryTarget(0, nullptr), nullptr);

  // Bound to nothing: the edit still limits, OK stores nothing.
  ScopedDialogScript script("name ABCD");
  cNameEntryDialog dialog(nullptr, true, 100, 100);
  EXPECT_EQ(dialog.DoModal(), 1);
}

}  // namespace
