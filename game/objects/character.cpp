#include "game/objects/character.h"

#include <cmath>

#include "base/requests.h"
#include "game/commands/command_workers.h"
#include "game/draw/graphic_source.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"

namespace {

// The hit-box modes of a character definition.
enum eHitRange { HIT_RANGE_CHARA, HIT_RANGE_CHARA_SHOT, HIT_RANGE_SHOT_CHARA, HIT_RANGE_WHOLE };

// The activity ranges: the axes the view test looks at.
enum eActiveRange { ACTIVE_IN_VIEW, ACTIVE_X_IN_VIEW, ACTIVE_Y_IN_VIEW, ACTIVE_EVERYWHERE };

// Only this rule is acted on: once activated, the character acts anywhere.
constexpr int kRangeRuleKeepActive = 1;

// The sequences of a character's base animation that it starts with and
// that it goes back to when nothing moved it.
constexpr int kAnimeFlyStart = 0;
constexpr int kAnimeWalkStart = 1;
constexpr int kAnimeWalkIdle = 0;
constexpr int kAnimeFlyIdle = 2;

void SetBox(sHitBox& box, int x, int y, int w, int h) {
  box.m_nOffX = box.m_nBaseOffX = x;
  box.m_nOffY = box.m_nBaseOffY = y;
  box.m_nWidth = box.m_nBaseWidth = w;
  box.m_nHeight = box.m_nBaseHeight = h;
}

void ScaleBox(sHitBox& box, int s) {
  box.m_nOffX = s * box.m_nBaseOffX;
  box.m_nOffY = s * box.m_nBaseOffY;
  box.m_nWidth = s * box.m_nBaseWidth;
  box.m_nHeight = s * box.m_nBaseHeight;
}

void PlaceBoxX(sHitBox& box, double x) {
  box.m_dLeft = std::trunc(x) + box.m_nOffX;
  box.m_dRight = box.m_dLeft + box.m_nWidth - 1;
}

void PlaceBoxY(sHitBox& box, double y) {
  box.m_dTop = std::trunc(y) + box.m_nOffY;
  box.m_dBottom = box.m_dTop + box.m_nHeight - 1;
}

// The definition's flying setting 1 to 3 flies; 0 walks.
bool FliesByDefinition(const cEdChara& def) { return def.m_nFlying >= 1 && def.m_nFlying <= 3; }

}  // namespace

void cCharacter::Init(int nId, const cEdChara* pDef, const cItem* pDropItem, double dSpawnX, double dSpawnY,
                      std::int16_t nLinearIndex) {
  InitCommon(pDef, dSpawnX, dSpawnY, nLinearIndex);
  // The copy is repaired, not the palette entry it came from.
  if (m_Chara.m_nScale == 0) m_Chara.m_nScale = 1;
  const cEdChara& def = m_Chara;
  const cEdStage& stage = g_LoadedStage;
  const bool flying = FliesByDefinition(def);

  int w = 32, h = 32, offX = 0, offY = 0;
  if (!def.m_bBlockChara) {
    w = flying ? stage.m_nCharaFlySizeW : stage.m_nCharaSizeW;
    h = flying ? stage.m_nCharaFlySizeH : stage.m_nCharaSizeH;
    const bool bottom = flying ? stage.m_bCharaFlySizeBottom : stage.m_bCharaSizeBottom;
    offX = (32 - w) >> 1;
    offY = bottom ? 32 - h : (32 - h) >> 1;
  }
  InitBase(nId, def.m_nControl, def.m_nPlayerNo, def.m_nTeam, def.m_nGraphicNo, nullptr, 0, offX, offY, w, h, 32, 32,
           def.m_nFacing, def.m_nFlying, nLinearIndex);

  if (def.m_bBlockChara) {
    SetBox(m_BodyBox, 0, 0, 32, 32);
    SetBox(m_ShotBox, 0, 0, 32, 32);
  } else {
    switch (def.m_nHitRange) {
      case HIT_RANGE_CHARA:
        if (flying) {
          SetBodyBox(stage.m_bCharaFlyBox1Bottom, stage.m_nCharaFlyBox1W, stage.m_nCharaFlyBox1H);
        } else {
          SetBodyBox(stage.m_bCharaBox1Bottom, stage.m_nCharaBox1W, stage.m_nCharaBox1H);
        }
        break;
      case HIT_RANGE_CHARA_SHOT: SetBodyBox(false, stage.m_nCharaBox2W, stage.m_nCharaBox2H); break;
      case HIT_RANGE_SHOT_CHARA: SetBodyBox(false, stage.m_nPlayerShotBoxW, stage.m_nPlayerShotBoxH); break;
      case HIT_RANGE_WHOLE: SetBodyBox(false, m_SpriteRect.m_nDrawW, m_SpriteRect.m_nDrawH); break;
      default: break;
    }
    const int sw = stage.m_nCharaBox2W;
    const int sh = stage.m_nCharaBox2H;
    SetBox(m_ShotBox, 16 - sw / 2 - offX, 16 - sh / 2 - offY, sw, sh);
  }
  SetScale(m_Chara.m_nScale, 1);
  m_bActive = 0;
  m_nIconTimer = 0;

  if (pDropItem) {
    m_DropItem = *pDropItem;
  } else {
    m_DropItem.m_nGraphicNo = 0;
  }

  m_bViewSkipX = def.m_nActiveRange == ACTIVE_Y_IN_VIEW || def.m_nActiveRange == ACTIVE_EVERYWHERE;
  m_bViewSkipY = def.m_nActiveRange == ACTIVE_X_IN_VIEW || def.m_nActiveRange == ACTIVE_EVERYWHERE;
  m_bActivated = 0;
  m_Anime.Play(m_bFlying ? kAnimeFlyStart : kAnimeWalkStart, true);
  BuildFlows(m_Chara.m_vFlow, m_nFacing, false, -1);
}

void cCharacter::ScaleHitBoxes(int nScale) {
  if (m_Chara.m_bBlockChara) {
    SetBox(m_BodyBox, 0, 0, m_nWidth, m_nHeight);
    SetBox(m_ShotBox, 0, 0, m_nWidth, m_nHeight);
    return;
  }
  ScaleBox(m_BodyBox, nScale);
  ScaleBox(m_ShotBox, nScale);
}

void cCharacter::UpdateHitBoxesX() {
  PlaceBoxX(m_BodyBox, m_dX);
  PlaceBoxX(m_ShotBox, m_dX);
}

void cCharacter::UpdateHitBoxesY() {
  PlaceBoxY(m_BodyBox, m_dY);
  PlaceBoxY(m_ShotBox, m_dY);
}

bool cCharacter::CheckInView(std::vector<std::uint8_t>& switches) {
  if (!IsInViewRange(m_bViewSkipX, m_bViewSkipY)) {
    m_bInView = 0;
    return false;
  }
  m_bInView = 1;
  const int group = m_Chara.m_nActivateGroup;
  if (m_Chara.m_bGroupActivate && group >= 0) {
    if (static_cast<std::size_t>(group) >= switches.size()) switches.resize(static_cast<std::size_t>(group) + 1, 0);
    switches[static_cast<std::size_t>(group)] = 1;
  }
  return true;
}

bool cCharacter::CheckActive(const std::vector<std::uint8_t>& switches) {
  const int group = m_Chara.m_nActivateGroup;
  const bool groupOn = m_Chara.m_bGroupActivate && group >= 0 && static_cast<std::size_t>(group) < switches.size() &&
                       switches[static_cast<std::size_t>(group)] != 0;
  // A walking character finishes its jump, or once activated its fall, off screen.
  const bool acts = m_bInView || groupOn || (!m_bFlying && (m_bJumping || (m_bActivated && m_bFalling)));
  if (!acts) return false;
  m_bActivated = 1;
  if (m_Chara.m_nRangeRule == kRangeRuleKeepActive) m_bViewSkipX = m_bViewSkipY = 1;
  UpdateScreenRect();
  return true;
}

int cCharacter::MoveX() {
  if (m_dImpactVX != 0) {
    // The knock-back replaces the horizontal speed.
    m_dVX = m_dImpactVX;
  } else if (m_dAccelX != 0) {
    DecayAccel(m_dAccelX, m_bDecayAccelX);
    m_dVX += m_dAccelX;
  }
  const int code = StepX(2);
  ConstrainX();
  return code == 3 ? 4 : code;
}

int cCharacter::MoveY() {
  ApplyImpactY();
  // A walking character's vertical added speed is not applied.
  if (m_dImpactVY == 0 && m_bFlying && m_dAccelY != 0) {
    DecayAccel(m_dAccelY, m_bDecayAccelY);
    m_dVY += m_dAccelY;
  }
  const int code = StepY(2);
  ConstrainY();
  if (m_bFlying) return code == 3 || code == 6 ? 8 : code;
  return code == 5 || code == 6 ? 7 : code;
}

int cCharacter::RunFlows(bool bDeathOnly) {
  cStagePlay& stage = *g_pStageScene;
  stage.m_pCurActor = this;
  stage.m_bCheckDeaths = 0;

  // A walking character keeps its vertical speed: gravity acts on it.
  double vx = 0, vy = 0;
  if (!g_SystemData.m_bNoScrollCarry && m_bScrollSync) {
    vx = stage.m_ScrollX.DriftSpeed();
    vy = stage.m_ScrollY.DriftSpeed();
  }
  m_dVX = vx;
  if (m_bFlying) m_dVY = vy;

  m_bMoveDisabled = 0;
  m_bDecayAccelX = m_bDecayAccelY = 1;
  m_bHidden = 0;
  m_bMovedByCommand = 0;
  if (m_nMoveTypeGrace > 0) --m_nMoveTypeGrace;
  if (m_nCrushGrace > 0) --m_nCrushGrace;

  const int ended = StepFlows(bDeathOnly, true);
  // Nothing may point into the flows of this step once it is over, not even
  // when it ended early (the stage may delete the character next).
  stage.m_pCurActor = nullptr;
  stage.m_pCurFlow = nullptr;
  stage.m_pCurCommand = nullptr;
  ApplyQueuedItemCommands(*this);
  EndFlowStep();
  if (ended) return 1;

  if (!m_bMovedByCommand && m_dAccelX == 0 && m_dAccelY == 0) {
    m_Anime.Change(m_bFlying ? kAnimeFlyIdle : kAnimeWalkIdle, true);
  }
  return m_nHp <= 0;
}

void cCharacter::Jump(cCommandInstance* pInst) {
  if (!pInst || m_bFalling || m_bJumpBlocked || m_bKnockedBack || m_bJumpRefused) return;
  if (pInst->m_pCommand) RequestDbSound(static_cast<std::int16_t>(pInst->m_pCommand->m_nSound));
  m_dVY = pInst->m_dMoveSpeed;
  m_bJumping = m_bInAir = 1;
  m_bOnCharacter = 0;
}

void cCharacter::DrawDropItemIcon(cDrawTarget& target, sSurface dst) {
  if (!m_bOnScreen || !m_DropItem.m_bCarried || m_Chara.m_bTransparent || m_DropItem.m_Item.m_bHidden) return;
  if (++m_nIconTimer >= 96) {
    m_nIconTimer = 0;
    return;
  }
  if (m_nIconTimer < 64) return;
  const cSpriteRect& r = m_SpriteRect;
  const cSpriteRect& item = m_DropItem.m_SpriteRect;
  DrawGraphicIcon(target, dst, r.m_nLeft + r.m_nDrawW / 2 - item.m_nDrawW / 4, r.m_nTop - item.m_nDrawH / 2,
                  m_DropItem.m_Item.m_nGraphicKind, m_DropItem.m_nGraphicNo, m_DropItem.m_Anime.GetFrame());
}
