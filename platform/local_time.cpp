#include "platform/local_time.h"

#include <ctime>

namespace platform {

void GetLocalTime(SYSTEMTIME* pTime) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  localtime_r(&now.tv_sec, &local);
  pTime->wYear = static_cast<std::uint16_t>(local.tm_year + 1900);
  pTime->wMonth = static_cast<std::uint16_t>(local.tm_mon + 1);
  pTime->wDayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
  pTime->wDay = static_cast<std::uint16_t>(local.tm_mday);
  pTime->wHour = static_cast<std::uint16_t>(local.tm_hour);
  pTime->wMinute = static_cast<std::uint16_t>(local.tm_min);
  // A leap second (60) is shown as the last ordinary second.
  pTime->wSecond = static_cast<std::uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
  pTime->wMilliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
}

}  // namespace platform
