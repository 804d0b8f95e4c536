// Feeds arbitrary bytes to the stage file and common palette readers: the
// first byte picks the reader, the rest is the file image. A stage that
// loads is saved and loaded again, and its start state taken, as play does.
#include <cstdint>
#include <vector>

#include "model/common_palette.h"
#include "model/stage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;
  const std::vector<std::uint8_t> bytes(data + 1, data + size);
  if (data[0] & 1) {
    cEdCommonPalette palette;
    if (palette.LoadBytes(bytes)) palette.SaveBytes();
    return 0;
  }
  cEdStage stage;
  if (!stage.LoadBytes(bytes)) return 0;
  cEdStage again;
  again.LoadBytes(stage.SaveBytes());
  cEdStage start;
  start.CopyStartState(stage);
  start.ClearObjectLists();
  stage.HitCheckSteps();
  stage.FindHero();
  return 0;
}
