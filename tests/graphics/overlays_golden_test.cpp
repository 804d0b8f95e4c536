// Message windows and pictures drawn through the graphics layer on a
// headless device, compared with golden pictures: text windows plain and
// boxed with the game font, a window half-way through its opening, the
// taken item's icon and the system icon popping up; a picture at its size
// and stretched, keyed.
#include <gtest/gtest.h>

#include <list>
#include <string>

#include "game/overlays/message_window.h"
#include "game/overlays/picture.h"
#include "graphics/blit.h"
#include "graphics/dd_draw_target.h"
#include "graphics/font.h"
#include "graphics/message_surfaces.h"
#include "support/graphics_device.h"
#include "support/test_stage.h"
#include "support/text_fonts.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kBackground = 20;
constexpr sSurface Image(int n) { return {SURFACES_IMAGE, n}; }

// A 64 x 48 picture: colour bands around a transparent hole.
void MakePicture(DDSURFACEDATA* surface) {
  ASSERT_TRUE(DDCreateSurface(surface, 64, 48, 1, 0, 0, 0, 0));
  DDClearSurfacePal(surface, 90);
  DDFillRectPal(surface, 0, 0, 64, 12, 150);
  DDFillRectPal(surface, 0, 36, 64, 12, 200);
  DDFillRectPal(surface, 24, 16, 16, 16, 0);  // transparent
  DDFillRectPal(surface, 0, 12, 4, 24, 240);
}

class OverlaysGolden : public testing::TestWithParam<GraphicsMode> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Device.Started());
    if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
    DDFillRectPal(&g_sdBackBuffer, 0, 0, kWidth, kHeight, kBackground);
  }
  void TearDown() override {
    m_Messages.clear();
    DDClearMessageSurfaces();
    for (Font& font : g_Font) font.Destroy();
    g_listFont.clear();
  }
  std::string Name(const char* picture) const { return std::string("overlays/") + picture + "_" + GetParam().name; }

  ScopedGraphicsDevice m_Device{GetParam()};
  TestStage m_Stage;
  cDDDrawTarget m_Target;
  std::list<cMessageWindow> m_Messages;
};

class MessageWindowGolden : public OverlaysGolden {};

TEST_P(MessageWindowGolden, TextBoxesOpeningAndPopUps) {
  REQUIRE_IPA_FONTS();
  DDSURFACEDATA& box = g_SurfaceTable[g_FontData[1].nBoxImage];
  ASSERT_TRUE(DDCreateSurface(&box, 640, 480, 0, 0, 0, 0, 0));
  DDFillRectPal(&box, 0, 0, 640, 480, 60);
  DDCreateFonts(g_Font, g_FontData, 3);
  // Centring in the cells is a font's own switch, which creating the fonts
  // leaves as it was: message text starts at the left of its cells.
  for (Font& font : g_Font) font.bCenter = 0;
  // The item icon sheet and the accessory sheet with the system icon at (0, 48).
  ASSERT_TRUE(DDCreateSurface(&g_SurfaceTable[IMAGE_ITEM_ICONS], 64, 64, 1, 0, 0, 0, 0));
  DDClearSurfacePal(&g_SurfaceTable[IMAGE_ITEM_ICONS], 0);
  DDFillRectPal(&g_SurfaceTable[IMAGE_ITEM_ICONS], 32, 16, 16, 16, 180);
  DDFillRectPal(&g_SurfaceTable[IMAGE_ITEM_ICONS], 36, 20, 8, 8, 0);
  ASSERT_TRUE(DDCreateSurface(&g_SurfaceTable[IMAGE_ACCESSORY], 256, 208, 1, 0, 0, 0, 0));
  DDClearSurfacePal(&g_SurfaceTable[IMAGE_ACCESSORY], 0);
  DDFillRectPal(&g_SurfaceTable[IMAGE_ACCESSORY], 2, 50, 12, 12, 230);

  auto add = [&](int kind, const char* text, int graphicNo, int posMode, int column, int row, int displayMode,
                 int time, int noOpening, int boxed) {
    cMessageWindow& window = m_Messages.emplace_back(m_Target);
    window.Setup(kind, text, 2, graphicNo, 0, posMode, column, row, 0, 0, 0, 1, displayMode, time, 0, 0, noOpening,
                 0, 0, 0, boxed, 0, 0, 0);
  };
  add(MESSAGE_TEXT, "メッセージ窓\nScore 1200", 0, 7, 1, 1, 1, 0, 1, 0);   // plain, screen cell (1, 1)
  add(MESSAGE_TEXT, "枠つきの窓", 0, 7, 1, 4, 1, 0, 1, 1);                 // boxed
  add(MESSAGE_TEXT, "開いていく窓\nその二行目", 0, 0, 0, 0, 0, 0, 0, 0);   // opening at the centre
  add(MESSAGE_GRAPHIC, nullptr, 16, 7, 12, 1, 2, 30, 1, 0);               // the item pop-up (item 16)
  add(MESSAGE_SYSTEM_ICON, nullptr, 0, 7, 14, 1, 2, 30, 1, 0);            // the system icon
  // Five frames: the opening box is half its size, the pop-ups have risen a pixel.
  for (int frame = 0; frame < 5; ++frame) {
    DDFillRectPal(&g_sdBackBuffer, 0, 0, kWidth, kHeight, kBackground);
    for (cMessageWindow& window : m_Messages) EXPECT_EQ(window.UpdateAndDraw(m_Target, kBackBuffer, 0), 0);
  }
  EXPECT_TEXT_GOLDEN(BackBufferPicture(kWidth, kHeight), Name("message_windows"));
  DDReleaseSurface(&box);
}

INSTANTIATE_TEST_SUITE_P(Modes, MessageWindowGolden,
                         testing::Values(GraphicsModeNamed("DD32"), GraphicsModeNamed("D3D32")), GraphicsModeName);

class PictureGolden : public OverlaysGolden {};

TEST_P(PictureGolden, AtItsSizeAndStretchedKeyed) {
  const int kPictureImage = 66;
  MakePicture(&g_SurfaceTable[kPictureImage]);
  // The view 100 pixels into the stage: a stage-placed picture moves with it,
  // a screen-fixed one stays where it was first drawn.
  m_Stage.m_ScrollX.m_dPos = 420;
  m_Stage.m_ScrollY.m_dPos = 340;
  cPicture plain, stretched, timed;
  plain.Setup(1, 420 + 40, 340 + 30, 64, 48, 0, 0, 100, 1, 0, 0, 0, 0);
  stretched.Setup(1, 420 + 160, 340 + 30, 160, 96, 1, 0, 250, 1, 0, 0, 0, 0);
  timed.Setup(1, 420 + 360, 340 + 30, 64, 48, 0, 0, 100, DISPLAY_TIMED, 2, 0, 0, 0);
  for (int frame = 0; frame < 2; ++frame) {
    DDFillRectPal(&g_sdBackBuffer, 0, 0, kWidth, kHeight, kBackground);
    EXPECT_EQ(plain.Draw(m_Target, kBackBuffer, Image(kPictureImage), 0), 0);
    EXPECT_EQ(stretched.Draw(m_Target, kBackBuffer, Image(kPictureImage), 0), 0);
    EXPECT_EQ(timed.Draw(m_Target, kBackBuffer, Image(kPictureImage), 0), 0);
    m_Stage.m_ScrollX.m_dPos += 20;  // the next frame's view
  }
  // The timed picture has run out: its third call draws nothing.
  EXPECT_EQ(timed.Draw(m_Target, kBackBuffer, Image(kPictureImage), 0), 1);
  EXPECT_TRUE(MatchesGolden(BackBufferPicture(kWidth, kHeight), Name("pictures")));
  DDReleaseSurface(&g_SurfaceTable[kPictureImage]);
}

INSTANTIATE_TEST_SUITE_P(Modes, PictureGolden,
                         testing::Values(GraphicsModeNamed("DD8"), GraphicsModeNamed("DD32"),
                                         GraphicsModeNamed("D3D32")),
                         GraphicsModeName);

}  // namespace
