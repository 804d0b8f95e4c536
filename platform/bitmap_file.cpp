#include "platform/bitmap_file.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <utility>

#include "platform/files.h"

namespace platform {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV4HeaderSize = 108;
constexpr std::uint32_t kV5HeaderSize = 124;

enum Compression : std::uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

// Little-endian reads at an offset the caller has checked.
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(U16(b, at)) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

// Widens an n-bit channel value to 8 bits by repeating its bits.
std::uint8_t WidenChannel(std::uint32_t value, int bits) {
  if (bits >= 8) return static_cast<std::uint8_t>(value >> (bits - 8));
  std::uint32_t wide = 0;
  int have = 0;
  while (have < 8) {
    wide = wide << bits | value;
    have += bits;
  }
  return static_cast<std::uint8_t>(wide >> (have - 8));
}

std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  return WidenChannel((pixel & mask) >> shift, std::popcount(mask));
}

// Masks must each be one run of bits, inside the pixel, and not overlap.
bool MasksUsable(std::uint32_t r, std::uint32_t g, std::uint32_t b, int bitsPerPixel) {
  const std::uint64_t limit = (std::uint64_t{1} << bitsPerPixel) - 1;
  for (std::uint32_t m : {r, g, b}) {
    if (m == 0 || m > limit) return false;
    const std::uint32_t run = m >> std::countr_zero(m);
    if ((run & (run + 1)) != 0) return false;
  }
  return (r & g) == 0 && (r & b) == 0 && (g & b) == 0;
}

// Expands RLE8 or RLE4 data into the bottom-up rows of `bitmap` (already
// sized and zeroed). The data is read as pairs of bytes; pixels that fall
// outside the picture are dropped. False when a code runs past the data.
bool ExpandRle(std::span<const std::uint8_t> data, bool fourBit, DecodedBitmap& bitmap) {
  std::int64_t x = 0;
  std::int64_t y = 0;  // counted from the bottom row, as stored
  const auto put = [&](std::uint8_t index) {
    if (x < bitmap.width && y < bitmap.height) {
      std::uint8_t* row = bitmap.bits.data() + static_cast<std::size_t>(y) * bitmap.widthBytes;
      if (fourBit) {
        std::uint8_t& byte = row[x / 2];
        byte = (x % 2 == 0) ? static_cast<std::uint8_t>((byte & 0x0F) | index << 4)
                            : static_cast<std::uint8_t>((byte & 0xF0) | index);
      } else {
        row[x] = index;
      }
    }
    ++x;
  };
  std::size_t at = 0;
  while (at < data.size() && y < bitmap.height) {
    if (data.size() - at < 2) return false;
    const int count = data[at];
    const std::uint8_t code = data[at + 1];
    at += 2;
    if (count > 0) {  // a run of one index (RLE4: two alternating indices)
      for (int i = 0; i < count; ++i)
        put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? code >> 4 : code & 0x0F) : code);
    } else if (code == 0) {  // end of line
      x = 0;
      ++y;
    } else if (code == 1) {  // end of picture
      return true;
    } else if (code == 2) {  // move right and up
      if (data.size() - at < 2) return false;
      x += data[at];
      y += data[at + 1];
      at += 2;
    } else {  // `code` literal indices, padded to a whole 16-bit word
      const std::size_t bytes = fourBit ? (code + 1) / 2 : code;
      const std::size_t padded = (bytes + 1) & ~std::size_t{1};
      if (data.size() - at < padded) return false;
      for (int i = 0; i < code; ++i) {
        const std::uint8_t byte = data[at + (fourBit ? i / 2 : i)];
        put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
      }
      at += padded;
    }
  }
  return true;
}

bool Fail(std::string& error, const char* reason) {
  error = reason;
  return false;
}

}  // namespace

int DecodedBitmap::IndexAt(int x, int yFromTop) const {
  const std::uint8_t* row = Row(yFromTop);
  switch (bitsPerPixel) {
    case 1: return row[x / 8] >> (7 - x % 8) & 1;
    case 4: return row[x / 2] >> (x % 2 == 0 ? 4 : 0) & 0x0F;
    case 8: return row[x];
    default: return 0;
  }
}

std::uint32_t DecodedBitmap::ColourAt(int x, int yFromTop) const {
  const std::uint8_t* row = Row(yFromTop);
  std::uint8_t r = 0, g = 0, b = 0;
  switch (bitsPerPixel) {
    case 16: {
      const std::uint32_t pixel = static_cast<std::uint32_t>(row[2 * x] | row[2 * x + 1] << 8);
      r = Channel(pixel, redMask);
      g = Channel(pixel, greenMask);
      b = Channel(pixel, blueMask);
      break;
    }
    case 24:
    case 32: {
      const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bitsPerPixel / 8);
      b = p[0];
      g = p[1];
      r = p[2];
      break;
    }
    default: {
      const RGBQUAD& c = colours[static_cast<std::size_t>(IndexAt(x, yFromTop))];
      r = c.rgbRed;
      g = c.rgbGreen;
      b = c.rgbBlue;
    }
  }
  return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | b;
}

bool DecodeBitmapFile(std::span<const std::uint8_t> file, DecodedBitmap& result, std::string& error) {
  result = DecodedBitmap{};
  DecodedBitmap bitmap;
  if (file.size() < kFileHeaderSize + 4) return Fail(error, "file shorter than a bitmap header");
  if (file[0] != 'B' || file[1] != 'M') return Fail(error, "not a bitmap file (no BM signature)");
  const std::uint32_t pixelOffset = U32(file, 10);
  const std::uint32_t headerSize = U32(file, kFileHeaderSize);
  if (headerSize != kCoreHeaderSize && headerSize != kInfoHeaderSize && headerSize != kV4HeaderSize &&
      headerSize != kV5HeaderSize)
    return Fail(error, "unsupported bitmap header size");
  if (file.size() < kFileHeaderSize + headerSize) return Fail(error, "file shorter than its header");

  const std::size_t h = kFileHeaderSize;
  std::int64_t width = 0, height = 0;
  std::uint32_t planes = 0, bitsPerPixel = 0, compression = BI_RGB, imageSize = 0, coloursUsed = 0;
  std::size_t colourEntrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    width = U16(file, h + 4);
    height = U16(file, h + 6);
    planes = U16(file, h + 8);
    bitsPerPixel = U16(file, h + 10);
    colourEntrySize = 3;
  } else {
    width = static_cast<std::int32_t>(U32(file, h + 4));
    height = static_cast<std::int32_t>(U32(file, h + 8));
    planes = U16(file, h + 12);
    bitsPerPixel = U16(file, h + 14);
    compression = U32(file, h + 16);
    imageSize = U32(file, h + 20);
    coloursUsed = U32(file, h + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kLargestBitmapSide || height > kLargestBitmapSide)
    return Fail(error, "bitmap width or height out of range");
  if (planes != 1) return Fail(error, "bitmap planes other than 1");
  if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
      bitsPerPixel != 24 && bitsPerPixel != 32)
    return Fail(error, "unsupported bits per pixel");
  switch (compression) {
    case BI_RGB: break;
    case BI_RLE8:
    case BI_RLE4:
      if (bitsPerPixel != (compression == BI_RLE8 ? 8u : 4u))
        return Fail(error, "run-length compression does not match the bits per pixel");
      if (topDown) return Fail(error, "top-down run-length bitmap");
      break;
    case BI_BITFIELDS:
      if (bitsPerPixel != 16 && bitsPerPixel != 32)
        return Fail(error, "bit fields need 16 or 32 bits per pixel");
      break;
    default: return Fail(error, "unsupported bitmap compression");
  }

  bitmap.width = static_cast<int>(width);
  bitmap.height = static_cast<int>(height);
  bitmap.bitsPerPixel = static_cast<int>(bitsPerPixel);
  const std::int64_t stride = (width * bitsPerPixel + 31) / 32 * 4;
  bitmap.widthBytes = static_cast<int>(stride);

  // Masks: in the V4 and V5 headers, after the info header otherwise.
  std::size_t tableAt = kFileHeaderSize + headerSize;
  if (bitsPerPixel == 16 || bitsPerPixel == 32) {
    if (compression == BI_BITFIELDS) {
      std::size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
      if (headerSize == kInfoHeaderSize) {
        if (file.size() < masksAt + 12) return Fail(error, "file shorter than its bit-field masks");
        tableAt += 12;
      }
      bitmap.redMask = U32(file, masksAt);
      bitmap.greenMask = U32(file, masksAt + 4);
      bitmap.blueMask = U32(file, masksAt + 8);
      if (!MasksUsable(bitmap.redMask, bitmap.greenMask, bitmap.blueMask, static_cast<int>(bitsPerPixel)))
        return Fail(error, "unusable bit-field masks");
    } else if (bitsPerPixel == 16) {
      bitmap.redMask = 0x7C00;
      bitmap.greenMask = 0x03E0;
      bitmap.blueMask = 0x001F;
    } else {
      bitmap.redMask = 0xFF0000;
      bitmap.greenMask = 0x00FF00;
      bitmap.blueMask = 0x0000FF;
    }
  }
  if (pixelOffset < tableAt || pixelOffset > file.size())
    return Fail(error, "bitmap pixel data outside the file");

  if (bitsPerPixel <= 8) {
    const std::size_t most = std::size_t{1} << bitsPerPixel;
    const std::size_t asked = (coloursUsed == 0 || coloursUsed > most) ? most : coloursUsed;
    const std::size_t room = (pixelOffset - tableAt) / colourEntrySize;
    bitmap.colours.assign(most, RGBQUAD{});
    for (std::size_t i = 0; i < std::min(asked, room); ++i) {
      const std::size_t at = tableAt + i * colourEntrySize;
      bitmap.colours[i] = {file[at], file[at + 1], file[at + 2], 0};
    }
  }

  const std::size_t rows = static_cast<std::size_t>(height);
  const std::size_t pixelBytes = static_cast<std::size_t>(stride) * rows;
  const std::span<const std::uint8_t> data = file.subspan(pixelOffset);
  if (compression == BI_RLE8 || compression == BI_RLE4) {
    if (imageSize > data.size()) return Fail(error, "file shorter than its compressed pixel data");
    bitmap.bits.assign(pixelBytes, 0);
    if (!ExpandRle(imageSize ? data.first(imageSize) : data, compression == BI_RLE4, bitmap))
      return Fail(error, "run-length data ends inside a code");
    result = std::move(bitmap);
    return true;
  }
  if (data.size() < pixelBytes) return Fail(error, "file shorter than its pixel data");
  bitmap.bits.resize(pixelBytes);
  for (std::size_t r = 0; r < rows; ++r) {
    const std::size_t from = (topDown ? rows - 1 - r : r) * static_cast<std::size_t>(stride);
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(from), stride,
                bitmap.bits.begin() + static_cast<std::ptrdiff_t>(r * stride));
  }
  if (bitsPerPixel == 32) {
    // Rewrite every pixel as B, G, R, 0 so that readers may take its bytes.
    for (std::size_t at = 0; at < pixelBytes; at += 4) {
      const std::uint32_t pixel = U32(bitmap.bits, at);
      bitmap.bits[at] = Channel(pixel, bitmap.blueMask);
      bitmap.bits[at + 1] = Channel(pixel, bitmap.greenMask);
      bitmap.bits[at + 2] = Channel(pixel, bitmap.redMask);
      bitmap.bits[at + 3] = 0;
    }
    bitmap.redMask = 0xFF0000;
    bitmap.greenMask = 0x00FF00;
    bitmap.blueMask = 0x0000FF;
  }
  result = std::move(bitmap);
  return true;
}

bool LoadBitmapFile(std::string_view programPath, DecodedBitmap& bitmap, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadProgramFile(programPath, bytes)) {
    bitmap = DecodedBitmap{};
    error = "file cannot be read";
    return false;
  }
  return DecodeBitmapFile(bytes, bitmap, error);
}

}  // namespace platform
