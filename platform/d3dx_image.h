// The image D3DX's texture loader makes of a bitmap with a colour key: the
// picture decoded to ARGB (alpha 0xFF), placed unscaled at the top left of a
// texture of the asked size, cut where the texture is smaller; texels that
// the picture does not cover are transparent black (0). A pixel equal to the
// key (compared with its alpha, so the key is 0xFFRRGGBB) becomes transparent
// black; a key of 0 keys nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/bitmap_file.h"

namespace platform {

// width x height texels, row after row.
std::vector<std::uint32_t> KeyedTextureImage(const DecodedBitmap& bitmap, std::uint32_t colourKey, int width,
                                             int height);

}  // namespace platform
