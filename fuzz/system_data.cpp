// Feeds arbitrary bytes to the settings loader (data\System.dat), with every
// upgrade of the stored data version, then saves what was read.
#include <cstdint>
#include <vector>

#include "model/settings/system_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;
  cSystemData record;
  if (record.LoadBytes(std::vector<std::uint8_t>(data, data + size))) {
    record.SaveBytes();
    record.CountRankingKinds(PLAY_STORY);
    record.FontFaceName();
  }
  return 0;
}
