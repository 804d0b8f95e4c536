#include "platform/video/d3d9_opaque_rows.h"

#include <cstring>

#include "platform/video/vector_clones.h"

namespace platform {

namespace {

// The bits that an opaque texel of Bytes bytes has all set.
template <int Bytes>
constexpr std::uint32_t kOpaqueBits = Bytes == 2 ? 0x8000u : 0xFF000000u;

template <int Bytes>
std::uint32_t Texel(const std::uint8_t* row, int x) {
  if constexpr (Bytes == 2) {
    std::uint16_t v;
    std::memcpy(&v, row + 2 * x, 2);
    return v;
  } else {
    std::uint32_t v;
    std::memcpy(&v, row + 4 * x, 4);
    return v;
  }
}

// Whether every texel of the row is opaque: one AND a texel, on vectors
// (a picture's rows are all opaque, and all of them are read).
VECTOR_CLONES bool AllOpaque16(const std::uint8_t* row, int n) {
  std::uint32_t all = kOpaqueBits<2>;
  for (int k = 0; k < n; ++k) all &= Texel<2>(row, k);
  return all == kOpaqueBits<2>;
}
VECTOR_CLONES bool AllOpaque32(const std::uint8_t* row, int n) {
  std::uint32_t all = kOpaqueBits<4>;
  for (int k = 0; k < n; ++k) all &= Texel<4>(row, k);
  return all == kOpaqueBits<4>;
}

template <int Bytes>
void Measure(const std::uint8_t* row, int n, int& first, int& last) {
  first = 0;
  last = -1;
  if (Bytes == 2 ? AllOpaque16(row, n) : AllOpaque32(row, n)) return;
  const auto clear = [&](int x) { return (Texel<Bytes>(row, x) & kOpaqueBits<Bytes>) != kOpaqueBits<Bytes>; };
  while (!clear(first)) ++first;
  last = n - 1;
  while (!clear(last)) --last;
}

}  // namespace

bool OpaqueRows::Opaque(const PixelBuffer& texels, int y, int first, int last) const {
  if (m_Rows.size() != static_cast<std::size_t>(texels.Height())) m_Rows.assign(static_cast<std::size_t>(texels.Height()), Span{});
  Span& row = m_Rows[static_cast<std::size_t>(y)];
  if (row.generation != m_nGeneration) {
    if (BytesPerPixel(texels.Format()) == 2) {
      Measure<2>(texels.Row(y), texels.Width(), row.first, row.last);
    } else {
      Measure<4>(texels.Row(y), texels.Width(), row.first, row.last);
    }
    row.generation = m_nGeneration;
  }
  return last < row.first || first > row.last;
}

}  // namespace platform
