// Blocks: defaults, the stored layout, the shot-sheet upgrade, validation
// and the item reference check.
#include "model/definitions/block.h"

#include <gtest/gtest.h>

#include "support/definition_bytes.h"
#include "support/palette_fixture.h"

namespace {

// The stored values of a block, in file order.
struct BlockValues {
  std::int8_t inheritKind = 0;
  std::int16_t inheritIndex = 0;
  std::int8_t conditionMode = 1, conditionOnce = 1;
  std::int16_t graphicNo = 12;
  std::int8_t graphicKind = 0;
  std::int16_t graphicSub = 3;
  std::int8_t layer = 1, hidden = 1, overlay = 2;
  std::int16_t overlayCell = 44;
  std::int8_t collision = 2;
  std::uint8_t passTeam = 4;
  std::int8_t effect = 3;
  std::int32_t effectValue = 150;
  std::int8_t itemKind = 1;
  std::int16_t itemIndex = 1;
  std::int8_t fixed = 1;
  std::vector<std::uint8_t> flags = std::vector<std::uint8_t>(11, 0);
  int conditions = 1;
};

std::vector<std::uint8_t> BlockFile(std::uint32_t version, const BlockValues& v) {
  ByteBuilder b;
  b.U32(version).U32(18);
  b.I8(v.inheritKind).I16(v.inheritIndex).I8(v.conditionMode).I8(v.conditionOnce);
  b.I16(v.graphicNo).I8(v.graphicKind).I16(v.graphicSub).I8(v.layer).I8(v.hidden).I8(v.overlay);
  b.I16(v.overlayCell).I8(v.collision).U8(v.passTeam).I8(v.effect).I32(v.effectValue);
  b.I8(v.itemKind).I16(v.itemIndex).I8(v.fixed);
  b.U32(1).Str("壁");
  b.I16(7).I16(-2);  // cell
  b.U32(static_cast<std::uint32_t>(v.flags.size()));
  for (std::uint8_t flag : v.flags) b.U8(flag);
  b.U32(static_cast<std::uint32_t>(v.conditions));
  for (int i = 0; i < v.conditions; ++i) AppendCondition(b, COND_STAGE_VAR, 3, 5, 2);
  return b.Get();
}

class BlockTest : public testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
  cPaletteFixture m_Palettes;
};

TEST_F(BlockTest, NewBlockAndReset) {
  cEdBlock block;
  EXPECT_EQ(block.m_nCollision, 1);
  EXPECT_EQ(block.m_nPassTeam, 255);
  EXPECT_EQ(block.m_vInheritFlag, std::vector<std::int8_t>(BLOCK_INHERIT_GROUPS, 0));
  EXPECT_EQ(block.m_nGraphicNo, 0);
  EXPECT_TRUE(block.m_vCondition.empty());
  block.Validate();
  EXPECT_EQ(block.m_nCollision, 0) << "an empty cell does not collide";

  block.m_nLayer = 1;
  block.m_vInheritFlag.assign(3, 1);
  block.Reset();
  EXPECT_EQ(block.m_nLayer, 0);
  EXPECT_EQ(block.m_nCollision, 1);
  EXPECT_EQ(block.m_vInheritFlag, std::vector<std::int8_t>(BLOCK_INHERIT_GROUPS, 0));
}

TEST_F(BlockTest, LoadsAndSavesTheStoredLayoutUnchanged) {
  const std::vector<std::uint8_t> file = BlockFile(DATA_VERSION, BlockValues{});
  cEdBlock block;
  ASSERT_TRUE(block.LoadBytes(file));
  EXPECT_EQ(block.m_strName, "壁");
  EXPECT_EQ(block.m_nCellX, 7);
  EXPECT_EQ(block.m_nCellY, -2);
  EXPECT_EQ(block.m_nPassTeam, 4);
  EXPECT_EQ(block.m_nEffectValue, 150);
  ASSERT_EQ(block.m_vCondition.size(), 1u);
  EXPECT_EQ(block.m_vCondition[0].m_nVarIndex, 3);
  EXPECT_EQ(block.SaveBytes(), file);
}

TEST_F(BlockTest, ShotSheetGraphicsMovedUpBefore219) {
  struct Case {
    std::uint32_t version;
    std::int8_t kind;
    std::int16_t no;
    std::int16_t expected;
  };
  for (const Case& c :
       {Case{218, 3, 118, 119}, Case{218, 3, 119, 119}, Case{218, 3, 50, 51}, Case{100, 3, 32767, 119},
        Case{219, 3, 118, 118}, Case{218, 2, 118, 118}, Case{218, 4, 50, 50}}) {
    BlockValues v;
    v.graphicKind = c.kind;
    v.graphicNo = c.no;
    v.conditions = 0;  // conditions of version 100 have another layout
    cEdBlock block;
    ASSERT_TRUE(block.LoadBytes(BlockFile(c.version, v)));
    EXPECT_EQ(block.m_nGraphicNo, c.expected) << c.version << " kind " << int{c.kind} << " no " << c.no;
  }
}

TEST_F(BlockTest, KeepsTheFlagCountOfTheFile) {
  BlockValues v;
  v.flags = std::vector<std::uint8_t>(12, 0);
  v.flags[11] = 1;
  cEdBlock block;
  ASSERT_TRUE(block.LoadBytes(BlockFile(DATA_VERSION, v)));
  EXPECT_EQ(block.m_vInheritFlag.size(), 12u);
  EXPECT_EQ(block.m_vInheritFlag[11], 1);
}

TEST_F(BlockTest, Validate) {
  cEdBlock block;
  block.m_nInheritKind = 3;
  block.m_nInheritIndex = 99;
  block.m_nGraphicNo = 5;
  block.m_nCollision = 2;
  block.m_bFixed = 1;
  block.Validate();
  EXPECT_EQ(block.m_nInheritKind, 3) << "kinds other than the two palettes are kept";
  EXPECT_EQ(block.m_nInheritIndex, 99);
  EXPECT_EQ(block.m_nCollision, 2);
  EXPECT_EQ(block.m_bFixed, 1);

  block.m_nGraphicNo = 0;
  block.Validate();
  EXPECT_EQ(block.m_nCollision, 0);
  EXPECT_EQ(block.m_bFixed, 0);
}

TEST_F(BlockTest, ItemReferenceOutsideItsListIsCleared) {
  m_Palettes.m_vCommonItems.resize(3);  // entries 0 to 2
  struct Case {
    std::int8_t kind;
    std::int16_t index;
    std::int8_t kindAfter;
    std::int16_t indexAfter;
  };
  for (const Case& c : {Case{1, 2, 1, 2}, Case{1, 3, 0, 0}, Case{2, 1, 2, 1}, Case{2, 2, 0, 0},
                        Case{2, -1, 0, 0}, Case{1, -5, 0, 0}, Case{3, 9, 3, 9}, Case{0, 9, 0, 9}}) {
    cEdBlock block;
    block.m_nItemKind = c.kind;
    block.m_nItemIndex = c.index;
    block.ValidateItemRef();
    EXPECT_EQ(block.m_nItemKind, c.kindAfter) << int{c.kind} << "/" << c.index;
    EXPECT_EQ(block.m_nItemIndex, c.indexAfter) << int{c.kind} << "/" << c.index;
  }
}

TEST_F(BlockTest, ADamagedFileLeavesTheBlockAsItWas) {
  const std::vector<std::uint8_t> file = BlockFile(DATA_VERSION, BlockValues{});
  for (std::size_t size = 0; size < file.size(); ++size) {
    cEdBlock block;
    block.m_strName = "before";
    EXPECT_FALSE(block.LoadBytes(std::vector<std::uint8_t>(file.begin(), file.begin() + size))) << size;
    EXPECT_EQ(block.m_strName, "before");
  }
}

}  // namespace
