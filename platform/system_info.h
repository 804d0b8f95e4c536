// A description of the machine for the report, from the Linux kernel's own
// sources: uname, /proc/cpuinfo, /proc/meminfo (sysinfo when it cannot be
// read) and statvfs. What cannot be found is left empty or zero.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct OsDescription {
  std::string name;     // "Linux"
  std::string release;  // the kernel release, "6.1.0-13-amd64"
};

struct CpuDescription {
  std::string vendor;    // "GenuineIntel"
  std::string brand;     // the model name
  double clockHz = 0.0;  // the first processor's current clock
};

// Bytes. Virtual memory is the physical memory and the swap space together.
struct MemoryDescription {
  std::uint64_t totalPhysical = 0;
  std::uint64_t availablePhysical = 0;
  std::uint64_t totalVirtual = 0;
  std::uint64_t availableVirtual = 0;
};

OsDescription DescribeOs();
CpuDescription DescribeCpu();
MemoryDescription DescribeMemory();
// The most memory this process has held resident so far, in bytes.
std::uint64_t PeakResidentBytes();
// Bytes free to this user on the file system of the folder (a program path).
std::optional<std::uint64_t> DiskFreeBytes(std::string_view windowsFolder);

}  // namespace platform
