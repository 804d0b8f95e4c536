// One editable parameter of a firing pattern, a shot movement or an effect
// kind: its caption, the editor's range and its default.
//
// Parameter tables are static arrays of these, three entries per kind; a
// slot that a kind does not use is {"", 0, 0, 0}. The player reads only the
// defaults (effect files older than the effect parameters take them).
#pragma once

#include <cstdint>

struct cEdParamInfo {
  const char* m_pszCaption;
  std::int16_t m_nMin;
  std::int16_t m_nMax;
  std::int32_t m_nDefault;
};
