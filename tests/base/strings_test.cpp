#include "base/strings.h"

#include <gtest/gtest.h>

namespace {

TEST(Strings, CountChars) {
  struct Case {
    const char* text;
    int chars;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 3},
      {"表示ソ", 3},              // three double-byte characters, two with a 0x5C trail byte
      {"a\nb", 2},                // a line feed does not count
      {"\n\n", 0},
      {"ｱｲｳ", 3},                 // half-width katakana: one byte each
      {"x\x82", 2},               // a lead byte at the end counts alone
      {"\x81\x0A" "a", 2},        // a lead byte before a line feed: the line feed still does not count
      {"名前\nabc\r", 6},
  };
  for (const Case& c : cases) EXPECT_EQ(CountChars(c.text), c.chars) << c.text;
}

TEST(Strings, IsDoubleByteChar) {
  EXPECT_TRUE(IsDoubleByteChar("表"));
  EXPECT_TRUE(IsDoubleByteChar("\xFC\xFC"));
  EXPECT_FALSE(IsDoubleByteChar("\x82"));       // followed by the terminating zero
  EXPECT_FALSE(IsDoubleByteChar("\x82\x7F"));   // not a trail byte
  EXPECT_FALSE(IsDoubleByteChar("\xB1\x82"));   // half-width katakana is not a lead byte
  EXPECT_FALSE(IsDoubleByteChar("ab"));
}

}  // namespace
