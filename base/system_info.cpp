#include "base/system_info.h"

#include <limits>

#include "base/format.h"
#include "base/report.h"

namespace {
constexpr int kPlatformIdNt = 2;
constexpr int kVersionMajor = 10;
constexpr int kVersionMinor = 0;
constexpr double kMegabyte = 1048576.0;
}  // namespace

void GetOsVersionText(std::string* text, int* major, int* minor) {
  if (text) {
    const platform::OsDescription os = platform::DescribeOs();
    FormatString(*text, "%s %s PID %d Build %d", os.name.c_str(), os.release.c_str(),
                 kPlatformIdNt, 0);
  }
  if (major) *major = kVersionMajor;
  if (minor) *minor = kVersionMinor;
}

bool IsOsVersionAtLeast(int major, int minor) {
  int ownMajor = 0, ownMinor = 0;
  GetOsVersionText(nullptr, &ownMajor, &ownMinor);
  return ownMajor > major || (ownMajor == major && ownMinor >= minor);
}

int GetDiskFreeBytes(const char* root) {
  const auto bytes = platform::DiskFreeBytes(root ? root : "");
  if (!bytes) return 0;
  return static_cast<int>(std::min<std::uint64_t>(*bytes, std::numeric_limits<int>::max()));
}

int GetDdiVersion() { return 99999; }

SystemDescription DescribeSystem() {
  SystemDescription system;
  GetOsVersionText(&system.osText, nullptr, nullptr);
  system.cpu = platform::DescribeCpu();
  system.memory = platform::DescribeMemory();
  system.diskFreeBytes = GetDiskFreeBytes(nullptr);
  return system;
}

std::vector<std::string> FormatSystemInfo(const SystemDescription& system) {
  const auto megabytes = [](std::uint64_t bytes) { return static_cast<double>(bytes) / kMegabyte; };
  std::vector<std::string> lines(7);
  FormatString(lines[0], "OS : %s", system.osText.c_str());
  FormatString(lines[1], "CPU : %s %s %d", system.cpu.vendor.c_str(), system.cpu.brand.c_str(),
               static_cast<int>(system.cpu.clockHz * 0.000001));
  // The free amounts are printed in whole megabytes, the totals with three decimals.
  FormatString(lines[2], "Mem Total : %.3fMB", megabytes(system.memory.totalPhysical));
  FormatString(lines[3], "Mem Free : %3.fMB", megabytes(system.memory.availablePhysical));
  FormatString(lines[4], "Vir Total : %.3fMB", megabytes(system.memory.totalVirtual));
  FormatString(lines[5], "Vir Free : %3.fMB", megabytes(system.memory.availableVirtual));
  FormatString(lines[6], "HD Free : %3.fMB", system.diskFreeBytes / kMegabyte);
  return lines;
}

int ReportSystemInfo() {
  int written = 1;
  for (const std::string& line : FormatSystemInfo(DescribeSystem()))
    written &= ReportF("%s", line.c_str());
  return written;
}
