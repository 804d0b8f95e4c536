#include "graphics/font_layout.h"

#include <algorithm>
#include <cstring>

#include "base/strings.h"

namespace {

bool IsIdeographicSpace(const char* p) {
  return static_cast<unsigned char>(p[0]) == 0x81 && static_cast<unsigned char>(p[1]) == 0x40;
}

bool IsLowerCase(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

std::vector<GlyphPlacement> LayoutFixedCells(const char* text, int x, int y, const FixedCellLayout& layout,
                                             const MeasureGlyph& measure) {
  std::vector<GlyphPlacement> glyphs;
  const int cell = layout.nCellWidth;
  const int line = layout.nLineHeight;
  auto centred = [&](int cx, int cy, std::string_view glyph) {
    const platform::TextExtent extent = measure(glyph);
    return GlyphPlacement{x + cx + (cell >> 1) - (extent.cx >> 1), y + cy + (line >> 1) - (extent.cy >> 1), glyph};
  };
  int cx = 0;
  int cy = 0;
  for (const char* p = text; *p != '\0';) {
    if (IsDoubleByteChar(p)) {
      const std::string_view glyph(p, 2);
      if (!IsIdeographicSpace(p)) {
        glyphs.push_back(layout.bCenter ? centred(cx, cy, glyph) : GlyphPlacement{x + cx, y + cy, glyph});
      }
      cx += cell;
      p += 2;
      continue;
    }
    const std::string_view glyph(p, 1);
    if (*p == '\n') {
      cx = 0;
      cy += line;
    } else if (layout.bSkipLowerCase && IsLowerCase(*p)) {
      cx += cell;
    } else {
      glyphs.push_back(layout.bCenter ? centred(cx, cy, glyph)
                                      : GlyphPlacement{x + cx + (cell >> 3), y + cy + (line >> 4) - 1, glyph});
      cx += cell;
    }
    ++p;
  }
  return glyphs;
}

std::vector<SymbolPlacement> LayoutSymbols(const char* text, int x, int y, int nCellWidth, int nLineHeight) {
  std::vector<SymbolPlacement> symbols;
  int cx = 0;
  int cy = 0;
  for (const char* p = text; *p != '\0';) {
    if (IsDoubleByteChar(p)) {
      cx += nCellWidth;
      p += 2;
      continue;
    }
    if (*p == '\n') {
      cx = 0;
      cy += nLineHeight;
    } else {
      if (IsLowerCase(*p)) symbols.push_back({x + cx, y + cy, *p - 'a'});
      cx += nCellWidth;
    }
    ++p;
  }
  return symbols;
}

platform::TextExtent MeasureTextFixed(const char* text, int nCellWidth, int nLineHeight) {
  int widest = 0;
  int chars = 0;
  int lines = 1;
  for (const char* p = text; *p != '\0';) {
    if (*p == '\n') {
      widest = std::max(widest, chars);
      chars = 0;
      ++lines;
      ++p;
      continue;
    }
    ++chars;
    p += IsDoubleByteChar(p) ? 2 : 1;
  }
  widest = std::max(widest, chars);
  return {widest * nCellWidth, lines * nLineHeight};
}

int GetLineLength(const char* text) {
  const char* end = std::strchr(text, '\n');
  return static_cast<int>(end != nullptr ? end - text : std::strlen(text));
}
