// Ranking tables and the result panel drawn with the game fonts: goldens of
// a score table with its pointer and hint, a clear-time table and result
// panels; the layout rules checked on the pixels (value alignment, the hint
// only with several kinds, the pointer rows, the panel widths, the kinds a
// stage and a play mode show).
#include "scenes/ranking_display.h"
#include "scenes/result_panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/close_request.h"
#include "support/text_drawing_device.h"
#include "support/text_fonts.h"

namespace {

constexpr int kFrameColour = 240;  // the text box's border

class RankingDrawing : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_Device.Started()); }

  // Rows used with names and values; unused rows stay blank.
  static cRankingList Table(const std::vector<std::pair<const char*, int>>& rows, int nUnusedFirst = 0) {
    cRankingList list;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      cRankingEntry& row = list.m_vEntries[i + static_cast<std::size_t>(nUnusedFirst)];
      row.m_bUsed = 1;
      row.m_strName = rows[i].first;
      row.m_nValue = rows[i].second;
    }
    return list;
  }
  // The first column from x0 on, in rows y0..y0 + 14 (a text line above the
  // box's bottom border), whose pixel is neither the box colour nor the back
  // colour; -1 when none up to x1.
  int FirstInkColumn(int x0, int x1, int y0) {
    const GoldenImage picture = BackBufferPicture(640, 480);
    for (int x = x0; x < x1; ++x)
      for (int y = y0; y < y0 + 15; ++y) {
        const std::uint32_t p = picture.at(x, y);
        if (p != m_Device.Rgb(TextDrawingDevice::kBoxColour) && p != m_Device.Rgb(TextDrawingDevice::kBackColour))
          return x;
      }
    return -1;
  }
  // The column of the box's right border on row y, from x on.
  int RightBorder(int x, int y) {
    const GoldenImage picture = BackBufferPicture(640, 480);
    for (; x < 640; ++x)
      if (picture.at(x, y) == m_Device.Rgb(kFrameColour)) return x;
    return -1;
  }

  TextDrawingDevice m_Device;
};

TEST_F(RankingDrawing, TablesMatchTheGolden) {
  REQUIRE_IPA_FONTS();
  cRankingSet set;
  set.m_vLists[RANKING_SCORE] = Table({{"alice", 120500}, {"bob", 98000}, {"carol", 7}, {"dave", -35}});
  set.m_vLists[RANKING_CLEAR_TIME] = Table({{"eve", 6543}, {"frank", 1000000}, {"grace", 0}});
  EXPECT_EQ(DrawRanking(set, &g_sdBackBuffer, 20, 20, RANKING_SCORE, 2), 0);
  EXPECT_EQ(DrawRanking(set, &g_sdBackBuffer, 340, 20, RANKING_CLEAR_TIME, -1), -1);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(640, 400), "scenes/ranking_tables_DD32");
}

TEST_F(RankingDrawing, ValuesEndInTheColumnOfTheFirstRowsWidth) {
  const struct {
    int unusedFirst;
    std::vector<std::pair<const char*, int>> rows;
    int checkedRow;
    int expectedX;  // relative to the table
  } cases[] = {
      {0, {{"a", 12345}, {"b", 7}}, 1, 144 + 16 * 4},  // 5-digit column: a 1-digit value moves 4 cells right
      {0, {{"a", 99}, {"b", 12345}}, 1, 144 - 16 * 3},  // a longer value starts left of the column
      {1, {{"b", 5}}, 1, 144},                          // row 0 unused: its value 0 gives one digit
  };
  for (const auto& c : cases) {
    DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, TextDrawingDevice::kBackColour);
    DrawRankingTable(Table(c.rows, c.unusedFirst), &g_sdBackBuffer, 100, 10, RANKING_SCORE, -1);
    const int rowY = 10 + 16 * (c.checkedRow + 1);
    const int first = FirstInkColumn(100 + 64 + 16, 640, rowY);  // past the one-letter name
    EXPECT_GE(first, 100 + c.expectedX) << c.rows.size();
    EXPECT_LT(first, 100 + c.expectedX + 16) << c.rows.size();
  }
}

TEST_F(RankingDrawing, TheHintLineNeedsSeveralKindsOfThePlayMode) {
  const int hintY = 10 + 16 + 16 * cRankingList::kRows;
  for (int kinds : {1, 2}) {
    DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, TextDrawingDevice::kBackColour);
    cEdFlagSet& rule = g_SystemData.m_vRanking[PLAY_CHALLENGE];
    rule.m_vKinds.assign(5, 0);
    for (int k = 0; k < kinds; ++k) rule.m_vKinds[static_cast<std::size_t>(k)] = 1;
    g_SceneManager.m_nPlayMode = PLAY_CHALLENGE;
    DrawRankingTable(cRankingList(), &g_sdBackBuffer, 10, 10, RANKING_SCORE, -1);
    EXPECT_EQ(FirstInkColumn(11, 280, hintY) != -1, kinds > 1) << kinds;
  }
}

TEST_F(RankingDrawing, ThePointerMarksTheRow) {
  const int accessoryColour = TextDrawingDevice::AccessoryColourAt(kRankingPointerX, kRankingPointerY);
  const GoldenImage before = BackBufferPicture(640, 480);
  for (int row : {0, 5, 19}) {
    DrawRankingTable(cRankingList(), &g_sdBackBuffer, 200, 30, RANKING_TIME_LEFT, row);
    EXPECT_EQ(BackBufferPicture(640, 480).at(200 + 8, 30 + 16 * row + 16 + 8), m_Device.Rgb(accessoryColour)) << row;
  }
  // The table draws into the surface it is given, not into the frame.
  EXPECT_EQ(BackBufferPicture(640, 480).at(2, 2), before.at(2, 2));
}

TEST_F(RankingDrawing, AKindOutsideTheSetAsksToCloseAndDrawsTheFirstTable) {
  ResetCloseRequests();
  cRankingSet set;
  EXPECT_EQ(DrawRanking(set, &g_sdBackBuffer, 0, 0, 7, 0), 0);
  EXPECT_GE(CloseRequestCount(), 1);
  ResetCloseRequests();
}

class ResultPanel : public RankingDrawing {
 protected:
  void SetTotals() {
    g_SaveData.m_nTotalScore = 123456;
    g_SaveData.m_nTotalTimeLeft = 87;
    g_SaveData.m_nTotalClearTime = 6543;
    g_SaveData.m_nTotalHP = 12;
    g_SaveData.m_nTotalSP = 0;
  }
};

TEST_F(ResultPanel, PanelsMatchTheGolden) {
  REQUIRE_IPA_FONTS();
  SetTotals();
  DrawResultPanel(&g_sdBackBuffer, 40, 40, {0, -1, 3, -1, 5});  // every kind, three ranked
  g_LoadedStage.m_vRankingFlags = {0, 0, 1, 0, 0};
  DrawResultPanel(&g_sdBackBuffer, 40, 200, {-1, -1, -1, -1, -1});  // only the clear time
  g_LoadedStage.m_vRankingFlags = {1, 1, 0, 1, 0};
  DrawResultPanel(&g_sdBackBuffer, 360, 200, {-1, 2, -1, 0, -1});
  EXPECT_TEXT_GOLDEN(BackBufferPicture(640, 300), "scenes/result_panel_DD32");
}

TEST_F(ResultPanel, WidthFollowsTheLongestLabelAndValue) {
  SetTotals();
  const struct {
    std::vector<std::int32_t> stageKinds;
    int width;  // in characters
  } cases[] = {
      {{0, 0, 1, 0, 0}, 8 + 5 + 3},  // clear time only: "クリア時間", at least 8 value characters
      {{1, 0, 0, 0, 0}, 6 + 3 + 3},  // 123456 under "スコア"
      {{0, 0, 0, 1, 1}, 2 + 4 + 3},  // 12 and 0 under "残りHP", "残りSP"
      {{1, 1, 1, 1, 1}, 8 + 5 + 3},
  };
  for (const auto& c : cases) {
    DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, TextDrawingDevice::kBackColour);
    g_LoadedStage.m_vRankingFlags = c.stageKinds;
    DrawResultPanel(&g_sdBackBuffer, 20, 20, {});
    EXPECT_EQ(RightBorder(20, 20), 20 + 16 * c.width) << c.width;
  }
}

TEST_F(ResultPanel, KindsShownAreThoseOfTheStageAndThePlayMode) {
  SetTotals();
  ResetCloseRequests();
  const struct {
    std::vector<std::int32_t> stageKinds;
    std::vector<std::uint8_t> modeKinds;
    int freeStage;
    int lines;
  } cases[] = {
      {{1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, 0, 5},
      {{1, 0, 1, 0, 1}, {1, 1, 1, 1, 1}, 0, 3},
      {{1, 1, 1, 1, 1}, {0, 1, 0, 0, 0}, 0, 1},
      {{1, 1, 1, 1, 1}, {0, 0, 0, 0, 0}, 1, 5},  // a direct start shows what the stage totals
      {{1, 1, 1, 1, 1}, {0, 0, 0, 0, 0}, 0, 0},
      {{1, 1}, {1, 1, 1, 1, 1}, 0, 2},        // a short list of a damaged stage ranks the kinds it has
      {{}, {1, 1, 1}, 0, 0},
  };
  for (const auto& c : cases) {
    DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, TextDrawingDevice::kBackColour);
    g_LoadedStage.m_vRankingFlags = c.stageKinds;
    g_SystemData.m_vRanking[PLAY_STORY].m_vKinds = c.modeKinds;
    g_bFreeStagePlay = c.freeStage;
    DrawResultPanel(&g_sdBackBuffer, 20, 20, {});
    // The bottom border lies under the last line; nothing at all without lines.
    const GoldenImage picture = BackBufferPicture(640, 480);
    int bottom = -1;
    for (int y = 20; y < 480 && bottom == -1; ++y)
      if (picture.at(20, y) == m_Device.Rgb(kFrameColour)) bottom = y;
    EXPECT_EQ(bottom, c.lines ? 20 + 16 * c.lines : -1) << c.lines;
  }
  g_bFreeStagePlay = 0;
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(ResultPanel, PointersStandAtTheLinesOfTheRankedKinds) {
  SetTotals();
  g_LoadedStage.m_vRankingFlags = {1, 0, 1, 1, 1};  // time left not shown
  const int accessoryColour = TextDrawingDevice::AccessoryColourAt(kRankingPointerX, kRankingPointerY);
  // Lines: score, clear time, HP left, SP left. Time left has a position but no line.
  DrawResultPanel(&g_sdBackBuffer, 20, 20, {-1, 4, -1, 0, 1});
  const GoldenImage picture = BackBufferPicture(640, 480);
  const bool expected[] = {false, false, true, true};
  for (int line = 0; line < 4; ++line)
    EXPECT_EQ(picture.at(28, 20 + 16 * line + 8) == m_Device.Rgb(accessoryColour), expected[line]) << line;
}

}  // namespace
