// Builds Windows bitmap files of every variant for tests, byte by byte:
//
//   BitmapFileBuilder(3, 2, 8).Colours({...}).Pixels({0, 1, 2, 2, 1, 0}).Build();
//
// Pixels are given top-down, one value a pixel: an index up to 8 bits, the
// raw 16-bit word, 0xRRGGBB at 24 bits, the raw 32-bit word at 32 bits.
// Build() writes them bottom-up (or top-down after TopDown()), each row
// padded to 4 bytes, after the file header, the chosen info header, the
// masks and the colour table, with the offsets and sizes a writer would set.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/bitmap_file.h"

class BitmapFileBuilder {
 public:
  BitmapFileBuilder(int width, int height, int bitsPerPixel)
      : m_Width(width), m_Height(height), m_Bits(bitsPerPixel) {}

  BitmapFileBuilder& HeaderSize(std::uint32_t size) { m_HeaderSize = size; return *this; }
  BitmapFileBuilder& TopDown() { m_TopDown = true; return *this; }
  BitmapFileBuilder& Planes(std::uint16_t planes) { m_Planes = planes; return *this; }
  BitmapFileBuilder& Compression(std::uint32_t compression) { m_Compression = compression; return *this; }
  // The table written; biClrUsed is its size unless given.
  BitmapFileBuilder& Colours(std::vector<platform::RGBQUAD> colours, std::int64_t coloursUsed = -1) {
    m_Colours = std::move(colours);
    m_ColoursUsed = coloursUsed;
    return *this;
  }
  // BI_BITFIELDS with these masks.
  BitmapFileBuilder& BitFields(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    m_Compression = 3;
    m_Masks = {red, green, blue};
    return *this;
  }
  BitmapFileBuilder& Pixels(std::vector<std::uint32_t> topDown) { m_Pixels = std::move(topDown); return *this; }
  // BI_RLE8 or BI_RLE4 (by the depth) with these codes as the pixel data.
  BitmapFileBuilder& Rle(std::vector<std::uint8_t> codes) {
    m_Compression = m_Bits == 4 ? 2 : 1;
    m_Rle = std::move(codes);
    return *this;
  }

  int Stride() const { return (m_Width * m_Bits + 31) / 32 * 4; }

  std::vector<std::uint8_t> Build() const {
    const bool core = m_HeaderSize == 12;
    const std::uint32_t entry = core ? 3 : 4;
    const std::uint32_t maskBytes = (m_Compression == 3 && m_HeaderSize == 40) ? 12 : 0;
    const std::uint32_t offset =
        14 + m_HeaderSize + maskBytes + entry * static_cast<std::uint32_t>(m_Colours.size());
    const std::vector<std::uint8_t> data = m_Rle.empty() ? StoredRows() : m_Rle;
    std::vector<std::uint8_t> out;
    Put(out, 'B', 1);
    Put(out, 'M', 1);
    Put(out, offset + data.size(), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, m_HeaderSize, 4);
    if (core) {
      Put(out, m_Width, 2);
      Put(out, m_Height, 2);
      Put(out, m_Planes, 2);
      Put(out, m_Bits, 2);
    } else {
      Put(out, m_Width, 4);
      Put(out, m_TopDown ? -m_Height : m_Height, 4);
      Put(out, m_Planes, 2);
      Put(out, m_Bits, 2);
      Put(out, m_Compression, 4);
      Put(out, data.size(), 4);
      Put(out, 2835, 4);
      Put(out, 2835, 4);
      Put(out, m_ColoursUsed >= 0 ? m_ColoursUsed : static_cast<std::int64_t>(m_Colours.size()), 4);
      Put(out, 0, 4);
      if (m_HeaderSize > 40) {
        for (std::uint32_t m : m_Masks) Put(out, m, 4);
        out.resize(14 + m_HeaderSize, 0);  // alpha mask, colour space and the rest: zero
      }
    }
    if (maskBytes)
      for (std::uint32_t m : m_Masks) Put(out, m, 4);
    for (const platform::RGBQUAD& c : m_Colours) {
      out.push_back(c.rgbBlue);
      out.push_back(c.rgbGreen);
      out.push_back(c.rgbRed);
      if (!core) out.push_back(c.rgbReserved);
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
  }

 private:
  static void Put(std::vector<std::uint8_t>& out, std::int64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }

  std::vector<std::uint8_t> StoredRows() const {
    std::vector<std::uint8_t> rows;
    if (m_Width <= 0 || m_Height <= 0) return rows;
    for (int r = 0; r < m_Height; ++r) {
      const int y = m_TopDown ? r : m_Height - 1 - r;
      std::vector<std::uint8_t> row(static_cast<std::size_t>(Stride()), 0);
      for (int x = 0; x < m_Width; ++x) {
        const std::size_t at = static_cast<std::size_t>(y) * m_Width + x;
        const std::uint32_t v = at < m_Pixels.size() ? m_Pixels[at] : 0;
        if (m_Bits < 8) {
          const int perByte = 8 / m_Bits;
          const int shift = 8 - m_Bits * (x % perByte + 1);
          row[x / perByte] |= static_cast<std::uint8_t>(v << shift);
        } else {
          for (int i = 0; i < m_Bits / 8; ++i)
            row[static_cast<std::size_t>(x) * (m_Bits / 8) + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
      }
      rows.insert(rows.end(), row.begin(), row.end());
    }
    return rows;
  }

  int m_Width;
  int m_Height;
  int m_Bits;
  std::uint32_t m_HeaderSize = 40;
  bool m_TopDown = false;
  std::uint16_t m_Planes = 1;
  std::uint32_t m_Compression = 0;
  std::vector<platform::RGBQUAD> m_Colours;
  std::int64_t m_ColoursUsed = -1;
  std::vector<std::uint32_t> m_Masks{0, 0, 0};
  std::vector<std::uint32_t> m_Pixels;
  std::vector<std::uint8_t> m_Rle;
};
