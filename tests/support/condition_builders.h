// Builders of conditions and key conditions for tests of the flow rules.
//
//   cEdCondition c = ConditionBuilder(COND_STAGE_VAR).Var(3).Op(CMP_GE).Value(10);
//   cEdKeyCondition k = KeyConditionBuilder().Key(KEY_BUTTON1, KEY_PRESSED).AnyHold();
#pragma once

#include <cstdint>

#include "model/definitions/condition.h"

// Key indices of a key condition: the ten direction logs, then no button
// and buttons 1 to 8.
enum eKeyIndex {
  KEY_NEUTRAL,
  KEY_LEFT,
  KEY_RIGHT,
  KEY_UP,
  KEY_DOWN,
  KEY_UP_LEFT,
  KEY_DOWN_LEFT,
  KEY_UP_RIGHT,
  KEY_DOWN_RIGHT,
  KEY_ANY_DIRECTION,
  KEY_NO_BUTTON,
  KEY_BUTTON1
};

class ConditionBuilder {
 public:
  explicit ConditionBuilder(int nKind) { m_Condition.m_nKind = static_cast<std::int8_t>(nKind); }
  ConditionBuilder& Var(int nIndex) {
    m_Condition.m_nVarIndex = static_cast<std::int16_t>(nIndex);
    return *this;
  }
  ConditionBuilder& Op(int nOperator) {
    m_Condition.m_nOperator = static_cast<std::int8_t>(nOperator);
    return *this;
  }
  ConditionBuilder& Value(int nValue) {
    m_Condition.m_nValue = nValue;
    return *this;
  }
  // Whose status (0 self, 1 target, 2 system) and which.
  ConditionBuilder& Status(int nTarget, int nStatus) {
    m_Condition.m_nTarget = static_cast<std::int8_t>(nTarget);
    m_Condition.m_nStatus = static_cast<std::int8_t>(nStatus);
    return *this;
  }
  // The status condition's left side is a variable (0 common, 1 stage).
  ConditionBuilder& LeftVariable(int nVarKind, int nIndex) {
    m_Condition.m_nLeftKind = 1;
    m_Condition.m_nLeftVarKind = static_cast<std::int8_t>(nVarKind);
    return Var(nIndex);
  }
  ConditionBuilder& Percent() {
    m_Condition.m_bPercent = 1;
    return *this;
  }
  ConditionBuilder& RandomOperand(int nMin, int nMax) {
    m_Condition.m_nOperandKind = 1;
    m_Condition.m_nRandomMin = nMin;
    m_Condition.m_nRandomMax = nMax;
    return *this;
  }
  ConditionBuilder& StatusOperand(int nTarget, int nStatus, int nVarIndex = 0) {
    m_Condition.m_nOperandKind = 2;
    m_Condition.m_nOperandTarget = static_cast<std::int8_t>(nTarget);
    m_Condition.m_nOperandStatus = static_cast<std::int8_t>(nStatus);
    m_Condition.m_nOperandVarIndex = static_cast<std::int16_t>(nVarIndex);
    return *this;
  }
  ConditionBuilder& VariableOperand(int nVarKind, int nIndex) {
    m_Condition.m_nOperandKind = 3;
    m_Condition.m_nOperandVarKind = static_cast<std::int8_t>(nVarKind);
    m_Condition.m_nOperandVarIndex = static_cast<std::int16_t>(nIndex);
    return *this;
  }
  ConditionBuilder& DistanceMode(int nMode) {
    m_Condition.m_nDistanceMode = static_cast<std::int8_t>(nMode);
    return *this;
  }
  operator const cEdCondition&() const { return m_Condition; }

 private:
  cEdCondition m_Condition;
};

class KeyConditionBuilder {
 public:
  KeyConditionBuilder() { m_Key.m_vKeyState.assign(KEY_STATE_COUNT, KEY_IGNORED); }
  KeyConditionBuilder& Key(int nIndex, int nState) {
    m_Key.m_vKeyState.at(static_cast<std::size_t>(nIndex)) = static_cast<std::uint8_t>(nState);
    return *this;
  }
  KeyConditionBuilder& AnyHold() {
    m_Key.m_bAnyHold = 1;
    return *this;
  }
  KeyConditionBuilder& HoldFrames(int nMin, int nMax) {
    m_Key.m_bAnyHold = 0;
    m_Key.m_nHoldMin = static_cast<std::int16_t>(nMin);
    m_Key.m_nHoldMax = static_cast<std::int16_t>(nMax);
    return *this;
  }
  KeyConditionBuilder& FacingRelative() {
    m_Key.m_bFacingRelative = 1;
    return *this;
  }
  KeyConditionBuilder& Mode(int nMode) {
    m_Key.m_nKeyMode = static_cast<std::uint8_t>(nMode);
    return *this;
  }
  operator const cEdKeyCondition&() const { return m_Key; }

 private:
  cEdKeyCondition m_Key;
};
