// The stage record: its file layout by version, upgrades, validation, speed
// constants, the hero and the start state.
#include "model/stage/stage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>

#include "model/stage/common_palette.h"
#include "model/definitions/definition_context.h"
#include "stage_file_bytes.h"
#include "support/field_table_size.h"
#include "support/stage_fixture.h"

namespace {

using stage_bytes::FieldRows;
using stage_bytes::FileValue;

class StageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    g_CommonPalette = cEdCommonPalette();
    g_LoadedStage = cEdStage();
  }
};

// The values of one field entry, by its name in the stage's field table.
std::vector<double> FieldValues(cEdStage& stage, const std::string& name) {
  for (const cEdField& field : stage.FieldTable(DATA_VERSION)) {
    if (name != field.name) continue;
    std::vector<double> values;
    for (int e = 0; e < field.count; ++e) {
      const auto* at = static_cast<const std::uint8_t*>(field.address) + e * field.size;
      if (field.size == 8) {
        double d;
        std::memcpy(&d, at, 8);
        values.push_back(d);
      } else {
        std::int32_t i;
        std::memcpy(&i, at, 4);
        values.push_back(i);
      }
    }
    return values;
  }
  ADD_FAILURE() << "no field " << name;
  return {};
}

TEST_F(StageTest, FieldTableSizesAtEachVersionBoundary) {
  // Elements (a row of two members counts two) and bytes of the field part.
  struct Size {
    int version;
    std::size_t elements;
    std::size_t bytes;
  };
  const Size sizes[] = {{100, 71, 308}, {154, 71, 308}, {155, 79, 340}, {165, 79, 340},
                        {166, 80, 344}, {182, 80, 344}, {183, 81, 348}, {184, 82, 352},
                        {198, 82, 352}, {199, 83, 356}, {200, 97, 412}, {224, 97, 412},
                        {225, 98, 416}, {566, 98, 416}};
  cEdStage stage;
  for (const Size& size : sizes) {
    SCOPED_TRACE(size.version);
    const std::vector<cEdField> table = stage.FieldTable(size.version);
    EXPECT_EQ(FieldValueCount(table), size.elements);
    EXPECT_EQ(FieldByteCount(table), size.bytes);
    EXPECT_EQ(stage.StringTable(size.version).size(), 1u);
  }
}

// What a field that the file's version lacks holds after loading: the
// upgrade's value, else the default of a new stage.
std::map<std::string, std::vector<double>> ValuesOfMissingFields(std::uint32_t version) {
  std::map<std::string, std::vector<double>> values = {
      {"m_bBgmLoop", {0}},          {"m_bBgmKeep", {0}},
      {"m_bStatusBar", {1}},        {"m_bSkipResult", {0}},
      {"m_bStartBanner2", {0}},     {"m_nPlayerSize", {16, 24}},
      {"m_nPlayerFlySize", {16, 16}}, {"m_bPlayerSizeBottom", {1}},
      {"m_bPlayerFlySizeBottom", {0}}, {"m_nShowPlayerSize", {0}},
      {"m_nPlayerSizeColour", {5}}, {"m_nCharaSize", {16, 30}},
      {"m_nCharaFlySize", {16, 30}}, {"m_bCharaSizeBottom", {1}},
      {"m_bCharaFlySizeBottom", {1}}, {"m_bPlayerBox1Bottom", {0}},
      {"m_bPlayerFlyBox1Bottom", {0}}, {"m_bCharaBox1Bottom", {0}},
      {"m_bCharaFlyBox1Bottom", {0}},
  };
  if (version < 166) values["m_bBgmLoop"] = {1};
  return values;
}

TEST_F(StageTest, OldFilesLoadWithTheirUpgrades) {
  const std::uint32_t versions[] = {124, 125, 154, 155, 165, 166, 172, 173, 180, 181,
                                    182, 183, 184, 198, 199, 200, 224, 225, 566};
  const auto& rows = FieldRows();
  for (std::uint32_t version : versions) {
    SCOPED_TRACE(version);
    stage_bytes::Options options;
    if (version < 181) options.rankingFlags = {1, 1, 1};
    cEdStage stage;
    std::string error;
    ASSERT_TRUE(stage.LoadBytes(stage_bytes::StageFile(version, options), &error)) << error;

    const auto missing = ValuesOfMissingFields(version);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const std::string name = rows[r].name;
      SCOPED_TRACE(name);
      if (name.rfind("m_nSubSteps", 0) == 0 || name.rfind("m_dSubSteps", 0) == 0 ||
          name.rfind("m_dMaxSpeed", 0) == 0 || name == "m_dGravityStep") {
        continue;  // derived, checked below
      }
      std::vector<double> expected;
      if (rows[r].version <= static_cast<int>(version)) {
        for (int e = 0; e < rows[r].count; ++e) expected.push_back(FileValue(rows[r], static_cast<int>(r), e));
      } else if (name == "m_nPlayerFlyBox1") {
        expected = FieldValues(stage, "m_nPlayerBox1");
      } else if (name == "m_nCharaFlyBox1") {
        expected = FieldValues(stage, "m_nCharaBox1");
      } else {
        expected = missing.at(name);
      }
      EXPECT_EQ(FieldValues(stage, name), expected);
    }
    // Speed level 5: five sub-steps, 6 pixels per sub-step.
    EXPECT_EQ(stage.m_nSubSteps, 5);
    EXPECT_EQ(stage.m_nSubSteps6, 30);
    EXPECT_EQ(stage.m_nSubSteps8, 40);
    EXPECT_EQ(stage.m_dMaxSpeed, 30.0);
    EXPECT_EQ(stage.m_dMaxSpeedStep, 6.0);
    EXPECT_EQ(stage.m_dGravityStep, 0.5 / 25);

    const std::vector<std::int32_t> flags =
        version < 181 ? std::vector<std::int32_t>{1, 1, 1, 0, 0} : options.rankingFlags;
    EXPECT_EQ(stage.m_vRankingFlags, flags);
    // Rules of files before 125 keep the switches of a new stage.
    const cEdScreenOutRule& charas = stage.m_aScreenOut[SCREENOUT_CHARA];
    const cEdScreenOutRule& shots = stage.m_aScreenOut[SCREENOUT_PLAYER_SHOT];
    EXPECT_EQ(charas.m_bLeft, 1);
    EXPECT_EQ(charas.m_bTop, version >= 125 ? 1 : 0);
    EXPECT_EQ(shots.m_bRight, version >= 125 ? 0 : 1);
    EXPECT_EQ(shots.m_nBottom, 7);
    // Palette lists stored empty hold the empty entry and a default one.
    EXPECT_EQ(stage.m_vPaletteBlocks.size(), 2u);
    EXPECT_EQ(stage.m_vPaletteCharas.size(), 2u);
    EXPECT_EQ(stage.m_vPaletteItems.size(), 2u);
    ASSERT_EQ(stage.m_vBackgrounds.size(), 1u);
    EXPECT_EQ(stage.m_vBackgrounds[0].m_strImage, "bg.bmp");
    ASSERT_EQ(stage.m_vStageStrings.size(), 1u);
    EXPECT_EQ(stage.m_vStageStrings[0].m_strText, "text");
    EXPECT_EQ(stage.m_strName, "old stage");
  }
}

TEST_F(StageTest, FieldCountWithEveryPairCountedTwiceLoadsTheSameValues) {
  stage_bytes::Options twice;
  twice.pairsAsTwoEntries = true;
  cEdStage once, both;
  ASSERT_TRUE(once.LoadBytes(stage_bytes::StageFile(DATA_VERSION)));
  ASSERT_TRUE(both.LoadBytes(stage_bytes::StageFile(DATA_VERSION, twice)));
  EXPECT_EQ(once.SaveBytes(), both.SaveBytes());
}

TEST_F(StageTest, EndMarkerIsReadFrom173On) {
  // 172 has none: the file ends with the stage strings.
  cEdStage stage;
  EXPECT_TRUE(stage.LoadBytes(stage_bytes::StageFile(172)));
  // 173 has one, read but not checked.
  stage_bytes::Options wrong;
  wrong.marker = 42;
  EXPECT_TRUE(stage.LoadBytes(stage_bytes::StageFile(173, wrong)));
  // A 173 file that stops before its marker is cut.
  stage_bytes::Options none;
  none.endMarker = false;
  std::string error;
  EXPECT_FALSE(stage.LoadBytes(stage_bytes::StageFile(173, none), &error));
  EXPECT_NE(error.find("ends early"), std::string::npos) << error;
}

TEST_F(StageTest, SaveWritesTheLayoutInTheCurrentVersion) {
  cEdStage stage = MakeTestStage();
  const std::vector<std::uint8_t> bytes = stage.SaveBytes();

  cDataReader f(bytes);
  std::uint32_t version = 0, fields = 0;
  f.ReadU32(version);
  f.ReadU32(fields);
  EXPECT_EQ(version, DATA_VERSION);
  EXPECT_EQ(fields, 82u);  // rows, a row of two members being one entry
  f.Read(nullptr, 416);
  std::uint32_t strings = 0, length = 0;
  f.ReadU32(strings);
  f.ReadU32(length);
  EXPECT_EQ(strings, 1u);
  f.Read(nullptr, length);
  std::uint32_t flagCount = 0;
  f.ReadU32(flagCount);
  EXPECT_EQ(flagCount, 5u);

  // The end marker closes the file.
  std::uint32_t last = 0;
  std::memcpy(&last, bytes.data() + bytes.size() - 4, 4);
  EXPECT_EQ(last, STAGE_END_MARKER);

  // Each placed element follows a 0 word.
  std::vector<std::uint8_t> blockRecord = stage.m_vPlacedBlocks[0].SaveBytes();
  blockRecord.erase(blockRecord.begin(), blockRecord.begin() + 4);  // its version word
  std::vector<std::uint8_t> expected = {3, 0, 0, 0, 0, 0, 0, 0};
  expected.insert(expected.end(), blockRecord.begin(), blockRecord.end());
  const auto found = std::search(bytes.begin(), bytes.end(), expected.begin(), expected.end());
  EXPECT_NE(found, bytes.end()) << "count 3, a 0 word, then the first placed block";
}

TEST_F(StageTest, SaveLoadSaveGivesTheSameBytes) {
  cEdStage stage = MakeTestStage();
  const std::vector<std::uint8_t> first = stage.SaveBytes();
  cEdStage loaded;
  std::string error;
  ASSERT_TRUE(loaded.LoadBytes(first, &error)) << error;
  EXPECT_EQ(loaded.SaveBytes(), first);
  EXPECT_EQ(loaded.m_vPlacedCharas.size(), 2u);
  EXPECT_EQ(loaded.m_vPaletteBlocks[1].m_strName, "壁");
  EXPECT_EQ(loaded.m_vStageStrings[0].m_strText, "はじめ");
}

TEST_F(StageTest, EntryZeroOfEachPaletteListComesBackEmpty) {
  cEdStage stage = MakeTestStage();
  stage.m_vPaletteBlocks[0].m_nGraphicNo = 99;
  stage.m_vPaletteBlocks[0].m_vCondition.resize(2);
  stage.m_vPaletteCharas[0].m_nMaxHP = 500;
  stage.m_vPaletteItems[0].m_strName = "stored";
  cEdStage loaded;
  ASSERT_TRUE(loaded.LoadBytes(stage.SaveBytes()));
  EXPECT_EQ(loaded.m_vPaletteBlocks[0].SaveBytes(), cEdBlock().SaveBytes());
  EXPECT_EQ(loaded.m_vPaletteCharas[0].SaveBytes(), cEdChara().SaveBytes());
  EXPECT_EQ(loaded.m_vPaletteItems[0].SaveBytes(), cEdItem().SaveBytes());
  EXPECT_EQ(loaded.m_vPaletteBlocks[1].m_nGraphicNo, 12);
}

TEST_F(StageTest, PaletteEntriesInheritFromThePaletteBeingRead) {
  cEdStage stage = MakeTestStage();
  // A placed block that takes its graphics (group 2) and collision (group 6)
  // from stage palette block 3, and keeps its own name.
  cEdBlock child;
  child.m_strName = "child";
  child.m_nInheritKind = 2;
  child.m_nInheritIndex = 3;
  child.m_vInheritFlag[2] = 1;
  child.m_vInheritFlag[6] = 1;
  child.m_nGraphicNo = 5;
  stage.m_vPlacedBlocks.push_back(child);
  // A palette block whose parent is a later entry takes that entry's
  // defaults: the entries after it are not read yet.
  cEdBlock early;
  early.m_nGraphicNo = 7;
  early.m_nInheritKind = 2;
  early.m_nInheritIndex = 3;
  early.m_vInheritFlag[2] = 1;
  stage.m_vPaletteBlocks.insert(stage.m_vPaletteBlocks.begin() + 1, early);
  // Another stage is the one being played: it must not be the parent.
  g_LoadedStage = cEdStage();
  cEdStage loaded;
  ASSERT_TRUE(loaded.LoadBytes(stage.SaveBytes()));

  const cEdBlock& placedChild = loaded.m_vPlacedBlocks[3];
  EXPECT_EQ(placedChild.m_strName, "child");
  EXPECT_EQ(placedChild.m_nGraphicNo, 40);  // spikes, now palette entry 3
  EXPECT_EQ(placedChild.m_nCollision, 2);
  EXPECT_EQ(loaded.m_vPaletteBlocks[1].m_nGraphicNo, 0);  // the default of an unread entry
}

TEST_F(StageTest, PlacedEntriesInheritFromTheCommonPalette) {
  cEdBlock common;
  common.m_nGraphicNo = 77;
  common.m_nLayer = 1;
  g_CommonPalette.m_vBlocks.push_back(common);  // entry 1
  cEdStage stage = MakeTestStage();
  cEdBlock child;
  child.m_nInheritKind = 1;
  child.m_nInheritIndex = 1;
  child.m_vInheritFlag[2] = 1;
  child.m_vInheritFlag[3] = 1;
  stage.m_vPlacedBlocks.push_back(child);
  cEdStage loaded;
  ASSERT_TRUE(loaded.LoadBytes(stage.SaveBytes()));
  EXPECT_EQ(loaded.m_vPlacedBlocks.back().m_nGraphicNo, 77);
  EXPECT_EQ(loaded.m_vPlacedBlocks.back().m_nLayer, 1);
}

TEST_F(StageTest, ValidationChecksReferencesAgainstTheStageItValidates) {
  // g_LoadedStage has two blocks and two items in its palette; the stage
  // saved here has more, and its references into them stay.
  g_LoadedStage.Validate();
  cEdStage stage = MakeTestStage();
  cEdBlock child;
  child.m_nGraphicNo = 3;
  child.m_nInheritKind = 2;
  child.m_nInheritIndex = 2;
  child.m_nItemKind = 2;
  child.m_nItemIndex = 1;
  stage.m_vPlacedBlocks.push_back(child);
  stage.Validate();
  EXPECT_EQ(stage.m_vPlacedBlocks.back().m_nInheritKind, 2);
  EXPECT_EQ(stage.m_vPlacedBlocks.back().m_nInheritIndex, 2);
  // Beyond its own item palette (two entries) the reference is cleared.
  stage.m_vPlacedBlocks.back().m_nItemIndex = 2;
  stage.Validate();
  EXPECT_EQ(stage.m_vPlacedBlocks.back().m_nItemKind, 0);

  // Its speed constants are its own, whatever g_LoadedStage runs at.
  g_LoadedStage.SetSpeedLevel(3);
  stage.m_nSpeedLevel = 12;
  stage.Validate();
  EXPECT_EQ(stage.m_nSubSteps, 2);
  EXPECT_EQ(g_LoadedStage.m_nSubSteps, 3);
}

TEST_F(StageTest, ValidationBoundsTheMapAndTheViewLimits) {
  struct Case {
    std::int32_t width, height;
    std::int32_t expectWidth, expectHeight;
  };
  const Case cases[] = {{60, 20, 60, 20},
                        {-5, -1, 0, 0},
                        {STAGE_MAX_CELLS, STAGE_MAX_CELLS, STAGE_MAX_CELLS, STAGE_MAX_CELLS},
                        {2000000000, 70000, STAGE_MAX_CELLS, STAGE_MAX_CELLS}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    cEdStage stage;
    stage.m_nWidth = c.width;
    stage.m_nHeight = c.height;
    stage.m_nLimitLeft = stage.m_nLimitRight = stage.m_nLimitTop = stage.m_nLimitBottom = 1000000;
    stage.Validate();
    EXPECT_EQ(stage.m_nWidth, c.expectWidth);
    EXPECT_EQ(stage.m_nHeight, c.expectHeight);
    // The view of 20 x 15 cells stays inside the stage.
    EXPECT_EQ(stage.m_nLimitLeft, c.expectWidth - 20);
    EXPECT_EQ(stage.m_nLimitRight, c.expectWidth - 1);
    EXPECT_EQ(stage.m_nLimitTop, c.expectHeight - 15);
    EXPECT_EQ(stage.m_nLimitBottom, c.expectHeight - 1);
  }
}

class BgmCount : public cDefinitionContext {
 public:
  std::optional<std::size_t> DatabaseListSize(eDatabaseList list) const override {
    if (list == eDatabaseList::Bgm) return 4;
    return std::nullopt;
  }
};

TEST_F(StageTest, MusicOutsideTheMusicListStops) {
  BgmCount bgm;
  SetDefinitionContext(&bgm);
  for (const auto& [stored, expected] : std::vector<std::pair<int, int>>{{3, 3}, {4, 0}, {-1, 0}}) {
    cEdStage stage;
    stage.m_nBgm = stored;
    stage.Validate();
    EXPECT_EQ(stage.m_nBgm, expected) << stored;
  }
  SetDefinitionContext(nullptr);
}

TEST_F(StageTest, SpeedLevelsGiveTheirConstants) {
  struct Case {
    int level, storedLevel, subSteps;
    double maxSpeed, maxSpeedStep;
  };
  const Case cases[] = {
      {1, 1, 1, 6, 6},       {10, 10, 10, 60, 6},   {11, 11, 1, 60, 60},
      {15, 15, 5, 60, 12},   {19, 19, 9, 60, 60.0 / 9},
      // Outside 1..19 the level is clamped, never divided by.
      {0, 1, 1, 6, 6},       {-3, 1, 1, 6, 6},      {20, 19, 9, 60, 60.0 / 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    cEdStage stage;
    stage.m_dGravity = 0.4;
    stage.SetSpeedLevel(c.level);
    EXPECT_EQ(stage.m_nSpeedLevel, c.storedLevel);
    EXPECT_EQ(stage.m_nSubSteps, c.subSteps);
    EXPECT_EQ(stage.m_dSubSteps, c.subSteps);
    EXPECT_EQ(stage.m_dSubStepsSq, c.subSteps * c.subSteps);
    EXPECT_EQ(stage.m_nSubSteps6, 6 * c.subSteps);
    EXPECT_EQ(stage.m_nSubSteps8, 8 * c.subSteps);
    EXPECT_EQ(stage.m_dMaxSpeed, c.maxSpeed);
    EXPECT_DOUBLE_EQ(stage.m_dMaxSpeedStep, c.maxSpeedStep);
    EXPECT_DOUBLE_EQ(stage.m_dGravityStep, 0.4 / (c.subSteps * c.subSteps));
  }
}

TEST_F(StageTest, HitChecksRunOnTheChosenSubSteps) {
  struct Case {
    int level, hitLevel;
    std::vector<std::int8_t> steps;
  };
  const std::vector<Case> cases = {
      {10, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {10, 1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {10, 3, {1, 0, 0, 1, 0, 0, 1, 0, 0, 0}},
      {10, 4, {1, 0, 1, 0, 0, 1, 0, 1, 0, 0}},
      {3, 5, {1, 1, 1}},  // more checks than sub-steps: every one
      {10, -2, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.level << "/" << c.hitLevel);
    cEdStage stage;
    stage.SetSpeedLevel(c.level);
    stage.m_nHitCheckLevel = c.hitLevel;
    EXPECT_EQ(stage.HitCheckSteps(), c.steps);
  }
}

TEST_F(StageTest, FindHeroSkipsHeroesWithoutAGraphic) {
  cEdStage stage;
  EXPECT_EQ(stage.FindHero(), -1);
  cEdChara enemy, invisibleHero, hero;
  enemy.m_nGraphicNo = 4;
  invisibleHero.m_nControl = 0;
  hero.m_nControl = 0;
  hero.m_nGraphicNo = 2;
  stage.m_vPlacedCharas = {enemy, invisibleHero, hero, hero};
  EXPECT_EQ(stage.FindHero(), 2);
  EXPECT_TRUE(stage.HasHero());
}

TEST_F(StageTest, StartStateCopiesSettingsNotObjects) {
  cEdStage loaded = MakeTestStage();
  cEdStage start;
  start.CopyStartState(loaded);
  start.ClearObjectLists();
  EXPECT_EQ(start.m_nWidth, 60);
  EXPECT_EQ(start.m_strName, loaded.m_strName);
  EXPECT_EQ(start.m_vRankingFlags, loaded.m_vRankingFlags);
  EXPECT_EQ(start.m_aScreenOut[SCREENOUT_CHARA].SaveBytes(), loaded.m_aScreenOut[SCREENOUT_CHARA].SaveBytes());
  EXPECT_EQ(start.m_vBackgrounds.size(), 2u);
  EXPECT_EQ(start.m_vStageStrings.size(), 2u);
  EXPECT_TRUE(start.m_vPlacedBlocks.empty());
  EXPECT_TRUE(start.m_vPaletteCharas.empty());

  // Play changes settings; a restart takes the start state back and keeps
  // the objects.
  const std::vector<std::uint8_t> before = loaded.SaveBytes();
  loaded.m_bAutoScrollX = 0;
  loaded.m_nAutoScrollSpeedX = 40;
  loaded.m_nTimeLimit = 3;
  loaded.m_vBackgrounds[1].m_dOffsetX = 17.5;
  loaded.m_aScreenOut[SCREENOUT_ITEM].SetAll(1, 1, 1, 1, 1, 1, 1, 1);
  loaded.m_vStageStrings.clear();
  loaded.m_vRankingFlags[0] = 0;
  loaded.CopyStartState(start);
  EXPECT_EQ(loaded.SaveBytes(), before);
}

TEST_F(StageTest, ResetGivesTheDefaultsOfANewStage) {
  cEdStage stage = MakeTestStage();
  stage.Reset();
  EXPECT_TRUE(stage.m_vPlacedCharas.empty());
  EXPECT_EQ(stage.m_vPaletteBlocks.size(), 1u);
  ASSERT_EQ(stage.m_vBackgrounds.size(), 1u);
  EXPECT_EQ(stage.m_vBackgrounds[0].m_bFill, 1);
  EXPECT_EQ(stage.m_vRankingFlags, std::vector<std::int32_t>(5, 1));
  EXPECT_EQ(stage.m_aScreenOut[SCREENOUT_CHARA_SHOT].m_bBottom, 1);
  EXPECT_EQ(stage.m_aScreenOut[SCREENOUT_CHARA_SHOT].m_nBottom, 0);
  EXPECT_EQ(stage.m_aScreenOut[SCREENOUT_PLAYER_SHOT].m_nLeft, 10);
  EXPECT_EQ(stage.m_aScreenOut[SCREENOUT_CHARA].m_bLeft, 0);
  EXPECT_EQ(stage.m_nFps, 60);
  EXPECT_EQ(stage.m_nSpeedLevel, 10);
  EXPECT_EQ(stage.m_dGravity, 0.4);
  EXPECT_EQ(stage.m_nReserved3, 1);
  EXPECT_EQ(stage.m_nCharaBox2W, 30);
  EXPECT_EQ(stage.m_strName, "");
  EXPECT_EQ(stage.m_vStageStrings.size(), 2u);  // kept
}

}  // namespace
