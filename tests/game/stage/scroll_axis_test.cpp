#include "game/stage/scroll_axis.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A horizontal axis over a stage of `cells` columns, limited to its range.
cScrollAxis Axis(int cells) {
  cScrollAxis axis;
  axis.SetUp(0, cells, 0);
  axis.SetLimits(0, 0, 0, 0);
  return axis;
}

struct ClampCase {
  const char* name;
  int cells;
  double pos;
  double expectedPos;
  int expectedClamped;
};

class ScrollClamp : public testing::TestWithParam<ClampCase> {};

TEST_P(ScrollClamp, KeepsTheViewWithinTheLimits) {
  const ClampCase& c = GetParam();
  cScrollAxis axis = Axis(c.cells);
  axis.m_bClamped = 1 - c.expectedClamped;
  axis.m_dPos = c.pos;
  axis.Clamp(0);
  EXPECT_DOUBLE_EQ(axis.m_dPos, c.expectedPos);
  EXPECT_EQ(axis.m_bClamped, c.expectedClamped);
}

// A 40-column stage: the view may lie within [320, 1600].
INSTANTIATE_TEST_SUITE_P(
    Cases, ScrollClamp,
    testing::Values(ClampCase{"InsideIsUnchanged", 40, 500.5, 500.5, 0},
                    ClampCase{"BeforeTheFirstLimit", 40, 100, 320, 1},
                    ClampCase{"PastTheLastLimit", 40, 1500, 960, 1},
                    ClampCase{"ExactlyAtTheLastLimitCountsAsClamped", 40, 960, 960, 1},
                    ClampCase{"JustBeforeTheLastLimit", 40, 959.5, 959.5, 0},
                    // Narrower than the screen: the first limit wins.
                    ClampCase{"NarrowStageStaysAtTheFirstLimit", 12, 400, 320, 1},
                    ClampCase{"EmptyStage", 0, 50, 320, 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct LimitsCase {
  const char* name;
  int first, last, firstOn, lastOn;
  int expectedMin, expectedMax;
};

class ScrollLimits : public testing::TestWithParam<LimitsCase> {};

TEST_P(ScrollLimits, NameEditorCellsOrTheStageRange) {
  const LimitsCase& c = GetParam();
  cScrollAxis axis;
  axis.SetUp(0, 40, 0);
  axis.SetLimits(c.first, c.last, c.firstOn, c.lastOn);
  EXPECT_EQ(axis.m_nMin, c.expectedMin);
  EXPECT_EQ(axis.m_nMax, c.expectedMax);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrollLimits,
    testing::Values(LimitsCase{"NoSwitchesGiveTheRange", 5, 30, 0, 0, 320, 1600},
                    LimitsCase{"BothCells", 5, 30, 1, 1, 480, 1312},
                    LimitsCase{"FirstOnly", 5, 30, 1, 0, 480, 1600},
                    LimitsCase{"LastOnly", 5, 30, 0, 1, 320, 1312},
                    LimitsCase{"LastBeforeFirstGivesOneLimit", 20, 3, 1, 1, 960, 960}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScrollAxis, SetUpGivesEachAxisItsGeometry) {
  cScrollAxis x, y;
  x.SetUp(0, 45, 100);
  y.SetUp(1, 15, 0);
  EXPECT_EQ(x.m_nView, 640);
  EXPECT_EQ(y.m_nView, 480);
  EXPECT_EQ(x.m_nCells, 65);
  EXPECT_EQ(x.m_nShift, 7);  // 64 < 65: rows of 128 entries
  EXPECT_EQ(x.m_nPitch, 128);
  EXPECT_EQ(y.m_nShift, 0);
  EXPECT_EQ(y.m_nPitch, 35);
  EXPECT_EQ(x.m_nOuter, 740);
  EXPECT_EQ(y.m_nOuter, 640);
  EXPECT_EQ(x.m_nRangeMin, 320);
  EXPECT_EQ(x.m_nRangeMax, 55 * 32);
  EXPECT_EQ(y.m_nMargin, 10);
  cScrollAxis negative;
  negative.SetUp(0, -30, 0);
  EXPECT_EQ(negative.m_nRangeMax, 320);  // a negative size counts as 0
}

// Speed 10 is one pixel a frame at every speed level; off stops the axis.
TEST(ScrollAxis, AutoScrollMovesSpeedTenthsOfAPixelAFrame) {
  for (int subSteps : {1, 4, 19}) {
    cScrollAxis axis = Axis(100);
    axis.m_dPos = 400;
    axis.SetAutoScroll(1, 10, subSteps);
    EXPECT_EQ(axis.m_bAuto, 1);
    for (int step = 0; step < subSteps; ++step) axis.Step();
    EXPECT_NEAR(axis.m_dPos, 401, 1e-9) << subSteps;
  }
  cScrollAxis axis = Axis(100);
  axis.SetAutoScroll(1, 25, 0);  // no sub-steps: counted as one
  EXPECT_DOUBLE_EQ(axis.m_dSpeed, 2.5);
  axis.SetAutoScroll(0, 25, 4);
  EXPECT_EQ(axis.m_bAuto, 0);
  EXPECT_DOUBLE_EQ(axis.m_dSpeed, 0);
}

TEST(ScrollAxis, AutoScrollStopsAtTheLastLimit) {
  cScrollAxis axis = Axis(21);  // view range [320, 992]: the view ends at 352
  axis.m_dPos = 340;
  axis.SetAutoScroll(1, 100, 1);
  axis.Step();
  EXPECT_DOUBLE_EQ(axis.m_dPos, 350);
  EXPECT_EQ(axis.m_bClamped, 0);
  axis.Step();
  EXPECT_DOUBLE_EQ(axis.m_dPos, 352);
  EXPECT_EQ(axis.m_bClamped, 1);
  EXPECT_DOUBLE_EQ(axis.DriftSpeed(), 0);
}

}  // namespace
