#include "scenes/front_end/message_box_drawing.h"

#include <string>

#include "base/checked_access.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "model/settings/message_box_layout.h"
#include "model/settings/system_data.h"

void DrawMessageBox(int x, int y, int nFirst, int nCount, int bCursor) {
  if (nCount <= 0) return;
  std::string text;
  for (int i = 0; i < nCount; ++i) {
    if (bCursor) text += ' ';
    text += CheckedAt(g_SystemData.m_vTexts, nFirst + i);
    text += '\n';
  }
  const int w = MessageBoxChars(nFirst, nCount, bCursor);
  g_Font[1].PrintfBox(&g_sdBackBuffer, x, y, w * 16, nCount * 16, "%s", text.c_str());
}

void DrawStamp(const cSaveSlot& slot, DDSURFACEDATA* lpSD, int x, int y) {
  if (!slot.m_bUsed) return;
  const platform::SYSTEMTIME& t = slot.m_stSaved;
  g_Font[1].Printf(lpSD, x, y, "%04d/%02d/%02d %02d:%02d\n", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
}

void DrawStorySlots(DDSURFACEDATA* lpSD, int x, int y, const std::vector<cSaveSlot>& slots, int nFirst, int nCount) {
  g_Font[1].DrawBox(lpSD, x, y, 320, nCount * 16);
  for (int i = 0; i < nCount; ++i) {
    const int rowY = y + 16 * i;
    if (i != nCount - 1) DDFillRectPal(lpSD, x, rowY + 15, 320, 1, 240);
    const int slot = nFirst + i;
    if (slot < 0 || slot >= static_cast<int>(slots.size())) break;
    g_Font[1].Printf(lpSD, x + 16, rowY, "%d", slot + 1);
    DrawStamp(slots[static_cast<std::size_t>(slot)], lpSD, x + 64, rowY);
  }
}
