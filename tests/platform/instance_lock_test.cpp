#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/bound_by_file_modes.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace fs = std::filesystem;

namespace {

class InstanceLockTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    if (old) m_Previous = old;
    m_bHadPrevious = old != nullptr;
    setenv("XDG_RUNTIME_DIR", m_Folder.path().c_str(), 1);
  }
  void TearDown() override {
    if (m_bHadPrevious) setenv("XDG_RUNTIME_DIR", m_Previous.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
  }

  TempFolder m_Folder;
  std::string m_Previous;
  bool m_bHadPrevious = false;
};

TEST_F(InstanceLockTest, ASecondInstanceIsRefusedUntilTheFirstEnds) {
  EXPECT_EQ(platform::InstanceLockPath(), m_Folder.path().string() + Utf8(u8"/ゲーム.lock"));
  platform::InstanceLock first;
  ASSERT_EQ(first.Acquire(), platform::LockState::Held);
  platform::InstanceLock second;
  EXPECT_EQ(second.Acquire(), platform::LockState::HeldByAnother);
  first.Release();
  EXPECT_EQ(second.Acquire(), platform::LockState::Held);
}

TEST_F(InstanceLockTest, TheLockEndsWithAProcessThatDidNotRelease) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::InstanceLock lock;
    _exit(lock.Acquire() == platform::LockState::Held ? 0 : 1);  // ends without Release, as a crash would
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  platform::InstanceLock lock;
  EXPECT_EQ(lock.Acquire(), platform::LockState::Held);
}

// A folder that cannot hold the lock file is no other player: the lock is
// unavailable and the problem named.
TEST_F(InstanceLockTest, AFolderThatCannotHoldTheFileIsNamed) {
  std::string problem;
  setenv("XDG_RUNTIME_DIR", (m_Folder / "missing").c_str(), 1);
  platform::InstanceLock lock;
  EXPECT_EQ(lock.Acquire(&problem), platform::LockState::Unavailable);
  EXPECT_FALSE(lock.Held());
  EXPECT_EQ(problem, "フォルダ " + (m_Folder / "missing/").string() + " がありません");

  setenv("XDG_RUNTIME_DIR", m_Folder.path().c_str(), 1);
  fs::permissions(m_Folder.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const int status = RunBoundByFileModes([&] {
    EXPECT_EQ(lock.Acquire(&problem), platform::LockState::Unavailable);
    EXPECT_EQ(problem, "フォルダ " + m_Folder.path().string() + "/ に書き込めません");
    return 0;
  });
  fs::permissions(m_Folder.path(), fs::perms::owner_write, fs::perm_options::add);
  if (status == kNotBound) GTEST_SKIP() << kNotBoundMessage;
  EXPECT_EQ(status, 0);
}

}  // namespace
