// The stage's frame: the order in which the stage's layers, objects,
// overlays and screen-wide effects are drawn into the back buffer. Drawing
// also moves the game on (death displays, lifetimes of effects and
// messages), so it runs in headless play too; the transitions after the
// hero's death display are made here.
#include <algorithm>
#include <array>
#include <list>
#include <vector>

#include "base/checked_access.h"
#include "base/strings.h"
#include "game/objects/character.h"
#include "game/objects/item.h"
#include "game/objects/player.h"
#include "game/objects/shot.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "graphics/scene.h"
#include "model/record/play_flags.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"
#include "scenes/colour_cycle.h"
#include "scenes/front_end/play_start.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/screen_effect.h"
#include "scenes/stage/stage_draw_layers.h"
#include "scenes/stage/stage_draw_status.h"
#include "scenes/stage/stage_scene.h"

namespace {

constexpr int kPriorityLayers = 8;
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
  if (TakeShotGridsRecreated()) BuildShotGrid();
  // A running screen effect transforms the frame drawn into the virtual
  // back buffer.
  if (m_ScreenEffect.nIndex != 0) DDSetVirBackBuffer(1);
  ScrollBackgrounds(g_LoadedStage.m_vBackgrounds);
  DrawBackgrounds(&g_sdBackBuffer, g_LoadedStage.m_vBackgrounds, m_ScrollX, m_ScrollY, 0);
  if (!bPlaying && m_nState == STAGE_PAUSE && g_SystemData.m_bHideFieldOnPause) {
    // The front backgrounds cover the stage under the pause menu.
    DrawBackgrounds(&g_sdBackBuffer, g_LoadedStage.m_vBackgrounds, m_ScrollX, m_ScrollY, 1);
    m_Tone.Update(bPaused);
    return;
  }
  DrawPictureLayer(0, bPaused);
  DrawMapLayer(*this, DrawTarget(), kBackBuffer, 0);
  DrawObjects(bPaused != 0);
  DrawBackgrounds(&g_sdBackBuffer, g_LoadedStage.m_vBackgrounds, m_ScrollX, m_ScrollY, 1);
  DrawMapLayer(*this, DrawTarget(), kBackBuffer, 1);
  if (m_pHero == &m_Player) m_Player.DrawSightMask(DrawTarget(), kBackBuffer);
  DrawPictureLayer(1, bPaused);
  DrawEffects(bPaused != 0);
  DrawMessages(bPaused != 0);
  DrawScreenEffectOver(bPaused);
  DrawStatusBar(&g_sdBackBuffer, StatusBarValuesOf(m_pHero));
  DrawTimeLimit(*this, &g_sdBackBuffer, bTimeSound);
  if (bSystemText) DrawSystemText();
  CyclePalette();
  m_Tone.Update(bPaused);
}

void cStageScene::DrawObjects(bool bPaused) {
  if (m_nInStageLoops == 0) ApplyLoopErasures();
  const bool byPriority = g_LoadedStage.m_bPriorityLayers != 0;
  // The characters of each layer in list order (all in the first without
  // layers; those of no layer are not drawn), found in one walk, and again
  // when drawing the hero started the stage over.
  std::array<std::vector<std::list<cCharacter>::iterator>, kPriorityLayers> byLayer;
  std::uint32_t listedAt = m_nObjectsCleared - 1;
  const auto listCharacters = [&] {
    listedAt = m_nObjectsCleared;
    for (auto& characters : byLayer) characters.clear();
    for (auto it = m_CharacterList.begin(); it != m_CharacterList.end(); ++it) {
      const int layer = byPriority ? it->m_Chara.m_nLayer : 0;
      if (layer >= 0 && layer < kPriorityLayers) byLayer[static_cast<std::size_t>(layer)].push_back(it);
    }
  };
  for (int pass = 0; pass < (byPriority ? kPriorityLayers : 1); ++pass) {
    const int layer = byPriority ? pass : -1;
    DrawHeroAndItems(layer, bPaused);
    if (listedAt != m_nObjectsCleared) listCharacters();
    DrawLayerCharacters(byLayer[static_cast<std::size_t>(pass)], bPaused);
    DrawShots(layer, bPaused);
  }
}

void cStageScene::DrawHeroAndItems(int nLayer, bool bPaused) {
  const auto onLayer = [nLayer](int layer) { return nLayer < 0 || layer == nLayer; };
  if (m_pHero && onLayer(m_pHero->m_Chara.m_nLayer)) DrawPlayer(bPaused);
  for (cItem& item : m_ItemList) {
    if (!onLayer(item.m_Item.m_nLayer) || !item.m_bAppeared || item.m_bCarried) continue;
    item.UpdateScreenRect();
    item.Draw(DrawTarget(), kBackBuffer, bPaused);
  }
}

void cStageScene::DrawLayerCharacters(const std::vector<std::list<cCharacter>::iterator>& characters, bool bPaused) {
  for (const auto it : characters) {
    if (IsErasedInLoop(*it) || !DrawCharacters(*it, bPaused)) continue;
    // Its death display is over. Inside an in-stage loop the game is
    // stopped somewhere in its frame: the character goes once the loop
    // has returned, and is not drawn meanwhile.
    if (m_nInStageLoops > 0) {
      m_vErasedInLoop.push_back(&*it);
    } else {
      EraseCharacter(it);
    }
  }
}

void cStageScene::DrawShots(int nLayer, bool bPaused) {
  for (cShot& shot : m_ShotList) {
    if ((nLayer >= 0 && shot.m_Shot.m_nLayer != nLayer) || !shot.IsOnScreen()) continue;
    shot.UpdateScreenRect();
    shot.Draw(DrawTarget(), kBackBuffer, bPaused);
  }
}

int cStageScene::DrawCharacters(cCharacter& character, bool bPaused) {
  if (character.m_bDying) {
    character.UpdateScreenRect();
    return character.DrawDying(DrawTarget(), kBackBuffer, bPaused) ? 1 : 0;
  }
  const bool shown = character.m_bAppeared != 0;
  if (!shown && !character.m_bActive) return 0;
  character.UpdateScreenRect();
  if (!shown || character.m_bHidden) {
    // Unseen, its animation and character effect still run.
    character.UpdateAnimation(false);
    character.RunCharaEffectHidden(false);
  } else {
    character.Draw(DrawTarget(), kBackBuffer, bPaused);
  }
  if (!shown) return 0;
  character.DrawHpGauge(DrawTarget(), kBackBuffer);
  character.DrawSpGauge(DrawTarget(), kBackBuffer);
  if (!character.m_bHidden) character.DrawDropItemIcon(DrawTarget(), kBackBuffer);
  return 0;
}

bool cStageScene::IsErasedInLoop(const cCharacter& character) const {
  return std::find(m_vErasedInLoop.begin(), m_vErasedInLoop.end(), &character) != m_vErasedInLoop.end();
}

void cStageScene::ApplyLoopErasures() {
  std::vector<const cCharacter*> keep;
  for (const cCharacter* erased : m_vErasedInLoop) {
    // The actor whose command started the loop is still at work: it goes
    // with the next frame's drawing.
    if (erased == m_pCurActor) {
      keep.push_back(erased);
      continue;
    }
    for (auto it = m_CharacterList.begin(); it != m_CharacterList.end(); ++it) {
      if (&*it != erased) continue;
      EraseCharacter(it);
      break;
    }
  }
  m_vErasedInLoop = std::move(keep);
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

void cStageScene::DrawPictureLayer(int nLayer, int bPaused) {
  DrawPictures(*this, DrawTarget(), kBackBuffer, nLayer, bPaused,
               [](int nPosition) { return sSurface{SURFACES_PICTURE, nPosition}; });
}

void cStageScene::DrawScreenEffectOver(int bPaused) {
  sScreenEffectView view = ScreenEffectViewOf(m_pHero);
  view.drawBackgrounds = [this] {
    for (int layer : {0, 1})
      DrawBackgrounds(&g_sdBackBuffer, g_LoadedStage.m_vBackgrounds, m_ScrollX, m_ScrollY, layer);
  };
  DrawScreenEffect(m_ScreenEffect, view, bPaused);
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
  cPlayer& hero = m_Player;
  hero.UpdateScreenRectForScroll();
  if (!hero.m_bDying) {
    hero.Draw(DrawTarget(), kBackBuffer, bPaused);
    hero.DrawHpGauge(DrawTarget(), kBackBuffer);
    hero.DrawSpGauge(DrawTarget(), kBackBuffer);
    return;
  }
  // A finished death display stays finished, and the frozen pictures of the
  // menus that follow draw it again: the miss is handled once, on the play
  // frame that ends it. Otherwise every frame of the continue menu would
  // take a life, and the game over's fade out would fall back into the game
  // over.
  if (!hero.DrawDying(DrawTarget(), kBackBuffer, bPaused) || m_nState != STAGE_PLAY) return;
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
