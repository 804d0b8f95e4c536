// The lens blit: where each destination pixel of the disc looks in the
// source (the offsets of the edge cases), the arguments that describe no
// lens, the bounds of the source and per-depth values.
#include "graphics/effects/lens_blit.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "graphics/device.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "support/graphics_device.h"
#include "support/raw_surface.h"

namespace {

using platform::FailCall;
using platform::GraphicsCall;

constexpr std::uint32_t kMarker = 0xFF00ABCDu;

// A 32-bit surface whose every pixel holds its own position (opaque).
std::uint32_t Position(int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(y) << 12 | x; }
void FillWithPositions(RawSurface& surface, int width, int height) {
  cSurfaceLock lock(surface.Surface());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) lock.SetPixel(x, y, Position(x, y));
}

using Started = StartedGraphicsMode;

struct LensCase {
  int radius, depth;
  int j, i;          // destination offset from the centre
  int u, v;          // source offset it shows
};

// Radius 100, depth 100 (L = 141); depth 0; radius 10, depth 1 (L^2 = R^2,
// so the rim pixels show their own place).
const LensCase kLensCases[] = {
    {100, 100, 0, 0, 0, 0},   {100, 100, 10, 0, 7, 0},   {100, 100, 50, 0, 38, 0}, {100, 100, -50, 0, -37, 0},
    {100, 100, 100, 0, 101, 0}, {100, 100, 0, 50, 0, 38}, {100, 100, 0, -50, 0, -37},
    {5, 0, 3, 0, 0, 0},       {5, 0, 0, -4, 0, 0},       {5, 0, 5, 0, 5, 0},       {5, 0, 3, 4, 3, 4},
    {10, 1, 10, 0, 10, 0},    {10, 1, 0, -10, 0, -10},   {10, 1, 6, 8, 6, 8},      {10, 1, -8, 6, -8, 6},
    {10, 1, 5, 0, 1, 0},
};

TEST(Lens, EachDiscPixelShowsTheSourcePointOfTheEdgeCases) {
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    RawSurface source(640, 480, 0, true), destination(640, 480, kMarker, true);
    FillWithPositions(source, 640, 480);
    for (const LensCase& c : kLensCases) {
      SCOPED_TRACE(testing::Message() << "radius " << c.radius << " depth " << c.depth << " at " << c.j << "," << c.i);
      EXPECT_TRUE(DDBltLens(destination.Surface(), 320, 240, c.radius, c.depth, source.Surface(), 320, 240, 0));
      EXPECT_EQ(destination.At(320 + c.j, 240 + c.i), Position(320 + c.u, 240 + c.v));
    }
  }
}

TEST(Lens, ArgumentsThatDescribeNoLensDrawNothing) {
  Started started("DD32");
  RawSurface source(64, 64, 0xFF112233, true), destination(64, 64, kMarker, true);
  for (const auto& [radius, depth] : {std::pair{0, 0}, {0, 5}, {1, 1}, {-1, 3}, {3, -1}}) {
    SCOPED_TRACE(testing::Message() << radius << "," << depth);
    EXPECT_FALSE(DDBltLens(destination.Surface(), 32, 32, radius, depth, source.Surface(), 32, 32, 0));
  }
  EXPECT_EQ(destination.At(32, 32), kMarker);
}

// Source points are bounded by the screen size even when src is larger,
// and by src when it is smaller.
TEST(Lens, SourcePointsStayInsideTheScreenSizeAndTheSource) {
  Started started("D3D32");
  {
    RawSurface source(700, 500, 0, true), destination(700, 500, kMarker, true);
    FillWithPositions(source, 700, 500);
    EXPECT_TRUE(DDBltLens(destination.Surface(), 630, 240, 100, 100, source.Surface(), 630, 240, 0));
    EXPECT_EQ(destination.At(640, 240), Position(637, 240));  // 10 right shows 7 right
    EXPECT_EQ(destination.At(680, 240), kMarker);             // 50 right would show column 668
  }
  RawSurface source(50, 50, 0, true), destination(50, 50, kMarker, true);
  FillWithPositions(source, 50, 50);
  // L = 56: the pixel 24 right shows 19 right, the pixel 39 right would
  // show column 64 of a 50-wide source.
  EXPECT_TRUE(DDBltLens(destination.Surface(), 10, 25, 40, 40, source.Surface(), 25, 25, 1));
  EXPECT_EQ(destination.At(10, 25), Position(25, 25));
  EXPECT_EQ(destination.At(34, 25), Position(44, 25));
  EXPECT_EQ(destination.At(49, 25), kMarker);
}

// Transparent source pixels are left out whatever the flags say; a disc
// partly outside dst draws its inside part; a failed lock is false.
TEST(Lens, TransparentSourcePixelsOutsidePartsAndFailedLocks) {
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    RawSurface source(640, 480, g_lpD3DState ? 0 : g_dwTransmit, true), destination(20, 20, kMarker, true);
    EXPECT_TRUE(DDBltLens(destination.Surface(), 10, 10, 5, 5, source.Surface(), 10, 10, 0));
    EXPECT_EQ(destination.At(10, 10), kMarker);
    source.Fill(0xFF445566);
    EXPECT_TRUE(DDBltLens(destination.Surface(), 0, 19, 8, 4, source.Surface(), 100, 100, 0));
    EXPECT_EQ(destination.At(3, 19), 0xFF445566u);
    EXPECT_EQ(destination.At(3, 10), kMarker);
    FailCall(g_lpD3DState ? GraphicsCall::LockRect : GraphicsCall::Lock);
    EXPECT_FALSE(DDBltLens(destination.Surface(), 10, 10, 5, 5, source.Surface(), 10, 10, 0));
  }
}

// Values are copied as they are, at every depth; onto the full-screen
// 16-bit back buffer in its layout.
TEST(Lens, EachDepthCopiesTheSourceValue) {
  struct Case {
    const char* mode;
    bool toBackBuffer;
    std::uint32_t value, expected;
  };
  for (const Case& c : {Case{"DD8", false, 77, 77}, Case{"DD16_565", false, 0x1234, 0x1234},
                        Case{"D3D16Window", false, 0x8000u | 3 << 10 | 5 << 5 | 7, 0x8000u | 3 << 10 | 5 << 5 | 7},
                        Case{"D3D16FullScreen", true, 0x8000u | 3 << 10 | 5 << 5 | 7, 3u << 11 | 10 << 5 | 7}}) {
    SCOPED_TRACE(c.mode);
    Started started(c.mode);
    DDSetVirBackBuffer(0);
    RawSurface source(640, 480, c.value, true), destination(8, 8, 0, true);
    DDSURFACEDATA* to = c.toBackBuffer ? &g_sdBackBuffer : destination.Surface();
    EXPECT_TRUE(DDBltLens(to, 4, 4, 3, 2, source.Surface(), 50, 50, 0));
    cSurfaceLock lock(to);
    EXPECT_EQ(lock.GetPixel(4, 5), c.expected);
  }
}

}  // namespace
