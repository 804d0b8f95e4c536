// The dialog seam: patterns, placement, scripted answers, boxes from other
// threads and the transcript.
#include "platform/dialogs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/main_thread.h"
#include "platform/message_box.h"
#include "platform/transcript.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

TEST(FilePatterns, MatchWithoutRegardToCase) {
  struct Case {
    std::string name;  // UTF-8
    const char* patterns;
    bool matches;
  };
  const Case cases[] = {
      {"a.stg4_001", "*.stg4_*;*.rpl4_*", true},
      {"A.STG4_001", "*.stg4_*;*.rpl4_*", true},
      {"x.Rpl4_566", "*.stg4_*;*.rpl4_*", true},
      {"x.rpl4_566", "*.rpl4_566", true},
      {"x.rpl4_565", "*.rpl4_566", false},
      {"stg4_001", "*.stg4_*", false},
      {"notes.txt", "*.stg4_*;*.rpl4_*", false},
      {Utf8(u8"表示.stg4_001"), "*.stg4_*", true},
      {"a.stg4_001", "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::MatchesFilePatterns(c.name, c.patterns), c.matches) << c.name << " " << c.patterns;
}

TEST(WorkArea, WindowsAreMovedInsideIt) {
  struct Case {
    int x, y;
    int expectedX, expectedY;
  };
  const platform::WorkArea area{0, 30, 1024, 738};  // a panel at the top
  const Case cases[] = {
      {233, 204, 233, 204},   // inside
      {-20, -5, 0, 30},       // off the left and under the panel
      {900, 100, 824, 100},   // reaching past the right edge ends at it
      {824, 568, 824, 568},   // just fits
      {824, 569, 824, 568},   // reaching the bottom
  };
  for (const Case& c : cases) {
    int x = c.x, y = c.y;
    platform::ClampToWorkArea(x, y, 200, 200, area);
    EXPECT_EQ(x, c.expectedX) << c.x << "," << c.y;
    EXPECT_EQ(y, c.expectedY) << c.x << "," << c.y;
  }
}

platform::FileRequest Chooser(bool save) {
  platform::FileRequest request;
  request.save = save;
  return request;
}

TEST(ScriptedDialogs, AnswersInOrderAndLeavesOtherKindsWaiting) {
  platform::ScriptedDialogs script(
      "# a comment line\n"
      "message yes   # first box\n"
      "open data/stg4/a.stg4_001\n"
      "message no\n");
  // A save chooser is not the next answer's kind: cancelled, the answer waits.
  EXPECT_FALSE(script.ChooseFile(Chooser(true)));
  EXPECT_EQ(script.Show("?", "", platform::MB_YESNO), platform::IDYES);
  EXPECT_EQ(script.Show("!", "", platform::MB_OK), platform::IDOK);  // the open answer waits
  EXPECT_EQ(script.ChooseFile(Chooser(false)), std::filesystem::path("data/stg4/a.stg4_001"));
  EXPECT_EQ(script.Show("?", "", platform::MB_YESNO), platform::IDNO);
  // Nothing left: boxes answer as closed, choosers cancel.
  EXPECT_EQ(script.Show("?", "", platform::MB_YESNO), platform::IDNO);
  EXPECT_EQ(script.Show("?", "", platform::MB_OKCANCEL), platform::IDCANCEL);
  EXPECT_FALSE(script.ChooseFile(Chooser(false)));
  EXPECT_EQ(script.PendingAnswers(), 0u);
}

// Records the thread each box is shown on.
class ThreadRecordingBoxes : public platform::MessageBoxBackend {
 public:
  int Show(const std::string&, const std::string&, unsigned) override {
    m_ShownOn = std::this_thread::get_id();
    return platform::IDYES;
  }
  std::thread::id m_ShownOn;
};

class MessageBoxThreadTest : public testing::Test {
 protected:
  void SetUp() override {
    m_pPrevious = platform::SetMessageBoxBackend(&m_Boxes);
    platform::SetMessageBoxReportLine([this](const std::string& line) { m_Reported.push_back(line); });
    platform::ClaimMainThread();
  }
  void TearDown() override {
    platform::ReleaseMainThread();
    platform::SetMessageBoxReportLine(nullptr);
    platform::SetMessageBoxBackend(m_pPrevious);
  }
  // Shows a box from another thread while this one serves the main thread.
  int ShowFromGameThread(unsigned type) {
    std::atomic<int> answer{0};
    std::thread game([&] { answer = platform::MessageBoxA("続けますか？", "確認", type); });
    while (answer == 0) {
      platform::WaitForMainThreadTasks(std::chrono::milliseconds(10));
      platform::RunMainThreadTasks();
    }
    game.join();
    return answer;
  }

  ThreadRecordingBoxes m_Boxes;
  platform::MessageBoxBackend* m_pPrevious = nullptr;
  std::vector<std::string> m_Reported;
};

TEST_F(MessageBoxThreadTest, ABoxFromTheGameThreadIsShownOnTheMainThread) {
  EXPECT_EQ(ShowFromGameThread(platform::MB_YESNO), platform::IDYES);
  EXPECT_EQ(m_Boxes.m_ShownOn, std::this_thread::get_id());
  EXPECT_TRUE(m_Reported.empty());
}

TEST_F(MessageBoxThreadTest, OnceTheMainThreadStopsServingBoxesAreReportedAndAnsweredAsClosed) {
  platform::StopMainThreadTasks();
  EXPECT_EQ(ShowFromGameThread(platform::MB_YESNO), platform::IDNO);
  EXPECT_EQ(m_Boxes.m_ShownOn, std::thread::id());
  EXPECT_EQ(m_Reported, std::vector<std::string>{"[確認] 続けますか？"});
}

TEST(Transcript, BoxesAreWrittenOneLineEachInUtf8) {
  TempFolder folder;
  const std::string path = (folder / "transcript.txt").string();
  platform::SetTranscriptFile(path);
  platform::ScriptedDialogs script("message yes\n");
  platform::MessageBoxBackend* previous = platform::SetMessageBoxBackend(&script);
  platform::MessageBoxA("上書きしますか？", "確認", platform::MB_YESNO);
  platform::MessageBoxA("エラーです", "エラー", platform::MB_OK);
  platform::SetMessageBoxBackend(previous);
  platform::SetTranscriptFile("");
  EXPECT_EQ(ReadTextFile(folder / "transcript.txt"),
            Utf8(u8"message [確認] 上書きしますか？ -> yes\nmessage [エラー] エラーです -> ok\n"));
}

}  // namespace
