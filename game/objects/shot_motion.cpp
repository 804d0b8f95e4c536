// The movement kinds of shots: straight, re-aiming once at the hero, the
// nearest character or the target, homing on them for a stretch, a wave
// across the flight, and falling from a point on.
//
// Parameters 1 to 3 of a kind are m_anMoveParam[0..2]; a distance in
// half-blocks becomes sub-steps at the shot's own speed.
#include <cmath>

#include "base/checked_access.h"
#include "game/core/numeric.h"
#include "game/objects/actor.h"
#include "game/objects/character_search.h"
#include "game/objects/shot.h"
#include "game/stage/stage_play.h"
#include "model/stage/stage.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

int MoveParam(const cEdShot& shot, int n) { return shot.m_anMoveParam[n - 1]; }

}  // namespace

void cShot::Move() {
  switch (m_Shot.m_nMoveKind) {
    case SHOTMOVE_AIM_PLAYER:
    case SHOTMOVE_AIM_NEAREST:
    case SHOTMOVE_AIM_TARGET: MoveAim(); break;
    case SHOTMOVE_HOME_PLAYER:
    case SHOTMOVE_HOME_NEAREST_DROP:
    case SHOTMOVE_HOME_TARGET:
    case SHOTMOVE_HOME_NEAREST_RETARGET: MoveHome(); break;
    case SHOTMOVE_WAVE: MoveWave(); break;
    case SHOTMOVE_FALL: MoveFall(); break;
    default: break;
  }
}

int cShot::HblToSubSteps(int nHbl) const {
  if (m_dSpeed == 0) return 0;
  return TruncToInt(nHbl * 16 / m_dSpeed);
}

cActor* cShot::SteeringGoal(int nTeamParam) {
  cStagePlay& stage = *g_pStageScene;
  switch (m_Shot.m_nMoveKind) {
    case SHOTMOVE_AIM_PLAYER:
    case SHOTMOVE_HOME_PLAYER: return stage.m_pHero;
    case SHOTMOVE_AIM_TARGET:
    case SHOTMOVE_HOME_TARGET: return m_pShotTarget && !m_pShotTarget->m_bDying ? m_pShotTarget : nullptr;
    default: {
      UpdateScreenRect();
      return FindNearestCharacter(*this, CheckedAt(stage.m_vTeamCharacter, MoveParam(m_Shot, nTeamParam)));
    }
  }
}

void cShot::VelocityToward(const cActor& goal, double& vx, double& vy) {
  UpdateScreenRect();
  int dir = 0;
  ComputeMoveVelocity(vx, vy, dir, this, CenterX(), CenterY(), goal.CenterX(), goal.CenterY(), m_dSpeed, false,
                      true, false);
}

void cShot::MoveAim() {
  if (m_nMoveStep == 0) {
    m_dSpeed = (m_Shot.m_nSpeed + m_Shot.m_nSpeedStep * m_nLinearIndex) * 0.1 / g_LoadedStage.m_dSubSteps;
    m_nMoveStart = HblToSubSteps(MoveParam(m_Shot, 1));
  }
  if (!m_bMoveDone && m_nMoveStep == m_nMoveStart) {
    if (cActor* goal = SteeringGoal(2)) {
      VelocityToward(*goal, m_dBaseVX, m_dBaseVY);
      if (m_bAccel) SetVelocityFromDirection(m_dAccel, m_dBaseVX, m_dBaseVY);
    }
    m_bMoveDone = 1;
  }
  ++m_nMoveStep;
}

void cShot::MoveHome() {
  if (m_nMoveStep == 0) {
    m_dSpeed = (m_Shot.m_nSpeed + m_Shot.m_nSpeedStep * m_nLinearIndex) * 0.1 / g_LoadedStage.m_dSubSteps;
    m_nMoveStart = HblToSubSteps(MoveParam(m_Shot, 1));
    m_nMoveEnd = HblToSubSteps(MoveParam(m_Shot, 2));
    if (MoveParam(m_Shot, 2) == 0) m_bMoveDone = 1;
  }
  if (!m_bMoveDone && m_nMoveStep >= m_nMoveStart) {
    if (m_nMoveStep >= m_nMoveEnd) {
      m_bMoveDone = 1;
    } else if (cActor* goal = SteeringGoal(3)) {
      double vx = 0, vy = 0;
      VelocityToward(*goal, vx, vy);
      if (!m_bAccel || m_nMoveStep == m_nMoveStart) {
        m_dBaseVX = vx;
        m_dBaseVY = vy;
      }
      if (m_bAccel) SetVelocityFromDirection(m_dAccel, vx, vy);
    }
  }
  ++m_nMoveStep;
}

void cShot::MoveWave() {
  const int amplitude = MoveParam(m_Shot, 1) * 16;
  const int waveSpeed = MoveParam(m_Shot, 2);
  // A wave of speed 0 would divide its phase by 0: the shot flies straight.
  if (waveSpeed == 0) return;
  double lateral = 0;
  if (m_nMoveStep == 0) {
    const int start = MoveParam(m_Shot, 3) + (m_nFacing == 1 ? 0 : 180);
    m_dWavePhase = g_LoadedStage.m_dSubSteps * start / waveSpeed;
    double beta = std::atan2(m_dBaseVY, m_dBaseVX) * kDegreesPerRadian;
    if (beta < 0) beta += 360;
    beta -= 90;
    m_dWaveCos = std::cos(beta * kPi / 180);
    m_dWaveSin = std::sin(beta * kPi / 180);
    lateral = WaveSpeedCos(amplitude, waveSpeed, m_dWavePhase, 1, 0);
    m_dBaseVX += lateral * m_dWaveCos;
    m_dBaseVY += lateral * m_dWaveSin;
  } else {
    lateral = WaveAccelSin(amplitude, waveSpeed, m_dWavePhase, 1, 0);
    // A component that this would turn round stops instead.
    const auto add = [](double& v, double delta) {
      const double next = v + delta;
      v = (v > 0 && next < 0) || (v < 0 && next > 0) ? 0 : next;
    };
    add(m_dBaseVX, lateral * m_dWaveCos);
    add(m_dBaseVY, lateral * m_dWaveSin);
  }
  if (m_bAccel) SetVelocityFromDirection(m_dAccel, m_dBaseVX, m_dBaseVY);
  ++m_nMoveStep;
}

void cShot::MoveFall() {
  if (m_nMoveStep == 0) {
    m_dSpeed = (m_Shot.m_nSpeed + m_Shot.m_nSpeedStep * m_nLinearIndex) * 0.1 / g_LoadedStage.m_dSubSteps;
    m_nMoveStart = HblToSubSteps(MoveParam(m_Shot, 1));
  }
  if (!m_bMoveDone && m_nMoveStep == m_nMoveStart) {
    m_dVY = m_dBaseVY;
    m_bFlying = 0;
    m_bMoveDone = 1;
  }
  ++m_nMoveStep;
}
