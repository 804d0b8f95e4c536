#include "scenes/ranking_display.h"

#include <string>

#include "base/checked_access.h"
#include "base/strings.h"
#include "game/draw/draw_target.h"
#include "graphics/blit.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "model/settings/system_data.h"
#include "scenes/number_text.h"
#include "scenes/scene_manager.h"

namespace {

constexpr int kBoxWidth = 270, kBoxHeight = 350;
// The value column starts here; the place and the name before it.
constexpr int kPlaceX = 16, kNameX = 64, kValueX = 144;
// The hint line is centred on this column.
constexpr int kHintCentreX = 136;
constexpr int kKindNameText = 5, kSwitchKindHintText = 24;

}  // namespace

int DrawRankingTable(const cRankingList& list, DDSURFACEDATA* lpSD, int x, int y, int nKind, int nPointerRow) {
  Font& font = g_Font[1];
  font.DrawBox(lpSD, x + 1, y + 1, kBoxWidth, kBoxHeight);
  font.Printf(lpSD, x, y, "ランキング    %s", CheckedAt(g_SystemData.m_vTexts, nKind + kKindNameText).c_str());

  const auto& rows = list.m_vEntries;
  const int valueWidth = nKind == RANKING_CLEAR_TIME ? 8 : rows.empty() ? 1 : CountDigits(rows.front().m_nValue);
  const bool hasValues = nKind >= RANKING_SCORE && nKind <= RANKING_SP_LEFT;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const cRankingEntry& row = rows[i];
    if (!row.m_bUsed) continue;
    const int rowY = y + 16 * static_cast<int>(i + 1);
    font.Printf(lpSD, x + kPlaceX, rowY, "%d", static_cast<int>(i + 1));
    font.Printf(lpSD, x + kNameX, rowY, "%s", row.m_strName.c_str());
    if (!hasValues) continue;
    if (nKind == RANKING_CLEAR_TIME) {
      std::string time;
      FormatPlayTime(time, row.m_nValue);
      font.Printf(lpSD, x + kValueX, rowY, "%s", time.c_str());
    } else {
      // The last digit ends where a number of valueWidth digits from the
      // value column ends.
      const int valueX = x + kValueX + 16 * (valueWidth - CountDigits(row.m_nValue));
      font.Printf(lpSD, valueX, rowY, "%d", row.m_nValue);
    }
  }

  if (g_SystemData.CountRankingKinds(g_SceneManager.m_nPlayMode) > 1) {
    const std::string& hint = CheckedAt(g_SystemData.m_vTexts, kSwitchKindHintText);
    font.Printf(lpSD, x + kHintCentreX - 8 * CountChars(hint.c_str()), y + 16 + 16 * static_cast<int>(rows.size()),
                "%s", hint.c_str());
  }

  if (nPointerRow == -1) return -1;
  DDBlt(lpSD, x, y + 16 * nPointerRow + 16, 16, 16, &g_SurfaceTable[IMAGE_ACCESSORY], kRankingPointerX,
        kRankingPointerY, 1);
  return 0;
}

int DrawRanking(const cRankingSet& set, DDSURFACEDATA* lpSD, int x, int y, int nKind, int nPointerRow) {
  return DrawRankingTable(CheckedAt(set.m_vLists, nKind), lpSD, x, y, nKind, nPointerRow);
}
