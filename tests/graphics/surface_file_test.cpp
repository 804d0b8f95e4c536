// Surfaces from bitmap files, the palette from the palette picture and the
// forms of the transparent colour, over the modes of the player.
#include "graphics/surface_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/blit.h"
#include "graphics/palette_file.h"
#include "graphics/surface_effects.h"
#include "graphics/surface_lock.h"
#include "platform/files.h"
#include "support/bitmap_file_builder.h"
#include "support/graphics_device.h"
#include "support/temp_folder.h"

namespace {

using platform::RGBQUAD;

class InProjectFolder {
 public:
  InProjectFolder() : m_Current(m_Folder.path()) {}
  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    ASSERT_TRUE(platform::WriteFileAtomic(m_Folder / name, bytes));
  }

 private:
  TempFolder m_Folder;
  ScopedCurrentFolder m_Current;
};

// The synthetic palette of the mode fixture as a colour table.
std::vector<RGBQUAD> FixtureColours() {
  std::vector<RGBQUAD> colours;
  for (int n = 0; n < 256; ++n)
    colours.push_back({static_cast<std::uint8_t>(n / 2), static_cast<std::uint8_t>(255 - n), static_cast<std::uint8_t>(n), 0});
  return colours;
}

// An 8-bit picture in the palette's numbering: pixel (x, y) is 1 + x % 200.
std::vector<std::uint8_t> ColumnPicture(int width, int height) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(static_cast<std::uint32_t>(1 + x % 200));
  return BitmapFileBuilder(width, height, 8).Colours(FixtureColours()).Pixels(pixels).Build();
}

class SurfaceFiles : public testing::TestWithParam<GraphicsMode> {};

TEST_P(SurfaceFiles, CellsOfAHundredPixelSheetAreMirroredAndTheIncompleteCellIsNotWritten) {
  InProjectFolder project;
  project.Write("Sheet.bmp", ColumnPicture(100, 3));
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  const std::size_t textures = g_listTexture.size();
  DDSURFACEDATA sheet, plain;
  ASSERT_EQ(DDCreateSurfaceFromFile(&sheet, "Sheet.bmp", 1, g_nBpp, 0, 0, 0, 0, 32, 0, 0), 0);
  ASSERT_EQ(DDCreateSurfaceFromFile(&plain, "Sheet.bmp", 1, g_nBpp, 0, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(sheet.nWidth, 100);
  EXPECT_EQ(sheet.nMirrorWidth, 32);
  // The temporary of the Direct3D mirror leaves no entry behind.
  EXPECT_EQ(std::count(g_listTexture.begin(), g_listTexture.end(), &sheet), g_lpD3DState ? 1 : 0);
  EXPECT_EQ(g_listTexture.size(), textures + (g_lpD3DState ? 2u : 0u));
  {
    cSurfaceLock mirrored(&sheet), original(&plain);
    ASSERT_NE(mirrored.m_pBits, nullptr);
    ASSERT_NE(original.m_pBits, nullptr);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 96; ++x) {
        ASSERT_EQ(mirrored.GetPixel(x, y), original.GetPixel(x / 32 * 32 + 31 - x % 32, y)) << x << "," << y;
      }
    }
    // Not written: palette colour 0 in DirectDraw, the transparent texel in Direct3D.
    const std::uint32_t blank = g_lpD3DState ? 0 : PalNumToRGB(0);
    for (int x = 96; x < 100; ++x) EXPECT_EQ(mirrored.GetPixel(x, 1), blank) << x;
  }
  DDReleaseSurface(&sheet);
  DDReleaseSurface(&plain);
  EXPECT_EQ(g_listTexture.size(), textures);
}

TEST_P(SurfaceFiles, MissingFilesFailWithTheLoadErrorAndEmptyNamesLoadNothing) {
  InProjectFolder project;
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  DDSURFACEDATA surface;
  EXPECT_EQ(DDCreateSurfaceFromFile(&surface, "Missing.bmp", 1, g_nBpp, 0, 0, 0, 0, 0, 0, 0), LOADIMAGE_ERR);
  DDReleaseSurface(&surface);
  project.Write("Broken.bmp", {'B', 'M', 1, 2, 3});
  EXPECT_EQ(DDCreateSurfaceFromFile(&surface, "Broken.bmp", 1, g_nBpp, 0, 0, 0, 0, 0, 0, 0), LOADIMAGE_ERR);
  DDReleaseSurface(&surface);
  EXPECT_TRUE(DDLoadBitmap(&surface, "", g_nBpp, 0, 0, 0));
  int tooLarge = 7;
  EXPECT_EQ(DDCheckBitmapSize(&tooLarge, "Missing.bmp", 640, 480), g_lpD3DState ? 1 : 0);
  EXPECT_EQ(tooLarge, g_lpD3DState ? 7 : 0);
}

TEST_P(SurfaceFiles, TheTopLeftPixelOfThePalettePictureIsTheTransparentColour) {
  InProjectFolder project;
  std::vector<std::uint32_t> pixels(16 * 24, 5);
  pixels[0] = 7;
  project.Write("Palette.bmp", BitmapFileBuilder(16, 24, 8).Colours(FixtureColours()).Pixels(pixels).Build());
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  const std::size_t textures = g_listTexture.size();
  ASSERT_EQ(DDSetTransmitFromFile("Palette.bmp"), 1);
  const GraphicsMode& mode = GetParam();
  // Colour 7 of the table is (7, 248, 3).
  if (mode.bDirect3D && mode.nBpp == 32) {
    EXPECT_EQ(g_lpD3DState->dwBackKey, 0xFF07F803u);
    EXPECT_EQ(g_dwTransmit, 0u);
  } else if (mode.bDirect3D) {
    EXPECT_EQ(g_dwTransmit, platform::FromArgb(platform::PixelFormat::ARGB1555, 0xFF07F803u));  // the texel
    EXPECT_EQ(g_lpD3DState->cbKey16[0], 0);  // colour-table entry 0 as B, G, R: (0, 255, 0)
    EXPECT_EQ(g_lpD3DState->cbKey16[1], 255);
    EXPECT_EQ(g_lpD3DState->cbKey16[2], 0);
  } else if (mode.nBpp == 8) {
    EXPECT_EQ(g_dwTransmit, 7u);
  } else if (mode.nBpp == 32) {
    EXPECT_EQ(g_dwTransmit & 0xFFFFFFu, 0x07F803u);
    EXPECT_EQ(g_lpDDState->cbKey[2], 7);
  } else {
    const std::uint32_t green = mode.is555 ? 248u >> 3 << 5 : 248u >> 2 << 5;
    EXPECT_EQ(g_dwTransmit, green);  // red 7 and blue 3 truncate to 0
  }
  EXPECT_EQ(DDSetTransmitFromFile("Missing.bmp"), 0);
  EXPECT_EQ(g_listTexture.size(), textures);  // the temporaries are gone on every path
}

TEST_P(SurfaceFiles, ThePaletteComesFromTheColourTableAt8BitsAndFromTheColourBlockAbove) {
  InProjectFolder project;
  // Colour k of the block is the table's entry 255 - k; a short table of 16
  // entries leaves the rest black.
  std::vector<RGBQUAD> table(16);
  for (int i = 0; i < 16; ++i) table[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(8 * i), 0, 255, 0};
  std::vector<std::uint32_t> pixels(16 * 24, 0);
  for (int k = 0; k < 256; ++k) pixels[static_cast<std::size_t>((8 + k / 16) * 16 + k % 16)] = static_cast<std::uint32_t>(15 - k % 16);
  project.Write("Palette.bmp", BitmapFileBuilder(16, 24, 8).Colours(table).Pixels(pixels).Build());
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  const std::size_t textures = g_listTexture.size();
  PaletteBuffer palette{};
  ASSERT_TRUE(DDLoadPaletteFromFile(&palette, "Palette.bmp"));
  EXPECT_FALSE(DDLoadPaletteFromFile(&palette, "Missing.bmp"));
  const GraphicsMode& mode = GetParam();
  if (mode.nBpp == 8) {
    EXPECT_EQ(palette[3], (PaletteColour{255, 0, 24, 2}));
    EXPECT_EQ(palette[200], (PaletteColour{0, 0, 0, 1}));
    return;
  }
  // Entry k shows table colour 15 - k % 16: blue 8 * (15 - k % 16), red 255.
  const int k = 3;
  const int blue = 8 * (15 - k % 16);
  if (mode.bDirect3D || mode.nBpp == 32) {
    EXPECT_EQ(palette[k].r, 255);
    EXPECT_EQ(palette[k].b, mode.nBpp == 16 ? (blue >> 3) * 255 / 31 : blue);
  } else {
    EXPECT_EQ(palette[k].r, 31);  // channel values at 16 bits in DirectDraw
    EXPECT_EQ(palette[k].b, blue >> 3);
  }
  EXPECT_EQ(g_listTexture.size(), textures);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, SurfaceFiles, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

const GraphicsMode kDD16 = kGraphicsModes[1];

TEST(DirectDraw16BitLoad, RowsOf24BitPicturesDoNotDriftWhateverTheirPadding) {
  for (int width : {100, 101}) {
    SCOPED_TRACE(width);
    InProjectFolder project;
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(static_cast<std::uint32_t>((x * 2) << 16 | (y * 60) << 8 | 0x40));
    project.Write("Wide.bmp", BitmapFileBuilder(width, 4, 24).Pixels(pixels).Build());
    ScopedGraphicsDevice device(kDD16);
    ASSERT_TRUE(device.Started());
    DDSURFACEDATA surface;
    ASSERT_EQ(DDCreateSurfaceFromFile(&surface, "Wide.bmp", 1, 16, 0, 0, 0, 0, 0, 0, 0), 0);
    {
      cSurfaceLock lock(&surface);
      for (int y = 0; y < 4; ++y)
        for (int x : {0, width / 2, width - 1}) {
          const std::uint32_t expected = static_cast<std::uint32_t>((x * 2 * 31 / 255) << 11 | (y * 60 * 63 / 255) << 5 | (0x40 * 31 / 255));
          EXPECT_EQ(lock.GetPixel(x, y), expected) << x << "," << y;
        }
    }
    DDReleaseSurface(&surface);
  }
}

TEST(DirectDraw16BitLoad, TheLoadKeyBecomesTransparentAndLookalikesMoveByOneInBlue) {
  InProjectFolder project;
  // Pure magenta is the load key; (255, 4, 255) converts to the same 16-bit value.
  project.Write("Keyed.bmp", BitmapFileBuilder(2, 1, 24).Pixels({0xFF00FF, 0xFF04FF}).Build());
  ScopedGraphicsDevice device(kDD16);
  ASSERT_TRUE(device.Started());
  g_lpDDState->cbLoadKey[0] = 255;
  g_lpDDState->cbLoadKey[2] = 255;
  g_dwTransmit = 0xF81F;
  DDSURFACEDATA surface;
  ASSERT_EQ(DDCreateSurfaceFromFile(&surface, "Keyed.bmp", 1, 16, 0, 0, 0, 0, 0, 0, 0), 0);
  {
    cSurfaceLock lock(&surface);
    EXPECT_EQ(lock.GetPixel(0, 0), 0xF81Fu);
    EXPECT_EQ(lock.GetPixel(1, 0), 0xF81Eu);  // blue at its maximum: minus one
  }
  DDReleaseSurface(&surface);
}

TEST(DirectDrawReload, AFileThatGrewIsCutToTheSurfaceAndKeepsItsSize) {
  InProjectFolder project;
  project.Write("Grow.bmp", ColumnPicture(8, 2));
  ScopedGraphicsDevice device(kGraphicsModes[3]);
  ASSERT_TRUE(device.Started());
  DDSURFACEDATA surface;
  ASSERT_EQ(DDCreateSurfaceFromFile(&surface, "Grow.bmp", 1, 32, 0, 0, 0, 1, 0, 0, 0), 0);
  ASSERT_NE(surface.lpDDraw->lpPalIndex, nullptr);
  project.Write("Grow.bmp", ColumnPicture(64, 64));
  EXPECT_TRUE(DDReloadSurface(&surface, 32));
  EXPECT_EQ(surface.nWidth, 8);
  EXPECT_EQ(surface.nHeight, 2);
  EXPECT_NE(surface.lpDDraw->lpPalIndex, nullptr);  // the map is rebuilt
  // Pixel (5, 1) shows palette colour 6, which the map names.
  const int pitch = surface.lpDDraw->lpDDS->Pixels().Pitch() / 4;
  EXPECT_EQ(surface.lpDDraw->lpPalIndex[static_cast<std::size_t>(pitch + 5)], 6);
  int tooLarge = 0;
  EXPECT_EQ(DDCheckBitmapSize(&tooLarge, "Grow.bmp", 640, 48), 1);
  EXPECT_EQ(tooLarge, 1);
  DDReleaseSurface(&surface);
}

TEST(TransparentColour, DDSetTransmitFillsTheFormsOfEachBackEnd) {
  {
    ScopedGraphicsDevice device(kGraphicsModes[6]);  // Direct3D 32
    ASSERT_TRUE(device.Started());
    g_dwTransmit = 5;
    DDSetTransmit(255, 0, 255);
    EXPECT_EQ(g_lpD3DState->dwBackKey, 0xFFFF00FFu);
    EXPECT_EQ(g_lpD3DState->dwTexKey, 0u);
    EXPECT_EQ(g_dwTransmit, 0u);
    EXPECT_EQ(g_lpD3DState->cbKey32[0], 255);
    EXPECT_EQ(PalNumToRGB(0), 0u);  // the transparent texel
    EXPECT_EQ(PalNumToRGB(256), 0u);
  }
  {
    ScopedGraphicsDevice device(kGraphicsModes[3]);  // DirectDraw 32
    ASSERT_TRUE(device.Started());
    DDSetTransmit(0, 0, 255);
    EXPECT_EQ(g_dwTransmit, 0x000000FFu);
    EXPECT_EQ(g_lpDDState->cbKey[0], 255);
  }
}

TEST(BlendTable, ReadsTheFileInDirectDrawAndNothingInDirect3D) {
  InProjectFolder project;
  std::vector<std::uint8_t> bytes(kBlendTableSize);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  project.Write("hbt00.dat", bytes);
  project.Write("short.dat", {9, 9});
  std::vector<std::uint8_t> table(kBlendTableSize, 1);
  {
    ScopedGraphicsDevice device(kGraphicsModes[6]);
    ASSERT_TRUE(device.Started());
    EXPECT_EQ(DDLoadBlendTable(table.data(), "hbt00.dat"), 1);
    EXPECT_EQ(table[3], 1);
  }
  ScopedGraphicsDevice device(kGraphicsModes[0]);
  ASSERT_TRUE(device.Started());
  EXPECT_EQ(DDLoadBlendTable(table.data(), "missing.dat"), 0);
  EXPECT_EQ(table[3], 1);
  EXPECT_EQ(DDLoadBlendTable(table.data(), "hbt00.dat"), 1);
  EXPECT_EQ(table, bytes);
  EXPECT_EQ(DDLoadBlendTable(table.data(), "short.dat"), 1);
  EXPECT_EQ(table[0], 9);
  EXPECT_EQ(table[2], bytes[2]);
}

}  // namespace

namespace {

TEST(Direct3DSystemMemoryPictures, DrawAsTheVideoMemoryPictureDoesWhetherAskedForOrForcedByAShortage) {
  InProjectFolder project;
  project.Write("Picture.bmp", ColumnPicture(128, 128));
  ScopedGraphicsDevice device(kGraphicsModes[6]);  // Direct3D 32
  ASSERT_TRUE(device.Started());
  DDSURFACEDATA video, asked, forced;
  ASSERT_EQ(DDCreateSurfaceFromFile(&video, "Picture.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0), 0);
  ASSERT_EQ(DDCreateSurfaceFromFile(&asked, "Picture.bmp", 1, 32, 0, 1, 0, 0, 0, 0, 0), 0);
  // Video memory spent but for less than the picture needs.
  const platform::UINT available = lpDevice->GetAvailableTextureMem();
  platform::Direct3DTexture9* filler = nullptr;
  ASSERT_EQ(platform::D3DXCreateTexture(lpDevice, 4096, (available - 1024) / 16384, 1, platform::D3DUSAGE_RENDERTARGET,
                                        platform::D3DFMT_A8R8G8B8, platform::D3DPOOL_DEFAULT, &filler),
            platform::D3D_OK);
  ASSERT_EQ(DDCreateSurfaceFromFile(&forced, "Picture.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(video.lpDT->bSystemMemory, 0);
  EXPECT_EQ(asked.lpDT->bSystemMemory, 1);
  EXPECT_EQ(forced.lpDT->bSystemMemory, 1);
  EXPECT_EQ(forced.nTexWidth, 128);  // never scaled
  DDSURFACEDATA* pictures[] = {&video, &asked, &forced};
  for (int i = 0; i < 3; ++i) DDBlt(&g_sdBackBuffer, 150 * i - 10, 20, 128, 128, pictures[i], 0, 0, 1);
  {
    cSurfaceLock frame(&g_sdBackBuffer);
    EXPECT_NE(frame.GetPixel(0, 20), frame.GetPixel(0, 300));  // drawn at all
    EXPECT_NE(frame.GetPixel(0, 20), frame.GetPixel(1, 20));
    for (int y = 20; y < 148; y += 7)
      for (int x = 0; x < 118; ++x) {
        ASSERT_EQ(frame.GetPixel(150 + x, y), frame.GetPixel(x, y)) << x << "," << y;
        ASSERT_EQ(frame.GetPixel(300 + x, y), frame.GetPixel(x, y)) << x << "," << y;
      }
  }
  filler->Release();
  for (DDSURFACEDATA* picture : pictures) DDReleaseSurface(picture);
}

}  // namespace
