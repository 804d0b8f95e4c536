#include "model/database/sword.h"

#include "base/checked_access.h"
#include "model/database/stored_int.h"

void cEdSwordFrame::DeclareFields(int nVersion) {
  ClearTables();
  ED_FIELD(m_nOffsetX);
  ED_FIELD(m_nOffsetY);
  if (nVersion >= 138) {
    ED_FIELD(m_bMirrorX);
    ED_FIELD(m_bMirrorY);
  }
  ED_FIELD(m_nPosition);
  ED_FIELD(m_nSrcX);
  ED_FIELD(m_nSrcY);
  ED_FIELD(m_nWidth);
  ED_FIELD(m_nHeight);
  ED_FIELD(m_nDuration);
}

cEdSwordType::cEdSwordType() {
  m_vFrames.resize(1);
  CheckedAt(m_vFrames, 0).m_nDuration = 1;
}

void cEdSwordType::DeclareFields(int nVersion) {
  ClearTables();
  ED_STRING(m_strName);
  if (nVersion >= 151) ED_FIELD(m_nStoredInt);
  ED_STRING(m_strFileLeft);
  ED_STRING(m_strFileRight);
}

bool cEdSwordType::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (!LoadRecordList(f, m_vFrames)) return false;
  ResetOldStoredInt(m_nStoredInt);
  return true;
}

void cEdSwordType::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  SaveRecordList(f, m_vFrames);
}

void cEdSwordType::VisitTail(cRecordVisitor& v) { VisitRecordList(v, "m_vFrames", m_vFrames); }
