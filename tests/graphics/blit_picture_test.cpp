// Blits and fills on small surfaces in every mode, drawn as ASCII pictures.
//
// Legend (palette numbers): '.' 10, A 20, B 30, C 40, D 50, k 0 (the
// transparent colour). A character stands for the pixel value that a fill
// with its palette number leaves on a surface of the mode, so the same
// pictures hold on every back end and depth.
#include "graphics/blit.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "graphics/surface_effects.h"
#include "graphics/surface_lock.h"
#include "support/graphics_device.h"

namespace {

using Picture = std::vector<std::string>;

struct LegendEntry {
  char symbol;
  std::uint32_t palette;
};
constexpr LegendEntry kLegend[] = {{'.', 10}, {'A', 20}, {'B', 30}, {'C', 40}, {'D', 50}, {'k', 0}};

std::uint32_t PaletteOf(char symbol) {
  for (const LegendEntry& e : kLegend)
    if (e.symbol == symbol) return e.palette;
  ADD_FAILURE() << "no legend entry " << symbol;
  return 0;
}

// Surfaces of one test, released at its end (before the device).
class Surfaces {
 public:
  ~Surfaces() {
    for (DDSURFACEDATA& s : m_Surfaces) DDReleaseSurface(&s);
  }
  DDSURFACEDATA* Make(const Picture& picture, bool systemMemory) {
    DDSURFACEDATA& s = m_Surfaces.emplace_back();
    const int width = static_cast<int>(picture[0].size()), height = static_cast<int>(picture.size());
    EXPECT_TRUE(DDCreateSurface(&s, width, height, 1, systemMemory, systemMemory, 0, 0));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) DDFillRectPal(&s, x, y, 1, 1, PaletteOf(picture[y][x]));
    return &s;
  }

 private:
  std::deque<DDSURFACEDATA> m_Surfaces;
};

// The surface's pixels in legend symbols ('?' for a value no symbol gives).
Picture Draw(DDSURFACEDATA* surface, Surfaces& surfaces) {
  std::vector<std::pair<std::uint32_t, char>> values;
  for (const LegendEntry& e : kLegend) {
    cSurfaceLock probe(surfaces.Make({std::string(1, e.symbol)}, false));
    values.emplace_back(probe.GetPixel(0, 0), e.symbol);
  }
  cSurfaceLock lock(surface);
  EXPECT_NE(lock.m_pBits, nullptr);
  Picture picture(static_cast<std::size_t>(surface->nHeight), std::string(static_cast<std::size_t>(surface->nWidth), '?'));
  for (int y = 0; y < surface->nHeight; ++y)
    for (int x = 0; x < surface->nWidth; ++x)
      for (const auto& [value, symbol] : values)
        if (lock.GetPixel(x, y) == value) {
          picture[y][x] = symbol;
          break;
        }
  return picture;
}

std::string Show(const Picture& picture) {
  std::string text = "\n";
  for (const std::string& row : picture) text += row + "\n";
  return text;
}

const Picture kSource = {
    "ABkC",
    "kDDk",
    "CkBA",
};

using DrawCall = std::function<void(DDSURFACEDATA* dst, DDSURFACEDATA* src)>;

struct BlitCase {
  const char* name;
  DrawCall draw;
  Picture expected;
  // The Direct3D copy of a system-memory texture where it differs from the
  // quad (its own clipping and sampling); empty: the same.
  Picture expectedSoftware = {};
};

const BlitCase kCases[] = {
    {"CopyAt1x1", [](auto d, auto s) { DDBlt(d, 1, 1, 4, 3, s, 0, 0, 0); },
     {"........", ".ABkC...", ".kDDk...", ".CkBA..."}},
    {"KeyedCopyLeavesTransparentPixelsOut", [](auto d, auto s) { DDBlt(d, 1, 1, 4, 3, s, 0, 0, 1); },
     {"........", ".AB.C...", "..DD....", ".C.BA..."}},
    {"ClippedAtTheLeftEdge", [](auto d, auto s) { DDBlt(d, -2, 0, 4, 3, s, 0, 0, 0); },
     {"kC......", "Dk......", "BA......", "........"}},
    {"ClippedAtTheRightEdge", [](auto d, auto s) { DDBlt(d, 6, 0, 4, 3, s, 0, 0, 0); },
     {"......AB", "......kD", "......Ck", "........"}},
    {"ClippedAtTheBottom", [](auto d, auto s) { DDBlt(d, 0, 2, 4, 3, s, 0, 0, 0); },
     {"........", "........", "ABkC....", "kDDk...."}},
    {"NegativeSourceStartIsRaisedWithoutMovingTheDestination",
     [](auto d, auto s) { DDBlt(d, 0, 0, 4, 3, s, -1, 0, 0); },
     {"ABk.....", "kDD.....", "CkB.....", "........"},
     {".ABk....", ".kDD....", ".CkB....", "........"}},
    {"ZeroWidthDrawsNothing", [](auto d, auto s) { DDBlt(d, 0, 0, 0, 3, s, 0, 0, 0); },
     {"........", "........", "........", "........"}},
    {"StretchedToTwiceTheWidth", [](auto d, auto s) { DDBltStretch(d, 0, 0, 8, 3, s, 0, 0, 4, 3, 0); },
     {"AABBkkCC", "kkDDDDkk", "CCkkBBAA", "........"}},
    {"ShrunkToHalfTheWidthSamplesPixelCentres", [](auto d, auto s) { DDBltStretch(d, 0, 0, 2, 3, s, 0, 0, 4, 3, 0); },
     {"BC......", "Dk......", "kA......", "........"},
     {"Ak......", "kD......", "CB......", "........"}},
    {"StretchedAcrossTheRightEdge", [](auto d, auto s) { DDBltStretch(d, 4, 0, 8, 3, s, 0, 0, 4, 3, 0); },
     {"....AABB", "....kkDD", "....CCkk", "........"}},
    {"MirroredCell", [](auto d, auto s) { DDBltStretch(d, 1, 0, 4, 3, s, 4, 0, -4, 3, 0); },
     {".CkBA...", ".kDDk...", ".ABkC...", "........"}},
    {"MirrorStartingInsideTheCell", [](auto d, auto s) { DDBltStretch(d, -1, 0, 4, 3, s, 4, 0, -4, 3, 0); },
     {"kBA.....", "DDk.....", "BkC.....", "........"}},
    {"MirroredAndKeyed", [](auto d, auto s) { DDBltStretch(d, 1, 0, 4, 3, s, 4, 0, -4, 3, 1); },
     {".C.BA...", "..DD....", ".AB.C...", "........"}},
    {"UpsideDownByNegativeHeight", [](auto d, auto s) { DDBltStretch(d, 0, 0, 4, 3, s, 0, 3, 4, -3, 0); },
     {"CkBA....", "kDDk....", "ABkC....", "........"},
     {"........", "CkBA....", "kDDk....", "........"}},
    {"FillLargerThanTheSurfaceFillsAll", [](auto d, auto) { DDFillRectPal(d, -5, -5, 100, 100, 20); },
     {"AAAAAAAA", "AAAAAAAA", "AAAAAAAA", "AAAAAAAA"}},
    {"FillCutAtTheEdges", [](auto d, auto) { DDFillRectPal(d, 6, 2, 10, 10, 30); },
     {"........", "........", "......BB", "......BB"}},
    {"FillWithTheTransparentColour", [](auto d, auto) { DDFillRectPal(d, 0, 0, 2, 2, 0); },
     {"kk......", "kk......", "........", "........"}},
    {"ClearSurface", [](auto d, auto) { DDClearSurfacePal(d, 50); },
     {"DDDDDDDD", "DDDDDDDD", "DDDDDDDD", "DDDDDDDD"}},
    {"CircleOfRadiusTwo", [](auto d, auto s) { DDBltCircle(d, 4, 2, 9, 9, 2, 1, s, 2, 1, 0); },
     {"........", "...Bk...", "...DD...", "...kB..."}},
};

// Blitting needs the transparent colour to be palette colour 0's value.
void UsePaletteZeroAsTransparent() {
  if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
}

class BlitPictures : public testing::TestWithParam<std::tuple<GraphicsMode, BlitCase, bool>> {};

TEST_P(BlitPictures, DrawTheExpectedPicture) {
  const auto& [mode, blit, systemMemory] = GetParam();
  ScopedGraphicsDevice device(mode);
  ASSERT_TRUE(device.Started());
  UsePaletteZeroAsTransparent();
  Surfaces surfaces;
  DDSURFACEDATA* destination = surfaces.Make({"........", "........", "........", "........"}, false);
  DDSURFACEDATA* source = surfaces.Make(kSource, systemMemory);
  blit.draw(destination, source);
  const Picture& expected =
      systemMemory && mode.bDirect3D && !blit.expectedSoftware.empty() ? blit.expectedSoftware : blit.expected;
  EXPECT_EQ(Show(Draw(destination, surfaces)), Show(expected));
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, BlitPictures,
    testing::Combine(testing::ValuesIn(kGraphicsModes), testing::ValuesIn(kCases),
                     testing::Values(false, true)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name +
             (std::get<2>(info.param) ? "_SystemMemorySource" : "");
    });

}  // namespace
