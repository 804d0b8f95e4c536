#include "tools/make-demo/demo_palette.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <tuple>

namespace demo {
namespace {

// Full colour (shade 10) of each ramp.
constexpr Rgb kRampHues[pal::kRampCount] = {
    {112, 124, 168},  // slate
    {224, 40, 40},    // red
    {240, 128, 24},   // orange
    {248, 216, 32},   // yellow
    {56, 184, 56},    // green
    {32, 192, 208},   // cyan
    {48, 88, 224},    // blue
    {144, 64, 208},   // purple
    {232, 96, 168},   // pink
    {152, 96, 48},    // brown
    {240, 184, 136},  // skin
    {144, 144, 144},  // grey
};

constexpr Rgb kCycleHues[8] = {
    {40, 96, 224}, {240, 88, 24}, {64, 232, 96}, {255, 208, 48},
    {255, 104, 200}, {48, 224, 240}, {168, 88, 255}, {240, 240, 255},
};

std::uint8_t ShadeChannel(int hue, int shade) {
  // 20 % of the hue at shade 0 up to the hue at shade 10, then towards white.
  const int value = shade <= 10 ? hue * (20 + 8 * shade) / 100 : hue + (255 - hue) * (shade - 10) * 15 / 100;
  return static_cast<std::uint8_t>(value);
}

Rgb ShadeOf(const Rgb& hue, int shade) {
  return {ShadeChannel(hue.r, shade), ShadeChannel(hue.g, shade), ShadeChannel(hue.b, shade)};
}

Rgb Grey(int value) {
  const auto v = static_cast<std::uint8_t>(std::min(value, 255));
  return {v, v, v};
}

Palette MakeDemoPalette() {
  Palette p{};
  p[pal::kTransparent] = {255, 0, 255};
  for (int i = 1; i <= 9; ++i) p[i] = Grey((i - 1) * 32);
  p[pal::kOutline] = {24, 20, 32};
  p[pal::kSkin] = {252, 208, 168};
  p[pal::kRed] = {240, 32, 32};
  p[pal::kYellow] = {255, 232, 40};
  p[pal::kGreen] = {40, 216, 72};
  p[pal::kBlue] = {40, 104, 248};
  for (int r = 0; r < pal::kRampCount; ++r)
    for (int s = 0; s < pal::kShadesPerRamp; ++s)
      p[pal::Shade(static_cast<pal::Ramp>(r), s)] = ShadeOf(kRampHues[r], s);
  for (int g = 0; g < 8; ++g)
    for (int s = 0; s < 4; ++s) {
      const Rgb& hue = kCycleHues[g];
      const int percent = 40 + 20 * s;
      p[pal::Cycle(static_cast<pal::CycleGroup>(g), s)] = {static_cast<std::uint8_t>(hue.r * percent / 100),
                                                            static_cast<std::uint8_t>(hue.g * percent / 100),
                                                            static_cast<std::uint8_t>(hue.b * percent / 100)};
    }
  p[pal::kBorder] = {224, 232, 255};
  p[pal::kText] = {255, 255, 255};
  p[pal::kWindow] = {40, 56, 136};
  p[pal::kWindowDark] = {20, 28, 72};
  p[pal::kGold] = {255, 200, 40};
  p[pal::kShadow] = {56, 48, 64};
  for (int i = pal::kFirstSystemGrey; i < 256; ++i) p[i] = Grey(8 + 27 * (i - pal::kFirstSystemGrey));
  return p;
}

bool IsBlendResult(int index) {
  return index != pal::kTransparent && (index < pal::kFirstCycleColour || index > pal::kLastCycleColour);
}

}  // namespace

const Palette& DemoPalette() {
  static const Palette palette = MakeDemoPalette();
  return palette;
}

Palette PaletteVariant(const Palette& base, int variant) {
  assert(variant >= 0 && variant < kPaletteVariantCount);
  constexpr int first = pal::kFirstRampColour;
  constexpr int length = pal::kRampCount * pal::kShadesPerRamp;
  Palette out = base;
  if (variant < 12) {
    // Every ramp moves down by `variant` ramps; the lowest ones wrap to the top.
    const int count = variant * pal::kShadesPerRamp;
    for (int i = 0; i < length; ++i) out[first + i] = base[first + (i + count) % length];
  } else {
    const int source = (variant - 11) * pal::kShadesPerRamp;
    for (int i = 0; i < length; ++i) out[first + i] = base[source + i % pal::kShadesPerRamp];
  }
  return out;
}

std::vector<std::uint8_t> BuildBlendTable(const Palette& palette) {
  // The candidates sorted by brightness (r + g + b), so that a search going out
  // from the brightness it looks for can stop once the brightness difference
  // alone rules out beating the best distance found ((ds)^2 <= 3 d). Of equal
  // colours only the lowest number stays.
  struct Candidate {
    int sum, r, g, b, index;
  };
  std::array<Candidate, 256> candidates;
  int count = 0;
  for (int i = 0; i < 256; ++i)
    if (IsBlendResult(i)) {
      const Rgb& c = palette[i];
      candidates[count++] = {c.r + c.g + c.b, c.r, c.g, c.b, i};
    }
  std::sort(candidates.begin(), candidates.begin() + count, [](const Candidate& x, const Candidate& y) {
    return std::tie(x.sum, x.r, x.g, x.b, x.index) < std::tie(y.sum, y.r, y.g, y.b, y.index);
  });
  count = static_cast<int>(std::unique(candidates.begin(), candidates.begin() + count,
                                       [](const Candidate& x, const Candidate& y) {
                                         return x.r == y.r && x.g == y.g && x.b == y.b;
                                       }) -
                           candidates.begin());

  std::vector<std::uint8_t> table(kBlendTableSize);
  for (int a = 0; a < 256; ++a) {
    for (int b = a; b < 256; ++b) {
      int result = b;
      if (a != pal::kTransparent && a != b) {
        const int r = (palette[a].r + palette[b].r) / 2;
        const int g = (palette[a].g + palette[b].g) / 2;
        const int bl = (palette[a].b + palette[b].b) / 2;
        const int sum = r + g + bl;
        int best = 3 * 256 * 256;  // above every distance
        result = 256;
        const auto consider = [&](const Candidate& c) {
          const int d = (c.r - r) * (c.r - r) + (c.g - g) * (c.g - g) + (c.b - bl) * (c.b - bl);
          if (d < best || (d == best && c.index < result)) {
            best = d;
            result = c.index;
          }
        };
        const auto inReach = [&](const Candidate& c) { return (c.sum - sum) * (c.sum - sum) <= 3 * best; };
        int up = static_cast<int>(std::lower_bound(candidates.begin(), candidates.begin() + count, sum,
                                                   [](const Candidate& c, int v) { return c.sum < v; }) -
                                  candidates.begin());
        int down = up - 1;
        for (bool goingUp = true, goingDown = true; goingUp || goingDown;) {
          goingUp = goingUp && up < count && inReach(candidates[up]);
          if (goingUp) consider(candidates[up++]);
          goingDown = goingDown && down >= 0 && inReach(candidates[down]);
          if (goingDown) consider(candidates[down--]);
        }
      }
      table[a * 256 + b] = static_cast<std::uint8_t>(result);
      table[b * 256 + a] = static_cast<std::uint8_t>(result);
    }
  }
  return table;
}

}  // namespace demo
