// The stage's frame: the order in which the stage's layers, objects,
// overlays and screen-wide effects are drawn into the back buffer. Drawing
// also moves the game on (death displays, lifetimes of effects and
// messages), so it runs in headless play too; the transitions after the
// hero's death display are made here.
#include "game/objects/actor.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "graphics/scene.h"
#include "model/record/play_flags.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"
#include "scenes/colour_cycle.h"
#include "scenes/play_start.h"
#include "scenes/scene_manager.h"
#include "scenes/stage_scene.h"
#include "shell/checked_access.h"
#include "shell/strings.h"

namespace {

// The hint under the stage: a direct start's and the editor's test play's.
constexpr int TEXT_TEST_PLAY_HINT = 25, TEXT_DIRECT_START_HINT = 26;

// Device recovery re-made the shot grids empty: they are built again.
bool TakeShotGridsRecreated() {
  bool recreated = false;
  for (int image : {IMAGE_STAGE_SHOTS, IMAGE_STAGE_SHOTS + 1}) {
    DDSURFACEDATA& sd = g_SurfaceTable[image];
    if (sd.lpDT && sd.lpDT->bRecreated) recreated = true;
  }
  if (!recreated) return false;
  for (int image : {IMAGE_STAGE_SHOTS, IMAGE_STAGE_SHOTS + 1}) {
    if (g_SurfaceTable[image].lpDT) g_SurfaceTable[image].lpDT->bRecreated = 0;
  }
  return true;
}

}  // namespace

void cStageScene::Draw(int bPlaying, int bPaused, int bTimeSound, int bSystemText) {
  (void)bTimeSound;  // the time limit's warning sound
  if (TakeShotGridsRecreated()) BuildShotGrid();
  // A running screen effect transforms the frame drawn into the virtual
  // back buffer.
  if (m_ScreenEffect.nIndex != 0) DDSetVirBackBuffer(1);
  if (!bPlaying && m_nState == STAGE_PAUSE && g_SystemData.m_bHideFieldOnPause) return;
  DrawObjects(bPaused != 0);
  DrawEffects(bPaused != 0);
  DrawMessages(bPaused != 0);
  if (bSystemText) DrawSystemText();
  CyclePalette();
}

void cStageScene::DrawObjects(bool bPaused) {
  if (m_pHero) DrawPlayer(bPaused);
}

void cStageScene::DrawEffects(bool bPaused) {
  for (auto it = m_EffectList.begin(); it != m_EffectList.end();) {
    if (it->Draw(DrawTarget(), kBackBuffer, m_ScrollX.m_dPos, m_ScrollY.m_dPos, bPaused)) {
      it = m_EffectList.erase(it);
    } else {
      ++it;
    }
  }
}

void cStageScene::DrawMessages(bool bPaused) {
  for (auto it = m_MessageList.begin(); it != m_MessageList.end();) {
    if (it->UpdateAndDraw(DrawTarget(), kBackBuffer, bPaused)) {
      it = m_MessageList.erase(it);
    } else {
      ++it;
    }
  }
}

void cStageScene::DrawSystemText() {
  int text = -1;
  if (g_bFreeStagePlay) {
    text = TEXT_DIRECT_START_HINT;
  } else if (g_bTestPlay) {
    text = TEXT_TEST_PLAY_HINT;
  }
  if (text < 0) return;
  const std::string& line = CheckedAt(g_SystemData.m_vTexts, text);
  g_Font[1].DrawText(&g_sdBackBuffer, 320 - 8 * CountChars(line.c_str()), 456, line.c_str(), 0);
}

void cStageScene::DrawPlayer(bool bPaused) {
  cActor& hero = *m_pHero;
  hero.UpdateScreenRect();
  if (!hero.m_bDying) {
    hero.Draw(DrawTarget(), kBackBuffer, bPaused);
    hero.DrawHpGauge(DrawTarget(), kBackBuffer);
    hero.DrawSpGauge(DrawTarget(), kBackBuffer);
    return;
  }
  if (!hero.DrawDying(DrawTarget(), kBackBuffer, bPaused)) return;
  AfterHeroDeath();
}

void cStageScene::AfterHeroDeath() {
  const int mode = g_SceneManager.m_nPlayMode;
  if (g_SceneManager.m_nPlayStart == TITLE_REPLAY) {
    g_SaveData.RestoreStageSnapshot(1, mode, g_bFreeStagePlay);
    SetStage(1, 1);
    m_nState = STAGE_START;
    return;
  }
  if (!TakeLife(g_SaveData)) {
    m_nState = STAGE_GAMEOVER;
    return;
  }
  if (g_LoadedStage.m_bTakeOverStatus) g_SaveData.ClearCarriedStatus();
  g_SaveData.RestoreStageSnapshot(0, mode, g_bFreeStagePlay);
  if (mode == PLAY_STORY && g_SystemData.m_bStoryContinue) {
    m_nStep = 0;
    m_nState = STAGE_CONTINUE;
    return;
  }
  SetStage(1, 0);
  m_nState = STAGE_START;
}
