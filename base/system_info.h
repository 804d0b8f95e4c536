// The machine description of the report and the system version test.
//
// This system is described by its own sources (platform/system_info.h) in
// the report's fixed line formats. For the version test it counts as a
// current Windows (10.0) and the graphics driver as new enough for every
// renderer: decisions that older Windows versions needed do not apply.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system_info.h"

// "<name> <release> PID <platform id> Build <build>"; major and minor of the
// version; any output may be null.
void GetOsVersionText(std::string* text, int* major, int* minor);
bool IsOsVersionAtLeast(int major, int minor);

// Bytes free on the file system of the folder (the current one when null),
// capped at 2147483647; 0 when unknown.
int GetDiskFreeBytes(const char* root);

// The graphics driver's interface version: 99999, "not found", as no such
// version exists here.
int GetDdiVersion();

struct SystemDescription {
  std::string osText;
  platform::CpuDescription cpu;
  platform::MemoryDescription memory;
  int diskFreeBytes = 0;
};

SystemDescription DescribeSystem();
// The report lines of a description: OS, CPU, four memory lines, disk.
std::vector<std::string> FormatSystemInfo(const SystemDescription& system);
// Writes the lines of this machine to the report; 0 when it cannot be written.
int ReportSystemInfo();
