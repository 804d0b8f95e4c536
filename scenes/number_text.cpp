#include "scenes/number_text.h"

#include <algorithm>
#include <cstdint>

int CountDigits(int value) {
  int d = 0;
  while (value / 10 != 0 && d + 1 < 10) {
    value /= 10;
    ++d;
  }
  return d + 1;
}

void IntToText(std::string& out, int value, int nWidth, int bZeroPad, int bPlusSign) {
  const int digits = CountDigits(value);
  if (nWidth <= 0 || nWidth < digits) nWidth = digits;
  nWidth = std::min(nWidth, kMaxNumberTextWidth);
  // The magnitude in 64 bits: INT_MIN has none in int.
  std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
  out.assign(static_cast<std::size_t>(nWidth), '0');
  for (int i = nWidth - 1; i >= 0 && magnitude != 0; --i) {
    out[static_cast<std::size_t>(i)] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  if (!bZeroPad)
    for (std::size_t i = 0; i + 1 < out.size() && out[i] == '0'; ++i) out[i] = ' ';
  if (value < 0)
    out.insert(0, 1, '-');
  else if (bPlusSign)
    out.insert(0, 1, '+');
}

void FormatPlayTime(std::string& out, int nHundredths) {
  const int seconds = nHundredths / 100;
  std::string minutesText, secondsText, hundredthsText;
  IntToText(minutesText, seconds / 60, 2, 1, 0);
  IntToText(secondsText, seconds % 60, 2, 1, 0);
  IntToText(hundredthsText, nHundredths % 100, 2, 1, 0);
  out = minutesText + ":" + secondsText + "." + hundredthsText;
}

int CountIntEqual(const std::vector<int>& values, int value) {
  return static_cast<int>(std::count(values.begin(), values.end(), value));
}
