// Dialogs and message boxes shown with GTK 3, on the main thread.
//
// InstallGtkDialogs makes GTK the dialog and message-box backend, started
// on the main thread when the first dialog or box is shown, so that a run
// that shows none never pays for GTK's start. When it cannot start there
// (no display: gtk_init_check fails), that dialog and every later one go to
// the scripted backend, which answers from PLAYER_DIALOG_SCRIPT or cancels
// and writes every box to standard error and to report. StartGtkDialogs
// does the same but starts GTK at once on the calling thread (the main
// thread), and returns whether GTK shows the dialogs.
//
// Any thread may show a box or a dialog: the work is run on the main thread
// (platform/main_thread.h) while the caller waits. When the main thread no
// longer serves (the program is closing) a box is written as without a
// display and answered as closed; a dialog counts as closed.
//
// While a dialog runs, a timer calls the tick hook (the game window keeps
// presenting its frame and reading its events) and serves tasks queued for
// the main thread; when it ends, the dialog end hook gives the game window
// its focus back (platform/dialogs.h).
#pragma once

#include <functional>
#include <string>

namespace platform {

void InstallGtkDialogs(std::function<void(const std::string& cp932)> report);
bool StartGtkDialogs(std::function<void(const std::string& cp932)> report);

// Installs the scripted backend for dialogs and boxes (headless runs).
void InstallScriptedDialogs(std::function<void(const std::string& cp932)> report);

// Called every 16 ms on the main thread while a GTK dialog or box runs.
void SetDialogTickHook(std::function<void()> hook);

}  // namespace platform
