#include "base/paths.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/temp_folder.h"

namespace {

TEST(Paths, StripDirectory) {
  struct Case {
    std::string path;
    std::string name;
  };
  const Case cases[] = {
      {"user_data\\rpl4\\a.rpl4_566", "a.rpl4_566"},
      {"data/stg4/s.stg4_001", "s.stg4_001"},
      {"name.txt", "name.txt"},
      {"dir\\表ソ.txt", "表ソ.txt"},   // 0x5C trail bytes inside the name
      {"表\\ソ", "ソ"},
      {"\x81\x95\\x", "x"},            // a lead byte before the trail byte 0x95 of a pair
      {"dir\\", ""},
  };
  for (const Case& c : cases) {
    std::string path = c.path;
    StripDirectory(path);
    EXPECT_EQ(path, c.name) << c.path;
  }
}

TEST(Paths, Extensions) {
  std::string out = "untouched";
  EXPECT_EQ(GetExtension(out, "dir.x\\file"), 1);
  EXPECT_EQ(out, "x\\file");
  EXPECT_EQ(GetExtension(out, "a.b.mid"), 1);
  EXPECT_EQ(out, "mid");
  out = "untouched";
  EXPECT_EQ(GetExtension(out, "noext"), 0);
  EXPECT_EQ(out, "untouched");

  EXPECT_EQ(ReplaceExtension(out, "a.b.c", "mid"), 1);
  EXPECT_EQ(out, "a.b.mid");
  EXPECT_EQ(ReplaceExtension(out, "a.b.c", nullptr), 1);
  EXPECT_EQ(out, "a.b");
  EXPECT_EQ(ReplaceExtension(out, "abc", "mid"), 0);
  EXPECT_EQ(out, "abc");
  out = "x.ogg";
  EXPECT_EQ(ReplaceExtension(out, out, "mid"), 1);  // in place
  EXPECT_EQ(out, "x.mid");
}

TEST(Paths, InsertNumberSuffix) {
  std::string out;
  EXPECT_EQ(InsertNumberSuffix(out, "x.rpl4_566", 0, 3), 1);
  EXPECT_EQ(out, "x_03.rpl4_566");
  EXPECT_EQ(InsertNumberSuffix(out, "user_data\\rpl4\\表.a.rpl4_566", 9, 9), 1);
  EXPECT_EQ(out, "user_data\\rpl4\\表.a_99.rpl4_566");
  const std::string longExtension(100, 'e');
  EXPECT_EQ(InsertNumberSuffix(out, "x." + longExtension, 1, 2), 1);  // no 32-byte limit
  EXPECT_EQ(out, "x_12." + longExtension);
  EXPECT_EQ(InsertNumberSuffix(out, "noext", 0, 3), 0);
  EXPECT_EQ(out, "noext");
  EXPECT_EQ(InsertNumberSuffix(out, "x.rpl4_566", 10, 0), 0);
  EXPECT_EQ(out, "x.rpl4_566");
}

class PathsOnDiskTest : public testing::Test {
 protected:
  // The current folder in program form: CP932 with backslashes.
  std::string ProgramFolder() const {
    std::string folder = platform::Utf8ToCp932(m_Folder.path().string());
    std::replace(folder.begin(), folder.end(), '/', '\\');
    return folder;
  }
  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
};

TEST_F(PathsOnDiskTest, AbsoluteAndRelativePaths) {
  const std::string here = ProgramFolder();
  struct Case {
    std::string relative;
    std::string absolute;
  };
  const Case cases[] = {
      {"Report_Game.txt", here + "\\Report_Game.txt"},
      {"default\\", here + "\\default\\"},
      {"data\\stg4\\表.stg4_001", here + "\\data\\stg4\\表.stg4_001"},
      {".\\data\\..\\bgm/a.mid", here + "\\bgm\\a.mid"},
  };
  for (const Case& c : cases) {
    std::string path = c.relative;
    EXPECT_EQ(MakeAbsolutePath(path), 1);
    EXPECT_EQ(path, c.absolute);
    EXPECT_EQ(MakeAbsolutePath(path), 1);  // absolute paths are left
    EXPECT_EQ(path, c.absolute);
  }

  const std::string parent = here.substr(0, here.rfind('\\'));
  const Case relativeCases[] = {
      {".\\data\\stg4\\a.stg4_001", here + "\\data\\stg4\\a.stg4_001"},
      {"..\\other\\b.stg4_002", parent + "\\other\\b.stg4_002"},
      {"data\\a", "data\\a"},  // already relative
  };
  for (const Case& c : relativeCases) {
    std::string path = c.absolute;
    EXPECT_EQ(MakeRelativePathStr(path), 1);
    EXPECT_EQ(path, c.relative);
  }
  std::string otherDrive = "D:\\game\\a.stg4_001";
  EXPECT_EQ(MakeRelativePath(otherDrive), 0);
  EXPECT_EQ(otherDrive, "D:\\game\\a.stg4_001");
}

TEST_F(PathsOnDiskTest, FindNewestVersionPicksTheHighestExistingNumber) {
  std::filesystem::create_directories(m_Folder.path() / "Data" / "stg4");
  for (const char* name : {"s.stg4_001", "s.stg4_010", "S.STG4_007", "s.stg4_1000", "s.stg4_0x1",
                           "t.stg4_999", "s.stg4"})
    WriteTextFile(m_Folder.path() / "Data" / "stg4" / name, "");
  WriteTextFile(m_Folder.path() / "Data" / "stg4" / "only.stg4_000", "");
  WriteTextFile(m_Folder.path() / "Data" / "stg4" / "noext_005", "");
  WriteTextFile(m_Folder.path() / u8"表.stg4_002", "");

  struct Case {
    std::string path;
    int found;
    std::string newest;
  };
  const Case cases[] = {
      {"data\\stg4\\s.stg4_001", 1, "data\\stg4\\s.stg4_010"},
      {"data\\STG4\\s.stg4_003", 1, "data\\STG4\\s.stg4_010"},
      {"data\\stg4\\only.stg4_123", 1, "data\\stg4\\only.stg4_000"},
      {"data\\stg4\\noext", 1, "data\\stg4\\noext_005"},  // no extension: the path is the base
      {"表.stg4_000", 1, "表.stg4_002"},
      {"data\\stg4\\none.stg4_001", 0, "kept"},
      {"missing\\s.stg4_001", 0, "kept"},
  };
  for (const Case& c : cases) {
    std::string out = "kept";
    EXPECT_EQ(FindNewestVersion(out, c.path, "stg4"), c.found) << c.path;
    EXPECT_EQ(out, c.newest) << c.path;
  }
  std::string out;
  ASSERT_EQ(FindNewestVersionStr(out, ProgramFolder() + "\\Data\\stg4\\s.stg4_001", "stg4"), 1);
  EXPECT_EQ(out, ProgramFolder() + "\\Data\\stg4\\s.stg4_010");
}

// A name whose CP932 form stands for another name cannot be opened by it: it
// is no version, whatever its number.
TEST_F(PathsOnDiskTest, FindNewestVersionSkipsNamesTheProgramCannotOpen) {
  WriteTextFile(m_Folder.path() / u8"w\uFF5E.stg4_001", "");
  WriteTextFile(m_Folder.path() / u8"w\u301C.stg4_002", "");  // also "w\x81\x60" in CP932
  std::string out;
  ASSERT_EQ(FindNewestVersion(out, "w\x81\x60.stg4_000", "stg4"), 1);
  EXPECT_EQ(out, "w\x81\x60.stg4_001");
}

TEST_F(PathsOnDiskTest, ACurrentFolderWithoutAProgramPathHasNoAbsolutePaths) {
  for (const char8_t* name : {u8"caf\u00E9", u8"w\u301C", u8"yen\u00A5", u8"a\\b"}) {
    std::filesystem::create_directory(m_Folder.path() / name);
    ScopedCurrentFolder enter(m_Folder.path() / name);
    std::string path = "data\\a.dat";
    EXPECT_EQ(MakeAbsolutePath(path), 0) << std::filesystem::path(name).string();
    EXPECT_EQ(path, "data\\a.dat");
  }
}

}  // namespace
