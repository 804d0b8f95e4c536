#include "shell/strings.h"

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
