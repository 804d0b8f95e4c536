// Numbers as the fixed-width texts of menus, panels and ranking tables:
// integers with a width, zero padding and sign, and play times as minutes,
// seconds and hundredths.
#pragma once

#include <string>
#include <vector>

// Decimal digits of value without its sign: 1 to 10 (0 has one digit).
int CountDigits(int value);

// out = value in at least nWidth characters of digits (nWidth 0, or below
// the value's digit count, takes the digit count; widths past
// kMaxNumberTextWidth count as that). Without bZeroPad the leading zeros
// become spaces, the last digit always stays. A negative value gets "-" in
// front of the spaces; with bPlusSign a value of 0 or more gets "+". Every
// int is written rightly, INT_MIN included.
void IntToText(std::string& out, int value, int nWidth, int bZeroPad, int bPlusSign);
constexpr int kMaxNumberTextWidth = 1024;

// out = "MM:SS.hh" of a time in hundredths of a second; minutes and seconds
// at least two digits each ("166:40.00"), negative parts with "-".
void FormatPlayTime(std::string& out, int nHundredths);

// The number of elements equal to value.
int CountIntEqual(const std::vector<int>& values, int value);
