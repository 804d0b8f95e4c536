// The local wall-clock time in the form that save files store it.
//
// SYSTEMTIME is eight u16 (year, month, day of week, day, hour, minute,
// second, milliseconds), the 16 bytes a story save keeps as its time stamp.
#pragma once

#include <cstdint>

namespace platform {

struct SYSTEMTIME {
  std::uint16_t wYear = 0;
  std::uint16_t wMonth = 0;
  std::uint16_t wDayOfWeek = 0;
  std::uint16_t wDay = 0;
  std::uint16_t wHour = 0;
  std::uint16_t wMinute = 0;
  std::uint16_t wSecond = 0;
  std::uint16_t wMilliseconds = 0;

  friend bool operator==(const SYSTEMTIME&, const SYSTEMTIME&) = default;
};
static_assert(sizeof(SYSTEMTIME) == 16);

void GetLocalTime(SYSTEMTIME* pTime);

}  // namespace platform
