#include <gtest/gtest.h>

#include "game/objects/map_cell_run.h"
#include "support/test_stage.h"

namespace {

TEST(StagePlay, TestStageIsTheRunningStageWhileItLives) {
  EXPECT_EQ(g_pStageScene, nullptr);
  {
    TestStage stage;
    EXPECT_EQ(g_pStageScene, &stage);
  }
  EXPECT_EQ(g_pStageScene, nullptr);
}

struct MapSizeCase {
  const char* name;
  int cellsX, cellsY;
  int rowShift;
};

class PlayMapSize : public testing::TestWithParam<MapSizeCase> {};

// A row of the play map (cells + 20 columns) fits into 2^shift entries.
TEST_P(PlayMapSize, RowShiftIsTheSmallestPowerAboveWidthPlus19) {
  const MapSizeCase& c = GetParam();
  TestStage stage({c.cellsX, c.cellsY});
  EXPECT_EQ(stage.m_ScrollX.m_nShift, c.rowShift);
  EXPECT_EQ(stage.m_vPlayMap.size(), static_cast<std::size_t>(c.cellsY + 20) << c.rowShift);
  EXPECT_EQ(stage.m_ScrollX.m_nRangeMax, (c.cellsX + 10) * 32);
  EXPECT_EQ(stage.m_ScrollY.m_nRangeMax, (c.cellsY + 10) * 32);
  EXPECT_EQ(stage.MapIndex(3, 2), 3 + (2 << c.rowShift));
}

INSTANTIATE_TEST_SUITE_P(Cases, PlayMapSize,
                         testing::Values(MapSizeCase{"Width12", 12, 5, 5}, MapSizeCase{"Width13", 13, 5, 6},
                                         MapSizeCase{"Width44", 44, 9, 6}, MapSizeCase{"Width45", 45, 9, 7},
                                         MapSizeCase{"Empty", 0, 0, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

// Block tests of the objects: a cell by its block's pass team, collision and
// appearance conditions.
TEST(MapCellCollision, PassTeamPassesOnlyThatTeam) {
  TestStage stage;
  cMapCell cell;
  cell.m_Block = TestStage::PassedByTeam(3);
  EXPECT_EQ(GetCollision(cell, 3), 0);
  EXPECT_EQ(GetCollision(cell, 2), 1);
  cell.m_Block = TestStage::Solid();  // pass team 255 reads as -1
  EXPECT_EQ(GetCollision(cell, -1), 0);
  EXPECT_EQ(GetCollision(cell, 0), 1);
}

TEST(MapCellCollision, FatalBlockIsSolidForEveryTeam) {
  TestStage stage;
  cMapCell cell;
  cell.m_Block = TestStage::Fatal();
  for (int team = 0; team < 8; ++team) EXPECT_EQ(GetCollision(cell, team), 2) << team;
}

TEST(MapCellCollision, ConditionalBlockIsSolidOnlyWhileItsConditionsHold) {
  TestStage stage;
  cMapCell cell;
  cell.m_Block = TestStage::Conditional(false);
  stage.m_nConditionAnswer = 0;
  EXPECT_EQ(GetCollision(cell, 1), 0);
  stage.m_nConditionAnswer = 1;
  EXPECT_EQ(GetCollision(cell, 1), 1);
  stage.m_nConditionAnswer = 0;
  EXPECT_EQ(GetCollision(cell, 1), 0);
}

TEST(MapCellCollision, OnceConditionStaysSolidAfterHoldingOnce) {
  TestStage stage;
  cMapCell cell;
  cell.m_Block = TestStage::Conditional(true);
  stage.m_nConditionAnswer = 1;
  EXPECT_EQ(GetCollision(cell, 1), 1);
  EXPECT_EQ(cell.m_bAppeared, 1);
  stage.m_nConditionAnswer = 0;
  const int asked = stage.m_nConditionEvaluations;
  EXPECT_EQ(GetCollision(cell, 1), 1);
  EXPECT_EQ(stage.m_nConditionEvaluations, asked);
}

TEST(MapCellCollision, BlockWithoutConditionsNeverAsksTheStage) {
  TestStage stage;
  cMapCell cell;
  cell.m_Block = TestStage::Solid();
  stage.m_nConditionAnswer = 0;
  EXPECT_EQ(GetCollision(cell, 1), 1);
  EXPECT_EQ(stage.m_nConditionEvaluations, 0);
}

}  // namespace
