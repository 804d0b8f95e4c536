// The demo project's 256-colour palette, its variants and its 8-bit blend
// tables.
//
// Layout of the palette (every picture of the demo is drawn in these numbers):
//   0         the transparent colour (magenta); no other entry comes near it,
//             even at 5 bits a channel
//   1 .. 9    black to white in nine steps
//   10 .. 15  outline, skin, red, yellow, green, blue
//   16 .. 207 twelve ramps of 16 shades, dark to light (16, the darkest shade
//             of the slate ramp, is the plain backdrop)
//   208 .. 239 eight groups of four shades that the 8-bit screen cycles
//   240 .. 245 box border, text, window, dark window, gold, shadow
//   246 .. 255 greys
// The palette variant n (0 to 23) is the palette the 8-bit screen shows for
// the player's palette option n: below 12 the ramps are rotated by n ramps,
// from 12 on every ramp is a copy of one ramp. Blend table n holds, for every
// pair of colours (a, b), the colour of variant n nearest to their average.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/make-demo/bmp_writer.h"

namespace demo {

namespace pal {
inline constexpr std::uint8_t kTransparent = 0;
inline constexpr std::uint8_t kBlack = 1;
inline constexpr std::uint8_t kDarkGrey = 3;
inline constexpr std::uint8_t kWhite = 9;
inline constexpr std::uint8_t kOutline = 10;
inline constexpr std::uint8_t kSkin = 11;
inline constexpr std::uint8_t kRed = 12;
inline constexpr std::uint8_t kYellow = 13;
inline constexpr std::uint8_t kGreen = 14;
inline constexpr std::uint8_t kBlue = 15;
inline constexpr std::uint8_t kBackdrop = 16;
inline constexpr std::uint8_t kFirstRampColour = 16;
inline constexpr std::uint8_t kFirstCycleColour = 208;
inline constexpr std::uint8_t kLastCycleColour = 239;
inline constexpr std::uint8_t kBorder = 240;
inline constexpr std::uint8_t kText = 241;
inline constexpr std::uint8_t kWindow = 242;
inline constexpr std::uint8_t kWindowDark = 243;
inline constexpr std::uint8_t kGold = 244;
inline constexpr std::uint8_t kShadow = 245;
inline constexpr std::uint8_t kFirstSystemGrey = 246;

enum Ramp { kSlate, kRedRamp, kOrange, kYellowRamp, kGreenRamp, kCyan, kBlueRamp, kPurple, kPink, kBrown,
            kSkinRamp, kGreyRamp, kRampCount };
inline constexpr int kShadesPerRamp = 16;

// Shade 0 (dark) to 15 (light) of a ramp; shade 10 is the full colour.
constexpr std::uint8_t Shade(Ramp ramp, int shade) {
  return static_cast<std::uint8_t>(kFirstRampColour + kShadesPerRamp * ramp + shade);
}

enum CycleGroup { kWaterCycle, kLavaCycle, kGlowCycle, kGoldCycle, kPinkCycle, kIceCycle, kVioletCycle,
                  kFlashCycle };
// Step 0 (dark) to 3 (light) of a cycling group of four.
constexpr std::uint8_t Cycle(CycleGroup group, int step) {
  return static_cast<std::uint8_t>(kFirstCycleColour + 4 * group + step);
}
}  // namespace pal

const Palette& DemoPalette();

inline constexpr int kPaletteVariantCount = 24;

// The palette as the 8-bit screen shows it with palette option `variant`.
Palette PaletteVariant(const Palette& base, int variant);

inline constexpr std::size_t kBlendTableSize = 256 * 256;

// Entry a * 256 + b: the colour half-way between a and b. The table is
// symmetric; a pair with the transparent colour gives the other colour, equal
// colours give themselves, other pairs the nearest colour that is neither
// transparent nor cycling (lowest number on a tie).
std::vector<std::uint8_t> BuildBlendTable(const Palette& palette);

}  // namespace demo
