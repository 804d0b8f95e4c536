#include "game/expressions/expression.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/close_request.h"
#include "base/random.h"
#include "model/user/save_data.h"
#include "support/definition_builders.h"
#include "support/scoped_message_boxes.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

// A running stage with a hero, the running actor (aiming at another
// character) and known variables; the progress is put back afterwards.
struct ExprWorld {
  TestStage stage;
  TestActor hero;
  TestActor actor;
  TestActor other;
  ScopedMessageBoxes boxes;
  cSaveData saved = g_SaveData;

  ExprWorld() {
    stage.m_pHero = &hero;
    hero.SetUp(CharaBuilder().Hero().Hp(30), 2, 5, 1);
    actor.SetUp(CharaBuilder().Hp(100).Sp(50), 5, 5, 2);
    other.SetUp(CharaBuilder().Hp(40), 8, 5, 3);
    actor.SetTarget(&other);
    g_SaveData.m_vVariables.assign(COMMON_VARIABLE_COUNT, 0);
    C(1) = 10;
    C(2) = 9;
    S(0) = 33;
    g_SaveData.m_nLives = 3;
    g_SaveData.m_nScore = 500;
    stage.m_nTimeLeft = 120;
    SeedRandom(1);
    ResetCloseRequests();
  }
  ~ExprWorld() { g_SaveData = saved; }

  static std::int32_t& C(int i) { return g_SaveData.m_vVariables[static_cast<std::size_t>(i)]; }
  std::int32_t& S(int i) { return stage.m_vStageVar[static_cast<std::size_t>(i)]; }

  // EvalExpression as RunCodeText starts it, without the gauges.
  int Eval(const std::string& text) {
    g_bExprError = 0;
    return EvalExpression(text, &actor);
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes.Shown()) texts.push_back(box.text);
    return texts;
  }
};

using Check = std::function<int(ExprWorld&)>;

struct Case {
  const char* text;
  int result;
  int error;
  std::vector<std::string> boxes;
  std::vector<std::pair<Check, int>> after;  // values afterwards
  std::function<void(ExprWorld&)> prepare = nullptr;
};

const Check kC1 = [](ExprWorld&) { return ExprWorld::C(1); };
const Check kC2 = [](ExprWorld&) { return ExprWorld::C(2); };
const Check kHp = [](ExprWorld& w) { return w.actor.m_nHp; };
const Check kOtherHp = [](ExprWorld& w) { return w.other.m_nHp; };

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ExprWorld world;
    if (c.prepare) c.prepare(world);
    EXPECT_EQ(world.Eval(c.text), c.result);
    EXPECT_EQ(g_bExprError, c.error);
    EXPECT_EQ(world.BoxTexts(), c.boxes);
    for (const auto& [check, value] : c.after) EXPECT_EQ(check(world), value);
  }
}

TEST(Expression, ExamplesOfTheLanguage) {
  RunCases({
      {"1 + 2 * 3", 7, 0, {}, {}},
      {"8 / 2 / 2", 2, 0, {}, {}},
      {"7 % 3", 1, 0, {}, {}},
      {"-7 / 2", -3, 0, {}, {}},
      {"-7 % 2", -1, 0, {}, {}},
      {"C1 = C1 + 1", 11, 0, {}, {{kC1, 11}}},
      {"C1 = 1 C2 = 2", 2, 0, {}, {{kC1, 1}, {kC2, 2}}},
      {"C1 = 1000000", 999999, 0, {}, {{kC1, 999999}}},
      {"C1 = -1000000", -999999, 0, {}, {{kC1, -999999}}},
      {"my.cid = 150", 99, 0, {}, {{[](ExprWorld& w) { return int{w.actor.m_Chara.m_nCharaId}; }, 99}}},
      {"C1 = (2 + 3) * 4", 20, 0, {}, {{kC1, 20}}},
      {"C1 = rand(5, 1)", 2, 0, {}, {{kC1, 2}}},  // seed 1 draws 41: 41 % 5 + 1
      {"rand(1)", 0, 1, {"関数 rand の引数が不正です！"}, {}},
      {"rand(1, 2, 3)", 0, 1, {"関数 rand の引数が不正です！"}, {}},
      {"tg.hp = 0", 0, 1, {}, {{kOtherHp, 40}}, [](ExprWorld& w) { w.actor.SetTarget(nullptr); }},
      {"C1=5", 10, 0, {}, {{kC1, 10}}},
      {"mhp = 50", 50, 0, {}, {{kHp, 1}}, [](ExprWorld& w) { w.actor.m_nHp = 0; }},
      {"mhp = 50", 50, 0, {}, {{kHp, 50}}},
      {"life = 5", 999999, 0, {}, {{[](ExprWorld&) { return g_SaveData.m_nLives; }, UNLIMITED_LIVES}},
       [](ExprWorld&) { g_SaveData.m_nLives = UNLIMITED_LIVES; }},
      {"life", 0, 0, {}, {}, [](ExprWorld&) { g_SaveData.m_nLives = UNLIMITED_LIVES; }},
      {"5 / (3 - 3)", 0, 1, {"0除算が行われました！(5 / 0)"}, {}},
      {"5 % 0", 0, 1, {"0除算が行われました！(5 % 0)"}, {}},
  });
}

TEST(Expression, Traps) {
  RunCases({
      // Variables are read before any operator runs.
      {"C1 = 5 C2 = C1", 10, 0, {}, {{kC1, 5}, {kC2, 10}}},
      {"mhp = 200 hp = 150", 100, 0, {}, {{kHp, 100}}},
      // "=" groups from the left; an assignment to a result writes nothing.
      {"C1 = C2 = 3", 9, 0, {}, {{kC1, 9}, {kC2, 9}}},
      {"5 = 3", 5, 0, {}, {}},
      // Operators need blanks; a group must start a word.
      {"2*3", 2, 0, {}, {}},
      {"2*(3)", 2, 0, {}, {}},
      {"-(3)", 0, 0, {}, {}},
      {"(1)(2)", 1, 0, {}, {}},
      {"x(3", 0, 1, {"\")\"が見つかりません！"}, {}},
      {"(1 + 2", 0, 1, {"\")\"が見つかりません！"}, {}},
      // rand must touch its "(": otherwise the group reads "1," and 6.
      {"rand (1, 6)", 6, 0, {}, {{[](ExprWorld&) { return static_cast<int>(RandomState()); }, 1}}},
      {"C1 = rand(,1,5)", 2, 0, {}, {{kC1, 2}}},
      {"rand((1 + 1), 2)", 2, 0, {}, {}},
      // An error inside a group leaves 0 there and the text goes on.
      {"C1 = (5 / 0) C2 = 4", 4, 1, {"0除算が行われました！(5 / 0)"}, {{kC1, 0}, {kC2, 4}}},
      {"(1 / 0) + (2 / 0)", 0, 1, {"0除算が行われました！(1 / 0)", "0除算が行われました！(2 / 0)"}, {}},
      // Object prefixes.
      {"tg.C1 = 3", 0, 1, {}, {{kC1, 10}}, [](ExprWorld& w) { w.actor.SetTarget(nullptr); }},
      {"tg.hp = 0", 0, 0, {}, {{kOtherHp, 0}, {[](ExprWorld& w) { return w.stage.m_bCheckDeaths; }, 1}}},
      {"hp = 0", 0, 0, {}, {{kHp, 0}, {[](ExprWorld& w) { return w.stage.m_bCheckDeaths; }, 0}}},
      {"1.5", 0, 1, {"オブジェクト \"1.\" が認識できません！"}, {}},
      {"my.hp = 1.5", 5, 0, {}, {{kHp, 5}}},
      {"my.tg.hp = 7", 7, 0, {}, {{kOtherHp, 7}}},
      {"pl.hp = 7", 7, 0, {}, {{[](ExprWorld& w) { return w.hero.m_nHp; }, 7}}},
      {"sys.hp = 7", 0, 1, {}, {{kHp, 100}}},
      {"sys.time", 120, 0, {}, {}},
      // Any word starting with C or S is a variable.
      {"Score", 33, 0, {}, {}},
      {"C", 0, 0, {}, {}},
      // An operator without an operand, one used as an operand.
      {"+ 1", 0, 1, {}, {}},
      {"C1 = 1 +", 0, 1, {}, {{kC1, 10}}},
      {"1 + * 2", 0, 0, {}, {}},
      {"1 + 2 5", 3, 0, {}, {}},
      {"", 0, 0, {}, {}},
      // Every blank separates words, also in texts of several lines.
      {"C1 = 1\r\nC2 =\t2", 2, 0, {}, {{kC1, 1}, {kC2, 2}}},
  });
}

TEST(Expression, BadVariableIndexIsReportedAndStops) {
  for (const char* text : {"C-1 = 5", "C256 = 5", "S100", "C1 = 7 C99999999999 = 5"}) {
    SCOPED_TRACE(text);
    ExprWorld world;
    EXPECT_EQ(world.Eval(text), 0);
    EXPECT_EQ(g_bExprError, 1);
    EXPECT_EQ(CloseRequestCount(), 1);
    EXPECT_TRUE(world.boxes.Shown().empty());
    EXPECT_EQ(ExprWorld::C(0), 0);
    EXPECT_EQ(ExprWorld::C(1), 10);  // nothing runs once a word fails
  }
}

TEST(Expression, ArithmeticWrapsAndNumbersSaturate) {
  RunCases({
      {"2147483647 + 1", INT_MIN, 0, {}, {}},
      {"-2147483648 - 1", INT_MAX, 0, {}, {}},
      {"65536 * 65536", 0, 0, {}, {}},
      {"-2147483648 / -1", INT_MIN, 0, {}, {}},
      {"-2147483648 % -1", 0, 0, {}, {}},
      {"99999999999999999999", INT_MAX, 0, {}, {}},
      {"-99999999999999999999 + 0", INT_MIN, 0, {}, {}},
      {"C1 = 2147483647 * 2", -2, 0, {}, {{kC1, -2}}},
  });
}

TEST(Expression, VariablesStoreWithTheirWidthsAndRanges) {
  const auto chara = [](auto member) {
    return [member](ExprWorld& w) { return static_cast<int>(w.actor.m_Chara.*member); };
  };
  RunCases({
      {"v3 = 12", 12, 0, {}, {{[](ExprWorld& w) { return w.actor.m_vVars[3]; }, 12}}},
      {"v8 = -5000000", -999999, 0, {}, {{[](ExprWorld& w) { return w.actor.m_vVars[8]; }, -999999}}},
      {"hp = 500", 100, 0, {}, {{kHp, 100}}},
      {"hp = -5", 0, 0, {}, {{kHp, 0}}},
      {"sp = 500", 50, 0, {}, {}},
      {"msp = 20", 20, 0, {}, {{[](ExprWorld& w) { return w.actor.m_nSp; }, 1}},
       [](ExprWorld& w) { w.actor.m_nSp = 0; }},
      {"msp = 20", 20, 0, {}, {{[](ExprWorld& w) { return w.actor.m_nSp; }, 20}}},
      {"mhp = 0", 1, 0, {}, {{chara(&cEdChara::m_nMaxHP), 1}}},
      {"z = -3", 0, 0, {}, {{chara(&cEdChara::m_nLayer), 0}}},
      {"mark = 500", 119, 0, {}, {{chara(&cEdChara::m_nOverlayCell), 119}}},
      {"imp = -50", -20, 0, {}, {{chara(&cEdChara::m_nImpact), -20}}},
      {"imp", -7, 0, {}, {}, [](ExprWorld& w) { w.actor.m_Chara.m_nImpact = -7; }},
      {"impd = 300", 20, 0, {}, {{chara(&cEdChara::m_nImpactResist), 20}}},
      {"stop = 1000", 200, 0, {}, {{chara(&cEdChara::m_nStop), 200}}},
      {"power = -3", -3, 0, {}, {{chara(&cEdChara::m_nPower), -3}}},
      {"def = -3", 0, 0, {}, {{chara(&cEdChara::m_nDefense), 0}}},
      {"getsc = 1234567", 999999, 0, {}, {{chara(&cEdChara::m_nScore), 999999}}},
      {"time = 5000", 999, 0, {}, {{[](ExprWorld& w) { return w.stage.m_nTimeLeft; }, 999}}},
      {"score = -5", 0, 0, {}, {{[](ExprWorld&) { return g_SaveData.m_nScore; }, 0}}},
      {"score = score + 25", 525, 0, {}, {}},
      {"life = 150", 99, 0, {}, {{[](ExprWorld&) { return g_SaveData.m_nLives; }, 99}}},
      {"S0 = S0 * 2", 66, 0, {}, {{[](ExprWorld& w) { return w.S(0); }, 66}}},
  });
}

TEST(Expression, SightOfTheHeroRebuildsTheMask) {
  ExprWorld world;
  world.Eval("pl.sight = 3");
  EXPECT_EQ(world.hero.m_Chara.m_nSight, 3);
  EXPECT_EQ(world.hero.m_nSight, 48);
  EXPECT_EQ(world.stage.m_vCalls, std::vector<std::string>{"RebuildSightMask"});

  const int sightBefore = world.actor.m_nSight;
  EXPECT_EQ(world.Eval("sight = 99"), 40);
  EXPECT_EQ(world.actor.m_Chara.m_nSight, 40);
  EXPECT_EQ(world.actor.m_nSight, sightBefore);  // not the hero's: no sight change
  EXPECT_EQ(world.stage.m_vCalls.size(), 1u);
}

TEST(Expression, ScrollSpeedsSetTheAutoScroll) {
  ExprWorld world;
  g_LoadedStage.m_bAutoScrollX = 1;
  g_LoadedStage.m_bAutoScrollY = 0;
  EXPECT_EQ(world.Eval("scrlx = 1000 scrly = -30"), -30);
  EXPECT_EQ(g_LoadedStage.m_nAutoScrollSpeedX, 480);
  EXPECT_EQ(g_LoadedStage.m_nAutoScrollSpeedY, -30);
  EXPECT_EQ(world.stage.m_ScrollX.m_bAuto, 1);
  EXPECT_DOUBLE_EQ(world.stage.m_ScrollX.m_dSpeed, 480 * 0.1 / g_LoadedStage.m_dSubSteps);
  EXPECT_EQ(world.stage.m_ScrollY.m_bAuto, 0);
  EXPECT_EQ(world.stage.m_ScrollY.m_dSpeed, 0);
}

TEST(Expression, RandWithAFixedSeedGivesFixedValues) {
  ExprWorld world;
  SeedRandom(1);  // draws 41, 18467, 6334, 26500, 19169, 15724
  std::vector<int> values;
  for (const char* text : {"rand(1, 6)", "rand(6, 1)", "rand(1, 6)", "rand(-3, 3)", "rand(5, 5)", "rand(0, 99)"}) {
    values.push_back(world.Eval(text));
  }
  EXPECT_EQ(values, (std::vector<int>{6, 6, 5, 2, 5, 24}));

  // The widest range draws once and does not overflow its width.
  SeedRandom(1);
  EXPECT_EQ(world.Eval("rand(-2147483648, 2147483647)"), INT_MIN + 41);
  EXPECT_EQ(g_bExprError, 0);

  // Every call draws exactly one number, also inside groups and arguments.
  SeedRandom(0);
  for (int i = 0; i < 4; ++i) Random();
  const unsigned afterFourDraws = RandomState();
  SeedRandom(0);
  world.Eval("C1 = rand(rand(1, 2), (rand(3, 4))) + rand(0, 0)");
  EXPECT_EQ(RandomState(), afterFourDraws);
}

TEST(Expression, RunCodeTextShowsTheRunningActorsGauges) {
  ExprWorld world;
  EXPECT_EQ(RunCodeText("hp = hp - 20 sp = sp + 0 tg.hp = 1", &world.actor), 1);
  EXPECT_EQ(world.actor.m_nHp, 80);
  EXPECT_EQ(world.actor.m_HpGauge.nTime, 120);
  EXPECT_DOUBLE_EQ(world.actor.m_HpGauge.dChange, -10);  // 20 of 100 on a gauge of 50
  EXPECT_EQ(world.actor.m_SpGauge.nTime, 0);             // unchanged
  EXPECT_EQ(world.other.m_HpGauge.nTime, 0);             // not the running actor

  EXPECT_EQ(RunCodeText("sp = 10", &world.actor), 1);
  EXPECT_EQ(world.actor.m_SpGauge.nTime, 120);
}

TEST(Expression, RunCodeTextFailsAfterAnErrorAndKeepsEarlierChanges) {
  ExprWorld world;
  EXPECT_EQ(RunCodeText("(hp = 5) (1 / 0)", &world.actor), 0);
  EXPECT_EQ(world.actor.m_nHp, 5);
  EXPECT_EQ(world.actor.m_HpGauge.nTime, 0);
  ASSERT_EQ(world.boxes.Shown().size(), 1u);
  EXPECT_EQ(world.boxes.Shown()[0].caption, "エラー");

  EXPECT_EQ(RunCodeText("C1 = 3", &world.actor), 1);  // the flag is cleared for each text
  EXPECT_EQ(g_bExprError, 0);
}

TEST(Expression, RunCodeTextReadsUpToTheZeroByteAndTheBuffer) {
  ExprWorld world;
  EXPECT_EQ(RunCodeText(std::string("C1 = 5\0 C2 = 7", 14), &world.actor), 1);
  EXPECT_EQ(ExprWorld::C(1), 5);
  EXPECT_EQ(ExprWorld::C(2), 9);

  // 5119 bytes fit: the assignment ending there runs, what follows does not.
  std::string text = "C1 = 6" + std::string(kCodeTextBuffer - 1 - 12, ' ') + "C2 = 8";
  ASSERT_EQ(text.size(), kCodeTextBuffer - 1);
  EXPECT_EQ(RunCodeText(text + " C1 = 1", &world.actor), 1);
  EXPECT_EQ(ExprWorld::C(1), 6);
  EXPECT_EQ(ExprWorld::C(2), 8);
}

}  // namespace
