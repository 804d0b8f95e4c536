#include "platform/text_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/font_faces.h"
#include "platform/text.h"
#include "support/text_fonts.h"

namespace {

using platform::TextFont;

struct DecodeCase {
  const char* name;
  std::string bytes;
  char32_t codePoint;
  std::size_t length;
};

class DecodeCp932Char : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeCp932Char, GivesTheCharacterAndItsLength) {
  std::size_t length = 0;
  EXPECT_EQ(platform::DecodeCp932Char(GetParam().bytes, &length), GetParam().codePoint);
  EXPECT_EQ(length, GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeCp932Char,
    testing::Values(DecodeCase{"Ascii", "Ab", U'A', 1}, DecodeCase{"Hiragana", "あい", U'あ', 2},
                    DecodeCase{"IdeographicSpace", "\x81\x40", 0x3000, 2},
                    DecodeCase{"HalfWidthKatakana", "\xB1", 0xFF71, 1},
                    DecodeCase{"WaveDashAsWindows", "\x81\x60", 0xFF5E, 2},
                    DecodeCase{"LeadByteAtTheEnd", "\x82", 0xFFFD, 1},
                    DecodeCase{"LeadByteBeforeNoTrail", "\x82 ", 0xFFFD, 1},
                    DecodeCase{"UndefinedPairIsOneCharacter", "\x85\x5C", 0xFFFD, 2}),
    [](const auto& info) { return std::string(info.param.name); });

struct FaceCase {
  const char* name;
  const char* face;  // CP932
  const char* file;
  bool emCell;
};

class ResolveFace : public testing::TestWithParam<FaceCase> {};

// The Windows faces of the font table find their IPA stand-ins.
TEST_P(ResolveFace, MapsTheWindowsFaceToItsStandIn) {
  REQUIRE_IPA_FONTS();
  const platform::ResolvedFace face = platform::ResolveFace(GetParam().face);
  EXPECT_EQ(std::filesystem::canonical(face.file).filename(), GetParam().file);
  EXPECT_EQ(face.emCell, GetParam().emCell);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResolveFace,
    testing::Values(FaceCase{"MsGothic", "ＭＳ ゴシック", "ipag.ttf", true},
                    FaceCase{"MsPGothic", "ＭＳ Ｐゴシック", "ipagp.ttf", true},
                    FaceCase{"MsUiGothic", "MS UI Gothic", "ipagp.ttf", true},
                    FaceCase{"Meiryo", "メイリオ", "ipagp.ttf", false},
                    FaceCase{"HgGothicE", "HGｺﾞｼｯｸE", "ipag.ttf", true},
                    FaceCase{"HgpGothicM", "HGPｺﾞｼｯｸM", "ipagp.ttf", true},
                    FaceCase{"MsMincho", "ＭＳ 明朝", "ipam.ttf", true},
                    FaceCase{"MsPMincho", "ＭＳ Ｐ明朝", "ipamp.ttf", true},
                    FaceCase{"HgsMinchoE", "HGS明朝E", "ipamp.ttf", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Names no installed font has, in the table and out of it, still give a font
// with Japanese glyphs.
TEST(ResolveFace, UnknownNamesGetAJapaneseFont) {
  REQUIRE_IPA_FONTS();
  for (const char* face : {"HG創英角ﾎﾟｯﾌﾟ体", "Sydnie", "Gulim", "", "no such face"}) {
    const auto font = TextFont::Create(face, 16);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->Measure("日本語").cx, 3 * font->PixelsPerEm()) << platform::Cp932ToUtf8(face);
  }
}

struct SizeCase {
  const char* name;
  const char* face;  // CP932
  int height;
  int cellHeight;
  int ppem;
  int ascent;
};

class TextFontSize : public testing::TestWithParam<SizeCase> {};

// A GDI height is a cell height. The MS faces have one-em cells, so their
// stand-ins fill the cell with the em; other faces are sized by their own
// Windows ascent and descent, as GDI sizes them.
TEST_P(TextFontSize, FollowsGdiCellHeight) {
  REQUIRE_IPA_FONTS();
  const auto font = TextFont::Create(GetParam().face, GetParam().height);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->CellHeight(), GetParam().cellHeight);
  EXPECT_EQ(font->PixelsPerEm(), GetParam().ppem);
  EXPECT_EQ(font->Ascent(), GetParam().ascent);
  EXPECT_EQ(font->Measure("").cy, GetParam().cellHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFontSize,
    testing::Values(SizeCase{"MsGothic9", "ＭＳ ゴシック", 9, 9, 9, 8},
                    SizeCase{"MsGothic16", "ＭＳ ゴシック", 16, 16, 16, 14},
                    SizeCase{"MsGothic30", "ＭＳ ゴシック", 30, 30, 30, 26},
                    SizeCase{"MsGothicCharacterHeight", "ＭＳ ゴシック", -16, 16, 16, 14},
                    SizeCase{"IpaGothic9", "IPAGothic", 9, 9, 8, 7},
                    SizeCase{"IpaGothic16", "IPAGothic", 16, 16, 15, 13},
                    SizeCase{"IpaGothic30", "IPAGothic", 30, 30, 28, 25},
                    SizeCase{"IpaGothicCharacterHeight", "IPAGothic", -15, 16, 15, 13}),
    [](const auto& info) { return std::string(info.param.name); });

struct MeasureCase {
  const char* name;
  std::string text;
  int cx;
};

class TextFontMeasure : public testing::TestWithParam<MeasureCase> {};

// Advances of IPAGothic at 16 pixels per em: full-width characters one em,
// half-width ones half; control characters take no room.
TEST_P(TextFontMeasure, SumsTheAdvances) {
  REQUIRE_IPA_FONTS();
  const auto font = TextFont::Create("ＭＳ ゴシック", 16);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->Measure(GetParam().text).cx, GetParam().cx);
  EXPECT_EQ(font->Measure(GetParam().text).cy, 16);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextFontMeasure,
                         testing::Values(MeasureCase{"Empty", "", 0}, MeasureCase{"Latin", "abc", 24},
                                         MeasureCase{"Japanese", "あいう", 48},
                                         MeasureCase{"Mixed", "Aあ1", 32},
                                         MeasureCase{"HalfWidthKatakana", "\xB1\xB2", 16},
                                         MeasureCase{"IdeographicSpace", "\x81\x40", 16},
                                         MeasureCase{"LineFeedTakesNoRoom", "a\nb", 16}),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<std::uint8_t> DrawInto(const TextFont& font, int width, int height, int x, int y,
                                   const std::string& text, int bytesPerPixel = 1, std::uint32_t pixel = 1) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * bytesPerPixel);
  platform::TextTarget target{pixels.data(), width, height, width * bytesPerPixel, bytesPerPixel};
  font.Draw(target, x, y, text, pixel);
  return pixels;
}

int Ink(const std::vector<std::uint8_t>& pixels) {
  int n = 0;
  for (std::uint8_t p : pixels) n += p != 0;
  return n;
}

// Glyphs are monochrome: every pixel is the text value or untouched.
TEST(TextFontDraw, WritesTheValueInEachDepthWithoutFringe) {
  REQUIRE_IPA_FONTS();
  const auto font = TextFont::Create("ＭＳ ゴシック", 16);
  ASSERT_NE(font, nullptr);
  const auto eight = DrawInto(*font, 48, 16, 0, 0, "あA", 1, 0xF1);
  const auto sixteen = DrawInto(*font, 48, 16, 0, 0, "あA", 2, 0xF81F);
  const auto thirtyTwo = DrawInto(*font, 48, 16, 0, 0, "あA", 4, 0x00FFEEDD);
  ASSERT_GT(Ink(eight), 20);
  for (std::size_t i = 0; i < 48 * 16; ++i) {
    const bool ink = eight[i] != 0;
    EXPECT_TRUE(eight[i] == 0 || eight[i] == 0xF1);
    EXPECT_EQ(sixteen[i * 2] == 0x1F && sixteen[i * 2 + 1] == 0xF8, ink);
    EXPECT_EQ(thirtyTwo[i * 4] == 0xDD && thirtyTwo[i * 4 + 1] == 0xEE && thirtyTwo[i * 4 + 2] == 0xFF &&
                  thirtyTwo[i * 4 + 3] == 0,
              ink);
  }
}

// Glyphs cut by the target's edges are clipped (the sanitizers watch the
// writes).
TEST(TextFontDraw, ClipsAtEveryEdge) {
  REQUIRE_IPA_FONTS();
  const auto font = TextFont::Create("ＭＳ ゴシック", 30);
  ASSERT_NE(font, nullptr);
  const int whole = Ink(DrawInto(*font, 40, 40, 5, 5, "字"));
  for (auto [x, y] : {std::pair{-10, 5}, {20, 5}, {5, -10}, {5, 20}, {-40, -40}, {100, 100}}) {
    EXPECT_LT(Ink(DrawInto(*font, 40, 40, x, y, "字")), whole) << x << "," << y;
  }
  EXPECT_EQ(Ink(DrawInto(*font, 40, 40, 5, 5, "")), 0);
}

// A glyph the chosen face lacks is drawn from IPAGothic.
TEST(TextFontDraw, MissingGlyphsComeFromTheFallbackFace) {
  REQUIRE_IPA_FONTS();
  const auto latin = TextFont::Create("DejaVu Sans", -16);
  const auto gothic = TextFont::Create("IPAGothic", -16);
  ASSERT_NE(latin, nullptr);
  ASSERT_NE(gothic, nullptr);
  ASSERT_EQ(std::filesystem::path(latin->FontFile()).filename(), "DejaVuSans.ttf");
  EXPECT_EQ(latin->Measure("あ").cx, 16);
  EXPECT_GT(Ink(DrawInto(*latin, 32, 32, 0, 0, "あ")), 20);
}

// Fonts of one face and size share their glyphs; fonts may be used from
// several threads.
TEST(TextFontDraw, SameFaceAndSizeDrawTheSame) {
  REQUIRE_IPA_FONTS();
  const auto first = TextFont::Create("ＭＳ ゴシック", 16);
  const auto second = TextFont::Create("ＭＳ ゴシック", 16);
  EXPECT_EQ(DrawInto(*first, 64, 16, 0, 0, "文字abc"), DrawInto(*second, 64, 16, 0, 0, "文字abc"));
}

}  // namespace
