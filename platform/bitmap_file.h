// Windows bitmap files (.bmp), decoded into the form of a GDI DIB section.
//
// Read: the core header (12 bytes) and the info header (40) with its V4 (108)
// and V5 (124) extensions; 1, 4, 8, 16, 24 and 32 bits per pixel; BI_RGB,
// BI_BITFIELDS (16 and 32 bits), BI_RLE8 (8 bits) and BI_RLE4 (4 bits); rows
// stored bottom-up or top-down (RLE only bottom-up). A colour table shorter
// than the depth allows, or cut short by the pixel data's start, is completed
// with zero entries.
//
// The result is what a DIB section made from the file holds: the pixels at
// the file's depth (RLE expanded to 8 or 4 bits, pixels it skips index 0),
// rows stored bottom-up whatever the file's order, each padded to a multiple
// of 4 bytes. 32-bit pixels are rewritten as the bytes B, G, R, 0 whatever
// masks the file gave; 16-bit pixels keep their words and their masks (5-5-5
// for BI_RGB).
//
// Everything else is refused with a reason: another signature, header size,
// compression or depth, planes other than 1, a width or height of 0 or above
// 32768, masks that are empty, not contiguous, overlapping or wider than the
// pixel, and a file shorter than its headers and pixel data say. Decoding
// never reads outside the bytes it is given.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RGBQUAD {
  std::uint8_t rgbBlue = 0;
  std::uint8_t rgbGreen = 0;
  std::uint8_t rgbRed = 0;
  std::uint8_t rgbReserved = 0;
  bool operator==(const RGBQUAD&) const = default;
};

constexpr int kLargestBitmapSide = 32768;

struct DecodedBitmap {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;  // 1, 4, 8, 16, 24 or 32
  int widthBytes = 0;    // bytes from one stored row to the next
  // 1 << bitsPerPixel entries up to 8 bits per pixel; empty above.
  std::vector<RGBQUAD> colours;
  // Channel masks of 16- and 32-bit pixels (32 bits: always 0xFF0000, 0xFF00, 0xFF).
  std::uint32_t redMask = 0;
  std::uint32_t greenMask = 0;
  std::uint32_t blueMask = 0;
  // Rows bottom-up: row y counted from the top starts at (height - 1 - y) * widthBytes.
  std::vector<std::uint8_t> bits;

  const std::uint8_t* Row(int yFromTop) const {
    return bits.data() + static_cast<std::size_t>(height - 1 - yFromTop) * widthBytes;
  }
  // The colour-table index of a pixel at up to 8 bits per pixel.
  int IndexAt(int x, int yFromTop) const;
  // The colour of a pixel as 0x00RRGGBB; 16-bit channels are widened to 8
  // bits by repeating their bits (31 becomes 255).
  std::uint32_t ColourAt(int x, int yFromTop) const;
};

// False with the reason in `error` when the bytes are not a bitmap this
// decoder reads; `bitmap` is then left empty.
bool DecodeBitmapFile(std::span<const std::uint8_t> file, DecodedBitmap& bitmap, std::string& error);

// Reads and decodes the file at a program path (see MapPath).
bool LoadBitmapFile(std::string_view programPath, DecodedBitmap& bitmap, std::string& error);

}  // namespace platform
