#include "platform/d3dx_image.h"

#include <algorithm>

namespace platform {

std::vector<std::uint32_t> KeyedTextureImage(const DecodedBitmap& bitmap, std::uint32_t colourKey, int width,
                                             int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  std::vector<std::uint32_t> texels(static_cast<std::size_t>(width) * height, 0);
  const int columns = std::min(width, bitmap.width);
  const int rows = std::min(height, bitmap.height);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      const std::uint32_t argb = 0xFF000000u | bitmap.ColourAt(x, y);
      texels[static_cast<std::size_t>(y) * width + x] = (colourKey != 0 && argb == colourKey) ? 0 : argb;
    }
  }
  return texels;
}

}  // namespace platform
