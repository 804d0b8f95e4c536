#include "platform/video/pixel_buffer.h"

#include <algorithm>
#include <cstring>

namespace platform {

PixelBuffer::PixelBuffer(int width, int height, PixelFormat format) : m_Format(format) {
  if (width < 1 || height < 1) return;
  m_nWidth = width;
  m_nHeight = height;
  m_nPitch = (width * BytesPerPixel(format) + 15) / 16 * 16;
  m_Bytes.assign(static_cast<std::size_t>(m_nPitch) * height, 0);
}

std::uint32_t PixelBuffer::ReadRaw(int x, int y) const {
  if (!Contains(x, y)) return 0;
  const std::uint8_t* p = Row(y) + x * BytesPerPixel(m_Format);
  switch (BytesPerPixel(m_Format)) {
    case 1: return *p;
    case 2: {
      std::uint16_t v;
      std::memcpy(&v, p, 2);
      return v;
    }
    default: {
      std::uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
}

void PixelBuffer::WriteRaw(int x, int y, std::uint32_t raw) {
  if (!Contains(x, y)) return;
  std::uint8_t* p = Row(y) + x * BytesPerPixel(m_Format);
  switch (BytesPerPixel(m_Format)) {
    case 1: *p = static_cast<std::uint8_t>(raw); break;
    case 2: {
      const auto v = static_cast<std::uint16_t>(raw);
      std::memcpy(p, &v, 2);
      break;
    }
    default: std::memcpy(p, &raw, 4); break;
  }
}

void PixelBuffer::FillRaw(const RECT* rect, std::uint32_t raw) {
  RECT r{0, 0, m_nWidth, m_nHeight};
  if (rect) {
    r.left = std::max(rect->left, 0);
    r.top = std::max(rect->top, 0);
    r.right = std::min(rect->right, m_nWidth);
    r.bottom = std::min(rect->bottom, m_nHeight);
  }
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) WriteRaw(x, y, raw);
}

bool PixelBuffer::CopyFrom(const PixelBuffer& source) {
  if (source.m_nWidth != m_nWidth || source.m_nHeight != m_nHeight || source.m_Format != m_Format)
    return false;
  m_Bytes = source.m_Bytes;
  return true;
}

// Runs once per presented frame: each row is converted in one pass, through
// a table for the formats whose raw values are few.
std::vector<std::uint32_t> ToXrgb(const PixelBuffer& buffer, const PALETTEENTRY* palette256) {
  const int width = buffer.Width(), height = buffer.Height();
  const PixelFormat format = buffer.Format();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const int bytes = BytesPerPixel(format);
  std::vector<std::uint32_t> table;
  if (bytes < 4) {
    table.resize(std::size_t{1} << (8 * bytes));
    for (std::size_t raw = 0; raw < table.size(); ++raw)
      table[raw] = 0xFF000000u | ToArgb(format, static_cast<std::uint32_t>(raw), palette256);
  }
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = buffer.Row(y);
    std::uint32_t* out = pixels.data() + static_cast<std::size_t>(y) * width;
    if (bytes == 1) {
      for (int x = 0; x < width; ++x) out[x] = table[row[x]];
    } else if (bytes == 2) {
      for (int x = 0; x < width; ++x) {
        std::uint16_t raw;
        std::memcpy(&raw, row + 2 * x, 2);
        out[x] = table[raw];
      }
    } else {
      std::memcpy(out, row, static_cast<std::size_t>(width) * 4);
      for (int x = 0; x < width; ++x) out[x] |= 0xFF000000u;
    }
  }
  return pixels;
}

}  // namespace platform
