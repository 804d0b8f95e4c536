// Work handed to the main thread.
//
// Only the main thread calls SDL and GTK, and it alone runs the window
// procedure. Any other thread that needs such work done hands it over here:
// RunOnMainThread queues a task and waits until the main thread has run it,
// then returns the task's result (what SendMessage to the main window does);
// PostToMainThread queues a task without waiting (PostMessage). The main
// thread runs the queued tasks in its event loop with RunMainThreadTasks,
// also from inside a nested loop (a dialog's own loop), in the order they
// were queued.
//
// Called on the main thread, RunOnMainThread runs the task at once. While
// no thread has claimed the main thread's part (before start-up, in most
// tests) every caller runs its task at once itself.
//
// Shutting down: after StopMainThreadTasks the main thread serves no other
// thread any more. Every task still waiting and every later one is answered
// with the caller's fallback value without running, and posted tasks are
// dropped, so that no thread stays blocked on a main thread that has gone
// on to end the program. ClaimMainThread serves again.
#pragma once

#include <cstdint>
#include <functional>
#include <thread>

namespace platform {

using MainThreadTask = std::function<std::intptr_t()>;

// The calling thread becomes the main thread; tasks are served (again).
void ClaimMainThread();
// No thread is the main thread any more; tasks still queued are answered
// with their fallback.
void ReleaseMainThread();
bool IsMainThread();

// Runs task on the main thread and returns its result; fallback when the
// main thread no longer serves. An exception that leaves the task is thrown
// again in the caller.
std::intptr_t RunOnMainThread(MainThreadTask task, std::intptr_t fallback = 0);
// Queues task for the main thread without waiting for it.
void PostToMainThread(std::function<void()> task);

// Main thread: runs the tasks queued so far; the number run.
int RunMainThreadTasks();
// Main thread: waits at most timeout until a task is queued; true when one
// is.
bool WaitForMainThreadTasks(std::chrono::milliseconds timeout);
// Called from any thread whenever a task was queued, so that an event loop
// that waits for events of its own (SDL) wakes up; nullptr for none.
void SetMainThreadWaker(std::function<void()> wake);

void StopMainThreadTasks();
bool MainThreadTasksStopped();

}  // namespace platform
