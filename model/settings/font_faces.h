// The label tables of the settings: the font face names that the settings'
// font index selects, and the names of the two colour modes. Names are CP932
// bytes, written exactly as the operating system's fonts are named.
#pragma once

#include <array>
#include <cstddef>

constexpr int kFontFaceCount = 123;
// "ＭＳ Ｐゴシック", the face of new projects.
constexpr int kDefaultFontFace = 60;

// Entry 122 is an empty name.
extern const std::array<const char*, kFontFaceCount> g_astrFontFace;
// Indexed by the full-colour switch: 0 palette mode, 1 full colour, 2 empty.
extern const std::array<const char*, 3> g_astrColourMode;

// The face name of a font index; an index outside the table (a damaged
// settings file) gives the default face.
const char* FontFaceNameAt(int index);
