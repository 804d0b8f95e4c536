#include "platform/clock.h"

#include <gtest/gtest.h>

#include "support/scoped_virtual_clock.h"

namespace {

TEST(Clock, RealSleepWaitsAtLeastTheTimeAsked) {
  const std::uint32_t before = platform::timeGetTime();
  platform::Sleep(30);
  const std::uint32_t slept = platform::timeGetTime() - before;
  EXPECT_GE(slept, 30u);
  EXPECT_LT(slept, 1000u);
}

TEST(Clock, VirtualTimeMovesOnlyWhenAdvancedOrSleptAndWraps) {
  ScopedVirtualClock clock(0xFFFFFFF0u);
  EXPECT_EQ(platform::timeGetTime(), 0xFFFFFFF0u);
  EXPECT_EQ(platform::timeGetTime(), 0xFFFFFFF0u);
  platform::Sleep(10);
  EXPECT_EQ(platform::timeGetTime(), 0xFFFFFFFAu);
  clock.Advance(16);
  EXPECT_EQ(platform::timeGetTime(), 10u);
  EXPECT_EQ(platform::timeGetTime() - 0xFFFFFFF0u, 26u);
}

}  // namespace
