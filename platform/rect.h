// RECT and POINT as the Windows calls take them: right and bottom are
// exclusive, so a rectangle is (right - left) x (bottom - top) pixels.
#pragma once

#include <cstdint>

namespace platform {

struct POINT {
  std::int32_t x = 0, y = 0;
};

struct RECT {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool operator==(const RECT&) const = default;
};

}  // namespace platform
