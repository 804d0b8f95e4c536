#include "platform/gdi_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "support/text_fonts.h"

namespace {

using namespace platform;

struct Depth {
  const char* name;
  int bits;
  std::uint32_t red, green, blue;
  COLORREF color;
  std::uint32_t expected;  // the pixel value written
};

class TextOutDepth : public testing::TestWithParam<Depth> {};

// The COLORREF is converted as GDI converts it; an 8-bit surface takes the
// palette index. Only glyph pixels change.
TEST_P(TextOutDepth, WritesTheConvertedColourOnGlyphPixelsOnly) {
  REQUIRE_IPA_FONTS();
  const Depth& d = GetParam();
  const int bytes = d.bits / 8;
  std::vector<std::uint8_t> pixels(40 * 16 * bytes, 0);
  DeviceContext dc{{pixels.data(), 40 * bytes, 40, 16, d.bits, d.red, d.green, d.blue}};
  const HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(SelectObject(&dc, font), nullptr);
  SetBkMode(&dc, TRANSPARENT);
  SetTextColor(&dc, d.color);
  ASSERT_TRUE(TextOutA(&dc, 2, 0, "字a", 3));
  std::set<std::uint32_t> values;
  for (int i = 0; i < 40 * 16; ++i) {
    std::uint32_t value = 0;
    for (int b = 0; b < bytes; ++b) value |= static_cast<std::uint32_t>(pixels[i * bytes + b]) << (8 * b);
    values.insert(value);
  }
  EXPECT_EQ(values, (std::set<std::uint32_t>{0, d.expected}));
  EXPECT_EQ(SelectObject(&dc, nullptr), font);
  EXPECT_TRUE(DeleteObject(font));
}

INSTANTIATE_TEST_SUITE_P(
    Depths, TextOutDepth,
    testing::Values(Depth{"PaletteIndex8", 8, 0, 0, 0, PALETTEINDEX(241), 241},
                    Depth{"Rgb565Truncated", 16, 0xF800, 0x07E0, 0x001F, RGB(255, 131, 7), 0xFC00},
                    Depth{"Rgb555Truncated", 16, 0x7C00, 0x03E0, 0x001F, RGB(255, 131, 7), 0x7E00},
                    Depth{"Xrgb8888", 32, 0xFF0000, 0xFF00, 0xFF, RGB(255, 131, 7), 0xFF8307}),
    [](const auto& info) { return std::string(info.param.name); });

// TextOutA draws what the text engine draws, so the two back ends agree.
TEST(GdiText, DrawsTheTextEngineGlyphs) {
  REQUIRE_IPA_FONTS();
  std::vector<std::uint8_t> gdi(64 * 16, 0);
  std::vector<std::uint8_t> engine(64 * 16, 0);
  DeviceContext dc{{gdi.data(), 64, 64, 16, 8}};
  const HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
  SelectObject(&dc, font);
  SetTextColor(&dc, PALETTEINDEX(1));
  TextOutA(&dc, 3, 0, "テキストxyz", 11);
  TextFont::Create("ＭＳ Ｐゴシック", 16)->Draw({engine.data(), 64, 16, 64, 1}, 3, 0, "テキストxyz", 1);
  EXPECT_EQ(gdi, engine);
  SelectObject(&dc, nullptr);
  DeleteObject(font);
}

TEST(GdiText, ExtentIsTheAdvancesAndTheCellHeight) {
  REQUIRE_IPA_FONTS();
  DeviceContext dc;
  SIZE size;
  EXPECT_FALSE(GetTextExtentPoint32A(&dc, "A", 1, &size));  // no font selected
  EXPECT_EQ(size.cx, 0);
  const HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
  SelectObject(&dc, font);
  ASSERT_TRUE(GetTextExtentPoint32A(&dc, "あA\x82", 4, &size));  // a lone lead byte is one glyph
  EXPECT_EQ(size.cy, 16);
  ASSERT_TRUE(GetTextExtentPoint32A(&dc, "あA", 3, &size));
  EXPECT_EQ(size.cx, 24);
  EXPECT_EQ(size.cy, 16);
  ASSERT_TRUE(GetTextExtentPoint32A(&dc, "あA", 0, &size));
  EXPECT_EQ(size.cx, 0);
  SelectObject(&dc, nullptr);
  DeleteObject(font);
  EXPECT_FALSE(DeleteObject(nullptr));
}

TEST(GdiText, NothingIsDrawnWithoutAFont) {
  std::vector<std::uint8_t> pixels(16 * 16, 0);
  DeviceContext dc{{pixels.data(), 16, 16, 16, 8}};
  EXPECT_FALSE(TextOutA(&dc, 0, 0, "A", 1));
  EXPECT_EQ(pixels, std::vector<std::uint8_t>(16 * 16, 0));
}

}  // namespace
