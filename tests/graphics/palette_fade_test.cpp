#include "graphics/fade_tint.h"
#include "graphics/palette_image.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

template <class Pixel>
struct Pixels {
  Pixels(int w, int h, Pixel fill) : width(w), height(h), data(static_cast<std::size_t>(w) * h, fill) {}
  SurfacePixels View() {
    return {reinterpret_cast<std::uint8_t*>(data.data()), width * static_cast<int>(sizeof(Pixel)), width, height,
            static_cast<int>(8 * sizeof(Pixel))};
  }
  Pixel& At(int x, int y) { return data[static_cast<std::size_t>(y) * width + x]; }
  int width, height;
  std::vector<Pixel> data;
};

DDCOLORFORMAT Format(std::uint32_t r, std::uint32_t g, std::uint32_t b, int bits) {
  DDCOLORFORMAT format;
  SetColourFormatFromMasks(format, r, g, b, bits);
  return format;
}
const DDCOLORFORMAT k565 = Format(0xF800, 0x07E0, 0x001F, 16);
const DDCOLORFORMAT k1555 = [] {
  DDCOLORFORMAT f = Format(0x7C00, 0x03E0, 0x001F, 16);
  f.nShiftA = 15;
  f.nMaxA = 1;
  return f;
}();
const DDCOLORFORMAT k8888 = Format(0xFF0000, 0xFF00, 0xFF, 32);

TEST(ReadPaletteBlock, ReadsColourKAtColumnKMod16Row8PlusKDiv16ByDepthAndBackEnd) {
  Pixels<std::uint16_t> sixteen(16, 24, 0);
  sixteen.At(0, 8) = 0xFFFF;                        // colour 0: white
  sixteen.At(3, 9) = 16u << 11 | 1u << 5 | 31u;     // colour 19
  PaletteBuffer palette{};
  palette[0].flag = 2;
  ReadPaletteBlock(sixteen.View(), k565, false, palette);
  EXPECT_EQ(palette[0], (PaletteColour{31, 63, 31, 2}));  // DirectDraw keeps channel values
  EXPECT_EQ(palette[19], (PaletteColour{16, 1, 31, 0}));
  ReadPaletteBlock(sixteen.View(), k565, true, palette);
  EXPECT_EQ(palette[0], (PaletteColour{255, 255, 255, 2}));  // Direct3D scales to 0-255
  EXPECT_EQ(palette[19], (PaletteColour{131, 4, 255, 0}));

  Pixels<std::uint32_t> wide(16, 24, 0);
  wide.At(15, 23) = 0x80123456;  // colour 255
  ReadPaletteBlock(wide.View(), k8888, true, palette);
  EXPECT_EQ(palette[255], (PaletteColour{0x12, 0x34, 0x56, 0}));
  ReadPaletteBlock(wide.View(), k8888, false, palette);
  EXPECT_EQ(palette[255], (PaletteColour{0x12, 0x34, 0x56, 0x80}));  // DirectDraw takes the fourth byte as flag
}

TEST(ReadPaletteBlock, APictureTooSmallLeavesTheEntriesItCannotHold) {
  Pixels<std::uint32_t> small(4, 10, 0x00FFFFFF);
  PaletteBuffer palette;
  palette.fill({1, 2, 3, 1});
  ReadPaletteBlock(small.View(), k8888, true, palette);
  EXPECT_EQ(palette[3], (PaletteColour{255, 255, 255, 1}));   // column 3, row 8
  EXPECT_EQ(palette[19], (PaletteColour{255, 255, 255, 1}));  // column 3, row 9
  EXPECT_EQ(palette[4], (PaletteColour{1, 2, 3, 1}));         // column 4: outside
  EXPECT_EQ(palette[32], (PaletteColour{1, 2, 3, 1}));        // row 10: outside
}

TEST(FadePixels, BlendsTheSourceTowardTheColourByLevel) {
  Pixels<std::uint32_t> source(2, 1, 0);
  source.At(0, 0) = 0x00FF8000;
  source.At(1, 0) = 0x00000000;
  struct Case {
    int level;
    std::uint32_t first, second;
  } cases[] = {{256, 0xAAFF8000, 0xAA000000}, {0, 0xAA0000FF, 0xAA0000FF}, {128, 0xAA7F407F, 0xAA00007F},
               {300, 0xAAFF8000, 0xAA000000}, {-5, 0xAA0000FF, 0xAA0000FF}};
  for (const Case& c : cases) {
    Pixels<std::uint32_t> destination(2, 1, 0xAA123456);
    FadePixels(destination.View(), source.View(), c.level, {0, 0, 255}, k8888);
    EXPECT_EQ(destination.At(0, 0), c.first) << c.level;
    EXPECT_EQ(destination.At(1, 0), c.second) << c.level;
  }
}

TEST(FadePixels, SixteenBitsGoThroughEightBitChannelsAndOnlyTheCommonAreaIsDrawn) {
  Pixels<std::uint16_t> source(2, 1, 0);
  source.At(0, 0) = 0xFFFF;
  source.At(1, 0) = 16u << 11;
  Pixels<std::uint16_t> destination(3, 2, 0x1234);
  FadePixels(destination.View(), source.View(), 256, {}, k565);
  EXPECT_EQ(destination.At(0, 0), 0xFFFF);
  EXPECT_EQ(destination.At(1, 0), 15u << 11);  // 16 -> 131 -> 15: the round trip truncates
  EXPECT_EQ(destination.At(2, 0), 0x1234);
  EXPECT_EQ(destination.At(0, 1), 0x1234);
  FadePixels(destination.View(), source.View(), 0, {255, 0, 0}, k565);
  EXPECT_EQ(destination.At(0, 0), 0xF800);
}

TEST(TintPixels, KeepsAlphaOf256OfTheColourInsideTheClippedRectangle) {
  Pixels<std::uint32_t> wide(3, 2, 0x0000FF00);
  TintPixels(wide.View(), 1, -1, 10, 2, 0, {255, 0, 0}, k8888);
  EXPECT_EQ(wide.At(0, 0), 0x0000FF00u);
  EXPECT_EQ(wide.At(1, 0), 0xFFFF0000u);
  EXPECT_EQ(wide.At(2, 0), 0xFFFF0000u);
  EXPECT_EQ(wide.At(1, 1), 0x0000FF00u);
  TintPixels(wide.View(), 0, 1, 1, 1, 256, {255, 0, 0}, k8888);
  EXPECT_EQ(wide.At(0, 1), 0xFF00FF00u);  // keeps its colour, made opaque

  Pixels<std::uint16_t> sixteen(2, 1, 0x7C00);  // red in 1555
  TintPixels(sixteen.View(), 0, 0, 1, 1, 0, {0, 0, 255}, k1555);
  TintPixels(sixteen.View(), 1, 0, 1, 1, 128, {0, 0, 255}, k1555);
  EXPECT_EQ(sixteen.At(0, 0), 0x8000u | 31u);
  EXPECT_EQ(sixteen.At(1, 0), 0x8000u | 15u << 10 | 15u);
}

}  // namespace
