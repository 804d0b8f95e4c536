// Character images of the database (Bmp_CharaExc.dat): picture files that
// belong to one character.
//
// The picture is a sheet 512 pixels wide of 32-pixel cells, 16 to a row.
// While m_bWide is set a cell is m_nCellWidth x 32 pixels and a row holds
// 16 / m_nCellWidth cells. Load and Save keep the width of a wide image
// within 1 to 16, so that the cells of a row are never 0 (the drawing divides
// by them).
#pragma once

#include <cstdint>
#include <string>

#include "model/record/record.h"

constexpr int CHARA_IMAGE_MAX_CELL_WIDTH = 16;

class cEdBmpCharaExc : public cEdRecordOf<cEdBmpCharaExc> {
 public:
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;

  void Validate();

  std::string m_strName;
  std::int32_t m_nStoredInt = 0;  // not read for play
  std::string m_strFile;          // path of the picture, as stored
  std::int32_t m_bWide = 0;
  std::int32_t m_nCellWidth = 2;  // in 32-pixel cells, while m_bWide is set
};
