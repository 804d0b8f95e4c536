// Mosaic and blur per back end and depth on small surfaces: cell colours,
// cut-off cells, box averages, transparent pixels and results.
#include "graphics/effects/mosaic_blur.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/device.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "support/graphics_device.h"
#include "support/raw_surface.h"

namespace {

using platform::FailCall;
using platform::GraphicsCall;

constexpr std::uint32_t Argb1555(int r, int g, int b) { return 0x8000u | r << 10 | g << 5 | b; }
constexpr std::uint32_t Rgb565(int r, int g, int b) { return static_cast<std::uint32_t>(r << 11 | g << 5 | b); }

// The raw pixels of one row.
std::vector<std::uint32_t> Row(RawSurface& surface, int y, int width) {
  std::vector<std::uint32_t> row;
  for (int x = 0; x < width; ++x) row.push_back(surface.At(x, y));
  return row;
}

using Started = StartedGraphicsMode;

// A 10-wide area in cells of 4 is cut into cells of 4, 4 and 2 columns,
// each the average of its pixels at 32 bits (the fourth byte stays).
TEST(Mosaic, CellsAreCutOffByTheAreaAndAverageTheirPixelsAt32Bits) {
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    RawSurface source(10, 1, 0, true), destination(10, 1, 0x77000000, true);
    for (int x = 0; x < 10; ++x) source.Set(x, 0, 0xFF000000u | static_cast<std::uint32_t>(x * 10));
    EXPECT_EQ(DDMosaic(destination.Surface(), 0, 0, 10, 1, 4, source.Surface(), 0, 0, 0), 1);
    const std::uint32_t a = 0x77000000u | 15, b = 0x77000000u | 55, c = 0x77000000u | 85;
    EXPECT_EQ(Row(destination, 0, 10), (std::vector<std::uint32_t>{a, a, a, a, b, b, b, b, c, c}));
  }
}

// Cells of 2 over a 4 x 1 source: what each depth makes of the cells (the
// first cell's pixels p0 p1, the second's p2 p3).
struct MosaicCase {
  const char* name;
  const char* mode;
  bool toBackBuffer;
  std::uint32_t p[4];
  std::uint32_t expected[2];
};

class MosaicCells : public testing::TestWithParam<MosaicCase> {};

TEST_P(MosaicCells, EachDepthColoursItsCells) {
  const MosaicCase& c = GetParam();
  Started started(c.mode);
  RawSurface source(4, 1, 0, true), destination(4, 1, 0, true);
  for (int x = 0; x < 4; ++x) source.Set(x, 0, c.p[x]);
  DDSURFACEDATA* to = c.toBackBuffer ? &g_sdBackBuffer : destination.Surface();
  EXPECT_EQ(DDMosaic(to, 0, 0, 4, 1, 2, source.Surface(), 0, 0, 0), 1);
  cSurfaceLock lock(to);
  EXPECT_EQ(lock.GetPixel(1, 0), c.expected[0]);
  EXPECT_EQ(lock.GetPixel(3, 0), c.expected[1]);
}

const MosaicCase kMosaicCases[] = {
    {"DD8TakesTheTopLeftIndex", "DD8", false, {5, 9, 200, 1}, {5, 200}},
    // Through 0-255: 30 -> 246 and 31 -> 255 average 250 -> 30; 30 alone
    // comes back as 29.
    {"DD16AveragesThroughTheEightBitRange", "DD16_565", false, {Rgb565(30, 0, 0), Rgb565(31, 0, 0), Rgb565(30, 63, 0),
     Rgb565(30, 63, 0)}, {Rgb565(30, 0, 0), Rgb565(29, 63, 0)}},
    {"D3D16TakesTheTopLeftPixel", "D3D16Window", false, {Argb1555(1, 2, 3), Argb1555(9, 9, 9), Argb1555(4, 5, 6),
     0}, {Argb1555(1, 2, 3), Argb1555(4, 5, 6)}},
    {"D3D16FullScreenConvertsToTheBackBuffer", "D3D16FullScreen", true, {Argb1555(1, 2, 3), 0, Argb1555(4, 5, 6), 0},
     {Rgb565(1, 4, 3), Rgb565(4, 10, 6)}},
};

INSTANTIATE_TEST_SUITE_P(Cases, MosaicCells, testing::ValuesIn(kMosaicCases),
                         [](const testing::TestParamInfo<MosaicCase>& info) { return std::string(info.param.name); });

// Skipping leaves transparent pixels out of the average, and a cell of
// nothing else unwritten.
TEST(Mosaic, SkippingLeavesTransparentPixelsOut) {
  for (const char* mode : {"DD8", "DD16_565", "DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    const std::uint32_t key = g_lpD3DState ? 0 : g_dwTransmit, opaque = g_nBpp == 8 ? 40 : g_nBpp == 16 ? 0xFFFF : 0x0820;
    // (white survives the 16-bit round trip through 0-255)
    RawSurface source(4, 1, key, true), destination(4, 1, 0x11, true);
    source.Set(0, 0, opaque);  // the second pixel of the first cell is transparent
    EXPECT_EQ(DDMosaic(destination.Surface(), 0, 0, 4, 1, 2, source.Surface(), 0, 0, 1), 1);
    const std::uint32_t written = g_nBpp == 32 ? destination.At(1, 0) & 0xFFFFFF : destination.At(1, 0);
    EXPECT_EQ(written, opaque);
    EXPECT_EQ(destination.At(3, 0), 0x11u);
  }
}

// Cell sizes of 0 or less do nothing; cells partly outside the destination
// or the source draw their inside part; failed locks give 0.
TEST(Mosaic, EmptyCellsOutsidePartsAndFailedLocks) {
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    RawSurface source(4, 4, 0xFF102030, true), destination(4, 4, 0xFF000000, true);
    EXPECT_EQ(DDMosaic(destination.Surface(), 0, 0, 4, 4, 0, source.Surface(), 0, 0, 0), 1);
    EXPECT_EQ(DDMosaic(destination.Surface(), 0, 0, 4, 4, -3, source.Surface(), 0, 0, 0), 1);
    EXPECT_EQ(destination.At(0, 0) & 0xFFFFFF, 0u);
    // One cell of 8 from (-2, -2) of the source and onto (2, 2) of the
    // destination: only source pixels inside count, only the inside is written.
    EXPECT_EQ(DDMosaic(destination.Surface(), 2, 2, 8, 8, 8, source.Surface(), -2, -2, 0), 1);
    EXPECT_EQ(destination.At(3, 3) & 0xFFFFFF, 0x102030u);
    EXPECT_EQ(destination.At(1, 3) & 0xFFFFFF, 0u);
    FailCall(g_lpD3DState ? GraphicsCall::LockRect : GraphicsCall::Lock);
    EXPECT_EQ(DDMosaic(destination.Surface(), 0, 0, 4, 4, 2, source.Surface(), 0, 0, 0), 0);
    EXPECT_EQ(DDMosaic(nullptr, 0, 0, 4, 4, 2, source.Surface(), 0, 0, 0), 1);
  }
}

// Radius 1 averages a pixel with its left, upper and upper-left neighbours;
// at the area's top-left corner only the pixel itself counts.
TEST(Blur, RadiusOneAveragesTheTwoByTwoBoxUpAndLeft) {
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    RawSurface source(2, 2, 0, true), destination(2, 2, 0x55000000, true);
    source.Set(0, 0, 0xFF000010);
    source.Set(1, 0, 0xFF000020);
    source.Set(0, 1, 0xFF000030);
    source.Set(1, 1, 0xFF000044);
    EXPECT_EQ(DDBlur(destination.Surface(), 0, 0, 2, 2, 1, 1, source.Surface(), 0, 0, 0), 1);
    EXPECT_EQ(destination.At(0, 0), 0x55000010u);
    EXPECT_EQ(destination.At(1, 0), 0x55000018u);
    EXPECT_EQ(destination.At(0, 1), 0x55000020u);
    EXPECT_EQ(destination.At(1, 1), 0x55000029u);  // (16 + 32 + 48 + 68) / 4
  }
}

// Per 16-bit format: the written layout of an average.
TEST(Blur, SixteenBitAveragesPerLayout) {
  struct Case {
    const char* mode;
    bool toBackBuffer;
    std::uint32_t a, b, expected;  // source (0, 0) and (1, 0); written at (1, 0)
  };
  for (const Case& c : {Case{"DD16_565", false, Rgb565(31, 63, 0), Rgb565(0, 0, 3), Rgb565(15, 31, 1)},
                        Case{"D3D16Window", false, Argb1555(31, 31, 0), Argb1555(0, 0, 3), Argb1555(15, 15, 1)},
                        Case{"D3D16FullScreen", true, Argb1555(31, 31, 0), Argb1555(0, 0, 3), Rgb565(15, 30, 1)}}) {
    SCOPED_TRACE(c.mode);
    Started started(c.mode);
    RawSurface source(2, 1, 0, true), destination(2, 1, 0, true);
    source.Set(0, 0, c.a);
    source.Set(1, 0, c.b);
    DDSURFACEDATA* to = c.toBackBuffer ? &g_sdBackBuffer : destination.Surface();
    EXPECT_EQ(DDBlur(to, 0, 0, 2, 1, 1, 1, source.Surface(), 0, 0, 0), 1);
    cSurfaceLock lock(to);
    EXPECT_EQ(lock.GetPixel(1, 0), c.expected);
  }
}

// Sums are wide enough for any box: 2500 samples of the 5-bit maximum
// average to the maximum.
TEST(Blur, LargeBoxesAverageCorrectly) {
  Started started("D3D16Window");
  RawSurface source(50, 50, Argb1555(31, 31, 31), true), destination(50, 50, 0, true);
  EXPECT_EQ(DDBlur(destination.Surface(), 0, 0, 50, 50, 50, 50, source.Surface(), 0, 0, 0), 1);
  EXPECT_EQ(destination.At(49, 49), Argb1555(31, 31, 31));
  EXPECT_EQ(destination.At(0, 0), Argb1555(31, 31, 31));
}

// Skipping: transparent pixels stay untouched and do not darken their
// opaque neighbours.
TEST(Blur, SkippingKeepsTransparentPixelsOut) {
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    const std::uint32_t key = g_lpD3DState ? 0 : g_dwTransmit;
    RawSurface source(3, 1, key, true), destination(3, 1, 0xFF123456, true);
    source.Set(1, 0, 0xFF808080);
    EXPECT_EQ(DDBlur(destination.Surface(), 0, 0, 3, 1, 2, 1, source.Surface(), 0, 0, 1), 1);
    EXPECT_EQ(destination.At(0, 0), 0xFF123456u);
    EXPECT_EQ(destination.At(1, 0) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(destination.At(2, 0), 0xFF123456u);
  }
}

// 8 bits: nothing drawn, result 1. Radii of 0 do nothing; areas reaching
// outside either surface touch only the inside; failed locks give 0.
TEST(Blur, EightBitsZeroRadiiOutsidePartsAndFailedLocks) {
  {
    Started started("DD8");
    RawSurface source(2, 2, 9, true), destination(2, 2, 3, true);
    EXPECT_EQ(DDBlur(destination.Surface(), 0, 0, 2, 2, 1, 1, source.Surface(), 0, 0, 0), 1);
    EXPECT_EQ(destination.At(1, 1), 3u);
  }
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    RawSurface source(4, 4, 0xFF404040, true), destination(4, 4, 0xFF000000, true);
    EXPECT_EQ(DDBlur(destination.Surface(), 0, 0, 4, 4, 0, 1, source.Surface(), 0, 0, 0), 1);
    EXPECT_EQ(DDBlur(destination.Surface(), 0, 0, 4, 4, 1, 0, source.Surface(), 0, 0, 0), 1);
    EXPECT_EQ(destination.At(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(DDBlur(destination.Surface(), 2, -1, 9, 9, 3, 3, source.Surface(), -1, 0, 0), 1);
    EXPECT_EQ(destination.At(3, 0) & 0xFFFFFF, 0x404040u);  // area (1, 1), source (0, 1)
    EXPECT_EQ(destination.At(2, 0) & 0xFFFFFF, 0u);         // its source column -1 does not exist
    EXPECT_EQ(destination.At(1, 2) & 0xFFFFFF, 0u);
    FailCall(g_lpD3DState ? GraphicsCall::LockRect : GraphicsCall::Lock);
    EXPECT_EQ(DDBlur(destination.Surface(), 0, 0, 4, 4, 1, 1, source.Surface(), 0, 0, 0), 0);
  }
}

}  // namespace
