#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "model/user/replay.h"
#include "support/byte_builder.h"
#include "support/temp_folder.h"

namespace {

using Frame = std::array<std::int16_t, 2>;

// Scripted input of a play: directions held for a while, buttons tapped.
std::vector<Frame> ScriptedInput(int frames) {
  std::vector<Frame> input;
  for (int i = 0; i < frames; ++i) {
    const auto dir = static_cast<std::int16_t>((i / 37) % 3 == 0 ? 0 : 1 << ((i / 37) % 4));
    const auto button = static_cast<std::int16_t>(i % 23 < 4 ? 1 : (i % 50 == 7 ? 16 : 0));
    input.push_back({dir, button});
  }
  return input;
}

std::vector<Frame> PlayAll(cReplayLog& log, std::size_t limit) {
  std::vector<Frame> played;
  Frame frame{};
  while (played.size() <= limit && log.PlayFrame(frame.data()) == 0) played.push_back(frame);
  return played;
}

cReplayLog Record(const std::vector<Frame>& input) {
  cReplayLog log;
  for (const Frame& frame : input) log.RecordFrame(frame.data());
  return log;
}

class ReplayLogTest : public testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
};

TEST_F(ReplayLogTest, EncodesEachChannelAsItsOwnRuns) {
  cReplayLog log = Record({{0, 0}, {0, 0}, {1, 0}, {1, 16}});
  EXPECT_EQ(log.m_vDirValues, (std::vector<std::int16_t>{0, 1}));
  EXPECT_EQ(log.m_vDirRuns, (std::vector<std::int32_t>{2, 2}));
  EXPECT_EQ(log.m_vButtonValues, (std::vector<std::int16_t>{0, 16}));
  EXPECT_EQ(log.m_vButtonRuns, (std::vector<std::int32_t>{3, 1}));

  const std::vector<Frame> played = PlayAll(log, 10);
  EXPECT_EQ(played, (std::vector<Frame>{{0, 0}, {0, 0}, {1, 0}, {1, 16}}));
  Frame untouched{7, 7};
  EXPECT_EQ(log.PlayFrame(untouched.data()), 1);
  EXPECT_EQ(untouched, (Frame{7, 7}));
}

TEST_F(ReplayLogTest, SteadyInputIsOneRunAndChangingInputOneRunPerFrame) {
  std::vector<Frame> steady(10000, Frame{4, 2});
  cReplayLog log = Record(steady);
  EXPECT_EQ(log.m_vDirRuns, std::vector<std::int32_t>{10000});
  EXPECT_EQ(log.m_vButtonRuns, std::vector<std::int32_t>{10000});

  std::vector<Frame> changing;
  for (int i = 0; i < 300; ++i) changing.push_back({static_cast<std::int16_t>(i % 2), 0});
  cReplayLog alternating = Record(changing);
  EXPECT_EQ(alternating.m_vDirRuns, std::vector<std::int32_t>(300, 1));
  EXPECT_EQ(alternating.m_vButtonRuns, std::vector<std::int32_t>{300});
}

TEST_F(ReplayLogTest, PlaysBackScriptedInputFrameByFrameAlsoAfterSaveAndLoad) {
  const std::vector<Frame> input = ScriptedInput(600);
  cReplayLog log = Record(input);
  log.m_nSeed = 123456;

  std::vector<Frame> played = PlayAll(log, input.size());
  ASSERT_EQ(played.size(), input.size());
  for (std::size_t i = 0; i < input.size(); ++i) ASSERT_EQ(played[i], input[i]) << "frame " << i;

  cReplayLog loaded;
  ASSERT_TRUE(loaded.LoadBytes(log.SaveBytes()));
  EXPECT_EQ(loaded.m_nSeed, 123456);
  EXPECT_EQ(PlayAll(loaded, input.size()), input);

  // A replay repeats: after a rewind the same frames come again.
  loaded.Rewind();
  EXPECT_EQ(PlayAll(loaded, input.size()), input);
}

TEST_F(ReplayLogTest, DamagedStreamsDoNotLoad) {
  struct Case {
    const char* what;
    std::vector<std::int16_t> dirValues;
    std::vector<std::int32_t> dirRuns;
    std::vector<std::int32_t> buttonRuns;
  };
  const Case cases[] = {
      {"run of 0 frames", {1, 2}, {3, 0}, {3}},
      {"negative run", {1, 2}, {-5, 1}, {3}},
      {"more values than runs", {1, 2, 3}, {1, 2}, {3}},
      {"more runs than values", {1}, {1, 2}, {3}},
      {"button runs missing", {1, 2}, {1, 2}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ByteBuilder b;
    b.U32(DATA_VERSION).Ints({99}).Strings({});
    b.U32(static_cast<std::uint32_t>(c.dirValues.size()));
    for (std::int16_t v : c.dirValues) b.I16(v);
    b.U32(1).I16(0);  // one button value
    b.U32(static_cast<std::uint32_t>(c.dirRuns.size()));
    for (std::int32_t r : c.dirRuns) b.I32(r);
    b.U32(static_cast<std::uint32_t>(c.buttonRuns.size()));
    for (std::int32_t r : c.buttonRuns) b.I32(r);

    cReplayLog log = Record({{5, 5}});
    std::string error;
    EXPECT_FALSE(log.LoadBytes(b.Get(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(log.m_vDirValues, std::vector<std::int16_t>{5});
  }
}

TEST_F(ReplayLogTest, PlaybackOfAMalformedLogInMemoryEndsWithoutReadingPastIt) {
  cReplayLog log;
  log.m_vDirValues = {1, 2, 3};
  log.m_vDirRuns = {0, -4};  // shorter than the values, and no run of 1 or more
  log.m_vButtonValues = {9};
  log.m_vButtonRuns = {1000};
  EXPECT_EQ(PlayAll(log, 100), (std::vector<Frame>{{1, 9}, {2, 9}}));
}

TEST_F(ReplayLogTest, ACutLogFailsToLoad) {
  const std::vector<std::uint8_t> whole = Record(ScriptedInput(200)).SaveBytes();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    cReplayLog log;
    ASSERT_FALSE(log.LoadBytes({whole.begin(), whole.begin() + static_cast<long>(size)}))
        << "cut at " << size;
  }
}

TEST(ReplayFileNameTest, TakesTheFirstFreeSuffixAfterTheStageName) {
  TempFolder folder;
  ScopedCurrentFolder enter(folder.path());
  std::filesystem::create_directories("user_data/rpl4");
  EXPECT_EQ(ReplayExtension(), "rpl4_566");
  EXPECT_EQ(ProposeReplayFileName(""), "");
  EXPECT_EQ(ProposeReplayFileName("data\\stg4\\stage.stg4_001"), "stage_00.rpl4_566");
  // The stage key that the progress holds ends with the point.
  EXPECT_EQ(ProposeReplayFileName("data\\stg4\\w01."), "w01_00.rpl4_566");

  WriteTextFile("user_data/rpl4/stage_00.rpl4_566", "");
  WriteTextFile("user_data/rpl4/STAGE_01.RPL4_566", "");  // names match in any case
  EXPECT_EQ(ProposeReplayFileName("data\\stg4\\stage.stg4_001"), "stage_02.rpl4_566");

  for (int i = 0; i <= 8; ++i) {
    for (int j = 0; j <= 8; ++j) {
      const std::string suffix = std::to_string(i) + std::to_string(j);
      WriteTextFile("user_data/rpl4/full_" + suffix + ".rpl4_566", "");
    }
  }
  EXPECT_EQ(ProposeReplayFileName("full.stg4_000"), "full_88.rpl4_566");
}

}  // namespace
