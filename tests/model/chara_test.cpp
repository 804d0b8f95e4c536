// Character definitions: files of every layout written byte by byte, their
// upgrades and flows, validation, placement offsets and copies.
#include "model/definitions/chara.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "model/record/play_flags.h"
#include "support/definition_bytes.h"
#include "support/palette_fixture.h"

namespace {

// The stored fields in file order: name, width, first data version, the
// value the fixtures store.
struct FieldRow {
  const char* name;
  int size;
  std::uint32_t since;
  std::int32_t value;
};

constexpr FieldRow kCharaFields[] = {
    {"m_nInheritKind", 1, 0, 0},
    {"m_nInheritIndex", 2, 0, 0},
    {"m_nConditionMode", 1, 0, 1},
    {"m_bConditionOnce", 1, 0, 1},
    {"m_nFacing", 1, 0, 1},
    {"m_nRepeat", 1, 0, 2},
    {"m_nRepeatOffsetX", 2, 0, 8},
    {"m_nRepeatStepX", 2, 0, 4},
    {"m_nRepeatOffsetY", 2, 0, -6},
    {"m_nRepeatStepY", 2, 0, 3},
    {"m_bMirrorX", 1, 0, 1},
    {"m_bMirrorY", 1, 0, 0},
    {"m_nGraphicNo", 2, 0, 118},
    {"m_nGraphicKind", 1, 0, 3},
    {"m_nGraphicSub", 2, 0, 7},
    {"m_nAnimeSet", 2, 0, 5},
    {"m_nLayer", 1, 0, 4},
    {"m_bTransparent", 1, 0, 1},
    {"m_nCharaEffect", 2, 0, 6},
    {"m_nCharaEffectMode", 1, 196, 2},
    {"m_bCharaEffectLoop", 1, 0, 0},
    {"m_nDeathEffect", 2, 0, 9},
    {"m_nDeathEffectMode", 1, 196, 1},
    {"m_bOverlay", 1, 0, 1},
    {"m_nOverlayCell", 2, 0, 33},
    {"m_nControl", 1, 0, 0},
    {"m_nPlayerNo", 1, 0, 0},
    {"m_nTeam", 1, 0, 2},
    {"m_nCharaId", 1, 0, 42},
    {"m_nFlying", 1, 0, 2},
    {"m_bFixedFacing", 1, 0, 0},
    {"m_nInvincible", 1, 0, 1},
    {"m_nInvincibleColor", 1, 285, 5},
    {"m_bBlockChara", 1, 0, 1},
    {"m_nScale", 1, 0, 2},
    {"m_bScrollSync", 1, 210, 1},
    {"m_nSightShape", 1, 0, 3},
    {"m_nSight", 1, 0, 12},
    {"m_nMaxHP", 4, 0, 250},
    {"m_nMaxSP", 4, 0, 40},
    {"m_nStop", 2, 0, 150},
    {"m_nHitRange", 1, 201, 2},
    {"m_nPower", 4, 0, -30},
    {"m_nImpact", 1, 0, -7},
    {"m_nEffect", 2, 0, 11},
    {"m_nDefense", 4, 168, 77},
    {"m_nImpactResist", 1, 0, 13},
    {"m_nScore", 4, 0, 999},
    {"m_bExtraFlag", 1, 0, 0},
    {"m_bGroupActivate", 1, 0, 1},
    {"m_nActivateGroup", 2, 0, 17},
    {"m_nActiveRange", 1, 0, 3},
    {"m_nRangeRule", 1, 0, 2},
};

// What a field of kCharaFields holds after loading a file of that version.
std::int32_t ExpectedAfterLoad(const FieldRow& row, std::uint32_t version) {
  const std::string name = row.name;
  if (name == "m_nGraphicNo") return version < 219 ? 119 : row.value;  // shot sheet (kind 3)
  if (name == "m_nHitRange") return version < 201 ? 0 : version < 206 ? 3 : row.value;
  if (name == "m_nInvincibleColor") return version < 285 ? 1 : row.value;
  return version < row.since ? 0 : row.value;
}

// A character file: the fields the version has, the name, the tail, one
// appearance condition and four flows: a full one, a test-only one, an
// empty one and one with a command only.
std::vector<std::uint8_t> CharaFile(std::uint32_t version, const std::vector<std::uint8_t>& flags,
                                    bool withDroppedFlows = true) {
  ByteBuilder b;
  b.U32(version);
  std::uint32_t count = 0;
  for (const FieldRow& row : kCharaFields) count += version >= row.since ? 1 : 0;
  b.U32(count);
  for (const FieldRow& row : kCharaFields) {
    if (version < row.since) continue;
    const std::int64_t value = row.value;
    b.Raw(&value, static_cast<std::size_t>(row.size));  // little-endian: the low bytes
  }
  b.U32(1).Str("スライム");
  b.I16(3).I16(4).I32(-1);
  b.U32(static_cast<std::uint32_t>(flags.size()));
  for (std::uint8_t flag : flags) b.U8(flag);
  AppendCondition(b.U32(1), COND_COMMON_VAR, 2, 5);

  b.U32(withDroppedFlows ? 4 : 2);
  AppendFlowFields(b, {.id = 1, .group = 3});
  AppendCondition(b.U32(1), COND_STAGE_VAR, 1, 9);
  AppendKeyCondition(b.U32(1), 11);
  AppendCommand(b.U32(1), COMMAND_SET_FLOW, CMD_TURN, {1});
  if (withDroppedFlows) {
    AppendFlowFields(b, {.id = 5, .testOnly = 1});
    AppendCommand(b.U32(0).U32(0).U32(1), COMMAND_SET_FLOW, CMD_WAIT, {});
    AppendFlowFields(b, {.id = 6}).U32(0).U32(0).U32(0);
  }
  AppendFlowFields(b, {.id = 2, .trigger = TRIGGER_HIT_CHARACTER});
  AppendCommand(b.U32(0).U32(0).U32(1), COMMAND_SET_FLOW, CMD_WAIT, {});
  return b.Get();
}

std::vector<std::uint8_t> Flags(std::size_t count, const std::set<int>& set) {
  std::vector<std::uint8_t> flags(count, 0);
  for (int i : set) flags.at(static_cast<std::size_t>(i)) = 1;
  return flags;
}

std::set<int> SetFlags(const std::vector<std::uint8_t>& flags) {
  std::set<int> set;
  for (std::size_t i = 0; i < flags.size(); ++i) {
    if (flags[i] != 0) set.insert(static_cast<int>(i));
  }
  return set;
}

class CharaTest : public testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
  void TearDown() override { g_bTestPlay = 0; }
};

struct VersionCase {
  std::uint32_t version;
  std::size_t storedFlags;       // as many as that version had groups
  std::set<int> flagsAfterLoad;  // for stored flags 0 and the last one set
};

class CharaVersionTest : public CharaTest, public testing::WithParamInterface<VersionCase> {};

TEST_P(CharaVersionTest, LoadsWithItsFlowsAndUpgrades) {
  const VersionCase& c = GetParam();
  cEdChara chara;
  const std::vector<cEdField>& table = chara.FieldTable(DATA_VERSION);
  auto fieldOf = [&](const FieldRow& row) {
    return std::find_if(table.begin(), table.end(),
                        [&](const cEdField& f) { return std::string(f.name) == row.name; });
  };
  // Fields a file lacks keep the target's values, which the upgrades then
  // set: a target that holds other values shows every upgrade.
  for (const FieldRow& row : kCharaFields) {
    if (row.since > 0) std::memset(fieldOf(row)->address, 0x5A, static_cast<std::size_t>(row.size));
  }
  std::string error;
  ASSERT_TRUE(chara.LoadBytes(
      CharaFile(c.version, Flags(c.storedFlags, {0, static_cast<int>(c.storedFlags) - 1})), &error))
      << error;

  for (const FieldRow& row : kCharaFields) {
    const auto field = fieldOf(row);
    ASSERT_NE(field, table.end()) << row.name;
    std::int64_t expected = ExpectedAfterLoad(row, c.version);
    std::int64_t loaded = 0;
    std::memcpy(&loaded, field->address, static_cast<std::size_t>(row.size));
    EXPECT_EQ(0, std::memcmp(&loaded, &expected, static_cast<std::size_t>(row.size))) << row.name;
  }
  EXPECT_EQ(chara.m_strName, "スライム");
  EXPECT_EQ(chara.m_nCellX, 3);
  EXPECT_EQ(chara.m_nCellY, 4);
  EXPECT_EQ(chara.m_nDropItem, -1);
  EXPECT_EQ(chara.m_vInheritFlag.size(), c.storedFlags < 37 ? 37u : c.storedFlags);
  EXPECT_EQ(SetFlags(chara.m_vInheritFlag), c.flagsAfterLoad);
  ASSERT_EQ(chara.m_vCondition.size(), 1u);
  EXPECT_EQ(chara.m_vCondition[0].m_nVarIndex, 2);

  // The test-only flow and the empty one are gone.
  ASSERT_EQ(chara.m_vFlow.size(), 2u);
  const cEdFlow& first = chara.m_vFlow[0];
  EXPECT_EQ(first.m_nId, 1);
  EXPECT_EQ(first.m_nGroup, 3);
  ASSERT_EQ(first.m_vCondition.size(), 1u);
  EXPECT_EQ(first.m_vCondition[0].m_nValue, 9);
  ASSERT_EQ(first.m_vKeyCondition.size(), 1u);
  EXPECT_EQ(first.m_vKeyCondition[0].m_vKeyState[11], 1);
  ASSERT_EQ(first.m_vCommand.size(), 1u);
  EXPECT_EQ(first.m_vCommand[0].m_nKind, CMD_TURN);
  EXPECT_EQ(first.m_vCommand[0].m_vParam, std::vector<std::int32_t>{1});
  EXPECT_EQ(chara.m_vFlow[1].m_nId, 2);
  EXPECT_EQ(chara.m_vFlow[1].m_nTrigger, TRIGGER_HIT_CHARACTER);

  // What was loaded saves and loads back to the same bytes.
  const std::vector<std::uint8_t> saved = chara.SaveBytes();
  cEdChara again;
  ASSERT_TRUE(again.LoadBytes(saved));
  EXPECT_EQ(again.SaveBytes(), saved);
}

// Groups inserted later: defence at 27 (168), hit range at 24 (201) and
// scroll sync at 21 (210). Stored flags 0 and last are set.
INSTANTIATE_TEST_SUITE_P(
    Boundaries, CharaVersionTest,
    testing::Values(VersionCase{167, 34, {0, 21, 25, 29, 36}}, VersionCase{168, 35, {0, 21, 25, 36}},
                    VersionCase{195, 35, {0, 21, 25, 36}}, VersionCase{196, 35, {0, 21, 25, 36}},
                    VersionCase{200, 35, {0, 21, 25, 36}}, VersionCase{201, 36, {0, 21, 36}},
                    VersionCase{205, 36, {0, 21, 36}}, VersionCase{206, 36, {0, 21, 36}},
                    VersionCase{209, 36, {0, 21, 36}}, VersionCase{210, 37, {0, 36}},
                    VersionCase{218, 37, {0, 36}}, VersionCase{219, 37, {0, 36}},
                    VersionCase{284, 37, {0, 36}}, VersionCase{285, 37, {0, 36}},
                    VersionCase{566, 37, {0, 36}}, VersionCase{566, 38, {0, 37}}),
    [](const testing::TestParamInfo<VersionCase>& info) {
      return std::string("v").append(std::to_string(info.param.version)) + "_" +
             std::to_string(info.param.storedFlags) + "flags";
    });

TEST_F(CharaTest, FlagInsertionsOfAVersion150File) {
  cEdChara chara;
  ASSERT_TRUE(chara.LoadBytes(CharaFile(150, Flags(36, {27}))));
  EXPECT_EQ(chara.m_vInheritFlag.size(), 37u);
  EXPECT_EQ(SetFlags(chara.m_vInheritFlag), (std::set<int>{21, 25, 29, 30}));
}

TEST_F(CharaTest, ACurrentFileSavesBackByteForByte) {
  const std::vector<std::uint8_t> file = CharaFile(DATA_VERSION, Flags(37, {1, 36}), false);
  cEdChara chara;
  ASSERT_TRUE(chara.LoadBytes(file));
  EXPECT_EQ(chara.SaveBytes(), file);
}

TEST_F(CharaTest, TestOnlyFlowsStayInATestPlay) {
  g_bTestPlay = 1;
  cEdChara chara;
  ASSERT_TRUE(chara.LoadBytes(CharaFile(DATA_VERSION, Flags(37, {}))));
  ASSERT_EQ(chara.m_vFlow.size(), 3u) << "only the empty flow is dropped";
  EXPECT_EQ(chara.m_vFlow[1].m_nId, 5);
}

TEST_F(CharaTest, NewDefinition) {
  cEdChara chara;
  EXPECT_EQ(chara.m_vInheritFlag, std::vector<std::uint8_t>(CHARA_INHERIT_GROUPS, 0));
  EXPECT_EQ(chara.m_nControl, 1);
  EXPECT_EQ(chara.m_nTeam, 1);
  EXPECT_EQ(chara.m_nLayer, 3);
  EXPECT_EQ(chara.m_bCharaEffectLoop, 1);
  EXPECT_EQ(chara.m_nMaxHP, 10);
  EXPECT_EQ(chara.m_nGraphicKind, 1);
  EXPECT_EQ(chara.m_nScale, 1);
  EXPECT_EQ(chara.m_nStop, 10);
  EXPECT_EQ(chara.m_bFixedFacing, 1);
  EXPECT_EQ(chara.m_bExtraFlag, 1);
  EXPECT_EQ(chara.m_nDropItem, 0);
}

TEST_F(CharaTest, ValidationRepairsReferences) {
  FakeDefinitionContext context;
  context.database[eDatabaseList::AnimeSet] = 3;
  context.database[eDatabaseList::CharaEffect] = 4;
  context.database[eDatabaseList::Effect] = 2;
  struct Case {
    const char* what;
    void (*set)(cEdChara&);
    bool (*holds)(const cEdChara&);
  };
  const Case cases[] = {
      {"anime set past the end", [](cEdChara& c) { c.m_nAnimeSet = 3; },
       [](const cEdChara& c) { return c.m_nAnimeSet == 0; }},
      {"anime set inside", [](cEdChara& c) { c.m_nAnimeSet = 2; },
       [](const cEdChara& c) { return c.m_nAnimeSet == 2; }},
      {"negative anime set", [](cEdChara& c) { c.m_nAnimeSet = -1; },
       [](const cEdChara& c) { return c.m_nAnimeSet == 0; }},
      {"chara effect", [](cEdChara& c) { c.m_nCharaEffect = 4; },
       [](const cEdChara& c) { return c.m_nCharaEffect == 0; }},
      {"death effect", [](cEdChara& c) { c.m_nDeathEffect = 9; },
       [](const cEdChara& c) { return c.m_nDeathEffect == 0; }},
      {"death effect inside", [](cEdChara& c) { c.m_nDeathEffect = 3; },
       [](const cEdChara& c) { return c.m_nDeathEffect == 3; }},
      {"effect", [](cEdChara& c) { c.m_nEffect = 2; }, [](const cEdChara& c) { return c.m_nEffect == 0; }},
      {"scale 0", [](cEdChara& c) { c.m_nScale = 0; }, [](const cEdChara& c) { return c.m_nScale == 1; }},
      {"scale 200 (negative byte)", [](cEdChara& c) { c.m_nScale = 200; },
       [](const cEdChara& c) { return c.m_nScale == 1; }},
      {"scale 10", [](cEdChara& c) { c.m_nScale = 10; }, [](const cEdChara& c) { return c.m_nScale == 10; }},
  };
  for (const Case& c : cases) {
    cEdChara chara;
    c.set(chara);
    chara.Validate();
    EXPECT_TRUE(c.holds(chara)) << c.what;
  }
}

TEST_F(CharaTest, AMissingCharacterImageFallsBackToImage1OrNone) {
  FakeDefinitionContext context;
  struct Case {
    std::size_t images;
    std::int16_t graphicNo;
    std::int16_t expected;
  };
  for (const Case& c : {Case{5, 4, 4}, Case{5, 5, 1}, Case{5, -3, 1}, Case{2, 7, 1}, Case{1, 7, 0},
                        Case{0, 3, 0}, Case{1, 0, 0}}) {
    context.database[eDatabaseList::CharaImage] = c.images;
    cEdChara chara;
    chara.m_nGraphicKind = 4;
    chara.m_nGraphicNo = c.graphicNo;
    chara.Validate();
    EXPECT_EQ(chara.m_nGraphicNo, c.expected) << c.images << " images, number " << c.graphicNo;
  }
  // Other kinds are not numbers of that list.
  context.database[eDatabaseList::CharaImage] = 1;
  cEdChara chara;
  chara.m_nGraphicNo = 7;
  chara.Validate();
  EXPECT_EQ(chara.m_nGraphicNo, 7);
}

TEST_F(CharaTest, InheritingNoFlowsLeavesNone) {
  cPaletteFixture palettes;
  palettes.m_vCommonCharas[1].m_vFlow.clear();
  const std::vector<std::uint8_t> file = CharaFile(DATA_VERSION, Flags(37, {36}), false);
  std::vector<std::uint8_t> child = file;
  child[4 + 4] = PALETTE_COMMON;  // the parent reference, first of the fields
  const std::int16_t index = 1;
  std::memcpy(&child[4 + 4 + 1], &index, sizeof index);
  cEdChara chara;
  ASSERT_TRUE(chara.LoadBytes(child));
  EXPECT_TRUE(chara.m_vFlow.empty());
}

TEST_F(CharaTest, CopyOffsets) {
  cEdChara chara;
  chara.m_nRepeatOffsetX = 8;
  chara.m_nRepeatStepX = 4;
  chara.m_nRepeatOffsetY = -2;
  chara.m_nRepeatStepY = 3;
  chara.m_bMirrorX = 1;
  EXPECT_DOUBLE_EQ(chara.LinearX(2, 1), -16.0);
  EXPECT_DOUBLE_EQ(chara.LinearX(2, 0), 16.0);
  EXPECT_DOUBLE_EQ(chara.LinearY(2, 1), 4.0) << "y is mirrored only by its own flag";
  chara.m_bMirrorY = 1;
  EXPECT_DOUBLE_EQ(chara.LinearY(2, 1), -4.0);
  EXPECT_DOUBLE_EQ(chara.LinearY(0, 0), -2.0);
  chara.m_bMirrorX = 0;
  EXPECT_DOUBLE_EQ(chara.LinearX(2, 1), 16.0);
}

TEST_F(CharaTest, ACopyOwnsItsLists) {
  cEdChara chara;
  ASSERT_TRUE(chara.LoadBytes(CharaFile(DATA_VERSION, Flags(37, {}), false)));
  cEdChara copy = chara;
  copy.m_vFlow[0].m_vCommand[0].m_vParam[0] = 0;
  copy.m_vCondition.clear();
  EXPECT_EQ(chara.m_vFlow[0].m_vCommand[0].m_vParam[0], 1);
  EXPECT_EQ(chara.m_vCondition.size(), 1u);
}

}  // namespace
