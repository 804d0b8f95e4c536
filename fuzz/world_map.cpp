// data\WorldMap.dat
#include "fuzz_record.h"
#include "model/stage/world_map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzRecordFile<cEdWorldMap>(data, size);
}
