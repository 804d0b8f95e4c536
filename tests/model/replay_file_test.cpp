#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <vector>

#include "model/stage/palette_scope.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "model/stage/stage.h"
#include "model/stage_file_bytes.h"
#include "platform/files.h"
#include "support/scoped_message_boxes.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

using Frame = std::array<std::int16_t, 2>;

constexpr const char* kPath = "user_data\\rpl4\\stage_00.rpl4_566";

// A play of a few hundred frames: walking, jumping, standing.
std::vector<Frame> ScriptedPlay() {
  std::vector<Frame> input;
  for (int i = 0; i < 450; ++i) {
    const std::int16_t dir = i < 120 ? 4 : (i < 200 ? 0 : (i % 90 < 45 ? 2 : 6));
    const std::int16_t button = (i % 60) < 8 ? 1 : ((i % 97) == 3 ? 2 : 0);
    input.push_back({dir, button});
  }
  return input;
}

std::vector<Frame> PlayAll(cReplayLog& log) {
  std::vector<Frame> played;
  Frame frame{};
  while (played.size() < 100000 && log.PlayFrame(frame.data()) == 0) played.push_back(frame);
  return played;
}

// A placed hero as a stage file of that version stores it.
std::vector<std::uint8_t> HeroRecord(std::uint32_t version) {
  cEdChara hero;
  hero.m_nControl = 0;
  hero.m_nGraphicNo = 1;
  g_nDataVersion = version;
  std::vector<std::uint8_t> bytes = hero.SaveBytes();
  g_nDataVersion = DATA_VERSION;
  return {bytes.begin() + 4, bytes.end()};
}

class ReplayFileTest : public testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    fs::create_directories("user_data/rpl4");
    m_Stage = MakeTestStage();
    m_Start = m_Stage;
    m_Start.m_nTimeLimit = 90;  // the start state differs from the stage played so far
    m_Start.ClearObjectLists();
    m_Progress.m_nLives = 4;
    m_Progress.m_nTotalScore = 2500;
    m_Progress.m_vVariables[7] = 70;
    m_Progress.SetStageFile("data\\stg4\\stage.stg4_001");
    for (const Frame& frame : ScriptedPlay()) m_Log.RecordFrame(frame.data());
    m_Log.m_nSeed = 987654;
  }
  void TearDown() override { platform::SetWriteFunctionForTests(nullptr); }

  // What a replay file holds, read back.
  struct Replay {
    cReplayLog log;
    cEdStage stage;
    cEdStage start;
    cSaveData progress;
  };
  // Saves m_Log with the fixture's stage and progress and reads it back.
  std::unique_ptr<Replay> SaveAndLoad() {
    auto replay = std::make_unique<Replay>();
    EXPECT_EQ(m_Log.SaveReplay(kPath, m_Stage, m_Start, m_Progress), 1);
    EXPECT_EQ(replay->log.LoadReplay(kPath, replay->stage, replay->start, replay->progress), 1);
    return replay;
  }

  // Everything a failed load must leave alone.
  std::vector<std::vector<std::uint8_t>> Targets(cReplayLog& log, cEdStage& stage, cEdStage& start,
                                                 cSaveData& progress) {
    return {log.SaveBytes(), stage.SaveBytes(), start.SaveBytes(), progress.SaveBytes()};
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
  ScopedMessageBoxes m_Boxes;
  cEdStage m_Stage;
  cEdStage m_Start;
  cSaveData m_Progress;
  cReplayLog m_Log;
};

TEST_F(ReplayFileTest, AReplayPlaysBackTheSameInputAfterSaveAndLoad) {
  const std::unique_ptr<Replay> replay = SaveAndLoad();
  auto& [log, stage, start, progress] = *replay;
  EXPECT_TRUE(m_Boxes.Shown().empty());

  const std::vector<Frame> input = ScriptedPlay();
  const std::vector<Frame> played = PlayAll(log);
  ASSERT_EQ(played.size(), input.size());
  for (std::size_t i = 0; i < input.size(); ++i) ASSERT_EQ(played[i], input[i]) << "frame " << i;
  EXPECT_EQ(log.m_nSeed, 987654);

  // The stage is as it started: the start state's settings with the played
  // stage's objects; the start record holds the settings alone.
  EXPECT_EQ(stage.m_nTimeLimit, 90);
  EXPECT_EQ(stage.m_vPlacedCharas.size(), m_Stage.m_vPlacedCharas.size());
  EXPECT_EQ(stage.m_vStageStrings.at(0).m_strText, "はじめ");
  EXPECT_EQ(start.m_nTimeLimit, 90);
  EXPECT_TRUE(start.m_vPlacedCharas.empty());
  EXPECT_EQ(progress.SaveBytes(), m_Progress.SaveBytes());
}

TEST_F(ReplayFileTest, AReplayWithoutAHeroIsRefusedAndChangesNothing) {
  cEdStage noHero = MakeTestStage();
  noHero.m_vPlacedCharas.erase(noHero.m_vPlacedCharas.begin());  // the hero
  ASSERT_EQ(m_Log.SaveReplay(kPath, noHero, noHero, m_Progress), 1);

  cReplayLog log;
  cEdStage stage;
  cEdStage start;
  cSaveData progress;
  const auto before = Targets(log, stage, start, progress);
  EXPECT_EQ(log.LoadReplay(kPath, stage, start, progress), 0);
  EXPECT_EQ(Targets(log, stage, start, progress), before);
  ASSERT_EQ(m_Boxes.Shown().size(), 1u);
}

TEST_F(ReplayFileTest, AMissingOrDamagedReplayIsReportedAndChangesNothing) {
  ASSERT_EQ(m_Log.SaveReplay(kPath, m_Stage, m_Start, m_Progress), 1);
  std::vector<std::uint8_t> whole;
  ASSERT_TRUE(platform::ReadProgramFile(kPath, whole));
  const std::vector<std::uint8_t> cut(whole.begin(), whole.end() - 10);
  ASSERT_TRUE(platform::WriteFileAtomic(platform::MapPath("user_data\\rpl4\\cut.rpl4_566"), cut));

  for (const char* path :
       {"user_data\\rpl4\\missing.rpl4_566", "user_data\\rpl4\\cut.rpl4_566", ""}) {
    SCOPED_TRACE(path);
    m_Boxes.Clear();
    cReplayLog log;
    cEdStage stage;
    cEdStage start;
    cSaveData progress;
    const auto before = Targets(log, stage, start, progress);
    EXPECT_EQ(log.LoadReplay(path, stage, start, progress), 0);
    EXPECT_EQ(Targets(log, stage, start, progress), before);
    EXPECT_EQ(m_Boxes.Shown().size(), 1u);
  }
}

TEST_F(ReplayFileTest, AReplayThatCannotBeWrittenIsReportedAndKeepsTheOldFile) {
  ASSERT_EQ(m_Log.SaveReplay(kPath, m_Stage, m_Start, m_Progress), 1);
  std::vector<std::uint8_t> before;
  ASSERT_TRUE(platform::ReadProgramFile(kPath, before));

  platform::SetWriteFunctionForTests([](int, const void*, std::size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  });
  cReplayLog other;
  other.m_vDirValues = {1};
  other.m_vDirRuns = {1};
  EXPECT_EQ(other.SaveReplay(kPath, m_Stage, m_Start, m_Progress), 0);
  EXPECT_EQ(other.SaveReplay("", m_Stage, m_Start, m_Progress), 0);
  std::vector<std::uint8_t> after;
  ASSERT_TRUE(platform::ReadProgramFile(kPath, after));
  EXPECT_EQ(after, before);
  EXPECT_EQ(m_Boxes.Shown().size(), 2u);
}

TEST_F(ReplayFileTest, TheCarriedHeroInheritsFromThePaletteOfTheReplaysStage) {
  // As during play, references see the loaded stage, which holds no entry 1.
  const cPaletteScope startUp(nullptr, nullptr);
  ASSERT_LE(g_LoadedStage.m_vPaletteCharas.size(), 1u);
  cEdChara& carried = m_Progress.m_vPlayers.at(0).m_Chara;
  carried.m_nInheritKind = PALETTE_STAGE;
  carried.m_nInheritIndex = 1;  // the walker of the replay's stage
  carried.m_vInheritFlag.assign(carried.m_vInheritFlag.size(), 0);
  carried.m_vInheritFlag.at(0) = 1;  // the name
  carried.m_strName = "old name";

  const std::unique_ptr<Replay> replay = SaveAndLoad();
  const cEdChara& loaded = replay->progress.m_vPlayers.at(0).m_Chara;
  EXPECT_EQ(loaded.m_nInheritKind, PALETTE_STAGE);
  EXPECT_EQ(loaded.m_nInheritIndex, 1);
  EXPECT_EQ(loaded.m_strName, "歩き");
}

TEST_F(ReplayFileTest, AReplayOfVersion172HoldsNoProgress) {
  stage_bytes::Options options;
  options.placedCharas = {HeroRecord(172)};
  ByteBuilder file;
  file.Bytes(stage_bytes::StageFile(172, options));
  const std::vector<std::uint8_t> log = m_Log.SaveBytes();
  file.Raw(log.data() + 4, log.size() - 4);  // the log without its version word
  ASSERT_TRUE(platform::WriteFileAtomic(platform::MapPath("old.rpl4_172"), file.Get()));

  cReplayLog loaded;
  cEdStage stage;
  cEdStage start;
  cSaveData progress = m_Progress;
  ASSERT_EQ(loaded.LoadReplay("old.rpl4_172", stage, start, progress), 1);
  EXPECT_EQ(stage.m_strName, "old stage");
  EXPECT_EQ(PlayAll(loaded), ScriptedPlay());
  EXPECT_EQ(progress.SaveBytes(), m_Progress.SaveBytes());
}

TEST_F(ReplayFileTest, AnOlderReplayKeepsNoSettingOfTheStagePlayedBefore) {
  // Version 124 stores only the left switch of each screen-out rule.
  stage_bytes::Options options;
  options.placedCharas = {HeroRecord(124)};
  options.rankingFlags = {1, 1, 1};
  ByteBuilder file;
  file.Bytes(stage_bytes::StageFile(124, options));
  const std::vector<std::uint8_t> log = m_Log.SaveBytes();
  file.Raw(log.data() + 4, log.size() - 4);
  ASSERT_TRUE(platform::WriteFileAtomic(platform::MapPath("old.rpl4_124"), file.Get()));

  cEdStage stage = MakeTestStage();
  stage.m_aScreenOut[SCREENOUT_CHARA].SetAll(1, 1, 1, 1, 9, 9, 9, 9);
  stage.m_strPath = "old.rpl4_124";
  cEdStage start;
  cSaveData progress = m_Progress;
  cReplayLog loaded;
  ASSERT_EQ(loaded.LoadReplay("old.rpl4_124", stage, start, progress), 1);
  for (const cEdStage* s : {&stage, &start}) {
    const cEdScreenOutRule& rule = s->m_aScreenOut[SCREENOUT_CHARA];
    EXPECT_EQ(rule.m_bLeft, 1);
    EXPECT_EQ(rule.m_bRight, 0);
    EXPECT_EQ(rule.m_bTop, 0);
    EXPECT_EQ(rule.m_bBottom, 0);
  }
  // A restart reads the replay again from the stage's path.
  EXPECT_EQ(stage.m_strPath, "old.rpl4_124");
}

}  // namespace
