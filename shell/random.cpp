#include "shell/random.h"

#include <cstdint>

namespace {
thread_local std::uint32_t t_nRandomState = 1;
}

void SeedRandom(unsigned seed) { t_nRandomState = seed; }

int Random() {
  t_nRandomState = t_nRandomState * 214013u + 2531011u;
  return static_cast<int>((t_nRandomState >> 16) & 32767u);
}

unsigned RandomState() { return t_nRandomState; }
