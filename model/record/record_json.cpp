#include "model/record/record_json.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "model/record/record.h"
#include "platform/text.h"

namespace {

void AppendQuoted(std::string& out, const std::string& utf8) {
  out += '"';
  for (const char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

template <class Signed, class Unsigned>
void FormatInteger(char (&text)[40], const void* address, bool isSigned) {
  if (isSigned) {
    Signed v;
    std::memcpy(&v, address, sizeof v);
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(v));
  } else {
    Unsigned v;
    std::memcpy(&v, address, sizeof v);
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(v));
  }
}

// An integer prints with the signedness of its member.
void AppendNumber(std::string& out, const void* address, int size, bool isSigned) {
  char text[40];
  switch (size) {
    case 1: FormatInteger<std::int8_t, std::uint8_t>(text, address, isSigned); break;
    case 2: FormatInteger<std::int16_t, std::uint16_t>(text, address, isSigned); break;
    case 4: FormatInteger<std::int32_t, std::uint32_t>(text, address, isSigned); break;
    default: {
      double v;
      std::memcpy(&v, address, 8);
      if (std::isfinite(v)) {
        std::snprintf(text, sizeof text, "%.17g", v);
      } else {
        std::snprintf(text, sizeof text, "\"%g\"", v);
      }
    }
  }
  out += text;
}

class cJsonWriter : public cRecordVisitor {
 public:
  explicit cJsonWriter(std::string& out) : m_Out(out) {}

  void Record(cEdRecord& record) {
    m_Out += '{';
    ++m_nDepth;
    m_bFirst = true;
    for (const cEdField& field : record.FieldTable(static_cast<int>(g_nDataVersion))) {
      if (field.address != nullptr) Value(field.name, field.address, field.size, field.count, field.isSigned);
    }
    for (const cEdStringField& entry : record.StringTable(static_cast<int>(g_nDataVersion))) {
      Text(entry.name, *entry.string);
    }
    record.VisitTail(*this);
    --m_nDepth;
    Newline();
    m_Out += '}';
    m_bFirst = false;
  }

  void BeginList(const char* name, std::size_t) override {
    Key(name);
    m_Out += '[';
    ++m_nDepth;
    m_bFirst = true;
  }
  void Element(cEdRecord& element) override {
    Separator();
    Record(element);
  }
  void EndList() override {
    --m_nDepth;
    if (!m_bFirst) Newline();
    m_Out += ']';
    m_bFirst = false;
  }
  void Value(const char* name, const void* address, int size, int count, bool isSigned) override {
    Key(name);
    const auto* bytes = static_cast<const std::uint8_t*>(address);
    if (count == 1) {
      AppendNumber(m_Out, bytes, size, isSigned);
      return;
    }
    m_Out += '[';
    for (int i = 0; i < count; ++i) {
      if (i != 0) m_Out += ',';
      AppendNumber(m_Out, bytes + static_cast<std::size_t>(i) * size, size, isSigned);
    }
    m_Out += ']';
  }
  void Text(const char* name, const std::string& text) override {
    Key(name);
    AppendQuoted(m_Out, platform::Cp932ToUtf8(text));
  }

 private:
  void Newline() {
    m_Out += '\n';
    m_Out.append(static_cast<std::size_t>(m_nDepth) * 2, ' ');
  }
  void Separator() {
    if (!m_bFirst) m_Out += ',';
    m_bFirst = false;
    Newline();
  }
  void Key(const char* name) {
    Separator();
    AppendQuoted(m_Out, name);
    m_Out += ": ";
  }

  std::string& m_Out;
  int m_nDepth = 0;
  bool m_bFirst = true;
};

}  // namespace

std::string RecordToJson(cEdRecord& record) {
  std::string out;
  cJsonWriter writer(out);
  writer.Record(record);
  out += '\n';
  return out;
}
