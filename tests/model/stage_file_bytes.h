// Stage files of any data version, written byte by byte from the file
// layout, independently of the stage's own field table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/byte_builder.h"

namespace stage_bytes {

// One row of the stage's field table: the first version that stores it, and
// two values for the rows that name two members.
struct FieldRow {
  const char* name;
  int version;
  bool isDouble;
  int count;
};

inline const std::vector<FieldRow>& FieldRows() {
  static const std::vector<FieldRow> rows = {
      {"m_nWidth", 0, false, 1},           {"m_nReserved1", 0, false, 1},
      {"m_nReserved2", 0, false, 1},       {"m_nHeight", 0, false, 1},
      {"m_bLimitLeft", 0, false, 1},       {"m_bLimitRight", 0, false, 1},
      {"m_bLimitBottom", 0, false, 1},     {"m_bLimitTop", 0, false, 1},
      {"m_nLimitLeft", 0, false, 1},       {"m_nLimitRight", 0, false, 1},
      {"m_nLimitTop", 0, false, 1},        {"m_nLimitBottom", 0, false, 1},
      {"m_nFps", 0, false, 1},             {"m_bTimeLimit", 0, false, 1},
      {"m_nTimeLimit", 0, false, 1},       {"m_nTimeWarning", 0, false, 1},
      {"m_bAutoScrollX", 0, false, 1},     {"m_bAutoScrollY", 0, false, 1},
      {"m_nAutoScrollSpeedX", 0, false, 1}, {"m_nAutoScrollSpeedY", 0, false, 1},
      {"m_dGravity", 0, true, 1},          {"m_nSpeedLevel", 0, false, 1},
      {"m_nHitCheckLevel", 0, false, 1},   {"m_nBgm", 0, false, 1},
      {"m_bBgmLoop", 166, false, 1},       {"m_bBgmKeep", 199, false, 1},
      {"m_bPriorityLayers", 0, false, 1},  {"m_bTakeOverStatus", 0, false, 1},
      {"m_bKeepStatus", 0, false, 1},      {"m_bStatusBar", 183, false, 1},
      {"m_bSkipResult", 184, false, 1},    {"m_bStartBanner", 0, false, 1},
      {"m_bStartBanner2", 225, false, 1},  {"m_bClearBanner", 0, false, 1},
      {"m_bGameOverBanner", 0, false, 1},
      {"m_nPlayerSize", 200, false, 2},    {"m_nPlayerFlySize", 200, false, 2},
      {"m_nPlayerBox1", 0, false, 2},      {"m_nPlayerFlyBox1", 155, false, 2},
      {"m_nPlayerBox2", 0, false, 2},      {"m_nPlayerBox3", 0, false, 2},
      {"m_bPlayerSizeBottom", 200, false, 1}, {"m_bPlayerFlySizeBottom", 200, false, 1},
      {"m_bPlayerBox1Bottom", 155, false, 1}, {"m_bPlayerFlyBox1Bottom", 155, false, 1},
      {"m_nShowPlayerSize", 200, false, 1}, {"m_nShowPlayerBox1", 0, false, 1},
      {"m_nShowPlayerBox2", 0, false, 1},  {"m_nShowPlayerBox3", 0, false, 1},
      {"m_nPlayerSizeColour", 200, false, 1}, {"m_nPlayerBox1Colour", 0, false, 1},
      {"m_nPlayerBox2Colour", 0, false, 1}, {"m_nPlayerBox3Colour", 0, false, 1},
      {"m_nCharaSize", 200, false, 2},     {"m_nCharaFlySize", 200, false, 2},
      {"m_nCharaBox1", 0, false, 2},       {"m_nCharaFlyBox1", 155, false, 2},
      {"m_nCharaBox2", 0, false, 2},       {"m_bCharaSizeBottom", 200, false, 1},
      {"m_bCharaFlySizeBottom", 200, false, 1}, {"m_bCharaBox1Bottom", 155, false, 1},
      {"m_bCharaFlyBox1Bottom", 155, false, 1}, {"m_nItemBox", 0, false, 2},
      {"m_nCharaShotBox", 0, false, 2},    {"m_nCharaShotSize", 0, false, 2},
      {"m_nPlayerShotBox", 0, false, 2},   {"m_nPlayerShotSize", 0, false, 2},
      {"m_nReserved3", 0, false, 1},       {"m_nAreaExtraX", 0, false, 1},
      {"m_nAreaExtraY", 0, false, 1},      {"m_nSubSteps", 0, false, 1},
      {"m_dSubSteps", 0, true, 1},         {"m_dSubStepsSq", 0, true, 1},
      {"m_dMaxSpeed", 0, true, 1},         {"m_dGravityStep", 0, true, 1},
      {"m_dMaxSpeedStep", 0, true, 1},     {"m_nSubSteps8", 0, false, 1},
      {"m_bHitOnlyOnScreen", 0, false, 1}, {"m_nPlayerContactGuard", 0, false, 1},
      {"m_nPlayerHitGuard", 0, false, 1},  {"m_nCharaContactGuard", 0, false, 1},
      {"m_nCharaHitGuard", 0, false, 1},
  };
  return rows;
}

// The value the file holds for element e of row r: distinct for every
// element, and one that validation keeps for the rows it checks.
inline double FileValue(const FieldRow& row, int r, int e) {
  const std::string name = row.name;
  if (name == "m_nWidth") return 100;
  if (name == "m_nHeight") return 30;
  if (name == "m_nLimitLeft") return 5;
  if (name == "m_nLimitRight") return 90;
  if (name == "m_nLimitTop") return 2;
  if (name == "m_nLimitBottom") return 25;
  if (name == "m_dGravity") return 0.5;
  if (name == "m_nSpeedLevel") return 5;
  if (name == "m_nHitCheckLevel") return 2;
  if (row.isDouble) return 99.5;  // derived values, overwritten on loading
  return 1000 + 10 * r + e;
}

struct Options {
  // Count rows of two members as two field entries, as some writers did.
  bool pairsAsTwoEntries = false;
  std::vector<std::int32_t> rankingFlags = {0, 1, 0, 1, 1};
  // Raw records of the placed characters (each after its 0 word).
  std::vector<std::vector<std::uint8_t>> placedCharas;
  bool endMarker = true;  // for versions from 173 on
  std::uint32_t marker = 123456789;
};

inline std::vector<std::uint8_t> StageFile(std::uint32_t version, const Options& options = {}) {
  ByteBuilder b;
  b.U32(version);
  std::uint32_t entries = 0;
  for (const FieldRow& row : FieldRows()) {
    if (row.version <= static_cast<int>(version)) entries += options.pairsAsTwoEntries ? row.count : 1;
  }
  b.U32(entries);
  const auto& rows = FieldRows();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (rows[r].version > static_cast<int>(version)) continue;
    for (int e = 0; e < rows[r].count; ++e) {
      const double value = FileValue(rows[r], static_cast<int>(r), e);
      if (rows[r].isDouble) {
        b.F64(value);
      } else {
        b.I32(static_cast<std::int32_t>(value));
      }
    }
  }
  b.Strings({"old stage"});

  b.U32(static_cast<std::uint32_t>(options.rankingFlags.size()));
  for (std::int32_t flag : options.rankingFlags) b.I32(flag);
  for (int rule = 0; rule < 5; ++rule) {
    if (version >= 125) {
      b.Ints({1, 0, 1, 0, rule, rule + 1, rule + 2, rule + 3}).U32(0);
    } else {
      b.Ints({1, rule, rule + 1, rule + 2, rule + 3}).U32(0);
    }
  }
  b.U32(0).U32(0).U32(0);  // palette lists stored empty
  b.U32(0);                // placed blocks
  b.U32(static_cast<std::uint32_t>(options.placedCharas.size()));
  for (const auto& chara : options.placedCharas) b.U32(0).Bytes(chara);
  b.U32(0);  // placed items
  b.U32(1).U32(10).I32(1).I32(0).I32(16).I32(0).F64(0.5).F64(0.5).I32(0).I32(0).F64(0).F64(0);
  b.Strings({"bg.bmp"});
  b.U32(1).U32(0).Strings({"text"});
  if (version >= 173 && options.endMarker) b.U32(options.marker);
  return b.Get();
}

}  // namespace stage_bytes
