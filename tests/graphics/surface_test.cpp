#include "graphics/surface.h"

#include <gtest/gtest.h>

#include "graphics/surface_lock.h"
#include "support/graphics_device.h"

namespace {

using namespace platform;

TEST(ImageTable, HoldsTheSixtyNineSlots) {
  InitImageTable();
  const struct {
    int row;
    const char* file;
    int transmit, systemMemory, alias, optional, mirror, width, height;
  } rows[] = {
      {0, "bmp\\plt\\Palette.bmp", 0, 1, 0, 0, 0, 0, 0},  {1, "bmp\\Debug.bmp", 1, 0, 0, 0, 0, 0, 0},
      {3, "bmp\\Block.bmp", 1, 1, 1, 0, 0, 0, 0},         {5, "bmp\\Character1.bmp", 1, 0, 0, 0, 32, 0, 0},
      {6, "bmp\\Character2.bmp", 1, 0, 0, 1, 0, 0, 0},    {19, "bmp\\Character8.bmp", 1, 0, 0, 1, 32, 0, 0},
      {21, "bmp\\Shot.bmp", 1, 0, 0, 0, 16, 0, 0},        {23, "bmp\\Character1.bmp", 1, 1, 1, 0, 32, 0, 0},
      {37, "bmp\\Character8.bmp", 1, 1, 1, 1, 32, 0, 0},  {39, "bmp\\Shot.bmp", 1, 1, 1, 0, 16, 0, 0},
      {41, "bmp\\Item.bmp", 1, 1, 1, 0, 0, 0, 0},         {45, "bmp\\Window.bmp", 0, 0, 0, 0, 0, 0, 0},
      {48, "bmp\\GameMode.bmp", 1, 0, 0, 1, 0, 0, 0},     {53, "bmp\\WorldEvent.bmp", 1, 1, 0, 0, 0, 0, 0},
      {54, "bmp\\WorldBack.bmp", 0, 1, 0, 1, 0, 0, 0},    {55, "背景その1.bmp", 0, 0, 0, 1, 0, 0, 0},
      {62, "背景その8.bmp", 1, 0, 0, 1, 0, 0, 0},         {63, "E", 1, 1, 0, 0, 0, 256, 960},
      {65, "E", 1, 1, 0, 0, 0, 640, 480},                 {66, "E", 0, 1, 0, 0, 0, 640, 480},
      {67, "E", 1, 0, 0, 0, 0, 640, 480},                 {68, "E", 1, 1, 1, 0, 0, 640, 480},
  };
  for (const auto& r : rows) {
    const IMAGEDATA& image = g_ImageTable[r.row];
    SCOPED_TRACE(r.row);
    EXPECT_STREQ(image.szFileName, r.file);
    EXPECT_EQ(image.bTransmit, r.transmit);
    EXPECT_EQ(image.bSystemMemory, r.systemMemory);
    EXPECT_EQ(image.bAlias, r.alias);
    EXPECT_EQ(image.bOptional, r.optional);
    EXPECT_EQ(image.nMirrorWidth, r.mirror);
    EXPECT_EQ(image.nWidth, r.width);
    EXPECT_EQ(image.nHeight, r.height);
  }
  for (const IMAGEDATA& image : g_ImageTable) {
    EXPECT_EQ(image.bTexSystemMemory, 0);
    EXPECT_EQ(image.bPalIndex, 0);
    EXPECT_EQ(image.nMirrorHeight, 0);
  }
}

TEST(SurfaceRecords, StartEmptyAndNamesAreCutToFit) {
  const DDSURFACEDATA surface;
  EXPECT_EQ(surface.nWidth, 0);
  EXPECT_EQ(surface.bSystemMemory, 0);
  EXPECT_EQ(surface.nMirrorWidth, 0);
  EXPECT_STREQ(surface.szFileName, "");
  IMAGEDATA image;
  const std::string longName(400, 'a');
  image.Set(longName.c_str(), 1, 0, 0, 0, 0, 0, 0, 0, 3, 4);
  EXPECT_EQ(std::string(image.szFileName), longName.substr(0, kPathSize - 1));
  EXPECT_EQ(image.nHeight, 4);
}

TEST(TextureSize, PaddingFollowsTheCardsRules) {
  ScopedGraphicsDevice device({"D3D32", 1, 32, 0, false});
  ASSERT_TRUE(device.Started());
  const struct {
    int pow2, square, width, height, expectedWidth, expectedHeight;
  } cases[] = {{1, 0, 640, 480, 1024, 512}, {1, 0, 256, 960, 256, 1024}, {1, 1, 640, 480, 1024, 1024},
               {1, 0, 0, 0, 0, 0},          {0, 0, 640, 480, 640, 480},    {1, 0, 1, 3, 1, 4}};
  for (const auto& c : cases) {
    g_lpD3DState->bPow2 = c.pow2;
    g_lpD3DState->bSquareOnly = c.square;
    int width = c.width, height = c.height;
    DDAdjustTextureSize(&width, &height);
    EXPECT_EQ(width, c.expectedWidth) << c.width << "x" << c.height;
    EXPECT_EQ(height, c.expectedHeight) << c.width << "x" << c.height;
  }
  g_lpD3DState->Caps.MaxTextureWidth = 512;
  EXPECT_EQ(DDCheckTextureSize(512, 512, 0), 1);
  EXPECT_EQ(DDCheckTextureSize(1024, 16, 0), 0);
}

// The empty rows of the image table, loaded in every mode.
class EmptyRows : public testing::TestWithParam<GraphicsMode> {};

TEST_P(EmptyRows, AreMadeWithTheSizesKeysMemoryAndFillOfTheTable) {
  const GraphicsMode& mode = GetParam();
  ScopedGraphicsDevice device(mode);
  ASSERT_TRUE(device.Started());
  g_dwTransmit = mode.nBpp == 8 ? 0 : 0x1F;
  if (mode.bDirect3D) g_lpD3DState->dwBackKey = 0xFF102030;
  if (mode.bDirect3D) DDLinkSurfaces();
  const int rows[] = {63, 64, 65, 66, 67, 68};
  ASSERT_TRUE(DDLoadSurfaces(g_SurfaceTable, rows, 6));

  for (int row : rows) {
    SCOPED_TRACE(row);
    const IMAGEDATA& image = g_ImageTable[row];
    DDSURFACEDATA& surface = g_SurfaceTable[row];
    EXPECT_EQ(surface.nWidth, image.nWidth);
    EXPECT_EQ(surface.nHeight, image.nHeight);
    if (mode.bDirect3D) {
      ASSERT_NE(surface.lpDT, nullptr);
      EXPECT_STREQ(surface.szSurfaceType, "OffScreen");
      EXPECT_STREQ(surface.szFileName, "E");
      EXPECT_EQ(surface.lpDT->bTransmit, image.bTransmit);
      if (image.bAlias) {
        EXPECT_EQ(surface.lpDT->lpTexture, nullptr);
        EXPECT_EQ(surface.lpDT->lpVB, nullptr);
        DDSURFACEDATA* drawn = &surface;
        DDResolveLink(&drawn);
        EXPECT_EQ(drawn, &g_SurfaceTable[67]);
        continue;
      }
      EXPECT_NE(surface.lpDT->lpVB, nullptr);
      EXPECT_EQ(surface.lpDT->descLevel.Format, g_lpD3DState->fmtTexture);
      // New textures are cleared to the transparent colour's opaque form.
      cSurfaceLock lock(&surface);
      ASSERT_TRUE(lock.m_pBits);
      const PixelFormat format = surface.lpDT->lpSurface->Pixels().Format();
      EXPECT_EQ(lock.GetPixel(image.nWidth - 1, image.nHeight - 1), FromArgb(format, 0xFF102030));
    } else {
      ASSERT_NE(surface.lpDDraw, nullptr);
      DirectDrawSurface7& dds = *surface.lpDDraw->lpDDS;
      EXPECT_EQ(surface.bSystemMemory, image.bSystemMemory);
      EXPECT_EQ(dds.InSystemMemory(), image.bSystemMemory == 1);
      EXPECT_EQ(BitsPerPixel(dds.Pixels().Format()), mode.nBpp);
      if (image.bTransmit) {
        ASSERT_NE(dds.SourceColorKey(), nullptr);
        EXPECT_EQ(dds.SourceColorKey()->dwColorSpaceLowValue, g_dwTransmit);
        EXPECT_EQ(dds.SourceColorKey()->dwColorSpaceHighValue, g_dwTransmit);
      } else {
        EXPECT_EQ(dds.SourceColorKey(), nullptr);
      }
      // Filled with palette colour 0 to the last pixel.
      cSurfaceLock lock(&surface);
      ASSERT_TRUE(lock.m_pBits);
      EXPECT_EQ(lock.GetPixel(image.nWidth - 1, image.nHeight - 1), PalNumToRGB(0));
    }
  }
  if (mode.bDirect3D) {
    EXPECT_EQ(g_listTexture.size(), 2u + 5u);  // the virtual back buffer, the work surface, rows 63-67
    EXPECT_EQ(g_SurfaceTable[68].lpDT->nIndex, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, EmptyRows, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

TEST(LoadSurfaces, OptionalRowsFailSilentlyAndMandatoryRowsStopWithABox) {
  ScopedGraphicsDevice device({"DD32", 0, 32, 0, false});
  ASSERT_TRUE(device.Started());
  const int optional[] = {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 67};
  EXPECT_TRUE(DDLoadSurfaces(g_SurfaceTable, optional, static_cast<int>(std::size(optional))));
  EXPECT_TRUE(device.Boxes().Shown().empty());
  EXPECT_NE(g_SurfaceTable[67].lpDDraw, nullptr);  // the rows after them were still made

  const int mandatory[] = {2, 67};
  EXPECT_FALSE(DDLoadSurfaces(g_SurfaceTable, mandatory, 2));
  ASSERT_EQ(device.Boxes().Shown().size(), 1u);
  EXPECT_EQ(device.Boxes().Shown()[0].text, "bmp\\Block.bmp の読み込みに失敗！");
  EXPECT_EQ(device.Boxes().Shown()[0].caption, "エラー");

  const int outside[] = {69};
  EXPECT_FALSE(DDLoadSurfaces(g_SurfaceTable, outside, 1));
}

TEST(LoadSurfaces, AnEmptyRowThatCannotBeMadeShowsTheOutOfMemoryBox) {
  ScopedGraphicsDevice device({"DD32", 0, 32, 0, false});
  ASSERT_TRUE(device.Started());
  FailCall(GraphicsCall::CreateSurface, 2);  // video memory and the system-memory retry
  const int row[] = {67};
  EXPECT_FALSE(DDLoadSurfaces(g_SurfaceTable, row, 1));
  ASSERT_EQ(device.Boxes().Shown().size(), 1u);
  EXPECT_EQ(device.Boxes().Shown()[0].text, "メモリが不足しています！");
}

TEST(Surfaces, ReleasingALinkedSurfaceLeavesTheLinkedOneItsTexture) {
  ScopedGraphicsDevice device({"D3D32", 1, 32, 0, false});
  ASSERT_TRUE(device.Started());
  DDLinkSurfaces();
  const int rows[] = {67, 68};
  ASSERT_TRUE(DDLoadSurfaces(g_SurfaceTable, rows, 2));
  DDReleaseSurface(&g_SurfaceTable[68]);
  EXPECT_EQ(g_SurfaceTable[68].lpDT, nullptr);
  EXPECT_EQ(g_SurfaceTable[68].nWidth, 640);  // sizes and links stay
  EXPECT_EQ(g_SurfaceTable[68].lpLinkSD, &g_SurfaceTable[67]);
  ASSERT_NE(g_SurfaceTable[67].lpDT, nullptr);
  EXPECT_NE(g_SurfaceTable[67].lpDT->lpTexture, nullptr);
  DDReleaseSurface(nullptr);
}

class ImageSets : public testing::TestWithParam<GraphicsMode> {};

TEST_P(ImageSets, KeepTheirRecordsInPlaceAndRemoveByAddress) {
  ScopedGraphicsDevice device(GetParam());
  ASSERT_TRUE(device.Started());
  const std::size_t fixed = g_listTexture.size();
  DDSurfaceVector surfaces;
  ImageVector images;
  ASSERT_TRUE(DDAddSurface(surfaces, images, 16, 16, 1, 0, 0, 0));
  DDSURFACEDATA* first = &surfaces.front();
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(DDAddSurface(surfaces, images, 8, 8, 0, 1, 0, 0));
  EXPECT_EQ(&surfaces.front(), first);  // growing the set moved nothing
  EXPECT_EQ(images.size(), 41u);
  EXPECT_EQ(images[0].bTransmit, 1);
  EXPECT_STREQ(images[0].szFileName, "");
  if (GetParam().bDirect3D) {
    EXPECT_EQ(g_listTexture.size(), fixed + 41);
    EXPECT_EQ(*std::next(g_listTexture.begin(), static_cast<long>(fixed)), first);
  }
  DDReleaseSurfaceVector(surfaces);
  EXPECT_EQ(g_listTexture.size(), fixed);

  std::list<DDSURFACEDATA> listed;
  std::list<IMAGEDATA> listedImages;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(DDAddSurfaceToList(listed, listedImages, 4 + i, 4, 0, 0, 0, 0));
  DDSURFACEDATA outsider;
  EXPECT_EQ(DDRemoveSurfaceFromList(listed, listedImages, &outsider), 0);
  EXPECT_EQ(listed.size(), 3u);
  DDSURFACEDATA* middle = &*std::next(listed.begin());
  EXPECT_EQ(DDRemoveSurfaceFromList(listed, listedImages, middle), 1);
  EXPECT_EQ(listed.size(), 2u);
  EXPECT_EQ(listedImages.size(), 2u);
  EXPECT_EQ(listed.back().nWidth, 6);
  if (GetParam().bDirect3D) {
    EXPECT_EQ(g_listTexture.size(), fixed + 2);
  }
  DDReleaseSurfaceList(listed);
  EXPECT_EQ(g_listTexture.size(), fixed);
}

INSTANTIATE_TEST_SUITE_P(Modes, ImageSets, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

TEST(Surfaces, AnAliasGetsNoTextureNoQuadNoSerialNumberAndNoListEntry) {
  ScopedGraphicsDevice device({"D3D16FullScreen", 1, 16, 0, false});
  ASSERT_TRUE(device.Started());
  const std::size_t listed = g_listTexture.size();
  const int count = g_lpD3DState->nTextureCount;
  DDSURFACEDATA alias;
  ASSERT_TRUE(DDCreateSurface(&alias, 32, 32, 1, 1, 0, 1, 0));
  EXPECT_EQ(alias.lpDT->lpTexture, nullptr);
  EXPECT_EQ(alias.lpDT->lpVB, nullptr);
  EXPECT_EQ(alias.nTexWidth, 32);
  EXPECT_EQ(alias.bSystemMemory, 1);
  EXPECT_EQ(g_lpD3DState->nTextureCount, count);
  EXPECT_EQ(g_listTexture.size(), listed);
  DDReleaseSurface(&alias);
}

}  // namespace
