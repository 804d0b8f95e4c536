// bmp\*.bmp: the bitmap decoder, then every reader of its result (colours,
// GDI copies into a 16-bit surface, the keyed texture image, the loads into
// 8- and 16-bit surface pixels with mirrored cells).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "graphics/bitmap_copy.h"
#include "platform/bitmap_file.h"
#include "platform/d3dx_image.h"
#include "platform/gdi_blit.h"

namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// A run-length file may legitimately expand a few bytes into a gigabyte;
// such inputs only slow the fuzzer down.
bool HugeRunLengthPicture(const std::uint8_t* data, std::size_t size) {
  if (size < 38 || U32(data + 14) < 40) return false;
  const std::uint32_t compression = U32(data + 30);
  const std::int64_t pixels = static_cast<std::int64_t>(static_cast<std::int32_t>(U32(data + 18))) *
                              static_cast<std::int32_t>(U32(data + 22));
  return (compression == 1 || compression == 2) && (pixels > (1 << 22) || pixels < -(1 << 22));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (HugeRunLengthPicture(data, size)) return 0;
  platform::DecodedBitmap bitmap;
  std::string error;
  if (!platform::DecodeBitmapFile(std::span(data, size), bitmap, error)) return 0;
  std::uint32_t sum = 0;
  for (int y = 0; y < bitmap.height && y < 64; ++y)
    for (int x = 0; x < bitmap.width && x < 64; ++x) sum += bitmap.ColourAt(x, y);
  std::vector<std::uint8_t> pixels(32 * 32 * 2);
  const platform::DeviceContextPixels surface{pixels.data(), 64, 32, 32, 16, 0xF800, 0x07E0, 0x001F};
  platform::BitBlt(surface, -3, -3, bitmap.width, bitmap.height, bitmap, 0, 0);
  platform::StretchBlt(surface, 31, 31, -32, -32, bitmap, 1, 1, bitmap.width, bitmap.height);
  // Cells from the input's own bytes, so that odd and oversized cells occur.
  const MirrorCells cells{data[size / 2] % 40, data[size / 3] % 40};
  std::vector<std::uint8_t> eight(24 * 20);
  CopyBitmapIndices(bitmap, {eight.data(), 24, 23, 20, 8}, cells, PaletteBuffer{});
  DDCOLORFORMAT format;
  SetColourFormatFromMasks(format, 0xF800, 0x07E0, 0x001F, 16);
  ConvertBitmapTo16(bitmap, {pixels.data(), 64, 31, 32, 16}, cells, format, {255, 0, 255}, 0xF81F);
  CopyBitmapThroughGdi(bitmap, surface, cells);
  BuildPaletteNumberMap({pixels.data(), 64, 32, 32, 16}, PaletteBuffer{}, format);
  const std::vector<std::uint32_t> texels = platform::KeyedTextureImage(bitmap, 0xFF000000 | sum, 16, 16);
  return texels.size() == 256 ? 0 : 1;
}
