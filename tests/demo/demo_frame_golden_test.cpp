// The demo project's image table loaded in every mode, and one frame drawn
// from its pictures with blits, fills and a circle, compared with a golden
// picture per mode; DirectDraw 32 and Direct3D 32 draw the same frame.
#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "graphics/blit.h"
#include "graphics/palette_file.h"
#include "graphics/surface_effects.h"
#include "support/golden_image.h"
#include "support/graphics_device.h"
#include "support/temp_folder.h"
#include "tools/make-demo/demo_images.h"

namespace {

constexpr int kTitle = 47, kBlock = 2, kCharacters = 4, kCharactersMirrored = 5, kShotsMirrored = 21, kItems = 40;
constexpr int kBackBufferWidth = 640, kBackBufferHeight = 480;

class DemoProject {
 public:
  DemoProject() : m_Current(m_Folder.path()) {
    std::string error;
    EXPECT_TRUE(demo::WriteDemoImages(m_Folder.path(), error)) << error;
  }

 private:
  TempFolder m_Folder;
  ScopedCurrentFolder m_Current;
};

// Start-up's order: the palette, the transparent colour, then the images.
bool LoadDemoImages() {
  if (!DDLoadPaletteFromFile(&g_palCurrent, "bmp\\plt\\Palette.bmp")) return false;
  g_palOriginal = g_palCurrent;
  if (!DDSetTransmitFromFile("bmp\\plt\\Palette.bmp")) return false;
  if (g_lpD3DState) DDLinkSurfaces();
  std::vector<int> rows(kImageCount);
  std::iota(rows.begin(), rows.end(), 0);
  return DDLoadSurfaces(g_SurfaceTable, rows.data(), kImageCount);
}

// The same list of drawing commands for every mode.
void DrawFrame() {
  DDSURFACEDATA* frame = &g_sdBackBuffer;
  DDBlt(frame, 0, 0, 640, 480, &g_SurfaceTable[kTitle], 0, 0, 0);
  for (int figure = 0; figure < 4; ++figure) {
    DDBlt(frame, 40 + 40 * figure, 300, 32, 32, &g_SurfaceTable[kCharacters], 32 * figure, 32 * figure, 1);
    DDBlt(frame, 40 + 40 * figure, 340, 32, 32, &g_SurfaceTable[kCharactersMirrored], 32 * figure, 32 * figure, 1);
    DDBltStretch(frame, 40 + 40 * figure, 380, 32, 32, &g_SurfaceTable[kCharacters], 32 * figure + 32, 32 * figure,
                 -32, 32, 1);
  }
  DDBltStretch(frame, 220, 300, 64, 64, &g_SurfaceTable[kCharacters], 0, 0, 32, 32, 1);   // twice the size
  DDBltStretch(frame, 300, 300, 16, 16, &g_SurfaceTable[kCharacters], 0, 32, 32, 32, 1);  // half
  DDBlt(frame, 330, 300, 64, 32, &g_SurfaceTable[kBlock], 32, 0, 0);                      // unkeyed
  DDBlt(frame, 620, 440, 64, 64, &g_SurfaceTable[kBlock], 32, 0, 1);                      // clipped
  DDBlt(frame, -16, 10, 64, 32, &g_SurfaceTable[kShotsMirrored], 0, 0, 1);
  DDBlt(frame, 400, 300, 64, 32, &g_SurfaceTable[kItems], 0, 0, 1);
  DDFillRectPal(frame, 500, 20, 100, 12, 20);
  DDFillRectPal(frame, 630, 470, 40, 40, 200);
  DDBltCircle(frame, 540, 380, 60, 40, 48, 4, &g_SurfaceTable[kTitle], 320, 240, 0);
}

GoldenImage BackBufferPicture() {
  const platform::PixelBuffer* pixels = nullptr;
  const platform::PALETTEENTRY* palette = nullptr;
  if (g_lpD3DState) {
    pixels = &g_sdBackBuffer.lpDT->lpSurface->Pixels();
  } else {
    pixels = &g_sdBackBuffer.lpDDraw->lpDDS->Pixels();
    palette = g_lpDDPalette->Entries();
  }
  GoldenImage image(kBackBufferWidth, kBackBufferHeight);
  const std::vector<std::uint32_t> xrgb = platform::ToXrgb(*pixels, palette);
  for (std::size_t i = 0; i < image.pixels.size() && i < xrgb.size(); ++i) image.pixels[i] = xrgb[i] & 0xFFFFFF;
  return image;
}

void ExpectTableLoaded() {
  EXPECT_EQ(g_SurfaceTable[kTitle].nWidth, 640);
  EXPECT_EQ(g_SurfaceTable[kTitle].nHeight, 480);
  EXPECT_EQ(g_SurfaceTable[kCharactersMirrored].nMirrorWidth, 32);
  for (int row : {1, 2, 3, 4, 5, 20, 21, 22, 40, 41, 42, 43, 45, 46, 47, 49, 50, 51, 52, 53}) {
    DDSURFACEDATA* surface = &g_SurfaceTable[row];
    DDResolveLink(&surface);
    EXPECT_TRUE(g_lpD3DState ? surface->lpDT && surface->lpDT->lpTexture : surface->lpDDraw && surface->lpDDraw->lpDDS)
        << "row " << row;
  }
}

GoldenImage DrawDemoFrame(const GraphicsMode& mode) {
  ScopedGraphicsDevice device(mode);
  EXPECT_TRUE(device.Started());
  EXPECT_TRUE(LoadDemoImages());
  EXPECT_TRUE(device.Boxes().Shown().empty());
  ExpectTableLoaded();
  DrawFrame();
  GoldenImage picture = BackBufferPicture();
  for (DDSURFACEDATA& surface : g_SurfaceTable) DDReleaseSurface(&surface);
  return picture;
}

class DemoFrame : public testing::TestWithParam<GraphicsMode> {};

TEST_P(DemoFrame, TheImageTableLoadsAndTheFrameMatchesItsGolden) {
  DemoProject project;
  const GoldenImage picture = DrawDemoFrame(GetParam());
  EXPECT_TRUE(MatchesGolden(picture, std::string("blits/demo_frame_") + GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(EveryMode, DemoFrame, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

TEST(DemoFrameAcrossBackEnds, DirectDraw32AndDirect3D32DrawTheSameFrame) {
  DemoProject project;
  const GoldenImage directDraw = DrawDemoFrame(kGraphicsModes[3]);
  const GoldenImage direct3d = DrawDemoFrame(kGraphicsModes[6]);
  ASSERT_EQ(std::string(kGraphicsModes[3].name), "DD32");
  ASSERT_EQ(std::string(kGraphicsModes[6].name), "D3D32");
  int differing = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < kBackBufferHeight; ++y)
    for (int x = 0; x < kBackBufferWidth; ++x)
      if (directDraw.at(x, y) != direct3d.at(x, y) && differing++ == 0) firstX = x, firstY = y;
  EXPECT_EQ(differing, 0) << "first at (" << firstX << ", " << firstY << ")";
}

}  // namespace
