#include "graphics/effect_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(FrameEdges, LieInsideTheRectangleTopBottomLeftRight) {
  EXPECT_EQ(FrameEdges(10, 20, 100, 50, 2),
            (std::vector<FillRect>{{10, 20, 100, 2}, {10, 68, 100, 2}, {10, 20, 2, 50}, {108, 20, 2, 50}}));
}

struct NumberCase {
  const char* name;
  int value;
  int minDigits;
  bool center;
  std::vector<int> xs;      // cells at y 0, 16 wide, from a strip at (0, 0)
  std::vector<int> digits;  // digit drawn in each cell
};

class NumberCellsTable : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberCellsTable, DrawsOneCellPerDigitMostSignificantFirst) {
  const NumberCase& c = GetParam();
  const std::vector<BandBlt> cells = NumberCells(100, 0, 16, 16, 0, 0, c.value, c.minDigits, c.center);
  ASSERT_EQ(cells.size(), c.xs.size());
  for (std::size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(cells[i].x, c.xs[i]);
    EXPECT_EQ(cells[i].sx, c.digits[i] * 16);
    EXPECT_EQ(cells[i].w, 16);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberCellsTable,
    testing::Values(NumberCase{"SevenInThreeCells", 7, 3, false, {132}, {7}},
                    NumberCase{"SevenInThreeCellsCentred", 7, 3, true, {116}, {7}},
                    NumberCase{"ZeroIsOneCell", 0, 0, false, {100}, {0}},
                    NumberCase{"MoreDigitsThanAsked", 1234, 2, false, {100, 116, 132, 148}, {1, 2, 3, 4}},
                    NumberCase{"OddPaddingCentredRoundsDown", 5, 2, true, {108}, {5}},
                    NumberCase{"TenDigits",
                               2147483647,
                               0,
                               false,
                               {100, 116, 132, 148, 164, 180, 196, 212, 228, 244},
                               {2, 1, 4, 7, 4, 8, 3, 6, 4, 7}},
                    NumberCase{"NegativeDrawsAsZero", -42, 3, false, {132}, {0}}),
    [](const auto& info) { return std::string(info.param.name); });

// Bands of 4, 4 and 2 rows at accumulators 144, 288 and 432 degrees.
TEST(WaveBands, CutsRowsIntoBandsShiftedAlongTheSine) {
  const std::vector<BandBlt> bands = WaveBands(50, 60, 30, 10, 2, 8.0, 15, 4, 5, 6, false);
  ASSERT_EQ(bands.size(), 3u);
  const int heights[] = {4, 4, 2};
  const double accumulators[] = {144, 288, 432};
  for (int k = 0; k < 3; ++k) {
    const int shift = static_cast<int>(std::trunc(8.0 * std::sin((15 + accumulators[k]) * 2 * 0.017453292519943295)));
    EXPECT_EQ(bands[k], (BandBlt{50 + shift, 60 + 4 * k, 30, heights[k], 5, 6 + 4 * k})) << "band " << k;
  }
}

TEST(WaveBands, ColumnsShiftUpAndDown) {
  const std::vector<BandBlt> bands = WaveBands(0, 0, 8, 20, 1, 10.0, 0, 4, 0, 0, true);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[0], (BandBlt{0, 0, 4, 20, 0, 0}));  // sin 180 degrees
  EXPECT_EQ(bands[1], (BandBlt{4, 0, 4, 20, 4, 0}));  // sin 360 degrees
}

TEST(WaveBands, NothingForEmptyBandsOrAreas) {
  EXPECT_TRUE(WaveBands(0, 0, 10, 10, 1, 5.0, 0, 0, 0, 0, false).empty());
  EXPECT_TRUE(WaveBands(0, 0, 10, 10, 1, 5.0, 0, -2, 0, 0, false).empty());
  EXPECT_TRUE(WaveBands(0, 0, 10, 0, 1, 5.0, 0, 2, 0, 0, false).empty());
  EXPECT_TRUE(WaveBands(0, 0, -4, 10, 1, 5.0, 0, 2, 0, 0, true).empty());
}

TEST(InterlaceBands, OddBandsLeftThenEvenBandsRight) {
  EXPECT_EQ(InterlaceBands(100, 0, 40, 10, 3, 5, 0, 0, false),
            (std::vector<BandBlt>{{95, 3, 40, 3, 0, 3}, {105, 0, 40, 3, 0, 0}, {105, 6, 40, 3, 0, 6}}));
  EXPECT_EQ(InterlaceBands(0, 100, 4, 30, 2, 7, 1, 1, true),
            (std::vector<BandBlt>{{2, 93, 2, 30, 3, 1}, {0, 107, 2, 30, 1, 1}}));
}

TEST(InterlaceBands, EdgeSizes) {
  EXPECT_EQ(InterlaceBands(1, 2, 30, 40, 0, 9, 3, 4, false), (std::vector<BandBlt>{{1, 2, 30, 40, 3, 4}}));
  EXPECT_TRUE(InterlaceBands(0, 0, 30, 10, 11, 9, 0, 0, false).empty());
  EXPECT_EQ(InterlaceBands(0, 0, 30, 10, 10, 9, 0, 0, false), (std::vector<BandBlt>{{9, 0, 30, 10, 0, 0}}));
  EXPECT_TRUE(InterlaceBands(0, 0, 30, 10, -2, 9, 0, 0, false).empty());
}

struct CardCase {
  int frame;
  int c;
  bool back;
};

// Width 100 about the vertical axis: the front narrows, the back widens and
// narrows, the front widens.
TEST(CardFlip, FollowsTheTriangleWaveAndTurnsTheCard) {
  for (const CardCase& card : {CardCase{0, 0, false}, CardCase{49, 49, false}, CardCase{50, 49, true},
                               CardCase{99, 0, true}, CardCase{100, 0, true}, CardCase{149, 49, true},
                               CardCase{150, 49, false}, CardCase{199, 0, false}, CardCase{200, 0, false}}) {
    const CardFlipFrame frame = CardFlip(10, 20, 100, 30, card.frame, 0);
    EXPECT_TRUE(frame.bVisible);
    EXPECT_EQ(frame.bBack, card.back) << card.frame;
    EXPECT_EQ(frame.rect, (FillRect{10 + card.c, 20, 100 - 2 * card.c, 30})) << card.frame;
  }
  EXPECT_EQ(CardFlip(10, 20, 30, 100, 60, 1).rect, (FillRect{10, 20 + 39, 30, 100 - 78}));
}

TEST(CardFlip, DrawsNothingForAnUnknownAxisOrASizeBelowTwo) {
  EXPECT_FALSE(CardFlip(0, 0, 100, 100, 3, 2).bVisible);
  EXPECT_FALSE(CardFlip(0, 0, 1, 100, 3, 0).bVisible);
  EXPECT_FALSE(CardFlip(0, 0, 100, 0, 3, 1).bVisible);
  EXPECT_TRUE(CardFlip(0, 0, 2, 100, 3, 0).bVisible);
}

TEST(Quarters, MoveApartDiagonallyAndReassembleAtDistanceZero) {
  EXPECT_EQ(Quarters(100, 50, 40, 20, 3, 4, 0),
            (std::vector<BandBlt>{{100, 50, 20, 10, 3, 4}, {120, 50, 20, 10, 23, 4}, {100, 60, 20, 10, 3, 14},
                                  {120, 60, 20, 10, 23, 14}}));
  EXPECT_EQ(Quarters(100, 50, 41, 21, 0, 0, 5),
            (std::vector<BandBlt>{{95, 45, 20, 10, 0, 0}, {125, 45, 20, 10, 20, 0}, {95, 65, 20, 10, 0, 10},
                                  {125, 65, 20, 10, 20, 10}}));
}

}  // namespace
