// The end of a play: the tally into the progress with its extra lives, the
// ranking positions and their registration, the follow-on part of a series,
// and which scene comes after the result.
#include <algorithm>
#include <string>

#include "base/checked_access.h"
#include "base/close_request.h"
#include "base/paths.h"
#include "base/requests.h"
#include "base/strings.h"
#include "base/thread.h"
#include "game/objects/actor.h"
#include "game/overlays/message_window.h"
#include "game/overlays/picture.h"
#include "model/record/play_flags.h"
#include "model/settings/paths.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/stage/stage_loader.h"
#include "model/stage/world_map.h"
#include "model/user/options.h"
#include "model/user/ranking.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "platform/clock.h"
#include "scenes/front_end/menu_cursor.h"
#include "scenes/front_end/play_start.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_scene.h"

namespace {

constexpr int kMaxLives = 99;
constexpr int kExtraLifeFrames = 30;

// The ranked value of each kind, in kind order.
std::vector<std::int32_t> RankedTotals(const cSaveData& progress) {
  return {progress.m_nTotalScore, progress.m_nTotalTimeLeft, progress.m_nTotalClearTime, progress.m_nTotalHP,
          progress.m_nTotalSP};
}

// The project ranks kind k in this play mode and the stage totals it.
bool RanksKind(int k) {
  const cEdFlagSet& rule = CheckedAt(g_SystemData.m_vRanking, g_SceneManager.m_nPlayMode);
  const auto kind = static_cast<std::size_t>(k);
  return kind < rule.m_vKinds.size() && rule.m_vKinds[kind] != 0 &&
         kind < g_LoadedStage.m_vRankingFlags.size() && g_LoadedStage.m_vRankingFlags[kind] != 0;
}

// Waits until the application is active again; false when the program
// closes meanwhile (a close during the wait does not hang the game).
bool WaitUntilActive(const std::atomic<std::int32_t>& quit) {
  while (!g_bActive) {
    if (quit || thGame.StopRequested()) return false;
    platform::Sleep(1);
  }
  return true;
}

}  // namespace

void cStageScene::EndStage() {
  m_nStep = 0;
  m_nState = STAGE_RESULT;
  RequestSystemSound(14);
  cSaveData& progress = g_SaveData;
  const int oldTotal = progress.m_nTotalScore;
  progress.m_nTotalScore += progress.m_nScore;
  if (!m_bTimeStop) progress.m_nTotalTimeLeft += m_nTimeLeft;
  progress.m_nTotalClearTime += m_nPlayTime;
  if (m_pHero) {
    progress.m_nTotalHP += m_pHero->m_nHp;
    progress.m_nTotalSP += m_pHero->m_nSp;
  }
  GiveExtraLives(oldTotal, progress.m_nTotalScore);

  m_bRankingRegistered = 0;
  m_bNewRecord = 0;
  m_vRankPosition.assign(kRankingKindCount, -1);
  if (!g_bFreeStagePlay && (!g_SceneManager.m_bUseRanking || !CountsForRanking(m_nNextPart))) return;
  m_vRankValue = RankedTotals(progress);
  if (g_bTestPlay) return;
  for (int k = 0; k < kRankingKindCount; ++k) {
    // A kind without a table (a damaged set) ranks nowhere.
    if (!RanksKind(k) || k >= static_cast<int>(g_RankingSet.m_vLists.size())) continue;
    const int position = g_RankingSet.m_vLists[static_cast<std::size_t>(k)].FindInsertPos(m_vRankValue[k]);
    m_vRankPosition[static_cast<std::size_t>(k)] = position;
    if (position != -1) m_bNewRecord = 1;
  }
}

void cStageScene::GiveExtraLives(int nOldTotal, int nNewTotal) {
  cSaveData& progress = g_SaveData;
  const int step = g_SystemData.m_nExtraLifeScore;
  // A step of 0 or less gives no lives (it would divide by zero or count
  // downwards).
  if (progress.m_nLives == UNLIMITED_LIVES || !g_SystemData.m_bExtraLifeByScore || step <= 0) return;
  const int gained = nNewTotal / step - nOldTotal / step;
  for (int i = 0; i < gained; ++i) {
    if (progress.m_nLives < kMaxLives) ++progress.m_nLives;
    RequestSystemSound(15);
    ShowExtraLife();
    if (m_bQuit) {
      RequestMainWindowClose();
      return;
    }
    if (!WaitUntilActive(m_bQuit)) return;
  }
}

void cStageScene::ShowExtraLife() {
  cMessageWindow& popUp = m_MessageList.emplace_back(TextTarget());
  popUp.Setup(MESSAGE_SYSTEM_ICON, "", 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, DISPLAY_TIMED, kExtraLifeFrames, 1,
              m_pHero ? m_pHero->m_nId : 0, 1, 0, 0, 0, 0, 0, 0, 0);
  const auto added = std::prev(m_MessageList.end());
  m_Wait = {4, 0, 0, kExtraLifeFrames, 0};
  RunModalWait();
  // The loop's drawing may have ended the pop-up already.
  for (auto it = m_MessageList.begin(); it != m_MessageList.end(); ++it) {
    if (it != added) continue;
    m_MessageList.erase(it);
    break;
  }
}

void cStageScene::RegisterRanking() {
  if (!g_SceneManager.m_bUseRanking || !m_bNewRecord || m_bRankingRegistered) return;
  const int mode = g_OptionData.RankingMode();
  if (mode == RANKING_MANUAL_ENTER_NAME || mode == RANKING_AUTO_ENTER_NAME) {
    m_strRankName = g_SaveData.m_strName;
    RequestNameEntry();
    g_SaveData.m_strName = m_strRankName;
  } else {
    m_strRankName = g_OptionData.m_strName;
  }
  RequestSystemSound(16);
  const int lists = static_cast<int>(g_RankingSet.m_vLists.size());
  for (int k = 0; k < kRankingKindCount && k < lists; ++k) {
    if (m_vRankPosition[static_cast<std::size_t>(k)] == -1) continue;
    g_RankingSet.m_vLists[static_cast<std::size_t>(k)].Insert(m_strRankName, m_vRankValue[static_cast<std::size_t>(k)]);
  }
  // A failed save is reported there; the tables stay in memory.
  SaveStageRanking(g_RankingSet, g_SceneManager.m_nPlayMode, g_SaveData.m_strStagePath);
  m_bRankingRegistered = 1;
  ShowRankingTable();
}

int cStageScene::MakeNextStageName(std::string& name, int nPart) const {
  name.clear();
  const std::string& key = g_SaveData.m_strStagePath;
  if (!g_SaveData.m_bSeries || m_nNextPart == 0 || key.empty()) return 0;
  const std::string base = key.substr(0, key.size() - 1);  // the key ends in its "."
  const std::string wanted = base + "-" + std::to_string(nPart) + "." + g_astrFileExt[EXT_STG4];
  if (FindNewestVersionStr(name, wanted, g_astrFileExt[EXT_STG4])) return 1;
  name.clear();
  return 0;
}

int cStageScene::CountsForRanking(int nPart) const {
  std::string name;
  return MakeNextStageName(name, nPart) ? 0 : 1;
}

bool cStageScene::LoadNextPart() {
  if (!g_SaveData.m_bSeries || m_nNextPart == 0) return false;
  g_SaveData.m_nSeriesNo = m_nNextPart;
  std::string name;
  if (!MakeNextStageName(name, m_nNextPart) || !LoadStageFile(name.c_str(), 1, &g_PlayStage)) return false;
  g_ReplayLog.Clear();
  g_PrevReplayLog.Clear();
  return true;
}

int cStageScene::DecideNextScene() {
  cSaveData& progress = g_SaveData;
  if (g_LoadedStage.m_bKeepStatus && m_pHero) {
    const cActor& hero = *m_pHero;
    progress.StoreCarriedStatus(0, hero.m_Chara, hero.m_nHp, hero.m_nSp, hero.m_CharaEffect.nIndex,
                                static_cast<std::uint8_t>(hero.m_CharaEffect.nMode),
                                static_cast<std::uint8_t>(hero.m_CharaEffect.bLoop), m_nTimeLeft,
                                progress.m_nLives, progress.m_nStageBgm);
  }
  const int saved = progress.m_nSeriesNo;
  switch (g_SceneManager.m_nPlayStart) {
    case TITLE_NEWGAME:
    case TITLE_CONTINUE:
      if (LoadNextPart()) return SCENE_STAGE;
      return FinishStoryStage(saved);
    case TITLE_CHALLENGE:
      if (LoadNextPart()) return SCENE_STAGE;
      RecordChallengeClear();
      progress.m_nSeriesNo = saved;
      return SCENE_STAGESELECT;
    case TITLE_STAGEFILE:
      if (progress.m_bSeries && !g_bFreeStagePlay) {
        if (LoadNextPart()) return SCENE_STAGE;
        progress.m_nSeriesNo = saved;
        return SCENE_TITLE;  // the series is over
      }
      return SCENE_STAGE;  // played again
    case TITLE_REPLAY:
      progress.RestoreStageSnapshot(1, g_SceneManager.m_nPlayMode, g_bFreeStagePlay);
      return SCENE_STAGE;
    default: return SCENE_STAGESELECT;
  }
}

int cStageScene::FinishStoryStage(int nSavedSeriesNo) {
  cSaveData& progress = g_SaveData;
  // The event that started the stage, taken before its clear switch turns.
  const cEdMapEvent* event = FindMapEvent(g_WorldMap.PointAt(progress.m_nMapEntry), progress);
  const int eventKind = event ? event->m_nKind : 0;
  if (progress.m_nStageNo >= 0 && progress.m_nStageNo < static_cast<int>(progress.m_vSwitches.size())) {
    progress.m_vSwitches[static_cast<std::size_t>(progress.m_nStageNo)] = 1;
  }
  progress.RecordStageBest(progress.m_strStagePath, progress.m_nTotalScore);
  switch (eventKind) {
    case 1:  // the world is cleared
      progress.StartNextRound();
      progress.m_nSeriesNo = nSavedSeriesNo;
      return SCENE_WORLDMAP;
    case 2:  // the ending
      g_MenuCursor.Current()->nRow = g_SceneManager.m_nPlayStart;
      return SCENE_TITLE;
    default:
      progress.m_nSeriesNo = nSavedSeriesNo;
      return SCENE_WORLDMAP;
  }
}

void cStageScene::RecordChallengeClear() {
  cSaveData& progress = g_SaveData;
  const int stage = progress.m_nStageNo;
  // A stage number without its record changes and saves nothing.
  if (stage < 1 || stage > static_cast<int>(progress.m_vChallenge.size())) return;
  cSaveIntPair& record = progress.m_vChallenge[static_cast<std::size_t>(stage - 1)];
  record.m_bCleared = 1;
  if (progress.m_nTotalScore > record.m_nBest) {
    progress.m_nBestTotal += progress.m_nTotalScore - record.m_nBest;
    record.m_nBest = progress.m_nTotalScore;
  }
  if (progress.m_nOpenStages <= stage) {
    progress.m_nOpenStages = std::min(stage + 1, g_SystemData.m_nChallengeStages);
  }
  progress.SaveChallenge();
}
