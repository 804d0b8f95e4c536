#include "scenes/front_end/menu_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/input_state.h"
#include "scenes/front_end/menu_input.h"

namespace {

// Player 1's input, filtered as a front-end frame does, frame by frame.
class MenuInput : public testing::Test {
 protected:
  void SetUp() override {
    m_Saved = g_InputStates;
    g_InputStates.assign(1, cInputState());
    g_InputStates[0].SetRepeat(18, 6);
    g_MenuCursor.Reset();
  }
  void TearDown() override { g_InputStates = m_Saved; }

  // One frame with these raw bits; the bits that pass the filter.
  static cInputState& Frame(int dir, int buttons, int mask) {
    cInputState& input = g_InputStates[0];
    input.wDir = static_cast<std::uint16_t>(dir);
    input.wButton = static_cast<std::uint16_t>(buttons);
    FilterMenuInput(mask);
    return input;
  }

  std::vector<cInputState> m_Saved;
};

// Holding up in a 5-row menu: a move on the press, then from the 18th frame
// every 6th; from row 0 it wraps to row 4.
TEST_F(MenuInput, HeldDirectionRepeatsAfterTheDelayAndTheGridWraps) {
  std::vector<int> moves, rows;
  for (int frame = 0; frame <= 31; ++frame) {
    const int dir = Frame(CURSOR_UP, 0, MENU_ONE_SHOT_BUTTONS).wDir;
    if (!dir) continue;
    g_MenuCursor.MoveGrid(dir, 100, 50, 0, 20, 1, 5);
    moves.push_back(frame);
    rows.push_back(g_MenuCursor.Current()->nRow);
  }
  EXPECT_EQ(moves, (std::vector<int>{0, 18, 24, 30}));
  EXPECT_EQ(rows, (std::vector<int>{4, 3, 2, 1}));
  EXPECT_EQ(g_MenuCursor.Current()->nY, 50 + 20 * 1);
  EXPECT_EQ(g_MenuCursor.Current()->nX, 100);
}

// Decide held passes once, and again only after a frame released.
TEST_F(MenuInput, HeldButtonPassesOncePerPress) {
  const int held[] = {1, 1, 1, 0, 1, 1};
  std::vector<int> passed;
  for (int frame = 0; frame < 6; ++frame) {
    if (Frame(0, held[frame], MENU_ONE_SHOT_BUTTONS).wButton & 1) passed.push_back(frame);
  }
  EXPECT_EQ(passed, (std::vector<int>{0, 4}));
}

// The ranking key (button bit 4) passes every frame under the title's mask,
// once under the world map's.
TEST_F(MenuInput, RankingKeysAreFilteredOnlyWhereTheMaskSaysSo) {
  int title = 0;
  for (int frame = 0; frame < 4; ++frame) title += (Frame(0, 4, MENU_ONE_SHOT_BUTTONS).wButton & 4) != 0;
  EXPECT_EQ(title, 4);
  Frame(0, 0, MENU_ONE_SHOT_BUTTONS_AND_RANKING);
  int map = 0;
  for (int frame = 0; frame < 4; ++frame) {
    map += (Frame(0, 4, MENU_ONE_SHOT_BUTTONS_AND_RANKING).wButton & 4) != 0;
  }
  EXPECT_EQ(map, 1);
}

TEST(MenuCursorStack, PushAndPopKeepOrRestoreTheOuterCursor) {
  cMenuCursor cursor;
  cursor.Reset();
  EXPECT_EQ(cursor.Below(), nullptr);
  *cursor.Current() = CURSORPOS{1, 3, 40, 90};
  cursor.Pop(0);  // a single element: nothing happens
  EXPECT_EQ(*cursor.Current(), (CURSORPOS{1, 3, 40, 90}));

  cursor.Push(0);
  EXPECT_EQ(*cursor.Current(), CURSORPOS{});
  ASSERT_NE(cursor.Below(), nullptr);
  EXPECT_EQ(*cursor.Below(), (CURSORPOS{1, 3, 40, 90}));
  *cursor.Current() = CURSORPOS{0, 2, 5, 6};
  cursor.Pop(1);
  EXPECT_EQ(cursor.Stack().size(), 1u);
  EXPECT_EQ(*cursor.Current(), (CURSORPOS{1, 3, 40, 90}));

  cursor.Push(1);  // a copy of the cursor below
  EXPECT_EQ(*cursor.Current(), (CURSORPOS{1, 3, 40, 90}));
  cursor.Current()->nRow = 7;
  cursor.Pop(2);  // the removed top's values
  EXPECT_EQ(*cursor.Current(), (CURSORPOS{1, 7, 40, 90}));
  cursor.Push(0);
  cursor.Pop(0);  // zeroed
  EXPECT_EQ(*cursor.Current(), CURSORPOS{});

  for (int i = 0; i < 40; ++i) cursor.Push(1);  // positions stay valid as the stack grows
  EXPECT_EQ(cursor.Below() + 1, cursor.Current());
  cursor.Reset();
  EXPECT_EQ(cursor.Stack().size(), 1u);
}

TEST(MenuCursorGrid, MovesWrapsAndPlaces) {
  cMenuCursor cursor;
  cursor.Reset();
  cursor.MoveGrid(CURSOR_LEFT | CURSOR_RIGHT | CURSOR_UP | CURSOR_DOWN, 10, 20, 100, 30, 3, 4);
  EXPECT_EQ(*cursor.Current(), (CURSORPOS{2, 3, 210, 110}));  // left and up win, both wrap
  cursor.MoveGrid(CURSOR_RIGHT | CURSOR_DOWN, 10, 20, 100, 30, 3, 4);
  EXPECT_EQ(*cursor.Current(), (CURSORPOS{0, 0, 10, 20}));
  cursor.MoveGrid(CURSOR_DOWN, 10, 20, 100, 30, -1, 4);  // negative size: nothing
  EXPECT_EQ(*cursor.Current(), (CURSORPOS{0, 0, 10, 20}));
  cursor.MoveGrid(CURSOR_UP, 10, 20, 100, 30, 1, 0);  // no rows: stays on 0
  EXPECT_EQ(cursor.Current()->nRow, 0);
}

struct ListCase {
  const char* name;
  int keys, index, top, visible, count, pageKeys;
  int expectedIndex, expectedTop;
};

class MenuCursorList : public testing::TestWithParam<ListCase> {};

TEST_P(MenuCursorList, MovesWithinTheListAndScrollsIt) {
  const ListCase& c = GetParam();
  cMenuCursor cursor;
  cursor.Reset();
  cursor.Current()->nRow = c.index;
  int top = c.top;
  cursor.MoveList(c.keys, 1, top, 100, 16, 40, c.visible, c.count, c.pageKeys);
  EXPECT_EQ(cursor.Current()->nRow, c.expectedIndex);
  EXPECT_EQ(top, c.expectedTop);
  EXPECT_EQ(cursor.Current()->nY, 100 + 16 * (c.expectedIndex - c.expectedTop));
  EXPECT_EQ(cursor.Current()->nX, 40);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MenuCursorList,
    testing::Values(ListCase{"DownOnTheLastVisibleRowScrolls", CURSOR_DOWN, 9, 0, 10, 99, 0, 10, 1},
                    ListCase{"DownInsideDoesNotScroll", CURSOR_DOWN, 3, 0, 10, 99, 0, 4, 0},
                    ListCase{"UpOnTheFirstVisibleRowScrolls", CURSOR_UP, 5, 5, 10, 99, 0, 4, 4},
                    ListCase{"UpOnTheFirstEntryStays", CURSOR_UP, 0, 0, 10, 99, 0, 0, 0},
                    ListCase{"DownOnTheLastEntryStays", CURSOR_DOWN, 98, 89, 10, 99, 0, 98, 89},
                    ListCase{"PageRightMovesTopAndIndex", CURSOR_RIGHT, 0, 0, 10, 99, 1, 9, 9},
                    ListCase{"PageRightOnTheLastPageGoesToTheEnd", CURSOR_RIGHT, 90, 89, 10, 99, 1, 98, 89},
                    ListCase{"PageRightNearTheEndClampsTheTop", CURSOR_RIGHT, 85, 85, 10, 99, 1, 94, 89},
                    ListCase{"PageLeftMovesBack", CURSOR_LEFT, 20, 18, 10, 99, 1, 11, 9},
                    ListCase{"PageLeftOnTheFirstPageGoesToTheStart", CURSOR_LEFT, 6, 0, 10, 99, 1, 0, 0},
                    ListCase{"PageKeysOffIgnoreLeftAndRight", CURSOR_RIGHT, 6, 0, 10, 99, 0, 6, 0},
                    ListCase{"ShortListKeepsTheTopAtZero", CURSOR_DOWN, 3, 0, 10, 5, 0, 4, 0},
                    ListCase{"ShortListPageRight", CURSOR_RIGHT, 1, 0, 10, 5, 1, 4, 0},
                    ListCase{"EmptyList", CURSOR_DOWN, 0, 0, 10, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MenuCursorList, AHorizontalListMovesTheColumn) {
  cMenuCursor cursor;
  cursor.Reset();
  int top = 0;
  cursor.MoveList(CURSOR_DOWN, 0, top, 200, 50, 300, 4, 10, 0);
  EXPECT_EQ(*cursor.Current(), (CURSORPOS{1, 0, 250, 300}));
}

}  // namespace
