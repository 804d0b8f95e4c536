#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/commands/command_workers.h"
#include "game/commands/flow_command_table.h"
#include "game/core/numeric.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "model/definitions/command.h"
#include "model/definitions/move.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

constexpr double kC = kInvSqrt2;

// An actor that records its jumps.
class JumpingActor : public TestActor {
 public:
  void Jump(cCommandInstance* pInst) override { m_vJumps.push_back(pInst); }
  std::vector<cCommandInstance*> m_vJumps;
};

// A test actor at stage cell (5, 5) with one flow of one command; each Run
// clears the actor's speeds and runs one frame of the command, so the
// speeds afterwards are what the command added.
class MovementTest : public testing::Test {
 protected:
  cCommandInstance& Build(const cEdCommand& command, int nFacing = 0, int nFlying = 0, int nFixedFacing = 1) {
    actor.SetUp(CharaBuilder().Flying(nFlying), 5, 5);
    actor.m_nFacing = nFacing;
    actor.m_Chara.m_bFixedFacing = static_cast<std::uint8_t>(nFixedFacing);
    actor.BuildFlows({FlowBuilder(TRIGGER_NONE).Command(command)}, nFacing, false, 0);
    actor.UpdateScreenRect();
    stage.m_pCurActor = &actor;
    stage.m_pCurFlow = &actor.m_vFlows[0];
    cCommandInstance& inst = actor.m_vFlows[0].m_vCommands[0];
    inst.Reset();
    return inst;
  }
  void Run(cCommandInstance& inst) {
    actor.m_dVX = actor.m_dVY = 0;
    DispatchFlowCommand(&actor, inst);
  }
  // A target at stage cell (column, row), facing left.
  void PlaceTarget(int nColumn, int nRow) {
    target.SetUp(CharaBuilder(), nColumn, nRow, 2);
    target.UpdateScreenRect();
    actor.SetTarget(&target);
  }

  TestStage stage;
  JumpingActor actor;
  TestActor target;
};

// Speed 20 tenths of a pixel per frame: 2 pixels per sub-step at one sub-step a frame.
CommandBuilder Straight(int nDirection) {
  CommandBuilder command(CMD_MOVE_STRAIGHT);
  command.Time(10);
  command.Move().m_nSpeed = 20;
  command.Move().m_nDirection = static_cast<std::uint8_t>(nDirection);
  return command;
}

struct DirectionCase {
  const char* name;
  int direction, facing, flying, fixedFacing, triggerKey;
  double vx, vy;
  int facingAfter;
};

class StraightByDirection : public MovementTest, public testing::WithParamInterface<DirectionCase> {};

TEST_P(StraightByDirection, VelocityAndFacing) {
  const DirectionCase& c = GetParam();
  cCommandInstance& inst = Build(Straight(c.direction), c.facing, c.flying, c.fixedFacing);
  actor.m_vFlows[0].m_nTriggerKey = c.triggerKey;
  Run(inst);
  EXPECT_NEAR(actor.m_dVX, c.vx, 1e-12);
  EXPECT_NEAR(actor.m_dVY, c.vy, 1e-12);
  EXPECT_EQ(actor.m_nFacing, c.facingAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StraightByDirection,
    testing::Values(
        DirectionCase{"WalkerUpGetsNothing", MOVEDIR_UP, 0, 0, 0, 0, 0, 0, 0},
        DirectionCase{"FlyerUp", MOVEDIR_UP, 0, 1, 1, 0, 0, -2, 0},
        DirectionCase{"FrontFacingRight", MOVEDIR_FRONT, 1, 0, 1, 0, 2, 0, 1},
        DirectionCase{"BackFacingRight", MOVEDIR_BACK, 1, 0, 1, 0, -2, 0, 1},
        DirectionCase{"FrontYFacingRightFlies", MOVEDIR_FRONT_Y, 1, 1, 1, 0, 0, 2, 1},
        DirectionCase{"FlyerUpLeft", MOVEDIR_UP_LEFT, 0, 1, 1, 0, -2 * kC, -2 * kC, 0},
        DirectionCase{"WalkerDiagonalKeepsItsHorizontalPart", MOVEDIR_DOWN_RIGHT, 0, 0, 1, 0, 2 * kC, 0, 0},
        DirectionCase{"FixedFacingLeavesTheFacing", MOVEDIR_LEFT, 1, 0, 1, 0, -2, 0, 1},
        DirectionCase{"FreeFacingTurnsTowardTheMotion", MOVEDIR_LEFT, 1, 0, 0, 0, -2, 0, 0},
        DirectionCase{"InputUpLeftWalksLeft", MOVEDIR_INPUT, 1, 0, 1, 5, -2, 0, 1},
        DirectionCase{"InputUpLeftFliesDiagonally", MOVEDIR_INPUT, 1, 1, 1, 5, -2 * kC, -2 * kC, 1},
        DirectionCase{"InputNoKeyMovesForward", MOVEDIR_INPUT, 1, 0, 1, 0, 2, 0, 1},
        DirectionCase{"InputAnyKeyMovesNowhere", MOVEDIR_INPUT, 1, 0, 1, 9, 0, 0, 1}),
    [](const testing::TestParamInfo<DirectionCase>& info) { return std::string(info.param.name); });

TEST_F(MovementTest, MirroredAngleOfThirtyToTheRightMovesUpAndRight) {
  CommandBuilder command = Straight(MOVEDIR_RIGHT);
  command.Move().m_nAngle = 30;
  cCommandInstance& inst = Build(command, 1, 1);
  ASSERT_EQ(inst.m_nMoveAngle, 330);
  Run(inst);
  EXPECT_NEAR(actor.m_dVX, 2 * std::cos(30 * kPi / 180), 1e-12);
  EXPECT_NEAR(actor.m_dVY, -1, 1e-12);
}

TEST_F(MovementTest, StraightMoveKeepsItsVelocityAndReversesWhenSomethingElseTurnsTheActor) {
  cCommandInstance& inst = Build(Straight(MOVEDIR_FRONT), 1);
  Run(inst);
  Run(inst);
  EXPECT_EQ(actor.m_dVX, 2);
  actor.m_nFacing = 0;
  Run(inst);
  EXPECT_EQ(actor.m_dVX, -2);
  Run(inst);
  EXPECT_EQ(actor.m_dVX, -2);
}

struct PointCase {
  const char* name;
  int coordKind, cellX, dotX;
  bool snap;
  double vx;
  int remain;
};

class StraightToPoint : public MovementTest, public testing::WithParamInterface<PointCase> {};

TEST_P(StraightToPoint, VelocityAndTravelTime) {
  const PointCase& c = GetParam();
  CommandBuilder command = Straight(0);
  cEdMove& move = command.Move();
  move.m_nPositionMode = 1;
  move.m_nCoordKind = static_cast<std::uint8_t>(c.coordKind);
  move.m_nTargetCellX = static_cast<std::int16_t>(c.cellX);
  move.m_nTargetDotX = static_cast<std::int16_t>(c.dotX);
  move.m_bSnapOnArrival = c.snap ? 1 : 0;
  move.m_bUseY = 0;
  cCommandInstance& inst = Build(command);
  Run(inst);
  EXPECT_DOUBLE_EQ(actor.m_dVX, c.vx);
  EXPECT_EQ(actor.m_dVY, 0);
  EXPECT_EQ(inst.m_nRemainFrames, c.remain);
}

// Horizontally only: the actor's sprite centre is at map pixel 15 x 32 + 16,
// the view at 320.
INSTANTIATE_TEST_SUITE_P(
    Cases, StraightToPoint,
    testing::Values(PointCase{"RelativeOffset", 1, 0, 11, false, 2, 5},
                    PointCase{"RelativeLeft", 1, -1, 0, false, -2, 16},
                    PointCase{"StageCell", 2, 8, 0, false, 2, 48},
                    PointCase{"ScreenPosition", 3, 0, 0, false, -2, 80},
                    PointCase{"ArrivedWithoutSnapKeepsMoving", 1, 0, 1, false, 2, 0},
                    PointCase{"ArrivedWithSnapStops", 1, 0, 1, true, 0, 0}),
    [](const testing::TestParamInfo<PointCase>& info) { return std::string(info.param.name); });

// The view between two pixels (auto-scroll moves it in fractions) counts
// with its fraction: the actor's centre is half a pixel further right, so
// the stage cell 96 pixels away is 95.5 away, 47 sub-steps at 2.
TEST_F(MovementTest, StraightToAPointCountsTheViewsFraction) {
  CommandBuilder command = Straight(0);
  cEdMove& move = command.Move();
  move.m_nPositionMode = 1;
  move.m_nCoordKind = 2;
  move.m_nTargetCellX = 8;
  move.m_bUseY = 0;
  cCommandInstance& inst = Build(command);
  stage.m_ScrollX.m_dPos += 0.5;
  Run(inst);
  EXPECT_DOUBLE_EQ(actor.m_dVX, 2);
  EXPECT_EQ(inst.m_nRemainFrames, 47);
}

TEST_F(MovementTest, InertiaAcceleratesTheAddedSpeedUpToTheMoveLimit) {
  CommandBuilder command = Straight(MOVEDIR_RIGHT);
  command.Move().m_bInertia = 1;
  command.Move().m_nMaxSpeed = 1;  // 0.1 pixel per sub-step
  command.Move().m_dTurnFactor = 3;
  cCommandInstance& inst = Build(command);
  ASSERT_DOUBLE_EQ(inst.m_dMaxSpeed, 0.1);
  actor.m_bDecayAccelX = 1;
  Run(inst);
  EXPECT_DOUBLE_EQ(actor.m_dAccelX, 2.0 / 60);
  EXPECT_EQ(actor.m_bDecayAccelX, 0);
  EXPECT_EQ(actor.m_dVX, 0);
  actor.m_dAccelX = -0.05;
  actor.m_bDecayAccelX = 1;
  Run(inst);
  EXPECT_DOUBLE_EQ(actor.m_dAccelX, -0.05 + 3 * 2.0 / 60);
  EXPECT_EQ(actor.m_bDecayAccelX, 1);
  for (int i = 0; i < 10; ++i) Run(inst);
  EXPECT_DOUBLE_EQ(actor.m_dAccelX, 0.1);
}

CommandBuilder GroundTurn() {
  CommandBuilder command(CMD_MOVE_GROUND_TURN);
  command.Time(10).Move().m_nSpeed = 20;
  return command;
}

TEST_F(MovementTest, GroundWalkerTurnsAtALedgeAndWalksBack) {
  cCommandInstance& inst = Build(GroundTurn(), 1);
  // Floor under the left half of the box only: a ledge on the right.
  actor.m_dX += 16;
  actor.ConstrainX();
  stage.PutBlock(5, 6, TestStage::Solid());
  Run(inst);
  EXPECT_EQ(actor.m_dVX, 2);
  EXPECT_EQ(actor.m_nFacing, 0);
  Run(inst);
  EXPECT_EQ(actor.m_dVX, -2);
}

TEST_F(MovementTest, GroundWalkerCarriesItsRider) {
  cCommandInstance& inst = Build(GroundTurn(), 1);
  stage.PutBlock(5, 6, TestStage::Solid());
  stage.PutBlock(6, 6, TestStage::Solid());
  TestActor rider;
  rider.SetUp(CharaBuilder(), 5, 4, 7);
  stage.m_vTeamCharacter[1].push_back(&rider);
  actor.m_bRidden = 1;
  actor.m_nRiderId = 7;
  actor.m_dRiderX = rider.m_dX - 3;  // the rider moved 3 pixels right, in the walking direction
  Run(inst);
  EXPECT_EQ(actor.m_dVX, 3 - 2);
  EXPECT_EQ(actor.m_nFacing, 0);
  EXPECT_EQ(actor.m_bRidden, 0);
  actor.m_nFacing = 1;
  actor.m_bRidden = 1;
  actor.m_dRiderX = rider.m_dX + 3;  // moved against it
  Run(inst);
  EXPECT_EQ(actor.m_dVX, -6 - 2);
}

TEST_F(MovementTest, GroundTurnDoesNothingForAFlyer) {
  cCommandInstance& inst = Build(GroundTurn(), 1, 1);
  actor.m_bPinX = 1;
  Run(inst);
  EXPECT_EQ(actor.m_dVX, 0);
  EXPECT_EQ(actor.m_bPinX, 1);
}

CommandBuilder Circle(int nMode, int nRadius) {
  CommandBuilder command(CMD_MOVE_CIRCLE);
  command.Time(10);
  cEdMove& move = command.Move();
  move.m_nDirection = static_cast<std::uint8_t>(nMode);
  move.m_nRadius = static_cast<std::int16_t>(nRadius);
  move.m_nAngle = 30;
  move.m_nDistance = 120;
  move.m_bMirrorX = 0;
  return command;
}

TEST_F(MovementTest, CircleOfRadiusZeroDoesNothing) {
  cCommandInstance& inst = Build(Circle(0, 0), 0, 1);
  Run(inst);
  EXPECT_EQ(actor.m_dVX, 0);
  EXPECT_EQ(actor.m_dVY, 0);
  EXPECT_EQ(inst.m_bStarted, 0);
}

TEST_F(MovementTest, CircleDirectionsDifferOnlyInTheVerticalSign) {
  std::vector<std::pair<double, double>> speeds[2];
  for (int mode = 0; mode < 2; ++mode) {
    cCommandInstance& inst = Build(Circle(mode, 2), 0, 1);
    for (int i = 0; i < 5; ++i) {
      Run(inst);
      speeds[mode].emplace_back(actor.m_dVX, actor.m_dVY);
    }
  }
  for (int i = 0; i < 5; ++i) {
    EXPECT_DOUBLE_EQ(speeds[0][i].first, speeds[1][i].first) << i;
    EXPECT_NEAR(speeds[0][i].second, -speeds[1][i].second, 1e-12) << i;
    EXPECT_NE(speeds[0][i].second, 0) << i;
  }
}

CommandBuilder Charge(int nAngle) {
  CommandBuilder command(CMD_MOVE_CHARGE);
  command.Time(10).Move().m_nSpeed = 20;
  command.Move().m_nAngle = static_cast<std::int16_t>(nAngle);
  return command;
}

struct ChargeCase {
  const char* name;
  int angle, flying;
  double vx, vy;
};

class ChargeAngle : public MovementTest, public testing::WithParamInterface<ChargeCase> {};

// The target stands to the right: the aim is (2, 0). The turned aim takes
// atan2 of (vx, vy) in that order: 90 degrees leads downward.
TEST_P(ChargeAngle, TurnsTheAimAtTheTarget) {
  const ChargeCase& c = GetParam();
  cCommandInstance& inst = Build(Charge(c.angle), 0, c.flying);
  PlaceTarget(10, 5);
  Run(inst);
  EXPECT_NEAR(actor.m_dVX, c.vx, 1e-12);
  EXPECT_NEAR(actor.m_dVY, c.vy, 1e-12);
  target.m_dX -= 200;  // later frames keep the first frame's velocity
  target.UpdateScreenRect();
  Run(inst);
  EXPECT_NEAR(actor.m_dVX, c.vx, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChargeAngle,
                         testing::Values(ChargeCase{"Straight", 0, 1, 2, 0}, ChargeCase{"HalfTurnKeepsTheAim", 180, 1, 2, 0},
                                         ChargeCase{"QuarterLeadsDown", 90, 1, 0, 2},
                                         ChargeCase{"ThreeQuartersLeadsUp", 270, 1, 0, -2},
                                         ChargeCase{"WalkerQuarterLosesItsVerticalPart", 90, 0, 0, 0},
                                         ChargeCase{"WalkerStraight", 0, 0, 2, 0}),
                         [](const testing::TestParamInfo<ChargeCase>& info) { return std::string(info.param.name); });

TEST_F(MovementTest, ChargeWithoutATargetStandsForTheCommand) {
  cCommandInstance& inst = Build(Charge(0), 0, 1);
  inst.m_dCmdVX = 5;  // left from an earlier run
  for (int i = 0; i < 3; ++i) {
    Run(inst);
    EXPECT_EQ(actor.m_dVX, 0) << i;
  }
}

CommandBuilder Homing(int nTime) {
  CommandBuilder command(CMD_MOVE_HOMING);
  command.Time(10).Move().m_nSpeed = 20;
  command.Move().m_nRadius = static_cast<std::int16_t>(nTime);
  return command;
}

struct HomingCase {
  const char* name;
  int time, flying;
  const char* signs;
};

// The target jumps from the right of the actor to its left after the first
// frame; the sign of each frame's velocity shows which point was chased.
class HomingSchedule : public MovementTest, public testing::WithParamInterface<HomingCase> {
 protected:
  std::string Signs(cCommandInstance& inst, int nFrames) {
    std::string signs;
    for (int i = 0; i < nFrames; ++i) {
      Run(inst);
      signs += actor.m_dVX > 0 ? '+' : actor.m_dVX < 0 ? '-' : '0';
      if (i == 0) {
        target.m_dX -= 10 * 32;
        target.ConstrainX();
        target.UpdateScreenRect();
      }
    }
    return signs;
  }
};

TEST_P(HomingSchedule, FollowsWhereTheTargetWasOneHomingTimeEarlier) {
  const HomingCase& c = GetParam();
  cCommandInstance& inst = Build(Homing(c.time), 0, c.flying);
  PlaceTarget(10, 5);
  EXPECT_EQ(Signs(inst, 8), c.signs);
  EXPECT_EQ(inst.m_nCount, 8);
}

INSTANTIATE_TEST_SUITE_P(Cases, HomingSchedule,
                         testing::Values(HomingCase{"NoDelayChasesTheTargetNow", 0, 1, "+-------"},
                                         HomingCase{"FlyerThreeSubSteps", 3, 1, "++++++--"},
                                         HomingCase{"WalkerThreeSubSteps", 3, 0, "++++++--"}),
                         [](const testing::TestParamInfo<HomingCase>& info) { return std::string(info.param.name); });

TEST_F(MovementTest, HomingWithoutALiveTargetOrAsAVerticalWalkerDoesNothing) {
  CommandBuilder vertical = Homing(0);
  vertical.Move().m_bVerticalOnly = 1;
  {
    cCommandInstance& inst = Build(vertical);
    PlaceTarget(10, 5);
    actor.m_bPinX = 1;
    Run(inst);
    EXPECT_EQ(inst.m_nCount, 0);
    EXPECT_EQ(actor.m_bPinX, 1);
  }
  cCommandInstance& inst = Build(Homing(0), 0, 1);
  PlaceTarget(10, 5);
  target.m_bDying = 1;
  Run(inst);
  EXPECT_EQ(inst.m_nCount, 0);
  EXPECT_EQ(actor.m_dVX, 0);
}

TEST_F(MovementTest, AvoidOffscreenMovesBackOntoAStillScreen) {
  CommandBuilder command(CMD_MOVE_AVOID_OFFSCREEN);
  command.Time(10).Move().m_nSpeed = 20;
  command.Move().m_nDirection = MOVEDIR_BACK;
  cCommandInstance& inst = Build(command, 1);
  Run(inst);
  EXPECT_EQ(actor.m_dVX, 0);  // on screen
  actor.m_SpriteRect.m_nLeft = 609;
  Run(inst);
  EXPECT_EQ(actor.m_dVX, -2);
  EXPECT_EQ(inst.m_nCount, 2);
}

TEST_F(MovementTest, StopMoveClearsEverySpeedAndThePins) {
  cCommandInstance& inst = Build(CommandBuilder(CMD_STOP_MOVE));
  actor.m_dAccelX = actor.m_dAccelY = actor.m_dImpactVX = actor.m_dImpactVY = 1;
  actor.m_bPinX = actor.m_bPinY = 1;
  Run(inst);
  EXPECT_EQ(actor.m_dAccelX + actor.m_dAccelY + actor.m_dImpactVX + actor.m_dImpactVY, 0);
  EXPECT_EQ(actor.m_bPinX + actor.m_bPinY, 0);
  EXPECT_EQ(actor.m_bMoveDisabled, 1);
}

TEST_F(MovementTest, TurnTowardTheTargetRepeatsEveryTenthOfASecond) {
  cCommandInstance& inst = Build(CommandBuilder(CMD_TURN).Param(0, 2).Time(10));
  PlaceTarget(10, 5);
  std::string facings;
  for (int i = 0; i < 8; ++i) {
    Run(inst);
    facings += static_cast<char>('0' + actor.m_nFacing);
    actor.m_nFacing = 0;
  }
  EXPECT_EQ(facings, "10000010");
}

struct TurnCase {
  const char* name;
  int mode, fixedFacing, wallSide, withTarget, facingAfter, count;
};

class TurnModes : public MovementTest, public testing::WithParamInterface<TurnCase> {};

TEST_P(TurnModes, FacingAfterOneFrame) {
  const TurnCase& c = GetParam();
  cCommandInstance& inst = Build(CommandBuilder(CMD_TURN).Param(0, c.mode).Time(10), 1, 0, c.fixedFacing);
  if (c.withTarget) PlaceTarget(1, 5);
  actor.m_nWallSide = c.wallSide;
  Run(inst);
  EXPECT_EQ(actor.m_nFacing, c.facingAfter);
  EXPECT_EQ(inst.m_nCount, c.count);
}

INSTANTIATE_TEST_SUITE_P(Cases, TurnModes,
                         testing::Values(TurnCase{"Left", 0, 1, -1, 0, 0, 1}, TurnCase{"FreeFacingIgnoresTheCommand", 0, 0, -1, 0, 1, 0},
                                         TurnCase{"TowardTargetOnTheLeft", 2, 1, -1, 1, 0, 1},
                                         TurnCase{"AwayFromTargetOnTheLeft", 3, 1, -1, 1, 1, 1},
                                         TurnCase{"NoTargetWaits", 2, 1, -1, 0, 1, 0},
                                         TurnCase{"TowardTheWallOnTheLeft", 4, 1, 0, 0, 0, 1},
                                         TurnCase{"AwayFromTheWallOnTheLeft", 5, 1, 0, 0, 1, 1},
                                         TurnCase{"NoWallKeepsTheFacing", 4, 1, -1, 0, 1, 1}),
                         [](const testing::TestParamInfo<TurnCase>& info) { return std::string(info.param.name); });

TEST_F(MovementTest, JumpCallsTheActorsJumpEveryFrame) {
  cCommandInstance& inst = Build(CommandBuilder(CMD_JUMP).Param(2, 3));
  actor.m_bPinY = 1;
  Run(inst);
  Run(inst);
  EXPECT_EQ(actor.m_vJumps, (std::vector<cCommandInstance*>{&inst, &inst}));
  EXPECT_EQ(inst.m_nCount, 2);
  EXPECT_EQ(actor.m_bPinY, 0);
}

CommandBuilder Warp(int nMode, int nDirection, int nDistance) {
  CommandBuilder command(CMD_WARP);
  cEdMove& move = command.Move();
  move.m_nPositionMode = static_cast<std::uint8_t>(nMode);
  move.m_nDirection = static_cast<std::uint8_t>(nDirection);
  move.m_nDistance = static_cast<std::int16_t>(nDistance);
  move.m_nDistanceUnit = 1;  // ignored: the warp counts half-blocks
  return command;
}

CommandBuilder WarpTo(int nCoordKind, int nCellX, int nCellY, int nDotX) {
  CommandBuilder command = Warp(2, 0, 0);
  cEdMove& move = command.Move();
  move.m_nCoordKind = static_cast<std::uint8_t>(nCoordKind);
  move.m_nTargetCellX = static_cast<std::int16_t>(nCellX);
  move.m_nTargetCellY = static_cast<std::int16_t>(nCellY);
  move.m_nTargetDotX = static_cast<std::int16_t>(nDotX);
  return command;
}

struct WarpCase {
  const char* name;
  CommandBuilder command;
  int facing;
  bool blocked;
  double dx, dy;  // from the start
  int result;
};

class WarpMoves : public MovementTest, public testing::WithParamInterface<WarpCase> {};

TEST_P(WarpMoves, MovesOrIsUndone) {
  const WarpCase& c = GetParam();
  cCommandInstance& inst = Build(c.command, c.facing);
  PlaceTarget(9, 5);
  target.m_nFacing = 1;
  stage.m_nCharacterBlocked = c.blocked ? 1 : 0;
  const double x = actor.m_dX, y = actor.m_dY;
  actor.m_dVY = 3;
  EXPECT_EQ(ExecWarp(&actor, *inst.m_pCommand), c.result);
  EXPECT_DOUBLE_EQ(actor.m_dX - x, c.dx);
  EXPECT_DOUBLE_EQ(actor.m_dY - y, c.dy);
  EXPECT_DOUBLE_EQ(actor.m_dRight, actor.m_dX + 31);
  EXPECT_EQ(actor.m_dVY, c.dx == 0 && c.dy == 0 ? 3 : 0);
  EXPECT_EQ(actor.m_SpriteRect.m_nLeft, TruncToInt(actor.m_dX - stage.m_ScrollX.m_dPos));
}

// The actor starts at stage cell (5, 5), map pixel (480.5, 480); the target at cell (9, 5).
INSTANTIATE_TEST_SUITE_P(
    Cases, WarpMoves,
    testing::Values(WarpCase{"Right", Warp(0, MOVEDIR_RIGHT, 2), 0, false, 32, 0, 2},
                    WarpCase{"FrontFacingRight", Warp(0, MOVEDIR_FRONT, 2), 1, false, 32, 0, 2},
                    WarpCase{"DownLeft", Warp(0, MOVEDIR_DOWN_LEFT, 2), 0, false, -32 * kC, 32 * kC, 2},
                    WarpCase{"BlockedIsUndone", Warp(0, MOVEDIR_RIGHT, 2), 0, true, 0, 0, 2},
                    WarpCase{"OutOfTheStageIsUndone", Warp(0, MOVEDIR_LEFT, 12), 0, false, 0, 0, 2},
                    WarpCase{"InFrontOfTheTarget", Warp(1, MOVEDIR_FRONT, 2), 0, false, 4 * 32 + 32, 0, 2},
                    WarpCase{"RelativeCoordinates", WarpTo(0, 1, 0, 3), 0, false, 35, 0, 2},
                    WarpCase{"RelativeMirroredFacingRight", WarpTo(0, 1, 0, 3), 1, false, -35, 0, 2},
                    WarpCase{"StageCell", WarpTo(1, 8, 2, 4), 1, false, 3 * 32 + 4, -3 * 32, 2}),
    [](const testing::TestParamInfo<WarpCase>& info) { return std::string(info.param.name); });

TEST_F(MovementTest, ScreenWarpPinsTheActorEvenWhenUndone) {
  for (const bool blocked : {false, true}) {
    cCommandInstance& inst = Build(WarpTo(2, 3, 4, 0));
    stage.m_nCharacterBlocked = blocked ? 1 : 0;
    const int left = actor.m_SpriteRect.m_nLeft, top = actor.m_SpriteRect.m_nTop;
    EXPECT_EQ(ExecWarp(&actor, *inst.m_pCommand), 1);
    EXPECT_EQ(actor.m_bPinX + actor.m_bPinY, 2);
    EXPECT_EQ(actor.m_nPinX, blocked ? left : 96) << blocked;
    EXPECT_EQ(actor.m_nPinY, blocked ? top : 128) << blocked;
  }
}

TEST_F(MovementTest, WarpFromTheTargetNeedsATarget) {
  cCommandInstance& inst = Build(Warp(1, MOVEDIR_FRONT, 2));
  const double x = actor.m_dX;
  EXPECT_EQ(ExecWarp(&actor, *inst.m_pCommand), 0);
  EXPECT_EQ(actor.m_dX, x);
}

TEST_F(MovementTest, WarpCommandClearsThePinsFirst) {
  cCommandInstance& inst = Build(Warp(0, MOVEDIR_RIGHT, 1));
  actor.m_bPinX = actor.m_bPinY = 1;
  Run(inst);
  EXPECT_EQ(actor.m_bPinX + actor.m_bPinY, 0);
}

}  // namespace
