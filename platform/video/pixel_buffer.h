// A block of pixels in one format: the memory behind every surface,
// texture and back buffer of the software back ends.
//
// Rows are Pitch() bytes apart; the pitch is the row's bytes rounded up to
// a multiple of 16, so code that steps rows by the width instead of the
// pitch shows up in tests. Pixels start zeroed. Every access is checked:
// ReadRaw outside the buffer gives 0, WriteRaw and FillRaw clip.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/rect.h"
#include "platform/video/pixel_format.h"

namespace platform {

class PixelBuffer {
 public:
  PixelBuffer() = default;
  // Sizes below 1 make an empty buffer.
  PixelBuffer(int width, int height, PixelFormat format);

  int Width() const { return m_nWidth; }
  int Height() const { return m_nHeight; }
  int Pitch() const { return m_nPitch; }  // bytes
  PixelFormat Format() const { return m_Format; }
  bool Empty() const { return m_Bytes.empty(); }
  std::size_t SizeBytes() const { return m_Bytes.size(); }

  std::uint8_t* Bits() { return m_Bytes.data(); }
  const std::uint8_t* Bits() const { return m_Bytes.data(); }
  std::uint8_t* Row(int y) { return m_Bytes.data() + static_cast<std::size_t>(y) * m_nPitch; }
  const std::uint8_t* Row(int y) const { return m_Bytes.data() + static_cast<std::size_t>(y) * m_nPitch; }

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight; }
  std::uint32_t ReadRaw(int x, int y) const;
  void WriteRaw(int x, int y, std::uint32_t raw);
  std::uint32_t ReadArgb(int x, int y, const PALETTEENTRY* palette256 = nullptr) const {
    return ToArgb(m_Format, ReadRaw(x, y), palette256);
  }
  void WriteArgb(int x, int y, std::uint32_t argb) { WriteRaw(x, y, FromArgb(m_Format, argb)); }

  // Fills the part of the rectangle inside the buffer (null: all of it).
  void FillRaw(const RECT* rect, std::uint32_t raw);
  // Copies pixels from a buffer of the same size and format; false, and
  // nothing copied, when they differ.
  bool CopyFrom(const PixelBuffer& source);

 private:
  int m_nWidth = 0;
  int m_nHeight = 0;
  int m_nPitch = 0;
  PixelFormat m_Format = PixelFormat::XRGB8888;
  std::vector<std::uint8_t> m_Bytes;
};

// The whole buffer as 0xFFRRGGBB pixels, rows without padding (8-bit
// buffers through the palette).
std::vector<std::uint32_t> ToXrgb(const PixelBuffer& buffer, const PALETTEENTRY* palette256);
// The same into pixels, which keeps its memory when it is large enough.
void ToXrgb(const PixelBuffer& buffer, const PALETTEENTRY* palette256, std::vector<std::uint32_t>& pixels);

}  // namespace platform
