#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/temp_folder.h"
#include "support/utf8.h"

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
  ASSERT_TRUE(first.Acquire());
  platform::InstanceLock second;
  EXPECT_FALSE(second.Acquire());
  first.Release();
  EXPECT_TRUE(second.Acquire());
}

TEST_F(InstanceLockTest, TheLockEndsWithAProcessThatDidNotRelease) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::InstanceLock lock;
    _exit(lock.Acquire() ? 0 : 1);  // ends without Release, as a crash would
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  platform::InstanceLock lock;
  EXPECT_TRUE(lock.Acquire());
}

TEST_F(InstanceLockTest, AFolderThatCannotHoldTheFileRefuses) {
  setenv("XDG_RUNTIME_DIR", (m_Folder / "missing").c_str(), 1);
  platform::InstanceLock lock;
  EXPECT_FALSE(lock.Acquire());
  EXPECT_FALSE(lock.Held());
}

}  // namespace
