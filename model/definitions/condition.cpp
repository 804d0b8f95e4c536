#include "model/definitions/condition.h"

namespace {

// A status item of the character table at or above the inserted item moves
// up one place; statuses of the system (target 2) have their own table.
void ShiftCharaStatus(std::int8_t& status, std::int8_t target, int inserted) {
  if (target != STATUS_TARGET_SYSTEM && status >= inserted) ++status;
}

// Character status "防御力" was inserted at 10 in version 168 and "キャラID"
// at 5 in version 203.
void ShiftStatusOperands(cEdCondition& c, int inserted) {
  if (c.m_nKind != COND_STATUS) return;
  if (c.m_nLeftKind == 0) ShiftCharaStatus(c.m_nStatus, c.m_nTarget, inserted);
  if (c.m_nOperandKind == 2) ShiftCharaStatus(c.m_nOperandStatus, c.m_nOperandTarget, inserted);
}

}  // namespace

cEdCondition::cEdCondition() { Clear(); }

void cEdCondition::DeclareFields(int nVersion) {
  ClearTables();
  ED_FIELD(m_nKind);
  ED_FIELD(m_nValue);
  if (nVersion < 110) {
    AddDiscard(2, 2, "old_scratch");
  } else {
    ED_FIELD(m_nRandomMin);
    ED_FIELD(m_nRandomMax);
    ED_FIELD(m_nTarget);
    ED_FIELD(m_nStatus);
    ED_FIELD(m_nLeftKind);
    ED_FIELD(m_nLeftVarKind);
    ED_FIELD(m_nVarIndex);
    ED_FIELD(m_nOperandKind);
    ED_FIELD(m_nOperandTarget);
    ED_FIELD(m_nOperandStatus);
    ED_FIELD(m_nOperandVarKind);
    ED_FIELD(m_nOperandVarIndex);
  }
  ED_FIELD(m_nOperator);
  if (nVersion >= 43) ED_FIELD(m_bPercent);
  ED_FIELD(m_nDistanceMode);
}

bool cEdCondition::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  // Each step sees the kind and status as the steps before it left them.
  if (g_nFileVersion < 160 && m_nKind >= 5) m_nKind = static_cast<std::int8_t>(m_nKind + 2);
  if (g_nFileVersion < 161 && m_nKind == COND_STATUS3 && m_nStatus == STATUS3_ON_BLOCK) m_nOperator ^= 1;
  if (g_nFileVersion < 168) ShiftStatusOperands(*this, 10);
  if (g_nFileVersion < 203) ShiftStatusOperands(*this, 5);
  // Status-2 item "オートスクロールとシンクロ" was inserted at 6 in version 210.
  if (g_nFileVersion < 210 && m_nKind == COND_STATUS2) ShiftCharaStatus(m_nStatus, m_nTarget, 6);
  return !f.Failed();
}

void cEdCondition::Save(cDataWriter& f) { cEdRecord::Save(f); }

cEdKeyCondition::cEdKeyCondition() { Reset(); }

void cEdKeyCondition::Reset() {
  Clear();
  m_vKeyState.resize(KEY_STATE_COUNT, KEY_IGNORED);
}

void cEdKeyCondition::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_bFacingRelative);
  ED_FIELD(m_nHoldMin);
  ED_FIELD(m_nHoldMax);
  ED_FIELD(m_bAnyHold);
  ED_FIELD(m_nKeyMode);
}

bool cEdKeyCondition::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  std::uint32_t count = 0;
  if (!f.ReadCount(count, 1)) return false;
  m_vKeyState.resize(count, KEY_IGNORED);
  return f.Read(m_vKeyState.data(), count);
}

void cEdKeyCondition::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  f.WriteU32(static_cast<std::uint32_t>(m_vKeyState.size()));
  f.Write(m_vKeyState.data(), m_vKeyState.size());
}

void cEdKeyCondition::VisitTail(cRecordVisitor& v) {
  v.Values("m_vKeyState", m_vKeyState.data(), m_vKeyState.size());
}

bool LoadConditionList(std::vector<cEdCondition>& list, cDataReader& f) { return LoadRecordList(f, list); }

bool LoadKeyConditionList(std::vector<cEdKeyCondition>& list, cDataReader& f) {
  return LoadRecordList(f, list);
}
