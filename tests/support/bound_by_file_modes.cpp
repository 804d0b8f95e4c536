#include "support/bound_by_file_modes.h"

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// Gives up the powers to override file modes: now, for good, and for every
// program started afterwards (the bounding set, which root's programs take
// their powers from).
bool GiveUpOverridingFileModes() {
  if (::geteuid() != 0) return true;
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
    if (::prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0) return false;
    const unsigned bit = 1u << (cap % 32);
    __user_cap_data_struct& set = data[cap / 32];
    set.effective &= ~bit;
    set.permitted &= ~bit;
    set.inheritable &= ~bit;
  }
  return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

int RunBoundByFileModes(const std::function<int()>& work) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (!GiveUpOverridingFileModes()) ::_exit(kNotBound);
    const int answer = work();
    std::fflush(nullptr);
    ::_exit(testing::Test::HasFailure() ? 1 : answer);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
