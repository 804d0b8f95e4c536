// Character and screen effect runs: the step on which they end, modes,
// loops, and the reversed templates.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <ostream>

#include "base/close_request.h"
#include "game/effects/effect_run.h"
#include "support/scoped_database.h"

namespace {

constexpr int kLimit = 1000;  // "runs on": no end within this many steps

struct CharaRunCase {
  const char* what;
  int kind;
  std::array<int, 5> params;
  int mode;
  int loop;
  int endStep;  // the Step that returns 1; 0 when none within kLimit
};

void PrintTo(const CharaRunCase& c, std::ostream* os) { *os << c.what; }

class CharaEffectRunTest : public ::testing::TestWithParam<CharaRunCase> {
 protected:
  ScopedDatabase m_Database;
};

TEST_P(CharaEffectRunTest, EndsOnItsStep) {
  const CharaRunCase& c = GetParam();
  g_Database.m_vCharaEffect.resize(2);
  g_Database.m_vCharaEffect[1].m_nKind = c.kind;
  std::copy(c.params.begin(), c.params.end(), g_Database.m_vCharaEffect[1].m_anParam);
  m_Database.Rebuild();

  cCharaEffectRun run;
  run.Start(1, c.mode, c.loop);
  int endStep = 0;
  for (int step = 1; step <= kLimit && endStep == 0; ++step) {
    if (run.Step() == 1) endStep = step;
  }
  EXPECT_EQ(endStep, c.endStep);
}

const CharaRunCase kCharaRuns[] = {
    // 60 additions of the double nearest 32/60 give slightly more than 32.
    {"value 0 to 32 in 1 s", CHARA_EFFECT_BURST, {10, 0, 32}, EFFECT_RUN_NORMAL, 0, 60},
    // 60 additions of the double nearest 1/6 give slightly less than 10.
    {"blink of 1 s", CHARA_EFFECT_BLINK, {10, 2}, EFFECT_RUN_NORMAL, 0, 61},
    {"blink of 1 s, any interval", CHARA_EFFECT_TRANSLUCENT, {10, 9999}, EFFECT_RUN_NORMAL, 0, 61},
    {"reversed, 32 down to 0", CHARA_EFFECT_BURST, {10, 0, 32}, EFFECT_RUN_REVERSED, 0, 60},
    {"there and back", CHARA_EFFECT_ZOOM, {10, 0, 32}, EFFECT_RUN_ROUND_TRIP, 0, 120},
    {"there and back in a loop", CHARA_EFFECT_ZOOM, {10, 0, 32}, EFFECT_RUN_ROUND_TRIP, 1, 0},
    {"forward in a loop", CHARA_EFFECT_BURST, {10, 0, 32}, EFFECT_RUN_NORMAL, 1, 0},
    {"reversed in a loop", CHARA_EFFECT_BURST, {10, 0, 32}, EFFECT_RUN_REVERSED, 1, 0},
    {"a run time of 0 counts as 1", CHARA_EFFECT_BURST, {0, 0, 32}, EFFECT_RUN_NORMAL, 0, 7},
    {"a negative run time counts as 1", CHARA_EFFECT_CIRCLE, {-5, 32, 0, 2}, EFFECT_RUN_NORMAL, 0, 7},
    {"the widest values do not overflow", CHARA_EFFECT_ZOOM, {1, INT_MIN, INT_MAX}, EFFECT_RUN_NORMAL, 0, 7},
};

INSTANTIATE_TEST_SUITE_P(Runs, CharaEffectRunTest, ::testing::ValuesIn(kCharaRuns),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

class EffectRunTest : public ::testing::Test {
 protected:
  ScopedDatabase m_Database;
};

TEST_F(EffectRunTest, ReversedRunStartsAtTheEndValueAndRoundTripTurnsAtTheEnd) {
  g_Database.m_vCharaEffect[1].m_nKind = CHARA_EFFECT_BURST;
  const int params[5] = {10, 0, 32, 0, 0};
  std::copy(params, params + 5, g_Database.m_vCharaEffect[1].m_anParam);
  m_Database.Rebuild();

  cCharaEffectRun run;
  run.Start(1, EFFECT_RUN_REVERSED, 0);
  EXPECT_EQ(run.nStart, 32);
  EXPECT_EQ(run.nEnd, 0);
  EXPECT_EQ(run.Entry().m_anParam[1], 32) << "the reversed copy has start and end exchanged";
  EXPECT_EQ(g_Database.m_vCharaEffect[1].m_anParam[1], 0) << "the list itself is unchanged";

  run.Start(1, EFFECT_RUN_ROUND_TRIP, 0);
  for (int step = 0; step < 59; ++step) ASSERT_EQ(run.Step(), 0);
  EXPECT_LT(run.dValue, 32.0);
  EXPECT_EQ(run.Step(), 0);  // the end of the forward pass turns the run
  EXPECT_EQ(run.bReversed, 1);
  EXPECT_EQ(run.dValue, 32.0);
  EXPECT_EQ(run.nEnd, 0);
}

TEST_F(EffectRunTest, CopyEffectRunKeepsTheRunsControl) {
  cCharaEffectRun run;
  run.nIndex = 1;
  run.nMode = EFFECT_RUN_ROUND_TRIP;
  run.bLoop = 1;
  cCharaEffectRun source;
  source.nIndex = 5;
  source.nEntry = 1;
  source.dValue = 2.5;
  CopyEffectRun(run, source);
  EXPECT_EQ(run.nIndex, 1);
  EXPECT_EQ(run.nMode, EFFECT_RUN_ROUND_TRIP);
  EXPECT_EQ(run.bLoop, 1);
  EXPECT_EQ(run.nEntry, 1);
  EXPECT_EQ(run.dValue, 2.5);
}

TEST_F(EffectRunTest, ABadEntryIsReportedAndTemplateZeroUsed) {
  ResetCloseRequests();
  cCharaEffectRun run;
  run.Start(7, EFFECT_RUN_NORMAL, 0);
  EXPECT_EQ(CloseRequestCount(), 1);
  EXPECT_EQ(run.nEntry, 0);
  EXPECT_EQ(run.Entry().m_nKind, g_Database.m_vCharaEffect[0].m_nKind);
}

TEST_F(EffectRunTest, ScreenMoveReversedExchangesStartAndEndPoints) {
  cEdScrEffect& move = g_Database.m_vScrEffect[1];
  move.m_nKind = SCR_EFFECT_MOVE;
  const int params[5] = {10, -100, -50, 300, 200};
  std::copy(params, params + 5, move.m_anParam);
  m_Database.Rebuild();

  cScrEffectRun run;
  run.Start(1, EFFECT_RUN_NORMAL, 0);
  EXPECT_EQ(run.anState[0], -100);
  EXPECT_EQ(run.anState[1], -50);
  EXPECT_EQ(run.dRate, 1.0 / 6.0);
  run.Start(1, EFFECT_RUN_REVERSED, 0);
  EXPECT_EQ(run.anState[0], 300);
  EXPECT_EQ(run.anState[1], 200);
  EXPECT_EQ(run.Entry().m_anParam[3], -100);
  EXPECT_EQ(run.Entry().m_anParam[4], -50);
}

TEST_F(EffectRunTest, ScreenRunsCompareTheIntegerPartOfTheValue) {
  // With a rate of 0.5 from 0 to 2 the value passes 2 at 2.5, but its
  // integer part only at 3.0.
  cScrEffectRun screen;
  int step = 0;
  while (screen.StepValue(0, 2, 0.5) == 0 && step < kLimit) ++step;
  EXPECT_EQ(step + 1, 6);
  EXPECT_EQ(screen.dValue, 3.0);
}

TEST_F(EffectRunTest, ScreenRoundTripReadsTheReversedEntryOnTheWayBack) {
  cEdScrEffect& split = g_Database.m_vScrEffect[1];
  split.m_nKind = SCR_EFFECT_SPLIT_H;
  const int params[5] = {10, 0, 640, 15, 0};
  std::copy(params, params + 5, split.m_anParam);
  m_Database.Rebuild();

  cScrEffectRun run;
  run.Start(1, EFFECT_RUN_ROUND_TRIP, 0);
  int endStep = 0;
  for (int step = 1; step <= kLimit && endStep == 0; ++step) {
    // As a renderer does: start, end and rate of the entry the run reads now.
    const cEdScrEffect& entry = run.Entry();
    if (run.StepValue(entry.m_anParam[1], entry.m_anParam[2], run.dRate) == 1) endStep = step;
  }
  EXPECT_EQ(endStep, 61 + 61);
}

}  // namespace
