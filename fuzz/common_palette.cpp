// data\CommonPalette.cplt4
#include "fuzz_record.h"
#include "model/stage/common_palette.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzRecordFile<cEdCommonPalette>(data, size);
}
