// The shot object: set-up, the per-sub-step motion frame, steps and clamps,
// the block test, swords at their owner, drawing and unlinking. The
// movement kinds are in shot_motion.cpp.
#include "game/objects/shot.h"

#include <algorithm>
#include <cmath>

#include "base/checked_access.h"
#include "game/core/numeric.h"
#include "game/objects/actor.h"
#include "game/objects/character_search.h"
#include "game/objects/map_cell_run.h"
#include "game/stage/stage_play.h"
#include "model/database/database.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"

namespace {

// Sequence 0: a sword's three frames, then the end; sequence 1: a shot's
// two frames, looping. The frame number is the column on the sheet.
const int kSwordAnime[][3] = {{0, 7, 0}, {1, 7, 0}, {2, 7, 0}, {ANIME_END, 0, 0}};
const int kShotAnime[][3] = {{0, 8, 0}, {1, 8, 0}, {ANIME_LOOP, 0, 0}};
const int (*const kShotAnimeTables[])[3] = {kSwordAnime, kShotAnime, nullptr};

constexpr int kShotCell = 16;
constexpr int IMAGE_SHOTS = 20;  // + facing

// Speed of automatic scrolling along an axis, 0 while it is stopped.
double ScrollSpeed(const cScrollAxis& axis) { return axis.m_bAutoStopped ? 0.0 : axis.m_dSpeed; }

const cEdSwordType& SwordType(const cEdShot& shot) {
  return CheckedAt(g_Database.m_vSwordType, static_cast<std::int8_t>(shot.m_nMoveKind));
}

}  // namespace

cShot::~cShot() {
  if (!m_pShotTarget) return;
  std::vector<cShot*>& shots = m_pShotTarget->m_vShots;
  shots.erase(std::remove(shots.begin(), shots.end(), this), shots.end());
}

void cShot::ScaleHitBoxes(int nNew) {
  m_HitBox.m_nOffX = m_HitBox.m_nBaseOffX * nNew;
  m_HitBox.m_nOffY = m_HitBox.m_nBaseOffY * nNew;
  m_HitBox.m_nWidth = m_HitBox.m_nBaseWidth * nNew;
  m_HitBox.m_nHeight = m_HitBox.m_nBaseHeight * nNew;
}

void cShot::AdjustYForScale(int nNew, int nOld) {
  m_dY -= static_cast<double>((m_nBaseHeight / 2) * (nNew - nOld));
  ClampToStageY(2);
}

void cShot::UpdateHitBoxesX() {
  m_HitBox.m_dLeft = m_dX + m_HitBox.m_nOffX;
  m_HitBox.m_dRight = m_HitBox.m_dLeft + m_HitBox.m_nWidth - 1;
}

void cShot::UpdateHitBoxesY() {
  m_HitBox.m_dTop = m_dY + m_HitBox.m_nOffY;
  m_HitBox.m_dBottom = m_HitBox.m_dTop + m_HitBox.m_nHeight - 1;
}

const cEdSwordFrame* cShot::SwordFrame() const {
  const std::vector<cEdSwordFrame>& frames = SwordType(m_Shot).m_vFrames;
  if (frames.empty()) return nullptr;
  return &CheckedAt(frames, m_nSwordFrame);
}

void cShot::Init(int nSerial, cActor* pShooter, int nKind, const cEdShot& shot, const cShotLaunch& launch) {
  m_Shot = shot;
  if (m_Shot.m_nSize == 0) m_Shot.m_nSize = 1;
  m_nSwordFrame = m_nSwordFrameSteps = 0;
  const int size = m_Shot.m_nSize;
  const cEdStage& stage = g_LoadedStage;
  const double divisor = stage.m_dSubSteps;

  if (launch.dVX > 0) m_nFacing = 1;
  else if (launch.dVX == 0) m_nFacing = pShooter->m_nFacing;
  else m_nFacing = 0;

  const bool playerShot = pShooter->m_nControl == 0;
  m_bIsShot = nKind == SHOT_KIND_SWORD ? 0 : 1;
  int boxW = 0, boxH = 0, offX = 0, offY = 0, anime = 1;
  int hitW = 0, hitH = 0, hitOffX = 0, hitOffY = 0;
  if (!m_bIsShot) {
    const cEdSwordFrame* frame = SwordFrame();
    boxW = hitW = frame ? frame->m_nWidth : 0;
    boxH = hitH = frame ? frame->m_nHeight : 0;
    anime = 0;
  } else {
    boxW = playerShot ? stage.m_nPlayerShotSizeW : stage.m_nCharaShotSizeW;
    boxH = playerShot ? stage.m_nPlayerShotSizeH : stage.m_nCharaShotSizeH;
    offX = kShotCell / 2 - boxW / 2;
    offY = kShotCell / 2 - boxH / 2;
    hitW = playerShot ? stage.m_nPlayerShotBoxW : stage.m_nCharaShotBoxW;
    hitH = playerShot ? stage.m_nPlayerShotBoxH : stage.m_nCharaShotBoxH;
    hitOffX = kShotCell / 2 - hitW / 2;
    hitOffY = kShotCell / 2 - hitH / 2;
  }
  InitBase(nSerial, pShooter->m_nControl, pShooter->m_nPlayerNo, m_Shot.m_nTeam, m_Shot.m_nGraphicNo,
           kShotAnimeTables, anime, offX, offY, boxW, boxH, kShotCell, kShotCell, m_nFacing, 1,
           static_cast<std::int16_t>(launch.nVolley));
  m_nOwnerId = pShooter->m_nId;
  if (m_Shot.m_bShooterTeam) {
    m_nTeam = pShooter->m_nTeam;
    m_Shot.m_nTeam = static_cast<std::uint8_t>(pShooter->m_nTeam);
  }
  m_HitBox = {};
  m_HitBox.m_nOffX = m_HitBox.m_nBaseOffX = hitOffX;
  m_HitBox.m_nOffY = m_HitBox.m_nBaseOffY = hitOffY;
  m_HitBox.m_nWidth = m_HitBox.m_nBaseWidth = hitW;
  m_HitBox.m_nHeight = m_HitBox.m_nBaseHeight = hitH;

  SetScale(size, 1);
  m_dX = launch.nX;
  ClampX();
  m_dY = launch.nY;
  ClampToStageY(2);

  m_dBaseVX = launch.dVX / divisor;
  m_dBaseVY = launch.dVY / divisor;
  m_bAccel = m_Shot.m_bAccel;
  m_dAccel = 0;
  m_dAccelX = m_dAccelY = 0;
  if (m_bAccel) {
    m_dAccel = (m_Shot.m_nAccel + m_Shot.m_nAccelStep * launch.nVolley) * 0.1 / divisor;
    SetVelocityFromDirection(m_dAccel, launch.dVX, launch.dVY);
  }
  m_dVX = m_dVY = 0;
  m_bScrollSync = m_Shot.m_bScrollSync;
  if (m_Shot.m_bLifetime) {
    m_nLifetime = CapToInt(static_cast<std::int64_t>(launch.nLifetime) * stage.m_nSubSteps * 6);
  }
  if (m_Shot.m_bRange) {
    const int w = launch.nWidth;
    const int distance = std::max(launch.nRange * 16 - w, 0);
    const double perSubStep = std::fabs(launch.dSpeed / divisor);
    if (distance > 0 && perSubStep > 0) {
      m_nRange = TruncToInt(distance / perSubStep);
    } else {
      m_nRange = TruncToInt(divisor);
      if (TruncToInt(divisor * perSubStep) > w) m_nRange = TruncToInt(w / perSubStep);
    }
    if (m_nRange < divisor) {
      // Too fast for its range: it covers the distance in one frame, or
      // stays where it is when it was launched without a direction.
      const double sum = std::fabs(launch.dVX) + std::fabs(launch.dVY);
      const double perStep = distance / divisor;
      m_dBaseVX = sum > 0 ? perStep * launch.dVX / sum : 0;
      m_dBaseVY = sum > 0 ? perStep * launch.dVY / sum : 0;
      m_nRange = TruncToInt(divisor);
    }
  }
  m_nMoveStep = m_nMoveStart = m_nMoveEnd = 0;
  m_bMoveDone = 0;
  m_dWavePhase = m_dWaveCos = m_dWaveSin = 0;
  m_pShotTarget = pShooter->m_pTarget;
}

void cShot::SetVelocityFromDirection(double dMagnitude, double dx, double dy) {
  if (dx != 0 && dy != 0) {
    const double len = std::sqrt(dx * dx + dy * dy);
    m_dAccelX = dMagnitude * dx / len;
    m_dAccelY = dMagnitude * dy / len;
  } else if (dx != 0) {
    m_dAccelX = dx > 0 ? dMagnitude : -dMagnitude;
    m_dAccelY = 0;
  } else if (dy != 0) {
    m_dAccelX = 0;
    m_dAccelY = dy > 0 ? dMagnitude : -dMagnitude;
  } else {
    m_dAccelX = m_dAccelY = 0;
  }
}

int cShot::UpdateMotion() {
  if (!m_bIsShot) return UpdateSword();
  const cStagePlay& stage = *g_pStageScene;
  const bool carried = !g_SystemData.m_bNoScrollCarry && m_bScrollSync;
  m_dVX = carried ? ScrollSpeed(stage.m_ScrollX) : 0;
  if (m_bFlying) m_dVY = carried ? ScrollSpeed(stage.m_ScrollY) : 0;

  Move();

  if (m_bAccel) {
    m_dBaseVX += m_dAccelX;
    (m_bFlying ? m_dBaseVY : m_dVY) += m_dAccelY;
  }
  m_dVX += m_dBaseVX;
  if (m_bFlying) m_dVY += m_dBaseVY;

  if (m_Shot.m_bLifetime) {
    if (m_nLifetime <= 0) return 1;
    --m_nLifetime;
  }
  if (m_dVX != 0) m_nFacing = m_dVX > 0 ? 1 : 0;
  if (m_Shot.m_bRange) {
    if (m_nRange > 0) {
      --m_nRange;
    } else {
      if (!m_Shot.m_bStopAtRange) return 1;
      m_dBaseVX = m_dBaseVY = 0;
      m_Shot.m_nMoveKind = SHOTMOVE_STRAIGHT;
      const bool synced = m_bScrollSync != 0;
      m_dVX = synced && stage.m_ScrollX.m_bAuto ? ScrollSpeed(stage.m_ScrollX) : 0;
      m_dVY = synced && m_bFlying && stage.m_ScrollY.m_bAuto ? ScrollSpeed(stage.m_ScrollY) : 0;
    }
  }
  return 0;
}

int cShot::ClampX() {
  // Only the map's edges hold a shot; the stage's own edges do not.
  return ClampToStageX(2) == 3 ? 3 : 0;
}

int cShot::StepX() {
  if (m_dAccelX != 0) m_dVX += m_dAccelX;
  if (m_dVX == 0) return 0;
  const double max = g_LoadedStage.m_dMaxSpeedStep;
  m_dVX = std::clamp(m_dVX, -max, max);
  m_dX += m_dVX;
  return ClampX();
}

int cShot::StepY() {
  if (m_dAccelY != 0) m_dVY += m_dAccelY;
  if (m_dVY == 0) return 0;
  return cGameObject::StepY(2);
}

int cShot::HitsBlock() {
  if (m_Shot.m_bThroughBlocks == 1) return 0;
  cStagePlay& stage = *g_pStageScene;
  const auto blocks = [&stage, this](double x, double y) {
    cMapCell& cell = CheckedAt(stage.m_vPlayMap, stage.MapIndex(TruncToInt(x) >> 5, TruncToInt(y) >> 5));
    return GetCollision(cell, m_nTeam) != 0;
  };
  if (m_nWidth <= kTileSize) {
    return blocks(m_dX, m_dY) || blocks(m_dX, m_dBottom) || blocks(m_dRight, m_dY) || blocks(m_dRight, m_dBottom)
               ? 1
               : 0;
  }
  // A grid of points a cell apart, its last row and column on the far edges.
  for (double y = m_dY;; y += kTileSize) {
    const double py = std::min(y, m_dBottom);
    for (double x = m_dX;; x += kTileSize) {
      const double px = std::min(x, m_dRight);
      if (blocks(px, py)) return 1;
      if (px >= m_dRight) break;
    }
    if (py >= m_dBottom) break;
  }
  return 0;
}

int cShot::UpdateSword() {
  cActor* owner = FindCharacterById(m_nOwnerId);
  const cEdSwordFrame* frame = SwordFrame();
  if (!owner || !frame) return 1;
  owner->UpdateScreenRect();
  m_nFacing = owner->m_nFacing;
  const int size = m_Shot.m_nSize;
  if (m_nSwordFrameSteps == 0) {
    m_nBaseWidth = frame->m_nWidth;
    m_nBaseHeight = frame->m_nHeight;
    m_nWidth = m_nBaseWidth * size;
    m_nHeight = m_nBaseHeight * size;
    m_HitBox.m_nBaseOffX = m_HitBox.m_nBaseOffY = m_HitBox.m_nOffX = m_HitBox.m_nOffY = 0;
    m_HitBox.m_nBaseWidth = frame->m_nWidth;
    m_HitBox.m_nBaseHeight = frame->m_nHeight;
    m_HitBox.m_nWidth = m_nWidth;
    m_HitBox.m_nHeight = m_nHeight;
  }
  const cStagePlay& stage = *g_pStageScene;
  const int viewX = TruncToInt(stage.m_ScrollX.m_dPos);
  const int viewY = TruncToInt(stage.m_ScrollY.m_dPos);
  const cSpriteRect& r = owner->m_SpriteRect;
  const int left = r.m_nLeft + viewX, right = r.m_nRight + viewX;
  const int top = r.m_nTop + viewY, bottom = r.m_nBottom + viewY;
  const int centreX = left + r.m_nDrawW / 2, centreY = top + r.m_nDrawH / 2;
  const bool right_ = owner->m_nFacing == 1;
  const int w = m_nWidth, h = m_nHeight;
  double x = 0, y = 0;
  switch (frame->m_nPosition) {
    case SWORD_POS_BACK:
      m_nFacing = right_ ? 0 : 1;
      x = right_ ? left - w : right + 1;
      y = centreY - h / 2;
      break;
    case SWORD_POS_ABOVE:
      x = centreX - w / 2;
      y = top - h;
      break;
    case SWORD_POS_BELOW:
      x = centreX - w / 2;
      y = bottom + 1;
      break;
    default:
      x = right_ ? right + 1 : left - w;
      y = centreY - h / 2;
      break;
  }
  const double dx = static_cast<double>(size) * frame->m_nOffsetX;
  const double dy = static_cast<double>(size) * frame->m_nOffsetY;
  x += right_ && frame->m_bMirrorX ? -dx : dx;
  y += right_ && frame->m_bMirrorY ? -dy : dy;
  m_dX = x;
  ClampX();
  m_dY = y;
  ClampToStageY(2);

  ++m_nSwordFrameSteps;
  const std::int64_t frameSteps = static_cast<std::int64_t>(frame->m_nDuration) * g_LoadedStage.m_nSubSteps * 6;
  if (m_nSwordFrameSteps > frameSteps) {
    m_nSwordFrameSteps = 0;
    const int frames = static_cast<int>(SwordType(m_Shot).m_vFrames.size());
    if (++m_nSwordFrame >= frames) return 1;
  }
  return 0;
}

void cShot::Draw(cDrawTarget& target, sSurface dst, bool bPaused) {
  if (m_Shot.m_bHidden) return;
  const cStagePlay& stage = *g_pStageScene;
  const int size = m_Shot.m_nSize;
  if (m_bIsShot) {
    const int f = bPaused ? m_Anime.GetFrame() : m_Anime.Step();
    const int g = m_nGraphicNo;
    const int sx = (f + (g / 30) * 2) * kShotCell;
    const int sy = (g % 30) * kShotCell;
    UpdateScreenRect();
    const int x = m_SpriteRect.m_nLeft, y = m_SpriteRect.m_nTop;
    const sSurface sheet{SURFACES_IMAGE, ShotSurfaceIndex(target, IMAGE_SHOTS + m_nFacing, size > 1)};
    if (size == 1) {
      target.Blt(dst, x, y, kShotCell, kShotCell, sheet, sx, sy, kColourKey);
    } else {
      target.BltStretch(dst, x, y, kShotCell * size, kShotCell * size, sheet, sx, sy, kShotCell, kShotCell,
                        kColourKey);
    }
    return;
  }
  const cEdSwordFrame* frame = SwordFrame();
  if (!frame) return;
  const int type = static_cast<std::int8_t>(m_Shot.m_nMoveKind);
  const int x = TruncToInt(m_dX - std::trunc(stage.m_ScrollX.m_dPos));
  const int y = TruncToInt(m_dY - std::trunc(stage.m_ScrollY.m_dPos));
  if (size == 1) {
    const sSurface swords{SURFACES_SWORD, 4 * type + m_nFacing};
    target.Blt(dst, x, y, frame->m_nWidth, frame->m_nHeight, swords, frame->m_nSrcX, frame->m_nSrcY, kColourKey);
  } else {
    const sSurface swords{SURFACES_SWORD, 4 * type + m_nFacing + 2};
    target.BltStretch(dst, x, y, frame->m_nWidth * size, frame->m_nHeight * size, swords, frame->m_nSrcX,
                      frame->m_nSrcY, frame->m_nWidth, frame->m_nHeight, kColourKey);
  }
}

bool cShot::HasHit(const cActor& actor) const {
  return std::find(m_vHitActorIds.begin(), m_vHitActorIds.end(), actor.m_nId) != m_vHitActorIds.end();
}

void cShot::RecordHit(const cActor& actor) {
  if (!HasHit(actor)) m_vHitActorIds.push_back(actor.m_nId);
}
