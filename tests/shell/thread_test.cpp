// The thread object: results, cooperative stop, restart.
#include <gtest/gtest.h>

#include <atomic>

#include "shell/thread.h"

using namespace std::chrono_literals;

TEST(ThreadTest, JoinGivesTheResultAndTheObjectCanRunAgain) {
  cThread thread;
  EXPECT_EQ(thread.Join(), 0);  // nothing ran yet
  ASSERT_TRUE(thread.Start([](cThread&) { return 7; }));
  EXPECT_EQ(thread.Join(), 7);
  EXPECT_FALSE(thread.IsRunning());
  ASSERT_TRUE(thread.Start([](cThread&) { return 8; }));
  EXPECT_EQ(thread.Join(), 8);
}

TEST(ThreadTest, ExitWakesAWaitingProcedure) {
  cThread thread;
  std::atomic<bool> sawStop{false};
  ASSERT_TRUE(thread.Start([&](cThread& self) {
    while (self.WaitFor(10s)) {
    }
    sawStop = self.StopRequested();
    return 1;
  }));
  EXPECT_FALSE(thread.WaitForEnd(20ms));
  EXPECT_FALSE(thread.Start([](cThread&) { return 0; }));  // still running
  const auto before = std::chrono::steady_clock::now();
  thread.Exit();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
  EXPECT_TRUE(sawStop);
  EXPECT_FALSE(thread.IsRunning());
}

TEST(ThreadTest, DestructionStopsARunningProcedure) {
  std::atomic<int> ended{0};
  {
    cThread thread;
    thread.Start([&](cThread& self) {
      while (!self.StopRequested()) self.WaitFor(1ms);
      ++ended;
      return 0;
    });
  }
  EXPECT_EQ(ended, 1);
}
