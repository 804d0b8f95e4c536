// Loading the stage to be played: the loader thread, the newest version,
// the start state, damaged files and the pause wait record.
#include "model/stage/stage_loader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/close_request.h"
#include "base/report.h"
#include "base/thread.h"
#include "model/stage/common_palette.h"
#include "model/stage/stage.h"
#include "platform/files.h"
#include "platform/text.h"
#include "stage_file_bytes.h"
#include "support/scoped_message_boxes.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

class StageLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    g_CommonPalette = cEdCommonPalette();
    g_LoadedStage = cEdStage();
    g_PlayStage = cEdStage();
    std::filesystem::create_directories(m_Folder / "data" / "stg4");
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    ResetCloseRequests();
  }
  void TearDown() override { SetStageLoadMessagePump(nullptr); }

  void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "data" / "stg4" / name, bytes));
  }
  std::string Report() const {
    std::ifstream in(m_Folder / "Report_Game.txt");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  ScopedMessageBoxes m_Boxes;
};

// A placed character record of the given data version, as it stands in a
// stage file of that version.
std::vector<std::uint8_t> HeroRecord(std::uint32_t version) {
  cEdChara hero;
  hero.m_nControl = 0;
  hero.m_nGraphicNo = 1;
  g_nDataVersion = version;
  std::vector<std::uint8_t> bytes = hero.SaveBytes();
  g_nDataVersion = DATA_VERSION;
  bytes.erase(bytes.begin(), bytes.begin() + 4);
  return bytes;
}

TEST_F(StageLoaderTest, StageRoundTripsThroughTheLoaderAndTheStartStateRestoresIt) {
  cEdStage stage = MakeTestStage();
  const std::vector<std::uint8_t> saved = stage.SaveBytes();
  WriteFile("test.stg4_000", saved);

  ASSERT_EQ(LoadStageFile("data\\stg4\\test.stg4_000", 0, &g_PlayStage), 1) << Report();
  EXPECT_EQ(g_LoadedStage.SaveBytes(), saved);
  EXPECT_EQ(g_LoadedStage.m_strPath, "data\\stg4\\test.stg4_000");
  EXPECT_EQ(g_LoadedStage.m_bLoaded, 1);
  EXPECT_EQ(g_LoadedStage.m_bFindNewest, 0);
  EXPECT_EQ(g_LoadedStage.m_nSubSteps, 5);  // speed level 15

  // The start state: the settings without the objects.
  EXPECT_EQ(g_PlayStage.m_nAutoScrollSpeedX, 15);
  EXPECT_EQ(g_PlayStage.m_strName, stage.m_strName);
  EXPECT_EQ(g_PlayStage.m_vBackgrounds.size(), 2u);
  EXPECT_EQ(g_PlayStage.m_vStageStrings.size(), 2u);
  EXPECT_EQ(g_PlayStage.m_vRankingFlags, stage.m_vRankingFlags);
  EXPECT_TRUE(g_PlayStage.m_vPlacedBlocks.empty());
  EXPECT_TRUE(g_PlayStage.m_vPlacedCharas.empty());
  EXPECT_TRUE(g_PlayStage.m_vPlacedItems.empty());
  EXPECT_TRUE(g_PlayStage.m_vPaletteBlocks.empty());
  EXPECT_TRUE(g_PlayStage.m_vPaletteCharas.empty());
  EXPECT_TRUE(g_PlayStage.m_vPaletteItems.empty());

  // Play changes the running stage; a replay still stores the start state,
  // and a restart copies it back.
  g_LoadedStage.m_bAutoScrollX = 0;
  g_LoadedStage.m_nAutoScrollSpeedX = -30;
  g_LoadedStage.m_nTimeLimit = 9;
  g_LoadedStage.m_vBackgrounds[1].m_dOffsetX = 80;
  g_LoadedStage.m_aScreenOut[SCREENOUT_ITEM].SetAll(1, 1, 1, 1, 2, 2, 2, 2);
  g_LoadedStage.m_vRankingFlags.assign(5, 0);
  g_LoadedStage.SetSpeedLevel(2);
  cDataWriter replay;
  replay.WriteU32(DATA_VERSION);
  g_LoadedStage.SaveForReplay(replay, g_PlayStage);
  EXPECT_EQ(replay.Bytes(), saved);
  g_LoadedStage.CopyStartState(g_PlayStage);
  EXPECT_EQ(g_LoadedStage.SaveBytes(), saved);
}

TEST_F(StageLoaderTest, TheCallersMessagesAreServedOnItsOwnThread) {
  WriteFile("test.stg4_000", MakeTestStage().SaveBytes());
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<int> turns{0};
  std::atomic<bool> otherThread{false};
  SetStageLoadMessagePump([&] {
    ++turns;
    if (std::this_thread::get_id() != caller) otherThread = true;
    return true;
  });
  EXPECT_EQ(LoadStageFile("data\\stg4\\test.stg4_000", 0, &g_PlayStage), 1);
  EXPECT_GE(turns.load(), 1);
  EXPECT_FALSE(otherThread.load());
}

TEST_F(StageLoaderTest, QuitWhileLoadingEndsTheLoadAndKeepsTheStage) {
  WriteFile("test.stg4_000", MakeTestStage().SaveBytes());
  const std::vector<std::uint8_t> before = g_LoadedStage.SaveBytes();
  SetStageLoadMessagePump([] { return false; });
  EXPECT_EQ(LoadStageFile("data\\stg4\\test.stg4_000", 0, &g_PlayStage), 0);
  EXPECT_EQ(g_LoadedStage.SaveBytes(), before);
}

TEST_F(StageLoaderTest, NewestVersionIsTheHighestSuffix) {
  for (const char* suffix : {"000", "002", "010", "009"}) {
    cEdStage stage = MakeTestStage();
    stage.m_strName = suffix;
    WriteFile(std::string("test.stg4_") + suffix, stage.SaveBytes());
  }
  WriteFile("other.stg4_999", MakeTestStage().SaveBytes());

  ASSERT_EQ(LoadStageFile("data\\stg4\\test.stg4", 1, &g_PlayStage), 1) << Report();
  EXPECT_EQ(g_LoadedStage.m_strName, "010");
  EXPECT_EQ(g_LoadedStage.m_strPath, "data\\stg4\\test.stg4_010");
  EXPECT_EQ(g_LoadedStage.m_bFindNewest, 1);

  // No numbered file at all: 0, quietly.
  EXPECT_EQ(LoadStageFile("data\\stg4\\none.stg4", 1, &g_PlayStage), 0);
  EXPECT_TRUE(m_Boxes.Shown().empty());
  EXPECT_EQ(g_LoadedStage.m_strName, "010");
}

TEST_F(StageLoaderTest, EndMarkerVersions) {
  struct Case {
    std::uint32_t version;
    bool marker;
    std::uint32_t value;
    int result;
  };
  const Case cases[] = {
      {172, false, 0, 1},          // no marker: read to the end
      {173, true, 42, 1},          // a marker that is not checked
      {174, true, 42, 0},          // checked from 174 on
      {174, true, STAGE_END_MARKER, 1},
      {DATA_VERSION, true, 7, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.version << " " << c.value);
    m_Boxes.Clear();
    ResetCloseRequests();
    stage_bytes::Options options;
    options.placedCharas = {HeroRecord(c.version)};
    options.endMarker = c.marker;
    options.marker = c.value;
    WriteFile("old.stg4_000", stage_bytes::StageFile(c.version, options));
    g_LoadedStage = cEdStage();
    EXPECT_EQ(LoadStageFile("data\\stg4\\old.stg4_000", 0, &g_PlayStage), c.result) << Report();
    if (c.result == 1) {
      EXPECT_EQ(g_LoadedStage.m_strName, "old stage");
      EXPECT_TRUE(m_Boxes.Shown().empty());
    } else {
      ASSERT_EQ(m_Boxes.Shown().size(), 1u);
      EXPECT_EQ(m_Boxes.Shown()[0].text, "ステージファイル data\\stg4\\old.stg4_000 が破損しています！");
      EXPECT_EQ(CloseRequestCount(), 1);
    }
  }
}

TEST_F(StageLoaderTest, AnOlderFileKeepsNoSettingOfTheStageBefore) {
  cEdStage modern = MakeTestStage();
  modern.m_aScreenOut[SCREENOUT_CHARA].SetAll(1, 1, 1, 1, 0, 0, 0, 0);
  WriteFile("modern.stg4_000", modern.SaveBytes());
  ASSERT_EQ(LoadStageFile("data\\stg4\\modern.stg4_000", 0, &g_PlayStage), 1);

  // Version 124 stores only the left switch of each rule.
  stage_bytes::Options options;
  options.placedCharas = {HeroRecord(124)};
  options.rankingFlags = {1, 1, 1};
  WriteFile("ancient.stg4_000", stage_bytes::StageFile(124, options));
  ASSERT_EQ(LoadStageFile("data\\stg4\\ancient.stg4_000", 0, &g_PlayStage), 1) << Report();
  for (cEdStage* stage : {&g_LoadedStage, &g_PlayStage}) {
    const cEdScreenOutRule& rule = stage->m_aScreenOut[SCREENOUT_CHARA];
    EXPECT_EQ(rule.m_bLeft, 1);
    EXPECT_EQ(rule.m_bRight, 0);
    EXPECT_EQ(rule.m_bTop, 0);
    EXPECT_EQ(rule.m_bBottom, 0);
  }
}

TEST_F(StageLoaderTest, ADamagedFileChangesNothing) {
  cEdStage good = MakeTestStage();
  WriteFile("good.stg4_000", good.SaveBytes());
  ASSERT_EQ(LoadStageFile("data\\stg4\\good.stg4_000", 0, &g_PlayStage), 1);
  const std::vector<std::uint8_t> loaded = g_LoadedStage.SaveBytes();
  const std::vector<std::uint8_t> start = g_PlayStage.SaveBytes();

  const std::vector<std::uint8_t> bytes = MakeTestStage().SaveBytes();
  // The ranking flags' count follows the fields and the name.
  const std::size_t rankingCount = 4 + 4 + 416 + 4 + 4 + good.m_strName.size() + 1;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* message;
    bool close;
  };
  std::vector<Case> cases;
  {
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
    cut.insert(cut.end(), bytes.end() - 4, bytes.end());  // the marker is intact
    cases.push_back({"cut", cut, "ステージファイル data\\stg4\\bad.stg4_000 の読み込みに失敗しました！", false});
  }
  {
    std::vector<std::uint8_t> badCount = bytes;
    badCount[rankingCount] = 0xFF;
    badCount[rankingCount + 1] = 0xFF;
    badCount[rankingCount + 2] = 0xFF;
    badCount[rankingCount + 3] = 0x7F;
    cases.push_back({"count", badCount, "ステージファイル data\\stg4\\bad.stg4_000 の読み込みに失敗しました！", false});
  }
  {
    std::vector<std::uint8_t> badMarker = bytes;
    badMarker.back() ^= 0x40;
    cases.push_back({"marker", badMarker, "ステージファイル data\\stg4\\bad.stg4_000 が破損しています！", true});
  }
  {
    std::vector<std::uint8_t> tooShort(bytes.begin(), bytes.begin() + 6);
    cases.push_back({"short", tooShort, "ステージファイル data\\stg4\\bad.stg4_000 が破損しています！", true});
  }
  {
    cEdStage noHero = MakeTestStage();
    noHero.m_vPlacedCharas.erase(noHero.m_vPlacedCharas.begin());
    cases.push_back({"hero", noHero.SaveBytes(), "主人公が配置されていないのでプレイできません！", true});
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_Boxes.Clear();
    ResetCloseRequests();
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    WriteFile("bad.stg4_000", c.bytes);
    EXPECT_EQ(LoadStageFile("data\\stg4\\bad.stg4_000", 0, &g_PlayStage), 0);
    EXPECT_EQ(g_LoadedStage.SaveBytes(), loaded);
    EXPECT_EQ(g_PlayStage.SaveBytes(), start);
    EXPECT_EQ(g_LoadedStage.m_strPath, "data\\stg4\\good.stg4_000");
    ASSERT_EQ(m_Boxes.Shown().size(), 1u);
    EXPECT_EQ(m_Boxes.Shown()[0].text, c.message);
    EXPECT_NE(Report().find(platform::Cp932ToUtf8(c.message)), std::string::npos) << Report();
    EXPECT_EQ(CloseRequestCount(), c.close ? 1 : 0);
  }

  // A file that does not exist fails the same way as an unreadable one.
  m_Boxes.Clear();
  EXPECT_EQ(LoadStageFile("data\\stg4\\missing.stg4_000", 0, &g_PlayStage), 0);
  ASSERT_EQ(m_Boxes.Shown().size(), 1u);
  EXPECT_EQ(g_LoadedStage.SaveBytes(), loaded);
}

TEST_F(StageLoaderTest, ModalWaitRecord) {
  struct Case {
    int kind, waitKey, frames, flag;
    std::int32_t delay;
  };
  const Case cases[] = {{1, 1, 0, 0, 10}, {1, 1, 0, 1, 0}, {1, 0, 30, 0, 0},
                        {3, 1, 0, 0, 0},  {4, 0, 30, 0, 0}};
  for (const Case& c : cases) {
    const cModalWait wait = SetModalWait(c.kind, c.waitKey, c.frames, c.flag);
    EXPECT_EQ(wait.nKind, c.kind);
    EXPECT_EQ(wait.nDelay, c.delay);
    EXPECT_EQ(wait.bWaitKey, c.waitKey);
    EXPECT_EQ(wait.nFrames, c.frames);
    EXPECT_EQ(wait.nElapsed, 0);
  }
}

}  // namespace
