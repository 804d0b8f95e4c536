// The upgrade that blocks, characters and items share for files older than
// data version 219: the shot sheet (graphic kind 3) gained an empty first
// graphic then, so their graphic numbers on it move up by one, at most to
// the last graphic, 119.
#pragma once

#include <algorithm>
#include <cstdint>

#include "model/record/record.h"

constexpr int GRAPHIC_KIND_SHOT = 3;

inline void UpgradeShotGraphicNo(int nGraphicKind, std::int16_t& nGraphicNo) {
  if (g_nFileVersion >= 219 || nGraphicKind != GRAPHIC_KIND_SHOT) return;
  nGraphicNo = static_cast<std::int16_t>(std::min(nGraphicNo + 1, 119));
}
