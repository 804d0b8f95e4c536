// The 8-bit blend tables (bmp\hbt\hbtNN.dat): a file of any length read
// into the table, which the translucency then indexes with every pair of
// colours.
#include <cstdlib>

#include "fuzz_file.h"
#include "graphics/surface_effects.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::uint8_t table[kBlendTableSize];
  if (DDLoadBlendTable(table, FuzzInputFile(data, size, "hbt00.dat").c_str()) == 0) std::abort();
  unsigned sum = 0;
  for (int source = 0; source < 256; ++source) {
    for (int destination = 0; destination < 256; ++destination) sum += table[source << 8 | destination];
  }
  return sum == 0xFFFFFFFFu;
}
