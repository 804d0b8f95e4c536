// The graphics modes the player runs in, and a device started in one of
// them for one test (headless, released again when the test ends).
//
// Every mode starts with a synthetic palette: entry n is (n, 255 - n, n / 2)
// at 8 bits and in Direct3D, and the same colours cut to 5/6/5 (or 5/5/5)
// channel values at 16 bits in DirectDraw, as the palette loader leaves them.
// The transparent colour is palette colour 0.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "graphics/palette_colours.h"
#include "graphics/device.h"
#include "graphics/image_table.h"
#include "graphics/surface.h"
#include "platform/frame_mailbox.h"
#include "support/golden_image.h"
#include "support/scoped_display_config.h"
#include "support/scoped_message_boxes.h"

struct GraphicsMode {
  const char* name;
  int bDirect3D;
  int nBpp;
  int nWindowMode;
  bool is555;  // DirectDraw 16 bits as 555
};

inline const GraphicsMode kGraphicsModes[] = {
    {"DD8", 0, 8, 0, false},
    {"DD16_565", 0, 16, 0, false},
    {"DD16_555", 0, 16, 0, true},
    {"DD32", 0, 32, 0, false},
    {"D3D16FullScreen", 1, 16, 0, false},
    {"D3D16Window", 1, 16, 1, false},
    {"D3D32", 1, 32, 0, false},
};

inline std::string GraphicsModeName(const testing::TestParamInfo<GraphicsMode>& info) { return info.param.name; }

// The mode of that name ("DD32", "D3D16FullScreen", ...).
inline const GraphicsMode& GraphicsModeNamed(const std::string& name) {
  for (const GraphicsMode& mode : kGraphicsModes)
    if (name == mode.name) return mode;
  throw std::invalid_argument(name);
}

// Puts every process-wide record of the graphics layer back as at program
// start (the device must be released).
inline void ResetGraphicsGlobals() {
  for (DDSURFACEDATA* surface : {&g_sdPrimary, &g_sdBackBuffer, &g_sdScreenCopy, &g_sdVirBackBuffer, &g_sdWork})
    *surface = DDSURFACEDATA{};
  for (DDSURFACEDATA& surface : g_SurfaceTable) surface = DDSURFACEDATA{};
  InitImageTable();
  g_listTexture.clear();
  g_bDisplayReady = 0;
  g_bDDInitDone = 0;
  g_cfScreen = g_cfSurface = DDCOLORFORMAT{};
  g_dwTransmit = 0;
}

class ScopedGraphicsDevice {
 public:
  // Starts the device; Started() says whether DDInit succeeded.
  explicit ScopedGraphicsDevice(const GraphicsMode& mode, platform::DisplayConfig config = {})
      : m_Mode(mode), m_Config(WithLayout(config, mode)) {
    platform::TheFrameMailbox().Clear();
    m_bStarted = DDInit(mode.bDirect3D, nullptr, 640, 480, mode.nBpp, 0, mode.nWindowMode, 1, 60, 0, g_SurfaceTable,
                        g_ImageTable, kImageCount);
    if (m_bStarted) SetSyntheticPalette();
  }
  ~ScopedGraphicsDevice() {
    DDRelease();
    ResetGraphicsGlobals();
    platform::TheFrameMailbox().Clear();
  }
  ScopedGraphicsDevice(const ScopedGraphicsDevice&) = delete;
  ScopedGraphicsDevice& operator=(const ScopedGraphicsDevice&) = delete;

  bool Started() const { return m_bStarted; }
  ScopedMessageBoxes& Boxes() { return m_Boxes; }

  // The colour of palette number n as 0xFFRRGGBB, at the precision of the mode.
  std::uint32_t PaletteRgb(int n) const {
    const PaletteColour& e = g_palCurrent[n];
    if (m_Mode.bDirect3D || m_Mode.nBpp != 16)
      return 0xFF000000u | std::uint32_t{e.r} << 16 | std::uint32_t{e.g} << 8 | e.b;
    const auto expand = [](std::uint32_t v, int bits) { return (v << (8 - bits)) | (v >> (2 * bits - 8)); };
    const int greenBits = m_Mode.is555 ? 5 : 6;
    return 0xFF000000u | expand(e.r, 5) << 16 | expand(e.g, greenBits) << 8 | expand(e.b, 5);
  }

 private:
  static platform::DisplayConfig WithLayout(platform::DisplayConfig config, const GraphicsMode& mode) {
    config.sixteenBitIs555 = mode.is555;
    return config;
  }

  void SetSyntheticPalette() {
    const bool channelValues = !m_Mode.bDirect3D && m_Mode.nBpp == 16;
    const int greenShift = m_Mode.is555 ? 3 : 2;
    platform::PALETTEENTRY shown[256];
    for (int n = 0; n < 256; ++n) {
      PaletteColour e{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(255 - n),
                      static_cast<std::uint8_t>(n / 2), PaletteFlag(n)};
      if (channelValues) {
        e.r >>= 3;
        e.g = static_cast<std::uint8_t>(e.g >> greenShift);
        e.b >>= 3;
      }
      g_palCurrent[n] = g_palOriginal[n] = e;
      shown[n] = {e.r, e.g, e.b, e.flag};
    }
    if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 256, shown);
  }

  GraphicsMode m_Mode;
  ScopedDisplayConfig m_Config;
  ScopedMessageBoxes m_Boxes;
  bool m_bStarted = false;
};

// A device started in the named mode with the transparent colour that the
// DirectDraw drawing tests expect (palette number 0).
struct StartedGraphicsMode {
  explicit StartedGraphicsMode(const char* mode) : device(GraphicsModeNamed(mode)) {
    EXPECT_TRUE(device.Started());
    if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
  }
  ScopedGraphicsDevice device;
};

// The top-left width x height of the back buffer as RGB (a running device;
// at 8 bits through the palette shown).
inline GoldenImage BackBufferPicture(int width, int height) {
  const platform::PixelBuffer& pixels =
      g_lpD3DState ? g_sdBackBuffer.lpDT->lpSurface->Pixels() : g_sdBackBuffer.lpDDraw->lpDDS->Pixels();
  const platform::PALETTEENTRY* palette = g_lpD3DState ? nullptr : g_lpDDPalette->Entries();
  GoldenImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.at(x, y) = pixels.ReadArgb(x, y, palette) & 0xFFFFFF;
  return image;
}
