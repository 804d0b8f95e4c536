// The animation sequencer: codes, timing, interruption, and tables that
// would make it step outside a table.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "base/close_request.h"
#include "game/effects/anime_sequencer.h"

namespace {

struct StepCase {
  const char* what;
  std::vector<FrameTable> tables;
  std::vector<int> expected;  // values of the first Steps after Play(0, forced)
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.what; }

std::vector<int> Repeat(int value, int count) { return std::vector<int>(count, value); }

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class SequencerStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(SequencerStepTest, StepsThroughTheTable) {
  const StepCase& c = GetParam();
  ResetCloseRequests();
  cAnimeSequencer seq;
  seq.Assign(c.tables);
  seq.Play(0, true);
  std::vector<int> values;
  for (std::size_t i = 0; i < c.expected.size(); ++i) values.push_back(seq.Step());
  EXPECT_EQ(values, c.expected);
  EXPECT_EQ(CloseRequestCount(), 0) << "no bad index may be reported";
}

const StepCase kStepCases[] = {
    {"loop goes straight to row 0",
     {{{0, 8, 0}, {1, 8, 0}, {ANIME_LOOP, 0, 0}}},
     Concat({Repeat(0, 7), Repeat(1, 8), Repeat(0, 8), Repeat(1, 2)})},
    {"hold shows the last frame for ever", {{{5, 3, 0}, {ANIME_HOLD, 0, 0}}}, Repeat(5, 20)},
    {"hold keeps showing the frame before it",
     {{{1, 1, 0}, {2, 3, 0}, {ANIME_HOLD, 0, 0}}},
     Repeat(2, 12)},
    {"jump plays the named sequence from its first frame in the same step",
     {{{1, 2, 0}, {ANIME_JUMP, 2, 0}}, {{7, 1, 0}, {ANIME_END, 0, 0}}, {{9, 2, 0}, {8, 1, 0}, {ANIME_LOOP, 0, 0}}},
     {1, 9, 9, 8, 9, 9, 8}},
    {"end is returned and stays", {{{3, 2, 0}, {ANIME_END, 0, 0}}}, {3, ANIME_END, ANIME_END, ANIME_END}},
    {"durations 0 and 1 advance on every tick",
     {{{4, 0, 0}, {5, 1, 0}, {6, 0, 0}, {ANIME_END, 0, 0}}},
     {5, 6, ANIME_END, ANIME_END}},
    {"a table that is only an end code", {{{ANIME_END, 0, 0}}}, Repeat(ANIME_END, 3)},
    {"a table that is only a loop code", {{{ANIME_LOOP, 0, 1}}}, Repeat(ANIME_LOOP, 3)},
    {"a table that is only a hold code", {{{ANIME_HOLD, 0, 0}}}, Repeat(ANIME_HOLD, 3)},
    {"a jump as first row does not jump", {{{ANIME_JUMP, 1, 0}}, {{6, 1, 0}, {ANIME_END, 0, 0}}},
     Repeat(ANIME_JUMP, 3)},
    {"a table without a code row holds its last row", {{{1, 1, 0}, {2, 2, 0}}}, {2, 2, 2, 2}},
    // Frame tables of the database may hold negative image numbers: only the
    // row that stepping reaches acts as a code.
    {"a negative value in row 0 is shown for its duration",
     {{{-7, 2, 0}, {3, 1, 0}, {ANIME_END, 0, 0}}},
     {-7, 3, ANIME_END, ANIME_END}},
    {"a code value in the row a loop returns to is shown like a frame",
     {{{ANIME_HOLD, 2, 0}, {4, 1, 0}, {ANIME_LOOP, 0, 0}}},
     {ANIME_HOLD, 4, ANIME_HOLD, ANIME_HOLD, 4}},
    {"an empty table gives 0", {{}}, Repeat(0, 3)},
    {"no tables give 0", {}, Repeat(0, 3)},
};

INSTANTIATE_TEST_SUITE_P(Tables, SequencerStepTest, ::testing::ValuesIn(kStepCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(SequencerTest, BuildTakesEachTableUpToItsFirstCodeAndTheLowestFlagByte) {
  static const int kWalk[][3] = {{0, 2, 0x100}, {1, 2, 0x201}, {ANIME_LOOP, 0, 0}, {99, 9, 9}};
  static const int kHit[][3] = {{ANIME_END, 0, 0}};
  static const int (*const kTables[])[3] = {kWalk, kHit, nullptr};
  cAnimeSequencer seq;
  seq.Build(kTables);
  ASSERT_EQ(seq.SequenceCount(), 2u);
  EXPECT_EQ(seq.Step(), 0);
  EXPECT_EQ(seq.Step(), 1);
  // Row 1's flag byte is 1: an unforced change is refused there.
  EXPECT_EQ(seq.Play(1, false), 0);
  EXPECT_EQ(seq.Step(), 1);
  EXPECT_EQ(seq.Step(), 0);  // the loop; row 3 of the source was never taken
  // Row 0's flag byte is 0 (0x100): an unforced change is taken.
  EXPECT_EQ(seq.Play(1, false), 1);
  EXPECT_EQ(seq.Step(), ANIME_END);

  seq.Build(nullptr);
  EXPECT_EQ(seq.SequenceCount(), 2u) << "a null argument changes nothing";
}

TEST(SequencerTest, PlayAndChangeRespectTheFlagAndTheCurrentSequence) {
  cAnimeSequencer seq;
  seq.Assign({{{1, 4, 1}, {ANIME_LOOP, 0, 1}}, {{2, 4, 0}, {3, 4, 0}, {ANIME_LOOP, 0, 0}}});
  seq.Step();
  EXPECT_EQ(seq.Play(1, false), 0);
  EXPECT_EQ(seq.Sequence(), 0);
  EXPECT_EQ(seq.Play(1, true), 1);
  EXPECT_EQ(seq.GetFrame(), 2);

  // Change to the playing sequence keeps its row and tick.
  seq.Step();
  seq.Step();
  seq.Step();
  EXPECT_EQ(seq.Change(1, true), 1);
  EXPECT_EQ(seq.Step(), 3) << "the fourth tick of the first frame ends it";
  EXPECT_EQ(seq.Change(0, false), 1) << "row 1 of sequence 1 may be interrupted";
  EXPECT_EQ(seq.GetFrame(), 1);
}

TEST(SequencerTest, ABadSequenceIsReportedAndSequenceZeroPlays) {
  ResetCloseRequests();
  cAnimeSequencer seq;
  seq.Assign({{{3, 1, 0}, {ANIME_LOOP, 0, 0}}});
  EXPECT_EQ(seq.Play(5, true), 1);
  EXPECT_EQ(CloseRequestCount(), 1);
  EXPECT_EQ(seq.Sequence(), 0);
  EXPECT_EQ(seq.Step(), 3);
}

TEST(SequencerTest, ClearEmptiesTheSequencer) {
  cAnimeSequencer seq;
  seq.Assign({{{3, 1, 0}, {4, 1, 0}, {ANIME_LOOP, 0, 0}}});
  seq.Step();
  seq.Clear();
  EXPECT_EQ(seq.SequenceCount(), 0u);
  EXPECT_EQ(seq.Row(), 0);
  EXPECT_EQ(seq.Step(), 0);
  EXPECT_EQ(seq.Play(3, false), 1);
  EXPECT_EQ(seq.GetFrame(), 0);
}

}  // namespace
