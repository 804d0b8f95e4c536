// The ranking keys of a front-end scene that shows the ranking of the stage
// under its cursor (the stage list, the world map): a stored ranking for
// the stage, and the keys checked the same way in each scene.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/settings/system_data.h"
#include "model/user/ranking.h"
#include "model/user/save_data.h"
#include "scenes/front_end/menu_input.h"
#include "scenes/scene_manager.h"
#include "support/front_end_harness.h"

// The name in the first table of the ranking StoreStageRanking stores.
constexpr const char* kStoredRankingName = "ABC";

// Rankings used, and on in the play mode for the kinds flagged in `kinds`;
// the stage keyed `stage` (its program path up to the version) has a
// ranking file whose first table holds kStoredRankingName with 900.
inline void StoreStageRanking(int nPlayMode, const std::vector<std::uint8_t>& kinds, const std::string& stage) {
  g_SceneManager.m_bUseRanking = 1;
  cEdFlagSet& ranking = g_SystemData.m_vRanking.at(static_cast<std::size_t>(nPlayMode));
  ranking.m_bEnabled = 1;
  ranking.m_vKinds = kinds;
  cRankingSet stored;
  stored.m_vLists[0].Insert(kStoredRankingName, 900);
  std::string path;
  ASSERT_EQ(MakeRankingPath(path, nPlayMode, stage), 1);
  ASSERT_EQ(stored.SaveFile(path.c_str()), 1);
}

// With the ranking on the screen's stage: while the play mode's rankings
// are on, the show key shows the ranking and the kind key steps to
// nNextKind, each with the ranking sound; once they are off, the show key
// only hides the ranking and neither key sounds or steps the kind.
inline void ExpectRankingKeysShowAndStepTheKind(FrontEndHarness& harness, int nPlayMode, int nNextKind) {
  constexpr int kRankingSound = 6;
  harness.sounds.clear();
  harness.Press(0, MENU_RANKING_SHOW);
  EXPECT_EQ(g_SaveData.m_bShowRanking, 1);
  harness.Press(0, MENU_RANKING_KIND);
  EXPECT_EQ(g_SaveData.m_nRankingKind, nNextKind);
  EXPECT_EQ(harness.sounds, (std::vector<int>{kRankingSound, kRankingSound}));

  g_SystemData.m_vRanking.at(static_cast<std::size_t>(nPlayMode)).m_bEnabled = 0;
  harness.sounds.clear();
  harness.Press(0, MENU_RANKING_SHOW);
  EXPECT_EQ(g_SaveData.m_bShowRanking, 0);
  harness.Press(0, MENU_RANKING_SHOW);
  harness.Press(0, MENU_RANKING_KIND);
  EXPECT_EQ(g_SaveData.m_bShowRanking, 0);
  EXPECT_EQ(g_SaveData.m_nRankingKind, nNextKind);
  EXPECT_EQ(harness.sounds, std::vector<int>{});
}
