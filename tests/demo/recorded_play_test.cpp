// Each of the demo's stages played from its file with the same scripted
// input (right held, a jump and a shot every 45 frames), its state digest
// taken on every frame from the first, compared with a recording kept in
// tests/goldens/digests/ (tests/support/recorded_digests.h has the format).
// The determinism tests see a play that differs from itself; this test
// sees a play that differs from what it was: any change to how a stage
// plays (movement, hits, shots, scores, time, random draws) shows here.
//
// The recordings were made from plays checked by eye (frames dumped along
// the way) and by numbers (the hero's walk of 3 pixels a frame, the time
// limit counting down once a second). When a change of behaviour is
// meant, re-record in the same commit and give the reason in its message:
//
//   UPDATE_DIGESTS=1 build/debug/tests/demo_tests --gtest_filter='*RecordedDemoPlay*'
//
// then look at the recording's diff (every 60th frame is written out in
// full) to see that only what was meant changed.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "model/settings/system_data.h"
#include "scenes/stage/stage_scene.h"
#include "support/recorded_digests.h"
#include "support/stage_harness.h"
#include "support/temp_folder.h"
#include "tools/make-demo/demo_data.h"
#include "tools/make-demo/demo_images.h"
#include "tools/make-demo/demo_stage_names.h"

namespace {

constexpr int kPlayFrames = 900;

// Right held from the first play frame; every 45 frames a jump held for 12
// frames, and a shot 20 frames after the jump starts.
std::string WalkJumpShootScript() {
  std::string script = "1 RIGHT down\n";
  for (int at = 30; at < kPlayFrames; at += 45) {
    script += std::to_string(at) + " Z down\n" + std::to_string(at + 12) + " Z up\n";
    script += std::to_string(at + 20) + " X down\n" + std::to_string(at + 22) + " X up\n";
  }
  return script;
}

struct RecordedStage {
  const char* name;  // of the recording
  const char* file;
};
void PrintTo(const RecordedStage& stage, std::ostream* out) { *out << stage.name; }

const RecordedStage kStages[] = {
    {"story01", demo::kStoryStageFile},
    {"c01-1", demo::kChallengeStageFile},
    {"c01-2", demo::kChallengePart2File},
    {"free01", demo::kFreeStageFile},
};

class RecordedDemoPlay : public testing::TestWithParam<RecordedStage> {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(demo::WriteDemoImages(m_Folder.path(), error) && demo::WriteDemoData(m_Folder.path(), error)) << error;
  }
  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
};

TEST_P(RecordedDemoPlay, EveryFrameMatchesTheRecording) {
  StageHarness harness;
  ASSERT_TRUE(harness.Started()) << harness.Error();
  g_SystemData.m_bRecordReplay = 0;  // the seed stays: every run draws the same numbers
  ASSERT_TRUE(harness.StartStageFile(GetParam().file));
  // The stage's start, frame by frame, up to its first play frame.
  std::vector<std::string> frames;
  for (int i = 0; i < 400 && !(harness.Stage() && harness.Stage()->m_nState == STAGE_PLAY); ++i) {
    harness.Frame();
    frames.push_back(harness.Digest());
  }
  ASSERT_TRUE(harness.Stage() && harness.Stage()->m_nState == STAGE_PLAY);
  ASSERT_TRUE(harness.SetInput(WalkJumpShootScript()));
  for (int i = 0; i < kPlayFrames; ++i) {
    harness.Frame();
    frames.push_back(harness.Digest());
  }
  EXPECT_TRUE(MatchesRecordedDigests(frames, GetParam().name,
                                     std::string("The demo stage ") + GetParam().file +
                                         " played by tests/demo/recorded_play_test.cpp; re-record with\n"
                                         "UPDATE_DIGESTS=1 build/debug/tests/demo_tests "
                                         "--gtest_filter='*RecordedDemoPlay*'"));
}

INSTANTIATE_TEST_SUITE_P(DemoStages, RecordedDemoPlay, testing::ValuesIn(kStages),
                         [](const testing::TestParamInfo<RecordedStage>& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

}  // namespace
