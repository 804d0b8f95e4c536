#include "platform/gtk_dialogs.h"

#include <gtk/gtk.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>
#include <mutex>
#include <optional>

#include "platform/dialogs.h"
#include "platform/main_thread.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace platform {

namespace {

constexpr std::intptr_t kNotServed = INTPTR_MIN;
constexpr int kNoPosition = -1000;

std::mutex g_TickMutex;
std::function<void()> g_TickHook;

// Dialog units of the templates' 9-point font, in pixels.
int PixelsX(int units) { return units * 3 / 2; }
int PixelsY(int units) { return units * 3 / 2; }

gboolean Tick(gpointer) {
  std::function<void()> hook;
  {
    std::lock_guard lock(g_TickMutex);
    hook = g_TickHook;
  }
  if (hook) hook();
  RunMainThreadTasks();
  return G_SOURCE_CONTINUE;
}

// Runs a dialog's own loop: presented (so that it has the keyboard without a
// window manager), with the game window kept alive underneath.
int RunLoop(GtkWidget* dialog) {
  const guint tick = g_timeout_add(16, Tick, nullptr);
  // gtk_window_present asks with the time of the last input GTK saw, which
  // is older than the game window's own focus request after the previous
  // dialog: the X server would ignore it. Once mapped, ask at the server's time.
  g_signal_connect(dialog, "map-event", G_CALLBACK(+[](GtkWidget* widget, GdkEvent*, gpointer) -> gboolean {
                     gdk_window_focus(gtk_widget_get_window(widget), GDK_CURRENT_TIME);
                     return FALSE;
                   }),
                   nullptr);
  gtk_window_present(GTK_WINDOW(dialog));
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  g_source_remove(tick);
  return response;
}

// The dialog goes, and the game window takes its focus back.
void Close(GtkWidget* dialog) {
  gtk_widget_destroy(dialog);
  while (gtk_events_pending()) gtk_main_iteration();
  RunDialogEndHook();
}

void Place(GtkWindow* window, int x, int y) {
  if (x == kNoPosition || y == kNoPosition) {
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
    return;
  }
  int width = 0, height = 0;
  gtk_window_get_size(window, &width, &height);
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_monitor_at_point(display, x, y);
  if (monitor != nullptr) {
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    ClampToWorkArea(x, y, width, height, {area.x, area.y, area.width, area.height});
  }
  gtk_window_move(window, x, y);
}

// An edit keeps what its limiter accepts: an insertion is refused when its
// result has no CP932 form or the limiter would not keep it.
struct EditItem {
  int id;
  DialogRequest* request;
};

void OnInsertText(GtkEditable* editable, const gchar* text, gint length, gint* position, gpointer data) {
  const auto* item = static_cast<const EditItem*>(data);
  gchar* before = gtk_editable_get_chars(editable, 0, *position);
  gchar* after = gtk_editable_get_chars(editable, *position, -1);
  const std::string candidate = std::string(before) + std::string(text, length < 0 ? std::strlen(text) : length) + after;
  g_free(before);
  g_free(after);
  bool exact = false;
  const std::string cp932 = Utf8ToCp932(candidate, &exact);
  std::string kept = cp932;
  if (exact && item->request->onEditChange) item->request->onEditChange(item->id, kept);
  if (!exact || kept != cp932) {
    gtk_widget_error_bell(GTK_WIDGET(editable));
    g_signal_stop_emission_by_name(editable, "insert-text");
  }
}

void OnButtonClicked(GtkButton* button, gpointer dialog) {
  gtk_dialog_response(GTK_DIALOG(dialog),
                      GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "item-id")));
}

int RunTemplateDialog(DialogRequest& request) {
  const DialogTemplate& form = *request.dialog;
  GtkWidget* dialog = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(dialog), Cp932ToUtf8(request.title).c_str());
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
  gtk_window_set_decorated(GTK_WINDOW(dialog), form.caption);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, PixelsX(form.width), PixelsY(form.height));
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), fixed, TRUE, TRUE, 0);

  std::vector<std::pair<int, GtkWidget*>> toggles;
  std::vector<std::pair<int, GtkWidget*>> edits;
  std::vector<std::unique_ptr<EditItem>> editItems;
  GtkWidget* previousRadio = nullptr;
  GtkWidget* focus = nullptr;
  for (const DialogItem& item : form.items) {
    const std::string text = Cp932ToUtf8(item.text);
    GtkWidget* widget = nullptr;
    switch (item.kind) {
      case DialogItemKind::Bitmap:
        continue;  // the program sets no picture
      case DialogItemKind::Static:
        widget = gtk_label_new(text.c_str());
        gtk_label_set_line_wrap(GTK_LABEL(widget), TRUE);
        gtk_label_set_xalign(GTK_LABEL(widget), 0);
        break;
      case DialogItemKind::GroupBox:
        widget = gtk_frame_new(text.c_str());
        break;
      case DialogItemKind::PushButton:
      case DialogItemKind::DefaultPushButton:
        widget = gtk_button_new_with_label(text.c_str());
        g_object_set_data(G_OBJECT(widget), "item-id", GINT_TO_POINTER(item.id));
        g_signal_connect(widget, "clicked", G_CALLBACK(OnButtonClicked), dialog);
        break;
      case DialogItemKind::RadioButton:
        widget = previousRadio ? gtk_radio_button_new_with_label_from_widget(GTK_RADIO_BUTTON(previousRadio), text.c_str())
                               : gtk_radio_button_new_with_label(nullptr, text.c_str());
        toggles.emplace_back(item.id, widget);
        break;
      case DialogItemKind::CheckBox:
        widget = gtk_check_button_new_with_label(text.c_str());
        toggles.emplace_back(item.id, widget);
        break;
      case DialogItemKind::Edit: {
        widget = gtk_entry_new();
        gtk_entry_set_text(GTK_ENTRY(widget), Cp932ToUtf8(request.items.texts[item.id]).c_str());
        gtk_entry_set_activates_default(GTK_ENTRY(widget), TRUE);
        gtk_entry_set_width_chars(GTK_ENTRY(widget), 1);
        editItems.push_back(std::make_unique<EditItem>(EditItem{item.id, &request}));
        g_signal_connect(widget, "insert-text", G_CALLBACK(OnInsertText), editItems.back().get());
        edits.emplace_back(item.id, widget);
        if (!focus) focus = widget;
        break;
      }
    }
    previousRadio = item.kind == DialogItemKind::RadioButton ? widget : nullptr;
    gtk_widget_set_size_request(widget, PixelsX(item.width), PixelsY(item.height));
    gtk_fixed_put(GTK_FIXED(fixed), widget, PixelsX(item.x), PixelsY(item.y));
    if (item.kind == DialogItemKind::DefaultPushButton) {
      gtk_widget_set_can_default(widget, TRUE);
      gtk_window_set_default(GTK_WINDOW(dialog), widget);
      if (!focus) focus = widget;
    }
  }
  // Radio buttons of one group: the checked one (GTK checks the first itself).
  for (const auto& [id, widget] : toggles)
    if (request.items.checks[id] != 0) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), TRUE);
  for (const auto& [id, widget] : toggles)
    if (request.items.checks[id] == 0 && !GTK_IS_RADIO_BUTTON(widget))
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), FALSE);

  gtk_widget_show_all(dialog);
  Place(GTK_WINDOW(dialog), request.x, request.y);
  if (focus) {
    gtk_widget_grab_focus(focus);
    if (GTK_IS_ENTRY(focus)) gtk_editable_select_region(GTK_EDITABLE(focus), 0, -1);
  }
  const int response = RunLoop(dialog);
  int pressed = 0;
  if (response > 0) {
    pressed = response;
    for (const auto& [id, widget] : toggles)
      request.items.checks[id] = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget)) ? 1 : 0;
    for (const auto& [id, widget] : edits)
      request.items.texts[id] = Utf8ToCp932(gtk_entry_get_text(GTK_ENTRY(widget)));
  }
  Close(dialog);
  return pressed;
}

gboolean MatchFilter(const GtkFileFilterInfo* info, gpointer patterns) {
  return info->display_name != nullptr &&
         MatchesFilePatterns(info->display_name, *static_cast<const std::string*>(patterns));
}

std::optional<std::filesystem::path> RunFileChooser(const FileRequest& request) {
  const GtkFileChooserAction action = request.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN;
  GtkWidget* chooser = gtk_file_chooser_dialog_new(
      Cp932ToUtf8(request.title).c_str(), nullptr, action, "_Cancel", GTK_RESPONSE_CANCEL,
      request.save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
  gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
  gtk_dialog_set_default_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
  GtkFileChooser* files = GTK_FILE_CHOOSER(chooser);
  gtk_file_chooser_set_local_only(files, TRUE);
  // The caller asks before replacing a file, once the default extension is on.
  gtk_file_chooser_set_do_overwrite_confirmation(files, FALSE);
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::absolute(request.folder, error);
  if (!error && std::filesystem::is_directory(folder, error))
    gtk_file_chooser_set_current_folder(files, folder.c_str());
  if (request.save) gtk_file_chooser_set_current_name(files, Cp932ToUtf8(request.proposedName).c_str());
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, Cp932ToUtf8(request.filterName).c_str());
  const std::string patterns = request.patterns;
  gtk_file_filter_add_custom(filter, GTK_FILE_FILTER_DISPLAY_NAME, MatchFilter,
                             const_cast<std::string*>(&patterns), nullptr);
  gtk_file_chooser_add_filter(files, filter);

  std::optional<std::filesystem::path> chosen;
  if (RunLoop(chooser) == GTK_RESPONSE_ACCEPT) {
    if (gchar* name = gtk_file_chooser_get_filename(files)) {
      chosen = std::filesystem::path(name);
      g_free(name);
    }
  }
  Close(chooser);
  return chosen;
}

GtkMessageType MessageType(unsigned type) {
  switch (type & 0xF0) {
    case MB_ICONHAND: return GTK_MESSAGE_ERROR;
    case MB_ICONQUESTION: return GTK_MESSAGE_QUESTION;
    case MB_ICONEXCLAMATION: return GTK_MESSAGE_WARNING;
    case MB_ICONASTERISK: return GTK_MESSAGE_INFO;
    default: return GTK_MESSAGE_OTHER;
  }
}

int RunMessageBox(const std::string& text, const std::string& caption, unsigned type) {
  GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, MessageType(type), GTK_BUTTONS_NONE, "%s",
                                          Cp932ToUtf8(text).c_str());
  gtk_window_set_title(GTK_WINDOW(box), Cp932ToUtf8(caption).c_str());
  struct Button {
    const char* label;
    int answer;
  };
  std::vector<Button> buttons;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = {{"_OK", IDOK}, {"_Cancel", IDCANCEL}}; break;
    case MB_ABORTRETRYIGNORE: buttons = {{"_Abort", IDABORT}, {"_Retry", IDRETRY}, {"_Ignore", IDIGNORE}}; break;
    case MB_YESNOCANCEL: buttons = {{"_Yes", IDYES}, {"_No", IDNO}, {"_Cancel", IDCANCEL}}; break;
    case MB_YESNO: buttons = {{"_Yes", IDYES}, {"_No", IDNO}}; break;
    case MB_RETRYCANCEL: buttons = {{"_Retry", IDRETRY}, {"_Cancel", IDCANCEL}}; break;
    default: buttons = {{"_OK", IDOK}}; break;
  }
  for (const Button& button : buttons) gtk_dialog_add_button(GTK_DIALOG(box), button.label, button.answer);
  gtk_dialog_set_default_response(GTK_DIALOG(box), buttons.front().answer);
  const int response = RunLoop(box);
  Close(box);
  return response > 0 ? response : SafeAnswer(type);
}

// GTK on the calling (main) thread, started by the first call; false when
// no display answers.
bool GtkStarted() {
  static const bool started = [] {
    // Numbers are never read through the locale; keep the C locale.
    gtk_disable_setlocale();
    return gtk_init_check(nullptr, nullptr) != FALSE;
  }();
  return started;
}

// Shows everything on the main thread (message boxes get there through
// MessageBoxA), starting GTK there first; without a display the scripted
// backend answers instead. A dialog the main thread no longer serves counts
// as closed.
class GtkDialogs : public DialogBackend, public MessageBoxBackend {
 public:
  int RunDialog(DialogRequest& request) override {
    constexpr std::intptr_t kNoDisplay = kNotServed + 1;
    const std::intptr_t pressed = RunOnMainThread(
        [&] { return GtkStarted() ? static_cast<std::intptr_t>(RunTemplateDialog(request)) : kNoDisplay; },
        kNotServed);
    if (pressed == kNoDisplay) return StartupDialogs().RunDialog(request);
    return pressed == kNotServed ? 0 : static_cast<int>(pressed);
  }

  std::optional<std::filesystem::path> ChooseFile(const FileRequest& request) override {
    std::optional<std::filesystem::path> chosen;
    bool bShown = true;
    RunOnMainThread([&] {
      bShown = GtkStarted();
      if (bShown) chosen = RunFileChooser(request);
      return std::intptr_t{0};
    }, kNotServed);
    return bShown ? chosen : StartupDialogs().ChooseFile(request);
  }

  int Show(const std::string& text, const std::string& caption, unsigned type) override {
    return GtkStarted() ? RunMessageBox(text, caption, type) : StartupDialogs().Show(text, caption, type);
  }
};

void InstallGtk(std::function<void(const std::string& cp932)> report) {
  SetMessageBoxReportLine(std::move(report));
  static GtkDialogs dialogs;
  SetDialogBackend(&dialogs);
  SetMessageBoxBackend(&dialogs);
}

}  // namespace

void SetDialogTickHook(std::function<void()> hook) {
  std::lock_guard lock(g_TickMutex);
  g_TickHook = std::move(hook);
}

}  // namespace platform

namespace platform {

void InstallScriptedDialogs(std::function<void(const std::string& cp932)> report) {
  SetMessageBoxReportLine(std::move(report));
  SetDialogBackend(&StartupDialogs());
  SetMessageBoxBackend(&StartupDialogs());
}

void InstallGtkDialogs(std::function<void(const std::string& cp932)> report) { InstallGtk(std::move(report)); }

bool StartGtkDialogs(std::function<void(const std::string& cp932)> report) {
  if (!GtkStarted()) {
    InstallScriptedDialogs(std::move(report));
    return false;
  }
  InstallGtk(std::move(report));
  return true;
}

}  // namespace platform
