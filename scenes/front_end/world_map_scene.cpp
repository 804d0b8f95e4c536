#include "scenes/front_end/world_map_scene.h"

#include <algorithm>
#include <memory>
#include <string>

#include "base/checked_access.h"
#include "base/close_request.h"
#include "base/report.h"
#include "base/requests.h"
#include "base/strings.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "model/settings/message_box_layout.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/stage/stage_loader.h"
#include "model/user/ranking.h"
#include "model/user/save_data.h"
#include "scenes/front_end/menu_input.h"
#include "scenes/front_end/message_box_drawing.h"
#include "scenes/number_text.h"
#include "scenes/ranking_display.h"
#include "scenes/scene_manager.h"

namespace {

enum eWorldMapState { MAP_STATE_MOVE = 1, MAP_STATE_CONFIRM = 2, MAP_STATE_LEAVE = 3 };

// The settings' message texts used here.
enum {
  MESSAGE_SCORE = 2,
  MESSAGE_ENTER = 10,  // enter, and "do not" below it
};

constexpr int kPromptCentreX = 304;
constexpr int kPanelX = 304;            // the caption and score are centred on it
constexpr int kLivesRight = 605;
constexpr int kHeroFrames = 2;

bool SameCell(const CURSORPOS& a, const CURSORPOS& b) { return a.nCol == b.nCol && a.nRow == b.nRow; }

}  // namespace

cWorldMapScene::cWorldMapScene()
    : cFrontEndScene(MENU_ONE_SHOT_BUTTONS_AND_RANKING, {IMAGE_WORLD_BACK, IMAGE_WORLD_MAP_CHIP, IMAGE_WORLD_EVENT,
                                                         IMAGE_ACCESSORY, IMAGE_WINDOW, IMAGE_WORLD_MAP}) {
  SetStates({static_cast<State>(&cWorldMapScene::MoveCursor), static_cast<State>(&cWorldMapScene::ConfirmStage)});
}

void cWorldMapScene::Enter() {
  CopyName(g_ImageTable[IMAGE_WORLD_BACK].szFileName, g_WorldMap.m_strImage.c_str());
  EnterCommon(BGMREQ_MAP);
  CURSORPOS& cursor = *g_MenuCursor.Current();
  cursor = CURSORPOS{g_SaveData.m_nMapX, g_SaveData.m_nMapY, kHeroX, kHeroY};
  SetViewOrigin(cursor);
  m_nFacing = g_SaveData.m_nMapPoint;
  FindPointAndEvent();
  m_BackupCursor = cursor;
  CreateRankingSurface();
  if (OnStageEntry()) {
    SelectStageEvent();
    m_LastCell = cursor;
  }
  // A new story has no slot yet: nothing to save into.
  if (g_SaveData.m_bAutoSave != 0 && g_SceneManager.m_nPrevScene == SCENE_STAGE && g_SaveData.m_nSaveSlot >= 0)
    g_SaveData.SaveStory(g_SaveData.m_nSaveSlot);
  DrawMapSurface(&g_SurfaceTable[IMAGE_WORLD_MAP]);
  m_nStep = 0;
}

void cWorldMapScene::SetViewOrigin(const CURSORPOS& cursor) {
  m_nViewX = cursor.nCol - kHeroColumn;
  m_nViewY = cursor.nRow - kHeroRow;
}

const cEdMapEvent* cWorldMapScene::FindEnabledEvent(const cEdMapPoint* pPoint) {
  return FindMapEvent(pPoint, g_SaveData);
}

int cWorldMapScene::IsCleared(const cEdMapEvent* pEvent) {
  if (pEvent == nullptr) return 0;
  return CheckedAt(g_SaveData.m_vSwitches, pEvent->m_nStage) != 0 ? 1 : 0;
}

int cWorldMapScene::IsManualEntry(const cEdMapEvent* pEvent) {
  if (pEvent == nullptr) return 0;
  return pEvent->m_bManual != 0 ? 1 : IsCleared(pEvent);
}

void cWorldMapScene::FindPointAndEvent() {
  const CURSORPOS& cursor = *g_MenuCursor.Current();
  m_nPointIndex = g_WorldMap.FindPointAt(cursor.nCol, cursor.nRow);
  m_pPoint = g_WorldMap.PointAt(m_nPointIndex);
  m_pEvent = FindEnabledEvent(m_pPoint);
}

bool cWorldMapScene::OnStageEntry() const {
  return m_pEvent != nullptr && m_pEvent->m_nKind == cEdMapEvent::KIND_STAGE;
}

void cWorldMapScene::MoveHero(CURSORPOS& cursor, int nKeys) {
  if ((nKeys & (CURSOR_LEFT | CURSOR_RIGHT | CURSOR_UP | CURSOR_DOWN)) != 0) {
    g_SaveData.m_nMapReturnX = cursor.nCol;
    g_SaveData.m_nMapReturnY = cursor.nRow;
    m_BackupCursor = cursor;
  }
  if ((nKeys & CURSOR_LEFT) != 0) {
    m_nFacing = FACING_LEFT;
    cursor.nCol = std::max(cursor.nCol - 1, 0);
  } else if ((nKeys & CURSOR_RIGHT) != 0) {
    m_nFacing = FACING_RIGHT;
    cursor.nCol = std::min(cursor.nCol + 1, g_WorldMap.m_nWidth - 1);
  } else if ((nKeys & CURSOR_UP) != 0) {
    m_nFacing = FACING_UP;
    cursor.nRow = std::max(cursor.nRow - 1, 0);
  } else if ((nKeys & CURSOR_DOWN) != 0) {
    m_nFacing = FACING_DOWN;
    cursor.nRow = std::min(cursor.nRow + 1, g_WorldMap.m_nHeight - 1);
  }

  const cEdMapEvent* event = FindEnabledEvent(g_WorldMap.PointAt(g_WorldMap.FindPointAt(cursor.nCol, cursor.nRow)));
  // A cell without a chip (a damaged grid) is open ground.
  const cEdMapChip* chip = g_WorldMap.ChipAt(cursor.nCol, cursor.nRow);
  const bool blocked = event == nullptr ? chip != nullptr && chip->m_bBlocked != 0
                                        : event->m_nKind == cEdMapEvent::KIND_BLOCKED;
  if (blocked) {
    cursor = m_BackupCursor;
  } else {
    SetViewOrigin(cursor);
    g_SaveData.m_nMapPoint = m_nFacing;
    if (m_nViewX != m_nDrawnViewX || m_nViewY != m_nDrawnViewY) DrawMapSurface(&g_SurfaceTable[IMAGE_WORLD_MAP]);
  }
  cursor.nX = kHeroX;
  cursor.nY = kHeroY;
}

void cWorldMapScene::SelectStageEvent() {
  g_SaveData.SetStageFile(m_pEvent->m_strStageFile.c_str());
  m_nStageBest = g_SaveData.GetStageBest(g_SaveData.m_strStagePath);
  if (g_SceneManager.m_bUseRanking == 0) return;
  LoadStageRanking(g_RankingSet, g_SceneManager.m_nPlayMode, g_SaveData.m_strStagePath);
  g_SaveData.StepRankingKind(g_SceneManager.m_nPlayMode, 0);
  if (DDSURFACEDATA* work = WorkSurface()) DrawRankingSurface(work);
}

void cWorldMapScene::PrepareStagePlay() {
  g_SaveData.SetStageFile(g_LoadedStage.m_strPath.c_str());
  g_SaveData.m_nStageNo = m_pEvent->m_nStage;
  g_SaveData.m_nSeriesNo = 1;
  if (g_SystemData.m_bKeepLives != 0) {
    g_SaveData.m_nStartLives = CheckedAt(g_SystemData.m_vInfiniteLives, PLAY_STORY) != 0
                                   ? UNLIMITED_LIVES
                                   : g_SaveData.m_nLives + 1;
  } else {
    g_SaveData.m_nStartLives = CheckedAt(g_SystemData.m_vStartLives, PLAY_STORY);
  }
  g_SaveData.m_nMapEntry = m_nPointIndex;
}

bool cWorldMapScene::LoadEntryStage(const cEdMapEvent& event) {
  if (LoadStageFile(event.m_strStageFile.c_str(), 1, &g_PlayStage)) return true;
  ErrorBoxF("ステージファイル %s が読み込めません！", event.m_strStageFile.c_str());
  return false;
}

void cWorldMapScene::StartStage() {
  PrepareStagePlay();
  m_nStep = 0;
  m_nState = MAP_STATE_LEAVE;
  g_SceneManager.m_nNextScene = SCENE_STAGE;
}

void cWorldMapScene::CreateRankingSurface() {
  if (DDSURFACEDATA* work = AddWorkSurface(kRankingWidth, kRankingHeight, 1)) DrawRankingSurface(work);
}

void cWorldMapScene::DrawRankingSurface(DDSURFACEDATA* lpSD) {
  DrawRanking(g_RankingSet, lpSD, 0, 0, g_SaveData.m_nRankingKind, -1);
}

void cWorldMapScene::DrawMapSurface(DDSURFACEDATA* lpSD) {
  const cEdWorldMap& map = g_WorldMap;
  DDFillRectPal(lpSD, 0, 0, 640, 480, static_cast<std::uint32_t>(map.m_nBackColour));
  if (map.m_bShowImage != 0) {
    // The picture is the whole map's: the part under the view, placed where
    // the map's corner is on screen.
    DDBlt(lpSD, m_nViewX < 0 ? -32 * m_nViewX : 0, m_nViewY < 0 ? -32 * m_nViewY : 0, 640, 480,
          &g_SurfaceTable[IMAGE_WORLD_BACK], m_nViewX >= 0 ? 32 * m_nViewX : 0, m_nViewY >= 0 ? 32 * m_nViewY : 0, 0);
  }
  for (int row = 0; row < kViewRows; ++row) {
    const int y = m_nViewY + row;
    if (y < 0 || y >= map.m_nHeight) continue;
    for (int column = 0; column < kViewColumns; ++column) {
      const int x = m_nViewX + column;
      if (x < 0 || x >= map.m_nWidth) continue;
      const cEdMapChip* chip = map.ChipAt(x, y);
      if (chip == nullptr || chip->m_nGraphic < 0) continue;
      const int tile = chip->m_nGraphic;
      DDBlt(lpSD, 32 * column, 32 * row, 32, 32, &g_SurfaceTable[IMAGE_WORLD_MAP_CHIP], 32 * (tile % 5),
            32 * (tile / 5), 1);
    }
  }
  // Points one column and row beyond the view show their icons' edges.
  for (const cEdMapPoint& point : map.m_vPoints) {
    if (point.m_nX < m_nViewX || point.m_nX > m_nViewX + kViewColumns || point.m_nY < m_nViewY ||
        point.m_nY > m_nViewY + kViewRows)
      continue;
    const cEdMapEvent* event = FindEnabledEvent(&point);
    if (event == nullptr) continue;
    DDBlt(lpSD, 32 * (point.m_nX - m_nViewX), 32 * (point.m_nY - m_nViewY), 32, 32, &g_SurfaceTable[IMAGE_WORLD_EVENT],
          IsCleared(event) ? 32 : 0, 32 * event->m_nIcon, 1);
  }
  m_nDrawnViewX = m_nViewX;
  m_nDrawnViewY = m_nViewY;
}

void cWorldMapScene::DrawHero() {
  // Source of the first picture per facing; the second lies 32 to the right.
  static constexpr int kSource[4][2] = {{0, 64}, {64, 64}, {64, 96}, {0, 96}};
  const int facing = m_nFacing >= FACING_DOWN && m_nFacing <= FACING_RIGHT ? m_nFacing : FACING_DOWN;
  ++m_nHeroCounter;
  const int sx = kSource[facing][0] + (m_nHeroCounter > kHeroFrameLength ? 32 : 0);
  if (m_nHeroCounter >= kHeroFrames * kHeroFrameLength) m_nHeroCounter = 0;
  DDBlt(&g_sdBackBuffer, kHeroX, kHeroY, 32, 32, &g_SurfaceTable[IMAGE_ACCESSORY], sx, kSource[facing][1], 1);
}

void cWorldMapScene::Draw(int bWithPanel) {
  // A device recovery makes the map's surface again empty.
  if (TakeSurfaceLost(&g_SurfaceTable[IMAGE_WORLD_MAP])) DrawMapSurface(&g_SurfaceTable[IMAGE_WORLD_MAP]);
  DDBlt(&g_sdBackBuffer, 0, 0, 640, 480, &g_SurfaceTable[IMAGE_WORLD_MAP], 0, 0, 0);
  DrawHero();

  if (g_SystemData.m_bMapShowLives != 0) {
    const bool unlimited = g_SaveData.m_nLives == UNLIMITED_LIVES;
    const int digits = unlimited ? 1 : CountDigits(g_SaveData.m_nLives);
    const int x = kLivesRight - 16 * digits;
    g_Font[1].DrawBox(&g_sdBackBuffer, x, 17, (digits + 1) * 16, 20);
    DDBlt(&g_sdBackBuffer, x, 19, 16, 16, &g_SurfaceTable[IMAGE_ACCESSORY], 0, 48, 1);
    if (unlimited) {
      g_Font[1].Printf(&g_sdBackBuffer, x + 16, 19, "∞");
    } else {
      g_Font[1].Printf(&g_sdBackBuffer, x + 16, 19, "%d", g_SaveData.m_nLives);
    }
  }
  if (bWithPanel == 0 || !OnStageEntry()) return;

  if (CheckedAt(g_SystemData.m_vRanking, PLAY_STORY).m_bEnabled != 0 && g_SaveData.m_bShowRanking != 0) {
    if (DDSURFACEDATA* work = WorkSurface()) {
      if (TakeWorkSurfaceLost()) DrawRankingSurface(work);
      DDBlt(&g_sdBackBuffer, kRankingX, kRankingY, kRankingWidth, kRankingHeight, work, 0, 0, 1);
    }
  }
  const bool showBest = g_SystemData.m_bMapShowBest != 0 && m_nStageBest > 0;
  const int panelY = showBest ? 184 : 204;
  const char* caption = m_pEvent->m_strCaption.c_str();
  const int chars = CountChars(caption);
  if (chars >= 1) g_Font[1].PrintfBox(&g_sdBackBuffer, kPanelX - 8 * chars, panelY, 16 * chars, 16, "%s", caption);
  if (showBest) {
    const char* label = CheckedAt(g_SystemData.m_vTexts, MESSAGE_SCORE).c_str();
    const int width = 16 * (CountChars(label) + CountDigits(m_nStageBest));
    g_Font[1].PrintfBox(&g_sdBackBuffer, kPanelX - width / 2, panelY + 20, width, 16, "%s%d", label, m_nStageBest);
  }
}

void cWorldMapScene::StepBack() {
  CURSORPOS& cursor = *g_MenuCursor.Current();
  // A position of a damaged save stays on the map.
  cursor.nCol = std::clamp(g_SaveData.m_nMapReturnX, 0, std::max(g_WorldMap.m_nWidth - 1, 0));
  cursor.nRow = std::clamp(g_SaveData.m_nMapReturnY, 0, std::max(g_WorldMap.m_nHeight - 1, 0));
  SetViewOrigin(cursor);
  DrawMapSurface(&g_SurfaceTable[IMAGE_WORLD_MAP]);
  FindPointAndEvent();
}

void cWorldMapScene::FadeIn() {
  if (!g_lpD3DState && g_nBpp == 8) {
    if (DDSURFACEDATA* work = WorkSurface()) DrawRankingSurface(work);
  }
  Draw(g_SaveData.m_bGaveUp != 0 ? 0 : 1);
  if (!FadeInStep()) return;
  if (OnStageEntry()) {
    if (g_SaveData.m_bGaveUp != 0) {
      // Back from a stage given up: off its entry, unless it was cleared.
      g_SaveData.m_bGaveUp = 0;
      if (!IsCleared(m_pEvent)) StepBack();
    } else if (g_SceneManager.m_nPrevScene != SCENE_STORYMENU && !IsCleared(m_pEvent)) {
      if (!LoadEntryStage(*m_pEvent)) {
        RequestMainWindowCloseForError();
        return;
      }
      const CURSORPOS& cursor = *g_MenuCursor.Current();
      g_SaveData.m_nMapReturnX = cursor.nCol;
      g_SaveData.m_nMapReturnY = cursor.nRow;
      StartStage();
      return;
    }
  }
  m_nState = MAP_STATE_MOVE;
}

void cWorldMapScene::MoveCursor() {
  CURSORPOS& cursor = *g_MenuCursor.Current();
  MoveHero(cursor, Directions());
  PlayCursorSound(3);
  FindPointAndEvent();
  if (OnStageEntry()) {
    if (!SameCell(cursor, m_LastCell)) {
      SelectStageEvent();
      m_LastCell = cursor;
    }
    // An entry that does not wait for the decide button opens its prompt
    // as the hero steps on it; a cleared one that cannot be played again
    // does not open.
    const bool open = IsManualEntry(m_pEvent) == 0 || Decided();
    if (open && !(IsCleared(m_pEvent) != 0 && m_pEvent->m_bReplayable == 0)) {
      g_SaveData.m_nMapX = cursor.nCol;
      g_SaveData.m_nMapY = cursor.nRow;
      g_MenuCursor.Push(0);
      m_nStep = 0;
      m_nState = MAP_STATE_CONFIRM;
      return;
    }
    StoryRankingKeys();
  }
  if (Cancelled()) {
    RequestSystemSound(4);
    g_SaveData.m_nMapX = cursor.nCol;
    g_SaveData.m_nMapY = cursor.nRow;
    m_nStep = 0;
    m_nState = MAP_STATE_LEAVE;
    g_SceneManager.m_nNextScene = SCENE_STORYMENU;
    return;
  }
  Draw(1);
}

void cWorldMapScene::ConfirmStage() {
  if (m_nStep == 0) {
    RequestSystemSound(1);
    m_bStageLoaded = LoadEntryStage(*m_pEvent);
    g_MenuCursor.Current()->nRow = 1;  // starts on "do not"
    m_nStep = 1;
  }
  m_nPromptX = CenterMessageBoxX(kPromptCentreX, MESSAGE_ENTER, 2, 1);
  g_MenuCursor.MoveGrid(Directions(), m_nPromptX, kPromptY, 0, 16, 1, 2);
  PlayCursorSound(2);
  if (Decided()) {
    RequestSystemSound(1);
    if (g_MenuCursor.Current()->nRow == 0 && m_bStageLoaded) {
      g_SaveData.m_nMapPoint = m_nFacing;
      // The cursor stack is reset as the map is left.
      StartStage();
      return;
    }
    ClosePrompt();
    return;
  }
  if (Cancelled()) {
    RequestSystemSound(2);
    ClosePrompt();
    return;
  }
  StoryRankingKeys();
  Draw(1);
  DrawMessageBox(m_nPromptX, kPromptY, MESSAGE_ENTER, 2, 1);
  DrawCursor(CURSOR_PICTURE_LIST, *g_MenuCursor.Current());
}

void cWorldMapScene::StoryRankingKeys() {
  if (!RankingKeys(PLAY_STORY)) return;
  if (DDSURFACEDATA* work = WorkSurface()) DrawRankingSurface(work);
}

void cWorldMapScene::ClosePrompt() {
  const bool manual = IsManualEntry(m_pEvent) != 0;
  g_MenuCursor.Pop(1);
  // Stepped on without the decide button: back to the cell he came from.
  if (!manual) *g_MenuCursor.Current() = m_BackupCursor;
  m_nStep = 0;
  m_nState = MAP_STATE_MOVE;
}

void cWorldMapScene::Leave() {
  Draw(1);
  if (!FadeOutStep()) return;
  g_MenuCursor.Reset();
  HandOver(SCENE_WORLDMAP);
}

void RegisterWorldMapScene() {
  cSceneManager::SetSceneFactory(SCENE_WORLDMAP, [] { return std::make_unique<cWorldMapScene>(); });
}
