// The versioned record: base of every data file and of every file the
// player writes for itself.
//
// A record registers its saved members, in file order, in a field table and
// a string table; which members it registers depends on the data version it
// is declared for (DeclareFields). A data file is the u32 data version of its
// writer followed by records; each record is
//   u32 field count, each field's bytes (count x size, little-endian),
//   u32 string count, each string as u32 (length + 1) then text and a 0 byte
//   (an empty string is the length word 1 alone),
// then the record's own tail (raw members, lists), written by its class.
// A list is a u32 element count followed by each element's record.
//
// Rules every record class follows:
// - DeclareFields(nVersion) starts with ClearTables() and registers members
//   behind comparisons of nVersion with constants; a member that a version
//   stored and a later one dropped is registered with AddDiscard.
// - Load(f): cEdRecord::Load first, then the tail, then the upgrades keyed on
//   g_nFileVersion, then the validation hook; false as soon as a read fails.
// - Save(f): the validation hook, then cEdRecord::Save, then the tail.
// - Members are copied by the class's ordinary copy operations. The tables
//   are not part of a record: every operation that uses them declares them
//   for the record it works on into scratch tables of its thread, so records
//   carry no tables and reading a list allocates none per element.
// - What DeclareFields registers depends on nVersion alone, never on the
//   record's values: the tables of a class whose fields all lie inside its
//   records are declared once per version and thread and kept as offsets,
//   and every later record of that class and version takes them from there.
// - A loader never resets a record before reading: a member that the file's
//   version lacks keeps the value it had.
//
// LoadFile reads into a copy of the record and commits it only when the
// whole record was read: a damaged file leaves the record as it was, is
// reported with its path, and makes LoadFile return 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "model/record/data_stream.h"

constexpr std::uint32_t DATA_VERSION = 566;

// The data version written into every file (DATA_VERSION once start-up ran).
extern std::uint32_t g_nDataVersion;
// The data version of the file being read; upgrades test it.
extern std::uint32_t g_nFileVersion;
// While nonzero, carriage returns are removed from loaded strings.
extern int g_bConvertText;

class cEdRecord;

// One entry of a field table. A null address marks a stored value that is
// read and dropped (a member that older versions had).
struct cEdField {
  void* address = nullptr;
  std::int32_t count = 0;
  std::int8_t size = 0;
  const char* name = "";
  bool isSigned = true;  // integers only
};

struct cEdStringField {
  std::string* string = nullptr;
  const char* name = "";
};

// Walks what a record holds beyond its tables (lists and raw tail members),
// for tools that print records.
class cRecordVisitor {
 public:
  virtual ~cRecordVisitor() = default;
  virtual void BeginList(const char* name, std::size_t count) = 0;
  virtual void Element(cEdRecord& element) = 0;
  virtual void EndList() = 0;
  // count elements of size bytes each (1, 2, 4: integers, signed or not;
  // 8: doubles).
  virtual void Value(const char* name, const void* address, int size, int count, bool isSigned) = 0;
  // The same for count values of type T.
  template <class T>
  void Values(const char* name, const T* values, std::size_t count) {
    static_assert(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>);
    Value(name, values, static_cast<int>(sizeof(T)), static_cast<int>(count), std::is_signed_v<T>);
  }
  virtual void Text(const char* name, const std::string& text) = 0;
};

class cEdRecord {
 public:
  cEdRecord() = default;
  cEdRecord(const cEdRecord&) = default;
  cEdRecord& operator=(const cEdRecord&) = default;
  virtual ~cEdRecord() = default;

  // Called on the source of every copy before its values are taken.
  virtual void PrepareCopy(int /*nVersion*/) {}
  virtual void DeclareFields(int /*nVersion*/) { ClearTables(); }
  virtual bool Load(cDataReader& f);
  virtual void Save(cDataWriter& f);
  // Describes the lists and raw members of the tail; the base has none.
  virtual void VisitTail(cRecordVisitor& /*visitor*/) {}

  // A fresh copy of the whole record, and the commit of such a copy.
  virtual std::unique_ptr<cEdRecord> Clone() const = 0;
  virtual void TakeFrom(cEdRecord&& other) = 0;

  // 1 when the file was read whole, else 0 with the record unchanged.
  int LoadFile(const char* path);
  // The same for the bytes already read from the file at path.
  int LoadFileBytes(const char* path, const std::vector<std::uint8_t>& bytes);
  // 1 when the file was written, else 0 with the old file unchanged.
  int SaveFile(const char* path);
  // Loads a whole data file image (version word first) with the same
  // commit rule as LoadFile; the reason of a failure goes to error.
  bool LoadBytes(const std::vector<std::uint8_t>& bytes, std::string* error = nullptr);
  // The data file image that SaveFile writes.
  std::vector<std::uint8_t> SaveBytes();

  void Clear();
  void CopyValues(const cEdRecord& src);
  void StripCR();

  // The tables as declared for nVersion (for tools and tests).
  std::vector<cEdField> FieldTable(int nVersion);
  std::vector<cEdStringField> StringTable(int nVersion);

  // The size of the whole record (of its most derived class).
  virtual std::size_t RecordBytes() const = 0;

 protected:
  // The first step of every DeclareFields.
  void ClearTables();
  template <class T>
  void AddField(T& member, int count, const char* name);
  // One entry of two adjacent members of one type, as stored together.
  template <class T>
  void AddFieldPair(T& first, T& second, const char* name);
  // A stored value of older versions, read and dropped.
  void AddDiscard(int size, int count, const char* name);
  void AddString(std::string& member, const char* name);
  void AddRawField(void* address, int size, int count, const char* name, bool isSigned = true);

  // The shared DeclareFields bodies.
  void DeclareNothing() { ClearTables(); }
  void DeclareTwoInts(std::int32_t& first, const char* firstName, std::int32_t& second,
                      const char* secondName);
};

#define ED_FIELD(member) AddField(member, 1, #member)
#define ED_ARRAY(member, count) AddField(member, count, #member)
#define ED_STRING(member) AddString(member, #member)

template <class T>
void cEdRecord::AddField(T& member, int count, const char* name) {
  using Element = std::remove_all_extents_t<T>;
  // A bool holding a stored byte other than 0 or 1 would be undefined.
  static_assert(std::is_arithmetic_v<Element> && !std::is_same_v<Element, bool>,
                "only numbers are stored as fields");
  static_assert(sizeof(Element) == 1 || sizeof(Element) == 2 || sizeof(Element) == 4 ||
                sizeof(Element) == 8);
  // A table entry can never reach past its member.
  if (count < 0 || static_cast<std::size_t>(count) * sizeof(Element) > sizeof(T)) {
    throw std::logic_error(std::string("field larger than its member: ") + name);
  }
  AddRawField(&member, sizeof(Element), count, name, std::is_signed_v<Element>);
}

template <class T>
void cEdRecord::AddFieldPair(T& first, T& second, const char* name) {
  static_assert(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>);
  if (&second != &first + 1) throw std::logic_error(std::string("members not adjacent: ") + name);
  AddRawField(&first, sizeof(T), 2, name, std::is_signed_v<T>);
}

// Gives a record class its Clone and TakeFrom:
//   class cEdBlock : public cEdRecordOf<cEdBlock> { ... };
template <class Derived, class Base = cEdRecord>
class cEdRecordOf : public Base {
 public:
  using Base::Base;
  std::unique_ptr<cEdRecord> Clone() const override {
    return std::make_unique<Derived>(static_cast<const Derived&>(*this));
  }
  void TakeFrom(cEdRecord&& other) override {
    static_cast<Derived&>(*this) = std::move(static_cast<Derived&>(other));
  }
  std::size_t RecordBytes() const override { return sizeof(Derived); }
};

// Reads count elements into list, each a copy of prototype read by
// readElement. Elements are added as they are read, so that a damaged count
// makes the reader allocate no more than the elements the file really holds
// (counts of nested lists could otherwise each claim the whole rest of the
// file).
template <class T, class ReadElement>
bool LoadElements(std::vector<T>& list, std::uint32_t count, const T& prototype,
                  ReadElement readElement) {
  constexpr std::uint32_t kFirstReserve = 256;
  list.clear();
  list.reserve(count < kFirstReserve ? count : kFirstReserve);
  for (std::uint32_t i = 0; i < count; ++i) {
    list.push_back(prototype);
    if (!readElement(list.back())) return false;
  }
  return true;
}

// Reads a list by the list convention: a u32 count, then each element's
// record. New elements start as copies of the prototype that makePrototype
// returns (declared for the current version and set to the class's
// defaults); an empty list makes none. Every element takes at least 8 bytes,
// which bounds the count by the bytes left.
template <class T, class MakePrototype>
bool LoadRecordList(cDataReader& f, std::vector<T>& list, MakePrototype makePrototype) {
  std::uint32_t count = 0;
  if (!f.ReadCount(count, 8)) return false;
  if (count == 0) {
    list.clear();
    return true;
  }
  // The whole list exists before its first element is read: an entry may
  // inherit from a later entry of the same list, which then has its defaults.
  list.assign(count, makePrototype());
  for (T& element : list) {
    if (!element.Load(f)) return false;
  }
  return true;
}

// The same with new elements as the class's defaults.
template <class T>
bool LoadRecordList(cDataReader& f, std::vector<T>& list) {
  return LoadRecordList(f, list, [] { return T(); });
}

template <class T>
void SaveRecordList(cDataWriter& f, std::vector<T>& list) {
  f.WriteU32(static_cast<std::uint32_t>(list.size()));
  for (T& element : list) element.Save(f);
}

template <class T>
void VisitRecordList(cRecordVisitor& visitor, const char* name, std::vector<T>& list) {
  visitor.BeginList(name, list.size());
  for (T& element : list) visitor.Element(element);
  visitor.EndList();
}
