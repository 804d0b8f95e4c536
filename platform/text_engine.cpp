#include "platform/text_engine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/font_faces.h"
#include "platform/text.h"

namespace platform {

namespace {

struct Glyph {
  int advance = 0;
  int left = 0;  // from the pen position
  int top = 0;   // from the baseline, upwards
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bits;  // width x height, 1 = ink
};

// FreeType objects are used by one thread at a time: every engine operation
// holds this lock.
std::mutex& EngineMutex() {
  static std::mutex mutex;
  return mutex;
}

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    if (FT_Init_FreeType(&made) != 0) made = nullptr;
    return made;
  }();
  return library;
}

FT_Face OpenFace(const ResolvedFace& resolved) {
  if (resolved.file.empty() || Library() == nullptr) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(Library(), resolved.file.c_str(), resolved.index, &face) != 0) return nullptr;
  return face;
}

int Round(double value) { return static_cast<int>(std::lround(value)); }

// GDI's sizes of a face: the cell height, the pixels per em (vertical and
// horizontal) and the ascent, from the requested height and width.
struct FaceSize {
  int cellHeight;
  int ascent;
  int ppem;
  int xppem;
};

FaceSize SizeFace(FT_Face face, bool emCell, int height, int width) {
  const double upem = face->units_per_EM > 0 ? face->units_per_EM : 1000.0;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  // GDI's cell: the Windows ascent and descent. A one-em cell holds the em
  // box, whose top is the typographic ascender.
  double ascender = os2 != nullptr ? os2->usWinAscent : face->ascender;
  double descender = os2 != nullptr ? os2->usWinDescent : -face->descender;
  if (emCell && os2 != nullptr && os2->sTypoAscender - os2->sTypoDescender > 0) {
    ascender = os2->sTypoAscender;
    descender = -os2->sTypoDescender;
  }
  if (ascender + descender <= 0) {
    ascender = upem * 0.88;
    descender = upem * 0.12;
  }
  const double cellUnits = emCell ? upem : ascender + descender;
  FaceSize size{};
  if (height == 0) height = 12;
  if (height > 0) {
    size.cellHeight = height;
    size.ppem = std::max(1, Round(height * upem / cellUnits));
  } else {
    size.ppem = -height;
    size.cellHeight = std::max(1, Round(size.ppem * cellUnits / upem));
  }
  size.ascent = Round(size.cellHeight * ascender / (ascender + descender));
  size.xppem = size.ppem;
  if (width != 0) {
    // A one-em cell face's average character is half an em wide.
    const double average =
        !emCell && os2 != nullptr && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : upem / 2;
    size.xppem = std::max(1, Round(std::abs(width) * upem / average));
  }
  return size;
}

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F; }

}  // namespace

struct TextFont::SizedFace {
  FT_Face face = nullptr;
  FT_Face fallback = nullptr;  // null when the fallback is the face itself or missing
  std::string file;
  std::unordered_map<char32_t, Glyph> glyphs;

  ~SizedFace() {
    if (fallback != nullptr) FT_Done_Face(fallback);
    if (face != nullptr) FT_Done_Face(face);
  }

  const Glyph& GetGlyph(char32_t c) {
    auto found = glyphs.find(c);
    if (found != glyphs.end()) return found->second;
    Glyph& glyph = glyphs[c];
    if (IsControl(c)) return glyph;
    FT_Face from = face;
    FT_UInt index = FT_Get_Char_Index(face, c);
    if (index == 0 && fallback != nullptr) {
      const FT_UInt other = FT_Get_Char_Index(fallback, c);
      if (other != 0) {
        from = fallback;
        index = other;
      }
    }
    if (FT_Load_Glyph(from, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return glyph;
    const FT_GlyphSlot slot = from->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.bits.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
    const int pitch = std::abs(bitmap.pitch);
    for (int row = 0; row < glyph.height; ++row) {
      const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * pitch;
      for (int col = 0; col < glyph.width; ++col) {
        const bool ink = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((line[col >> 3] >> (7 - (col & 7))) & 1) != 0
                                                                 : line[col] >= 128;
        glyph.bits[static_cast<std::size_t>(row) * glyph.width + col] = ink ? 1 : 0;
      }
    }
    return glyph;
  }
};

TextFont::TextFont(std::shared_ptr<SizedFace> face, int cellHeight, int ascent, int ppem)
    : m_face(std::move(face)), m_nCellHeight(cellHeight), m_nAscent(ascent), m_nPpem(ppem) {}

std::shared_ptr<const TextFont> TextFont::Create(std::string_view faceCp932, int height, int width) {
  const ResolvedFace resolved = ResolveFace(faceCp932);
  const ResolvedFace fallback = FallbackFace();
  std::lock_guard lock(EngineMutex());
  FT_Face face = OpenFace(resolved);
  if (face == nullptr) return nullptr;
  const FaceSize size = SizeFace(face, resolved.emCell, height, width);
  // Faces are shared by every font of the same file and size, with their
  // glyph caches.
  static std::map<std::tuple<std::string, int, int, int>, std::shared_ptr<SizedFace>> faces;
  std::shared_ptr<SizedFace>& shared = faces[{resolved.file, resolved.index, size.ppem, size.xppem}];
  if (shared != nullptr) {
    FT_Done_Face(face);
  } else {
    shared = std::make_shared<SizedFace>();
    shared->face = face;
    shared->file = resolved.file;
    FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(size.xppem), static_cast<FT_UInt>(size.ppem));
    if (fallback.file != resolved.file || fallback.index != resolved.index) {
      shared->fallback = OpenFace(fallback);
      if (shared->fallback != nullptr) {
        FT_Set_Pixel_Sizes(shared->fallback, static_cast<FT_UInt>(size.xppem), static_cast<FT_UInt>(size.ppem));
      }
    }
  }
  return std::make_shared<const TextFont>(shared, size.cellHeight, size.ascent, size.ppem);
}

const std::string& TextFont::FontFile() const { return m_face->file; }

TextExtent TextFont::Measure(std::string_view cp932) const {
  std::lock_guard lock(EngineMutex());
  TextExtent extent{0, m_nCellHeight};
  while (!cp932.empty()) {
    std::size_t length = 1;
    extent.cx += m_face->GetGlyph(DecodeCp932Char(cp932, &length)).advance;
    cp932.remove_prefix(length);
  }
  return extent;
}

void TextFont::Draw(const TextTarget& target, int x, int y, std::string_view cp932, std::uint32_t pixel) const {
  if (target.pixels == nullptr || target.bytesPerPixel < 1 || target.bytesPerPixel > 4) return;
  std::uint8_t bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(pixel >> (8 * i));
  std::lock_guard lock(EngineMutex());
  const int baseline = y + m_nAscent;
  int pen = x;
  while (!cp932.empty()) {
    std::size_t length = 1;
    const Glyph& glyph = m_face->GetGlyph(DecodeCp932Char(cp932, &length));
    cp932.remove_prefix(length);
    const int left = pen + glyph.left;
    const int top = baseline - glyph.top;
    for (int row = std::max(0, -top); row < glyph.height && top + row < target.height; ++row) {
      std::uint8_t* line = target.pixels + (top + row) * target.pitch;
      const std::uint8_t* ink = glyph.bits.data() + static_cast<std::size_t>(row) * glyph.width;
      for (int col = std::max(0, -left); col < glyph.width && left + col < target.width; ++col) {
        if (ink[col] == 0) continue;
        std::copy(bytes, bytes + target.bytesPerPixel, line + (left + col) * target.bytesPerPixel);
      }
    }
    pen += glyph.advance;
  }
}

std::string TextEngineVersion() {
  FT_Int major = 0, minor = 0, patch = 0;
  {
    std::lock_guard lock(EngineMutex());
    if (Library() != nullptr) FT_Library_Version(Library(), &major, &minor, &patch);
  }
  return "FreeType " + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

}  // namespace platform
