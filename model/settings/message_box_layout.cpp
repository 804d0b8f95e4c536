#include "model/settings/message_box_layout.h"

#include <algorithm>

#include "base/checked_access.h"
#include "base/strings.h"
#include "model/settings/system_data.h"

int MessageBoxChars(int nFirst, int nCount, int bCursor) {
  int chars = 0;
  for (int i = 0; i < nCount; ++i) {
    chars = std::max(chars, CountChars(CheckedAt(g_SystemData.m_vTexts, nFirst + i).c_str()));
  }
  return bCursor != 0 ? chars + 1 : chars;
}

int CenterMessageBoxX(int x, int nFirst, int nCount, int bCursor) {
  return x - MessageBoxChars(nFirst, nCount, bCursor) * 16 / 2;
}
