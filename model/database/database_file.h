// Reading and writing one database file: the u32 data version of its
// writer, a u32 element count n, then n records one after another.
//
// A list is read into a copy and committed only when the whole file was
// read, so a damaged file leaves the list as it was. Elements that the list
// already had are loaded over (members an old file lacks keep their values);
// new elements start from the class's default. A file that holds no element
// gives a list of one default element: every list has its entry 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/report.h"
#include "model/record/record.h"
#include "platform/files.h"

template <class T>
bool ReadDatabaseList(cDataReader& f, std::vector<T>& list) {
  std::uint32_t count = 0;
  if (!f.ReadCount(count, 8)) return false;
  // Elements the list already had are loaded over; new ones start as defaults.
  const std::size_t kept = list.size() < count ? list.size() : count;
  list.resize(kept);
  for (T& element : list) {
    if (!element.Load(f)) return false;
  }
  for (std::uint32_t i = static_cast<std::uint32_t>(kept); i < count; ++i) {
    list.emplace_back();
    if (!list.back().Load(f)) return false;
  }
  if (list.empty()) list.emplace_back();
  return true;
}

// Loads a whole file image; false with the reason in error on damage.
template <class T>
bool LoadDatabaseBytes(std::vector<T>& list, const std::vector<std::uint8_t>& bytes,
                       std::string* error = nullptr) {
  cDataReader f(bytes);
  std::uint32_t version = 0;
  std::vector<T> copy = list;
  // Like every other loader, a failed load leaves the file version as it was.
  const std::uint32_t previousVersion = g_nFileVersion;
  if (f.ReadU32(version)) {
    g_nFileVersion = version;
    bool loaded = false;
    try {
      loaded = ReadDatabaseList(f, copy);
    } catch (...) {
      g_nFileVersion = previousVersion;
      throw;
    }
    if (loaded) {
      list = std::move(copy);
      return true;
    }
  }
  g_nFileVersion = previousVersion;
  if (error != nullptr) *error = f.Error();
  return false;
}

// 1 when the file was read whole. A damaged file is reported as
// "<path> : <reason>"; a missing one is not reported here.
template <class T>
int LoadDatabaseFile(std::vector<T>& list, const char* path) {
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadProgramFile(path, bytes)) return 0;
  std::string error;
  if (!LoadDatabaseBytes(list, bytes, &error)) {
    ReportF("%s : %s", path, error.c_str());
    return 0;
  }
  return 1;
}

template <class T>
std::vector<std::uint8_t> SaveDatabaseBytes(std::vector<T>& list) {
  cDataWriter f;
  f.WriteU32(g_nDataVersion);
  SaveRecordList(f, list);
  return f.Bytes();
}

// 1 when the file was written; on failure the old file stays as it was.
template <class T>
int SaveDatabaseFile(std::vector<T>& list, const char* path) {
  return platform::WriteFileAtomic(platform::MapPath(path), SaveDatabaseBytes(list)) ? 1 : 0;
}
