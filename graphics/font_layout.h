// Where the game fonts put their glyphs and symbol cells.
//
// The game fonts lay text out in fixed cells: every character, one byte or a
// Shift-JIS pair, takes one cell of nCellWidth; a line feed starts the next
// line nLineHeight lower at the text's left edge. Without centring a
// one-byte glyph sits at (cell >> 3, (line >> 4) - 1) inside its cell and a
// two-byte glyph at the cell's corner; with centring each glyph is centred
// from its measured extent. The ideographic space (0x81 0x40) draws nothing.
// Lower-case letters a to z may be left to the symbol strip, whose cells
// LayoutSymbols places. The functions only compute positions; the fonts draw.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "platform/text_engine.h"

struct GlyphPlacement {
  int x = 0;
  int y = 0;
  std::string_view glyph;  // the glyph's one or two bytes
  bool operator==(const GlyphPlacement&) const = default;
};

struct SymbolPlacement {
  int x = 0;
  int y = 0;
  int nSymbol = 0;  // cell of the strip: the letter - 'a'
  bool operator==(const SymbolPlacement&) const = default;
};

struct FixedCellLayout {
  int nCellWidth = 0;
  int nLineHeight = 0;
  bool bCenter = false;
  // 'a' to 'z' take their cell but draw no glyph (the symbol strip draws).
  bool bSkipLowerCase = false;
};

// The extent of one glyph's bytes (GetTextExtentPoint32A / DT_CALCRECT);
// asked only when centring.
using MeasureGlyph = std::function<platform::TextExtent(std::string_view)>;

std::vector<GlyphPlacement> LayoutFixedCells(const char* text, int x, int y, const FixedCellLayout& layout,
                                             const MeasureGlyph& measure);

// The symbol cells over the lower-case letters of a text.
std::vector<SymbolPlacement> LayoutSymbols(const char* text, int x, int y, int nCellWidth, int nLineHeight);

// The size of a text in fixed cells: the largest character count of its
// lines times nCellWidth, the number of lines times nLineHeight (an empty
// text is one line). Lines of any length.
platform::TextExtent MeasureTextFixed(const char* text, int nCellWidth, int nLineHeight);

// The bytes before the first line feed or the end of the text.
int GetLineLength(const char* text);
