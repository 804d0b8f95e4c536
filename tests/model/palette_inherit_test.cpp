// Inheritance of blocks, characters and items from a parent palette entry.
#include "model/stage/palette_inherit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "model/definitions/block.h"
#include "model/definitions/chara.h"
#include "model/definitions/item.h"
#include "support/byte_builder.h"
#include "support/palette_fixture.h"
#include "support/record_snapshot.h"

namespace {

using Members = std::set<std::string>;

// Every registered field of a record gets bytes of its own (seed + entry
// number), so that two records filled with different seeds differ in every
// field; strings and lists get contents that differ by seed as well.
void FillFields(cEdRecord& record, int seed) {
  int k = 0;
  for (const cEdField& field : record.FieldTable(static_cast<int>(DATA_VERSION))) {
    std::memset(field.address, (seed + k++) & 0x7F, static_cast<std::size_t>(field.count) * field.size);
  }
}

std::vector<cEdCondition> Conditions(int count, int kind) {
  std::vector<cEdCondition> list(static_cast<std::size_t>(count));
  for (cEdCondition& condition : list) condition.m_nKind = static_cast<std::int8_t>(kind);
  return list;
}

template <class T>
struct EntryTraits;

template <>
struct EntryTraits<cEdBlock> {
  static constexpr int kGraphicGroup = 2;
  static std::vector<cEdBlock>& Common(cPaletteFixture& p) { return p.m_vCommonBlocks; }
  static std::vector<cEdBlock>& Stage(cPaletteFixture& p) { return p.m_vStageBlocks; }
  static void FillLists(cEdBlock& r, int seed) { r.m_vCondition = Conditions(seed % 3 + 1, seed % 5 + 1); }
  static std::vector<Members> Groups() {
    return {{"m_strName"},
            {"m_vCondition", "m_nConditionMode", "m_bConditionOnce"},
            {"m_nGraphicKind", "m_nGraphicNo", "m_nGraphicSub"},
            {"m_nLayer"},
            {"m_bHidden"},
            {"m_bOverlay", "m_nOverlayCell"},
            {"m_nCollision"},
            {"m_nPassTeam"},
            {"m_nEffect", "m_nEffectValue"},
            {"m_nItemKind", "m_nItemIndex"},
            {"m_bFixed"}};
  }
  static Members NeverInherited() {
    return {"m_nInheritKind", "m_nInheritIndex", "m_vInheritFlag", "m_nCellX", "m_nCellY"};
  }
};

template <>
struct EntryTraits<cEdChara> {
  static constexpr int kGraphicGroup = 9;
  static std::vector<cEdChara>& Common(cPaletteFixture& p) { return p.m_vCommonCharas; }
  static std::vector<cEdChara>& Stage(cPaletteFixture& p) { return p.m_vStageCharas; }
  static void FillLists(cEdChara& r, int seed) {
    r.m_vCondition = Conditions(seed % 3 + 1, seed % 5 + 1);
    r.m_vFlow.assign(static_cast<std::size_t>(seed % 2 + 1), cEdFlow::ListElement());
    for (cEdFlow& flow : r.m_vFlow) flow.m_vCondition = Conditions(1, seed % 5 + 1);
  }
  static std::vector<Members> Groups() {
    return {{"m_strName"},
            {"m_nControl", "m_nPlayerNo"},
            {"m_nTeam"},
            {"m_nCharaId"},
            {"m_vCondition", "m_nConditionMode", "m_bConditionOnce"},
            {"m_nFacing"},
            {"m_nRepeat"},
            {"m_nRepeatOffsetX", "m_nRepeatStepX", "m_bMirrorX"},
            {"m_nRepeatOffsetY", "m_nRepeatStepY", "m_bMirrorY"},
            {"m_nGraphicKind", "m_nGraphicNo", "m_nGraphicSub"},
            {"m_nAnimeSet"},
            {"m_nLayer"},
            {"m_bTransparent"},
            {"m_nCharaEffect", "m_nCharaEffectMode", "m_bCharaEffectLoop"},
            {"m_nDeathEffect", "m_nDeathEffectMode"},
            {"m_bOverlay", "m_nOverlayCell"},
            {"m_bFixedFacing"},
            {"m_nFlying"},
            {"m_nInvincible", "m_nInvincibleColor"},
            {"m_bBlockChara"},
            {"m_nScale"},
            {"m_bScrollSync"},
            {"m_nSightShape", "m_nSight"},
            {"m_nMaxHP"},
            {"m_nMaxSP"},
            {"m_nHitRange"},
            {"m_nPower"},
            {"m_nImpact"},
            {"m_nEffect"},
            {"m_nDefense"},
            {"m_nImpactResist"},
            {"m_nStop"},
            {"m_nActiveRange", "m_nRangeRule"},
            {"m_nActivateGroup", "m_bGroupActivate"},
            {"m_nScore"},
            {"m_bExtraFlag"},
            {"m_vFlow"}};
  }
  static Members NeverInherited() {
    return {"m_nInheritKind", "m_nInheritIndex", "m_vInheritFlag", "m_nCellX", "m_nCellY", "m_nDropItem"};
  }
};

template <>
struct EntryTraits<cEdItem> {
  static constexpr int kGraphicGroup = 4;
  static std::vector<cEdItem>& Common(cPaletteFixture& p) { return p.m_vCommonItems; }
  static std::vector<cEdItem>& Stage(cPaletteFixture& p) { return p.m_vStageItems; }
  static void FillLists(cEdItem& r, int seed) {
    r.m_vCondition = Conditions(seed % 3 + 1, seed % 5 + 1);
    r.m_vCommand.resize(static_cast<std::size_t>(seed % 2 + 1));
    for (cEdCommand& command : r.m_vCommand) {
      command.m_nSet = COMMAND_SET_ITEM;
      command.m_nKind = static_cast<std::uint8_t>(seed % 20 + 1);
    }
  }
  static std::vector<Members> Groups() {
    return {{"m_strName"},
            {"m_vCondition", "m_nConditionMode", "m_bConditionOnce"},
            {"m_nOffsetX"},
            {"m_nOffsetY"},
            {"m_nGraphicKind", "m_nGraphicNo", "m_nGraphicSub"},
            {"m_nLayer"},
            {"m_bHidden"},
            {"m_bOverlay", "m_nOverlayCell"},
            {"m_nSize"},
            {"m_nPickup"},
            {"m_bShowIcon"},
            {"m_nSound"},
            {"m_vCommand"}};
  }
  static Members NeverInherited() {
    return {"m_nInheritKind", "m_nInheritIndex", "m_vInheritFlag", "m_nCellX", "m_nCellY"};
  }
};

template <class T>
class PaletteInheritTest : public testing::Test {
 protected:
  using Traits = EntryTraits<T>;

  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    g_nFileVersion = DATA_VERSION;
  }

  static T Filled(int seed, const std::string& name) {
    T r;
    FillFields(r, seed);
    Traits::FillLists(r, seed);
    r.m_strName = name;
    r.m_nCellX = static_cast<std::int16_t>(seed);
    r.m_nCellY = static_cast<std::int16_t>(seed + 1);
    return r;
  }

  // A child of entry 1 of the common palette with the given flags set.
  T Child(const std::vector<int>& flags) {
    T child = Filled(0x40, "child");
    child.m_nInheritKind = PALETTE_COMMON;
    child.m_nInheritIndex = 1;
    std::fill(child.m_vInheritFlag.begin(), child.m_vInheritFlag.end(), 0);
    for (int i : flags) child.m_vInheritFlag.at(static_cast<std::size_t>(i)) = 1;
    return child;
  }

  cPaletteFixture m_Palettes;
};

using EntryClasses = testing::Types<cEdBlock, cEdChara, cEdItem>;
TYPED_TEST_SUITE(PaletteInheritTest, EntryClasses);

TYPED_TEST(PaletteInheritTest, EachFlagCopiesItsGroupAndNothingElse) {
  using Traits = typename TestFixture::Traits;
  Traits::Common(this->m_Palettes)[1] = TestFixture::Filled(0x10, "parent");
  const std::vector<Members> groups = Traits::Groups();
  ASSERT_EQ(groups.size(), TypeParam().m_vInheritFlag.size());
  for (std::size_t i = 0; i < groups.size(); ++i) {
    TypeParam child = this->Child({static_cast<int>(i)});
    const RecordSnapshot before = TakeSnapshot(child);
    child.ApplyInheritance();
    EXPECT_EQ(ChangedMembers(before, TakeSnapshot(child)), groups[i]) << "group " << i;
  }
}

TYPED_TEST(PaletteInheritTest, AllFlagsMakeTheEntryItsParentBarTheReferenceAndCell) {
  using Traits = typename TestFixture::Traits;
  TypeParam& parent = Traits::Common(this->m_Palettes)[1];
  parent = TestFixture::Filled(0x10, "parent");
  std::vector<int> all(Traits::Groups().size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
  TypeParam child = this->Child(all);
  const RecordSnapshot own = TakeSnapshot(child);
  child.ApplyInheritance();

  const RecordSnapshot inherited = TakeSnapshot(child);
  const RecordSnapshot fromParent = TakeSnapshot(parent);
  Members covered;
  for (const Members& group : Traits::Groups()) covered.insert(group.begin(), group.end());
  for (const auto& [name, bytes] : inherited) {
    if (Traits::NeverInherited().contains(name)) {
      EXPECT_EQ(bytes, own.at(name)) << name;
    } else {
      EXPECT_EQ(bytes, fromParent.at(name)) << name;
      EXPECT_TRUE(covered.contains(name)) << name << " is in no group";
    }
  }
}

TYPED_TEST(PaletteInheritTest, NoParentNoCopy) {
  using Traits = typename TestFixture::Traits;
  Traits::Common(this->m_Palettes)[1] = TestFixture::Filled(0x10, "parent");
  Traits::Stage(this->m_Palettes)[1] = TestFixture::Filled(0x20, "stage parent");
  struct Case {
    int kind;
    int index;
    bool dropped;  // a parent outside its list: the reference is cleared
  };
  const int stageSize = static_cast<int>(Traits::Stage(this->m_Palettes).size());
  for (const Case& c : {Case{PALETTE_COMMON, 0, false},                       // index 0 is no parent
                        Case{PALETTE_NONE, 1, false}, Case{3, 1, false},      // not a palette: kept
                        Case{PALETTE_STAGE, stageSize, true},
                        Case{PALETTE_STAGE, -1, true},  // negative: as past the end
                        Case{PALETTE_COMMON, -32768, true}}) {
    std::vector<int> all(Traits::Groups().size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    TypeParam child = this->Child(all);
    child.m_nInheritKind = static_cast<decltype(child.m_nInheritKind)>(c.kind);
    child.m_nInheritIndex = static_cast<std::int16_t>(c.index);
    const RecordSnapshot before = TakeSnapshot(child);
    child.ApplyInheritance();
    Members changed = ChangedMembers(before, TakeSnapshot(child));
    if (c.dropped) {
      EXPECT_EQ(changed, (Members{"m_nInheritKind", "m_nInheritIndex"})) << c.kind << "/" << c.index;
      EXPECT_EQ(child.m_nInheritKind, 0);
      EXPECT_EQ(child.m_nInheritIndex, 0);
    } else {
      EXPECT_TRUE(changed.empty()) << c.kind << "/" << c.index;
    }
  }
}

TYPED_TEST(PaletteInheritTest, LoadDropsAMissingParentAndKeepsTheFlags) {
  using Traits = typename TestFixture::Traits;
  const int stageSize = static_cast<int>(Traits::Stage(this->m_Palettes).size());
  const int commonSize = static_cast<int>(Traits::Common(this->m_Palettes).size());
  struct Case {
    int kind;
    int index;
  };
  for (const Case& c : {Case{PALETTE_STAGE, stageSize}, Case{PALETTE_STAGE, -1}, Case{PALETTE_COMMON, commonSize}}) {
    TypeParam child = this->Child({0, 2});
    child.m_nInheritKind = PALETTE_NONE;
    child.m_nInheritIndex = 0;
    child.m_strName = "own";
    std::vector<std::uint8_t> file = child.SaveBytes();
    // The reference is the first field: after the version and the field count.
    const auto stored = static_cast<std::int16_t>(c.index);
    file[8] = static_cast<std::uint8_t>(c.kind);
    std::memcpy(&file[9], &stored, sizeof stored);

    // Nothing is copied and no stale index is left behind.
    TypeParam loaded;
    ASSERT_TRUE(loaded.LoadBytes(file));
    EXPECT_EQ(loaded.m_nInheritKind, 0) << c.kind << "/" << c.index;
    EXPECT_EQ(loaded.m_nInheritIndex, 0) << c.kind << "/" << c.index;
    EXPECT_EQ(loaded.m_strName, "own");
    EXPECT_EQ(loaded.m_vInheritFlag, child.m_vInheritFlag);

    // A reference made bad later is cleared whole, before every save.
    loaded.m_nInheritKind = static_cast<decltype(loaded.m_nInheritKind)>(c.kind);
    loaded.m_nInheritIndex = static_cast<std::int16_t>(c.index);
    loaded.Validate();
    EXPECT_EQ(loaded.m_nInheritKind, 0);
    EXPECT_EQ(loaded.m_nInheritIndex, 0);
  }
}

// A list is read into elements that already hold the list reader's
// defaults: a parent later in the same list is still such a default, an
// earlier one is complete.
TYPED_TEST(PaletteInheritTest, ParentsInTheListBeingReadAreTakenAsTheyStand) {
  using Traits = typename TestFixture::Traits;
  std::vector<TypeParam>& list = Traits::Common(this->m_Palettes);
  list.assign(4, TypeParam());
  TypeParam first = this->Child({Traits::kGraphicGroup});
  first.m_nInheritIndex = 3;  // later
  first.m_strName = "first";
  first.m_nGraphicNo = 40;
  TypeParam second = this->Child({0});
  second.m_nInheritIndex = 1;  // earlier
  second.m_strName = "second";
  TypeParam later;
  later.m_strName = "later";
  later.m_nGraphicNo = 55;

  cDataWriter w;
  w.WriteU32(4);
  for (TypeParam* entry : {&list[0], &first, &second, &later}) entry->Save(w);
  cDataReader r(w.Bytes());
  ASSERT_TRUE(LoadRecordList(r, list));
  EXPECT_EQ(list[1].m_nGraphicNo, 0) << "the later entry's default, not its 55";
  EXPECT_EQ(list[1].m_strName, "first");
  EXPECT_EQ(list[2].m_strName, "first") << "the earlier entry as loaded";
  EXPECT_EQ(list[3].m_nGraphicNo, 55);
}

TYPED_TEST(PaletteInheritTest, FlagsPastTheGroupTableAreIgnored) {
  using Traits = typename TestFixture::Traits;
  Traits::Common(this->m_Palettes)[1] = TestFixture::Filled(0x10, "parent");
  TypeParam child = this->Child({0});
  child.m_vInheritFlag.resize(Traits::Groups().size() + 3, 1);
  const auto flags = child.m_vInheritFlag;
  const RecordSnapshot before = TakeSnapshot(child);
  child.ApplyInheritance();
  EXPECT_EQ(ChangedMembers(before, TakeSnapshot(child)), Members{"m_strName"});
  EXPECT_EQ(child.m_vInheritFlag, flags);
}

TYPED_TEST(PaletteInheritTest, AnUnknownPaletteLeavesTheReference) {
  SetPaletteLists(nullptr);
  TypeParam child = this->Child({0, 1});
  child.m_nInheritIndex = 9;
  const RecordSnapshot before = TakeSnapshot(child);
  child.ApplyInheritance();
  child.Validate();
  SetPaletteLists(&this->m_Palettes);
  EXPECT_EQ(child.m_nInheritKind, PALETTE_COMMON);
  EXPECT_EQ(child.m_nInheritIndex, 9);
  EXPECT_EQ(child.m_strName, "child");
}

TEST(InsertInheritFlag, ShiftsUpFromTheNewGroupAndLosesTheLast) {
  std::vector<std::uint8_t> flags = {1, 0, 1, 0, 1};
  InsertInheritFlag(flags, 5, 1);
  EXPECT_EQ(flags, (std::vector<std::uint8_t>{1, 1, 0, 1, 0}));
  std::vector<std::uint8_t> shorter = {0, 1};
  InsertInheritFlag(shorter, 4, 0);
  EXPECT_EQ(shorter, (std::vector<std::uint8_t>{1, 0, 1, 0}));
}

}  // namespace
