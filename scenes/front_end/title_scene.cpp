#include "scenes/front_end/title_scene.h"

#include <algorithm>
#include <memory>

#include "base/checked_access.h"
#include "base/close_request.h"
#include "base/requests.h"
#include "base/strings.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/frame_effects.h"
#include "graphics/image_table.h"
#include "model/user/save_data.h"
#include "scenes/colour_cycle.h"
#include "scenes/front_end/menu_input.h"
#include "scenes/front_end/message_box_drawing.h"
#include "scenes/front_end/play_start.h"
#include "scenes/scene_manager.h"
#include "shell/replay_requests.h"

namespace {

enum eTitleState { TITLE_STATE_MENU = 1, TITLE_STATE_SAVE_SLOT = 2 };

bool EightBitDirectDraw() { return !g_lpD3DState && g_nBpp == 8; }

}  // namespace

cTitleScene::cTitleScene()
    : cFrontEndScene(MENU_ONE_SHOT_BUTTONS, {IMAGE_TITLE, IMAGE_GAME_MODE, IMAGE_ACCESSORY, IMAGE_WINDOW}) {
  SetStates({static_cast<State>(&cTitleScene::SelectMenu), static_cast<State>(&cTitleScene::SelectSaveSlot)});
}

void cTitleScene::Enter() {
  EnterCommon(BGMREQ_TITLE);
  m_nItemCount = FillEnabledItems(g_SystemData.m_vTitleItems, m_anItem.data(), static_cast<int>(m_anItem.size()));
  // The cursor starts on the item that started the last play. An item that
  // is no row stays as the row: the first move wraps it.
  CURSORPOS& cursor = *g_MenuCursor.Current();
  cursor.nRow = g_SceneManager.m_nPlayStart;
  const auto end = m_anItem.begin() + m_nItemCount;
  const auto found = std::find(m_anItem.begin(), end, g_SceneManager.m_nPlayStart);
  if (found != end) cursor.nRow = static_cast<int>(found - m_anItem.begin());
  if (g_SystemData.m_bTitlePicture != 0) m_nMenuX = 288 - g_SurfaceTable[IMAGE_GAME_MODE].nWidth / 2;
  CreateMenuSurface();
  m_nStep = 0;
}

void cTitleScene::CreateMenuSurface() {
  if (g_SystemData.m_bTitlePicture != 0) {
    m_nMenuWidth = g_SurfaceTable[IMAGE_GAME_MODE].nWidth + 32;
  } else {
    int chars = 0;
    for (int i = 0; i < m_nItemCount; ++i)
      chars = std::max(chars, CountChars(CheckedAt(g_SystemData.m_vTitleItems, m_anItem[i]).m_strText.c_str()));
    m_nMenuWidth = chars * 32 + 34;
  }
  m_nMenuHeight = m_nItemCount * 32 + 2;
  if (AddWorkSurface(m_nMenuWidth, m_nMenuHeight, 1)) DrawMenuSurface();
}

void cTitleScene::DrawMenuSurface() {
  DDSURFACEDATA* work = WorkSurface();
  if (!work) return;
  if (g_SystemData.m_bTitlePicture != 0) {
    DDSURFACEDATA* rows = &g_SurfaceTable[IMAGE_GAME_MODE];
    DDFillRectPal(work, 0, 0, m_nMenuWidth, m_nMenuHeight, 0);
    for (int i = 0; i < m_nItemCount; ++i) DDBlt(work, 32, 32 * i, rows->nWidth, 32, rows, 0, m_anItem[i] * 32, 0);
    return;
  }
  DDBltFrame(work, 1, 1, m_nMenuWidth - 2, m_nMenuHeight - 2, &g_SurfaceTable[IMAGE_WINDOW], 1, 240);
  for (int i = 0; i < m_nItemCount; ++i)
    g_Font[2].DrawText(work, 32, 32 * i, CheckedAt(g_SystemData.m_vTitleItems, m_anItem[i]).m_strText.c_str(), 0);
}

void cTitleScene::DrawBackground() {
  DDBlt(&g_sdBackBuffer, 0, 0, 640, 480, &g_SurfaceTable[IMAGE_TITLE], 0, 0, 0);
  if (TakeWorkSurfaceLost()) DrawMenuSurface();
  if (DDSURFACEDATA* work = WorkSurface()) DDBlt(&g_sdBackBuffer, m_nMenuX, kMenuY, m_nMenuWidth, m_nMenuHeight, work, 0, 0, 1);
  CyclePalette();
}

void cTitleScene::FadeIn() {
  if (EightBitDirectDraw()) DrawMenuSurface();
  DrawBackground();
  if (FadeInStep()) m_nState = TITLE_STATE_MENU;
}

void cTitleScene::SelectMenu() {
  g_MenuCursor.MoveGrid(Directions(), m_nMenuX, kMenuY, 0, 32, 1, m_nItemCount);
  PlayCursorSound(2);
  if (!Decided()) {
    DrawBackground();
    DrawCursor(CURSOR_PICTURE_LARGE, *g_MenuCursor.Current());
    return;
  }
  RequestSystemSound(1);
  // The grid move has put the row within the menu.
  const int item = m_anItem[static_cast<std::size_t>(g_MenuCursor.Current()->nRow)];
  g_SceneManager.m_nPlayStart = item;
  Decide(item);
}

void cTitleScene::Decide(int nItem) {
  switch (nItem) {
    case TITLE_NEWGAME:
      SetPlayMode(PLAY_STORY);
      ResetProgress();
      g_SceneManager.m_nNextScene = SCENE_WORLDMAP;
      m_nState = LastState();
      return;
    case TITLE_CONTINUE:
      SetPlayMode(PLAY_STORY);
      g_MenuCursor.Push(0);
      m_nState = TITLE_STATE_SAVE_SLOT;
      m_nStep = 0;
      return;
    case TITLE_CHALLENGE:
      SetPlayMode(PLAY_CHALLENGE);
      LoadChallengeProgress();
      g_SceneManager.m_nNextScene = SCENE_STAGESELECT;
      m_nState = LastState();
      return;
    case TITLE_STAGEFILE:
    case TITLE_REPLAY:
      // A cancelled chooser keeps the menu, with the play mode already set.
      SetPlayMode(nItem == TITLE_STAGEFILE ? PLAY_FREESTAGE : PLAY_REPLAY);
      if ((nItem == TITLE_STAGEFILE ? OpenStageFile() : RequestReplayOpen()) == 0) return;
      g_SceneManager.m_nNextScene = SCENE_STAGE;
      m_nState = LastState();
      return;
    case TITLE_OPTION:
      g_SceneManager.m_nNextScene = SCENE_OPTION;
      m_nState = LastState();
      return;
    case TITLE_QUIT:
      RequestMainWindowClose();
      return;
  }
}

void cTitleScene::SelectSaveSlot() {
  if (m_nStep == 0) {
    *g_MenuCursor.Current() = CURSORPOS{};
    m_nSlotTop = 0;
    m_nStep = 1;
    ScanStorySlots(g_SaveSlots);
  }
  const int count = static_cast<int>(g_SaveSlots.size());
  m_nSlotRows = std::min(count, kSlotRowsShown);
  g_MenuCursor.MoveList(Directions(), 1, m_nSlotTop, kSlotListY, 16, kSlotListX, m_nSlotRows, count, 1);
  PlayCursorSound(3);
  if (Decided()) {
    // A slot that is empty, or whose file cannot be read (any more), keeps
    // the list open and the progress as it was.
    const int slot = g_MenuCursor.Current()->nRow;
    if (!CheckedAt(g_SaveSlots, slot).m_bUsed || !g_SaveData.LoadStory(slot)) {
      RequestSystemSound(3);
      return;
    }
    RequestSystemSound(1);
    g_SceneManager.m_nNextScene = SCENE_WORLDMAP;
    m_nState = LastState();
    return;
  }
  if (Cancelled()) {
    RequestSystemSound(2);
    g_MenuCursor.Pop(1);
    m_nState = TITLE_STATE_MENU;
    m_nStep = 0;
    return;
  }
  DDBlt(&g_sdBackBuffer, 0, 0, 640, 480, &g_SurfaceTable[IMAGE_TITLE], 0, 0, 0);
  CyclePalette();
  DrawStorySlots(&g_sdBackBuffer, kSlotListX, kSlotListY, g_SaveSlots, m_nSlotTop, m_nSlotRows);
  DrawCursor(CURSOR_PICTURE_LIST, *g_MenuCursor.Current());
}

void cTitleScene::Leave() {
  if (!FadeOutStep()) return;
  g_MenuCursor.Reset();
  HandOver(SCENE_TITLE);
}

int cTitleScene::OpenStageFile() { return RequestDialog(WM_REQ_OPEN_STAGE) != 0 ? 1 : 0; }

void RegisterTitleScene() {
  cSceneManager::SetSceneFactory(SCENE_TITLE, [] { return std::make_unique<cTitleScene>(); });
}
