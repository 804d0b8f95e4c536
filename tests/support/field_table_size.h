// Sizes of a record's field table, as a file of that version stores them.
#pragma once

#include <cstddef>
#include <vector>

#include "model/record/record.h"

// Values stored: each field counts its array elements.
inline std::size_t FieldValueCount(const std::vector<cEdField>& table) {
  std::size_t values = 0;
  for (const cEdField& field : table) values += static_cast<std::size_t>(field.count);
  return values;
}

inline std::size_t FieldByteCount(const std::vector<cEdField>& table) {
  std::size_t bytes = 0;
  for (const cEdField& field : table) bytes += static_cast<std::size_t>(field.count) * field.size;
  return bytes;
}
