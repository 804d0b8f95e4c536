// D3DX's texture loader of the software Direct3D (see platform/video/d3d9.h).
#include <string>

#include "platform/bitmap_file.h"
#include "platform/d3dx_image.h"
#include "platform/video/d3d9.h"

namespace platform {

HRESULT D3DXCreateTextureFromFileEx(Direct3DDevice9* device, const char* file, UINT width, UINT height, UINT levels,
                                    std::uint32_t usage, D3DFORMAT format, D3DPOOL pool, std::uint32_t, std::uint32_t,
                                    std::uint32_t colourKey, void*, void*, Direct3DTexture9** texture) {
  if (!device || !file || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  DecodedBitmap bitmap;
  std::string error;
  if (!LoadBitmapFile(file, bitmap, error)) return D3DXERR_INVALIDDATA;
  if (width == 0 || width == D3DX_DEFAULT) width = static_cast<UINT>(bitmap.width);
  if (height == 0 || height == D3DX_DEFAULT) height = static_cast<UINT>(bitmap.height);
  if (levels == D3DX_DEFAULT) levels = 1;
  const HRESULT made = D3DXCreateTexture(device, width, height, levels, usage, format, pool, texture);
  if (FAILED(made)) return made;
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  const std::vector<std::uint32_t> texels = KeyedTextureImage(bitmap, colourKey, w, h);
  PixelBuffer& pixels = (*texture)->Level0()->Pixels();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.WriteArgb(x, y, texels[static_cast<std::size_t>(y) * w + x]);
  return D3D_OK;
}

}  // namespace platform
