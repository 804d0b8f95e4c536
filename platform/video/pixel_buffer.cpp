#include "platform/video/pixel_buffer.h"

#include <algorithm>
#include <cstring>

#include "platform/video/vector_clones.h"

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

namespace {

// 32 bytes of pixels, the unit of a fill's stores.
constexpr std::size_t kFillBlock = 32;
using FillBlock = std::uint8_t __attribute__((vector_size(kFillBlock)));

// Fills rows of the given bytes from first, pitch bytes apart, with the
// block repeated, a whole block a store: the first and the last block
// of a row unaligned, those between on 32-byte boundaries (the stores
// overlap where they meet; each starts on a pixel, as rows hold whole
// pixels). Rows shorter than a block take its start.
VECTOR_CLONES void FillRows(std::uint8_t* first, int rows, int pitch, std::size_t bytes, const FillBlock& pixels) {
  const FillBlock block = pixels;  // a local: the rows' stores cannot change it
  std::uint8_t* p = first;
  for (int r = 0; r < rows; ++r, p += pitch) {
    if (bytes < kFillBlock) {
      std::memcpy(p, &block, bytes);
      continue;
    }
    std::memcpy(p, &block, kFillBlock);
    std::uint8_t* const last = p + bytes - kFillBlock;
    for (std::uint8_t* q = p + (kFillBlock - reinterpret_cast<std::uintptr_t>(p) % kFillBlock) % kFillBlock; q < last;
         q += kFillBlock)
      std::memcpy(q, &block, kFillBlock);
    std::memcpy(last, &block, kFillBlock);
  }
}

}  // namespace

void PixelBuffer::FillRaw(const RECT* rect, std::uint32_t raw) {
  RECT r{0, 0, m_nWidth, m_nHeight};
  if (rect) {
    r.left = std::max(rect->left, 0);
    r.top = std::max(rect->top, 0);
    r.right = std::min(rect->right, m_nWidth);
    r.bottom = std::min(rect->bottom, m_nHeight);
  }
  if (r.left >= r.right || r.top >= r.bottom) return;
  const int bytes = BytesPerPixel(m_Format);
  // Made once: made afresh for each row, the block would be read back
  // before the bytes written into it had settled.
  FillBlock block;
  for (std::size_t k = 0; k < kFillBlock; k += static_cast<std::size_t>(bytes))
    std::memcpy(reinterpret_cast<std::uint8_t*>(&block) + k, &raw, static_cast<std::size_t>(bytes));
  FillRows(Row(r.top) + r.left * bytes, r.bottom - r.top, m_nPitch, static_cast<std::size_t>(r.right - r.left) * bytes,
           block);
}

bool PixelBuffer::CopyFrom(const PixelBuffer& source) {
  if (source.m_nWidth != m_nWidth || source.m_nHeight != m_nHeight || source.m_Format != m_Format)
    return false;
  m_Bytes = source.m_Bytes;
  return true;
}

namespace {

// The 0xFFRRGGBB value of every raw value of a 16-bit format, built once.
const std::uint32_t* Table16(PixelFormat format) {
  static const auto build = [](PixelFormat f) {
    std::vector<std::uint32_t> table(0x10000);
    for (std::uint32_t raw = 0; raw < table.size(); ++raw) table[raw] = 0xFF000000u | ToArgb(f, raw, nullptr);
    return table;
  };
  static const std::vector<std::uint32_t> rgb565 = build(PixelFormat::RGB565), xrgb1555 = build(PixelFormat::XRGB1555),
                                          argb1555 = build(PixelFormat::ARGB1555);
  switch (format) {
    case PixelFormat::RGB565: return rgb565.data();
    case PixelFormat::XRGB1555: return xrgb1555.data();
    default: return argb1555.data();
  }
}

}  // namespace

// Runs once per presented frame: each row is converted in one pass, the
// 16-bit formats through a table made once, 8-bit through the palette's.
void ToXrgb(const PixelBuffer& buffer, const PALETTEENTRY* palette256, std::vector<std::uint32_t>& pixels) {
  const int width = buffer.Width(), height = buffer.Height();
  const PixelFormat format = buffer.Format();
  pixels.resize(static_cast<std::size_t>(width) * height);
  const int bytes = BytesPerPixel(format);
  std::uint32_t palette[256];
  if (bytes == 1)
    for (std::uint32_t raw = 0; raw < 256; ++raw) palette[raw] = 0xFF000000u | ToArgb(format, raw, palette256);
  const std::uint32_t* table16 = bytes == 2 ? Table16(format) : nullptr;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = buffer.Row(y);
    std::uint32_t* out = pixels.data() + static_cast<std::size_t>(y) * width;
    if (bytes == 1) {
      for (int x = 0; x < width; ++x) out[x] = palette[row[x]];
    } else if (bytes == 2) {
      for (int x = 0; x < width; ++x) {
        std::uint16_t raw;
        std::memcpy(&raw, row + 2 * x, 2);
        out[x] = table16[raw];
      }
    } else {
      for (int x = 0; x < width; ++x) {
        std::uint32_t raw;
        std::memcpy(&raw, row + 4 * x, 4);
        out[x] = raw | 0xFF000000u;
      }
    }
  }
}

std::vector<std::uint32_t> ToXrgb(const PixelBuffer& buffer, const PALETTEENTRY* palette256) {
  std::vector<std::uint32_t> pixels;
  ToXrgb(buffer, palette256, pixels);
  return pixels;
}

}  // namespace platform
