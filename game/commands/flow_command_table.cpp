#include "game/commands/flow_command_table.h"

#include "game/commands/command_workers.h"
#include "game/commands/flow_executors.h"
#include "game/flows/flow_instance.h"
#include "shell/report.h"

namespace {

void FlowCmdNothing(cActor*, cCommandInstance&) {}

// The slot of a command whose executor this program does not have yet: it
// says so once in the report and does nothing.
template <int Kind>
void FlowCmdNotBuilt(cActor*, cCommandInstance&) {
  static bool reported = false;
  if (reported) return;
  reported = true;
  ReportF("flow command %d \"%s\" is not built yet: it does nothing", Kind, g_FlowCommandInfo[Kind].m_pszName);
}

}  // namespace

std::array<tFlowCommandExecutor, FLOW_COMMAND_COUNT> g_FlowCommandTable = {
    FlowCmdNothing,                                // CMD_NONE
    FlowCmdNothing,                                // CMD_WAIT
    FlowCmdMoveStraight,                           // CMD_MOVE_STRAIGHT
    FlowCmdMoveGroundTurn,                         // CMD_MOVE_GROUND_TURN
    FlowCmdMoveCircle,                             // CMD_MOVE_CIRCLE
    FlowCmdMoveCharge,                             // CMD_MOVE_CHARGE
    FlowCmdMoveHoming,                             // CMD_MOVE_HOMING
    FlowCmdMoveAvoidOffscreen,                     // CMD_MOVE_AVOID_OFFSCREEN
    FlowCmdStopMove,                               // CMD_STOP_MOVE
    FlowCmdTurn,                                   // CMD_TURN
    FlowCmdJump,                                   // CMD_JUMP
    FlowCmdNotBuilt<CMD_SHOT>,                     // CMD_SHOT
    FlowCmdNotBuilt<CMD_SWORD>,                    // CMD_SWORD
    FlowCmdNotBuilt<CMD_SUMMON_BLOCK>,             // CMD_SUMMON_BLOCK
    FlowCmdNotBuilt<CMD_SUMMON_CHARACTER>,         // CMD_SUMMON_CHARACTER
    FlowCmdNotBuilt<CMD_SUMMON_ITEM>,              // CMD_SUMMON_ITEM
    FlowCmdFlowControl,                            // CMD_FLOW_CONTROL
    FlowCmdStageClear,                             // CMD_STAGE_CLEAR
    FlowCmdNotBuilt<CMD_GAME_WAIT>,                // CMD_GAME_WAIT
    FlowCmdNotBuilt<CMD_MESSAGE>,                  // CMD_MESSAGE
    FlowCmdWarp,                                   // CMD_WARP
    FlowCmdNotBuilt<CMD_SET_TARGET>,               // CMD_SET_TARGET
    FlowCmdStatusOperation,                        // CMD_STATUS_OPERATION
    FlowCmdNotBuilt<CMD_STATUS_OPERATION2>,        // CMD_STATUS_OPERATION2
    FlowCmdNotBuilt<CMD_GET_ITEM>,                 // CMD_GET_ITEM
    FlowCmdRunWorker<ExecChangeGraphic>,           // CMD_CHANGE_GRAPHIC
    FlowCmdRunWorker<ExecChangeBaseAnimeSet>,      // CMD_CHANGE_BASE_ANIME_SET
    FlowCmdRunWorker<ExecPlayAnime>,               // CMD_PLAY_ANIME
    FlowCmdRunWorker<ExecPlayEffect>,              // CMD_PLAY_EFFECT
    FlowCmdRunWorker<ExecPlayCharaEffect>,         // CMD_PLAY_CHARA_EFFECT
    FlowCmdRunWorker<ExecPlayScreenEffect>,        // CMD_PLAY_SCREEN_EFFECT
    FlowCmdNotBuilt<CMD_SHOW_PICTURE>,             // CMD_SHOW_PICTURE
    FlowCmdNotBuilt<CMD_CHANGE_SCREEN_COLOR>,      // CMD_CHANGE_SCREEN_COLOR
    FlowCmdRunWorker<ExecChangeBackground>,        // CMD_CHANGE_BACKGROUND
    FlowCmdRunWorker<ExecPlaySound>,               // CMD_PLAY_SOUND
    FlowCmdRunWorker<ExecPlayBgm>,                 // CMD_PLAY_BGM
    FlowCmdRunWorker<ExecRunCode>,                 // CMD_RUN_CODE
};

void DispatchFlowCommand(cActor* pActor, cCommandInstance& command) {
  const int kind = command.m_pCommand->m_nKind;
  if (kind < FLOW_COMMAND_COUNT) g_FlowCommandTable[static_cast<std::size_t>(kind)](pActor, command);
}
