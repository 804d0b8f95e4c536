#include "shell/frame_presentation.h"

#include <atomic>

#include "platform/frame_mailbox.h"
#include "platform/main_thread.h"
#include "platform/sdl_window.h"

namespace {

// A show is queued on the main thread and not yet run.
std::atomic<bool> g_bShowQueued{false};

}  // namespace

void ConnectFramePresentation(const RunSettings& settings, platform::SdlWindow* window) {
  platform::FrameMailbox& mailbox = platform::TheFrameMailbox();
  if (window) window->SetFrameSource(platform::FramesOf(mailbox));
  g_bShowQueued = false;
  mailbox.SetFrameReadyCallback([settings, window] {
    CountPresentedFrame(settings);
    if (!window || g_bShowQueued.exchange(true)) return;
    platform::PostToMainThread([window] {
      g_bShowQueued = false;
      window->PresentNewest();
    });
  });
}

void DisconnectFramePresentation() { platform::TheFrameMailbox().SetFrameReadyCallback(nullptr); }
