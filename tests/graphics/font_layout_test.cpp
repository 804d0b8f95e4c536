#include "graphics/font_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Centring measures each glyph; 7 pixels per byte and a 9-pixel cell keep
// the halvings visible.
platform::TextExtent FakeExtent(std::string_view glyph) {
  return {7 * static_cast<int>(glyph.size()), 9};
}

struct LayoutCase {
  const char* name;
  std::string text;
  FixedCellLayout layout;
  std::vector<GlyphPlacement> expected;  // for a text at (100, 50)
};

class LayoutFixedCellsTable : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutFixedCellsTable, PlacesEachGlyph) {
  const LayoutCase& c = GetParam();
  const std::vector<GlyphPlacement> glyphs = LayoutFixedCells(c.text.c_str(), 100, 50, c.layout, FakeExtent);
  ASSERT_EQ(glyphs.size(), c.expected.size());
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    EXPECT_EQ(glyphs[i].x, c.expected[i].x) << "glyph " << i;
    EXPECT_EQ(glyphs[i].y, c.expected[i].y) << "glyph " << i;
    EXPECT_EQ(glyphs[i].glyph, c.expected[i].glyph) << "glyph " << i;
  }
}

// One-byte glyphs sit (cell >> 3, (line >> 4) - 1) into their cells.
INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutFixedCellsTable,
    testing::Values(
        LayoutCase{"Cell10", "AB", {10, 10}, {{101, 49, "A"}, {111, 49, "B"}}},
        LayoutCase{"Cell16", "AB", {16, 16}, {{102, 50, "A"}, {118, 50, "B"}}},
        LayoutCase{"Cell32", "AB", {32, 32}, {{104, 51, "A"}, {136, 51, "B"}}},
        LayoutCase{"DoubleByteIsOneCellAtItsCorner", "あA", {16, 16}, {{100, 50, "あ"}, {118, 50, "A"}}},
        LayoutCase{"DoubleByteCell32", "字字", {32, 32}, {{100, 50, "字"}, {132, 50, "字"}}},
        LayoutCase{"IdeographicSpaceDrawsNothing", "\x81\x40" "A", {16, 16}, {{118, 50, "A"}}},
        LayoutCase{"LineFeedReturnsToTheLeftEdge", "ab\nc", {16, 16}, {{102, 50, "a"}, {118, 50, "b"}, {102, 66, "c"}}},
        LayoutCase{"EmptyLinesAddTheirHeight", "\n\nA", {10, 10}, {{101, 69, "A"}}},
        LayoutCase{"LowerCaseLeftToSymbols", "aBz", {16, 16, false, true}, {{118, 50, "B"}}},
        LayoutCase{"UpperCaseNeverSkipped", "AZ", {16, 16, false, true}, {{102, 50, "A"}, {118, 50, "Z"}}},
        LayoutCase{"CentredOneByte", "A", {16, 16, true}, {{105, 54, "A"}}},
        LayoutCase{"CentredDoubleByte", "あ", {16, 16, true}, {{101, 54, "あ"}}},
        LayoutCase{"CentredCell32", "Aあ", {32, 32, true}, {{113, 62, "A"}, {141, 62, "あ"}}},
        LayoutCase{"CentredCell10", "A", {10, 10, true}, {{102, 51, "A"}}},
        LayoutCase{"CentredIdeographicSpaceDrawsNothing", "\x81\x40", {16, 16, true}, {}},
        LayoutCase{"LoneLeadByteIsOneByte", "A\x82", {16, 16}, {{102, 50, "A"}, {118, 50, "\x82"}}},
        LayoutCase{"EmptyText", "", {16, 16}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct SymbolCase {
  const char* name;
  std::string text;
  int cell;
  std::vector<SymbolPlacement> expected;  // for a text at (0, 0), lines of 16
};

class LayoutSymbolsTable : public testing::TestWithParam<SymbolCase> {};

TEST_P(LayoutSymbolsTable, PlacesACellOverEachLowerCaseLetter) {
  EXPECT_EQ(LayoutSymbols(GetParam().text.c_str(), 0, 0, GetParam().cell, 16), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutSymbolsTable,
    testing::Values(SymbolCase{"Letters", "abc", 16, {{0, 0, 0}, {16, 0, 1}, {32, 0, 2}}},
                    SymbolCase{"Cell10", "Az", 10, {{10, 0, 25}}},
                    SymbolCase{"Cell32", "\x81\x40" "b", 32, {{32, 0, 1}}},
                    SymbolCase{"DoubleByteAdvancesOneCell", "あz\nb", 16, {{16, 0, 25}, {0, 16, 1}}},
                    SymbolCase{"NoLowerCase", "ABC 1", 16, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct MeasureCase {
  const char* name;
  std::string text;
  int cell;
  int line;
  int cx;
  int cy;
};

class MeasureTextFixedTable : public testing::TestWithParam<MeasureCase> {};

TEST_P(MeasureTextFixedTable, CountsCharactersOfTheWidestLineAndTheLines) {
  const platform::TextExtent size = MeasureTextFixed(GetParam().text.c_str(), GetParam().cell, GetParam().line);
  EXPECT_EQ(size.cx, GetParam().cx);
  EXPECT_EQ(size.cy, GetParam().cy);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MeasureTextFixedTable,
    testing::Values(MeasureCase{"EmptyIsOneLine", "", 16, 16, 0, 16},
                    MeasureCase{"OneLine", "abc", 16, 16, 48, 16},
                    MeasureCase{"DoubleByteCountsOnce", "あいA", 10, 10, 30, 10},
                    MeasureCase{"WidestLine", "ab\nあいうえ\nc", 32, 32, 128, 96},
                    MeasureCase{"TrailingLineFeedAddsALine", "abc\n", 16, 16, 48, 32},
                    MeasureCase{"LinesLongerThan511Bytes", std::string(600, 'x') + "\nab", 16, 16, 9600, 32}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetLineLength, StopsAtTheFirstLineFeed) {
  EXPECT_EQ(GetLineLength("ab\ncd"), 2);
  EXPECT_EQ(GetLineLength("abc"), 3);
  EXPECT_EQ(GetLineLength("\nabc"), 0);
  EXPECT_EQ(GetLineLength(""), 0);
}

}  // namespace
