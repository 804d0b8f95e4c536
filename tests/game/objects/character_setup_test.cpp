// Setting characters up: map box, hit boxes, size scale, carried item,
// view skips, first animation and flows, and placement at a cell.
#include <gtest/gtest.h>

#include <cmath>

#include "game/objects/character.h"
#include "support/definition_builders.h"
#include "support/test_stage.h"

namespace {

// The stage's character box settings, each size distinct so that a box
// tells where it came from.
void SetCharacterBoxes() {
  cEdStage& s = g_LoadedStage;
  s.m_nCharaSizeW = 16, s.m_nCharaSizeH = 24, s.m_bCharaSizeBottom = 1;
  s.m_nCharaFlySizeW = 20, s.m_nCharaFlySizeH = 16, s.m_bCharaFlySizeBottom = 0;
  s.m_nCharaBox1W = 12, s.m_nCharaBox1H = 24, s.m_bCharaBox1Bottom = 1;
  s.m_nCharaFlyBox1W = 12, s.m_nCharaFlyBox1H = 16, s.m_bCharaFlyBox1Bottom = 0;
  s.m_nCharaBox2W = 10, s.m_nCharaBox2H = 14;
  s.m_nPlayerShotBoxW = 8, s.m_nPlayerShotBoxH = 6;
}

struct Box {
  int x, y, w, h;
  bool operator==(const Box&) const = default;
};
Box BoxOf(const sHitBox& b) { return {b.m_nOffX, b.m_nOffY, b.m_nWidth, b.m_nHeight}; }
Box BaseOf(const sHitBox& b) { return {b.m_nBaseOffX, b.m_nBaseOffY, b.m_nBaseWidth, b.m_nBaseHeight}; }
Box SpriteOf(const cCharacter& c) { return {c.m_SpriteRect.m_nOffX, c.m_SpriteRect.m_nOffY, c.m_nWidth, c.m_nHeight}; }
void PrintTo(const Box& b, std::ostream* os) { *os << "(" << b.x << ", " << b.y << ", " << b.w << "x" << b.h << ")"; }

struct BoxCase {
  const char* name;
  int flying, hitRange, blockChara, walkWidth;
  Box map, body, shot;
};
class CharacterBoxes : public testing::TestWithParam<BoxCase> {};

TEST_P(CharacterBoxes, ComeFromTheStageSettingsByKindAndMode) {
  const BoxCase& c = GetParam();
  TestStage stage;
  SetCharacterBoxes();
  g_LoadedStage.m_nCharaSizeW = c.walkWidth;
  CharaBuilder def;
  def.Flying(c.flying);
  def.Get().m_nHitRange = static_cast<std::uint8_t>(c.hitRange);
  def.Get().m_bBlockChara = static_cast<std::uint8_t>(c.blockChara);
  cCharacter chara;
  chara.Init(7, &def.Get(), nullptr, 0, 0, 0);
  EXPECT_EQ(SpriteOf(chara), c.map);
  EXPECT_EQ(BoxOf(chara.m_BodyBox), c.body);
  EXPECT_EQ(BaseOf(chara.m_BodyBox), c.body);
  EXPECT_EQ(BoxOf(chara.m_ShotBox), c.shot);
  EXPECT_EQ(BaseOf(chara.m_ShotBox), c.shot);

  // The boxes follow the position, from the truncated pixel.
  chara.PlaceAtTile(3, 4);
  EXPECT_EQ(chara.m_BodyBox.m_dLeft, std::trunc(chara.m_dX) + c.body.x);
  EXPECT_EQ(chara.m_BodyBox.m_dRight, chara.m_BodyBox.m_dLeft + c.body.w - 1);
  EXPECT_EQ(chara.m_ShotBox.m_dTop, std::trunc(chara.m_dY) + c.shot.y);
  EXPECT_EQ(chara.m_ShotBox.m_dBottom, chara.m_ShotBox.m_dTop + c.shot.h - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterBoxes,
    testing::Values(
        // Walking 16 x 24 at the bottom: offset (8, 8). Box 1 12 x 24 at the
        // bottom; the shot box is box 2 (10 x 14) centred in the cell.
        BoxCase{"WalkerCharaBox", 0, 0, 0, 16, {8, 8, 16, 24}, {2, 0, 12, 24}, {3, 1, 10, 14}},
        // Flying 20 x 16 centred: offset (6, 8); its box 1 12 x 16 centred.
        BoxCase{"FlyerCharaBox", 1, 0, 0, 16, {6, 8, 20, 16}, {4, 0, 12, 16}, {5, 1, 10, 14}},
        BoxCase{"FlyerStoppedByBlocks", 2, 0, 0, 16, {6, 8, 20, 16}, {4, 0, 12, 16}, {5, 1, 10, 14}},
        BoxCase{"CharaVersusShotBox", 0, 1, 0, 16, {8, 8, 16, 24}, {3, 1, 10, 14}, {3, 1, 10, 14}},
        BoxCase{"ShotVersusCharaBox", 0, 2, 0, 16, {8, 8, 16, 24}, {4, 5, 8, 6}, {3, 1, 10, 14}},
        BoxCase{"WholeRange", 0, 3, 0, 16, {8, 8, 16, 24}, {-8, -8, 32, 32}, {3, 1, 10, 14}},
        // The offset halves by an arithmetic shift: (32 - 41) >> 1 = -5.
        BoxCase{"WiderThanTheCell", 0, 0, 0, 41, {-5, 8, 41, 24}, {15, 0, 12, 24}, {16, 1, 10, 14}},
        BoxCase{"BlockCharacter", 0, 1, 1, 16, {0, 0, 32, 32}, {0, 0, 32, 32}, {0, 0, 32, 32}}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST(CharacterSetUp, SizeScaleGrowsBoxesAndPlacementKeepsTheFeetOnTheCell) {
  TestStage stage;
  SetCharacterBoxes();
  CharaBuilder def;
  def.Scale(2);
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  EXPECT_EQ(SpriteOf(chara), (Box{16, 16, 32, 48}));
  EXPECT_EQ(BoxOf(chara.m_BodyBox), (Box{4, 0, 24, 48}));
  EXPECT_EQ(BaseOf(chara.m_BodyBox), (Box{2, 0, 12, 24}));
  EXPECT_EQ(BoxOf(chara.m_ShotBox), (Box{6, 2, 20, 28}));

  // Cell (3, 4) of the stage proper: x = 13 x 32 + 8 + 0.5, moved left by
  // half the base width; y = 14 x 32 + 8, moved up by the sprite below the
  // base offset, so the feet stay on the cell's bottom.
  chara.PlaceAtTile(3, 4);
  EXPECT_DOUBLE_EQ(chara.m_dX, 13 * 32 + 8 + 0.5 - 8);
  EXPECT_DOUBLE_EQ(chara.m_dY, 14 * 32 + 8 - 24);
  EXPECT_DOUBLE_EQ(chara.m_dBottom, 15 * 32 - 1);
}

TEST(CharacterSetUp, ScaleZeroCountsAsOneWithoutTouchingTheDefinition) {
  TestStage stage;
  SetCharacterBoxes();
  CharaBuilder def;
  def.Scale(0);
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  EXPECT_EQ(chara.m_Chara.m_nScale, 1);
  EXPECT_EQ(def.Get().m_nScale, 0);
  EXPECT_EQ(SpriteOf(chara), (Box{8, 8, 16, 24}));
}

TEST(CharacterSetUp, BlockCharacterScalesItsBoxesToTheWholeObject) {
  TestStage stage;
  CharaBuilder def;
  def.Scale(3);
  def.Get().m_bBlockChara = 1;
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  EXPECT_EQ(BoxOf(chara.m_BodyBox), (Box{0, 0, 96, 96}));
  EXPECT_EQ(BoxOf(chara.m_ShotBox), (Box{0, 0, 96, 96}));
}

TEST(CharacterSetUp, CarriedItemIsACopyAndNoItemLeavesNoGraphic) {
  TestStage stage;
  CharaBuilder def;
  cItem item;
  item.InitFromDefinition(5, &static_cast<const cEdItem&>(ItemBuilder().Graphic(9)), true);
  cCharacter carrier;
  carrier.Init(1, &def.Get(), &item, 0, 0, 0);
  EXPECT_EQ(carrier.m_DropItem.m_bCarried, 1);
  EXPECT_EQ(carrier.m_DropItem.m_nGraphicNo, 9);
  EXPECT_EQ(carrier.m_DropItem.m_nId, 5);
  EXPECT_EQ(carrier.GetDropItem(), &carrier.m_DropItem);

  cCharacter plain;
  plain.m_DropItem.m_nGraphicNo = 3;
  plain.Init(2, &def.Get(), nullptr, 0, 0, 0);
  EXPECT_EQ(plain.m_DropItem.m_bCarried, 0);
  EXPECT_EQ(plain.m_DropItem.m_nGraphicNo, 0);
}

struct RangeCase {
  const char* name;
  int activeRange;
  int skipX, skipY;
};
class CharacterActiveRange : public testing::TestWithParam<RangeCase> {};

TEST_P(CharacterActiveRange, SetsTheViewSkips) {
  const RangeCase& c = GetParam();
  TestStage stage;
  CharaBuilder def;
  def.Get().m_nActiveRange = static_cast<std::uint8_t>(c.activeRange);
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  EXPECT_EQ(chara.m_bViewSkipX, c.skipX);
  EXPECT_EQ(chara.m_bViewSkipY, c.skipY);
}

INSTANTIATE_TEST_SUITE_P(Cases, CharacterActiveRange,
                         testing::Values(RangeCase{"InView", 0, 0, 0}, RangeCase{"XInView", 1, 0, 1},
                                         RangeCase{"YInView", 2, 1, 0}, RangeCase{"Everywhere", 3, 1, 1},
                                         RangeCase{"Unknown", 4, 0, 0}),
                         [](const testing::TestParamInfo<RangeCase>& info) { return std::string(info.param.name); });

TEST(CharacterSetUp, StartsItsFirstAnimationAndBuildsItsFlows) {
  TestStage stage;
  CharaBuilder walker;
  walker.Flow(FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_WAIT).Time(1)));
  cCharacter a;
  a.Init(1, &walker.Get(), nullptr, 0, 0, 0);
  EXPECT_EQ(a.m_Anime.Sequence(), 1);
  EXPECT_EQ(a.m_bFlying, 0);
  ASSERT_EQ(a.m_vFlows.size(), 1u);
  EXPECT_EQ(a.m_vFlows[0].m_pFlow, &a.m_Chara.m_vFlow[0]);
  EXPECT_EQ(a.m_bActivated, 0);
  EXPECT_EQ(a.m_nIconTimer, 0);

  CharaBuilder flyer;
  flyer.Flying(3);
  cCharacter b;
  b.Init(2, &flyer.Get(), nullptr, 0, 0, 0);
  EXPECT_EQ(b.m_Anime.Sequence(), 0);
  EXPECT_EQ(b.m_bFlying, 1);
  EXPECT_EQ(b.m_nBlockMode, 2);
}

}  // namespace
