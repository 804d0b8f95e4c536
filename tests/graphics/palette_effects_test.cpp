#include "graphics/palette_effects.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using Palette = PaletteBuffer;

Palette Numbered() {
  Palette palette;
  for (int i = 0; i < 256; ++i) {
    palette[i] = {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i), 100, 2};
  }
  return palette;
}

TEST(DDBlendPalette, WeighsTheSourceAgainstTheColour) {
  const Palette source = Numbered();
  Palette out{};
  DDBlendPalette(out.data(), 8, 9, 128, 200, 0, 50, source.data());
  EXPECT_EQ(out[8].r, (8 * 128 + 200 * 128) >> 8);
  EXPECT_EQ(out[8].g, (247 * 128) >> 8);
  EXPECT_EQ(out[9].b, (100 * 128 + 50 * 128) >> 8);
  EXPECT_EQ(out[8].flag, 1);  // reserved entries too
  EXPECT_EQ(out[7].r, 0);    // outside the range: untouched
  EXPECT_EQ(out[10].r, 0);
}

TEST(DDBlendPalette, FullWeightIsTheSourceAndNoWeightTheColour) {
  const Palette source = Numbered();
  Palette out{};
  DDBlendPalette(out.data(), 0, 255, 256, 1, 2, 3, source.data());
  for (int i = 0; i < 256; ++i) EXPECT_EQ(out[i].r, i);
  DDBlendPalette(out.data(), 0, 255, 0, 1, 2, 3, source.data());
  for (int i = 0; i < 256; ++i) EXPECT_EQ(out[i].b, 3);
}

TEST(DDBlendPalette, EmptyReversedAndOutsideRangesStayInside) {
  const Palette source = Numbered();
  Palette out{};
  DDBlendPalette(out.data(), 10, 9, 0, 1, 1, 1, source.data());
  DDBlendPalette(out.data(), 200, 100, 0, 1, 1, 1, source.data());
  for (const PaletteColour& entry : out) EXPECT_EQ(entry.flag, 0);
  DDBlendPalette(out.data(), -5, 300, 0, 1, 1, 1, source.data());
  for (const PaletteColour& entry : out) EXPECT_EQ(entry.flag, 1);
}

struct RotateCase {
  const char* name;
  int first;
  int last;
  int count;
  int dir;
  std::array<int, 4> reds;  // entries 208..211 afterwards
};

class RotatePaletteRangeTable : public testing::TestWithParam<RotateCase> {};

TEST_P(RotatePaletteRangeTable, MovesTheRangeAndCopiesTheRest) {
  const Palette source = Numbered();
  Palette out{};
  const RotateCase& c = GetParam();
  RotatePaletteRange(out.data(), c.first, c.last, c.count, c.dir, source.data());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out[208 + i].r, c.reds[i]) << 208 + i;
  EXPECT_EQ(out[207].r, 207);
  EXPECT_EQ(out[212].r, 212);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RotatePaletteRangeTable,
    testing::Values(RotateCase{"UpByOne", 208, 211, 1, 0, {211, 208, 209, 210}},
                    RotateCase{"DownByOne", 208, 211, 1, 1, {209, 210, 211, 208}},
                    RotateCase{"UpByTheLengthIsNoChange", 208, 211, 4, 0, {208, 209, 210, 211}},
                    RotateCase{"CountReducedIntoTheRange", 208, 211, 9, 0, {211, 208, 209, 210}},
                    RotateCase{"NegativeCountTurnsTheOtherWay", 208, 211, -1, 0, {209, 210, 211, 208}},
                    RotateCase{"UnknownDirectionCopiesOnly", 208, 211, 1, 2, {208, 209, 210, 211}},
                    RotateCase{"ReversedRangeCopiesOnly", 211, 208, 1, 0, {208, 209, 210, 211}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RotatePaletteRange, SamePaletteInAndOut) {
  Palette palette = Numbered();
  RotatePaletteRange(palette.data(), 208, 211, 1, 0, palette.data());
  EXPECT_EQ(palette[208].r, 211);
  EXPECT_EQ(palette[209].r, 208);
}

}  // namespace
