// The rotated blit: the fixed-point constants, where the software path
// reads each destination pixel, the pivot on both paths, keys and results.
#include "graphics/effects/rotate_blit.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "graphics/blit_state.h"
#include "graphics/device.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "support/graphics_device.h"
#include "support/raw_surface.h"

namespace {

using platform::FailCall;
using platform::GraphicsCall;

constexpr std::uint32_t kMarker = 0xFF00ABCDu;

std::uint32_t Position(int x, int y) { return 0xFF100000u | static_cast<std::uint32_t>(y) << 8 | x; }
void FillWithPositions(RawSurface& surface, int width, int height) {
  cSurfaceLock lock(surface.Surface());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) lock.SetPixel(x, y, Position(x, y));
}

using Started = StartedGraphicsMode;

TEST(Rotate, FixedPointSineAndCosineAreTruncated) {
  struct Case {
    int angle, sine, cosine;
  };
  for (const Case& c : {Case{0, 0, 1024}, Case{30, 511, 886}, Case{60, 886, 512}, Case{90, 1024, 0},
                        Case{-30, -511, 886}, Case{180, 0, -1024}}) {
    SCOPED_TRACE(c.angle);
    const FixedRotation rotation = FixedRotationOf(c.angle);
    EXPECT_EQ(rotation.nSin, c.sine);
    EXPECT_EQ(rotation.nCos, c.cosine);
  }
}

// Angle 0 copies the rectangle with the pivot at (x, y) and leaves the box's
// extra pixels alone; angle 90 reads one row above the pivot one step
// right of it, and one column right one step below.
TEST(Rotate, TheSoftwarePathMapsEachDestinationPixelBack) {
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    RawSurface source(8, 8, 0, true), destination(40, 40, kMarker, true);
    FillWithPositions(source, 8, 8);
    EXPECT_TRUE(DDBltRotate(destination.Surface(), 10, 10, 4, 3, 1, 1, 0, source.Surface(), 2, 3, 0));
    for (int y = 7; y < 14; ++y)
      for (int x = 7; x < 15; ++x) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        const bool inside = x >= 9 && x < 13 && y >= 9 && y < 12;
        EXPECT_EQ(destination.At(x, y), inside ? Position(2 + x - 9, 3 + y - 9) : kMarker);
      }
    destination.Fill(kMarker);
    EXPECT_TRUE(DDBltRotate(destination.Surface(), 20, 20, 5, 5, 2, 2, 90, source.Surface(), 0, 0, 0));
    EXPECT_EQ(destination.At(20, 20), Position(2, 2));
    EXPECT_EQ(destination.At(21, 20), Position(2, 1));
    EXPECT_EQ(destination.At(20, 21), Position(3, 2));
  }
}

// Flags 1 leaves out pixels equal to the transparent value; flags 0 copies
// them. Points outside the source (a negative corner) are never read.
TEST(Rotate, KeysAndSourceBounds) {
  for (const char* mode : {"DD8", "DD16_565", "DD32", "D3D16Window", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    RawSurface source(4, 4, g_dwTransmit, true), destination(10, 10, 0x55, true);
    EXPECT_TRUE(DDBltRotate(destination.Surface(), 5, 5, 4, 4, 2, 2, 45, source.Surface(), 0, 0, 1));
    EXPECT_EQ(destination.At(5, 5), 0x55u);
    EXPECT_TRUE(DDBltRotate(destination.Surface(), 5, 5, 4, 4, 2, 2, 45, source.Surface(), 0, 0, 0));
    EXPECT_EQ(destination.At(5, 5), g_dwTransmit);
    destination.Fill(0x55);
    EXPECT_TRUE(DDBltRotate(destination.Surface(), 5, 5, 4, 4, 0, 0, 0, source.Surface(), -2, -2, 0));
    EXPECT_EQ(destination.At(5, 5), 0x55u);  // reads (-2, -2): left out
    EXPECT_EQ(destination.At(7, 7), g_dwTransmit);
  }
}

// The quad path puts the pivot at (x + px - w / 2, y + py - h / 2), the
// software path at (x, y); the quad turns either way and takes the blit
// colour.
TEST(Rotate, TheQuadPathPlacesThePivotAndTakesTheBlitColour) {
  Started started("D3D32");
  DDSetVirBackBuffer(0);
  RawSurface video(4, 4, 0), system(4, 4, 0, true);
  FillWithPositions(video, 4, 4);
  FillWithPositions(system, 4, 4);
  RawSurface destination(40, 40, kMarker);
  EXPECT_TRUE(DDBltRotate(destination.Surface(), 10, 10, 4, 4, 0, 0, 0, video.Surface(), 0, 0, 0));
  EXPECT_EQ(destination.At(8, 8), Position(0, 0));
  EXPECT_EQ(destination.At(11, 11), Position(3, 3));
  destination.Fill(kMarker);
  EXPECT_TRUE(DDBltRotate(destination.Surface(), 10, 10, 4, 4, 0, 0, 0, system.Surface(), 0, 0, 0));
  EXPECT_EQ(destination.At(10, 10), Position(0, 0));

  // 90 degrees about the middle: destination (18, 18) samples texel (0, 3).
  destination.Fill(kMarker);
  EXPECT_TRUE(DDBltRotate(destination.Surface(), 20, 20, 4, 4, 2, 2, 90, video.Surface(), 0, 0, 0));
  EXPECT_EQ(destination.At(18, 18), Position(0, 3));
  EXPECT_EQ(destination.At(21, 18), Position(0, 0));

  DDSetBltColor(0xFF808080);
  video.Fill(0xFFFFFFFF);
  EXPECT_TRUE(DDBltRotate(destination.Surface(), 20, 20, 4, 4, 2, 2, 0, video.Surface(), 0, 0, 0));
  DDResetBltColor();
  EXPECT_EQ(destination.At(20, 20), 0xFF808080u);
}

TEST(Rotate, MissingSurfacesAndFailedLocks) {
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    Started started(mode);
    RawSurface source(4, 4, 0, true), destination(4, 4, 0, true);
    EXPECT_TRUE(DDBltRotate(nullptr, 0, 0, 4, 4, 2, 2, 10, source.Surface(), 0, 0, 0));
    EXPECT_TRUE(DDBltRotate(destination.Surface(), 0, 0, 4, 4, 2, 2, 10, nullptr, 0, 0, 0));
    FailCall(g_lpD3DState ? GraphicsCall::LockRect : GraphicsCall::Lock);
    EXPECT_FALSE(DDBltRotate(destination.Surface(), 0, 0, 4, 4, 2, 2, 10, source.Surface(), 0, 0, 0));
  }
}

}  // namespace
