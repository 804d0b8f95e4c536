#include "game/overlays/message_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/overlays/picture.h"
#include "model/user/save_data.h"
#include "support/fake_text_target.h"
#include "support/recording_draw_target.h"
#include "support/test_stage.h"

namespace {

struct WindowArgs {
  int nKind = MESSAGE_TEXT;
  const char* text = "Hello";
  int nPosMode = 0;
  int nColumn = 0, nRow = 0, dx = 0, dy = 0;
  int bKeepOnScreen = 0, bFixed = 0, nDisplayMode = 1, nTime = 0;
  int bNoOpening = 1, bExpand = 0, bRefresh = 0, nInterval = 0;
};

class MessageWindowTest : public ::testing::Test {
 protected:
  cMessageWindow Make(const WindowArgs& a) {
    cMessageWindow window(text);
    window.Setup(a.nKind, a.text, 0, 0, 0, a.nPosMode, a.nColumn, a.nRow, a.dx, a.dy, a.bKeepOnScreen, a.bFixed,
                 a.nDisplayMode, a.nTime, 0, 0, a.bNoOpening, a.bExpand, a.bRefresh, a.nInterval, 0, 0, 0, 0);
    return window;
  }
  // Where the window's content landed on the frame this call.
  std::pair<int, int> DrawnAt(cMessageWindow& window) {
    draw.m_vCalls.clear();
    EXPECT_EQ(window.UpdateAndDraw(draw, kBackBuffer, 0), 0);
    EXPECT_EQ(draw.m_vCalls.size(), 1u);
    if (draw.m_vCalls.empty()) return {-9999, -9999};
    return {draw.m_vCalls.back().x, draw.m_vCalls.back().y};
  }

  TestStage stage;
  FakeTextTarget text;
  RecordingDrawTarget draw;
};

TEST_F(MessageWindowTest, ATextIsMeasuredWithAMarginAndWrittenOnItsSurface) {
  cMessageWindow window = Make({.text = "ab\nabcd"});
  EXPECT_EQ(window.m_nWidth, 34);
  EXPECT_EQ(window.m_nHeight, 34);
  ASSERT_EQ(text.m_vCreated.size(), 1u);
  EXPECT_EQ(text.m_vCreated[0], std::make_pair(34, 34));
  EXPECT_EQ(text.m_vTexts, std::vector<std::string>{"ab\nabcd"});
  // Position mode 0: centred on the screen.
  EXPECT_EQ(DrawnAt(window), std::make_pair(320 - 17, 240 - 17));
  EXPECT_EQ(draw.m_vCalls[0].src, (sSurface{SURFACES_MESSAGE, 1}));
}

TEST_F(MessageWindowTest, ATimedWindowIsDrawnThirtyTimesAndEndsOnTheThirtyFirstCall) {
  cMessageWindow window = Make({.nKind = MESSAGE_SYSTEM_ICON, .text = nullptr, .nDisplayMode = 2, .nTime = 30});
  std::vector<int> ys;
  for (int call = 1; call <= 30; ++call) ys.push_back(DrawnAt(window).second);
  EXPECT_EQ(window.UpdateAndDraw(draw, kBackBuffer, 0), 1);
  // The pop-up rises (30 - time left) >> 2 pixels: 0 on the first drawing, 7 on the last.
  const int y0 = 240 - 8;
  EXPECT_EQ(ys.front(), y0);
  EXPECT_EQ(ys[2], y0);      // time left 27
  EXPECT_EQ(ys[3], y0 - 1);  // time left 26
  EXPECT_EQ(ys.back(), y0 - 7);
}

TEST_F(MessageWindowTest, TimeStandsWhilePausedUnlessTheWindowCountsWhilePaused) {
  cMessageWindow window = Make({.nKind = MESSAGE_NONE, .text = nullptr, .nDisplayMode = 2, .nTime = 1});
  for (int i = 0; i < 5; ++i) EXPECT_EQ(window.UpdateAndDraw(draw, kBackBuffer, 1), 0);
  EXPECT_EQ(window.UpdateAndDraw(draw, kBackBuffer, 0), 0);
  EXPECT_EQ(window.UpdateAndDraw(draw, kBackBuffer, 0), 1);
  EXPECT_TRUE(draw.m_vCalls.empty());
}

TEST_F(MessageWindowTest, KeepOnScreenHoldsTheWindowInsideTheScreenBelowTheStatusLine) {
  struct Case {
    int dx, dy, x, y;
  };
  // A window of 34 x 18 in screen cells (mode 7).
  for (const Case& c : {Case{-5, 100, 0, 100}, Case{604, 100, 604, 100}, Case{605, 100, 606, 100},
                        Case{100, 19, 100, 20}, Case{100, 460, 100, 460}, Case{100, 461, 100, 462}}) {
    cMessageWindow window = Make({.text = "abcd", .nPosMode = 7, .dx = c.dx, .dy = c.dy, .bKeepOnScreen = 1,
                                  .bFixed = 1});
    EXPECT_EQ(DrawnAt(window), std::make_pair(c.x, c.y)) << c.dx << "," << c.dy;
  }
}

TEST_F(MessageWindowTest, AScreenPlacedWindowMovesWithTheStageUnlessFixed) {
  cMessageWindow drifting = Make({.text = "a", .nPosMode = 7, .nColumn = 2, .nRow = 3});
  cMessageWindow fixed = Make({.text = "a", .nPosMode = 7, .nColumn = 2, .nRow = 3, .bFixed = 1});
  EXPECT_EQ(DrawnAt(drifting), std::make_pair(64, 96));
  EXPECT_EQ(DrawnAt(fixed), std::make_pair(64, 96));
  stage.m_ScrollX.m_dPos += 10.7;
  stage.m_ScrollY.m_dPos += 5;
  EXPECT_EQ(DrawnAt(drifting), std::make_pair(54, 91));
  EXPECT_EQ(DrawnAt(fixed), std::make_pair(64, 96));
}

TEST_F(MessageWindowTest, TheOpeningBoxGrowsForNineFramesBeforeTheText) {
  cMessageWindow window = Make({.text = "abcd", .nDisplayMode = 0, .bNoOpening = 0});
  for (int frame = 1; frame <= 9; ++frame) {
    draw.m_vCalls.clear();
    EXPECT_EQ(window.UpdateAndDraw(draw, kBackBuffer, 0), 0);
    EXPECT_TRUE(draw.m_vCalls.empty());
  }
  ASSERT_EQ(text.m_vBoxes.size(), 9u);
  // Frame 5: half the 34 x 18 window, centred on it (303, 231).
  EXPECT_EQ(text.m_vBoxes[4], (std::vector<int>{311, 235, 17, 9}));  // 320 - 8.5, 240 - 4.5, truncated
  EXPECT_EQ(DrawnAt(window), std::make_pair(303, 231));
}

TEST_F(MessageWindowTest, ARefreshingWindowShowsTheVariableAnewAndResizesItsSurface) {
  cSaveData saved = g_SaveData;
  g_SaveData.m_vVariables.assign(COMMON_VARIABLE_COUNT, 0);
  g_SaveData.m_vVariables[3] = 7;
  cMessageWindow window = Make({.text = "#3C.", .bExpand = 1, .bRefresh = 1, .nInterval = 2});
  EXPECT_EQ(window.m_strText, "7");
  g_SaveData.m_vVariables[3] = 1234;
  stage.m_nFrameCount = 1;  // not a multiple of the interval
  window.UpdateAndDraw(draw, kBackBuffer, 0);
  EXPECT_EQ(window.m_strText, "7");
  stage.m_nFrameCount = 2;
  window.UpdateAndDraw(draw, kBackBuffer, 0);
  EXPECT_EQ(window.m_strText, "1234");
  EXPECT_EQ(window.m_nWidth, 34);
  EXPECT_EQ(text.m_vReleased, std::vector<int>{1});
  ASSERT_EQ(text.m_vCreated.size(), 2u);
  EXPECT_EQ(text.m_vCreated[1], std::make_pair(34, 18));
  EXPECT_EQ(text.m_vTexts, (std::vector<std::string>{"7", "1234"}));
  g_SaveData = saved;
}

TEST_F(MessageWindowTest, AWindowByAGoneObjectEndsAndReleasesItsSurface) {
  cMessageWindow window(text);
  window.Setup(MESSAGE_TEXT, "a", 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 77, 1, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(window.UpdateAndDraw(draw, kBackBuffer, 0), 1);
  EXPECT_EQ(text.m_vReleased, std::vector<int>{1});
}

TEST_F(MessageWindowTest, AScreenFixedPictureKeepsItsFirstPlace) {
  cPicture follows, fixed;
  follows.Setup(1, 400.9, 420, 50, 40, 0, 0, 100, 1, 0, 0, 0, 0);
  fixed.Setup(1, 400.9, 420, 50, 40, 1, 0, 100, 1, 0, 0, 0, 0);
  const sSurface image{SURFACES_IMAGE, 70};
  stage.m_ScrollX.m_dPos = 320;
  stage.m_ScrollY.m_dPos = 320;
  for (cPicture* picture : {&follows, &fixed}) EXPECT_EQ(picture->Draw(draw, kBackBuffer, image, 0), 0);
  stage.m_ScrollX.m_dPos = 330;
  for (cPicture* picture : {&follows, &fixed}) EXPECT_EQ(picture->Draw(draw, kBackBuffer, image, 0), 0);
  ASSERT_EQ(draw.m_vCalls.size(), 4u);
  EXPECT_EQ(std::make_pair(draw.m_vCalls[0].x, draw.m_vCalls[0].y), std::make_pair(80, 100));
  EXPECT_EQ(std::make_pair(draw.m_vCalls[2].x, draw.m_vCalls[2].y), std::make_pair(70, 100));
  EXPECT_EQ(std::make_pair(draw.m_vCalls[3].x, draw.m_vCalls[3].y), std::make_pair(80, 100));
  EXPECT_EQ(draw.m_vCalls[0].w, 50);
}

TEST_F(MessageWindowTest, ATimedPictureEndsAfterItsTime) {
  cPicture picture;
  picture.Setup(1, 0, 0, 10, 10, 0, 0, 200, 2, 2, 0, 0, 0);
  draw.SetSize({SURFACES_IMAGE, 70}, 5, 5);
  const sSurface image{SURFACES_IMAGE, 70};
  EXPECT_EQ(picture.Draw(draw, kBackBuffer, image, 0), 0);
  EXPECT_EQ(picture.Draw(draw, kBackBuffer, image, 0), 0);
  EXPECT_EQ(picture.Draw(draw, kBackBuffer, image, 0), 1);
  ASSERT_EQ(draw.m_vCalls.size(), 2u);
  EXPECT_EQ(draw.m_vCalls[0].op, "BltStretch");
  EXPECT_EQ(draw.m_vCalls[0].sw, 5);
}

}  // namespace
