// The hero's set-up, boxes, view follow and movement.
#include "game/objects/player.h"

#include <algorithm>

#include "base/checked_access.h"
#include "base/input_state.h"
#include "game/core/numeric.h"
#include "game/stage/stage_play.h"
#include "model/stage/stage.h"

namespace {

void PlaceBoxX(sHitBox& box, int x) {
  box.m_dLeft = x + box.m_nOffX;
  box.m_dRight = box.m_dLeft + box.m_nWidth - 1;
}

void PlaceBoxY(sHitBox& box, int y) {
  box.m_dTop = y + box.m_nOffY;
  box.m_dBottom = box.m_dTop + box.m_nHeight - 1;
}

void ScaleBox(sHitBox& box, int s) {
  box.m_nOffX = s * box.m_nBaseOffX;
  box.m_nOffY = s * box.m_nBaseOffY;
  box.m_nWidth = s * box.m_nBaseWidth;
  box.m_nHeight = s * box.m_nBaseHeight;
}

// A box of size (w, h) centred in the 32 x 32 cell, relative to the map box
// at draw offset (offX, offY); current and base values.
void SetCentredBox(sHitBox& box, int w, int h, int offX, int offY) {
  box.m_nOffX = box.m_nBaseOffX = 16 - w / 2 - offX;
  box.m_nOffY = box.m_nBaseOffY = 16 - h / 2 - offY;
  box.m_nWidth = box.m_nBaseWidth = w;
  box.m_nHeight = box.m_nBaseHeight = h;
}

// The view follows a position on one axis: the object's centre at the
// screen centre, kept within the scroll limits. Where the limits are
// narrower than the screen, the lower one wins (as the axis clamps itself).
void FollowOnAxis(cScrollAxis& axis, double dPos, int nSize) {
  const int half = axis.m_nView / 2;
  double view = dPos - (half - (nSize >> 1));
  if (view < axis.m_nMin) {
    view = axis.m_nMin;
  } else if (view + axis.m_nView >= axis.m_nMax) {
    view = std::max(axis.m_nMax - axis.m_nView, axis.m_nMin);
  }
  axis.m_dPos = view;
}

}  // namespace

void cPlayer::CopyActorFrom(const cActor& other) {
  if (this == &other) return;
  cActor::CopyActorFrom(other);
  const cPlayer* hero = dynamic_cast<const cPlayer*>(&other);
  if (!hero) return;
  m_nInputSlot = hero->m_nInputSlot;
  m_nJumpHold = hero->m_nJumpHold;
  m_bJumpReleased = hero->m_bJumpReleased;
  m_bNoJumpFloor = hero->m_bNoJumpFloor;
  m_dFloorInertia = hero->m_dFloorInertia;
  m_bJumpHandled = hero->m_bJumpHandled;
  m_nPrevFacing = hero->m_nPrevFacing;
  m_TouchedItems = hero->m_TouchedItems;
  m_nFloorEffect = hero->m_nFloorEffect;
  m_dFloorEffectValue = hero->m_dFloorEffectValue;
  m_bOnEffectFloor = hero->m_bOnEffectFloor;
  m_nBlockItemWait = hero->m_nBlockItemWait;
  m_ItemBox = hero->m_ItemBox;
  m_vBoxDisplays = hero->m_vBoxDisplays;
}

void cPlayer::MapBox(bool bFlying, int& w, int& h, int& nOffX, int& nOffY) {
  const cEdStage& stage = g_LoadedStage;
  w = bFlying ? stage.m_nPlayerFlySizeW : stage.m_nPlayerSizeW;
  h = bFlying ? stage.m_nPlayerFlySizeH : stage.m_nPlayerSizeH;
  const bool bottom = (bFlying ? stage.m_bPlayerFlySizeBottom : stage.m_bPlayerSizeBottom) != 0;
  nOffX = (32 - w) / 2;
  nOffY = bottom ? 32 - h : (32 - h) / 2;
}

void cPlayer::Init(int nId, const cEdChara* pDef, double dSpawnX, double dSpawnY) {
  // Nothing of an earlier stage survives: the hero starts from a new one's
  // state (links to it are dropped first).
  UnlinkAll();
  CopyActorFrom(cPlayer());

  InitCommon(pDef, dSpawnX, dSpawnY, 0);
  if (static_cast<std::int8_t>(m_Chara.m_nScale) == 0) m_Chara.m_nScale = 1;
  SetTarget(this);

  int w = 0, h = 0, offX = 0, offY = 0;
  MapBox(m_bFlying != 0, w, h, offX, offY);
  InitBase(nId, m_Chara.m_nControl, m_Chara.m_nPlayerNo, m_Chara.m_nTeam, m_Chara.m_nGraphicNo, nullptr, 0, offX,
           offY, w, h, 32, 32, 1, 0, 0);
  m_nInputSlot = static_cast<std::int8_t>(m_Chara.m_nPlayerNo);
  SetFlyingMode(m_Chara.m_nFlying, false);
  SetScale(m_Chara.m_nScale, 1);

  m_dFloorInertia = 4 / g_LoadedStage.m_dSubSteps;
  m_dFloorEffectValue = 0;
  m_nFacing = m_nPrevFacing = m_Chara.m_nFacing;
  m_bJumpBlocked = 0;
  m_bNoJumpFloor = 0;
  m_nJumpHold = 0;
  m_bJumpReleased = 1;
  m_bJumpHandled = 0;
  m_nFloorEffect = 0;
  m_bOnEffectFloor = 0;
  m_nBlockItemWait = 0;

  BuildBoxDisplays();
  m_TouchedItems.clear();
  BuildFlows(m_Chara.m_vFlow, m_nFacing, false, -1);
}

cInputState& cPlayer::Input() const { return CheckedAt(g_InputStates, m_nInputSlot); }

void cPlayer::SetFlyingMode(int nType, bool bScale) {
  const cEdStage& stage = g_LoadedStage;
  m_Chara.m_nFlying = static_cast<std::uint8_t>(nType);
  const int wasFlying = m_bFlying;
  SetMoveType(nType);
  if (m_bFlying != wasFlying) m_nMoveTypeGrace = 2;
  if (wasFlying && !m_bFlying) m_dVX = m_dVY = m_dAccelX = m_dAccelY = 0;

  int w = 0, h = 0, offX = 0, offY = 0;
  MapBox(m_bFlying != 0, w, h, offX, offY);
  m_nWidth = m_nBaseWidth = w;
  m_nHeight = m_nBaseHeight = h;
  m_SpriteRect.m_nOffX = m_SpriteRect.m_nBaseOffX = offX;
  m_SpriteRect.m_nOffY = m_SpriteRect.m_nBaseOffY = offY;
  m_SpriteRect.m_nDrawW = m_SpriteRect.m_nBaseDrawW = 32;
  m_SpriteRect.m_nDrawH = m_SpriteRect.m_nBaseDrawH = 32;

  switch (m_Chara.m_nHitRange) {
    case 0:
      if (m_bFlying) {
        SetBodyBox(stage.m_bPlayerFlyBox1Bottom != 0, stage.m_nPlayerFlyBox1W, stage.m_nPlayerFlyBox1H);
      } else {
        SetBodyBox(stage.m_bPlayerBox1Bottom != 0, stage.m_nPlayerBox1W, stage.m_nPlayerBox1H);
      }
      break;
    case 1: SetBodyBox(false, stage.m_nPlayerBox2W, stage.m_nPlayerBox2H); break;
    case 2: SetBodyBox(false, stage.m_nCharaShotBoxW, stage.m_nCharaShotBoxH); break;
    case 3: SetBodyBox(false, 32, 32); break;
    default: break;
  }
  SetCentredBox(m_ShotBox, stage.m_nPlayerBox2W, stage.m_nPlayerBox2H, offX, offY);
  SetCentredBox(m_ItemBox, stage.m_nPlayerBox3W, stage.m_nPlayerBox3H, offX, offY);

  if (bScale) {
    const int s = m_Chara.m_nScale;
    m_nWidth = m_nBaseWidth * s;
    m_nHeight = m_nBaseHeight * s;
    m_SpriteRect.m_nOffX = m_SpriteRect.m_nBaseOffX * s;
    m_SpriteRect.m_nOffY = m_SpriteRect.m_nBaseOffY * s;
    m_SpriteRect.m_nDrawW = m_SpriteRect.m_nBaseDrawW * s;
    m_SpriteRect.m_nDrawH = m_SpriteRect.m_nBaseDrawH * s;
    ScaleHitBoxes(s);
  }
  BuildBoxDisplays();
}

void cPlayer::BuildBoxDisplays() {
  const cEdStage& stage = g_LoadedStage;
  auto display = [](int kind, int mode, int colour, int w, int h) {
    sBoxDisplay box;
    box.nKind = kind;
    box.nMode = mode;
    box.nColour = 208 + 4 * colour;
    box.nWidth = w;
    box.nHeight = h;
    return box;
  };
  m_vBoxDisplays = {
      display(BOX_DISPLAY_MAP, stage.m_nShowPlayerSize, stage.m_nPlayerSizeColour, m_nWidth, m_nHeight),
      display(BOX_DISPLAY_ITEM, stage.m_nShowPlayerBox3, stage.m_nPlayerBox3Colour, m_ItemBox.m_nWidth,
              m_ItemBox.m_nHeight),
      display(BOX_DISPLAY_BODY, stage.m_nShowPlayerBox1, stage.m_nPlayerBox1Colour, m_BodyBox.m_nWidth,
              m_BodyBox.m_nHeight),
      display(BOX_DISPLAY_SHOT, stage.m_nShowPlayerBox2, stage.m_nPlayerBox2Colour, m_ShotBox.m_nWidth,
              m_ShotBox.m_nHeight),
  };
  // Larger boxes first, so that the smaller ones show on top of them.
  std::stable_sort(m_vBoxDisplays.begin(), m_vBoxDisplays.end(), [](const sBoxDisplay& a, const sBoxDisplay& b) {
    return static_cast<long long>(a.nWidth) * a.nHeight > static_cast<long long>(b.nWidth) * b.nHeight;
  });
}

void cPlayer::ScaleHitBoxes(int s) {
  ScaleBox(m_BodyBox, s);
  ScaleBox(m_ShotBox, s);
  ScaleBox(m_ItemBox, s);
}

void cPlayer::UpdateHitBoxesX() {
  const int x = TruncToInt(m_dX);
  PlaceBoxX(m_BodyBox, x);
  PlaceBoxX(m_ShotBox, x);
  PlaceBoxX(m_ItemBox, x);
}

void cPlayer::UpdateHitBoxesY() {
  const int y = TruncToInt(m_dY);
  PlaceBoxY(m_BodyBox, y);
  PlaceBoxY(m_ShotBox, y);
  PlaceBoxY(m_ItemBox, y);
}

int cPlayer::ConstrainX() {
  cScrollAxis& axis = g_pStageScene->m_ScrollX;
  if (!axis.m_bAuto) FollowOnAxis(axis, m_dX, m_nWidth);
  return ClampToStageX(m_bFlying ? 0 : 1);
}

int cPlayer::ConstrainY() {
  cScrollAxis& axis = g_pStageScene->m_ScrollY;
  if (!axis.m_bAuto) FollowOnAxis(axis, m_dY, m_nHeight);
  return ClampToStageY(m_bFlying ? 0 : 1);
}

void cPlayer::UpdateScreenRectForScroll() {
  UpdateScreenRect();
  const cStagePlay& stage = *g_pStageScene;
  cSpriteRect& r = m_SpriteRect;
  if (stage.m_ScrollX.m_bAuto) {
    r.m_nLeft = TruncToInt(m_dX) - TruncToInt(stage.m_ScrollX.m_dPos) - r.m_nOffX;
    r.m_nRight = r.m_nLeft + r.m_nDrawW - 1;
  }
  if (stage.m_ScrollY.m_bAuto) {
    r.m_nTop = TruncToInt(m_dY) - TruncToInt(stage.m_ScrollY.m_dPos) - r.m_nOffY;
    r.m_nBottom = r.m_nTop + r.m_nDrawH - 1;
  }
}

int cPlayer::MoveX() {
  if (m_dImpactVX != 0) {
    m_dVX = m_dImpactVX;
  } else if (m_dAccelX != 0) {
    DecayAccel(m_dAccelX, m_bDecayAccelX != 0);
    if (m_bOnEffectFloor && m_nFloorEffect == FLOOR_EFFECT_SPEED) {
      // The floor speeds the added speed up or slows it down, never past 0.
      const double k = SpeedStepRate(m_dFloorInertia) * (m_dFloorEffectValue - 1.0);
      if (m_dAccelX > 0) {
        m_dAccelX += k;
        if (m_dAccelX < 0) m_dAccelX = 0;
      } else {
        m_dAccelX -= k;
        if (m_dAccelX > 0) m_dAccelX = 0;
      }
    }
    m_dVX += m_dAccelX;
  }
  const double max = g_LoadedStage.m_dMaxSpeedStep;
  if (m_dVX > max) m_dVX = max;
  else if (m_dVX < -max) m_dVX = -max;
  m_dX += m_dVX;
  ConstrainX();
  return 0;
}

int cPlayer::MoveY() {
  ApplyImpactY();
  if (m_dImpactVY == 0 && m_bFlying && m_dAccelY != 0) {
    DecayAccel(m_dAccelY, m_bDecayAccelY != 0);
    m_dVY += m_dAccelY;
  }
  const int code = StepY(m_bFlying ? 0 : 2);
  ConstrainY();
  // A walking hero that fell out of the stage is killed.
  if (!m_bFlying && (code == 5 || code == 6)) return 7;
  return code;
}

bool cPlayer::IsItemUntouched(const cItem* pItem) const {
  return std::find(m_TouchedItems.begin(), m_TouchedItems.end(), pItem) == m_TouchedItems.end();
}

void cPlayer::ForgetTouchedItem(const cItem* pItem) {
  m_TouchedItems.remove_if([pItem](const cItem* p) { return p == pItem; });
}
