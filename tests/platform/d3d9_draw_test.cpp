// The Direct3D stand-in's rasteriser: coverage by the top-left rule in
// either winding, texture sampling, texture stage 0 and blending.
#include "platform/video/d3d9.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/scoped_display_config.h"
#include "support/transformed_vertex.h"

namespace {

using namespace platform;

using Vertex = TransformedVertex;

// A 32-bit render target of 8 x 6 on a windowed device, cleared to black.
class Canvas {
 public:
  Canvas() {
    D3DPRESENT_PARAMETERS params;
    params.BackBufferWidth = 8;
    params.BackBufferHeight = 6;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.Windowed = 1;
    EXPECT_EQ(m_D3D->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &m_Device),
              D3D_OK);
    EXPECT_EQ(m_Device->CreateVertexBuffer(28 * 16, 0, 0x144, D3DPOOL_MANAGED, &m_Buffer, nullptr), D3D_OK);
    m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    m_Device->BeginScene();
  }
  ~Canvas() {
    m_Device->EndScene();
    m_Buffer->Release();
    if (m_Texture) m_Texture->Release();
    m_Device->Release();
    m_D3D->Release();
  }

  Direct3DDevice9* Device() { return m_Device; }

  // A 4 x 2 texture: column c of row r is 0xFF000000 | (16 r + c).
  void UseTexture() {
    ASSERT_EQ(D3DXCreateTexture(m_Device, 4, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &m_Texture), D3D_OK);
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 4; ++c) m_Texture->Level0()->Pixels().WriteArgb(c, r, 0xFF000000u | (16u * r + c));
    m_Device->SetTexture(0, m_Texture);
  }

  HRESULT Draw(std::uint32_t type, const std::vector<Vertex>& vertices, UINT primitives) {
    void* data = nullptr;
    EXPECT_EQ(m_Buffer->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, vertices.data(), vertices.size() * sizeof(Vertex));
    m_Buffer->Unlock();
    m_Device->SetStreamSource(0, m_Buffer, 0, 28);
    m_Device->SetFVF(0x144);
    return m_Device->DrawPrimitive(type, 0, primitives);
  }

  std::uint32_t At(int x, int y) const { return m_Device->RenderTarget()->Pixels().ReadArgb(x, y) & 0xFFFFFF; }

  // '#' where the pixel is not black.
  std::string Coverage() const {
    std::string text = "\n";
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 8; ++x) text += At(x, y) ? '#' : '.';
      text += '\n';
    }
    return text;
  }

 private:
  ScopedDisplayConfig m_Config;
  Direct3D9* m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
  Direct3DDevice9* m_Device = nullptr;
  Direct3DVertexBuffer9* m_Buffer = nullptr;
  Direct3DTexture9* m_Texture = nullptr;
};

Vertex At(float x, float y, std::uint32_t colour = 0xFFFFFFFF, float u = 0, float v = 0) {
  return {x, y, 0, 1, colour, u, v};
}

TEST(Direct3DRasteriser, ATriangleCoversTheSamePixelCentresInEitherWinding) {
  const std::string expected =
      "\n"
      "........\n"
      "........\n"
      ".#......\n"
      ".##.....\n"
      ".###....\n"
      "........\n";
  for (bool clockwise : {true, false}) {
    Canvas canvas;
    const Vertex a = At(0.5f, 0.5f), b = At(0.5f, 5.0f), c = At(5.0f, 5.0f);
    canvas.Draw(D3DPT_TRIANGLELIST, clockwise ? std::vector<Vertex>{a, b, c} : std::vector<Vertex>{a, c, b}, 1);
    EXPECT_EQ(canvas.Coverage(), expected) << (clockwise ? "clockwise" : "anticlockwise");
  }
}

TEST(Direct3DRasteriser, TwoTrianglesOfAQuadDrawEveryPixelOnce) {
  Canvas canvas;
  // Adding 0x40 to black: a pixel drawn twice would show 0x80.
  canvas.Device()->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  canvas.Device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  canvas.Device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  const std::uint32_t grey = 0xFF404040;
  // A quad at pixel edges (-0.5) covering pixels 1..6 x 1..4, and a rotated one.
  canvas.Draw(D3DPT_TRIANGLESTRIP, {At(0.5f, 0.5f, grey), At(0.5f, 4.5f, grey), At(6.5f, 0.5f, grey), At(6.5f, 4.5f, grey)},
              2);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(canvas.At(x, y), (x >= 1 && x <= 6 && y >= 1 && y <= 4) ? 0x404040u : 0u) << x << "," << y;
}

TEST(Direct3DRasteriser, ADiamondSharingEdgesThroughPixelCentresDrawsEachOnce) {
  Canvas canvas;
  canvas.Device()->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  canvas.Device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  canvas.Device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  const std::uint32_t grey = 0xFF404040;
  // A fan of four triangles around (3, 3): every edge passes through centres.
  canvas.Draw(D3DPT_TRIANGLEFAN,
              {At(3, 3, grey), At(3, 0, grey), At(6, 3, grey), At(3, 6, grey), At(0, 3, grey), At(3, 0, grey)}, 4);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_NE(canvas.At(x, y), 0x808080u) << x << "," << y;
  EXPECT_EQ(canvas.At(3, 3), 0x404040u);
}

TEST(Direct3DRasteriser, TexturesArePointSampledAtPixelCentresAndMirrorWithReversedCoordinates) {
  Canvas canvas;
  canvas.UseTexture();
  // 1:1 copy of row 1, then the same row mirrored below it, then 2x wide.
  canvas.Draw(D3DPT_TRIANGLESTRIP,
              {At(-0.5f, -0.5f, 0xFFFFFFFF, 0, 0.5f), At(-0.5f, 0.5f, 0xFFFFFFFF, 0, 1), At(3.5f, -0.5f, 0xFFFFFFFF, 1, 0.5f),
               At(3.5f, 0.5f, 0xFFFFFFFF, 1, 1)},
              2);
  canvas.Draw(D3DPT_TRIANGLESTRIP,
              {At(-0.5f, 0.5f, 0xFFFFFFFF, 1, 0.5f), At(-0.5f, 1.5f, 0xFFFFFFFF, 1, 1), At(3.5f, 0.5f, 0xFFFFFFFF, 0, 0.5f),
               At(3.5f, 1.5f, 0xFFFFFFFF, 0, 1)},
              2);
  canvas.Draw(D3DPT_TRIANGLESTRIP,
              {At(-0.5f, 1.5f, 0xFFFFFFFF, 0, 0), At(-0.5f, 2.5f, 0xFFFFFFFF, 0, 0.5f), At(7.5f, 1.5f, 0xFFFFFFFF, 1, 0),
               At(7.5f, 2.5f, 0xFFFFFFFF, 1, 0.5f)},
              2);
  const std::uint32_t rows[3][8] = {{16, 17, 18, 19, 0, 0, 0, 0}, {19, 18, 17, 16, 0, 0, 0, 0}, {0, 0, 1, 1, 2, 2, 3, 3}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.At(x, y), rows[y][x]) << x << "," << y;
}

TEST(Direct3DRasteriser, StageZeroCombinesTextureAndDiffuseByItsOperations) {
  struct Case {
    const char* name;
    std::uint32_t op;
    std::uint32_t diffuse;
    bool textured;
    std::uint32_t expected;  // at texel 0xFF000001 (blue 1) unless untextured
  };
  const Case cases[] = {
      {"ModulateWithWhiteKeepsTheTexel", D3DTOP_MODULATE, 0xFFFFFFFF, true, 0x000001},
      {"SelectDiffuse", D3DTOP_SELECTARG2, 0xFF102030, true, 0x102030},
      {"AddSaturates", D3DTOP_ADD, 0xFF1020FF, true, 0x1020FF},
      {"SubtractStopsAtZero", D3DTOP_SUBTRACT, 0xFF000005, true, 0x000000},
      {"NoTextureSamplesWhite", D3DTOP_MODULATE, 0xFF804020, false, 0x804020},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas;
    if (c.textured) canvas.UseTexture();
    canvas.Device()->SetTextureStageState(0, D3DTSS_COLOROP, c.op);
    canvas.Device()->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    canvas.Device()->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    // One pixel at (0, 0) sampling texel (1, 0).
    canvas.Draw(D3DPT_TRIANGLESTRIP,
                {At(-0.5f, -0.5f, c.diffuse, 0.25f, 0), At(-0.5f, 0.5f, c.diffuse, 0.25f, 0.5f),
                 At(0.5f, -0.5f, c.diffuse, 0.5f, 0), At(0.5f, 0.5f, c.diffuse, 0.5f, 0.5f)},
                2);
    EXPECT_EQ(canvas.At(0, 0), c.expected);
  }
}

TEST(Direct3DRasteriser, AlphaBlendingWeighsSourceAgainstDestination) {
  Canvas canvas;
  canvas.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
  canvas.Device()->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  canvas.Device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  canvas.Device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  canvas.Device()->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
  canvas.Device()->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  const std::uint32_t halfRed = 0x80FF0000;
  canvas.Draw(D3DPT_TRIANGLESTRIP, {At(-0.5f, -0.5f, halfRed), At(-0.5f, 0.5f, halfRed), At(0.5f, -0.5f, halfRed),
                                    At(0.5f, 0.5f, halfRed)},
              2);
  EXPECT_EQ(canvas.At(0, 0), 0x80007Fu);  // (255 * 128 + 127) / 255 red, (255 * 127 + 127) / 255 blue
  EXPECT_EQ(canvas.At(1, 0), 0x0000FFu);
}

TEST(Direct3DRasteriser, DrawingNeedsAScene) {
  Canvas canvas;
  canvas.Device()->EndScene();
  EXPECT_EQ(canvas.Draw(D3DPT_TRIANGLELIST, {At(0, 0), At(0, 4), At(4, 4)}, 1), D3DERR_INVALIDCALL);
  canvas.Device()->BeginScene();
  EXPECT_EQ(canvas.Draw(D3DPT_TRIANGLELIST, {At(0, 0), At(0, 4), At(4, 4)}, 6), D3DERR_INVALIDCALL);  // past the buffer's end
}

}  // namespace
