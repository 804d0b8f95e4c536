// Work handed to the main thread: tasks that are waited for, posted tasks,
// window messages, and the stop that releases every waiting thread.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/main_thread.h"
#include "platform/window_messages.h"

using namespace std::chrono_literals;
using namespace platform;

namespace {

// The test's own thread plays the main thread.
class MainThreadTest : public ::testing::Test {
 protected:
  void SetUp() override { ClaimMainThread(); }
  void TearDown() override {
    ReleaseMainThread();
    SetMainThreadWaker(nullptr);
  }

  // Serves tasks until done is set.
  void ServeUntil(const std::atomic<bool>& done) {
    while (!done) {
      WaitForMainThreadTasks(10ms);
      RunMainThreadTasks();
    }
  }
};

TEST_F(MainThreadTest, TasksOfOtherThreadsRunOnTheMainThreadAndAnswerTheirSender) {
  const auto mainId = std::this_thread::get_id();
  std::atomic<bool> done{false};
  std::vector<std::intptr_t> results(4);
  std::vector<std::thread> senders;
  for (int i = 0; i < 4; ++i) {
    senders.emplace_back([&, i] {
      results[i] = RunOnMainThread([&, i]() -> std::intptr_t {
        return std::this_thread::get_id() == mainId ? 100 + i : -1;
      });
    });
  }
  std::thread watcher([&] {
    for (auto& sender : senders) sender.join();
    done = true;
    PostToMainThread([] {});  // wakes the loop
  });
  ServeUntil(done);
  watcher.join();
  EXPECT_EQ(results, (std::vector<std::intptr_t>{100, 101, 102, 103}));
}

TEST_F(MainThreadTest, TheMainThreadRunsItsOwnTasksAtOnce) {
  EXPECT_EQ(RunOnMainThread([] { return std::intptr_t{5}; }), 5);
  EXPECT_EQ(RunMainThreadTasks(), 0);
}

TEST(MainThreadWithoutOwnerTest, EveryCallerRunsItsTaskItself) {
  std::intptr_t result = 0;
  std::thread([&] { result = RunOnMainThread([] { return std::intptr_t{9}; }); }).join();
  EXPECT_EQ(result, 9);
}

TEST_F(MainThreadTest, AnExceptionOfTheTaskReachesTheSender) {
  std::atomic<bool> done{false};
  bool caught = false;
  std::thread sender([&] {
    try {
      RunOnMainThread([]() -> std::intptr_t { throw std::runtime_error("no"); });
    } catch (const std::runtime_error&) {
      caught = true;
    }
    done = true;
    PostToMainThread([] {});
  });
  ServeUntil(done);
  sender.join();
  EXPECT_TRUE(caught);
}

// The main thread stops serving while a sender waits: the sender gets its
// fallback, the task never runs, and later senders are not blocked either.
TEST_F(MainThreadTest, StoppingAnswersWaitingAndLaterTasksWithTheirFallback) {
  std::atomic<bool> ran{false};
  std::atomic<std::intptr_t> first{-1};
  std::thread sender([&] { first = RunOnMainThread([&] { ran = true; return std::intptr_t{1}; }, 7); });
  ASSERT_TRUE(WaitForMainThreadTasks(10s));
  StopMainThreadTasks();
  sender.join();
  EXPECT_EQ(first, 7);
  std::intptr_t later = -1;
  std::thread([&] { later = RunOnMainThread([&] { ran = true; return std::intptr_t{1}; }); }).join();
  EXPECT_EQ(later, 0);
  EXPECT_FALSE(ran);
  EXPECT_EQ(RunMainThreadTasks(), 0);
}

TEST_F(MainThreadTest, TheWakerIsCalledForEveryQueuedTask) {
  std::atomic<int> wakes{0};
  SetMainThreadWaker([&] { ++wakes; });
  std::thread([] { PostToMainThread([] {}); }).join();
  EXPECT_EQ(wakes, 1);
  EXPECT_EQ(RunMainThreadTasks(), 1);
}

TEST_F(MainThreadTest, WindowMessagesReachTheProcedureOnTheMainThread) {
  std::vector<UINT> seen;
  const auto mainId = std::this_thread::get_id();
  HWND window = CreateWindowHandle([&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    EXPECT_EQ(std::this_thread::get_id(), mainId);
    seen.push_back(message);
    return static_cast<LRESULT>(wParam) * 2;
  });
  std::atomic<bool> done{false};
  LRESULT sent = 0;
  std::thread sender([&] {
    EXPECT_TRUE(PostMessage(window, WM_USER + 1, 0, 0));
    sent = SendMessage(window, WM_USER + 2, 21, 0);
    done = true;
    PostToMainThread([] {});
  });
  ServeUntil(done);
  sender.join();
  EXPECT_EQ(sent, 42);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));

  DestroyWindowHandle(window);
  EXPECT_FALSE(PostMessage(window, WM_CLOSE, 0, 0));
  EXPECT_EQ(SendMessage(window, WM_USER, 1, 0), 0);
  EXPECT_FALSE(PostMessage(nullptr, WM_CLOSE, 0, 0));
}

TEST(ThreadMessagesTest, PostsReachTheThreadInOrderAndFailForEndedThreads) {
  const DWORD id = CreateThreadQueue();
  EXPECT_TRUE(PostThreadMessage(id, WM_APP, 1, 0));
  EXPECT_TRUE(PostThreadMessage(id, WM_QUIT, 0, 0));
  std::vector<UINT> got;
  std::thread([&] {
    AttachThreadQueue(id);
    EXPECT_EQ(GetCurrentThreadId(), id);
    MSG msg;
    while (PeekMessage(&msg, PM_REMOVE)) got.push_back(msg.message);
  }).join();
  EXPECT_EQ(got, (std::vector<UINT>{WM_APP, WM_QUIT}));
  DestroyThreadQueue(id);
  EXPECT_FALSE(PostThreadMessage(id, WM_QUIT, 0, 0));
}

TEST(ThreadMessagesTest, AThreadWaitsAtItsShutGateUntilItOpens) {
  const DWORD id = CreateThreadQueue();
  std::atomic<int> polls{0};
  std::atomic<bool> stop{false};
  std::thread worker([&] {
    AttachThreadQueue(id);
    MSG msg;
    while (!stop) {
      PeekMessage(&msg, PM_REMOVE);
      ++polls;
      std::this_thread::sleep_for(1ms);
    }
  });
  while (polls == 0) std::this_thread::yield();
  ASSERT_TRUE(SuspendThreadQueue(id));
  std::this_thread::sleep_for(20ms);  // a poll under way may still finish
  const int frozen = polls;
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(polls, frozen);
  stop = true;
  ASSERT_TRUE(ResumeThreadQueue(id));
  worker.join();
  DestroyThreadQueue(id);
}

TEST(ThreadMessagesTest, PostQuitMessageGoesToTheCallersOwnQueue) {
  MSG msg;
  while (PeekMessage(&msg, PM_REMOVE)) {  // what earlier cases left behind
  }
  PostQuitMessage(3);
  ASSERT_TRUE(PeekMessage(&msg, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(PeekMessage(&msg, PM_REMOVE));
}

}  // namespace
