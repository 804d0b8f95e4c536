// Items whose commands get items: the commands of a gotten item run at once
// on the hero, and an item that gets itself (directly or round a cycle)
// stops after eight runs, one inside another, with a report line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/report.h"
#include "game/commands/item_command_table.h"
#include "model/definitions/item_command.h"
#include "model/stage/stage.h"
#include "support/definition_builders.h"
#include "support/temp_folder.h"
#include "support/test_hero.h"
#include "support/test_stage.h"

namespace {

constexpr int kStagePalette = 1;

cEdCommand ItemCommand(int nKind, std::vector<int> params, const std::string& text = {}) {
  cEdCommand command;
  command.m_nKind = static_cast<std::uint8_t>(nKind);
  command.m_vParam = std::move(params);
  command.m_strText = text;
  return command;
}

// Stage palette item n counts its runs into stage variable n, then gets
// the item `next`.
cEdItem CountingItem(int n, int next) {
  cEdItem item = ItemBuilder().Graphic(1);
  const std::string variable = std::string("S") + std::to_string(n);
  item.m_vCommand = {ItemCommand(ICMD_RUN_CODE, {}, variable + " = " + variable + " + 1"),
                     ItemCommand(ICMD_GET_ITEM, {kStagePalette, next})};
  return item;
}

class ItemChain : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    hero.SetUp(CharaBuilder().Hero(), 5, 5);
  }
  std::string Report() const { return ReadTextFile(folder.path() / "Report_Game.txt"); }

  TempFolder folder;
  ScopedCurrentFolder enter{folder.path()};
  TestStage stage;
  TestHero hero{stage};
};

TEST_F(ItemChain, AnItemThatGetsItselfStopsAfterEightRuns) {
  g_LoadedStage.m_vPaletteItems = {cEdItem(), CountingItem(1, 1)};
  EXPECT_EQ(RunItemCommands(hero.m_Hero, g_LoadedStage.m_vPaletteItems[1].m_vCommand), 0);
  EXPECT_EQ(stage.m_vStageVar[1], 8);
  EXPECT_NE(Report().find("item commands nested 9 deep (an item gets itself)"), std::string::npos) << Report();
}

TEST_F(ItemChain, ACycleOfTwoItemsStopsLikewise) {
  g_LoadedStage.m_vPaletteItems = {cEdItem(), CountingItem(1, 2), CountingItem(2, 1)};
  EXPECT_EQ(RunItemCommands(hero.m_Hero, g_LoadedStage.m_vPaletteItems[1].m_vCommand), 0);
  EXPECT_EQ(stage.m_vStageVar[1], 4);
  EXPECT_EQ(stage.m_vStageVar[2], 4);
  // Once it has unwound, the next item runs in full again.
  EXPECT_EQ(RunItemCommands(hero.m_Hero, {ItemCommand(ICMD_RUN_CODE, {}, "S3 = 5")}), 0);
  EXPECT_EQ(stage.m_vStageVar[3], 5);
}

TEST_F(ItemChain, AGottenItemsCommandsRunOnTheHeroAtOnce) {
  cEdItem last = ItemBuilder().Graphic(1);
  last.m_vCommand = {ItemCommand(ICMD_RUN_CODE, {}, "S4 = 7")};
  g_LoadedStage.m_vPaletteItems = {cEdItem(), CountingItem(1, 2), last};
  EXPECT_EQ(RunItemCommands(hero.m_Hero, g_LoadedStage.m_vPaletteItems[1].m_vCommand), 0);
  EXPECT_EQ(stage.m_vStageVar[1], 1);
  EXPECT_EQ(stage.m_vStageVar[4], 7);
  EXPECT_EQ(Report().find("nested"), std::string::npos);
}

}  // namespace
