// The game's fonts: a face at a size, a colour from the palette, fixed
// cells or proportional lines, a box picture with a border for framed text
// and a symbol strip whose cells stand in for the letters a to z.
//
// A font draws on both back ends: Direct3D through a D3DX font in a sprite
// straight into the destination (through the font's Work surface when the
// destination is a system-memory texture), DirectDraw through a GDI font on
// Work's device context, Work then blitted keyed onto the destination.
// Symbol cells (strip cell c - 'a', nCellWidth x nLineHeight at row 0) are
// blitted over the lower-case letters whenever the font has symbols and the
// strip exists, also for texts drawn with bNoSymbol. Creation results are
// checked: a font whose objects could not be made draws nothing. Destroy
// may be called any number of times. Formatting has no length limit.
// Created on the main thread at start-up, used on the game thread.
#pragma once

#include <list>

#include "graphics/surface_data.h"
#include "platform/gdi_text.h"
#include "platform/text_engine.h"
#include "platform/video/d3dx_font.h"

constexpr int FONT_BOX_CENTER = 10000;

struct FONTDATA {
  char szFace[256];
  int nCharWidth;
  int nCharHeight;
  int nCellWidth;  // 0: proportional
  int nLineHeight;
  int nPalNum;
  int nBoxImage;
  int nBoxBorder;
  int nBoxBorderPalNum;
  int nSymbolImage;
};

extern FONTDATA g_FontData[3];

class Font {
 public:
  Font() = default;
  ~Font() { Destroy(); }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  void Create(const char* lpszFace, int nCharWidth, int nCharHeight, int nCellWidth, int nLineHeight, int nPalNum,
              DDSURFACEDATA* lpBoxSD, int nBoxBorder, int nBoxBorderPalNum, DDSURFACEDATA* lpSymbolSD);
  void Destroy();
  void Restore();

  int DrawText(DDSURFACEDATA* lpDst, int x, int y, const char* lpText, int bNoSymbol);
  void Printf(DDSURFACEDATA* lpDst, int x, int y, const char* lpFormat, ...) __attribute__((format(printf, 5, 6)));
  void DrawBox(DDSURFACEDATA* lpDst, int x, int y, int w, int h);
  void DrawTextBox(DDSURFACEDATA* lpDst, int x, int y, int w, int h, const char* lpText, int nMargin);
  void PrintfBox(DDSURFACEDATA* lpDst, int x, int y, int w, int h, const char* lpFormat, ...)
      __attribute__((format(printf, 7, 8)));
  // The size a text takes (fixed cells; proportional lines on DirectDraw,
  // 0 x 0 proportional on Direct3D).
  platform::TextExtent MeasureText(const char* lpText) const;

  int nId = 0;
  platform::HFONT hFont = nullptr;
  platform::D3DXFont* lpD3DXFont = nullptr;
  platform::D3DXSprite* lpD3DXSprite = nullptr;
  const char* lpszFace = nullptr;
  int nCharWidth = 0;
  int nCharHeight = 0;
  int nCellWidth = 0;
  int nLineHeight = 0;
  int nPalNum = 0;
  std::uint32_t dwColor = 0;
  int bCenter = 0;
  DDSURFACEDATA Work;
  DDSURFACEDATA* lpBoxSD = nullptr;
  int nBoxBorder = 0;
  int nBoxBorderPalNum = 0;
  DDSURFACEDATA* lpSymbolSD = nullptr;
  int bSymbol = 0;

 private:
  void RenderText(platform::HDC hdc, int x, int y, const char* lpText, int bSkip);
  void DrawSymbols(DDSURFACEDATA* lpDst, int x, int y, const char* lpText);
  void DrawBoxAt(DDSURFACEDATA* lpDst, int x, int y, int w, int h);
  int DrawTextDirect3D(DDSURFACEDATA* lpDst, int x, int y, const char* lpText, int bSkip);
  int DrawTextDirectDraw(DDSURFACEDATA* lpDst, int x, int y, const char* lpText, int bSkip);
};

extern Font g_Font[3];
extern std::list<Font*> g_listFont;

int DDCreateFonts(Font* lpFonts, const FONTDATA* lpData, int n);
int DDCreateDigitSurfaces(DDSURFACEDATA* lpSurfaces, IMAGEDATA* lpImages, int n, Font* lpFonts,
                          const FONTDATA* lpData);
void DDRenderDigits(DDSURFACEDATA* lpSD, Font* lpFont);
