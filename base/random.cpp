#include "base/random.h"

#include <cstdint>

namespace {
thread_local std::uint32_t t_nRandomState = 1;
}

void SeedRandom(unsigned seed) { t_nRandomState = seed; }

int Random() {
  t_nRandomState = t_nRandomState * 214013u + 2531011u;
  return static_cast<int>((t_nRandomState >> 16) & 32767u);
}

int RandomBetween(int low, int high) {
  const std::int64_t width = static_cast<std::int64_t>(high) - low + 1;
  const int r = Random();
  if (width == 0) return low;
  return static_cast<int>(static_cast<std::uint32_t>(low) + static_cast<std::uint32_t>(r % width));
}

unsigned RandomState() { return t_nRandomState; }
