// The game fonts on a device in every display mode: text in fixed cells,
// centred glyphs, symbol cells, a framed text box, a digit strip and a
// number drawn from it, compared with a golden picture per mode; DirectDraw
// 32 and Direct3D 32 draw the same picture.
#include "graphics/font.h"

#include <gtest/gtest.h>

#include <string>

#include "graphics/blit.h"
#include "graphics/frame_effects.h"
#include "graphics/palette_colours.h"
#include "graphics/surface_lock.h"
#include "support/graphics_device.h"
#include "support/text_fonts.h"

namespace {

constexpr int kWidth = 360, kHeight = 150;
constexpr int kBoxImage = 45, kSymbolImage = 50;

// A box picture of palette 60 and a symbol strip whose cell c is a square
// of palette 100 + c inside a transparent margin.
void MakeBoxAndSymbols() {
  if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
  DDSURFACEDATA& box = g_SurfaceTable[kBoxImage];
  ASSERT_TRUE(DDCreateSurface(&box, 200, 100, 0, 0, 0, 0, 0));
  DDFillRectPal(&box, 0, 0, 200, 100, 60);
  DDSURFACEDATA& symbols = g_SurfaceTable[kSymbolImage];
  ASSERT_TRUE(DDCreateSurface(&symbols, 26 * 32, 32, 1, 0, 0, 0, 0));
  DDFillRectPal(&symbols, 0, 0, 26 * 32, 32, 0);
  for (int c = 0; c < 26; ++c) DDFillRectPal(&symbols, 10 * c + 2, 2, 6, 6, 100 + c);
}

GoldenImage DrawFonts(const GraphicsMode& mode) {
  ScopedGraphicsDevice device(mode);
  EXPECT_TRUE(device.Started());
  MakeBoxAndSymbols();
  DDFillRectPal(&g_sdBackBuffer, 0, 0, kWidth, kHeight, 20);
  DDCreateFonts(g_Font, g_FontData, 3);
  // The fonts are globals: what this picture sets is put back for later tests.
  const auto symbolBefore = g_Font[1].bSymbol;
  const auto centerBefore = g_Font[1].bCenter;
  g_Font[1].bSymbol = 0;
  g_Font[1].bCenter = 1;
  DDCreateDigitSurfaces(g_DigitSurface, g_DigitImage, 3, g_Font, g_FontData);
  DDSURFACEDATA* frame = &g_sdBackBuffer;
  g_Font[0].DrawText(frame, 4, 4, "FPS 60 abc ｶﾅ", 0);
  g_Font[1].DrawText(frame, 4, 16, "ステージ1 Score\nLife 3 あ\x81\x40い", 0);
  g_Font[1].PrintfBox(frame, 200, 20, 0, 0, "%s %d", "残り", 42);
  g_Font[1].DrawTextBox(frame, 200, 50, 0, 0, "ＯＫ", 8);
  g_Font[2].DrawText(frame, 4, 52, "タイトル abz", 0);
  g_Font[2].DrawText(frame, 4, 86, "ab", 1);
  DDBlt(frame, 4, 122, 160, 16, &g_DigitSurface[1], 0, 0, 1);
  DDDrawNumber(frame, 180, 122, 16, 16, &g_DigitSurface[1], 0, 0, 1, 2026, 6, 0);
  GoldenImage picture = BackBufferPicture(kWidth, kHeight);
  g_Font[1].bSymbol = symbolBefore;
  g_Font[1].bCenter = centerBefore;
  for (Font& font : g_Font) font.Destroy();
  g_listFont.clear();
  for (DDSURFACEDATA& surface : g_DigitSurface) DDReleaseSurface(&surface);
  for (DDSURFACEDATA& surface : g_SurfaceTable) DDReleaseSurface(&surface);
  return picture;
}

class FontGolden : public testing::TestWithParam<GraphicsMode> {};

TEST_P(FontGolden, TextBoxesSymbolsAndDigitsMatchTheGolden) {
  REQUIRE_IPA_FONTS();
  EXPECT_TEXT_GOLDEN(DrawFonts(GetParam()), std::string("fonts/device_") + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, FontGolden, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

TEST(FontAcrossBackEnds, DirectDraw32AndDirect3D32DrawTheSameText) {
  REQUIRE_IPA_FONTS();
  ASSERT_EQ(std::string(kGraphicsModes[3].name), "DD32");
  ASSERT_EQ(std::string(kGraphicsModes[6].name), "D3D32");
  EXPECT_TRUE(DrawFonts(kGraphicsModes[3]) == DrawFonts(kGraphicsModes[6]));
}

// Fonts are numbered and listed in creation order; destroying twice is
// harmless; a text box with a zero width measures its text.
TEST(FontLifecycle, FontsAreNumberedListedAndDestroyedOnce) {
  REQUIRE_IPA_FONTS();
  ScopedGraphicsDevice device(kGraphicsModes[3]);
  ASSERT_TRUE(device.Started());
  DDCreateFonts(g_Font, g_FontData, 3);
  EXPECT_EQ(g_listFont.size(), 3u);
  EXPECT_EQ(g_Font[2].nId, 2);
  EXPECT_EQ(g_Font[1].MeasureText("abc").cx, 48);
  EXPECT_EQ(g_Font[1].MeasureText("").cy, 16);
  EXPECT_EQ(g_Font[1].MeasureText("a\nbb").cy, 32);
  for (Font& font : g_Font) {
    font.Destroy();
    font.Destroy();
  }
  EXPECT_EQ(g_Font[0].hFont, nullptr);
  g_listFont.clear();
}

}  // namespace

namespace {

int TextPixels(int x, int y, int w, int h) {
  cSurfaceLock lock(&g_sdBackBuffer);
  const std::uint32_t background = lock.GetPixel(x, y);
  int count = 0;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) count += lock.GetPixel(i, j) != background;
  return count;
}

class FontRestore : public testing::TestWithParam<GraphicsMode> {};

// After a lost device and the recovery's Restore, text draws again; a
// missing symbol picture leaves lower-case letters drawn as letters.
TEST_P(FontRestore, TextDrawsAgainAfterRestoreAndLettersStandInForMissingSymbols) {
  REQUIRE_IPA_FONTS();
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
  DDCreateFonts(g_Font, g_FontData, 3);  // no symbol picture loaded
  Font& font = g_Font[1];
  DDFillRectPal(&g_sdBackBuffer, 0, 0, 200, 40, 20);
  font.DrawText(&g_sdBackBuffer, 0, 0, "abc", 0);
  const int drawn = TextPixels(0, 0, 48, 16);
  EXPECT_GT(drawn, 20);
  if (g_lpD3DState) {
    font.lpD3DXFont->OnLostDevice();
    font.lpD3DXSprite->OnLostDevice();
  } else {
    g_lpDD->SimulateLoss();
  }
  font.Restore();
  if (!g_lpD3DState) g_sdBackBuffer.lpDDraw->lpDDS->Restore();
  DDFillRectPal(&g_sdBackBuffer, 0, 0, 200, 40, 20);
  font.DrawText(&g_sdBackBuffer, 0, 0, "abc", 0);
  EXPECT_EQ(TextPixels(0, 0, 48, 16), drawn);
  for (Font& f : g_Font) f.Destroy();
  g_listFont.clear();
}

INSTANTIATE_TEST_SUITE_P(BothBackEnds, FontRestore, testing::Values(kGraphicsModes[3], kGraphicsModes[6]),
                         GraphicsModeName);

}  // namespace
