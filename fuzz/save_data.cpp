// user_data\story\StoryNN.dat and user_data\challenge\Challenge.dat
#include "fuzz_record.h"
#include "model/user/save_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzRecordFile<cSaveData>(data, size);
}
