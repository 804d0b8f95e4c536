#include "game/flows/flow_condition.h"

#include <cmath>
#include <cstdlib>

#include "base/checked_access.h"
#include "game/core/numeric.h"
#include "game/flows/flow_instance.h"
#include "game/flows/status_rules.h"
#include "game/objects/actor.h"
#include "model/definitions/flow.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"

template <typename T>
int PercentOf(int a, int b) {
  // Rounding the product's hundredths half away from zero is exact in
  // integers; the product itself wraps as the 32-bit multiply does.
  const std::int64_t p = WrapMul32(static_cast<T>(a), b);
  const std::int64_t q = (std::llabs(p) + 50) / 100;
  return static_cast<int>(p < 0 ? -q : q);
}
template int PercentOf<std::int32_t>(int, int);
template int PercentOf<std::int16_t>(int, int);
template int PercentOf<std::int8_t>(int, int);

int EvalCondition(const cEdCondition& condition, cActor* pActor) {
  int left = 0;
  switch (condition.m_nKind) {
    case COND_COMMON_VAR: left = CheckedAt(g_SaveData.m_vVariables, condition.m_nVarIndex); break;
    case COND_STAGE_VAR: left = CheckedAt(g_pStageScene->m_vStageVar, condition.m_nVarIndex); break;
    case COND_CHARA_VAR: left = CheckedAt(pActor->m_vVars, condition.m_nVarIndex); break;
    case COND_STATUS: return CheckStatusCondition(condition, pActor) ? 1 : 0;
    case COND_STATUS2: return pActor->CheckStatusCondition2(condition) ? 1 : 0;
    case COND_STATUS3: return pActor->CheckStatusCondition3(condition) ? 1 : 0;
    case COND_DISTANCE: return pActor->CheckDistanceCondition(condition) ? 1 : 0;
    default: return 0;
  }
  return CompareByOperator(left, condition.m_nValue, condition.m_nOperator) ? 1 : 0;
}

int EvalConditionList(const std::vector<cEdCondition>& conditions, int nMode, cActor* pActor) {
  if (nMode == 0) {
    for (const cEdCondition& condition : conditions)
      if (!EvalCondition(condition, pActor)) return 0;
    return 1;
  }
  if (nMode == 1) {
    for (const cEdCondition& condition : conditions)
      if (EvalCondition(condition, pActor)) return 1;
    return 0;
  }
  return 0;
}

int CheckFlowCondition(cFlowInstance& flow, cActor* pActor) {
  const cEdFlow& def = *flow.m_pFlow;
  return CheckOwnerConditions(*g_pStageScene, def.m_vCondition, def.m_nConditionMode, def.m_bConditionOnce,
                              flow.m_bConditionsMet, pActor);
}

namespace {

// The actor a status condition addresses: itself, or its target (none: null).
template <typename Actor>
Actor* ConditionSubject(Actor* pSelf, int nTarget) {
  if (nTarget == STATUS_TARGET_SELF) return pSelf;
  if (nTarget == STATUS_TARGET_TARGET) return pSelf->m_pTarget;
  return nullptr;
}

}  // namespace

bool cActor::CheckStatusCondition2(const cEdCondition& condition) const {
  const int right = condition.m_nVarIndex;
  if (condition.m_nTarget == STATUS_TARGET_SYSTEM) {
    switch (condition.m_nStatus) {
      case 0: return CompareByOperator(g_LoadedStage.m_bAutoScrollX, right, condition.m_nOperator);
      case 1: return CompareByOperator(g_LoadedStage.m_bAutoScrollY, right, condition.m_nOperator);
      default: return false;
    }
  }
  const cActor* pSubject = ConditionSubject(this, condition.m_nTarget);
  if (!pSubject) return false;
  const cEdChara& chara = pSubject->m_Chara;
  std::uint8_t byte = 0;
  switch (condition.m_nStatus) {
    case STATUS2_TRANSPARENT: byte = chara.m_bTransparent; break;
    case STATUS2_FIXED_FACING: byte = chara.m_bFixedFacing; break;
    case STATUS2_FLYING: byte = chara.m_nFlying; break;
    case STATUS2_INVINCIBLE: byte = chara.m_nInvincible; break;
    case STATUS2_SCALE: byte = chara.m_nScale; break;
    case STATUS2_SCROLL_SYNC: byte = chara.m_bScrollSync; break;
    default: return false;
  }
  // The definition's bytes compare as signed bytes.
  return CompareByOperator(static_cast<std::int8_t>(byte), right, condition.m_nOperator);
}

bool cActor::CheckStatusCondition3(const cEdCondition& condition) {
  const cActor* pSubject = ConditionSubject(this, condition.m_nTarget);
  if (!pSubject) return false;
  bool bFact = false;
  switch (condition.m_nStatus) {
    case STATUS3_FACING_LEFT: bFact = pSubject->m_nFacing == 0; break;
    case STATUS3_FACING_RIGHT: bFact = pSubject->m_nFacing == 1; break;
    case STATUS3_ON_BLOCK:
      bFact = pSubject->m_Chara.m_nFlying == 0 &&
              (pSubject->m_bOnCharacter || (!pSubject->m_bJumping && !pSubject->m_bFalling));
      break;
    case STATUS3_ON_SCREEN:
      bFact = pSubject->m_nControl != 0 ? pSubject->m_bOnScreen != 0 : pSubject->IsOnScreen();
      break;
    default: break;
  }
  return condition.m_nOperator == CMP_NE ? !bFact : bFact;
}

bool cActor::CheckDistanceCondition(const cEdCondition& condition) {
  const cActor* pHero = g_pStageScene->m_pHero;
  if (!pHero || condition.m_nDistanceMode > 6 || condition.m_nDistanceMode < 0) return false;
  const int d = condition.m_nValue * 16;
  bool bNear = false;
  if (condition.m_nDistanceMode == 6) {
    const double dx = (m_dX + m_nWidth / 2) - (pHero->m_dX + pHero->m_nWidth / 2);
    const double dy = (m_dY + m_nHeight / 2) - (pHero->m_dY + pHero->m_nHeight / 2);
    bNear = std::sqrt(dx * dx + dy * dy) <= d;
  } else {
    UpdateScreenRect();
    const cSpriteRect& own = m_SpriteRect;
    const cSpriteRect& hero = pHero->m_SpriteRect;
    // Extensions below and above the span: in front of or behind the facing
    // for the one-sided modes.
    const bool bHigh = m_nFacing == 1;
    int low = d, high = d;
    switch (condition.m_nDistanceMode) {
      case 1: case 4: low = bHigh ? 0 : d; high = bHigh ? d : 0; break;
      case 2: case 5: low = bHigh ? d : 0; high = bHigh ? 0 : d; break;
      default: break;
    }
    const bool bWholeWhenZero = condition.m_nDistanceMode == 0 || condition.m_nDistanceMode == 3;
    if (condition.m_nDistanceMode < 3)
      bNear = IsInBand(own.m_nLeft, own.m_nDrawW, hero.m_nLeft, hero.m_nRight, hero.m_nOffX, low, high,
                       bWholeWhenZero);
    else
      bNear = IsInBand(own.m_nTop, own.m_nDrawH, hero.m_nTop, hero.m_nBottom, hero.m_nOffY, low, high,
                       bWholeWhenZero);
  }
  if (condition.m_nOperator == CMP_EQ) return bNear;
  if (condition.m_nOperator == CMP_NE) return !bNear;
  return false;
}
