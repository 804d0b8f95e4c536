// The Direct3D stand-in draws an axis-aligned quad of a two-triangle strip
// row by row, a run of pixels at a time; every pixel must come out as the
// triangle rasteriser draws the same two triangles as a list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/video/d3d9.h"
#include "support/scoped_display_config.h"
#include "support/transformed_vertex.h"

namespace {

using namespace platform;

using Vertex = TransformedVertex;

// The texture is wider than a run of the row shader (64 pixels).
constexpr int kWidth = 100, kHeight = 30, kTextureWidth = 80, kTextureHeight = 6;

// A windowed device whose back buffer holds a pattern, with a patterned
// texture whose alphas are 0, 0xFF and between.
class Canvas {
 public:
  Canvas(D3DFORMAT targetFormat, D3DFORMAT textureFormat, UINT textureWidth = kTextureWidth,
         UINT textureHeight = kTextureHeight) {
    D3DPRESENT_PARAMETERS params;
    params.BackBufferWidth = kWidth;
    params.BackBufferHeight = kHeight;
    params.BackBufferFormat = targetFormat;
    params.Windowed = 1;
    EXPECT_EQ(m_D3D->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &m_Device),
              D3D_OK);
    EXPECT_EQ(m_Device->CreateVertexBuffer(28 * 6, 0, 0x144, D3DPOOL_MANAGED, &m_Buffer, nullptr), D3D_OK);
    EXPECT_EQ(D3DXCreateTexture(m_Device, textureWidth, textureHeight, 1, 0, textureFormat, D3DPOOL_MANAGED,
                                &m_Texture),
              D3D_OK);
    static constexpr std::uint32_t kAlphas[] = {0x00, 0xFF, 0x80, 0xFF, 0x40};
    for (int y = 0; y < static_cast<int>(textureHeight); ++y)
      for (int x = 0; x < static_cast<int>(textureWidth); ++x)
        m_Texture->Level0()->Pixels().WriteArgb(
            x, y, kAlphas[(x + 2 * y) % 5] << 24 | static_cast<std::uint32_t>(x * 30 % 256) << 16 |
                      static_cast<std::uint32_t>(y * 40) << 8 | 0x5Au);
    PixelBuffer& target = m_Device->RenderTarget()->Pixels();
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        target.WriteRaw(x, y, static_cast<std::uint32_t>(x) * 0x01030507u + static_cast<std::uint32_t>(y) * 0x0B0D1113u);
    m_Device->BeginScene();
    m_Device->SetTexture(0, m_Texture);
    m_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    m_Device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_Device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  }
  ~Canvas() {
    m_Device->EndScene();
    m_Buffer->Release();
    m_Texture->Release();
    m_Device->Release();
    m_D3D->Release();
  }

  Direct3DDevice9* Device() { return m_Device; }
  Direct3DSurface9* Texture() { return m_Texture->Level0(); }

  void Draw(std::uint32_t type, const std::vector<Vertex>& vertices, UINT primitives) {
    void* data = nullptr;
    ASSERT_EQ(m_Buffer->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, vertices.data(), vertices.size() * sizeof(Vertex));
    m_Buffer->Unlock();
    m_Device->SetStreamSource(0, m_Buffer, 0, 28);
    m_Device->SetFVF(0x144);
    ASSERT_EQ(m_Device->DrawPrimitive(type, 0, primitives), D3D_OK);
  }

  const PixelBuffer& Pixels() const { return m_Device->RenderTarget()->Pixels(); }

 private:
  ScopedDisplayConfig m_Config;
  Direct3D9* m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
  Direct3DDevice9* m_Device = nullptr;
  Direct3DVertexBuffer9* m_Buffer = nullptr;
  Direct3DTexture9* m_Texture = nullptr;
};

// u in texels, v in texture heights.
struct Shape {
  const char* name;
  float left, top, right, bottom, uLeft, vTop, uRight, vBottom;
};

struct States {
  const char* name;
  std::uint32_t colour;
  void (*set)(Direct3DDevice9& device);
};

void SetStage(Direct3DDevice9& device, std::uint32_t colourOp, std::uint32_t colourArg1, std::uint32_t colourArg2,
              std::uint32_t alphaOp, std::uint32_t alphaArg1, std::uint32_t alphaArg2) {
  device.SetTextureStageState(0, D3DTSS_COLOROP, colourOp);
  device.SetTextureStageState(0, D3DTSS_COLORARG1, colourArg1);
  device.SetTextureStageState(0, D3DTSS_COLORARG2, colourArg2);
  device.SetTextureStageState(0, D3DTSS_ALPHAOP, alphaOp);
  device.SetTextureStageState(0, D3DTSS_ALPHAARG1, alphaArg1);
  device.SetTextureStageState(0, D3DTSS_ALPHAARG2, alphaArg2);
}

// The strip and the list drawn on canvases of their own, pixel for pixel.
int DifferingPixels(const Canvas& strip, const Canvas& list) {
  int differing = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) differing += strip.Pixels().ReadRaw(x, y) != list.Pixels().ReadRaw(x, y);
  return differing;
}

void DrawStripAndList(Canvas& strip, Canvas& list, const Shape& s, float textureWidth, std::uint32_t colour) {
  const auto at = [&](float x, float y, float u, float v) { return Vertex{x, y, 0, 1, colour, u / textureWidth, v}; };
  const Vertex a = at(s.left, s.top, s.uLeft, s.vTop), b = at(s.left, s.bottom, s.uLeft, s.vBottom),
               c = at(s.right, s.top, s.uRight, s.vTop), d = at(s.right, s.bottom, s.uRight, s.vBottom);
  strip.Draw(D3DPT_TRIANGLESTRIP, {a, b, c, d}, 2);
  list.Draw(D3DPT_TRIANGLELIST, {a, b, c, b, c, d}, 2);
}

void SetCopyStage(Direct3DDevice9& device) {
  SetStage(device, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
}

// Every texel opaque, of a colour of its own.
void MakeOpaque(Direct3DSurface9& texture) {
  PixelBuffer& texels = texture.Pixels();
  for (int y = 0; y < texels.Height(); ++y)
    for (int x = 0; x < texels.Width(); ++x)
      texels.WriteArgb(x, y, 0xFF000000u | static_cast<std::uint32_t>(x * 7 % 256) << 16 |
                                 static_cast<std::uint32_t>(y * 19 % 256) << 8 | static_cast<std::uint32_t>(x + y));
}

// The texture formats with alpha, each on targets of its own size and of the
// other size.
constexpr struct {
  D3DFORMAT target, texture;
} kCopyFormats[] = {{D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8},
                    {D3DFMT_A8R8G8B8, D3DFMT_A8R8G8B8},
                    {D3DFMT_R5G6B5, D3DFMT_A1R5G5B5},
                    {D3DFMT_A1R5G5B5, D3DFMT_A1R5G5B5},
                    {D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5},
                    {D3DFMT_X8R8G8B8, D3DFMT_A1R5G5B5},
                    {D3DFMT_R5G6B5, D3DFMT_A8R8G8B8}};

// Texture rows as wide as the target's, so that whole rows lie end to end
// on both.
constexpr int kWholeRowsHeight = 12;

// Opaque rows are copied whole, and rows that lie end to end on both sides
// at once; a row counts as opaque only where its clear and half-clear texels
// lie outside the quad's columns.
TEST(Direct3DQuads, OpaqueRowsCopyAsTheirTrianglesDraw) {
  // Texels that are not opaque: column, row, alpha.
  const struct {
    int x, y;
    std::uint32_t alpha;
  } holes[] = {{3, 1, 0}, {70, 2, 0}, {10, 3, 0x80}, {0, 4, 0}, {99, 4, 0x40}, {64, 7, 0x40}, {63, 8, 0}};
  const Shape shapes[] = {
      {"whole rows", -0.5f, -0.5f, 99.5f, 11.5f, 0, 0, 100, 1},
      {"whole rows lower down", -0.5f, 10.5f, 99.5f, 22.5f, 0, 0, 100, 1},
      {"whole rows, each twice", -0.5f, -0.5f, 99.5f, 23.5f, 0, 0, 100, 1},
      {"the columns left of row 2's hole", 4.5f, 2.5f, 40.5f, 14.5f, 5, 0, 41, 1},
      {"the columns right of row 1's hole", 19.5f, 0.5f, 79.5f, 12.5f, 4, 0, 64, 1},
      {"the columns up to row 1's hole", 9.5f, 0.5f, 13.5f, 12.5f, 0, 0, 4, 1},
      {"the columns between the holes of rows 7 and 8", 0.5f, 0.5f, 1.5f, 12.5f, 64, 0, 65, 1},
      {"wider than the texture's end", 0.5f, 0.5f, 30.5f, 12.5f, 90, 0, 120, 1},
  };
  for (const auto& format : kCopyFormats) {
    for (const Shape& shape : shapes) {
      Canvas strip(format.target, format.texture, kWidth, kWholeRowsHeight),
          list(format.target, format.texture, kWidth, kWholeRowsHeight);
      for (Canvas* canvas : {&strip, &list}) {
        MakeOpaque(*canvas->Texture());
        for (const auto& hole : holes)
          canvas->Texture()->Pixels().WriteArgb(hole.x, hole.y, hole.alpha << 24 | 0x123456u);
        SetCopyStage(*canvas->Device());
      }
      DrawStripAndList(strip, list, shape, kWidth, 0xFFFFFFFF);
      EXPECT_EQ(DifferingPixels(strip, list), 0)
          << shape.name << ", target format " << format.target << ", texture format " << format.texture;
    }
  }
}

// A draw learns which rows are opaque; texels written after it, through a
// lock or through the pixels, are drawn as they are now.
TEST(Direct3DQuads, TexelsWrittenAfterADrawAreDrawnAsTheyAreNow) {
  const struct {
    const char* name;
    void (*write)(Direct3DSurface9& texture, int x, int y, std::uint32_t argb);
  } ways[] = {
      {"locked",
       [](Direct3DSurface9& texture, int x, int y, std::uint32_t argb) {
         D3DLOCKED_RECT locked;
         const RECT texel{x, y, x + 1, y + 1};
         ASSERT_EQ(texture.LockRect(&locked, &texel, 0), D3D_OK);
         // The format read without handing the pixels out for writing.
         const PixelFormat format = std::as_const(texture).Pixels().Format();
         const std::uint32_t raw = FromArgb(format, argb);
         std::memcpy(locked.pBits, &raw, static_cast<std::size_t>(BytesPerPixel(format)));
         texture.UnlockRect();
       }},
      {"written", [](Direct3DSurface9& texture, int x, int y,
                     std::uint32_t argb) { texture.Pixels().WriteArgb(x, y, argb); }},
  };
  const Shape wholeRows{"whole rows", -0.5f, -0.5f, 99.5f, 11.5f, 0, 0, 100, 1};
  for (const auto& format : kCopyFormats) {
    for (const auto& way : ways) {
      Canvas strip(format.target, format.texture, kWidth, kWholeRowsHeight),
          list(format.target, format.texture, kWidth, kWholeRowsHeight);
      for (Canvas* canvas : {&strip, &list}) {
        MakeOpaque(*canvas->Texture());
        SetCopyStage(*canvas->Device());
      }
      DrawStripAndList(strip, list, wholeRows, kWidth, 0xFFFFFFFF);
      // Cleared between the draws: the pixels under the new clear texels keep
      // the clear colour.
      for (Canvas* canvas : {&strip, &list}) canvas->Device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF204060, 1, 0);
      for (Canvas* canvas : {&strip, &list}) {
        way.write(*canvas->Texture(), 7, 2, 0x00FFFFFF);
        way.write(*canvas->Texture(), 50, 5, 0x40FFFFFF);
      }
      DrawStripAndList(strip, list, wholeRows, kWidth, 0xFFFFFFFF);
      EXPECT_EQ(DifferingPixels(strip, list), 0)
          << way.name << ", target format " << format.target << ", texture format " << format.texture;
      EXPECT_EQ(strip.Pixels().ReadRaw(7, 2), FromArgb(strip.Pixels().Format(), 0xFF204060)) << way.name;
    }
  }
}

TEST(Direct3DQuads, AnAxisAlignedStripDrawsAsItsTwoTrianglesDo) {
  const Shape shapes[] = {
      {"unscaled", 2.5f, 3.5f, 10.5f, 9.5f, 0, 0, 8, 1},
      {"unscaled, coordinates of exact slope", 0.5f, 10.5f, 40.5f, 14.5f, 0, 0, 40, 1},
      {"doubled", 2.5f, 3.5f, 18.5f, 15.5f, 0, 0, 8, 1},
      {"halved", 1.5f, 1.5f, 5.5f, 4.5f, 0, 0, 8, 1},
      {"scaled by a fraction", 0.5f, 0.5f, 13.5f, 11.5f, 0, 0, 6, 1},
      {"mirrored both ways", 4.5f, 2.5f, 12.5f, 8.5f, 8, 1, 0, 0},
      {"cut by every edge", -5.5f, -3.5f, 105.5f, 33.5f, 0, 0, 80, 1},
      {"off the pixel edges", 2.2f, 3.7f, 11.9f, 10.1f, 0, 0, 8, 1},
      {"wrapping", 0.5f, 0.5f, 32.5f, 24.5f, -40, 0, 160, 2},
      {"drawn right to left", 10.5f, 9.5f, 2.5f, 3.5f, 0, 0, 8, 1},
      {"a row of more than one run", 5.5f, 20.5f, 80.5f, 26.5f, 2, 0, 77, 1},
  };
  const States states[] = {
      {"copy", 0xFFFFFFFF,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
       }},
      {"copy without blending", 0xFFFFFFFF,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
         d.SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
       }},
      {"translucent", 0x80FFFFFF,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
       }},
      {"tint", 0xFFFFFFFF,
       [](Direct3DDevice9& d) {
         d.SetRenderState(D3DRS_TEXTUREFACTOR, 0x50C83264);
         SetStage(d, D3DTOP_BLENDFACTORALPHA, D3DTA_TEXTURE, D3DTA_TFACTOR, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
                  D3DTA_DIFFUSE);
       }},
      {"modulated by a grey, alpha by the texture factor", 0xC0707070,
       [](Direct3DDevice9& d) {
         d.SetRenderState(D3DRS_TEXTUREFACTOR, 0x9F102030);
         SetStage(d, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TFACTOR);
       }},
      // Not a grey: red and blue alike, then red and green.
      {"modulated by magenta", 0x90FF80FF,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
       }},
      {"modulated by light blue", 0x908080FF,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
       }},
      {"solid fill", 0xFFFFFFFF,
       [](Direct3DDevice9& d) {
         d.SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF123456);
         SetStage(d, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR);
       }},
      {"half-clear fill", 0xFFFFFFFF,
       [](Direct3DDevice9& d) {
         d.SetRenderState(D3DRS_TEXTUREFACTOR, 0x80123456);
         SetStage(d, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR);
       }},
      {"untextured shade", 0x80336699,
       [](Direct3DDevice9& d) {
         d.SetTexture(0, nullptr);
         SetStage(d, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
       }},
      // The other operations and blends, each on both argument orders.
      {"doubled and added", 0xC0806040,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_MODULATE2X, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_ADD, D3DTA_DIFFUSE, D3DTA_TEXTURE);
       }},
      {"quadrupled and added signed", 0x70C06020,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_MODULATE4X, D3DTA_DIFFUSE, D3DTA_TEXTURE, D3DTOP_ADDSIGNED, D3DTA_TEXTURE, D3DTA_DIFFUSE);
       }},
      {"subtracted and added smoothly", 0x90A05030,
       [](Direct3DDevice9& d) {
         d.SetRenderState(D3DRS_TEXTUREFACTOR, 0x60405060);
         SetStage(d, D3DTOP_SUBTRACT, D3DTA_TEXTURE, D3DTA_TFACTOR, D3DTOP_ADDSMOOTH, D3DTA_TFACTOR, D3DTA_TEXTURE);
       }},
      {"subtracted the other way, blended by the diffuse alpha", 0x60A05030,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_SUBTRACT, D3DTA_DIFFUSE, D3DTA_TEXTURE, D3DTOP_BLENDDIFFUSEALPHA, D3DTA_TEXTURE,
                  D3DTA_DIFFUSE);
       }},
      {"blended by the texture alpha, added one to one", 0xA0305070,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_BLENDTEXTUREALPHA, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
                  D3DTA_DIFFUSE);
         d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
         d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
       }},
      {"selected, blended by the inverse and zero", 0xA0305070,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
         d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_INVSRCALPHA);
         d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
       }},
      {"disabled, blended by the source alpha twice", 0xA0305070,
       [](Direct3DDevice9& d) {
         SetStage(d, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
         d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
         d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCALPHA);
       }},
  };
  const struct {
    D3DFORMAT target, texture;
  } formats[] = {{D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8},
                 {D3DFMT_R5G6B5, D3DFMT_A1R5G5B5},
                 {D3DFMT_X8R8G8B8, D3DFMT_A1R5G5B5},
                 {D3DFMT_R5G6B5, D3DFMT_A8R8G8B8},
                 {D3DFMT_A1R5G5B5, D3DFMT_A1R5G5B5},
                 {D3DFMT_A8R8G8B8, D3DFMT_A8R8G8B8},
                 {D3DFMT_X1R5G5B5, D3DFMT_A8R8G8B8}};
  for (const auto& format : formats) {
    for (const States& state : states) {
      for (const Shape& s : shapes) {
        const auto at = [&](float x, float y, float u, float v) {
          return Vertex{x, y, 0, 1, state.colour, u / kTextureWidth, v};
        };
        const Vertex a = at(s.left, s.top, s.uLeft, s.vTop), b = at(s.left, s.bottom, s.uLeft, s.vBottom),
                     c = at(s.right, s.top, s.uRight, s.vTop), d = at(s.right, s.bottom, s.uRight, s.vBottom);
        Canvas strip(format.target, format.texture), list(format.target, format.texture);
        state.set(*strip.Device());
        state.set(*list.Device());
        strip.Draw(D3DPT_TRIANGLESTRIP, {a, b, c, d}, 2);
        list.Draw(D3DPT_TRIANGLELIST, {a, b, c, b, c, d}, 2);
        int differing = 0;
        for (int y = 0; y < kHeight; ++y)
          for (int x = 0; x < kWidth; ++x) differing += strip.Pixels().ReadRaw(x, y) != list.Pixels().ReadRaw(x, y);
        EXPECT_EQ(differing, 0) << s.name << ", " << state.name << ", target format " << format.target
                                << ", texture format " << format.texture;
      }
    }
  }
}

}  // namespace
