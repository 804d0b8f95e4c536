#include "graphics/bitmap_copy.h"

#include <gtest/gtest.h>

#include <string>

#include "support/bitmap_file_builder.h"

namespace {

using platform::DecodedBitmap;

DecodedBitmap Decode(const std::vector<std::uint8_t>& file) {
  DecodedBitmap bitmap;
  std::string error;
  EXPECT_TRUE(platform::DecodeBitmapFile(file, bitmap, error)) << error;
  return bitmap;
}

// Palette numbers 1..7 shown as A..G, 0 as '.'; the picture's rows joined by '/'.
constexpr char kLegend[] = ".ABCDEFG";

std::vector<std::uint32_t> FromLetters(const std::string& rows) {
  std::vector<std::uint32_t> pixels;
  for (char c : rows)
    if (c != '/') pixels.push_back(static_cast<std::uint32_t>(std::string(kLegend).find(c)));
  return pixels;
}

// The demo-like palette: entry i is (i * 30, 255 - i * 30, i) for i < 8, black above.
PaletteBuffer TestPalette() {
  PaletteBuffer palette{};
  for (int i = 0; i < 8; ++i)
    palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i * 30), static_cast<std::uint8_t>(255 - i * 30),
                                            static_cast<std::uint8_t>(i), 1};
  return palette;
}
std::vector<platform::RGBQUAD> TestTable() {
  std::vector<platform::RGBQUAD> table;
  for (const PaletteColour& c : TestPalette()) table.push_back({c.b, c.g, c.r, 0});
  return table;
}

// An 8-bit surface inside a margin that must stay untouched (0xEE).
struct Surface8 {
  Surface8(int w, int h) : memory(static_cast<std::size_t>(w + 2) * (h + 2), 0xEE) {
    pixels = {memory.data() + (w + 2) + 1, w + 2, w, h, 8};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels.bits[y * pixels.pitch + x] = 0;
  }
  std::string Letters() const {
    std::string text;
    for (int y = 0; y < pixels.height; ++y) {
      if (y) text += '/';
      for (int x = 0; x < pixels.width; ++x) text += kLegend[pixels.bits[y * pixels.pitch + x] & 7];
    }
    return text;
  }
  bool MarginUntouched() const {
    int untouched = 0;
    for (std::uint8_t b : memory) untouched += b == 0xEE;
    return untouched == static_cast<int>(memory.size()) - pixels.width * pixels.height;
  }
  std::vector<std::uint8_t> memory;
  SurfacePixels pixels;
};

TEST(MirroredPosition, FlipsEachWholeCellInPlaceAndLeavesAnIncompleteOneOut) {
  const int cases[][3] = {{0, 0}, {31, 0}, {5, 5}};
  for (const auto& c : cases) EXPECT_EQ(MirroredPosition(c[0], 0, 100), c[0]);
  const std::pair<int, int> cell32[] = {{0, 31}, {31, 0}, {32, 63}, {40, 55}, {95, 64}, {96, -1}, {99, -1}};
  for (const auto& [from, to] : cell32) EXPECT_EQ(MirroredPosition(from, 32, 100), to) << from;
}

struct IndexCase {
  const char* name;
  int width, height;
  std::string picture;  // the file's pixels, top-down
  bool topDown;
  MirrorCells cells;
  int surfaceWidth, surfaceHeight;
  std::string expected;
};

const IndexCase kIndexCases[] = {
    {"Plain", 5, 2, "ABCDE/FGABC", false, {}, 5, 2, "ABCDE/FGABC"},
    {"TopDownFileIsNotUpsideDown", 5, 2, "ABCDE/FGABC", true, {}, 5, 2, "ABCDE/FGABC"},
    {"CellsOfTwoLeaveTheLastColumn", 5, 2, "ABCDE/FGABC", false, {2, 0}, 5, 2, "BADC./GFBA."},
    {"CellRowsOfOne", 2, 3, "AB/CD/EF", false, {0, 2}, 2, 3, "CD/AB/.."},
    {"SmallerSurfaceIsNotOverrun", 5, 2, "ABCDE/FGABC", false, {}, 3, 1, "ABC"},
    {"MirroredIntoASmallerSurface", 4, 1, "ABCD", false, {2, 0}, 3, 1, "BAD"},
};

class CopyIndicesTest : public testing::TestWithParam<IndexCase> {};

TEST_P(CopyIndicesTest, StoresPaletteNumbersMirroredByCells) {
  const IndexCase& c = GetParam();
  BitmapFileBuilder file(c.width, c.height, 8);
  file.Colours(TestTable()).Pixels(FromLetters(c.picture));
  if (c.topDown) file.TopDown();
  Surface8 surface(c.surfaceWidth, c.surfaceHeight);
  CopyBitmapIndices(Decode(file.Build()), surface.pixels, c.cells, TestPalette());
  EXPECT_EQ(surface.Letters(), c.expected);
  EXPECT_TRUE(surface.MarginUntouched());
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyIndicesTest, testing::ValuesIn(kIndexCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CopyBitmapIndices, OtherDepthsTakeTheNearestPaletteColour) {
  const PaletteBuffer palette = TestPalette();
  const auto rgb = [&](int i, int nudge) {
    const PaletteColour& c = palette[static_cast<std::size_t>(i)];
    return static_cast<std::uint32_t>(c.r + nudge) << 16 | static_cast<std::uint32_t>(c.g) << 8 | c.b;
  };
  Surface8 surface(4, 1);
  CopyBitmapIndices(Decode(BitmapFileBuilder(4, 1, 24).Pixels({rgb(3, 0), rgb(5, 4), rgb(0, 14), rgb(7, -20)}).Build()),
                    surface.pixels, {}, palette);
  EXPECT_EQ(surface.Letters(), "CE.G");
  // A 4-bit picture reads its own table, not the palette's numbering.
  Surface8 four(2, 1);
  CopyBitmapIndices(Decode(BitmapFileBuilder(2, 1, 4).Colours({{6, 75, 180, 0}, {1, 225, 30, 0}}).Pixels({0, 1}).Build()),
                    four.pixels, {}, palette);
  EXPECT_EQ(four.Letters(), "FA");
}

// 16-bit 565 pixels of a w x 1 surface.
std::vector<std::uint16_t> Convert565(const DecodedBitmap& bitmap, MirrorCells cells, RgbKey key, std::uint32_t transmit) {
  DDCOLORFORMAT format;
  SetColourFormatFromMasks(format, 0xF800, 0x07E0, 0x001F, 16);
  std::vector<std::uint16_t> pixels(static_cast<std::size_t>(bitmap.width), 0xBEEF);
  ConvertBitmapTo16(bitmap, {reinterpret_cast<std::uint8_t*>(pixels.data()), bitmap.width * 2, bitmap.width, 1, 16},
                    cells, format, key, transmit);
  return pixels;
}

TEST(ConvertBitmapTo16, KeyBecomesTransparentAndNoOtherColourDoes) {
  const RgbKey magenta{255, 0, 255};
  const DecodedBitmap bitmap =
      Decode(BitmapFileBuilder(5, 1, 24).Pixels({0xFF00FF, 0xFF03FF, 0x010101, 0x808080, 0xFFFFFF}).Build());
  // Magenta is the key; (255, 3, 255) truncates to the key's value and moves down in blue.
  EXPECT_EQ(Convert565(bitmap, {}, magenta, 0xF81F),
            (std::vector<std::uint16_t>{0xF81F, 0xF81E, 0x0000, 15u << 11 | 31u << 5 | 15u, 0xFFFF}));
  // With black as the transparent value, (1, 1, 1) truncates to 0 and moves up in blue.
  EXPECT_EQ(Convert565(bitmap, {}, RgbKey{}, 0x0000)[2], 0x0001);
  // Cells of 2: the last column keeps what the surface held.
  EXPECT_EQ(Convert565(bitmap, {2, 0}, magenta, 0xF81F),
            (std::vector<std::uint16_t>{0xF81E, 0xF81F, 15u << 11 | 31u << 5 | 15u, 0x0000, 0xBEEF}));
}

TEST(ConvertBitmapTo16, RowsOfPaddedAndUnpaddedWidthsDoNotDrift) {
  for (int width : {100, 101}) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * 3, 0x000000);
    for (int y = 0; y < 3; ++y) pixels[static_cast<std::size_t>(y * width + width - 1)] = 0xFFFFFF;
    const DecodedBitmap bitmap = Decode(BitmapFileBuilder(width, 3, 24).Pixels(pixels).Build());
    DDCOLORFORMAT format;
    SetColourFormatFromMasks(format, 0xF800, 0x07E0, 0x001F, 16);
    std::vector<std::uint16_t> surface(static_cast<std::size_t>(width) * 3);
    ConvertBitmapTo16(bitmap, {reinterpret_cast<std::uint8_t*>(surface.data()), width * 2, width, 3, 16}, {}, format,
                      {255, 0, 255}, 0xF81F);
    for (int y = 0; y < 3; ++y) {
      EXPECT_EQ(surface[static_cast<std::size_t>(y * width + width - 1)], 0xFFFF) << width;
      EXPECT_EQ(surface[static_cast<std::size_t>(y * width + width - 2)], 0x0000) << width;
    }
  }
}

TEST(CopyBitmapThroughGdi, MirrorsWholeCellsWithOneStretchEach) {
  std::vector<platform::RGBQUAD> table(8);
  for (std::uint8_t i = 1; i < 8; ++i) table[i] = {i, 0, 0, 0};
  const DecodedBitmap bitmap = Decode(BitmapFileBuilder(5, 3, 8).Colours(table).Pixels(FromLetters("ABCDE/FGABC/DEFGA")).Build());
  const auto draw = [&](MirrorCells cells) {
    std::vector<std::uint32_t> pixels(15, 0);
    platform::DeviceContextPixels dc{reinterpret_cast<std::uint8_t*>(pixels.data()), 20, 5, 3, 32, 0xFF0000, 0xFF00, 0xFF};
    EXPECT_TRUE(CopyBitmapThroughGdi(bitmap, dc, cells));
    std::string text;
    for (std::size_t i = 0; i < pixels.size(); ++i) text += std::string(i && i % 5 == 0 ? "/" : "") + kLegend[pixels[i] & 7];
    return text;
  };
  EXPECT_EQ(draw({}), "ABCDE/FGABC/DEFGA");
  EXPECT_EQ(draw({2, 0}), "BADC./GFBA./EDGF.");
  EXPECT_EQ(draw({0, 2}), "FGABC/ABCDE/.....");
  EXPECT_EQ(draw({2, 2}), "GFBA./BADC./.....");
}

TEST(ColourFormat, MasksGiveShiftsAndMaximaWhateverTheRecordHeld) {
  DDCOLORFORMAT format{1, 2, 3, 24, 4, 5, 6, 255};
  SetColourFormatFromMasks(format, 0xF800, 0x07E0, 0x001F, 16);
  EXPECT_EQ((std::array{format.nShiftR, format.nShiftG, format.nShiftB, format.nShiftA}), (std::array{11, 5, 0, 24}));
  EXPECT_EQ((std::array{format.nMaxR, format.nMaxG, format.nMaxB, format.nMaxA}), (std::array{31, 63, 31, 255}));
  SetColourFormatFromMasks(format, 0x7C00, 0x03E0, 0x001F, 16);
  EXPECT_EQ((std::array{format.nShiftR, format.nMaxG}), (std::array{10, 31}));
  SetColourFormatFromMasks(format, 0, 0xFF00, 0xFF, 32);
  EXPECT_EQ((std::array{format.nShiftR, format.nMaxR}), (std::array{32, 0}));
}

TEST(BuildPaletteNumberMap, GivesTheFirstMatchingNumberAndZeroForOtherColours) {
  DDCOLORFORMAT format;
  SetColourFormatFromMasks(format, 0xF800, 0x07E0, 0x001F, 16);
  PaletteBuffer palette;  // channel values, as DirectDraw keeps them at 16 bits
  palette.fill({31, 63, 31, 1});
  palette[3] = {31, 0, 0, 1};
  palette[5] = {31, 0, 0, 1};  // same colour again: 3 wins
  palette[7] = {0, 63, 31, 1};
  palette[0] = {1, 1, 1, 2};
  // 3 pixels a row, rows 8 bytes apart: the map's rows are 4 bytes.
  std::vector<std::uint16_t> pixels = {0xF800, 0x07FF, 0x1234, 0xAAAA, 0xFFFF, 0xF800, 0x0821, 0xAAAA};
  const std::vector<std::uint8_t> map =
      BuildPaletteNumberMap({reinterpret_cast<std::uint8_t*>(pixels.data()), 8, 3, 2, 16}, palette, format);
  EXPECT_EQ(map, (std::vector<std::uint8_t>{3, 7, 0, 0, 1, 3, 0, 0}));

  // 32 bits: the R, G, B bytes.
  PaletteBuffer eight{};
  eight[9] = {0x12, 0x34, 0x56, 1};
  std::vector<std::uint32_t> wide = {0xFF123456, 0x00123457};
  EXPECT_EQ(BuildPaletteNumberMap({reinterpret_cast<std::uint8_t*>(wide.data()), 8, 2, 1, 32}, eight, format),
            (std::vector<std::uint8_t>{9, 0}));
}

}  // namespace
