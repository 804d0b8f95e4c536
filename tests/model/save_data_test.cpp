#include "model/user/save_data.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "model/stage/stage.h"
#include "model/settings/system_data.h"
#include "model/stage/world_map.h"
#include "platform/files.h"
#include "support/byte_builder.h"
#include "support/scoped_message_boxes.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// Keeps the process-wide records that the progress reads as each test found
// them.
class SaveDataTest : public testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    m_System = g_SystemData;
    m_Map = g_WorldMap;
    m_Slots = g_SaveSlots;
  }
  void TearDown() override {
    g_SystemData = m_System;
    g_WorldMap = m_Map;
    g_SaveSlots = m_Slots;
  }

  // A progress with something in every part.
  static cSaveData PlayedProgress() {
    cSaveData save;
    save.Validate();  // one record per challenge stage
    save.m_nMapX = 4;
    save.m_nMapY = 6;
    save.m_nRound = 2;
    save.m_nLives = 7;
    save.m_nTotalScore = 1234;
    save.m_nTotalHP = 30;
    save.m_bStageBgmLoop = 1;
    save.m_nSaveSlot = 3;
    save.m_bAutoSave = 1;
    save.m_nRankingKind = 2;
    save.m_strName = "abc";
    save.SetStageFile("data\\stg4\\w01-1.stg4_002");
    save.RecordStageBest(save.m_strStagePath, 900);
    save.RecordStageBest("data\\stg4\\w02.", 50);
    save.m_stSaved = {2024, 5, 3, 17, 21, 45, 12, 345};
    save.m_vCarryStored[CARRY_HP] = 1;
    save.m_vPlayers[0].m_nCarriedHP = 17;
    save.m_vPlayers[0].m_Chara.m_nMaxHP = 40;
    save.m_vPlayers[0].m_Chara.m_strName = "hero";
    save.m_vSwitches[12] = 1;
    save.m_vVariables[255] = -999999;
    save.m_vVariables[3] = 42;
    save.m_vChallenge.at(1).m_bCleared = 1;
    save.m_vChallenge.at(1).m_nBest = 777;
    return save;
  }

  cSystemData m_System;
  cEdWorldMap m_Map;
  std::vector<cSaveSlot> m_Slots;
};

TEST_F(SaveDataTest, ANewProgressHoldsTheStartOfAGame) {
  const cSaveData save;
  EXPECT_EQ(save.m_vSwitches.size(), 1000u);
  EXPECT_EQ(save.m_vSwitches[0], 1);
  EXPECT_EQ(std::count(save.m_vSwitches.begin(), save.m_vSwitches.end(), 0), 999);
  EXPECT_EQ(save.m_vVariables, std::vector<std::int32_t>(256, 0));
  EXPECT_EQ(save.m_vCarryStored, std::vector<std::int32_t>(25, 0));
  EXPECT_EQ(save.m_vPlayers.size(), 1u);
  EXPECT_EQ(save.m_nOpenStages, 1);
  EXPECT_EQ(save.m_nSaveSlot, -1);
  EXPECT_EQ(save.m_strName, "aaa");
  EXPECT_EQ(save.m_nLives, 0);
  EXPECT_EQ(BuildStoryFilePath(0), "user_data\\story\\Story01.dat");
  EXPECT_EQ(BuildStoryFilePath(98), "user_data\\story\\Story99.dat");
}

TEST_F(SaveDataTest, SaveLoadSaveGivesTheSameBytesAndValues) {
  cSaveData save = PlayedProgress();
  const std::vector<std::uint8_t> first = save.SaveBytes();
  cSaveData loaded;
  ASSERT_TRUE(loaded.LoadBytes(first));
  EXPECT_EQ(loaded.SaveBytes(), first);
  EXPECT_EQ(loaded.m_stSaved, save.m_stSaved);
  EXPECT_EQ(loaded.m_strStagePath, "data\\stg4\\w01.");
  EXPECT_EQ(loaded.GetStageBest("data\\stg4\\w01."), 900);
  EXPECT_EQ(loaded.m_nBestTotal, 950);
  EXPECT_EQ(loaded.m_vPlayers.at(0).m_nCarriedHP, 17);
  EXPECT_EQ(loaded.m_vPlayers.at(0).m_Chara.m_strName, "hero");
  EXPECT_EQ(loaded.m_vVariables, save.m_vVariables);
  EXPECT_EQ(loaded.m_vChallenge.at(1).m_nBest, 777);
}

// A file of data version 300, written byte by byte: no carried-group flags,
// and lists shorter than the program indexes.
std::vector<std::uint8_t> Version300File(std::int32_t lives, std::int32_t challengeRecords) {
  ByteBuilder b;
  b.U32(300);
  b.Ints({1, 3, 4, 0, 1, 5, 2, 0, lives, 10, 20, 30, 40, 50, 60, 70, 0, 9, 1, 6, 1, 8, 9, 3, 4, 1,
          1, 3});
  b.Strings({"data\\stg4\\a.", "xyz"});
  b.U16(2020).U16(1).U16(3).U16(15).U16(10).U16(20).U16(30).U16(400);
  b.U32(0);  // no player slots
  b.U32(1).Ints({123}).Strings({"data\\stg4\\a."});
  b.U32(static_cast<std::uint32_t>(challengeRecords));
  for (std::int32_t i = 0; i < challengeRecords; ++i) b.Ints({1, 100 + i}).Strings({});
  b.U32(3).I32(1).I32(0).I32(1);      // three switches
  b.U32(2).I32(11).I32(22);           // two variables
  return b.Get();
}

TEST_F(SaveDataTest, AnOldFileGetsEveryGroupStoredAndListsPaddedToTheirSizes) {
  cSaveData save;
  ASSERT_TRUE(save.LoadBytes(Version300File(4, 2)));
  EXPECT_EQ(save.m_vCarryStored, std::vector<std::int32_t>(25, 1));
  EXPECT_EQ(save.m_nMapX, 3);
  EXPECT_EQ(save.m_nLives, 4);
  EXPECT_EQ(save.m_nTotalHP, 60);
  EXPECT_EQ(save.m_nMapReturnY, 9);
  EXPECT_EQ(save.m_nOpenStages, 3);
  EXPECT_EQ(save.m_nRankingKind, 3);
  EXPECT_EQ(save.m_strName, "xyz");
  EXPECT_EQ(save.m_stSaved.wYear, 2020);
  EXPECT_EQ(save.GetStageBest("data\\stg4\\a."), 123);
  EXPECT_EQ(save.m_vPlayers.size(), 1u);
  ASSERT_EQ(save.m_vSwitches.size(), 1000u);
  EXPECT_EQ(save.m_vSwitches[2], 1);
  EXPECT_EQ(save.m_vSwitches[999], 0);
  ASSERT_EQ(save.m_vVariables.size(), 256u);
  EXPECT_EQ(save.m_vVariables[1], 22);
  EXPECT_EQ(save.m_vChallenge.size(), static_cast<std::size_t>(g_SystemData.m_nChallengeStages));
}

// The registered fields of a save in file order, with the first data
// version that stores each.
struct SaveField {
  std::int32_t cSaveData::*member;
  std::uint32_t from;
};
constexpr SaveField kSaveFields[] = {
    {&cSaveData::m_bCarried, 0},        {&cSaveData::m_nMapX, 0},
    {&cSaveData::m_nMapY, 0},           {&cSaveData::m_nMapEntry, 0},
    {&cSaveData::m_nRound, 0},          {&cSaveData::m_nStageNo, 0},
    {&cSaveData::m_nSeriesNo, 0},       {&cSaveData::m_nStartLives, 0},
    {&cSaveData::m_nLives, 0},          {&cSaveData::m_nScore, 0},
    {&cSaveData::m_nTotalScore, 0},     {&cSaveData::m_nBestTotal, 0},
    {&cSaveData::m_nTotalTimeLeft, 0},  {&cSaveData::m_nTotalClearTime, 0},
    {&cSaveData::m_nTotalHP, 182},      {&cSaveData::m_nTotalSP, 182},
    {&cSaveData::m_bSeries, 0},         {&cSaveData::m_nStageBgm, 0},
    {&cSaveData::m_bStageBgmLoop, 166}, {&cSaveData::m_nMapPoint, 194},
    {&cSaveData::m_bGaveUp, 190},       {&cSaveData::m_nMapReturnX, 191},
    {&cSaveData::m_nMapReturnY, 191},   {&cSaveData::m_nOpenStages, 0},
    {&cSaveData::m_nSaveSlot, 0},       {&cSaveData::m_bAutoSave, 169},
    {&cSaveData::m_bShowRanking, 0},    {&cSaveData::m_nRankingKind, 0},
};

TEST_F(SaveDataTest, EachVersionStoresItsFieldsAndOlderOnesGetTheirUpgrades) {
  g_SystemData.m_nChallengeStages = 40;
  for (std::uint32_t version : {165u, 166u, 168u, 169u, 181u, 182u, 189u, 190u, 191u, 193u, 194u}) {
    SCOPED_TRACE(version);
    // Field i holds i + 1; the record loaded into holds 77 everywhere.
    ByteBuilder b;
    b.U32(version);
    std::vector<std::int32_t> values;
    for (std::size_t i = 0; i < std::size(kSaveFields); ++i) {
      if (version >= kSaveFields[i].from) values.push_back(static_cast<std::int32_t>(i + 1));
    }
    b.U32(static_cast<std::uint32_t>(values.size()));
    for (std::int32_t v : values) b.I32(v);
    b.Strings({"data\\stg4\\a.", "name"});
    b.Raw(std::vector<std::uint8_t>(16, 0).data(), 16);
    b.U32(0).U32(0).U32(0).U32(0).U32(0);  // players, bests, challenge, switches, variables

    cSaveData save;
    for (const SaveField& field : kSaveFields) save.*field.member = 77;
    ASSERT_TRUE(save.LoadBytes(b.Get()));
    for (std::size_t i = 0; i < std::size(kSaveFields); ++i) {
      const SaveField& field = kSaveFields[i];
      SCOPED_TRACE(i);
      const std::int32_t upgraded = field.member == &cSaveData::m_bStageBgmLoop ? 1 : 0;
      EXPECT_EQ(save.*field.member,
                version >= field.from ? static_cast<std::int32_t>(i + 1) : upgraded);
    }
  }
}

TEST_F(SaveDataTest, ChallengeRecordsFollowTheProjectsNumberOfStages) {
  g_SystemData.m_nChallengeStages = 2;
  cSaveData save;
  ASSERT_TRUE(save.LoadBytes(Version300File(4, 5)));
  ASSERT_EQ(save.m_vChallenge.size(), 2u);
  EXPECT_EQ(save.m_vChallenge[1].m_nBest, 101);
  EXPECT_EQ(save.m_nOpenStages, 2);
}

TEST_F(SaveDataTest, AFileCutAnywhereFailsAndLeavesTheProgressAsItWas) {
  const std::vector<std::uint8_t> whole = PlayedProgress().SaveBytes();
  cSaveData save;
  save.m_nLives = 3;
  const std::vector<std::uint8_t> before = save.SaveBytes();
  for (std::size_t size = 0; size < whole.size(); size += 7) {
    ASSERT_FALSE(save.LoadBytes({whole.begin(), whole.begin() + static_cast<long>(size)}))
        << "cut at " << size;
  }
  EXPECT_EQ(save.SaveBytes(), before);
}

TEST_F(SaveDataTest, TheLifeRuleFollowsThePlayModesSettings) {
  struct Case {
    int mode, infinite, startLives, storedLives, lives, startLivesAfter;
  };
  const Case cases[] = {
      {PLAY_STORY, 1, 5, 3, UNLIMITED_LIVES, UNLIMITED_LIVES},
      {PLAY_STORY, 0, 5, UNLIMITED_LIVES, 5, 0},
      {PLAY_STORY, 0, 5, 3, 3, 0},
      {PLAY_CHALLENGE, 0, 8, UNLIMITED_LIVES, 8, 0},
      {PLAY_CHALLENGE, 1, 8, 2, UNLIMITED_LIVES, UNLIMITED_LIVES},
  };
  TempFolder folder;
  ScopedCurrentFolder enter(folder.path());
  fs::create_directories("user_data/story");
  fs::create_directories("user_data/challenge");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " infinite " << c.infinite
                                    << " stored " << c.storedLives);
    g_SystemData.m_vInfiniteLives.at(static_cast<std::size_t>(c.mode)) = c.infinite;
    g_SystemData.m_vStartLives.at(static_cast<std::size_t>(c.mode)) = c.startLives;
    cSaveData stored;
    stored.m_nLives = c.storedLives;
    cSaveData loaded;
    if (c.mode == PLAY_STORY) {
      ASSERT_EQ(stored.SaveStory(4), 1);
      ASSERT_EQ(loaded.LoadStory(4), 1);
    } else {
      ASSERT_EQ(stored.SaveChallenge(), 1);
      ASSERT_EQ(loaded.LoadChallenge(), 1);
    }
    EXPECT_EQ(loaded.m_nLives, c.lives);
    EXPECT_EQ(loaded.m_nStartLives, c.startLivesAfter);
  }
}

TEST_F(SaveDataTest, StageKeysAndBests) {
  struct KeyCase {
    const char* path;
    const char* key;
    int series;
  };
  const KeyCase keys[] = {
      {"x\\boss-1.stg4_003", "x\\boss.", 1},  {"x\\boss-12.stg4_003", "x\\boss.", 1},
      {"x\\a.b.stg4_001", "x\\a.b.", 0},      {"stg4\\a.stg4_001", "stg4\\a.", 0},
      {"noextension", "", 0},                 {"a-1\\b-2.stg4_000", "a.", 1},
  };
  cSaveData save;
  for (const KeyCase& k : keys) {
    save.SetStageFile(k.path);
    EXPECT_EQ(save.m_strStagePath, k.key) << k.path;
    EXPECT_EQ(save.m_bSeries, k.series) << k.path;
  }

  save.m_nBestTotal = 100;
  save.RecordStageBest("a.", 500);
  EXPECT_EQ(save.m_nBestTotal, 600);
  save.RecordStageBest("a.", 400);
  save.RecordStageBest("a.", 500);
  EXPECT_EQ(save.m_nBestTotal, 600);
  save.RecordStageBest("a.", 650);
  EXPECT_EQ(save.m_nBestTotal, 750);
  EXPECT_EQ(save.GetStageBest("a."), 650);
  EXPECT_EQ(save.GetStageBest("A."), 0);  // keys compare byte for byte
}

TEST_F(SaveDataTest, StepRankingKindMovesOverTheEnabledKindsAndWraps) {
  struct Case {
    std::vector<std::uint8_t> kinds;
    int from, step, to;
  };
  const Case cases[] = {
      {{0, 0, 1, 0, 0}, 4, 1, 2},  {{0, 0, 1, 0, 0}, 2, -1, 2}, {{1, 0, 1, 0, 1}, 4, 1, 0},
      {{1, 0, 1, 0, 1}, 0, -1, 4}, {{1, 0, 1, 0, 1}, 1, 0, 2},  {{1, 0, 1, 0, 1}, 0, 2, 4},
      {{0, 0, 0, 0, 0}, 3, 1, 3},
  };
  for (const Case& c : cases) {
    g_SystemData.m_vRanking.at(PLAY_STORY).m_vKinds = c.kinds;
    cSaveData save;
    save.m_nRankingKind = c.from;
    save.StepRankingKind(PLAY_STORY, c.step);
    EXPECT_EQ(save.m_nRankingKind, c.to) << "from " << c.from << " step " << c.step;
  }
}

TEST_F(SaveDataTest, ASnapshotRestoredGivesBackTheStateItWasTakenFrom) {
  cSaveData save = PlayedProgress();
  save.TakeStageSnapshot();
  const std::vector<std::uint8_t> atStart = save.SaveBytes();

  save.m_vVariables[3] = 99;
  save.m_vVariables[200] = -5;
  save.m_nLives -= 1;
  save.m_nTotalScore += 300;
  save.RestoreStageSnapshot(1, PLAY_STORY, 0);
  EXPECT_EQ(save.SaveBytes(), atStart);
}

TEST_F(SaveDataTest, AfterAMissTheVariablesReturnWhereThePlayModeSaysSo) {
  g_SystemData.m_bStoryRestoreVars = 0;
  g_SystemData.m_bChallengeRestoreVars = 1;
  g_SystemData.m_bFreeRestoreVars = 0;
  g_SystemData.m_bDirectRestoreVars = 1;
  struct Case {
    int mode, direct, restored;
  };
  const Case cases[] = {{PLAY_STORY, 0, 0},     {PLAY_CHALLENGE, 0, 1}, {PLAY_FREESTAGE, 0, 0},
                        {PLAY_REPLAY, 0, 1},    {PLAY_STORY, 1, 1}};
  for (const Case& c : cases) {
    cSaveData save;
    save.m_vVariables[1] = 10;
    save.m_nLives = 5;
    save.m_nTotalScore = 100;
    save.TakeStageSnapshot();
    save.m_vVariables[1] = 20;
    save.m_nLives = 4;
    save.m_nTotalScore = 160;
    save.RestoreStageSnapshot(0, c.mode, c.direct);
    EXPECT_EQ(save.m_vVariables[1], c.restored ? 10 : 20) << "mode " << c.mode;
    EXPECT_EQ(save.m_nTotalScore, 100);
    EXPECT_EQ(save.m_nLives, 4);  // a miss has taken its life
  }
}

TEST_F(SaveDataTest, CarriedStatusGoesFromTheHeroToTheNextStagesHero) {
  g_SystemData.m_vCarryFlags.assign(25, 0);
  for (int k : {CARRY_GRAPHIC, CARRY_CHARA_EFFECT, CARRY_HP, CARRY_MAX_HP, CARRY_FLOWS,
                CARRY_TIME_LEFT, CARRY_LIVES, CARRY_STAGE_BGM}) {
    g_SystemData.m_vCarryFlags[static_cast<std::size_t>(k)] = 1;
  }
  cEdChara hero;
  hero.m_nGraphicNo = 0;
  hero.m_nGraphicSub = 6;
  hero.m_nMaxHP = 55;
  hero.m_nPower = 9;  // not carried
  hero.m_vFlow.resize(2);

  cSaveData save;
  save.StoreCarriedStatus(0, hero, 33, 7, 4, 2, 0, 120, 6, 3);
  EXPECT_EQ(save.m_bCarried, 1);
  EXPECT_EQ(save.m_vCarryStored[CARRY_HP], 1);
  EXPECT_EQ(save.m_vCarryStored[CARRY_SP], 0);

  cEdChara next;
  cEdStage stage;
  save.m_nLives = 1;
  save.ApplyCarriedStatus(0, next, stage);
  EXPECT_EQ(next.m_nGraphicNo, 1);  // graphic 0 shows the first graphic
  EXPECT_EQ(next.m_nGraphicSub, 6);
  EXPECT_EQ(next.m_nCharaEffect, 4);
  EXPECT_EQ(next.m_nCharaEffectMode, 2);
  EXPECT_EQ(next.m_bCharaEffectLoop, 0);
  EXPECT_EQ(next.m_nMaxHP, 55);
  EXPECT_EQ(next.m_nPower, cEdChara().m_nPower);
  EXPECT_EQ(next.m_vFlow.size(), 2u);
  EXPECT_EQ(stage.m_nTimeLimit, 120);
  EXPECT_EQ(stage.m_nBgm, 3);
  EXPECT_EQ(save.m_nLives, 6);

  int hp = -1, sp = -1;
  save.GetCarriedCounters(0, &hp, &sp);
  EXPECT_EQ(hp, 33);
  EXPECT_EQ(sp, -1);  // SP is not carried

  g_SystemData.m_vResetFlags.assign(25, 0);
  g_SystemData.m_vResetFlags[CARRY_HP] = 1;
  save.ClearCarriedStatus();
  hp = -1;
  save.GetCarriedCounters(0, &hp, &sp);
  EXPECT_EQ(hp, -1);
  EXPECT_EQ(save.m_vCarryStored[CARRY_MAX_HP], 1);
}

TEST_F(SaveDataTest, NothingIsAppliedBeforeAnythingWasCarried) {
  g_SystemData.m_vCarryFlags.assign(25, 1);
  cSaveData save;
  save.m_vCarryStored.assign(25, 1);
  save.m_vPlayers[0].m_Chara.m_nMaxHP = 99;
  cEdChara hero;
  cEdStage stage;
  save.ApplyCarriedStatus(0, hero, stage);
  EXPECT_EQ(hero.m_nMaxHP, cEdChara().m_nMaxHP);
}

TEST_F(SaveDataTest, ANewRoundClearsTheSwitchesAndStartsAtTheMapsStart) {
  g_WorldMap.m_nStartX = 3;
  g_WorldMap.m_nStartY = 2;
  cSaveData save;
  save.m_nMapX = 10;
  save.m_vSwitches[5] = 1;
  save.StartNextRound();
  EXPECT_EQ(save.m_nRound, 1);
  EXPECT_EQ(save.m_vSwitches, std::vector<std::int32_t>(1000, 0));
  EXPECT_EQ(save.m_nMapX, 3);
  EXPECT_EQ(save.m_nMapY, 2);
}

class StorySlotTest : public SaveDataTest {
 protected:
  void SetUp() override {
    SaveDataTest::SetUp();
    fs::create_directories("user_data/story");
    g_SaveSlots.assign(STORY_SLOT_COUNT, cSaveSlot());
  }
  void TearDown() override {
    platform::SetWriteFunctionForTests(nullptr);
    SaveDataTest::TearDown();
  }

  static fs::path SlotFile(int slot) {
    return fs::path("user_data/story") / ("Story0" + std::to_string(slot + 1) + ".dat");
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
  ScopedMessageBoxes m_Boxes;
};

TEST_F(StorySlotTest, SavedSlotsAreListedWithTheirTimesAndLoadBack) {
  g_SystemData.m_vInfiniteLives.at(PLAY_STORY) = 0;  // the lives come back as saved
  cSaveData save = PlayedProgress();
  ASSERT_EQ(save.SaveStory(2), 1);
  EXPECT_EQ(g_SaveSlots[2].m_bUsed, 1);
  EXPECT_EQ(g_SaveSlots[2].m_stSaved, save.m_stSaved);
  EXPECT_GE(save.m_stSaved.wYear, 2024);

  std::vector<cSaveSlot> slots(STORY_SLOT_COUNT);
  ScanStorySlots(slots);
  for (int i = 0; i < STORY_SLOT_COUNT; ++i) EXPECT_EQ(slots[i].m_bUsed, i == 2 ? 1 : 0) << i;
  EXPECT_EQ(slots[2].m_stSaved, save.m_stSaved);

  cSaveData loaded;
  ASSERT_EQ(loaded.LoadStory(2), 1);
  EXPECT_EQ(loaded.SaveBytes(), save.SaveBytes());
  EXPECT_TRUE(m_Boxes.Shown().empty());
}

TEST_F(StorySlotTest, AFailedWriteLeavesTheSlotAndItsFileAsTheyWere) {
  cSaveData first = PlayedProgress();
  ASSERT_EQ(first.SaveStory(0), 1);
  const std::string oldFile = ReadTextFile(SlotFile(0));
  const cSaveSlot oldSlot = g_SaveSlots[0];

  platform::SetWriteFunctionForTests([](int, const void*, std::size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  });
  cSaveData second = PlayedProgress();
  second.m_nLives = 1;
  second.m_stSaved = {};
  EXPECT_EQ(second.SaveStory(0), 0);
  EXPECT_EQ(second.SaveStory(1), 0);
  EXPECT_EQ(ReadTextFile(SlotFile(0)), oldFile);
  EXPECT_FALSE(fs::exists(SlotFile(1)));
  EXPECT_EQ(g_SaveSlots[0].m_stSaved, oldSlot.m_stSaved);
  EXPECT_EQ(g_SaveSlots[1].m_bUsed, 0);
  EXPECT_EQ(second.m_stSaved, platform::SYSTEMTIME{});
  EXPECT_EQ(m_Boxes.Shown().size(), 2u);
}

TEST_F(StorySlotTest, ADamagedSlotIsUnusableAndLoadingItChangesNothing) {
  cSaveData save = PlayedProgress();
  ASSERT_EQ(save.SaveStory(5), 1);
  ASSERT_EQ(save.SaveStory(6), 1);
  // Slot 6 loses its end.
  const std::string whole = ReadTextFile(SlotFile(6));
  WriteTextFile(SlotFile(6), whole.substr(0, whole.size() / 2));

  std::vector<cSaveSlot> slots(STORY_SLOT_COUNT);
  ScanStorySlots(slots);
  EXPECT_EQ(slots[5].m_bUsed, 1);
  EXPECT_EQ(slots[6].m_bUsed, 0);

  g_SystemData.m_vInfiniteLives.at(PLAY_STORY) = 1;
  cSaveData current;
  current.m_nLives = 2;
  const std::vector<std::uint8_t> before = current.SaveBytes();
  EXPECT_EQ(current.LoadStory(6), 0);  // damaged
  EXPECT_EQ(current.LoadStory(7), 0);  // missing
  EXPECT_EQ(current.SaveBytes(), before);
  EXPECT_EQ(current.m_nLives, 2);
  EXPECT_EQ(m_Boxes.Shown().size(), 2u);
}

TEST_F(StorySlotTest, ADamagedChallengeFileIsKeptAsABackupBeforeAFreshProgressIsWritten) {
  fs::create_directories("user_data/challenge");
  const fs::path file = "user_data/challenge/Challenge.dat";
  const fs::path backup = "user_data/challenge/Challenge.dat.bak";
  cSaveData played = PlayedProgress();
  ASSERT_EQ(played.SaveChallenge(), 1);
  const std::string whole = ReadTextFile(file);
  const std::string damaged = whole.substr(0, whole.size() - 3);
  WriteTextFile(file, damaged);

  g_SystemData.m_vInfiniteLives.at(PLAY_CHALLENGE) = 0;  // the lives come back as saved
  cSaveData current;
  current.m_nLives = 2;
  const std::vector<std::uint8_t> before = current.SaveBytes();
  EXPECT_EQ(current.LoadChallenge(), 0);
  EXPECT_EQ(current.SaveBytes(), before);
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(ReadTextFile(backup), damaged);

  // The fresh progress written at the next clear leaves the backup alone.
  ASSERT_EQ(current.SaveChallenge(), 1);
  EXPECT_EQ(ReadTextFile(backup), damaged);
  cSaveData loaded;
  ASSERT_EQ(loaded.LoadChallenge(), 1);
  EXPECT_EQ(loaded.m_nLives, 2);
}

TEST_F(StorySlotTest, AFailedChallengeWriteIsReportedAndKeepsTheOldFile) {
  fs::create_directories("user_data/challenge");
  const fs::path file = "user_data/challenge/Challenge.dat";
  cSaveData first = PlayedProgress();
  ASSERT_EQ(first.SaveChallenge(), 1);
  const std::string oldFile = ReadTextFile(file);
  platform::SetWriteFunctionForTests([](int, const void*, std::size_t) -> ssize_t {
    errno = EIO;
    return -1;
  });
  cSaveData second = PlayedProgress();
  second.m_nLives = 1;
  EXPECT_EQ(second.SaveChallenge(), 0);
  EXPECT_EQ(ReadTextFile(file), oldFile);
  EXPECT_EQ(m_Boxes.Shown().size(), 1u);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator("user_data/challenge"), fs::directory_iterator()), 1);
}

TEST_F(StorySlotTest, AMissingChallengeFileLoadsNothing) {
  cSaveData save;
  save.m_nLives = 3;
  EXPECT_EQ(save.LoadChallenge(), 0);
  EXPECT_EQ(save.m_nLives, 3);
}

}  // namespace
