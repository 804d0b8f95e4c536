#include "scenes/stage/stage_scene.h"

#include <memory>

#include "base/close_request.h"
#include "base/requests.h"
#include "game/flows/flow_condition.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/screen_fade.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"
#include "platform/keyboard.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_draw_layers.h"

DDSurfaceVector g_vecCharaExcSD;
ImageVector g_vecCharaExcImage;
DDSurfaceVector g_vecSwordSD;
ImageVector g_vecSwordImage;
DDSurfaceVector g_vecEffectSD;
ImageVector g_vecEffectImage;

const std::array<int, kStageImageCount>& StageImageNumbers() {
  // A constant without a destructor: a scene deleted at program exit still
  // reads it.
  static constexpr std::array<int, kStageImageCount> numbers = [] {
    std::array<int, kStageImageCount> a{};
    std::size_t i = 0;
    for (int n = 2; n <= 47; ++n) a[i++] = n;
    for (int n = 49; n <= 51; ++n) a[i++] = n;
    for (int n = 55; n <= 68; ++n) a[i++] = n;
    return a;
  }();
  return numbers;
}

cStageScene::cStageScene() {
  SetStates({static_cast<State>(&cStageScene::ShowStartBanner), static_cast<State>(&cStageScene::Play),
             static_cast<State>(&cStageScene::PauseMenu), static_cast<State>(&cStageScene::ShowResult),
             static_cast<State>(&cStageScene::ContinueMenu), static_cast<State>(&cStageScene::GameOver)});
  m_vRankPosition.assign(kRankingKindCount, -1);
  m_vRankValue.assign(kRankingKindCount, 0);
  g_SaveData.m_nStageBgm = 0;
  g_pStageScene = this;
  m_DDTarget.SetImageSet(SURFACES_CHARA_EXC, &g_vecCharaExcSD);
  m_DDTarget.SetImageSet(SURFACES_SWORD, &g_vecSwordSD);
  m_DDTarget.SetImageSet(SURFACES_EFFECT, &g_vecEffectSD);
  m_DDTarget.SetImageSet(SURFACES_PICTURE, &g_vecPictureSD);
}

cStageScene::~cStageScene() {
  for (int n : StageImageNumbers()) DDReleaseSurface(&g_SurfaceTable[n]);
  for (DDSurfaceVector* set : {&g_vecCharaExcSD, &g_vecSwordSD, &g_vecEffectSD}) {
    DDReleaseSurfaceVector(*set);
    set->clear();
  }
  g_vecCharaExcImage.clear();
  g_vecSwordImage.clear();
  g_vecEffectImage.clear();
  ClearPictures();
  ClearMessageSurfaces();
  // cStagePlay's destructor lets go of g_pStageScene.
}

void cStageScene::Frame() {
  // A set-up that failed asked the program to close; until it does, the
  // stage has no map to play on.
  if (m_bSetUpFailed) return;
  RunFrame();
}

void cStageScene::PlayBgm(int nEntry, int bOption) {
  g_SaveData.m_bStageBgmLoop = bOption;
  RequestBgm(BGMREQ_STAGE, nEntry);
}

int cStageScene::CheckPauseKey() {
  if ((platform::GetAsyncKeyState(platform::VK_SPACE) & 0x8000) == 0) return 0;
  RequestSystemSound(4);
  m_nPauseState = m_nState;
  m_nPauseStep = m_nStep;
  return 1;
}

void cStageScene::RebuildSightMask() {
  if (!m_pHero) return;
  CreateEffectSurfaces(&g_SurfaceTable[IMAGE_SIGHT_MASK], &g_SurfaceTable[IMAGE_SIGHT_MASK + 1], m_pHero->m_nSight,
                       m_pHero->m_Chara.m_nSightShape);
}

int cStageScene::FramesPerSecond() const { return g_SceneManager.m_nFps; }

void RegisterStageScene() {
  cSceneManager::SetSceneFactory(SCENE_STAGE, [] { return std::make_unique<cStageScene>(); });
}
