// Feeds arbitrary bytes to the stage file reader. A stage that loads is
// saved and loaded again, and its start state taken, as play does.
#include <cstdint>
#include <vector>

#include "model/stage/stage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;
  const std::vector<std::uint8_t> bytes(data, data + size);
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
