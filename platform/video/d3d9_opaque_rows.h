// Which texels of a texture are opaque, row by row, so that a quad that
// copies opaque texels (a picture, the solid part of a sprite) moves them
// without looking at each: for every row, the span of columns that holds
// its texels that are not opaque (A8R8G8B8: alpha below 0xFF; A1R5G5B5: the
// alpha bit clear). A row is measured when a draw first asks about it after
// the texels last changed. Internal to the software Direct3D 9 device.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/video/pixel_buffer.h"

namespace platform {

class OpaqueRows {
 public:
  // The texels may have changed: every row is measured again when asked.
  void Forget() { ++m_nGeneration; }

  // Whether texels first .. last (inclusive) of row y of texels, which are
  // of A8R8G8B8 or A1R5G5B5, are all opaque.
  bool Opaque(const PixelBuffer& texels, int y, int first, int last) const;

 private:
  struct Span {
    int first = 0, last = -1;  // of the texels not opaque; empty when first > last
    std::uint64_t generation = 0;
  };

  mutable std::vector<Span> m_Rows;
  std::uint64_t m_nGeneration = 1;
};

}  // namespace platform
