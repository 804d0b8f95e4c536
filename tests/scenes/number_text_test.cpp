// The number texts of menus and panels: widths, padding and signs for every
// int (INT_MIN and INT_MAX included), play times, digit counts.
#include "scenes/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(CountDigits, CountsDecimalDigitsWithoutTheSign) {
  const struct {
    int value, digits;
  } cases[] = {{0, 1}, {9, 1}, {10, 2}, {-10, 2}, {99999, 5}, {1000000000, 10}, {INT_MAX, 10}, {INT_MIN, 10}};
  for (const auto& c : cases) EXPECT_EQ(CountDigits(c.value), c.digits) << c.value;
}

TEST(IntToText, WidthPaddingAndSign) {
  const struct {
    int value, width, zeroPad, plus;
    const char* text;
  } cases[] = {
      {5, 3, 0, 0, "  5"},
      {5, 3, 1, 0, "005"},
      {-5, 3, 0, 0, "-  5"},
      {-5, 3, 1, 0, "-005"},
      {7, 0, 0, 1, "+7"},
      {0, 0, 0, 1, "+0"},
      {0, 4, 0, 0, "   0"},  // the last digit stays
      {0, 4, 1, 0, "0000"},
      {1234, 2, 0, 0, "1234"},  // a width below the digits takes the digits
      {1234, -3, 1, 0, "1234"},
      {-1234, 6, 0, 1, "-  1234"},  // the plus sign is for values of 0 or more only
      {INT_MAX, 0, 0, 0, "2147483647"},
      {INT_MIN, 0, 0, 0, "-2147483648"},
      {INT_MIN, 12, 1, 0, "-002147483648"},
      {INT_MIN, 12, 0, 1, "-  2147483648"},
  };
  for (const auto& c : cases) {
    std::string text = "old";
    IntToText(text, c.value, c.width, c.zeroPad, c.plus);
    EXPECT_EQ(text, c.text) << c.value << " width " << c.width;
  }
}

TEST(IntToText, AHugeWidthIsCapped) {
  std::string text;
  IntToText(text, 1, INT_MAX, 1, 0);
  EXPECT_EQ(text.size(), static_cast<std::size_t>(kMaxNumberTextWidth));
  EXPECT_EQ(text.back(), '1');
}

TEST(FormatPlayTime, MinutesSecondsAndHundredths) {
  const struct {
    int hundredths;
    const char* text;
  } cases[] = {
      {0, "00:00.00"},
      {6543, "01:05.43"},
      {1000000, "166:40.00"},
      {5999, "00:59.99"},
      {-6543, "-01:-05.-43"},  // each part keeps its sign
      {INT_MAX, "357913:56.47"},
      {INT_MIN, "-357913:-56.-48"},
  };
  for (const auto& c : cases) {
    std::string text;
    FormatPlayTime(text, c.hundredths);
    EXPECT_EQ(text, c.text) << c.hundredths;
  }
}

TEST(CountIntEqual, CountsMatchingElements) {
  EXPECT_EQ(CountIntEqual({-1, 3, -1, 0, -1}, -1), 3);
  EXPECT_EQ(CountIntEqual({}, 0), 0);
}

}  // namespace
