// Starting and releasing the graphics device, on either back end.
//
// DDInit starts Direct3D 9 (surfaces are textures) or DirectDraw 7 (surfaces
// are off-screen plain surfaces) once at start-up; when Direct3D fails the
// caller releases (DDRelease) and calls DDInit again for DirectDraw.
// g_lpD3DState is non-null exactly while Direct3D is the back end and
// g_lpDDState exactly while DirectDraw is; every graphics operation tests
// them to choose its path. DDRelease frees everything the start-up made, also
// after a start-up that failed half-way, and clears both pointers of each
// freed state record.
//
// DDInit and DDRelease run on the main thread while the game thread is not
// running; drawing runs on the game thread. No locks.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/surface_data.h"
#include "platform/rect.h"
#include "platform/video/d3d9.h"
#include "platform/video/ddraw.h"
#include "platform/window_services.h"

// Result codes of the DirectDraw start-up (also of surface loading).
enum {
  DDINIT_OK = 0,
  CREATEEX_ERR = 1,
  SETCOOPLEVEL_ERR = 2,
  SETDISPLAYMODE_ERR = 3,
  CREATESURFACE_ERR = 4,
  GETATTACHEDSURFACE_ERR = 5,
  CREATEPALETTE_ERR = 6,
  SETPALETTE_ERR = 7,
  LOADIMAGE_ERR = 8,
  SETCOLORKEY_ERR = 9,
  CLIPPER_ERR = 10,
  SETHWND_ERR = 11,
  SETCLIPPER_ERR = 12,
};

struct D3DSTATE {
  platform::D3DFORMAT fmtBackBuffer = platform::D3DFMT_UNKNOWN;
  platform::D3DFORMAT fmtTexture = platform::D3DFMT_UNKNOWN;
  platform::D3DPRESENT_PARAMETERS PresentParams;
  int nAdapter = 0;
  std::uint32_t DeviceType = 0;
  platform::D3DFORMAT fmtDisplay = platform::D3DFMT_UNKNOWN;
  platform::D3DCAPS9 Caps;
  int bPow2 = 0;
  int bSquareOnly = 0;
  int bVirBackBuffer = 0;
  DDSURFACEDATA* lpRestTarget = nullptr;
  int bCopyingVirBackBuffer = 0;
  std::uint8_t cbKey32[3] = {};  // B, G, R
  std::uint8_t cbKey16[3] = {};  // B, G, R
  std::uint32_t dwTexKey = 0;
  std::uint32_t dwBackKey = 0;
  std::uint16_t wTexKey16 = 0;
  std::uint16_t wBackKey16 = 0;
  int bInScene = 0;
  std::uint32_t dwBltColor = 0xFFFFFFFF;
  int dwBltColorOp = 4;
  int dwBltAlphaOp = 4;
  int nTextureCount = 0;
  int nFontCount = 0;
  std::string strTextureError;
};

struct DDSTATE {
  std::uint8_t cbKey[3] = {};      // B, G, R
  std::uint8_t cbLoadKey[3] = {};  // B, G, R
  int nFontCount = 0;
};

// Settings stored by DDInit.
extern int g_bDirect3D;
extern platform::HWND g_hWndDD;
extern int g_nScreenWidth;
extern int g_nScreenHeight;
extern int g_nBpp;
extern int g_nBytesPerPixel;
extern int g_bVSync;
extern int g_nWindowMode;      // 0 full screen, 1 windowed
extern int g_nBackBufferMode;  // 1: one DirectDraw back buffer, otherwise two
extern int g_nRefreshRate;
extern int g_bUseRefreshRate;
extern DDSURFACEDATA* g_lpSurfaceTable;
extern IMAGEDATA* g_lpImageTable;
extern int g_nImageCount;
extern int g_bDisplayReady;
extern std::uint8_t g_bDDInitDone;

// Back-end objects.
extern platform::DirectDraw7* g_lpDD;
extern platform::DirectDrawPalette* g_lpDDPalette;
extern platform::DirectDrawClipper* g_lpDDClipper;
extern platform::Direct3D9* g_lpD3D9;
extern platform::Direct3DDevice9* lpDevice;

extern D3DSTATE* g_lpD3DState;
extern D3DSTATE* g_lpD3DStateAlloc;
extern DDSTATE* g_lpDDState;
extern DDSTATE* g_lpDDStateAlloc;

// The fixed surfaces.
extern DDSURFACEDATA g_sdPrimary;
extern DDSURFACEDATA g_sdBackBuffer;     // the frame everything is drawn into
extern DDSURFACEDATA g_sdScreenCopy;     // DirectDraw: system-memory copy for the fades
extern DDSURFACEDATA g_sdVirBackBuffer;  // Direct3D: the virtual back buffer
extern DDSURFACEDATA g_sdWork;           // Direct3D: an empty work surface
extern platform::RECT g_rcClientScreen;  // windowed DirectDraw: the client area on the screen
extern int g_nDesktopBpp;

bool DDInit(int bDirect3D, platform::HWND hWnd, int nWidth, int nHeight, int nBpp, int bVSync, int nWindowMode,
            int nBackBufferMode, int nRefreshRate, int bUseRefreshRate, DDSURFACEDATA* lpSurfaceTable,
            IMAGEDATA* lpImageTable, int nImageCount);
int DDInitD3D(platform::HWND hWnd, int nWidth, int nHeight, int nBpp, int nBackBufferMode);
int DDInitFullScreen(platform::HWND hWnd, int nWidth, int nHeight, int nBpp, int nBackBufferMode);
int DDInitWindow(platform::HWND hWnd);
bool DDCheckInitError(int nCode);
void DDSetRenderStates();
void DDRelease();
void DDReleaseAll();
int DDSetGDIMode(int bOn);
// A message box in dialog mode: its answer (a yes/no box answers IDYES or
// IDNO), 0 when the screen could not be handed over and nothing was shown.
int DDMesBox(const char* text, const char* caption, unsigned type);
// The report's message boxes, registered once the display is ready: in
// dialog mode over a full-screen display, else the platform's box.
int DisplayMessageBox(const char* text, const char* caption, unsigned type);
