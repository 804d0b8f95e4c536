// Where the frames that the graphics back ends present go.
//
// Every frame posted to the frame mailbox (platform/frame_mailbox.h) counts
// as presented, so that PLAYER_FRAMES closes the run after its Nth frame on
// either back end, headless or not. With a window, the window's frames come
// from the mailbox and each post asks the main thread to show the newest
// one; posts that come faster than the main thread shows them are merged.
// Connect before the game thread starts and disconnect after it ended; the
// window must stay alive in between.
#pragma once

#include "shell/run_settings.h"

namespace platform {
class SdlWindow;
}

void ConnectFramePresentation(const RunSettings& settings, platform::SdlWindow* window);
void DisconnectFramePresentation();
