#include "platform/video/vertical_blank.h"

#include <gtest/gtest.h>

#include "support/scoped_virtual_clock.h"

namespace {

using namespace platform;

TEST(VerticalBlankTest, BlanksFallEverySixtiethOfASecondOnWholeMilliseconds) {
  struct Case {
    std::uint32_t now;
    std::uint32_t nextBlank;
  };
  const Case cases[] = {{0, 17}, {16, 17}, {17, 34}, {33, 34}, {34, 50}, {49, 50}, {50, 67}, {999, 1000}, {1000, 1017}};
  for (const Case& c : cases) EXPECT_EQ(BlankTime(BlankAfter(c.now)), c.nextBlank) << c.now;
  EXPECT_EQ(BlankTime(60), 1000u);
  EXPECT_EQ(BlankTime(6000), 100000u);
}

TEST(VerticalBlankTest, WaitingForTheNextBlankAdvancesTheVirtualClockToIt) {
  ScopedVirtualClock clock(5);
  WaitForNextVerticalBlank();
  EXPECT_EQ(clock.NowMs(), 17u);
  WaitForNextVerticalBlank();  // on a blank: the one after it
  EXPECT_EQ(clock.NowMs(), 34u);
  for (int i = 0; i < 58; ++i) WaitForNextVerticalBlank();
  EXPECT_EQ(clock.NowMs(), 1000u);
}

// Frames queued one after another: each waits until the one before it has
// reached the display, so a late frame costs no refresh unless it is late
// by more than one.
TEST(VerticalBlankTest, TheQueueShowsOneFrameABlankAndHoldsOneAhead) {
  struct Case {
    std::uint32_t workMs;    // drawing time before the frame is queued
    std::uint32_t queuedAt;  // when queueing returns
  };
  const Case cases[] = {
      {0, 0},      // the queue is empty: no wait, shown at 17
      {0, 17},     // waits for the frame before it (blank 17), shown at 34
      {5, 34},     // shown at 50
      {20, 54},    // the frame before was shown at 50: no wait, shown at 67
      {10, 67},    // waits for 67, shown at 84
      {40, 107},   // more than a refresh late: shown at 117, no wait
      {0, 117},    // waits for 117
      {16, 134},   // waits for 134, shown at 150
  };
  ScopedVirtualClock clock(0);
  VerticalBlankQueue queue;
  for (const Case& c : cases) {
    clock.Advance(c.workMs);
    queue.Queue();
    EXPECT_EQ(clock.NowMs(), c.queuedAt) << c.workMs;
  }
}

TEST(VerticalBlankTest, QueuedFramesThatTakeNoTimeRunAtSixtyASecond) {
  ScopedVirtualClock clock(1000);
  VerticalBlankQueue queue;
  for (int frame = 0; frame < 601; ++frame) queue.Queue();
  EXPECT_EQ(clock.NowMs(), 11000u);
}

}  // namespace
