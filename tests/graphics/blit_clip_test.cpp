#include "graphics/blit_clip.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "graphics/circle_rows.h"

namespace {

struct ClipCase {
  const char* name;
  int destinationWidth, destinationHeight, sourceWidth, sourceHeight;
  BltRects asked;
  bool drawsOnDirect3D;
  BltRects direct3D;
  bool drawsOnDirectDraw;
  BltRects directDraw;
};

// {x, y, w, h, sx, sy, sw, sh}
const ClipCase kClipCases[] = {
    {"InsideIsUnchanged", 640, 480, 32, 32, {10, 20, 32, 32, 0, 0, 32, 32}, true, {10, 20, 32, 32, 0, 0, 32, 32}, true,
     {10, 20, 32, 32, 0, 0, 32, 32}},
    {"SpriteLeftOfTheScreen", 640, 480, 32, 32, {-10, 0, 32, 32, 0, 0, 32, 32}, true, {0, 0, 22, 32, 10, 0, 22, 32},
     true, {0, 0, 22, 32, 10, 0, 22, 32}},
    {"SpriteAtTheRightEdge", 640, 480, 32, 32, {630, 0, 32, 32, 0, 0, 32, 32}, true, {630, 0, 10, 32, 0, 0, 10, 32},
     true, {630, 0, 10, 32, 0, 0, 10, 32}},
    {"WidePictureOnBothSides", 640, 480, 1280, 480, {-100, 0, 1280, 480, 0, 0, 1280, 480}, true,
     {0, 0, 640, 480, 100, 0, 640, 480}, true, {0, 0, 640, 480, 100, 0, 640, 480}},
    {"TopAndBottom", 640, 480, 32, 32, {0, 470, 32, 32, 0, 0, 32, 32}, true, {0, 470, 32, 10, 0, 0, 32, 10}, true,
     {0, 470, 32, 10, 0, 0, 32, 10}},
    {"NegativeSourceStartKeepsTheDestination", 640, 480, 32, 32, {5, 5, 32, 32, -5, 0, 32, 32}, true,
     {5, 5, 27, 32, 0, 0, 27, 32}, true, {5, 5, 27, 32, 0, 0, 27, 32}},
    {"SourceRectanglePastThePicture", 640, 480, 32, 32, {0, 0, 32, 32, 40, 0, 32, 32}, false, {}, false, {}},
    {"ZeroWidth", 640, 480, 32, 32, {0, 0, 0, 32, 0, 0, 0, 32}, false, {}, false, {}},
    {"EntirelyOffTheLeft", 640, 480, 32, 32, {-40, 0, 32, 32, 0, 0, 32, 32}, false, {}, false, {}},
    // A mirrored cell with its 5 left columns cut reads from column 26 first (sx - 1).
    {"MirroredCellCutOnTheLeft", 640, 480, 64, 32, {-5, 0, 32, 32, 32, 0, -32, 32}, true,
     {0, 0, 27, 32, 27, 0, -27, 32}, true, {0, 0, 27, 32, 27, 0, -27, 32}},
    {"MirroredCellInside", 640, 480, 64, 32, {100, 0, 32, 32, 32, 0, -32, 32}, true, {100, 0, 32, 32, 32, 0, -32, 32},
     true, {100, 0, 32, 32, 32, 0, -32, 32}},
    // Half size crossing the right edge by 10 destination pixels: the source end moves back by 20.
    {"HalfSizeCrossingTheRight", 640, 480, 64, 64, {618, 0, 32, 32, 0, 0, 64, 64}, true,
     {618, 0, 22, 32, 0, 0, 44, 64}, true, {618, 0, 22, 32, 0, 0, 44, 64}},
    {"DoubleSizeCutOnTheLeft", 640, 480, 32, 32, {-8, 0, 64, 64, 0, 0, 32, 32}, true, {0, 0, 56, 64, 4, 0, 28, 32},
     true, {0, 0, 56, 64, 4, 0, 28, 32}},
    // The two back ends size a cut scaled blit apart: 1 / 1.5 truncates to nothing on Direct3D.
    {"ThreeToTwoCutOnTheRight", 10, 10, 3, 1, {9, 0, 2, 1, 0, 0, 3, 1}, false, {}, true, {9, 0, 1, 1, 0, 0, 1, 1}},
    {"ScaledFromAnEmptySource", 640, 480, 32, 32, {0, 0, 64, 64, 0, 0, 0, 32}, false, {}, false, {}},
};

class ClipBltTest : public testing::TestWithParam<ClipCase> {};

void ExpectRects(const BltRects& actual, const BltRects& expected) {
  EXPECT_EQ((std::array{actual.x, actual.y, actual.w, actual.h, actual.sx, actual.sy, actual.sw, actual.sh}),
            (std::array{expected.x, expected.y, expected.w, expected.h, expected.sx, expected.sy, expected.sw,
                        expected.sh}));
}

TEST_P(ClipBltTest, ClipsBothRectanglesAsEachBackEndSizesThem) {
  const ClipCase& c = GetParam();
  BltRects d3d = c.asked;
  ASSERT_EQ(ClipBltRects(c.destinationWidth, c.destinationHeight, c.sourceWidth, c.sourceHeight,
                         BltSizeRule::Direct3D, d3d),
            c.drawsOnDirect3D);
  if (c.drawsOnDirect3D) ExpectRects(d3d, c.direct3D);
  BltRects dd = c.asked;
  ASSERT_EQ(ClipBltRects(c.destinationWidth, c.destinationHeight, c.sourceWidth, c.sourceHeight,
                         BltSizeRule::DirectDraw, dd),
            c.drawsOnDirectDraw);
  if (c.drawsOnDirectDraw) ExpectRects(dd, c.directDraw);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClipBltTest, testing::ValuesIn(kClipCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Rows as "offset:width@sourceX" from the top, for a centre at (100, 100) of
// a 200 x 200 destination and source column sx.
std::vector<std::string> Rows(int halfWidth, int halfHeight, int radius, int band, int sx = 100) {
  std::vector<std::string> rows;
  for (const CircleBlt& r : CircleBltRows(100, 100, halfWidth, halfHeight, radius, band, 200, 200, sx, 100)) {
    EXPECT_EQ(r.destinationX - 100, r.sourceX - sx);
    EXPECT_EQ(r.destinationY, r.sourceY);
    rows.push_back(std::to_string(r.destinationY - 100) + ":" + std::to_string(r.width) + "x" +
                   std::to_string(r.rows) + "@" + std::to_string(r.sourceX - sx));
  }
  return rows;
}

TEST(CircleBltRows, WalksFromTheBottomRowUpWithChordsCappedBelowTheRadius) {
  EXPECT_TRUE(Rows(100, 100, 1, 1).empty());  // both rows 0 wide
  EXPECT_EQ(Rows(100, 100, 5, 1), (std::vector<std::string>{"4:6x1@-3", "3:8x1@-4", "2:8x1@-4", "1:8x1@-4",
                                                            "0:8x1@-4", "-1:8x1@-4", "-2:8x1@-4", "-3:8x1@-4",
                                                            "-4:6x1@-3"}));
  EXPECT_TRUE(Rows(100, 100, 0, 1).empty());
  EXPECT_TRUE(Rows(100, 100, 5, 0).empty());
}

TEST(CircleBltRows, StaysInsideTheClipBoxAndTheSourcePicture) {
  EXPECT_EQ(Rows(2, 2, 5, 1), (std::vector<std::string>{"1:4x1@-2", "0:4x1@-2", "-1:4x1@-2", "-2:4x1@-2"}));
  // Centre one column from the source's left edge: chords start at column 0.
  EXPECT_EQ(Rows(100, 1, 5, 1, 1), (std::vector<std::string>{"0:5x1@-1", "-1:5x1@-1"}));
}

TEST(CircleBltRows, BandsUseTheirMiddleRowAndMoveInsideTheBox) {
  EXPECT_EQ(Rows(100, 3, 5, 2), (std::vector<std::string>{"1:8x2@-4", "-1:8x2@-4", "-3:8x2@-4"}));
  // The first band would reach below the box: it moves up to end there, and the walk goes on from it.
  EXPECT_EQ(Rows(100, 3, 5, 3), (std::vector<std::string>{"0:8x3@-4", "-3:8x3@-4"}));
  EXPECT_EQ(Rows(100, 100, 4, 4), (std::vector<std::string>{"0:6x4@-3", "-4:6x4@-3"}));
}

TEST(CircleBltRows, AHugeDiscCostsOnlyTheDestinationsRows) {
  const std::vector<CircleBlt> rows = CircleBltRows(0, 5, 1 << 30, 1 << 30, 1 << 30, 1, 10, 1 << 30, 0, 0);
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows.front().destinationY, 9);
  EXPECT_EQ(rows.back().destinationY, 0);
  const std::vector<CircleBlt> bands = CircleBltRows(0, 5, 1 << 30, 1 << 30, 1 << 30, 3, 10, 1 << 30, 0, 0);
  EXPECT_LE(bands.size(), 5u);
  for (const CircleBlt& b : bands) EXPECT_TRUE(b.destinationY + b.rows > 0 && b.destinationY < 10);
}

}  // namespace
