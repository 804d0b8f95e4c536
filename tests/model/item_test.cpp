// Item definitions: the stored layout, the shot-sheet upgrade, validation
// and the palette lookup of item references.
#include "model/definitions/item.h"

#include <gtest/gtest.h>

#include "model/definitions/item_command.h"
#include "support/definition_bytes.h"
#include "support/palette_fixture.h"

namespace {

struct ItemValues {
  std::int16_t graphicNo = 9;
  std::uint8_t graphicKind = 2;
  std::uint8_t size = 2;
  std::int16_t sound = 4;
};

// A current item file with two item commands (a message and a sound) whose
// parameter counts are those of their kinds.
std::vector<std::uint8_t> ItemFile(std::uint32_t version, const ItemValues& v) {
  ByteBuilder b;
  b.U32(version).U32(17);
  b.U8(0).I16(0).U8(1).U8(1);  // no parent; conditions: one holds, once
  b.I16(-4).I16(6);            // offset
  b.I16(v.graphicNo).U8(v.graphicKind).I16(1).U8(5).U8(0).U8(1).I16(17);
  b.U8(0).U8(PICKUP_ALWAYS).U8(v.size).I16(v.sound);  // show icon, pick-up, size, sound
  b.U32(1).Str("コイン");
  b.I16(12).I16(8);
  b.U32(ITEM_INHERIT_GROUPS);
  for (int i = 0; i < ITEM_INHERIT_GROUPS; ++i) b.U8(i == 12 ? 1 : 0);
  AppendCondition(b.U32(1), COND_STAGE_VAR, 4, 1);
  b.U32(2);
  AppendCommand(b, COMMAND_SET_ITEM, ICMD_MESSAGE, std::vector<std::int32_t>(17, 1), "やった");
  AppendCommand(b, COMMAND_SET_ITEM, ICMD_PLAY_SOUND, {3});
  return b.Get();
}

class ItemTest : public testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
};

TEST_F(ItemTest, NewItem) {
  cEdItem item;
  EXPECT_EQ(item.m_vInheritFlag, std::vector<std::uint8_t>(ITEM_INHERIT_GROUPS, 0));
  EXPECT_EQ(item.m_nGraphicKind, 2);
  EXPECT_EQ(item.m_nGraphicNo, 0);
  EXPECT_EQ(item.m_bShowIcon, 1);
  EXPECT_EQ(item.m_nSize, 1);
  EXPECT_EQ(item.m_nLayer, 6);
  EXPECT_EQ(item.m_nPickup, PICKUP_ONCE);
}

TEST_F(ItemTest, LoadsAndSavesTheStoredLayoutUnchanged) {
  const std::vector<std::uint8_t> file = ItemFile(DATA_VERSION, ItemValues{});
  cEdItem item;
  std::string error;
  ASSERT_TRUE(item.LoadBytes(file, &error)) << error;
  EXPECT_EQ(item.m_strName, "コイン");
  EXPECT_EQ(item.m_nOffsetX, -4);
  EXPECT_EQ(item.m_bShowIcon, 0) << "the show-icon byte comes before the pick-up byte";
  EXPECT_EQ(item.m_nPickup, PICKUP_ALWAYS);
  EXPECT_EQ(item.m_nCellX, 12);
  ASSERT_EQ(item.m_vCommand.size(), 2u);
  EXPECT_EQ(item.m_vCommand[0].m_strText, "やった");
  EXPECT_EQ(item.m_vCommand[1].m_vParam, std::vector<std::int32_t>{3});
  EXPECT_EQ(item.SaveBytes(), file);
}

TEST_F(ItemTest, ShotSheetGraphicsMovedUpBefore219) {
  struct Case {
    std::uint32_t version;
    std::uint8_t kind;
    std::int16_t no;
    std::int16_t expected;
  };
  for (const Case& c :
       {Case{218, 3, 119, 119}, Case{218, 3, 50, 51}, Case{219, 3, 50, 50}, Case{218, 2, 50, 50}}) {
    ItemValues v;
    v.graphicKind = c.kind;
    v.graphicNo = c.no;
    cEdItem item;
    ASSERT_TRUE(item.LoadBytes(ItemFile(c.version, v)));
    EXPECT_EQ(item.m_nGraphicNo, c.expected) << c.version << " kind " << int{c.kind} << " no " << c.no;
  }
}

TEST_F(ItemTest, Validation) {
  FakeDefinitionContext context;
  context.database[eDatabaseList::Sound] = 4;
  struct Case {
    std::uint8_t size;
    std::int16_t sound;
    std::uint8_t sizeAfter;
    std::int16_t soundAfter;
  };
  for (const Case& c : {Case{0, 3, 1, 3}, Case{3, 4, 3, 0}, Case{1, -1, 1, 0}}) {
    cEdItem item;
    item.m_nSize = c.size;
    item.m_nSound = c.sound;
    item.Validate();
    EXPECT_EQ(item.m_nSize, c.sizeAfter);
    EXPECT_EQ(item.m_nSound, c.soundAfter);
  }
  // Every save validates first.
  ItemValues v;
  v.size = 0;
  cEdItem item;
  ASSERT_TRUE(item.LoadBytes(ItemFile(DATA_VERSION, v)));
  item.m_nSize = 0;
  cEdItem saved;
  ASSERT_TRUE(saved.LoadBytes(item.SaveBytes()));
  EXPECT_EQ(saved.m_nSize, 1);
}

TEST_F(ItemTest, FindPaletteItem) {
  EXPECT_EQ(FindPaletteItem(PALETTE_COMMON, 1), nullptr) << "no palette known yet";
  cPaletteFixture palettes;
  palettes.m_vStageItems.resize(3);
  EXPECT_EQ(FindPaletteItem(PALETTE_COMMON, 1), &palettes.m_vCommonItems[1]);
  EXPECT_EQ(FindPaletteItem(PALETTE_STAGE, 2), &palettes.m_vStageItems[2]);
  EXPECT_EQ(FindPaletteItem(PALETTE_COMMON, 2), nullptr);
  EXPECT_EQ(FindPaletteItem(PALETTE_STAGE, -1), nullptr);
  EXPECT_EQ(FindPaletteItem(3, 0), nullptr);
  EXPECT_EQ(FindPaletteItem(PALETTE_NONE, 0), nullptr);
}

}  // namespace
