// Face names to installed font files, through fontconfig.
//
// Projects name Windows faces ("ＭＳ ゴシック", "ＭＳ Ｐゴシック", the HG
// faces, ...), which Linux does not have and which fontconfig on its own maps
// to Latin fonts. The player therefore loads its own alias configuration over
// the system's: the fixed gothic names go to IPAGothic, the proportional
// gothic names to IPAPGothic, the mincho names to IPAMincho and IPAPMincho.
// Every name is asked for with lang=ja, so a name that neither the aliases
// nor an installed font know (an empty name included) gets the best Japanese
// font installed. Resolution never fails while any font is installed.
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct ResolvedFace {
  std::string file;  // empty when no font at all is installed
  int index = 0;     // face index within the file
  // The named Windows face has a cell of exactly one em (ascent + descent =
  // units per em), so a GDI cell height is its pixel size; the stand-in is
  // sized that way instead of by its own, taller vertical metrics.
  bool emCell = false;
};

// faceCp932 is the face name as the program holds it (CP932).
ResolvedFace ResolveFace(std::string_view faceCp932);

// The face that supplies glyphs the chosen face lacks (IPAGothic, as Windows
// maps a missing glyph to its Shift-JIS font).
ResolvedFace FallbackFace();

// The alias configuration the player loads, as fontconfig XML.
std::string FaceAliasConfiguration();

}  // namespace platform
