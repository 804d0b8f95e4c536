// Dialogs over the game screen. In full screen the graphics layer hands the
// screen to the desktop while a dialog runs and takes it back afterwards
// (DDSetGDIMode); in a window nothing changes. The request that runs a
// dialog makes the switch on the thread that serves it, while the game
// thread waits for the answer.
#pragma once

#include <functional>

// dialog() between dialog mode on and off; its answer.
int RunInDialogMode(const std::function<int()>& dialog);
