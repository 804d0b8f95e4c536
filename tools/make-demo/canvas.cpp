#include "tools/make-demo/canvas.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <iterator>

namespace demo {
namespace {

struct Glyph {
  char c;
  const char* rows[5];  // 3 pixels a row, '#' drawn
};

constexpr Glyph kGlyphs[] = {
    {'0', {"###", "#.#", "#.#", "#.#", "###"}},
    {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"###", "..#", "###", "#..", "###"}},
    {'3', {"###", "..#", "###", "..#", "###"}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}},
    {'5', {"###", "#..", "###", "..#", "###"}},
    {'6', {"###", "#..", "###", "#.#", "###"}},
    {'7', {"###", "..#", "..#", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}},
    {'9', {"###", "#.#", "###", "..#", "###"}},
    {'A', {".#.", "#.#", "###", "#.#", "#.#"}},
    {'B', {"##.", "#.#", "##.", "#.#", "##."}},
    {'C', {".##", "#..", "#..", "#..", ".##"}},
    {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
    {'E', {"###", "#..", "##.", "#..", "###"}},
    {'F', {"###", "#..", "##.", "#..", "#.."}},
    {'G', {".##", "#..", "#.#", "#.#", ".##"}},
    {'H', {"#.#", "#.#", "###", "#.#", "#.#"}},
    {'I', {"###", ".#.", ".#.", ".#.", "###"}},
    {'J', {"..#", "..#", "..#", "#.#", ".#."}},
    {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},
    {'L', {"#..", "#..", "#..", "#..", "###"}},
    {'M', {"#.#", "###", "#.#", "#.#", "#.#"}},
    {'N', {"##.", "#.#", "#.#", "#.#", "#.#"}},
    {'O', {"###", "#.#", "#.#", "#.#", "###"}},
    {'P', {"##.", "#.#", "##.", "#..", "#.."}},
    {'Q', {"###", "#.#", "#.#", "###", "..#"}},
    {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},
    {'S', {".##", "#..", ".#.", "..#", "##."}},
    {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
    {'U', {"#.#", "#.#", "#.#", "#.#", "###"}},
    {'V', {"#.#", "#.#", "#.#", "#.#", ".#."}},
    {'W', {"#.#", "#.#", "#.#", "###", "#.#"}},
    {'X', {"#.#", "#.#", ".#.", "#.#", "#.#"}},
    {'Y', {"#.#", "#.#", ".#.", ".#.", ".#."}},
    {'Z', {"###", "..#", ".#.", "#..", "###"}},
    {'!', {".#.", ".#.", ".#.", "...", ".#."}},
    {'?', {"###", "..#", ".#.", "...", ".#."}},
    {'.', {"...", "...", "...", "...", ".#."}},
    {'-', {"...", "...", "###", "...", "..."}},
    {':', {"...", ".#.", "...", ".#.", "..."}},
    {'+', {"...", ".#.", "###", ".#.", "..."}},
    {'/', {"..#", "..#", ".#.", "#..", "#.."}},
};

const Glyph* FindGlyph(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (const Glyph& g : kGlyphs)
    if (g.c == c) return &g;
  return nullptr;
}

}  // namespace

Canvas::Canvas(int width, int height)
    : m_nWidth(width), m_nHeight(height), m_Pixels(static_cast<std::size_t>(width) * height, 0) {}

std::uint8_t Canvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return 0;
  return m_Pixels[static_cast<std::size_t>(y) * m_nWidth + x];
}

void Canvas::Set(int x, int y, std::uint8_t colour) {
  if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
  m_Pixels[static_cast<std::size_t>(y) * m_nWidth + x] = colour;
}

void Canvas::FillRect(int x, int y, int w, int h, std::uint8_t colour) {
  for (int j = std::max(y, 0); j < std::min(y + h, m_nHeight); ++j)
    for (int i = std::max(x, 0); i < std::min(x + w, m_nWidth); ++i)
      m_Pixels[static_cast<std::size_t>(j) * m_nWidth + i] = colour;
}

void Canvas::FrameRect(int x, int y, int w, int h, std::uint8_t colour) {
  FillRect(x, y, w, 1, colour);
  FillRect(x, y + h - 1, w, 1, colour);
  FillRect(x, y, 1, h, colour);
  FillRect(x + w - 1, y, 1, h, colour);
}

void Canvas::Line(int x0, int y0, int x1, int y1, std::uint8_t colour) {
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1;
  const int sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    Set(x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void Canvas::FillCircle(int cx, int cy, int radius, std::uint8_t colour) {
  FillEllipse(cx, cy, radius, radius, colour);
}

void Canvas::FillEllipse(int cx, int cy, int rx, int ry, std::uint8_t colour) {
  if (rx <= 0 || ry <= 0) {
    Set(cx, cy, colour);
    return;
  }
  // Inside when (x / rx)^2 + (y / ry)^2 <= 1, with a little slack for round edges.
  const long long limit = static_cast<long long>(rx) * rx * ry * ry;
  for (int y = -ry; y <= ry; ++y)
    for (int x = -rx; x <= rx; ++x) {
      const long long v = static_cast<long long>(x) * x * ry * ry + static_cast<long long>(y) * y * rx * rx;
      if (v <= limit + limit / (2 * std::max(rx, ry))) Set(cx + x, cy + y, colour);
    }
}

void Canvas::FillTriangle(int x0, int y0, int x1, int y1, int x2, int y2, std::uint8_t colour) {
  const auto edge = [](int ax, int ay, int bx, int by, int px, int py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
  };
  const int area = edge(x0, y0, x1, y1, x2, y2);
  if (area == 0) {
    Line(x0, y0, x1, y1, colour);
    Line(x1, y1, x2, y2, colour);
    return;
  }
  for (int y = std::min({y0, y1, y2}); y <= std::max({y0, y1, y2}); ++y)
    for (int x = std::min({x0, x1, x2}); x <= std::max({x0, x1, x2}); ++x) {
      const int a = edge(x0, y0, x1, y1, x, y);
      const int b = edge(x1, y1, x2, y2, x, y);
      const int c = edge(x2, y2, x0, y0, x, y);
      if ((a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0)) Set(x, y, colour);
    }
}

void Canvas::Outline(int x, int y, int w, int h, std::uint8_t colour) {
  const Canvas before = *this;
  const auto drawn = [&](int i, int j) {
    return i >= x && j >= y && i < x + w && j < y + h && before.At(i, j) != 0;
  };
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (before.At(i, j) == 0 && (drawn(i - 1, j) || drawn(i + 1, j) || drawn(i, j - 1) || drawn(i, j + 1)))
        Set(i, j, colour);
}

void Canvas::Copy(int sx, int sy, int w, int h, int dx, int dy, bool mirror) {
  const Canvas source = *this;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) Set(dx + (mirror ? w - 1 - i : i), dy + j, source.At(sx + i, sy + j));
}

void Canvas::Stamp(const Canvas& source, int sx, int sy, int w, int h, int dx, int dy, int scale) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (const std::uint8_t c = source.At(sx + i, sy + j)) FillRect(dx + i * scale, dy + j * scale, scale, scale, c);
}

void Canvas::StampHalf(const Canvas& source, int sx, int sy, int w, int h, int dx, int dy) {
  for (int j = 0; j < h / 2; ++j)
    for (int i = 0; i < w / 2; ++i) {
      const std::uint8_t block[4] = {source.At(sx + 2 * i, sy + 2 * j), source.At(sx + 2 * i + 1, sy + 2 * j),
                                     source.At(sx + 2 * i, sy + 2 * j + 1), source.At(sx + 2 * i + 1, sy + 2 * j + 1)};
      std::uint8_t chosen = 0;
      int chosenCount = 0;
      for (std::uint8_t c : block) {
        if (c == 0) continue;
        const int count = static_cast<int>(std::count(std::begin(block), std::end(block), c));
        if (count > chosenCount || (count == chosenCount && c < chosen)) {
          chosen = c;
          chosenCount = count;
        }
      }
      if (chosen) Set(dx + i, dy + j, chosen);
    }
}

void Canvas::Text(int x, int y, std::string_view text, std::uint8_t colour, int scale) {
  for (char c : text) {
    if (const Glyph* glyph = FindGlyph(c))
      for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 3; ++col)
          if (glyph->rows[row][col] == '#') FillRect(x + col * scale, y + row * scale, scale, scale, colour);
    x += 4 * scale;
  }
}

void Canvas::ShadowText(int x, int y, std::string_view text, std::uint8_t colour, std::uint8_t shadow, int scale) {
  Text(x + scale, y + scale, text, shadow, scale);
  Text(x, y, text, colour, scale);
}

int Canvas::TextWidth(std::string_view text, int scale) {
  return text.empty() ? 0 : (4 * static_cast<int>(text.size()) - 1) * scale;
}

void Canvas::CentredText(int x, int y, int w, int h, std::string_view text, std::uint8_t colour, int scale) {
  Text(x + (w - TextWidth(text, scale)) / 2, y + (h - TextHeight(scale)) / 2, text, colour, scale);
}

}  // namespace demo
