// Status conditions and status operations: the operation per storage width
// and operator, the operand kinds, the comparisons in percent and in the
// status's width, and what each actor and system item does afterwards.
#include "game/flows/status_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "base/random.h"
#include "game/commands/command_workers.h"
#include "game/objects/actor.h"
#include "model/user/save_data.h"
#include "support/condition_builders.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

struct OpCase {
  int value, a, op, lo, hi, expected;
};

template <typename T>
void ExpectOps(const std::vector<OpCase>& cases) {
  for (const OpCase& c : cases) {
    T value = static_cast<T>(c.value);
    ApplyStatusOp<T>(value, c.a, c.op, c.lo, c.hi);
    EXPECT_EQ(value, c.expected) << c.value << " op " << c.op << " " << c.a;
  }
}

constexpr int M = 999999;

TEST(ApplyStatusOp, ThirtyTwoBits) {
  ExpectOps<std::int32_t>({
      {3, 5, STATUSOP_SET, -M, M, 5},
      {3, 2000000, STATUSOP_SET, -M, M, M},
      {10, 5, STATUSOP_ADD, -M, M, 15},
      {M, INT_MAX, STATUSOP_ADD, -M, M, -M},  // wraps below 0
      {10, 15, STATUSOP_SUB, -M, M, -5},
      {-3, 4, STATUSOP_MUL, -M, M, -12},
      {500000, 3, STATUSOP_MUL, -M, M, M},
      {M, M, STATUSOP_MUL, -M, M, M},
      {-M, -M, STATUSOP_MUL, -M, M, M},
      {65536, 65536, STATUSOP_MUL, -M, M, M},   // the product wraps to 0
      {-65536, 65536, STATUSOP_MUL, -M, M, -M},  // likewise
      {M, -M, STATUSOP_MUL, -M, M, -M},
      {7, 2, STATUSOP_DIV, -M, M, 3},
      {-7, 2, STATUSOP_DIV, -M, M, -3},
      {7, 0, STATUSOP_DIV, -M, M, 7},
      {INT_MIN, -1, STATUSOP_DIV, INT_MIN, INT_MAX, INT_MIN},
      {7, 3, STATUSOP_MOD, -M, M, 1},
      {-7, 3, STATUSOP_MOD, -M, M, -1},
      {7, 0, STATUSOP_MOD, -M, M, 7},
      {INT_MIN, -1, STATUSOP_MOD, INT_MIN, INT_MAX, 0},
      {40, 25, STATUSOP_PERCENT, -M, M, 10},
      {2000000, 1, 7, -M, M, M},  // other operations only clamp
  });
}

TEST(ApplyStatusOp, SixteenBits) {
  ExpectOps<std::int16_t>({
      {30000, 10000, STATUSOP_ADD, -32768, 32767, -25536},
      {150, 100, STATUSOP_ADD, 0, 200, 200},
      {150, 65537, STATUSOP_ADD, 0, 200, 151},  // the operand in 16 bits
      {200, 200, STATUSOP_MUL, 0, 200, 200},
      {-200, 200, STATUSOP_MUL, -1000, 1000, -1000},
      {100, 0, STATUSOP_DIV, 0, 200, 100},
      {-32768, -1, STATUSOP_DIV, -32768, 32767, -32768},
      {100, 50, STATUSOP_PERCENT, 0, 200, 50},
  });
}

TEST(ApplyStatusOp, EightBits) {
  ExpectOps<std::int8_t>({
      {300 - 256, 0, STATUSOP_ADD, 0, 99, 44},
      {99, 100, STATUSOP_ADD, 0, 99, 0},  // 199 wraps to -57
      {5, 300, STATUSOP_SET, 0, 99, 44},
      {99, 3, STATUSOP_MUL, 0, 99, 99},    // 297 is beyond the width
      {-20, 10, STATUSOP_MUL, -20, 20, -20},
      {-20, -10, STATUSOP_MUL, -20, 20, 20},
      {4, 5, STATUSOP_MUL, -20, 20, 20},
      {15, 4, STATUSOP_MOD, 0, 20, 3},
      {15, 256, STATUSOP_MOD, 0, 20, 15},  // the operand is 0 in 8 bits
      {20, 250, STATUSOP_PERCENT, -20, 20, -1},  // 250 is -6: -6 x 20 / 100
      {-128, -1, STATUSOP_DIV, -128, 127, -128},
  });
}

class StatusRules : public testing::Test {
 protected:
  TestStage stage;
  TestActor hero;
  TestActor actor;
  std::vector<std::int32_t> savedVariables = g_SaveData.m_vVariables;
  std::int32_t savedLives = g_SaveData.m_nLives;
  void SetUp() override {
    hero.SetUp(CharaBuilder().Hero().Hp(40), 2, 5, 1);
    actor.SetUp(CharaBuilder().Hp(40).Sp(20).Defense(5), 5, 5, 2);
    actor.m_nControl = 1;
    stage.m_pHero = &hero;
    stage.m_pCurActor = &actor;
    g_SaveData.m_vVariables.assign(10, 0);
    g_SaveData.m_nLives = 3;
  }
  void TearDown() override {
    g_SaveData.m_vVariables = savedVariables;
    g_SaveData.m_nLives = savedLives;
  }
  bool Holds(const cEdCondition& condition) { return CheckStatusCondition(condition, &actor); }
  // A status operation on an item of a target (0 self, 1 target, 2 system).
  static CommandBuilder Operation(int nTarget, int nItem, int nOp, int nValue) {
    CommandBuilder command(CMD_STATUS_OPERATION);
    command.Param(3, nTarget).Param(4, nItem).Param(5, nOp).Param(7, nValue);
    return command;
  }
  static CommandBuilder VariableOperation(int nKind, int nIndex, int nOp, int nValue) {
    CommandBuilder command(CMD_STATUS_OPERATION);
    command.Param(0, 1).Param(1, nKind).Param(2, nIndex).Param(5, nOp).Param(7, nValue);
    return command;
  }
  void Apply(const cEdCommand& command) { ApplyStatusOperation(&actor, command); }
};

TEST_F(StatusRules, HpInPercentComparesWithThatShareOfTheMaximum) {
  const cEdCondition condition = ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_LE).Value(25).Percent();
  actor.m_nHp = 10;
  EXPECT_TRUE(Holds(condition));
  actor.m_nHp = 11;
  EXPECT_FALSE(Holds(condition));
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_EQ).Value(11)));
}

TEST_F(StatusRules, OtherItemsInPercentCompareWithZero) {
  for (int nDefense : {0, 5, 999999})  {
    actor.m_Chara.m_nDefense = nDefense;
    EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_DEFENSE).Op(CMP_GE).Value(25).Percent()));
  }
  g_SaveData.m_vVariables[2] = -1;
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).LeftVariable(0, 2).Op(CMP_LT).Value(-5).Percent()));
  stage.m_nTimeLeft = 0;
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(2, SYSTEM_STATUS_TIME).Op(CMP_EQ).Value(50).Percent()));
}

TEST_F(StatusRules, NarrowItemsCompareInTheirWidth) {
  actor.m_Chara.m_nCharaId = 44;
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_CHARA_ID).Op(CMP_EQ).Value(300)));
  actor.m_Chara.m_nStop = 100;
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_STOP).Op(CMP_EQ).Value(65636)));
  actor.m_Chara.m_nPower = 100;
  EXPECT_FALSE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_POWER).Op(CMP_EQ).Value(65636)));
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(0, 15).Op(CMP_EQ).Value(1)));  // beyond the items
}

TEST_F(StatusRules, SystemItemsAndVariablesOnTheLeft) {
  stage.m_vStageVar[4] = 12;
  g_SaveData.m_vVariables[4] = 13;
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).LeftVariable(1, 4).Op(CMP_EQ).Value(12)));
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).LeftVariable(0, 4).Op(CMP_EQ).Value(13)));
  EXPECT_FALSE(Holds(ConditionBuilder(COND_STATUS).LeftVariable(2, 4).Op(CMP_NE).Value(13)));
  g_LoadedStage.m_nAutoScrollSpeedY = -30;
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(2, SYSTEM_STATUS_SCROLL_Y).Op(CMP_EQ).Value(-30)));
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(2, SYSTEM_STATUS_LIVES).Op(CMP_EQ).Value(3)));
  g_SaveData.m_nLives = kUnlimitedLives;
  EXPECT_FALSE(Holds(ConditionBuilder(COND_STATUS).Status(2, SYSTEM_STATUS_LIVES).Op(CMP_GE).Value(0)));
  EXPECT_FALSE(Holds(ConditionBuilder(COND_STATUS).Status(2, 5).Op(CMP_NE).Value(0)));
}

TEST_F(StatusRules, OperandsReadStatusesAndVariables) {
  actor.m_nHp = 30;
  hero.m_nHp = 30;
  stage.m_vStageVar[6] = 30;
  EXPECT_FALSE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_EQ).StatusOperand(1, CHARA_STATUS_HP)));  // no target
  actor.SetTarget(&hero);
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_EQ).StatusOperand(1, CHARA_STATUS_HP)));
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_EQ).VariableOperand(1, 6)));
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_GT).VariableOperand(2, 6)));  // reads 0

  stage.m_nTimeLeft = 30;
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_EQ).StatusOperand(2, SYSTEM_STATUS_TIME)));
  stage.m_bTimeStop = 1;  // a stopped clock reads 0
  EXPECT_FALSE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_EQ).StatusOperand(2, SYSTEM_STATUS_TIME)));

  // The sight of a computer-controlled actor cannot be read; the hero's can.
  EXPECT_FALSE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_NE).StatusOperand(0, CHARA_STATUS_SIGHT)));
  hero.m_Chara.m_nSight = 3;
  EXPECT_TRUE(Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_GT).StatusOperand(1, CHARA_STATUS_SIGHT)));
}

TEST_F(StatusRules, ReadingTheStopValueRefreshesTheInertiaDecay) {
  actor.m_Chara.m_nStop = 50;
  actor.m_dInertiaDecay = 0;
  Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_EQ).StatusOperand(0, CHARA_STATUS_STOP));
  EXPECT_DOUBLE_EQ(actor.m_dInertiaDecay, 50 * 0.01 / g_LoadedStage.m_dSubStepsSq);
}

// A random range whose width is 0 gives its low bound and still takes one
// draw, as every other range does.
TEST_F(StatusRules, RandomOperandsDrawOnceEvenFromAnEmptyRange) {
  actor.m_nHp = 5;
  struct Case {
    int nMin, nMax;
  };
  for (Case c : {Case{5, 5}, Case{5, 4}, Case{0, 10}}) {
    SeedRandom(1);
    const unsigned once = RandomState() * 214013u + 2531011u;
    const bool bHolds = Holds(ConditionBuilder(COND_STATUS).Status(0, CHARA_STATUS_HP).Op(CMP_EQ).RandomOperand(c.nMin, c.nMax));
    EXPECT_EQ(RandomState(), once) << c.nMin << ".." << c.nMax;
    if (c.nMax <= c.nMin) {
      EXPECT_TRUE(bHolds);
    }
  }
  // Seed 1 draws 41 first: 41 mod 11 is 8.
  SeedRandom(1);
  stage.m_vStageVar[1] = 0;
  Apply(VariableOperation(1, 1, STATUSOP_SET, 0).Param(6, 1).Param(8, 10).Param(9, 0));
  EXPECT_EQ(stage.m_vStageVar[1], 8);
}

TEST_F(StatusRules, HpChangesByThePercentBaseThroughAForcedAddHp) {
  actor.m_nHp = 10;
  actor.m_Chara.m_nInvincible = 1;  // forced: the setting does not stop it
  Apply(Operation(0, CHARA_STATUS_HP, STATUSOP_ADD, 25).Param(15, 1));
  EXPECT_EQ(actor.m_nHp, 20);  // 25 % of 40
  Apply(Operation(0, CHARA_STATUS_HP, STATUSOP_SUB, 50).Param(15, 2));
  EXPECT_EQ(actor.m_nHp, 10);  // 50 % of 20
  Apply(Operation(0, CHARA_STATUS_HP, STATUSOP_MUL, 2).Param(16, 1));
  EXPECT_EQ(actor.m_nHp, 20);
  EXPECT_GT(actor.m_HpGauge.nTime, 0);
  Apply(Operation(0, CHARA_STATUS_HP, STATUSOP_SET, 1).Param(15, 3));  // an unknown base changes nothing
  EXPECT_EQ(actor.m_nHp, 20);
  Apply(Operation(0, CHARA_STATUS_HP, STATUSOP_SET, 99).Param(14, 1));  // not a percent of the current HP
  EXPECT_EQ(actor.m_nHp, 40);
  Apply(Operation(0, CHARA_STATUS_SP, STATUSOP_SUB, 25).Param(15, 1));
  EXPECT_EQ(actor.m_nSp, 15);
}

TEST_F(StatusRules, MaxHpBelowTheHpLowersIt) {
  actor.m_nHp = 40;
  Apply(Operation(0, CHARA_STATUS_MAX_HP, STATUSOP_SET, 25));
  EXPECT_EQ(actor.m_Chara.m_nMaxHP, 25);
  EXPECT_EQ(actor.m_nHp, 25);
  Apply(Operation(0, CHARA_STATUS_MAX_HP, STATUSOP_PERCENT, 200));
  EXPECT_EQ(actor.m_Chara.m_nMaxHP, 50);
  EXPECT_EQ(actor.m_nHp, 25);
}

TEST_F(StatusRules, AnotherActorsHpAtZeroAsksForTheDeathPass) {
  actor.SetTarget(&hero);
  Apply(Operation(0, CHARA_STATUS_HP, STATUSOP_SET, 0));
  EXPECT_EQ(stage.m_bCheckDeaths, 0);  // the running actor's own
  Apply(Operation(1, CHARA_STATUS_MAX_HP, STATUSOP_SET, 0));
  EXPECT_EQ(hero.m_nHp, 0);
  EXPECT_EQ(stage.m_bCheckDeaths, 1);
}

TEST_F(StatusRules, VariablesSaturateAndTakePercentsOfTheirValue) {
  stage.m_vStageVar[2] = 900000;
  Apply(VariableOperation(1, 2, STATUSOP_MUL, 900000));
  EXPECT_EQ(stage.m_vStageVar[2], 999999);
  g_SaveData.m_vVariables[2] = 40;
  Apply(VariableOperation(0, 2, STATUSOP_ADD, 50).Param(14, 1));
  EXPECT_EQ(g_SaveData.m_vVariables[2], 60);
  Apply(VariableOperation(0, 2, STATUSOP_DIV, 0));
  EXPECT_EQ(g_SaveData.m_vVariables[2], 60);
  Apply(VariableOperation(2, 2, STATUSOP_SET, 1));
  Apply(VariableOperation(0, 2, STATUSOP_SET, 1).Param(0, 2));
  EXPECT_EQ(g_SaveData.m_vVariables[2], 60);
  actor.m_vVars[3] = 7;
  Apply(Operation(0, CHARA_STATUS_VARIABLE, STATUSOP_SUB, 10).Param(2, 3));
  EXPECT_EQ(actor.m_vVars[3], -3);
}

TEST_F(StatusRules, SystemItems) {
  stage.m_nTimeLeft = 990;
  Apply(Operation(2, SYSTEM_STATUS_TIME, STATUSOP_ADD, 20));
  EXPECT_EQ(stage.m_nTimeLeft, 999);
  g_LoadedStage.m_bAutoScrollX = 1;
  Apply(Operation(2, SYSTEM_STATUS_SCROLL_X, STATUSOP_SET, 600));
  EXPECT_EQ(g_LoadedStage.m_nAutoScrollSpeedX, 480);
  EXPECT_DOUBLE_EQ(stage.m_ScrollX.m_dSpeed, 480 * 0.1 / g_LoadedStage.m_dSubSteps);
  Apply(Operation(2, SYSTEM_STATUS_LIVES, STATUSOP_ADD, 200));
  EXPECT_EQ(g_SaveData.m_nLives, 99);
  g_SaveData.m_nLives = kUnlimitedLives;
  Apply(Operation(2, SYSTEM_STATUS_LIVES, STATUSOP_ADD, 1));
  EXPECT_EQ(g_SaveData.m_nLives, kUnlimitedLives);
  Apply(Operation(2, SYSTEM_STATUS_SCORE, STATUSOP_SUB, 5));
  EXPECT_EQ(g_SaveData.m_nScore, 0);
}

TEST_F(StatusRules, ActorItemsKeepTheirWidthAndRange) {
  struct Case {
    int nItem, nOp, nValue;
    int (*read)(const cActor&);
    int expected;
  };
  const Case cases[] = {
      {CHARA_STATUS_CHARA_ID, STATUSOP_SET, 300, [](const cActor& a) { return int{a.m_Chara.m_nCharaId}; }, 44},
      {CHARA_STATUS_LAYER, STATUSOP_ADD, 9, [](const cActor& a) { return int{a.m_Chara.m_nLayer}; }, 7},
      {CHARA_STATUS_MARK, STATUSOP_SET, 200, [](const cActor& a) { return int{a.m_Chara.m_nOverlayCell}; }, 119},
      {CHARA_STATUS_POWER, STATUSOP_SUB, 5, [](const cActor& a) { return a.m_Chara.m_nPower; }, -5},
      {CHARA_STATUS_IMPACT, STATUSOP_SET, -30, [](const cActor& a) { return int{a.m_Chara.m_nImpact}; }, -20},
      {CHARA_STATUS_DEFENSE, STATUSOP_PERCENT, 50, [](const cActor& a) { return a.m_Chara.m_nDefense; }, 3},
      {CHARA_STATUS_IMPACT_RESIST, STATUSOP_ADD, 25, [](const cActor& a) { return int{a.m_Chara.m_nImpactResist}; }, 20},
      {CHARA_STATUS_SCORE, STATUSOP_SET, -2000000, [](const cActor& a) { return a.m_Chara.m_nScore; }, -999999},
  };
  for (const Case& c : cases) {
    Apply(Operation(0, c.nItem, c.nOp, c.nValue));
    EXPECT_EQ(c.read(actor), c.expected) << "item " << c.nItem;
  }
  Apply(Operation(0, CHARA_STATUS_STOP, STATUSOP_SET, 40));
  EXPECT_EQ(actor.m_Chara.m_nStop, 40);
  EXPECT_DOUBLE_EQ(actor.m_dInertiaDecay, cActor::StopToInertiaDecay(40));
}

TEST_F(StatusRules, SightChangesOnlyForThePlayer) {
  Apply(Operation(0, CHARA_STATUS_SIGHT, STATUSOP_SET, 5));
  EXPECT_EQ(actor.m_Chara.m_nSight, 0);
  EXPECT_TRUE(stage.m_vCalls.empty());
  ApplyStatusOperation(&hero, Operation(0, CHARA_STATUS_SIGHT, STATUSOP_SET, 50));
  EXPECT_EQ(hero.m_Chara.m_nSight, 40);
  EXPECT_EQ(hero.m_nSight, 40 * 16);
  EXPECT_EQ(stage.m_vCalls, std::vector<std::string>{"RebuildSightMask"});
}

TEST_F(StatusRules, MissingTargetsAndInvincibleSubjectsAreLeftAlone) {
  hero.m_nHp = 40;
  Apply(Operation(1, CHARA_STATUS_HP, STATUSOP_SET, 1));
  Apply(Operation(0, CHARA_STATUS_HP, STATUSOP_SET, 1).Param(6, 2).Param(12, 1).Param(13, CHARA_STATUS_HP));
  EXPECT_EQ(actor.m_nHp, 40);
  actor.m_Chara.m_nInvincible = 1;
  Apply(Operation(0, CHARA_STATUS_DEFENSE, STATUSOP_SET, 1).Param(17, 1));
  EXPECT_EQ(actor.m_Chara.m_nDefense, 5);
  Apply(Operation(0, CHARA_STATUS_DEFENSE, STATUSOP_SET, 1));
  EXPECT_EQ(actor.m_Chara.m_nDefense, 1);
}

}  // namespace
