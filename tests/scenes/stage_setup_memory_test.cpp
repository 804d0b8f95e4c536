// A stage whose play map does not fit in memory: every set-up (the entry's,
// a retry's, a replay restart's) says so in its box, asks the program to
// close and stops there; the scene plays no frame on the missing map.
// Once with the allocation made to fail, once with a real oversized map
// in a child process whose address space is limited.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <new>

#include "platform/main_thread.h"
#include "support/play_stage.h"

namespace {

constexpr char kOutOfMemoryText[] = "メモリ不足により、ステージの初期設定に失敗しました！";

// A stage scene whose play map runs out of memory while m_bFail is set.
class FailingMapScene : public cStageScene {
 public:
  void BuildPlayMap() override {
    if (m_bFail) throw std::bad_alloc();
    cStageScene::BuildPlayMap();
  }
  bool m_bFail = false;
};

struct SetUpCase {
  const char* name;
  int bRestore, bFirst;
};

class StageSetUpMemoryTest : public PlayStageTest, public testing::WithParamInterface<SetUpCase> {};

TEST_P(StageSetUpMemoryTest, TheSetUpStopsWithItsBoxAndTheProgramCloses) {
  const SetUpCase& c = GetParam();
  FailingMapScene scene;
  scene.SetStage(0, 1);
  ASSERT_TRUE(m_Window.Device().Boxes().Shown().empty());
  const int closes = m_Window.programCloses;

  scene.m_bFail = true;
  scene.SetStage(c.bRestore, c.bFirst);
  platform::RunMainThreadTasks();
  ASSERT_EQ(m_Window.Device().Boxes().Shown().size(), 1u);
  EXPECT_NE(m_Window.Device().Boxes().Shown()[0].text.find(kOutOfMemoryText), std::string::npos);
  EXPECT_EQ(m_Window.programCloses, closes + 1);
  // Set-up stopped before the hero and the characters: nothing to play.
  EXPECT_TRUE(scene.m_vPlayMap.empty());
  EXPECT_TRUE(scene.m_CharacterList.empty());
  const int state = scene.m_nState;
  for (int frame = 0; frame < 3; ++frame) scene.Frame();
  EXPECT_EQ(scene.m_nState, state);
  EXPECT_EQ(scene.m_nStageFrame, 0);
}

INSTANTIATE_TEST_SUITE_P(EverySetUp, StageSetUpMemoryTest,
                         testing::Values(SetUpCase{"Entry", 0, 1}, SetUpCase{"Retry", 1, 0},
                                         SetUpCase{"ReplayRestart", 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// The largest map the loader admits (8,000 cells a side, about 9.5 GB of
// play map) in a child limited to 2 GB of address space: the box, no crash.
TEST_F(PlayStageTest, AnOversizedStageInALimitedChildFailsInAnOrderlyWay) {
  if (kAddressSanitizer)
    GTEST_SKIP() << "AddressSanitizer ends the process on a failed allocation instead of throwing";
  g_LoadedStage.m_nWidth = g_LoadedStage.m_nHeight = 8000;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlim_t limit = rlim_t{2} << 30;
    const rlimit address{limit, limit};
    if (setrlimit(RLIMIT_AS, &address) != 0) _exit(10);
    cStageScene scene;
    scene.SetStage(0, 1);
    const bool boxed = m_Window.Device().Boxes().Shown().size() == 1 &&
                       m_Window.Device().Boxes().Shown()[0].text.find(kOutOfMemoryText) != std::string::npos;
    _exit(boxed && scene.m_vPlayMap.empty() ? 0 : 11);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child did not end by itself";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
