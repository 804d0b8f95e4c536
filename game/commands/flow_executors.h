// The executors of flow commands (the slots of g_FlowCommandTable). Each is
// called once per sub-step while its command runs, with the acting actor
// and the command's instance; its first frame is the call whose instance
// still has the scratch members that cCommandInstance::Reset cleared.
#pragma once

#include "game/flows/flow_instance.h"

class cActor;
class cEdCommand;

// The executor of a command whose shared worker (game/commands/
// command_workers.h) does all its work, on every frame of the command.
template <void (*Worker)(cActor*, const cEdCommand&)>
void FlowCmdRunWorker(cActor* pActor, cCommandInstance& command) {
  Worker(pActor, *command.m_pCommand);
}

// The launching commands: on the first frame of each run, the command's
// sound and the launch of its shot record (shots, a sword, summons).
void FlowCmdShot(cActor* pActor, cCommandInstance& command);
void FlowCmdSword(cActor* pActor, cCommandInstance& command);
void FlowCmdSummonBlock(cActor* pActor, cCommandInstance& command);
void FlowCmdSummonCharacter(cActor* pActor, cCommandInstance& command);
void FlowCmdSummonItem(cActor* pActor, cCommandInstance& command);

// A message window, every frame, following on when the flow's previous
// blocking command was a plain message (ExecMessage).
void FlowCmdMessage(cActor* pActor, cCommandInstance& command);

// The item commands of a palette item on the hero, every frame (ExecGetItem).
void FlowCmdGetItem(cActor* pActor, cCommandInstance& command);

// Ends the play as cleared (ExecStageClear).
void FlowCmdStageClear(cActor* pActor, cCommandInstance& command);

// Starts, stops, pauses, resumes, deletes or stops for good the running
// flow, every other flow of the actor, or the flows with a given ID
// (parameters: 0 operation, 1 target, 2 flow ID).
void FlowCmdFlowControl(cActor* pActor, cCommandInstance& command);

// The movement commands: each moves the actor every frame of the command by
// the velocity its kind works out (straight by direction, angle or toward a
// point; walking with turns at ledges; a circle; a charge at the target;
// homing on the target; keeping on screen), stops, turns, jumps or warps it.
void FlowCmdMoveStraight(cActor* pActor, cCommandInstance& command);
void FlowCmdMoveGroundTurn(cActor* pActor, cCommandInstance& command);
void FlowCmdMoveCircle(cActor* pActor, cCommandInstance& command);
void FlowCmdMoveCharge(cActor* pActor, cCommandInstance& command);
void FlowCmdMoveHoming(cActor* pActor, cCommandInstance& command);
void FlowCmdMoveAvoidOffscreen(cActor* pActor, cCommandInstance& command);
void FlowCmdStopMove(cActor* pActor, cCommandInstance& command);
// Parameter 0: 0 left, 1 right, 2 toward the target, 3 away from it, 4 toward
// the last wall touched, 5 away from it; repeated every tenth of a second.
void FlowCmdTurn(cActor* pActor, cCommandInstance& command);
void FlowCmdJump(cActor* pActor, cCommandInstance& command);
void FlowCmdWarp(cActor* pActor, cCommandInstance& command);
