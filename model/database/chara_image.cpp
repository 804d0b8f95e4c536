#include "model/database/chara_image.h"

#include <algorithm>

#include "model/database/stored_int.h"

void cEdBmpCharaExc::DeclareFields(int nVersion) {
  ClearTables();
  ED_STRING(m_strName);
  if (nVersion >= 152) ED_FIELD(m_nStoredInt);
  ED_STRING(m_strFile);
  if (nVersion >= 172) {
    ED_FIELD(m_bWide);
    ED_FIELD(m_nCellWidth);
  }
}

bool cEdBmpCharaExc::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  ResetOldStoredInt(m_nStoredInt);
  Validate();
  return true;
}

void cEdBmpCharaExc::Save(cDataWriter& f) {
  Validate();
  cEdRecord::Save(f);
}

void cEdBmpCharaExc::Validate() {
  // The width is only used while the image is wide; a narrow image keeps
  // whatever the editor left there.
  if (m_bWide != 0) m_nCellWidth = std::clamp(m_nCellWidth, 1, CHARA_IMAGE_MAX_CELL_WIDTH);
}
