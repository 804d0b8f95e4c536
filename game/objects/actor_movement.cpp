// The actor's part of the movement commands: direction codes, the velocity
// of each kind of move, and handing a velocity to the actor.
//
// Angles are degrees; a velocity at angle t with speed s is
// (-s cos t, -s sin t): 0 points left, 90 up, 180 right, 270 down.
#include <cmath>

#include "game/core/numeric.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "game/objects/map_cell_run.h"
#include "game/stage/stage_play.h"
#include "model/definitions/move.h"

namespace {

// Facing request of a resolved direction code: 1 left, 2 right, 0 none
// (vertical codes and codes outside the moves).
int TurnOfDirection(int d) {
  switch (d) {
    case MOVEDIR_LEFT: case MOVEDIR_UP_LEFT: case MOVEDIR_DOWN_LEFT: return 1;
    case MOVEDIR_RIGHT: case MOVEDIR_UP_RIGHT: case MOVEDIR_DOWN_RIGHT: return 2;
    default: return 0;
  }
}

bool IsMoveDirection(int d) { return d >= MOVEDIR_LEFT && d <= MOVEDIR_DOWN_RIGHT; }

// The rider standing on an actor: a stage character (not the hero) of that id.
const cActor* FindRider(int nId) {
  for (const std::list<cActor*>& team : g_pStageScene->m_vTeamCharacter) {
    for (const cActor* actor : team) {
      if (actor && actor != g_pStageScene->m_pHero && actor->m_nId == nId) return actor;
    }
  }
  return nullptr;
}

// One axis of an inertial move: the added speed accelerates toward the
// command's velocity v, by the turn factor faster (or slower) against it.
void Accelerate(double& dAccel, std::int32_t& bDecay, double v, const cEdMove& move, double dMax) {
  double h = SpeedStepRate(v);
  if ((dAccel < 0 && v > 0) || (dAccel > 0 && v < 0)) {
    h *= move.m_dTurnFactor;
  } else {
    bDecay = 0;
  }
  dAccel += h;
  if (dAccel > dMax) dAccel = dMax;
  if (dAccel < -dMax) dAccel = -dMax;
}

}  // namespace

bool DirectionUnit(int nDirection, double& ux, double& uy) {
  const double c = kInvSqrt2;
  ux = uy = 0;
  switch (nDirection) {
    case MOVEDIR_LEFT: ux = -1; break;
    case MOVEDIR_RIGHT: ux = 1; break;
    case MOVEDIR_UP: uy = -1; break;
    case MOVEDIR_DOWN: uy = 1; break;
    case MOVEDIR_UP_LEFT: ux = -c; uy = -c; break;
    case MOVEDIR_DOWN_LEFT: ux = -c; uy = c; break;
    case MOVEDIR_UP_RIGHT: ux = c; uy = -c; break;
    case MOVEDIR_DOWN_RIGHT: ux = c; uy = c; break;
    default: return false;
  }
  return true;
}

int cActor::ResolveDirection(int nCode) const {
  const bool right = m_nFacing == 1;
  switch (nCode) {
    case MOVEDIR_FRONT: return right ? MOVEDIR_RIGHT : MOVEDIR_LEFT;
    case MOVEDIR_BACK: return right ? MOVEDIR_LEFT : MOVEDIR_RIGHT;
    case MOVEDIR_FRONT_Y: return right ? MOVEDIR_DOWN : MOVEDIR_UP;
    case MOVEDIR_BACK_Y: return right ? MOVEDIR_UP : MOVEDIR_DOWN;
    case MOVEDIR_INPUT: {
      const cFlowInstance* flow = g_pStageScene->m_pCurFlow;
      int d = DirectionFromInputKey(flow ? flow->m_nTriggerKey : 0, right);
      if (!m_bFlying) {
        if (d == MOVEDIR_UP_LEFT || d == MOVEDIR_DOWN_LEFT) d = MOVEDIR_LEFT;
        if (d == MOVEDIR_UP_RIGHT || d == MOVEDIR_DOWN_RIGHT) d = MOVEDIR_RIGHT;
      }
      return d;
    }
    default: return nCode;
  }
}

void cActor::DirectionSpeed(double s, int nCode, double& vx, double& vy, std::int32_t& nTurn) const {
  vx = vy = 0;
  nTurn = 0;
  const int d = ResolveDirection(nCode);
  double ux = 0, uy = 0;
  if (!DirectionUnit(d, ux, uy)) return;
  vx = s * ux;
  const double y = s * uy;
  if (m_bFlying) vy = y;
  if (m_Chara.m_bFixedFacing == 0) nTurn = TurnOfDirection(d);
}

void cActor::DirectionAngleSpeed(double s, int nCode, int nAngle, double& vx, double& vy,
                                 std::int32_t& nTurn) const {
  static constexpr int kBaseAngle[] = {0, 0, 0, 180, 0, 0, 90, 270, 45, 315, 135, 225};
  nTurn = 0;
  const int d = ResolveDirection(nCode);
  const int base = IsMoveDirection(d) ? kBaseAngle[d] : 0;
  const double t = (nAngle + base) * kPi / 180;
  vx = -s * std::cos(t);
  vy = m_bFlying ? -s * std::sin(t) : 0;
  if (m_Chara.m_bFixedFacing == 0 && IsMoveDirection(d)) nTurn = TurnOfDirection(d);
}

void cActor::TargetPointSpeed(double s, int ox, int oy, const cEdMove& move, double& vx, double& vy,
                              std::int32_t& nTurn, std::int32_t& nRemain) const {
  const cScrollAxis& ax = g_pStageScene->m_ScrollX;
  const cScrollAxis& ay = g_pStageScene->m_ScrollY;
  const double viewX = ax.m_dPos;
  const double viewY = ay.m_dPos;
  const double cx = CenterX() + viewX;
  const double cy = CenterY() + viewY;
  double dx = 0, dy = 0;
  switch (move.m_nCoordKind) {
    case 0: dx = m_dSpawnX + ox - cx; dy = m_dSpawnY + oy - cy; break;
    case 1: dx = ox; dy = oy; break;
    case 2:
      dx = ax.m_nMargin * 32.0 + ox + 16 - cx;
      dy = ay.m_nMargin * 32.0 + oy + 16 - cy;
      break;
    case 3: dx = viewX + ox + 16 - cx; dy = viewY + oy + 16 - cy; break;
    default: break;
  }
  if (!move.m_bUseX) dx = 0;
  if (!move.m_bUseY) dy = 0;
  const double dist = std::sqrt(dx * dx + dy * dy);
  vx = vy = 0;
  if (dist > 0) {
    vx = move.m_bVerticalOnly ? 0 : dx / dist * s;
    vy = move.m_bHorizontalOnly ? 0 : dy / dist * s;
  }
  nTurn = 0;
  if (m_Chara.m_bFixedFacing == 0) nTurn = vx < -1e-8 ? 1 : vx > 1e-8 ? 2 : 0;
  if (move.m_bEndOnArrival && s != 0) {
    nRemain = TruncToInt(std::fabs(dist) / std::fabs(s));
    if (move.m_bSnapOnArrival && nRemain <= 0) {
      if (move.m_bUseX && !move.m_bVerticalOnly) {
        vx = 0;
        nTurn = 0;
      }
      if (move.m_bUseY && !move.m_bHorizontalOnly) vy = 0;
    }
  }
}

void cActor::GroundTurnStep(double s, double& vx, double& vy, std::int32_t& nTurn) {
  vy = 0;
  nTurn = 0;
  const double b = FacingSign() * s;
  vx = b;
  if (m_bRidden) {
    nTurn = m_nFacing == 1 ? 1 : 2;
    vx = -b;
    if (const cActor* rider = FindRider(m_nRiderId)) {
      const double dx = rider->m_dX - m_dRiderX;
      const bool behind = (m_nFacing == 1 && dx < 0) || (m_nFacing == 0 && dx > 0);
      vx = behind ? 2 * dx - b : dx - b;
    }
    m_bRidden = 0;
    return;
  }
  const int lastRow = g_pStageScene->m_ScrollY.m_nPitch - 1;
  int row = TruncToInt(m_dBottom + 1.1) / 32;
  if (row > lastRow) row = lastRow;
  const bool left = GetCollision(g_pStageScene->MapCell(m_nCellLeft, row), m_nTeam) != 0;
  const bool right = GetCollision(g_pStageScene->MapCell(m_nCellRight, row), m_nTeam) != 0;
  if (left && !right) nTurn = 1;
  if (!left && right) nTurn = 2;
}

int cActor::MoveTowardByAxes(cCommandInstance& inst, const cEdMove& move, const cGameObject* pMover, double tx,
                             double ty) {
  const bool flag = m_bScrollSync != 0;
  const bool snap = move.m_bSnapOnArrival != 0;
  if (move.m_bHorizontalOnly) return MoveTowardX(inst, pMover, tx, flag, snap);
  if (move.m_bVerticalOnly) return MoveTowardY(inst, pMover, ty, flag, snap);
  return MoveToward(inst, pMover, tx, ty, flag, snap);
}

void cActor::AvoidOffscreenSpeed(double s, int nCode, double& vx, double& vy) const {
  vx = vy = 0;
  const int d = nCode == MOVEDIR_INPUT ? nCode : ResolveDirection(nCode);
  const bool left = d == MOVEDIR_LEFT || d == MOVEDIR_UP_LEFT || d == MOVEDIR_DOWN_LEFT;
  const bool right = d == MOVEDIR_RIGHT || d == MOVEDIR_UP_RIGHT || d == MOVEDIR_DOWN_RIGHT;
  const bool up = d == MOVEDIR_UP || d == MOVEDIR_UP_LEFT || d == MOVEDIR_UP_RIGHT;
  const bool down = d == MOVEDIR_DOWN || d == MOVEDIR_DOWN_LEFT || d == MOVEDIR_DOWN_RIGHT;
  const cSpriteRect& r = m_SpriteRect;
  const cScrollAxis& ax = g_pStageScene->m_ScrollX;
  const cScrollAxis& ay = g_pStageScene->m_ScrollY;
  if (ax.DriftSpeed() == 0) {
    if (left && r.m_nLeft > 608) vx = -s;
    if (right && r.m_nRight < 32) vx = s;
    if (up && r.m_nTop > 448) vy = -s;
    if (down && r.m_nBottom < 32) vy = s;
    return;
  }
  const double sx = ax.m_dSpeed, sy = ay.m_dSpeed;
  const double viewX = ax.m_dPos, viewY = ay.m_dPos;
  const double dx = std::fabs(sx + 1), dy = std::fabs(sy + 1);
  const double spanX = ax.m_nOuter - 640.0, spanY = ay.m_nOuter - 480.0;
  if (left && r.m_nLeft > 608 - dx && viewX > 0 && sx + viewX <= spanX) vx = sx - s;
  if (right && r.m_nRight < dx + 32 && sx + viewX > 0 && viewX < spanX) vx = sx + s;
  if (up && r.m_nTop > 448 - dy && viewY > 0 && sy + viewY <= spanY) vy = sy - s;
  if (down && r.m_nBottom < dy + 32 && sy + viewY > 0 && viewY < spanY) vy = sy + s;
}

void cActor::ApplyMove(double vx, double vy, int nTurn, cCommandInstance& inst, const cEdMove& move,
                       bool bForceTurn) {
  if (!move.m_bKeepFacing && (m_Chara.m_bFixedFacing == 0 || bForceTurn)) {
    if (nTurn == 1) m_nFacing = 0;
    if (nTurn == 2) m_nFacing = 1;
  }
  if (move.m_bInertia) {
    Accelerate(m_dAccelX, m_bDecayAccelX, vx, move, inst.m_dMaxSpeed);
    Accelerate(m_dAccelY, m_bDecayAccelY, vy, move, inst.m_dMaxSpeed);
  } else {
    m_dVX += vx;
    m_dVY += vy;
  }
  if (!move.m_bNoWalkAnime) {
    m_bMovedByCommand = 1;
    m_Anime.Change(m_bFlying ? 3 : 1, true);
  }
}
