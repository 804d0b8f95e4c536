#include "model/record/record.h"

#include <algorithm>
#include <cstring>

#include "base/checked_access.h"
#include "base/report.h"
#include "platform/files.h"

std::uint32_t g_nDataVersion = 0;
std::uint32_t g_nFileVersion = 0;
int g_bConvertText = 0;

namespace {

struct cTables {
  std::vector<cEdField> fields;
  std::vector<cEdStringField> strings;
};

// Scratch tables of this thread: one per record operation in progress
// (operations nest when a copy declares its source too). They keep their
// capacity, so declaring a record allocates nothing once they have grown.
thread_local std::vector<std::unique_ptr<cTables>> t_TablePool;
thread_local std::size_t t_nTablesInUse = 0;
// The tables that the DeclareFields running on this thread fills.
thread_local cTables* t_pDeclaring = nullptr;

// The tables of one record for one data version, for one operation.
class cDeclaredTables {
 public:
  cDeclaredTables(cEdRecord& record, std::uint32_t nVersion) {
    if (t_nTablesInUse == t_TablePool.size()) t_TablePool.push_back(std::make_unique<cTables>());
    m_pTables = t_TablePool[t_nTablesInUse++].get();
    m_pTables->fields.clear();
    m_pTables->strings.clear();
    cTables* const outer = t_pDeclaring;
    t_pDeclaring = m_pTables;
    try {
      record.DeclareFields(static_cast<int>(nVersion));
    } catch (...) {
      t_pDeclaring = outer;
      --t_nTablesInUse;
      throw;
    }
    t_pDeclaring = outer;
  }
  cDeclaredTables(const cDeclaredTables&) = delete;
  cDeclaredTables& operator=(const cDeclaredTables&) = delete;
  ~cDeclaredTables() { --t_nTablesInUse; }

  std::vector<cEdField>& Fields() const { return m_pTables->fields; }
  std::vector<cEdStringField>& Strings() const { return m_pTables->strings; }

 private:
  cTables* m_pTables;
};

cTables& DeclaringTables() {
  if (t_pDeclaring == nullptr) throw std::logic_error("fields declared outside a record operation");
  return *t_pDeclaring;
}

bool LoadStrings(cDataReader& f, const std::vector<cEdStringField>& strings) {
  std::uint32_t count = 0;
  if (!f.ReadU32(count)) return false;
  if (count > strings.size()) {
    return f.Fail("string count " + std::to_string(count) + " larger than the " +
                  std::to_string(strings.size()) + " strings of this version");
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!f.ReadString(*strings[i].string)) return false;
  }
  if (g_bConvertText) {
    for (const cEdStringField& entry : strings) std::erase(*entry.string, '\r');
  }
  return true;
}

void SaveStrings(cDataWriter& f, const std::vector<cEdStringField>& strings) {
  f.WriteU32(static_cast<std::uint32_t>(strings.size()));
  for (const cEdStringField& entry : strings) {
    std::string& member = *entry.string;
    // The stored text ends at its first 0 byte, and so does the member.
    member.resize(std::strlen(member.c_str()));
    f.WriteString(member);
  }
}

}  // namespace

void cEdRecord::ClearTables() {
  cTables& tables = DeclaringTables();
  tables.fields.clear();
  tables.strings.clear();
}

void cEdRecord::AddRawField(void* address, int size, int count, const char* name, bool isSigned) {
  DeclaringTables().fields.push_back(cEdField{address, count, static_cast<std::int8_t>(size), name, isSigned});
}

void cEdRecord::AddDiscard(int size, int count, const char* name) {
  AddRawField(nullptr, size, count, name);
}

void cEdRecord::AddString(std::string& member, const char* name) {
  DeclaringTables().strings.push_back(cEdStringField{&member, name});
}

void cEdRecord::DeclareTwoInts(std::int32_t& first, const char* firstName, std::int32_t& second,
                               const char* secondName) {
  ClearTables();
  AddField(first, 1, firstName);
  AddField(second, 1, secondName);
}

bool cEdRecord::Load(cDataReader& f) {
  const cDeclaredTables tables(*this, g_nFileVersion);
  const std::vector<cEdField>& fields = tables.Fields();
  std::uint32_t count = 0;
  if (!f.ReadU32(count)) return false;

  // Arrays are one entry each; files that counted every element as an
  // entry of its own hold the same bytes and are read the same way.
  std::size_t entries = count;
  if (count > fields.size()) {
    std::size_t elementCount = 0;
    for (const cEdField& field : fields) elementCount += static_cast<std::size_t>(field.count);
    if (count != elementCount) {
      return f.Fail("field count " + std::to_string(count) + " larger than the " +
                    std::to_string(fields.size()) + " fields of this version");
    }
    entries = fields.size();
  }

  for (std::size_t i = 0; i < entries; ++i) {
    const cEdField& field = fields[i];
    if (!f.Read(field.address, static_cast<std::size_t>(field.count) * field.size)) return false;
  }
  return LoadStrings(f, tables.Strings());
}

void cEdRecord::StripCR() {
  const cDeclaredTables tables(*this, g_nDataVersion);
  for (const cEdStringField& entry : tables.Strings()) std::erase(*entry.string, '\r');
}

void cEdRecord::Save(cDataWriter& f) {
  const cDeclaredTables tables(*this, g_nDataVersion);
  f.WriteU32(static_cast<std::uint32_t>(tables.Fields().size()));
  for (const cEdField& field : tables.Fields()) {
    const std::size_t bytes = static_cast<std::size_t>(field.count) * field.size;
    if (field.address != nullptr) {
      f.Write(field.address, bytes);
    } else {
      const std::vector<std::uint8_t> zeros(bytes, 0);
      f.Write(zeros.data(), bytes);
    }
  }
  SaveStrings(f, tables.Strings());
}

void cEdRecord::Clear() {
  const cDeclaredTables tables(*this, g_nDataVersion);
  for (const cEdField& field : tables.Fields()) {
    if (field.address != nullptr) {
      std::memset(field.address, 0, static_cast<std::size_t>(field.count) * field.size);
    }
  }
  for (const cEdStringField& entry : tables.Strings()) entry.string->clear();
}

void cEdRecord::CopyValues(const cEdRecord& src) {
  // Declaring the source's tables names its members; none of its values
  // changes.
  cEdRecord& source = const_cast<cEdRecord&>(src);
  const cDeclaredTables to(*this, g_nDataVersion);
  const cDeclaredTables from(source, g_nDataVersion);
  for (std::size_t i = 0; i < to.Fields().size(); ++i) {
    const cEdField& target = to.Fields()[i];
    const cEdField& origin = CheckedAt(from.Fields(), static_cast<int>(i));
    const std::size_t bytes = static_cast<std::size_t>(target.count) * target.size;
    if (target.address != nullptr && origin.address != nullptr &&
        bytes == static_cast<std::size_t>(origin.count) * origin.size) {
      std::memmove(target.address, origin.address, bytes);
    }
  }
  for (std::size_t i = 0; i < to.Strings().size(); ++i) {
    *to.Strings()[i].string = *CheckedAt(from.Strings(), static_cast<int>(i)).string;
  }
}

std::vector<cEdField> cEdRecord::FieldTable(int nVersion) {
  return cDeclaredTables(*this, static_cast<std::uint32_t>(nVersion)).Fields();
}

std::vector<cEdStringField> cEdRecord::StringTable(int nVersion) {
  return cDeclaredTables(*this, static_cast<std::uint32_t>(nVersion)).Strings();
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
  bool loaded = false;
  try {
    loaded = copy->Load(f);
  } catch (...) {
    g_nFileVersion = previousVersion;
    throw;
  }
  if (!loaded) {
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
