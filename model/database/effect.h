// Effects of the database (Effect.dat): animations drawn at a point of the
// stage, from a horizontal strip of cells (cell c starts at x = c x
// m_nCellWidth). Entry 0 is the "none" entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record/record.h"

class cEdEffectFrame : public cEdRecordOf<cEdEffectFrame> {
 public:
  void DeclareFields(int nVersion) override;

  std::int32_t m_nCell = 0;
  std::int32_t m_nDuration = 1;  // tenths of a second
};

class cEdEffect : public cEdRecordOf<cEdEffect> {
 public:
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  std::string m_strName;
  std::int32_t m_nStoredInt = 0;  // not read for play
  std::string m_strFile;          // the strip picture, as stored
  std::int32_t m_nCellWidth = 32;
  std::int32_t m_nCellHeight = 32;
  // Nonzero: a hit on an object larger than 1 draws the effect that much larger.
  std::int32_t m_bScaleWithSize = 0;
  std::vector<cEdEffectFrame> m_vFrames;
};
