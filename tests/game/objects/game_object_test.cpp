#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/core/numeric.h"
#include "game/flows/flow_instance.h"
#include "game/objects/game_object.h"
#include "model/settings/system_data.h"
#include "support/test_stage.h"

namespace {

// A stage of 30 x 20 cells: stage proper 320..1279 x 320..959, map extent
// 1600 x 1280; scroll limits narrowed to 400..1200 x 400..900.
class GameObjectTest : public testing::Test {
 protected:
  GameObjectTest() : stage({30, 20}) {
    stage.m_ScrollX.m_nMin = 400;
    stage.m_ScrollX.m_nMax = 1200;
    stage.m_ScrollY.m_nMin = 400;
    stage.m_ScrollY.m_nMax = 900;
    object.InitBase(1, 1, 0, 1, 1, nullptr, 0, 0, 0, 20, 20, 32, 32, 0, 0, 0);
  }
  TestStage stage;
  cGameObject object;
};

struct ClampCase {
  const char* name;
  int mode;
  double pos;
  int code;
  double clamped;
};

class ClampX : public GameObjectTest, public testing::WithParamInterface<ClampCase> {};
class ClampY : public GameObjectTest, public testing::WithParamInterface<ClampCase> {};

TEST_P(ClampX, EdgeCodeAndPosition) {
  const ClampCase& c = GetParam();
  object.m_dX = c.pos;
  EXPECT_EQ(object.ClampToStageX(c.mode), c.code);
  EXPECT_DOUBLE_EQ(object.m_dX, c.clamped);
  EXPECT_DOUBLE_EQ(object.m_dRight, c.clamped + 19);
  EXPECT_EQ(object.m_nCellLeft, static_cast<int>(c.clamped) >> 5);
}

TEST_P(ClampY, EdgeCodeAndPosition) {
  const ClampCase& c = GetParam();
  object.m_dY = c.pos;
  EXPECT_EQ(object.ClampToStageY(c.mode), c.code);
  EXPECT_DOUBLE_EQ(object.m_dY, c.clamped);
  EXPECT_DOUBLE_EQ(object.m_dBottom, c.clamped + 19);
}

const auto Name = [](const auto& info) { return std::string(info.param.name); };

INSTANTIATE_TEST_SUITE_P(
    Cases, ClampX,
    testing::Values(ClampCase{"Mode0BelowMin", 0, 390, 0, 400}, ClampCase{"Mode0PastMax", 0, 1190, 0, 1180},
                    ClampCase{"Mode1LeftOfStage", 1, 300, 0, 320}, ClampCase{"Mode1RightOfStage", 1, 1270, 0, 1260},
                    ClampCase{"Mode1OutsideScrollOnly", 1, 350, 1, 350}, ClampCase{"Mode1Inside", 1, 600, 0, 600},
                    ClampCase{"Mode2BelowZero", 2, -5, 3, 0}, ClampCase{"Mode2AtExtent", 2, 1590, 3, 1580},
                    ClampCase{"Mode2OutsideStage", 2, 100, 2, 100}, ClampCase{"Mode2LeftOfScrollMin", 2, 350, 1, 350},
                    ClampCase{"Mode2Inside", 2, 600.25, 0, 600.25}, ClampCase{"OtherModeNoClamp", 7, -50, 0, -50}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Cases, ClampY,
    testing::Values(ClampCase{"Mode1AboveScroll", 1, 350, 1, 350}, ClampCase{"Mode1BelowScroll", 1, 890, 4, 890},
                    ClampCase{"Mode2MapTop", 2, -1, 3, 0}, ClampCase{"Mode2AboveStage", 2, 100, 2, 100},
                    ClampCase{"Mode2AboveScroll", 2, 350, 1, 350}, ClampCase{"Mode2BelowScroll", 2, 890, 4, 890},
                    ClampCase{"Mode2BelowStage", 2, 950, 5, 950}, ClampCase{"Mode2MapBottom", 2, 1270, 6, 1260},
                    ClampCase{"Mode2Inside", 2, 500, 0, 500}),
    Name);

TEST_F(GameObjectTest, SetScaleGrowsAboutTheHorizontalCentre) {
  object.m_dX = 600;
  object.SetScale(3, 1);
  EXPECT_DOUBLE_EQ(object.m_dX, 580);  // base width 20: 10 x 2 to the left
  EXPECT_EQ(object.m_nWidth, 60);
  EXPECT_EQ(object.m_SpriteRect.m_nDrawW, 96);
  object.SetScale(2, 2);
  EXPECT_EQ(object.m_nWidth, 60);
}

TEST_F(GameObjectTest, StepLimitsTheSpeedToTheStageMaximum) {
  object.m_dX = 600;
  object.m_dVX = 100;
  object.StepX(2);
  EXPECT_DOUBLE_EQ(object.m_dVX, g_LoadedStage.m_dMaxSpeedStep);
  EXPECT_DOUBLE_EQ(object.m_dX, 600 + g_LoadedStage.m_dMaxSpeedStep);
}

struct DecayCase {
  const char* name;
  double speed, decay, result;
};
class DecayAccel : public GameObjectTest, public testing::WithParamInterface<DecayCase> {};

TEST_P(DecayAccel, ShrinksTowardZeroAndSnapsWhenCrossing) {
  object.m_dInertiaDecay = GetParam().decay;
  double speed = GetParam().speed;
  object.DecayAccel(speed, true);
  EXPECT_DOUBLE_EQ(speed, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecayAccel,
                         testing::Values(DecayCase{"PositiveShrinks", 1.5, 0.5, 1.0},
                                         DecayCase{"NegativeShrinks", -1.5, 0.5, -1.0},
                                         DecayCase{"CrossingSnapsToZero", 0.3, 0.5, 0.0},
                                         DecayCase{"NegativeCrossingSnaps", -0.3, 0.5, 0.0},
                                         DecayCase{"ZeroStays", 0.0, 0.5, 0.0}),
                         Name);

TEST_F(GameObjectTest, DecayAccelDoesNothingWithoutItsFlag) {
  object.m_dInertiaDecay = 0.5;
  double speed = 0.3;
  object.DecayAccel(speed, false);
  EXPECT_DOUBLE_EQ(speed, 0.3);
}

TEST_F(GameObjectTest, ScreenRectTruncatesAfterSubtractingTheTruncatedView) {
  stage.m_ScrollX.m_dPos = 400.9;
  stage.m_ScrollY.m_dPos = 400.2;
  object.m_dX = 500.7;
  object.m_dY = 450.5;
  object.UpdateScreenRect();
  EXPECT_EQ(object.m_SpriteRect.m_nLeft, 100);
  EXPECT_EQ(object.m_SpriteRect.m_nTop, 50);
  EXPECT_EQ(object.m_SpriteRect.m_nRight, 131);
  EXPECT_EQ(object.CenterX(), 116);
}

TEST_F(GameObjectTest, OutOfBoundsIsFalseWhileOnScreenEvenAtTheMapEdge) {
  cEdScreenOutRule rule;
  rule.SetAll(1, 1, 1, 1, 0, 0, 0, 0);
  object.m_dX = 0;
  object.ClampToStageX(2);
  object.m_bOnScreen = 1;
  EXPECT_FALSE(object.IsOutOfBounds(rule));
  object.m_bOnScreen = 0;
  EXPECT_TRUE(object.IsOutOfBounds(rule));
}

TEST_F(GameObjectTest, OutOfBoundsByTheRuleMargins) {
  cEdScreenOutRule rule;
  rule.SetAll(1, 0, 0, 0, 2, 0, 0, 0);  // left, two cells beyond the view
  stage.m_ScrollX.m_dPos = 640;
  stage.m_ScrollY.m_dPos = 400;
  object.m_dY = 500;
  object.ClampToStageY(2);
  object.m_dX = 558;  // right edge 577, beyond 640 - 2 x 32
  object.ClampToStageX(2);
  EXPECT_FALSE(object.IsOutOfBounds(rule));
  object.m_dX = 557;  // right edge 576
  object.ClampToStageX(2);
  EXPECT_TRUE(object.IsOutOfBounds(rule));
}

TEST_F(GameObjectTest, OverlapsBlockTestsTheFourCornerCells) {
  stage.PutBlock(5, 5, TestStage::Solid());
  object.m_dX = (15 * 32) + 20;  // right edge reaches into column 15
  object.m_dY = (15 * 32) - 10;  // bottom edge into row 15
  object.ClampToStageX(2);
  object.ClampToStageY(2);
  EXPECT_TRUE(object.OverlapsBlock());
  stage.PutBlock(5, 5, TestStage::PassedByTeam(7));
  object.m_nTeam = 7;
  EXPECT_FALSE(object.OverlapsBlock());
}

TEST_F(GameObjectTest, MoveTypeTable) {
  const int expected[4][2] = {{0, 1}, {1, 0}, {1, 1}, {1, 2}};
  for (int type = 0; type < 4; ++type) {
    object.SetMoveType(type);
    EXPECT_EQ(object.m_bFlying, expected[type][0]) << type;
    EXPECT_EQ(object.m_nBlockMode, expected[type][1]) << type;
  }
  object.SetMoveType(9);
  EXPECT_EQ(object.m_nBlockMode, 2);
}

TEST(MoveVelocity, NegativeSpeedFleesDiagonally) {
  TestStage stage;
  double vx = 0, vy = 0;
  int dir = -1;
  // Target up and to the right.
  EXPECT_EQ(ComputeMoveVelocity(vx, vy, dir, nullptr, 100, 100, 150, 50, -4, false, false, true), 0);
  EXPECT_NEAR(vx, -2.8284271247, 1e-9);
  EXPECT_NEAR(vy, 2.8284271247, 1e-9);
  EXPECT_EQ(dir, 1);
}

TEST(MoveVelocity, TowardThePointArrivesWithinOneStep) {
  TestStage stage;
  double vx = 0, vy = 0;
  int dir = 0;
  EXPECT_EQ(ComputeMoveVelocity(vx, vy, dir, nullptr, 0, 0, 30, 40, 5, false, false, true), 0);
  EXPECT_DOUBLE_EQ(vx, 3);
  EXPECT_DOUBLE_EQ(vy, 4);
  EXPECT_EQ(dir, 2);
  EXPECT_EQ(ComputeMoveVelocity(vx, vy, dir, nullptr, 0, 0, 3, -4, 5, false, false, true), 1);
  EXPECT_EQ(ComputeMoveVelocity(vx, vy, dir, nullptr, 0, 0, 0, 0, 5, false, false, false), 0);
  EXPECT_DOUBLE_EQ(vx, 0);  // a zero distance counts as 1
}

// A scroll-synced mover solves its velocity so that its motion relative to
// the drifting view points at the target, at the same speed.
TEST(MoveVelocity, ScrollSyncedMoverCompensatesTheDrift) {
  TestStage stage;
  stage.m_ScrollX.m_dSpeed = 1;
  cGameObject mover;
  mover.m_bScrollSync = 1;
  double vx = 0, vy = 0;
  int dir = 0;
  ComputeMoveVelocity(vx, vy, dir, &mover, 0, 0, 0, 100, 2, false, false, false);
  EXPECT_NEAR(std::hypot(vx, vy), 2, 1e-12);
  EXPECT_NEAR(vx - 1, 0, 1e-12);  // relative motion straight down
}

// When the view drifts across the wanted direction faster than the mover,
// there is no solution: the straight velocity is kept, never NaN.
TEST(MoveVelocity, DriftFasterThanTheMoverKeepsTheStraightVelocity) {
  TestStage stage;
  stage.m_ScrollX.m_dSpeed = 5;
  cGameObject mover;
  mover.m_bScrollSync = 1;
  double vx = 0, vy = 0;
  int dir = 0;
  EXPECT_EQ(ComputeMoveVelocity(vx, vy, dir, &mover, 0, 0, 0, 100, 1, false, false, false), 0);
  EXPECT_DOUBLE_EQ(vx, 0);
  EXPECT_DOUBLE_EQ(vy, 1);
}

TEST(MoveVelocity, NoScrollCarrySettingAddsTheDrift) {
  TestStage stage;
  stage.m_ScrollY.m_dSpeed = 0.5;
  const std::int32_t saved = g_SystemData.m_bNoScrollCarry;
  g_SystemData.m_bNoScrollCarry = 1;
  double vx = 0, vy = 0;
  int dir = 0;
  ComputeMoveVelocity(vx, vy, dir, nullptr, 0, 0, 10, 0, 2, false, false, false);
  g_SystemData.m_bNoScrollCarry = saved;
  EXPECT_DOUBLE_EQ(vx, 2);
  EXPECT_DOUBLE_EQ(vy, 0.5);
}

TEST(MoveVelocity, OneAxisForms) {
  TestStage stage;
  double vx = 9, vy = 9;
  int dir = 0;
  EXPECT_EQ(ComputeMoveVelocityX(vx, vy, dir, nullptr, 100, 100, 3, false, true), 1);
  EXPECT_EQ(dir, 1);  // x0 >= tx goes left
  EXPECT_DOUBLE_EQ(vx, -3);
  EXPECT_DOUBLE_EQ(vy, 0);
  EXPECT_EQ(ComputeMoveVelocityY(vx, vy, dir, nullptr, 0, 10, 3, false, true), 0);
  EXPECT_DOUBLE_EQ(vy, 3);
  EXPECT_EQ(dir, 0);
}

TEST(WaveSpeed, PhaseAdvancesAndWrapsOnce) {
  TestStage stage({20, 15, 2});
  double phase = 0;
  const double v = WaveSpeedCos(10, 1, phase, 400, 0);
  EXPECT_DOUBLE_EQ(v, 10 * (3.14159265358979323846 / 180) / 2);
  EXPECT_DOUBLE_EQ(phase, 400);
  WaveSpeedCos(10, 1, phase, 400, 0);
  EXPECT_DOUBLE_EQ(phase, 80);  // 800 - 720
}

TEST(Band, LowerAndUpperLimits) {
  // a = 100, w = 40: centre 120.
  EXPECT_TRUE(IsInBand(100, 40, 110, 200, 0, 0, 0, false));  // band [120, 120]
  EXPECT_FALSE(IsInBand(100, 40, 121, 200, 0, 0, 0, false));
  EXPECT_FALSE(IsInBand(100, 40, 110, 200, 0, 0, 0, false) && IsInBand(100, 40, 0, 125, 6, 0, 0, false));
  EXPECT_TRUE(IsInBand(100, 40, 121, 200, 0, 0, 0, true));    // whole box [100, 140]
  EXPECT_TRUE(IsInBand(100, 40, 150, 200, 0, 0, 10, false));  // upper 140 + 10
}

TEST(Numeric, TruncToIntIsDefinedEverywhere) {
  EXPECT_EQ(TruncToInt(2.9), 2);
  EXPECT_EQ(TruncToInt(-2.9), -2);
  EXPECT_EQ(TruncToInt(std::nan("")), 0);
  EXPECT_EQ(TruncToInt(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(TruncToInt(-std::numeric_limits<double>::infinity()), std::numeric_limits<int>::min());
  EXPECT_EQ(WrapAdd32(2147483647, 1), -2147483647 - 1);
  EXPECT_EQ(Wrap16(40000), 40000 - 65536);
  EXPECT_EQ(Wrap8(200), -56);
}

}  // namespace
