// The common palette file and the palette list readers.
#include "model/stage/common_palette.h"

#include <gtest/gtest.h>

#include "model/stage/stage.h"
#include "platform/files.h"
#include "support/byte_builder.h"
#include "support/temp_folder.h"

namespace {

class CommonPaletteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    g_CommonPalette = cEdCommonPalette();
    g_LoadedStage = cEdStage();
  }
};

// A record as it stands inside a file: its saved image without the
// version word.
template <class T>
std::vector<std::uint8_t> RecordBytes(T record) {
  std::vector<std::uint8_t> bytes = record.SaveBytes();
  bytes.erase(bytes.begin(), bytes.begin() + 4);
  return bytes;
}

// A palette file with the given entries in each list.
std::vector<std::uint8_t> PaletteFile(const std::vector<cEdBlock>& blocks,
                                      const std::vector<cEdChara>& charas,
                                      const std::vector<cEdItem>& items) {
  ByteBuilder b;
  b.U32(DATA_VERSION).U32(0).U32(0);
  b.U32(static_cast<std::uint32_t>(blocks.size()));
  for (const cEdBlock& block : blocks) b.Bytes(RecordBytes(block));
  b.U32(static_cast<std::uint32_t>(charas.size()));
  for (const cEdChara& chara : charas) b.Bytes(RecordBytes(chara));
  b.U32(static_cast<std::uint32_t>(items.size()));
  for (const cEdItem& item : items) b.Bytes(RecordBytes(item));
  return b.Get();
}

TEST_F(CommonPaletteTest, NewPaletteHoldsOneDefaultEntryPerList) {
  cEdCommonPalette palette;
  EXPECT_EQ(palette.m_vBlocks.size(), 1u);
  EXPECT_EQ(palette.m_vCharas.size(), 1u);
  EXPECT_EQ(palette.m_vItems.size(), 1u);
}

TEST_F(CommonPaletteTest, StoredEntryZeroIsReplacedAndAListOfOneGetsASecondEntry) {
  cEdBlock block;
  block.m_nGraphicNo = 5;
  block.m_strName = "stored 0";
  cEdChara chara;
  chara.m_nGraphicNo = 6;
  chara.m_nDropItem = 3;
  cEdItem item;
  item.m_nGraphicNo = 7;
  cEdCommonPalette palette;
  std::string error;
  ASSERT_TRUE(palette.LoadBytes(PaletteFile({block}, {chara}, {item}), &error)) << error;
  ASSERT_EQ(palette.m_vBlocks.size(), 2u);
  ASSERT_EQ(palette.m_vCharas.size(), 2u);
  ASSERT_EQ(palette.m_vItems.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(palette.m_vBlocks[i].SaveBytes(), cEdBlock().SaveBytes());
    EXPECT_EQ(palette.m_vCharas[i].SaveBytes(), cEdChara().SaveBytes());
    EXPECT_EQ(palette.m_vItems[i].SaveBytes(), cEdItem().SaveBytes());
  }
}

TEST_F(CommonPaletteTest, ListsStoredEmptyLoadWithTheEmptyEntry) {
  cEdCommonPalette palette;
  std::string error;
  ASSERT_TRUE(palette.LoadBytes(PaletteFile({}, {}, {}), &error)) << error;
  EXPECT_EQ(palette.m_vBlocks.size(), 2u);
  EXPECT_EQ(palette.m_vCharas.size(), 2u);
  EXPECT_EQ(palette.m_vItems.size(), 2u);
}

TEST_F(CommonPaletteTest, TemplatesKeepWhatTheyInheritedButNoFlags) {
  cEdBlock parent;
  parent.m_nGraphicNo = 30;
  parent.m_nPassTeam = 2;
  parent.m_vInheritFlag[4] = 1;  // no parent: the flag alone changes nothing
  cEdBlock child;
  child.m_nInheritKind = 1;
  child.m_nInheritIndex = 1;
  child.m_vInheritFlag[2] = 1;  // graphics
  child.m_vInheritFlag[7] = 1;  // pass-through team
  cEdChara chara;
  chara.m_vInheritFlag.assign(chara.m_vInheritFlag.size(), 1);
  cEdItem item;
  item.m_vInheritFlag[0] = 1;

  cEdCommonPalette palette;
  std::string error;
  ASSERT_TRUE(palette.LoadBytes(PaletteFile({cEdBlock(), parent, child}, {cEdChara(), chara},
                                            {cEdItem(), item}),
                                &error))
      << error;
  const cEdBlock& loaded = palette.m_vBlocks[2];
  EXPECT_EQ(loaded.m_nGraphicNo, 30);
  EXPECT_EQ(loaded.m_nPassTeam, 2);
  EXPECT_EQ(loaded.m_nInheritKind, 1);  // the reference stays
  for (const cEdBlock& block : palette.m_vBlocks) {
    EXPECT_EQ(block.m_vInheritFlag, std::vector<std::int8_t>(block.m_vInheritFlag.size(), 0));
  }
  for (const cEdChara& c : palette.m_vCharas) {
    EXPECT_EQ(c.m_vInheritFlag, std::vector<std::uint8_t>(c.m_vInheritFlag.size(), 0));
  }
  for (const cEdItem& i : palette.m_vItems) {
    EXPECT_EQ(i.m_vInheritFlag, std::vector<std::uint8_t>(i.m_vInheritFlag.size(), 0));
  }
}

TEST_F(CommonPaletteTest, ReferencesOutsideTheirListsAreClearedOnLoading) {
  // Past the end of the common blocks, and into the stage palette, which at
  // start-up holds only its empty entry.
  cEdBlock pastTheEnd;
  pastTheEnd.m_nGraphicNo = 1;
  pastTheEnd.m_nInheritKind = 1;
  pastTheEnd.m_nInheritIndex = 9;
  cEdBlock stageParent = pastTheEnd;
  stageParent.m_nInheritKind = 2;
  stageParent.m_nInheritIndex = 1;
  cEdBlock itemRef;
  itemRef.m_nGraphicNo = 1;
  itemRef.m_nItemKind = 1;
  itemRef.m_nItemIndex = 2;  // the item list has two entries

  cEdCommonPalette palette;
  ASSERT_TRUE(palette.LoadBytes(PaletteFile({cEdBlock(), pastTheEnd, stageParent, itemRef}, {}, {})));
  // Neither names a parent any more, by kind or by index.
  for (std::size_t i : {1u, 2u}) {
    EXPECT_EQ(palette.m_vBlocks[i].m_nInheritKind, 0) << i;
    EXPECT_EQ(palette.m_vBlocks[i].m_nInheritIndex, 0) << i;
  }
  EXPECT_EQ(palette.m_vBlocks[3].m_nItemKind, 0);
  EXPECT_EQ(palette.m_vBlocks[3].m_nItemIndex, 0);
}

TEST_F(CommonPaletteTest, SaveWritesTwoZeroCountsThenTheLists) {
  cEdCommonPalette palette;
  cEdBlock block;
  block.m_nGraphicNo = 9;
  palette.m_vBlocks.push_back(block);
  const std::vector<std::uint8_t> bytes = palette.SaveBytes();
  ByteBuilder head;
  head.U32(DATA_VERSION).U32(0).U32(0).U32(2).Bytes(RecordBytes(cEdBlock()));
  ASSERT_GT(bytes.size(), head.Size());
  EXPECT_TRUE(std::equal(head.Get().begin(), head.Get().end(), bytes.begin()));

  cEdCommonPalette loaded;
  ASSERT_TRUE(loaded.LoadBytes(bytes));
  EXPECT_EQ(loaded.SaveBytes(), bytes);
  EXPECT_EQ(loaded.m_vBlocks[1].m_nGraphicNo, 9);
}

TEST_F(CommonPaletteTest, DamagedFileLeavesThePaletteAsItWas) {
  cEdBlock block;
  block.m_nGraphicNo = 9;
  g_CommonPalette.m_vBlocks.push_back(block);
  const std::vector<std::uint8_t> before = g_CommonPalette.SaveBytes();

  std::vector<std::uint8_t> cut = PaletteFile({cEdBlock(), cEdBlock()}, {cEdChara()}, {cEdItem()});
  cut.resize(cut.size() - 3);
  std::vector<std::uint8_t> badCount = PaletteFile({}, {}, {});
  badCount[12] = 0xFF;  // the block count
  badCount[13] = 0xFF;

  TempFolder folder;
  ScopedCurrentFolder current(folder.path());
  for (const auto& bytes : {cut, badCount}) {
    platform::WriteFileAtomic(folder / "CommonPalette.cplt4", bytes);
    EXPECT_EQ(g_CommonPalette.LoadFile("CommonPalette.cplt4"), 0);
    EXPECT_EQ(g_CommonPalette.SaveBytes(), before);
  }
}

}  // namespace
