#include "graphics/display_report.h"

#include "base/report.h"
#include "graphics/device.h"

using namespace platform;

namespace {

constexpr double kMegabyte = 1048576.0;

// What the diagnostics of a Windows display driver would say, for the
// software device that stands in for it.
int ReportSoftwareDevice() {
  if (!g_lpD3DState || !lpDevice) return 0;
  int written = 1;
  written &= ReportF("%s", "Software Direct3D 9");
  written &= ReportF("TextureMem : %dMB", static_cast<int>(lpDevice->GetAvailableTextureMem() >> 20));
  written &= ReportF("---デバイス%d", 0);
  written &= ReportF("Destination : %s", "Software");
  written &= ReportF("VRAM : %s", "shared with the system");
  written &= ReportF("Driver : %s %1d.%02d.%04d.%04d", "software", 1, 0, 0, 0);
  written &= ReportF("DDI : %s", "9");
  D3DCAPS9 caps;
  if (g_lpD3D9 && SUCCEEDED(g_lpD3D9->GetDeviceCaps(0, g_lpD3DState->DeviceType, &caps))) {
    written &= ReportF("TextureMaxSize : (%d,%d)", static_cast<int>(caps.MaxTextureWidth),
                       static_cast<int>(caps.MaxTextureHeight));
    written &= ReportF("TextureMaxBlend : (%d,%d)", 1, 1);
    if (caps.Caps3 & D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD)
      written &= ReportF("D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD");
    if (caps.TextureCaps & D3DPTEXTURECAPS_POW2) written &= ReportF("D3DPTEXTURECAPS_POW2");
    if (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) written &= ReportF("D3DPTEXTURECAPS_SQUAREONLY");
  }
  written &= ReportF("DirectDraw : ○");
  written &= ReportF("Direct3D : ○");
  written &= ReportF("AGP : ×");
  return written;
}

}  // namespace

int ReportDisplayInfo() {
  int written = 1;
  written &= ReportF("%s", g_nWindowMode ? "Mode : Window" : "Mode : Fullscreen");
  written &= ReportF("Bpp : %d", g_nBpp);
  if (g_lpDD) {
    const DDSCAPS2 caps{DDSCAPS_VIDEOMEMORY};
    DWORD total = 0, free = 0;
    g_lpDD->GetAvailableVidMem(&caps, &total, &free);
    written &= ReportF("VRAM Total : %.3fMB", total / kMegabyte);
    written &= ReportF("VRAM Free : %.3fMB", free / kMegabyte);
    DWORD frequency = 0;
    if (FAILED(g_lpDD->GetMonitorFrequency(&frequency))) frequency = 0;
    written &= ReportF("RR : %u", static_cast<unsigned>(frequency));
  }
  if (g_lpD3DState) written &= ReportSoftwareDevice();
  return written;
}
