#include "platform/video/pixel_format.h"

#include <gtest/gtest.h>

#include "platform/video/pixel_buffer.h"

namespace {

using namespace platform;

struct ConversionCase {
  const char* name;
  PixelFormat format;
  std::uint32_t argb;      // written
  std::uint32_t raw;       // stored
  std::uint32_t readBack;  // read
};

class PixelConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(PixelConversion, StoresAndReadsBackAsSpecified) {
  const ConversionCase& c = GetParam();
  EXPECT_EQ(FromArgb(c.format, c.argb), c.raw);
  EXPECT_EQ(ToArgb(c.format, c.raw, nullptr), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, PixelConversion,
    testing::Values(
        ConversionCase{"Rgb565White", PixelFormat::RGB565, 0xFFFFFFFF, 0xFFFF, 0xFFFFFFFF},
        // 0x80 rounds to 16 of 31 and 32 of 63; they expand by bit replication.
        ConversionCase{"Rgb565Grey", PixelFormat::RGB565, 0xFF808080, (16u << 11) | (32u << 5) | 16u, 0xFF848284},
        ConversionCase{"Rgb565RoundsDown", PixelFormat::RGB565, 0xFF010101, 0x0000, 0xFF000000},
        ConversionCase{"Rgb565RoundsUp", PixelFormat::RGB565, 0xFF050505, (1u << 11) | (1u << 5) | 1u, 0xFF080408},
        ConversionCase{"Xrgb1555IgnoresAlpha", PixelFormat::XRGB1555, 0x00FF0000, 0x7C00, 0xFFFF0000},
        ConversionCase{"Argb1555OpaqueFrom128", PixelFormat::ARGB1555, 0x8000FF00, 0x83E0, 0xFF00FF00},
        ConversionCase{"Argb1555ClearBelow128", PixelFormat::ARGB1555, 0x7F0000FF, 0x001F, 0x000000FF},
        ConversionCase{"Xrgb8888WritesXAsOnes", PixelFormat::XRGB8888, 0x00123456, 0xFF123456, 0xFF123456},
        ConversionCase{"Argb8888KeepsAlpha", PixelFormat::ARGB8888, 0x40123456, 0x40123456, 0x40123456}),
    [](const testing::TestParamInfo<ConversionCase>& info) { return std::string(info.param.name); });

TEST(PixelFormat, IndexedPixelsReadThroughThePalette) {
  PALETTEENTRY palette[256] = {};
  palette[7] = {10, 20, 30, 0};
  EXPECT_EQ(ToArgb(PixelFormat::Index8, 7, palette), 0xFF0A141Eu);
  EXPECT_EQ(ToArgb(PixelFormat::Index8, 7, nullptr), 0xFF000000u);
  EXPECT_EQ(FromArgb(PixelFormat::Index8, 0xFFFFFF07), 7u);
}

TEST(PixelFormat, MasksAndSizes) {
  EXPECT_EQ(MasksOf(PixelFormat::RGB565).green, 0x07E0u);
  EXPECT_EQ(MasksOf(PixelFormat::XRGB1555).red, 0x7C00u);
  EXPECT_EQ(MasksOf(PixelFormat::ARGB8888).alpha, 0xFF000000u);
  EXPECT_EQ(BitsPerPixel(PixelFormat::Index8), 8);
  EXPECT_EQ(BytesPerPixel(PixelFormat::ARGB1555), 2);
}

TEST(PixelBuffer, RowsArePaddedAndAccessIsChecked) {
  PixelBuffer buffer(3, 2, PixelFormat::RGB565);
  EXPECT_EQ(buffer.Pitch(), 16);
  EXPECT_EQ(buffer.SizeBytes(), 32u);
  buffer.WriteRaw(2, 1, 0xABCD);
  EXPECT_EQ(buffer.ReadRaw(2, 1), 0xABCDu);
  EXPECT_EQ(buffer.Row(1)[4], 0xCD);
  buffer.WriteRaw(3, 0, 1);  // outside: ignored
  buffer.WriteRaw(-1, 0, 1);
  EXPECT_EQ(buffer.ReadRaw(3, 0), 0u);
  EXPECT_EQ(buffer.ReadRaw(0, 0), 0u);
  EXPECT_TRUE(PixelBuffer(0, 5, PixelFormat::Index8).Empty());
}

TEST(PixelBuffer, FillIsClippedToTheBuffer) {
  PixelBuffer buffer(4, 4, PixelFormat::Index8);
  const RECT rect{-5, 2, 2, 100};
  buffer.FillRaw(&rect, 9);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(buffer.ReadRaw(x, y), (y >= 2 && x < 2) ? 9u : 0u) << x << "," << y;
}

// Fills are stored in blocks of bytes wherever a row allows: every start
// and width writes its pixels, whole, and nothing beside them.
TEST(PixelBuffer, FillWritesItsPixelsAndNothingElseAtEveryStartAndWidth) {
  constexpr int kWidth = 72;
  for (PixelFormat format : {PixelFormat::Index8, PixelFormat::RGB565, PixelFormat::XRGB8888}) {
    SCOPED_TRACE(static_cast<int>(format));
    const std::uint32_t mask = BytesPerPixel(format) == 4 ? 0xFFFFFFFFu : (1u << 8 * BytesPerPixel(format)) - 1;
    PixelBuffer buffer(kWidth, 3, format);
    for (int left = 0; left < 36; ++left)
      for (int width = 0; left + width <= kWidth; ++width) {
        buffer.FillRaw(nullptr, 0xA5A5A5A5u);
        const RECT rect{left, 1, left + width, 2};
        buffer.FillRaw(&rect, 0x12345678u);
        for (int y = 0; y < 3; ++y)
          for (int x = 0; x < kWidth; ++x) {
            const bool inside = y == 1 && x >= left && x < left + width;
            const std::uint32_t expected = (inside ? 0x12345678u : 0xA5A5A5A5u) & mask;
            if (buffer.ReadRaw(x, y) != expected)
              return ADD_FAILURE() << "fill of " << width << " from " << left << ": pixel " << x << "," << y;
          }
      }
  }
}

// The frame handed to the window: every format row by row, padding skipped,
// opaque, equal to reading each pixel on its own.
TEST(PixelBuffer, WholeBufferAsXrgbEqualsEachPixelRead) {
  PALETTEENTRY palette[256] = {};
  for (int n = 0; n < 256; ++n)
    palette[n] = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(255 - n), static_cast<std::uint8_t>(n / 2), 0};
  for (PixelFormat format : {PixelFormat::Index8, PixelFormat::RGB565, PixelFormat::XRGB1555, PixelFormat::ARGB1555,
                             PixelFormat::XRGB8888, PixelFormat::ARGB8888}) {
    SCOPED_TRACE(static_cast<int>(format));
    PixelBuffer buffer(5, 3, format);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) buffer.WriteRaw(x, y, static_cast<std::uint32_t>(0x13579BDFu * (y * 5 + x + 1)));
    const std::vector<std::uint32_t> xrgb = ToXrgb(buffer, palette);
    ASSERT_EQ(xrgb.size(), 15u);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(xrgb[y * 5 + x], 0xFF000000u | buffer.ReadArgb(x, y, palette)) << x << "," << y;
  }
}

}  // namespace
