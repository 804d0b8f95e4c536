#include "platform/thread_messages.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

namespace platform {

namespace {

struct Queue {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<MSG> messages;
  bool bGateOpen = true;
};

struct Registry {
  std::mutex mutex;
  std::map<DWORD, std::shared_ptr<Queue>> queues;
  DWORD nLastId = 0;
};

// Never destroyed: thread objects post their quit message from static
// destructors of other files, in an order no one controls.
Registry& TheRegistry() {
  static auto* registry = new Registry;
  return *registry;
}

DWORD AddQueue() {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  const DWORD id = ++registry.nLastId;
  registry.queues.emplace(id, std::make_shared<Queue>());
  return id;
}

std::shared_ptr<Queue> FindQueue(DWORD id) {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  const auto it = registry.queues.find(id);
  return it == registry.queues.end() ? nullptr : it->second;
}

// The calling thread's queue; one made here is dropped when the thread ends.
struct OwnQueue {
  DWORD id = 0;
  bool bMadeHere = false;
  ~OwnQueue() {
    if (bMadeHere) DestroyThreadQueue(id);
  }
};
thread_local OwnQueue t_Own;

std::shared_ptr<Queue> OwnQueueOfCaller() {
  auto queue = FindQueue(GetCurrentThreadId());
  if (!queue) {  // dropped under the thread's feet: start a new one
    t_Own = {};
    queue = FindQueue(GetCurrentThreadId());
  }
  return queue;
}

}  // namespace

DWORD GetCurrentThreadId() {
  if (t_Own.id == 0) {
    t_Own.id = AddQueue();
    t_Own.bMadeHere = true;
  }
  return t_Own.id;
}

DWORD CreateThreadQueue() { return AddQueue(); }

void AttachThreadQueue(DWORD id) {
  if (t_Own.bMadeHere) DestroyThreadQueue(t_Own.id);
  t_Own.id = id;
  t_Own.bMadeHere = false;
}

void DestroyThreadQueue(DWORD id) {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.queues.erase(id);
}

bool PostThreadMessage(DWORD id, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto queue = FindQueue(id);
  if (!queue) return false;
  std::lock_guard lock(queue->mutex);
  queue->messages.push_back({message, wParam, lParam});
  queue->changed.notify_all();
  return true;
}

bool PeekMessage(MSG* msg, UINT remove) {
  const auto queue = OwnQueueOfCaller();
  std::unique_lock lock(queue->mutex);
  queue->changed.wait(lock, [&] { return queue->bGateOpen; });
  if (queue->messages.empty()) return false;
  *msg = queue->messages.front();
  if (remove == PM_REMOVE) queue->messages.pop_front();
  return true;
}

bool WaitMessage(std::chrono::milliseconds timeout) {
  const auto queue = OwnQueueOfCaller();
  std::unique_lock lock(queue->mutex);
  return queue->changed.wait_for(lock, timeout, [&] { return !queue->messages.empty(); });
}

namespace {
bool SetGate(DWORD id, bool bOpen) {
  const auto queue = FindQueue(id);
  if (!queue) return false;
  std::lock_guard lock(queue->mutex);
  queue->bGateOpen = bOpen;
  queue->changed.notify_all();
  return true;
}
}  // namespace

bool SuspendThreadQueue(DWORD id) { return SetGate(id, false); }
bool ResumeThreadQueue(DWORD id) { return SetGate(id, true); }

}  // namespace platform
