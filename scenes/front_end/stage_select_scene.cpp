#include "scenes/front_end/stage_select_scene.h"

#include <memory>

#include "base/checked_access.h"
#include "base/format.h"
#include "base/report.h"
#include "base/requests.h"
#include "base/strings.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "model/settings/paths.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/stage/stage_loader.h"
#include "model/user/ranking.h"
#include "model/user/save_data.h"
#include "scenes/colour_cycle.h"
#include "scenes/front_end/menu_input.h"
#include "scenes/front_end/play_start.h"
#include "scenes/number_text.h"
#include "scenes/ranking_display.h"
#include "scenes/scene_manager.h"

namespace {

enum eStageSelectState { SELECT_STATE_LIST = 1, SELECT_STATE_LEAVE = 2 };

// The settings' message texts used here.
enum {
  MESSAGE_ROW_CAPTION = 0,
  MESSAGE_HIGH_SCORE = 3,
  MESSAGE_TOTAL_SCORE = 4,
};

constexpr int kHeadingY = 32, kTotalY = 88;
constexpr int kHighScoreHeadingX = 32, kHighScoreHeadingY = 128;

}  // namespace

cStageSelectScene::cStageSelectScene()
    : cFrontEndScene(MENU_ONE_SHOT_BUTTONS_AND_RANKING, {IMAGE_ACCESSORY, IMAGE_WINDOW}) {
  SetStates({static_cast<State>(&cStageSelectScene::SelectStage)});
}

std::string cStageSelectScene::ChallengeStageFile(int n) {
  std::string name;
  FormatString(name, "%s%02d-1.%s", g_astrFilePath[PATH_CHALLENGE_STAGE_PREFIX], n, g_astrFileExt[EXT_STG4]);
  return name;
}

void cStageSelectScene::Enter() {
  EnterCommon(BGMREQ_SELECT);
  g_MenuCursor.Current()->nRow = g_SceneManager.m_nStageSelectRow;
  m_nTop = g_SceneManager.m_nStageSelectTop;
  LoadRanking(g_MenuCursor.Current()->nRow + 1);
  CreateListSurface();
  m_nStep = 0;
}

void cStageSelectScene::UpdateCounts() {
  m_nStageCount = g_SystemData.m_bChallengeAllOpen != 0 ? g_SystemData.m_nChallengeStages : g_SaveData.m_nOpenStages;
  m_nRows = m_nStageCount - m_nTop < kRowsShown ? m_nStageCount - m_nTop : kRowsShown;
}

void cStageSelectScene::LoadRanking(int n) {
  g_SaveData.SetStageFile(ChallengeStageFile(n).c_str());
  if (g_SceneManager.m_bUseRanking != 0)
    LoadStageRanking(g_RankingSet, g_SceneManager.m_nPlayMode, g_SaveData.m_strStagePath);
}

void cStageSelectScene::CreateListSurface() {
  if (DDSURFACEDATA* work = AddWorkSurface(640, 480, 0)) DrawList(work);
}

void cStageSelectScene::DrawList(DDSURFACEDATA* lpSD) {
  g_Font[2].DrawBox(lpSD, 1, 1, 638, 478);
  const char* heading = CheckedAt(g_SystemData.m_vTitleItems, TITLE_CHALLENGE).m_strText.c_str();
  g_Font[2].Printf(lpSD, 320 - 16 * CountChars(heading), kHeadingY, "%s", heading);

  const int total = g_SaveData.m_nBestTotal;
  if (g_SystemData.m_bSelectShowTotal != 0 && total > 0) {
    const char* label = CheckedAt(g_SystemData.m_vTexts, MESSAGE_TOTAL_SCORE).c_str();
    g_Font[1].Printf(lpSD, 320 - 16 * (CountChars(label) + CountDigits(total)) / 2, kTotalY, "%s%d", label, total);
  }
  const bool showBest = g_SystemData.m_bSelectShowBest != 0;
  if (g_SaveData.m_bShowRanking == 0 && showBest) {
    g_Font[2].Printf(lpSD, kHighScoreHeadingX, kHighScoreHeadingY, "         %s",
                     CheckedAt(g_SystemData.m_vTexts, MESSAGE_HIGH_SCORE).c_str());
  }

  UpdateCounts();
  const char* caption = CheckedAt(g_SystemData.m_vTexts, MESSAGE_ROW_CAPTION).c_str();
  const int captionChars = CountChars(caption);
  for (int i = 0; i < m_nRows; ++i) {
    const int n = m_nTop + i;
    const int y = kListY + kRowHeight * i;
    g_Font[2].Printf(lpSD, kListX, y, "%s%d", caption, n + 1);
    // A progress with fewer records than stages listed (a damaged file)
    // shows the rows past its records as neither cleared nor scored.
    if (n < 0 || n >= static_cast<int>(g_SaveData.m_vChallenge.size())) continue;
    const cSaveIntPair& record = g_SaveData.m_vChallenge[static_cast<std::size_t>(n)];
    if (record.m_bCleared != 0)
      DDBlt(lpSD, 32 * (captionChars + 4), y, 32, 32, &g_SurfaceTable[IMAGE_ACCESSORY], 96, 0, 1);
    if (showBest) g_Font[2].Printf(lpSD, 32 * captionChars + 192, y, "%d", record.m_nBest);
  }

  if (CheckedAt(g_SystemData.m_vRanking, PLAY_CHALLENGE).m_bEnabled != 0 && g_SaveData.m_bShowRanking != 0)
    DrawRanking(g_RankingSet, lpSD, kRankingX, kRankingY, g_SaveData.m_nRankingKind, -1);
}

void cStageSelectScene::Redraw() {
  if (DDSURFACEDATA* work = WorkSurface()) DrawList(work);
}

void cStageSelectScene::Draw() {
  DDSURFACEDATA* work = WorkSurface();
  if (!work) return;
  if (TakeWorkSurfaceLost()) DrawList(work);
  DDBlt(&g_sdBackBuffer, 0, 0, 640, 480, work, 0, 0, 0);
  CyclePalette();
}

void cStageSelectScene::FadeIn() {
  if (!g_lpD3DState && g_nBpp == 8) Redraw();
  Draw();
  if (FadeInStep()) m_nState = SELECT_STATE_LIST;
}

bool cStageSelectScene::StartStage(int nRow) {
  const std::string name = ChallengeStageFile(nRow + 1);
  if (!LoadStageFile(name.c_str(), 1, &g_PlayStage)) {
    RequestSystemSound(3);
    ErrorBoxF("ステージファイル %s が読み込めません！", name.c_str());
    return false;
  }
  RequestSystemSound(1);
  g_SaveData.SetStageFile(g_LoadedStage.m_strPath.c_str());
  g_SaveData.m_nSeriesNo = 1;
  g_SaveData.m_nStageNo = nRow + 1;
  SetStartLives(CheckedAt(g_SystemData.m_vInfiniteLives, PLAY_CHALLENGE) != 0, PLAY_CHALLENGE);
  g_SaveData.m_bSeries = 1;
  return true;
}

void cStageSelectScene::SelectStage() {
  UpdateCounts();
  CURSORPOS& cursor = *g_MenuCursor.Current();
  g_MenuCursor.MoveList(Directions(), 1, m_nTop, kListY, kRowHeight, kCursorX, m_nRows, m_nStageCount, 1);
  PlayCursorSound(3);
  if (Directions() != 0) {
    LoadRanking(cursor.nRow + 1);
    Redraw();
  }
  if (Decided()) {
    if (!StartStage(cursor.nRow)) return;
    g_SceneManager.m_nStageSelectRow = cursor.nRow;
    g_SceneManager.m_nStageSelectTop = m_nTop;
    g_SceneManager.m_nNextScene = SCENE_STAGE;
    m_nState = SELECT_STATE_LEAVE;
    return;
  }
  if (Cancelled()) {
    RequestSystemSound(2);
    g_SceneManager.m_nNextScene = SCENE_TITLE;
    m_nState = SELECT_STATE_LEAVE;
    return;
  }
  if (RankingKeys(PLAY_CHALLENGE)) Redraw();
  Draw();
  DrawCursor(CURSOR_PICTURE_LARGE, cursor);
}

void cStageSelectScene::Leave() {
  if (!FadeOutStep()) return;
  g_MenuCursor.Reset();
  HandOver(SCENE_STAGESELECT);
}

void RegisterStageSelectScene() {
  cSceneManager::SetSceneFactory(SCENE_STAGESELECT, [] { return std::make_unique<cStageSelectScene>(); });
}
