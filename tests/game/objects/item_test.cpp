// Items at run time: set-up, placement, drawing and the flow-change item
// command.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/commands/command_workers.h"
#include "game/objects/item.h"
#include "model/definitions/item_command.h"
#include "support/definition_builders.h"
#include "support/recording_draw_target.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

cEdItem ItemOfSize(int nSize, int nGraphicNo = 17) {
  cEdItem def = ItemBuilder().Graphic(nGraphicNo);
  def.m_nSize = static_cast<std::uint8_t>(nSize);
  return def;
}

// A stage whose item box is 28 x 28 (draw offset (2, 2)).
struct ItemStage : TestStage {
  ItemStage() { g_LoadedStage.m_nItemBoxW = g_LoadedStage.m_nItemBoxH = 28; }
};

TEST(ItemSetUp, TakesTheStageItemBoxAndItsSize) {
  ItemStage stage;
  const cEdItem def = ItemOfSize(3);
  cItem item;
  item.InitFromDefinition(4, &def, false);
  EXPECT_EQ(item.m_nId, 4);
  EXPECT_EQ(item.m_nGraphicNo, 17);
  EXPECT_EQ(item.m_bCarried, 0);
  EXPECT_EQ(item.m_bAppeared, 0);
  EXPECT_EQ(item.m_SpriteRect.m_nBaseOffX, 2);
  EXPECT_EQ(item.m_nWidth, 84);
  EXPECT_EQ(item.m_SpriteRect.m_nDrawW, 96);
  // Flies through blocks; does not drift with the view.
  EXPECT_EQ(item.m_bFlying, 1);
  EXPECT_EQ(item.m_nBlockMode, 0);
  EXPECT_EQ(item.m_bScrollSync, 0);
}

TEST(ItemSetUp, CarriedItemIsAppearedAndKeepsSizeOne) {
  ItemStage stage;
  const cEdItem def = ItemOfSize(3);
  cItem item;
  item.InitFromDefinition(4, &def, true);
  EXPECT_EQ(item.m_bCarried, 1);
  EXPECT_EQ(item.m_bAppeared, 1);
  EXPECT_EQ(item.m_nWidth, 28);
  EXPECT_EQ(item.m_SpriteRect.m_nDrawW, 32);
}

TEST(ItemSetUp, SizeZeroCountsAsOneWithoutTouchingTheDefinition) {
  ItemStage stage;
  const cEdItem def = ItemOfSize(0);
  cItem item;
  item.InitFromDefinition(1, &def, false);
  EXPECT_EQ(item.m_Item.m_nSize, 1);
  EXPECT_EQ(def.m_nSize, 0);
  EXPECT_EQ(item.m_nWidth, 28);
}

struct PlaceCase {
  const char* name;
  int size, cx, cy;
  double x, y;
};
class ItemPlacement : public testing::TestWithParam<PlaceCase> {};

TEST_P(ItemPlacement, GrowsUpFromTheCellAndStaysInTheMap) {
  const PlaceCase& c = GetParam();
  ItemStage stage;
  const cEdItem def = ItemOfSize(c.size);
  cItem item;
  item.InitFromDefinition(1, &def, false);
  item.PlaceAtCell(c.cx, c.cy);
  EXPECT_DOUBLE_EQ(item.m_dX, c.x);
  EXPECT_DOUBLE_EQ(item.m_dY, c.y);
  EXPECT_DOUBLE_EQ(item.m_dBottom, c.y + item.m_nHeight - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ItemPlacement,
    testing::Values(PlaceCase{"SizeOne", 1, 3, 4, 13 * 32 + 2 + 0.5, 14 * 32 + 2},
                    // Half the base box left; box height and offset up.
                    PlaceCase{"SizeTwo", 2, 3, 4, 13 * 32 + 2 + 0.5 - 14, 14 * 32 + 2 - 30},
                    PlaceCase{"SizeThree", 3, 3, 4, 13 * 32 + 2 + 0.5 - 28, 14 * 32 + 2 - 60},
                    PlaceCase{"ClampedAtTheMapCorner", 2, -10, -10, 0, 0}),
    [](const testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

// The source columns of n drawn frames of an item of graphic 0.
std::vector<int> DrawnColumns(cItem& item, int n, bool bPaused) {
  RecordingDrawTarget target;
  for (int i = 0; i < n; ++i) item.Draw(target, kBackBuffer, bPaused);
  std::vector<int> columns;
  for (const sDrawCall& call : target.m_vCalls) columns.push_back(call.sx / 32);
  return columns;
}

TEST(ItemDraw, AlternatesTwoFramesOfFifteenTicksUnlessPaused) {
  ItemStage stage;
  const cEdItem def = ItemOfSize(1, 0);
  cItem item;
  item.InitFromDefinition(1, &def, false);
  const std::vector<int> paused = DrawnColumns(item, 20, true);
  EXPECT_EQ(paused, std::vector<int>(20, paused.front()));
  const std::vector<int> columns = DrawnColumns(item, 60, false);
  // Runs of 15 frames of each cell in turn (the first and last run may be cut).
  std::vector<int> runs{1};
  for (std::size_t i = 1; i < columns.size(); ++i) {
    if (columns[i] == columns[i - 1]) {
      ++runs.back();
    } else {
      EXPECT_EQ(columns[i], 1 - columns[i - 1]);
      runs.push_back(1);
    }
  }
  ASSERT_GE(runs.size(), 4u);
  for (std::size_t i = 1; i + 1 < runs.size(); ++i) EXPECT_EQ(runs[i], 15) << "run " << i;
  EXPECT_EQ(std::count(columns.begin(), columns.end(), 0), 30);
}

TEST(ItemDraw, CellAtSizeOneStretchedAtLargerSizesAndTheMarkOver) {
  struct Case {
    const char* name;
    int size;
    std::vector<std::string> ops;
    int w;
    sSurface sprite, mark;
  };
  for (const Case& c : {Case{"SizeOne", 1, {"Blt", "Blt"}, 32, {SURFACES_IMAGE, IMAGE_ITEMS}, {SURFACES_IMAGE, IMAGE_MARKS}},
                        Case{"SizeThree", 3, {"BltStretch", "BltStretch"}, 96, {SURFACES_IMAGE, IMAGE_ITEMS + 1},
                             {SURFACES_IMAGE, IMAGE_MARKS_SCALED}}}) {
    SCOPED_TRACE(c.name);
    ItemStage stage;
    cEdItem def = ItemOfSize(c.size);
    def.m_bOverlay = 1;
    def.m_nOverlayCell = 16;
    cItem item;
    item.InitFromDefinition(1, &def, false);
    item.PlaceAtCell(2, 2);
    RecordingDrawTarget target;
    item.Draw(target, kBackBuffer, true);
    ASSERT_EQ(target.m_vCalls.size(), 2u);
    const sDrawCall& sprite = target.m_vCalls[0];
    const sDrawCall& mark = target.m_vCalls[1];
    EXPECT_EQ(sprite.op, c.ops[0]);
    EXPECT_EQ(sprite.src, c.sprite);
    EXPECT_EQ(sprite.sx, (17 / 15) * 64);
    EXPECT_EQ(sprite.sy, (17 % 15) * 32);
    EXPECT_EQ(sprite.sw, 32);
    EXPECT_EQ(sprite.w, c.w);
    EXPECT_EQ(sprite.flags, kColourKey);
    // The sprite sits at the item's screen position (view at the stage's top-left).
    EXPECT_EQ(sprite.x, item.m_SpriteRect.m_nLeft);
    EXPECT_EQ(sprite.x, static_cast<int>(item.m_dX) - item.m_SpriteRect.m_nOffX - 320);
    EXPECT_EQ(mark.op, c.ops[1]);
    EXPECT_EQ(mark.src, c.mark);
    EXPECT_EQ(mark.sx, 32);
    EXPECT_EQ(mark.sy, 32);
    EXPECT_EQ(mark.w, c.w);
  }
}

TEST(ItemDraw, HiddenItemDrawsNothingAndItsAnimationWaits) {
  ItemStage stage;
  cEdItem def = ItemOfSize(1, 0);
  def.m_bHidden = 1;
  cItem item;
  item.InitFromDefinition(1, &def, false);
  RecordingDrawTarget target;
  for (int i = 0; i < 40; ++i) item.Draw(target, kBackBuffer, false);
  EXPECT_TRUE(target.m_vCalls.empty());
  EXPECT_EQ(item.m_Anime.Row(), 0);
}

TEST(ItemCopy, CopiesTheObjectTheDefinitionAndTheCarriedFlag) {
  ItemStage stage;
  cEdItem def = ItemOfSize(2, 5);
  def.m_vCommand.resize(2);
  cItem item;
  item.InitFromDefinition(3, &def, true);
  item.m_dX = 123.5;
  cItem copy;
  copy = item;
  EXPECT_EQ(copy.m_nId, 3);
  EXPECT_EQ(copy.m_bCarried, 1);
  EXPECT_DOUBLE_EQ(copy.m_dX, 123.5);
  EXPECT_EQ(copy.m_Item.m_nSize, 2);
  EXPECT_EQ(copy.m_Item.m_vCommand.size(), 2u);
}

// Flow changes on an actor with flows of IDs 1, 2, 1.
struct FlowChangeCase {
  const char* name;
  int op, id;
  int result;
  std::vector<int> ids;
};
class ItemFlowChange : public testing::TestWithParam<FlowChangeCase> {};

cEdCommand FlowChange(int op, int id) {
  cEdCommand command;
  command.m_nSet = COMMAND_SET_ITEM;
  command.m_nKind = ICMD_CHANGE_FLOW;
  command.m_vParam = {op, id};
  command.m_vFlow.push_back(FlowBuilder(TRIGGER_ALWAYS).Id(9));
  return command;
}

std::vector<int> FlowIds(const cActor& actor) {
  std::vector<int> ids;
  for (const cFlowInstance& flow : actor.m_vFlows) ids.push_back(flow.m_pFlow->m_nId);
  return ids;
}

TEST_P(ItemFlowChange, AddsChangesOrDeletesFlows) {
  const FlowChangeCase& c = GetParam();
  TestStage stage;
  TestActor actor;
  actor.InitCommon(nullptr, 0, 0, 0);
  actor.BuildFlows({FlowBuilder(TRIGGER_ALWAYS).Id(1), FlowBuilder(TRIGGER_ALWAYS).Id(2),
                    FlowBuilder(TRIGGER_ALWAYS).Id(1)},
                   0, false, 0);
  const cEdCommand command = FlowChange(c.op, c.id);
  EXPECT_EQ(ChangeActorFlows(&actor, &command, false), c.result);
  EXPECT_EQ(FlowIds(actor), c.ids);
  // Every instance reads its own entry of the actor's definition copy.
  for (std::size_t i = 0; i < actor.m_vFlows.size(); ++i) {
    EXPECT_EQ(actor.m_vFlows[i].m_pFlow, &actor.m_Chara.m_vFlow[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ItemFlowChange,
    testing::Values(FlowChangeCase{"AddAppends", 0, 0, 0, {1, 2, 1, 9}},
                    FlowChangeCase{"ChangeTakesThePlaceOfTheRemoved", 1, 2, 0, {1, 9, 1}},
                    FlowChangeCase{"ChangeOfSeveralTakesTheFirstPlace", 1, 1, 0, {9, 2}},
                    FlowChangeCase{"ChangeOfNoneAppends", 1, 5, 0, {1, 2, 1, 9}},
                    FlowChangeCase{"IdIsAByte", 1, 258, 0, {1, 9, 1}},
                    FlowChangeCase{"ChangeOfAllReplacesAll", 1, 0, 0, {9}},
                    FlowChangeCase{"DeleteTellsWhere", 2, 2, 1, {1, 1}},
                    FlowChangeCase{"DeleteOfNone", 2, 5, -1, {1, 2, 1}},
                    FlowChangeCase{"DeleteAll", 2, 0, 0, {}},
                    FlowChangeCase{"UnknownOperation", 7, 1, 5, {1, 2, 1}}),
    [](const testing::TestParamInfo<FlowChangeCase>& info) { return std::string(info.param.name); });

TEST(ItemFlowChangeQueue, WaitsWhileTheActorsFlowsStepUnlessAppliedNow) {
  TestStage stage;
  TestActor hero;
  hero.InitCommon(nullptr, 0, 0, 0);
  hero.BuildFlows({FlowBuilder(TRIGGER_ALWAYS).Id(1)}, 0, false, 0);
  stage.m_pHero = &hero;
  const cEdCommand add = FlowChange(0, 0);

  stage.m_pCurActor = &hero;
  EXPECT_EQ(ChangeActorFlows(&hero, &add, false), 0);
  EXPECT_EQ(FlowIds(hero), (std::vector<int>{1}));
  ASSERT_EQ(hero.m_vQueuedItemCommands.size(), 1u);
  // The hero's step applies the queue itself, with bApplyNow.
  ChangeActorFlows(&hero, &add, true);
  EXPECT_EQ(FlowIds(hero), (std::vector<int>{1, 9}));

  stage.m_pCurActor = nullptr;
  ApplyQueuedItemCommands(hero);
  EXPECT_EQ(FlowIds(hero), (std::vector<int>{1, 9, 9}));
  EXPECT_TRUE(hero.m_vQueuedItemCommands.empty());

  // Taken while another actor's flows step (a get-item command of a
  // character), the change applies at once.
  TestActor other;
  stage.m_pCurActor = &other;
  ChangeActorFlows(&hero, &add, false);
  EXPECT_EQ(FlowIds(hero), (std::vector<int>{1, 9, 9, 9}));
}

}  // namespace
