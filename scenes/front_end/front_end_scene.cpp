#include "scenes/front_end/front_end_scene.h"

#include "base/checked_access.h"
#include "base/close_request.h"
#include "base/input_state.h"
#include "base/requests.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/screen_fade.h"
#include "model/settings/system_data.h"
#include "model/user/save_data.h"
#include "scenes/front_end/menu_input.h"
#include "scenes/scene_manager.h"
#include "shell/sound/sound_effects.h"

DDSurfaceVector g_vecScenePictureSD;
ImageVector g_vecScenePictureImage;

int FillEnabledItems(const std::vector<cEdMenuItem>& items, int* anItem, int nSize) {
  int count = 0;
  for (int i = 0; i < static_cast<int>(items.size()) && i < nSize; ++i) {
    if (items[static_cast<std::size_t>(i)].m_bEnabled != 0) anItem[count++] = i;
  }
  if (count > 0) return count;
  anItem[0] = 0;
  return 1;
}

cFrontEndScene::cFrontEndScene(int nOneShotMask, std::initializer_list<int> images)
    : m_nOneShotMask(nOneShotMask), m_vImages(images) {}

cFrontEndScene::~cFrontEndScene() {
  for (int image : m_vImages) DDReleaseSurface(&g_SurfaceTable[image]);
  ReleaseWorkSurfaces();
}

void cFrontEndScene::Frame() {
  FilterMenuInput(m_nOneShotMask);
  RunFrame();
}

void cFrontEndScene::EnterCommon(int nBgmRequest) {
  RequestBgm(nBgmRequest);
  if (!DDLoadSurfaces(g_SurfaceTable, m_vImages.data(), static_cast<int>(m_vImages.size())))
    RequestMainWindowCloseForError();
  g_MenuCursor.Reset();
}

bool cFrontEndScene::FadeInStep() {
  return DDFadeIn(g_palOriginal.data(), 0, 255, 0, 0, 0, g_SceneManager.m_nFadeSpeed, g_palCurrent.data(), 0);
}

bool cFrontEndScene::FadeOutStep() {
  if (!DDFadeOut(g_palOriginal.data(), 0, 255, 0, 0, 0, g_SceneManager.m_nFadeSpeed, g_palCurrent.data(), 0))
    return false;
  DDClearSurfacePal(&g_sdBackBuffer, 16);
  return true;
}

void cFrontEndScene::HandOver(int nOwnKind) {
  g_SceneManager.m_nPrevScene = nOwnKind;
  g_SceneManager.m_nScene = g_SceneManager.m_nNextScene;
}

void cFrontEndScene::ReleaseWorkSurfaces() {
  DDReleaseSurfaceVector(g_vecScenePictureSD);
  g_vecScenePictureSD.clear();
  g_vecScenePictureImage.clear();
}

DDSURFACEDATA* cFrontEndScene::AddWorkSurface(int w, int h, int bTransmit) {
  ReleaseWorkSurfaces();
  if (!DDAddSurface(g_vecScenePictureSD, g_vecScenePictureImage, w, h, bTransmit, 1, 0, 0)) {
    RequestMainWindowCloseForError();
    return nullptr;
  }
  return WorkSurface();
}

DDSURFACEDATA* cFrontEndScene::WorkSurface() {
  return g_vecScenePictureSD.empty() ? nullptr : &g_vecScenePictureSD.front();
}

bool cFrontEndScene::TakeWorkSurfaceLost() { return TakeSurfaceLost(WorkSurface()); }

bool cFrontEndScene::TakeSurfaceLost(DDSURFACEDATA* lpSD) {
  if (!lpSD || !lpSD->lpDT || !lpSD->lpDT->bRecreated) return false;
  lpSD->lpDT->bRecreated = 0;
  return true;
}

void cFrontEndScene::DrawCursor(eCursorPicture picture, const CURSORPOS& at) {
  DDSURFACEDATA* accessory = &g_SurfaceTable[IMAGE_ACCESSORY];
  switch (picture) {
    case CURSOR_PICTURE_LARGE: DDBlt(&g_sdBackBuffer, at.nX, at.nY, 32, 32, accessory, 0, 0, 1); break;
    case CURSOR_PICTURE_LIST: DDBlt(&g_sdBackBuffer, at.nX, at.nY, 16, 16, accessory, 64, 0, 1); break;
    case CURSOR_PICTURE_POINTER: DDBlt(&g_sdBackBuffer, at.nX, at.nY, 16, 16, accessory, 80, 0, 1); break;
  }
}

void cFrontEndScene::PlayCursorSound(int nAxes) { DS_PlayCursorSound(&CheckedAt(g_InputStates, 0).wDir, nAxes, 0); }

int cFrontEndScene::Directions() { return CheckedAt(g_InputStates, 0).wDir; }
bool cFrontEndScene::Decided() { return (CheckedAt(g_InputStates, 0).wButton & MENU_DECIDE) != 0; }
bool cFrontEndScene::Cancelled() { return (CheckedAt(g_InputStates, 0).wButton & MENU_CANCEL) != 0; }

bool cFrontEndScene::RankingKeys(int nRankingMode) {
  const int buttons = CheckedAt(g_InputStates, 0).wButton;
  const bool enabled = CheckedAt(g_SystemData.m_vRanking, nRankingMode).m_bEnabled != 0;
  if ((buttons & MENU_RANKING_SHOW) != 0) {
    if (enabled) {
      RequestSystemSound(6);
      g_SaveData.m_bShowRanking = g_SaveData.m_bShowRanking != 0 ? 0 : 1;
      return true;
    }
    if (g_SaveData.m_bShowRanking == 0) return false;
    g_SaveData.m_bShowRanking = 0;
    return true;
  }
  if ((buttons & MENU_RANKING_KIND) == 0 || !enabled) return false;
  if (g_SystemData.CountRankingKinds(g_SceneManager.m_nPlayMode) >= 2) {
    RequestSystemSound(6);
    g_SaveData.StepRankingKind(g_SceneManager.m_nPlayMode, 1);
  }
  return true;
}
