// CP932 (Windows Shift-JIS) text and its conversion to and from UTF-8.
//
// The program keeps its text as CP932 bytes, as the project files store it;
// everything that leaves through the platform (file names, the report,
// message boxes) is UTF-8. Decoding never stops: a byte that is not valid
// CP932 becomes U+FFFD and the conversion goes on with the next byte; a lead
// and a trail byte that CP932 leaves undefined become one U+FFFD together,
// so a trail byte 0x5C is never read as a backslash.
// Encoding replaces a character that CP932 cannot hold by '?' and says so.
// Where CP932 has several codes for one character, encoding gives the code
// Windows gives (for example U+2235 becomes 0x81E6, not 0x879A or 0xFA5B).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// First byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
bool IsCp932LeadByte(unsigned char byte);
// Second byte of a double-byte character: 0x40-0x7E and 0x80-0xFC.
bool IsCp932TrailByte(unsigned char byte);

std::string Cp932ToUtf8(std::string_view cp932);

// The character at the start of a non-empty text as a Unicode code point,
// with its length in bytes: 2 for a lead byte followed by a trail byte (one
// character even where CP932 leaves the pair undefined), else 1. A byte or
// pair that is not CP932 gives U+FFFD. Table-driven: cheap enough per glyph.
char32_t DecodeCp932Char(std::string_view cp932, std::size_t* length);

// '?' stands for each character without a CP932 form (and for invalid
// UTF-8); *exact, when given, tells whether the result reads back as the
// same text: no '?' was needed and no character was written as the code of
// another (U+00A5 becomes 0x5C, U+301C becomes the code of U+FF5E).
std::string Utf8ToCp932(std::string_view utf8, bool* exact = nullptr);

}  // namespace platform
