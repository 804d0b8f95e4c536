// The system messages of a new project in framed boxes and the story slot
// list, drawn with the game fonts in every display mode and compared with a
// golden picture per mode.
#include "scenes/front_end/message_box_drawing.h"

#include <gtest/gtest.h>

#include <string>

#include "graphics/blit.h"
#include "graphics/font.h"
#include "graphics/palette_colours.h"
#include "support/graphics_device.h"
#include "support/text_fonts.h"

namespace {

constexpr int kWidth = 640, kHeight = 200;

class MessageBoxes : public testing::TestWithParam<GraphicsMode> {};

TEST_P(MessageBoxes, SystemMessagesAndStorySlotsMatchTheGolden) {
  REQUIRE_IPA_FONTS();
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
  DDSURFACEDATA& box = g_SurfaceTable[g_FontData[1].nBoxImage];
  ASSERT_TRUE(DDCreateSurface(&box, 640, 480, 0, 0, 0, 0, 0));
  DDFillRectPal(&box, 0, 0, 640, 480, 60);
  DDCreateFonts(g_Font, g_FontData, 3);
  DDFillRectPal(&g_sdBackBuffer, 0, 0, kWidth, kHeight, 20);

  DrawMessageBox(20, 20, 19, 3, 1);   // the quit, continue and retry menu with its cursor column
  DrawMessageBox(20, 100, 0, 2, 0);   // the first two messages, as wide as the longest
  DrawMessageBox(20, 160, 0, 0, 0);   // nothing
  std::vector<cSaveSlot> slots(3);
  slots[1].m_bUsed = 1;
  slots[1].m_stSaved.wYear = 2026;
  slots[1].m_stSaved.wMonth = 12;
  slots[1].m_stSaved.wDay = 10;
  slots[1].m_stSaved.wHour = 9;
  slots[1].m_stSaved.wMinute = 5;
  DrawStorySlots(&g_sdBackBuffer, 300, 20, slots, 0, 4);  // the fourth row is past the list
  DrawStorySlots(&g_sdBackBuffer, 300, 120, slots, 1, 2);

  EXPECT_TEXT_GOLDEN(BackBufferPicture(kWidth, kHeight), std::string("fonts/message_boxes_") + GetParam().name);
  for (Font& font : g_Font) font.Destroy();
  g_listFont.clear();
  DDReleaseSurface(&box);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, MessageBoxes, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

}  // namespace
