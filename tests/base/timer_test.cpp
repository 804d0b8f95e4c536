#include "base/timer.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/clock.h"
#include "support/scoped_virtual_clock.h"

namespace {

class TimerTest : public testing::Test {
 protected:
  void SetUp() override { ResetTimers(); }
  void TearDown() override { ResetTimers(); }
  ScopedVirtualClock m_Clock{1000};
};

// Frames start on ticks 16, 17, 17 ms apart at 60 per second; a frame
// that starts a little late keeps the rhythm, one a whole step late counts
// from where it started (the lost time is not made up).
TEST_F(TimerTest, FramesStartAtTheLimitersTicks) {
  const std::uint32_t workMs[] = {0, 5, 15, 16, 20, 0, 40, 3, 0};
  const std::uint32_t expectedStart[] = {1000, 1016, 1033, 1050, 1066, 1086, 1100, 1140, 1157};
  for (std::size_t frame = 0; frame < std::size(workMs); ++frame) {
    WaitForNextFrame(60);
    EXPECT_EQ(StartTimer(), expectedStart[frame]) << frame;
    m_Clock.Advance(workMs[frame]);
    EXPECT_EQ(GetElapsedTime(), workMs[frame]);
  }
}

// Frames that take no time start exactly fps times a second, each step the
// whole milliseconds below or above 1000 / fps; nothing starts between ticks.
TEST_F(TimerTest, WaitFrameKeepsTheRateOnAverage) {
  for (const unsigned fps : {60u, 30u, 50u, 75u, 1000u, 2000u}) {
    ResetTimers();
    m_Clock.Set(500);
    std::vector<std::uint32_t> starts;
    while (starts.size() <= fps) {
      if (WaitFrame(fps)) {
        starts.push_back(platform::timeGetTime());
      } else {
        m_Clock.Advance(1);
      }
    }
    EXPECT_EQ(starts.back(), 1500u) << fps << ": frame " << fps << " starts a second after the first";
    for (std::size_t i = 1; i < starts.size(); ++i) {
      EXPECT_GE(starts[i] - starts[i - 1], 1000 / fps) << fps << " " << i;
      EXPECT_LE(starts[i] - starts[i - 1], (1000 + fps - 1) / fps) << fps << " " << i;
    }
  }
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(WaitFrame(0));
}

TEST_F(TimerTest, TheClockWrappingPastTwoToThe32CostsNoFrame) {
  m_Clock.Set(0xFFFFFFF0u);
  std::uint32_t previous = 0;
  const std::uint32_t steps[] = {0, 16, 17, 17};
  for (int frame = 0; frame < 4; ++frame) {
    WaitForNextFrame(60);
    const std::uint32_t start = StartTimer();
    if (frame > 0) {
      EXPECT_EQ(start - previous, steps[frame]) << frame;
    }
    previous = start;
    m_Clock.Advance(2);
  }
  EXPECT_EQ(previous, 0xFFFFFFF0u + 50u);  // wrapped: 0x22
}

TEST_F(TimerTest, CountFpsGivesTheFramesOfThePreviousSecond) {
  for (int frame = 0; frame < 100; ++frame) {  // the first second: 100 calls 10 ms apart
    EXPECT_EQ(CountFps(), 0);
    m_Clock.Advance(10);
  }
  EXPECT_EQ(CountFps(), 100);  // 1000 ms after the first call: a new second
  for (int frame = 0; frame < 60; ++frame) {
    m_Clock.Advance(16);
    EXPECT_EQ(CountFps(), 100);
  }
  m_Clock.Advance(50);  // 1010 ms after the second began
  EXPECT_EQ(CountFps(), 60);
}

TEST_F(TimerTest, StepCounterCountsSeconds) {
  EXPECT_EQ(StepCounter(0, 60), 0);
  EXPECT_EQ(StepCounter(2, 60), 1);  // just reset
  for (int call = 1; call <= 180; ++call) {
    EXPECT_EQ(StepCounter(1, 60), call % 60 == 0 ? 1 : 0) << call;
    EXPECT_EQ(StepCounter(2, 60), call % 60 == 0 ? 1 : 0) << call;
  }
  StepCounter(1, 60);
  EXPECT_EQ(StepCounter(0, 60), 0);
  EXPECT_EQ(StepCounter(2, 60), 1);
}

// Periods the stage never passes still end every count: 1 and below
// complete on every call, and a period lowered under the count completes
// at the next call instead of never.
TEST_F(TimerTest, StepCounterEdgePeriods) {
  struct Case {
    int countedBefore;  // calls with period 60 after the reset
    int period;
    int result;
  };
  const Case cases[] = {{0, 1, 1}, {0, 0, 1}, {5, -3, 1}, {50, 30, 1}, {50, 52, 0}, {50, 51, 1}};
  for (const Case& c : cases) {
    StepCounter(0, 60);
    for (int i = 0; i < c.countedBefore; ++i) StepCounter(1, 60);
    EXPECT_EQ(StepCounter(1, c.period), c.result) << c.countedBefore << " " << c.period;
    EXPECT_EQ(StepCounter(2, c.period), c.result) << c.countedBefore << " " << c.period;
  }
}

}  // namespace
