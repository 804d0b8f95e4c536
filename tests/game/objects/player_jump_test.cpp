// The hero's jump command: take-off in the first frame of holding, the full
// rise while held, the cut at an early release, no second jump from a press
// held since before the landing, the jump off a character's head on the
// frame's last sub-step, no-jump floors, and the height chosen by the added
// speed in mode 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/objects/player.h"
#include "model/definitions/flow.h"
#include "support/condition_builders.h"
#include "support/definition_builders.h"
#include "support/floor_pass.h"
#include "support/key_log_feeder.h"
#include "support/test_hero.h"
#include "support/test_stage.h"

namespace {

constexpr int kFloorRow = 10;
constexpr std::uint16_t kJumpButton = 1;  // button 1

// A flow that jumps (mode 1, 4 half-blocks) while button 1 is held: it
// starts on the press (with key repeat, again every frame the button is down
// and the flow is not running).
cEdFlow JumpFlow(int nMode = 1, int nHeight = 4) {
  FlowBuilder flow(TRIGGER_ALWAYS);
  flow.Command(CommandBuilder(CMD_JUMP).Param(0, nMode).Param(2, nHeight));
  cEdFlow result = flow;
  result.m_bKeyRepeat = 1;
  result.m_vKeyCondition.push_back(KeyConditionBuilder().Key(KEY_BUTTON1, KEY_PRESSED).AnyHold());
  return result;
}

// The hero on a floor of solid blocks along stage row 10, stepped frame by
// frame with a minimal floor pass: a hero moving down into a solid cell
// lands on it, and its floor cell is the solid cell under its feet. A hero
// at rest sinks into the floor by up to a sub-step's gravity before it
// lands again, so "on the floor" means within a pixel of it.
class JumpRig : public testing::Test {
 protected:
  explicit JumpRig(TestStageSize size = {20, 15, 1, 0.4}) : stage(size) {
    for (int column = 0; column < 20; ++column) stage.PutBlock(column, kFloorRow, TestStage::Solid());
  }
  void SetUpHero(const cEdFlow& flow, int nRow = kFloorRow - 1) {
    hero.SetUp(CharaBuilder().Hero().Flow(flow), 5, nRow);
    if (nRow == kFloorRow - 1) Land();
  }
  void Land() {
    h.m_dVY = 1;
    h.m_dY += 1;
    h.ConstrainY();
    FloorPass();
  }
  void FloorPass() { ::FloorPass(stage, h); }
  // One frame with the button down or up; returns the hero's top after it.
  double Frame(bool bPressed) {
    input.Hold(1, 0, bPressed ? kJumpButton : 0);
    h.ResetFlowFrameFlags();
    const int b = g_LoadedStage.m_nSubSteps;
    for (int s = 1; s <= b; ++s) {
      stage.m_nSubStep = s;
      h.SavePosition();
      h.FireTrigger(TRIGGER_ALWAYS);
      h.RunFlows(false);
      h.MoveX();
      h.ApplyGravity();
      h.MoveY();
      FloorPass();
      vyAfterSubStep.push_back(h.m_dVY);
    }
    return h.m_dY;
  }
  // The highest rise above the start over the frames (pressed for the first
  // nHeld of them).
  double Rise(int nHeld, int nFrames) {
    const double start = h.m_dY;
    double top = start;
    for (int f = 0; f < nFrames; ++f) top = std::min(top, Frame(f < nHeld));
    return start - top;
  }

  TestStage stage;
  TestHero hero{stage};
  cPlayer& h = hero.m_Hero;
  KeyLogFeeder input;
  std::vector<double> vyAfterSubStep;
};

TEST_F(JumpRig, HoldingRisesTheFullHeightAndATapCutsTheRise) {
  SetUpHero(JumpFlow());
  const int total = h.m_vFlows[0].m_vCommands[0].m_nTotalFrames;
  const double full = Rise(total, 120);
  // Up to four half-blocks: less for the hero (its jump speed is scaled
  // down) and with the rise held to the stage's speed limit.
  EXPECT_GT(full, 40);
  EXPECT_LE(full, 64);
  EXPECT_TRUE(h.IsStanding());

  Frame(false);
  vyAfterSubStep.clear();
  const double tap = Rise(1, 120);
  // Released after one frame: the upward speed drops to 30 %.
  ASSERT_GE(vyAfterSubStep.size(), 2u);
  const double g = g_LoadedStage.m_dGravityStep;
  EXPECT_DOUBLE_EQ(vyAfterSubStep[1], (vyAfterSubStep[0] * 0.3) + g);
  EXPECT_LT(tap, full / 4);
  EXPECT_GT(tap, 0);
}

TEST_F(JumpRig, TakeOffComesInTheFirstFrameOfHolding) {
  SetUpHero(JumpFlow());
  const double start = h.m_dY;
  Frame(true);
  EXPECT_LT(h.m_dY, start - 1);
  EXPECT_EQ(h.m_bJumping, 1);
  EXPECT_EQ(h.m_nJumpHold, 1);
}

TEST_F(JumpRig, APressHeldSinceBeforeTheLandingDoesNotJumpAgain) {
  // Dropped from four cells up with the button already down: the jump
  // command runs while the hero falls and is still held when it lands.
  SetUpHero(JumpFlow(), kFloorRow - 5);
  for (int f = 0; f < 40 && !h.IsStanding(); ++f) Frame(true);
  ASSERT_TRUE(h.IsStanding());
  const double floorY = h.m_dY;
  for (int f = 0; f < 10; ++f) EXPECT_GT(Frame(true), floorY - 1) << "frame " << f;
  Frame(false);
  Frame(true);
  EXPECT_LT(h.m_dY, floorY - 1);  // a new press jumps
}

TEST_F(JumpRig, ANoJumpFloorActsAsAReleasedButton) {
  SetUpHero(JumpFlow());
  h.m_bNoJumpFloor = 1;
  const double floorY = h.m_dY;
  for (int f = 0; f < 5; ++f) EXPECT_GT(Frame(true), floorY - 1);
  EXPECT_EQ(h.m_nJumpHold, 0);
  EXPECT_EQ(h.m_bJumpReleased, 1);
  h.m_bNoJumpFloor = 0;
  Frame(false);
  Frame(true);
  EXPECT_LT(h.m_dY, floorY - 1);
}

TEST_F(JumpRig, ModeZeroJumpsWithoutTheButton) {
  FlowBuilder flow(TRIGGER_ALWAYS);
  flow.Command(CommandBuilder(CMD_JUMP).Param(0, 0).Param(2, 2));
  SetUpHero(flow);
  const double floorY = h.m_dY;
  Frame(false);
  EXPECT_LT(h.m_dY, floorY - 1);
}

// Three sub-steps a frame: off a character's head the hero takes off only
// on the last one, 2 % faster (by the single-precision factor 1.02).
class JumpOffCharacter : public JumpRig {
 protected:
  JumpOffCharacter() : JumpRig({20, 15, 3, 0.4}) {}
};

TEST_F(JumpOffCharacter, TakesOffOnTheFramesLastSubStep) {
  SetUpHero(JumpFlow(), 4);  // in the air, standing on a character
  h.m_bFalling = 0;
  h.m_bOnCharacter = 1;
  const double speed = h.m_vFlows[0].m_vCommands[0].m_dMoveSpeed;
  ASSERT_LT(speed, 0);
  input.Hold(1, 0, kJumpButton);
  h.ResetFlowFrameFlags();
  std::vector<double> vy;
  for (int s = 1; s <= 3; ++s) {
    stage.m_nSubStep = s;
    h.FireTrigger(TRIGGER_ALWAYS);
    h.RunFlows(false);
    vy.push_back(h.m_dVY);
    EXPECT_EQ(h.m_bOnCharacter, s < 3 ? 1 : 0) << "sub-step " << s;
  }
  EXPECT_EQ(vy[0], 0);
  EXPECT_EQ(vy[1], 0);
  EXPECT_EQ(vy[2], speed * 1.0199999809265137);
}

// Mode 2: thresholds A 40 and B 10 (tenths of a pixel a frame), heights
// A 6 and B 2; in between the height runs from height B at speed 0.
struct HeightCase {
  const char* name;
  double addedSpeedTenths;
  int height;
};
class JumpHeightBySpeed : public JumpRig, public testing::WithParamInterface<HeightCase> {};

TEST_P(JumpHeightBySpeed, PicksTheHeightFromTheAddedSpeed) {
  const HeightCase& c = GetParam();
  FlowBuilder flow(TRIGGER_ALWAYS);
  flow.Command(CommandBuilder(CMD_JUMP).Param(0, 2).Param(1, 40).Param(2, 6).Param(3, 10).Param(4, 2));
  SetUpHero(flow);
  h.m_dAccelX = -c.addedSpeedTenths * 0.1 / g_LoadedStage.m_dSubSteps;
  cCommandInstance& jump = h.m_vFlows[0].m_vCommands[0];
  stage.m_pCurFlow = &h.m_vFlows[0];
  h.Jump(&jump);
  stage.m_pCurFlow = nullptr;
  EXPECT_DOUBLE_EQ(jump.m_dMoveSpeed, h.JumpSpeedForHeight(c.height * 16));
}

INSTANTIATE_TEST_SUITE_P(Cases, JumpHeightBySpeed,
                         testing::Values(HeightCase{"Between", 20, 4},  // trunc((6 - 2) x 20 / 40 + 2)
                                         HeightCase{"JustAboveThresholdB", 11, 3},
                                         HeightCase{"AtThresholdB", 10, 2},
                                         HeightCase{"BelowThresholdB", 8, 2},
                                         HeightCase{"AtThresholdA", 40, 6},
                                         HeightCase{"AboveThresholdA", 55, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
