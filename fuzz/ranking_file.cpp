// Feeds arbitrary bytes to the ranking file loader, then ranks a value in
// every table that was read.
#include <cstdint>
#include <vector>

#include "model/user/ranking.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_nDataVersion = DATA_VERSION;
  cRankingSet set;
  if (set.LoadBytes(std::vector<std::uint8_t>(data, data + size))) {
    for (cRankingList& list : set.m_vLists) list.Insert("x", 100);
    set.SaveBytes();
  }
  return 0;
}
