#include "platform/gdi_text.h"

#include <string_view>

namespace platform {

namespace {

std::uint32_t PixelOf(const DeviceContextPixels& pixels, COLORREF color) {
  if (pixels.bitsPerPixel == 8) return color & 0xFF;  // PALETTEINDEX(n)
  const std::uint32_t rgb = (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
  return TruncateToFormat(rgb, pixels.redMask, pixels.greenMask, pixels.blueMask);
}

}  // namespace

HFONT CreateFontA(int nHeight, int nWidth, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                  const char* lpszFace) {
  auto text = TextFont::Create(lpszFace != nullptr ? lpszFace : "", nHeight, nWidth);
  if (text == nullptr) return nullptr;
  return new GdiFont{std::move(text)};
}

bool DeleteObject(HFONT font) {
  delete font;
  return font != nullptr;
}

HFONT SelectObject(HDC dc, HFONT font) {
  const HFONT before = dc->font;
  dc->font = font;
  return before;
}

int SetBkMode(HDC dc, int mode) {
  const int before = dc->bkMode;
  dc->bkMode = mode;
  return before;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  const COLORREF before = dc->textColor;
  dc->textColor = color;
  return before;
}

bool TextOutA(HDC dc, int x, int y, const char* text, int count) {
  if (dc == nullptr || dc->font == nullptr || text == nullptr || count < 0) return false;
  const DeviceContextPixels& pixels = dc->pixels;
  const TextTarget target{pixels.bits, pixels.width, pixels.height, pixels.pitch, pixels.bitsPerPixel / 8};
  dc->font->text->Draw(target, x, y, std::string_view(text, static_cast<std::size_t>(count)),
                       PixelOf(pixels, dc->textColor));
  return true;
}

bool GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size) {
  *size = {};
  if (dc == nullptr || dc->font == nullptr || text == nullptr || count < 0) return false;
  const TextExtent extent = dc->font->text->Measure(std::string_view(text, static_cast<std::size_t>(count)));
  *size = {extent.cx, extent.cy};
  return true;
}

}  // namespace platform
