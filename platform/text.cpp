#include "platform/text.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

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
  std::string out;
  Decoder().Convert(cp932, out, "\xEF\xBF\xBD");  // U+FFFD
  return out;
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
