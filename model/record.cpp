#include "model/record.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"
#include "shell/checked_access.h"
#include "shell/report.h"

std::uint32_t g_nDataVersion = 0;
std::uint32_t g_nFileVersion = 0;
int g_bConvertText = 0;

void cEdRecord::ClearTables() {
  m_vFields.clear();
  m_vStrings.clear();
}

void cEdRecord::AddRawField(void* address, int size, int count, const char* name) {
  m_vFields.push_back(cEdField{address, count, static_cast<std::int8_t>(size), name});
}

void cEdRecord::AddDiscard(int size, int count, const char* name) {
  AddRawField(nullptr, size, count, name);
}

void cEdRecord::AddString(std::string& member, const char* name) {
  m_vStrings.push_back(cEdStringField{&member, name});
}

void cEdRecord::DeclareTwoInts(std::int32_t& first, const char* firstName, std::int32_t& second,
                               const char* secondName) {
  ClearTables();
  AddField(first, 1, firstName);
  AddField(second, 1, secondName);
}

bool cEdRecord::Load(cDataReader& f) {
  DeclareFields(static_cast<int>(g_nFileVersion));
  std::uint32_t count = 0;
  if (!f.ReadU32(count)) return false;

  // Arrays are one entry each; files that counted every element as an
  // entry of its own hold the same bytes and are read the same way.
  std::size_t elementCount = 0;
  for (const cEdField& field : m_vFields) elementCount += static_cast<std::size_t>(field.count);
  std::size_t entries = count;
  if (count > m_vFields.size()) {
    if (count != elementCount) {
      return f.Fail("field count " + std::to_string(count) + " larger than the " +
                    std::to_string(m_vFields.size()) + " fields of this version");
    }
    entries = m_vFields.size();
  }

  for (std::size_t i = 0; i < entries; ++i) {
    const cEdField& field = m_vFields[i];
    if (!f.Read(field.address, static_cast<std::size_t>(field.count) * field.size)) return false;
  }
  if (!LoadStrings(f)) return false;
  if (g_nDataVersion != g_nFileVersion) DeclareFields(static_cast<int>(g_nDataVersion));
  return true;
}

bool cEdRecord::LoadStrings(cDataReader& f) {
  std::uint32_t count = 0;
  if (!f.ReadU32(count)) return false;
  if (count > m_vStrings.size()) {
    return f.Fail("string count " + std::to_string(count) + " larger than the " +
                  std::to_string(m_vStrings.size()) + " strings of this version");
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!f.ReadString(*m_vStrings[i].string)) return false;
  }
  if (g_bConvertText) StripCR();
  return true;
}

void cEdRecord::StripCR() {
  for (const cEdStringField& entry : m_vStrings) std::erase(*entry.string, '\r');
}

void cEdRecord::Save(cDataWriter& f) {
  DeclareFields(static_cast<int>(g_nDataVersion));
  f.WriteU32(static_cast<std::uint32_t>(m_vFields.size()));
  for (const cEdField& field : m_vFields) {
    const std::size_t bytes = static_cast<std::size_t>(field.count) * field.size;
    if (field.address != nullptr) {
      f.Write(field.address, bytes);
    } else {
      const std::vector<std::uint8_t> zeros(bytes, 0);
      f.Write(zeros.data(), bytes);
    }
  }
  SaveStrings(f);
}

void cEdRecord::SaveStrings(cDataWriter& f) {
  f.WriteU32(static_cast<std::uint32_t>(m_vStrings.size()));
  for (const cEdStringField& entry : m_vStrings) {
    std::string& member = *entry.string;
    // The stored text ends at its first 0 byte, and so does the member.
    member.resize(std::strlen(member.c_str()));
    f.WriteString(member);
  }
}

void cEdRecord::Clear() {
  DeclareFields(static_cast<int>(g_nDataVersion));
  for (const cEdField& field : m_vFields) {
    if (field.address != nullptr) {
      std::memset(field.address, 0, static_cast<std::size_t>(field.count) * field.size);
    }
  }
  for (const cEdStringField& entry : m_vStrings) entry.string->clear();
}

void cEdRecord::CopyValues(const cEdRecord& src) {
  // The source's tables are a cache of addresses into itself; declaring
  // them does not change any of its values.
  cEdRecord& source = const_cast<cEdRecord&>(src);
  DeclareFields(static_cast<int>(g_nDataVersion));
  source.DeclareFields(static_cast<int>(g_nDataVersion));
  for (std::size_t i = 0; i < m_vFields.size(); ++i) {
    const cEdField& to = m_vFields[i];
    const cEdField& from = CheckedAt(source.m_vFields, static_cast<int>(i));
    const std::size_t bytes = static_cast<std::size_t>(to.count) * to.size;
    if (to.address != nullptr && from.address != nullptr &&
        bytes == static_cast<std::size_t>(from.count) * from.size) {
      std::memmove(to.address, from.address, bytes);
    }
  }
  for (std::size_t i = 0; i < m_vStrings.size(); ++i) {
    *m_vStrings[i].string = *CheckedAt(source.m_vStrings, static_cast<int>(i)).string;
  }
}

const std::vector<cEdField>& cEdRecord::FieldTable(int nVersion) {
  DeclareFields(nVersion);
  return m_vFields;
}

const std::vector<cEdStringField>& cEdRecord::StringTable(int nVersion) {
  DeclareFields(nVersion);
  return m_vStrings;
}

bool cEdRecord::LoadBytes(const std::vector<std::uint8_t>& bytes, std::string* error) {
  cDataReader f(bytes);
  std::uint32_t version = 0;
  if (!f.ReadU32(version)) {
    if (error != nullptr) *error = "file too short for its data version";
    return false;
  }
  const std::uint32_t previousVersion = g_nFileVersion;
  g_nFileVersion = version;
  std::unique_ptr<cEdRecord> copy = Clone();
  if (!copy->Load(f)) {
    g_nFileVersion = previousVersion;
    if (error != nullptr) *error = f.Error();
    return false;
  }
  TakeFrom(std::move(*copy));
  return true;
}

int cEdRecord::LoadFile(const char* path) {
  const char* name = (path == nullptr || *path == '\0') ? "err" : path;
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(platform::MapPath(name), bytes)) return 0;
  std::string error;
  if (!LoadBytes(bytes, &error)) {
    ReportF("%s : %s", name, error.c_str());
    return 0;
  }
  return 1;
}

std::vector<std::uint8_t> cEdRecord::SaveBytes() {
  cDataWriter f;
  f.WriteU32(g_nDataVersion);
  Save(f);
  return f.Bytes();
}

int cEdRecord::SaveFile(const char* path) {
  if (path == nullptr || *path == '\0') return 0;
  const std::vector<std::uint8_t> bytes = SaveBytes();
  return platform::WriteFileAtomic(platform::MapPath(path), bytes) ? 1 : 0;
}
