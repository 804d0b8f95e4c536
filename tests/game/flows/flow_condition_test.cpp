// Condition lists and the condition kinds: variables, the status
// conditions of definition bytes and of facts about an actor, the distance
// to the hero, the once option of flows, and the two arithmetic helpers.
#include "game/flows/flow_condition.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "base/random.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "model/definitions/flow.h"
#include "model/user/save_data.h"
#include "support/condition_builders.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

struct PercentCase {
  int a, b, expected;
};

TEST(PercentOf, RoundsHalfAwayFromZeroAfterTheProductWraps) {
  const PercentCase cases[] = {
      {40, 25, 10},         {3, 50, 2},           {-3, 50, -2},   {1, 50, 1},
      {-1, 50, -1},         {1, 49, 0},           {-1, 49, 0},    {0, 7, 0},
      {999999, 100, 999999}, {65536, 65536, 0},   // the product wraps to 0
      {100000, 100000, 14100654},                 // 10^10 wraps to 1410065408
      {INT_MIN, 1, -21474836}, {INT_MIN, -1, -21474836},
  };
  for (const PercentCase& c : cases) EXPECT_EQ(PercentOf(c.a, c.b), c.expected) << c.a << " % " << c.b;
}

TEST(PercentOf, NarrowWidthsTakeTheFirstArgumentInTheirWidth) {
  EXPECT_EQ(PercentOf<std::int8_t>(200, 50), -28);     // 200 is -56 as a signed byte
  EXPECT_EQ(PercentOf<std::int8_t>(100, 50), 50);
  EXPECT_EQ(PercentOf<std::int16_t>(40000, 10), -2554);  // -25536 x 10 / 100
  EXPECT_EQ(PercentOf<std::int16_t>(1000, 300), 3000);
}

TEST(CompareByOperator, ReadsLeftOpRightInItsWidth) {
  const int expected[][7] = {
      // ==, !=, >=, <=, >, <, other, for left 3 against right 3, 4, 2
      {1, 0, 1, 1, 0, 0, 0},
      {0, 1, 0, 1, 0, 1, 0},
      {0, 1, 1, 0, 1, 0, 0},
  };
  const int rights[] = {3, 4, 2};
  for (int r = 0; r < 3; ++r)
    for (int op = 0; op < 7; ++op) EXPECT_EQ(CompareByOperator(3, rights[r], op), expected[r][op] != 0) << r << op;
  const int wide = 40000;  // -25536 in 16 bits, 64 in 8 bits
  EXPECT_TRUE(CompareByOperator<std::int8_t>(wide, 64, CMP_EQ));
  EXPECT_TRUE(CompareByOperator<std::int16_t>(wide, 0, CMP_LT));
  EXPECT_FALSE(CompareByOperator(wide, 0, CMP_LT));
}

class Conditions : public testing::Test {
 protected:
  TestStage stage;
  TestActor hero;
  TestActor actor;
  std::vector<std::int32_t> savedVariables = g_SaveData.m_vVariables;
  void SetUp() override {
    hero.SetUp(CharaBuilder().Hero(), 2, 5, 1);
    actor.SetUp(CharaBuilder(), 5, 5, 2);
    actor.m_nControl = 1;
    stage.m_pHero = &hero;
    stage.m_pCurActor = &actor;
    g_SaveData.m_vVariables.assign(10, 0);
  }
  void TearDown() override { g_SaveData.m_vVariables = savedVariables; }
  bool Holds(const cEdCondition& condition) { return EvalCondition(condition, &actor) != 0; }
};

// Each variable kind reads its own vector and compares with the value.
TEST_F(Conditions, VariableKindsCompareTheirVariableWithTheValue) {
  g_SaveData.m_vVariables[3] = 7;
  stage.m_vStageVar[3] = 8;
  actor.m_vVars[3] = 9;
  const int kinds[] = {COND_COMMON_VAR, COND_STAGE_VAR, COND_CHARA_VAR};
  for (int i = 0; i < 3; ++i) {
    const int value = 7 + i;
    EXPECT_TRUE(Holds(ConditionBuilder(kinds[i]).Var(3).Op(CMP_EQ).Value(value)));
    EXPECT_FALSE(Holds(ConditionBuilder(kinds[i]).Var(3).Op(CMP_GT).Value(value)));
    EXPECT_TRUE(Holds(ConditionBuilder(kinds[i]).Var(3).Op(CMP_LT).Value(value + 1)));
    EXPECT_FALSE(Holds(ConditionBuilder(kinds[i]).Var(3).Op(6).Value(value)));
  }
  EXPECT_FALSE(Holds(ConditionBuilder(COND_NONE)));
  EXPECT_FALSE(Holds(ConditionBuilder(8).Op(CMP_NE)));
}

// A status condition with a random operand draws once each time it is
// evaluated: the number of draws shows which conditions a list evaluated.
TEST_F(Conditions, ListModesStopAtTheirDecidingCondition) {
  const cEdCondition yes = ConditionBuilder(COND_STAGE_VAR).Var(1).Op(CMP_EQ).Value(0);
  const cEdCondition no = ConditionBuilder(COND_STAGE_VAR).Var(1).Op(CMP_NE).Value(0);
  const cEdCondition drawing = ConditionBuilder(COND_STATUS).LeftVariable(1, 1).Op(CMP_GE).RandomOperand(0, 0);
  struct Case {
    std::vector<cEdCondition> list;
    int nMode;
    int expected;
    int nDraws;
  };
  const Case cases[] = {
      {{}, 0, 1, 0},         {{}, 1, 0, 0},           {{yes, drawing}, 0, 1, 1}, {{no, drawing}, 0, 0, 0},
      {{yes, drawing}, 1, 1, 0}, {{no, drawing}, 1, 1, 1}, {{no, no}, 1, 0, 0},  {{yes, drawing}, 2, 0, 0},
  };
  for (const Case& c : cases) {
    SeedRandom(5);
    int draws = 0;
    EXPECT_EQ(EvalConditionList(c.list, c.nMode, &actor), c.expected);
    for (unsigned state = 5; state != RandomState(); state = state * 214013u + 2531011u) ++draws;
    EXPECT_EQ(draws, c.nDraws) << c.list.size() << " conditions, mode " << c.nMode;
  }
}

TEST_F(Conditions, FlowConditionsHeldOnceStayMetWithTheOnceOption) {
  cEdFlow flow = FlowBuilder(TRIGGER_ALWAYS);
  cFlowInstance instance;
  instance.m_pFlow = &flow;
  EXPECT_EQ(CheckFlowCondition(instance, &actor), 1);  // no conditions: not evaluated
  EXPECT_EQ(stage.m_nConditionEvaluations, 0);
  flow.m_vCondition.resize(1);
  stage.m_nConditionAnswer = 0;
  EXPECT_EQ(CheckFlowCondition(instance, &actor), 0);
  stage.m_nConditionAnswer = 1;
  EXPECT_EQ(CheckFlowCondition(instance, &actor), 1);
  EXPECT_EQ(instance.m_bConditionsMet, 1);
  stage.m_nConditionAnswer = 0;
  EXPECT_EQ(CheckFlowCondition(instance, &actor), 0);
  flow.m_bConditionOnce = 1;
  const int evaluations = stage.m_nConditionEvaluations;
  EXPECT_EQ(CheckFlowCondition(instance, &actor), 1);
  EXPECT_EQ(stage.m_nConditionEvaluations, evaluations);
}

// Through the stage's service applying the rules: a flow whose conditions
// held once still passes after they stopped holding, with the once option.
TEST_F(Conditions, FlowConditionsMetOnceOutlastTheirVariables) {
  stage.m_bApplyConditionRules = true;
  cEdFlow flow = FlowBuilder(TRIGGER_ALWAYS);
  flow.m_vCondition = {ConditionBuilder(COND_STAGE_VAR).Var(5).Op(CMP_GE).Value(3),
                       ConditionBuilder(COND_CHARA_VAR).Var(1).Op(CMP_EQ).Value(0)};
  cFlowInstance once;
  once.m_pFlow = &flow;
  flow.m_bConditionOnce = 1;
  std::vector<int> results;
  for (int value : {2, 3, 0}) {
    stage.m_vStageVar[5] = value;
    results.push_back(CheckFlowCondition(once, &actor));
  }
  EXPECT_EQ(results, (std::vector<int>{0, 1, 1}));
  flow.m_bConditionOnce = 0;
  EXPECT_EQ(CheckFlowCondition(once, &actor), 0);
  flow.m_nConditionMode = 1;  // one holding is enough
  EXPECT_EQ(CheckFlowCondition(once, &actor), 1);
  flow.m_nConditionMode = 2;
  EXPECT_EQ(CheckFlowCondition(once, &actor), 0);
}

TEST_F(Conditions, BlocksAppearForTheHeroByTheRules) {
  stage.m_bApplyConditionRules = true;
  cEdBlock block = TestStage::Solid();
  block.m_vCondition = {ConditionBuilder(COND_CHARA_VAR).Var(2).Op(CMP_EQ).Value(1)};
  stage.PutBlock(3, 3, block);
  cMapCell& cell = stage.MapCell(13, 13);
  actor.m_vVars[2] = 1;  // only the hero's variables count
  EXPECT_EQ(stage.CheckBlockCondition(cell), 0);
  hero.m_vVars[2] = 1;
  EXPECT_EQ(stage.CheckBlockCondition(cell), 1);
  EXPECT_EQ(cell.m_bAppeared, 1);
}

TEST_F(Conditions, StatusTwoComparesDefinitionBytesWithTheIndex) {
  actor.m_Chara.m_nFlying = 2;
  actor.m_Chara.m_nScale = 200;  // a signed byte: -56
  actor.m_Chara.m_bTransparent = 1;
  struct Case {
    int nTarget, nStatus, nOp, nIndex;
    bool bHolds;
  };
  const Case cases[] = {
      {0, STATUS2_FLYING, CMP_EQ, 2, true},      {0, STATUS2_FLYING, CMP_GT, 2, false},
      {0, STATUS2_TRANSPARENT, CMP_EQ, 1, true}, {0, STATUS2_SCALE, CMP_LT, 0, true},
      {0, STATUS2_FIXED_FACING, CMP_EQ, 1, true}, {0, STATUS2_VANISH, CMP_EQ, 0, false},
      {0, 7, CMP_EQ, 0, false},                  {1, STATUS2_FLYING, CMP_EQ, 2, false},  // no target
  };
  for (const Case& c : cases) {
    cEdCondition condition = ConditionBuilder(COND_STATUS2).Status(c.nTarget, c.nStatus).Op(c.nOp).Var(c.nIndex);
    condition.m_nValue = 99;  // not the operand
    EXPECT_EQ(Holds(condition), c.bHolds) << c.nTarget << " " << c.nStatus;
  }
  actor.SetTarget(&hero);
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS2).Status(1, STATUS2_FLYING).Op(CMP_EQ).Var(0)));
}

TEST_F(Conditions, StatusTwoOfTheSystemComparesTheAutoScrollSwitches) {
  g_LoadedStage.m_bAutoScrollX = 1;
  g_LoadedStage.m_bAutoScrollY = 0;
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS2).Status(2, 0).Op(CMP_EQ).Var(1).Value(0)));
  EXPECT_FALSE(Holds(ConditionBuilder(COND_STATUS2).Status(2, 1).Op(CMP_EQ).Var(1).Value(0)));
  EXPECT_FALSE(Holds(ConditionBuilder(COND_STATUS2).Status(2, 2).Op(CMP_EQ).Var(0)));
}

TEST_F(Conditions, StatusThreeTestsFactsInvertedOnlyByNotEqual) {
  actor.m_nFacing = 1;
  auto holds = [this](int nStatus, int nOp) {
    return Holds(ConditionBuilder(COND_STATUS3).Status(0, nStatus).Op(nOp));
  };
  EXPECT_FALSE(holds(STATUS3_FACING_LEFT, CMP_EQ));
  EXPECT_TRUE(holds(STATUS3_FACING_LEFT, CMP_NE));
  EXPECT_TRUE(holds(STATUS3_FACING_RIGHT, CMP_GT));  // other operators take the fact as it is
  EXPECT_FALSE(holds(9, CMP_EQ));
  EXPECT_TRUE(holds(9, CMP_NE));

  actor.m_bFalling = 0;
  actor.m_bJumping = 0;
  EXPECT_TRUE(holds(STATUS3_ON_BLOCK, CMP_EQ));
  actor.m_bJumping = 1;
  EXPECT_FALSE(holds(STATUS3_ON_BLOCK, CMP_EQ));
  actor.m_bOnCharacter = 1;
  EXPECT_TRUE(holds(STATUS3_ON_BLOCK, CMP_EQ));
  actor.m_Chara.m_nFlying = 1;
  EXPECT_FALSE(holds(STATUS3_ON_BLOCK, CMP_EQ));

  actor.m_bOnScreen = 0;  // a computer-controlled actor reads its flag
  EXPECT_FALSE(holds(STATUS3_ON_SCREEN, CMP_EQ));
  actor.m_bOnScreen = 1;
  EXPECT_TRUE(holds(STATUS3_ON_SCREEN, CMP_EQ));

  EXPECT_FALSE(Holds(ConditionBuilder(COND_STATUS3).Status(1, STATUS3_FACING_LEFT).Op(CMP_NE)));  // no target
  hero.m_nFacing = 0;
  actor.SetTarget(&hero);
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS3).Status(1, STATUS3_FACING_LEFT).Op(CMP_EQ)));
}

// The hero's box is three cells (96 pixels) left of the actor's, both
// 32 x 32, or three cells below it; d is the value in half-blocks of 16.
struct DistanceCase {
  int nMode;
  int nFacing;
  bool bHeroBelow;
  int nValue;
  bool bNear;
};

class DistanceConditions : public Conditions, public testing::WithParamInterface<DistanceCase> {};

TEST_P(DistanceConditions, TestTheHeroAgainstTheActorsExtendedSpan) {
  const DistanceCase& c = GetParam();
  if (c.bHeroBelow) hero.PlaceAtTile(5, 8);
  hero.UpdateScreenRect();
  actor.m_nFacing = c.nFacing;
  const cEdCondition near = ConditionBuilder(COND_DISTANCE).DistanceMode(c.nMode).Value(c.nValue).Op(CMP_EQ);
  EXPECT_EQ(Holds(near), c.bNear);
  cEdCondition far = near;
  far.m_nOperator = CMP_NE;
  EXPECT_EQ(Holds(far), !c.bNear);
  far.m_nOperator = CMP_GE;
  EXPECT_FALSE(Holds(far));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DistanceConditions,
    testing::Values(DistanceCase{0, 1, false, 4, false}, DistanceCase{0, 1, false, 5, true},
                    DistanceCase{1, 1, false, 9, false},  // in front: the hero is behind
                    DistanceCase{1, 0, false, 5, true}, DistanceCase{1, 0, false, 4, false},
                    DistanceCase{2, 1, false, 5, true}, DistanceCase{2, 0, false, 9, false},
                    DistanceCase{3, 1, false, 0, true},  // same row: the box itself
                    DistanceCase{3, 1, true, 3, false}, DistanceCase{3, 1, true, 4, true},
                    DistanceCase{4, 1, true, 4, true},   // facing right looks below
                    DistanceCase{4, 0, true, 9, false}, DistanceCase{5, 0, true, 4, true},
                    DistanceCase{6, 1, false, 5, false}, DistanceCase{6, 1, false, 6, true}));

TEST_F(Conditions, DistanceWithoutAModeOrAHeroNeverHolds) {
  for (int nOp : {CMP_EQ, CMP_NE}) {
    EXPECT_FALSE(Holds(ConditionBuilder(COND_DISTANCE).DistanceMode(7).Value(99).Op(nOp)));
    stage.m_pHero = nullptr;
    EXPECT_FALSE(Holds(ConditionBuilder(COND_DISTANCE).DistanceMode(0).Value(99).Op(nOp)));
    stage.m_pHero = &hero;
  }
}

}  // namespace
