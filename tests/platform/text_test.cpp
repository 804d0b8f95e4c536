#include "platform/text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using platform::Cp932ToUtf8;
using platform::Utf8ToCp932;

std::string Utf8(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

std::string Bytes(unsigned code) {
  return code > 0xFF ? std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)}
                     : std::string{static_cast<char>(code)};
}

const std::string kReplacement = Utf8(0xFFFD);

int CountCharacters(const std::string& utf8) {
  int n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// Every double-byte code Windows defines decodes to one character and
// encodes back to itself, except the duplicates that CP932 folds onto one
// code (NEC row 13 and NEC-selected IBM extensions onto the JIS and IBM codes).
TEST(Cp932, EveryDoubleByteCodeRoundTripsOrFoldsOntoItsCanonicalCode) {
  int defined = 0;
  int folded = 0;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!platform::IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!platform::IsCp932TrailByte(static_cast<unsigned char>(trail))) continue;
      const std::string code = Bytes(lead << 8 | trail);
      const std::string text = Cp932ToUtf8(code);
      if (text.find(kReplacement) != std::string::npos) continue;  // not defined
      ++defined;
      EXPECT_EQ(CountCharacters(text), 1) << std::hex << (lead << 8 | trail);
      bool exact = false;
      const std::string back = Utf8ToCp932(text, &exact);
      ASSERT_TRUE(exact) << std::hex << (lead << 8 | trail);
      if (back == code) continue;
      ++folded;
      ASSERT_EQ(back.size(), 2u) << std::hex << (lead << 8 | trail);
      EXPECT_EQ(Cp932ToUtf8(back), text) << std::hex << (lead << 8 | trail);
    }
  }
  EXPECT_EQ(defined, 9604);  // JIS X 0208, NEC and IBM extensions, user-defined area
  EXPECT_EQ(folded, 398);
}

TEST(Cp932, DecodesAsWindowsDoes) {
  const std::map<unsigned, char32_t> known = {
      {0x815C, 0x2015}, {0x8160, 0xFF5E}, {0x8161, 0x2225}, {0x817C, 0xFF0D},
      {0x8191, 0xFFE0}, {0x8192, 0xFFE1}, {0x81CA, 0xFFE2}, {0x8754, 0x2160},
      {0x878A, 0x3231}, {0xED40, 0x7E8A}, {0xFA5C, 0x7E8A}, {0xFA40, 0x2170},
      {0xEEEF, 0x2170}, {0x82A0, 0x3042}, {0x889F, 0x4E9C}, {0x955C, 0x8868},
      {0x835C, 0x30BD}, {0xF040, 0xE000}, {0xF9FC, 0xE757}, {0x5C, 0x5C},
      {0x7E, 0x7E},     {0xA1, 0xFF61},   {0xDF, 0xFF9F},
  };
  for (const auto& [code, character] : known)
    EXPECT_EQ(Cp932ToUtf8(Bytes(code)), Utf8(character)) << std::hex << code;
}

TEST(Cp932, AsciiDecodesToItselfAloneAndAmongOtherCharacters) {
  const std::string hiragana = "\x82\xA0";
  for (int byte = 0; byte < 0x80; ++byte) {
    const std::string ascii(1, static_cast<char>(byte));
    EXPECT_EQ(Cp932ToUtf8(ascii), ascii) << byte;
    EXPECT_EQ(Cp932ToUtf8(hiragana + ascii), Utf8(0x3042) + ascii) << byte;
  }
}

TEST(Cp932, EncodesDuplicatesToTheCodeWindowsPrefers) {
  const std::map<char32_t, unsigned> canonical = {
      {0x2252, 0x81E0}, {0x2261, 0x81DF}, {0x222B, 0x81E7}, {0x221A, 0x81E3},
      {0x22A5, 0x81DB}, {0x2220, 0x81DA}, {0x2235, 0x81E6}, {0x2229, 0x81BF},
      {0x222A, 0x81BE}, {0xFFE2, 0x81CA}, {0x2160, 0x8754}, {0x2170, 0xFA40},
      {0x3231, 0x878A}, {0x2116, 0x8782}, {0x2121, 0x8784}, {0x7E8A, 0xFA5C},
      {0xFFE4, 0xFA55}, {0xFF07, 0xFA56}, {0xFF02, 0xFA57},
  };
  for (const auto& [character, code] : canonical)
    EXPECT_EQ(Utf8ToCp932(Utf8(character)), Bytes(code)) << std::hex << static_cast<unsigned>(character);
}

TEST(Cp932, InvalidBytesBecomeReplacementCharactersAndDecodingGoesOn) {
  struct Case {
    std::string cp932;
    std::string utf8;
  };
  const Case cases[] = {
      {"\x80" "a", kReplacement + "a"},
      {"a\xA0" "b", "a" + kReplacement + "b"},
      {"\xFD\xFE\xFF", kReplacement + kReplacement + kReplacement},
      {"x\x82", "x" + kReplacement},            // lead byte cut off at the end
      {"\x81 z", kReplacement + " z"},          // lead byte with no trail byte
      {"\x85\x41z", kReplacement + "z"},        // an undefined pair is one character
      {"\x82\\b", kReplacement + "b"},          // even when its trail byte is 0x5C
      {"\xEB\x5C\xFC\x5C", kReplacement + kReplacement},
      {std::string("\x82\xA0\0\x82\xA0", 5), Utf8(0x3042) + std::string(1, '\0') + Utf8(0x3042)},
  };
  for (const Case& c : cases) EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
}

TEST(Cp932, CharactersWithoutACp932FormBecomeQuestionMarks) {
  bool exact = true;
  EXPECT_EQ(Utf8ToCp932(std::string("a").append(Utf8(0xE9)) + "b" + Utf8(0x1F600) + "c", &exact), "a?b?c");
  EXPECT_FALSE(exact);
  EXPECT_EQ(Utf8ToCp932("a\xFF" "b", &exact), "a?b");  // not UTF-8 at all
  EXPECT_EQ(Utf8ToCp932("a\xE3\x81", &exact), "a?");  // cut short at the end
  EXPECT_FALSE(exact);
  EXPECT_EQ(Utf8ToCp932(Utf8(0x8868) + "\\", &exact), "\x95\x5C\\");
  EXPECT_TRUE(exact);
  // Written as the code of another character: the text does not read back.
  for (const char32_t c : {0xA5, 0x203E, 0x301C, 0x2016, 0x2212, 0xA2, 0xA3, 0xAC, 0x2014}) {
    Utf8ToCp932(Utf8(c), &exact);
    EXPECT_FALSE(exact) << std::hex << static_cast<unsigned>(c);
  }
}

TEST(Cp932, LeadAndTrailBytes) {
  for (unsigned b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    EXPECT_EQ(platform::IsCp932LeadByte(byte), (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC))
        << b;
    EXPECT_EQ(platform::IsCp932TrailByte(byte), b >= 0x40 && b <= 0xFC && b != 0x7F) << b;
  }
}

}  // namespace
