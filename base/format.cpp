#include "base/format.h"

#include <cstdio>
#include <vector>

std::string FormatStringV(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length), '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  return text;
}

void FormatString(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  out = FormatStringV(format, args);
  va_end(args);
}
