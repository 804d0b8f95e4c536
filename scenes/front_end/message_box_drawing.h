// The framed boxes the scenes draw with the second game font: message
// texts of the settings as the lines of a box (model/settings/
// message_box_layout.h gives its width), and rows of the story slot list
// with each used slot's save time.
#pragma once

#include <vector>

#include "graphics/surface_data.h"
#include "model/user/save_data.h"

// Texts nFirst..nFirst + nCount - 1 of g_SystemData in a box at (x, y) of
// g_sdBackBuffer; with bCursor a free column at the left. nCount 0 draws
// nothing.
void DrawMessageBox(int x, int y, int nFirst, int nCount, int bCursor);

// "YYYY/MM/DD hh:mm" of a used slot at (x, y); nothing for an unused one.
void DrawStamp(const cSaveSlot& slot, DDSURFACEDATA* lpSD, int x, int y);

// Rows nFirst..nFirst + nCount - 1 of the slot list in a box 320 wide,
// rows 16 high with a line in palette 240 between them; each row holds
// the slot number and its stamp.
void DrawStorySlots(DDSURFACEDATA* lpSD, int x, int y, const std::vector<cSaveSlot>& slots, int nFirst, int nCount);
