// Key conditions: sequences of key states matched backwards over the hero's
// key-change logs, timing tolerance, hold limits, key modes, facing
// mirroring and edge detection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/input_script.h"
#include "game/objects/actor.h"
#include "model/definitions/flow.h"
#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "support/condition_builders.h"
#include "support/definition_builders.h"
#include "support/key_log_feeder.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

constexpr std::uint16_t kLeft = 1, kRight = 2, kDown = 8;
constexpr std::uint16_t kButton1 = 1, kButton2 = 2;

const cEdKeyCondition kButton1Pressed = KeyConditionBuilder().Key(KEY_BUTTON1, KEY_PRESSED).AnyHold();
const cEdKeyCondition kButton2Pressed = KeyConditionBuilder().Key(KEY_BUTTON1 + 1, KEY_PRESSED).AnyHold();

class KeyConditions : public testing::Test {
 protected:
  TestStage stage;
  TestActor hero;
  TestActor actor;
  KeyLogFeeder keys;
  void SetUp() override {
    hero.SetUp(CharaBuilder().Hero(), 2, 2);
    actor.SetUp(CharaBuilder(), 5, 5, 2);
    actor.m_nFacing = 1;
    stage.m_pHero = &hero;
    stage.m_pCurActor = &actor;
  }
  bool Matches(const std::vector<cEdKeyCondition>& sequence, int nTolerance) {
    return actor.MatchKeySequence(sequence, nTolerance);
  }
};

// Button 1 held, released for some frames, then button 2 pressed on the
// frame tested: the earlier step may lie up to the tolerance further back.
struct GapCase {
  int nGap;
  int nTolerance;
  bool bMatches;
};

class KeySequenceGap : public KeyConditions, public testing::WithParamInterface<GapCase> {};

TEST_P(KeySequenceGap, EarlierStepMayLieUpToTheToleranceBack) {
  keys.Idle(2).Hold(3, 0, kButton1).Idle(GetParam().nGap).Hold(1, 0, kButton2);
  EXPECT_EQ(Matches({kButton1Pressed, kButton2Pressed}, GetParam().nTolerance), GetParam().bMatches);
}

INSTANTIATE_TEST_SUITE_P(Gaps, KeySequenceGap,
                         testing::Values(GapCase{0, 0, true}, GapCase{1, 0, false}, GapCase{0, 3, true},
                                         GapCase{2, 3, true}, GapCase{3, 3, true}, GapCase{4, 3, false},
                                         GapCase{5, 3, false}, GapCase{5, 6, true}));

TEST_F(KeyConditions, TheLastStepMustHoldNow) {
  keys.Hold(3, 0, kButton1).Hold(1, 0, kButton2).Idle(1);
  EXPECT_FALSE(Matches({kButton1Pressed, kButton2Pressed}, 3));
  EXPECT_FALSE(Matches({kButton2Pressed}, 3));
}

// Pressed together: the earlier step is found one frame after the moment
// the tolerance walk started from, so it needs a tolerance.
TEST_F(KeyConditions, StepsPressedTogetherMatchOnlyWithATolerance) {
  keys.Idle(10).Hold(1, 0, kButton1 | kButton2);
  EXPECT_FALSE(Matches({kButton1Pressed, kButton2Pressed}, 0));
  EXPECT_TRUE(Matches({kButton1Pressed, kButton2Pressed}, 1));
}

TEST_F(KeyConditions, ThreeStepsWalkBackThroughEachDuration) {
  const cEdKeyCondition down = KeyConditionBuilder().Key(KEY_DOWN, KEY_PRESSED).AnyHold();
  const cEdKeyCondition downRight = KeyConditionBuilder().Key(KEY_DOWN_RIGHT, KEY_PRESSED).AnyHold();
  const cEdKeyCondition right = KeyConditionBuilder().Key(KEY_RIGHT, KEY_PRESSED).AnyHold();
  keys.Idle(5).Hold(4, kDown, 0).Hold(2, kDown | kRight, 0).Hold(1, kRight, 0);
  EXPECT_TRUE(Matches({down, downRight, right}, 0));
  EXPECT_FALSE(Matches({downRight, down, right}, 0));
}

struct HoldCase {
  int nFrames;
  bool bMatches;
};

class KeyHoldLimits : public KeyConditions, public testing::WithParamInterface<HoldCase> {};

TEST_P(KeyHoldLimits, PressedCountsFramesBetweenMinimumAndMaximum) {
  keys.Idle(3).Hold(GetParam().nFrames, 0, kButton1);
  const cEdKeyCondition held = KeyConditionBuilder().Key(KEY_BUTTON1, KEY_PRESSED).HoldFrames(3, 5);
  EXPECT_EQ(Matches({held}, 0), GetParam().bMatches);
}

INSTANTIATE_TEST_SUITE_P(Frames, KeyHoldLimits,
                         testing::Values(HoldCase{1, false}, HoldCase{2, false}, HoldCase{3, true},
                                         HoldCase{5, true}, HoldCase{6, false}));

TEST_F(KeyConditions, ReleasedNeedsAFrameOfTheLog) {
  const cEdKeyCondition released = KeyConditionBuilder().Key(KEY_BUTTON1, KEY_RELEASED);
  EXPECT_FALSE(Matches({released}, 0));  // a log never written
  keys.Idle(1);
  EXPECT_TRUE(Matches({released}, 0));
  keys.Hold(1, 0, kButton1);
  EXPECT_FALSE(Matches({released}, 0));
}

// Buttons 1 and 2 required; mode 0 all, 1 one or more, 2 exactly one.
struct ModeCase {
  int nMode;
  std::uint16_t wButtons;
  bool bMatches;
};

class KeyModes : public KeyConditions, public testing::WithParamInterface<ModeCase> {};

TEST_P(KeyModes, CountMatchesAndMisses) {
  keys.Idle(1).Hold(1, 0, GetParam().wButtons);
  const cEdKeyCondition both = KeyConditionBuilder()
                                   .Key(KEY_BUTTON1, KEY_PRESSED)
                                   .Key(KEY_BUTTON1 + 1, KEY_PRESSED)
                                   .AnyHold()
                                   .Mode(GetParam().nMode);
  EXPECT_EQ(Matches({both}, 0), GetParam().bMatches);
  EXPECT_EQ(cActor::TestKeyConditionNow(keys.Input(), both), GetParam().bMatches);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, KeyModes,
    testing::Values(ModeCase{0, kButton1, false}, ModeCase{0, kButton1 | kButton2, true}, ModeCase{1, 0, false},
                    ModeCase{1, kButton1, true}, ModeCase{1, kButton1 | kButton2, true},
                    ModeCase{2, kButton2, true}, ModeCase{2, kButton1 | kButton2, false},
                    ModeCase{7, kButton1 | kButton2, true}, ModeCase{7, kButton1, false}));

// Facing left, a facing-relative key condition reads the left and right
// logs (and the diagonals) exchanged; the running actor's facing counts.
struct FacingCase {
  int nFacing;
  bool bRelative;
  std::uint16_t wDir;
  int nKey;
  bool bMatches;
};

class KeyFacing : public KeyConditions, public testing::WithParamInterface<FacingCase> {};

TEST_P(KeyFacing, MirrorsForARunningActorFacingLeft) {
  actor.m_nFacing = GetParam().nFacing;
  hero.m_nFacing = 1 - GetParam().nFacing;  // the hero's facing does not count
  keys.Idle(1).Hold(2, GetParam().wDir, 0);
  KeyConditionBuilder key;
  key.Key(GetParam().nKey, KEY_PRESSED).AnyHold();
  if (GetParam().bRelative) key.FacingRelative();
  EXPECT_EQ(hero.MatchKeySequence({key}, 0), GetParam().bMatches);
}

INSTANTIATE_TEST_SUITE_P(Facings, KeyFacing,
                         testing::Values(FacingCase{0, true, kLeft, KEY_RIGHT, true},
                                         FacingCase{0, true, kRight, KEY_RIGHT, false},
                                         FacingCase{1, true, kRight, KEY_RIGHT, true},
                                         FacingCase{0, false, kRight, KEY_RIGHT, true},
                                         FacingCase{0, true, kDown | kLeft, KEY_DOWN_RIGHT, true},
                                         FacingCase{0, true, kDown, KEY_DOWN, true}));

TEST_F(KeyConditions, NowTestReadsOnlyTheNewestEntryWithoutMirroring) {
  actor.m_nFacing = 0;
  keys.Hold(1, kRight, 0);
  const cEdKeyCondition right = KeyConditionBuilder().Key(KEY_RIGHT, KEY_PRESSED).HoldFrames(5, 9).FacingRelative();
  EXPECT_TRUE(cActor::TestKeyConditionNow(keys.Input(), right));  // no hold limits either
  const cEdKeyCondition noButton = KeyConditionBuilder().Key(KEY_NO_BUTTON, KEY_RELEASED);
  EXPECT_FALSE(cActor::TestKeyConditionNow(keys.Input(), noButton));
}

class KeyEdges : public KeyConditions {
 protected:
  cEdFlow flow = FlowBuilder(TRIGGER_ALWAYS).Group(2);
  cFlowInstance instance;
  void SetUp() override {
    KeyConditions::SetUp();
    flow.m_vKeyCondition = {kButton1Pressed};
    instance.m_pFlow = &flow;
  }
  // The results of successive tests with button 1 held (true) or not.
  std::vector<bool> Run(const std::vector<bool>& held) {
    std::vector<bool> results;
    for (bool bHeld : held) {
      keys.Hold(1, 0, bHeld ? kButton1 : 0);
      results.push_back(actor.CheckKeyConditions(instance));
    }
    return results;
  }
};

TEST_F(KeyEdges, WithoutRepeatAHeldSequenceStartsOnceUntilItStopsMatching) {
  EXPECT_EQ(Run({true, true, true, false, true, true}),
            (std::vector<bool>{true, false, false, false, true, false}));
}

TEST_F(KeyEdges, WithRepeatEveryMatchingTestHolds) {
  flow.m_bKeyRepeat = 1;
  EXPECT_EQ(Run({true, true, false, true}), (std::vector<bool>{true, true, false, true}));
}

TEST_F(KeyEdges, NoKeyConditionsAlwaysHold) {
  flow.m_vKeyCondition.clear();
  EXPECT_EQ(Run({false, true}), (std::vector<bool>{true, true}));
}

TEST_F(KeyEdges, AHeldSequenceShutsItsGroupForTheFrame) {
  TestActor runner;
  runner.SetUp(CharaBuilder(), 8, 5, 3);
  stage.m_pCurActor = &runner;
  Run({true});
  EXPECT_EQ(actor.m_bGroupStopped, 0);
  Run({true});
  EXPECT_EQ(runner.m_vGroupRunning[2], 1);
  EXPECT_EQ(actor.m_vGroupStopped[2], 1);
  EXPECT_EQ(actor.m_bGroupStopped, 1);
  EXPECT_EQ(actor.m_vGroupRunning[2], 0);
}

TEST_F(KeyEdges, OnlyAnAlwaysFlowOfAGroupShutsIt) {
  const std::pair<int, int> others[] = {{TRIGGER_DAMAGED, 2}, {TRIGGER_ALWAYS, 0}};
  for (auto [nTrigger, nGroup] : others) {
    flow.m_nTrigger = static_cast<std::uint8_t>(nTrigger);
    flow.m_nGroup = static_cast<std::uint8_t>(nGroup);
    instance.m_bKeyHeld = 0;
    Run({true, true});
    EXPECT_EQ(actor.m_bGroupStopped, 0);
  }
}

// The hero's record fed by the fixed layout from scripted keys, as the
// stage's input poll does: Z is button 1 and X button 2.
TEST_F(KeyConditions, ScriptedKeysFeedTheSequence) {
  platform::ReleaseAllKeys();
  platform::RemoveAllJoysticks();
  std::vector<ScriptedInputEvent> events;
  std::string error;
  ASSERT_TRUE(ParseInputScript("2 Z down\n5 Z up\n7 X down\n", events, error)) << error;
  InstallInputScript(events);
  std::vector<bool> results;
  cInputState& input = keys.Input();
  for (int frame = 1; frame <= 8; ++frame) {
    input.Poll(0, 3, 60);
    input.UpdateKeyLogs();
    results.push_back(Matches({kButton1Pressed, kButton2Pressed}, 3));
  }
  RemoveInputScript();
  platform::ReleaseAllKeys();
  EXPECT_EQ(results, (std::vector<bool>{false, false, false, false, false, false, true, true}));
}

}  // namespace
