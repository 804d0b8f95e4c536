// GDI's fonts and text on a device context, over the text engine.
//
// CreateFontA makes a font of the text engine (text_engine.h: a positive
// height is the cell height; the character set, weight and the other
// arguments the program passes as in its calls are accepted as they are).
// A device context is a surface's pixels while the surface's DC is out
// (gdi_blit.h; here 8 bits too) with the font, background mode and text
// colour selected into it. TextOutA draws one line of CP932 text with the
// cell's top-left at (x, y), transparently: only glyph pixels are written.
// The text colour is a COLORREF (R | G << 8 | B << 16) converted to the
// surface's format as GDI converts it (by truncation); on an 8-bit surface
// it must name a palette entry, PALETTEINDEX(n), and n is written. A DC
// without a font draws nothing and measures 0 x 0. One thread uses a DC at
// a time; fonts may be shared.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gdi_blit.h"
#include "platform/text_engine.h"

namespace platform {

using DWORD = std::uint32_t;
using COLORREF = std::uint32_t;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr DWORD SHIFTJIS_CHARSET = 128;
constexpr int FW_NORMAL = 400;

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) { return (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16; }
constexpr COLORREF PALETTEINDEX(unsigned index) { return 0x01000000u | (index & 0xFFFF); }

struct SIZE {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
};

struct GdiFont {
  std::shared_ptr<const TextFont> text;
};
using HFONT = GdiFont*;

struct DeviceContext {
  DeviceContextPixels pixels;  // bitsPerPixel 8, 16, 24 or 32
  HFONT font = nullptr;
  int bkMode = OPAQUE;
  COLORREF textColor = 0;
};
using HDC = DeviceContext*;

// Null when no font can be made (no font installed at all).
HFONT CreateFontA(int nHeight, int nWidth, int nEscapement, int nOrientation, int fnWeight, DWORD fdwItalic,
                  DWORD fdwUnderline, DWORD fdwStrikeOut, DWORD fdwCharSet, DWORD fdwOutputPrecision,
                  DWORD fdwClipPrecision, DWORD fdwQuality, DWORD fdwPitchAndFamily, const char* lpszFace);
// Frees the font; null does nothing. The font must not be selected into a DC.
bool DeleteObject(HFONT font);

HFONT SelectObject(HDC dc, HFONT font);  // the font selected before
int SetBkMode(HDC dc, int mode);         // the mode before
COLORREF SetTextColor(HDC dc, COLORREF color);

bool TextOutA(HDC dc, int x, int y, const char* text, int count);
// The sum of the advances of count bytes, and the cell height.
bool GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size);

}  // namespace platform
