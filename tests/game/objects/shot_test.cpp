#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "base/random.h"
#include "game/objects/shot.h"
#include "game/objects/shot_launch.h"
#include "model/database/database.h"
#include "model/settings/system_data.h"
#include "model/stage/common_palette.h"
#include "support/definition_builders.h"
#include "support/recording_draw_target.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

// A shooter of 32 x 32 at stage cell (5, 5): its box is (480, 480) to
// (511, 511) in stage pixels, its centre (496, 496). Shots are 16 x 16 and
// fly 4 pixels a frame unless a test says otherwise.
class ShotTest : public testing::Test {
 protected:
  explicit ShotTest(TestStageSize size = {}) : stage(size) {
    shooter.SetUp(CharaBuilder(), 5, 5, 1);
    shooter.m_nTeam = 1;
    shooter.UpdateScreenRect();
    shot.m_nShotCount = 1;
    shot.m_nSize = 1;
    shot.m_nSpeed = 40;
    shot.m_bMirrorAngle = 0;
    shot.m_bMirrorOffsetX = 0;
    shot.m_nTeam = 1;
    shot.m_bThroughBlocks = 1;
  }

  std::vector<cShot*> Shots() {
    std::vector<cShot*> shots;
    for (cShot& s : stage.m_ShotList) shots.push_back(&s);
    return shots;
  }
  // The direction angle of a shot's flight (0 left, 90 up, 180 right, 270 down).
  static int FlightAngle(const cShot& s) {
    double a = std::atan2(-s.m_dBaseVY, -s.m_dBaseVX) * 180 / 3.14159265358979323846;
    if (a < 0) a += 360;
    return static_cast<int>(std::lround(a)) % 360;
  }
  std::vector<int> FlightAngles() {
    std::vector<int> angles;
    for (cShot* s : Shots()) angles.push_back(FlightAngle(*s));
    return angles;
  }
  std::vector<std::pair<int, int>> Positions() {
    std::vector<std::pair<int, int>> at;
    for (cShot* s : Shots()) at.emplace_back(static_cast<int>(s->m_dX), static_cast<int>(s->m_dY));
    return at;
  }

  TestStage stage;
  TestActor shooter;
  TestActor target;
  cEdShot shot;
};

TEST_F(ShotTest, FirstRowFormationIsCentredAcrossTheDirection) {
  shot.m_nShotCount = 3;
  shot.m_anPatternParam[0] = 1;  // 16 pixels apart
  shot.m_nDirection = SHOTDIR_RIGHT;
  FireShots(shooter, shot);
  EXPECT_EQ(Positions(), (std::vector<std::pair<int, int>>{{512, 456}, {512, 488}, {512, 520}}));
  EXPECT_EQ(FlightAngles(), (std::vector<int>{180, 180, 180}));
  EXPECT_DOUBLE_EQ(Shots()[0]->m_dBaseVX, 4.0);

  stage.m_ShotList.clear();
  for (auto& team : stage.m_vTeamShot) team.clear();
  shot.m_nDirection = SHOTDIR_UP;
  FireShots(shooter, shot);
  EXPECT_EQ(Positions(), (std::vector<std::pair<int, int>>{{456, 464}, {488, 464}, {520, 464}}));
}

TEST_F(ShotTest, DiagonalRowsTruncateEachProductWithTheInverseRoot) {
  shot.m_nShotCount = 2;
  shot.m_anPatternParam[0] = 1;
  shot.m_nDirection = SHOTDIR_UP_RIGHT;
  FireShots(shooter, shot);
  // xr = (511 + 8 - 16 - 480 + 1) / sqrt 2 = 16.97 and yu = -16.97: the
  // origin trunc(496 + xr - 8) = 504, trunc(496 + yu - 8) = 471, each less
  // trunc'd 16 / sqrt 2; the row steps 22 each way.
  EXPECT_EQ(Positions(), (std::vector<std::pair<int, int>>{{492, 459}, {514, 481}}));
  EXPECT_EQ(FlightAngles(), (std::vector<int>{135, 135}));
}

TEST_F(ShotTest, SecondRowFormationStandsOnTheFootLineInFront) {
  shot.m_nShotCount = 2;
  shot.m_nPattern = PATTERN_STRAIGHT_B;
  shot.m_nDirection = SHOTDIR_UP;
  shooter.m_nFacing = 0;
  FireShots(shooter, shot);
  EXPECT_EQ(Positions(), (std::vector<std::pair<int, int>>{{465, 496}, {465, 480}}));
  EXPECT_EQ(FlightAngles(), (std::vector<int>{90, 90}));
}

TEST_F(ShotTest, PatternAngleLists) {
  struct Case {
    int pattern, count, param, direction, angle;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {PATTERN_SPREAD, 4, 30, SHOTDIR_LEFT, 0, {315, 345, 15, 45}},
      {PATTERN_SPREAD, 3, 30, SHOTDIR_LEFT, 0, {330, 0, 30}},
      {PATTERN_SPREAD, 3, 30, SHOTDIR_LEFT, 90, {60, 90, 120}},
      {PATTERN_EXPLOSION, 8, 0, SHOTDIR_LEFT, 0, {0, 45, 90, 135, 180, 225, 270, 315}},
      {PATTERN_EXPLOSION, 4, 0, SHOTDIR_UP, 0, {90, 180, 270, 0}},
      {PATTERN_EXPLOSION, 0, 0, SHOTDIR_LEFT, 0, {}},  // no shots, no division by zero
      {PATTERN_STRAIGHT_A, 1, 0, SHOTDIR_RIGHT, 30, {210}},
  };
  for (const Case& c : cases) {
    stage.m_ShotList.clear();
    for (auto& team : stage.m_vTeamShot) team.clear();
    shot.m_nPattern = static_cast<std::uint8_t>(c.pattern);
    shot.m_nShotCount = static_cast<std::uint8_t>(c.count);
    shot.m_anPatternParam[0] = static_cast<std::int16_t>(c.param);
    shot.m_nDirection = static_cast<std::uint8_t>(c.direction);
    shot.m_nAngle = static_cast<std::int16_t>(c.angle);
    FireShots(shooter, shot);
    EXPECT_EQ(FlightAngles(), c.expected) << "pattern " << c.pattern << " count " << c.count;
  }
}

TEST_F(ShotTest, VolleyAnglesStepAndMirrorForAShooterFacingRight) {
  shot.m_nPattern = PATTERN_SPREAD;
  shot.m_nDirection = SHOTDIR_LEFT;
  shot.m_nExtraVolleys = 2;
  shot.m_nAngle = 10;
  shot.m_nAngleStep = 5;
  shot.m_bMirrorAngle = 1;
  shooter.m_nFacing = 1;
  FireShots(shooter, shot);
  EXPECT_EQ(FlightAngles(), (std::vector<int>{350, 345, 340}));
  // Each volley is its own volley index: later volleys go faster by the speed step.
  EXPECT_EQ(Shots()[2]->m_nLinearIndex, 2);
}

TEST_F(ShotTest, RandomAnglesDrawOncePerVolleyAndOnceMore) {
  shot.m_nPattern = PATTERN_SPREAD;
  shot.m_nDirection = SHOTDIR_LEFT;
  for (int volleys : {0, 2}) {
    shot.m_nExtraVolleys = static_cast<std::uint8_t>(volleys);
    shot.m_nAngleRandom = 3;
    SeedRandom(7);
    FireShots(shooter, shot);
    const unsigned after = RandomState();
    SeedRandom(7);
    for (int i = 0; i < volleys + 2; ++i) Random();
    EXPECT_EQ(after, RandomState()) << volleys << " extra volleys";
  }
  // Without a random spread nothing is drawn.
  shot.m_nAngleRandom = 0;
  SeedRandom(7);
  FireShots(shooter, shot);
  const unsigned after = RandomState();
  SeedRandom(7);
  EXPECT_EQ(after, RandomState());
}

TEST_F(ShotTest, SurroundAndLightningNeedATargetAndCentreOnIt) {
  shot.m_nPattern = PATTERN_SURROUND;
  shot.m_nShotCount = 4;
  shot.m_anPatternParam[0] = 2;  // 32 pixels
  shot.m_nDirection = SHOTDIR_LEFT;
  FireShots(shooter, shot);
  EXPECT_TRUE(stage.m_ShotList.empty());

  target.SetUp(CharaBuilder(), 10, 5, 2);
  target.UpdateScreenRect();
  shooter.SetTarget(&target);
  FireShots(shooter, shot);
  // Around (656, 496) minus the half shot, from the right and counter to the
  // clock; the rounding truncates toward zero (-31.5 gives -31). Every
  // shot flies toward the centre.
  EXPECT_EQ(Positions(), (std::vector<std::pair<int, int>>{{680, 488}, {648, 520}, {617, 488}, {648, 457}}));
  EXPECT_EQ(FlightAngles(), (std::vector<int>{0, 90, 180, 270}));

  stage.m_ShotList.clear();
  for (auto& team : stage.m_vTeamShot) team.clear();
  shot.m_nPattern = PATTERN_LIGHTNING;
  shot.m_nShotCount = 2;
  shot.m_anPatternParam[0] = 0;
  shot.m_anPatternParam[1] = 1000;  // columns beyond the editor's range
  shot.m_anPatternParam[2] = 1;
  shot.m_nDirection = SHOTDIR_DOWN;
  FireShots(shooter, shot);
  EXPECT_EQ(stage.m_ShotList.size(), 2u * kMaxLightningColumns);
}

TEST_F(ShotTest, LightningRowsComeFromTheScreenEdgeAtTheTarget) {
  target.SetUp(CharaBuilder(), 10, 5, 2);
  target.UpdateScreenRect();
  shooter.SetTarget(&target);
  shot.m_nPattern = PATTERN_LIGHTNING;
  shot.m_nShotCount = 2;
  shot.m_anPatternParam[0] = 1;
  shot.m_anPatternParam[1] = 2;
  shot.m_anPatternParam[2] = 2;  // columns 32 apart, centred on the target
  shot.m_nDirection = SHOTDIR_DOWN;
  FireShots(shooter, shot);
  // Target centre on screen (336, 176); view at (320, 320).
  EXPECT_EQ(Positions(), (std::vector<std::pair<int, int>>{{632, 320}, {664, 320}, {632, 352}, {664, 352}}));
  EXPECT_EQ(FlightAngles(), (std::vector<int>{270, 270, 270, 270}));

  // The System setting that leaves the spacing out of the row step: rows
  // 16 apart (the shot's height), the columns as before.
  stage.m_ShotList.clear();
  for (auto& team : stage.m_vTeamShot) team.clear();
  g_SystemData.m_bLightningNoSpacing = 1;
  FireShots(shooter, shot);
  g_SystemData.m_bLightningNoSpacing = 0;
  EXPECT_EQ(Positions(), (std::vector<std::pair<int, int>>{{632, 320}, {664, 320}, {632, 336}, {664, 336}}));
}

// Aiming takes the direction from the launch point to the target's centre
// turned by 180 degrees (0 points left), rounded: from the row origin's
// centre (520, 496) right of the shooter to the target's centre (656, 592),
// trunc(atan2(96, 136) x 57.29577951308232 + 180 + 0.5) = trunc(215.72),
// right and down. A turned row of two steps along the row by
// trunc(S(f + w), -C(f + h)) when sin and cos of its angle have the same
// sign, else by their negation: f = 16 and w = h = 16 give (20, -24) at 40
// degrees (20.57, -24.51) and (-24, -20) at 130 (-24.51, -20.57).
TEST_F(ShotTest, AimedAndTurnedRowsByTheNumbers) {
  target.SetUp(CharaBuilder(), 10, 8, 2);
  target.UpdateScreenRect();
  shooter.SetTarget(&target);
  shot.m_bAimTarget = 1;
  shot.m_nDirection = SHOTDIR_RIGHT;
  FireShots(shooter, shot);
  ASSERT_EQ(Positions(), (std::vector<std::pair<int, int>>{{512, 488}}));
  EXPECT_EQ(FlightAngles(), (std::vector<int>{215}));

  struct Case {
    int angle;
    int stepX, stepY;
  };
  shot.m_bAimTarget = 0;
  shot.m_bRotateFormation = 1;
  shot.m_nShotCount = 2;
  shot.m_anPatternParam[0] = 1;
  shot.m_nDirection = SHOTDIR_LEFT;  // base angle 0
  for (const Case c : {Case{40, 20, -24}, Case{130, -24, -20}}) {
    stage.m_ShotList.clear();
    for (auto& team : stage.m_vTeamShot) team.clear();
    shot.m_nAngle = static_cast<std::int16_t>(c.angle);
    FireShots(shooter, shot);
    const auto at = Positions();
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(at[1].first - at[0].first, c.stepX) << c.angle;
    EXPECT_EQ(at[1].second - at[0].second, c.stepY) << c.angle;
    EXPECT_EQ(FlightAngles(), (std::vector<int>{c.angle, c.angle}));
  }
}

// Against a view that scrolls by itself, a shot that does not scroll along
// aims at a target that does with the velocity that meets it: still
// toward the target, right of the shooter.
TEST_F(ShotTest, AimingAtAScrollingTargetFromADriftingViewStillFacesIt) {
  stage.m_ScrollX.SetAutoScroll(1, 20, g_LoadedStage.m_dSubSteps);
  target.SetUp(CharaBuilder(), 12, 5, 2);
  target.m_bScrollSync = 1;
  target.UpdateScreenRect();
  shooter.SetTarget(&target);
  shot.m_bAimTarget = 1;
  shot.m_nDirection = SHOTDIR_RIGHT;
  FireShots(shooter, shot);
  ASSERT_EQ(stage.m_ShotList.size(), 1u);
  const int angle = FlightAngles()[0];
  EXPECT_GT(angle, 90);
  EXPECT_LT(angle, 270);
  EXPECT_GT(stage.m_ShotList.front().m_dBaseVX, 0);
}

TEST_F(ShotTest, RangeBecomesSubStepsAndATooShortRangeStillLivesAFrame) {
  shot.m_bRange = 1;
  shot.m_nRange = 4;  // 64 pixels less the shot's 16
  shot.m_nDirection = SHOTDIR_RIGHT;
  FireShots(shooter, shot);
  cShot& s = stage.m_ShotList.front();
  EXPECT_EQ(s.m_nRange, 12);
  int steps = 0;
  while (s.UpdateMotion() == 0) ++steps;
  EXPECT_EQ(steps, 12);

  // Told to stop at its range, it stays where the range ran out, still.
  stage.m_ShotList.clear();
  for (auto& team : stage.m_vTeamShot) team.clear();
  shot.m_bStopAtRange = 1;
  FireShots(shooter, shot);
  cShot& stopping = stage.m_ShotList.front();
  for (int i = 0; i < 12; ++i) {
    ASSERT_EQ(stopping.UpdateMotion(), 0);
    stopping.StepX();
  }
  const double reached = stopping.m_dX;
  EXPECT_DOUBLE_EQ(reached, 512 + 12 * 4.0);
  for (int i = 0; i < 30; ++i) {
    ASSERT_EQ(stopping.UpdateMotion(), 0) << "stays after its range";
    stopping.StepX();
  }
  EXPECT_DOUBLE_EQ(stopping.m_dX, reached);
  shot.m_bStopAtRange = 0;

  struct Case {
    int speed;
    double vx;
  };
  // A range of 1 half-block leaves no distance: one frame, and no motion
  // when the shot would pass its own width in it.
  for (const Case c : {Case{40, 4.0}, Case{200, 0.0}}) {
    cShotLaunch launch;
    launch.nWidth = launch.nHeight = 16;
    launch.nRange = 1;
    launch.dSpeed = c.speed * 0.1;
    launch.dVX = launch.dSpeed;
    launch.nX = launch.nY = 500;
    shot.m_nSpeed = static_cast<std::int16_t>(c.speed);
    cShot one;
    one.Init(9, &shooter, SHOT_KIND_SHOT, shot, launch);
    EXPECT_EQ(one.m_nRange, 1);
    EXPECT_DOUBLE_EQ(one.m_dBaseVX, c.vx);
  }
  // Without a direction the share of the distance is no division by zero.
  cShotLaunch still;
  still.nWidth = still.nHeight = 16;
  still.nRange = 1;
  still.dSpeed = 20;
  cShot none;
  none.Init(9, &shooter, SHOT_KIND_SHOT, shot, still);
  EXPECT_EQ(none.m_dBaseVX, 0);
  EXPECT_EQ(none.m_dBaseVY, 0);
}

class ShotMotionTest : public ShotTest {
 protected:
  ShotMotionTest() : ShotTest({20, 15, 2, 0.4}) {}

  // One shot from the shooter, stepped n sub-steps the way the stage does.
  cShot& FireAndStep(int n) {
    FireShots(shooter, shot);
    cShot& s = stage.m_ShotList.back();
    for (int i = 0; i < n; ++i) {
      if (s.UpdateMotion()) break;
      s.ApplyGravity();
      s.StepY();
      s.StepX();
    }
    return s;
  }
};

TEST_F(ShotMotionTest, EachMovementKindOverAFewFrames) {
  target.SetUp(CharaBuilder(), 5, 0, 2);  // straight above the shooter
  target.UpdateScreenRect();
  target.m_bAppeared = target.m_bOnScreen = 1;
  stage.m_vTeamCharacter[3].push_back(&target);
  stage.m_pHero = &target;
  shooter.SetTarget(&target);
  shot.m_nDirection = SHOTDIR_RIGHT;

  // Straight: 4 pixels a frame, 2 per sub-step.
  EXPECT_DOUBLE_EQ(FireAndStep(4).m_dX, 512 + 8);

  // Aiming at the hero, the nearest of team 3 or the target after one half-block (8 sub-steps at 2 pixels):
  for (int kind : {SHOTMOVE_AIM_PLAYER, SHOTMOVE_AIM_NEAREST, SHOTMOVE_AIM_TARGET}) {
    shot.m_nMoveKind = static_cast<std::uint8_t>(kind);
    shot.m_anMoveParam[0] = 1;
    shot.m_anMoveParam[1] = 3;
    cShot& before = FireAndStep(8);
    EXPECT_DOUBLE_EQ(before.m_dBaseVX, 2.0) << kind;
    cShot& s = FireAndStep(9);
    EXPECT_LT(s.m_dBaseVY, 0) << kind;  // now climbing toward the target
    EXPECT_LT(s.m_dBaseVX, 2.0) << kind;
    EXPECT_EQ(s.m_bMoveDone, 1) << kind;
  }
  // The aiming and homing kinds at the target stay in its list of homing shots.
  EXPECT_EQ(target.m_vShots.size(), 2u);

  // Homing from the first sub-step until half a block: steers, then keeps its course.
  shot.m_nMoveKind = SHOTMOVE_HOME_PLAYER;
  shot.m_anMoveParam[0] = 0;
  shot.m_anMoveParam[1] = 1;
  cShot& homing = FireAndStep(20);
  EXPECT_LT(homing.m_dBaseVY, 0);
  EXPECT_EQ(homing.m_bMoveDone, 1);
  // An end of 0 never steers.
  shot.m_anMoveParam[1] = 0;
  EXPECT_DOUBLE_EQ(FireAndStep(20).m_dBaseVY, 0.0);

  // A wave swings across the flight; a wave speed of 0 flies straight.
  shot.m_nMoveKind = SHOTMOVE_WAVE;
  shot.m_anMoveParam[0] = 1;
  shot.m_anMoveParam[1] = 10;
  shot.m_anMoveParam[2] = 0;
  EXPECT_NE(FireAndStep(5).m_dY, 496 - 8);
  shot.m_anMoveParam[1] = 0;
  cShot& flat = FireAndStep(5);
  EXPECT_DOUBLE_EQ(flat.m_dY, 496 - 8);
  EXPECT_DOUBLE_EQ(flat.m_dBaseVY, 0.0);

  // Falling after half a block: gravity pulls from then on.
  shot.m_nMoveKind = SHOTMOVE_FALL;
  shot.m_anMoveParam[0] = 1;
  cShot& falling = FireAndStep(8);
  EXPECT_EQ(falling.m_bFlying, 1);
  falling.UpdateMotion();
  EXPECT_EQ(falling.m_bFlying, 0);
  falling.ApplyGravity();
  EXPECT_GT(falling.m_dVY, 0);
}

TEST_F(ShotMotionTest, AShotEndsWhenItsLifetimeRunsOut) {
  shot.m_bLifetime = 1;
  shot.m_nLifetime = 1;  // a tenth of a second: 6 frames of 2 sub-steps
  FireShots(shooter, shot);
  cShot& s = stage.m_ShotList.back();
  int steps = 0;
  while (s.UpdateMotion() == 0) ++steps;
  EXPECT_EQ(steps, 12);
}

TEST_F(ShotTest, BlocksStopShotsUnlessTheyPassThem) {
  stage.PutBlock(16, 5, TestStage::Solid());
  shot.m_bThroughBlocks = 0;
  shot.m_nDirection = SHOTDIR_RIGHT;
  FireShots(shooter, shot);
  cShot& s = stage.m_ShotList.back();
  EXPECT_EQ(s.HitsBlock(), 0);
  s.m_dX = 16 * 32 + 320 - 4;  // its right edge in the block's cell
  s.ClampX();
  EXPECT_EQ(s.HitsBlock(), 1);
  s.m_Shot.m_bThroughBlocks = 1;
  EXPECT_EQ(s.HitsBlock(), 0);

  // A shot wider than a cell also tests the cells under its middle.
  shot.m_nSize = 5;  // 80 pixels
  stage.PutBlock(16, 5, cEdBlock());
  stage.PutBlock(8, 6, TestStage::Solid());
  FireShots(shooter, shot);
  cShot& wide = stage.m_ShotList.back();
  wide.m_dX = 320 + 7 * 32;
  wide.m_dY = 320 + 5 * 32 + 8;
  wide.ClampX();
  wide.ClampToStageY(2);
  wide.m_Shot.m_bThroughBlocks = 0;
  EXPECT_EQ(wide.HitsBlock(), 1);
}

TEST_F(ShotTest, SwordFramesFollowTheOwnerAndEndAfterTheLast) {
  g_Database.m_vSwordType.resize(2);
  cEdSwordType& type = g_Database.m_vSwordType[1];
  type.m_vFrames.assign(2, cEdSwordFrame());
  type.m_vFrames[0].m_nWidth = 20;
  type.m_vFrames[0].m_nHeight = 10;
  type.m_vFrames[0].m_nDuration = 0;
  type.m_vFrames[0].m_nOffsetX = 3;
  type.m_vFrames[1].m_nWidth = 8;
  type.m_vFrames[1].m_nHeight = 30;
  type.m_vFrames[1].m_nDuration = 1;  // 6 sub-steps, placed on 7
  type.m_vFrames[1].m_nPosition = SWORD_POS_ABOVE;
  stage.m_pHero = &shooter;
  shooter.m_nFacing = 1;
  shot.m_nMoveKind = 1;
  cShotLaunch launch;
  launch.nWidth = 20;
  launch.nHeight = 10;
  launch.nSize = 1;
  cShot sword;
  sword.Init(5, &shooter, SHOT_KIND_SWORD, shot, launch);
  EXPECT_EQ(sword.m_bIsShot, 0);
  EXPECT_EQ(sword.m_nFacing, 1);

  std::vector<int> xs, ys;
  int steps = 0;
  while (sword.UpdateSword() == 0) {
    xs.push_back(static_cast<int>(sword.m_dX));
    ys.push_back(static_cast<int>(sword.m_dY));
    ++steps;
  }
  EXPECT_EQ(steps, 1 + 6);
  // In front (facing right the x offset is subtracted), then above the centre.
  EXPECT_EQ(xs.front(), 512 - 3);
  EXPECT_EQ(ys.front(), 496 - 5);
  EXPECT_EQ(xs.back(), 496 - 4);
  EXPECT_EQ(ys.back(), 480 - 30);
  EXPECT_EQ(sword.m_HitBox.m_nWidth, 8);

  // Its owner gone, a sword ends.
  cShot orphan;
  orphan.Init(6, &shooter, SHOT_KIND_SWORD, shot, launch);
  stage.m_pHero = nullptr;
  EXPECT_EQ(orphan.UpdateSword(), 1);
}

TEST_F(ShotTest, AHomingShotLeavesItsTargetsListWhenRemoved) {
  target.SetUp(CharaBuilder(), 10, 5, 2);
  target.UpdateScreenRect();
  shooter.SetTarget(&target);
  shot.m_nMoveKind = SHOTMOVE_HOME_TARGET;
  shot.m_nShotCount = 2;
  FireShots(shooter, shot);
  ASSERT_EQ(target.m_vShots.size(), 2u);
  EXPECT_EQ(target.m_vShots[0], &stage.m_ShotList.front());
  EXPECT_EQ(stage.m_vTeamShot[1].size(), 2u);
  stage.RemoveShot(stage.m_ShotList.begin());
  EXPECT_EQ(target.m_vShots, std::vector<cShot*>{&stage.m_ShotList.front()});
  EXPECT_EQ(stage.m_vTeamShot[1].size(), 1u);

  // Other kinds keep no target.
  shot.m_nMoveKind = SHOTMOVE_STRAIGHT;
  FireShots(shooter, shot);
  EXPECT_EQ(stage.m_ShotList.back().m_pShotTarget, nullptr);
}

TEST_F(ShotTest, ShotsDrawTheirSheetCellAndSwordsTheirFrame) {
  RecordingDrawTarget draw;
  shot.m_nGraphicNo = 31;  // column pair 1, row 1
  shot.m_nDirection = SHOTDIR_RIGHT;
  FireShots(shooter, shot);
  cShot& s = stage.m_ShotList.back();
  s.Draw(draw, kBackBuffer, false);
  ASSERT_EQ(draw.m_vCalls.size(), 1u);
  const sDrawCall& call = draw.m_vCalls[0];
  EXPECT_EQ(call.op, "Blt");
  EXPECT_EQ(call.src, (sSurface{SURFACES_IMAGE, 21}));
  EXPECT_EQ(call.sx, 2 * 16);
  EXPECT_EQ(call.sy, 16);
  EXPECT_EQ(call.x, 512 - 320);
  s.m_Shot.m_bHidden = 1;
  s.Draw(draw, kBackBuffer, false);
  EXPECT_EQ(draw.m_vCalls.size(), 1u);
}

TEST_F(ShotTest, SummonsPlaceTheirPaletteEntryAtEachPointOfTheFormation) {
  g_CommonPalette.m_vBlocks.assign(2, TestStage::Solid(7));
  g_CommonPalette.m_vCharas.assign(2, CharaBuilder());
  g_CommonPalette.m_vCharas[1].m_nControl = 0;  // a hero
  g_CommonPalette.m_vItems.assign(1, cEdItem());
  shot.m_nShotCount = 2;
  shot.m_nDirection = SHOTDIR_RIGHT;
  shot.m_nBlockMode = 2;
  stage.m_nBlockToggle1 = 5;
  for (int protect : {0, 1}) {
    shot.m_bProtectPlayer = shot.m_bProtectCharas = static_cast<std::uint8_t>(protect);
    shot.m_nSummonIndex = 1;
    stage.m_vSummons.clear();
    FireBlockSummon(shooter, shot);
    ASSERT_EQ(stage.m_vSummons.size(), 2u);
    EXPECT_EQ(stage.m_vSummons[0].what, "ChangeBlock");
    EXPECT_EQ(stage.m_vSummons[0].x, 512);
    EXPECT_EQ(stage.m_vSummons[1].y - stage.m_vSummons[0].y, 32);
    EXPECT_EQ(stage.m_vSummons[1].bProtectPlayer, protect);
    EXPECT_EQ(stage.m_vSummons[1].bProtectCharas, protect);
  }
  EXPECT_EQ(stage.m_nBlockToggle2, 5);

  stage.m_vSummons.clear();
  shot.m_nSummonIndex = 2;  // beyond the palette
  FireBlockSummon(shooter, shot);
  FireCharaSummon(shooter, shot);
  FireItemSummon(shooter, shot);
  shot.m_nSummonIndex = 1;  // the hero is never summoned
  FireCharaSummon(shooter, shot);
  EXPECT_TRUE(stage.m_vSummons.empty());

  shot.m_nSummonIndex = 0;
  shot.m_nSummonTeam = 1;
  shot.m_bSummonReverse = 1;
  shooter.m_nFacing = 1;
  FireCharaSummon(shooter, shot);
  FireItemSummon(shooter, shot);
  ASSERT_EQ(stage.m_vSummons.size(), 4u);
  EXPECT_EQ(stage.m_vSummons[0].what, "AddCharacter");
  EXPECT_EQ(stage.m_vSummons[0].nFacing, 0);
  EXPECT_EQ(stage.m_vSummons[0].nTeamOrKind, 1);
  EXPECT_EQ(stage.m_vSummons[2].what, "AddItem");
  EXPECT_EQ(stage.m_vSummons[2].nTeamOrKind, 1);  // the common palette
  g_CommonPalette.m_vBlocks.clear();
  g_CommonPalette.m_vCharas.clear();
  g_CommonPalette.m_vItems.clear();
}

}  // namespace
