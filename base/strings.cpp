#include "base/strings.h"

#include <climits>
#include <cstdlib>

#include "platform/text.h"

bool IsDoubleByteChar(const char* text) {
  return platform::IsCp932LeadByte(static_cast<unsigned char>(text[0])) &&
         platform::IsCp932TrailByte(static_cast<unsigned char>(text[1]));
}

int CountChars(const char* text) {
  int count = 0;
  for (const char* p = text; *p != '\0';) {
    if (IsDoubleByteChar(p)) {
      p += 2;
      ++count;
      continue;
    }
    if (*p != '\n') ++count;
    ++p;
  }
  return count;
}

int AtoiSaturated(const char* text) {
  const long long value = std::strtoll(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}
