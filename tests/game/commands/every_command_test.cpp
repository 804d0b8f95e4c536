// Every slot of the flow-command and item-command tables does its work: each
// command runs once for an actor on the test stage (a flow command as the
// first command of a flow, an item command through its handler) and the
// effect it has is checked.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/close_request.h"
#include "base/requests.h"
#include "game/commands/command_workers.h"
#include "game/commands/flow_command_table.h"
#include "game/commands/item_command_table.h"
#include "game/flows/flow_instance.h"
#include "game/flows/status_rules.h"
#include "game/objects/actor.h"
#include "model/database/database.h"
#include "model/definitions/command.h"
#include "model/stage/common_palette.h"
#include "model/user/save_data.h"
#include "platform/window_messages.h"
#include "support/command_world.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

struct CommandCase {
  int kind;
  std::function<void(CommandBuilder&)> prepare;
  std::function<void(CommandWorld&)> check;
};

void NoParams(CommandBuilder&) {}

// What the commands shared by flows and items do, by flow-command kind.
const std::vector<CommandCase>& SharedCases() {
  static const std::vector<CommandCase> cases = {
      {CMD_STAGE_CLEAR, [](CommandBuilder& c) { c.Param(0, 1).Param(1, 3); },
       [](CommandWorld& w) { EXPECT_EQ(w.stage.m_nNextPart, 3); }},
      {CMD_GAME_WAIT, [](CommandBuilder& c) { c.Param(0, 10); },
       [](CommandWorld& w) {
         EXPECT_EQ(w.stage.m_vCalls, std::vector<std::string>{"RunModalWait"});
         EXPECT_EQ(w.stage.m_Wait.nFrames, 60);
         EXPECT_TRUE(w.stage.m_MessageList.empty());
       }},
      {CMD_MESSAGE, [](CommandBuilder& c) { c.Text("Hi"); },
       [](CommandWorld& w) {
         ASSERT_EQ(w.stage.m_MessageList.size(), 1u);
         EXPECT_EQ(w.stage.m_MessageList.front().m_strText, "Hi");
       }},
      {CMD_WARP,
       [](CommandBuilder& c) {
         c.Move().m_nPositionMode = 0;
         c.Move().m_nDirection = MOVEDIR_RIGHT;
         c.Move().m_nDistance = 2;
       },
       [](CommandWorld& w) { EXPECT_GE(w.actor.m_dX, 320 + 5 * 32 + 32); }},  // two half-blocks on
      {CMD_SET_TARGET, NoParams, [](CommandWorld& w) { EXPECT_EQ(w.actor.m_pTarget, &w.hero); }},
      {CMD_STATUS_OPERATION,
       [](CommandBuilder& c) { c.Param(3, 0).Param(4, CHARA_STATUS_HP).Param(5, STATUSOP_SET).Param(7, 7); },
       [](CommandWorld& w) { EXPECT_EQ(w.actor.m_nHp, 7); }},
      {CMD_STATUS_OPERATION2, [](CommandBuilder& c) { c.Param(0, 1).Param(1, STATUS2_TRANSPARENT).Param(2, 1); },
       [](CommandWorld& w) { EXPECT_EQ(w.target.m_Chara.m_bTransparent, 1); }},
      {CMD_GET_ITEM, NoParams, [](CommandWorld& w) { EXPECT_EQ(w.stage.m_nEndRequest, 1); }},
      {CMD_CHANGE_GRAPHIC, [](CommandBuilder& c) { c.Param(1, 7); },
       [](CommandWorld& w) { EXPECT_EQ(w.actor.m_nGraphicNo, 7); }},
      {CMD_CHANGE_BASE_ANIME_SET, [](CommandBuilder& c) { c.Param(0, 1); },
       [](CommandWorld& w) { EXPECT_EQ(w.actor.m_Chara.m_nAnimeSet, 1); }},
      {CMD_PLAY_ANIME, NoParams, [](CommandWorld& w) { EXPECT_EQ(w.actor.m_Overlays.size(), 1u); }},
      {CMD_PLAY_EFFECT, [](CommandBuilder& c) { c.Param(0, 1).Param(6, 100); },
       [](CommandWorld& w) { EXPECT_EQ(w.stage.m_EffectList.size(), 1u); }},
      {CMD_PLAY_CHARA_EFFECT, [](CommandBuilder& c) { c.Param(0, 1); },
       [](CommandWorld& w) { EXPECT_EQ(w.actor.m_CharaEffect.nIndex, 1); }},
      {CMD_PLAY_SCREEN_EFFECT, [](CommandBuilder& c) { c.Param(0, 1); },
       [](CommandWorld& w) { EXPECT_EQ(w.stage.m_ScreenEffect.nIndex, 1); }},
      {CMD_SHOW_PICTURE, [](CommandBuilder& c) { c.Param(0, 1).Param(7, 100); },
       [](CommandWorld& w) {
         ASSERT_EQ(w.stage.m_PictureList.size(), 1u);
         EXPECT_EQ(w.stage.m_PictureList.front().m_nWidth, 64);
         EXPECT_EQ(w.stage.m_vPictureSurfaces, std::vector<std::string>{"bmp\\pic\\title.bmp"});
       }},
      {CMD_CHANGE_SCREEN_COLOR, [](CommandBuilder& c) { c.Param(0, 255).Param(3, 50).Param(5, 10); },
       [](CommandWorld& w) {
         EXPECT_EQ(w.stage.m_vCalls, std::vector<std::string>{"StartScreenTone 255 0 0 50 0 10 0 0"});
       }},
      {CMD_CHANGE_BACKGROUND, [](CommandBuilder& c) { c.Param(0, 1).Param(1, 2); },
       [](CommandWorld&) { EXPECT_EQ(g_LoadedStage.m_vBackgrounds[0].m_bShow, 0); }},
      {CMD_PLAY_SOUND, [](CommandBuilder& c) { c.Param(0, 3); },
       [](CommandWorld& w) { EXPECT_EQ(w.sounds, std::vector<int>{3 + 16}); }},
      {CMD_PLAY_BGM, [](CommandBuilder& c) { c.Param(0, 3).Param(1, 1); },
       [](CommandWorld& w) { EXPECT_EQ(w.stage.m_vCalls, std::vector<std::string>{"PlayBgm 3 1"}); }},
      {CMD_RUN_CODE, [](CommandBuilder& c) { c.Text("S3 = 42"); },
       [](CommandWorld& w) { EXPECT_EQ(w.stage.m_vStageVar[3], 42); }},
  };
  return cases;
}

// What only flows do.
const std::vector<CommandCase>& FlowOnlyCases() {
  static const std::vector<CommandCase> cases = {
      {CMD_NONE, NoParams, [](CommandWorld& w) { EXPECT_EQ(w.actor.m_dVX, 0); }},
      {CMD_WAIT, NoParams, [](CommandWorld& w) { EXPECT_TRUE(w.stage.m_vCalls.empty()); }},
      {CMD_MOVE_STRAIGHT,
       [](CommandBuilder& c) {
         c.Move().m_nSpeed = 20;
         c.Move().m_nDirection = MOVEDIR_RIGHT;
       },
       [](CommandWorld& w) { EXPECT_GT(w.actor.m_dVX, 0); }},
      {CMD_MOVE_GROUND_TURN, [](CommandBuilder& c) { c.Move().m_nSpeed = 20; },
       [](CommandWorld& w) { EXPECT_NE(w.actor.m_dVX, 0); }},
      {CMD_MOVE_CIRCLE,
       [](CommandBuilder& c) {
         c.Time(10);
         c.Move().m_nRadius = 2;
         c.Move().m_nAngle = 30;
         c.Move().m_nDistance = 120;
       },
       [](CommandWorld& w) { EXPECT_NE(w.actor.m_dVX * w.actor.m_dVX + w.actor.m_dVY * w.actor.m_dVY, 0); }},
      {CMD_MOVE_CHARGE, [](CommandBuilder& c) { c.Move().m_nSpeed = 20; },
       [](CommandWorld& w) { EXPECT_GT(w.actor.m_dVX, 0); }},  // toward the target on the right
      {CMD_MOVE_HOMING, [](CommandBuilder& c) { c.Move().m_nSpeed = 20; },
       [](CommandWorld& w) { EXPECT_GT(w.actor.m_dVX, 0); }},
      {CMD_MOVE_AVOID_OFFSCREEN, [](CommandBuilder& c) { c.Move().m_nSpeed = 20; },
       [](CommandWorld& w) { EXPECT_EQ(w.actor.m_dVX, 0); }},  // on screen: nothing to avoid
      {CMD_STOP_MOVE, NoParams, [](CommandWorld& w) { EXPECT_EQ(w.actor.m_dAccelX, 0); }},
      {CMD_TURN, [](CommandBuilder& c) { c.Param(0, 1); }, [](CommandWorld& w) { EXPECT_EQ(w.actor.m_nFacing, 1); }},
      {CMD_JUMP, NoParams, [](CommandWorld& w) { EXPECT_EQ(w.actor.m_vJumps.size(), 1u); }},
      {CMD_SHOT, [](CommandBuilder& c) { c.Shot().m_nShotCount = 2; },
       [](CommandWorld& w) {
         EXPECT_EQ(w.stage.m_ShotList.size(), 2u);
         EXPECT_EQ(w.stage.m_nShotSerial, 2);
       }},
      {CMD_SWORD, [](CommandBuilder& c) { c.Shot(); },
       [](CommandWorld& w) {
         ASSERT_EQ(w.stage.m_ShotList.size(), 1u);
         EXPECT_EQ(w.stage.m_ShotList.front().m_bIsShot, 0);
         EXPECT_EQ(w.stage.m_ShotList.front().m_pShotTarget, nullptr);
       }},
      {CMD_SUMMON_BLOCK, [](CommandBuilder& c) { c.Shot().m_nShotCount = 1; },
       [](CommandWorld& w) { EXPECT_EQ(w.stage.m_vCalls, std::vector<std::string>{"ChangeBlock"}); }},
      {CMD_SUMMON_CHARACTER, [](CommandBuilder& c) { c.Shot().m_nShotCount = 1; },
       [](CommandWorld& w) { EXPECT_EQ(w.stage.m_vCalls, std::vector<std::string>{"AddCharacter"}); }},
      {CMD_SUMMON_ITEM, [](CommandBuilder& c) { c.Shot().m_nShotCount = 1; },
       [](CommandWorld& w) { EXPECT_EQ(w.stage.m_vCalls, std::vector<std::string>{"AddItem"}); }},
      {CMD_FLOW_CONTROL, [](CommandBuilder& c) { c.Param(0, 1); },
       [](CommandWorld& w) { EXPECT_EQ(w.actor.m_vFlows[0].m_bRunning, 0); }},
  };
  return cases;
}

// The item command that calls the same worker as a flow command.
int ItemKindOf(int nFlowKind) {
  switch (nFlowKind) {
    case CMD_STAGE_CLEAR: return ICMD_STAGE_CLEAR;
    case CMD_GAME_WAIT: return ICMD_GAME_WAIT;
    case CMD_MESSAGE: return ICMD_MESSAGE;
    case CMD_WARP: return ICMD_WARP;
    case CMD_SET_TARGET: return ICMD_SET_TARGET;
    case CMD_STATUS_OPERATION: return ICMD_STATUS_OPERATION;
    case CMD_STATUS_OPERATION2: return ICMD_STATUS_OPERATION2;
    case CMD_GET_ITEM: return ICMD_GET_ITEM;
    default: return nFlowKind - CMD_CHANGE_GRAPHIC + ICMD_CHANGE_GRAPHIC;
  }
}

TEST(EveryCommand, EachFlowCommandDoesItsWork) {
  std::vector<bool> covered(FLOW_COMMAND_COUNT, false);
  for (const auto* list : {&SharedCases(), &FlowOnlyCases()}) {
    for (const CommandCase& c : *list) {
      CommandWorld w;
      CommandBuilder command(c.kind);
      c.prepare(command);
      w.RunFlowCommand(command);
      SCOPED_TRACE(g_FlowCommandInfo[c.kind].m_pszName);
      c.check(w);
      covered[static_cast<std::size_t>(c.kind)] = true;
    }
  }
  for (int kind = 0; kind < FLOW_COMMAND_COUNT; ++kind) EXPECT_TRUE(covered[kind]) << "flow command " << kind;
}

TEST(EveryCommand, EachItemCommandDoesItsWork) {
  std::vector<bool> covered(ITEM_COMMAND_COUNT, false);
  for (const CommandCase& c : SharedCases()) {
    CommandWorld w;
    const int kind = ItemKindOf(c.kind);
    CommandBuilder command(c.kind);
    c.prepare(command);
    cEdCommand item = command;
    item.m_nSet = COMMAND_SET_ITEM;
    item.m_nKind = static_cast<std::uint8_t>(kind);
    item.m_vParam.resize(static_cast<std::size_t>(CommandParamCount(COMMAND_SET_ITEM, kind)), 0);
    const int result = w.RunItemCommand(item);
    SCOPED_TRACE(g_ItemCommandInfo[kind].m_pszName);
    EXPECT_EQ(result, kind == ICMD_STAGE_CLEAR ? 1 : 0);
    c.check(w);
    covered[static_cast<std::size_t>(kind)] = true;
  }
  // Nothing, and a flow added to the actor.
  CommandWorld w;
  EXPECT_EQ(w.RunItemCommand(CommandBuilder(ICMD_NONE).AsItemCommand()), 0);
  covered[ICMD_NONE] = true;
  CommandBuilder change(ICMD_CHANGE_FLOW);
  change.AsItemCommand().Get().m_vFlow.push_back(FlowBuilder(TRIGGER_ALWAYS));
  const std::size_t flows = w.actor.m_vFlows.size();
  EXPECT_EQ(w.RunItemCommand(change), 0);
  EXPECT_EQ(w.actor.m_vFlows.size(), flows + 1);
  covered[ICMD_CHANGE_FLOW] = true;
  for (int kind = 0; kind < ITEM_COMMAND_COUNT; ++kind) EXPECT_TRUE(covered[kind]) << "item command " << kind;
}

}  // namespace
