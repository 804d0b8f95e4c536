#include "scenes/scene_manager.h"

#include <algorithm>
#include <exception>
#include <new>

#include "base/close_request.h"
#include "base/input_state.h"
#include "base/key_config.h"
#include "base/report.h"
#include "base/requests.h"
#include "base/timer.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/device_recovery.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "graphics/message_surfaces.h"
#include "graphics/scene.h"
#include "model/stage/stage.h"
#include "platform/video/ddraw.h"
#include "platform/window_messages.h"
#include "scenes/stage/stage_scene.h"
#include "shell/system_ini.h"

cSceneManager g_SceneManager;
int g_bPresentByBlt = 0;
sFpsFigures g_FpsFigures;

namespace {

std::array<cSceneManager::SceneFactory, SCENE_KIND_COUNT>& Factories() {
  static std::array<cSceneManager::SceneFactory, SCENE_KIND_COUNT> factories;
  return factories;
}

bool IsSceneKind(int kind) { return kind >= 0 && kind < SCENE_KIND_COUNT; }

platform::DirectDrawSurface7* DirectDrawSurfaceOf(const DDSURFACEDATA& sd) {
  return sd.lpDDraw ? sd.lpDDraw->lpDDS : nullptr;
}

}  // namespace

cSceneManager::~cSceneManager() { DeleteAllScenes(); }

int cSceneManager::SlotOf(int kind) {
  // The options slot comes before the stage slot.
  switch (kind) {
    case SCENE_OPTION: return 4;
    case SCENE_STAGE: return 5;
    default: return kind;
  }
}

cScene* cSceneManager::Scene(int kind) const {
  return IsSceneKind(kind) ? m_apScene[SlotOf(kind)].get() : nullptr;
}

void cSceneManager::SetSceneFactory(int kind, SceneFactory factory) {
  if (IsSceneKind(kind)) Factories()[kind] = std::move(factory);
}

int cSceneManager::Frame() {
  WaitFrameTime();
  StartTimer();
  if (g_lpDDState && !RestoreLostSurfaces()) return 0;
  PollInput(g_InputStates);
  try {
    ChangeScene(m_nScene);
  } catch (const std::exception& error) {
    ErrorLogAndClose("%s", error.what());
  }
  if (cScene* scene = Scene(m_nScene)) scene->Frame();
  const int fps = CountFps();
  const std::uint32_t ms = GetElapsedTime();
  if (g_SystemIni.nShowFps != 0) {
    g_FpsFigures.Add(ms);
    DrawFrameRate(g_SystemIni.nShowFps, fps, g_FpsFigures.nAverage);
  }
  Present();
  return 1;
}

void cSceneManager::ChangeScene(int kind) {
  for (int other = 0; other < SCENE_KIND_COUNT; ++other) {
    if (other != kind) m_apScene[SlotOf(other)].reset();
  }
  if (!IsSceneKind(kind) || m_apScene[SlotOf(kind)] || !Factories()[kind]) return;
  try {
    m_apScene[SlotOf(kind)] = Factories()[kind]();
  } catch (const std::bad_alloc&) {
    OutOfMemoryError();
  }
}

void cSceneManager::DeleteAllScenes() {
  for (int kind : {SCENE_TITLE, SCENE_WORLDMAP, SCENE_STORYMENU, SCENE_STAGESELECT, SCENE_OPTION, SCENE_STAGE}) {
    m_apScene[SlotOf(kind)].reset();
  }
}

void cSceneManager::PollInput(std::vector<cInputState>& inputs) {
  if (inputs.empty()) return;
  if (g_KeyConfig.bUseKeyConfig) {
    inputs[0].PollKeyConfig(60);
  } else {
    inputs[0].Poll(0, 3, 60);
  }
}

int cSceneManager::RestoreLostSurfaces() {
  if (g_lpD3DState) return 1;
  platform::DirectDrawSurface7* primary = DirectDrawSurfaceOf(g_sdPrimary);
  if (!primary || primary->IsLost() != platform::DDERR_SURFACELOST) return 1;
  if (!DDRestore()) return 0;
  // The stage's image sets come back from their files too; the message
  // windows' surfaces come back empty and their windows write them again.
  for (DDSurfaceVector* set : {&g_vecCharaExcSD, &g_vecEffectSD, &g_vecSwordSD, &g_vecPictureSD}) {
    for (DDSURFACEDATA& surface : *set) {
      if (!DDRestoreLostSurface(&surface)) return 0;
    }
  }
  for (DDSURFACEDATA& surface : g_lstMessageSD) {
    if (!DDRestoreLostSurface(&surface)) return 0;
  }
  return RestoreFontSurfaces(g_DigitSurface, 3) ? 1 : 0;
}

bool cSceneManager::RestoreFontSurfaces(DDSURFACEDATA* lpSurfaces, int nCount) {
  for (int i = 0; i < nCount && i < 3; ++i) {
    platform::DirectDrawSurface7* surface = DirectDrawSurfaceOf(lpSurfaces[i]);
    if (!surface || surface->IsLost() != platform::DDERR_SURFACELOST) continue;
    surface->Restore();
    if (!lpSurfaces[i].bSystemMemory) DDRenderDigits(&lpSurfaces[i], &g_Font[i]);
  }
  return true;
}

void cSceneManager::Present() const {
  // A stage faster than 60 frames a second never waits for the display.
  const bool fastStage = Scene(SCENE_STAGE) != nullptr && g_LoadedStage.m_nFps > 60;
  if (g_lpD3DState) {
    if (!DDPresent()) platform::SendMessage(g_hWnd.load(), WM_REQ_RESTORE_SURFACE, 0, 0);
  } else if (g_lpDDState) {
    platform::DirectDrawSurface7* primary = DirectDrawSurfaceOf(g_sdPrimary);
    platform::DirectDrawSurface7* back = DirectDrawSurfaceOf(g_sdBackBuffer);
    if (!primary || !back) return;
    if (g_nWindowMode == 1) {
      if (!fastStage && g_lpDD) g_lpDD->WaitForVerticalBlank(platform::DDWAITVB_BLOCKBEGIN, nullptr);
      primary->Blt(&g_rcClientScreen, back, nullptr, platform::DDBLT_WAIT, nullptr);
    } else if (g_bPresentByBlt || fastStage) {
      DDBlt(&g_sdPrimary, 0, 0, 640, 480, &g_sdBackBuffer, 0, 0, 0);
    } else {
      primary->Flip(nullptr, platform::DDFLIP_WAIT);
    }
  }
}

void WaitFrameTime() {
  if (g_lpD3DState && g_bVSync) return;
  WaitForNextFrame(static_cast<unsigned>(std::max(g_SceneManager.m_nFps, 0)));
}

void DrawFrameRate(int nShowFps, int nFps, std::uint32_t nAverage) {
  const int average = static_cast<int>(std::min<std::uint32_t>(nAverage, 99999));
  if (nShowFps == 2) {
    g_Font[0].Printf(&g_sdBackBuffer, 549, 469, "FPS%2d(%2d)", nFps, average);
  } else {
    g_Font[1].PrintfBox(&g_sdBackBuffer, 495, 463, 0, 0, "FPS%2d(%2d)", nFps, average);
  }
}

void sFpsFigures::Add(std::uint32_t ms) {
  anWorkTime[nIndex] = ms;
  if (++nIndex < static_cast<int>(anWorkTime.size())) return;
  nIndex = 0;
  std::uint32_t sum = 0;
  for (std::uint32_t t : anWorkTime) sum += t;
  nAverage = sum >> 4;
}
