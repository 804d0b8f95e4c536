// The menu cursors of the front end and the in-stage menus: one global stack,
// g_MenuCursor, whose top is the cursor every movement works on. A scene
// pushes a cursor when it opens a sub-menu and pops it (mode 1) when it
// closes it, so the outer menu's cursor comes back as it was.
//
// The stack is held by index: Current() and Below() are computed from it
// and stay valid across every operation that changes its size.
#pragma once

#include <cstdint>
#include <vector>

struct CURSORPOS {
  std::int32_t nCol = 0;  // changed by left and right
  std::int32_t nRow = 0;  // changed by up and down
  std::int32_t nX = 0;    // where the cursor picture is drawn
  std::int32_t nY = 0;
  bool operator==(const CURSORPOS&) const = default;
};

// Direction bits of wDir.
constexpr int CURSOR_LEFT = 1, CURSOR_RIGHT = 2, CURSOR_UP = 4, CURSOR_DOWN = 8;

class cMenuCursor {
 public:
  // Exactly one element, all zeros.
  void Reset();
  // A new all-zero top; mode 1 copies the cursor below it (with at least
  // two elements).
  void Push(int nMode);
  // With two elements or more: removes the top. Mode 0 zeroes the new top,
  // mode 2 gives it the removed top's values, other modes leave it.
  void Pop(int nMode);

  // Moves the current cursor on a wrapping grid of columns x rows and sets
  // its position to (x0 + dx * column, y0 + dy * row). Negative sizes do
  // nothing. Left wins over right, up over down.
  void MoveGrid(int nKeys, int x0, int y0, int dx, int dy, int nColumns, int nRows);
  // Moves the current cursor in a list of `count` entries of which `visible`
  // show from `top` (held by the caller); the row (vertical) or column
  // index moves, clamped, never wrapping; page keys (right and left) move a
  // page of visible - 1. Position: pos0 + pitch * (index - top) along the
  // list, `fixed` across it.
  void MoveList(int nKeys, int bVertical, int& nTop, int nPos0, int nPitch, int nFixed, int nVisible,
                int nCount, int bPageKeys);

  // The top of the stack (element 0 until the first Reset).
  CURSORPOS* Current();
  // The element under the top, or null with one element.
  CURSORPOS* Below();
  const std::vector<CURSORPOS>& Stack() const { return m_vStack; }

 private:
  std::vector<CURSORPOS> m_vStack;
};

extern cMenuCursor g_MenuCursor;
