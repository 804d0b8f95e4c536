// The game thread's procedure.
//
// GameLoop polls the thread's own queue: WM_QUIT ends it (result 1), any
// other message is dropped. With the queue empty it runs one frame (the
// installed frame function: the scene manager's frame) while the
// application is active (g_bActive), and otherwise waits a millisecond for a
// message instead of spinning. A frame that returns 0 asks the main window
// to close and ends the loop.
#pragma once

#include <functional>

class cThread;

int GameLoop(cThread& self);
// Installs the frame function; returns the one it replaced. Without one no
// frame runs.
std::function<int()> SetGameFrame(std::function<int()> frame);
