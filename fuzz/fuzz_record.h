// Shared body of the fuzz targets of single-record files: load arbitrary
// bytes; when they load, what is saved must load again and save the same
// bytes (saving is stable after the first validation).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "model/record/record.h"

template <class T>
int FuzzRecordFile(const std::uint8_t* data, std::size_t size) {
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;
  auto record = std::make_unique<T>();
  if (!record->LoadBytes(std::vector<std::uint8_t>(data, data + size))) return 0;
  const std::vector<std::uint8_t> saved = record->SaveBytes();
  auto again = std::make_unique<T>();
  if (!again->LoadBytes(saved) || again->SaveBytes() != saved) std::abort();
  return 0;
}
