// user_data\Option.dat and user_data\Boot.dat: the first byte picks the file.
#include "fuzz_record.h"
#include "model/user/options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) return FuzzRecordFile<cBootData>(data + 1, size - 1);
  return FuzzRecordFile<cOptionData>(data + 1, size - 1);
}
