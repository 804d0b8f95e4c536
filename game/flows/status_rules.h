// Status conditions (condition kind 4) and status operations (the status
// command of flows and items): a status or variable compared with, or
// changed by, an operand that is a constant, a random number, another status
// or a variable.
//
// Actor items (target 0 the actor, 1 its target), by eCharaStatus, with the
// width they are stored in and the range operations keep them in:
// variable (element of m_vVars) 32 bits -999999..999999; HP, SP 32 bits
// 0..999999 (through AddHp / AddSp); max HP, max SP 32 bits 0..999999;
// character ID 8 bits 0..99; Z order 8 bits 0..7; overlay cell 16 bits
// 0..119; sight 8 bits 0..40; contact power 32 bits -999999..999999; contact
// impact 8 bits -20..20; defence 32 bits 0..999999; impact resistance 8 bits
// 0..20; stop value 16 bits 0..200; score given 32 bits -999999..999999.
// System items (target 2), by eSystemStatus: time 0..999, the two
// auto-scroll speeds -480..480, score 0..999999, lives 0..99 (999999 means
// unlimited). Common and stage variables: -999999..999999.
//
// The operand is drawn anew at every evaluation; a random operand takes one
// draw of the game thread's generator (shell/random.h).
#pragma once

#include <algorithm>
#include <cstdint>

#include "game/core/numeric.h"
#include "game/flows/flow_condition.h"

class cActor;
class cEdCommand;

// Operations of the status command.
enum eStatusOp {
  STATUSOP_SET,
  STATUSOP_ADD,
  STATUSOP_SUB,
  STATUSOP_MUL,
  STATUSOP_DIV,
  STATUSOP_MOD,
  STATUSOP_PERCENT
};

// The lives value that means unlimited.
constexpr int kUnlimitedLives = 999999;

// Condition kind 4: the status or variable compared with the operand.
bool CheckStatusCondition(const cEdCondition& condition, cActor* pActor);

// Applies op with operand a to value in the width T (wrapping around as that
// width does), then clamps it to [lo, hi]. A product that overflowed becomes
// hi when both factors have the same sign and lo otherwise; division and
// remainder by 0 leave the value as it was.
template <typename T>
void ApplyStatusOp(T& value, int a, int op, int lo, int hi);

// status OP e in the width T, where e is the operand v, or with bPercent
// PercentOf(base, v) kept within [lo, hi].
template <typename T>
bool CompareStatusValue(int status, int base, int v, int op, bool bPercent, int lo, int hi);
