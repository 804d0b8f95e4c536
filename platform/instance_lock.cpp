#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/text.h"

namespace platform {

namespace {
// The program's instance name, as a file name (UTF-8).
std::string InstanceName() { return Cp932ToUtf8("ゲーム"); }
}  // namespace

std::string InstanceLockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/" + InstanceName() + ".lock";
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp && *tmp ? tmp : "/tmp") + "/" + InstanceName() + "-" +
         std::to_string(getuid()) + ".lock";
}

LockState InstanceLock::Acquire(std::string* problem) {
  if (Held()) return LockState::Held;
  const std::string path = InstanceLockPath();
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    const int error = errno;
    if (problem) {
      const std::string folder = Utf8ToCp932(path.substr(0, path.rfind('/') + 1));
      if (error == ENOENT) {
        *problem = "フォルダ " + folder + " がありません";
      } else if (error == EACCES || error == EROFS) {
        *problem = "フォルダ " + folder + " に書き込めません";
      } else {
        *problem = Utf8ToCp932(path) + ": " + std::strerror(error);
      }
    }
    return LockState::Unavailable;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return LockState::HeldByAnother;
  }
  m_fd = fd;
  return LockState::Held;
}

void InstanceLock::Release() {
  if (m_fd < 0) return;
  close(m_fd);  // closing the file releases the lock
  m_fd = -1;
}

}  // namespace platform
