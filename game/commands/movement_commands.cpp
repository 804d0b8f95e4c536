// The movement commands. Each runs once per sub-step of its command with
// the velocity worked out by the actor's movement operations and handed to
// the actor through cActor::ApplyMove; numbers prepared by cActor::BuildFlows
// sit in the command instance. A command whose record has no move does
// nothing.
#include <cmath>
#include <cstdint>

#include "base/checked_access.h"
#include "base/requests.h"
#include "game/commands/command_workers.h"
#include "game/commands/flow_executors.h"
#include "game/core/numeric.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "model/definitions/command.h"
#include "model/definitions/move.h"
#include "model/stage/stage.h"

namespace {

const cEdMove* MoveOf(const cCommandInstance& command) {
  return command.m_pCommand ? command.m_pCommand->m_pMove.get() : nullptr;
}

// A warp to screen coordinates pins the actor to the screen until it moves again.
void ClearScreenPins(cActor& actor) { actor.m_bPinX = actor.m_bPinY = 0; }

cActor* LiveTarget(const cActor& actor) {
  cActor* target = actor.m_pTarget;
  return target && !target->m_bDying ? target : nullptr;
}

// The target point of a move toward another actor: its sprite centre with
// the command's offsets.
void TargetPoint(const cActor& target, const cCommandInstance& command, double& x, double& y) {
  int tx = 0, ty = 0;
  target.MoveTargetPoint(tx, ty, command);
  x = tx;
  y = ty;
}

// Points a charge's aim by the command's angle. u is the aim's direction
// turned by 180 degrees, so an angle of 180 keeps the aim.
void TurnAim(const cActor& actor, cCommandInstance& command) {
  const double s = command.m_dMoveSpeed;
  const double aim = std::atan2(command.m_dCmdVX, command.m_dCmdVY) * 180 / kPi + 90;
  const int u = Wrap16(TruncToInt(aim));
  const double t = (u + command.m_nMoveAngle) * kPi / 180;
  command.m_dCmdVX = s * std::cos(t);
  command.m_dCmdVY = actor.m_bFlying ? -s * std::sin(t) : 0;
}

// One homing step toward a point: x only for a walking actor.
void HomeToward(cActor& actor, cCommandInstance& command, const cEdMove& move, const cActor& target,
                const sHomingPoint& point) {
  if (actor.m_bFlying) {
    actor.MoveTowardByAxes(command, move, &target, point.x, point.y);
  } else {
    actor.MoveTowardX(command, &target, point.x, actor.m_bScrollSync != 0, move.m_bSnapOnArrival != 0);
  }
}

// True on the first frame of a run, which starts from rest and without a
// facing request rather than with the last run's velocity.
bool StartsRun(cCommandInstance& command) {
  if (command.m_bStarted) return false;
  command.m_bStarted = 1;
  command.m_dCmdVX = command.m_dCmdVY = 0;
  command.m_nTurn = 0;
  return true;
}

enum eTurnMode { TURN_LEFT, TURN_RIGHT, TURN_TO_TARGET, TURN_FROM_TARGET, TURN_TO_WALL, TURN_FROM_WALL };

}  // namespace

void FlowCmdMoveStraight(cActor* pActor, cCommandInstance& command) {
  const cEdMove* move = MoveOf(command);
  if (!pActor || !move) return;
  cActor& actor = *pActor;
  ClearScreenPins(actor);
  if (StartsRun(command)) {
    if (move->m_nPositionMode == 0) {
      if (command.m_nMoveAngle != 0) {
        actor.DirectionAngleSpeed(command.m_dMoveSpeed, command.m_nMoveDir, command.m_nMoveAngle, command.m_dCmdVX,
                                  command.m_dCmdVY, command.m_nTurn);
      } else {
        actor.DirectionSpeed(command.m_dMoveSpeed, command.m_nMoveDir, command.m_dCmdVX, command.m_dCmdVY,
                             command.m_nTurn);
      }
    } else if (move->m_nPositionMode == 1) {
      actor.TargetPointSpeed(command.m_dMoveSpeed, command.m_nOffsetX, command.m_nOffsetY, *move, command.m_dCmdVX,
                             command.m_dCmdVY, command.m_nTurn, command.m_nRemainFrames);
    }
  } else if (move->m_bReverseOnTurn && actor.m_Chara.m_bFixedFacing == 1 &&
             actor.m_nFacing != command.m_nPrevFacing) {
    command.m_dCmdVX = -command.m_dCmdVX;
    command.m_dCmdVY = -command.m_dCmdVY;
  }
  if (!actor.m_bFlying) command.m_dCmdVY = 0;
  actor.ApplyMove(command.m_dCmdVX, command.m_dCmdVY, command.m_nTurn, command, *move, false);
  command.m_nPrevFacing = actor.m_nFacing;
}

void FlowCmdMoveGroundTurn(cActor* pActor, cCommandInstance& command) {
  const cEdMove* move = MoveOf(command);
  if (!pActor || !move || pActor->m_bFlying) return;
  cActor& actor = *pActor;
  ClearScreenPins(actor);
  double vx = 0, vy = 0;
  std::int32_t turn = 0;
  if (actor.m_dImpactVX != 0 || actor.m_dImpactVY != 0) {
    vx = actor.FacingSign() * command.m_dMoveSpeed;
  } else {
    actor.GroundTurnStep(command.m_dMoveSpeed, vx, vy, turn);
  }
  actor.ApplyMove(vx, vy, turn, command, *move, true);
}

void FlowCmdMoveCircle(cActor* pActor, cCommandInstance& command) {
  const cEdMove* move = MoveOf(command);
  if (!pActor || !move || command.m_nMoveRadius == 0) return;
  cActor& actor = *pActor;
  ClearScreenPins(actor);
  if (!command.m_bStarted) {
    command.m_bStarted = 1;
    command.m_dPhaseX = command.m_dPhaseY = command.m_nStartAngle;
  }
  int mode = command.m_nMoveDir;
  if (mode == 2) mode = actor.m_nFacing == 1 ? 1 : 0;
  else if (mode == 3) mode = actor.m_nFacing == 0 ? 1 : 0;
  const double speed = command.m_dMoveSpeed;
  const double step = g_LoadedStage.m_nSubSteps * speed;
  double vx = 0, vy = 0;
  if (!move->m_bVerticalOnly) vx = -speed * WaveSpeedCos(command.m_nMoveRadius, 1, command.m_dPhaseX, step, 0);
  if (!move->m_bHorizontalOnly && actor.m_bFlying) {
    vy = -speed * WaveSpeedCos(command.m_nMoveRadius, 1, command.m_dPhaseY, step, mode != 0 ? 90 : 270);
  }
  actor.ApplyMove(vx, vy, 0, command, *move, false);
}

void FlowCmdMoveCharge(cActor* pActor, cCommandInstance& command) {
  const cEdMove* move = MoveOf(command);
  if (!pActor || !move) return;
  cActor& actor = *pActor;
  ClearScreenPins(actor);
  if (StartsRun(command)) {
    // Without a target (or at a dying one) the actor stands for the command.
    if (!actor.m_pTarget) return;
    const cActor* target = LiveTarget(actor);
    if (!target) return;
    if (actor.m_bFlying) {
      double x = 0, y = 0;
      TargetPoint(*target, command, x, y);
      actor.MoveTowardByAxes(command, *move, target, x, y);
    } else if (!move->m_bVerticalOnly) {
      int dir = 0;
      ComputeMoveVelocityX(command.m_dCmdVX, command.m_dCmdVY, dir, target, actor.CenterX(),
                           target->CenterX() + command.m_nOffsetX, command.m_dMoveSpeed, actor.m_bScrollSync != 0,
                           false);
      command.m_nTurn = dir;
    }
    if (command.m_nMoveAngle != 0) TurnAim(actor, command);
  }
  if (!actor.m_bFlying) command.m_dCmdVY = 0;
  actor.ApplyMove(command.m_dCmdVX, command.m_dCmdVY, command.m_nTurn, command, *move, false);
}

void FlowCmdMoveHoming(cActor* pActor, cCommandInstance& command) {
  const cEdMove* move = MoveOf(command);
  if (!pActor || !move) return;
  cActor& actor = *pActor;
  const cActor* target = LiveTarget(actor);
  if (!target || (!actor.m_bFlying && move->m_bVerticalOnly)) return;
  ClearScreenPins(actor);
  sHomingPoint now;
  TargetPoint(*target, command, now.x, now.y);
  if (!actor.m_bFlying) now.x = target->CenterX() + command.m_nOffsetX;
  // The actor follows where the target was one homing time earlier.
  const std::int64_t period = command.m_nMoveRadius;
  if (period == 0) {
    HomeToward(actor, command, *move, *target, now);
  } else if (command.m_nCount == 0) {
    command.m_HomingQueue.clear();
    command.m_HomingQueue.push_back(now);
    HomeToward(actor, command, *move, *target, now);
  } else if (command.m_nCount % period == 0) {
    if (!command.m_HomingQueue.empty()) HomeToward(actor, command, *move, *target, command.m_HomingQueue.front());
    command.m_HomingQueue.push_back(now);
    if (command.m_HomingQueue.size() > 1) command.m_HomingQueue.pop_front();
  }
  if (!actor.m_bFlying) command.m_dCmdVY = 0;
  actor.ApplyMove(command.m_dCmdVX, command.m_dCmdVY, command.m_nTurn, command, *move, false);
  command.m_nCount = WrapAdd32(command.m_nCount, 1);
}

void FlowCmdMoveAvoidOffscreen(cActor* pActor, cCommandInstance& command) {
  const cEdMove* move = MoveOf(command);
  if (!pActor || !move) return;
  cActor& actor = *pActor;
  ClearScreenPins(actor);
  double vx = 0, vy = 0;
  actor.AvoidOffscreenSpeed(command.m_dMoveSpeed, command.m_nMoveDir, vx, vy);
  if (!actor.m_bFlying) vy = 0;
  actor.ApplyMove(vx, vy, 0, command, *move, false);
  command.m_nCount = WrapAdd32(command.m_nCount, 1);
}

void FlowCmdStopMove(cActor* pActor, cCommandInstance&) {
  if (!pActor) return;
  cActor& actor = *pActor;
  actor.m_dVX = actor.m_dVY = 0;
  actor.m_dAccelX = actor.m_dAccelY = 0;
  actor.m_dImpactVX = actor.m_dImpactVY = 0;
  ClearScreenPins(actor);
  actor.m_bMoveDisabled = 1;
}

void FlowCmdTurn(cActor* pActor, cCommandInstance& command) {
  if (!pActor || pActor->m_Chara.m_bFixedFacing == 0) return;
  cActor& actor = *pActor;
  if (command.m_nCount == 0) {
    const int mode = CheckedAt(command.m_pCommand->m_vParam, 0);
    const cActor* target = actor.m_pTarget;
    // Without a target the command waits for one, silently.
    if ((mode == TURN_TO_TARGET || mode == TURN_FROM_TARGET) && !target) return;
    RequestDbSound(static_cast<std::int16_t>(command.m_pCommand->m_nSound));
    switch (mode) {
      case TURN_LEFT: actor.m_nFacing = 0; break;
      case TURN_RIGHT: actor.m_nFacing = 1; break;
      case TURN_TO_TARGET:
      case TURN_FROM_TARGET: {
        const bool right = target->m_dX + target->m_nWidth / 2 > actor.m_dX + actor.m_nWidth / 2;
        actor.m_nFacing = (right == (mode == TURN_TO_TARGET)) ? 1 : 0;
        break;
      }
      case TURN_TO_WALL:
      case TURN_FROM_WALL:
        if (actor.m_nWallSide == 0 || actor.m_nWallSide == 1) {
          actor.m_nFacing = mode == TURN_TO_WALL ? actor.m_nWallSide : 1 - actor.m_nWallSide;
        }
        break;
      default: break;
    }
  }
  command.m_nCount = WrapAdd32(command.m_nCount, 1);
  if (command.m_nCount >= g_LoadedStage.m_nSubSteps6) command.m_nCount = 0;
}

void FlowCmdJump(cActor* pActor, cCommandInstance& command) {
  if (!pActor) return;
  ClearScreenPins(*pActor);
  pActor->Jump(&command);
  command.m_nCount = WrapAdd32(command.m_nCount, 1);
}

void FlowCmdWarp(cActor* pActor, cCommandInstance& command) {
  if (!pActor) return;
  ClearScreenPins(*pActor);
  ExecWarp(pActor, *command.m_pCommand);
}
