// Feeds arbitrary bytes to the record base through a record with fields,
// strings and a list.
#include <cstdint>
#include <vector>

#include "fuzz/record_base.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;
  cFuzzRecord record;
  record.LoadBytes(std::vector<std::uint8_t>(data, data + size));
  return 0;
}
