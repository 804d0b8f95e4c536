// The versioned record base: byte layout, versions, damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "model/record/record.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A record with one int16 and one string, as in the layout example.
class cShortAndText : public cEdRecordOf<cShortAndText> {
 public:
  std::int16_t m_sValue = 0;
  std::string m_strText;
  void DeclareFields(int) override {
    ClearTables();
    ED_FIELD(m_sValue);
    ED_STRING(m_strText);
  }
};

class cNothing : public cEdRecordOf<cNothing> {};

// A record whose layout changed over versions: m_nAdded arrived in 200, a
// double was stored until 300 and then dropped, m_anArray is one entry.
class cVersioned : public cEdRecordOf<cVersioned> {
 public:
  std::int32_t m_nFirst = 0;
  std::int32_t m_nAdded = 0;
  std::int8_t m_cFlag = 0;
  std::int32_t m_anArray[3] = {};
  double m_dSpeed = 0;
  std::string m_strName;
  std::string m_strNote;
  std::vector<cShortAndText> m_vItems;

  cVersioned() {
    Clear();
    m_nAdded = 77;  // the default that older files keep
  }
  void DeclareFields(int nVersion) override {
    ClearTables();
    ED_FIELD(m_nFirst);
    if (nVersion >= 200) ED_FIELD(m_nAdded);
    if (nVersion < 300) AddDiscard(8, 3, "old_scale");
    ED_FIELD(m_cFlag);
    ED_ARRAY(m_anArray, 3);
    ED_FIELD(m_dSpeed);
    ED_STRING(m_strName);
    if (nVersion >= 200) ED_STRING(m_strNote);
  }
  bool Load(cDataReader& f) override {
    return cEdRecord::Load(f) && LoadRecordList(f, m_vItems);
  }
  void Save(cDataWriter& f) override {
    cEdRecord::Save(f);
    SaveRecordList(f, m_vItems);
  }
};

class cLittleWriter {
 public:
  cLittleWriter& U32(std::uint32_t v) { return Raw(&v, 4); }
  cLittleWriter& I32(std::int32_t v) { return Raw(&v, 4); }
  cLittleWriter& I8(std::int8_t v) { return Raw(&v, 1); }
  cLittleWriter& F64(double v) { return Raw(&v, 8); }
  cLittleWriter& Str(const std::string& s) {
    U32(static_cast<std::uint32_t>(s.size() + 1));
    if (!s.empty()) Raw(s.c_str(), s.size() + 1);
    return *this;
  }
  cLittleWriter& Raw(const void* p, std::size_t n) {
    bytes.insert(bytes.end(), static_cast<const std::uint8_t*>(p), static_cast<const std::uint8_t*>(p) + n);
    return *this;
  }
  Bytes bytes;
};

cVersioned FilledVersioned() {
  cVersioned r;
  r.m_nFirst = -5;
  r.m_nAdded = 123456;
  r.m_cFlag = 1;
  r.m_anArray[0] = 7; r.m_anArray[1] = 8; r.m_anArray[2] = 9;
  r.m_dSpeed = 2.5;
  r.m_strName = "ステージ\\名";
  r.m_strNote = "note";
  r.m_vItems.resize(2);
  r.m_vItems[0].m_sValue = 3;
  r.m_vItems[1].m_strText = "second";
  return r;
}

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    g_nFileVersion = DATA_VERSION;
    g_bConvertText = 1;
  }
};

TEST_F(RecordTest, LayoutExampleComesOutByteForByte) {
  cShortAndText r;
  r.m_sValue = 5;
  r.m_strText = "ab";
  EXPECT_EQ(r.SaveBytes(), (Bytes{0x36, 0x02, 0, 0, 1, 0, 0, 0, 5, 0, 1, 0, 0, 0, 3, 0, 0, 0, 0x61, 0x62, 0}));
  r.m_strText.clear();
  EXPECT_EQ(r.SaveBytes(), (Bytes{0x36, 0x02, 0, 0, 1, 0, 0, 0, 5, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
  cNothing nothing;
  EXPECT_EQ(nothing.SaveBytes(), (Bytes{0x36, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(RecordTest, SaveLoadSaveIsIdentical) {
  cVersioned original = FilledVersioned();
  const Bytes first = original.SaveBytes();
  cVersioned loaded;
  std::string error;
  ASSERT_TRUE(loaded.LoadBytes(first, &error)) << error;
  EXPECT_EQ(loaded.SaveBytes(), first);
  EXPECT_EQ(loaded.m_strName, original.m_strName);
  EXPECT_EQ(loaded.m_anArray[2], 9);
  ASSERT_EQ(loaded.m_vItems.size(), 2u);
  EXPECT_EQ(loaded.m_vItems[1].m_strText, "second");
}

TEST_F(RecordTest, OlderFileFillsOnlyItsFieldsAndDropsDiscardedValues) {
  cLittleWriter w;
  w.U32(100)                                   // data version
      .U32(5)                                  // fields of version 100
      .I32(42)                                 // m_nFirst
      .F64(1.0).F64(2.0).F64(3.0)              // the dropped triple
      .I8(1).I32(4).I32(5).I32(6).F64(0.25)    // flag, array, speed
      .U32(1).Str("old")                       // strings of version 100
      .U32(0);                                 // no items
  cVersioned r;
  r.m_strNote = "kept";
  std::string error;
  ASSERT_TRUE(r.LoadBytes(w.bytes, &error)) << error;
  EXPECT_EQ(r.m_nFirst, 42);
  EXPECT_EQ(r.m_nAdded, 77);
  EXPECT_EQ(r.m_anArray[1], 5);
  EXPECT_EQ(r.m_dSpeed, 0.25);
  EXPECT_EQ(r.m_strName, "old");
  EXPECT_EQ(r.m_strNote, "kept");
  EXPECT_EQ(g_nFileVersion, 100u);
  // Saving writes the current layout, including the member 100 lacked.
  cVersioned again;
  ASSERT_TRUE(again.LoadBytes(r.SaveBytes()));
  EXPECT_EQ(again.m_nAdded, 77);
  EXPECT_EQ(again.m_strNote, "kept");
}

// A record whose reading raises, as a checked access past the end of an
// empty list does.
class cThrowsWhileLoading : public cEdRecordOf<cThrowsWhileLoading> {
 public:
  bool Load(cDataReader&) override { throw std::out_of_range("empty list"); }
};

TEST_F(RecordTest, AFailedOrRaisingLoadKeepsTheVersionOfTheLastFileLoaded) {
  g_nFileVersion = 250;
  cVersioned damaged;
  const Bytes cut = {100, 0, 0, 0, 9};  // version 100, then a field count cut short
  EXPECT_FALSE(damaged.LoadBytes(cut));
  EXPECT_EQ(g_nFileVersion, 250u);
  cThrowsWhileLoading raising;
  EXPECT_THROW(raising.LoadBytes(Bytes{100, 0, 0, 0}), std::out_of_range);
  EXPECT_EQ(g_nFileVersion, 250u);
}

// A cVersioned as version 100 (its dropped triple, no m_nAdded, no note)
// and as the current version store it.
Bytes VersionedBytes(std::uint32_t version, std::int32_t first) {
  cLittleWriter w;
  w.U32(version);
  if (version < 200) {
    w.U32(5).I32(first).F64(1.0).F64(2.0).F64(3.0);
  } else {
    w.U32(5).I32(first).I32(first + 1);
  }
  w.I8(1).I32(first + 2).I32(first + 3).I32(first + 4).F64(first + 0.5);
  w.U32(version < 200 ? 1 : 2).Str("n" + std::to_string(first));
  if (version >= 200) w.Str("note");
  w.U32(2);
  for (std::int16_t item : {std::int16_t(first + 5), std::int16_t(first + 6)}) {
    w.U32(1).Raw(&item, 2).U32(1).Str("item");
  }
  return w.bytes;
}

TEST_F(RecordTest, EveryRecordOfAClassReadsIntoItsOwnMembersForTheFilesVersion) {
  // The tables of a class are declared once per version and then serve every
  // record of it: records of both versions in turn, and list elements.
  const struct {
    std::uint32_t version;
    std::int32_t first;
  } cases[] = {{DATA_VERSION, 10}, {100, 20}, {DATA_VERSION, 30}, {100, 40}};
  for (const auto& c : cases) {
    cVersioned r;
    std::string error;
    ASSERT_TRUE(r.LoadBytes(VersionedBytes(c.version, c.first), &error)) << c.version << ": " << error;
    EXPECT_EQ(r.m_nFirst, c.first) << c.version;
    EXPECT_EQ(r.m_nAdded, c.version < 200 ? 77 : c.first + 1) << c.version;
    EXPECT_EQ(r.m_cFlag, 1) << c.version;
    EXPECT_EQ(r.m_anArray[0], c.first + 2) << c.version;
    EXPECT_EQ(r.m_anArray[2], c.first + 4) << c.version;
    EXPECT_EQ(r.m_dSpeed, c.first + 0.5) << c.version;
    EXPECT_EQ(r.m_strName, "n" + std::to_string(c.first)) << c.version;
    ASSERT_EQ(r.m_vItems.size(), 2u) << c.version;
    EXPECT_EQ(r.m_vItems[0].m_sValue, c.first + 5) << c.version;
    EXPECT_EQ(r.m_vItems[1].m_sValue, c.first + 6) << c.version;
  }
}

// A record that registers a number outside itself besides its own member.
std::int32_t g_nOutsideMember = 0;
class cWithOutsideMember : public cEdRecordOf<cWithOutsideMember> {
 public:
  std::int32_t m_nOwn = 0;
  void DeclareFields(int) override {
    ClearTables();
    ED_FIELD(m_nOwn);
    AddField(g_nOutsideMember, 1, "g_nOutsideMember");
  }
};

class cOutsideMembers : public cEdRecordOf<cOutsideMembers> {
 public:
  std::vector<cWithOutsideMember> m_vElements;
  bool Load(cDataReader& f) override { return cEdRecord::Load(f) && LoadRecordList(f, m_vElements); }
};

TEST_F(RecordTest, AMemberOutsideTheRecordIsReadWhereItIs) {
  // Elements of one list, each at its own place.
  cLittleWriter w;
  w.U32(DATA_VERSION).U32(0).U32(0).U32(3);
  for (std::int32_t value : {1, 2, 3}) w.U32(2).I32(value).I32(value * 10).U32(0);
  cOutsideMembers r;
  ASSERT_TRUE(r.LoadBytes(w.bytes));
  ASSERT_EQ(r.m_vElements.size(), 3u);
  EXPECT_EQ(r.m_vElements[0].m_nOwn, 1);
  EXPECT_EQ(r.m_vElements[2].m_nOwn, 3);
  EXPECT_EQ(g_nOutsideMember, 30);
}

TEST_F(RecordTest, AFileEndingInsideTheFieldsFailsAtTheFieldItCuts) {
  const Bytes valid = FilledVersioned().SaveBytes();
  // version, field count, m_nFirst, then two of m_nAdded's four bytes
  cVersioned r;
  std::string error;
  EXPECT_FALSE(r.LoadBytes(Bytes(valid.begin(), valid.begin() + 14), &error));
  EXPECT_EQ(error, "file ends early (at byte 12)");
}

TEST_F(RecordTest, FileCountingEachArrayElementAsAnEntryReadsTheSameBytes) {
  cVersioned original = FilledVersioned();
  Bytes bytes = original.SaveBytes();
  const std::uint32_t perElement = 1 + 1 + 1 + 3 + 1;  // first, added, flag, array x3, speed
  std::memcpy(bytes.data() + 4, &perElement, 4);
  cVersioned loaded;
  ASSERT_TRUE(loaded.LoadBytes(bytes));
  EXPECT_EQ(loaded.m_anArray[2], 9);
}

TEST_F(RecordTest, DamagedFilesFailAndLeaveTheRecordAsItWas) {
  cVersioned source = FilledVersioned();
  const Bytes valid = source.SaveBytes();
  for (std::size_t cut = 0; cut < valid.size(); ++cut) {
    cVersioned target;
    target.m_nFirst = 999;
    target.m_strName = "before";
    const Bytes before = target.SaveBytes();
    std::string error;
    EXPECT_FALSE(target.LoadBytes(Bytes(valid.begin(), valid.begin() + cut), &error)) << cut;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(target.SaveBytes(), before) << cut;
  }
}

TEST_F(RecordTest, ImplausibleCountsFailWithoutAllocating) {
  struct Case {
    const char* what;
    std::size_t offset;  // where the count stands in a saved cVersioned
    std::uint32_t value;
  };
  cVersioned source = FilledVersioned();
  const Bytes valid = source.SaveBytes();
  const std::size_t fields = 4;
  const std::size_t strings = fields + 4 + 4 + 4 + 1 + 12 + 8;
  std::size_t items = strings + 4;
  for (const std::string& s : {source.m_strName, source.m_strNote}) items += 4 + s.size() + 1;
  const Case cases[] = {
      {"field count larger than the table", fields, 8},
      {"field count of 0xFFFFFFFF", fields, 0xFFFFFFFF},
      {"string count larger than the table", strings, 3},
      {"list count of 0xFFFFFFFF", items, 0xFFFFFFFF},
      {"list count of 1000", items, 1000},
      {"string length past the end", strings + 4, 0x7FFFFFFF},
  };
  for (const Case& c : cases) {
    Bytes bytes = valid;
    std::memcpy(bytes.data() + c.offset, &c.value, 4);
    cVersioned target;
    std::string error;
    EXPECT_FALSE(target.LoadBytes(bytes, &error)) << c.what;
    EXPECT_TRUE(target.m_vItems.empty()) << c.what;
  }
}

TEST_F(RecordTest, StringsKeepTheirTextUpToTheFirstZeroByte) {
  cShortAndText r;
  r.m_strText = std::string("ab\0cd", 5);
  const Bytes bytes = r.SaveBytes();
  EXPECT_EQ(r.m_strText, "ab");  // saving cuts the member too
  cShortAndText loaded;
  ASSERT_TRUE(loaded.LoadBytes(bytes));
  EXPECT_EQ(loaded.m_strText, "ab");

  cShortAndText longText;
  longText.m_strText.assign(20000, 'x');
  ASSERT_TRUE(loaded.LoadBytes(longText.SaveBytes()));
  EXPECT_EQ(loaded.m_strText.size(), 20000u);
}

TEST_F(RecordTest, CarriageReturnsAreRemovedWhileConvertingText) {
  cShortAndText r;
  r.m_strText = "a\r\nb";
  const Bytes bytes = r.SaveBytes();
  cShortAndText loaded;
  g_bConvertText = 0;
  ASSERT_TRUE(loaded.LoadBytes(bytes));
  EXPECT_EQ(loaded.m_strText, "a\r\nb");
  g_bConvertText = 1;
  ASSERT_TRUE(loaded.LoadBytes(bytes));
  EXPECT_EQ(loaded.m_strText, "a\nb");
}

TEST_F(RecordTest, ZeroStringLengthReadsAsEmpty) {
  cLittleWriter w;
  w.U32(DATA_VERSION).U32(1).Raw("\x05\x00", 2).U32(1).U32(0);
  cShortAndText r;
  r.m_strText = "x";
  ASSERT_TRUE(r.LoadBytes(w.bytes));
  EXPECT_EQ(r.m_strText, "");
}

TEST_F(RecordTest, FilesByPath) {
  const auto dir = std::filesystem::temp_directory_path() / ("record_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "r.dat").string();
  cVersioned r = FilledVersioned();
  ASSERT_EQ(r.SaveFile(path.c_str()), 1);
  cVersioned loaded;
  ASSERT_EQ(loaded.LoadFile(path.c_str()), 1);
  EXPECT_EQ(loaded.m_nAdded, 123456);

  g_nFileVersion = 321;
  EXPECT_EQ(loaded.LoadFile((dir / "missing.dat").string().c_str()), 0);
  EXPECT_EQ(g_nFileVersion, 321u);
  std::filesystem::remove_all(dir);
}

TEST_F(RecordTest, ClearCopyValuesAndTablesOfCopies) {
  cVersioned a = FilledVersioned();
  cVersioned b;
  b.CopyValues(a);
  EXPECT_EQ(b.m_dSpeed, 2.5);
  EXPECT_EQ(b.m_strNote, "note");
  EXPECT_TRUE(b.m_vItems.empty());  // lists are not registered members

  cVersioned copy = a;
  for (const cEdField& field : copy.FieldTable(DATA_VERSION)) {
    auto* address = static_cast<std::uint8_t*>(field.address);
    EXPECT_TRUE(address >= reinterpret_cast<std::uint8_t*>(&copy) &&
                address < reinterpret_cast<std::uint8_t*>(&copy + 1))
        << field.name;
  }
  a.Clear();
  EXPECT_EQ(a.m_nAdded, 0);
  EXPECT_EQ(a.m_strName, "");
}

}  // namespace
