// The thread object: results, cooperative stop, restart, waiting from
// several threads, and procedures that fail.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "base/close_request.h"
#include "base/report.h"
#include "base/thread.h"
#include "support/temp_folder.h"

using namespace std::chrono_literals;

namespace {

// Waits until a stop is asked for; returns 1.
int WaitForStop(cThread& self) {
  while (self.WaitFor(10s)) {
  }
  return 1;
}

TEST(ThreadTest, JoinGivesTheResultAndTheObjectCanRunAgain) {
  cThread thread;
  EXPECT_EQ(thread.Join(), 0);  // nothing ran yet
  ASSERT_TRUE(thread.Start([](cThread&) { return 7; }));
  EXPECT_EQ(thread.Join(), 7);
  EXPECT_FALSE(thread.IsRunning());
  ASSERT_TRUE(thread.Start([](cThread&) { return 8; }));
  EXPECT_EQ(thread.Join(), 8);
}

// The object runs from Start until a Join or Exit has waited for it, also
// after its procedure has returned: the main window's close tests this.
TEST(ThreadTest, RunsUntilWaitedFor) {
  cThread thread;
  EXPECT_FALSE(thread.IsRunning());
  ASSERT_TRUE(thread.Start([](cThread&) { return 3; }));
  ASSERT_TRUE(thread.WaitForEnd(10s));
  EXPECT_TRUE(thread.IsRunning());
  thread.Exit();
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(thread.Join(), 3);
}

TEST(ThreadTest, ExitWakesAWaitingProcedure) {
  cThread thread;
  std::atomic<bool> sawStop{false};
  ASSERT_TRUE(thread.Start([&](cThread& self) {
    WaitForStop(self);
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

// One thread waits in Join while others stop the same object, as when the
// main window closes while the game thread waits for a pause loop.
TEST(ThreadTest, JoinAndExitFromSeveralThreadsAtOnce) {
  for (int round = 0; round < 20; ++round) {
    cThread thread;
    ASSERT_TRUE(thread.Start(WaitForStop));
    std::vector<std::thread> waiters;
    std::atomic<int> results{0};
    for (int i = 0; i < 3; ++i) waiters.emplace_back([&] { results += thread.Join(); });
    for (int i = 0; i < 2; ++i) waiters.emplace_back([&] { thread.Exit(); });
    for (auto& waiter : waiters) waiter.join();
    EXPECT_EQ(results, 3);
    EXPECT_FALSE(thread.IsRunning());
  }
}

TEST(ThreadTest, AProcedureMayStopItsOwnObject) {
  cThread thread;
  ASSERT_TRUE(thread.Start([](cThread& self) {
    const bool refused = !self.Start([](cThread&) { return 0; });
    self.Exit();  // does not wait for itself
    return refused && self.Join() == 0 && self.StopRequested() ? 5 : -1;
  }));
  EXPECT_EQ(thread.Join(), 5);
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

class ThreadReportTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetCloseRequests();
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
  }
  // No log file: the next test starts its own log anew.
  void TearDown() override { SetErrorLog(0, ""); }
  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
};

// An exception that leaves a procedure (an empty vector behind a checked
// access) is reported and closes the program in order instead of ending the
// process.
TEST_F(ThreadReportTest, AnExceptionInAProcedureStopsTheProgramInOrder) {
  cThread thread;
  ASSERT_TRUE(thread.Start([](cThread&) -> int { throw std::out_of_range("invalid vector<T> subscript"); }));
  EXPECT_EQ(thread.Join(), 0);
  EXPECT_EQ(CloseRequestCount(), 1);
  EXPECT_EQ(ReadTextFile(m_Folder / "Report_Game.txt"), "invalid vector<T> subscript\n");
}

TEST_F(ThreadReportTest, ExitWritesItsStepsToTheErrorLog) {
  SetErrorLog(1, "EC_Game.txt");
  cThread thread;
  thread.Exit();  // nothing runs: nothing is written
  EXPECT_FALSE(std::filesystem::exists(m_Folder / "EC_Game.txt"));
  ASSERT_TRUE(thread.Start(WaitForStop));
  thread.Exit();
  EXPECT_EQ(ReadTextFile(m_Folder / "EC_Game.txt"), "Exit A\nExit B\nExit C\nExit D\nExit E\n");
}

}  // namespace

namespace {

// Polls its queue as GameLoop does: ends on WM_QUIT.
int PollUntilQuit(cThread&) {
  platform::MSG msg;
  for (;;) {
    while (platform::PeekMessage(&msg, platform::PM_REMOVE)) {
      if (msg.message == platform::WM_QUIT) return 1;
    }
    platform::WaitMessage(1ms);
  }
}

// Exit ends both kinds of thread: one that polls its queue and one that
// only waits for its stop.
TEST(ThreadQueueTest, ExitEndsAThreadThatPollsItsQueueAndOneThatDoesNot) {
  for (const auto& procedure : {cThread::Procedure(PollUntilQuit), cThread::Procedure(WaitForStop)}) {
    cThread thread;
    ASSERT_TRUE(thread.Start(procedure));
    EXPECT_NE(thread.ThreadId(), 0u);
    thread.Exit();
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.Join(), 1);
  }
}

TEST(ThreadQueueTest, PostsReachTheNewThreadAtOnceAndFailAfterItEnded) {
  cThread thread;
  std::atomic<platform::WPARAM> got{0};
  ASSERT_TRUE(thread.Start([&](cThread&) {
    platform::MSG msg;
    while (!platform::PeekMessage(&msg, platform::PM_REMOVE)) platform::WaitMessage(10ms);
    got = msg.wParam;
    return 0;
  }));
  EXPECT_TRUE(platform::PostThreadMessage(thread.ThreadId(), platform::WM_APP, 77, 0));
  thread.Join();
  EXPECT_EQ(got, 77u);
  EXPECT_FALSE(platform::PostThreadMessage(thread.ThreadId(), platform::WM_APP, 0, 0));
}

// A suspended thread waits at its next poll; Exit opens the gate so that it
// sees its quit message.
TEST(ThreadQueueTest, ASuspendedThreadStopsPollingAndExitStillEndsIt) {
  cThread thread;
  std::atomic<int> polls{0};
  ASSERT_TRUE(thread.Start([&](cThread&) {
    platform::MSG msg;
    for (;;) {
      if (platform::PeekMessage(&msg, platform::PM_REMOVE) && msg.message == platform::WM_QUIT) return 1;
      ++polls;
      std::this_thread::sleep_for(1ms);
    }
  }));
  while (polls == 0) std::this_thread::yield();
  EXPECT_TRUE(thread.Suspend());
  std::this_thread::sleep_for(20ms);
  const int frozen = polls;
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(polls, frozen);
  thread.Exit();
  EXPECT_EQ(thread.Join(), 1);
  EXPECT_TRUE(thread.Suspend());  // no thread: nothing to do
  EXPECT_TRUE(thread.Resume());
}

}  // namespace

namespace {

// An object that runs on its caller: the starter's Join runs the procedure
// on the starter's thread and queue; meanwhile posts and Exit from another
// thread reach it as they would reach a thread of its own.
TEST(ThreadOnCallerTest, JoinRunsTheProcedureOnTheStartersThreadAndQueue) {
  cThread thread(cThread::RUNS_ON_CALLER);
  const std::thread::id self = std::this_thread::get_id();
  std::thread::id ranOn;
  platform::WPARAM got = 0;
  ASSERT_TRUE(thread.Start([&](cThread&) {
    ranOn = std::this_thread::get_id();
    platform::MSG msg;
    while (platform::PeekMessage(&msg, platform::PM_REMOVE)) got = msg.wParam;
    return 9;
  }));
  EXPECT_TRUE(thread.IsRunning());
  EXPECT_FALSE(thread.Start([](cThread&) { return 0; }));
  EXPECT_EQ(thread.ThreadId(), platform::GetCurrentThreadId());
  EXPECT_TRUE(platform::PostThreadMessage(thread.ThreadId(), platform::WM_APP, 42, 0));
  EXPECT_EQ(thread.Join(), 9);
  EXPECT_EQ(ranOn, self);
  EXPECT_EQ(got, 42u);
  EXPECT_FALSE(thread.IsRunning());
  // The queue is the starter's own: it outlives the run.
  EXPECT_TRUE(platform::PostThreadMessage(platform::GetCurrentThreadId(), platform::WM_APP, 0, 0));
  platform::MSG msg;
  while (platform::PeekMessage(&msg, platform::PM_REMOVE)) {
  }
}

TEST(ThreadOnCallerTest, ExitFromAnotherThreadEndsTheRunAndWaitsForIt) {
  cThread thread(cThread::RUNS_ON_CALLER);
  std::atomic<bool> inside{false};
  ASSERT_TRUE(thread.Start([&](cThread& self) {
    inside = true;
    return PollUntilQuit(self);
  }));
  std::thread stopper([&] {
    while (!inside) std::this_thread::sleep_for(1ms);
    thread.Exit();
    EXPECT_FALSE(thread.IsRunning());
  });
  EXPECT_EQ(thread.Join(), 1);
  stopper.join();
  EXPECT_TRUE(thread.StopRequested());
}

TEST(ThreadOnCallerTest, ARunThatWasNeverJoinedIsDroppedWithTheObject) {
  bool ran = false;
  {
    cThread thread(cThread::RUNS_ON_CALLER);
    ASSERT_TRUE(thread.Start([&](cThread&) {
      ran = true;
      return 0;
    }));
  }
  EXPECT_FALSE(ran);
  platform::MSG msg;
  while (platform::PeekMessage(&msg, platform::PM_REMOVE)) {
  }
}

}  // namespace
