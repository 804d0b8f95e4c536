// Message queues of threads, as PostThreadMessage and PeekMessage offer them.
//
// Every thread has one queue, made on its first use (GetCurrentThreadId), or
// made before the thread starts (CreateThreadQueue) so that a starter can
// post to its new thread at once. A post to an id whose queue is gone fails.
// A queue has a gate: while it is closed (SuspendThreadQueue) its thread
// stops at its next PeekMessage until the gate opens again; that is how a
// thread is suspended without being stopped in the middle of its work.
#pragma once

#include <cstdint>
#include <thread>

namespace platform {

using DWORD = std::uint32_t;
using UINT = unsigned;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;

struct MSG {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// The calling thread's id; its queue exists from now on.
DWORD GetCurrentThreadId();

// A queue for a thread that has not started yet; the thread takes it over
// with AttachThreadQueue before anything else. DestroyThreadQueue drops it
// once the thread has ended.
DWORD CreateThreadQueue();
void AttachThreadQueue(DWORD id);
void DestroyThreadQueue(DWORD id);

// False when no queue has this id.
bool PostThreadMessage(DWORD id, UINT message, WPARAM wParam, LPARAM lParam);

// Takes (PM_REMOVE) or reads the oldest message of the calling thread's
// queue; false when it is empty. Waits first while the queue's gate is shut.
bool PeekMessage(MSG* msg, UINT remove);
// Waits at most timeout for a message in the calling thread's queue (it
// stays there); true when one is there.
bool WaitMessage(std::chrono::milliseconds timeout);

// Shuts and opens the gate of a thread's queue; false when no queue has
// this id.
bool SuspendThreadQueue(DWORD id);
bool ResumeThreadQueue(DWORD id);

}  // namespace platform
