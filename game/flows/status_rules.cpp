#include "game/flows/status_rules.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "base/checked_access.h"
#include "base/random.h"
#include "game/commands/command_workers.h"
#include "game/objects/actor.h"
#include "model/definitions/command.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"

namespace {

constexpr int kStatusMax = 999999;

// Where the operand comes from: the fields of a condition or the parameters
// of a command.
struct sOperandSource {
  int nKind = 0;
  int nConstant = 0;
  int nRandomLow = 0, nRandomHigh = 0;
  int nTarget = 0, nStatus = 0;
  int nVarKind = 0, nVarIndex = 0;
};

cActor* StatusSubject(cActor* pActor, int nTarget) {
  if (nTarget == STATUS_TARGET_SELF) return pActor;
  if (nTarget == STATUS_TARGET_TARGET) return pActor->m_pTarget;
  return nullptr;
}

std::vector<std::int32_t>& Variables(int nKind) {
  return nKind == 0 ? g_SaveData.m_vVariables : g_pStageScene->m_vStageVar;
}

int SystemStatus(int nItem) {
  switch (nItem) {
    case SYSTEM_STATUS_TIME: return g_pStageScene->m_bTimeStop ? 0 : g_pStageScene->m_nTimeLeft;
    case SYSTEM_STATUS_SCROLL_X: return g_LoadedStage.m_nAutoScrollSpeedX;
    case SYSTEM_STATUS_SCROLL_Y: return g_LoadedStage.m_nAutoScrollSpeedY;
    case SYSTEM_STATUS_SCORE: return g_SaveData.m_nScore;
    case SYSTEM_STATUS_LIVES: return g_SaveData.m_nLives == kUnlimitedLives ? 0 : g_SaveData.m_nLives;
    default: return 0;
  }
}

// The value of an actor's status item, in its width; 0 for other items.
int ActorStatus(const cActor& subject, int nItem, int nVarIndex) {
  const cEdChara& chara = subject.m_Chara;
  switch (nItem) {
    case CHARA_STATUS_VARIABLE: return CheckedAt(subject.m_vVars, nVarIndex);
    case CHARA_STATUS_HP: return subject.m_nHp;
    case CHARA_STATUS_SP: return subject.m_nSp;
    case CHARA_STATUS_MAX_HP: return chara.m_nMaxHP;
    case CHARA_STATUS_MAX_SP: return chara.m_nMaxSP;
    case CHARA_STATUS_CHARA_ID: return static_cast<std::int8_t>(chara.m_nCharaId);
    case CHARA_STATUS_LAYER: return static_cast<std::int8_t>(chara.m_nLayer);
    case CHARA_STATUS_MARK: return chara.m_nOverlayCell;
    case CHARA_STATUS_SIGHT: return static_cast<std::int8_t>(chara.m_nSight);
    case CHARA_STATUS_POWER: return chara.m_nPower;
    case CHARA_STATUS_IMPACT: return chara.m_nImpact;
    case CHARA_STATUS_DEFENSE: return chara.m_nDefense;
    case CHARA_STATUS_IMPACT_RESIST: return static_cast<std::int8_t>(chara.m_nImpactResist);
    case CHARA_STATUS_STOP: return chara.m_nStop;
    case CHARA_STATUS_SCORE: return chara.m_nScore;
    default: return 0;
  }
}

// The operand for the actor; nothing when it names a target that does not
// exist or a status that cannot be read (the condition fails, the
// operation does nothing).
std::optional<int> Operand(const sOperandSource& source, cActor* pActor) {
  switch (source.nKind) {
    case 0: return source.nConstant;
    case 1: return RandomBetween(source.nRandomLow, source.nRandomHigh);
    case 2: {
      if (source.nTarget == STATUS_TARGET_SYSTEM) return SystemStatus(source.nStatus);
      cActor* pSubject = StatusSubject(pActor, source.nTarget);
      if (!pSubject) return std::nullopt;
      if (source.nStatus == CHARA_STATUS_SIGHT && pSubject->m_nControl != 0) return std::nullopt;
      // Reading the stop value refreshes the decay it gives.
      if (source.nStatus == CHARA_STATUS_STOP)
        pSubject->m_dInertiaDecay = cActor::StopToInertiaDecay(pSubject->m_Chara.m_nStop);
      return ActorStatus(*pSubject, source.nStatus, source.nVarIndex);
    }
    case 3:
      if (source.nVarKind != 0 && source.nVarKind != 1) return 0;
      return CheckedAt(Variables(source.nVarKind), source.nVarIndex);
    default: return 0;
  }
}

}  // namespace

template <typename T>
void ApplyStatusOp(T& value, int a, int op, int lo, int hi) {
  using Limits = std::numeric_limits<T>;
  const T operand = static_cast<T>(a);
  const std::int64_t current = value;
  switch (op) {
    case STATUSOP_SET: value = operand; break;
    case STATUSOP_ADD: value = static_cast<T>(WrapAdd32(value, operand)); break;
    case STATUSOP_SUB: value = static_cast<T>(WrapSub32(value, operand)); break;
    case STATUSOP_MUL: {
      // A product beyond the width saturates: to hi when the factors have
      // the same sign, else to lo.
      const std::int64_t product = current * operand;
      if (product > Limits::max())
        value = static_cast<T>(hi);
      else if (product < Limits::min())
        value = static_cast<T>(lo);
      else
        value = static_cast<T>(product);
      break;
    }
    // By 0 the value stays; the one quotient beyond the width (its minimum
    // by -1) wraps to the minimum as narrower widths do.
    case STATUSOP_DIV:
      if (operand != 0) value = static_cast<T>(current / operand);
      break;
    case STATUSOP_MOD:
      if (operand != 0) value = static_cast<T>(current % operand);
      break;
    case STATUSOP_PERCENT: value = static_cast<T>(PercentOf<T>(a, value)); break;
    default: break;
  }
  value = std::clamp<T>(value, static_cast<T>(lo), static_cast<T>(hi));
}
template void ApplyStatusOp<std::int32_t>(std::int32_t&, int, int, int, int);
template void ApplyStatusOp<std::int16_t>(std::int16_t&, int, int, int, int);
template void ApplyStatusOp<std::int8_t>(std::int8_t&, int, int, int, int);

template <typename T>
bool CompareStatusValue(int status, int base, int v, int op, bool bPercent, int lo, int hi) {
  const int e = bPercent ? std::clamp(PercentOf(base, v), lo, hi) : v;
  return CompareByOperator<T>(status, e, op);
}
template bool CompareStatusValue<std::int32_t>(int, int, int, int, bool, int, int);
template bool CompareStatusValue<std::int16_t>(int, int, int, int, bool, int, int);
template bool CompareStatusValue<std::int8_t>(int, int, int, int, bool, int, int);

namespace {

// Width and range of an actor's status item in operations.
struct sStatusRange {
  int nBits;
  int lo, hi;
};
constexpr sStatusRange kActorStatusRange[] = {
    {32, -kStatusMax, kStatusMax},  // variable
    {32, 0, kStatusMax},            // HP
    {32, 0, kStatusMax},            // SP
    {32, 0, kStatusMax},            // max HP
    {32, 0, kStatusMax},            // max SP
    {8, 0, 99},                     // character ID
    {8, 0, 7},                      // Z order
    {16, 0, 119},                   // overlay cell
    {8, 0, 40},                     // sight
    {32, -kStatusMax, kStatusMax},  // contact power
    {8, -20, 20},                   // contact impact
    {32, 0, kStatusMax},            // defence
    {8, 0, 20},                     // impact resistance
    {16, 0, 200},                   // stop value
    {32, -kStatusMax, kStatusMax},  // score given
};
constexpr int kActorStatusCount = static_cast<int>(std::size(kActorStatusRange));

constexpr sStatusRange kSystemStatusRange[] = {
    {32, 0, 999}, {32, -480, 480}, {32, -480, 480}, {32, 0, kStatusMax}, {32, 0, 99}};

bool CompareInWidth(int nBits, int status, int base, int v, int op, bool bPercent, int lo, int hi) {
  switch (nBits) {
    case 8: return CompareStatusValue<std::int8_t>(status, base, v, op, bPercent, lo, hi);
    case 16: return CompareStatusValue<std::int16_t>(status, base, v, op, bPercent, lo, hi);
    default: return CompareStatusValue<std::int32_t>(status, base, v, op, bPercent, lo, hi);
  }
}

// Applies the operation to a field stored in the width T (an unsigned byte
// field is worked on as a signed byte), the operand first taken to a percent
// of the current value when asked.
template <typename T, typename Field>
void ApplyToField(Field& field, int v, int op, bool bPercent, const sStatusRange& range) {
  T value = static_cast<T>(field);
  if (bPercent) v = PercentOf<T>(value, v);
  ApplyStatusOp<T>(value, v, op, range.lo, range.hi);
  field = static_cast<Field>(value);
}

bool CheckActorStatus(const cEdCondition& condition, const cActor& subject, int v) {
  const int op = condition.m_nOperator;
  const bool bPercent = condition.m_bPercent != 0;
  const int nItem = condition.m_nStatus;
  if (nItem < 0 || nItem >= kActorStatusCount) return true;
  const sStatusRange& range = kActorStatusRange[nItem];
  const int status = ActorStatus(subject, nItem, condition.m_nVarIndex);
  // HP and SP compare in percent of their maximum, the others with 0.
  int base = 0;
  if (nItem == CHARA_STATUS_HP) base = subject.m_Chara.m_nMaxHP;
  if (nItem == CHARA_STATUS_SP) base = subject.m_Chara.m_nMaxSP;
  return CompareInWidth(range.nBits, status, base, v, op, bPercent, range.lo, range.hi);
}

bool CheckSystemStatus(const cEdCondition& condition, int v) {
  const int nItem = condition.m_nStatus;
  if (nItem < 0 || nItem > SYSTEM_STATUS_LIVES) return false;
  if (nItem == SYSTEM_STATUS_LIVES && g_SaveData.m_nLives == kUnlimitedLives) return false;
  const int status = nItem == SYSTEM_STATUS_TIME ? g_pStageScene->m_nTimeLeft : SystemStatus(nItem);
  const sStatusRange& range = kSystemStatusRange[nItem];
  return CompareStatusValue<std::int32_t>(status, 0, v, condition.m_nOperator, condition.m_bPercent != 0,
                                          range.lo, range.hi);
}

void ApplyToSystemStatus(int nItem, int v, int op, bool bPercent) {
  if (nItem < 0 || nItem > SYSTEM_STATUS_LIVES) return;
  const sStatusRange& range = kSystemStatusRange[nItem];
  cStagePlay& scene = *g_pStageScene;
  switch (nItem) {
    case SYSTEM_STATUS_TIME: ApplyToField<std::int32_t>(scene.m_nTimeLeft, v, op, bPercent, range); break;
    case SYSTEM_STATUS_SCROLL_X:
      ApplyToField<std::int32_t>(g_LoadedStage.m_nAutoScrollSpeedX, v, op, bPercent, range);
      scene.m_ScrollX.SetAutoScroll(g_LoadedStage.m_bAutoScrollX, g_LoadedStage.m_nAutoScrollSpeedX,
                                    g_LoadedStage.m_dSubSteps);
      break;
    case SYSTEM_STATUS_SCROLL_Y:
      ApplyToField<std::int32_t>(g_LoadedStage.m_nAutoScrollSpeedY, v, op, bPercent, range);
      scene.m_ScrollY.SetAutoScroll(g_LoadedStage.m_bAutoScrollY, g_LoadedStage.m_nAutoScrollSpeedY,
                                    g_LoadedStage.m_dSubSteps);
      break;
    case SYSTEM_STATUS_SCORE: ApplyToField<std::int32_t>(g_SaveData.m_nScore, v, op, bPercent, range); break;
    case SYSTEM_STATUS_LIVES:
      if (g_SaveData.m_nLives != kUnlimitedLives)
        ApplyToField<std::int32_t>(g_SaveData.m_nLives, v, op, bPercent, range);
      break;
  }
}

// HP or SP: the operand in percent of the maximum (nBase 1) or of the
// current value (2); the change goes through AddHp / AddSp.
int HpSpChange(int current, int max, int v, int op, int nBase) {
  switch (nBase) {
    case 0: break;
    case 1: v = PercentOf(max, v); break;
    case 2: v = PercentOf(current, v); break;
    default: return 0;
  }
  int value = current;
  ApplyStatusOp<std::int32_t>(value, v, op, 0, kStatusMax);
  return WrapSub32(value, current);
}

void ApplyToActorStatus(cActor& subject, const cEdCommand& command, int v) {
  auto param = [&command](int i) { return CheckedAt(command.m_vParam, i); };
  const int nItem = param(4);
  const int op = param(5);
  const bool bPercent = param(14) != 0;
  const bool bShowGauge = param(16) != 0;
  if (param(17) && subject.m_Chara.m_nInvincible != 0) return;
  if (nItem < 0 || nItem >= kActorStatusCount) return;
  const sStatusRange& range = kActorStatusRange[nItem];
  cEdChara& chara = subject.m_Chara;
  switch (nItem) {
    case CHARA_STATUS_VARIABLE:
      ApplyToField<std::int32_t>(CheckedAt(subject.m_vVars, param(2)), v, op, bPercent, range);
      break;
    case CHARA_STATUS_HP:
      subject.AddHp(HpSpChange(subject.m_nHp, chara.m_nMaxHP, v, op, param(15)), true, bShowGauge);
      break;
    case CHARA_STATUS_SP:
      subject.AddSp(HpSpChange(subject.m_nSp, chara.m_nMaxSP, v, op, param(15)), bShowGauge);
      break;
    case CHARA_STATUS_MAX_HP:
      ApplyToField<std::int32_t>(chara.m_nMaxHP, v, op, bPercent, range);
      subject.m_nHp = std::min(subject.m_nHp, chara.m_nMaxHP);
      break;
    case CHARA_STATUS_MAX_SP:
      ApplyToField<std::int32_t>(chara.m_nMaxSP, v, op, bPercent, range);
      subject.m_nSp = std::min(subject.m_nSp, chara.m_nMaxSP);
      break;
    case CHARA_STATUS_CHARA_ID: ApplyToField<std::int8_t>(chara.m_nCharaId, v, op, bPercent, range); break;
    case CHARA_STATUS_LAYER: ApplyToField<std::int8_t>(chara.m_nLayer, v, op, bPercent, range); break;
    case CHARA_STATUS_MARK: ApplyToField<std::int16_t>(chara.m_nOverlayCell, v, op, bPercent, range); break;
    case CHARA_STATUS_SIGHT:
      if (subject.m_nControl != 0) return;
      ApplyToField<std::int8_t>(chara.m_nSight, v, op, bPercent, range);
      subject.m_nSight = cActor::HblToPixels(chara.m_nSight);
      g_pStageScene->RebuildSightMask();
      break;
    case CHARA_STATUS_POWER: ApplyToField<std::int32_t>(chara.m_nPower, v, op, bPercent, range); break;
    case CHARA_STATUS_IMPACT: ApplyToField<std::int8_t>(chara.m_nImpact, v, op, bPercent, range); break;
    case CHARA_STATUS_DEFENSE: ApplyToField<std::int32_t>(chara.m_nDefense, v, op, bPercent, range); break;
    case CHARA_STATUS_IMPACT_RESIST:
      ApplyToField<std::int8_t>(chara.m_nImpactResist, v, op, bPercent, range);
      break;
    case CHARA_STATUS_STOP:
      ApplyToField<std::int16_t>(chara.m_nStop, v, op, bPercent, range);
      subject.m_dInertiaDecay = cActor::StopToInertiaDecay(chara.m_nStop);
      break;
    case CHARA_STATUS_SCORE: ApplyToField<std::int32_t>(chara.m_nScore, v, op, bPercent, range); break;
  }
  // A character whose HP a flow of another actor took away dies in the
  // stage's next death pass.
  if ((nItem == CHARA_STATUS_HP || nItem == CHARA_STATUS_MAX_HP) && &subject != g_pStageScene->m_pCurActor &&
      subject.m_nHp <= 0)
    g_pStageScene->m_bCheckDeaths = 1;
}

}  // namespace

bool CheckStatusCondition(const cEdCondition& condition, cActor* pActor) {
  sOperandSource source;
  source.nKind = condition.m_nOperandKind;
  source.nConstant = condition.m_nValue;
  source.nRandomLow = condition.m_nRandomMin;
  source.nRandomHigh = condition.m_nRandomMax;
  source.nTarget = condition.m_nOperandTarget;
  source.nStatus = condition.m_nOperandStatus;
  source.nVarKind = condition.m_nOperandVarKind;
  source.nVarIndex = condition.m_nOperandVarIndex;
  const std::optional<int> v = Operand(source, pActor);
  if (!v) return false;
  if (condition.m_nLeftKind == 1) {
    if (condition.m_nLeftVarKind != 0 && condition.m_nLeftVarKind != 1) return false;
    const int variable = CheckedAt(Variables(condition.m_nLeftVarKind), condition.m_nVarIndex);
    return CompareStatusValue<std::int32_t>(variable, 0, *v, condition.m_nOperator, condition.m_bPercent != 0,
                                            -kStatusMax, kStatusMax);
  }
  if (condition.m_nLeftKind != 0) return false;
  if (condition.m_nTarget == STATUS_TARGET_SYSTEM) return CheckSystemStatus(condition, *v);
  const cActor* pSubject = StatusSubject(pActor, condition.m_nTarget);
  return pSubject && CheckActorStatus(condition, *pSubject, *v);
}

void ApplyStatusOperation(cActor* pActor, const cEdCommand& command) {
  auto param = [&command](int i) { return CheckedAt(command.m_vParam, i); };
  sOperandSource source;
  source.nKind = param(6);
  source.nConstant = param(7);
  source.nRandomLow = std::min(param(8), param(9));
  source.nRandomHigh = std::max(param(8), param(9));
  source.nVarKind = param(10);
  source.nVarIndex = param(11);
  source.nTarget = param(12);
  source.nStatus = param(13);
  const std::optional<int> v = Operand(source, pActor);
  if (!v) return;
  const int op = param(5);
  const bool bPercent = param(14) != 0;
  if (param(0) == 1) {
    if (param(1) != 0 && param(1) != 1) return;
    ApplyToField<std::int32_t>(CheckedAt(Variables(param(1)), param(2)), *v, op, bPercent,
                               kActorStatusRange[CHARA_STATUS_VARIABLE]);
    return;
  }
  if (param(0) != 0) return;
  if (param(3) == STATUS_TARGET_SYSTEM) {
    ApplyToSystemStatus(param(4), *v, op, bPercent);
    return;
  }
  if (cActor* pSubject = StatusSubject(pActor, param(3))) ApplyToActorStatus(*pSubject, command, *v);
}
