#include "platform/main_thread.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

namespace platform {

namespace {

// One task that a thread waits for.
struct Waiting {
  MainThreadTask task;
  std::intptr_t result = 0;
  std::exception_ptr error;
  bool bDone = false;
};

struct QueuedTask {
  std::shared_ptr<Waiting> waiting;  // null for a posted task
  std::function<void()> posted;
  std::intptr_t fallback = 0;
};

std::mutex g_Mutex;
std::condition_variable g_Queued;    // the main thread waits for tasks
std::condition_variable g_Answered;  // the senders wait for their answers
std::deque<QueuedTask> g_Tasks;
std::thread::id g_MainThread;
bool g_bStopped = false;
std::function<void()> g_Wake;

// Answers every queued task with its fallback and drops posted ones; g_Mutex held.
void AnswerAllWithFallback() {
  for (auto& queued : g_Tasks) {
    if (!queued.waiting) continue;
    queued.waiting->result = queued.fallback;
    queued.waiting->bDone = true;
  }
  g_Tasks.clear();
  g_Answered.notify_all();
}

void Wake() {
  std::function<void()> wake;
  {
    std::lock_guard lock(g_Mutex);
    wake = g_Wake;
  }
  if (wake) wake();
}

}  // namespace

void ClaimMainThread() {
  std::lock_guard lock(g_Mutex);
  g_MainThread = std::this_thread::get_id();
  g_bStopped = false;
}

void ReleaseMainThread() {
  std::lock_guard lock(g_Mutex);
  g_MainThread = std::thread::id();
  AnswerAllWithFallback();
}

bool IsMainThread() {
  std::lock_guard lock(g_Mutex);
  return g_MainThread == std::this_thread::get_id();
}

std::intptr_t RunOnMainThread(MainThreadTask task, std::intptr_t fallback) {
  auto waiting = std::make_shared<Waiting>();
  bool bHere;
  {
    std::lock_guard lock(g_Mutex);
    bHere = g_MainThread == std::thread::id() || g_MainThread == std::this_thread::get_id();
    if (!bHere) {
      if (g_bStopped) return fallback;
      waiting->task = std::move(task);
      g_Tasks.push_back({waiting, nullptr, fallback});
      g_Queued.notify_all();
    }
  }
  if (bHere) return task();
  Wake();
  std::unique_lock lock(g_Mutex);
  g_Answered.wait(lock, [&] { return waiting->bDone; });
  if (waiting->error) std::rethrow_exception(waiting->error);
  return waiting->result;
}

void PostToMainThread(std::function<void()> task) {
  {
    std::lock_guard lock(g_Mutex);
    if (g_bStopped) return;
    g_Tasks.push_back({nullptr, std::move(task), 0});
    g_Queued.notify_all();
  }
  Wake();
}

int RunMainThreadTasks() {
  int count = 0;
  // Only the tasks queued so far: a task that queues another one does not
  // keep this call going.
  std::size_t left;
  {
    std::lock_guard lock(g_Mutex);
    left = g_Tasks.size();
  }
  for (; left > 0; --left) {
    QueuedTask queued;
    {
      std::lock_guard lock(g_Mutex);
      if (g_Tasks.empty()) break;
      queued = std::move(g_Tasks.front());
      g_Tasks.pop_front();
    }
    ++count;
    if (!queued.waiting) {
      queued.posted();
      continue;
    }
    std::intptr_t result = 0;
    std::exception_ptr error;
    try {
      result = queued.waiting->task();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard lock(g_Mutex);
    queued.waiting->result = result;
    queued.waiting->error = error;
    queued.waiting->bDone = true;
    g_Answered.notify_all();
  }
  return count;
}

bool WaitForMainThreadTasks(std::chrono::milliseconds timeout) {
  std::unique_lock lock(g_Mutex);
  return g_Queued.wait_for(lock, timeout, [] { return !g_Tasks.empty(); });
}

void SetMainThreadWaker(std::function<void()> wake) {
  std::lock_guard lock(g_Mutex);
  g_Wake = std::move(wake);
}

void StopMainThreadTasks() {
  std::lock_guard lock(g_Mutex);
  g_bStopped = true;
  AnswerAllWithFallback();
}

bool MainThreadTasksStopped() {
  std::lock_guard lock(g_Mutex);
  return g_bStopped;
}

}  // namespace platform
