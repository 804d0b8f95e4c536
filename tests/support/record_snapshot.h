// The stored state of a record by member name, for tests that check which
// members an operation changed: every registered field and string, and what
// the record's VisitTail describes (raw tail members, and each list as the
// saved bytes of its elements).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/record/record.h"

using RecordSnapshot = std::map<std::string, std::vector<std::uint8_t>>;

class SnapshotVisitor : public cRecordVisitor {
 public:
  explicit SnapshotVisitor(RecordSnapshot& out) : m_Out(out) {}
  void BeginList(const char* name, std::size_t count) override {
    m_strList = name;
    m_List = cDataWriter();
    m_List.WriteU32(static_cast<std::uint32_t>(count));
  }
  void Element(cEdRecord& element) override { element.Save(m_List); }
  void EndList() override { m_Out[m_strList] = m_List.Bytes(); }
  void Value(const char* name, const void* address, int size, int count, bool) override {
    const auto* p = static_cast<const std::uint8_t*>(address);
    m_Out[name].assign(p, p + static_cast<std::size_t>(size) * count);
  }
  void Text(const char* name, const std::string& text) override {
    m_Out[name].assign(text.begin(), text.end());
  }

 private:
  RecordSnapshot& m_Out;
  std::string m_strList;
  cDataWriter m_List;
};

inline RecordSnapshot TakeSnapshot(cEdRecord& record) {
  RecordSnapshot out;
  for (const cEdField& field : record.FieldTable(static_cast<int>(DATA_VERSION))) {
    const auto* p = static_cast<const std::uint8_t*>(field.address);
    if (p != nullptr) out[field.name].assign(p, p + static_cast<std::size_t>(field.count) * field.size);
  }
  for (const cEdStringField& entry : record.StringTable(static_cast<int>(DATA_VERSION))) {
    out[entry.name].assign(entry.string->begin(), entry.string->end());
  }
  SnapshotVisitor visitor(out);
  record.VisitTail(visitor);
  return out;
}

// Names whose stored state differs between two snapshots of one record class.
inline std::set<std::string> ChangedMembers(const RecordSnapshot& before, const RecordSnapshot& after) {
  std::set<std::string> changed;
  for (const auto& [name, bytes] : after) {
    const auto found = before.find(name);
    if (found == before.end() || found->second != bytes) changed.insert(name);
  }
  return changed;
}
