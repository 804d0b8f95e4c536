// The rules that decide whether a flow may start: the condition list with
// its mode and once option, the condition kinds, and the key conditions,
// which match sequences of key states against the hero's key-change logs
// (shell/input_state.h) with a timing tolerance and edge detection.
//
// The stage scene's EvalConditionList service (game/stage/stage_play.h)
// applies EvalConditionList below; CheckFlowCondition and the owners' checks
// reach the list through that service. The actor's own tests (status
// conditions 2 and 3, distance, key conditions) are cActor operations
// declared in game/objects/actor.h:
//
//   CheckStatusCondition2/3, CheckDistanceCondition (const cEdCondition&)
//   CheckKeyConditions (cFlowInstance&): the flow may start as far as its
//     key conditions go (true when it has none)
//   TestKeyConditionNow (cInputState&, const cEdKeyCondition&)
//
// The condition of kind 4 is CheckStatusCondition (game/flows/status_rules.h).
// Everything here runs on the game thread.
#pragma once

#include <cstdint>
#include <vector>

#include "game/stage/stage_play.h"
#include "model/definitions/condition.h"

class cActor;
struct cFlowInstance;

// Comparison operators of conditions: left OP right, where left is the
// tested variable or state.
enum eCompareOp { CMP_EQ, CMP_NE, CMP_GE, CMP_LE, CMP_GT, CMP_LT };

// left OP right in the width T (both sides taken as signed values of that
// width); any other op is false.
template <typename T = std::int32_t>
bool CompareByOperator(int nLeft, int nRight, int op) {
  const T left = static_cast<T>(nLeft);
  const T right = static_cast<T>(nRight);
  switch (op) {
    case CMP_EQ: return left == right;
    case CMP_NE: return left != right;
    case CMP_GE: return left >= right;
    case CMP_LE: return left <= right;
    case CMP_GT: return left > right;
    case CMP_LT: return left < right;
    default: return false;
  }
}

// a x b / 100 rounded half away from zero, a taken as a signed value of the
// width T; the product wraps around as a 32-bit int.
template <typename T = std::int32_t>
int PercentOf(int a, int b);

// One condition for the actor whose flow (or whose owner) is tested: 1 or 0.
int EvalCondition(const cEdCondition& condition, cActor* pActor);
// Mode 0: every condition holds (stops at the first that fails; empty holds).
// Mode 1: one holds (stops at the first that holds; empty fails). Other modes
// fail without evaluating.
int EvalConditionList(const std::vector<cEdCondition>& conditions, int nMode, cActor* pActor);

// The rule shared by blocks, characters, items and flows: an empty list holds;
// with bOnce a list that held before (bSatisfied) holds; otherwise the stage
// scene's EvalConditionList decides, and a list that holds sets bSatisfied.
template <typename Flag>
int CheckOwnerConditions(cStagePlay& scene, const std::vector<cEdCondition>& conditions, int nMode,
                         int bOnce, Flag& bSatisfied, cActor* pActor) {
  if (conditions.empty()) return 1;
  if (bOnce && bSatisfied) return 1;
  if (!scene.EvalConditionList(conditions, nMode, pActor)) return 0;
  bSatisfied = 1;
  return 1;
}

// The flow's conditions for its actor, remembered in m_bConditionsMet.
int CheckFlowCondition(cFlowInstance& flow, cActor* pActor);
