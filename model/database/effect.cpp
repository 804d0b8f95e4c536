#include "model/database/effect.h"

#include "model/database/stored_int.h"

void cEdEffectFrame::DeclareFields(int /*nVersion*/) {
  DeclareTwoInts(m_nCell, "m_nCell", m_nDuration, "m_nDuration");
}

void cEdEffect::DeclareFields(int nVersion) {
  ClearTables();
  ED_STRING(m_strName);
  if (nVersion >= 151) ED_FIELD(m_nStoredInt);
  ED_STRING(m_strFile);
  ED_FIELD(m_nCellWidth);
  ED_FIELD(m_nCellHeight);
  ED_FIELD(m_bScaleWithSize);
}

bool cEdEffect::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (!LoadRecordList(f, m_vFrames)) return false;
  ResetOldStoredInt(m_nStoredInt);
  return true;
}

void cEdEffect::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  SaveRecordList(f, m_vFrames);
}

void cEdEffect::VisitTail(cRecordVisitor& v) { VisitRecordList(v, "m_vFrames", m_vFrames); }
