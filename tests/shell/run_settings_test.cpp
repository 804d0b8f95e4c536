// Run settings from the environment, and the frame limit that closes a run.
#include <gtest/gtest.h>

#include <map>

#include "base/close_request.h"
#include "platform/process_start.h"
#include "shell/run_settings.h"

namespace {

struct SettingsCase {
  const char* name;
  std::map<std::string, std::string> env;
  bool ok;
  bool headless;
  bool virtualClock;
  int frames;
};

class RunSettingsTest : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(RunSettingsTest, ReadsTheEnvironment) {
  const SettingsCase& c = GetParam();
  RunSettings settings;
  const bool ok = ReadRunSettings(settings, [&](const char* name) -> const char* {
    const auto it = c.env.find(name);
    return it == c.env.end() ? nullptr : it->second.c_str();
  });
  EXPECT_EQ(ok, c.ok);
  if (!ok) return;
  EXPECT_EQ(settings.bHeadless, c.headless);
  EXPECT_EQ(settings.bVirtualClock, c.virtualClock);
  EXPECT_EQ(settings.nCloseAfterFrames, c.frames);
}

INSTANTIATE_TEST_SUITE_P(
    Env, RunSettingsTest,
    ::testing::Values(SettingsCase{"Nothing", {}, true, false, false, 0},
                      SettingsCase{"HeadlessVirtualHundredFrames",
                                   {{"PLAYER_HEADLESS", "1"}, {"PLAYER_CLOCK", "virtual"}, {"PLAYER_FRAMES", "100"}},
                                   true, true, true, 100},
                      SettingsCase{"HeadlessZeroIsOff", {{"PLAYER_HEADLESS", "0"}}, true, false, false, 0},
                      SettingsCase{"UnknownClock", {{"PLAYER_CLOCK", "fast"}}, false, false, false, 0},
                      SettingsCase{"FramesNotANumber", {{"PLAYER_FRAMES", "10x"}}, false, false, false, 0},
                      SettingsCase{"FramesZero", {{"PLAYER_FRAMES", "0"}}, false, false, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PresentedFramesTest, TheNthFrameClosesOnce) {
  ResetCloseRequests();
  ResetPresentedFrames();
  RunSettings settings;
  settings.nCloseAfterFrames = 3;
  for (int i = 0; i < 5; ++i) CountPresentedFrame(settings);
  EXPECT_EQ(PresentedFrameCount(), 5);
  EXPECT_EQ(CloseRequestCount(), 1);
}

// The first frame's time counts from the process's start: at least the
// time this test program has run until now, and fixed by the first frame
// shown (in a window only the presenter shows frames).
TEST(PresentedFramesTest, TheFirstFrameIsTimedFromTheProcessStart) {
  ResetPresentedFrames();
  RunSettings settings;
  CountPresentedFrame(settings);
  EXPECT_EQ(FirstFrameMilliseconds(), -1.0) << "not shown yet in a window";
  const double before = platform::MillisecondsSinceProcessStart();
  NoteFrameShown();
  const double first = FirstFrameMilliseconds();
  EXPECT_GE(first, before);
  EXPECT_GT(before, 0.0);
  NoteFrameShown();
  settings.bHeadless = true;
  CountPresentedFrame(settings);
  EXPECT_EQ(FirstFrameMilliseconds(), first);
  ResetPresentedFrames();
}

}  // namespace
