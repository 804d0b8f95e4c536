#include "scenes/result_panel.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/checked_access.h"
#include "base/strings.h"
#include "game/draw/draw_target.h"
#include "graphics/blit.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/ranking.h"
#include "model/user/save_data.h"
#include "scenes/front_end/play_start.h"
#include "scenes/number_text.h"
#include "scenes/ranking_display.h"
#include "scenes/scene_manager.h"

namespace {

constexpr int kKindNameText = 5;
constexpr int kClearTimeDigits = 8;  // "MM:SS.hh"

// A kind flag; a list too short for the kind (a damaged file) does not rank it.
template <class Flag>
bool FlagSet(const std::vector<Flag>& flags, int k) {
  return k < static_cast<int>(flags.size()) && flags[static_cast<std::size_t>(k)] != 0;
}

}  // namespace

void DrawResultPanel(DDSURFACEDATA* lpSD, int x, int y, const std::vector<int>& anPosition) {
  const std::array<int, cRankingSet::kKinds> values = {g_SaveData.m_nTotalScore, g_SaveData.m_nTotalTimeLeft,
                                                       g_SaveData.m_nTotalClearTime, g_SaveData.m_nTotalHP,
                                                       g_SaveData.m_nTotalSP};
  const cEdFlagSet& modeKinds = CheckedAt(g_SystemData.m_vRanking, g_SceneManager.m_nPlayMode);
  std::array<bool, cRankingSet::kKinds> shown{};
  int lines = 0, labelWidth = 1, valueWidth = 1;
  for (int k = 0; k < cRankingSet::kKinds; ++k) {
    shown[k] = FlagSet(g_LoadedStage.m_vRankingFlags, k) && (g_bFreeStagePlay || FlagSet(modeKinds.m_vKinds, k));
    if (!shown[k]) continue;
    ++lines;
    labelWidth = std::max(labelWidth, CountChars(CheckedAt(g_SystemData.m_vTexts, kKindNameText + k).c_str()));
    valueWidth = std::max(valueWidth, k == RANKING_CLEAR_TIME ? kClearTimeDigits : CountDigits(values[k]));
  }
  if (lines == 0) return;

  Font& font = g_Font[1];
  font.DrawBox(lpSD, x, y, (valueWidth + labelWidth + 3) * 16, lines * 16);
  int lineY = y;
  for (int k = 0; k < cRankingSet::kKinds; ++k) {
    if (!shown[k]) continue;
    font.Printf(lpSD, x + 16, lineY, "%s", CheckedAt(g_SystemData.m_vTexts, kKindNameText + k).c_str());
    const int valueX = x + 16 * labelWidth + 32;
    if (k == RANKING_CLEAR_TIME) {
      std::string time;
      FormatPlayTime(time, values[k]);
      font.Printf(lpSD, valueX, lineY, "%s", time.c_str());
    } else {
      font.Printf(lpSD, valueX, lineY, "%d", values[k]);
    }
    if (k < static_cast<int>(anPosition.size()) && anPosition[static_cast<std::size_t>(k)] != -1)
      DDBlt(lpSD, x, lineY, 16, 16, &g_SurfaceTable[IMAGE_ACCESSORY], kRankingPointerX, kRankingPointerY, 1);
    lineY += 16;
  }
}
