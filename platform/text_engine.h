// The text engine under the GDI and D3DX font stand-ins: both back ends draw
// the same glyphs from it.
//
// A TextFont is a face name (CP932, resolved by font_faces.h) at a GDI size:
// a positive height is the cell height (ascent + descent), a negative one the
// character height (the em), 0 a cell of 12 pixels; a width of 0 lets the
// face choose, another width is the average character width. Text is CP932:
// a lead byte followed by a trail byte is one glyph. Glyphs are FreeType's
// hinted monochrome bitmaps (no grey fringe: text is keyed against the
// transparent colour and drawn into 8-bit surfaces), placed by their rounded
// hinted advances without kerning, as GDI places them; a glyph the face lacks
// comes from the fallback face. Control characters draw nothing and take no
// room. Glyphs are cached per face and size. All operations may be called
// from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

struct TextExtent {
  int cx = 0;
  int cy = 0;
};

// A plain pixel buffer that text is drawn into: bytesPerPixel 1 to 4, each
// pixel a little-endian value; pitch in bytes.
struct TextTarget {
  std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t pitch = 0;
  int bytesPerPixel = 1;
};

class TextFont {
 public:
  // Null when no font file can be opened (no font installed at all).
  static std::shared_ptr<const TextFont> Create(std::string_view faceCp932, int height, int width = 0);

  // GetTextExtentPoint32A / DT_CALCRECT: the sum of the advances, and the
  // cell height.
  TextExtent Measure(std::string_view cp932) const;

  // TextOutA with a transparent background: the glyphs of one line with the
  // cell's top-left at (x, y); each set glyph pixel inside the target gets
  // `pixel`.
  void Draw(const TextTarget& target, int x, int y, std::string_view cp932, std::uint32_t pixel) const;

  int CellHeight() const { return m_nCellHeight; }
  int Ascent() const { return m_nAscent; }
  int PixelsPerEm() const { return m_nPpem; }
  // The font file the glyphs come from (the fallback's aside).
  const std::string& FontFile() const;

  struct SizedFace;
  TextFont(std::shared_ptr<SizedFace> face, int cellHeight, int ascent, int ppem);

 private:
  std::shared_ptr<SizedFace> m_face;
  int m_nCellHeight;
  int m_nAscent;
  int m_nPpem;
};

// "FreeType 2.12.1": the engine's version, recorded with text goldens.
std::string TextEngineVersion();

}  // namespace platform
