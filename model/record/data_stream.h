// Bounded reading and growing writing of data-file bytes.
//
// cDataReader reads from bytes held in memory and never past their end: the
// first short read or implausible count marks the reader failed, keeps the
// reason and makes every later read fail too. cDataWriter appends to a byte
// vector that the caller then writes to a file in one piece. Integers are
// little-endian, doubles IEEE 754, nothing is padded.
//
// A string is u32 (length + 1), then the text and a 0 byte; an empty string
// is the length word 1 alone (a length word of 0 also reads as empty). The
// text ends at its first 0 byte. A value list is a u32 count followed by the
// values; a string list a u32 count followed by the strings.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// Copies n bytes without calling memcpy when n is at most 16 (stored
// numbers and short runs of them, which records read one by one).
inline void CopySmall(void* dst, const void* src, std::size_t n) {
  auto* to = static_cast<std::uint8_t*>(dst);
  const auto* from = static_cast<const std::uint8_t*>(src);
  // Two copies of a fixed size that overlap in the middle cover n exactly.
  if (n >= 8 && n <= 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4 && n < 8) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else if (n >= 2 && n < 4) {
    std::memcpy(to, from, 2);
    std::memcpy(to + n - 2, from + n - 2, 2);
  } else if (n == 1) {
    *to = *from;
  } else if (n != 0) {
    std::memcpy(to, from, n);
  }
}

class cDataReader {
 public:
  cDataReader(const std::uint8_t* data, std::size_t size) : m_pData(data), m_nSize(size) {}
  explicit cDataReader(const std::vector<std::uint8_t>& bytes) : cDataReader(bytes.data(), bytes.size()) {}

  // Copies n bytes into dst, or skips them when dst is null.
  bool Read(void* dst, std::size_t n) {
    if (m_bFailed) return false;
    if (n > Remaining()) [[unlikely]] return FailWith("file ends early");
    if (dst != nullptr) CopySmall(dst, m_pData + m_nPos, n);
    m_nPos += n;
    return true;
  }

  // The next n bytes, passed over; null, with nothing passed over and the
  // reader not failed, when fewer are left or the reader failed before.
  const std::uint8_t* Take(std::size_t n) {
    if (m_bFailed || n > Remaining()) return nullptr;
    const std::uint8_t* bytes = m_pData + m_nPos;
    m_nPos += n;
    return bytes;
  }

  template <class T>
  bool ReadValue(T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    return Read(&value, sizeof value);
  }

  bool ReadU32(std::uint32_t& value) { return ReadValue(value); }

  // Reads an element count and checks that the file can still hold that
  // many elements of at least minElementBytes each, so that a damaged count
  // is refused before anything is allocated for it.
  bool ReadCount(std::uint32_t& count, std::size_t minElementBytes) {
    if (!ReadU32(count)) return false;
    std::size_t leastBytes = 0;
    if (__builtin_mul_overflow(std::size_t{count}, minElementBytes, &leastBytes) || leastBytes > Remaining())
        [[unlikely]] {
      return FailCount(count);
    }
    return true;
  }

  bool ReadString(std::string& text) {
    std::uint32_t length = 0;
    if (!ReadU32(length)) return false;
    if (length <= 1) {
      text.clear();
      return true;
    }
    if (length > Remaining()) [[unlikely]] return FailWith("string longer than the rest of the file");
    const std::string_view stored(reinterpret_cast<const char*>(m_pData + m_nPos), length);
    text.assign(stored.substr(0, stored.find('\0')));
    m_nPos += length;
    return true;
  }

  // Replaces list by the stored count of values.
  template <class T>
  bool ReadValueList(std::vector<T>& list) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::uint32_t count = 0;
    if (!ReadCount(count, sizeof(T))) return false;
    list.resize(count);
    return count == 0 || Read(list.data(), count * sizeof(T));
  }

  bool ReadStringList(std::vector<std::string>& list) {
    std::uint32_t count = 0;
    if (!ReadCount(count, 4)) return false;
    list.assign(count, std::string());
    for (std::string& text : list) {
      if (!ReadString(text)) return false;
    }
    return true;
  }

  bool Fail(const std::string& reason) {
    if (!m_bFailed) {
      m_bFailed = true;
      m_strError = reason + " (at byte " + std::to_string(m_nPos) + ")";
    }
    return false;
  }

  bool Failed() const { return m_bFailed; }
  const std::string& Error() const { return m_strError; }
  std::size_t Position() const { return m_nPos; }
  std::size_t Remaining() const { return m_nSize - m_nPos; }
  bool AtEnd() const { return m_nPos == m_nSize; }

 private:
  // The failures of the reads, out of line so that the reads stay
  // small enough to be inlined where records are read.
  [[gnu::cold, gnu::noinline]] bool FailWith(const char* reason) { return Fail(reason); }
  [[gnu::cold, gnu::noinline]] bool FailCount(std::uint32_t count) {
    return Fail("count " + std::to_string(count) + " larger than the rest of the file");
  }

  const std::uint8_t* m_pData;
  std::size_t m_nSize;
  std::size_t m_nPos = 0;
  bool m_bFailed = false;
  std::string m_strError;
};

class cDataWriter {
 public:
  void Write(const void* src, std::size_t n) {
    if (n == 0) return;
    const std::size_t end = m_Bytes.size();
    m_Bytes.resize(end + n);
    std::memcpy(m_Bytes.data() + end, src, n);
  }

  template <class T>
  void WriteValue(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    Write(&value, sizeof value);
  }

  void WriteU32(std::uint32_t value) { WriteValue(value); }

  // Writes the text up to its first 0 byte.
  void WriteString(const std::string& text) {
    const std::size_t length = std::min(text.find('\0'), text.size());
    WriteU32(static_cast<std::uint32_t>(length + 1));
    if (length != 0) {
      Write(text.data(), length);
      WriteValue(std::uint8_t{0});
    }
  }

  template <class T>
  void WriteValueList(const std::vector<T>& list) {
    static_assert(std::is_trivially_copyable_v<T>);
    WriteU32(static_cast<std::uint32_t>(list.size()));
    if (!list.empty()) Write(list.data(), list.size() * sizeof(T));
  }

  void WriteStringList(const std::vector<std::string>& list) {
    WriteU32(static_cast<std::uint32_t>(list.size()));
    for (const std::string& text : list) WriteString(text);
  }

  const std::vector<std::uint8_t>& Bytes() const { return m_Bytes; }

 private:
  std::vector<std::uint8_t> m_Bytes;
};
