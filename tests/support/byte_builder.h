// Builds data-file images byte by byte for tests: little-endian integers,
// doubles, record strings and the parts of a record, in the order written.
//
//   ByteBuilder b;
//   b.U32(566).U32(2).I32(20).I32(15).U32(0);   // version, 2 fields, no strings
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

class ByteBuilder {
 public:
  ByteBuilder& U8(std::uint8_t v) { return Raw(&v, 1); }
  ByteBuilder& I8(std::int8_t v) { return Raw(&v, 1); }
  ByteBuilder& I16(std::int16_t v) { return Raw(&v, 2); }
  ByteBuilder& U16(std::uint16_t v) { return Raw(&v, 2); }
  ByteBuilder& I32(std::int32_t v) { return Raw(&v, 4); }
  ByteBuilder& U32(std::uint32_t v) { return Raw(&v, 4); }
  ByteBuilder& F64(double v) { return Raw(&v, 8); }

  // A record string: u32 (length + 1), then the text and a 0 byte.
  ByteBuilder& Str(std::string_view text) {
    U32(static_cast<std::uint32_t>(text.size() + 1));
    if (!text.empty()) {
      Raw(text.data(), text.size());
      U8(0);
    }
    return *this;
  }

  // A record's base part made only of int32 fields and strings.
  ByteBuilder& Ints(std::initializer_list<std::int32_t> fields) {
    U32(static_cast<std::uint32_t>(fields.size()));
    for (std::int32_t v : fields) I32(v);
    return *this;
  }
  ByteBuilder& Strings(std::initializer_list<std::string_view> texts) {
    U32(static_cast<std::uint32_t>(texts.size()));
    for (std::string_view t : texts) Str(t);
    return *this;
  }

  ByteBuilder& Bytes(const std::vector<std::uint8_t>& bytes) {
    m_Bytes.insert(m_Bytes.end(), bytes.begin(), bytes.end());
    return *this;
  }

  ByteBuilder& Raw(const void* data, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < n; ++i) m_Bytes.push_back(p[i]);
    return *this;
  }

  const std::vector<std::uint8_t>& Get() const { return m_Bytes; }
  std::size_t Size() const { return m_Bytes.size(); }

 private:
  std::vector<std::uint8_t> m_Bytes;
};
