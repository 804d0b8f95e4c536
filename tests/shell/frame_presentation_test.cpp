// Frames presented without a window (a headless run) are counted from the
// frame mailbox, whichever thread posts them.
#include "shell/frame_presentation.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/frame_mailbox.h"
#include "shell/close_request.h"

namespace {

TEST(FramePresentation, EveryPostedFrameCountsAndTheNthClosesTheRunOnce) {
  ResetCloseRequests();
  ResetPresentedFrames();
  platform::FrameMailbox& mailbox = platform::TheFrameMailbox();
  mailbox.Clear();
  RunSettings settings;
  settings.nCloseAfterFrames = 3;
  ConnectFramePresentation(settings, nullptr);
  std::thread game([&] {
    for (int i = 0; i < 4; ++i) mailbox.Post(2, 1, {0xFF000000u, 0xFFFFFFFFu});
  });
  game.join();
  EXPECT_EQ(PresentedFrameCount(), 4);
  EXPECT_EQ(CloseRequestCount(), 1);
  DisconnectFramePresentation();
  mailbox.Post(2, 1, {0xFF000000u, 0xFFFFFFFFu});
  EXPECT_EQ(PresentedFrameCount(), 4);
  mailbox.Clear();
  ResetPresentedFrames();
  ResetCloseRequests();
}

}  // namespace
