#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <vector>

namespace platform {

namespace {

// glibc's "CP932" (not "SHIFT_JIS") matches Windows on every double-byte
// code, including the NEC and IBM extensions and the user-defined area.
class Converter {
 public:
  Converter(const char* to, const char* from, bool utf8Source)
      : m_hIconv(iconv_open(to, from)), m_bUtf8Source(utf8Source) {
    if (m_hIconv == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Converter() { iconv_close(m_hIconv); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts in; each byte iconv refuses is skipped and replaced by
  // `replacement`. Returns false when a replacement was needed.
  bool Convert(std::string_view in, std::string& out, std::string_view replacement) {
    iconv(m_hIconv, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
    out.clear();
    bool exact = true;
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[1024];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result = iconv(m_hIconv, &inPtr, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (result != static_cast<std::size_t>(-1)) continue;
      if (error == E2BIG) continue;
      out.append(replacement);
      exact = false;
      if (error == EINVAL) break;  // a character cut short by the end of the text
      // EILSEQ: invalid, or without a form in the target.
      if (m_bUtf8Source) {
        SkipUtf8Character(inPtr, inLeft);
      } else {
        SkipCp932Character(inPtr, inLeft);
      }
    }
    return exact;
  }

 private:
  // An unrepresentable character is replaced once, not once per byte.
  static void SkipUtf8Character(char*& p, std::size_t& left) {
    std::size_t n = 1;
    while (n < left && n < 4 && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80) ++n;
    p += n;
    left -= n;
  }

  // A lead byte and a trail byte are one character even where CP932 leaves
  // the pair undefined: its trail byte (possibly 0x5C) never stands alone.
  static void SkipCp932Character(char*& p, std::size_t& left) {
    const std::size_t n = left >= 2 && IsCp932LeadByte(static_cast<unsigned char>(p[0])) &&
                                  IsCp932TrailByte(static_cast<unsigned char>(p[1]))
                              ? 2
                              : 1;
    p += n;
    left -= n;
  }

  iconv_t m_hIconv;
  bool m_bUtf8Source;
};

Converter& Decoder() {
  thread_local Converter converter("UTF-8", "CP932", false);
  return converter;
}

Converter& Encoder() {
  thread_local Converter converter("CP932", "UTF-8", true);
  return converter;
}

}  // namespace

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsCp932TrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  // CP932 shares ASCII, which converts to itself: most names and paths are
  // nothing else.
  if (std::all_of(cp932.begin(), cp932.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(cp932);
  }
  std::string out;
  Decoder().Convert(cp932, out, "\xEF\xBF\xBD");  // U+FFFD
  return out;
}

namespace {

char32_t FirstCodePoint(const std::string& utf8) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  if (utf8.empty()) return 0xFFFD;
  if (p[0] < 0x80) return p[0];
  if (p[0] < 0xE0 && utf8.size() >= 2) return (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu);
  if (p[0] < 0xF0 && utf8.size() >= 3)
    return (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
  if (utf8.size() >= 4)
    return (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
  return 0xFFFD;
}

// Code points of every single byte (index = byte) and pair (lead << 8 |
// trail), decoded once through the same iconv conversion as whole texts.
const std::vector<char32_t>& CodePointTable() {
  static const std::vector<char32_t> table = [] {
    std::vector<char32_t> codes(0x10000, 0xFFFD);
    for (unsigned byte = 0; byte <= 0xFF; ++byte) {
      if (IsCp932LeadByte(static_cast<unsigned char>(byte))) continue;
      codes[byte] = FirstCodePoint(Cp932ToUtf8(std::string(1, static_cast<char>(byte))));
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsCp932TrailByte(static_cast<unsigned char>(trail))) continue;
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        codes[lead << 8 | trail] = FirstCodePoint(Cp932ToUtf8(std::string_view(pair, 2)));
      }
    }
    return codes;
  }();
  return table;
}

}  // namespace

char32_t DecodeCp932Char(std::string_view cp932, std::size_t* length) {
  const auto first = static_cast<unsigned char>(cp932[0]);
  if (cp932.size() >= 2 && IsCp932LeadByte(first) &&
      IsCp932TrailByte(static_cast<unsigned char>(cp932[1]))) {
    *length = 2;
    return CodePointTable()[first << 8 | static_cast<unsigned char>(cp932[1])];
  }
  *length = 1;
  return CodePointTable()[first];
}

std::string Utf8ToCp932(std::string_view utf8, bool* exact) {
  std::string out;
  const bool ok = Encoder().Convert(utf8, out, "?");
  // Some characters are written as the code of another one (U+00A5 as 0x5C,
  // the JIS wave dash U+301C as 0x8160, the full-width tilde): the text would
  // read back as something else.
  if (exact) *exact = ok && Cp932ToUtf8(out) == utf8;
  return out;
}

}  // namespace platform
