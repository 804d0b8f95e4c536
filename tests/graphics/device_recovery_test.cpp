// Recovery after the display took the surfaces' memory away: a frame drawn
// before the loss is drawn the same after it, in every mode.
#include "graphics/device_recovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "graphics/blit.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "graphics/surface_file.h"
#include "graphics/surface_lock.h"
#include "platform/files.h"
#include "platform/window_services.h"
#include "support/bitmap_file_builder.h"
#include "support/graphics_device.h"
#include "support/temp_folder.h"
#include "support/text_fonts.h"

namespace {

using platform::TheFrameMailbox;

// Image-table rows the frame uses.
enum Row : int {
  kPicture = 1,     // a picture file in video memory
  kMirrored = 5,    // the same picture with 25-pixel cells mirrored
  kSystemFile = 2,  // the picture in system memory
  kWork = 67,       // empty, video memory: redrawn every frame by its owner
  kKept = 66,       // empty, system memory: drawn once
};

// A 100 x 40 picture in the fixture palette's numbering: columns of
// numbers 1 to 100, every seventh pixel the transparent colour 0.
std::vector<std::uint8_t> Picture() {
  std::vector<platform::RGBQUAD> colours;
  for (int n = 0; n < 256; ++n)
    colours.push_back({static_cast<std::uint8_t>(n / 2), static_cast<std::uint8_t>(255 - n), static_cast<std::uint8_t>(n), 0});
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) pixels.push_back((x + y) % 7 == 0 ? 0u : static_cast<std::uint32_t>(1 + x + y % 3));
  return BitmapFileBuilder(100, 40, 8).Colours(colours).Pixels(pixels).Build();
}

class Recovery {
 public:
  explicit Recovery(const GraphicsMode& mode, platform::DisplayConfig config = {})
      : m_Current(m_Folder.path()), m_Written(platform::WriteFileAtomic(m_Folder / "Sheet.bmp", Picture())),
        m_Device(mode, config) {}

  // Loads the rows; false when the device or a row failed.
  bool Start() {
    if (!m_Written || !m_Device.Started()) return false;
    if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
    g_ImageTable[kPicture].Set("Sheet.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    g_ImageTable[kMirrored].Set("Sheet.bmp", 1, 0, 0, 0, 0, 0, 25, 0, 0, 0);
    g_ImageTable[kSystemFile].Set("Sheet.bmp", 1, 1, 1, 0, 0, 0, 0, 0, 0, 0);
    g_ImageTable[kWork].Set("E", 1, 0, 0, 0, 0, 0, 0, 0, 64, 64);
    g_ImageTable[kKept].Set("E", 1, 1, 1, 0, 0, 0, 0, 0, 64, 64);
    const int rows[] = {kPicture, kMirrored, kSystemFile, kWork, kKept};
    return DDLoadSurfaces(g_SurfaceTable, rows, 5);
  }

  static void DrawFrame(bool first) {
    DDSURFACEDATA* back = &g_sdBackBuffer;
    DDClearSurfacePal(back, 20);
    DDBlt(back, 10, 10, 100, 40, &g_SurfaceTable[kPicture], 0, 0, 1);
    DDBlt(back, 10, 60, 100, 40, &g_SurfaceTable[kMirrored], 0, 0, 1);
    DDBlt(back, 10, 110, 100, 40, &g_SurfaceTable[kSystemFile], 0, 0, 1);
    DDSURFACEDATA* work = &g_SurfaceTable[kWork];
    DDClearSurfacePal(work, 0);
    DDFillRectPal(work, 8, 8, 24, 24, 40);
    DDBlt(back, 200, 10, 64, 64, work, 0, 0, 1);
    DDSURFACEDATA* kept = &g_SurfaceTable[kKept];
    if (first) {
      DDClearSurfacePal(kept, 0);
      DDFillRectPal(kept, 4, 4, 16, 16, 50);
    }
    DDBlt(back, 300, 10, 64, 64, kept, 0, 0, 1);
  }

  // Presents and returns the frame shown (empty when nothing was shown).
  static std::vector<std::uint32_t> Present() {
    const std::uint64_t before = TheFrameMailbox().Sequence();
    if (g_lpD3DState) {
      DDPresent();
    } else {
      g_sdPrimary.lpDDraw->lpDDS->Flip(nullptr, platform::DDFLIP_WAIT);
    }
    if (TheFrameMailbox().Sequence() == before) return {};
    return TheFrameMailbox().Latest().pixels;
  }

 private:
  TempFolder m_Folder;
  ScopedCurrentFolder m_Current;
  bool m_Written;
  ScopedGraphicsDevice m_Device;
};

int DifferentPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return -1;
  int count = 0;
  for (std::size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

class DeviceRecovery : public testing::TestWithParam<GraphicsMode> {};

// Direct3D: a request while the device is still lost answers 0 and leaves
// the video memory released (drawing meanwhile is harmless), a later one
// resets; DirectDraw: the lost surfaces are restored and reloaded and the
// palette object is set again.
TEST_P(DeviceRecovery, TheFrameDrawnAfterTheLossAndTheRecoveryIsTheFrameDrawnBefore) {
  platform::HeadlessWindowServices window;
  platform::WindowServices* previous = platform::SetWindowServices(&window);
  {
    Recovery recovery(GetParam());
    ASSERT_TRUE(recovery.Start());
    Recovery::DrawFrame(true);
    const std::vector<std::uint32_t> before = Recovery::Present();
    ASSERT_FALSE(before.empty());

    if (g_lpD3DState) {
      lpDevice->SimulateLoss();
      Recovery::DrawFrame(false);
      EXPECT_TRUE(Recovery::Present().empty());
      if (g_nWindowMode == 0) {
        EXPECT_EQ(window.LastShowCommand(), platform::SW_SHOWMINNOACTIVE);
      }
      EXPECT_EQ(DDRestoreSurface(), 0);
      for (DDSURFACEDATA* surface : g_listTexture) {
        EXPECT_EQ(surface->lpDT->lpSurface, nullptr) << surface->szSurfaceType;
        EXPECT_EQ(surface->lpDT->lpTexture != nullptr, surface->lpDT->bSystemMemory != 0) << surface->szSurfaceType;
      }
      Recovery::DrawFrame(false);
      EXPECT_TRUE(Recovery::Present().empty());
      lpDevice->AllowReset();
      EXPECT_EQ(DDRestoreSurface(), 1);
      EXPECT_EQ(g_SurfaceTable[kWork].lpDT->bRecreated, 1);
      EXPECT_EQ(g_sdWork.lpDT->bRecreated, 1);
      EXPECT_EQ(g_SurfaceTable[kPicture].lpDT->bRecreated, 0);
      EXPECT_EQ(window.LastShowCommand(), platform::SW_SHOWNORMAL);
    } else {
      g_lpDD->SimulateLoss();
      if (g_nBpp == 8) {
        platform::PALETTEENTRY black[256] = {};
        g_lpDDPalette->SetEntries(0, 0, 256, black);  // another program's palette
      }
      EXPECT_TRUE(DDRestore());
      EXPECT_EQ(g_sdPrimary.lpDDraw->lpDDS->IsLost(), platform::DD_OK);
      EXPECT_EQ(g_SurfaceTable[kPicture].lpDDraw->lpDDS->IsLost(), platform::DD_OK);
    }
    Recovery::DrawFrame(false);
    EXPECT_EQ(DifferentPixels(Recovery::Present(), before), 0);
  }
  platform::SetWindowServices(previous);
}

INSTANTIATE_TEST_SUITE_P(AllModes, DeviceRecovery, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

// Direct3D 9 refuses a reset while a video-memory resource is alive, so a
// texture the recovery does not know of keeps the device down until it goes.
TEST(DeviceRecoveryDirect3D, AResourceLeftAliveKeepsTheDeviceDownUntilItIsReleased) {
  ScopedGraphicsDevice device(kGraphicsModes[6]);
  ASSERT_TRUE(device.Started());
  platform::Direct3DTexture9* stray = nullptr;
  ASSERT_EQ(platform::D3DXCreateTexture(lpDevice, 16, 16, 1, platform::D3DUSAGE_RENDERTARGET,
                                        platform::D3DFMT_A8R8G8B8, platform::D3DPOOL_DEFAULT, &stray),
            platform::D3D_OK);
  lpDevice->SimulateLoss();
  lpDevice->AllowReset();
  EXPECT_EQ(DDRestoreSurface(), 0);
  stray->Release();
  EXPECT_EQ(DDRestoreSurface(), 1);
  EXPECT_EQ(lpDevice->TestCooperativeLevel(), platform::D3D_OK);
}

// Video memory that others took while the device was lost: what no longer
// fits is made in system memory and draws as before.
TEST(DeviceRecoveryDirect3D, TexturesThatNoLongerFitInVideoMemoryMoveToSystemMemory) {
  Recovery recovery(kGraphicsModes[6]);
  ASSERT_TRUE(recovery.Start());
  Recovery::DrawFrame(true);
  const std::vector<std::uint32_t> before = Recovery::Present();
  lpDevice->SimulateLoss();
  lpDevice->AllowReset();
  platform::DisplayConfig smaller = platform::GetDisplayConfig();
  smaller.videoMemoryBytes = 2u * 640 * 480 * 4;  // the virtual back buffer and the work surface
  platform::SetDisplayConfig(smaller);
  EXPECT_EQ(DDRestoreSurface(), 1);
  for (Row row : {kPicture, kMirrored, kWork}) {
    EXPECT_EQ(g_SurfaceTable[row].lpDT->bSystemMemory, 1) << row;
    EXPECT_NE(g_SurfaceTable[row].lpDT->lpTexture, nullptr) << row;
  }
  Recovery::DrawFrame(false);
  EXPECT_EQ(DifferentPixels(Recovery::Present(), before), 0);
}

// The digit strips have no owner outside the graphics layer: the recovery
// draws them again.
TEST(DeviceRecoveryDirect3D, DigitStripsAreDrawnAgain) {
  REQUIRE_IPA_FONTS();
  ScopedGraphicsDevice device(kGraphicsModes[6]);
  ASSERT_TRUE(device.Started());
  DDCreateFonts(g_Font, g_FontData, 3);
  DDCreateDigitSurfaces(g_DigitSurface, g_DigitImage, 3, g_Font, g_FontData);
  const auto strip = [] {
    std::vector<std::uint32_t> pixels;
    cSurfaceLock lock(&g_DigitSurface[1]);
    for (int y = 0; y < g_DigitSurface[1].nHeight; ++y)
      for (int x = 0; x < g_DigitSurface[1].nWidth; ++x) pixels.push_back(lock.GetPixel(x, y));
    return pixels;
  };
  const std::vector<std::uint32_t> before = strip();
  ASSERT_NE(std::count(before.begin(), before.end(), before.front()), static_cast<long>(before.size())) << "blank strip";
  lpDevice->SimulateLoss();
  lpDevice->AllowReset();
  ASSERT_EQ(DDRestoreSurface(), 1);
  EXPECT_EQ(strip(), before);
  for (DDSURFACEDATA& digits : g_DigitSurface) {
    EXPECT_EQ(digits.lpDT->bRecreated, 0);
    DDReleaseSurface(&digits);
  }
  for (Font& font : g_Font) font.Destroy();
  g_listFont.clear();
}

}  // namespace
