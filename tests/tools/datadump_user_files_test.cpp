// datadump on the files the player writes into user_data: story saves under
// the names BuildStoryFilePath gives, Challenge.dat and a replay named as
// the replay dialog proposes, each written with the model's own Save.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "model/settings/paths.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "model/stage/stage.h"
#include "platform/files.h"
#include "support/scoped_message_boxes.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace fs = std::filesystem;

namespace {

struct DumpResult {
  int status = -1;
  std::string out;
};

DumpResult RunDatadump(const fs::path& file) {
  const std::string command =
      std::string("'") + DATADUMP_PROGRAM + "' '" + file.string() + "' 2>/dev/null";
  DumpResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer;
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    result.out.append(buffer.data(), n);
  }
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

class DatadumpUserFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    fs::create_directories("user_data/story");
    fs::create_directories("user_data/challenge");
    fs::create_directories("user_data/rpl4");
  }
  void TearDown() override { g_SaveSlots = m_Slots; }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
  ScopedMessageBoxes m_Boxes;
  std::vector<cSaveSlot> m_Slots = g_SaveSlots;
};

TEST_F(DatadumpUserFilesTest, PrintsStorySavesChallengeProgressAndReplays) {
  cSaveData progress;
  progress.m_nLives = 7;
  progress.m_strName = "qwe";
  progress.SetStageFile("data\\stg4\\stage.stg4_001");
  progress.m_vVariables.at(9) = 4321;
  ASSERT_EQ(progress.SaveStory(0), 1);
  ASSERT_EQ(progress.SaveStory(STORY_SLOT_COUNT - 1), 1);
  ASSERT_EQ(progress.SaveChallenge(), 1);

  cReplayLog log;
  const std::int16_t frames[][2] = {{4, 0}, {4, 1}, {8, 1}};
  for (const auto& frame : frames) log.RecordFrame(frame);
  log.m_nSeed = 24680;
  cEdStage stage = MakeTestStage();
  cEdStage start = stage;
  start.ClearObjectLists();
  const std::string replay = REPLAY_FOLDER + ProposeReplayFileName(progress.m_strStagePath);
  ASSERT_EQ(log.SaveReplay(replay.c_str(), stage, start, progress), 1);

  struct Case {
    std::string path;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {BuildStoryFilePath(0), {"\"m_nLives\": 7", "\"qwe\"", "4321"}},
      {BuildStoryFilePath(STORY_SLOT_COUNT - 1), {"\"m_nLives\": 7"}},
      {g_astrFilePath[PATH_CHALLENGE_FILE], {"\"m_nLives\": 7", "\"m_vChallenge\""}},
      {replay, {"\"m_nSeed\": 24680", Utf8(u8"テストステージ"), Utf8(u8"主人公"), "\"qwe\""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const fs::path file = fs::absolute(platform::MapPath(c.path));
    ASSERT_TRUE(fs::exists(file));
    const DumpResult dump = RunDatadump(file);
    EXPECT_EQ(dump.status, 0);
    for (const std::string& text : c.shown) {
      EXPECT_NE(dump.out.find(text), std::string::npos) << text;
    }

    // The same file cut short is refused.
    const std::string whole = ReadTextFile(file);
    const fs::path cut = m_Folder / "cut" / file.filename();
    fs::create_directories(cut.parent_path());
    WriteTextFile(cut, whole.substr(0, whole.size() / 2));
    EXPECT_EQ(RunDatadump(cut).status, 1);
  }
}

}  // namespace
