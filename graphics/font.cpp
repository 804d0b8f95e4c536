#include "graphics/font.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/report.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font_layout.h"
#include "graphics/frame_effects.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "graphics/surface.h"

using namespace platform;

FONTDATA g_FontData[3] = {
    {"ＭＳ ゴシック", 0, 9, 10, 10, 241, 45, 1, 240, 50},
    {"ＭＳ ゴシック", 0, 16, 16, 16, 241, 45, 1, 240, 50},
    {"ＭＳ ゴシック", 0, 30, 32, 32, 241, 45, 1, 240, 50},
};

Font g_Font[3];
std::list<Font*> g_listFont;

namespace {

std::string FormatV(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  return text;
}

bool SurfaceExists(const DDSURFACEDATA* lpSD) {
  if (!lpSD) return false;
  if (g_lpD3DState) return lpSD->lpDT && lpSD->lpDT->lpSurface;
  return lpSD->lpDDraw && lpSD->lpDDraw->lpDDS;
}

// The text colour the back end draws with: an opaque D3DCOLOR, or a
// COLORREF (channels scaled to 0-255 at 16 bits; a palette index at 8).
std::uint32_t TextColour(int nPalNum) {
  const PaletteColour& e = g_palCurrent[static_cast<std::size_t>(nPalNum & 0xFF)];
  if (g_lpD3DState) return 0xFF000000u | std::uint32_t{e.r} << 16 | std::uint32_t{e.g} << 8 | e.b;
  if (g_nBpp == 8) return PALETTEINDEX(static_cast<unsigned>(nPalNum & 0xFF));
  if (g_nBpp == 16) {
    const auto scale = [](unsigned v, int max) { return max > 0 ? v * 255 / static_cast<unsigned>(max) : 0u; };
    return RGB(scale(e.r, g_cfSurface.nMaxR), scale(e.g, g_cfSurface.nMaxG), scale(e.b, g_cfSurface.nMaxB));
  }
  return RGB(e.r, e.g, e.b);
}

}  // namespace

void Font::Create(const char* lpszFaceName, int nCharWidthIn, int nCharHeightIn, int nCellWidthIn,
                  int nLineHeightIn, int nPalNumIn, DDSURFACEDATA* lpBox, int nBoxBorderIn, int nBoxBorderPalNumIn,
                  DDSURFACEDATA* lpSymbol) {
  const char* face = lpszFaceName ? lpszFaceName : "";
  nCharWidth = nCharWidthIn;
  nCharHeight = nCharHeightIn;
  nCellWidth = nCellWidthIn;
  nLineHeight = nLineHeightIn;
  nPalNum = nPalNumIn;
  lpBoxSD = lpBox;
  nBoxBorder = nBoxBorderIn;
  nBoxBorderPalNum = nBoxBorderPalNumIn;
  lpSymbolSD = lpSymbol;
  bSymbol = lpSymbol != nullptr;
  dwColor = TextColour(nPalNum);
  if (g_lpD3DState) {
    lpszFace = face;
    D3DXFONT_DESCA desc;
    desc.Height = nCharHeight;
    desc.Weight = FW_NORMAL;
    desc.CharSet = SHIFTJIS_CHARSET;
    std::snprintf(desc.FaceName, sizeof desc.FaceName, "%s", face);
    if (FAILED(D3DXCreateFontIndirect(lpDevice, &desc, &lpD3DXFont))) ErrorLogF("D3DXCreateFontIndirect %s", face);
    if (FAILED(D3DXCreateSprite(lpDevice, &lpD3DXSprite))) ErrorLog("D3DXCreateSprite");
    if (!SurfaceExists(&Work)) DDCreateSurface(&Work, g_sdBackBuffer.nWidth, g_sdBackBuffer.nHeight, 1, 0, 0, 0, 0);
  } else {
    hFont = CreateFontA(nCharHeight, nCharWidth, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, face);
    if (!hFont) ErrorLogF("CreateFontA %s", face);
    if (!SurfaceExists(&Work) &&
        !DDCreateSurface(&Work, g_sdBackBuffer.nWidth, g_sdBackBuffer.nHeight, 1, 0, 0, 0, 0)) {
      ErrorLogAndClose("DDCreateSurface Font::Work");
      return;
    }
  }
  int& count = g_lpD3DState ? g_lpD3DState->nFontCount : g_lpDDState->nFontCount;
  nId = count++;
  g_listFont.push_back(this);
}

void Font::Destroy() {
  if (lpD3DXFont) lpD3DXFont->Release();
  if (lpD3DXSprite) lpD3DXSprite->Release();
  lpD3DXFont = nullptr;
  lpD3DXSprite = nullptr;
  DeleteObject(hFont);
  hFont = nullptr;
  DDFreeSurface(&Work);
}

void Font::Restore() {
  if (g_lpD3DState) {
    if (lpD3DXFont) lpD3DXFont->OnResetDevice();
    if (lpD3DXSprite) lpD3DXSprite->OnResetDevice();
    return;
  }
  DirectDrawSurface7* work = Work.lpDDraw ? Work.lpDDraw->lpDDS : nullptr;
  if (work && work->IsLost() == DDERR_SURFACELOST) work->Restore();
}

TextExtent Font::MeasureText(const char* lpText) const {
  if (!lpText) return {};
  if (nCellWidth != 0) return MeasureTextFixed(lpText, nCellWidth, nLineHeight);
  if (g_lpD3DState || !hFont) return {};
  DeviceContext dc;
  dc.font = hFont;
  TextExtent extent;
  for (const char* line = lpText;;) {
    const int length = GetLineLength(line);
    SIZE size;
    GetTextExtentPoint32A(&dc, line, length, &size);
    if (size.cx != 0) {
      extent.cx = std::max(extent.cx, static_cast<int>(size.cx));
      extent.cy += nLineHeight;
    } else {
      extent.cy += 20;
    }
    if (line[length] == '\0') break;
    line += length + 1;
  }
  return extent;
}

void Font::RenderText(HDC hdc, int x, int y, const char* lpText, int bSkip) {
  const auto draw = [&](int gx, int gy, std::string_view glyph) {
    if (hdc) {
      TextOutA(hdc, gx, gy, glyph.data(), static_cast<int>(glyph.size()));
    } else if (lpD3DXFont) {
      RECT rect{gx, gy, gx, gy};
      lpD3DXFont->DrawTextA(lpD3DXSprite, glyph.data(), static_cast<int>(glyph.size()), &rect, DT_NOCLIP, dwColor);
    }
  };
  if (nCellWidth == 0) {
    int k = 0;
    for (const char* line = lpText;; ++k) {
      const int length = GetLineLength(line);
      draw(x, y + k * nLineHeight, std::string_view(line, static_cast<std::size_t>(length)));
      if (line[length] == '\0') break;
      line += length + 1;
    }
    return;
  }
  const FixedCellLayout layout{nCellWidth, nLineHeight, bCenter != 0, bSkip != 0 && SurfaceExists(lpSymbolSD)};
  const auto measure = [&](std::string_view glyph) {
    if (hdc) {
      SIZE size;
      GetTextExtentPoint32A(hdc, glyph.data(), static_cast<int>(glyph.size()), &size);
      return TextExtent{size.cx, size.cy};
    }
    if (!lpD3DXFont) return TextExtent{};
    RECT rect{0, 0, 0, 0};
    lpD3DXFont->DrawTextA(nullptr, glyph.data(), static_cast<int>(glyph.size()), &rect, DT_CALCRECT, dwColor);
    return TextExtent{rect.right, rect.bottom};
  };
  for (const GlyphPlacement& glyph : LayoutFixedCells(lpText, x, y, layout, measure))
    draw(glyph.x, glyph.y, glyph.glyph);
}

void Font::DrawSymbols(DDSURFACEDATA* lpDst, int x, int y, const char* lpText) {
  if (!bSymbol || !SurfaceExists(lpSymbolSD) || nCellWidth == 0) return;
  for (const SymbolPlacement& s : LayoutSymbols(lpText, x, y, nCellWidth, nLineHeight))
    DDBlt(lpDst, s.x, s.y, nCellWidth, nLineHeight, lpSymbolSD, s.nSymbol * nCellWidth, 0, 1);
}

int Font::DrawTextDirect3D(DDSURFACEDATA* lpDst, int x, int y, const char* lpText, int bSkip) {
  DDResolveLink(&lpDst);
  DDUseVirBackBuffer(&lpDst);
  if (!lpD3DXFont || !lpD3DXSprite || !lpDst || !lpDst->lpDT) return 0;
  if (!lpDst->lpDT->bSystemMemory) {
    if (!DDBeginScene() || !DDSetRenderTarget(0, lpDst)) return 0;
    lpD3DXSprite->Begin(D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE);
    RenderText(nullptr, x, y, lpText, bSkip);
    lpD3DXSprite->End();
    DrawSymbols(lpDst, x, y, lpText);
    DDSetRenderTarget(0, g_lpD3DState->lpRestTarget);
    return 1;
  }
  const TextExtent size = MeasureText(lpText);
  DDFillRectPal(&Work, 0, 0, size.cx, size.cy, 0);
  if (!DDBeginScene() || !DDSetRenderTarget(0, &Work)) return 0;
  lpD3DXSprite->Begin(D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE);
  RenderText(nullptr, 0, 0, lpText, bSkip);
  lpD3DXSprite->End();
  DrawSymbols(&Work, 0, 0, lpText);
  DDSetRenderTarget(0, g_lpD3DState->lpRestTarget);
  DDBlt(lpDst, x, y, size.cx, size.cy, &Work, 0, 0, 1);
  return 1;
}

int Font::DrawTextDirectDraw(DDSURFACEDATA* lpDst, int x, int y, const char* lpText, int bSkip) {
  DirectDrawSurface7* work = Work.lpDDraw ? Work.lpDDraw->lpDDS : nullptr;
  if (!hFont || !work) return 0;
  const TextExtent size = MeasureText(lpText);
  DDFillRectPal(&Work, 0, 0, size.cx, size.cy, 0);
  HDC hdc = nullptr;
  if (work->GetDC(&hdc) == DD_OK) {
    const HFONT before = SelectObject(hdc, hFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, dwColor);
    RenderText(hdc, 0, 0, lpText, bSkip);
    SelectObject(hdc, before);
    work->ReleaseDC(hdc);
  }
  DDBlt(lpDst, x, y, size.cx, size.cy, &Work, 0, 0, 1);
  DrawSymbols(lpDst, x, y, lpText);
  return 1;
}

int Font::DrawText(DDSURFACEDATA* lpDst, int x, int y, const char* lpText, int bNoSymbol) {
  if (!lpDst || !lpText) return 0;
  const int bSkip = bNoSymbol ? 0 : bSymbol;
  if (g_lpD3DState) return DrawTextDirect3D(lpDst, x, y, lpText, bSkip);
  if (g_lpDDState) return DrawTextDirectDraw(lpDst, x, y, lpText, bSkip);
  return 0;
}

void Font::Printf(DDSURFACEDATA* lpDst, int x, int y, const char* lpFormat, ...) {
  va_list args;
  va_start(args, lpFormat);
  const std::string text = FormatV(lpFormat, args);
  va_end(args);
  DrawText(lpDst, x, y, text.c_str(), 0);
}

void Font::DrawBoxAt(DDSURFACEDATA* lpDst, int x, int y, int w, int h) {
  DDBltFrame(lpDst, x, y, w, h, lpBoxSD, nBoxBorder, static_cast<std::uint32_t>(nBoxBorderPalNum));
}

void Font::DrawBox(DDSURFACEDATA* lpDst, int x, int y, int w, int h) {
  const int boxWidth = lpBoxSD ? lpBoxSD->nWidth : 0, boxHeight = lpBoxSD ? lpBoxSD->nHeight : 0;
  if (x == FONT_BOX_CENTER) x = (boxWidth >> 1) - (w >> 1);
  if (y == FONT_BOX_CENTER) y = (boxHeight >> 1) - (h >> 1);
  DrawBoxAt(lpDst, x, y, w, h);
}

void Font::DrawTextBox(DDSURFACEDATA* lpDst, int x, int y, int w, int h, const char* lpText, int nMargin) {
  if (!lpText) lpText = "";
  if (w == 0 || h == 0) {
    const TextExtent size = MeasureText(lpText);
    if (w == 0) w = nMargin + size.cx;
    if (h == 0) h = size.cy;
  }
  const int boxWidth = lpBoxSD ? lpBoxSD->nWidth : 0, boxHeight = lpBoxSD ? lpBoxSD->nHeight : 0;
  if (x == FONT_BOX_CENTER) x = (boxWidth >> 1) - (w >> 1);
  if (y == FONT_BOX_CENTER) y = (boxHeight >> 1) - (h >> 1);
  DrawBoxAt(lpDst, x, y, w, h);
  DrawText(lpDst, x + nMargin, y, lpText, 0);
}

void Font::PrintfBox(DDSURFACEDATA* lpDst, int x, int y, int w, int h, const char* lpFormat, ...) {
  va_list args;
  va_start(args, lpFormat);
  const std::string text = FormatV(lpFormat, args);
  va_end(args);
  DrawTextBox(lpDst, x, y, w, h, text.c_str(), 0);
}

int DDCreateFonts(Font* lpFonts, const FONTDATA* lpData, int n) {
  for (int i = 0; i < n; ++i) {
    const FONTDATA& d = lpData[i];
    lpFonts[i].Create(d.szFace, d.nCharWidth, d.nCharHeight, d.nCellWidth, d.nLineHeight, d.nPalNum,
                      &g_SurfaceTable[d.nBoxImage], d.nBoxBorder, d.nBoxBorderPalNum, &g_SurfaceTable[d.nSymbolImage]);
  }
  return 1;
}

int DDCreateDigitSurfaces(DDSURFACEDATA* lpSurfaces, IMAGEDATA* lpImages, int n, Font* lpFonts,
                          const FONTDATA* lpData) {
  for (int i = 0; i < n; ++i) {
    const IMAGEDATA& image = lpImages[i];
    if (!DDCreateSurface(&lpSurfaces[i], 10 * lpData[i].nCellWidth, lpData[i].nLineHeight, image.bTransmit,
                         image.bSystemMemory, image.bTexSystemMemory, image.bAlias, 0))
      continue;
    DDRenderDigits(&lpSurfaces[i], &lpFonts[i]);
  }
  return 1;
}

void DDRenderDigits(DDSURFACEDATA* lpSD, Font* lpFont) {
  DDClearSurfacePal(lpSD, 0);
  lpFont->DrawText(lpSD, 0, 0, "0123456789", 0);
}
