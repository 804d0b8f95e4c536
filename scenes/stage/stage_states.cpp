// The stage scene's states: the fade in, the start banners, the pause menu,
// the result, the continue menu, the game over and the fade out. The play
// itself is Play (the play frame); the end of a play is stage_end.cpp.
#include <string>

#include "base/checked_access.h"
#include "base/close_request.h"
#include "base/input_state.h"
#include "base/requests.h"
#include "base/strings.h"
#include "game/objects/actor.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/frame_effects.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/screen_fade.h"
#include "model/record/play_flags.h"
#include "model/settings/message_box_layout.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/options.h"
#include "model/user/save_data.h"
#include "platform/keyboard.h"
#include "scenes/front_end/menu_cursor.h"
#include "scenes/front_end/menu_input.h"
#include "scenes/front_end/message_box_drawing.h"
#include "scenes/front_end/play_start.h"
#include "scenes/result_panel.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_scene.h"
#include "shell/replay_requests.h"
#include "shell/sound/sound_effects.h"

namespace {

// The banners, the stage number digits and the clear and game-over pictures.
constexpr int IMAGE_BANNERS = 51;
constexpr int kBannerFrames = 80;
// The result can be left once its counter has reached this.
constexpr int kResultFrames = 200;
constexpr int kMenuY = 272;
// Message texts: the pause menu's rows, the continue menu's rows, the
// registration hint.
constexpr int TEXT_PAUSE_MENU = 19, TEXT_CONTINUE_MENU = 22, TEXT_REGISTER_HINT = 27;

bool IsReplay() { return g_SceneManager.m_nPlayStart == TITLE_REPLAY; }

// The menu input of the in-stage menus: every button once per press, the
// directions repeating.
cInputState& MenuInput() {
  cInputState& input = CheckedAt(g_InputStates, 0);
  input.OneShotButtons(0);
  input.ApplyAutoRepeat();
  return input;
}

bool Decided(const cInputState& input) { return (input.wButton & MENU_DECIDE) != 0; }
bool Cancelled(const cInputState& input) { return (input.wButton & MENU_CANCEL) != 0; }

void DrawBanner(int x, int y, int w, int sx, int sy) {
  DDBlt(&g_sdBackBuffer, x, y, w, 32, &g_SurfaceTable[IMAGE_BANNERS], sx, sy, 1);
}

// The menu box of nRows texts from nFirstText with the cursor at its row.
void DrawStageMenu(int x, int nFirstText, int nRows) {
  DrawMessageBox(x, kMenuY, nFirstText, nRows, 1);
  const CURSORPOS& at = *g_MenuCursor.Current();
  DDBlt(&g_sdBackBuffer, at.nX, at.nY, 16, 16, &g_SurfaceTable[IMAGE_ACCESSORY], 64, 0, 1);
}

// Moves the menu's cursor over nRows rows of the box at x; returns the row.
int MoveStageMenuCursor(const cInputState& input, int x, int nRows) {
  g_MenuCursor.MoveGrid(input.wDir, x, kMenuY, 0, 16, 1, nRows);
  DS_PlayCursorSound(&input.wDir, 2, 0);
  return g_MenuCursor.Current()->nRow;
}

bool ManualRegistration() {
  const int mode = g_OptionData.RankingMode();
  return mode == RANKING_MANUAL_ENTER_NAME || mode == RANKING_MANUAL_FIXED_NAME;
}

}  // namespace

void cStageScene::FadeIn() {
  Draw(0, 1, 0, 1);
  if (DDFadeIn(g_palOriginal.data(), 0, 255, 0, 0, 0, g_SceneManager.m_nFadeSpeed, g_palCurrent.data(), 0)) {
    m_nState = STAGE_START;
  }
}

void cStageScene::ShowStartBanner() {
  Draw(0, 1, 0, 1);
  const bool editorTestOfAFile = g_bTestPlay && g_bFreeStagePlay;
  if (!editorTestOfAFile && DrawStartBanner()) return;
  if (m_pHero) m_pHero->m_Anime.Play(m_pHero->m_nFacing == 0 ? 2 : 0, true);
  m_nBannerCount = 0;
  m_nState = STAGE_PLAY;
}

bool cStageScene::DrawStartBanner() {
  if (IsReplay()) {
    if (m_nBannerCount >= kBannerFrames) return false;
    ++m_nBannerCount;
    DrawBanner(256, 224, 128, 0, 32);
    return true;
  }
  if (g_LoadedStage.m_bStartBanner && m_nBannerCount < kBannerFrames) {
    ++m_nBannerCount;
    DrawBanner(256, 224, 128, 0, 0);
    DDDrawNumber(&g_sdBackBuffer, 384, 224, 32, 32, &g_SurfaceTable[IMAGE_BANNERS], 0, 128, 1,
                 g_SaveData.m_nSeriesNo, 1, 0);
    return true;
  }
  if (g_LoadedStage.m_bStartBanner2 && m_nBanner2Count < kBannerFrames) {
    ++m_nBanner2Count;
    DrawBanner(280, 224, 80, 160, 0);
    return true;
  }
  return false;
}

int cStageScene::PauseMenuRows() const {
  if (IsReplay()) return 2;
  const int mode = g_SceneManager.m_nPlayMode;
  bool retry = mode == PLAY_FREESTAGE;
  if (mode == PLAY_STORY && g_SystemData.m_bStoryPauseRetry) {
    // Retrying is offered on a stage cleared before.
    const int stage = g_SaveData.m_nStageNo;
    retry = stage >= 0 && stage < static_cast<int>(g_SaveData.m_vSwitches.size()) &&
            g_SaveData.m_vSwitches[static_cast<std::size_t>(stage)] != 0;
  } else if (mode == PLAY_CHALLENGE && g_SystemData.m_bChallengePauseRetry) {
    const int record = g_SaveData.m_nStageNo - 1;
    retry = record >= 0 && record < static_cast<int>(g_SaveData.m_vChallenge.size()) &&
            g_SaveData.m_vChallenge[static_cast<std::size_t>(record)].m_bCleared != 0;
  }
  return retry ? 3 : 2;
}

void cStageScene::PauseMenu() {
  if (CheckReplaySaveKeys(g_SceneManager.m_nPlayStart)) return;
  const int rows = PauseMenuRows();
  if (m_nStep == 0) {
    g_MenuCursor.Current()->nRow = 1;  // resume
    m_nStep = 1;
  }
  const cInputState& input = MenuInput();
  const int x = CenterMessageBoxX(320, TEXT_PAUSE_MENU, rows, 1);
  const int row = MoveStageMenuCursor(input, x, rows);
  if (Decided(input)) {
    RequestSystemSound(1);
    switch (row) {
      case 0:  // quit
        m_nState = STAGE_FADEOUT;
        if (g_bFreeStagePlay) {
          RequestMainWindowClose();
          return;
        }
        g_SceneManager.m_nNextScene = SCENE_TITLE;
        g_MenuCursor.Current()->nRow = g_SceneManager.m_nPlayStart;
        m_nStep = 0;
        return;
      case 1:  // resume
        m_bHoldButtons = 1;
        m_nState = m_nPauseState;
        m_nStep = m_nPauseStep;
        return;
      default:  // retry
        m_bHoldButtons = 1;
        g_SaveData.RestoreStageSnapshot(1, g_SceneManager.m_nPlayMode, g_bFreeStagePlay);
        SetStage(1, 0);
        m_nStep = 0;
        m_nState = STAGE_START;
        return;
    }
  }
  if (Cancelled(input)) {
    RequestSystemSound(2);
    m_bHoldButtons = 1;
    m_nState = m_nPauseState;
    m_nStep = rows == 3 ? m_nPauseStep : 0;
    return;
  }
  Draw(0, 1, 0, 1);
  DrawStageMenu(x, TEXT_PAUSE_MENU, rows);
}

void cStageScene::ShowResult() {
  const bool autoResult = g_LoadedStage.m_bSkipResult != 0;
  if (!autoResult) {
    if (CheckPauseKey()) {
      m_nStep = 0;
      m_nState = STAGE_PAUSE;
      return;
    }
    CheckReplaySaveKeys(g_SceneManager.m_nPlayStart);
    if (ManualRegistration() && (platform::GetAsyncKeyState(platform::VK_F3) & 0x8000)) RegisterRanking();
  }
  if (m_nStep == 0) {
    m_nBannerCount = 0;
    m_nStep = 1;
  }
  const cInputState& input = MenuInput();
  if (m_nBannerCount >= kResultFrames && (autoResult || Decided(input))) {
    if (!autoResult && Decided(input)) {
      const int mode = g_OptionData.RankingMode();
      const bool automatic = mode == RANKING_AUTO_ENTER_NAME || mode == RANKING_AUTO_FIXED_NAME;
      if (m_bNewRecord && automatic) {
        RegisterRanking();
      } else {
        RequestSystemSound(1);
      }
    }
    g_SceneManager.m_nNextScene = DecideNextScene();
    m_nBannerCount = 0;
    m_nStep = 0;
    m_nState = STAGE_FADEOUT;
    return;
  }
  DrawResult(autoResult);
}

void cStageScene::DrawResult(bool bAutoResult) {
  bool ranked = false;
  for (int position : m_vRankPosition) ranked = ranked || position != -1;
  if (!bAutoResult && !m_bRankingRegistered && ranked && ManualRegistration()) {
    Draw(0, 1, 0, 0);
    const std::string& hint = CheckedAt(g_SystemData.m_vTexts, TEXT_REGISTER_HINT);
    g_Font[1].DrawText(&g_sdBackBuffer, 320 - 8 * CountChars(hint.c_str()), 456, hint.c_str(), 0);
  } else {
    Draw(0, 1, 0, 1);
  }
  if (g_LoadedStage.m_bClearBanner) {
    m_nBannerCount += 4;
    if (m_nBannerCount < 100) {
      DDBltInterlace(&g_sdBackBuffer, 256, 192, 128, 32, 4, 100 - m_nBannerCount, &g_SurfaceTable[IMAGE_BANNERS],
                     0, 64, 1, 0);
    } else {
      DrawBanner(256, 192, 128, 0, 64);
    }
  } else {
    m_nBannerCount = kResultFrames;
  }
  if (m_nBannerCount >= kResultFrames && g_SceneManager.m_bUseRanking && !bAutoResult) {
    DrawResultPanel(&g_sdBackBuffer, 336, 224, m_vRankPosition);
  }
}

void cStageScene::ContinueMenu() {
  if (CheckReplaySaveKeys(g_SceneManager.m_nPlayStart)) return;
  if (m_nStep == 0) {
    g_MenuCursor.Current()->nRow = 0;
    m_nStep = 1;
  }
  const cInputState& input = MenuInput();
  const int x = CenterMessageBoxX(320, TEXT_CONTINUE_MENU, 2, 1);
  const int row = MoveStageMenuCursor(input, x, 2);
  if (Decided(input)) {
    RequestSystemSound(1);
    if (row == 0) {  // retry
      SetStage(1, 0);
      m_nState = STAGE_START;
      return;
    }
    g_SaveData.m_bGaveUp = 1;
    g_SceneManager.m_nNextScene = SCENE_WORLDMAP;
    g_MenuCursor.Current()->nRow = g_SceneManager.m_nPlayStart;
    m_nStep = 0;
    m_nState = STAGE_FADEOUT;
    return;
  }
  Draw(0, 1, 0, 1);
  DrawStageMenu(x, TEXT_CONTINUE_MENU, 2);
}

void cStageScene::GameOver() {
  if (CheckPauseKey()) {
    m_nStep = 0;
    m_nState = STAGE_PAUSE;
    return;
  }
  if (CheckReplaySaveKeys(g_SceneManager.m_nPlayStart)) return;
  if (Decided(MenuInput())) {
    RequestSystemSound(1);
    m_nState = STAGE_FADEOUT;
    g_SceneManager.m_nNextScene = SCENE_TITLE;
    return;
  }
  Draw(0, 1, 0, 1);
  if (g_LoadedStage.m_bGameOverBanner) DrawBanner(248, 224, 144, 0, 96);
}

void cStageScene::Leave() {
  Draw(0, 1, 0, 1);
  if (!DDFadeOut(g_palOriginal.data(), 0, 255, 0, 0, 0, g_SceneManager.m_nFadeSpeed, g_palCurrent.data(), 0)) {
    return;
  }
  DDClearSurfacePal(&g_sdBackBuffer, 16);
  // A stage file played on its own is read again for its next play (from
  // a copy of its path: the read replaces the stage that holds it).
  if (g_SceneManager.m_nPlayStart == TITLE_STAGEFILE && g_SaveData.m_bSeries == 0) {
    const std::string path = g_LoadedStage.m_strPath;
    if (!StartStageFile(path, 0)) RequestMainWindowCloseForError();
  }
  g_SceneManager.m_nFps = 60;
  g_SceneManager.m_nScene = g_SceneManager.m_nNextScene;
  g_SceneManager.m_nPrevScene = SCENE_STAGE;
  m_nState = SCENE_STATE_ENTER;
}
