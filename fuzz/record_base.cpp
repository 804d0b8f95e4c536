// Feeds arbitrary bytes to the record base through a record with fields,
// strings and a list.
#include <cstdint>
#include <string>
#include <vector>

#include "model/record/record.h"

namespace {

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
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;
  cFuzzRecord record;
  record.LoadBytes(std::vector<std::uint8_t>(data, data + size));
  return 0;
}
