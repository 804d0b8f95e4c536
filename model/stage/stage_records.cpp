#include "model/stage/stage_records.h"

void cEdScreenOutRule::DeclareFields(int nVersion) {
  ClearTables();
  ED_FIELD(m_bLeft);
  if (nVersion >= 125) {
    ED_FIELD(m_bRight);
    ED_FIELD(m_bTop);
    ED_FIELD(m_bBottom);
  }
  ED_FIELD(m_nLeft);
  ED_FIELD(m_nRight);
  ED_FIELD(m_nTop);
  ED_FIELD(m_nBottom);
}

void cEdScreenOutRule::SetAll(int bLeft, int bRight, int bTop, int bBottom, int nLeft, int nRight,
                              int nTop, int nBottom) {
  m_bLeft = bLeft;
  m_bRight = bRight;
  m_bTop = bTop;
  m_bBottom = bBottom;
  m_nLeft = nLeft;
  m_nRight = nRight;
  m_nTop = nTop;
  m_nBottom = nBottom;
}

void cEdBackground::DeclareFields(int nVersion) {
  ClearTables();
  if (nVersion >= 62) ED_FIELD(m_bShow);
  ED_FIELD(m_bFill);
  ED_FIELD(m_nFillColour);
  ED_FIELD(m_nLayer);
  if (nVersion >= 61) {
    ED_FIELD(m_dSpeedX);
    ED_FIELD(m_dSpeedY);
    ED_FIELD(m_bAutoX);
    ED_FIELD(m_bAutoY);
  } else {
    // Integer speeds of the oldest files, dropped.
    AddDiscard(4, 1, "g_nDiscard");
    AddDiscard(4, 1, "g_nDiscard");
  }
  ED_STRING(m_strImage);
  if (nVersion >= 62) {
    ED_FIELD(m_dOffsetX);
    ED_FIELD(m_dOffsetY);
  } else if (nVersion == 61) {
    // Integer offsets of version 61, dropped.
    AddDiscard(4, 1, "g_nDiscard");
    AddDiscard(4, 1, "g_nDiscard");
  }
}

void cEdStageString::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_STRING(m_strText);
}

bool LoadBackgroundList(std::vector<cEdBackground>& list, cDataReader& f) {
  return LoadRecordList(f, list);
}

bool LoadStageStringList(std::vector<cEdStageString>& list, cDataReader& f) {
  return LoadRecordList(f, list);
}
