// Text on the display stand-ins: GDI device contexts on DirectDraw surfaces
// and D3DX's font and sprite drawing into Direct3D render targets. Both
// draw the text engine's glyphs.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/video/d3dx_font.h"
#include "platform/video/ddraw.h"
#include "support/scoped_display_config.h"
#include "support/text_fonts.h"

namespace {

using namespace platform;

constexpr const char* kGothic = "ＭＳ ゴシック";
constexpr const char* kSample = "字aＢ";

// The pixels the text engine draws for the sample at (x, y) on an empty
// buffer of the given size and depth.
std::vector<std::uint32_t> EngineGlyphs(int width, int height, int bytesPerPixel, int x, int y, std::uint32_t pixel) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height * bytesPerPixel);
  const auto font = TextFont::Create(kGothic, 16);
  font->Draw({bytes.data(), width, height, width * bytesPerPixel, bytesPerPixel}, x, y, kSample, pixel);
  std::vector<std::uint32_t> values(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < values.size(); ++i)
    for (int b = 0; b < bytesPerPixel; ++b) values[i] |= std::uint32_t{bytes[i * bytesPerPixel + b]} << (8 * b);
  return values;
}

std::vector<std::uint32_t> RawPixels(const PixelBuffer& pixels) {
  std::vector<std::uint32_t> values;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x) values.push_back(pixels.ReadRaw(x, y));
  return values;
}

struct DisplayMode {
  const char* name;
  DWORD bpp;
  bool is555;
  COLORREF color;       // as the fonts set it: PALETTEINDEX at 8 bits
  std::uint32_t pixel;  // what GDI writes
};

class SurfaceDC : public testing::TestWithParam<DisplayMode> {
 protected:
  void SetUp() override {
    DisplayConfig config;
    config.sixteenBitIs555 = GetParam().is555;
    m_Config.emplace(config);
    ASSERT_EQ(DirectDrawCreateEx(nullptr, &m_pDD, nullptr, nullptr), DD_OK);
    ASSERT_EQ(m_pDD->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    ASSERT_EQ(m_pDD->SetDisplayMode(640, 480, GetParam().bpp, 60, 0), DD_OK);
    DDSURFACEDESC2 desc;
    desc.dwSize = kDDSurfaceDesc2Size;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 48;
    desc.dwHeight = 20;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    ASSERT_EQ(m_pDD->CreateSurface(&desc, &m_pSurface, nullptr), DD_OK);
  }
  void TearDown() override {
    if (m_pSurface) m_pSurface->Release();
    if (m_pDD) m_pDD->Release();
  }

  std::optional<ScopedDisplayConfig> m_Config;
  DirectDraw7* m_pDD = nullptr;
  DirectDrawSurface7* m_pSurface = nullptr;
};

// The DC is the surface's pixels at its depth: TextOutA through it writes
// the engine's glyphs in the colour converted as GDI converts it.
TEST_P(SurfaceDC, TextOutWritesTheEngineGlyphsInTheSurfaceFormat) {
  REQUIRE_IPA_FONTS();
  const DisplayMode& mode = GetParam();
  HDC dc = nullptr;
  ASSERT_EQ(m_pSurface->GetDC(&dc), DD_OK);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(dc->pixels.bitsPerPixel, static_cast<int>(mode.bpp));
  const HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, kGothic);
  const HFONT before = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, mode.color);
  ASSERT_TRUE(TextOutA(dc, 3, 2, kSample, 5));
  SelectObject(dc, before);
  ASSERT_EQ(m_pSurface->ReleaseDC(dc), DD_OK);
  DeleteObject(font);
  EXPECT_EQ(RawPixels(m_pSurface->Pixels()), EngineGlyphs(48, 20, static_cast<int>(mode.bpp / 8), 3, 2, mode.pixel));
}

// While the DC is out the surface is locked; only that DC releases it.
TEST_P(SurfaceDC, TheSurfaceIsLockedUntilItsDCIsReleased) {
  HDC dc = nullptr;
  ASSERT_EQ(m_pSurface->GetDC(&dc), DD_OK);
  HDC second = nullptr;
  EXPECT_EQ(m_pSurface->GetDC(&second), DDERR_SURFACEBUSY);
  EXPECT_EQ(second, nullptr);
  DDSURFACEDESC2 lock;
  lock.dwSize = kDDSurfaceDesc2Size;
  EXPECT_EQ(m_pSurface->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  DeviceContext other;
  EXPECT_EQ(m_pSurface->ReleaseDC(&other), DDERR_INVALIDPARAMS);
  EXPECT_EQ(m_pSurface->ReleaseDC(dc), DD_OK);
  EXPECT_EQ(m_pSurface->ReleaseDC(dc), DDERR_INVALIDPARAMS);
  ASSERT_EQ(m_pSurface->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(m_pSurface->GetDC(&dc), DDERR_SURFACEBUSY);
  m_pSurface->Unlock(nullptr);
  // A DC still out when the surface goes is freed with it (the leak check
  // of the sanitizer build sees it).
  ASSERT_EQ(m_pSurface->GetDC(&dc), DD_OK);
}

TEST_P(SurfaceDC, ALostSurfaceGivesNoDC) {
  m_pDD->SimulateLoss();
  HDC dc = nullptr;
  EXPECT_EQ(m_pSurface->GetDC(&dc), DDERR_SURFACELOST);
  EXPECT_EQ(dc, nullptr);
  m_pSurface->Restore();
  ASSERT_EQ(m_pSurface->GetDC(&dc), DD_OK);
  EXPECT_EQ(m_pSurface->ReleaseDC(dc), DD_OK);
}

INSTANTIATE_TEST_SUITE_P(DisplayModes, SurfaceDC,
                         testing::Values(DisplayMode{"Palette8", 8, false, PALETTEINDEX(241), 241},
                                         DisplayMode{"Rgb565", 16, false, RGB(255, 131, 7), 0xFC00},
                                         DisplayMode{"Rgb555", 16, true, RGB(255, 131, 7), 0x7E00},
                                         DisplayMode{"Xrgb8888", 32, false, RGB(255, 131, 7), 0xFF8307}),
                         [](const auto& info) { return std::string(info.param.name); });

// A windowed device whose render target is a 48 x 20 texture.
class D3DXText : public testing::TestWithParam<D3DFORMAT> {
 protected:
  void SetUp() override {
    m_pD3D = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS params;
    params.BackBufferWidth = 64;
    params.BackBufferHeight = 32;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.Windowed = 1;
    ASSERT_EQ(m_pD3D->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params,
                                   &m_pDevice),
              D3D_OK);
    ASSERT_EQ(D3DXCreateTexture(m_pDevice, 48, 20, 1, D3DUSAGE_RENDERTARGET, GetParam(), D3DPOOL_DEFAULT,
                                &m_pTexture),
              D3D_OK);
    ASSERT_EQ(m_pDevice->SetRenderTarget(0, m_pTexture->Level0()), D3D_OK);
    D3DXFONT_DESCA desc;
    desc.Height = 16;
    desc.Weight = 400;
    desc.CharSet = 128;
    std::snprintf(desc.FaceName, sizeof desc.FaceName, "%s", kGothic);
    if (IpaFontsInstalled()) {
      ASSERT_EQ(D3DXCreateFontIndirect(m_pDevice, &desc, &m_pFont), D3D_OK);
    }
    ASSERT_EQ(D3DXCreateSprite(m_pDevice, &m_pSprite), D3D_OK);
  }
  void TearDown() override {
    if (m_pFont) m_pFont->Release();
    if (m_pSprite) m_pSprite->Release();
    if (m_pTexture) m_pTexture->Release();
    if (m_pDevice) m_pDevice->Release();
    if (m_pD3D) m_pD3D->Release();
  }

  int Draw(std::uint32_t format = DT_NOCLIP) {
    RECT rect{3, 2, 3, 2};
    return m_pFont->DrawTextA(m_pSprite, kSample, -1, &rect, format, 0xFF20C040);
  }
  std::vector<std::uint32_t> Target() const { return RawPixels(m_pTexture->Level0()->Pixels()); }
  std::vector<std::uint32_t> Expected() const {
    const PixelFormat format = m_pTexture->Level0()->Pixels().Format();
    return EngineGlyphs(48, 20, BytesPerPixel(format), 3, 2, FromArgb(format, 0xFF20C040));
  }

  Direct3D9* m_pD3D = nullptr;
  Direct3DDevice9* m_pDevice = nullptr;
  Direct3DTexture9* m_pTexture = nullptr;
  D3DXFont* m_pFont = nullptr;
  D3DXSprite* m_pSprite = nullptr;
};

TEST_P(D3DXText, DrawTextInASpriteWritesTheEngineGlyphsIntoTheRenderTarget) {
  REQUIRE_IPA_FONTS();
  ASSERT_EQ(m_pSprite->Begin(D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE), D3D_OK);
  EXPECT_EQ(Draw(), 16);
  EXPECT_EQ(m_pSprite->End(), D3D_OK);
  EXPECT_EQ(Target(), Expected());
}

TEST_P(D3DXText, CalcRectMeasuresLikeGdiAndDrawsNothing) {
  REQUIRE_IPA_FONTS();
  const std::vector<std::uint32_t> empty = Target();
  RECT rect{3, 2, 0, 0};
  EXPECT_EQ(m_pFont->DrawTextA(nullptr, kSample, 5, &rect, DT_CALCRECT, 0xFFFFFFFF), 16);
  const TextExtent extent = TextFont::Create(kGothic, 16)->Measure(kSample);
  EXPECT_EQ(rect.right, 3 + extent.cx);
  EXPECT_EQ(rect.bottom, 2 + 16);
  EXPECT_EQ(Target(), empty);
}

// Nothing is drawn outside Begin/End, after OnLostDevice until
// OnResetDevice, or while the device is lost.
TEST_P(D3DXText, NothingIsDrawnOutsideTheSpriteOrWhileLost) {
  REQUIRE_IPA_FONTS();
  const std::vector<std::uint32_t> empty = Target();
  EXPECT_EQ(Draw(), 0);
  m_pSprite->Begin(D3DXSPRITE_ALPHABLEND);
  m_pFont->OnLostDevice();
  m_pSprite->OnLostDevice();
  EXPECT_EQ(Draw(), 0);
  m_pFont->OnResetDevice();
  m_pSprite->OnResetDevice();
  EXPECT_EQ(Draw(), 0) << "a sprite is begun again after a reset";
  EXPECT_EQ(Target(), empty);
  m_pSprite->Begin(D3DXSPRITE_ALPHABLEND);
  EXPECT_EQ(Draw(), 16);
  m_pSprite->End();
  EXPECT_EQ(Target(), Expected());
}

INSTANTIATE_TEST_SUITE_P(TextureFormats, D3DXText, testing::Values(D3DFMT_A8R8G8B8, D3DFMT_A1R5G5B5),
                         [](const auto& info) { return info.param == D3DFMT_A8R8G8B8 ? "Argb8888" : "Argb1555"; });

// The face name field may be full: 31 bytes are read, no terminator needed.
TEST(D3DXFontCreation, AFullFaceNameFieldAndBadArgumentsAreHandled) {
  REQUIRE_IPA_FONTS();
  Direct3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS params;
  params.BackBufferWidth = 8;
  params.BackBufferHeight = 8;
  params.BackBufferFormat = D3DFMT_X8R8G8B8;
  params.Windowed = 1;
  Direct3DDevice9* device = nullptr;
  ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device),
            D3D_OK);
  D3DXFONT_DESCA desc;
  desc.Height = 16;
  std::memset(desc.FaceName, 'x', sizeof desc.FaceName);
  D3DXFont* font = nullptr;
  ASSERT_EQ(D3DXCreateFontIndirect(device, &desc, &font), D3D_OK);
  ASSERT_NE(font, nullptr);
  font->Release();
  EXPECT_EQ(D3DXCreateFontIndirect(device, nullptr, &font), D3DERR_INVALIDCALL);
  EXPECT_EQ(D3DXCreateSprite(nullptr, nullptr), D3DERR_INVALIDCALL);
  device->Release();
  d3d->Release();
}

}  // namespace
