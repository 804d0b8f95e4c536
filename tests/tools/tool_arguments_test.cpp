// make-demo and datadump as a user meets them: arguments, folders and files
// they are given, with the exit status and what each prints.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "model/record/record.h"
#include "model/settings/system_data.h"
#include "platform/files.h"
#include "support/run_program.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

using Prepare = std::function<void(const fs::path& folder)>;
using Check = std::function<void(const fs::path& folder, const ProgramResult& result)>;

struct ToolCase {
  std::string name;
  const char* program;
  std::vector<std::string> args;  // run in the case's own folder
  Prepare prepare;                 // the files the folder starts with
  int status;
  std::string out;  // a text that standard output holds
  std::string err;  // a text that standard error holds
  Check check;      // further checks, when any
};

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  ASSERT_TRUE(platform::WriteFileAtomic(path, bytes));
}

std::vector<std::string> FilesBelow(const fs::path& root) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).generic_string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Settings of the current version, or claiming another version.
std::vector<std::uint8_t> SettingsBytes(std::uint32_t claimedVersion = DATA_VERSION) {
  g_nDataVersion = DATA_VERSION;
  cSystemData settings;
  settings.m_nTransG = 177;
  std::vector<std::uint8_t> bytes = settings.SaveBytes();
  std::memcpy(bytes.data(), &claimedVersion, 4);
  return bytes;
}

std::vector<std::uint8_t> StageBytes() {
  g_nDataVersion = DATA_VERSION;
  cEdStage stage = MakeTestStage();
  return stage.SaveBytes();
}

Prepare Nothing() {
  return [](const fs::path&) {};
}

Prepare Settings(std::string path, std::uint32_t version = DATA_VERSION) {
  return [=](const fs::path& folder) { WriteBytes(folder / path, SettingsBytes(version)); };
}

Prepare TextFile(std::string path, std::string text) {
  return [=](const fs::path& folder) {
    fs::create_directories((folder / path).parent_path());
    WriteTextFile(folder / path, text);
  };
}

Prepare Folder(std::string path) {
  return [=](const fs::path& folder) { fs::create_directories(folder / path); };
}

Prepare Both(Prepare a, Prepare b) {
  return [=](const fs::path& folder) {
    a(folder);
    b(folder);
  };
}

// The folder holds what it held before the run, and nothing else.
Check Unchanged(std::vector<std::string> files) {
  return [=](const fs::path& folder, const ProgramResult&) {
    std::vector<std::string> present;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      present.push_back(fs::relative(entry.path(), folder).generic_string());
    }
    std::sort(present.begin(), present.end());
    EXPECT_EQ(present, files);
  };
}

// A whole demo project stands in `project` (relative to the case's folder),
// beside `others` files that were there before, and make-demo listed every
// file it wrote and counted them truly.
Check DemoWritten(std::string project, std::size_t others) {
  return [=](const fs::path& folder, const ProgramResult& result) {
    EXPECT_TRUE(fs::exists(folder / project / "data/System.dat"));
    std::vector<std::string> lines;
    for (std::size_t begin = 0, end; (end = result.out.find('\n', begin)) != std::string::npos; begin = end + 1) {
      lines.push_back(result.out.substr(begin, end - begin));
    }
    ASSERT_FALSE(lines.empty());
    const std::string summary = lines.back();
    lines.pop_back();
    EXPECT_EQ(summary, "make-demo: " + std::to_string(lines.size()) + " files written to " + project);
    EXPECT_EQ(FilesBelow(folder / project).size(), lines.size() + others);
    for (const std::string& file : lines) EXPECT_TRUE(fs::exists(folder / project / file)) << file;
  };
}

ToolCase MakeDemo(std::string name, std::vector<std::string> args, Prepare prepare, int status, std::string out,
                  std::string err, Check check = {}) {
  return {std::move(name), MAKE_DEMO_PROGRAM, std::move(args), std::move(prepare), status, std::move(out),
          std::move(err), std::move(check)};
}

ToolCase Datadump(std::string name, std::vector<std::string> args, Prepare prepare, int status, std::string out,
                  std::string err, Check check = {}) {
  return {std::move(name), DATADUMP_PROGRAM, std::move(args), std::move(prepare), status, std::move(out),
          std::move(err), std::move(check)};
}

class ToolArgumentsTest : public testing::TestWithParam<ToolCase> {};

TEST_P(ToolArgumentsTest, ExitsAndPrintsAsExpected) {
  const ToolCase& c = GetParam();
  TempFolder folder;
  c.prepare(folder.path());
  const ProgramResult result = RunProgram(c.program, c.args, folder.path());
  EXPECT_EQ(result.status, c.status) << result.err;
  EXPECT_NE(result.out.find(c.out), std::string::npos) << "stdout: " << result.out.substr(0, 2000);
  EXPECT_NE(result.err.find(c.err), std::string::npos) << "stderr: " << result.err;
  if (c.check) c.check(folder.path(), result);
}

const std::string kDemoUsage = "usage: make-demo [--force] FOLDER";
const std::string kDumpUsage = "usage: datadump FILE";

INSTANTIATE_TEST_SUITE_P(
    MakeDemo, ToolArgumentsTest,
    testing::Values(
        MakeDemo("NoArgument", {}, Nothing(), 2, "", kDemoUsage, Unchanged({})),
        MakeDemo("ShortHelp", {"-h"}, Nothing(), 0, kDemoUsage, "", Unchanged({})),
        MakeDemo("LongHelp", {"--help"}, Nothing(), 0, kDemoUsage, "", Unchanged({})),
        MakeDemo("EmptyFolderName", {""}, Nothing(), 2, "", "the folder name is empty", Unchanged({})),
        MakeDemo("UnknownOption", {"--bogus", "demo"}, Nothing(), 2, "", "unknown option --bogus", Unchanged({})),
        MakeDemo("TwoFolders", {"a", "b"}, Nothing(), 2, "", kDemoUsage, Unchanged({})),
        MakeDemo("NewFolder", {"new/demo"}, Nothing(), 0, "files written to new/demo", "", DemoWritten("new/demo", 0)),
        MakeDemo("FolderNamedLikeAnOptionAfterDashes", {"--", "-h"}, Nothing(), 0, "files written to -h", "",
                 DemoWritten("-h", 0)),
        MakeDemo("FolderWithOtherFilesKeepsThem", {"demo"}, TextFile("demo/notes.txt", "mine"), 0, "files written",
                 "",
                 [](const fs::path& folder, const ProgramResult& result) {
                   EXPECT_EQ(ReadTextFile(folder / "demo/notes.txt"), "mine");
                   DemoWritten("demo", 1)(folder, result);
                 }),
        MakeDemo("WritesOverItsOwnFiles", {"demo"},
                 [](const fs::path& folder) {
                   ASSERT_EQ(RunProgram(MAKE_DEMO_PROGRAM, {"demo"}, folder).status, 0);
                 },
                 0, "files written", "", DemoWritten("demo", 0)),
        MakeDemo("RefusesToReplaceADifferentFile", {"demo"}, TextFile("demo/data/System.dat", "mine"), 1, "",
                 "data/System.dat", Unchanged({"demo", "demo/data", "demo/data/System.dat"})),
        MakeDemo("RefusesToReplaceAFileOfAnotherLetterCase", {"demo"}, TextFile("demo/system.INI", "mine"), 1, "",
                 "system.INI", Unchanged({"demo", "demo/system.INI"})),
        MakeDemo("ForceReplacesThem", {"--force", "demo"},
                 Both(TextFile("demo/data/System.dat", "mine"), TextFile("demo/BMP/title.bmp", "mine")), 0,
                 "files written", "",
                 [](const fs::path& folder, const ProgramResult& result) {
                   EXPECT_FALSE(fs::exists(folder / "demo/BMP/title.bmp"));
                   EXPECT_TRUE(fs::exists(folder / "demo/BMP/Title.bmp"));  // into the folder the player reads
                   EXPECT_FALSE(fs::exists(folder / "demo/bmp"));
                   EXPECT_NE(ReadTextFile(folder / "demo/data/System.dat"), "mine");
                   EXPECT_NE(result.out.find("bmp/Title.bmp"), std::string::npos);
                 }),
        MakeDemo("TargetIsAFile", {"demo"}, TextFile("demo", "mine"), 1, "", "demo: not a folder",
                 Unchanged({"demo"})),
        // A failure while moving the files into place takes back what was
        // moved: a folder standing where a file goes cannot be replaced.
        MakeDemo("FailurePartWayLeavesNothing", {"--force", "demo"}, TextFile("demo/data/System.dat/inside", "mine"),
                 1, "", "System.dat: cannot be written",
                 Unchanged({"demo", "demo/data", "demo/data/System.dat", "demo/data/System.dat/inside"}))),
    [](const testing::TestParamInfo<ToolCase>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Datadump, ToolArgumentsTest,
    testing::Values(
        Datadump("NoArgument", {}, Nothing(), 2, "", kDumpUsage),
        Datadump("HelpListsTheFileNames", {"--help"}, Nothing(), 0, "Challenge.dat", ""),
        Datadump("ShortHelp", {"-h"}, Nothing(), 0, kDumpUsage, ""),
        Datadump("UnknownOption", {"-x"}, Nothing(), 2, "", "unknown option -x"),
        Datadump("TwoFiles", {"System.dat", "Option.dat"}, Nothing(), 2, "", kDumpUsage),
        Datadump("UnknownName", {"notes.txt"}, TextFile("notes.txt", "x"), 2, "", "not a data file this tool knows"),
        Datadump("MissingFile", {"System.dat"}, Nothing(), 1, "", "System.dat: cannot be read: no such file"),
        Datadump("Folder", {"System.dat"}, Folder("System.dat"), 1, "", "cannot be read: a folder"),
        Datadump("NamedPipe", {"System.dat"},
                 [](const fs::path& folder) { ASSERT_EQ(::mkfifo((folder / "System.dat").c_str(), 0644), 0); }, 1,
                 "", "cannot be read: not a regular file"),
        Datadump("HugeFile", {"System.dat"},
                 [](const fs::path& folder) {
                   WriteTextFile(folder / "System.dat", "");
                   fs::resize_file(folder / "System.dat", std::uintmax_t{1} << 30);  // sparse: no disk used
                 },
                 1, "", "cannot be read: larger than"),
        Datadump("UnsignedBytes", {"System.dat"}, Settings("System.dat"), 0, "\"m_nTransG\": 177",
                 "data version 566"),
        Datadump("NewerVersion", {"System.dat"}, Settings("System.dat", 9999), 0, "\"m_nTransG\"",
                 "data version 9999 is newer than this player's 566"),
        Datadump("FileOutsideAProject", {"Stage.stg4_001"},
                 [](const fs::path& folder) { WriteBytes(folder / "Stage.stg4_001", StageBytes()); }, 0,
                 "m_vPlacedBlocks", "lies in no project folder"),
        Datadump("ProjectWithoutItsDatabase", {"data/stg4/Stage.stg4_001"},
                 [](const fs::path& folder) {
                   WriteBytes(folder / "data/stg4/Stage.stg4_001", StageBytes());
                   WriteBytes(folder / "data/System.dat", SettingsBytes());
                 },
                 0, "m_vPlacedBlocks", "Anime.dat is missing: its defaults stand in"),
        Datadump("DamagedProjectSettings", {"data/stg4/Stage.stg4_001"},
                 [](const fs::path& folder) {
                   WriteBytes(folder / "data/stg4/Stage.stg4_001", StageBytes());
                   WriteTextFile(folder / "data/System.dat", "cut");
                 },
                 0, "m_vPlacedBlocks", "System.dat is damaged: its defaults stand in"),
        Datadump("DamagedReplaySaysWhyOnStandardError", {"x.rpl4_1"}, TextFile("x.rpl4_1", "cut"), 1, "",
                 "damaged replay file",
                 [](const fs::path& folder, const ProgramResult& result) {
                   EXPECT_EQ(result.err.find("Report_Game.txt"), std::string::npos);
                   EXPECT_FALSE(fs::exists(folder / "Report_Game.txt"));
                 })),
    [](const testing::TestParamInfo<ToolCase>& info) { return info.param.name; });

}  // namespace
