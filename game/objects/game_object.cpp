#include "game/objects/game_object.h"

#include <cmath>

#include "base/checked_access.h"
#include "game/core/numeric.h"
#include "game/flows/flow_instance.h"
#include "game/objects/map_cell_run.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"

namespace {

int CellOf(double edge) { return TruncToInt(edge) >> 5; }

}  // namespace

void cGameObject::CopyFrom(const cGameObject& other) { cGameObject::operator=(other); }

void cGameObject::InitBase(int nId, int nControl, int nPlayerNo, int nTeam, int nGraphicNo,
                           const int (*const* pAnimeTables)[3], int nAnimeStart, int nDrawOffX,
                           int nDrawOffY, int nWidth, int nHeight, int nDrawWidth, int nDrawHeight,
                           int nFacing, int nMoveType, std::int16_t nLinearIndex) {
  m_nId = nId;
  m_nControl = nControl;
  m_nPlayerNo = nPlayerNo;
  m_nTeam = nTeam;
  m_nGraphicNo = nGraphicNo;
  m_nLifeTime = kUnlimitedLifeTime;
  if (pAnimeTables) {
    m_Anime.Build(pAnimeTables);
    m_Anime.Play(nAnimeStart, true);
  }
  m_SpriteRect.m_nOffX = m_SpriteRect.m_nBaseOffX = nDrawOffX;
  m_SpriteRect.m_nOffY = m_SpriteRect.m_nBaseOffY = nDrawOffY;
  m_nWidth = m_nBaseWidth = nWidth;
  m_nHeight = m_nBaseHeight = nHeight;
  m_SpriteRect.m_nDrawW = m_SpriteRect.m_nBaseDrawW = nDrawWidth;
  m_SpriteRect.m_nDrawH = m_SpriteRect.m_nBaseDrawH = nDrawHeight;
  m_nFacing = nFacing;
  m_dVX = m_dVY = m_dAccelX = m_dAccelY = 0;
  m_bAppeared = m_bOnScreen = 0;
  m_bAppearedOnce = 0;
  m_nLinearIndex = nLinearIndex;
  SetMoveType(nMoveType);
}

void cGameObject::SetMoveType(int nType) {
  switch (nType) {
    case 0: m_bFlying = 0; m_nBlockMode = 1; break;
    case 1: m_bFlying = 1; m_nBlockMode = 0; break;
    case 2: m_bFlying = 1; m_nBlockMode = 1; break;
    case 3: m_bFlying = 1; m_nBlockMode = 2; break;
    default: break;
  }
}

void cGameObject::SetScale(int nNew, int nOld) {
  if (nNew == nOld) return;
  m_nWidth = m_nBaseWidth * nNew;
  m_nHeight = m_nBaseHeight * nNew;
  m_SpriteRect.m_nOffX = m_SpriteRect.m_nBaseOffX * nNew;
  m_SpriteRect.m_nOffY = m_SpriteRect.m_nBaseOffY * nNew;
  m_SpriteRect.m_nDrawW = m_SpriteRect.m_nBaseDrawW * nNew;
  m_SpriteRect.m_nDrawH = m_SpriteRect.m_nBaseDrawH * nNew;
  AdjustForScale(nNew, nOld);
  ScaleHitBoxes(nNew);
}

void cGameObject::AdjustForScale(int nNew, int nOld) {
  if (nNew == nOld) return;
  ShiftXForScale(nNew, nOld);
  AdjustYForScale(nNew, nOld);
}

void cGameObject::ShiftXForScale(int nNew, int nOld) {
  m_dX -= static_cast<double>((m_nBaseWidth / 2) * (nNew - nOld));
  ClampToStageX(2);
}

int cGameObject::ClampToStageX(int nMode) {
  const cScrollAxis& axis = g_pStageScene->m_ScrollX;
  const int w = m_nWidth;
  int code = 0;
  double& x = m_dX;
  switch (nMode) {
    case 0:
      if (x < axis.m_nMin) x = axis.m_nMin;
      else if (x + (w - 1) >= axis.m_nMax) x = axis.m_nMax - w;
      break;
    case 1:
      if (x < axis.m_nRangeMin) x = axis.m_nRangeMin;
      else if (x + (w - 1) >= axis.m_nRangeMax) x = axis.m_nRangeMax - w;
      else if (x < axis.m_nMin || x + (w - 1) >= axis.m_nMax) code = 1;
      break;
    case 2:
      if (x < 0) {
        x = 0;
        code = 3;
      } else if (x + (w - 1) >= axis.m_nOuter) {
        x = axis.m_nOuter - w;
        code = 3;
      } else if (x < axis.m_nRangeMin || x + (w - 1) >= axis.m_nRangeMax) {
        code = 2;
      } else if (x < axis.m_nMin || x + (w - 1) >= axis.m_nMax) {
        code = 1;
      }
      break;
    default: break;
  }
  m_dRight = w + x - 1;
  UpdateHitBoxesX();
  m_nCellLeft = CellOf(x);
  m_nCellRight = CellOf(m_dRight);
  return code;
}

int cGameObject::ClampToStageY(int nMode) {
  const cScrollAxis& axis = g_pStageScene->m_ScrollY;
  const int h = m_nHeight;
  int code = 0;
  double& y = m_dY;
  switch (nMode) {
    case 0:
      if (y < axis.m_nMin) y = axis.m_nMin;
      else if (y + (h - 1) >= axis.m_nMax) y = axis.m_nMax - h;
      break;
    case 1:
      if (y < axis.m_nRangeMin) y = axis.m_nRangeMin;
      else if (y + (h - 1) >= axis.m_nRangeMax) y = axis.m_nRangeMax - h;
      else if (y < axis.m_nMin) code = 1;
      else if (y + (h - 1) >= axis.m_nMax) code = 4;
      break;
    case 2:
      if (y < 0) {
        y = 0;
        code = 3;
      } else if (y + (h - 1) >= axis.m_nOuter) {
        y = axis.m_nOuter - h;
        code = 6;
      } else if (y < axis.m_nRangeMin) {
        code = 2;
      } else if (y + (h - 1) >= axis.m_nRangeMax) {
        code = 5;
      } else if (y < axis.m_nMin) {
        code = 1;
      } else if (y + (h - 1) >= axis.m_nMax) {
        code = 4;
      }
      break;
    default: break;
  }
  m_dBottom = h + y - 1;
  UpdateHitBoxesY();
  m_nCellTop = CellOf(y);
  m_nCellBottom = CellOf(m_dBottom);
  return code;
}

int cGameObject::StepX(int nMode) {
  const double max = g_LoadedStage.m_dMaxSpeedStep;
  if (m_dVX > max) m_dVX = max;
  else if (m_dVX < -max) m_dVX = -max;
  m_dX += m_dVX;
  return ClampToStageX(nMode);
}

int cGameObject::StepY(int nMode) {
  const double max = g_LoadedStage.m_dMaxSpeedStep;
  if (m_dVY > max) m_dVY = max;
  else if (m_dVY < -max) m_dVY = -max;
  m_dY += m_dVY;
  return ClampToStageY(nMode);
}

void cGameObject::UpdateScreenRect() {
  const double viewX = std::trunc(g_pStageScene->m_ScrollX.m_dPos);
  const double viewY = std::trunc(g_pStageScene->m_ScrollY.m_dPos);
  cSpriteRect& r = m_SpriteRect;
  r.m_nLeft = TruncToInt(m_dX - r.m_nOffX - viewX);
  r.m_nRight = r.m_nLeft + r.m_nDrawW - 1;
  r.m_nTop = TruncToInt(m_dY - r.m_nOffY - viewY);
  r.m_nBottom = r.m_nTop + r.m_nDrawH - 1;
}

bool cGameObject::IsOnScreen() const { return IsInViewRange(false, false); }

bool cGameObject::IsInViewRange(bool bSkipX, bool bSkipY) const {
  const double viewX = g_pStageScene->m_ScrollX.m_dPos;
  const double viewY = g_pStageScene->m_ScrollY.m_dPos;
  if (!bSkipX && !(m_dRight >= viewX && viewX + 640 > m_dX)) return false;
  if (!bSkipY && !(m_dBottom >= viewY && viewY + 480 > m_dY)) return false;
  return true;
}

bool cGameObject::IsInsideArea(bool bWholeMap) const {
  const cScrollAxis& ax = g_pStageScene->m_ScrollX;
  const cScrollAxis& ay = g_pStageScene->m_ScrollY;
  if (bWholeMap) return m_dX >= 0 && m_dRight < ax.m_nOuter && m_dY >= 0 && m_dBottom < ay.m_nOuter;
  return m_dX >= ax.m_nRangeMin && m_dRight < ax.m_nRangeMax && m_dY >= ay.m_nRangeMin &&
         m_dBottom < ay.m_nRangeMax;
}

bool cGameObject::IsOutOfBounds(const cEdScreenOutRule& rule) const {
  if (m_bOnScreen) return false;
  const double viewX = g_pStageScene->m_ScrollX.m_dPos;
  const double viewY = g_pStageScene->m_ScrollY.m_dPos;
  if (rule.m_bLeft && std::trunc(viewX - rule.m_nLeft * 32) >= m_dRight) return true;
  if (rule.m_bRight && std::trunc(viewX + rule.m_nRight * 32 + 640) <= m_dX) return true;
  if (rule.m_bBottom && std::trunc(rule.m_nBottom * 32 + viewY + 480) <= m_dY) return true;
  if (rule.m_bTop && std::trunc(viewY - rule.m_nTop * 32) >= m_dBottom) return true;
  const int extentX = g_pStageScene->m_ScrollX.m_nOuter;
  const int extentY = g_pStageScene->m_ScrollY.m_nOuter;
  return m_dX <= 0 || m_dRight >= extentX - 1 || m_dY <= 0 || m_dBottom >= extentY - 1;
}

bool cGameObject::OverlapsRect(double left, double top, double right, double bottom) const {
  return m_dX <= right && m_dRight >= left && m_dY <= bottom && m_dBottom >= top;
}

bool cGameObject::OverlapsBlock() const {
  const int corners[4][2] = {{m_nCellLeft, m_nCellTop},
                             {m_nCellLeft, m_nCellBottom},
                             {m_nCellRight, m_nCellTop},
                             {m_nCellRight, m_nCellBottom}};
  for (const auto& corner : corners) {
    cMapCell& cell = CheckedAt(g_pStageScene->m_vPlayMap, g_pStageScene->MapIndex(corner[0], corner[1]));
    if (GetCollision(cell, m_nTeam) != 0) return true;
  }
  return false;
}

void cGameObject::ApplyGravity() {
  if (!m_bFlying) m_dVY += g_LoadedStage.m_dGravityStep;
}

void cGameObject::DecayAccel(double& dSpeed, bool bDecay) const {
  if (!bDecay) return;
  if (dSpeed > 0) {
    dSpeed -= m_dInertiaDecay;
    if (dSpeed < 0) dSpeed = 0;
  } else if (dSpeed < 0) {
    dSpeed += m_dInertiaDecay;
    if (dSpeed > 0) dSpeed = 0;
  }
}

void cGameObject::MoveTargetPoint(int& x, int& y, const cCommandInstance& inst) const {
  const cEdMove* move = inst.m_pCommand ? inst.m_pCommand->m_pMove.get() : nullptr;
  const bool horizontalOnly = move && move->m_bHorizontalOnly;
  const bool verticalOnly = move && move->m_bVerticalOnly;
  if (horizontalOnly) {
    x = CenterX() + inst.m_nOffsetX;
  } else if (verticalOnly) {
    y = CenterY() + inst.m_nOffsetY;
  } else {
    x = CenterX() + inst.m_nOffsetX;
    y = CenterY() + inst.m_nOffsetY;
  }
}

namespace {

bool SnapsOnArrival(const cCommandInstance& inst) {
  return inst.m_pCommand && inst.m_pCommand->m_pMove && inst.m_pCommand->m_pMove->m_bSnapOnArrival;
}

}  // namespace

int cGameObject::MoveToward(cCommandInstance& inst, const cGameObject* pMover, double tx, double ty,
                            bool bFlag, bool bArriveTest) {
  int dir = 0;
  const int arrived = ComputeMoveVelocity(inst.m_dCmdVX, inst.m_dCmdVY, dir, pMover, CenterX(), CenterY(),
                                          tx, ty, inst.m_dMoveSpeed, bFlag, false, bArriveTest);
  inst.m_nTurn = dir;
  if (arrived && SnapsOnArrival(inst)) SetCenterStop(TruncToInt(tx), TruncToInt(ty), &inst);
  return arrived;
}

int cGameObject::MoveTowardX(cCommandInstance& inst, const cGameObject* pMover, double tx, bool bFlag,
                             bool bArriveTest) {
  int dir = 0;
  const int arrived = ComputeMoveVelocityX(inst.m_dCmdVX, inst.m_dCmdVY, dir, pMover, CenterX(), tx,
                                           inst.m_dMoveSpeed, bFlag, bArriveTest);
  inst.m_nTurn = dir;
  if (arrived && SnapsOnArrival(inst)) SetCenterXStop(TruncToInt(tx), &inst);
  return arrived;
}

int cGameObject::MoveTowardY(cCommandInstance& inst, const cGameObject* pMover, double ty, bool bFlag,
                             bool bArriveTest) {
  int dir = 0;
  const int arrived = ComputeMoveVelocityY(inst.m_dCmdVX, inst.m_dCmdVY, dir, pMover, CenterY(), ty,
                                           inst.m_dMoveSpeed, bFlag, bArriveTest);
  inst.m_nTurn = dir;
  if (arrived && SnapsOnArrival(inst)) SetCenterYStop(TruncToInt(ty), &inst);
  return arrived;
}

namespace {

// Solves the velocity again so that the motion relative to the drifting view
// points along (dx, dy) at the same speed. False (velocity untouched) where
// the solution does not exist: a zero denominator or time, or a drift across
// the wanted direction faster than the speed (negative discriminant).
bool SolveAgainstDrift(double& vx, double& vy, double dx, double dy, double sx, double sy, double speed) {
  const bool vertical = std::fabs(dy) >= std::fabs(dx);
  const double dThis = vertical ? dy : dx;
  const double dOther = vertical ? dx : dy;
  const double sThis = vertical ? sy : sx;
  const double sOther = vertical ? sx : sy;
  if (dThis == 0) return false;
  const double r = dOther / dThis;
  const double a = 1 + r * r;
  const double b = -2 * (r * r * sThis - r * sOther);
  const double c = r * r * sThis * sThis + sOther * sOther - 2 * r * sThis * sOther - speed * speed;
  const double disc = b * b - 4 * a * c;
  if (disc < 0) return false;
  double v = (-b + std::sqrt(disc)) / (2 * a);
  v = dThis < 0 ? -std::fabs(v) : std::fabs(v);
  const double rel = v - sThis;
  if (rel == 0) return false;
  const double time = dThis / rel;
  if (time == 0) return false;
  const double other = dOther / time + sOther;
  (vertical ? vy : vx) = v;
  (vertical ? vx : vy) = other;
  return true;
}

int DirOf(double vx) { return vx > 0 ? 2 : vx < 0 ? 1 : 0; }

}  // namespace

int ComputeMoveVelocity(double& vx, double& vy, int& dir, const cGameObject* pMover, double x0, double y0,
                        double tx, double ty, double speed, bool bFlag, bool bNoFlee, bool bArriveTest) {
  vx = vy = 0;
  const double sx = g_pStageScene->m_ScrollX.DriftSpeed();
  const double sy = g_pStageScene->m_ScrollY.DriftSpeed();
  const double dx = tx - x0;
  const double dy = ty - y0;
  const bool flee = !bNoFlee && speed < 0;
  if (flee) {
    const double s = speed * kInvSqrt2;
    vx = tx <= x0 ? -s : s;
    vy = ty <= y0 ? -s : s;
  } else {
    double d = std::sqrt(dx * dx + dy * dy);
    if (d == 0) d = 1;
    vx = speed * dx / d;
    vy = speed * dy / d;
  }
  const double straightX = vx, straightY = vy;
  if (g_SystemData.m_bNoScrollCarry) {
    vx += sx;
    vy += sy;
  } else if (pMover) {
    const bool synced = pMover->m_bScrollSync != 0;
    if (bFlag ? synced : !synced) {
      vx -= sx;
      vy -= sy;
    }
    // Fleeing keeps its diagonal: solving toward the target would turn it round.
    if (!flee && !bFlag && synced && (sx != 0 || sy != 0)) {
      if (!SolveAgainstDrift(vx, vy, dx, dy, sx, sy, speed)) {
        vx = straightX;
        vy = straightY;
        dir = DirOf(vx);
        return 0;
      }
    }
  }
  dir = DirOf(vx);
  if (flee) return 0;
  return bArriveTest && std::fabs(dx) < std::fabs(speed) && std::fabs(dy) < std::fabs(speed) ? 1 : 0;
}

int ComputeMoveVelocityX(double& vx, double& vy, int& dir, const cGameObject* pMover, double x0, double tx,
                         double speed, bool bFlag, bool bArriveTest) {
  if (x0 >= tx) {
    dir = 1;
    vx = -speed;
  } else {
    dir = 2;
    vx = speed;
  }
  if (!bFlag && pMover && pMover->m_bScrollSync && g_SystemData.m_bNoScrollCarry) {
    vx += g_pStageScene->m_ScrollX.DriftSpeed();
  }
  vy = 0;
  return bArriveTest && std::fabs(speed) > std::fabs(x0 - tx) ? 1 : 0;
}

int ComputeMoveVelocityY(double& vx, double& vy, int& dir, const cGameObject* pMover, double y0, double ty,
                         double speed, bool bFlag, bool bArriveTest) {
  dir = 0;
  vy = y0 >= ty ? -speed : speed;
  if (!bFlag && pMover && pMover->m_bScrollSync && g_SystemData.m_bNoScrollCarry) {
    vy += g_pStageScene->m_ScrollY.DriftSpeed();
  }
  vx = 0;
  return bArriveTest && std::fabs(speed) > std::fabs(y0 - ty) ? 1 : 0;
}

namespace {

void AdvancePhase(double& dPhase, double dStep, double u) {
  dPhase += dStep;
  if (dPhase >= 360 * u) dPhase -= 360 * u;
}

}  // namespace

double WaveSpeedCos(int a, int b, double& dPhase, double dStep, double dOffset) {
  const double u = g_LoadedStage.m_dSubSteps;
  const double k = b * kPi / 180;
  const double value = a * k * std::cos(k * (dPhase / u + dOffset)) / u;
  AdvancePhase(dPhase, dStep, u);
  return value;
}

double WaveAccelSin(int a, int b, double& dPhase, double dStep, double dOffset) {
  const double u = g_LoadedStage.m_dSubSteps;
  const double k = b * kPi / 180;
  const double value = -(a * k * k * std::sin(k * (dPhase / u + dOffset))) / (u * u);
  AdvancePhase(dPhase, dStep, u);
  return value;
}

double SpeedStepRate(double x) { return x / g_LoadedStage.m_dSubSteps / 60; }

bool IsInBand(int a, int w, int lo, int hi, int margin, int before, int after, bool bWholeWhenZero) {
  const int h = w / 2;
  const int centre = a + h;
  int lower = (before > 0 ? a : centre) - before;
  int upper = (after > 0 ? centre + h : centre) + after;
  if (bWholeWhenZero && before == 0 && after == 0) {
    lower = a;
    upper = centre + h;
  }
  return lower <= hi - margin && lo + margin <= upper;
}
