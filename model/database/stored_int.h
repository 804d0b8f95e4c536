// m_nStoredInt: an int32 that character images, sword types, effects,
// pictures, sounds and music store and copy but the player never reads for
// play. Files older than version 153 may hold anything there; it loads as 0.
#pragma once

#include <cstdint>

#include "model/record/record.h"

inline void ResetOldStoredInt(std::int32_t& value) {
  if (g_nFileVersion < 153) value = 0;
}
