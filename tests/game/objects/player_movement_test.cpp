// The hero's movement: the view following it within the scroll limits,
// the clamps by movement type, the speed-change floor, falling out of the
// stage, and the flow step's base speeds and exits.
#include <gtest/gtest.h>

#include <string>

#include "game/objects/player.h"
#include "model/definitions/flow.h"
#include "model/settings/system_data.h"
#include "support/definition_builders.h"
#include "support/test_hero.h"
#include "support/test_stage.h"

namespace {

class PlayerMovement : public testing::Test {
 protected:
  // 40 x 30 cells: the stage proper spans map pixels 320..1600 across and
  // 320..1280 down.
  TestStage stage{{40, 30, 1, 0.4}};
  TestHero hero{stage};
  cPlayer& h = hero.m_Hero;
};

struct FollowCase {
  const char* name;
  int flying;
  int autoScroll;
  int min, max;  // the view's limits
  double x;      // the hero's left edge before ConstrainX
  double view;   // the view's left edge after
  double clampedX;
  int code;
};
class PlayerFollowX : public PlayerMovement, public testing::WithParamInterface<FollowCase> {};

TEST_P(PlayerFollowX, ViewFollowsTheHeroWithinTheLimits) {
  const FollowCase& c = GetParam();
  hero.SetUp(CharaBuilder().Hero().Flying(c.flying), 10, 10);
  cScrollAxis& axis = stage.m_ScrollX;
  axis.m_nMin = c.min;
  axis.m_nMax = c.max;
  axis.m_bAuto = c.autoScroll;
  axis.m_dPos = 500;
  h.m_dX = c.x;
  EXPECT_EQ(h.ConstrainX(), c.code);
  EXPECT_DOUBLE_EQ(axis.m_dPos, c.view);
  EXPECT_DOUBLE_EQ(h.m_dX, c.clampedX);
  EXPECT_DOUBLE_EQ(h.m_dRight, c.clampedX + 15);
}

// The hero is 16 pixels wide: the view puts its left edge at 320 - 8.
INSTANTIATE_TEST_SUITE_P(
    Cases, PlayerFollowX,
    testing::Values(FollowCase{"Middle", 0, 0, 320, 1600, 900, 588, 900, 0},
                    FollowCase{"NearTheFirstLimit", 0, 0, 320, 1600, 400, 320, 400, 0},
                    FollowCase{"NearTheLastLimit", 0, 0, 320, 1600, 1500, 960, 1500, 0},
                    FollowCase{"ExactlyAtTheLastLimit", 0, 0, 320, 1600, 1272, 960, 1272, 0},
                    // Limits 480 pixels apart: the first limit wins, the
                    // view never starts before it.
                    FollowCase{"NarrowerThanTheScreen", 0, 0, 320, 800, 700, 320, 700, 0},
                    // Automatic scrolling: the view stays; a flying hero
                    // keeps within the scroll limits, a walking one within
                    // the stage (beyond the limits: code 1).
                    FollowCase{"AutoScrollFlying", 1, 1, 400, 1600, 350, 500, 400, 0},
                    FollowCase{"AutoScrollWalking", 0, 1, 400, 1600, 350, 500, 350, 1},
                    FollowCase{"AutoScrollWalkingBeforeTheStage", 0, 1, 400, 1600, 100, 500, 320, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerMovement, ViewFollowsVerticallyAroundTheScreenMiddle) {
  hero.SetUp(CharaBuilder().Hero(), 10, 10);  // 24 high
  cScrollAxis& axis = stage.m_ScrollY;
  h.m_dY = 800;
  h.ConstrainY();
  EXPECT_DOUBLE_EQ(axis.m_dPos, 800 - (240 - 12));
  axis.m_nMax = 700;  // limits 380 apart, fewer than the screen's 480
  h.ConstrainY();
  EXPECT_DOUBLE_EQ(axis.m_dPos, 320);
}

TEST_F(PlayerMovement, WalkingHeroFallingOutOfTheStageIsKilled) {
  hero.SetUp(CharaBuilder().Hero(), 10, 29);
  h.m_dVY = 6;
  int code = 0;
  for (int i = 0; i < 10 && code == 0; ++i) code = h.MoveY();
  EXPECT_EQ(code, 7);
}

TEST_F(PlayerMovement, FlyingHeroStopsAtTheLastScrollLimit) {
  hero.SetUp(CharaBuilder().Hero().Flying(1), 10, 29);
  h.m_dVY = 6;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(h.MoveY(), 0);
  EXPECT_DOUBLE_EQ(h.m_dBottom, stage.m_ScrollY.m_nMax - 1);
}

TEST_F(PlayerMovement, KnockBackReplacesTheHorizontalSpeed) {
  hero.SetUp(CharaBuilder().Hero(), 10, 10);
  const double x = h.m_dX;
  h.m_dImpactVX = -2.5;
  h.m_dAccelX = 3;
  EXPECT_EQ(h.MoveX(), 0);
  EXPECT_DOUBLE_EQ(h.m_dX, x - 2.5);
  EXPECT_DOUBLE_EQ(h.m_dAccelX, 3);
}

// The speed-change floor scales the added speed by the block's factor: per
// sub-step it moves by SpeedStepRate(4 / u) x (factor - 1), never past 0.
struct FloorCase {
  const char* name;
  int effect;
  int onEffectFloor;
  double factor;
  double accel;
  double step;  // added to the speed's size (positive: faster)
  bool stops;
};
class PlayerFloorSpeed : public PlayerMovement, public testing::WithParamInterface<FloorCase> {};

TEST_P(PlayerFloorSpeed, ScalesTheAddedSpeed) {
  const FloorCase& c = GetParam();
  hero.SetUp(CharaBuilder().Hero(), 10, 10);
  h.m_nFloorEffect = c.effect;
  h.m_bOnEffectFloor = c.onEffectFloor;
  h.m_dFloorEffectValue = c.factor;
  h.m_bDecayAccelX = 0;
  h.m_dAccelX = c.accel;
  h.m_dVX = 0;
  h.MoveX();
  const double k = (4 / g_LoadedStage.m_dSubSteps) / g_LoadedStage.m_dSubSteps / 60 * (c.factor - 1.0);
  if (c.stops) {
    EXPECT_EQ(h.m_dAccelX, 0);
  } else if (c.step == 0) {
    EXPECT_EQ(h.m_dAccelX, c.accel);
  } else {
    EXPECT_DOUBLE_EQ(h.m_dAccelX, c.accel > 0 ? c.accel + k : c.accel - k);
  }
  EXPECT_DOUBLE_EQ(h.m_dVX, h.m_dAccelX);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlayerFloorSpeed,
                         testing::Values(FloorCase{"FasterRight", 3, 1, 1.5, 1.0, 1, false},
                                         FloorCase{"FasterLeft", 3, 1, 1.5, -1.0, 1, false},
                                         FloorCase{"SlowerRight", 3, 1, 0.5, 1.0, -1, false},
                                         FloorCase{"SlowerRightStopsAtZero", 3, 1, 0.0, 0.01, -1, true},
                                         FloorCase{"SlowerLeftStopsAtZero", 3, 1, 0.0, -0.01, -1, true},
                                         FloorCase{"ConveyorIsNotAFactor", 4, 1, 1.5, 1.0, 0, false},
                                         FloorCase{"LeftTheFloor", 3, 0, 1.5, 1.0, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The base speeds of a flow step: the view's automatic scrolling carries the
// hero when it follows the scroll (and always, flying, with the
// no-scroll-carry setting); a walking hero keeps its fall.
struct BaseSpeedCase {
  const char* name;
  int noScrollCarry;
  int flying;
  int scrollSync;
  double vx, vy;
};
class PlayerBaseSpeeds : public PlayerMovement, public testing::WithParamInterface<BaseSpeedCase> {
 protected:
  void TearDown() override { g_SystemData.m_bNoScrollCarry = 0; }
};

TEST_P(PlayerBaseSpeeds, ComeFromTheAutomaticScrolling) {
  const BaseSpeedCase& c = GetParam();
  g_SystemData.m_bNoScrollCarry = c.noScrollCarry;
  CharaBuilder def;
  def.Hero().Flying(c.flying).Get().m_bScrollSync = static_cast<std::uint8_t>(c.scrollSync);
  hero.SetUp(def, 10, 10);
  stage.m_ScrollX.m_dSpeed = 0.5;
  stage.m_ScrollY.m_dSpeed = 0.25;
  h.m_dVX = h.m_dVY = 9;
  h.RunFlows(false);
  EXPECT_DOUBLE_EQ(h.m_dVX, c.vx);
  EXPECT_DOUBLE_EQ(h.m_dVY, c.vy);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlayerBaseSpeeds,
                         testing::Values(BaseSpeedCase{"Still", 0, 0, 0, 0, 9},
                                         BaseSpeedCase{"StillFlying", 0, 1, 0, 0, 0},
                                         BaseSpeedCase{"Synced", 0, 0, 1, 0.5, 9},
                                         BaseSpeedCase{"SyncedFlying", 0, 1, 1, 0.5, 0.25},
                                         BaseSpeedCase{"NoCarryWalking", 1, 0, 1, 0, 9},
                                         BaseSpeedCase{"NoCarryFlying", 1, 1, 0, 0.5, 0.25}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerMovement, FlowStepLeavesNoCurrentActorEvenWhenTheHeroDies) {
  const cEdChara def =
      CharaBuilder().Hero().Flow(FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_WAIT).Time(10)));
  hero.SetUp(def, 10, 10);
  h.m_vFlows[0].m_bRunning = 1;
  h.m_nHp = 0;
  h.m_nJumpHold = 3;
  EXPECT_EQ(h.RunFlows(false), 1);
  EXPECT_EQ(stage.m_pCurActor, nullptr);
  EXPECT_EQ(stage.m_pCurFlow, nullptr);
  EXPECT_EQ(stage.m_pCurCommand, nullptr);

  // A living hero with no jump command in its step is back at rest.
  h.m_nHp = 5;
  EXPECT_EQ(h.RunFlows(false), 0);
  EXPECT_EQ(h.m_nJumpHold, 0);
  EXPECT_EQ(h.m_bJumpReleased, 1);
}

TEST_F(PlayerMovement, FlowChangesQueuedDuringTheStepApplyAtItsEnd) {
  hero.SetUp(CharaBuilder().Hero(), 10, 10);
  cEdCommand add = CommandBuilder(CMD_WAIT);  // an item's flow change: add (operation 0) one flow
  add.m_vParam.assign(2, 0);
  add.m_vFlow.push_back(FlowBuilder(TRIGGER_ALWAYS).Id(4));
  h.m_vQueuedItemCommands.push_back(add);
  h.RunFlows(false);
  ASSERT_EQ(h.m_vFlows.size(), 1u);
  EXPECT_EQ(h.m_vFlows[0].m_pFlow->m_nId, 4);
  EXPECT_TRUE(h.m_vQueuedItemCommands.empty());
}

}  // namespace
