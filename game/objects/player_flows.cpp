// The hero's flow step and its jump command.
#include <cmath>

#include "base/requests.h"
#include "game/commands/command_workers.h"
#include "game/core/numeric.h"
#include "game/objects/player.h"
#include "game/stage/stage_play.h"
#include "model/definitions/flow.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"

namespace {

enum eJumpControl { JUMP_AT_ONCE, JUMP_BY_KEY, JUMP_BY_KEY_AND_SPEED };

int Param(const cEdCommand& command, std::size_t i) { return i < command.m_vParam.size() ? command.m_vParam[i] : 0; }

// Mode 2: the height in half-blocks from the added horizontal speed a: height
// A from threshold A up, height B up to threshold B, and in between the
// integer part of the line from height B at speed 0 to height A at threshold A.
int HeightForSpeed(double a, double thresholdA, int heightA, double thresholdB, int heightB) {
  if (a >= thresholdA) return heightA;
  if (a <= thresholdB) return heightB;
  return TruncToInt((heightA - heightB) * a / thresholdA + heightB);
}

}  // namespace

void cPlayer::ResetJumpState() {
  m_nJumpHold = 0;
  m_bJumpReleased = 1;
  m_bJumpBlocked = 0;
}

int cPlayer::RunFlows(bool bDeathOnly) {
  cStagePlay& stage = *g_pStageScene;
  stage.m_pCurActor = this;
  stage.m_bCheckDeaths = 0;

  const double driftX = stage.m_ScrollX.DriftSpeed();
  const double driftY = stage.m_ScrollY.DriftSpeed();
  if (g_SystemData.m_bNoScrollCarry) {
    if (m_bFlying) {
      m_dVX = driftX;
      m_dVY = driftY;
    } else {
      m_dVX = 0;
    }
  } else if (m_bScrollSync) {
    m_dVX = driftX;
    if (m_bFlying) m_dVY = driftY;
  } else {
    m_dVX = 0;
    if (m_bFlying) m_dVY = 0;
  }
  m_bMoveDisabled = 0;
  m_bDecayAccelX = m_bDecayAccelY = 1;
  m_bHidden = 0;
  m_bMovedByCommand = 0;
  m_bJumpHandled = 0;
  if (m_nMoveTypeGrace > 0) --m_nMoveTypeGrace;
  if (m_nCrushGrace > 0) --m_nCrushGrace;

  const int dead = StepFlows(bDeathOnly, false);
  stage.m_pCurActor = nullptr;
  stage.m_pCurFlow = nullptr;
  stage.m_pCurCommand = nullptr;
  // Flow changes of items taken during the step (cActor::m_vQueuedItemCommands).
  ApplyQueuedItemCommands(*this);
  EndFlowStep();
  if (dead) return 1;

  if (!m_bMovedByCommand && m_dAccelX == 0 && m_dAccelY == 0) m_Anime.Change(m_bFlying ? 2 : 0, true);
  if (!m_bJumpHandled) ResetJumpState();
  return m_nHp <= 0;
}

void cPlayer::Jump(cCommandInstance* pInst) {
  if (!pInst || !pInst->m_pCommand || m_bFlying || m_bJumpHandled) return;
  const cStagePlay& stage = *g_pStageScene;
  const cEdCommand& command = *pInst->m_pCommand;
  const int mode = Param(command, 0);

  // The jump button is the last key condition of the running flow.
  const cFlowInstance* flow = stage.m_pCurFlow;
  const bool hasKeys = flow && !flow->m_vpKeyConditions.empty();
  bool pressed = true;
  if (mode != JUMP_AT_ONCE) pressed = hasKeys && TestKeyConditionNow(Input(), *flow->m_vpKeyConditions.back());

  if (mode == JUMP_BY_KEY_AND_SPEED) {
    const double perSubStep = 10.0 * g_LoadedStage.m_dSubSteps;
    const int height = HeightForSpeed(std::fabs(m_dAccelX), Param(command, 1) / perSubStep, Param(command, 2),
                                      Param(command, 3) / perSubStep, Param(command, 4));
    pInst->m_dMoveSpeed = JumpSpeedForHeight(height * 16);
  }

  const int b = g_LoadedStage.m_nSubSteps;
  bool held = pressed && !m_bNoJumpFloor;
  if (held) {
    m_nJumpHold = WrapAdd32(m_nJumpHold, 1);
    if (m_nJumpHold >= pInst->m_nTotalFrames && (!m_bInAir || m_bOnCharacter) && m_bJumpReleased &&
        !m_bJumpBlocked && (m_dVY < 0 || m_bOnCharacter)) {
      // The rise is over.
      m_bInAir = 1;
      m_bJumpReleased = 0;
    } else if (!m_bFalling && m_nJumpHold <= b && !(m_bInAir && !m_bOnCharacter) && m_bJumpReleased &&
               !m_bJumpBlocked && !m_bKnockedBack && !pInst->m_bStarted) {
      // Take-off, within the first frame of holding.
      m_bJumping = 1;
      bool takeOff = false;
      if (!m_bOnCharacter) {
        m_dVY = pInst->m_dMoveSpeed;
        takeOff = true;
      } else if (stage.m_nSubStep == b) {
        // Off a character's head only on the frame's last sub-step, a little faster.
        m_dVY = pInst->m_dMoveSpeed * static_cast<double>(1.02f);
        m_bOnCharacter = 0;
        takeOff = true;
      }
      if (takeOff) {
        pInst->m_bStarted = 1;
        RequestDbSound(static_cast<std::int16_t>(command.m_nSound));
      }
    }
  } else {
    // A release before the full hold cuts the rise short.
    if (m_nJumpHold > 0 && m_nJumpHold < pInst->m_nTotalFrames && !m_bInAir && !m_bJumpBlocked &&
        !m_bNoJumpFloor && !m_bKnockedBack) {
      m_bOnCharacter = 0;
      if (m_dVY < 0) m_dVY *= 0.3;
      m_bInAir = 1;
    }
    ResetJumpState();
  }

  if (IsStanding() && m_dVY >= 0) {
    if (hasKeys && !pressed) {
      ResetJumpState();
      m_bKnockedBack = 0;
      pInst->m_nRemainFrames = 0;
    } else if (!hasKeys) {
      ResetJumpState();
      m_bKnockedBack = 0;
      pInst->m_bStarted = 0;
    }
  }
  m_bJumpHandled = 1;
}
