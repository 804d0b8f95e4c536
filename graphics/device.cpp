#include "graphics/device.h"

#include "base/report.h"
#include "base/system_info.h"
#include "graphics/blit_state.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "graphics/surface.h"
#include "platform/message_box.h"

using namespace platform;

int g_bDirect3D = 0;
HWND g_hWndDD = nullptr;
int g_nScreenWidth = 0;
int g_nScreenHeight = 0;
int g_nBpp = 0;
int g_nBytesPerPixel = 0;
int g_bVSync = 0;
int g_nWindowMode = 0;
int g_nBackBufferMode = 0;
int g_nRefreshRate = 0;
int g_bUseRefreshRate = 0;
DDSURFACEDATA* g_lpSurfaceTable = nullptr;
IMAGEDATA* g_lpImageTable = nullptr;
int g_nImageCount = 0;
int g_bDisplayReady = 0;
std::uint8_t g_bDDInitDone = 0;

DirectDraw7* g_lpDD = nullptr;
DirectDrawPalette* g_lpDDPalette = nullptr;
DirectDrawClipper* g_lpDDClipper = nullptr;
Direct3D9* g_lpD3D9 = nullptr;
Direct3DDevice9* lpDevice = nullptr;

D3DSTATE* g_lpD3DState = nullptr;
D3DSTATE* g_lpD3DStateAlloc = nullptr;
DDSTATE* g_lpDDState = nullptr;
DDSTATE* g_lpDDStateAlloc = nullptr;

DDSURFACEDATA g_sdPrimary;
DDSURFACEDATA g_sdBackBuffer;
DDSURFACEDATA g_sdScreenCopy;
DDSURFACEDATA g_sdVirBackBuffer;
DDSURFACEDATA g_sdWork;
RECT g_rcClientScreen;
int g_nDesktopBpp = 0;

namespace {

// A cursor backend that never reaches the count asked for must not hang the
// start-up: the display count moves by one per call, so a few hundred calls
// are more than any real count needs.
constexpr int kMaxCursorCalls = 256;

void HideCursor() {
  for (int i = 0; i < kMaxCursorCalls && ShowCursor(false) >= 0; ++i) {
  }
}

void ShowCursorAgain() {
  for (int i = 0; i < kMaxCursorCalls && ShowCursor(true) < 0; ++i) {
  }
}

template <class T>
void ReleaseAndClear(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

void FreeDDState() {
  delete g_lpDDStateAlloc;
  g_lpDDState = g_lpDDStateAlloc = nullptr;
}

void FreeD3DState() {
  delete g_lpD3DStateAlloc;
  g_lpD3DState = g_lpD3DStateAlloc = nullptr;
}

void CreateDDState() {
  FreeDDState();
  g_lpDDState = g_lpDDStateAlloc = new DDSTATE();
}

void ReleaseSurfaceTable() {
  if (!g_lpSurfaceTable) return;
  for (int i = 0; i < g_nImageCount; ++i) DDReleaseSurface(&g_lpSurfaceTable[i]);
}

// The start-up palette: placeholders until the palette image is loaded.
void FillFullScreenPalette(PALETTEENTRY (&entries)[256]) {
  for (int i = 0; i < 256; ++i)
    entries[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), 0, 1};
  entries[0] = {0, 0, 255, 1};
}

void FillWindowPalette(PALETTEENTRY (&entries)[256]) {
  for (int i = 0; i < 256; ++i) {
    const auto value = static_cast<std::uint8_t>(i);
    const bool systemEntry = i < 10 || i > 245;
    entries[i] = systemEntry ? PALETTEENTRY{value, 0, 0, 2} : PALETTEENTRY{value, value, 0, 1};
  }
}

void SetSurfaceSize(DDSURFACEDATA& surface, int width, int height, int systemMemory) {
  surface.nWidth = surface.nTexWidth = width;
  surface.nHeight = surface.nTexHeight = height;
  surface.bSystemMemory = systemMemory;
}

const char* FormatName(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_X8R8G8B8: return "X8R8G8B8";
    case D3DFMT_R5G6B5: return "R5G6B5";
    case D3DFMT_A1R5G5B5: return "A1R5G5B5";
    default: return "UNKNOWN";
  }
}

// The texture and back-buffer formats of a depth; false for depths Direct3D
// is not started at.
bool ChooseFormats(int nBpp, bool windowed, D3DSTATE& state) {
  if (nBpp == 16) {
    state.fmtTexture = D3DFMT_A1R5G5B5;
    g_cfSurface = {10, 5, 0, 15, 31, 31, 31, 1};
    if (windowed) {
      state.fmtBackBuffer = D3DFMT_A1R5G5B5;
      g_cfScreen = {10, 5, 0, 15, 31, 31, 31, 1};
    } else {
      state.fmtBackBuffer = D3DFMT_R5G6B5;
      g_cfScreen = {11, 5, 0, 16, 31, 63, 31, 0};
    }
    return true;
  }
  if (nBpp == 32) {
    state.fmtBackBuffer = D3DFMT_X8R8G8B8;
    state.fmtTexture = D3DFMT_A8R8G8B8;
    g_cfSurface = {16, 8, 0, 24, 255, 255, 255, 255};
    return true;
  }
  return false;
}

// The Direct3D back buffer as a surface record: the device's back buffer,
// a blit quad, no texture.
bool SetUpBackBuffer(int nWidth, int nHeight) {
  g_sdBackBuffer.DDAllocSurfaceData();
  SetSurfaceSize(g_sdBackBuffer, nWidth, nHeight, 0);
  CopyName(g_sdBackBuffer.szSurfaceType, "BackBuffer");
  D3DTEXTUREDATA& texture = *g_sdBackBuffer.lpDT;
  texture.lpSurface = texture.lpSystemSurface = nullptr;
  texture.lpTexture = nullptr;
  texture.bSystemMemory = 0;
  texture.bTransmit = 0;
  texture.bRenderTarget = 1;
  const HRESULT hr =
      lpDevice->CreateVertexBuffer(kBltQuadBytes, D3DUSAGE_WRITEONLY, kBltVertexFvf, D3DPOOL_MANAGED, &texture.lpVB, nullptr);
  if (FAILED(hr)) {
    ReportLogF("Back CreateVertexBuffer Err %x", static_cast<unsigned>(hr));
    return false;
  }
  lpDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &texture.lpSurface);
  if (texture.lpSurface) texture.lpSurface->GetDesc(&texture.descLevel);
  texture.nIndex = 0;
  g_lpD3DState->nTextureCount = 1;
  g_lpD3DState->nFontCount = 0;
  return true;
}

}  // namespace

bool DDInit(int bDirect3D, HWND hWnd, int nWidth, int nHeight, int nBpp, int bVSync, int nWindowMode,
            int nBackBufferMode, int nRefreshRate, int bUseRefreshRate, DDSURFACEDATA* lpSurfaceTable,
            IMAGEDATA* lpImageTable, int nImageCount) {
  g_bDirect3D = bDirect3D;
  g_hWndDD = hWnd;
  g_nScreenWidth = nWidth;
  g_nScreenHeight = nHeight;
  g_nBpp = nBpp;
  g_nBytesPerPixel = nBpp / 8;
  g_bVSync = bVSync;
  g_nWindowMode = nWindowMode;
  g_nBackBufferMode = nBackBufferMode;
  g_nRefreshRate = nRefreshRate;
  g_bUseRefreshRate = bUseRefreshRate;
  g_lpSurfaceTable = lpSurfaceTable;
  g_lpImageTable = lpImageTable;
  g_nImageCount = nImageCount;

  if (g_bDirect3D) {
    if (!DDInitD3D(hWnd, nWidth, nHeight, nBpp, nBackBufferMode)) return false;
  } else if (nWindowMode == 0) {
    if (g_bDDInitDone) DDReleaseAll();
    CreateDDState();
    SetWindowLongA(hWnd, GWL_EXSTYLE, WS_EX_TOPMOST);
    SetWindowLongA(hWnd, GWL_STYLE, WS_POPUP);
    if (!DDCheckInitError(DDInitFullScreen(hWnd, nWidth, nHeight, nBpp, nBackBufferMode))) return false;
  } else {
    if (g_lpDD) g_lpDD->RestoreDisplayMode();
    if (g_bDDInitDone) DDRelease();
    CreateDDState();
    if (!DDCheckInitError(DDInitWindow(hWnd))) return false;
  }
  g_bDisplayReady = 1;
  g_bDDInitDone = 1;
  SetMessageBoxSink(DisplayMessageBox);
  return true;
}

int DDInitD3D(HWND hWnd, int nWidth, int nHeight, int nBpp, int nBackBufferMode) {
  (void)nBackBufferMode;  // Direct3D always has one back buffer
  const int ddiVersion = GetDdiVersion();
  if (ddiVersion < 9) {
    ReportLogF("ビデオカードのドライバがDirectX9をサポートしていません！ %d", ddiVersion);
    return 0;
  }
  g_lpD3D9 = Direct3DCreate9(D3D_SDK_VERSION);
  if (!g_lpD3D9) {
    ReportLogF("ビデオカードがDirectX9をサポートしていません！");
    return 0;
  }
  FreeD3DState();
  g_lpD3DState = g_lpD3DStateAlloc = new D3DSTATE();
  D3DSTATE& state = *g_lpD3DState;
  D3DPRESENT_PARAMETERS& params = state.PresentParams;

  const bool windowed = g_nWindowMode == 1;
  if (windowed) {
    params.Windowed = 1;
    params.BackBufferWidth = params.BackBufferHeight = 0;
    params.FullScreen_RefreshRateInHz = 0;
    if (g_bVSync) {
      DEVMODEA mode;
      mode.dmSize = 148;
      mode.dmFields = DM_DISPLAYFREQUENCY;
      mode.dmDisplayFrequency = 60;
      if (ChangeDisplaySettingsA(&mode, CDS_TEST) == DISP_CHANGE_SUCCESSFUL) {
        const long result = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
        if (result != DISP_CHANGE_SUCCESSFUL) ReportLogF("ChangeDisplaySettings Err = %x", static_cast<unsigned>(result));
      }
    }
  } else {
    params.Windowed = 0;
    params.BackBufferWidth = static_cast<UINT>(nWidth);
    params.BackBufferHeight = static_cast<UINT>(nHeight);
    params.FullScreen_RefreshRateInHz = 60;
  }
  params.PresentationInterval = g_bVSync ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;

  state.nAdapter = 0;
  state.DeviceType = D3DDEVTYPE_HAL;
  if (FAILED(g_lpD3D9->GetDeviceCaps(state.nAdapter, state.DeviceType, &state.Caps))) ErrorLog("GetDeviceCaps Err");
  const std::uint32_t swapEffect =
      (state.Caps.Caps3 & D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD) ? D3DSWAPEFFECT_DISCARD : D3DSWAPEFFECT_COPY;
  state.bPow2 = (state.Caps.TextureCaps & D3DPTEXTURECAPS_POW2) ? 1 : 0;
  state.bSquareOnly = (state.Caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) ? 1 : 0;

  if (!ChooseFormats(nBpp, windowed, state)) return 0;

  params.BackBufferFormat = state.fmtBackBuffer;
  params.BackBufferCount = 1;
  params.MultiSampleType = 0;
  params.MultiSampleQuality = 0;
  params.SwapEffect = swapEffect;
  params.hDeviceWindow = nullptr;
  params.EnableAutoDepthStencil = 0;
  params.AutoDepthStencilFormat = state.fmtBackBuffer;
  params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;

  if (SUCCEEDED(g_lpD3D9->CreateDevice(state.nAdapter, state.DeviceType, hWnd, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                       &params, &lpDevice))) {
    ReportLogF("Device HAL-HARD");
  } else if (SUCCEEDED(g_lpD3D9->CreateDevice(state.nAdapter, state.DeviceType, hWnd,
                                              D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &lpDevice))) {
    ReportLogF("Device HAL-SOFT");
  } else {
    ErrorLog("CreateDevice Err");
    return 0;
  }
  ReportLogF("%s", FormatName(params.BackBufferFormat));
  state.fmtDisplay = params.BackBufferFormat;

  DDSetRenderStates();
  DDResetBltColor();
  DDResetBltColorOp();
  DDResetBltAlphaOp();

  if (!SetUpBackBuffer(nWidth, nHeight)) return 0;

  g_sdVirBackBuffer.DDAllocSurfaceData();
  DDSetVirBackBuffer(0);
  state.bCopyingVirBackBuffer = 0;
  DDCreateSurface(&g_sdVirBackBuffer, g_sdBackBuffer.nWidth, g_sdBackBuffer.nHeight, 0, 0, 0, 0, 0);
  CopyName(g_sdVirBackBuffer.szSurfaceType, "VirBackBuffer");
  g_sdWork.DDAllocSurfaceData();
  DDCreateSurface(&g_sdWork, g_sdBackBuffer.nWidth, g_sdBackBuffer.nHeight, 0, 0, 0, 0, 0);
  CopyName(g_sdWork.szSurfaceType, "WorkSD");

  if (!windowed) HideCursor();
  return 1;
}

int DDInitFullScreen(HWND hWnd, int nWidth, int nHeight, int nBpp, int nBackBufferMode) {
  SetSurfaceSize(g_sdPrimary, nWidth, nHeight, 0);
  SetSurfaceSize(g_sdBackBuffer, nWidth, nHeight, 0);
  SetSurfaceSize(g_sdScreenCopy, nWidth, nHeight, 1);

  if (FAILED(DirectDrawCreateEx(nullptr, &g_lpDD, nullptr, nullptr))) {
    ReportLogF("DirectDrawCreateEx Err");
    return CREATEEX_ERR;
  }
  if (FAILED(g_lpDD->SetCooperativeLevel(hWnd, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE))) {
    ReportLogF("SetCooperativeLevel Err");
    return SETCOOPLEVEL_ERR;
  }
  const auto width = static_cast<DWORD>(nWidth), height = static_cast<DWORD>(nHeight),
             bpp = static_cast<DWORD>(nBpp);
  HRESULT hr;
  if (g_bUseRefreshRate) {
    hr = g_lpDD->SetDisplayMode(width, height, bpp, static_cast<DWORD>(g_nRefreshRate), 0);
    if (FAILED(hr)) hr = g_lpDD->SetDisplayMode(width, height, bpp, 0, 0);
  } else {
    hr = g_lpDD->SetDisplayMode(width, height, bpp, 0, 0);
  }
  if (FAILED(hr)) {
    ReportLogF("SetDisplayMode Err");
    return SETDISPLAYMODE_ERR;
  }

  g_sdPrimary.DDAllocSurfaceData();
  DDSURFACEDESC2 desc;
  desc.dwSize = kDDSurfaceDesc2Size;
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  desc.dwBackBufferCount = nBackBufferMode == 1 ? 1 : 2;
  if (FAILED(g_lpDD->CreateSurface(&desc, &g_sdPrimary.lpDDraw->lpDDS, nullptr))) {
    ReportLogF("Primary CreateSurface Err");
    return CREATESURFACE_ERR;
  }
  g_sdBackBuffer.DDAllocSurfaceData();
  const DDSCAPS2 backBufferCaps{DDSCAPS_BACKBUFFER};
  if (FAILED(g_sdPrimary.lpDDraw->lpDDS->GetAttachedSurface(&backBufferCaps, &g_sdBackBuffer.lpDDraw->lpDDS))) {
    ReportLogF("GetAttachedSurface Err");
    return GETATTACHEDSURFACE_ERR;
  }
  if (!DDCreateSurface(&g_sdScreenCopy, nWidth, nHeight, 0, 1, 0, 0, 0)) return CREATESURFACE_ERR;

  PALETTEENTRY entries[256];
  FillFullScreenPalette(entries);
  if (FAILED(g_lpDD->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &g_lpDDPalette, nullptr))) {
    ReportLogF("CreatePalette Err");
    return CREATEPALETTE_ERR;
  }
  if (nBpp <= 8) {
    if (FAILED(g_sdPrimary.lpDDraw->lpDDS->SetPalette(g_lpDDPalette))) {
      ReportLogF("SetPalette Err");
      return SETPALETTE_ERR;
    }
  } else {
    DDReadPixelFormat(&g_cfSurface);
  }
  HideCursor();
  return DDINIT_OK;
}

int DDInitWindow(HWND hWnd) {
  RECT client;
  GetClientRect(hWnd, &client);
  POINT topLeft{client.left, client.top}, bottomRight{client.right, client.bottom};
  ClientToScreen(hWnd, &topLeft);
  ClientToScreen(hWnd, &bottomRight);
  g_rcClientScreen = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  const int width = g_rcClientScreen.Width(), height = g_rcClientScreen.Height();
  SetSurfaceSize(g_sdPrimary, width, height, 0);
  SetSurfaceSize(g_sdBackBuffer, width, height, 0);
  SetSurfaceSize(g_sdScreenCopy, width, height, 1);
  g_nDesktopBpp = GetDesktopBitsPerPixel();

  if (FAILED(DirectDrawCreateEx(nullptr, &g_lpDD, nullptr, nullptr))) {
    ReportLogF("DirectDrawCreateEx Err");
    return CREATEEX_ERR;
  }
  if (FAILED(g_lpDD->SetCooperativeLevel(hWnd, DDSCL_NORMAL))) {
    ReportLogF("SetCooperativeLevel Err");
    return SETCOOPLEVEL_ERR;
  }
  g_sdPrimary.DDAllocSurfaceData();
  DDSURFACEDESC2 desc;
  desc.dwSize = kDDSurfaceDesc2Size;
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  if (FAILED(g_lpDD->CreateSurface(&desc, &g_sdPrimary.lpDDraw->lpDDS, nullptr))) {
    ReportLogF("Primary CreateSurface Err");
    return CREATESURFACE_ERR;
  }
  if (!DDCreateSurface(&g_sdBackBuffer, width, height, 0, 0, 0, 0, 0)) return CREATESURFACE_ERR;
  if (!DDCreateSurface(&g_sdScreenCopy, width, height, 0, 1, 0, 0, 0)) return CREATESURFACE_ERR;

  PALETTEENTRY entries[256];
  FillWindowPalette(entries);
  if (FAILED(g_lpDD->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &g_lpDDPalette, nullptr))) {
    ReportLogF("CreatePalette Err");
    return CREATEPALETTE_ERR;
  }
  if (g_nDesktopBpp <= 8) {
    if (FAILED(g_sdPrimary.lpDDraw->lpDDS->SetPalette(g_lpDDPalette))) {
      ReportLogF("SetPalette Err");
      return SETPALETTE_ERR;
    }
  } else {
    DDReadPixelFormat(&g_cfSurface);
  }
  if (FAILED(g_lpDD->CreateClipper(0, &g_lpDDClipper, nullptr))) {
    ReportLogF("CreateClipper Err");
    return CLIPPER_ERR;
  }
  if (FAILED(g_lpDDClipper->SetHWnd(0, hWnd))) {
    ReportLogF("SetHWnd Err");
    return SETHWND_ERR;
  }
  if (FAILED(g_sdPrimary.lpDDraw->lpDDS->SetClipper(g_lpDDClipper))) {
    ReportLogF("SetClipper Err");
    return SETCLIPPER_ERR;
  }
  ShowCursorAgain();
  return DDINIT_OK;
}

bool DDCheckInitError(int nCode) {
  static const char* const kNames[] = {"",
                                       "CREATEEX_ERR",
                                       "SETCOOPLEVEL_ERR",
                                       "SETDISPLAYMODE_ERR",
                                       "CREATESURFACE_ERR",
                                       "GETATTACHEDSURFACE_ERR",
                                       "CREATEPALETTE_ERR",
                                       "SETPALETTE_ERR",
                                       "LOADIMAGE_ERR",
                                       "SETCOLORKEY_ERR",
                                       "CLIPPER_ERR",
                                       "SETHWND_ERR",
                                       "SETCLIPPER_ERR"};
  const bool fatal = (nCode >= CREATEEX_ERR && nCode <= SETPALETTE_ERR) || (nCode >= CLIPPER_ERR && nCode <= SETCLIPPER_ERR);
  if (!fatal) return true;
  ErrorLog(kNames[nCode]);
  return false;
}

void DDSetRenderStates() {
  if (!lpDevice) return;
  lpDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  lpDevice->SetRenderState(D3DRS_ZENABLE, 0);
  lpDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  lpDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  lpDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  lpDevice->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
  lpDevice->SetRenderState(D3DRS_COLORVERTEX, 1);
  for (std::uint32_t sampler = 0; sampler < 2; ++sampler) {
    lpDevice->SetSamplerState(sampler, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    lpDevice->SetSamplerState(sampler, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    lpDevice->SetSamplerState(sampler, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    lpDevice->SetSamplerState(sampler, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  }
}

void DDRelease() {
  // A start-up that failed half-way leaves some objects made and others
  // not: every step below accepts a missing object, and each state record
  // is freed with both of its pointers even when its interface is missing.
  if (g_lpDD || g_lpDDStateAlloc) {
    ReleaseSurfaceTable();
    ReleaseAndClear(g_lpDDClipper);
    ReleaseAndClear(g_lpDDPalette);
    DDReleaseSurface(&g_sdBackBuffer);
    DDReleaseSurface(&g_sdPrimary);
    DDReleaseSurface(&g_sdScreenCopy);
    if (g_lpDD && g_lpDD->Release() > 0) MessageBoxA("解放漏れがあります", "DirectDraw", MB_ICONHAND);
    g_lpDD = nullptr;
    FreeDDState();
  }
  if (g_lpD3D9 || g_lpD3DStateAlloc) {
    ReleaseSurfaceTable();
    DDReleaseSurface(&g_sdWork);
    DDReleaseSurface(&g_sdVirBackBuffer);
    DDReleaseSurface(&g_sdBackBuffer);
    ReleaseAndClear(lpDevice);
    ReleaseAndClear(g_lpD3D9);
    FreeD3DState();
  }
}

void DDReleaseAll() { DDRelease(); }

int DDSetGDIMode(int bOn) {
  if (g_nWindowMode != 0) return 1;
  if (g_lpD3DState) {
    if (!lpDevice) return 0;
    if (bOn) {
      DDEndScene();
      if (FAILED(lpDevice->SetDialogBoxMode(1))) return 0;
      ShowCursor(true);
      return 1;
    }
    HideCursor();
    return FAILED(lpDevice->SetDialogBoxMode(0)) ? 0 : 1;
  }
  if (g_lpDDState && g_lpDD) {
    if (bOn) {
      if (FAILED(g_lpDD->FlipToGDISurface())) return 0;
      ShowCursor(true);
      return 1;
    }
    HideCursor();
    return 1;
  }
  return 0;
}

int DDMesBox(const char* text, const char* caption, unsigned type) {
  if (!DDSetGDIMode(1)) {
    ErrorLogF("DDMesBox 失敗! %s, %s", text ? text : "", caption ? caption : "");
    return 0;
  }
  const int answer = MessageBoxA(text, caption, type);
  DDSetGDIMode(0);
  return answer;
}

int DisplayMessageBox(const char* text, const char* caption, unsigned type) {
  if (g_bDisplayReady != 0 && g_nWindowMode == 0) return DDMesBox(text, caption, type);
  return MessageBoxA(text, caption, type);
}
