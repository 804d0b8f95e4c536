#include "platform/bitmap_file.h"

#include "platform/files.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/bitmap_file_builder.h"
#include "support/temp_folder.h"

namespace {

using platform::DecodedBitmap;
using platform::RGBQUAD;

// Colours of the pictures below, by letter.
struct Named {
  char letter;
  std::uint32_t rgb;
};
constexpr Named kLegend[] = {{'K', 0x000000}, {'R', 0xFF0000}, {'G', 0x00FF00}, {'B', 0x0000FF},
                             {'W', 0xFFFFFF}, {'Y', 0xFFFF00}};

RGBQUAD Quad(std::uint32_t rgb) {
  return {static_cast<std::uint8_t>(rgb), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb >> 16), 0};
}
// Table entries 0..5 are the legend's colours in order: K R G B W Y.
std::vector<RGBQUAD> LegendTable() {
  std::vector<RGBQUAD> table;
  for (const Named& n : kLegend) table.push_back(Quad(n.rgb));
  return table;
}

// The picture as rows of legend letters; '?' for any other colour.
std::vector<std::string> Picture(const DecodedBitmap& bitmap) {
  std::vector<std::string> rows;
  for (int y = 0; y < bitmap.height; ++y) {
    std::string row;
    for (int x = 0; x < bitmap.width; ++x) {
      char letter = '?';
      for (const Named& n : kLegend)
        if (n.rgb == bitmap.ColourAt(x, y)) letter = n.letter;
      row += letter;
    }
    rows.push_back(row);
  }
  return rows;
}

struct DecodeCase {
  const char* name;
  std::function<std::vector<std::uint8_t>()> file;
  int bitsPerPixel;
  std::vector<std::string> picture;
};

const std::vector<std::uint32_t> kIndices3x2 = {1, 2, 3, 4, 5, 0};  // RGB / WYK

const DecodeCase kDecodeCases[] = {
    {"Info8BottomUp", [] { return BitmapFileBuilder(3, 2, 8).Colours(LegendTable()).Pixels(kIndices3x2).Build(); },
     8, {"RGB", "WYK"}},
    {"Info8TopDown",
     [] { return BitmapFileBuilder(3, 2, 8).TopDown().Colours(LegendTable()).Pixels(kIndices3x2).Build(); }, 8,
     {"RGB", "WYK"}},
    {"Core8", [] { return BitmapFileBuilder(3, 2, 8).HeaderSize(12).Colours(LegendTable()).Pixels(kIndices3x2).Build(); },
     8, {"RGB", "WYK"}},
    {"Core24",
     [] {
       return BitmapFileBuilder(2, 2, 24).HeaderSize(12).Pixels({0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00}).Build();
     },
     24, {"RG", "BY"}},
    {"V5Rgb24",
     [] { return BitmapFileBuilder(3, 1, 24).HeaderSize(124).Pixels({0xFFFFFF, 0x000000, 0x0000FF}).Build(); }, 24,
     {"WKB"}},
    {"V4BitFields32WithRedInTheLowByte",
     [] {
       return BitmapFileBuilder(3, 1, 32)
           .HeaderSize(108)
           .BitFields(0x000000FF, 0x0000FF00, 0x00FF0000)
           .Pixels({0xFF0000FF, 0x0000FF00, 0x00FF0000})
           .Build();
     },
     32, {"RGB"}},
    {"Info32RgbIgnoresTheFourthByte",
     [] { return BitmapFileBuilder(2, 1, 32).Pixels({0xAAFF0000, 0x7F00FF00}).Build(); }, 32, {"RG"}},
    {"Info16RgbIs555",
     [] { return BitmapFileBuilder(3, 2, 16).Pixels({0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x7FE0, 0x8000}).Build(); }, 16,
     {"RGB", "WYK"}},
    {"Info16BitFields565",
     [] {
       return BitmapFileBuilder(3, 2, 16).BitFields(0xF800, 0x07E0, 0x001F)
           .Pixels({0xF800, 0x07E0, 0x001F, 0xFFFF, 0xFFE0, 0x0000}).Build();
     },
     16, {"RGB", "WYK"}},
    {"V4BitFields16",
     [] {
       return BitmapFileBuilder(2, 1, 16).HeaderSize(108).BitFields(0xF800, 0x07E0, 0x001F)
           .Pixels({0xF800, 0x001F}).Build();
     },
     16, {"RB"}},
    {"OneBitAcrossAByte",
     [] {
       return BitmapFileBuilder(9, 2, 1).Colours({Quad(0x000000), Quad(0xFFFFFF)})
           .Pixels({1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1}).Build();
     },
     1, {"WKWKWKWKW", "KKKKKKKWW"}},
    {"FourBitShortTableIsCompletedWithBlack",
     [] { return BitmapFileBuilder(3, 1, 4).Colours({Quad(0xFF0000), Quad(0x00FF00)}).Pixels({0, 1, 2}).Build(); }, 4,
     {"RGK"}},
    {"EightBitTableLongerThanAskedKeepsOnlyTheAskedEntries",
     [] { return BitmapFileBuilder(3, 1, 8).Colours(LegendTable(), 2).Pixels({1, 2, 3}).Build(); }, 8, {"RKK"}},
    {"Rle8RunsLiteralsMovesAndLineEnds",
     [] {
       return BitmapFileBuilder(4, 3, 8).Colours(LegendTable())
           .Rle({3, 1, 0, 0,               // bottom row: R R R, end of line
                 0, 3, 2, 3, 4, 0, 0, 0,   // literal G B W (padded), end of line
                 0, 2, 2, 0, 2, 5, 0, 1})  // move 2 right, Y Y, end of picture
           .Build();
     },
     8, {"KKYY", "GBWK", "RRRK"}},
    {"Rle4RunsAndLiterals",
     [] {
       return BitmapFileBuilder(4, 2, 4).Colours(LegendTable())
           .Rle({4, 0x12, 0, 0,     // R G R G, end of line
                 0, 3, 0x34, 0x50,  // literal B W Y
                 0, 1})
           .Build();
     },
     4, {"BWYK", "RGRG"}},
    {"RleRunsPastTheRowEndAreCut",
     [] { return BitmapFileBuilder(2, 2, 8).Colours(LegendTable()).Rle({5, 1, 0, 0, 1, 2, 0, 1}).Build(); }, 8,
     {"GK", "RR"}},
    {"RleMovesOutOfThePictureStopIt",
     [] { return BitmapFileBuilder(2, 1, 8).Colours(LegendTable()).Rle({1, 3, 0, 2, 0, 200, 1, 1}).Build(); }, 8,
     {"BK"}},
    {"RleWithoutEndMarker",
     [] { return BitmapFileBuilder(2, 1, 8).Colours(LegendTable()).Rle({2, 4}).Build(); }, 8, {"WW"}},
};

class DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, GivesThePictureTopDown) {
  const DecodeCase& c = GetParam();
  DecodedBitmap bitmap;
  std::string error;
  ASSERT_TRUE(platform::DecodeBitmapFile(c.file(), bitmap, error)) << error;
  EXPECT_EQ(bitmap.bitsPerPixel, c.bitsPerPixel);
  EXPECT_EQ(Picture(bitmap), c.picture);
  EXPECT_EQ(bitmap.widthBytes, (bitmap.width * bitmap.bitsPerPixel + 31) / 32 * 4);
  EXPECT_EQ(bitmap.bits.size(), static_cast<std::size_t>(bitmap.widthBytes) * bitmap.height);
  if (bitmap.bitsPerPixel <= 8) {
    EXPECT_EQ(bitmap.colours.size(), std::size_t{1} << bitmap.bitsPerPixel);
  }
}

// Cut anywhere, a file is refused: every size, offset and count is checked
// against the bytes there are (the sanitizers catch a read past the copy).
TEST_P(DecodeTest, RefusesEveryShorterPrefix) {
  const std::vector<std::uint8_t> whole = GetParam().file();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const std::vector<std::uint8_t> prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    DecodedBitmap bitmap;
    std::string error;
    EXPECT_FALSE(platform::DecodeBitmapFile(prefix, bitmap, error)) << size << " of " << whole.size();
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(bitmap.bits.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Variants, DecodeTest, testing::ValuesIn(kDecodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeBitmap, StoresRowsBottomUpFourByteAlignedLikeADibSection) {
  // 24 bits: 100 pixels make rows of 300 bytes, 101 pixels rows of 304.
  for (int width : {100, 101}) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * 2, 0x0000FF);
    pixels[static_cast<std::size_t>(width) - 1] = 0xFF0000;  // last pixel of the top row
    DecodedBitmap bitmap;
    std::string error;
    ASSERT_TRUE(platform::DecodeBitmapFile(BitmapFileBuilder(width, 2, 24).Pixels(pixels).Build(), bitmap, error));
    EXPECT_EQ(bitmap.widthBytes, width == 100 ? 300 : 304);
    EXPECT_EQ(bitmap.ColourAt(width - 1, 0), 0xFF0000u);
    EXPECT_EQ(bitmap.ColourAt(width - 1, 1), 0x0000FFu);
    // The top row is stored last.
    EXPECT_EQ(bitmap.bits[static_cast<std::size_t>(bitmap.widthBytes) + 3 * (width - 1) + 2], 0xFF);
  }
}

TEST(DecodeBitmap, Widens16BitChannelsByRepeatingTheirBits) {
  DecodedBitmap bitmap;
  std::string error;
  ASSERT_TRUE(platform::DecodeBitmapFile(
      BitmapFileBuilder(1, 1, 16).BitFields(0xF800, 0x07E0, 0x001F).Pixels({16u << 11 | 33u << 5 | 1u}).Build(),
      bitmap, error));
  // 16 of 31 -> 0x84, 33 of 63 -> 0x86, 1 of 31 -> 0x08.
  EXPECT_EQ(bitmap.ColourAt(0, 0), 0x848608u);
}

TEST(DecodeBitmap, AcceptsTheLargestSide) {
  DecodedBitmap bitmap;
  std::string error;
  EXPECT_TRUE(platform::DecodeBitmapFile(BitmapFileBuilder(32768, 1, 1).Colours(LegendTable(), 2).Build(), bitmap,
                                         error))
      << error;
}

struct RefusalCase {
  const char* name;
  const char* reason;  // a part of the error text
  std::function<std::vector<std::uint8_t>()> file;
};

std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> file, std::size_t at, std::vector<std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
  return file;
}
std::vector<std::uint8_t> Plain8() { return BitmapFileBuilder(3, 2, 8).Colours(LegendTable()).Pixels(kIndices3x2).Build(); }

const RefusalCase kRefusalCases[] = {
    {"NoSignature", "signature", [] { return Patched(Plain8(), 0, {'X'}); }},
    {"HeaderSize64", "header size", [] { return Patched(Plain8(), 14, {64}); }},
    {"HeaderSize56", "header size", [] { return Patched(Plain8(), 14, {56}); }},
    {"WidthZero", "out of range", [] { return BitmapFileBuilder(0, 1, 24).Build(); }},
    {"WidthNegative", "out of range", [] { return BitmapFileBuilder(-4, 1, 24).Build(); }},
    {"WidthAbove32768", "out of range", [] { return BitmapFileBuilder(32769, 1, 1).Build(); }},
    {"HeightZero", "out of range", [] { return BitmapFileBuilder(1, 0, 24).Build(); }},
    {"TopDownHeightAbove32768", "out of range", [] { return BitmapFileBuilder(1, 32769, 1).TopDown().Build(); }},
    {"SmallestHeight", "out of range", [] { return Patched(BitmapFileBuilder(1, 1, 24).Build(), 22, {0, 0, 0, 0x80}); }},
    {"TwoPlanes", "planes", [] { return BitmapFileBuilder(1, 1, 24).Planes(2).Build(); }},
    {"TwoBitsPerPixel", "bits per pixel", [] { return BitmapFileBuilder(4, 1, 2).Colours(LegendTable(), 4).Build(); }},
    {"JpegCompression", "compression", [] { return BitmapFileBuilder(1, 1, 24).Compression(4).Build(); }},
    {"PngCompression", "compression", [] { return BitmapFileBuilder(1, 1, 24).Compression(5).Build(); }},
    {"Rle8AtFourBits", "does not match", [] { return BitmapFileBuilder(2, 1, 4).Colours(LegendTable()).Compression(1).Build(); }},
    {"Rle4AtEightBits", "does not match", [] { return BitmapFileBuilder(2, 1, 8).Colours(LegendTable()).Compression(2).Build(); }},
    {"TopDownRle", "top-down", [] { return BitmapFileBuilder(2, 1, 8).TopDown().Colours(LegendTable()).Rle({2, 1, 0, 1}).Build(); }},
    {"BitFieldsAt24Bits", "16 or 32", [] { return BitmapFileBuilder(1, 1, 24).BitFields(0xFF0000, 0xFF00, 0xFF).Build(); }},
    {"EmptyMask", "masks", [] { return BitmapFileBuilder(1, 1, 16).BitFields(0xF800, 0, 0x1F).Build(); }},
    {"MaskWithAGap", "masks", [] { return BitmapFileBuilder(1, 1, 16).BitFields(0xF000, 0x0F0F, 0x00F0).Build(); }},
    {"OverlappingMasks", "masks", [] { return BitmapFileBuilder(1, 1, 32).BitFields(0xFF0000, 0xFFFF00, 0xFF).Build(); }},
    {"MaskWiderThanThePixel", "masks", [] { return BitmapFileBuilder(1, 1, 16).BitFields(0x1F0000, 0x07E0, 0x1F).Build(); }},
    {"PixelOffsetPastTheEnd", "outside the file", [] { return Patched(Plain8(), 10, {0xFF, 0xFF, 0, 0}); }},
    {"PixelOffsetInsideTheHeader", "outside the file", [] { return Patched(Plain8(), 10, {20, 0, 0, 0}); }},
    {"PixelDataOneByteShort", "shorter than its pixel data",
     [] {
       std::vector<std::uint8_t> file = Plain8();
       file.pop_back();
       return file;
     }},
    {"RleEndsInsideALiteral", "inside a code",
     [] { return BitmapFileBuilder(4, 1, 8).Colours(LegendTable()).Rle({0, 4, 1, 2, 3}).Build(); }},
    {"RleEndsInsideAMove", "inside a code", [] { return BitmapFileBuilder(4, 1, 8).Colours(LegendTable()).Rle({0, 2, 1}).Build(); }},
    {"RleSizeBeyondTheFile", "compressed pixel data",
     [] {
       std::vector<std::uint8_t> file = BitmapFileBuilder(4, 1, 8).Colours(LegendTable()).Rle({4, 1, 0, 1}).Build();
       return Patched(file, 34, {5});
     }},
};

class RefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, IsALoadErrorWithAReason) {
  DecodedBitmap bitmap;
  bitmap.width = 7;  // a refusal leaves the result empty
  std::string error;
  EXPECT_FALSE(platform::DecodeBitmapFile(GetParam().file(), bitmap, error));
  EXPECT_FALSE(error.empty());
  EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
  EXPECT_EQ(bitmap.width, 0);
  EXPECT_TRUE(bitmap.bits.empty());
}

INSTANTIATE_TEST_SUITE_P(DamagedOrUnsupported, RefusalTest, testing::ValuesIn(kRefusalCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LoadBitmapFile, ReadsAProgramPathAndRefusesAMissingFile) {
  TempFolder folder;
  ScopedCurrentFolder enter{folder.path()};
  std::filesystem::create_directories(folder.path() / "bmp");
  const std::vector<std::uint8_t> file = Plain8();
  ASSERT_TRUE(platform::WriteFileAtomic(folder.path() / "bmp" / "Block.bmp", file));
  DecodedBitmap bitmap;
  std::string error;
  ASSERT_TRUE(platform::LoadBitmapFile("BMP\\block.BMP", bitmap, error)) << error;
  EXPECT_EQ(Picture(bitmap), (std::vector<std::string>{"RGB", "WYK"}));
  EXPECT_FALSE(platform::LoadBitmapFile("bmp\\Missing.bmp", bitmap, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
