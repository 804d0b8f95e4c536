#include "scenes/front_end/story_menu_scene.h"

#include <algorithm>
#include <memory>
#include <string>

#include "base/checked_access.h"
#include "base/requests.h"
#include "base/strings.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/frame_effects.h"
#include "graphics/image_table.h"
#include "model/settings/message_box_layout.h"
#include "model/user/save_data.h"
#include "scenes/colour_cycle.h"
#include "scenes/front_end/menu_input.h"
#include "scenes/front_end/message_box_drawing.h"
#include "scenes/scene_manager.h"

namespace {

enum eStoryMenuState { STORY_STATE_MENU = 1, STORY_STATE_LEAVE = 6 };
// Entries past the four known ones never reach a state.
constexpr int kFirstEntryState = 2;

// The settings' message texts used here.
enum {
  MESSAGE_TOTAL_SCORE = 4,
  MESSAGE_SAVE = 12,          // save, and "do not" below it
  MESSAGE_AUTO_SAVE = 14,     // on, and off below it
  MESSAGE_NO_SLOT = 16,
  MESSAGE_TO_TITLE = 17,      // back, and "do not" below it
};

int Digits(int value) { return static_cast<int>(std::to_string(value).size()); }

void FillScreen() { DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, 16); }

}  // namespace

cStoryMenuScene::cStoryMenuScene()
    : cFrontEndScene(MENU_ONE_SHOT_BUTTONS, {IMAGE_WINDOW, IMAGE_SYMBOL, IMAGE_ACCESSORY}) {
  SetStates({static_cast<State>(&cStoryMenuScene::SelectMenu), static_cast<State>(&cStoryMenuScene::SaveToSlot),
             static_cast<State>(&cStoryMenuScene::SaveToCurrentSlot), static_cast<State>(&cStoryMenuScene::BackToMap),
             static_cast<State>(&cStoryMenuScene::BackToTitle)});
}

void cStoryMenuScene::Enter() {
  EnterCommon(BGMREQ_MAP);
  m_nItemCount =
      FillEnabledItems(g_SystemData.m_vStoryMenuItems, m_anItem.data(), static_cast<int>(m_anItem.size()));
  m_nStep = 0;
}

void cStoryMenuScene::Draw() {
  FillScreen();
  DrawMenu();
  DrawTotalScore();
  CyclePalette();
}

void cStoryMenuScene::DrawMenu() {
  int chars = 0;
  for (int i = 0; i < m_nItemCount; ++i)
    chars = std::max(chars, CountChars(CheckedAt(g_SystemData.m_vStoryMenuItems, m_anItem[i]).m_strText.c_str()));
  DDBltFrame(&g_sdBackBuffer, kMenuX, kMenuY, (chars + 1) * 16, m_nItemCount * 16, &g_SurfaceTable[IMAGE_WINDOW], 1,
             240);
  for (int i = 0; i < m_nItemCount; ++i)
    g_Font[1].Printf(&g_sdBackBuffer, kMenuX + 16, kMenuY + 16 * i, "%s",
                     CheckedAt(g_SystemData.m_vStoryMenuItems, m_anItem[i]).m_strText.c_str());
}

void cStoryMenuScene::DrawTotalScore() {
  const int total = g_SaveData.m_nBestTotal;
  if (g_SystemData.m_bStoryMenuShowTotal == 0 || total <= 0) return;
  const char* label = CheckedAt(g_SystemData.m_vTexts, MESSAGE_TOTAL_SCORE).c_str();
  const int width = 16 * (CountChars(label) + Digits(total));
  const int x = 320 - width / 2;
  g_Font[1].DrawBox(&g_sdBackBuffer, x, kTotalScoreY, width, 16);
  g_Font[1].Printf(&g_sdBackBuffer, x, kTotalScoreY, "%s%d", label, total);
}

void cStoryMenuScene::FadeIn() {
  Draw();
  DrawCursor(CURSOR_PICTURE_LIST, CURSORPOS{0, 0, kMenuX, kMenuY});
  if (FadeInStep()) m_nState = STORY_STATE_MENU;
}

void cStoryMenuScene::SelectMenu() {
  g_MenuCursor.MoveGrid(Directions(), kMenuX, kMenuY, 0, 16, 1, m_nItemCount);
  PlayCursorSound(2);
  if (Decided()) {
    RequestSystemSound(1);
    // The grid move has put the row within the menu.
    m_nState = m_anItem[static_cast<std::size_t>(g_MenuCursor.Current()->nRow)] + kFirstEntryState;
    g_MenuCursor.Push(0);
    return;
  }
  if (Cancelled()) {
    RequestSystemSound(2);
    m_nState = kFirstEntryState + 2;  // back to the map
    return;
  }
  Draw();
  DrawCursor(CURSOR_PICTURE_LIST, *g_MenuCursor.Current());
}

void cStoryMenuScene::CloseSubMenu() {
  g_MenuCursor.Pop(1);
  m_nStep = 0;
  m_nState = STORY_STATE_MENU;
}

int cStoryMenuScene::MovePrompt(int nFirst, int y) {
  const int x = CenterMessageBoxX(320, nFirst, 2, 1);
  g_MenuCursor.MoveGrid(Directions(), x, y, 0, 16, 1, 2);
  PlayCursorSound(2);
  return x;
}

void cStoryMenuScene::DrawPrompt(int x, int y, int nFirst, int nCount, int bCursor) {
  DrawMessageBox(x, y, nFirst, nCount, bCursor);
  if (bCursor) DrawCursor(CURSOR_PICTURE_LIST, *g_MenuCursor.Current());
}

void cStoryMenuScene::SaveToSlot() {
  if (m_nStep == 0) {
    // The list opens on the slot in use (none: the first, by the list move).
    *g_MenuCursor.Current() = CURSORPOS{0, g_SaveData.m_nSaveSlot, 0, 0};
    m_nStep = 1;
    ScanStorySlots(g_SaveSlots);
    m_nSlotRows = std::min(static_cast<int>(g_SaveSlots.size()), kSlotRowsShown);
    m_nSlotTop = g_SaveData.m_nSaveSlot;
  }
  if (m_nStep == 1) {
    g_MenuCursor.MoveList(Directions(), 1, m_nSlotTop, kSlotListY, 16, kSlotListX, m_nSlotRows,
                          static_cast<int>(g_SaveSlots.size()), 1);
    PlayCursorSound(3);
    if (Decided()) {
      RequestSystemSound(1);
      g_MenuCursor.Push(0);
      g_MenuCursor.Current()->nRow = 1;  // the prompt starts on "do not"
      m_nStep = 2;
    } else if (Cancelled()) {
      RequestSystemSound(2);
      CloseSubMenu();
    } else {
      FillScreen();
      DrawStorySlots(&g_sdBackBuffer, kSlotListX, kSlotListY, g_SaveSlots, m_nSlotTop, m_nSlotRows);
      DrawCursor(CURSOR_PICTURE_LIST, *g_MenuCursor.Current());
    }
    return;
  }
  const int x = MovePrompt(MESSAGE_SAVE, kSavePromptY);
  if (Decided() || Cancelled()) {
    if (Decided() && g_MenuCursor.Current()->nRow == 0) {
      // The saved progress names its own slot; a failed write (reported)
      // leaves the slot in use and the slot's file as they were.
      const int previous = g_SaveData.m_nSaveSlot;
      g_SaveData.m_nSaveSlot = g_MenuCursor.Below()->nRow;
      if (g_SaveData.SaveStory(g_SaveData.m_nSaveSlot)) {
        RequestSystemSound(5);
      } else {
        g_SaveData.m_nSaveSlot = previous;
        RequestSystemSound(3);
      }
    } else {
      RequestSystemSound(Decided() ? 1 : 2);
    }
    g_MenuCursor.Pop(1);
    m_nStep = 1;
    return;
  }
  FillScreen();
  DrawStorySlots(&g_sdBackBuffer, kSlotListX, kSlotListY, g_SaveSlots, m_nSlotTop, m_nSlotRows);
  DrawMessageBox(x, kSavePromptY, MESSAGE_SAVE, 2, 1);
  DrawCursor(CURSOR_PICTURE_POINTER, *g_MenuCursor.Below());
  DrawCursor(CURSOR_PICTURE_LIST, *g_MenuCursor.Current());
}

void cStoryMenuScene::SaveToCurrentSlot() {
  if (m_nStep == 0) {
    *g_MenuCursor.Current() = CURSORPOS{0, g_SaveData.m_bAutoSave != 0 ? 0 : 1, 0, 0};
    m_nStep = g_SaveData.m_nSaveSlot == -1 ? 2 : 1;
    return;
  }
  if (m_nStep == 2) {
    // No slot in use yet: only the message, which any button closes.
    if (Decided() || Cancelled()) {
      RequestSystemSound(Decided() ? 1 : 2);
      CloseSubMenu();
      return;
    }
    FillScreen();
    DrawMessageBox(CenterMessageBoxX(320, MESSAGE_NO_SLOT, 1, 0), kNoSlotMessageY, MESSAGE_NO_SLOT, 1, 0);
    return;
  }
  const int x = MovePrompt(MESSAGE_AUTO_SAVE, kAutoSavePromptY);
  if (Decided()) {
    RequestSystemSound(1);
    if (g_MenuCursor.Current()->nRow == 0) {
      // Switched on, the progress is saved at once, saying so itself.
      const int previous = g_SaveData.m_bAutoSave;
      g_SaveData.m_bAutoSave = 1;
      if (!g_SaveData.SaveStory(g_SaveData.m_nSaveSlot)) {
        g_SaveData.m_bAutoSave = previous;
        RequestSystemSound(3);
      }
    } else {
      g_SaveData.m_bAutoSave = 0;
    }
    CloseSubMenu();
    return;
  }
  if (Cancelled()) {
    RequestSystemSound(2);
    CloseSubMenu();
    return;
  }
  FillScreen();
  DrawPrompt(x, kAutoSavePromptY, MESSAGE_AUTO_SAVE, 2, 1);
}

void cStoryMenuScene::BackToMap() {
  // The cursor stack stays: the map's Enter resets it.
  m_nStep = 0;
  m_nState = STORY_STATE_LEAVE;
  g_SceneManager.m_nNextScene = SCENE_WORLDMAP;
}

void cStoryMenuScene::BackToTitle() {
  if (m_nStep == 0) {
    *g_MenuCursor.Current() = CURSORPOS{0, 1, 0, 0};  // starts on "do not"
    m_nStep = 1;
  }
  const int x = MovePrompt(MESSAGE_TO_TITLE, kTitlePromptY);
  if (Decided() && g_MenuCursor.Current()->nRow == 0) {
    RequestSystemSound(1);
    m_nState = STORY_STATE_LEAVE;
    g_SceneManager.m_nNextScene = SCENE_TITLE;
    return;
  }
  if (Decided() || Cancelled()) {
    RequestSystemSound(Decided() ? 1 : 2);
    CloseSubMenu();
    return;
  }
  FillScreen();
  DrawPrompt(x, kTitlePromptY, MESSAGE_TO_TITLE, 2, 1);
}

void cStoryMenuScene::Leave() {
  if (!FadeOutStep()) return;
  HandOver(SCENE_STORYMENU);
  // The scene manager may keep this scene: it enters again next time.
  m_nState = SCENE_STATE_ENTER;
}

void RegisterStoryMenuScene() {
  cSceneManager::SetSceneFactory(SCENE_STORYMENU, [] { return std::make_unique<cStoryMenuScene>(); });
}
