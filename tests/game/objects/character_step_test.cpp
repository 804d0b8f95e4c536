// A character's sub-step: view and activity tests, movement codes, the
// flow step, the jump and the drop-item icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "game/commands/command_workers.h"
#include "game/commands/flow_command_table.h"
#include "game/objects/character.h"
#include "model/definitions/item_command.h"
#include "model/settings/system_data.h"
#include "support/definition_builders.h"
#include "support/recording_draw_target.h"
#include "support/test_stage.h"

namespace {

// A stage of 40 x 30 cells: the view (640 x 480 at the stage's top-left)
// shows stage cells 0 to 19 across and 0 to 14 down.
TestStageSize BigStage() { return {40, 30, 1, 0.4}; }

// Replaces a command kind's executor while it lives.
class ScopedExecutor {
 public:
  ScopedExecutor(int nKind, tFlowCommandExecutor executor)
      : m_nKind(static_cast<std::size_t>(nKind)), m_Saved(g_FlowCommandTable[m_nKind]) {
    g_FlowCommandTable[m_nKind] = executor;
  }
  ~ScopedExecutor() { g_FlowCommandTable[m_nKind] = m_Saved; }

 private:
  std::size_t m_nKind;
  tFlowCommandExecutor m_Saved;
};

struct ActivityCase {
  const char* name;
  int flying;
  int column, row;  // stage cell
  int activeRange;
  int jumping, falling, activatedBefore;
  bool inView, acts;
};
class CharacterActivity : public testing::TestWithParam<ActivityCase> {};

TEST_P(CharacterActivity, ActsInViewOrWhileFinishingAJumpOrFall) {
  const ActivityCase& c = GetParam();
  TestStage stage(BigStage());
  CharaBuilder def;
  def.Flying(c.flying);
  def.Get().m_nActiveRange = static_cast<std::uint8_t>(c.activeRange);
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  chara.PlaceAtTile(c.column, c.row);
  chara.m_bJumping = c.jumping;
  chara.m_bFalling = c.falling;
  chara.m_bActivated = c.activatedBefore;
  std::vector<std::uint8_t> switches;
  EXPECT_EQ(chara.CheckInView(switches), c.inView);
  EXPECT_EQ(chara.m_bInView, c.inView ? 1 : 0);
  EXPECT_EQ(chara.CheckActive(switches), c.acts);
  EXPECT_EQ(chara.m_bActivated, c.acts || c.activatedBefore ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterActivity,
    testing::Values(ActivityCase{"WalkerInView", 0, 5, 5, 0, 0, 0, 0, true, true},
                    ActivityCase{"WalkerOutOfView", 0, 30, 5, 0, 0, 0, 0, false, false},
                    ActivityCase{"WalkerJumpingOutOfView", 0, 30, 5, 0, 1, 0, 0, false, true},
                    ActivityCase{"WalkerFallingNeverActivated", 0, 30, 5, 0, 0, 1, 0, false, false},
                    ActivityCase{"WalkerFallingOnceActivated", 0, 30, 5, 0, 0, 1, 1, false, true},
                    ActivityCase{"FlyerJumpingOutOfView", 1, 30, 5, 0, 1, 1, 1, false, false},
                    // Range 1 looks at x only, 2 at y only, 3 at neither.
                    ActivityCase{"XRangeBelowTheView", 0, 5, 25, 1, 0, 0, 0, true, true},
                    ActivityCase{"XRangeBesideTheView", 0, 30, 5, 1, 0, 0, 0, false, false},
                    ActivityCase{"YRangeBesideTheView", 1, 30, 5, 2, 0, 0, 0, true, true},
                    ActivityCase{"EverywhereFarAway", 1, 35, 25, 3, 0, 0, 0, true, true}),
    [](const testing::TestParamInfo<ActivityCase>& info) { return std::string(info.param.name); });

TEST(CharacterActivityGroup, OneInViewWakesItsWholeGroupInTheSameSubStep) {
  TestStage stage(BigStage());
  CharaBuilder def;
  def.Flying(1);
  def.Get().m_bGroupActivate = 1;
  def.Get().m_nActivateGroup = 12;
  CharaBuilder other = def;
  other.Get().m_nActivateGroup = 3;
  cCharacter far, near, stranger;
  far.Init(1, &def.Get(), nullptr, 0, 0, 0);
  near.Init(2, &def.Get(), nullptr, 0, 0, 0);
  stranger.Init(3, &other.Get(), nullptr, 0, 0, 0);
  far.PlaceAtTile(30, 20);
  near.PlaceAtTile(5, 5);
  stranger.PlaceAtTile(31, 20);

  // The stage empties the switches at each sub-step; every view test runs
  // before any activity test.
  std::vector<std::uint8_t> switches;
  for (cCharacter* c : {&far, &near, &stranger}) c->CheckInView(switches);
  EXPECT_TRUE(far.CheckActive(switches));
  EXPECT_TRUE(near.CheckActive(switches));
  EXPECT_FALSE(stranger.CheckActive(switches));

  // Once the member in view leaves, the far one rests again.
  switches.clear();
  near.PlaceAtTile(30, 21);
  for (cCharacter* c : {&far, &near}) c->CheckInView(switches);
  EXPECT_FALSE(far.CheckActive(switches));
}

TEST(CharacterActivityRule, RuleOneKeepsAnActivatedCharacterActingAnywhere) {
  for (int rule : {0, 1, 2, 7}) {
    SCOPED_TRACE(rule);
    TestStage stage(BigStage());
    CharaBuilder def;
    def.Flying(1);
    def.Get().m_nRangeRule = static_cast<std::uint8_t>(rule);
    cCharacter chara;
    chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
    chara.PlaceAtTile(5, 5);
    std::vector<std::uint8_t> switches;
    chara.CheckInView(switches);
    ASSERT_TRUE(chara.CheckActive(switches));
    chara.PlaceAtTile(35, 25);
    chara.CheckInView(switches);
    EXPECT_EQ(chara.CheckActive(switches), rule == 1);
  }
}

// A move along one axis (MoveX across, MoveY down): position, speed,
// knock-back and added speed before, the code and the position after.
enum eMoveAxis { MOVE_ACROSS, MOVE_DOWN };
struct MoveCase {
  const char* name;
  eMoveAxis axis;
  int flying;
  double position, speed, knockBack, added;
  int code;
  double end;
};

// A 32 x 32 character (a block character) whose added speeds keep their size.
void SetUpMover(cCharacter& chara, int nFlying) {
  CharaBuilder def;
  def.Flying(nFlying);
  def.Get().m_bBlockChara = 1;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  chara.m_dInertiaDecay = 0;
}

class CharacterMove : public testing::TestWithParam<MoveCase> {};

TEST_P(CharacterMove, MovesAndTellsTheEdge) {
  const MoveCase& c = GetParam();
  const bool across = c.axis == MOVE_ACROSS;
  TestStage stage(BigStage());
  cCharacter chara;
  SetUpMover(chara, c.flying);
  double& position = across ? chara.m_dX : chara.m_dY;
  position = c.position;
  (across ? chara.m_dVX : chara.m_dVY) = c.speed;
  (across ? chara.m_dImpactVX : chara.m_dImpactVY) = c.knockBack;
  (across ? chara.m_dAccelX : chara.m_dAccelY) = c.added;
  EXPECT_EQ(across ? chara.MoveX() : chara.MoveY(), c.code);
  EXPECT_DOUBLE_EQ(position, c.end);
  // The boxes follow the move: the body box across, the shot box down.
  EXPECT_EQ(across ? chara.m_BodyBox.m_dLeft : chara.m_ShotBox.m_dTop, std::trunc(c.end));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterMove,
    testing::Values(MoveCase{"Inside", MOVE_ACROSS, 0, 600, 2, 0, 0, 0, 602},
                    MoveCase{"KnockBackReplacesTheSpeed", MOVE_ACROSS, 0, 600, -1, 3, 0, 0, 603},
                    MoveCase{"AddedSpeedAdds", MOVE_ACROSS, 1, 600, 1, 0, 2, 0, 603},
                    // The stage proper is 320 to 1600 across, the map 0 to 1920.
                    MoveCase{"PastTheStageEdge", MOVE_ACROSS, 0, 321, -3, 0, 0, 2, 318},
                    MoveCase{"AtTheMapEdgeIsRemoved", MOVE_ACROSS, 0, 1, -3, 0, 0, 4, 0},
                    MoveCase{"AtTheFarMapEdgeIsRemoved", MOVE_ACROSS, 1, 1920 - 33, 3, 0, 0, 4, 1920 - 32},
                    MoveCase{"FlyerInside", MOVE_DOWN, 1, 600, 2, 0, 0, 0, 602},
                    MoveCase{"FlyerAddsItsAddedSpeed", MOVE_DOWN, 1, 600, 1, 0, 2, 0, 603},
                    MoveCase{"WalkerIgnoresItsAddedSpeed", MOVE_DOWN, 0, 600, 1, 0, 2, 0, 601},
                    MoveCase{"FlyerKnockBackAdds", MOVE_DOWN, 1, 600, 1, 2, 0, 0, 603},
                    // The stage proper is 320 to 1280 down, the map 0 to 1600.
                    MoveCase{"FlyerBelowTheStage", MOVE_DOWN, 1, 1250, 2, 0, 0, 5, 1252},
                    MoveCase{"WalkerBelowTheStageIsKilled", MOVE_DOWN, 0, 1250, 2, 0, 0, 7, 1252},
                    MoveCase{"WalkerAtTheMapBottomIsKilled", MOVE_DOWN, 0, 1566, 3, 0, 0, 7, 1568},
                    MoveCase{"FlyerAtTheMapBottomIsRemoved", MOVE_DOWN, 1, 1566, 3, 0, 0, 8, 1568},
                    MoveCase{"FlyerAtTheMapTopIsRemoved", MOVE_DOWN, 1, 1, -3, 0, 0, 8, 0},
                    MoveCase{"WalkerAtTheMapTopStays", MOVE_DOWN, 0, 1, -3, 0, 0, 3, 0}),
    [](const testing::TestParamInfo<MoveCase>& info) {
      return std::string(info.param.axis == MOVE_ACROSS ? "Across" : "Down") + info.param.name;
    });

// The outcome the flow command below gives its actor.
enum eFlowOutcome { OUTCOME_NONE, OUTCOME_NO_HP, OUTCOME_VANISH };
int g_nOutcome = OUTCOME_NONE;
std::vector<int> g_vStepTriggers;

void OutcomeExecutor(cActor* pActor, cCommandInstance& command) {
  g_vStepTriggers.push_back(g_pStageScene->m_pCurFlow->m_pFlow->m_nTrigger);
  if (g_nOutcome == OUTCOME_NO_HP) pActor->m_nHp = 0;
  if (g_nOutcome == OUTCOME_VANISH) pActor->m_bVanish = 1;
  command.m_nRemainFrames = 1;  // never finishes on its own
}

struct ExitCase {
  const char* name;
  int outcome;
  int result;
  int idleSequence;  // -1 when the step ended before the idle animation
};
class CharacterRunFlowsExit : public testing::TestWithParam<ExitCase> {};

TEST_P(CharacterRunFlowsExit, LeavesNoCurrentActorFlowOrCommandBehind) {
  const ExitCase& c = GetParam();
  TestStage stage;
  ScopedExecutor executor(CMD_RUN_CODE, OutcomeExecutor);
  g_nOutcome = c.outcome;
  CharaBuilder def;
  def.Flow(FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_RUN_CODE)));
  // A second flow marked for deletion, removed when the step ends.
  def.Flow(FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_RUN_CODE)));
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  chara.FireTrigger(TRIGGER_ALWAYS);
  chara.m_vFlows[1].m_bDelete = 1;
  chara.m_bFlowDeleted = 1;
  chara.m_Anime.Play(1, true);

  EXPECT_EQ(chara.RunFlows(false), c.result);
  EXPECT_EQ(stage.m_pCurActor, nullptr);
  EXPECT_EQ(stage.m_pCurFlow, nullptr);
  EXPECT_EQ(stage.m_pCurCommand, nullptr);
  // The deferred deletion runs on every exit too.
  EXPECT_EQ(chara.m_vFlows.size(), 1u);
  EXPECT_EQ(chara.m_bFlowDeleted, 0);
  EXPECT_EQ(chara.m_Anime.Sequence(), c.idleSequence < 0 ? 1 : c.idleSequence);
  g_nOutcome = OUTCOME_NONE;
}

INSTANTIATE_TEST_SUITE_P(Cases, CharacterRunFlowsExit,
                         testing::Values(ExitCase{"Normal", OUTCOME_NONE, 0, 0},
                                         ExitCase{"LostItsHp", OUTCOME_NO_HP, 1, -1},
                                         ExitCase{"Vanished", OUTCOME_VANISH, 1, -1}),
                         [](const testing::TestParamInfo<ExitCase>& info) { return std::string(info.param.name); });

TEST(CharacterRunFlows, DeathOnlyStepsTheDeathFlowsWithoutEndingEarly) {
  TestStage stage;
  ScopedExecutor executor(CMD_RUN_CODE, OutcomeExecutor);
  g_nOutcome = OUTCOME_NO_HP;
  CharaBuilder def;
  def.Flow(FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_RUN_CODE)));
  def.Flow(FlowBuilder(TRIGGER_DEATH).Command(CommandBuilder(CMD_RUN_CODE)));
  def.Flow(FlowBuilder(TRIGGER_DEATH).Command(CommandBuilder(CMD_RUN_CODE)));
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  chara.FireTrigger(TRIGGER_ALWAYS);
  chara.FireTrigger(TRIGGER_DEATH);
  g_vStepTriggers.clear();
  chara.RunFlows(true);
  // Both death flows stepped, though the first left the character without HP.
  EXPECT_EQ(g_vStepTriggers, (std::vector<int>{TRIGGER_DEATH, TRIGGER_DEATH}));
  EXPECT_EQ(stage.m_pCurActor, nullptr);
  g_nOutcome = OUTCOME_NONE;
}

struct SpeedCase {
  const char* name;
  int flying, scrollSync, noScrollCarry;
  double vx, vy;
};
class CharacterRunFlowsSpeed : public testing::TestWithParam<SpeedCase> {};

TEST_P(CharacterRunFlowsSpeed, StartsFromTheScrollDriftOrRest) {
  const SpeedCase& c = GetParam();
  TestStage stage;
  const std::int32_t savedCarry = g_SystemData.m_bNoScrollCarry;
  g_SystemData.m_bNoScrollCarry = c.noScrollCarry;
  stage.m_ScrollX.m_dSpeed = 0.5;
  stage.m_ScrollY.m_dSpeed = -0.25;
  CharaBuilder def;
  def.Flying(c.flying);
  def.Get().m_bScrollSync = static_cast<std::uint8_t>(c.scrollSync);
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  chara.m_dVX = 7;
  chara.m_dVY = 9;
  chara.RunFlows(false);
  EXPECT_DOUBLE_EQ(chara.m_dVX, c.vx);
  EXPECT_DOUBLE_EQ(chara.m_dVY, c.vy);
  g_SystemData.m_bNoScrollCarry = savedCarry;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterRunFlowsSpeed,
    testing::Values(SpeedCase{"FlyerAtRest", 1, 0, 0, 0, 0}, SpeedCase{"WalkerKeepsItsFall", 0, 0, 0, 0, 9},
                    SpeedCase{"FlyerDrifts", 1, 1, 0, 0.5, -0.25}, SpeedCase{"WalkerDriftsAcross", 0, 1, 0, 0.5, 9},
                    SpeedCase{"NoCarryStopsTheDrift", 1, 1, 1, 0, 0}),
    [](const testing::TestParamInfo<SpeedCase>& info) { return std::string(info.param.name); });

TEST(CharacterRunFlows, ScrollDriftStopsAtAScrollLimit) {
  TestStage stage;
  stage.m_ScrollX.m_dSpeed = 0.5;
  stage.m_ScrollX.m_bClamped = 1;
  CharaBuilder def;
  def.Flying(1);
  def.Get().m_bScrollSync = 1;
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  chara.m_dVX = 3;
  chara.RunFlows(false);
  EXPECT_EQ(chara.m_dVX, 0);
}

// The command record that adds one flow when the item is taken.
cEdCommand AddFlowCommand() {
  cEdCommand command;
  command.m_nSet = COMMAND_SET_ITEM;
  command.m_nKind = ICMD_CHANGE_FLOW;
  command.m_vParam = {0, 0};
  command.m_vFlow.push_back(FlowBuilder(TRIGGER_ALWAYS).Id(9));
  return command;
}
std::vector<std::size_t> g_vFlowCounts;

void TakeAddFlowItem(cActor* pActor, cCommandInstance& command) {
  const cEdCommand add = AddFlowCommand();
  ChangeActorFlows(pActor, &add, false);
  g_vFlowCounts.push_back(pActor->m_vFlows.size());
  command.m_nRemainFrames = 1;
}

TEST(CharacterRunFlows, FlowChangesOfItsOwnStepWaitUntilTheStepEnds) {
  TestStage stage;
  ScopedExecutor executor(CMD_RUN_CODE, TakeAddFlowItem);
  CharaBuilder def;
  def.Flow(FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_RUN_CODE)));
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  chara.FireTrigger(TRIGGER_ALWAYS);
  g_vFlowCounts.clear();
  chara.RunFlows(false);
  EXPECT_EQ(g_vFlowCounts, std::vector<std::size_t>{1});
  ASSERT_EQ(chara.m_vFlows.size(), 2u);
  EXPECT_EQ(chara.m_vFlows[1].m_pFlow->m_nId, 9);
  EXPECT_TRUE(chara.m_vQueuedItemCommands.empty());
}

struct JumpCase {
  const char* name;
  int falling, blocked, knockedBack, refused;
  bool jumps;
};
class CharacterJump : public testing::TestWithParam<JumpCase> {};

TEST_P(CharacterJump, TakesTheCommandsSpeedUnlessSomethingHoldsItDown) {
  const JumpCase& c = GetParam();
  TestStage stage;
  CharaBuilder def;
  def.Flow(FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_JUMP).Param(2, 4)));
  cCharacter chara;
  chara.Init(1, &def.Get(), nullptr, 0, 0, 0);
  chara.m_bFalling = c.falling;
  chara.m_bJumpBlocked = c.blocked;
  chara.m_bKnockedBack = c.knockedBack;
  chara.m_bJumpRefused = c.refused;
  chara.m_bOnCharacter = 1;
  chara.m_dVY = 0.75;
  cCommandInstance& jump = chara.m_vFlows[0].m_vCommands[0];
  ASSERT_LT(jump.m_dMoveSpeed, 0);
  chara.Jump(&jump);
  EXPECT_DOUBLE_EQ(chara.m_dVY, c.jumps ? jump.m_dMoveSpeed : 0.75);
  EXPECT_EQ(chara.m_bJumping, c.jumps ? 1 : 0);
  EXPECT_EQ(chara.m_bInAir, c.jumps ? 1 : 0);
  EXPECT_EQ(chara.m_bOnCharacter, c.jumps ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, CharacterJump,
                         testing::Values(JumpCase{"Standing", 0, 0, 0, 0, true},
                                         JumpCase{"Falling", 1, 0, 0, 0, false},
                                         JumpCase{"Blocked", 0, 1, 0, 0, false},
                                         JumpCase{"KnockedBack", 0, 0, 1, 0, false},
                                         JumpCase{"Refused", 0, 0, 0, 1, false}),
                         [](const testing::TestParamInfo<JumpCase>& info) { return std::string(info.param.name); });

// The frames of 192 in which the icon is drawn.
std::vector<int> IconFrames(cCharacter& chara, RecordingDrawTarget& target) {
  std::vector<int> frames;
  for (int frame = 1; frame <= 192; ++frame) {
    const std::size_t before = target.m_vCalls.size();
    chara.DrawDropItemIcon(target, kBackBuffer);
    if (target.m_vCalls.size() != before) frames.push_back(frame);
  }
  return frames;
}

TEST(CharacterDropItemIcon, ShowsDuringFrames64To95OfEvery96) {
  TestStage stage;
  g_LoadedStage.m_nItemBoxW = g_LoadedStage.m_nItemBoxH = 28;
  CharaBuilder def;
  cItem item;
  item.InitFromDefinition(1, &static_cast<const cEdItem&>(ItemBuilder().Graphic(17)), true);
  cCharacter chara;
  chara.Init(1, &def.Get(), &item, 0, 0, 0);
  chara.PlaceAtTile(4, 6);
  chara.UpdateScreenRect();
  chara.m_bOnScreen = 1;
  RecordingDrawTarget target;
  const std::vector<int> frames = IconFrames(chara, target);
  ASSERT_EQ(frames.size(), 64u);
  EXPECT_EQ(frames.front(), 64);
  EXPECT_EQ(frames[31], 95);
  EXPECT_EQ(frames[32], 96 + 64);
  // Centred over the sprite by a quarter of the item's draw size, half of it above.
  const sDrawCall& call = target.m_vCalls.front();
  EXPECT_EQ(call.x, chara.m_SpriteRect.m_nLeft + 16 - 8);
  EXPECT_EQ(call.y, chara.m_SpriteRect.m_nTop - 16);
  EXPECT_EQ(call.src, (sSurface{SURFACES_IMAGE, IMAGE_ITEM_ICONS}));
  EXPECT_EQ(call.sx, (17 / 15) * 32);
  EXPECT_EQ(call.sy, (17 % 15) * 16);
}

TEST(CharacterDropItemIcon, NothingWithoutAVisibleCarriedItemOnScreen) {
  struct Case {
    const char* name;
    bool carried;
    int onScreen, transparent, hidden;
  };
  for (const Case& c : {Case{"NoItem", false, 1, 0, 0}, Case{"OffScreen", true, 0, 0, 0},
                        Case{"TransparentCharacter", true, 1, 1, 0}, Case{"HiddenItem", true, 1, 0, 1}}) {
    SCOPED_TRACE(c.name);
    TestStage stage;
    CharaBuilder def;
    def.Get().m_bTransparent = static_cast<std::uint8_t>(c.transparent);
    cEdItem itemDef = ItemBuilder().Graphic(2);
    itemDef.m_bHidden = static_cast<std::uint8_t>(c.hidden);
    cItem item;
    item.InitFromDefinition(1, &itemDef, true);
    cCharacter chara;
    chara.Init(1, &def.Get(), c.carried ? &item : nullptr, 0, 0, 0);
    chara.m_bOnScreen = c.onScreen;
    RecordingDrawTarget target;
    EXPECT_TRUE(IconFrames(chara, target).empty());
  }
}

}  // namespace
