// Ranking tables: a new set, the insert rule, and the ranking file of the
// current and of older versions.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/report.h"
#include "model/settings/system_data.h"
#include "model/user/ranking.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/byte_builder.h"
#include "support/scoped_message_boxes.h"
#include "support/temp_folder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class RankingTest : public ::testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
};

std::vector<std::int32_t> Directions(const cRankingSet& set) {
  std::vector<std::int32_t> out;
  for (const cRankingList& list : set.m_vLists) out.push_back(list.m_bHigherWins);
  return out;
}

// The used rows as (name, value).
std::vector<std::pair<std::string, std::int32_t>> Rows(const cRankingList& list) {
  std::vector<std::pair<std::string, std::int32_t>> out;
  for (const cRankingEntry& row : list.m_vEntries) {
    if (row.m_bUsed != 0) out.emplace_back(row.m_strName, row.m_nValue);
  }
  return out;
}

// A ranking file: version, the set record, then lists of the given
// directions, each with rows of empty entries.
Bytes RankingFile(std::uint32_t version, const std::vector<std::int32_t>& directions, std::uint32_t rows) {
  ByteBuilder b;
  b.U32(version).Ints({}).Strings({}).U32(static_cast<std::uint32_t>(directions.size()));
  for (std::int32_t higherWins : directions) {
    b.Ints({higherWins}).Strings({}).U32(rows);
    for (std::uint32_t r = 0; r < rows; ++r) b.Ints({0, 0}).Strings({""});
  }
  return b.Get();
}

TEST_F(RankingTest, NewSetHoldsFiveEmptyTables) {
  const cRankingSet set;
  ASSERT_EQ(set.m_vLists.size(), 5u);
  for (const cRankingList& list : set.m_vLists) {
    EXPECT_EQ(list.m_vEntries.size(), 20u);
    EXPECT_TRUE(Rows(list).empty());
  }
  // Only the clear time ranks lower values first.
  EXPECT_EQ(Directions(set), (std::vector<std::int32_t>{1, 1, 0, 1, 1}));
  EXPECT_EQ(Directions(g_RankingSet), Directions(set));

  cRankingSet copy = set;
  const Bytes bytes = copy.SaveBytes();
  EXPECT_EQ(bytes.size(), 2096u);
  EXPECT_EQ(bytes, RankingFile(DATA_VERSION, {1, 1, 0, 1, 1}, 20));
}

TEST_F(RankingTest, InsertKeepsTwentyRowsBestFirst) {
  cRankingList score;  // higher wins
  score.m_bHigherWins = 1;
  score.Insert("a", 100);
  EXPECT_EQ(Rows(score), (std::vector<std::pair<std::string, std::int32_t>>{{"a", 100}}));
  score.Insert("b", 300);
  score.Insert("c", 100);  // a tie goes below
  score.Insert("", 200);   // an empty name stays empty
  EXPECT_EQ(Rows(score),
            (std::vector<std::pair<std::string, std::int32_t>>{{"b", 300}, {"", 200}, {"a", 100}, {"c", 100}}));
  EXPECT_EQ(score.m_vEntries.size(), 20u);

  cRankingList time;  // lower wins
  for (int i = 1; i <= 20; ++i) time.Insert(std::string("t").append(std::to_string(i)), i * 100);
  EXPECT_EQ(time.FindInsertPos(2001), -1);
  const auto full = Rows(time);
  time.Insert("slow", 2001);  // ranks nowhere: nothing changes
  EXPECT_EQ(Rows(time), full);
  EXPECT_EQ(time.m_vEntries.size(), 20u);
  EXPECT_EQ(time.FindInsertPos(2000), -1);  // equal to the last row goes below it
  EXPECT_EQ(time.FindInsertPos(1000), 10);
  time.Insert("fast", 50);  // the 20th row falls out
  EXPECT_EQ(time.m_vEntries.size(), 20u);
  EXPECT_EQ(time.m_vEntries.front().m_strName, "fast");
  EXPECT_EQ(time.m_vEntries.back().m_strName, "t19");
}

TEST_F(RankingTest, SaveLoadSaveGivesTheSameBytes) {
  cRankingSet set;
  set.m_vLists[RANKING_SCORE].Insert("あいう", 12345);
  set.m_vLists[RANKING_CLEAR_TIME].Insert("abc", 6543);
  set.m_vLists[RANKING_SP_LEFT].m_vEntries.resize(3);  // any number of rows
  const Bytes first = set.SaveBytes();
  cRankingSet loaded;
  ASSERT_TRUE(loaded.LoadBytes(first));
  EXPECT_EQ(loaded.SaveBytes(), first);
  EXPECT_EQ(Rows(loaded.m_vLists[RANKING_SCORE]),
            (std::vector<std::pair<std::string, std::int32_t>>{{"あいう", 12345}}));
  EXPECT_EQ(loaded.m_vLists[RANKING_SP_LEFT].m_vEntries.size(), 3u);
}

TEST_F(RankingTest, OlderFilesGetFiveTables) {
  struct cCase {
    std::uint32_t version;
    std::vector<std::int32_t> stored;
    std::vector<std::int32_t> loaded;
  };
  const cCase cases[] = {
      // Up to 180: five tables, HP and SP left rank higher first; the
      // directions read from the file stay.
      {180, {0, 1, 0}, {0, 1, 0, 1, 1}},
      {100, {1, 1, 0, 0, 0, 1, 1}, {1, 1, 0, 1, 1}},
      // Later files are taken as they are, but every kind gets its table.
      {181, {0, 1, 0}, {0, 1, 0, 1, 1}},
      {DATA_VERSION, {}, {1, 1, 0, 1, 1}},
      {DATA_VERSION, {1, 1, 0, 1, 1, 0, 1}, {1, 1, 0, 1, 1, 0, 1}},
  };
  for (const cCase& c : cases) {
    cRankingSet set;
    std::string error;
    ASSERT_TRUE(set.LoadBytes(RankingFile(c.version, c.stored, 20), &error)) << error;
    EXPECT_EQ(Directions(set), c.loaded) << c.version;
    for (const cRankingList& list : set.m_vLists) EXPECT_EQ(list.m_vEntries.size(), 20u);
  }
}

TEST_F(RankingTest, DamagedFilesFailAndLeaveTheSetAsItWas) {
  cRankingSet set;
  set.m_vLists[0].Insert("keep", 1);
  const Bytes before = set.SaveBytes();
  const Bytes whole = RankingFile(DATA_VERSION, {1, 1, 0, 1, 1}, 20);
  for (std::size_t size = 0; size < whole.size(); ++size) {
    ASSERT_FALSE(set.LoadBytes(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))));
  }
  // Counts far beyond the file.
  ByteBuilder lists;
  lists.U32(DATA_VERSION).Ints({}).Strings({}).U32(0xFFFFFFFF);
  EXPECT_FALSE(set.LoadBytes(lists.Get()));
  ByteBuilder rows;
  rows.U32(DATA_VERSION).Ints({}).Strings({}).U32(1).Ints({1}).Strings({}).U32(0x40000000);
  EXPECT_FALSE(set.LoadBytes(rows.Get()));
  EXPECT_EQ(set.SaveBytes(), before);
}

TEST_F(RankingTest, RankingFileNames) {
  struct cCase {
    int mode;
    const char* stage;
    int result;
    const char* path;
  };
  const cCase cases[] = {
      {PLAY_STORY, "data\\stg4\\w1-1.", 1, "user_data\\story\\w1-1.rkg"},
      {PLAY_CHALLENGE, "data\\stg4\\c01.", 1, "user_data\\challenge\\c01.rkg"},
      {PLAY_FREESTAGE, "表\\free.", 1, "user_data\\free\\free.rkg"},
      {PLAY_REPLAY, "x.", 0, "unchanged"},
      {-1, "x.", 0, "unchanged"},
  };
  for (const cCase& c : cases) {
    std::string path = "unchanged";
    EXPECT_EQ(MakeRankingPath(path, c.mode, c.stage), c.result) << c.mode;
    EXPECT_EQ(path, c.path) << c.mode;
  }
}

TEST_F(RankingTest, StageRankingFiles) {
  TempFolder folder;
  ScopedCurrentFolder enter(folder.path());
  std::filesystem::create_directories(folder / "user_data" / "free");

  cRankingSet set;
  set.m_vLists[RANKING_SCORE].Insert("abc", 500);
  ASSERT_EQ(SaveStageRanking(set, PLAY_FREESTAGE, "data\\stg4\\mine."), 1);
  EXPECT_TRUE(std::filesystem::exists(folder / "user_data" / "free" / "mine.rkg"));
  cRankingSet loaded;
  ASSERT_EQ(LoadStageRanking(loaded, PLAY_FREESTAGE, "mine."), 1);
  EXPECT_EQ(loaded.SaveBytes(), set.SaveBytes());

  // A missing file, or a replay, gives empty tables.
  const Bytes empty = cRankingSet().SaveBytes();
  EXPECT_EQ(LoadStageRanking(loaded, PLAY_STORY, "mine."), 0);
  EXPECT_EQ(loaded.SaveBytes(), empty);
  loaded = set;
  EXPECT_EQ(LoadStageRanking(loaded, PLAY_REPLAY, "mine."), 0);
  EXPECT_EQ(loaded.SaveBytes(), empty);
  EXPECT_EQ(SaveStageRanking(set, PLAY_REPLAY, "mine."), 0);
}

// An unreadable ranking file is kept as .bak before empty tables take its
// place, so saving a new result does not destroy the old ones; a failed
// save says so in the report.
TEST_F(RankingTest, UnreadableFilesAreKeptAndFailedSavesReported) {
  TempFolder folder;
  ScopedCurrentFolder enter(folder.path());
  const std::filesystem::path free = folder / "user_data" / "free";
  std::filesystem::create_directories(free);
  ASSERT_EQ(OpenReport("Report_Game.txt"), 1);

  Bytes damaged = RankingFile(DATA_VERSION, {1, 1, 0, 1, 1}, 20);
  damaged.resize(damaged.size() / 2);
  ASSERT_TRUE(platform::WriteFileAtomic(free / "cut.rkg", damaged));
  cRankingSet set;
  set.m_vLists[RANKING_SCORE].Insert("old", 7);
  EXPECT_EQ(LoadStageRanking(set, PLAY_FREESTAGE, "cut."), 0);
  EXPECT_EQ(set.SaveBytes(), cRankingSet().SaveBytes());
  EXPECT_FALSE(std::filesystem::exists(free / "cut.rkg"));
  std::vector<std::uint8_t> kept;
  ASSERT_TRUE(platform::ReadWholeFile(free / "cut.rkg.bak", kept));
  EXPECT_EQ(kept, damaged);
  set.m_vLists[RANKING_SCORE].Insert("new", 9);
  ASSERT_EQ(SaveStageRanking(set, PLAY_FREESTAGE, "cut."), 1);
  ASSERT_TRUE(platform::ReadWholeFile(free / "cut.rkg.bak", kept));
  EXPECT_EQ(kept, damaged);

  // A folder in the way of the file: the save fails, in a box and the report.
  ScopedMessageBoxes boxes;
  std::filesystem::create_directories(free / "blocked.rkg");
  EXPECT_EQ(SaveStageRanking(set, PLAY_FREESTAGE, "blocked."), 0);
  const std::string report = ReadTextFile(folder / "Report_Game.txt");
  EXPECT_NE(report.find("user_data\\free\\cut.rkg : unreadable, kept as"), std::string::npos) << report;
  const std::string failed = "user_data\\free\\blocked.rkg の保存に失敗しました！";
  EXPECT_NE(report.find(platform::Cp932ToUtf8(failed)), std::string::npos) << report;
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, failed);
}

}  // namespace
