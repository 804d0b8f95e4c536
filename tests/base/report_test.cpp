#include "base/report.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/close_request.h"
#include "support/scoped_message_boxes.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ReportTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetCloseRequests();
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
  }
  // No log file: the next test starts its own log anew.
  void TearDown() override { SetErrorLog(0, ""); }

  std::string Report() const { return ReadTextFile(m_Folder / "Report_Game.txt"); }
  std::string ErrorLogText() const { return ReadTextFile(m_Folder / "EC_Game.txt"); }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
  ScopedMessageBoxes m_Boxes;
};

TEST_F(ReportTest, OpenReportEmptiesTheFileAndEachReportIsOneUtf8Line) {
  WriteTextFile(m_Folder / "Report_Game.txt", "from the last start\n");
  ASSERT_EQ(OpenReport("report_game.TXT"), 1);  // the existing file, whatever its case
  EXPECT_EQ(Report(), "");
  EXPECT_EQ(ReportF("App : ver %s", "566"), 1);
  EXPECT_EQ(ReportF("%s の読み込みに失敗…", "data\\表示.dat"), 1);
  EXPECT_EQ(Report(), "App : ver 566\n" + Utf8(u8"data\\表示.dat の読み込みに失敗…") + "\n");
}

TEST_F(ReportTest, LongTextsAreNotCut) {
  const std::string longText(6000, 'x');
  ReportF("%s|%s", longText.c_str(), "end");
  ErrorBoxF("%s|%s", longText.c_str(), "end");
  EXPECT_EQ(Report(), longText + "|end\n");
  ASSERT_EQ(m_Boxes.Shown().size(), 1u);
  EXPECT_EQ(m_Boxes.Shown()[0].text, longText + "|end");
}

TEST_F(ReportTest, ReportingFailsQuietlyWhenTheFileIsGone) {
  std::filesystem::remove(m_Folder / "Report_Game.txt");
  EXPECT_EQ(ReportF("lost"), 0);
  EXPECT_FALSE(std::filesystem::exists(m_Folder / "Report_Game.txt"));
  WriteTextFile(m_Folder / "data", "a file, not a folder");
  EXPECT_EQ(OpenReport("data\\Report_Game.txt"), 0);
}

TEST_F(ReportTest, TheErrorLogIsOffUntilSwitchedOn) {
  SetErrorLog(0, "EC_Game.txt");
  EXPECT_EQ(ErrorLog("a"), 0);
  EXPECT_EQ(ErrorLogF("%d", 1), 0);
  EXPECT_EQ(DebugErrorBoxF("diagnostic %d", 2), 0);
  EXPECT_EQ(ReportLogF("both %d", 3), 1);
  EXPECT_FALSE(std::filesystem::exists(m_Folder / "EC_Game.txt"));
  EXPECT_TRUE(m_Boxes.Shown().empty());
  EXPECT_EQ(Report(), "both 3\n");

  WriteTextFile(m_Folder / "EC_Game.txt", "old run\n");
  SetErrorLog(1, "EC_Game.txt");
  EXPECT_EQ(ErrorLog("100%d unchanged"), 1);  // the first line empties the file
  EXPECT_EQ(ErrorLogStr("second"), 1);
  EXPECT_EQ(ErrorLogF("third %d", 3), 1);
  EXPECT_EQ(ReportLogF("fourth"), 1);
  EXPECT_EQ(DebugErrorBoxF("diagnostic %d", 5), 1);
  EXPECT_EQ(ErrorLogText(), "100%d unchanged\nsecond\nthird 3\nfourth\n");
  ASSERT_EQ(m_Boxes.Shown().size(), 1u);
  EXPECT_EQ(m_Boxes.Shown()[0].text, "diagnostic 5");
}

TEST_F(ReportTest, ErrorBoxesAndOrderlyStops) {
  EXPECT_EQ(ReportErrorF("データベースの読み込みに失敗…"), 1);
  OutOfMemoryError();
  EXPECT_EQ(CloseRequestCount(), 1);
  ErrorLogAndClose("thrown: %s", "text");  // closes although the log is off
  EXPECT_EQ(CloseRequestCount(), 2);

  const auto shown = m_Boxes.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "データベースの読み込みに失敗…");
  EXPECT_EQ(shown[1].text, "メモリが不足しています！");
  for (const auto& box : shown) {
    EXPECT_EQ(box.caption, "エラー");
    EXPECT_EQ(box.type, platform::MB_OK);
  }
  EXPECT_EQ(Report(), Utf8(u8"データベースの読み込みに失敗…") + "\n");
}

// The display registers its own box once it is ready; until then, and after
// the sink is withdrawn, boxes go to the platform.
TEST_F(ReportTest, BoxesGoToTheRegisteredSinkOrElseThePlatform) {
  static std::vector<std::string> s_SinkTexts;
  s_SinkTexts.clear();
  SetMessageBoxSink([](const char* text, const char* caption, unsigned type) {
    s_SinkTexts.push_back(std::string(caption) + ":" + text + ":" + std::to_string(type));
    return 7;
  });
  EXPECT_EQ(ErrorBox("over the display"), 7);
  SetMessageBoxSink(nullptr);
  ErrorBox("before the display");

  EXPECT_EQ(s_SinkTexts, std::vector<std::string>{"エラー:over the display:0"});
  ASSERT_EQ(m_Boxes.Shown().size(), 1u);
  EXPECT_EQ(m_Boxes.Shown()[0].text, "before the display");
}

TEST_F(ReportTest, LinesFromSeveralThreadsNeverMix) {
  constexpr int kThreads = 8;
  constexpr int kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      const std::string filler(3000 + t * 500, static_cast<char>('a' + t));
      for (int i = 0; i < kLines; ++i) ReportF("%d %d %s", t, i, filler.c_str());
    });
  }
  for (auto& thread : threads) thread.join();

  const auto lines = Lines(Report());
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLines));
  std::set<std::pair<int, int>> seen;
  for (const std::string& line : lines) {
    int t = -1, i = -1;
    ASSERT_EQ(std::sscanf(line.c_str(), "%d %d", &t, &i), 2);
    ASSERT_TRUE(t >= 0 && t < kThreads);
    const std::string expected = std::to_string(t) + " " + std::to_string(i) + " " +
                                 std::string(3000 + t * 500, static_cast<char>('a' + t));
    ASSERT_EQ(line, expected);
    seen.insert({t, i});
  }
  EXPECT_EQ(seen.size(), lines.size());
}

}  // namespace
