// The demo's database (data\database\): one animation set that walks the
// figures of the character sheet, a character image, a sword type, a burst
// effect that hits show, a character effect that enemies die with, a screen
// effect, a picture, and no sound or music (the demo ships no audio files,
// and an entry without a file would fail to load).
#pragma once

#include "model/database/database.h"

namespace demo {

// Character effect that enemies die with, and the effect a hit shows.
inline constexpr int kDeathCharaEffect = 1;
inline constexpr int kHitEffect = 1;
// The character image that the knight uses (graphic kind 4).
inline constexpr int kKnightImage = 1;

cDatabase DemoDatabase();

}  // namespace demo
