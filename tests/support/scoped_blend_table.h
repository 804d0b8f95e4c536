// The 8-bit translucency table set for one test to entry (a, b) = the index
// half-way between a and b (the synthetic palette's colours grow with the
// index), and put back when the test ends.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "graphics/surface_effects.h"

class ScopedHalfwayBlendTable {
 public:
  ScopedHalfwayBlendTable() {
    std::copy(std::begin(g_BlendTable), std::end(g_BlendTable), m_Saved);
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; ++b) g_BlendTable[a * 256 + b] = static_cast<std::uint8_t>((a + b) / 2);
  }
  ~ScopedHalfwayBlendTable() { std::copy(std::begin(m_Saved), std::end(m_Saved), g_BlendTable); }
  ScopedHalfwayBlendTable(const ScopedHalfwayBlendTable&) = delete;
  ScopedHalfwayBlendTable& operator=(const ScopedHalfwayBlendTable&) = delete;

 private:
  std::uint8_t m_Saved[kBlendTableSize];
};
