// The options screen, opened from the title: it edits g_OptionData (palette
// number, music on or off, sound-effect volume, ranking registration mode
// and name). Palette and volume take effect while they are edited; music on
// or off when the screen is left, which also writes user_data\Option.dat.
// States: 0 fade in, 1 the list (step 1) and the value being edited (step
// 2), 2 fade out to the title.
//
// The program registers it with RegisterOptionScene.
#pragma once

#include <array>
#include <cstdint>

#include "model/settings/system_data.h"
#include "scenes/front_end/front_end_scene.h"

// The option entries, the index of the settings' option list.
enum eOptionItem {
  OPTION_PALETTE = 0,
  OPTION_MUSIC = 1,
  OPTION_VOLUME = 2,
  OPTION_RANKING_MODE = 3,
  OPTION_RANKING_NAME = 4,
  OPTION_BACK = 5,
  OPTION_ITEM_COUNT = 6,
};

class cOptionScene : public cFrontEndScene {
 public:
  static constexpr int kCursorX = 48, kFirstRowY = 96, kRowHeight = 16;
  static constexpr int kLabelX = 64, kValueX = 208, kEditCursorX = 192;

  cOptionScene();

  void Enter() override;
  void FadeIn() override;
  void Leave() override;
  void EditOptions();

  void CreateWorkSurface();
  void DrawOptions(DDSURFACEDATA* lpSD);
  // The work surface (redrawn when the device lost it), then the colour cycle.
  void Draw();
  // The edited entry takes effect: the palette loaded, or every sound at
  // the volume.
  void ApplyOption();

  int m_nItemCount = 1;
  std::array<int, OPTION_ITEM_COUNT> m_anItem{};
  int m_nEditItem = 0;
  std::int32_t m_nSavedValue = 0;
  std::int32_t* m_pnEditValue = nullptr;
  int m_nEditMin = 0;
  int m_nEditMax = 0;

 private:
  void SelectEntry();
  void EditValue();
  void StartEdit(std::int32_t* pnValue, int nMax);
  void Redraw();
};

// Sets the music up again as the options leave it: released, and started
// with the title music when music is on.
void RestartTitleBgm();

void RegisterOptionScene();
