// The DirectDraw stand-in's Blt and BltFast at their edges; the pictures
// they draw are tested through the graphics layer in every mode
// (tests/graphics/blit_picture_test.cpp).
#include "platform/video/ddraw.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/scoped_display_config.h"

namespace {

using namespace platform;

// Two 32-bit off-screen surfaces of 4 x 2 (or the size given) on a display
// in a 32-bit mode; source pixel (x, y) is (x + 1) << (4 + 8y).
class TwoSurfaces {
 public:
  explicit TwoSurfaces(int width = 4, int height = 2) {
    EXPECT_EQ(DirectDrawCreateEx(nullptr, &m_DD, nullptr, nullptr), DD_OK);
    m_DD->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
    m_DD->SetDisplayMode(640, 480, 32, 0, 0);
    DDSURFACEDESC2 desc;
    desc.dwSize = kDDSurfaceDesc2Size;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    EXPECT_EQ(m_DD->CreateSurface(&desc, &destination, nullptr), DD_OK);
    EXPECT_EQ(m_DD->CreateSurface(&desc, &source, nullptr), DD_OK);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) source->Pixels().WriteRaw(x, y, SourcePixel(x, y));
  }
  static std::uint32_t SourcePixel(int x, int y) { return static_cast<std::uint32_t>(x + 1) << (4 + 8 * y); }
  ~TwoSurfaces() {
    destination->Release();
    source->Release();
    m_DD->Release();
  }
  DirectDrawSurface7* destination = nullptr;
  DirectDrawSurface7* source = nullptr;

 private:
  ScopedDisplayConfig m_Config;
  DirectDraw7* m_DD = nullptr;
};

TEST(DirectDrawBlt, RectanglesOutsideEitherSurfaceAreRefusedAndDrawNothing) {
  TwoSurfaces s;
  const RECT inside{0, 0, 2, 2}, tooWide{0, 0, 5, 2}, negative{-1, 0, 1, 2}, backwardsPastTheEdge{5, 0, 1, 2};
  EXPECT_EQ(s.destination->Blt(&tooWide, s.source, &inside, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
  EXPECT_EQ(s.destination->Blt(&inside, s.source, &negative, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
  EXPECT_EQ(s.destination->Blt(&inside, s.source, &backwardsPastTheEdge, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
  EXPECT_EQ(s.destination->BltFast(3, 0, s.source, &inside, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
  EXPECT_EQ(s.destination->Pixels().ReadRaw(0, 0), 0u);
}

TEST(DirectDrawBlt, AKeyComparesOnlyTheColourBitsAndAFillNeedsItsEffectsRecord) {
  TwoSurfaces s;
  s.source->Pixels().WriteRaw(1, 0, 0xFF000020u);  // the key colour with other X bits
  const DDCOLORKEY key{0x20, 0x20};
  s.source->SetColorKey(DDCKEY_SRCBLT, &key);
  s.destination->Pixels().FillRaw(nullptr, 0x777777);
  EXPECT_EQ(s.destination->BltFast(0, 0, s.source, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(s.destination->Pixels().ReadRaw(0, 0), 0x10u);
  EXPECT_EQ(s.destination->Pixels().ReadRaw(1, 0), 0x777777u);
  EXPECT_EQ(s.destination->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
  DDBLTFX fx;
  fx.dwSize = kDDBltFxSize;
  fx.dwFillColor = 0x123456;
  const RECT corner{3, 1, 4, 2};
  EXPECT_EQ(s.destination->Blt(&corner, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  EXPECT_EQ(s.destination->Pixels().ReadRaw(3, 1), 0x123456u);
}

TEST(DirectDrawBlt, ASurfaceCopiedOntoItselfReadsItsOldPixels) {
  TwoSurfaces s;
  const RECT from{0, 0, 3, 1};
  EXPECT_EQ(s.source->BltFast(1, 0, s.source, &from, DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(s.source->Pixels().ReadRaw(1, 0), 0x10u);
  EXPECT_EQ(s.source->Pixels().ReadRaw(2, 0), 0x20u);
  EXPECT_EQ(s.source->Pixels().ReadRaw(3, 0), 0x30u);
}

// Rows of 16 bytes lie end to end (the pitch is the row's bytes rounded up
// to 16), rows of 12 do not.
TEST(DirectDrawBlt, WholeRowsAreCopiedWhetherOrNotTheyLieEndToEnd) {
  for (int width : {4, 3}) {
    SCOPED_TRACE(width);
    TwoSurfaces s(width, 3);
    const RECT lowerRows{0, 1, width, 3};
    EXPECT_EQ(s.destination->BltFast(0, 0, s.source, &lowerRows, DDBLTFAST_WAIT), DD_OK);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < width; ++x)
        EXPECT_EQ(s.destination->Pixels().ReadRaw(x, y), y < 2 ? TwoSurfaces::SourcePixel(x, y + 1) : 0u) << x << "," << y;
  }
}

TEST(DirectDrawBlt, LostOrLockedSurfacesAreNotDrawn) {
  TwoSurfaces s;
  DDSURFACEDESC2 desc;
  desc.dwSize = kDDSurfaceDesc2Size;
  ASSERT_EQ(s.source->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(s.destination->BltFast(0, 0, s.source, nullptr, DDBLTFAST_WAIT), DDERR_SURFACEBUSY);
  s.source->Unlock(nullptr);
}

}  // namespace
