#include "scenes/front_end/menu_cursor.h"

#include <algorithm>

#include "base/checked_access.h"

cMenuCursor g_MenuCursor;

namespace {

// Wraps an index into [0, size); an empty range leaves 0.
int Wrap(int index, int size) {
  if (size <= 0) return 0;
  if (index < 0) return size - 1;
  if (index >= size) return 0;
  return index;
}

}  // namespace

void cMenuCursor::Reset() { m_vStack.assign(1, CURSORPOS{}); }

void cMenuCursor::Push(int nMode) {
  m_vStack.push_back(CURSORPOS{});
  if (nMode == 1 && m_vStack.size() >= 2) m_vStack.back() = m_vStack[m_vStack.size() - 2];
}

void cMenuCursor::Pop(int nMode) {
  if (m_vStack.size() < 2) return;
  const CURSORPOS removed = m_vStack.back();
  m_vStack.pop_back();
  if (nMode == 0) m_vStack.back() = CURSORPOS{};
  else if (nMode == 2) m_vStack.back() = removed;
}

CURSORPOS* cMenuCursor::Current() {
  if (m_vStack.empty()) Reset();
  return &CheckedAt(m_vStack, static_cast<int>(m_vStack.size()) - 1);
}

CURSORPOS* cMenuCursor::Below() {
  if (m_vStack.size() < 2) return nullptr;
  return &CheckedAt(m_vStack, static_cast<int>(m_vStack.size()) - 2);
}

void cMenuCursor::MoveGrid(int nKeys, int x0, int y0, int dx, int dy, int nColumns, int nRows) {
  if (nColumns < 0 || nRows < 0) return;
  CURSORPOS& c = *Current();
  if (nKeys & CURSOR_LEFT) --c.nCol;
  else if (nKeys & CURSOR_RIGHT) ++c.nCol;
  if (nKeys & CURSOR_UP) --c.nRow;
  else if (nKeys & CURSOR_DOWN) ++c.nRow;
  c.nRow = Wrap(c.nRow, nRows);
  c.nCol = Wrap(c.nCol, nColumns);
  c.nX = x0 + dx * c.nCol;
  c.nY = y0 + dy * c.nRow;
}

void cMenuCursor::MoveList(int nKeys, int bVertical, int& nTop, int nPos0, int nPitch, int nFixed,
                           int nVisible, int nCount, int bPageKeys) {
  CURSORPOS& c = *Current();
  int& index = bVertical ? c.nRow : c.nCol;
  if (nKeys & CURSOR_UP) {
    if (index - nTop < 1) --nTop;
    --index;
  } else if (nKeys & CURSOR_DOWN) {
    if (index - nTop >= nVisible - 1) ++nTop;
    ++index;
  }
  if (bPageKeys) {
    const int lastPageStart = nCount - nVisible;
    if (nKeys & CURSOR_RIGHT) {
      if (nTop == lastPageStart) {
        index = nCount - 1;
      } else {
        nTop += nVisible - 1;
        index += nVisible - 1;
      }
    } else if (nKeys & CURSOR_LEFT) {
      if (nTop != 0) {
        nTop -= nVisible - 1;
        index -= nVisible - 1;
      } else {
        index = 0;
      }
    }
  }
  if (index > nCount - 1) index = nCount - 1;
  if (index < 0) index = 0;
  if (nTop < 0) nTop = 0;
  else if (nTop > std::max(nCount - nVisible, 0)) nTop = std::max(nCount - nVisible, 0);
  const int along = nPos0 + nPitch * (index - nTop);
  if (bVertical) {
    c.nY = along;
    c.nX = nFixed;
  } else {
    c.nX = along;
    c.nY = nFixed;
  }
}
