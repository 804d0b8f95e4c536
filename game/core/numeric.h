// Number conversions of the game rules that stay defined for every input.
//
// Positions and speeds are doubles whose truncations pick cells, screen
// pixels and frame counts. TruncToInt truncates toward zero like a C cast
// where that is defined, and otherwise gives a fixed answer: NaN is 0, a
// value beyond the int range (infinities included) is the nearest int limit.
// The Wrap helpers compute 32-, 16- and 8-bit integer arithmetic that wraps
// around as the stored widths do, without signed overflow. ClampInPlace
// keeps a stored value of any width within a range of the game rules.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// The angle and diagonal constants of the movement rules.
constexpr double kPi = 3.14159265358979323846;
constexpr double kInvSqrt2 = 0.7071067811865476;

inline int TruncToInt(double value) {
  using Limits = std::numeric_limits<int>;
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(Limits::min())) return Limits::min();
  if (value >= static_cast<double>(Limits::max())) return Limits::max();
  return static_cast<int>(value);
}

// A 64-bit count kept within the int range.
inline int CapToInt(std::int64_t value) {
  using Limits = std::numeric_limits<int>;
  if (value < Limits::min()) return Limits::min();
  if (value > Limits::max()) return Limits::max();
  return static_cast<int>(value);
}

inline std::int32_t WrapAdd32(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t WrapSub32(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline std::int32_t WrapMul32(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
inline std::int16_t Wrap16(std::int32_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(value)));
}
inline std::int8_t Wrap8(std::int32_t value) {
  return static_cast<std::int8_t>(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value)));
}

// Below lo becomes lo, then above hi becomes hi (so hi wins when lo > hi);
// T is the stored width. Returns the value.
template <typename T>
int ClampInPlace(T& value, int lo, int hi) {
  if (value < lo) value = static_cast<T>(lo);
  if (value > hi) value = static_cast<T>(hi);
  return value;
}
