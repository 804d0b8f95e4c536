#include "platform/files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/bound_by_file_modes.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class MapPathTest : public testing::Test {
 protected:
  void SetUp() override {
    // Names on disk are UTF-8; the program names them in CP932.
    fs::create_directories(m_Folder.path() / u8"表示" / u8"Data");
    WriteTextFile(m_Folder.path() / u8"表示" / u8"ソース.txt", "sjis");
    WriteTextFile(m_Folder.path() / u8"表示" / u8"Data" / u8"System.DAT", "case");
    WriteTextFile(m_Folder.path() / u8"ＡＢＣ.txt", "wide");
    WriteTextFile(m_Folder.path() / u8"same.txt", "lower");
    WriteTextFile(m_Folder.path() / u8"SAME.txt", "upper");
  }
  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
};

TEST_F(MapPathTest, ResolvesNamesWhoseTrailByteIsABackslashAndNamesInAnotherCase) {
  struct Case {
    const char* program;  // CP932
    const char8_t* native;
    const char* content;
  };
  const Case cases[] = {
      {"表示\\ソース.txt", u8"表示/ソース.txt", "sjis"},
      {"表示\\data\\system.dat", u8"表示/Data/System.DAT", "case"},
      {"表示/DATA/SYSTEM.dat", u8"表示/Data/System.DAT", "case"},
      {".\\表示\\\\Data\\System.DAT", u8"./表示/Data/System.DAT", "case"},
      {"ａｂｃ.TXT", u8"ＡＢＣ.txt", "wide"},
      {"same.txt", u8"same.txt", "lower"},  // an exact match wins
      {"SAME.txt", u8"SAME.txt", "upper"},
      {"Same.TXT", u8"SAME.txt", "upper"},  // several match: the smallest name
  };
  for (const Case& c : cases) {
    const fs::path mapped = platform::MapPath(c.program);
    EXPECT_EQ(mapped, fs::path(c.native)) << fs::path(c.native).string();
    EXPECT_TRUE(mapped.is_relative());
    EXPECT_EQ(ReadTextFile(mapped), c.content) << fs::path(c.native).string();
  }
}

TEST_F(MapPathTest, KeepsMissingComponentsAsGiven) {
  EXPECT_EQ(platform::MapPath("DATA\\..\\表示\\new\\File.Txt"), fs::path(u8"DATA/../表示/new/File.Txt"));
  EXPECT_EQ(platform::MapPath("表示\\data\\New.dat"), fs::path(u8"表示/Data/New.dat"));
  EXPECT_EQ(platform::MapPath(""), fs::path());
  // 0x82 0x5C is no CP932 character, but its 0x5C is a trail byte all the same.
  EXPECT_EQ(platform::MapPath("a\x82\\b\\c"), fs::path(u8"a\uFFFDb/c"));
}

TEST_F(MapPathTest, FolderListingsGiveOnlyNamesThatMapBackToTheirFile) {
  for (const char8_t* name : {u8"w\uFF5E.txt",   // the program's own form of 0x8160
                              u8"w\u301C.txt",   // the JIS wave dash: also 0x8160
                              u8"yen\u00A5.txt", // 0x5C, a separator
                              u8"a\\b.txt", u8"caf\u00E9.txt"})
    WriteTextFile(m_Folder.path() / u8"表示" / name, "");
  std::vector<std::string> names = platform::ListFolder("表示");
  std::sort(names.begin(), names.end());
  const std::vector<std::string> expected = {"Data", "w\x81\x60.txt", "ソース.txt"};
  EXPECT_EQ(names, expected);
  for (const std::string& name : names)
    EXPECT_TRUE(fs::exists(platform::MapPath("表示\\" + name))) << name;
}

TEST_F(MapPathTest, AbsolutePathsStartAtTheRoot) {
  const std::string folder = m_Folder.path().string();  // ASCII temporary folder
  std::string program = folder;
  std::replace(program.begin(), program.end(), '/', '\\');
  EXPECT_EQ(platform::MapPath(program + "\\表示\\DATA\\system.dat"),
            m_Folder.path() / u8"表示" / u8"Data" / u8"System.DAT");
}

TEST_F(MapPathTest, DriveLetterPathsNameNothing) {
  // A folder called "C:" must not be taken for the drive.
  fs::create_directory(m_Folder / "C:");
  for (const char* path : {"C:\\", "C:\\same.txt", "c:same.txt", "C:"}) {
    SCOPED_TRACE(path);
    const fs::path mapped = platform::MapPath(path);
    std::error_code error;
    EXPECT_FALSE(fs::exists(mapped, error));
    EXPECT_FALSE(fs::create_directory(mapped, error));
    EXPECT_TRUE(platform::ListFolder(path).empty());
    EXPECT_FALSE(platform::WriteFileAtomic(mapped, Bytes("x")));
  }
  EXPECT_TRUE(fs::is_empty(m_Folder / "C:"));
}

TEST_F(MapPathTest, ProgramFilesAreReadUnderTheNameGivenOrOneInAnotherCase) {
  fs::create_directory(m_Folder / "C:");
  WriteTextFile(m_Folder / "C:" / "same.txt", "drive");
  struct Case {
    const char* program;  // CP932
    const char* content;  // nullptr: cannot be read
  };
  const Case cases[] = {
      {"表示\\ソース.txt", "sjis"},
      {"表示\\data\\system.dat", "case"},
      {"same.txt", "lower"},
      {"Same.TXT", "upper"},
      {"C:\\same.txt", nullptr},
      {"表示", nullptr},
      {"表示\\missing.txt", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    std::vector<std::uint8_t> bytes = Bytes("kept");
    EXPECT_EQ(platform::ReadProgramFile(c.program, bytes), c.content != nullptr);
    EXPECT_EQ(bytes, Bytes(c.content != nullptr ? c.content : "kept"));
  }
}

TEST_F(MapPathTest, FoldersAreMadeWhereNoEntryMatchesTheName) {
  const fs::path folder = m_Folder.path() / u8"表示";
  platform::MakeFolder("表示\\DATA");
  platform::MakeFolder("表示\\ソース.TXT");
  EXPECT_EQ(Entries(folder).size(), 2u);  // Data and ソース.txt alone
  platform::MakeFolder("表示\\data\\New");
  EXPECT_TRUE(fs::is_directory(folder / "Data" / "New"));
  platform::MakeFolder("C:");
  EXPECT_FALSE(fs::exists(m_Folder / "C:"));

  EXPECT_TRUE(platform::IsFolder("表示\\data"));
  EXPECT_TRUE(platform::IsFolder("表示\\Data\\new"));
  EXPECT_FALSE(platform::IsFolder("表示\\ソース.txt"));
  EXPECT_FALSE(platform::IsFolder("表示\\missing"));
}

TEST(ReadWholeFile, ReadsFilesOfEverySizeWhole) {
  TempFolder folder;
  // Files the size of the first read and across the growth of the buffer,
  // and one whose size the system does not know beforehand.
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65536}, std::size_t{200000}}) {
    SCOPED_TRACE(size);
    std::string text(size, 'x');
    for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + i % 26);
    WriteTextFile(folder / "file", text);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(folder / "file", bytes));
    EXPECT_EQ(bytes, Bytes(text));
  }
  std::vector<std::uint8_t> status;
  ASSERT_TRUE(platform::ReadWholeFile("/proc/self/status", status));
  EXPECT_NE(std::string(status.begin(), status.end()).find("Pid:"), std::string::npos);
}

class WriteFileAtomicTest : public testing::Test {
 protected:
  void TearDown() override { platform::SetWriteFunctionForTests(nullptr); }
  TempFolder m_Folder;
};

TEST_F(WriteFileAtomicTest, CreatesAndReplacesFilesAndReadsThemBack) {
  const fs::path target = m_Folder / "save.dat";
  ASSERT_TRUE(platform::WriteFileAtomic(target, Bytes("first")));
  ASSERT_TRUE(platform::WriteFileAtomic(target, Bytes("second, longer")));
  std::vector<std::uint8_t> read;
  ASSERT_TRUE(platform::ReadWholeFile(target, read));
  EXPECT_EQ(read, Bytes("second, longer"));
  ASSERT_TRUE(platform::WriteFileAtomic(target, {}));
  ASSERT_TRUE(platform::ReadWholeFile(target, read));
  EXPECT_TRUE(read.empty());
  EXPECT_EQ(Entries(m_Folder.path()), std::vector<std::string>{"save.dat"});
}

TEST_F(WriteFileAtomicTest, WritesANameOfTheLongestLengthTheFileSystemAllows) {
  const fs::path target = m_Folder / std::string(255, 'n');
  ASSERT_TRUE(platform::WriteFileAtomic(target, Bytes("long")));
  EXPECT_EQ(ReadTextFile(target), "long");
}

// The pid of a process that has ended.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return child;
}

TEST_F(WriteFileAtomicTest, TemporaryFilesOfEndedProcessesAreRemovedByTheNextWrite) {
  const std::string stale = ".player-" + std::to_string(EndedProcess()) + "-3.tmp";
  const std::string live = ".player-" + std::to_string(::getppid()) + "-3.tmp";
  for (const std::string& name : {stale, live, std::string(".player-x-1.tmp"),
                                  std::string("notes.tmp")})
    WriteTextFile(m_Folder / name, "left over");
  ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "save.dat", Bytes("x")));
  // Only ours, and only those whose process is gone.
  std::vector<std::string> expected{live, ".player-x-1.tmp", "notes.tmp", "save.dat"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Entries(m_Folder.path()), expected);
}

ssize_t WriteHalfThenFail(int fd, const void* data, std::size_t size) {
  if (size > 1) return ::write(fd, data, size / 2);
  errno = ENOSPC;
  return -1;
}

ssize_t WriteNothing(int, const void*, std::size_t) { return 0; }

TEST_F(WriteFileAtomicTest, AFailedWriteKeepsTheOldFile) {
  const fs::path target = m_Folder / "options.dat";
  WriteTextFile(target, "old");
  for (platform::WriteFunction failing : {&WriteHalfThenFail, &WriteNothing}) {
    platform::SetWriteFunctionForTests(failing);
    EXPECT_FALSE(platform::WriteFileAtomic(target, Bytes("a new text that does not fit")));
    EXPECT_EQ(ReadTextFile(target), "old");
    EXPECT_EQ(Entries(m_Folder.path()), std::vector<std::string>{"options.dat"});
  }
}

TEST_F(WriteFileAtomicTest, AnUnwritableFolderFailsAndTouchesNothing) {
  // A regular file where the folder should be: unwritable even for root.
  WriteTextFile(m_Folder / "user_data", "not a folder");
  EXPECT_FALSE(platform::WriteFileAtomic(m_Folder / "user_data" / "Option.dat", Bytes("x")));
  // A folder where the file should be cannot be replaced.
  fs::create_directory(m_Folder / "Boot.dat");
  EXPECT_FALSE(platform::WriteFileAtomic(m_Folder / "Boot.dat", Bytes("x")));
  EXPECT_EQ(ReadTextFile(m_Folder / "user_data"), "not a folder");
  EXPECT_EQ(Entries(m_Folder.path()), (std::vector<std::string>{"Boot.dat", "user_data"}));
}

TEST_F(WriteFileAtomicTest, AReplacedFileKeepsItsModeAndANewOneTakesTheUsualMode) {
  const fs::path kept = m_Folder / "Story01.dat";
  WriteTextFile(kept, "old");
  for (const fs::perms mode : {fs::perms(0600), fs::perms(0640), fs::perms(0604)}) {
    fs::permissions(kept, mode);
    ASSERT_TRUE(platform::WriteFileAtomic(kept, Bytes("new")));
    EXPECT_EQ(fs::status(kept).permissions(), mode);
  }
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / "new.dat", Bytes("x")));
  ::umask(mask);
  EXPECT_EQ(fs::status(m_Folder / "new.dat").permissions(), fs::perms(0644));
}

// A save kept elsewhere through a symbolic link is written where the link
// leads, atomically beside that file; the link stays a link.
TEST_F(WriteFileAtomicTest, WritesThroughSymbolicLinksBesideTheFileTheyName) {
  const fs::path user = m_Folder / "user_data", elsewhere = m_Folder / "elsewhere";
  fs::create_directories(user);
  fs::create_directories(elsewhere);
  struct Case {
    const char* name;
    fs::path link;    // in user_data, Option.dat
    fs::path named;   // what it names
    fs::path lands;   // the file written
  };
  const Case cases[] = {
      {"relative", "../elsewhere/a.dat", "", elsewhere / "a.dat"},
      {"absolute", elsewhere / "b.dat", "", elsewhere / "b.dat"},
      {"a chain", "chain.dat", "../elsewhere/c.dat", elsewhere / "c.dat"},
      {"to a file not made yet", "../elsewhere/d.dat", "", elsewhere / "d.dat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path option = user / "Option.dat";
    fs::remove(option);
    fs::remove(user / "chain.dat");
    fs::create_symlink(c.link, option);
    if (!c.named.empty()) fs::create_symlink(c.named, user / c.link);
    if (std::string(c.name) != "to a file not made yet") WriteTextFile(c.lands, "old");
    ASSERT_TRUE(platform::WriteFileAtomic(option, Bytes("new")));
    EXPECT_TRUE(fs::is_symlink(option));
    EXPECT_EQ(ReadTextFile(c.lands), "new");
    for (const fs::directory_entry& entry : fs::directory_iterator(m_Folder.path() / "elsewhere"))
      EXPECT_EQ(entry.path().extension(), ".dat") << entry.path();
  }
  // A loop of links names no file: nothing is written.
  fs::create_symlink("loop2", user / "loop1");
  fs::create_symlink("loop1", user / "loop2");
  EXPECT_FALSE(platform::WriteFileAtomic(user / "loop1", Bytes("x")));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(user / "loop1")));
}

// A file the user may not write, or one in a folder they may not write, is
// refused like a failed write: false, the old file kept, nothing left over.
TEST_F(WriteFileAtomicTest, AFileOrFolderTheUserMayNotWriteIsRefused) {
  const fs::path readOnlyFile = m_Folder / "Option.dat";
  const fs::path folder = m_Folder / "ranking";
  WriteTextFile(readOnlyFile, "old");
  fs::permissions(readOnlyFile, fs::perms(0444));
  fs::create_directories(folder);
  WriteTextFile(folder / "free.rkg", "old");
  fs::permissions(folder, fs::perms(0555));
  const int status = RunBoundByFileModes([&] {
    EXPECT_FALSE(platform::WriteFileAtomic(readOnlyFile, Bytes("new")));
    EXPECT_FALSE(platform::WriteFileAtomic(folder / "free.rkg", Bytes("new")));
    EXPECT_FALSE(platform::WriteFileAtomic(folder / "new.rkg", Bytes("new")));
    return 0;
  });
  fs::permissions(folder, fs::perms(0755));
  if (status == kNotBound) GTEST_SKIP() << kNotBoundMessage;
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadTextFile(readOnlyFile), "old");
  EXPECT_EQ(fs::status(readOnlyFile).permissions(), fs::perms(0444));
  EXPECT_EQ(ReadTextFile(folder / "free.rkg"), "old");
  EXPECT_EQ(Entries(m_Folder.path()), (std::vector<std::string>{"Option.dat", "ranking"}));
  EXPECT_EQ(Entries(folder), std::vector<std::string>{"free.rkg"});
}

TEST(ReadWholeFile, FailsOnMissingFilesAndFolders) {
  TempFolder folder;
  std::vector<std::uint8_t> bytes = Bytes("kept");
  EXPECT_FALSE(platform::ReadWholeFile(folder / "missing", bytes));
  EXPECT_FALSE(platform::ReadWholeFile(folder.path(), bytes));
  EXPECT_EQ(bytes, Bytes("kept"));
}

TEST(ReadWholeFile, RefusesANamedPipeWithoutWaitingForAWriter) {
  TempFolder folder;
  const fs::path pipe = folder / "System.dat";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::vector<std::uint8_t> bytes;
  EXPECT_FALSE(platform::ReadWholeFile(pipe, bytes));
}

}  // namespace
