// A whole replay file: the version word, the stage as it started, the log
// and, from version 173, the progress. A replay that loads is saved, loads
// again, and its log plays back to its end.
#include <array>

#include "fuzz_file.h"
#include "model/stage/stage.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "quiet_boxes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QuietMessageBoxes boxes;
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;
  cReplayLog log;
  cEdStage stage, start;
  cSaveData progress;
  if (!log.LoadReplay(FuzzInputFile(data, size, "in.rpl4_566").c_str(), stage, start, progress)) return 0;
  const std::string saved = FuzzInputFile(nullptr, 0, "out.rpl4_566");
  if (!log.SaveReplay(saved.c_str(), stage, start, progress)) std::abort();
  cReplayLog again;
  cEdStage againStage, againStart;
  cSaveData againProgress;
  if (!again.LoadReplay(saved.c_str(), againStage, againStart, againProgress)) std::abort();
  std::array<std::int16_t, 2> frame{};
  for (int i = 0; i < 100000 && again.PlayFrame(frame.data()) == 0; ++i) {
  }
  return 0;
}
