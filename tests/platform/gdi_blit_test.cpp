#include "platform/gdi_blit.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/d3dx_image.h"
#include "support/bitmap_file_builder.h"

namespace {

using platform::DecodedBitmap;
using platform::DeviceContextPixels;

DecodedBitmap Decode(const std::vector<std::uint8_t>& file) {
  DecodedBitmap bitmap;
  std::string error;
  EXPECT_TRUE(platform::DecodeBitmapFile(file, bitmap, error)) << error;
  return bitmap;
}

// A destination of w x h pixels inside a larger buffer whose margin must
// stay untouched: one guard row above and below, guard pixels at both ends.
struct Destination {
  Destination(int w, int h, int bits, std::uint32_t r, std::uint32_t g, std::uint32_t b)
      : bytesPerPixel(bits / 8), memory(static_cast<std::size_t>((w + 2) * bytesPerPixel) * (h + 2), 0xEE) {
    view = {memory.data() + (w + 2) * bytesPerPixel + bytesPerPixel, (w + 2) * bytesPerPixel, w, h, bits, r, g, b};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Set(x, y, 0);
  }
  Destination(const Destination&) = delete;
  std::uint32_t At(int x, int y) const {
    std::uint32_t v = 0;
    for (int i = 0; i < bytesPerPixel; ++i) v |= static_cast<std::uint32_t>(view.bits[y * view.pitch + x * bytesPerPixel + i]) << (8 * i);
    return v;
  }
  void Set(int x, int y, std::uint32_t v) {
    for (int i = 0; i < bytesPerPixel; ++i) view.bits[y * view.pitch + x * bytesPerPixel + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
  bool MarginUntouched() const {
    for (int y = -1; y <= view.height; ++y)
      for (int x = -1; x <= view.width; ++x) {
        if (x >= 0 && x < view.width && y >= 0 && y < view.height) continue;
        for (int i = 0; i < bytesPerPixel; ++i)
          if (view.bits[y * view.pitch + x * bytesPerPixel + i] != 0xEE) return false;
      }
    return true;
  }
  int bytesPerPixel;
  std::vector<std::uint8_t> memory;
  DeviceContextPixels view;
};

Destination Rgb565(int w, int h) { return Destination(w, h, 16, 0xF800, 0x07E0, 0x001F); }
Destination Rgb555(int w, int h) { return Destination(w, h, 16, 0x7C00, 0x03E0, 0x001F); }
Destination Xrgb32(int w, int h) { return Destination(w, h, 32, 0xFF0000, 0xFF00, 0xFF); }

TEST(GdiBitBlt, CutsEachChannelToTheDestinationFormat) {
  const DecodedBitmap bitmap = Decode(BitmapFileBuilder(2, 1, 24).Pixels({0xFF8844, 0x070307}).Build());
  struct Case {
    const char* name;
    Destination destination;
    std::uint32_t first, second;
  } cases[] = {
      {"565", Rgb565(2, 1), 31u << 11 | 34u << 5 | 8u, 0u << 11 | 0u << 5 | 0u},
      {"555", Rgb555(2, 1), 31u << 10 | 17u << 5 | 8u, 0u},
      {"32", Xrgb32(2, 1), 0x00FF8844u, 0x00070307u},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(platform::BitBlt(c.destination.view, 0, 0, 2, 1, bitmap, 0, 0));
    EXPECT_EQ(c.destination.At(0, 0), c.first);
    EXPECT_EQ(c.destination.At(1, 0), c.second);
  }
}

TEST(GdiBitBlt, ReadsIndexedPicturesThroughTheirColourTable) {
  const DecodedBitmap bitmap =
      Decode(BitmapFileBuilder(3, 1, 4).Colours({{0, 0, 0xFF, 0}, {0xFF, 0, 0, 0}}).Pixels({1, 0, 1}).Build());
  Destination d = Xrgb32(3, 1);
  ASSERT_TRUE(platform::BitBlt(d.view, 0, 0, 3, 1, bitmap, 0, 0));
  EXPECT_EQ(d.At(0, 0), 0x0000FFu);
  EXPECT_EQ(d.At(1, 0), 0xFF0000u);
}

// Letters of a 4x2 picture of indices 1..8, read back from a 32-bit destination.
std::string Letters(const Destination& d) {
  std::string text;
  for (int y = 0; y < d.view.height; ++y) {
    if (y) text += '/';
    for (int x = 0; x < d.view.width; ++x) text += d.At(x, y) == 0 ? '.' : static_cast<char>('a' + (d.At(x, y) & 0xFF) - 1);
  }
  return text;
}

TEST(GdiStretchBlt, NegativeExtentsMirrorCellsInPlaceAndEverythingIsClipped) {
  std::vector<platform::RGBQUAD> table(9);
  for (std::uint8_t i = 1; i <= 8; ++i) table[i] = {i, 0, 0, 0};
  // abcd / efgh
  const DecodedBitmap bitmap = Decode(BitmapFileBuilder(4, 2, 8).Colours(table).Pixels({1, 2, 3, 4, 5, 6, 7, 8}).Build());
  struct Case {
    const char* name;
    int x, y, w, h, sx, sy, sw, sh;
    const char* expected;
  } cases[] = {
      {"Copy", 0, 0, 4, 2, 0, 0, 4, 2, "abcd/efgh"},
      {"MirrorCellOfTwo", 1, 0, -2, 2, 0, 0, 2, 2, "ba../fe.."},
      {"MirrorSecondCell", 3, 0, -2, 2, 2, 0, 2, 2, "..dc/..hg"},
      {"FlipRows", 0, 1, 4, -2, 0, 0, 4, 2, "efgh/abcd"},
      {"MirrorBoth", 3, 1, -4, -2, 0, 0, 4, 2, "hgfe/dcba"},
      {"Double", 0, 0, 4, 2, 0, 0, 2, 1, "aabb/aabb"},
      {"HalfWidth", 0, 0, 2, 1, 0, 0, 4, 1, "bd../...."},
      {"LeftOfTheDestination", -2, 0, 4, 1, 0, 0, 4, 1, "cd../...."},
      {"PastTheRightAndBottom", 2, 1, 4, 2, 0, 0, 4, 2, "..../..ab"},
      {"MirrorPastTheLeft", 1, 0, -4, 1, 0, 0, 4, 1, "ba../...."},
      {"SourceOutsideThePicture", 0, 0, 4, 1, 2, 1, 4, 1, "gh../...."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Destination d = Xrgb32(4, 2);
    ASSERT_TRUE(platform::StretchBlt(d.view, c.x, c.y, c.w, c.h, bitmap, c.sx, c.sy, c.sw, c.sh));
    EXPECT_EQ(Letters(d), c.expected);
    EXPECT_TRUE(d.MarginUntouched());
  }
}

TEST(GdiStretchBlt, RefusesAnEightBitDestinationAndEmptySources) {
  const DecodedBitmap bitmap = Decode(BitmapFileBuilder(1, 1, 24).Pixels({0xFFFFFF}).Build());
  Destination eight(1, 1, 8, 0, 0, 0);
  EXPECT_FALSE(platform::BitBlt(eight.view, 0, 0, 1, 1, bitmap, 0, 0));
  EXPECT_EQ(eight.At(0, 0), 0u);
  Destination d = Xrgb32(1, 1);
  EXPECT_FALSE(platform::StretchBlt(d.view, 0, 0, 1, 1, bitmap, 0, 0, 0, 1));
  EXPECT_FALSE(platform::StretchBlt(d.view, 0, 0, 1, 1, bitmap, 0, 0, 1, -1));
  EXPECT_EQ(d.At(0, 0), 0u);
}

TEST(KeyedTextureImage, KeyedPixelsAndUncoveredTexelsAreTransparentBlack) {
  // magenta is the key; black is an ordinary colour
  const DecodedBitmap bitmap =
      Decode(BitmapFileBuilder(3, 2, 24).Pixels({0xFF00FF, 0x000000, 0x102030, 0xFF00FE, 0xFF00FF, 0xFFFFFF}).Build());
  const std::vector<std::uint32_t> keyed = platform::KeyedTextureImage(bitmap, 0xFFFF00FF, 4, 3);
  const std::vector<std::uint32_t> expected = {
      0,          0xFF000000, 0xFF102030, 0,  //
      0xFFFF00FE, 0,          0xFFFFFFFF, 0,  //
      0,          0,          0,          0,
  };
  EXPECT_EQ(keyed, expected);

  // A key of 0 keys nothing; a smaller texture cuts the picture.
  const std::vector<std::uint32_t> unkeyed = platform::KeyedTextureImage(bitmap, 0, 2, 1);
  EXPECT_EQ(unkeyed, (std::vector<std::uint32_t>{0xFFFF00FF, 0xFF000000}));
  // The key is compared with its alpha: an RGB-only key matches nothing.
  EXPECT_EQ(platform::KeyedTextureImage(bitmap, 0x00FF00FF, 1, 1), (std::vector<std::uint32_t>{0xFFFF00FF}));
}

}  // namespace
