// Per-sub-step physics of actors: contacts, gravity, landing, ceilings,
// knock-back, jump speeds and times, placement at a cell.
#include <cmath>

#include "game/core/numeric.h"
#include "game/objects/actor.h"
#include "game/objects/map_cell_run.h"
#include "game/objects/shot.h"
#include "game/stage/stage_play.h"
#include "model/definitions/flow.h"
#include "model/stage/stage.h"

void cActor::ClearBlockContacts() { m_bHitLeft = m_bHitRight = m_bHitTop = m_bHitBottom = 0; }

void cActor::SavePosition() {
  m_dPrevX = m_dX;
  m_dPrevY = m_dY;
  m_dPrevRight = m_dRight;
  m_dPrevBottom = m_dBottom;
}

void cActor::RestorePosition() {
  m_dX = m_dPrevX;
  m_dY = m_dPrevY;
  m_dRight = m_dPrevRight;
  m_dBottom = m_dPrevBottom;
}

void cActor::ApplyGravity() {
  if (m_bFlying || m_bOnCharacter || m_bMoveDisabled || m_dImpactVY < 0) return;
  m_dVY += g_LoadedStage.m_dGravityStep;
}

bool cActor::IsStanding() const {
  return (m_pFloorCell && GetCollision(*m_pFloorCell, m_nTeam) != 0) || m_bOnCharacter;
}

void cActor::LandOnBlock() {
  m_dVY = 0;
  m_dAccelY = 0;
  m_bHitBottom = 1;
  m_bJumpRefused = m_bFalling = m_bJumping = m_bInAir = m_bKnockedBack = 0;
  if (m_nControl != 0) m_bJumpBlocked = 0;
  m_nFallCount = 0;
  m_dY -= (TruncToInt(m_dBottom) & 31) + 1;
  ConstrainY();
  FireTrigger(TRIGGER_HIT_BLOCK);
  FireTrigger(TRIGGER_BLOCK_UP_DOWN);
  FireTrigger(TRIGGER_BLOCK_DOWN);
}

void cActor::HitCeiling() {
  m_bInAir = m_bJumping = m_bHitTop = m_bJumpBlocked = 1;
  m_dVY = 0;
  m_dAccelY = 0;
  m_dY += 32 - (TruncToInt(m_dY) & 31);
  ConstrainY();
  FireTrigger(TRIGGER_HIT_BLOCK);
  FireTrigger(TRIGGER_BLOCK_UP_DOWN);
  FireTrigger(TRIGGER_BLOCK_UP);
}

void cActor::LandOnCharacter(bool bRide) {
  m_bOnCharacter = 0;
  if (m_dImpactVY == 0) m_dVY = 0;
  if (bRide) m_bRidden = 1;
}

namespace {

constexpr double kSignEpsilon = 1e-8;

bool OppositeSigns(double a, double b) {
  return (a > kSignEpsilon && b < -kSignEpsilon) || (a < -kSignEpsilon && b > kSignEpsilon);
}

// The first speed that, losing 1/u per sub-step, covers 16 |d| pixels.
double KnockbackSpeed(double d, double u) {
  if (d > 0) return (std::sqrt(128 * u * d + 1) - 1) / (2 * u);
  if (d < 0) return -(std::sqrt(1 - 128 * u * d) - 1) / (2 * u);
  return 0;
}

}  // namespace

void KnockbackSpeeds(double& vx, double& vy, std::int8_t e, double dx, double dy) {
  if (e == 0) return;
  const double s = std::fabs(dx) + std::fabs(dy);
  if (s == 0) {
    vx = vy = 0;
    return;
  }
  const double u = g_LoadedStage.m_dSubSteps;
  vx = KnockbackSpeed(dx * e / s, u);
  vy = KnockbackSpeed(dy * e / s, u);
}

void cActor::ApplyImpact(std::int8_t nImpact, double dx, double dy) {
  if (nImpact == 0) return;
  const int r = m_Chara.m_nImpactResist;
  int e = 0;
  if (nImpact < 0) {
    e = nImpact + r;
    if (e < -20) e = -20;
    if (e > 0) e = 0;
  } else {
    e = nImpact - r;
    if (e < 0) e = 0;
    if (e > 20) e = 20;
  }
  KnockbackSpeeds(m_dImpactVX, m_dImpactVY, static_cast<std::int8_t>(e), dx, dy);
  if (m_dAccelX != 0 && OppositeSigns(m_dAccelX, m_dImpactVX)) m_dAccelX = 0;
  if (m_dAccelY != 0 && OppositeSigns(m_dAccelY, m_dImpactVY)) m_dAccelY = 0;
  if (OppositeSigns(m_dVY, m_dImpactVY)) m_dVY = 0;
  m_bKnockedBack = 1;
}

void cActor::ApplyContactImpact(const cActor& attacker) {
  double dy = attacker.m_dVY;
  // A walking attacker pushes upward or downward only when falling fast.
  if (!attacker.m_bFlying && !(attacker.m_dVY >= 8 * g_LoadedStage.m_nSubSteps * g_LoadedStage.m_dGravityStep)) {
    dy = 0;
  }
  ApplyImpact(attacker.m_Chara.m_nImpact, attacker.m_dVX, dy);
}

void cActor::ApplyShotImpact(const cShot& shot) {
  if (shot.m_bIsShot) {
    ApplyImpact(shot.m_Shot.m_nImpact, shot.m_dVX, shot.m_dVY);
  } else {
    ApplyImpact(shot.m_Shot.m_nImpact, shot.FacingSign(), 0);
  }
}

void cActor::ApplyImpactY() {
  if (m_dImpactVY != 0) {
    if (m_bFlying) {
      m_dVY += m_dImpactVY;
    } else if (m_dImpactVY > 0 && IsStanding()) {
      m_dImpactVY = 0;
    } else {
      m_dVY = m_dVY - m_dPrevImpactVY + m_dImpactVY;
    }
  }
  m_dPrevImpactVY = m_dImpactVY;
}

namespace {

void DecayImpact(double& v) {
  const double step = 1 / g_LoadedStage.m_dSubSteps;
  if (v > 0) {
    v -= step;
    if (v < 0) v = 0;
  } else if (v < 0) {
    v += step;
    if (v > 0) v = 0;
  }
}

}  // namespace

void cActor::DecayImpactX() { DecayImpact(m_dImpactVX); }
void cActor::DecayImpactY() { DecayImpact(m_dImpactVY); }

double cActor::JumpSpeedForHeight(double dHeight) const {
  const double g = g_LoadedStage.m_dGravityStep;
  // Without gravity there is no jump; a negative height jumps as height 0.
  if (!(g > 0)) return 0;
  if (dHeight < 0) dHeight = 0;
  double v = (-g - std::sqrt(g * (g + 8 * dHeight))) * 0.5;
  if (m_nControl == 0) v *= 0.99 - g_LoadedStage.m_dGravity * 0.025;
  return v;
}

double cActor::JumpSpeedForHbl(std::int8_t nHbl) const { return JumpSpeedForHeight(nHbl * 16); }

int cActor::JumpFrames(double v) const {
  const double g = g_LoadedStage.m_dGravityStep;
  const double u = g_LoadedStage.m_dSubSteps;
  if (!(g > 0)) return TruncToInt(u);
  return TruncToInt(u - v / g);
}

int cActor::JumpTimeForHbl(int nHbl) const {
  const int b = g_LoadedStage.m_nSubSteps;
  if (b <= 0) return 1;
  return JumpFrames(JumpSpeedForHbl(static_cast<std::int8_t>(nHbl))) / b / 6 + 1;
}

void cActor::PlaceAtTileX(int nColumn) {
  m_dX = (nColumn + g_pStageScene->m_ScrollX.m_nMargin) * 32.0 + m_SpriteRect.m_nBaseOffX + 0.5;
  ShiftXForScale(m_Chara.m_nScale, 1);
  ConstrainX();
}

void cActor::PlaceAtTileY(int nRow) {
  m_dY = (nRow + g_pStageScene->m_ScrollY.m_nMargin) * 32.0 + m_SpriteRect.m_nBaseOffY;
  AdjustYForScale(m_Chara.m_nScale, 1);
  ConstrainY();
}

void cActor::PlaceAtTile(int nColumn, int nRow) {
  PlaceAtTileX(nColumn);
  PlaceAtTileY(nRow);
}
