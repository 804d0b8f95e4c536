#include <gtest/gtest.h>

#include <cmath>

#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "model/definitions/move.h"
#include "model/settings/system_data.h"
#include "model/definitions/flow.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

class ActorPhysics : public testing::Test {
 protected:
  TestStage stage;
  TestActor actor;
  void SetUp() override { actor.SetUp(CharaBuilder(), 5, 5); }
};

TEST_F(ActorPhysics, LandingSnapsTheBottomToTheCellRowAboveAndFiresInOrder) {
  actor.m_dY = 330.4 - 31;
  actor.ClampToStageY(2);
  ASSERT_DOUBLE_EQ(actor.m_dBottom, 330.4);
  actor.m_dVY = 3;
  actor.m_bFalling = actor.m_bJumping = actor.m_bInAir = actor.m_bKnockedBack = actor.m_bJumpBlocked = 1;
  actor.m_nFallCount = 12;
  actor.LandOnBlock();
  EXPECT_DOUBLE_EQ(actor.m_dBottom, 319.4);
  EXPECT_DOUBLE_EQ(actor.m_dVY, 0);
  EXPECT_EQ(actor.m_bHitBottom, 1);
  EXPECT_EQ(actor.m_bFalling + actor.m_bJumping + actor.m_bInAir + actor.m_bKnockedBack, 0);
  EXPECT_EQ(actor.m_bJumpBlocked, 0);  // computer-controlled
  EXPECT_EQ(actor.m_nFallCount, 0);
  EXPECT_EQ(actor.m_vTriggers, (std::vector<int>{TRIGGER_HIT_BLOCK, TRIGGER_BLOCK_UP_DOWN, TRIGGER_BLOCK_DOWN}));
}

TEST_F(ActorPhysics, HeroKeepsItsJumpBlockOnLanding) {
  actor.m_nControl = 0;
  actor.m_bJumpBlocked = 1;
  actor.LandOnBlock();
  EXPECT_EQ(actor.m_bJumpBlocked, 1);
}

TEST_F(ActorPhysics, CeilingPushesTheTopToTheNextCellRow) {
  actor.m_dY = 100.7;
  actor.m_dVY = -4;
  actor.HitCeiling();
  EXPECT_DOUBLE_EQ(actor.m_dY, 128.7);
  EXPECT_DOUBLE_EQ(actor.m_dVY, 0);
  EXPECT_EQ(actor.m_bInAir + actor.m_bJumping + actor.m_bHitTop + actor.m_bJumpBlocked, 4);
  EXPECT_EQ(actor.m_vTriggers, (std::vector<int>{TRIGGER_HIT_BLOCK, TRIGGER_BLOCK_UP_DOWN, TRIGGER_BLOCK_UP}));
}

struct GravityCase {
  const char* name;
  int flying, onCharacter, moveDisabled;
  double impactVY;
  bool pulls;
};
class ActorGravity : public ActorPhysics, public testing::WithParamInterface<GravityCase> {};

TEST_P(ActorGravity, PullsOnlyAWalkingFreeActor) {
  const GravityCase& c = GetParam();
  actor.m_bFlying = c.flying;
  actor.m_bOnCharacter = c.onCharacter;
  actor.m_bMoveDisabled = c.moveDisabled;
  actor.m_dImpactVY = c.impactVY;
  actor.m_dVY = 1;
  actor.ApplyGravity();
  EXPECT_DOUBLE_EQ(actor.m_dVY, c.pulls ? 1 + g_LoadedStage.m_dGravityStep : 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ActorGravity,
                         testing::Values(GravityCase{"Walking", 0, 0, 0, 0, true},
                                         GravityCase{"DownwardKnockBack", 0, 0, 0, 1, true},
                                         GravityCase{"Flying", 1, 0, 0, 0, false},
                                         GravityCase{"OnCharacter", 0, 1, 0, 0, false},
                                         GravityCase{"MoveDisabled", 0, 0, 1, 0, false},
                                         GravityCase{"UpwardKnockBack", 0, 0, 0, -1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ImpactCase {
  const char* name;
  int impact, resist;
  int effective;
};
class EffectiveImpact : public ActorPhysics, public testing::WithParamInterface<ImpactCase> {};

TEST_P(EffectiveImpact, ResistanceAndLimits) {
  const ImpactCase& c = GetParam();
  actor.m_Chara.m_nImpactResist = static_cast<std::uint8_t>(c.resist);
  actor.m_dImpactVX = 99;  // kept when the effective impact is 0
  actor.ApplyImpact(static_cast<std::int8_t>(c.impact), 1, 0);
  double expected = 99;
  double unused = 0;
  if (c.effective != 0) KnockbackSpeeds(expected, unused, static_cast<std::int8_t>(c.effective), 1, 0);
  EXPECT_DOUBLE_EQ(actor.m_dImpactVX, expected);
  EXPECT_EQ(actor.m_bKnockedBack, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, EffectiveImpact,
                         testing::Values(ImpactCase{"ResistedToZero", 5, 7, 0}, ImpactCase{"NegativeLimit", -25, 0, -20},
                                         ImpactCase{"NegativeResisted", -3, 10, 0}, ImpactCase{"PositiveLimit", 30, 0, 20},
                                         ImpactCase{"PartlyResisted", 9, 4, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActorPhysics, KnockBackOfTwoCoversTwoHalfBlocksOverEightSubSteps) {
  actor.ApplyImpact(2, 1, 0);
  EXPECT_DOUBLE_EQ(actor.m_dImpactVX, (std::sqrt(257.0) - 1) / 2);
  double travelled = 0;
  int steps = 0;
  while (actor.m_dImpactVX > 0) {
    travelled += actor.m_dImpactVX;
    actor.DecayImpactX();
    ++steps;
  }
  EXPECT_EQ(steps, 8);
  EXPECT_DOUBLE_EQ(actor.m_dImpactVX, 0);
  EXPECT_NEAR(travelled, 32, 1.0);
}

TEST_F(ActorPhysics, KnockBackStopsOpposingSpeeds) {
  actor.m_dAccelX = -2;
  actor.m_dVY = 3;
  actor.ApplyImpact(4, 1, -1);
  EXPECT_DOUBLE_EQ(actor.m_dAccelX, 0);
  EXPECT_DOUBLE_EQ(actor.m_dVY, 0);
  EXPECT_LT(actor.m_dImpactVY, 0);
}

TEST_F(ActorPhysics, WalkingAttackerPushesVerticallyOnlyWhenFallingFast) {
  TestActor attacker;
  attacker.SetUp(CharaBuilder().Impact(4), 3, 5, 2);
  attacker.m_dVX = 1;
  attacker.m_dVY = 1;
  actor.ApplyContactImpact(attacker);
  EXPECT_DOUBLE_EQ(actor.m_dImpactVY, 0);
  attacker.m_dVY = 8 * g_LoadedStage.m_dGravityStep;
  actor.ApplyContactImpact(attacker);
  EXPECT_GT(actor.m_dImpactVY, 0);
}

TEST_F(ActorPhysics, ImpactYOnTheGroundEndsADownwardKnockBack) {
  stage.PutBlock(5, 6, TestStage::Solid());
  actor.m_pFloorCell = &stage.MapCell(15, 16);
  actor.m_dImpactVY = 2;
  actor.ApplyImpactY();
  EXPECT_DOUBLE_EQ(actor.m_dImpactVY, 0);
  actor.m_pFloorCell = nullptr;
  actor.m_dImpactVY = 2;
  actor.m_dPrevImpactVY = 0.5;
  actor.m_dVY = 1;
  actor.ApplyImpactY();
  EXPECT_DOUBLE_EQ(actor.m_dVY, 2.5);
  EXPECT_DOUBLE_EQ(actor.m_dPrevImpactVY, 2);
}

// Jump speed (-g - sqrt(g (g + 8h))) / 2, frames trunc(u - v / g), time in
// tenths trunc(frames / b / 6) + 1.
struct JumpCase {
  const char* name;
  int level;
  double gravity;
  int control;
  int hbl;
  double speed;
  int frames;
  int tenths;
};
class JumpTable : public testing::TestWithParam<JumpCase> {};

TEST_P(JumpTable, SpeedFramesAndTime) {
  const JumpCase& c = GetParam();
  TestStage stage({20, 15, c.level, c.gravity});
  TestActor actor;
  actor.m_nControl = c.control;
  const double v = actor.JumpSpeedForHbl(static_cast<std::int8_t>(c.hbl));
  EXPECT_NEAR(v, c.speed, 1e-12);
  EXPECT_EQ(actor.JumpFrames(v), c.frames);
  EXPECT_EQ(actor.JumpTimeForHbl(c.hbl), c.tenths);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JumpTable,
    testing::Values(
        // g = 0.4, h = 64: (-0.4 - sqrt(0.4 x 512.4)) / 2 = -7.358; frames trunc(1 + 18.40) = 19.
        JumpCase{"TwoBlocksOneSubStep", 1, 0.4, 1, 4, (-0.4 - std::sqrt(0.4 * 512.4)) * 0.5, 19, 4},
        // b = 2, g = 0.1, h = 128: frames trunc(2 + 51.10) = 53, tenths 53 / 2 / 6 + 1.
        JumpCase{"TwoSubSteps", 2, 0.4, 1, 8, (-0.1 - std::sqrt(0.1 * 1024.1)) * 0.5, 53, 5},
        JumpCase{"HeroFactor", 1, 0.4, 0, 4, (-0.4 - std::sqrt(0.4 * 512.4)) * 0.5 * (0.99 - 0.4 * 0.025), 19, 4},
        JumpCase{"NegativeHeightIsZero", 1, 0.4, 1, -3, -0.4, 2, 1},
        JumpCase{"NoGravityNoJump", 1, 0.0, 1, 4, 0, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// The worked example: 2 sub-steps per frame, a jump whose apex takes 70
// sub-steps lasts trunc((70 + 2) / 2 / 6) + 1 = 7 tenths.
TEST(JumpTime, WorkedExample) {
  TestStage stage({20, 15, 2, 0.4});
  TestActor actor;
  const double g = g_LoadedStage.m_dGravityStep;
  EXPECT_EQ(actor.JumpFrames(-70 * g), 72);
  EXPECT_EQ(72 / 2 / 6 + 1, 7);
}

TEST_F(ActorPhysics, PlaceAtTileAddsHalfAPixelHorizontally) {
  actor.PlaceAtTile(3, 4);
  EXPECT_DOUBLE_EQ(actor.m_dX, 13 * 32 + 0.5);
  EXPECT_DOUBLE_EQ(actor.m_dY, 14 * 32);
}

TEST_F(ActorPhysics, ContactFlagsAndPositionBookkeeping) {
  actor.m_bHitLeft = actor.m_bHitTop = 1;
  actor.ClearBlockContacts();
  EXPECT_EQ(actor.m_bHitLeft + actor.m_bHitTop, 0);
  actor.SavePosition();
  const double x = actor.m_dX;
  actor.m_dX += 5;
  actor.RestorePosition();
  EXPECT_DOUBLE_EQ(actor.m_dX, x);
  actor.m_dImpactVY = 1;
  actor.m_dVY = 2;
  actor.LandOnCharacter(true);
  EXPECT_DOUBLE_EQ(actor.m_dVY, 2);  // knock-back running
  EXPECT_EQ(actor.m_bRidden, 1);
}

}  // namespace

namespace {

// A size change keeps one bottom in place: with the System setting's
// anchor 1 the hit box's (a 24-pixel box lifts by 24 per step of size),
// with 0 the picture's (a 32-pixel picture drawn 4 pixels above the box
// lifts by 32 - 4 = 28).
TEST(ActorScale, TheAnchorKeepsTheBoxOrThePictureBottomInPlace) {
  TestStage stage;
  const int saved = g_SystemData.m_nScaleAnchor;
  for (const int anchor : {0, 1}) {
    g_SystemData.m_nScaleAnchor = anchor;
    TestActor actor;
    const cEdChara def = CharaBuilder();
    actor.InitCommon(&def, 0, 0, 0);
    actor.InitBase(1, 1, 0, 1, 1, nullptr, 0, 4, 4, 24, 24, 32, 32, 0, 0, 0);
    actor.PlaceAtTile(5, 5);
    const double y = actor.m_dY;
    const double boxBottom = actor.m_dBottom;
    actor.SetScale(2, 1);
    EXPECT_DOUBLE_EQ(actor.m_dY, y - (anchor ? 24 : 28)) << "anchor " << anchor;
    if (anchor) {
      EXPECT_DOUBLE_EQ(actor.m_dBottom, boxBottom);
    }
  }
  g_SystemData.m_nScaleAnchor = saved;
}

// A move turns the actor toward its motion unless the move keeps the
// facing; an actor of fixed facing turns only when the move forces it.
TEST(ActorMoveFacing, TurnsUnlessKeptOrFixed) {
  struct Case {
    int keepFacing, fixedFacing;
    bool force;
    int facing;  // after a turn to the left from facing right
  };
  const Case cases[] = {
      {0, 0, false, 0}, {1, 0, false, 1}, {0, 1, false, 1}, {0, 1, true, 0}, {1, 1, true, 1},
  };
  TestStage stage;
  for (const Case& c : cases) {
    TestActor actor;
    actor.SetUp(CharaBuilder(), 5, 5);
    actor.m_Chara.m_bFixedFacing = static_cast<std::uint8_t>(c.fixedFacing);
    actor.m_nFacing = 1;
    cEdMove move;
    move.m_bKeepFacing = static_cast<std::uint8_t>(c.keepFacing);
    cCommandInstance instance;
    actor.ApplyMove(-1, 0, 1, instance, move, c.force);
    EXPECT_EQ(actor.m_nFacing, c.facing) << c.keepFacing << c.fixedFacing << c.force;
  }
}

}  // namespace
