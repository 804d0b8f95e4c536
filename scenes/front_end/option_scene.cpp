#include "scenes/front_end/option_scene.h"

#include <memory>
#include <string>
#include <vector>

#include "base/checked_access.h"
#include "base/report.h"
#include "base/requests.h"
#include "base/strings.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "model/settings/paths.h"
#include "model/user/options.h"
#include "scenes/colour_cycle.h"
#include "scenes/front_end/menu_input.h"
#include "scenes/hbt_palette.h"
#include "scenes/scene_manager.h"
#include "shell/sound/bgm.h"
#include "shell/sound/sound_effects.h"

namespace {

// The name tables of the music set up again when the options are left.
std::vector<std::string> g_vTitleBgmOggNames;
std::vector<std::string> g_vTitleBgmMidiNames;

enum eOptionState { OPTION_STATE_EDIT = 1 };
enum eOptionStep { OPTION_STEP_START = 0, OPTION_STEP_LIST = 1, OPTION_STEP_VALUE = 2 };

// What row `item` shows as its value.
std::string ValueText(int item) {
  switch (item) {
    case OPTION_PALETTE: return std::to_string(g_OptionData.PaletteNumber());
    case OPTION_MUSIC: return g_OptionData.MusicOn() ? "ON" : "OFF";
    case OPTION_VOLUME: return std::to_string(g_OptionData.VolumeStep());
    case OPTION_RANKING_MODE: return g_OptionData.RankingModeLabel();
    case OPTION_RANKING_NAME: return g_OptionData.m_strName;
    default: return {};
  }
}

}  // namespace

cOptionScene::cOptionScene() : cFrontEndScene(MENU_ONE_SHOT_BUTTONS, {IMAGE_ACCESSORY, IMAGE_WINDOW}) {
  SetStates({static_cast<State>(&cOptionScene::EditOptions)});
}

void cOptionScene::Enter() {
  EnterCommon(BGMREQ_OPTION);
  m_nItemCount = FillEnabledItems(g_SystemData.m_vOptionItems, m_anItem.data(), static_cast<int>(m_anItem.size()));
  CreateWorkSurface();
  m_nStep = OPTION_STEP_START;
}

void cOptionScene::CreateWorkSurface() {
  if (DDSURFACEDATA* work = AddWorkSurface(640, 480, 0)) DrawOptions(work);
}

void cOptionScene::DrawOptions(DDSURFACEDATA* lpSD) {
  g_Font[2].DrawBox(lpSD, 1, 1, 638, 478);
  const char* heading = CheckedAt(g_SystemData.m_vTitleItems, TITLE_OPTION).m_strText.c_str();
  g_Font[2].Printf(lpSD, 320 - 16 * CountChars(heading), 32, "%s", heading);
  for (int i = 0; i < m_nItemCount; ++i) {
    const int item = m_anItem[static_cast<std::size_t>(i)];
    const int y = kFirstRowY + kRowHeight * i;
    g_Font[1].Printf(lpSD, kLabelX, y, "%s", CheckedAt(g_SystemData.m_vOptionItems, item).m_strText.c_str());
    g_Font[1].Printf(lpSD, kValueX, y, "%s", ValueText(item).c_str());
  }
}

void cOptionScene::Draw() {
  DDSURFACEDATA* work = WorkSurface();
  if (!work) return;
  if (TakeWorkSurfaceLost()) DrawOptions(work);
  DDBlt(&g_sdBackBuffer, 0, 0, 640, 480, work, 0, 0, 0);
  CyclePalette();
}

void cOptionScene::Redraw() {
  if (DDSURFACEDATA* work = WorkSurface()) DrawOptions(work);
}

void cOptionScene::ApplyOption() {
  if (m_nEditItem == OPTION_PALETTE) {
    LoadHbtPalette(g_OptionData.PaletteNumber());
  } else if (m_nEditItem == OPTION_VOLUME) {
    // Every buffer of a sound: overlapping plays use the duplicates.
    for (SOUNDDATA& sound : g_vSound) {
      for (int buffer = 0; buffer < static_cast<int>(sound.lpBuffers.size()); ++buffer)
        DS_SetVolume(&sound, buffer, g_OptionData.SoundVolume(), 0);
    }
  }
}

void cOptionScene::FadeIn() {
  if (!g_lpD3DState && g_nBpp == 8) Redraw();
  Draw();
  if (FadeInStep()) m_nState = OPTION_STATE_EDIT;
}

void cOptionScene::EditOptions() {
  if (m_nStep == OPTION_STEP_START) {
    *g_MenuCursor.Current() = CURSORPOS{};
    m_nStep = OPTION_STEP_LIST;
  }
  if (m_nStep == OPTION_STEP_LIST) {
    SelectEntry();
  } else {
    EditValue();
  }
}

void cOptionScene::SelectEntry() {
  g_MenuCursor.MoveGrid(Directions(), kCursorX, kFirstRowY, 0, kRowHeight, 1, m_nItemCount);
  PlayCursorSound(2);
  if (!Decided()) {
    if (Cancelled()) {
      RequestSystemSound(2);
      g_SceneManager.m_nNextScene = SCENE_TITLE;
      m_nStep = OPTION_STEP_START;
      m_nState = LastState();
      return;
    }
    Draw();
    DrawCursor(CURSOR_PICTURE_LIST, *g_MenuCursor.Current());
    return;
  }
  RequestSystemSound(1);
  // The grid move has put the row within the list.
  m_nEditItem = m_anItem[static_cast<std::size_t>(g_MenuCursor.Current()->nRow)];
  switch (m_nEditItem) {
    case OPTION_PALETTE: StartEdit(&g_OptionData.m_nPalette, kPaletteNumberCount - 1); return;
    case OPTION_MUSIC: StartEdit(&g_OptionData.m_bBgm, 1); return;
    case OPTION_VOLUME: StartEdit(&g_OptionData.m_nVolume, kVolumeStepCount - 1); return;
    case OPTION_RANKING_MODE: StartEdit(&g_OptionData.m_nRankingMode, kRankingModeCount - 1); return;
    case OPTION_RANKING_NAME:
      RequestNameEntry();
      Redraw();
      Draw();
      DrawCursor(CURSOR_PICTURE_LIST, *g_MenuCursor.Current());
      return;
    default:
      g_SceneManager.m_nNextScene = SCENE_TITLE;
      m_nStep = OPTION_STEP_START;
      m_nState = LastState();
      return;
  }
}

void cOptionScene::StartEdit(std::int32_t* pnValue, int nMax) {
  m_pnEditValue = pnValue;
  m_nEditMin = 0;
  m_nEditMax = nMax;
  m_nSavedValue = *pnValue;
  g_MenuCursor.Push(0);
  m_nStep = OPTION_STEP_VALUE;
}

void cOptionScene::EditValue() {
  const auto step = [this](int delta) {
    // A value outside the range (from a damaged file) wraps as well.
    std::int32_t value = *m_pnEditValue + delta;
    if (value < m_nEditMin) value = m_nEditMax;
    if (value > m_nEditMax) value = m_nEditMin;
    *m_pnEditValue = value;
    ApplyOption();
    Redraw();
  };
  if (Directions() & CURSOR_UP) step(+1);
  if (Directions() & CURSOR_DOWN) step(-1);
  PlayCursorSound(2);
  if (Decided()) {
    RequestSystemSound(1);
    g_MenuCursor.Pop(1);
    m_nStep = OPTION_STEP_LIST;
    return;
  }
  if (Cancelled()) {
    RequestSystemSound(2);
    *m_pnEditValue = m_nSavedValue;
    ApplyOption();
    g_MenuCursor.Pop(1);
    m_nStep = OPTION_STEP_LIST;
    Redraw();
    return;
  }
  Draw();
  const CURSORPOS entry = *g_MenuCursor.Below();
  DrawCursor(CURSOR_PICTURE_POINTER, entry);
  DrawCursor(CURSOR_PICTURE_LIST, CURSORPOS{0, 0, kEditCursorX, entry.nY});
}

void cOptionScene::Leave() {
  if (!FadeOutStep()) return;
  RestartTitleBgm();
  const char* path = g_astrFilePath[PATH_OPTION];
  if (!g_OptionData.SaveFile(path)) ReportErrorF("%s の保存に失敗しました！", path);
  g_MenuCursor.Reset();
  HandOver(SCENE_OPTION);
}

void RestartTitleBgm() {
  // The manager does not read the tables while it is released.
  g_Bgm.Release();
  SetDefaultBgmNames(g_vTitleBgmOggNames, g_vTitleBgmMidiNames);
  g_Bgm.Restart(g_OptionData.MusicOn() ? 1 : 0, 1, &g_vTitleBgmOggNames, &g_vTitleBgmMidiNames, 5);
}

void RegisterOptionScene() {
  cSceneManager::SetSceneFactory(SCENE_OPTION, [] { return std::make_unique<cOptionScene>(); });
}
