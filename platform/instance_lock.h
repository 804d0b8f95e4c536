// One running player per user: a lock on a file of the user's runtime folder
// ($XDG_RUNTIME_DIR, else the temporary folder with the user id in the
// name). The lock goes with the process, so a player that crashed never
// blocks the next start.
#pragma once

#include <string>

namespace platform {

enum class LockState {
  Held,           // this process holds the lock now
  HeldByAnother,  // another player runs
  Unavailable,    // the lock file cannot be made (its folder missing, not writable ...)
};

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock() { Release(); }
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock when no other process holds it. Unavailable: `problem`
  // (when given) says what is wrong, in CP932.
  LockState Acquire(std::string* problem = nullptr);
  void Release();
  bool Held() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

std::string InstanceLockPath();

}  // namespace platform
