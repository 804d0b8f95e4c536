// Conditions and key conditions: the tests that decide whether a flow may
// start, and the appearance conditions of blocks, characters and items.
//
// cEdCondition compares a variable, a status or a distance; files older than
// version 110 hold only its kind, value, operator and distance mode, and the
// upgrades keep the kind and status numbering of old files in step with the
// current one. cEdKeyCondition requires key states of the player's input;
// its key-state list keeps the length the file gives (19 in a new one).
// Neither record repairs anything: values outside their enumerations are
// kept and never hold at run time.
#pragma once

#include <cstdint>
#include <vector>

#include "model/record/record.h"

enum eConditionKind {
  COND_NONE,
  COND_COMMON_VAR,
  COND_STAGE_VAR,
  COND_CHARA_VAR,
  COND_STATUS,
  COND_STATUS2,
  COND_STATUS3,
  COND_DISTANCE
};

// Character status items (status conditions and the first status command).
enum eCharaStatus {
  CHARA_STATUS_VARIABLE,
  CHARA_STATUS_HP,
  CHARA_STATUS_SP,
  CHARA_STATUS_MAX_HP,
  CHARA_STATUS_MAX_SP,
  CHARA_STATUS_CHARA_ID,
  CHARA_STATUS_LAYER,
  CHARA_STATUS_MARK,
  CHARA_STATUS_SIGHT,
  CHARA_STATUS_POWER,
  CHARA_STATUS_IMPACT,
  CHARA_STATUS_DEFENSE,
  CHARA_STATUS_IMPACT_RESIST,
  CHARA_STATUS_STOP,
  CHARA_STATUS_SCORE
};

// Statuses of the play, addressed with target 2.
enum eSystemStatus { SYSTEM_STATUS_TIME, SYSTEM_STATUS_SCROLL_X, SYSTEM_STATUS_SCROLL_Y, SYSTEM_STATUS_SCORE, SYSTEM_STATUS_LIVES };

// Status-2 items: bytes of the actor's definition.
enum eStatus2Item {
  STATUS2_VANISH,
  STATUS2_TRANSPARENT,
  STATUS2_FIXED_FACING,
  STATUS2_FLYING,
  STATUS2_INVINCIBLE,
  STATUS2_SCALE,
  STATUS2_SCROLL_SYNC
};

// Status-3 items: facts about the actor.
enum eStatus3Item { STATUS3_FACING_LEFT, STATUS3_FACING_RIGHT, STATUS3_ON_BLOCK, STATUS3_ON_SCREEN };

// Whose status a condition or status command addresses.
enum eStatusTarget { STATUS_TARGET_SELF, STATUS_TARGET_TARGET, STATUS_TARGET_SYSTEM };

class cEdCondition : public cEdRecordOf<cEdCondition> {
 public:
  cEdCondition();

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;

  std::int8_t m_nKind = 0;
  std::int8_t m_nLeftKind = 0;
  std::int8_t m_nLeftVarKind = 0;
  std::int8_t m_nTarget = 0;
  std::int8_t m_nStatus = 0;
  std::int16_t m_nVarIndex = 0;
  std::int8_t m_nOperandKind = 0;
  std::int32_t m_nValue = 0;
  std::int32_t m_nRandomMin = 0;
  std::int32_t m_nRandomMax = 0;
  std::int8_t m_nOperandTarget = 0;
  std::int8_t m_nOperandStatus = 0;
  std::int8_t m_nOperandVarKind = 0;
  std::int16_t m_nOperandVarIndex = 0;
  std::int8_t m_nOperator = 0;
  std::int8_t m_bPercent = 0;
  std::int8_t m_nDistanceMode = 0;
};

// Key states of a key condition.
enum eKeyState { KEY_IGNORED, KEY_PRESSED, KEY_RELEASED };

// Key order of the key states: ten directions, then no button and buttons 1 to 8.
constexpr int KEY_STATE_COUNT = 19;

class cEdKeyCondition : public cEdRecordOf<cEdKeyCondition> {
 public:
  cEdKeyCondition();

  void Reset();
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  std::vector<std::uint8_t> m_vKeyState;
  std::uint8_t m_bFacingRelative = 0;
  std::int16_t m_nHoldMin = 0;
  std::int16_t m_nHoldMax = 0;
  std::uint8_t m_bAnyHold = 0;
  std::uint8_t m_nKeyMode = 0;
};

bool LoadConditionList(std::vector<cEdCondition>& list, cDataReader& f);
bool LoadKeyConditionList(std::vector<cEdKeyCondition>& list, cDataReader& f);
