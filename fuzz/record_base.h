// The record that the record-base fuzz target loads: fields of several
// types, a field dropped in old versions, a string and a list of elements
// with a field added later. tools/fuzz-seeds saves one as the target's seed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record/record.h"

class cFuzzElement : public cEdRecordOf<cFuzzElement> {
 public:
  std::int16_t m_sValue = 0;
  std::string m_strText;
  void DeclareFields(int nVersion) override {
    ClearTables();
    ED_FIELD(m_sValue);
    if (nVersion >= 200) ED_STRING(m_strText);
  }
};

class cFuzzRecord : public cEdRecordOf<cFuzzRecord> {
 public:
  std::int32_t m_anValues[4] = {};
  double m_dValue = 0;
  std::string m_strName;
  std::vector<cFuzzElement> m_vElements;
  void DeclareFields(int nVersion) override {
    ClearTables();
    ED_ARRAY(m_anValues, 4);
    if (nVersion < 300) AddDiscard(8, 2, "old");
    ED_FIELD(m_dValue);
    ED_STRING(m_strName);
  }
  bool Load(cDataReader& f) override { return cEdRecord::Load(f) && LoadRecordList(f, m_vElements); }
  void Save(cDataWriter& f) override {
    cEdRecord::Save(f);
    SaveRecordList(f, m_vElements);
  }
};
