// One running player per user: a lock on a file of the user's runtime folder
// ($XDG_RUNTIME_DIR, else the temporary folder with the user id in the
// name). The lock goes with the process, so a player that crashed never
// blocks the next start.
#pragma once

#include <string>

namespace platform {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock() { Release(); }
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when this process now holds the lock; false when another holds it
  // (or the lock file cannot be made, which is told on standard error).
  bool Acquire();
  void Release();
  bool Held() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

std::string InstanceLockPath();

}  // namespace platform
