// The log part of a replay file (the stage and progress parts have targets
// of their own): a log that loads saves stably and plays back to its end.
#include <array>

#include "fuzz_record.h"
#include "model/user/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzRecordFile<cReplayLog>(data, size);
  cReplayLog log;
  if (!log.LoadBytes(std::vector<std::uint8_t>(data, data + size))) return 0;
  std::array<std::int16_t, 2> frame{};
  for (int i = 0; i < 100000 && log.PlayFrame(frame.data()) == 0; ++i) {
  }
  return 0;
}
