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

std::vector<std::uint32_t> ToXrgb(const PixelBuffer& buffer, const PALETTEENTRY* palette256) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(buffer.Width()) * buffer.Height());
  std::size_t i = 0;
  for (int y = 0; y < buffer.Height(); ++y)
    for (int x = 0; x < buffer.Width(); ++x)
      pixels[i++] = 0xFF000000u | buffer.ReadArgb(x, y, palette256);
  return pixels;
}

}  // namespace platform
