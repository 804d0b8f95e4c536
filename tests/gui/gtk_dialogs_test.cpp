// The GTK dialogs beside the game's SDL window, under Xvfb: each dialog is
// answered with synthetic X input (xdotool), its result checked, and the
// game window must go on presenting frames while the dialog runs, and have
// the keyboard again, with no key held, afterwards.
#include <gtk/gtk.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "base/close_request.h"
#include "base/requests.h"
#include "model/settings/system_data.h"
#include "model/user/options.h"
#include "platform/dialogs.h"
#include "platform/gtk_dialogs.h"
#include "platform/keyboard.h"
#include "platform/main_thread.h"
#include "platform/message_box.h"
#include "platform/sdl_window.h"
#include "shell/dialog.h"
#include "shell/file_dialogs.h"
#include "shell/launcher_dialog.h"
#include "shell/main_window.h"
#include "shell/name_entry_dialog.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

using namespace std::chrono_literals;

namespace fs = std::filesystem;

namespace {

platform::SdlWindow g_Window;

void Xdotool(const std::string& arguments) {
  const std::string command = "xdotool " + arguments;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// The mapped dialog; with keyboard only the one that has the keyboard.
GtkWindow* ShownDialog(bool keyboard) {
  GList* windows = gtk_window_list_toplevels();
  GtkWindow* dialog = nullptr;
  for (GList* w = windows; w != nullptr; w = w->next)
    if (GTK_IS_DIALOG(w->data) && gtk_widget_get_mapped(GTK_WIDGET(w->data)) &&
        (!keyboard || gtk_window_has_toplevel_focus(GTK_WINDOW(w->data))))
      dialog = GTK_WINDOW(w->data);
  g_list_free(windows);
  return dialog;
}

// Runs the steps once the dialog that opens next has the keyboard. A dialog
// that never gets it fails the test and is closed, so that nothing hangs.
void WhenDialogShows(std::function<void(GtkWindow*)> steps) {
  struct Pending {
    std::function<void(GtkWindow*)> steps;
    int tries = 0;
  };
  g_timeout_add(50, +[](gpointer data) -> gboolean {
    auto* pending = static_cast<Pending*>(data);
    GtkWindow* dialog = ShownDialog(true);
    if (dialog == nullptr && ++pending->tries < 200) return G_SOURCE_CONTINUE;
    if (dialog != nullptr) {
      pending->steps(dialog);
    } else {
      ADD_FAILURE() << "no dialog got the keyboard";
      if (GtkWindow* shown = ShownDialog(false)) gtk_dialog_response(GTK_DIALOG(shown), GTK_RESPONSE_DELETE_EVENT);
    }
    delete pending;
    return G_SOURCE_REMOVE;
  }, new Pending{std::move(steps)});
}

// The first widget below parent whose label reads text (UTF-8).
GtkWidget* FindByLabel(GtkWidget* parent, const std::string& text) {
  if (GTK_IS_BUTTON(parent)) {
    const char* label = gtk_button_get_label(GTK_BUTTON(parent));
    if (label != nullptr && text == label) return parent;
  }
  if (!GTK_IS_CONTAINER(parent)) return nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(parent));
  GtkWidget* found = nullptr;
  for (GList* c = children; c != nullptr && found == nullptr; c = c->next) found = FindByLabel(GTK_WIDGET(c->data), text);
  g_list_free(children);
  return found;
}

void Click(GtkWindow* dialog, const std::string& label) {
  GtkWidget* widget = FindByLabel(GTK_WIDGET(dialog), label);
  ASSERT_NE(widget, nullptr) << label;
  int x = 0, y = 0;
  gdk_window_get_origin(gtk_widget_get_window(widget), &x, &y);
  GtkAllocation box;
  gtk_widget_get_allocation(widget, &box);
  Xdotool("mousemove --sync " + std::to_string(x + box.x + 8) + " " + std::to_string(y + box.y + box.height / 2) +
          " click 1");
}

// Runs steps on the main thread after ms milliseconds, inside the dialog's
// loop.
void After(int ms, std::function<void()> steps) {
  g_timeout_add(ms, +[](gpointer data) -> gboolean {
    auto* pending = static_cast<std::function<void()>*>(data);
    (*pending)();
    delete pending;
    return G_SOURCE_REMOVE;
  }, new std::function<void()>(std::move(steps)));
}

// Serves the game window's events until done() or two seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
  for (int turn = 0; turn < 200; ++turn) {
    if (done()) return true;
    g_Window.WaitAndDeliver(g_hWnd.load(), 10ms);
    platform::RunMainThreadTasks();
  }
  return done();
}

bool Held(int vk) { return (platform::GetAsyncKeyState(vk) & 0x8000) != 0; }

class GtkDialogsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(platform::StartGtkDialogs(nullptr)) << "no display";
    setenv("SDL_VIDEODRIVER", "x11", 1);
    platform::ClaimMainThread();
    std::string error;
    ASSERT_TRUE(g_Window.Open({"game", false}, error)) << error;
    // A new frame whenever one is asked for: the game keeps drawing.
    g_Window.SetFrameSource([](std::uint64_t shown, platform::PresentedFrame& frame) {
      frame.width = 640;
      frame.height = 480;
      frame.pixels.assign(640 * 480, 0xFF000000u | static_cast<std::uint32_t>(shown * 0x010203u));
      frame.sequence = shown + 1;
      return true;
    });
    g_MainWindow.Create();
    SDL_SetWindowInputFocus(g_Window.Native());
    ASSERT_TRUE(PumpUntil([] { return g_bActive.load() == 1; })) << "the game window has no focus";
  }
  static void TearDownTestSuite() {
    if (platform::IsWindow(g_hWnd.load())) platform::DestroyWindowHandle(g_hWnd.exchange(nullptr));
    g_Window.Close();
    platform::ReleaseMainThread();
    platform::ReleaseAllKeys();
  }

  // After a dialog: the game window has the keyboard, is active, no key is
  // held, and a key typed reaches the key table.
  void ExpectGameWindowHasTheKeys() {
    ASSERT_TRUE(PumpUntil([] { return SDL_GetKeyboardFocus() == g_Window.Native(); })) << "no focus";
    EXPECT_EQ(g_bActive.load(), 1);
    for (const int vk : {int{'X'}, int{'Z'}, 0x0D, 0x1B}) EXPECT_FALSE(Held(vk)) << vk;
    Xdotool("keydown z");
    EXPECT_TRUE(PumpUntil([] { return Held('Z'); })) << "the game window does not get the keys";
    Xdotool("keyup z");
    EXPECT_TRUE(PumpUntil([] { return !Held('Z'); }));
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
};

TEST_F(GtkDialogsTest, NameEntryKeepsThreeCharacters) {
  WhenDialogShows([](GtkWindow*) { Xdotool("type --delay 30 ABCD"); Xdotool("key Return"); });
  std::string name = "OLD";
  cNameEntryDialog dialog(&name, true, 100, 100);
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_EQ(name, "ABC");
  ExpectGameWindowHasTheKeys();
}

TEST_F(GtkDialogsTest, NameEntryClosedWithEscapeStoresNothing) {
  WhenDialogShows([](GtkWindow*) { Xdotool("type XY"); Xdotool("key Escape"); });
  std::string name = "OLD";
  cNameEntryDialog dialog(&name, true, 100, 100);
  EXPECT_EQ(dialog.DoModal(), 0);
  EXPECT_EQ(name, "OLD");
  ExpectGameWindowHasTheKeys();
}

TEST_F(GtkDialogsTest, LauncherStoresTheClickedChoice) {
  fs::create_directory("user_data");
  g_Boot = cBootData();
  WhenDialogShows([](GtkWindow* dialog) {
    Click(dialog, "DirectDraw");
    Click(dialog, Utf8(u8"次回からこのダイアログを表示しない"));
    Click(dialog, Utf8(u8"ゲーム開始"));
  });
  cLauncherDialog launcher(100, 100);
  EXPECT_EQ(launcher.DoModal(), 1);
  EXPECT_EQ(g_Boot.m_nRenderer, 0);
  EXPECT_EQ(g_Boot.m_bNoLauncher, 1);
  EXPECT_TRUE(fs::exists("user_data/Boot.dat"));
  g_Boot = cBootData();
  ExpectGameWindowHasTheKeys();
}

TEST_F(GtkDialogsTest, SaveChooserAppendsTheExtension) {
  fs::create_directories("user_data/rpl4");
  WhenDialogShows([](GtkWindow*) {
    Xdotool("key ctrl+a");
    Xdotool("type --delay 20 mine");
    Xdotool("key Return");
  });
  std::string path = "stage_00.rpl4_566";
  const std::string filter = std::string("ReplayFile ( *.rpl4_566 )") + '\0' + "*.rpl4_566" + '\0';
  EXPECT_EQ(SaveFileDialog(path, "user_data\\rpl4\\", "保存先のファイル選択", filter.c_str(), "rpl4_566", 1), 1);
  EXPECT_EQ(path, ".\\user_data\\rpl4\\mine.rpl4_566");
  ExpectGameWindowHasTheKeys();
}

TEST_F(GtkDialogsTest, OpenChooserGivesTheTypedFile) {
  fs::create_directories("data/stg4");
  WriteTextFile("data/stg4/one.stg4_001", "stage");
  const std::string file = fs::absolute("data/stg4/one.stg4_001").string();
  WhenDialogShows([file](GtkWindow*) {
    Xdotool("key ctrl+l");
    Xdotool("type --delay 20 '" + file + "'");
    Xdotool("key Return");
  });
  std::string path;
  const std::string filter = std::string("StageFile ( *.stg4_*;*.rpl4_* )") + '\0' + "*.stg4_*;*.rpl4_*" + '\0';
  EXPECT_EQ(OpenFileDialog(path, "data\\stg4\\", "ステージファイルの選択", filter.c_str(), "stg4_*;rpl4_*"), 1);
  std::string expected;
  ASSERT_TRUE(ToProgramPath(file, expected));
  EXPECT_EQ(path, expected);
  ExpectGameWindowHasTheKeys();
}

TEST_F(GtkDialogsTest, MessageBoxesAnswerYesAndClosedMeansNo) {
  WhenDialogShows([](GtkWindow*) { Xdotool("key Return"); });
  EXPECT_EQ(platform::MessageBoxA("上書きしますか？", "確認", platform::MB_YESNO), platform::IDYES);
  ExpectGameWindowHasTheKeys();
  WhenDialogShows([](GtkWindow*) { Xdotool("key Escape"); });
  EXPECT_EQ(platform::MessageBoxA("上書きしますか？", "確認", platform::MB_YESNO), platform::IDNO);
  ExpectGameWindowHasTheKeys();
}

// The dialog's timer keeps the game window presenting; a key held in the
// game window and let go while the dialog has the keyboard is up afterwards.
TEST_F(GtkDialogsTest, TheGameWindowPresentsDuringADialogAndKeepsNoKeyLetGoThere) {
  Xdotool("keydown x");
  ASSERT_TRUE(PumpUntil([] { return Held('X'); }));
  std::uint64_t shownWhenOpened = 0;
  std::uint64_t shownLater = 0;
  WhenDialogShows([&](GtkWindow*) {
    shownWhenOpened = g_Window.ShownSequence();
    Xdotool("keyup x");
    After(300, [&] {
      shownLater = g_Window.ShownSequence();
      Xdotool("type AB");
      Xdotool("key Return");
    });
  });
  std::string name;
  cNameEntryDialog dialog(&name, true, 100, 100);
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_EQ(name, "AB");
  EXPECT_GE(shownLater, shownWhenOpened + 5) << "no frames shown while the dialog ran";
  ExpectGameWindowHasTheKeys();
}

TEST_F(GtkDialogsTest, ABoxAskedForByTheGameThreadIsShownOnTheMainThread) {
  WhenDialogShows([](GtkWindow*) { Xdotool("key Return"); });
  std::atomic<int> answer{0};
  std::thread game([&] { answer = platform::MessageBoxA("上書きしますか？", "確認", platform::MB_YESNO); });
  EXPECT_TRUE(PumpUntil([&] { return answer.load() != 0; }));
  game.join();
  EXPECT_EQ(answer.load(), platform::IDYES);
  ExpectGameWindowHasTheKeys();
}

}  // namespace
