#include "scenes/front_end/play_start.h"

#include <algorithm>

#include "base/checked_access.h"
#include "base/close_request.h"
#include "base/paths.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/stage/stage_loader.h"
#include "model/stage/world_map.h"
#include "model/user/save_data.h"
#include "scenes/scene_manager.h"
#include "shell/stage_file_request.h"

int g_bFreeStagePlay = 0;

void SetStartLives(bool bUnlimited, int nPlayMode) {
  if (bUnlimited) {
    g_SaveData.m_nStartLives = g_SaveData.m_nLives = UNLIMITED_LIVES;
    return;
  }
  g_SaveData.m_nStartLives = CheckedAt(g_SystemData.m_vStartLives, nPlayMode);
  g_SaveData.m_nLives = g_SaveData.m_nStartLives - 1;
}

void SetPlayMode(int nPlayMode) {
  g_SceneManager.m_nPlayMode = nPlayMode;
  g_SceneManager.m_bUseRanking = CheckedAt(g_SystemData.m_vRanking, nPlayMode).m_bEnabled;
}

void LoadChallengeProgress() {
  if (g_SaveData.LoadChallenge()) return;
  g_SaveData.Reset();
  g_SaveData.m_vChallenge.assign(static_cast<std::size_t>(std::max(g_SystemData.m_nChallengeStages, 0)),
                                 cSaveIntPair());
}

void ResetProgress() {
  g_SaveData.Reset();
  g_SaveData.m_nMapX = g_WorldMap.m_nStartX;
  g_SaveData.m_nMapY = g_WorldMap.m_nStartY;
  g_SaveData.m_nRound = 0;
  SetStartLives(CheckedAt(g_SystemData.m_vInfiniteLives, PLAY_STORY) != 0, PLAY_STORY);
}

int StartStageFile(const std::string& path, int bFindNewest) {
  std::string key = path;
  g_SaveData.Reset();
  if (!LoadStageFile(path.c_str(), bFindNewest, &g_PlayStage)) return 0;
  g_SaveData.m_nStageNo = 1;
  g_SaveData.m_nSeriesNo = 1;
  SetStartLives(g_bFreeStagePlay != 0 || CheckedAt(g_SystemData.m_vInfiniteLives, PLAY_FREESTAGE) != 0, PLAY_FREESTAGE);
  // A path with no relative form keeps the form it was given in.
  MakeRelativePath(key);
  g_SaveData.SetStageFile(key.c_str());
  return 1;
}

int ServeOpenStageRequest() {
  std::string path;
  if (ChooseStageFile(path) == 0) return 0;
  if (!StartStageFile(path, 0)) RequestMainWindowCloseForError();
  return 1;
}
