#include "model/record/record.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <typeinfo>
#include <unordered_map>

#include "base/checked_access.h"
#include "base/report.h"
#include "platform/files.h"

std::uint32_t g_nDataVersion = 0;
std::uint32_t g_nFileVersion = 0;
int g_bConvertText = 0;

namespace {

// A piece of the stored fields that is copied in one: fields that follow
// each other in the record as in the file. A null offset is a discard.
struct cFieldRun {
  void* offset;
  std::size_t bytes;
};

struct cTables {
  std::vector<cEdField> fields;
  std::vector<cEdStringField> strings;
  // Derived from fields once they are offsets (PlanRuns).
  std::vector<cFieldRun> runs;
  std::size_t storedBytes = 0;
};

// Scratch tables of this thread: one per record operation in progress
// (operations nest when a copy declares its source too). They keep their
// capacity, so declaring a record allocates nothing once they have grown.
thread_local std::vector<std::unique_ptr<cTables>> t_TablePool;
thread_local std::size_t t_nTablesInUse = 0;
// The tables that the DeclareFields running on this thread fills.
thread_local cTables* t_pDeclaring = nullptr;

// A member's address as an offset from the start of its record, and back.
// No member starts where its record does (the record's virtual table pointer
// lies there), so a null offset still marks a discard.
void* OffsetOf(void* address, std::uintptr_t begin) {
  return address == nullptr ? nullptr : reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(address) - begin);
}
void* AddressAt(const void* offset, std::uintptr_t begin) {
  return offset == nullptr ? nullptr : reinterpret_cast<void*>(begin + reinterpret_cast<std::uintptr_t>(offset));
}

void MakeOffsets(cTables& tables, std::uintptr_t begin) {
  for (cEdField& field : tables.fields) field.address = OffsetOf(field.address, begin);
  for (cEdStringField& entry : tables.strings) {
    entry.string = static_cast<std::string*>(OffsetOf(entry.string, begin));
  }
}

void PlanRuns(cTables& tables) {
  tables.runs.clear();
  tables.storedBytes = 0;
  for (const cEdField& field : tables.fields) {
    const std::size_t bytes = static_cast<std::size_t>(field.count) * field.size;
    tables.storedBytes += bytes;
    if (!tables.runs.empty()) {
      cFieldRun& last = tables.runs.back();
      const bool bothDiscards = last.offset == nullptr && field.address == nullptr;
      const bool adjacent = last.offset != nullptr && field.address != nullptr &&
                            reinterpret_cast<std::uintptr_t>(last.offset) + last.bytes ==
                                reinterpret_cast<std::uintptr_t>(field.address);
      if (bothDiscards || adjacent) {
        last.bytes += bytes;
        continue;
      }
    }
    tables.runs.push_back(cFieldRun{field.address, bytes});
  }
}

// True for bytes bytes at offset inside a record of size bytes.
bool Inside(const void* offset, std::size_t bytes, std::size_t size) {
  const auto at = reinterpret_cast<std::uintptr_t>(offset);
  return bytes <= size && at <= size - bytes;
}

// The tables of one record class for one data version, as offsets. Only a
// class whose members all lie inside its records keeps them (placed); one
// that registers anything else is declared anew for every operation.
struct cClassTables {
  bool placed = false;
  cTables offsets;
};

cClassTables PlaceTables(const cTables& offsets, std::size_t size) {
  cClassTables placed;
  for (const cEdField& field : offsets.fields) {
    if (field.address != nullptr && !Inside(field.address, static_cast<std::size_t>(field.count) * field.size, size)) {
      return placed;
    }
  }
  for (const cEdStringField& entry : offsets.strings) {
    if (!Inside(entry.string, sizeof(std::string), size)) return placed;
  }
  placed.placed = true;
  placed.offsets = offsets;
  return placed;
}

struct cClassKey {
  const std::type_info* type = nullptr;
  std::uint32_t version = 0;
  bool operator==(const cClassKey&) const = default;
};

std::size_t HashOf(const cClassKey& key) {
  return (reinterpret_cast<std::uintptr_t>(key.type) >> 4) ^ (static_cast<std::size_t>(key.version) * 0x9E3779B1u);
}

struct cClassKeyHash {
  std::size_t operator()(const cClassKey& key) const { return HashOf(key); }
};

// Every class and version this thread declared, and in front of them the
// ones met last, by a short hash, so that a record finds its class's tables
// in a few instructions.
thread_local std::unordered_map<cClassKey, cClassTables, cClassKeyHash> t_ClassTables;
struct cRecentClass {
  cClassKey key;
  const cClassTables* tables = nullptr;
};
thread_local std::array<cRecentClass, 64> t_RecentClasses;

// The tables of one record for one data version, for one operation, with
// every member as its offset from the start of the record.
class cDeclaredTables {
 public:
  cDeclaredTables(cEdRecord& record, std::uint32_t nVersion)
      : m_nBegin(reinterpret_cast<std::uintptr_t>(dynamic_cast<void*>(&record))) {
    const cClassKey key{&typeid(record), nVersion};
    cRecentClass& recent = t_RecentClasses[HashOf(key) % t_RecentClasses.size()];
    if (recent.key == key) {
      m_pTables = &recent.tables->offsets;
      return;
    }
    const auto known = t_ClassTables.find(key);
    if (known != t_ClassTables.end() && known->second.placed) {
      recent = cRecentClass{key, &known->second};
      m_pTables = &known->second.offsets;
      return;
    }
    cTables& scratch = Declare(record, nVersion);
    MakeOffsets(scratch, m_nBegin);
    PlanRuns(scratch);
    m_pTables = &scratch;
    if (known == t_ClassTables.end()) {
      const cClassTables& added = t_ClassTables.emplace(key, PlaceTables(scratch, record.RecordBytes())).first->second;
      if (added.placed) recent = cRecentClass{key, &added};
    }
  }
  cDeclaredTables(const cDeclaredTables&) = delete;
  cDeclaredTables& operator=(const cDeclaredTables&) = delete;
  ~cDeclaredTables() {
    if (m_bScratch) --t_nTablesInUse;
  }

  // Offsets; Address and String give the members.
  const std::vector<cEdField>& Fields() const { return m_pTables->fields; }
  const std::vector<cFieldRun>& Runs() const { return m_pTables->runs; }
  std::size_t StoredBytes() const { return m_pTables->storedBytes; }
  void* Address(const cFieldRun& run) const { return AddressAt(run.offset, m_nBegin); }
  const std::vector<cEdStringField>& Strings() const { return m_pTables->strings; }
  void* Address(const cEdField& field) const { return AddressAt(field.address, m_nBegin); }
  std::string& String(const cEdStringField& entry) const {
    return *static_cast<std::string*>(AddressAt(entry.string, m_nBegin));
  }

  // The tables with the members' addresses.
  std::vector<cEdField> AddressedFields() const {
    std::vector<cEdField> fields = Fields();
    for (cEdField& field : fields) field.address = Address(field);
    return fields;
  }
  std::vector<cEdStringField> AddressedStrings() const {
    std::vector<cEdStringField> strings = Strings();
    for (cEdStringField& entry : strings) entry.string = &String(entry);
    return strings;
  }

 private:
  // Declares the record into scratch tables of this thread.
  cTables& Declare(cEdRecord& record, std::uint32_t nVersion) {
    if (t_nTablesInUse == t_TablePool.size()) t_TablePool.push_back(std::make_unique<cTables>());
    cTables& scratch = *t_TablePool[t_nTablesInUse++];
    m_bScratch = true;
    scratch.fields.clear();
    scratch.strings.clear();
    cTables* const outer = t_pDeclaring;
    t_pDeclaring = &scratch;
    try {
      record.DeclareFields(static_cast<int>(nVersion));
    } catch (...) {
      t_pDeclaring = outer;
      --t_nTablesInUse;
      throw;
    }
    t_pDeclaring = outer;
    return scratch;
  }

  std::uintptr_t m_nBegin;
  const cTables* m_pTables = nullptr;
  bool m_bScratch = false;
};

cTables& DeclaringTables() {
  if (t_pDeclaring == nullptr) throw std::logic_error("fields declared outside a record operation");
  return *t_pDeclaring;
}

bool LoadStrings(cDataReader& f, const cDeclaredTables& tables) {
  const std::vector<cEdStringField>& strings = tables.Strings();
  std::uint32_t count = 0;
  if (!f.ReadU32(count)) return false;
  if (count > strings.size()) {
    return f.Fail("string count " + std::to_string(count) + " larger than the " +
                  std::to_string(strings.size()) + " strings of this version");
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!f.ReadString(tables.String(strings[i]))) return false;
  }
  if (g_bConvertText) {
    for (const cEdStringField& entry : strings) std::erase(tables.String(entry), '\r');
  }
  return true;
}

void SaveStrings(cDataWriter& f, const cDeclaredTables& tables) {
  f.WriteU32(static_cast<std::uint32_t>(tables.Strings().size()));
  for (const cEdStringField& entry : tables.Strings()) {
    std::string& member = tables.String(entry);
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

  if (entries == fields.size()) {
    if (const std::uint8_t* stored = f.Take(tables.StoredBytes())) {
      for (const cFieldRun& run : tables.Runs()) {
        if (run.offset != nullptr) CopySmall(tables.Address(run), stored, run.bytes);
        stored += run.bytes;
      }
      return LoadStrings(f, tables);
    }
  }
  // Fewer fields than this version has, or a file that ends inside them
  // (which fails at the field it cuts).
  for (std::size_t i = 0; i < entries; ++i) {
    const cEdField& field = fields[i];
    if (!f.Read(tables.Address(field), static_cast<std::size_t>(field.count) * field.size)) return false;
  }
  return LoadStrings(f, tables);
}

void cEdRecord::StripCR() {
  const cDeclaredTables tables(*this, g_nDataVersion);
  for (const cEdStringField& entry : tables.Strings()) std::erase(tables.String(entry), '\r');
}

void cEdRecord::Save(cDataWriter& f) {
  const cDeclaredTables tables(*this, g_nDataVersion);
  f.WriteU32(static_cast<std::uint32_t>(tables.Fields().size()));
  for (const cEdField& field : tables.Fields()) {
    const std::size_t bytes = static_cast<std::size_t>(field.count) * field.size;
    if (field.address != nullptr) {
      f.Write(tables.Address(field), bytes);
    } else {
      const std::vector<std::uint8_t> zeros(bytes, 0);
      f.Write(zeros.data(), bytes);
    }
  }
  SaveStrings(f, tables);
}

void cEdRecord::Clear() {
  const cDeclaredTables tables(*this, g_nDataVersion);
  for (const cFieldRun& run : tables.Runs()) {
    if (run.offset != nullptr) std::memset(tables.Address(run), 0, run.bytes);
  }
  for (const cEdStringField& entry : tables.Strings()) tables.String(entry).clear();
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
      std::memmove(to.Address(target), from.Address(origin), bytes);
    }
  }
  for (std::size_t i = 0; i < to.Strings().size(); ++i) {
    to.String(to.Strings()[i]) = from.String(CheckedAt(from.Strings(), static_cast<int>(i)));
  }
}

std::vector<cEdField> cEdRecord::FieldTable(int nVersion) {
  return cDeclaredTables(*this, static_cast<std::uint32_t>(nVersion)).AddressedFields();
}

std::vector<cEdStringField> cEdRecord::StringTable(int nVersion) {
  return cDeclaredTables(*this, static_cast<std::uint32_t>(nVersion)).AddressedStrings();
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
  if (!platform::ReadProgramFile(name, bytes)) return 0;
  return LoadFileBytes(name, bytes);
}

int cEdRecord::LoadFileBytes(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::string error;
  if (!LoadBytes(bytes, &error)) {
    ReportF("%s : %s", path, error.c_str());
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
