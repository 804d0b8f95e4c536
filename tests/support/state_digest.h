// A running FNV-1a hash of simulation state for determinism checks: doubles
// enter by their bits, so two runs match only when every value is
// bit-for-bit the same.
#pragma once

#include <bit>
#include <cstdint>

class StateDigest {
 public:
  void Add(std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
      m_nHash ^= (value >> (8 * i)) & 0xFF;
      m_nHash *= 1099511628211ull;
    }
  }
  void Add(double value) { Add(std::bit_cast<std::uint64_t>(value)); }
  void AddInt(std::int64_t value) { Add(static_cast<std::uint64_t>(value)); }
  std::uint64_t Value() const { return m_nHash; }

 private:
  std::uint64_t m_nHash = 14695981039346656037ull;
};
