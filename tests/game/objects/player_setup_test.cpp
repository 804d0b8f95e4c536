// The hero's set-up: boxes by movement type and hit range, box displays,
// and a set-up that leaves nothing of an earlier stage behind.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "game/objects/player.h"
#include "model/definitions/flow.h"
#include "support/definition_builders.h"
#include "support/recording_draw_target.h"
#include "support/test_actor.h"
#include "support/test_hero.h"
#include "support/test_stage.h"

namespace {

class PlayerSetup : public testing::Test {
 protected:
  TestStage stage;
  TestHero hero{stage};
  cPlayer& h = hero.m_Hero;
};

TEST_F(PlayerSetup, WalkingHeroHasItsBoxesInTheCell) {
  hero.SetUp(CharaBuilder().Hero().Hp(30), 4, 6, 7);
  EXPECT_EQ(h.m_nId, 7);
  EXPECT_EQ(h.m_pTarget, &h);
  EXPECT_EQ(h.m_nHp, 30);
  EXPECT_EQ(h.m_bFlying, 0);
  EXPECT_EQ(h.m_nWidth, 16);
  EXPECT_EQ(h.m_nHeight, 24);
  EXPECT_EQ(h.m_SpriteRect.m_nOffX, 8);  // (32 - 16) / 2
  EXPECT_EQ(h.m_SpriteRect.m_nOffY, 8);  // bottom-aligned: 32 - 24
  EXPECT_EQ(h.m_SpriteRect.m_nDrawW, 32);
  // Body box 16 x 24 bottom-aligned: at the map box's own place.
  EXPECT_EQ(h.m_BodyBox.m_nOffX, 0);
  EXPECT_EQ(h.m_BodyBox.m_nOffY, 0);
  // Shot box 12 x 8 and item box 16 x 16 centred in the cell.
  EXPECT_EQ(h.m_ShotBox.m_nOffX, 16 - 6 - 8);
  EXPECT_EQ(h.m_ShotBox.m_nOffY, 16 - 4 - 8);
  EXPECT_EQ(h.m_ItemBox.m_nOffX, 0);
  EXPECT_EQ(h.m_ItemBox.m_nOffY, 0);
  EXPECT_DOUBLE_EQ(h.m_ItemBox.m_dLeft, std::trunc(h.m_dX));
  EXPECT_DOUBLE_EQ(h.m_ItemBox.m_dBottom, std::trunc(h.m_dY) + 15);
  EXPECT_EQ(h.m_nJumpHold, 0);
  EXPECT_EQ(h.m_bJumpReleased, 1);
  EXPECT_DOUBLE_EQ(h.m_dFloorInertia, 4 / g_LoadedStage.m_dSubSteps);
}

struct HitRangeCase {
  const char* name;
  int range;
  int flying;
  int offX, offY, w, h;
};
class PlayerHitRange : public PlayerSetup, public testing::WithParamInterface<HitRangeCase> {};

TEST_P(PlayerHitRange, BodyBoxFollowsTheDefinitionsRange) {
  const HitRangeCase& c = GetParam();
  CharaBuilder def;
  def.Hero().Flying(c.flying).Get().m_nHitRange = static_cast<std::uint8_t>(c.range);
  hero.SetUp(def, 4, 6);
  EXPECT_EQ(h.m_BodyBox.m_nOffX, c.offX);
  EXPECT_EQ(h.m_BodyBox.m_nOffY, c.offY);
  EXPECT_EQ(h.m_BodyBox.m_nWidth, c.w);
  EXPECT_EQ(h.m_BodyBox.m_nHeight, c.h);
}

// Walking map box at draw offset (8, 8); flying at (8, 8) too (16 x 16 centred).
INSTANTIATE_TEST_SUITE_P(Cases, PlayerHitRange,
                         testing::Values(HitRangeCase{"WalkingCharacterBox", 0, 0, 0, 0, 16, 24},
                                         HitRangeCase{"FlyingCharacterBox", 0, 1, 0, 0, 16, 16},
                                         HitRangeCase{"ShotBox", 1, 0, 2, 4, 12, 8},
                                         HitRangeCase{"OtherShotsBox", 2, 0, 0, 0, 16, 16},
                                         HitRangeCase{"WholeCell", 3, 0, -8, -8, 32, 32}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerSetup, LandingFromFlightStopsTheHeroAndGivesAGrace) {
  hero.SetUp(CharaBuilder().Hero().Flying(2), 4, 6);
  EXPECT_EQ(h.m_nHeight, 16);
  EXPECT_EQ(h.m_nBlockMode, 1);
  h.m_nMoveTypeGrace = 0;
  h.m_dVX = h.m_dVY = h.m_dAccelX = h.m_dAccelY = 1.5;
  h.SetFlyingMode(0, false);
  EXPECT_EQ(h.m_bFlying, 0);
  EXPECT_EQ(h.m_Chara.m_nFlying, 0);
  EXPECT_EQ(h.m_nMoveTypeGrace, 2);
  EXPECT_EQ(h.m_dVX + h.m_dVY + h.m_dAccelX + h.m_dAccelY, 0);
  EXPECT_EQ(h.m_nHeight, 24);
  EXPECT_EQ(h.m_SpriteRect.m_nOffY, 8);
}

TEST_F(PlayerSetup, ScaledFlyingModeScalesTheCurrentBoxesOnly) {
  hero.SetUp(CharaBuilder().Hero().Scale(2), 4, 6);
  h.SetFlyingMode(1, true);
  EXPECT_EQ(h.m_nWidth, 32);
  EXPECT_EQ(h.m_nBaseWidth, 16);
  EXPECT_EQ(h.m_SpriteRect.m_nDrawW, 64);
  EXPECT_EQ(h.m_ItemBox.m_nWidth, 32);
  EXPECT_EQ(h.m_ItemBox.m_nBaseWidth, 16);
  EXPECT_EQ(h.m_ShotBox.m_nOffX, 2 * h.m_ShotBox.m_nBaseOffX);
}

TEST_F(PlayerSetup, SizeScaleZeroCountsAsOne) {
  hero.SetUp(CharaBuilder().Hero().Scale(0), 4, 6);
  EXPECT_EQ(h.m_Chara.m_nScale, 1);
  EXPECT_EQ(h.m_nWidth, 16);
}

TEST_F(PlayerSetup, InputSlotIsTheDefinitionsPlayerNumber) {
  CharaBuilder def;
  def.Hero().Get().m_nPlayerNo = 0;
  hero.SetUp(def, 4, 6);
  EXPECT_EQ(h.m_nInputSlot, 0);
  EXPECT_EQ(&h.Input(), &g_InputStates.at(0));
}

TEST_F(PlayerSetup, BoxDisplaysAreSortedLargestFirstWithTheirColours) {
  g_LoadedStage.m_nShowPlayerSize = 2;
  g_LoadedStage.m_nPlayerSizeColour = 5;
  g_LoadedStage.m_nShowPlayerBox1 = 1;
  g_LoadedStage.m_nPlayerBox1Colour = 1;
  g_LoadedStage.m_nPlayerBox2Colour = 2;
  g_LoadedStage.m_nPlayerBox3Colour = 3;
  g_LoadedStage.m_nPlayerBox1W = 20;  // body 20 x 24 beats the map box's 16 x 24
  hero.SetUp(CharaBuilder().Hero(), 4, 6);
  ASSERT_EQ(h.m_vBoxDisplays.size(), 4u);
  std::vector<int> kinds, modes, colours;
  for (const sBoxDisplay& box : h.m_vBoxDisplays) {
    kinds.push_back(box.nKind);
    modes.push_back(box.nMode);
    colours.push_back(box.nColour);
  }
  EXPECT_EQ(kinds, (std::vector<int>{BOX_DISPLAY_BODY, BOX_DISPLAY_MAP, BOX_DISPLAY_ITEM, BOX_DISPLAY_SHOT}));
  EXPECT_EQ(modes, (std::vector<int>{1, 2, 0, 0}));
  EXPECT_EQ(colours, (std::vector<int>{212, 228, 220, 216}));
}

// Every member a stage start must set, as text.
std::string Describe(const cPlayer& p) {
  std::ostringstream s;
  s << p.m_nId << ' ' << p.m_dX << ' ' << p.m_dY << ' ' << p.m_dVX << ' ' << p.m_dVY << ' ' << p.m_dAccelX << ' '
    << p.m_dAccelY << ' ' << p.m_bFlying << ' ' << p.m_nWidth << 'x' << p.m_nHeight << ' ' << p.m_nHp << ' '
    << p.m_nSp << ' ' << p.m_nFacing << ' ' << p.m_nPrevFacing << ' ' << (p.m_pTarget == &p) << ' '
    << p.m_vTargetedBy.size() << ' ' << p.m_vFlows.size() << ' ' << p.m_nFlowSerial << ' ' << p.m_nJumpHold << ' '
    << p.m_bJumpReleased << ' ' << p.m_bNoJumpFloor << ' ' << p.m_bJumpHandled << ' ' << p.m_TouchedItems.size()
    << ' ' << p.m_nFloorEffect << ' ' << p.m_dFloorEffectValue << ' ' << p.m_bOnEffectFloor << ' '
    << p.m_nBlockItemWait << ' ' << p.m_vQueuedItemCommands.size() << ' ' << p.m_vBoxDisplays.size() << ' '
    << p.m_bDying << ' ' << p.m_nDyingFrames << ' ' << p.m_nNoDamage << ' ' << p.m_bInAir << ' ' << p.m_bJumping
    << ' ' << p.m_bOnCharacter << ' ' << p.m_bRidden << ' ' << p.m_nMoveTypeGrace << ' ' << p.m_pFloorCell << ' '
    << p.m_nFloorCell << ' ' << p.m_nPrevFloorCell << ' ' << p.m_pLandedCell << ' ' << p.m_nFloorEffectCount << ' '
    << p.m_bRemove << ' ' << p.m_bHidden << ' ' << p.m_bVanish << ' ' << p.m_Overlays.size() << ' '
    << p.m_NoDamageFrom.size() << ' ' << p.m_vShots.size() << ' ' << p.m_bMoveDisabled << ' ' << p.m_bKnockedBack
    << ' ' << p.m_bHitBottom << ' ' << p.m_nWallSide << ' ' << p.m_bPinX << ' ' << p.m_nPinX;
  for (int v : p.m_vVars) s << ' ' << v;
  for (const cFlowInstance& flow : p.m_vFlows) s << " flow " << flow.m_bRunning << flow.m_nCurCommand;
  for (const sBoxDisplay& box : p.m_vBoxDisplays) s << " box " << box.nCounter;
  return s.str();
}

TEST_F(PlayerSetup, EveryStageStartBeginsAfresh) {
  const cEdChara def = CharaBuilder().Hero().Hp(20).Sp(5).Flow(
      FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_WAIT).Time(10)));
  cMapCell cell;
  // What a new hero looks like after the set-up.
  hero.SetUp(def, 4, 6);
  const std::string fresh = Describe(h);

  // A stage played for a while: flying, hurt, jumping, queued item
  // commands, items touched, boxes shown, a flow running, a character
  // targeting it, even dying.
  TestActor other;
  other.SetUp(CharaBuilder(), 8, 6, 2);
  other.SetTarget(&h);
  h.SetFlyingMode(1, false);
  h.m_nHp = 3;
  h.m_vVars[2] = 9;
  h.m_nJumpHold = 4;
  h.m_bJumpReleased = 0;
  h.m_bNoJumpFloor = h.m_bJumpHandled = h.m_bOnEffectFloor = 1;
  h.m_nFloorEffect = 3;
  h.m_dFloorEffectValue = 1.5;
  h.m_nBlockItemWait = 40;
  h.m_vQueuedItemCommands.push_back(CommandBuilder(CMD_WAIT));
  h.m_TouchedItems.push_back(nullptr);
  h.m_vBoxDisplays[0].nCounter = 17;
  h.m_vFlows[0].m_bRunning = 1;
  h.m_vFlows[0].m_nCurCommand = 1;
  h.m_bDying = 1;
  h.m_nDyingFrames = 12;
  h.m_nNoDamage = 30;
  h.m_NoDamageFrom.push_back({5, 9});
  h.m_bInAir = h.m_bJumping = h.m_bOnCharacter = h.m_bRidden = h.m_bKnockedBack = 1;
  h.m_pFloorCell = h.m_pLandedCell = &cell;
  h.m_nFloorCell = h.m_nPrevFloorCell = 77;
  h.m_nFloorEffectCount = 3;
  h.m_bRemove = h.m_bVanish = h.m_bMoveDisabled = h.m_bPinX = 1;
  h.m_nPinX = 50;
  h.m_dAccelX = 2;

  hero.SetUp(def, 4, 6);
  EXPECT_EQ(Describe(h), fresh);
  EXPECT_EQ(other.m_pTarget, nullptr);  // the old stage's links are dropped
}

}  // namespace
