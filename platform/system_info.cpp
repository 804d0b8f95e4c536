#include "platform/system_info.h"

#include <fstream>
#include <map>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include "platform/files.h"

namespace platform {

namespace {

// The "key : value" lines of a /proc file up to the first empty line (the
// first processor of /proc/cpuinfo), keys and values trimmed.
std::map<std::string, std::string> ReadProcFields(const char* path) {
  std::map<std::string, std::string> fields;
  std::ifstream in(path);
  const auto trim = [](const std::string& s) {
    const auto begin = s.find_first_not_of(" \t");
    const auto end = s.find_last_not_of(" \t");
    return begin == std::string::npos ? std::string() : s.substr(begin, end - begin + 1);
  };
  for (std::string line; std::getline(in, line) && !line.empty();) {
    const auto colon = line.find(':');
    if (colon != std::string::npos) fields.emplace(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
  }
  return fields;
}

// A /proc/meminfo value ("16314520 kB") in bytes.
std::optional<std::uint64_t> KilobytesField(const std::map<std::string, std::string>& fields,
                                            const std::string& key) {
  const auto it = fields.find(key);
  if (it == fields.end()) return std::nullopt;
  try {
    return std::stoull(it->second) * 1024u;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

OsDescription DescribeOs() {
  utsname names;
  if (::uname(&names) != 0) return {};
  return {names.sysname, names.release};
}

CpuDescription DescribeCpu() {
  const auto fields = ReadProcFields("/proc/cpuinfo");
  CpuDescription cpu;
  if (auto it = fields.find("vendor_id"); it != fields.end()) cpu.vendor = it->second;
  if (auto it = fields.find("model name"); it != fields.end()) cpu.brand = it->second;
  if (auto it = fields.find("cpu MHz"); it != fields.end()) {
    try {
      cpu.clockHz = std::stod(it->second) * 1e6;
    } catch (const std::exception&) {
    }
  }
  return cpu;
}

std::uint64_t PeakResidentBytes() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
}

MemoryDescription DescribeMemory() {
  const auto fields = ReadProcFields("/proc/meminfo");
  const auto total = KilobytesField(fields, "MemTotal");
  const auto available = KilobytesField(fields, "MemAvailable");
  const auto swapTotal = KilobytesField(fields, "SwapTotal");
  const auto swapFree = KilobytesField(fields, "SwapFree");
  MemoryDescription memory;
  if (total && available && swapTotal && swapFree) {
    memory.totalPhysical = *total;
    memory.availablePhysical = *available;
    memory.totalVirtual = *total + *swapTotal;
    memory.availableVirtual = *available + *swapFree;
    return memory;
  }
  struct sysinfo info;
  if (::sysinfo(&info) != 0) return memory;
  const std::uint64_t unit = info.mem_unit;
  memory.totalPhysical = info.totalram * unit;
  memory.availablePhysical = (info.freeram + info.bufferram) * unit;
  memory.totalVirtual = memory.totalPhysical + info.totalswap * unit;
  memory.availableVirtual = memory.availablePhysical + info.freeswap * unit;
  return memory;
}

std::optional<std::uint64_t> DiskFreeBytes(std::string_view windowsFolder) {
  const std::filesystem::path folder = MapPath(windowsFolder);
  struct statvfs fs;
  if (::statvfs(folder.empty() ? "." : folder.c_str(), &fs) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
}

}  // namespace platform
