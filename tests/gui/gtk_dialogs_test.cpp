// The GTK dialogs beside a real SDL window, under Xvfb: each dialog is
// answered with synthetic X input (xdotool), its result checked, and the
// game window must have the keyboard again afterwards.
#include <SDL.h>
#include <gtk/gtk.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "model/user/options.h"
#include "model/settings/system_data.h"
#include "platform/dialogs.h"
#include "platform/gtk_dialogs.h"
#include "platform/main_thread.h"
#include "platform/message_box.h"
#include "shell/dialog.h"
#include "shell/file_dialogs.h"
#include "shell/launcher_dialog.h"
#include "shell/name_entry_dialog.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace fs = std::filesystem;

namespace {

SDL_Window* g_pWindow = nullptr;

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

class GtkDialogsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(platform::StartGtkDialogs(nullptr)) << "no display";
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    g_pWindow = SDL_CreateWindow("game", 100, 100, 640, 480, SDL_WINDOW_SHOWN);
    ASSERT_NE(g_pWindow, nullptr) << SDL_GetError();
    platform::ClaimMainThread();
    // What the game window does when a dialog ends.
    platform::SetDialogEndHook([] {
      SDL_RaiseWindow(g_pWindow);
      SDL_SetWindowInputFocus(g_pWindow);
    });
    platform::SetDialogTickHook([] { SDL_PumpEvents(); });
  }
  static void TearDownTestSuite() {
    platform::SetDialogEndHook(nullptr);
    platform::SetDialogTickHook(nullptr);
    platform::ReleaseMainThread();
    SDL_DestroyWindow(g_pWindow);
    SDL_Quit();
  }

  // After a dialog: the game window has the keyboard and sees a key typed.
  void ExpectGameWindowHasTheKeys() {
    bool focused = false;
    for (int i = 0; i < 100 && !focused; ++i) {
      SDL_PumpEvents();
      focused = SDL_GetKeyboardFocus() == g_pWindow;
      if (!focused) SDL_Delay(10);
    }
    ASSERT_TRUE(focused);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    Xdotool("key z");
    bool typed = false;
    SDL_Event event;
    for (int i = 0; i < 100 && !typed; ++i) {
      while (SDL_PollEvent(&event))
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_z) typed = true;
      if (!typed) SDL_Delay(10);
    }
    EXPECT_TRUE(typed);
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

}  // namespace
