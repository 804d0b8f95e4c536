#include "platform/process_start.h"

#include <time.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace platform {

namespace {

// The start time in clock ticks since boot, or -1.
long long StartTicks() {
  std::ifstream file("/proc/self/stat");
  const std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  // The command name (field 2) is in parentheses and may hold spaces or
  // parentheses itself: the fields after it start after the last ')'.
  const std::size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos) return -1;
  std::istringstream fields(stat.substr(nameEnd + 1));
  std::string field;
  for (int number = 3; number < 22; ++number) {
    if (!(fields >> field)) return -1;
  }
  long long ticks = -1;
  return fields >> ticks ? ticks : -1;
}

}  // namespace

double MillisecondsSinceProcessStart() {
  const long long ticks = StartTicks();
  const long perSecond = ::sysconf(_SC_CLK_TCK);
  timespec now;
  if (ticks < 0 || perSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &now) != 0) return -1.0;
  const double nowMs = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
  return nowMs - static_cast<double>(ticks) * 1000.0 / static_cast<double>(perSecond);
}

}  // namespace platform
