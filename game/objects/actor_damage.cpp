// What happens to an actor when it is hurt, healed or killed: HP and SP with
// their gauges, no-damage times, contact and shot damage, death, and the
// choice of the animation frame among the overlays.
#include <algorithm>
#include <climits>

#include "base/checked_access.h"
#include "game/core/numeric.h"
#include "game/effects/effect_play.h"
#include "game/objects/actor.h"
#include "game/objects/shot.h"
#include "game/stage/stage_play.h"
#include "model/database/database.h"
#include "model/definitions/flow.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"

namespace {

constexpr int kGaugeWidth = 50;
constexpr int kGaugeFrames = 120;
constexpr int kGaugeShrinkFrames = 60;

void ShowGauge(sGauge& gauge, int nValue, int nMax, int nDelta) {
  if (nDelta == 0) return;
  gauge.nTime = kGaugeFrames;
  // A maximum of 0 (a status operation may set it) shows an empty gauge.
  if (nMax <= 0) {
    gauge.nLength = 0;
    gauge.dChange = gauge.dShrink = 0;
    return;
  }
  gauge.nLength = static_cast<int>(static_cast<std::int64_t>(nValue) * kGaugeWidth / nMax);
  gauge.dChange = static_cast<double>(nDelta) * kGaugeWidth / nMax;
  gauge.dShrink = gauge.dChange / kGaugeShrinkFrames;
}

sPixelBox PixelBox(const sHitBox& box) {
  return {TruncToInt(box.m_dLeft), TruncToInt(box.m_dTop), TruncToInt(box.m_dRight), TruncToInt(box.m_dBottom)};
}

// Power less defence; a zero or negative power is used as it is (it heals).
int DamageOf(int nPower, int nDefense) {
  if (nPower <= 0) return nPower;
  return static_cast<int>(std::clamp<std::int64_t>(static_cast<std::int64_t>(nPower) - nDefense, 0, 999999));
}

}  // namespace

bool cActor::AddHp(int nDelta, bool bForce, bool bShowGauge) {
  if (!bForce && nDelta <= 0 && m_Chara.m_nInvincible != 0) return false;
  const int max = m_Chara.m_nMaxHP;
  if (nDelta > 0) nDelta = std::min<std::int64_t>(nDelta, static_cast<std::int64_t>(max) - m_nHp);
  const std::int64_t hp = std::clamp<std::int64_t>(static_cast<std::int64_t>(m_nHp) + nDelta, 0, std::max(max, 0));
  m_nHp = static_cast<int>(hp);
  if (m_nHp <= 0) {
    m_nHp = 0;
    return true;
  }
  if (bShowGauge) ShowHpGauge(nDelta);
  return false;
}

void cActor::ShowHpGauge(int nDelta) { ShowGauge(m_HpGauge, m_nHp, m_Chara.m_nMaxHP, nDelta); }

void cActor::AddSp(int nDelta, bool bShowGauge) {
  const int max = m_Chara.m_nMaxSP;
  if (nDelta > 0) nDelta = std::min<std::int64_t>(nDelta, static_cast<std::int64_t>(max) - m_nSp);
  m_nSp = static_cast<int>(std::clamp<std::int64_t>(static_cast<std::int64_t>(m_nSp) + nDelta, 0, std::max(max, 0)));
  if (max > 0 && bShowGauge) ShowSpGauge(nDelta);
}

void cActor::ShowSpGauge(int nDelta) { ShowGauge(m_SpGauge, m_nSp, m_Chara.m_nMaxSP, nDelta); }

void cActor::StepGauge(sGauge& gauge) {
  if (gauge.nTime <= 0) return;
  --gauge.nTime;
  if (gauge.nTime >= kGaugeShrinkFrames) {
    gauge.dChange -= gauge.dShrink;
  } else {
    gauge.dChange = 0;
  }
}

void cActor::StartInvincibility() {
  const int frames = m_nControl == 0 ? g_LoadedStage.m_nPlayerHitGuard : g_LoadedStage.m_nCharaHitGuard;
  m_nNoDamage = WrapMul32(frames, g_LoadedStage.m_nSubSteps);
}

void cActor::StartInvincibilityFrom(int nAttackerId) {
  StartInvincibility();
  const int frames = m_nControl == 0 ? g_LoadedStage.m_nPlayerContactGuard : g_LoadedStage.m_nCharaContactGuard;
  m_NoDamageFrom.push_back({nAttackerId, WrapMul32(frames, g_LoadedStage.m_nSubSteps)});
}

void cActor::TickInvincibility() {
  if (m_nNoDamage > 0) --m_nNoDamage;
  for (auto it = m_NoDamageFrom.begin(); it != m_NoDamageFrom.end();) {
    if (--it->nLeft <= 0) it = m_NoDamageFrom.erase(it);
    else ++it;
  }
}

bool cActor::IsInvincibleTo(int nAttackerId) const {
  if (IsInvincible()) return true;
  return std::any_of(m_NoDamageFrom.begin(), m_NoDamageFrom.end(),
                     [nAttackerId](const sNoDamageFrom& e) { return e.nAttackerId == nAttackerId; });
}

bool cActor::TakeContactDamage(const cActor& attacker) {
  const int damage = DamageOf(attacker.m_Chara.m_nPower, m_Chara.m_nDefense);
  const bool dead = AddHp(-damage, false, true);
  if (attacker.m_Chara.m_nEffect != 0) {
    cEffectPlay effect;
    effect.InitFromHit(attacker.m_Chara.m_nEffect, PixelBox(m_BodyBox), PixelBox(attacker.m_BodyBox),
                       attacker.m_Chara.m_nScale);
    g_pStageScene->m_EffectList.push_back(effect);
  }
  ApplyContactImpact(attacker);
  if (attacker.m_Chara.m_nPower != 0) FireTrigger(TRIGGER_DAMAGED);
  if (attacker.m_Chara.m_nImpact != 0) FireTrigger(TRIGGER_IMPACT);
  return dead;
}

bool cActor::TakeShotDamage(const cShot& shot) {
  const int damage = DamageOf(shot.m_Shot.m_nPower, m_Chara.m_nDefense);
  const bool dead = AddHp(-damage, false, true);
  if (shot.m_Shot.m_nHitEffect != 0) {
    cEffectPlay effect;
    effect.InitFromHit(shot.m_Shot.m_nHitEffect, PixelBox(m_ShotBox), PixelBox(shot.m_HitBox), shot.m_Shot.m_nSize);
    g_pStageScene->m_EffectList.push_back(effect);
  }
  ApplyShotImpact(shot);
  if (shot.m_Shot.m_nPower != 0) FireTrigger(TRIGGER_DAMAGED);
  if (shot.m_Shot.m_nImpact != 0) FireTrigger(TRIGGER_IMPACT);
  return dead;
}

int cActor::Die() {
  FireTrigger(TRIGGER_DEATH);
  RunFlows(true);
  g_SaveData.m_nScore = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(static_cast<std::int64_t>(g_SaveData.m_nScore) + m_Chara.m_nScore, 0, 999999));
  int result = 0;
  if (cItem* item = GetDropItem()) result = g_pStageScene->ApplyItemEffect(item, g_pStageScene->m_pHero);
  // The play ends now; the stage deletes everything (the destructor unlinks).
  if (g_pStageScene->m_nEndRequest == 1 || result == 1) return 1;
  UnlinkAll();
  m_bDying = 1;
  m_CharaEffect.Start(m_Chara.m_nDeathEffect, m_Chara.m_nDeathEffectMode, 0);
  return 0;
}

void cActor::RemoveOverlaysOfFlow(int nSerial) {
  m_Overlays.remove_if([nSerial](const sOverlayAnime& o) { return o.nSerial == nSerial; });
}

void cActor::PauseOverlaysOfFlow(int nSerial) {
  for (auto it = m_Overlays.begin(); it != m_Overlays.end();) {
    if (it->nSerial != nSerial) {
      ++it;
    } else if (static_cast<std::int64_t>(it->nDelay) + it->nValue - 1 < 0) {
      it = m_Overlays.erase(it);
    } else {
      it->bPaused = 1;
      ++it;
    }
  }
}

void cActor::ResumeOverlaysOfFlow(int nSerial) {
  for (sOverlayAnime& o : m_Overlays) {
    if (o.nSerial == nSerial) o.bPaused = 0;
  }
}

int cActor::UpdateAnimation(bool bPaused) {
  if (!bPaused) {
    m_Anime.Step();
    for (auto it = m_Overlays.begin(); it != m_Overlays.end();) {
      if (it->bPaused) {
        ++it;
      } else if (it->m_Anime.Step() == ANIME_END) {
        it = m_Overlays.erase(it);
      } else {
        --it->nDelay;
        ++it;
      }
    }
  }
  if (m_Overlays.empty()) return m_Anime.GetFrame();
  int best = INT_MAX;
  sOverlayAnime* chosen = nullptr;
  bool settled = false;
  for (sOverlayAnime& o : m_Overlays) {
    if (o.bPaused) continue;
    if (settled) {
      if (o.nDelay <= 0 && best <= 0 && o.nDelay > best) {
        chosen = &o;
        best = o.nDelay;
      }
    } else if (o.bPriority) {
      if (o.nDelay <= 0 && best <= 0) {
        chosen = &o;
        best = o.nDelay;
        settled = true;
      } else if (o.nDelay < best) {
        chosen = &o;
        best = o.nDelay;
      }
    } else if (!chosen) {
      chosen = &o;
      best = INT_MAX;
    }
  }
  return chosen ? chosen->m_Anime.GetFrame() : m_Anime.GetFrame();
}

int cActor::GetSpriteSource(bool bDirect3D, bool& bColourChange, sBltColour& colour) const {
  int offset = m_Chara.m_nGraphicSub;
  const cEdAnimeSet& set = CheckedAt(g_Database.m_vAnimeSet, m_Chara.m_nAnimeSet);
  if (m_Chara.m_nFlying != 0) offset += set.m_nFlyingOffset;
  if (m_Chara.m_bBlockChara) offset += set.m_nBlockOffset;
  if (m_Chara.m_nInvincible != 0) offset += set.m_nInvincibleOffset;
  bColourChange = m_Chara.m_nInvincible != 0 && bDirect3D && g_SystemData.m_bColourChange &&
                  m_Chara.m_nInvincibleColor != 0;
  if (bColourChange) colour = CheckedAt(g_pStageScene->m_vColourCycle, m_Chara.m_nInvincibleColor);
  return offset;
}
