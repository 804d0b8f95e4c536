#include "game/commands/flow_command_table.h"

#include "game/commands/command_workers.h"
#include "game/commands/flow_executors.h"
#include "game/flows/flow_instance.h"

namespace {

void FlowCmdNothing(cActor*, cCommandInstance&) {}

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
    FlowCmdShot,                                   // CMD_SHOT
    FlowCmdSword,                                  // CMD_SWORD
    FlowCmdSummonBlock,                            // CMD_SUMMON_BLOCK
    FlowCmdSummonCharacter,                        // CMD_SUMMON_CHARACTER
    FlowCmdSummonItem,                             // CMD_SUMMON_ITEM
    FlowCmdFlowControl,                            // CMD_FLOW_CONTROL
    FlowCmdStageClear,                             // CMD_STAGE_CLEAR
    FlowCmdRunWorker<ExecGameWait>,                // CMD_GAME_WAIT
    FlowCmdMessage,                                // CMD_MESSAGE
    FlowCmdWarp,                                   // CMD_WARP
    FlowCmdRunWorker<ExecSetTarget>,               // CMD_SET_TARGET
    FlowCmdRunWorker<ApplyStatusOperation>,        // CMD_STATUS_OPERATION
    FlowCmdRunWorker<ExecStatusOperation2>,        // CMD_STATUS_OPERATION2
    FlowCmdGetItem,                                // CMD_GET_ITEM
    FlowCmdRunWorker<ExecChangeGraphic>,           // CMD_CHANGE_GRAPHIC
    FlowCmdRunWorker<ExecChangeBaseAnimeSet>,      // CMD_CHANGE_BASE_ANIME_SET
    FlowCmdRunWorker<ExecPlayAnime>,               // CMD_PLAY_ANIME
    FlowCmdRunWorker<ExecPlayEffect>,              // CMD_PLAY_EFFECT
    FlowCmdRunWorker<ExecPlayCharaEffect>,         // CMD_PLAY_CHARA_EFFECT
    FlowCmdRunWorker<ExecPlayScreenEffect>,        // CMD_PLAY_SCREEN_EFFECT
    FlowCmdRunWorker<ExecShowPicture>,             // CMD_SHOW_PICTURE
    FlowCmdRunWorker<ExecChangeScreenColor>,       // CMD_CHANGE_SCREEN_COLOR
    FlowCmdRunWorker<ExecChangeBackground>,        // CMD_CHANGE_BACKGROUND
    FlowCmdRunWorker<ExecPlaySound>,               // CMD_PLAY_SOUND
    FlowCmdRunWorker<ExecPlayBgm>,                 // CMD_PLAY_BGM
    FlowCmdRunWorker<ExecRunCode>,                 // CMD_RUN_CODE
};

void DispatchFlowCommand(cActor* pActor, cCommandInstance& command) {
  const int kind = command.m_pCommand->m_nKind;
  if (kind < FLOW_COMMAND_COUNT) g_FlowCommandTable[static_cast<std::size_t>(kind)](pActor, command);
}
