// A palette-indexed picture to draw the demo's images on, with the few shapes
// they are made of and a built-in 3 x 5 pixel font (digits, capital letters
// and a little punctuation; lower-case letters are drawn as capitals).
// Everything outside the picture is clipped; all arithmetic is integral, so a
// drawing gives the same pixels on every run.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace demo {

class Canvas {
 public:
  // A new canvas is all transparent (palette colour 0).
  Canvas(int width, int height);

  int Width() const { return m_nWidth; }
  int Height() const { return m_nHeight; }
  const std::vector<std::uint8_t>& Pixels() const { return m_Pixels; }

  std::uint8_t At(int x, int y) const;
  void Set(int x, int y, std::uint8_t colour);

  void FillRect(int x, int y, int w, int h, std::uint8_t colour);
  void FrameRect(int x, int y, int w, int h, std::uint8_t colour);  // 1-pixel outline inside the rectangle
  void Line(int x0, int y0, int x1, int y1, std::uint8_t colour);
  void FillCircle(int cx, int cy, int radius, std::uint8_t colour);
  void FillEllipse(int cx, int cy, int rx, int ry, std::uint8_t colour);
  // Triangle with integer corners, filled by the half-plane test.
  void FillTriangle(int x0, int y0, int x1, int y1, int x2, int y2, std::uint8_t colour);

  // Every transparent pixel of the rectangle with a drawn pixel of the
  // rectangle left, right, above or below it becomes `colour`: a 1-pixel
  // outline around the shapes.
  void Outline(int x, int y, int w, int h, std::uint8_t colour);
  // Copies the rectangle (sx, sy, w, h) to (dx, dy), mirrored left to right
  // when asked; transparent source pixels are copied too.
  void Copy(int sx, int sy, int w, int h, int dx, int dy, bool mirror = false);

  // Copies the drawn (non-transparent) pixels of the rectangle (sx, sy, w, h)
  // of `source` to (dx, dy), each as a scale x scale square.
  void Stamp(const Canvas& source, int sx, int sy, int w, int h, int dx, int dy, int scale = 1);
  // Draws the rectangle (sx, sy, w, h) of `source` at half size at (dx, dy):
  // each 2 x 2 block becomes its most frequent drawn colour (the lowest number
  // on a tie), or stays transparent when none of its pixels is drawn.
  void StampHalf(const Canvas& source, int sx, int sy, int w, int h, int dx, int dy);

  // Text in the 3 x 5 font, each pixel drawn as a scale x scale square; glyphs
  // are 3 * scale wide and one scale apart. Unknown characters leave a gap.
  void Text(int x, int y, std::string_view text, std::uint8_t colour, int scale = 1);
  // The same with a shadow one scale to the right and below.
  void ShadowText(int x, int y, std::string_view text, std::uint8_t colour, std::uint8_t shadow, int scale = 1);
  static int TextWidth(std::string_view text, int scale = 1);
  static int TextHeight(int scale = 1) { return 5 * scale; }
  // Text centred in the rectangle (x, y, w, h).
  void CentredText(int x, int y, int w, int h, std::string_view text, std::uint8_t colour, int scale = 1);

 private:
  int m_nWidth;
  int m_nHeight;
  std::vector<std::uint8_t> m_Pixels;
};

}  // namespace demo
